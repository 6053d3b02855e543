// A session stored with a form and loaded again: the properties it stores,
// a stored connection, and DesignConnection.
#include <gtest/gtest.h>

#include <algorithm>

#include "SessionTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::session_test {
namespace {

class StreamingTest : public SessionTest {
 protected:
  // Writes `session` and reads the stream into `target`.
  static void Copy(TOracleSession& session, TOracleSession& target) {
    TMemoryStream stream;
    WriteComponent(stream, session);
    stream.SetPosition(0);
    ReadComponent(stream, target);
  }

  // The events of the loaded session, with whether it was still loading.
  std::vector<std::string> events_;
  void Watch(TOracleSession& session) {
    const auto add = [this](const std::string& name) {
      return [this, name](TOracleSession* sender) {
        events_.push_back(name + ((sender->ComponentState() & csLoading) ? " loading" : ""));
      };
    };
    session.SetBeforeLogOn(add("BeforeLogOn"));
    session.SetAfterLogOn(add("AfterLogOn"));
    session.SetOnChange(add("OnChange"));
  }
};

TEST_F(StreamingTest, StoredPropertiesComeBack) {
  TOracleSession session;
  session.SetLogonUsername("scott");
  session.SetLogonPassword("tiger");
  session.SetLogonDatabase("DEMO");
  session.SetRollbackOnDisconnect(true);
  session.SetThreadSafe(true);
  session.SetNullValue(nvNull);
  session.SetSQLTrace(stFalse);
  session.SetOptimizerGoal(ogAllRows);
  session.SetIsolationLevel(ilSerializable);
  session.SetBytesPerCharacter(bcAutoDetect);
  session.SetCursor(crDefault);
  session.SetMessageTable("app_messages");
  session.SetAutoCommit(true);
  session.Preferences()->SetFloatPrecision(15);
  session.Preferences()->SetSmallIntPrecision(4);
  session.Preferences()->SetUseOCI7(true);
  session.Preferences()->SetConvertCRLF(false);
  session.Preferences()->SetTrimStringFields(false);
  TOracleSession loaded;

  Copy(session, loaded);

  EXPECT_EQ(loaded.LogonUsername(), "scott");
  EXPECT_EQ(loaded.LogonPassword(), "tiger");
  EXPECT_EQ(loaded.LogonDatabase(), "DEMO");
  EXPECT_TRUE(loaded.RollbackOnDisconnect());
  EXPECT_TRUE(loaded.ThreadSafe());
  EXPECT_EQ(loaded.NullValue(), nvNull);
  EXPECT_EQ(loaded.SQLTrace(), stFalse);
  EXPECT_EQ(loaded.OptimizerGoal(), ogAllRows);
  EXPECT_EQ(loaded.IsolationLevel(), ilSerializable);
  EXPECT_EQ(loaded.BytesPerCharacter(), bcAutoDetect);
  EXPECT_EQ(loaded.Cursor(), crDefault);
  EXPECT_EQ(loaded.MessageTable(), "app_messages");
  EXPECT_FALSE(loaded.AutoCommit()) << "AutoCommit is not stored";
  EXPECT_FALSE(loaded.Connected());
  const TSessionPreferences& preferences = *loaded.Preferences();
  EXPECT_EQ(preferences.FloatPrecision(), 15);
  EXPECT_EQ(preferences.IntegerPrecision(), 0);
  EXPECT_EQ(preferences.SmallIntPrecision(), 4);
  EXPECT_TRUE(preferences.UseOCI7());
  EXPECT_FALSE(preferences.ConvertCRLF());
  EXPECT_FALSE(preferences.TrimStringFields());
}

TEST_F(StreamingTest, DefaultsStoreNothing) {
  TOracleSession session;
  TOracleSession empty;
  TMemoryStream withDefaults;
  TMemoryStream nothingSet;
  session.SetOptimizerGoal(ogRule);
  session.SetOptimizerGoal(ogUnchanged);

  WriteComponent(withDefaults, session);
  WriteComponent(nothingSet, empty);

  EXPECT_EQ(withDefaults.Bytes(), nothingSet.Bytes());
}

TEST_F(StreamingTest, AnUnknownEnumerationNameIsRefused) {
  TOracleSession session;
  session.SetOptimizerGoal(ogRule);
  TMemoryStream stream;
  WriteComponent(stream, session);
  std::vector<uint8_t> bytes = stream.Bytes();
  const std::string stored = "ogRule";
  auto found = std::search(bytes.begin(), bytes.end(), stored.begin(), stored.end());
  ASSERT_NE(found, bytes.end());
  found[2] = 'X';
  TMemoryStream broken;
  broken.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  broken.SetPosition(0);
  TOracleSession loaded;

  EXPECT_THROW(ReadComponent(broken, loaded), EReadError);
  EXPECT_EQ(loaded.OptimizerGoal(), ogUnchanged);
}

TEST_F(StreamingTest, AStoredConnectionLogsOnWhileLoadingAndNotifiesAfterwards) {
  auto session = NewSession();
  session->LogOn();
  TOracleSession loaded;
  Watch(loaded);

  Copy(*session, loaded);

  EXPECT_TRUE(loaded.Connected());
  EXPECT_EQ(Rows(loaded, "select user from dual"), std::vector<std::string>{"SCOTT"});
  EXPECT_EQ(events_, (std::vector<std::string>{"BeforeLogOn loading", "AfterLogOn", "OnChange"}));
}

TEST_F(StreamingTest, AStoredConnectionSeesThePreferencesStoredWithIt) {
  auto session = NewSession();
  session->Preferences()->SetMaxStringFieldSize(30);
  session->LogOn();
  TOracleSession loaded;
  loaded.SetBeforeLogOn([](TOracleSession* sender) {
    EXPECT_EQ(sender->Preferences()->MaxStringFieldSize(), 30);
    EXPECT_FALSE(sender->LogonDatabase().empty());
  });

  Copy(*session, loaded);

  EXPECT_TRUE(loaded.Connected());
}

TEST_F(StreamingTest, DesignConnectionIgnoresTheStoredConnectionAtRunTime) {
  auto session = NewSession();
  session->SetDesignConnection(true);
  session->LogOn();
  TOracleSession loaded;
  Watch(loaded);

  Copy(*session, loaded);

  EXPECT_FALSE(loaded.Connected());
  EXPECT_TRUE(loaded.DesignConnection());
  EXPECT_EQ(loaded.LogonUsername(), "");
  EXPECT_EQ(loaded.LogonPassword(), "");
  EXPECT_EQ(loaded.LogonDatabase(), "");
  EXPECT_TRUE(events_.empty());
}

TEST_F(StreamingTest, DesignConnectionAppliesInTheDesigner) {
  auto session = NewSession();
  session->SetDesignConnection(true);
  session->LogOn();
  TOracleSession loaded;
  loaded.SetDesigning(true);

  Copy(*session, loaded);

  EXPECT_TRUE(loaded.Connected());
  EXPECT_EQ(loaded.LogonUsername(), "scott");
}

TEST_F(StreamingTest, LoadingADisconnectedSessionFiresNothing) {
  auto session = NewSession();
  TOracleSession loaded;
  Watch(loaded);

  Copy(*session, loaded);

  EXPECT_FALSE(loaded.Connected());
  EXPECT_EQ(loaded.LogonDatabase(), Database());
  EXPECT_TRUE(events_.empty());
}

}  // namespace
}  // namespace vorn::session_test
