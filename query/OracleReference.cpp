// TOracleReference; see OracleReference.h.
#include "vorn/query/OracleReference.h"

#include <algorithm>

#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

using namespace client;

TOracleReference::TOracleReference(TOracleSession* session, const std::string& typeName) {
  Setup(session, typeName);
  try {
    ownRef_ = handles_.NewRef();
  } catch (...) {
    DropHandles(true);
    throw;
  }
  session->RegisterQuery(this);
}

TOracleReference::TOracleReference(TOracleSession* session, const std::string& typeName,
                                   ColumnReference)
    : columnReference_(true) {
  Setup(session, typeName);
  address_ = nullptr;
}

void TOracleReference::Setup(TOracleSession* session, const std::string& typeName) {
  handles_.Open(session, "A TOracleReference instance");
  try {
    // The type of the objects referred to, found by its name.
    typeName_ = handles_.TakeTypeByName(typeName);
  } catch (...) {
    DropHandles(true);
    throw;
  }
}

TOracleReference::~TOracleReference() {
  if (Session() != nullptr && !columnReference_) Session()->UnregisterQuery(this);
  try {
    DropHandles(handles_.Live());
  } catch (const std::exception&) {
    // The handles go with the reference all the same.
  }
}

void TOracleReference::DropHandles(bool live) {
  if (live && handles_.ErrorHandle() != nullptr && ownRef_ != nullptr) {
    Oci8().OCIObjectFree(Session()->EnvironmentHandle(), handles_.ErrorHandle(), ownRef_,
                         OCI_DEFAULT);
  }
  ownRef_ = nullptr;
  if (!columnReference_) address_ = &ownRef_;
  handles_.Drop(live);
}

void TOracleReference::CloseForLogOff() {
  DropHandles(handles_.SameLibrary());
}

void TOracleReference::DetachFromSession() {
  DropHandles(handles_.Live());
  handles_.LeaveSession(this);
}

void TOracleReference::Prepare() const {
  handles_.CheckLoggedOn();
  if (address_ == nullptr || *address_ == nullptr) throw Exception("TOracleObject: Invalid handle");
}

bool TOracleReference::IsNull() {
  Prepare();
  return Oci8().OCIRefIsNull(Session()->EnvironmentHandle(), *address_) != 0;
}

void TOracleReference::Clear() {
  Prepare();
  Oci8().OCIRefClear(Session()->EnvironmentHandle(), *address_);
}

std::string TOracleReference::Hex() {
  Prepare();
  OCIEnv* environment = Session()->EnvironmentHandle();
  if (Oci8().OCIRefIsNull(environment, *address_) != 0) return std::string();
  ub4 length = Oci8().OCIRefHexSize(environment, *address_);
  std::string text(length, '\0');
  Check(Oci8().OCIRefToHex(environment, handles_.ErrorHandle(), *address_,
                           reinterpret_cast<OraText*>(text.data()), &length));
  text.resize(std::min<size_t>(length, text.size()));
  return text;
}

void TOracleReference::PointAt(OCIRef** slot, bool null) {
  address_ = slot;
  if (*slot == nullptr) *slot = handles_.NewRef();
  if (null) Oci8().OCIRefClear(Session()->EnvironmentHandle(), *slot);
}

}  // namespace vorn
