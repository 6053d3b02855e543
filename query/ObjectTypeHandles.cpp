// ObjectTypeHandles; see ObjectTypeHandles.h.
#include "vorn/query/ObjectTypeHandles.h"

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

// The longest name kept, as for columns.
constexpr size_t kNameLength = 30;

std::string Text(OraText* text, ub4 length) {
  if (text == nullptr) return std::string();
  return std::string(reinterpret_cast<const char*>(text), std::min<size_t>(length, kNameLength));
}

}  // namespace

void ObjectTypeHandles::Open(TOracleSession* session, const char* feature) {
  if (session == nullptr) throw Exception("Not logged on");
  session->DropStaleHandles();
  if (!session->Connected()) throw Exception("Not logged on");
  session->CheckOCI8Feature(feature);
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

std::string ObjectTypeHandles::TakeTypeByName(const std::string& typeName) {
  const std::string name = AnsiUpperCase(typeName);
  Check(Oci8().OCIDescribeAny(session_->ServiceContextHandle(), errorHandle_,
                              const_cast<char*>(name.data()), static_cast<ub4>(name.size()),
                              OCI_OTYPE_NAME, OCI_DEFAULT, OCI_PTYPE_TYPE, describeHandle_));
  void* parameter = nullptr;
  Check(Oci8().OCIAttrGet(describeHandle_, OCI_HTYPE_DESCRIBE, &parameter, nullptr, OCI_ATTR_PARAM,
                          errorHandle_));
  std::string qualified = TypeNameOf(parameter, OCI_ATTR_NAME);
  OCIRef* source = nullptr;
  Check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &source, nullptr, OCI_ATTR_REF_TDO,
                          errorHandle_));
  TakeType(source);
  return qualified;
}

void ObjectTypeHandles::TakeType(OCIRef* source) {
  // The source REF goes with the next describe or row: the copy is ours.
  OCIEnv* environment = session_->EnvironmentHandle();
  typeRef_ = NewRef();
  Check(Oci8().OCIRefAssign(environment, errorHandle_, source, &typeRef_));
  void* descriptor = nullptr;
  Check(Oci8().OCIObjectPin(environment, errorHandle_, typeRef_, nullptr, OCI_PIN_ANY,
                            OCI_DURATION_SESSION, OCI_LOCK_NONE, &descriptor));
  typeDescriptor_ = static_cast<OCIType*>(descriptor);
}

OCIRef* ObjectTypeHandles::NewRef() const {
  void* reference = nullptr;
  Check(Oci8().OCIObjectNew(session_->EnvironmentHandle(), errorHandle_,
                            session_->ServiceContextHandle(), OCI_TYPECODE_REF, nullptr, nullptr,
                            OCI_DURATION_SESSION, 1, &reference));
  return static_cast<OCIRef*>(reference);
}

std::string ObjectTypeHandles::TypeNameOf(void* parameter, ub4 nameAttribute) const {
  OraText* schema = nullptr;
  OraText* type = nullptr;
  ub4 schemaLength = 0;
  ub4 typeLength = 0;
  Check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &schema, &schemaLength, OCI_ATTR_SCHEMA_NAME,
                          errorHandle_));
  Check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &type, &typeLength, nameAttribute,
                          errorHandle_));
  return Text(schema, schemaLength) + "." + Text(type, typeLength);
}

bool ObjectTypeHandles::Live() const {
  return errorHandle_ != nullptr && session_ != nullptr && session_->Connected() && SameLibrary();
}

bool ObjectTypeHandles::SameLibrary() const {
  return generation_ == ClientLibraryGeneration();
}

void ObjectTypeHandles::Drop(bool live) {
  if (live && errorHandle_ != nullptr) {
    OCIEnv* environment = session_->EnvironmentHandle();
    if (typeDescriptor_ != nullptr) {
      Oci8().OCIObjectUnpin(environment, errorHandle_, typeDescriptor_);
    }
    if (typeRef_ != nullptr) Oci8().OCIObjectFree(environment, errorHandle_, typeRef_, OCI_DEFAULT);
    if (describeHandle_ != nullptr) Oci8().OCIHandleFree(describeHandle_, OCI_HTYPE_DESCRIBE);
    Oci8().OCIHandleFree(errorHandle_, OCI_HTYPE_ERROR);
  }
  typeDescriptor_ = nullptr;
  typeRef_ = nullptr;
  describeHandle_ = nullptr;
  errorHandle_ = nullptr;
}

void ObjectTypeHandles::LeaveSession(RegisteredQuery* owner) {
  if (session_ != nullptr) session_->UnregisterQuery(owner);
  session_ = nullptr;
}

void ObjectTypeHandles::Check(sword status) const {
  if (status == OCI_INVALID_HANDLE) throw Exception("TOracleObject: Invalid handle");
  if (status == OCI_ERROR) {
    SessionCallLock lock(*session_);
    lock.Raise(errorHandle_);
  }
}

void ObjectTypeHandles::CheckLoggedOn() const {
  if (session_ == nullptr) throw Exception("Not logged on");
  session_->DropStaleHandles();
  if (!session_->Connected() || errorHandle_ == nullptr || !SameLibrary()) {
    throw Exception("Not logged on");
  }
}

}  // namespace vorn
