// EOracleError: the number and text of an error in either call set, the
// cut at 1023 characters, the session's error code rules and the release
// of the call lock.
#include <gtest/gtest.h>

#include <thread>

#include "SessionTestSupport.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"

namespace vorn::session_test {
namespace {

using namespace client;

EOracleError StatementError(TOracleSession& session, const std::string& sql) {
  try {
    RunSql(session, sql);
  } catch (const EOracleError& error) {
    return error;
  }
  ADD_FAILURE() << sql << " did not fail";
  return EOracleError("", 0);
}

// Whether another thread could take the session's call lock now.
bool CallLockFreeForOthers(TOracleSession& session) {
  bool free = false;
  std::thread other([&] {
    free = session.TryLockCall();
    if (free) session.UnlockCall();
  });
  other.join();
  return free;
}

class ErrorTest : public SessionTest {};

TEST_F(ErrorTest, Version8ErrorsCarryTheNumberAndTextOfTheErrorHandle) {
  auto session = NewSession();
  session->LogOn();

  const EOracleError error = StatementError(*session, "select * from no_such_table");

  EXPECT_EQ(error.ErrorCode(), 942);
  EXPECT_EQ(error.Message().rfind("ORA-00942: table or view does not exist", 0), 0u)
      << error.Message();
  EXPECT_STREQ(error.what(), error.Message().c_str());
  EXPECT_EQ(error.ClassName(), "EOracleError");
  EXPECT_TRUE(error.InheritsFrom(Exception::StaticClass()));
}

TEST_F(ErrorTest, Version8ErrorCodeIsTheHandlesWhateverTheCallReturned) {
  auto session = NewSession();
  session->LogOn();
  // The session's main error handle still holds nothing: the text and the
  // number both come from it, not from the caller.
  const EOracleError clean(*session, session->MainErrorHandle());
  EXPECT_EQ(clean.ErrorCode(), 0);
  EXPECT_EQ(clean.Message(), "");

  session->SetLogonPassword("lion");
  try {
    session->LogOn();
  } catch (const EOracleError&) {
  }
  const EOracleError again(*session, session->MainErrorHandle());
  EXPECT_EQ(again.ErrorCode(), 1017);
}

TEST_F(ErrorTest, SessionErrorCodeFollowsTheStatusRule) {
  auto session = NewSession("grace_user", "pw");
  session->LogOn();
  EXPECT_EQ(session->ErrorCode(), 0);

  session->SetLogonPassword("wrong");
  EXPECT_THROW(session->LogOn(), EOracleError);
  // An error status: the number of the main error handle.
  EXPECT_EQ(session->LastStatus(), OCI_ERROR);
  EXPECT_EQ(session->ErrorCode(), 1017);
}

TEST_F(ErrorTest, ParseErrorsKeepTheirText) {
  auto session = NewSession();
  session->LogOn();

  const EOracleError error = StatementError(*session, "selec 1 from dual");

  EXPECT_EQ(error.ErrorCode(), 900);
  EXPECT_NE(error.Message().find("ORA-00900"), std::string::npos) << error.Message();
}

TEST_F(ErrorTest, AReadyErrorKeepsItsTextAndCode) {
  const EOracleError error("ORA-00054: resource busy", 54);

  EXPECT_EQ(error.ErrorCode(), 54);
  EXPECT_EQ(error.Message(), "ORA-00054: resource busy");
}

TEST_F(ErrorTest, ErrorsWithoutALibraryStayEmpty) {
  TOracleSession session;

  const EOracleError fromHandle(session, static_cast<OCIError*>(nullptr));
  const EOracleError fromNumber(session, 942);

  EXPECT_EQ(fromHandle.ErrorCode(), 0);
  EXPECT_EQ(fromHandle.Message(), "");
  EXPECT_EQ(fromNumber.ErrorCode(), 942);
  EXPECT_EQ(fromNumber.Message(), "");
}

TEST_F(ErrorTest, Version7ErrorsCarryTheNumberGivenAndTheClientsText) {
  useOCI7_ = true;
  auto session = NewSession();
  session->LogOn();

  const EOracleError statement = StatementError(*session, "select * from no_such_table");
  const EOracleError byNumber(*session, 1403);

  EXPECT_EQ(statement.ErrorCode(), 942);
  EXPECT_EQ(statement.Message().rfind("ORA-00942: table or view does not exist", 0), 0u)
      << statement.Message();
  EXPECT_EQ(byNumber.ErrorCode(), 1403);
  EXPECT_EQ(byNumber.Message().rfind("ORA-01403: no data found", 0), 0u) << byNumber.Message();
}

TEST_F(ErrorTest, Version7SessionErrorCodeIsTheLogonAreasReturnCode) {
  useOCI7_ = true;
  auto session = NewSession("scott", "lion");

  EXPECT_THROW(session->LogOn(), EOracleError);

  EXPECT_EQ(session->LogonDataArea()->rc, 1017);
  EXPECT_EQ(session->ErrorCode(), 1017);
}

TEST_F(ErrorTest, MessageTextOfAnErrorNumberInBothCallSets) {
  auto version8 = NewSession();
  version8->LogOn();
  useOCI7_ = true;
  auto version7 = NewSession();
  version7->LogOn();

  EXPECT_EQ(version8->MessageText(942).rfind("ORA-00942: table or view does not exist", 0), 0u)
      << version8->MessageText(942);
  EXPECT_EQ(version7->MessageText(2291).rfind("ORA-02291: integrity constraint", 0), 0u)
      << version7->MessageText(2291);
}

TEST_F(ErrorTest, LongMessagesAreCutTo1023Characters) {
  auto version8 = NewSession();
  version8->LogOn();
  useOCI7_ = true;
  auto version7 = NewSession();
  version7->LogOn();
  const std::string block =
      "begin raise_application_error(-20001, rpad('long text ', 2000, 'x')); end;";

  for (TOracleSession* session : {version8.get(), version7.get()}) {
    const EOracleError error = StatementError(*session, block);

    EXPECT_EQ(error.ErrorCode(), 20001);
    EXPECT_EQ(error.Message().size(), EOracleError::kMaxMessageLength);
    EXPECT_EQ(error.Message().rfind("ORA-20001: long text xxx", 0), 0u) << error.Message();
  }
}

TEST_F(ErrorTest, BuildingAnErrorReleasesTheCallLock) {
  useOCI7_ = true;
  auto session = NewSession();
  session->SetThreadSafe(true);
  session->LogOn();
  session->LockCall();
  ASSERT_FALSE(CallLockFreeForOthers(*session));

  const EOracleError error(*session, 942);

  EXPECT_TRUE(CallLockFreeForOthers(*session));
}

TEST_F(ErrorTest, Version8SessionsTakeNoCallLock) {
  auto session = NewSession();
  session->SetThreadSafe(true);
  session->LogOn();

  session->LockCall();

  EXPECT_TRUE(CallLockFreeForOthers(*session));
  session->UnlockCall();
}

}  // namespace
}  // namespace vorn::session_test
