// TOracleReference; see OracleReference.h.
#include "vorn/query/OracleReference.h"

#include <algorithm>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"

namespace vorn {

using namespace client;

namespace {

constexpr size_t kNameLength = 30;

std::string Text(OraText* text, ub4 length) {
  if (text == nullptr) return std::string();
  return std::string(reinterpret_cast<const char*>(text), std::min<size_t>(length, kNameLength));
}

}  // namespace

TOracleReference::TOracleReference(TOracleSession* session, const std::string& typeName) {
  Setup(session, typeName);
  try {
    Check(Oci8().OCIObjectNew(session_->EnvironmentHandle(), errorHandle_,
                              session_->ServiceContextHandle(), OCI_TYPECODE_REF, nullptr, nullptr,
                              OCI_DURATION_SESSION, 1, reinterpret_cast<void**>(&ownRef_)));
  } catch (...) {
    DropHandles(true);
    throw;
  }
  session_->RegisterQuery(this);
}

TOracleReference::TOracleReference(TOracleSession* session, const std::string& typeName,
                                   ColumnReference)
    : columnReference_(true) {
  Setup(session, typeName);
  address_ = nullptr;
}

void TOracleReference::Setup(TOracleSession* session, const std::string& typeName) {
  if (session == nullptr) throw Exception("Not logged on");
  session->DropStaleHandles();
  if (!session->Connected()) throw Exception("Not logged on");
  session->CheckOCI8Feature("A TOracleReference instance");
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
  try {
    // The type of the objects referred to, found by its name; its REF type
    // descriptor is kept (copied into a REF of this object's own) and
    // pinned.
    const std::string name = AnsiUpperCase(typeName);
    Check(Oci8().OCIDescribeAny(session->ServiceContextHandle(), errorHandle_,
                                const_cast<char*>(name.data()), static_cast<ub4>(name.size()),
                                OCI_OTYPE_NAME, OCI_DEFAULT, OCI_PTYPE_TYPE, describeHandle_));
    void* parameter = nullptr;
    Check(Oci8().OCIAttrGet(describeHandle_, OCI_HTYPE_DESCRIBE, &parameter, nullptr,
                            OCI_ATTR_PARAM, errorHandle_));
    OraText* schema = nullptr;
    OraText* type = nullptr;
    ub4 schemaLength = 0;
    ub4 typeLength = 0;
    Check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &schema, &schemaLength,
                            OCI_ATTR_SCHEMA_NAME, errorHandle_));
    Check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &type, &typeLength, OCI_ATTR_NAME,
                            errorHandle_));
    typeName_ = Text(schema, schemaLength) + "." + Text(type, typeLength);
    OCIRef* source = nullptr;
    Check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &source, nullptr, OCI_ATTR_REF_TDO,
                            errorHandle_));
    Check(Oci8().OCIObjectNew(environment, errorHandle_, session->ServiceContextHandle(),
                              OCI_TYPECODE_REF, nullptr, nullptr, OCI_DURATION_SESSION, 1,
                              reinterpret_cast<void**>(&typeRef_)));
    Check(Oci8().OCIRefAssign(environment, errorHandle_, source, &typeRef_));
    Check(Oci8().OCIObjectPin(environment, errorHandle_, typeRef_, nullptr, OCI_PIN_ANY,
                              OCI_DURATION_SESSION, OCI_LOCK_NONE,
                              reinterpret_cast<void**>(&typeDescriptor_)));
  } catch (...) {
    DropHandles(true);
    throw;
  }
}

TOracleReference::~TOracleReference() {
  if (session_ != nullptr && !columnReference_) session_->UnregisterQuery(this);
  try {
    DropHandles(HandlesLive());
  } catch (const std::exception&) {
    // The handles go with the reference all the same.
  }
}

bool TOracleReference::HandlesLive() const {
  return errorHandle_ != nullptr && session_ != nullptr && session_->Connected() &&
         generation_ == ClientLibraryGeneration();
}

void TOracleReference::DropHandles(bool live) {
  if (live && errorHandle_ != nullptr) {
    OCIEnv* environment = session_->EnvironmentHandle();
    if (ownRef_ != nullptr) Oci8().OCIObjectFree(environment, errorHandle_, ownRef_, OCI_DEFAULT);
    if (typeDescriptor_ != nullptr) {
      Oci8().OCIObjectUnpin(environment, errorHandle_, typeDescriptor_);
    }
    if (typeRef_ != nullptr) Oci8().OCIObjectFree(environment, errorHandle_, typeRef_, OCI_DEFAULT);
    if (describeHandle_ != nullptr) Oci8().OCIHandleFree(describeHandle_, OCI_HTYPE_DESCRIBE);
    Oci8().OCIHandleFree(errorHandle_, OCI_HTYPE_ERROR);
  }
  ownRef_ = nullptr;
  if (!columnReference_) address_ = &ownRef_;
  typeDescriptor_ = nullptr;
  typeRef_ = nullptr;
  describeHandle_ = nullptr;
  errorHandle_ = nullptr;
}

void TOracleReference::CloseForLogOff() {
  DropHandles(generation_ == ClientLibraryGeneration());
}

void TOracleReference::DetachFromSession() {
  DropHandles(HandlesLive());
  if (session_ != nullptr) session_->UnregisterQuery(this);
  session_ = nullptr;
}

void TOracleReference::Check(sword status) const {
  if (status == OCI_INVALID_HANDLE) throw Exception("TOracleObject: Invalid handle");
  if (status == OCI_ERROR) {
    SessionCallLock lock(*session_);
    lock.Raise(errorHandle_);
  }
}

void TOracleReference::Prepare() const {
  if (session_ == nullptr) throw Exception("Not logged on");
  session_->DropStaleHandles();
  if (!session_->Connected() || errorHandle_ == nullptr ||
      generation_ != ClientLibraryGeneration()) {
    throw Exception("Not logged on");
  }
  if (address_ == nullptr || *address_ == nullptr) throw Exception("TOracleObject: Invalid handle");
}

bool TOracleReference::IsNull() {
  Prepare();
  return Oci8().OCIRefIsNull(session_->EnvironmentHandle(), *address_) != 0;
}

void TOracleReference::Clear() {
  Prepare();
  Oci8().OCIRefClear(session_->EnvironmentHandle(), *address_);
}

std::string TOracleReference::Hex() {
  Prepare();
  OCIEnv* environment = session_->EnvironmentHandle();
  if (Oci8().OCIRefIsNull(environment, *address_) != 0) return std::string();
  ub4 length = Oci8().OCIRefHexSize(environment, *address_);
  std::string text(length, '\0');
  Check(Oci8().OCIRefToHex(environment, errorHandle_, *address_,
                           reinterpret_cast<OraText*>(text.data()), &length));
  text.resize(std::min<size_t>(length, text.size()));
  return text;
}

void TOracleReference::PointAt(OCIRef** slot, bool null) {
  address_ = slot;
  if (*slot == nullptr) {
    Check(Oci8().OCIObjectNew(session_->EnvironmentHandle(), errorHandle_,
                              session_->ServiceContextHandle(), OCI_TYPECODE_REF, nullptr, nullptr,
                              OCI_DURATION_SESSION, 1, reinterpret_cast<void**>(slot)));
  }
  if (null) Oci8().OCIRefClear(session_->EnvironmentHandle(), *slot);
}

}  // namespace vorn
