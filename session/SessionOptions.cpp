// The statements a session runs on its own queries (the session options),
// and what it finds out about the server: the width of a character, the
// length of a date text, the message text of an error number; see
// OracleSession.h.
#include <algorithm>
#include <array>
#include <string>

#include "vorn/client/Oci7Calls.h"
#include "vorn/client/OciTypes.h"
#include "vorn/host/Screen.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"
#include "vorn/session/SessionQuery.h"

namespace vorn {

using namespace client;

void TOracleSession::RunStatement(const std::string& sql, bool showCursor) {
  if (!internalQuery_) internalQuery_ = CreateSessionQuery(*this);
  TCursorGuard wait(showCursor ? cursor_ : crDefault);
  internalQuery_->Clear();
  internalQuery_->SetSQLText(sql);
  internalQuery_->Execute();
}

template <class Option>
void TOracleSession::ChangeOption(Option& field, Option value, Option unchanged,
                                  const std::string& statement) {
  if (value == field) return;
  if (connected_ && value != unchanged) RunStatement(statement, true);
  field = value;
}

void TOracleSession::SetSQLTrace(TSQLTraceOption value) {
  ChangeOption(
      sqlTrace_, value, stUnchanged,
      std::string("ALTER SESSION SET SQL_TRACE = ") + (value == stTrue ? "TRUE" : "FALSE"));
}

void TOracleSession::SetOptimizerGoal(TOptimizerGoalOption value) {
  static constexpr std::array<const char*, 5> kGoals{"", "CHOOSE", "FIRST_ROWS", "ALL_ROWS",
                                                     "RULE"};
  ChangeOption(optimizerGoal_, value, ogUnchanged,
               std::string("ALTER SESSION SET OPTIMIZER_GOAL = ") + kGoals.at(value));
}

void TOracleSession::SetIsolationLevel(TIsolationLevelOption value) {
  static constexpr std::array<const char*, 3> kLevels{"", "READ COMMITTED", "SERIALIZABLE"};
  ChangeOption(isolationLevel_, value, ilUnchanged,
               std::string("ALTER SESSION SET ISOLATION_LEVEL = ") + kLevels.at(value));
}

void TOracleSession::SetBytesPerCharacter(TBytesPerCharacterOption value) {
  if (value == bytesPerCharacter_) return;
  bytesPerCharacter_ = value;
  detectedBytesPerCharacter_ = 0;
}

int TOracleSession::BytesPerCharacterCount() {
  if (detectedBytesPerCharacter_ > 0) return detectedBytesPerCharacter_;
  int width = 0;
  if (bytesPerCharacter_ != bcAutoDetect || !connected_) {
    static constexpr std::array<int, 5> kWidths{1, 1, 2, 3, 4};
    width = kWidths.at(bytesPerCharacter_);
  } else {
    width = DetectBytesPerCharacter();
  }
  // Only a connection's answer is kept: a session that auto-detects asks
  // the server once it is connected.
  if (connected_) detectedBytesPerCharacter_ = width;
  return width;
}

int TOracleSession::DetectBytesPerCharacter() {
  try {
    std::unique_ptr<SessionQuery> query = CreateSessionQuery(*this);
    query->SetSQLText("SELECT LENGTH(CHR(2000000000)) FROM DUAL");
    query->Execute();
    const int width = query->FieldAsInteger(0);
    return width > 0 ? width : 1;
  } catch (const std::exception&) {
    return 1;
  }
}

int TOracleSession::MaxStringLength() {
  return (usesOCI8_ ? 4000 : 2000) / BytesPerCharacterCount();
}

int TOracleSession::DateTextLength() {
  if (detectedDateTextLength_ != -1) return detectedDateTextLength_;
  if (!connected_) return 40;
  detectedDateTextLength_ = DetectDateTextLength();
  return detectedDateTextLength_;
}

int TOracleSession::DetectDateTextLength() {
  // The tenth of every month at 10:10:10 in the session's date format: the
  // month names differ in length, the other parts do not.
  std::string sql;
  for (int month = 1; month <= 12; ++month) {
    if (month > 1) sql += "\nunion all\n";
    sql += "select to_char(to_date('10-" + std::to_string(month) +
           "-1999 10:10:10', 'dd-mm-yyyy hh24:mi:ss')) from dual";
  }
  int longest = 0;
  try {
    std::unique_ptr<SessionQuery> query = CreateSessionQuery(*this);
    query->SetSQLText(sql);
    query->Execute();
    while (!query->Eof()) {
      longest = std::max(longest, static_cast<int>(query->FieldAsString(0).size()));
      query->Next();
    }
  } catch (const std::exception&) {
    // The longest text seen so far stands.
  }
  return longest > 0 ? longest : 40;
}

std::string TOracleSession::MessageText(int errorCode) {
  std::array<char, 2001> text{};
  {
    SessionCallLock lock(*this);
    // A version 8 session has no logon data area of its own; oerhms needs
    // one only to know the client.
    Lda_Def scratch{};
    Oci7().oerhms(usesOCI8_ ? &scratch : &lda_, static_cast<sb2>(errorCode),
                  reinterpret_cast<OraText*>(text.data()), static_cast<sword>(text.size()));
  }
  text.back() = '\0';
  return text.data();
}

}  // namespace vorn
