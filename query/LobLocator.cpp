// TLOBLocator: a stream over a CLOB, BLOB or BFILE; see LobLocator.h.
#include "vorn/query/LobLocator.h"

#include <algorithm>
#include <limits>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"

namespace vorn {

using namespace client;

namespace {

// The largest amount one call moves (the client's amounts are ub4), and
// the largest 1-based offset it takes.
constexpr int64_t kLargestAmount = std::numeric_limits<sb4>::max();
constexpr int64_t kLargestOffset = std::numeric_limits<ub4>::max();

}  // namespace

TLOBLocator::TLOBLocator(TOracleSession* session, int lobType) {
  Setup(session, lobType);
  SessionCallLock lock(*session_);
  const sword status = Oci8().OCIDescriptorAlloc(session_->EnvironmentHandle(),
                                                 reinterpret_cast<void**>(&ownLocator_),
                                                 descriptorType_, 0, nullptr);
  if (status != OCI_SUCCESS || ownLocator_ == nullptr) {
    ownLocator_ = nullptr;
    Oci8().OCIHandleFree(errorHandle_, OCI_HTYPE_ERROR);
    throw Exception("OCIDescriptorAlloc failed for a LOB locator with status " +
                    std::to_string(status));
  }
  session_->RegisterQuery(this);
}

TLOBLocator::TLOBLocator(TOracleSession* session, int lobType, ColumnLocator)
    : columnLocator_(true) {
  Setup(session, lobType);
  address_ = nullptr;
}

void TLOBLocator::Setup(TOracleSession* session, int lobType) {
  if (session == nullptr) throw Exception("Not logged on");
  session->DropStaleHandles();
  if (!session->Connected()) throw Exception("Not logged on");
  session->CheckOCI8Feature("A TLOBLocator instance");
  if (lobType != otCLOB && lobType != otBLOB && lobType != otBFile) {
    throw Exception("Type must be otCLOB, otBLOB or otBFile");
  }
  session_ = session;
  lobType_ = lobType;
  descriptorType_ = lobType == otBFile ? OCI_DTYPE_FILE : OCI_DTYPE_LOB;
  generation_ = ClientLibraryGeneration();
  void* handle = nullptr;
  const sword status =
      Oci8().OCIHandleAlloc(session->EnvironmentHandle(), &handle, OCI_HTYPE_ERROR, 0, nullptr);
  if (status != OCI_SUCCESS || handle == nullptr) {
    throw Exception("OCIHandleAlloc failed for an error handle with status " +
                    std::to_string(status));
  }
  errorHandle_ = static_cast<OCIError*>(handle);
}

TLOBLocator::~TLOBLocator() {
  if (session_ != nullptr && !columnLocator_) session_->UnregisterQuery(this);
  try {
    DropHandles(HandlesLive());
  } catch (const std::exception&) {
    // The handles go with the locator all the same.
  }
}

bool TLOBLocator::HandlesLive() const {
  return errorHandle_ != nullptr && session_ != nullptr && session_->Connected() &&
         generation_ == ClientLibraryGeneration();
}

void TLOBLocator::DropHandles(bool live) {
  if (live) {
    try {
      Release();
    } catch (const std::exception&) {
      // A file that cannot be closed goes with the connection.
    }
    if (ownLocator_ != nullptr) Oci8().OCIDescriptorFree(ownLocator_, descriptorType_);
    Oci8().OCIHandleFree(errorHandle_, OCI_HTYPE_ERROR);
  }
  fileOpened_ = false;
  ownLocator_ = nullptr;
  errorHandle_ = nullptr;
  position_ = 0;
}

void TLOBLocator::CloseForLogOff() {
  DropHandles(generation_ == ClientLibraryGeneration());
}

void TLOBLocator::DetachFromSession() {
  DropHandles(HandlesLive());
  if (session_ != nullptr) session_->UnregisterQuery(this);
  session_ = nullptr;
}

void TLOBLocator::Check(sword status) {
  if (status == OCI_INVALID_HANDLE) throw Exception("TLOBLocator: Invalid handle");
  if (status == OCI_ERROR) {
    SessionCallLock lock(*session_);
    lock.Raise(errorHandle_);
  }
}

bool TLOBLocator::Prepare() {
  if (session_ == nullptr) throw Exception("Not logged on");
  session_->DropStaleHandles();
  if (!session_->Connected()) throw Exception("Not logged on");
  if (errorHandle_ != nullptr && generation_ != ClientLibraryGeneration()) DropHandles(false);
  if (errorHandle_ == nullptr) {
    // The session logged off and on again since: new handles, and a null
    // locator in place of the one that went with the old connection.
    if (columnLocator_) throw Exception("Not logged on");
    void* handle = nullptr;
    if (Oci8().OCIHandleAlloc(session_->EnvironmentHandle(), &handle, OCI_HTYPE_ERROR, 0,
                              nullptr) != OCI_SUCCESS) {
      throw Exception("TLOBLocator: Invalid handle");
    }
    errorHandle_ = static_cast<OCIError*>(handle);
    generation_ = ClientLibraryGeneration();
    address_ = &ownLocator_;
  }
  // A column's locator before the first row stands for no LOB.
  if (address_ == nullptr) return false;
  if (*address_ != nullptr) return true;
  if (address_ == &ownLocator_) {
    Check(Oci8().OCIDescriptorAlloc(session_->EnvironmentHandle(),
                                    reinterpret_cast<void**>(address_), descriptorType_, 0,
                                    nullptr));
  } else {
    // A slot of an object's attribute: the locator lives in the object
    // cache like the object itself.
    Check(Oci8().OCIObjectNew(session_->EnvironmentHandle(), errorHandle_,
                              session_->ServiceContextHandle(), static_cast<OCITypeCode>(lobType_),
                              nullptr, nullptr, OCI_DURATION_SESSION, 1,
                              reinterpret_cast<void**>(address_)));
  }
  return true;
}

void TLOBLocator::PrepareWrite() {
  if (!Prepare()) throw Exception("TLOBLocator: Invalid handle");
}

bool TLOBLocator::IsInitialized() {
  boolean initialized = 0;
  Check(Oci8().OCILobLocatorIsInit(session_->EnvironmentHandle(), errorHandle_, Locator(),
                                   &initialized));
  return initialized != 0;
}

bool TLOBLocator::IsNull() {
  return !Prepare() || !IsInitialized();
}

int64_t TLOBLocator::Length() {
  if (!IsInitialized()) return 0;
  ub4 length = 0;
  Check(Oci8().OCILobGetLength(session_->ServiceContextHandle(), errorHandle_, Locator(), &length));
  return length;
}

int64_t TLOBLocator::Size() {
  return Prepare() ? Length() : 0;
}

int64_t TLOBLocator::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (!Prepare() || !IsInitialized() || position_ >= kLargestOffset) return 0;
  if (lobType_ == otBFile && !fileOpened_) {
    boolean open = 0;
    Check(
        Oci8().OCILobFileIsOpen(session_->ServiceContextHandle(), errorHandle_, Locator(), &open));
    if (open == 0) {
      Check(Oci8().OCILobFileOpen(session_->ServiceContextHandle(), errorHandle_, Locator(),
                                  OCI_FILE_READONLY));
      fileOpened_ = true;
    }
  }
  ub4 amount = static_cast<ub4>(std::min(count, kLargestAmount));
  Check(Oci8().OCILobRead(session_->ServiceContextHandle(), errorHandle_, Locator(), &amount,
                          static_cast<ub4>(position_ + 1), buffer, amount, nullptr, nullptr, 0,
                          SQLCS_IMPLICIT));
  position_ += amount;
  return amount;
}

int64_t TLOBLocator::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  PrepareWrite();
  if (position_ >= kLargestOffset) throw EWriteError("Stream write error");
  ub4 amount = static_cast<ub4>(std::min(count, kLargestAmount));
  Check(Oci8().OCILobWrite(session_->ServiceContextHandle(), errorHandle_, Locator(), &amount,
                           static_cast<ub4>(position_ + 1), const_cast<void*>(buffer), amount,
                           OCI_ONE_PIECE, nullptr, nullptr, 0, SQLCS_IMPLICIT));
  position_ += amount;
  return amount;
}

int64_t TLOBLocator::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t position = offset;
  switch (origin) {
    case soFromBeginning:
      break;
    case soFromCurrent:
      position = position_ + offset;
      break;
    case soFromEnd:
      position = (Prepare() ? Length() : 0) + offset;
      break;
  }
  if (position < 0) throw EStreamError("Invalid stream position");
  position_ = position;
  return position_;
}

void TLOBLocator::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream position");
  PrepareWrite();
  const int64_t length = Length();
  if (size < length) {
    Check(Oci8().OCILobTrim(session_->ServiceContextHandle(), errorHandle_, Locator(),
                            static_cast<ub4>(size)));
  } else if (size > length) {
    const char filler = lobType_ == otCLOB ? ' ' : '\0';
    Seek(size - 1, soFromBeginning);
    Write(&filler, 1);
  }
}

void TLOBLocator::Clear() {
  PrepareWrite();
  Release();
  Check(Oci8().OCIDescriptorFree(*address_, descriptorType_));
  *address_ = nullptr;
  Check(Oci8().OCIDescriptorAlloc(session_->EnvironmentHandle(), reinterpret_cast<void**>(address_),
                                  descriptorType_, 0, nullptr));
  position_ = 0;
}

void TLOBLocator::Release() {
  if (!fileOpened_) return;
  fileOpened_ = false;
  if (address_ == nullptr || *address_ == nullptr) return;
  Check(Oci8().OCILobFileClose(session_->ServiceContextHandle(), errorHandle_, *address_));
}

std::string TLOBLocator::WholeValue() {
  const int64_t position = position_;
  std::string value(static_cast<size_t>(Size()), '\0');
  position_ = 0;
  size_t read = 0;
  while (read < value.size()) {
    const int64_t count = Read(value.data() + read, static_cast<int64_t>(value.size() - read));
    if (count <= 0) break;
    read += static_cast<size_t>(count);
  }
  value.resize(read);
  position_ = position;
  return value;
}

void TLOBLocator::PointAt(OCILobLocator** address) {
  Release();
  address_ = address;
  position_ = 0;
}

}  // namespace vorn
