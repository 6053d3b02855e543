// The session component: its properties, locks, registrations, status and
// streaming. Logging on and off is in SessionLogon.cpp, transactions in
// SessionTransaction.cpp, the statements and probes in SessionOptions.cpp.
#include "vorn/session/OracleSession.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/client/OracleHome.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/TextUtils.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/SessionClients.h"
#include "vorn/session/SessionPreferences.h"
#include "vorn/session/SessionQuery.h"

namespace vorn {

using namespace client;

TOracleSession::TOracleSession(TComponent* owner)
    : TComponent(owner), preferences_(std::make_unique<TSessionPreferences>(*this)) {}

TOracleSession::~TOracleSession() {
  // Owned queries and datasets would call back into this object while the
  // base destructor frees them, so everything that needs the session runs
  // here, while it is whole.
  Destroying();
  DropStaleHandles();
  try {
    LogOff();
  } catch (const std::exception&) {
    // A session that cannot end cleanly still goes; what is left of the
    // connection is freed below.
  }
  while (!dataSets_.empty()) {
    RegisteredDataSet* dataSet = dataSets_.back();
    dataSet->DetachFromSession();
    if (!dataSets_.empty() && dataSets_.back() == dataSet) dataSets_.pop_back();
  }
  while (!queries_.empty()) {
    RegisteredQuery* query = queries_.back();
    query->DetachFromSession();
    if (!queries_.empty() && queries_.back() == query) queries_.pop_back();
  }
  internalQuery_.reset();
  DestroyComponents();
  DropStaleHandles();
  try {
    if (attached_) {
      attached_ = false;
      Oci8().OCIServerDetach(server_, errorHandle2_, OCI_DEFAULT);
    }
    FreeHandles();
  } catch (const std::exception&) {
    // Only a library lacking the calls gets here; the handles go with it.
  }
}

bool TOracleSession::HandlesStale() const {
  const bool holdsAny = connected_ || attached_ || environment_ != nullptr || lda_.chk != 0;
  return holdsAny && handleGeneration_ != ClientLibraryGeneration();
}

void TOracleSession::DropStaleHandles() {
  if (!HandlesStale()) return;
  const bool wasConnected = connected_;
  // The queries and datasets find their own handles stale as they close.
  if (connected_) CloseClients();
  connected_ = false;
  attached_ = false;
  converted_ = false;
  detectedDateTextLength_ = -1;
  detectedBytesPerCharacter_ = 0;
  environment_ = nullptr;
  serviceContext_ = nullptr;
  errorHandle_ = nullptr;
  errorHandle2_ = nullptr;
  server_ = nullptr;
  userSession_ = nullptr;
  lda_ = {};
  hda_ = {};
  lastStatus_ = 0;
  if (wasConnected && !(ComponentState() & csDestroying)) FireChange();
}

// --- Properties ---

void TOracleSession::SetLogonUsername(const std::string& value) {
  if (value == logonUsername_) return;
  logonUsername_ = value;
  UpdateRouteFlags();
}

void TOracleSession::SetLogonPassword(const std::string& value) {
  if (value == logonPassword_) return;
  logonPassword_ = value;
  UpdateRouteFlags();
}

void TOracleSession::SetLogonDatabase(const std::string& value) {
  if (value == logonDatabase_) return;
  logonDatabase_ = value;
  UpdateRouteFlags();
}

void TOracleSession::UpdateRouteFlags() {
  const std::string marker = "ODBC:";
  odbcRoute_ = UpperCase(logonDatabase_).find(marker) != std::string::npos ||
               UpperCase(logonUsername_).find(marker) != std::string::npos;
  ocaInstalled_ = odbcRoute_ && !ReadRegistryString("SOFTWARE\\ORACLE", "OCA60").empty();
}

void TOracleSession::SetConnected(bool value) {
  if (value == connected_) return;
  if (value) {
    LogOn();
  } else {
    LogOff();
  }
}

void TOracleSession::SetThreadSafe(bool value) {
  if (value == threadSafe_) return;
  if (connected_) throw Exception("Cannot change ThreadSafe property when connected");
  threadSafe_ = value;
}

void TOracleSession::SetPreferences(const TSessionPreferences* value) {
  preferences_->Assign(value);
}

void TOracleSession::CheckOCI8Feature(const std::string& feature) const {
  if (!IsVersion8Mode()) {
    throw Exception(feature + " requires Net8, which is not detected on this PC");
  }
  if (!usesOCI8_) throw Exception(feature + " requires OCI8 mode, but OCI7 mode is used.");
}

void TOracleSession::FireChange() {
  if (onChange_) onChange_(this);
}

void TOracleSession::FireAfterLogOn() {
  if (afterLogOn_) afterLogOn_(this);
}

// --- Status ---

int TOracleSession::TakeStatus(int status) {
  lastStatus_ = status;
  return ErrorCode();
}

int TOracleSession::ErrorCode() {
  if (!usesOCI8_) return lda_.rc;
  const int status = lastStatus_;
  if (status != OCI_ERROR && status != OCI_SUCCESS_WITH_INFO) return status;
  sb4 code = 0;
  std::array<OraText, OCI_ERROR_MAXMSG_SIZE> text{};
  Oci8().OCIErrorGet(errorHandle_, 1, nullptr, &code, text.data(), static_cast<ub4>(text.size()),
                     OCI_HTYPE_ERROR);
  return code;
}

void TOracleSession::RaiseError() {
  if (usesOCI8_) throw EOracleError(*this, errorHandle_);
  throw EOracleError(*this, static_cast<int>(lda_.rc));
}

// --- Locks ---

void TOracleSession::LockCall() {
  if (CallLockActive()) mutex_.Lock();
}

void TOracleSession::UnlockCall() {
  if (CallLockActive()) mutex_.Unlock();
}

bool TOracleSession::TryLockCall() {
  return !CallLockActive() || mutex_.TryLock();
}

namespace {

// The list lock: the session's mutex, when the session is thread-safe.
class ListLock {
 public:
  ListLock(platform::Mutex& mutex, bool active) : mutex_(active ? &mutex : nullptr) {
    if (mutex_ != nullptr) mutex_->Lock();
  }
  ~ListLock() {
    if (mutex_ != nullptr) mutex_->Unlock();
  }
  ListLock(const ListLock&) = delete;
  ListLock& operator=(const ListLock&) = delete;

 private:
  platform::Mutex* mutex_;
};

template <class T>
void RemoveFirst(std::vector<T*>& list, T* item) {
  auto found = std::find(list.begin(), list.end(), item);
  if (found != list.end()) list.erase(found);
}

}  // namespace

void TOracleSession::RegisterQuery(RegisteredQuery* query) {
  ListLock lock(mutex_, threadSafe_);
  queries_.push_back(query);
}

void TOracleSession::UnregisterQuery(RegisteredQuery* query) {
  ListLock lock(mutex_, threadSafe_);
  RemoveFirst(queries_, query);
}

void TOracleSession::RegisterDataSet(RegisteredDataSet* dataSet) {
  ListLock lock(mutex_, threadSafe_);
  dataSets_.push_back(dataSet);
}

void TOracleSession::UnregisterDataSet(RegisteredDataSet* dataSet) {
  ListLock lock(mutex_, threadSafe_);
  RemoveFirst(dataSets_, dataSet);
}

void TOracleSession::CloseClients() {
  // Closing may make a client leave the list, so the index is checked
  // against the list as it is at every step.
  for (size_t i = queries_.size(); i-- > 0;) {
    if (i >= queries_.size()) continue;
    try {
      queries_[i]->CloseForLogOff();
    } catch (const std::exception&) {
      // The next one is closed all the same.
    }
  }
  for (size_t i = dataSets_.size(); i-- > 0;) {
    if (i >= dataSets_.size()) continue;
    try {
      dataSets_[i]->CloseForLogOff();
    } catch (const std::exception&) {
    }
  }
}

void TOracleSession::RecreateDataSetFields() {
  for (size_t i = 0; i < dataSets_.size(); ++i) {
    RegisteredDataSet* dataSet = dataSets_[i];
    const bool wasActive = dataSet->DataSetActive();
    dataSet->ResetDataSetFieldDefs();
    if (!wasActive) continue;
    try {
      dataSet->OpenDataSet();
    } catch (const std::exception& error) {
      ShowMessage("Error reactivating dataset " + dataSet->DataSetName() + ":\r\n" + error.what());
    }
  }
}

// --- Streaming ---

namespace {

template <class Enum, size_t N>
struct EnumNames {
  std::array<std::string_view, N> names;

  std::string_view Name(Enum value) const { return names.at(static_cast<size_t>(value)); }
  Enum Value(const std::string& name) const {
    for (size_t i = 0; i < N; ++i) {
      if (SameText(names[i], name)) return static_cast<Enum>(i);
    }
    throw EReadError("Invalid property value");
  }
};

constexpr EnumNames<TNullValueOption, 2> kNullValueNames{{"nvUnAssigned", "nvNull"}};
constexpr EnumNames<TSQLTraceOption, 3> kSQLTraceNames{{"stUnchanged", "stTrue", "stFalse"}};
constexpr EnumNames<TOptimizerGoalOption, 5> kOptimizerGoalNames{
    {"ogUnchanged", "ogChoose", "ogFirstRows", "ogAllRows", "ogRule"}};
constexpr EnumNames<TIsolationLevelOption, 3> kIsolationLevelNames{
    {"ilUnchanged", "ilReadCommitted", "ilSerializable"}};
constexpr EnumNames<TBytesPerCharacterOption, 5> kBytesPerCharacterNames{
    {"bcAutoDetect", "bc1Byte", "bc2Bytes", "bc3Bytes", "bc4Bytes"}};

template <class Enum, size_t N, class Setter>
void DefineEnum(TFiler& filer, const std::string& name, const EnumNames<Enum, N>& names, Enum value,
                Enum defaultValue, Setter setter) {
  filer.DefineProperty(
      name, [&names, setter](TReader& reader) { setter(names.Value(reader.ReadString())); },
      [&names, value](TWriter& writer) { writer.WriteString(std::string(names.Name(value))); },
      value != defaultValue);
}

void DefineText(TFiler& filer, const std::string& name, const std::string& value,
                const std::function<void(const std::string&)>& setter) {
  filer.DefineProperty(
      name, [setter](TReader& reader) { setter(reader.ReadString()); },
      [&value](TWriter& writer) { writer.WriteString(value); }, !value.empty());
}

void DefineFlag(TFiler& filer, const std::string& name, bool value,
                const std::function<void(bool)>& setter) {
  filer.DefineProperty(
      name, [setter](TReader& reader) { setter(reader.ReadBoolean()); },
      [value](TWriter& writer) { writer.WriteBoolean(value); }, value);
}

}  // namespace

void TOracleSession::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  // The order is the order of reading: DesignConnection decides whether the
  // logon values and Connected count, and Connected comes last so that the
  // logon it starts sees every other property.
  DefineFlag(filer, "DesignConnection", designConnection_,
             [this](bool value) { SetDesignConnection(value); });
  // Stored logon values count only in the designer when DesignConnection is
  // set.
  const auto logonValuesCount = [this] {
    return !(designConnection_ && (ComponentState() & csLoading) &&
             !(ComponentState() & csDesigning));
  };
  DefineText(filer, "LogonUsername", logonUsername_, [this, logonValuesCount](const auto& value) {
    if (logonValuesCount()) SetLogonUsername(value);
  });
  DefineText(filer, "LogonPassword", logonPassword_, [this, logonValuesCount](const auto& value) {
    if (logonValuesCount()) SetLogonPassword(value);
  });
  DefineText(filer, "LogonDatabase", logonDatabase_, [this, logonValuesCount](const auto& value) {
    if (logonValuesCount()) SetLogonDatabase(value);
  });
  DefineFlag(filer, "RollbackOnDisconnect", rollbackOnDisconnect_,
             [this](bool value) { SetRollbackOnDisconnect(value); });
  DefineFlag(filer, "ThreadSafe", threadSafe_, [this](bool value) { SetThreadSafe(value); });
  DefineEnum(filer, "NullValue", kNullValueNames, nullValue_, nvUnAssigned,
             [this](TNullValueOption value) { SetNullValue(value); });
  DefineEnum(filer, "SQLTrace", kSQLTraceNames, sqlTrace_, stUnchanged,
             [this](TSQLTraceOption value) { SetSQLTrace(value); });
  DefineEnum(filer, "OptimizerGoal", kOptimizerGoalNames, optimizerGoal_, ogUnchanged,
             [this](TOptimizerGoalOption value) { SetOptimizerGoal(value); });
  DefineEnum(filer, "IsolationLevel", kIsolationLevelNames, isolationLevel_, ilUnchanged,
             [this](TIsolationLevelOption value) { SetIsolationLevel(value); });
  DefineEnum(filer, "BytesPerCharacter", kBytesPerCharacterNames, bytesPerCharacter_, bc1Byte,
             [this](TBytesPerCharacterOption value) { SetBytesPerCharacter(value); });
  filer.DefineProperty(
      "Cursor", [this](TReader& reader) { SetCursor(reader.ReadInteger()); },
      [this](TWriter& writer) { writer.WriteInteger(cursor_); }, cursor_ != crHourGlass);
  DefineText(filer, "MessageTable", messageTable_,
             [this](const std::string& value) { SetMessageTable(value); });
  filer.DefinePersistent("Preferences", *preferences_);
  DefineFlag(filer, "Connected", connected_, [this, logonValuesCount](bool value) {
    if (logonValuesCount()) SetConnected(value);
  });
}

void TOracleSession::Loaded() {
  TComponent::Loaded();
  if (!connected_) return;
  FireAfterLogOn();
  FireChange();
}

}  // namespace vorn
