// TOracleObject and TObjectAttribute; see OracleObject.h. The type's
// description and layout are in ObjectDescription.cpp.
#include "vorn/query/OracleObject.h"

#include <cstring>

#include "DateBytes.h"
#include "ObjectDescription.h"
#include "VariableValues.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/DateTimeText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

using namespace client;

namespace {

bool IsRaw(int bufferType) {
  return bufferType == OCI_TYPECODE_RAW || bufferType == 23;
}

bool IsLob(int bufferType) {
  return bufferType == otCLOB || bufferType == otBLOB || bufferType == otBFile;
}

}  // namespace

TObjectAttribute::TObjectAttribute(TCollection* collection) : TCollectionItem(collection) {}

// --- Life cycle ---

TOracleObject::TOracleObject(TOracleSession* session) {
  Setup(session);
  session->RegisterQuery(this);
}

TOracleObject::TOracleObject(TOracleSession* session, ColumnObject) : columnObject_(true) {
  Setup(session);
  ownsInstance_ = false;
}

TOracleObject::TOracleObject(TOracleSession* session, const std::string& typeName) {
  Setup(session);
  session->RegisterQuery(this);
  try {
    const std::string name = AnsiUpperCase(typeName);
    const size_t point = name.find('.');
    const std::string schema = point == std::string::npos ? "" : name.substr(0, point);
    const std::string type = point == std::string::npos ? name : name.substr(point + 1);
    OCIEnv* environment = session->EnvironmentHandle();
    OCIError* error = handles_.ErrorHandle();
    OCIType* descriptor = nullptr;
    Check(Oci8().OCITypeByName(
        environment, error, session->ServiceContextHandle(),
        schema.empty() ? nullptr : reinterpret_cast<const OraText*>(schema.data()),
        static_cast<ub4>(schema.size()), reinterpret_cast<const OraText*>(type.data()),
        static_cast<ub4>(type.size()), nullptr, 0, OCI_DURATION_SESSION, OCI_TYPEGET_HEADER,
        &descriptor));
    handles_.AdoptTypeDescriptor(descriptor);
    Check(Oci8().OCIObjectNew(environment, error, session->ServiceContextHandle(),
                              OCI_TYPECODE_OBJECT, descriptor, nullptr, OCI_DURATION_SESSION, 1,
                              &instance_));
    Check(Oci8().OCIObjectGetInd(environment, error, instance_, &nullStructure_));
    OCIRef* typeRef = handles_.NewRef();
    handles_.AdoptTypeRef(typeRef);
    Check(Oci8().OCIObjectGetTypeRef(environment, error, instance_, typeRef));
    ObjectDescription::Describe(*this);
    // A new object: present, every attribute null.
    auto* indicators = static_cast<OCIInd*>(nullStructure_);
    indicators[0] = OCI_IND_NOTNULL;
    for (int i = 0; i < attributes_.Count(); ++i)
      IndicatorOf(*attributes_.Items(i)) = OCI_IND_NULL;
  } catch (...) {
    session->UnregisterQuery(this);
    DropHandles(true);
    throw;
  }
}

void TOracleObject::Setup(TOracleSession* session) {
  handles_.Open(session, "A TOracleObject instance");
}

TOracleObject::~TOracleObject() {
  if (Session() != nullptr && !columnObject_) Session()->UnregisterQuery(this);
  try {
    DropHandles(handles_.Live());
  } catch (const std::exception&) {
    // The handles go with the object all the same.
  }
}

void TOracleObject::DropHandles(bool live) {
  OCIError* error = handles_.ErrorHandle();
  if (live && error != nullptr) {
    OCIEnv* environment = Session()->EnvironmentHandle();
    for (int i = 0; i < attributes_.Count(); ++i) {
      TObjectAttribute& attribute = *attributes_.Items(i);
      if (attribute.typeRef_ != nullptr) {
        Oci8().OCIObjectFree(environment, error, attribute.typeRef_, OCI_DEFAULT);
      }
    }
    if (ownsInstance_ && instance_ != nullptr) {
      Oci8().OCIObjectFree(environment, error, instance_, OCI_OBJECTFREE_FORCE);
    }
  }
  for (int i = 0; i < attributes_.Count(); ++i)
    attributes_.Items(i)->typeRef_ = nullptr;
  instance_ = nullptr;
  nullStructure_ = nullptr;
  handles_.Drop(live);
}

void TOracleObject::CloseForLogOff() {
  DropHandles(handles_.SameLibrary());
}

void TOracleObject::DetachFromSession() {
  DropHandles(handles_.Live());
  handles_.LeaveSession(this);
}

void TOracleObject::Prepare() const {
  handles_.CheckLoggedOn();
  if (instance_ == nullptr) throw Exception("TOracleObject has no instance");
}

// --- Query columns ---

void TOracleObject::Attach(void* instance, void* nullStructure, OCIRef* typeRef) {
  instance_ = instance;
  nullStructure_ = nullStructure;
  ownsInstance_ = false;
  if (TypeDescriptor() == nullptr) TakeType(typeRef);
}

void TOracleObject::TakeType(OCIRef* typeRef) {
  handles_.TakeType(typeRef);
  ObjectDescription::Describe(*this);
}

// --- Attributes ---

TObjectAttribute* TOracleObject::FindAttr(std::string_view name) const {
  for (int i = 0; i < attributes_.Count(); ++i) {
    TObjectAttribute* attribute = attributes_.Items(i);
    if (AnsiSameText(attribute->Name(), name)) return attribute;
  }
  return nullptr;
}

const TObjectAttribute& TOracleObject::Attribute(std::string_view name) const {
  const TObjectAttribute* attribute = FindAttr(name);
  if (attribute == nullptr || attribute == elementAttribute_) {
    throw Exception("Attribute " + std::string(name) + " does not exist");
  }
  return *attribute;
}

OCIInd& TOracleObject::IndicatorOf(const TObjectAttribute& attribute) const {
  return *reinterpret_cast<OCIInd*>(static_cast<uint8_t*>(nullStructure_) + attribute.NullOffset());
}

uint8_t* TOracleObject::ValueOf(const TObjectAttribute& attribute) const {
  return static_cast<uint8_t*>(instance_) + attribute.ValueOffset();
}

bool TOracleObject::IsNull() const {
  return instance_ == nullptr || nullStructure_ == nullptr ||
         *static_cast<const OCIInd*>(nullStructure_) != OCI_IND_NOTNULL;
}

void TOracleObject::SetNull(bool value) {
  Prepare();
  *static_cast<OCIInd*>(nullStructure_) = value ? OCI_IND_NULL : OCI_IND_NOTNULL;
}

bool TOracleObject::AttrIsNull(std::string_view name) const {
  Prepare();
  const TObjectAttribute& attribute = Attribute(name);
  return IsNull() || IndicatorOf(attribute) != OCI_IND_NOTNULL;
}

Variant TOracleObject::GetAttr(std::string_view name) {
  Prepare();
  const TObjectAttribute& attribute = Attribute(name);
  const int type = attribute.BufferType();
  if (type != otInteger && type != otFloat && type != otString && type != OCI_TYPECODE_DATE &&
      !IsRaw(type) && !IsLob(type)) {
    throw Exception("Cannot convert attribute " + attribute.Name());
  }
  if (IsNull() || IndicatorOf(attribute) != OCI_IND_NOTNULL) {
    return VariableValues::NullOf(Session());
  }
  uint8_t* value = ValueOf(attribute);
  OCIEnv* environment = Session()->EnvironmentHandle();
  if (type == otInteger) {
    int32_t number = 0;
    Check(Oci8().OCINumberToInt(handles_.ErrorHandle(), reinterpret_cast<const OCINumber*>(value),
                                sizeof number, OCI_NUMBER_SIGNED, &number));
    return number;
  }
  if (type == otFloat) {
    double number = 0;
    Check(Oci8().OCINumberToReal(handles_.ErrorHandle(), reinterpret_cast<const OCINumber*>(value),
                                 sizeof number, &number));
    return number;
  }
  if (type == otString) {
    OCIString* text = nullptr;
    std::memcpy(&text, value, sizeof text);
    const OraText* characters = text != nullptr ? Oci8().OCIStringPtr(environment, text) : nullptr;
    std::string result = characters != nullptr ? reinterpret_cast<const char*>(characters) : "";
    return VariableValues::ConvertsLineBreaks(Session()) ? Variant(WithCrLf(std::move(result)))
                                                         : Variant(std::move(result));
  }
  if (type == OCI_TYPECODE_DATE) {
    OCIDate date{};
    std::memcpy(&date, value, sizeof date);
    return Variant::FromDateTime(OciDateToDateTime(date));
  }
  if (IsRaw(type)) {
    OCIRaw* raw = nullptr;
    std::memcpy(&raw, value, sizeof raw);
    if (raw == nullptr) return Variant::FromBytes(nullptr, 0);
    return Variant::FromBytes(Oci8().OCIRawPtr(environment, raw),
                              Oci8().OCIRawSize(environment, raw));
  }
  if (IsLob(type)) {
    TLOBLocator locator(Session(), type, TLOBLocator::ColumnLocator{});
    locator.PointAt(reinterpret_cast<OCILobLocator**>(value));
    std::string whole = locator.WholeValue();
    if (type != otCLOB) return Variant::FromBytes(whole.data(), whole.size());
    return VariableValues::ConvertsLineBreaks(Session()) ? Variant(WithCrLf(std::move(whole)))
                                                         : Variant(std::move(whole));
  }
  throw Exception("Cannot convert attribute " + attribute.Name());
}

void TOracleObject::SetAttr(std::string_view name, const Variant& value) {
  Prepare();
  const TObjectAttribute& attribute = Attribute(name);
  if (value.IsEmpty() || value.IsNull()) {
    IndicatorOf(attribute) = OCI_IND_NULL;
    return;
  }
  uint8_t* slot = ValueOf(attribute);
  const int type = attribute.BufferType();
  OCIEnv* environment = Session()->EnvironmentHandle();
  try {
    if (type == otInteger) {
      const int32_t number = value.AsInteger();
      Check(Oci8().OCINumberFromInt(handles_.ErrorHandle(), &number, sizeof number,
                                    OCI_NUMBER_SIGNED, reinterpret_cast<OCINumber*>(slot)));
    } else if (type == otFloat) {
      const double number = value.AsFloat();
      Check(Oci8().OCINumberFromReal(handles_.ErrorHandle(), &number, sizeof number,
                                     reinterpret_cast<OCINumber*>(slot)));
    } else if (type == otString) {
      std::string text = value.AsString();
      if (VariableValues::ConvertsLineBreaks(Session())) text = WithoutCr(std::move(text));
      Check(Oci8().OCIStringAssignText(
          environment, handles_.ErrorHandle(), reinterpret_cast<const OraText*>(text.data()),
          static_cast<ub4>(text.size()), reinterpret_cast<OCIString**>(slot)));
    } else if (type == OCI_TYPECODE_DATE) {
      const TDateTime date = VarIsStr(value) ? StrToDateTime(value.AsString()) : value.AsFloat();
      const OCIDate bytes = DateTimeToOciDate(date);
      std::memcpy(slot, &bytes, sizeof bytes);
    } else if (IsRaw(type)) {
      std::vector<uint8_t> bytes;
      if (VarIsStr(value)) {
        const std::string text = value.AsString();
        bytes.assign(text.begin(), text.end());
      } else {
        bytes = value.Bytes();
      }
      Check(Oci8().OCIRawAssignBytes(environment, handles_.ErrorHandle(), bytes.data(),
                                     static_cast<ub4>(bytes.size()),
                                     reinterpret_cast<OCIRaw**>(slot)));
    } else {
      throw Exception("Cannot convert attribute " + attribute.Name());
    }
  } catch (const EVariantError&) {
    throw Exception("Variant conversion error for attribute " + attribute.Name());
  } catch (const EConvertError&) {
    throw Exception("Variant conversion error for attribute " + attribute.Name());
  }
  MarkPresent(attribute);
}

void TOracleObject::MarkPresent(const TObjectAttribute& attribute) {
  IndicatorOf(attribute) = OCI_IND_NOTNULL;
  for (int parent = attribute.parent_; parent >= 0; parent = attributes_.Items(parent)->parent_) {
    IndicatorOf(*attributes_.Items(parent)) = OCI_IND_NOTNULL;
  }
  *static_cast<OCIInd*>(nullStructure_) = OCI_IND_NOTNULL;
}

}  // namespace vorn
