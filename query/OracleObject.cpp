// TOracleObject and TObjectAttribute; see OracleObject.h. The type's
// description and layout are in ObjectDescription.cpp.
#include "vorn/query/OracleObject.h"

#include <cstring>

#include "DateBytes.h"
#include "ObjectDescription.h"
#include "VariableValues.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/DateTimeText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"

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
  session_->RegisterQuery(this);
}

TOracleObject::TOracleObject(TOracleSession* session, ColumnObject) : columnObject_(true) {
  Setup(session);
  ownsInstance_ = false;
}

TOracleObject::TOracleObject(TOracleSession* session, const std::string& typeName) {
  Setup(session);
  session_->RegisterQuery(this);
  try {
    const std::string name = AnsiUpperCase(typeName);
    const size_t point = name.find('.');
    const std::string schema = point == std::string::npos ? "" : name.substr(0, point);
    const std::string type = point == std::string::npos ? name : name.substr(point + 1);
    OCIEnv* environment = session_->EnvironmentHandle();
    OCIType* descriptor = nullptr;
    Check(Oci8().OCITypeByName(
        environment, errorHandle_, session_->ServiceContextHandle(),
        schema.empty() ? nullptr : reinterpret_cast<const OraText*>(schema.data()),
        static_cast<ub4>(schema.size()), reinterpret_cast<const OraText*>(type.data()),
        static_cast<ub4>(type.size()), nullptr, 0, OCI_DURATION_SESSION, OCI_TYPEGET_HEADER,
        &descriptor));
    typeDescriptor_ = descriptor;
    Check(Oci8().OCIObjectNew(environment, errorHandle_, session_->ServiceContextHandle(),
                              OCI_TYPECODE_OBJECT, typeDescriptor_, nullptr, OCI_DURATION_SESSION,
                              1, &instance_));
    Check(Oci8().OCIObjectGetInd(environment, errorHandle_, instance_, &nullStructure_));
    void* reference = nullptr;
    Check(Oci8().OCIObjectNew(environment, errorHandle_, session_->ServiceContextHandle(),
                              OCI_TYPECODE_REF, nullptr, nullptr, OCI_DURATION_SESSION, 1,
                              &reference));
    typeRef_ = static_cast<OCIRef*>(reference);
    Check(Oci8().OCIObjectGetTypeRef(environment, errorHandle_, instance_, typeRef_));
    ObjectDescription::Describe(*this);
    // A new object: present, every attribute null.
    auto* indicators = static_cast<OCIInd*>(nullStructure_);
    indicators[0] = OCI_IND_NOTNULL;
    for (int i = 0; i < attributes_.Count(); ++i)
      IndicatorOf(*attributes_.Items(i)) = OCI_IND_NULL;
  } catch (...) {
    session_->UnregisterQuery(this);
    DropHandles(true);
    throw;
  }
}

void TOracleObject::Setup(TOracleSession* session) {
  if (session == nullptr) throw Exception("Not logged on");
  session->DropStaleHandles();
  if (!session->Connected()) throw Exception("Not logged on");
  session->CheckOCI8Feature("A TOracleObject instance");
  session_ = session;
  generation_ = ClientLibraryGeneration();
  OCIEnv* environment = session->EnvironmentHandle();
  void* error = nullptr;
  void* describe = nullptr;
  const sword errorStatus = Oci8().OCIHandleAlloc(environment, &error, OCI_HTYPE_ERROR, 0, nullptr);
  const sword describeStatus =
      errorStatus == OCI_SUCCESS
          ? Oci8().OCIHandleAlloc(environment, &describe, OCI_HTYPE_DESCRIBE, 0, nullptr)
          : errorStatus;
  if (errorStatus != OCI_SUCCESS || describeStatus != OCI_SUCCESS) {
    if (error != nullptr) Oci8().OCIHandleFree(error, OCI_HTYPE_ERROR);
    throw Exception("TOracleObject: Invalid handle");
  }
  errorHandle_ = static_cast<OCIError*>(error);
  describeHandle_ = static_cast<OCIDescribe*>(describe);
}

TOracleObject::~TOracleObject() {
  if (session_ != nullptr && !columnObject_) session_->UnregisterQuery(this);
  try {
    DropHandles(HandlesLive());
  } catch (const std::exception&) {
    // The handles go with the object all the same.
  }
}

bool TOracleObject::HandlesLive() const {
  return errorHandle_ != nullptr && session_ != nullptr && session_->Connected() &&
         generation_ == ClientLibraryGeneration();
}

void TOracleObject::DropHandles(bool live) {
  if (live && errorHandle_ != nullptr) {
    OCIEnv* environment = session_->EnvironmentHandle();
    for (int i = 0; i < attributes_.Count(); ++i) {
      TObjectAttribute& attribute = *attributes_.Items(i);
      if (attribute.typeRef_ != nullptr) {
        Oci8().OCIObjectFree(environment, errorHandle_, attribute.typeRef_, OCI_DEFAULT);
      }
    }
    if (ownsInstance_ && instance_ != nullptr) {
      Oci8().OCIObjectFree(environment, errorHandle_, instance_, OCI_OBJECTFREE_FORCE);
    }
    if (typeRef_ != nullptr) Oci8().OCIObjectFree(environment, errorHandle_, typeRef_, OCI_DEFAULT);
    if (typeDescriptor_ != nullptr) {
      Oci8().OCIObjectUnpin(environment, errorHandle_, typeDescriptor_);
    }
    if (describeHandle_ != nullptr) Oci8().OCIHandleFree(describeHandle_, OCI_HTYPE_DESCRIBE);
    Oci8().OCIHandleFree(errorHandle_, OCI_HTYPE_ERROR);
  }
  for (int i = 0; i < attributes_.Count(); ++i)
    attributes_.Items(i)->typeRef_ = nullptr;
  instance_ = nullptr;
  nullStructure_ = nullptr;
  typeRef_ = nullptr;
  typeDescriptor_ = nullptr;
  describeHandle_ = nullptr;
  errorHandle_ = nullptr;
}

void TOracleObject::CloseForLogOff() {
  DropHandles(generation_ == ClientLibraryGeneration());
}

void TOracleObject::DetachFromSession() {
  DropHandles(HandlesLive());
  if (session_ != nullptr) session_->UnregisterQuery(this);
  session_ = nullptr;
}

void TOracleObject::Check(sword status) const {
  if (status == OCI_INVALID_HANDLE) throw Exception("TOracleObject: Invalid handle");
  if (status == OCI_ERROR) {
    SessionCallLock lock(*session_);
    lock.Raise(errorHandle_);
  }
}

void TOracleObject::Prepare() const {
  if (session_ == nullptr) throw Exception("Not logged on");
  session_->DropStaleHandles();
  if (!session_->Connected() || errorHandle_ == nullptr ||
      generation_ != ClientLibraryGeneration()) {
    throw Exception("Not logged on");
  }
  if (instance_ == nullptr) throw Exception("TOracleObject has no instance");
}

// --- Query columns ---

void TOracleObject::Attach(void* instance, void* nullStructure, OCIRef* typeRef) {
  instance_ = instance;
  nullStructure_ = nullStructure;
  ownsInstance_ = false;
  if (typeDescriptor_ == nullptr) TakeType(typeRef);
}

void TOracleObject::TakeType(OCIRef* typeRef) {
  OCIEnv* environment = session_->EnvironmentHandle();
  void* reference = nullptr;
  Check(Oci8().OCIObjectNew(environment, errorHandle_, session_->ServiceContextHandle(),
                            OCI_TYPECODE_REF, nullptr, nullptr, OCI_DURATION_SESSION, 1,
                            &reference));
  typeRef_ = static_cast<OCIRef*>(reference);
  Check(Oci8().OCIRefAssign(environment, errorHandle_, typeRef, &typeRef_));
  void* descriptor = nullptr;
  Check(Oci8().OCIObjectPin(environment, errorHandle_, typeRef_, nullptr, OCI_PIN_ANY,
                            OCI_DURATION_SESSION, OCI_LOCK_NONE, &descriptor));
  typeDescriptor_ = static_cast<OCIType*>(descriptor);
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
    return VariableValues::NullOf(session_);
  }
  uint8_t* value = ValueOf(attribute);
  OCIEnv* environment = session_->EnvironmentHandle();
  if (type == otInteger) {
    int32_t number = 0;
    Check(Oci8().OCINumberToInt(errorHandle_, reinterpret_cast<const OCINumber*>(value),
                                sizeof number, OCI_NUMBER_SIGNED, &number));
    return number;
  }
  if (type == otFloat) {
    double number = 0;
    Check(Oci8().OCINumberToReal(errorHandle_, reinterpret_cast<const OCINumber*>(value),
                                 sizeof number, &number));
    return number;
  }
  if (type == otString) {
    OCIString* text = nullptr;
    std::memcpy(&text, value, sizeof text);
    const OraText* characters = text != nullptr ? Oci8().OCIStringPtr(environment, text) : nullptr;
    std::string result = characters != nullptr ? reinterpret_cast<const char*>(characters) : "";
    return VariableValues::ConvertsLineBreaks(session_) ? Variant(WithCrLf(std::move(result)))
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
    TLOBLocator locator(session_, type, TLOBLocator::ColumnLocator{});
    locator.PointAt(reinterpret_cast<OCILobLocator**>(value));
    std::string whole = locator.WholeValue();
    if (type != otCLOB) return Variant::FromBytes(whole.data(), whole.size());
    return VariableValues::ConvertsLineBreaks(session_) ? Variant(WithCrLf(std::move(whole)))
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
  OCIEnv* environment = session_->EnvironmentHandle();
  try {
    if (type == otInteger) {
      const int32_t number = value.AsInteger();
      Check(Oci8().OCINumberFromInt(errorHandle_, &number, sizeof number, OCI_NUMBER_SIGNED,
                                    reinterpret_cast<OCINumber*>(slot)));
    } else if (type == otFloat) {
      const double number = value.AsFloat();
      Check(Oci8().OCINumberFromReal(errorHandle_, &number, sizeof number,
                                     reinterpret_cast<OCINumber*>(slot)));
    } else if (type == otString) {
      std::string text = value.AsString();
      if (VariableValues::ConvertsLineBreaks(session_)) text = WithoutCr(std::move(text));
      Check(Oci8().OCIStringAssignText(
          environment, errorHandle_, reinterpret_cast<const OraText*>(text.data()),
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
      Check(Oci8().OCIRawAssignBytes(environment, errorHandle_, bytes.data(),
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
