// TOracleSession: one connection to an Oracle database, through the client
// library that the client binding loads (vorn/client/ClientLibrary.h).
//
// Logging on. LogOn (or Connected = true) fires BeforeLogOn, loads the
// client library, ends any connection the session has, and connects with
// the version 8 calls (environment, server attachment, user session) when
// the process is in version 8 mode, Preferences()->UseOCI7() is off and the
// session does not take the ODBC route; otherwise with the version 7 calls
// (a logon data area). The logon values are normalised first: a user name
// typed as "user/password@database" fills all three. Empty user name and
// password log on with external credentials (version 8) or the bare connect
// text (version 7). A version 8 logon to a release-7 server (its version
// text names "Oracle7" or "Release 7.") continues on version 7 calls over a
// logon data area converted from the service context, when the client has
// the whole version 7 set; logging off converts back. A password inside its
// grace period (ORA-28002) connects and keeps the warning in
// LogonWarning(); any other error raises EOracleError. Afterwards the
// options that are not Unchanged (and AutoCommit) are sent again, and
// AfterLogOn and OnChange fire, also when the logon failed, but not while
// the session is being loaded from a stream.
//
// Logging off rolls back first when RollbackOnDisconnect is set (a failing
// rollback does not stop the logoff), closes every registered query and
// dataset (SessionClients.h), ends the user session, detaches from the
// server and frees the version 8 handles.
//
// The session options SQLTrace, OptimizerGoal and IsolationLevel, the
// savepoints, the version 7 password change and the probes of the character
// width and the date text length run statements on the session's own query
// (SessionQuery.h): "ALTER SESSION SET SQL_TRACE = TRUE" and so on. A
// failing statement raises and leaves the option as it was.
//
// Threads. With ThreadSafe set (only while disconnected) the session's
// mutex serialises the version 7 client calls of every thread (the call
// lock: LockCall/UnlockCall, taken around each call sequence by the
// session and by its queries) and the changes to its lists of queries and
// datasets (the list lock). With version 8 calls the environment is created
// with the client's own mutexes instead and the call lock is not taken. A
// failing call releases the call lock through EOracleError's construction,
// so a caller that took it releases it itself only on success; the frame
// SessionCallLock (SessionCallLock.h) does that bookkeeping for every
// caller. The session's own calls on its main error handle (commit,
// rollback) also hold the status lock of a thread-safe session in either
// call set, so that the status and the error read for one call are that
// call's, whichever thread made it.
//
// Unloading the client library (ClientLibrary.h) while the session holds
// handles or a logon data area makes them stale: the session then forgets
// them without passing them to any library, and counts as logged off.
//
// Streams. DefineProperties stores the published properties (enumerations
// by their names); a stored Connected = true logs on while the session is
// loaded, and Loaded() then fires AfterLogOn and OnChange. With
// DesignConnection set, the stored Connected and logon values count only
// in the form designer.
//
// Facts that queries and datasets read: UsesOCI8() and the handles of the
// call set in use, NullValue, AutoCommit, the preferences, MaxStringLength,
// DateTextLength, TakesODBCRoute, CheckOCI8Feature.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "vorn/client/OciTypes.h"
#include "vorn/host/Component.h"
#include "vorn/host/UIServices.h"
#include "vorn/platform/Mutex.h"
#include "vorn/session/SessionTypes.h"

namespace vorn {

class RegisteredDataSet;
class RegisteredQuery;
class SessionQuery;
class TSessionPreferences;

class TOracleSession : public TComponent {
  VORN_CLASS(TOracleSession, TComponent)
  explicit TOracleSession(TComponent* owner = nullptr);
  ~TOracleSession() override;

  // --- Published properties ---

  const std::string& LogonUsername() const { return logonUsername_; }
  void SetLogonUsername(const std::string& value);
  const std::string& LogonPassword() const { return logonPassword_; }
  void SetLogonPassword(const std::string& value);
  const std::string& LogonDatabase() const { return logonDatabase_; }
  void SetLogonDatabase(const std::string& value);

  bool Connected() const { return connected_; }
  // True logs on, false logs off.
  void SetConnected(bool value);
  bool RollbackOnDisconnect() const { return rollbackOnDisconnect_; }
  void SetRollbackOnDisconnect(bool value) { rollbackOnDisconnect_ = value; }
  bool DesignConnection() const { return designConnection_; }
  void SetDesignConnection(bool value) { designConnection_ = value; }
  bool ThreadSafe() const { return threadSafe_; }
  // Raises vorn::Exception "Cannot change ThreadSafe property when
  // connected" for a change while connected.
  void SetThreadSafe(bool value);

  // Obsolete server-side auto-commit, sent (ocon/ocof) only with version 7
  // calls; queries of a version 8 session commit each execution instead.
  // Not stored. Setting it true in the form designer only shows a warning.
  bool AutoCommit() const { return autoCommit_; }
  void SetAutoCommit(bool value);

  TNullValueOption NullValue() const { return nullValue_; }
  void SetNullValue(TNullValueOption value) { nullValue_ = value; }
  TSQLTraceOption SQLTrace() const { return sqlTrace_; }
  void SetSQLTrace(TSQLTraceOption value);
  TOptimizerGoalOption OptimizerGoal() const { return optimizerGoal_; }
  void SetOptimizerGoal(TOptimizerGoalOption value);
  TIsolationLevelOption IsolationLevel() const { return isolationLevel_; }
  void SetIsolationLevel(TIsolationLevelOption value);
  TBytesPerCharacterOption BytesPerCharacter() const { return bytesPerCharacter_; }
  // Forgets the detected width.
  void SetBytesPerCharacter(TBytesPerCharacterOption value);

  // Shown while the session waits for the server; crDefault shows none.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }
  // The table of user messages for constraint errors (datasets).
  const std::string& MessageTable() const { return messageTable_; }
  void SetMessageTable(const std::string& value) { messageTable_ = value; }

  TSessionPreferences* Preferences() const { return preferences_.get(); }
  // Copies the values of `value` (the property is an owned object).
  void SetPreferences(const TSessionPreferences* value);

  const TOracleSessionEvent& OnChange() const { return onChange_; }
  void SetOnChange(TOracleSessionEvent handler) { onChange_ = std::move(handler); }
  const TOracleSessionEvent& BeforeLogOn() const { return beforeLogOn_; }
  void SetBeforeLogOn(TOracleSessionEvent handler) { beforeLogOn_ = std::move(handler); }
  const TOracleSessionEvent& AfterLogOn() const { return afterLogOn_; }
  void SetAfterLogOn(TOracleSessionEvent handler) { afterLogOn_ = std::move(handler); }

  // --- Connection and transaction ---

  void LogOn();
  void LogOff();
  // Do nothing when not connected.
  void Commit();
  void Rollback();
  // "SAVEPOINT name" and "ROLLBACK TO SAVEPOINT name", the name as given.
  void Savepoint(const std::string& name);
  void RollbackToSavepoint(const std::string& name);
  // Version 8: OCIPasswordChange with the current LogonPassword as the old
  // password (attaching first when needed, so it also serves an expired
  // account that cannot log on); version 7: "ALTER USER <user> IDENTIFIED
  // BY <password>" on a connected session. LogonPassword becomes the new
  // password on success.
  void ChangePassword(const std::string& newPassword);

  // The message of the password-expiry warning (ORA-28002) of the last
  // logon; empty otherwise.
  const std::string& LogonWarning() const { return logonWarning_; }

  // Raises vorn::Exception when `feature` cannot be used: "<feature>
  // requires Net8, which is not detected on this PC" when the process is
  // not in version 8 mode, "<feature> requires OCI8 mode, but OCI7 mode is
  // used." when this session uses version 7 calls.
  void CheckOCI8Feature(const std::string& feature) const;

  // --- Facts for queries and datasets ---

  // The call set of the current (or last) logon.
  bool UsesOCI8() const { return usesOCI8_; }
  // A version 8 logon continued on version 7 calls (release-7 server).
  bool ConvertedToOCI7() const { return converted_; }
  // LogonDatabase, or else LogonUsername, contains "ODBC:" (any case).
  bool TakesODBCRoute() const { return odbcRoute_; }
  // OCA60 under SOFTWARE\ORACLE is set; looked up for the ODBC route only.
  bool OCAInstalled() const { return ocaInstalled_; }

  // The width of a character: the BytesPerCharacter option, or with
  // bcAutoDetect on a connected session the server's answer, kept until
  // logoff (1 when the server cannot tell).
  int BytesPerCharacterCount();
  // The longest string a bind or define may have: 4000 bytes with version 8
  // calls, 2000 with version 7, in characters.
  int MaxStringLength();
  // The longest text the server's date format gives (40 when it cannot be
  // found out), kept until logoff.
  int DateTextLength();
  // The client library's text for an Oracle error number (oerhms; needs the
  // version 7 set also in version 8 mode).
  std::string MessageText(int errorCode);

  // Version 8 handles; null before the first version 8 logon and after
  // logoff.
  client::OCIEnv* EnvironmentHandle() const { return environment_; }
  client::OCISvcCtx* ServiceContextHandle() const { return serviceContext_; }
  client::OCIError* MainErrorHandle() const { return errorHandle_; }
  client::OCIServer* ServerHandle() const { return server_; }
  client::OCISession* UserSessionHandle() const { return userSession_; }
  // Version 7 (and converted) sessions: the logon data area, in place for
  // the session's life.
  client::Lda_Def* LogonDataArea() { return &lda_; }

  // The result of the session's most recent client call.
  int LastStatus() const { return lastStatus_.load(std::memory_order_relaxed); }
  // The error code of that call: version 8, the number of record 1 of the
  // main error handle when the status was an error or a warning, else the
  // status itself; version 7, the return code of the logon data area.
  int ErrorCode();
  // Raises EOracleError from the session's error source (the main error
  // handle, or the logon data area's return code), releasing the call lock.
  [[noreturn]] void RaiseError();

  // When the client library was unloaded since the session got its
  // handles (or logon data area), forgets them without calling any
  // library: the session is then logged off and detached, its queries and
  // datasets closed. Queries call it before they use the session's
  // handles; it costs a comparison otherwise.
  void DropStaleHandles();

  // The call lock: taken only when ThreadSafe is set and the session uses
  // version 7 calls, held by one thread at a time (and again by it), waited
  // for without limit.
  void LockCall();
  void UnlockCall();
  // Takes the call lock if it is free; true when the calling thread then
  // holds it, or when the session takes no call lock at all.
  bool TryLockCall();
  // The status lock: held around a call on the session's main error handle
  // and the reading of its outcome, when ThreadSafe is set; an empty lock
  // otherwise.
  std::unique_lock<std::recursive_mutex> LockStatus() {
    return threadSafe_ ? std::unique_lock(statusMutex_) : std::unique_lock<std::recursive_mutex>();
  }

  // --- Registration (SessionClients.h) ---

  void RegisterQuery(RegisteredQuery* query);
  // Removes the first registration of `query`; nothing when there is none.
  void UnregisterQuery(RegisteredQuery* query);
  int QueryCount() const { return static_cast<int>(queries_.size()); }
  RegisteredQuery* Queries(int index) const { return queries_.at(static_cast<size_t>(index)); }
  void RegisterDataSet(RegisteredDataSet* dataSet);
  void UnregisterDataSet(RegisteredDataSet* dataSet);
  int DataSetCount() const { return static_cast<int>(dataSets_.size()); }
  RegisteredDataSet* DataSets(int index) const { return dataSets_.at(static_cast<size_t>(index)); }

  // A slot for the datasets' table information (the dictionary cache of
  // the tables they update), which lives as long as the session.
  TObject* TableInfoList() const { return tableInfoList_.get(); }
  void SetTableInfoList(std::unique_ptr<TObject> list) { tableInfoList_ = std::move(list); }

 protected:
  void Loaded() override;
  void DefineProperties(TFiler& filer) override;

 private:
  friend class EOracleError;
  friend class TSessionPreferences;

  // Logon steps.
  void NormaliseLogonValues();
  std::string ConnectText() const;
  void UpdateRouteFlags();
  void ConnectOCI8();
  void ConnectOCI7();
  void AttachServer();
  void CreateEnvironment();
  void SwitchToOCI7IfOldServer();
  void ReapplyOptions();
  void FreeHandles();
  void CloseClients();
  void FireChange();
  void FireAfterLogOn();
  // The handles and the logon data area come from a library that has been
  // unloaded since (ClientLibrary.h).
  bool HandlesStale() const;

  // Records the status of a session call.
  int TakeStatus(int status);
  bool CallLockActive() const { return threadSafe_ && !usesOCI8_; }
  // Runs a statement on the internal query, made on first use.
  void RunStatement(const std::string& sql, bool showCursor);
  // Sends an option's statement when connected (and the value is not the
  // Unchanged one), then stores the value.
  template <class Option>
  void ChangeOption(Option& field, Option value, Option unchanged, const std::string& statement);
  // Re-creates the fields of every registered dataset (design time).
  void RecreateDataSetFields();
  int DetectBytesPerCharacter();
  int DetectDateTextLength();

  std::string logonUsername_;
  std::string logonPassword_;
  std::string logonDatabase_;
  bool connected_ = false;
  bool rollbackOnDisconnect_ = false;
  bool designConnection_ = false;
  bool threadSafe_ = false;
  bool autoCommit_ = false;
  TNullValueOption nullValue_ = nvUnAssigned;
  TSQLTraceOption sqlTrace_ = stUnchanged;
  TOptimizerGoalOption optimizerGoal_ = ogUnchanged;
  TIsolationLevelOption isolationLevel_ = ilUnchanged;
  TBytesPerCharacterOption bytesPerCharacter_ = bc1Byte;
  TCursor cursor_ = crHourGlass;
  std::string messageTable_;
  std::unique_ptr<TSessionPreferences> preferences_;
  TOracleSessionEvent onChange_;
  TOracleSessionEvent beforeLogOn_;
  TOracleSessionEvent afterLogOn_;

  // Version 8 handles; `errorHandle2_` serves attribute setting and
  // re-attachment, whose errors nobody examines.
  client::OCIEnv* environment_ = nullptr;
  client::OCISvcCtx* serviceContext_ = nullptr;
  client::OCIError* errorHandle_ = nullptr;
  client::OCIError* errorHandle2_ = nullptr;
  client::OCIServer* server_ = nullptr;
  client::OCISession* userSession_ = nullptr;
  bool attached_ = false;
  // Version 7 areas; the host data area must not move while logged on.
  client::Lda_Def lda_{};
  client::HostDataArea hda_{};

  bool usesOCI8_ = false;
  bool converted_ = false;
  bool odbcRoute_ = false;
  bool ocaInstalled_ = false;
  std::atomic<int> lastStatus_{0};
  // The client library load that made the handles and the logon data area.
  uint64_t handleGeneration_ = 0;
  std::string logonWarning_;
  int detectedBytesPerCharacter_ = 0;
  int detectedDateTextLength_ = -1;

  std::vector<RegisteredQuery*> queries_;
  std::vector<RegisteredDataSet*> dataSets_;
  std::unique_ptr<SessionQuery> internalQuery_;
  std::unique_ptr<TObject> tableInfoList_;
  platform::Mutex mutex_;
  std::recursive_mutex statusMutex_;
};

}  // namespace vorn
