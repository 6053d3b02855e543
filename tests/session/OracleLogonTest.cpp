// The logon component against the demo database, with a scripted user:
// attempts and retries, the automatic first attempt, UserId on the command
// line, the fields refilled from the session, the database field and the
// alias list, the dialog texts, and the component's hold on its session.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ScriptedLogonForm.h"
#include "SessionTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/platform/CommandLine.h"
#include "vorn/platform/Environment.h"
#include "vorn/session/OracleLogon.h"

namespace vorn::session_test {
namespace {

class OracleLogonTest : public SessionTest {
 protected:
  // A session for the test's database with the given logon values, and a
  // logon component for it with `options`.
  std::unique_ptr<TOracleSession> Session(const std::string& user, const std::string& password,
                                          TLogonOptions options = ldDatabase) {
    auto session = NewSession(user, password);
    logon_.SetSession(session.get());
    logon_.SetOptions(options);
    return session;
  }

  // The messages shown in error boxes.
  std::vector<std::string> Errors() const {
    std::vector<std::string> errors;
    for (const auto& message : ui_.Messages()) {
      if (message.Box.DlgType == mtError) errors.push_back(message.Box.Text);
    }
    return errors;
  }

  ScriptedUser user_;
  TOracleLogon logon_;
};

bool StartsWith(const std::string& text, const std::string& start) {
  return text.rfind(start, 0) == 0;
}

// --- The component ---

TEST_F(OracleLogonTest, DefaultsAreTwoRetriesAutoAndDatabaseAndEightAliasLines) {
  TOracleLogon logon;

  EXPECT_EQ(logon.Session(), nullptr);
  EXPECT_EQ(logon.Retries(), 2);
  EXPECT_EQ(logon.Options(), ldAuto | ldDatabase);
  EXPECT_EQ(logon.AliasDropDownCount(), 8);
}

TEST_F(OracleLogonTest, WithoutASessionExecuteReturnsFalseAndShowsNothing) {
  TOracleLogon logon;

  EXPECT_FALSE(logon.Execute());

  EXPECT_EQ(user_.FormsMade(), 0);
}

TEST_F(OracleLogonTest, ADestroyedSessionLeavesTheComponent) {
  auto session = Session("scott", "tiger");
  ASSERT_EQ(logon_.Session(), session.get());

  session.reset();

  EXPECT_EQ(logon_.Session(), nullptr);
  EXPECT_FALSE(logon_.Execute());
}

// Hears when a component it watches is destroyed.
class Watcher : public TComponent {
 public:
  Watcher() : TComponent(nullptr) {}
  std::vector<TComponent*> removed;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) removed.push_back(component);
  }
};

TEST_F(OracleLogonTest, AComponentOwnedByTheSessionGoesWithIt) {
  auto session = NewSession();
  auto* owned = new TOracleLogon(session.get());
  owned->SetSession(session.get());
  Watcher watcher;
  owned->FreeNotification(&watcher);

  session.reset();

  EXPECT_EQ(watcher.removed, std::vector<TComponent*>{owned});
}

// --- Attempts and retries ---

TEST_F(OracleLogonTest, AConfirmedDialogLogsOn) {
  auto session = Session("scott", "");
  user_.Answer(ScriptedUser::Confirm().Password("tiger"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  ASSERT_EQ(user_.Shown().size(), 1u);
  const ShownForm& form = user_.Shown()[0];
  EXPECT_EQ(form.caption, "Oracle Logon");
  EXPECT_EQ(form.usernameLabel, "Username");
  EXPECT_EQ(form.passwordLabel, "Password");
  EXPECT_EQ(form.databaseLabel, "Database");
  EXPECT_EQ(form.okCaption, "OK");
  EXPECT_EQ(form.cancelCaption, "Cancel");
  EXPECT_EQ(form.username, "scott");
  EXPECT_EQ(form.password, "");
  EXPECT_EQ(form.database, Database());
  EXPECT_FALSE(form.usernameMasked);
  EXPECT_FALSE(form.databaseHidden);
  EXPECT_FALSE(form.aliasList);
  EXPECT_EQ(session->LogonPassword(), "tiger");
  EXPECT_EQ(user_.FormsAlive(), 0);
}

TEST_F(OracleLogonTest, AWrongPasswordIsTriedRetriesPlusOneTimes) {
  auto session = Session("scott", "lion");
  for (int i = 0; i < 3; ++i)
    user_.Answer(ScriptedUser::Confirm());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(user_.Shown().size(), 3u);
  ASSERT_EQ(Errors().size(), 3u);
  for (const std::string& error : Errors())
    EXPECT_TRUE(StartsWith(error, "ORA-01017")) << error;
  EXPECT_EQ(user_.FormsMade(), 1) << "one form for all attempts";
}

TEST_F(OracleLogonTest, NoRetriesMeansOneAttempt) {
  auto session = Session("scott", "lion");
  logon_.SetRetries(0);
  user_.Answer(ScriptedUser::Confirm());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(user_.Shown().size(), 1u);
}

TEST_F(OracleLogonTest, ALaterAttemptCanSucceed) {
  auto session = Session("scott", "lion");
  user_.Answer(ScriptedUser::Confirm());
  user_.Answer(ScriptedUser::Confirm().Password("tiger"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(user_.Shown().size(), 2u);
  EXPECT_EQ(Errors().size(), 1u);
}

TEST_F(OracleLogonTest, CancellingTheFirstDialogReturnsFalseAndChangesNothing) {
  auto session = Session("scott", "tiger");
  user_.Answer(ScriptedUser::Cancel().Username("man").Password("man"));

  EXPECT_FALSE(logon_.Execute());

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(session->LogonUsername(), "scott");
  EXPECT_EQ(session->LogonPassword(), "tiger");
  EXPECT_FALSE(client::IsClientLibraryLoaded()) << "no attempt was made";
}

TEST_F(OracleLogonTest, CancellingAfterAFailedAttemptStillReportsTheAttempt) {
  auto session = Session("scott", "lion");
  user_.Answer(ScriptedUser::Confirm());
  user_.Answer(ScriptedUser::Cancel());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(user_.Shown().size(), 2u);
}

TEST_F(OracleLogonTest, ErrorsOtherThanTheDatabasesLeaveExecute) {
  auto session = Session("scott", "tiger");
  session->SetBeforeLogOn([](TOracleSession*) { throw Exception("no logons today"); });
  user_.Answer(ScriptedUser::Confirm());

  try {
    logon_.Execute();
    FAIL() << "the error was swallowed";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "no logons today");
  }
  EXPECT_EQ(user_.FormsAlive(), 0) << "the form is freed on the way out";
  EXPECT_TRUE(Errors().empty());
}

// --- The automatic first attempt ---

TEST_F(OracleLogonTest, AutoLogsOnWithoutTheDialogOnceThenShowsIt) {
  auto session = Session("scott", "tiger", ldAuto | ldDatabase);

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(user_.FormsMade(), 1);
  EXPECT_TRUE(user_.Shown().empty());
  EXPECT_EQ(logon_.Options(), ldDatabase) << "ldAuto is used up";

  session->LogOff();
  user_.Answer(ScriptedUser::Confirm());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(user_.Shown().size(), 1u);
}

TEST_F(OracleLogonTest, AutoWithoutAPasswordShowsTheDialogAndIsUsedUpAllTheSame) {
  auto session = Session("scott", "", ldAuto | ldDatabase);
  user_.Answer(ScriptedUser::Confirm().Password("tiger"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(user_.Shown().size(), 1u);
  EXPECT_EQ(logon_.Options(), ldDatabase);
}

TEST_F(OracleLogonTest, AFailedAutomaticAttemptCountsAndTheDialogFollows) {
  auto session = Session("scott", "lion", ldAuto | ldDatabase);
  user_.Answer(ScriptedUser::Confirm());
  user_.Answer(ScriptedUser::Confirm());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(user_.Shown().size(), 2u) << "the automatic attempt and two retries";
  EXPECT_EQ(Errors().size(), 3u);
}

TEST_F(OracleLogonTest, UserIdOnTheCommandLineLogsOnWithoutTheDialog) {
  auto session = Session("", "", ldAuto | ldDatabase);
  session->SetLogonDatabase("");
  platform::SetCommandLineForTesting({"--verbose", "USERID=scott/tiger@" + Database()});

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_TRUE(user_.Shown().empty());
  EXPECT_EQ(session->LogonUsername(), "scott");
  EXPECT_EQ(session->LogonPassword(), "tiger");
  EXPECT_EQ(session->LogonDatabase(), Database());
}

TEST_F(OracleLogonTest, UserIdReplacesTheSessionsPasswordAndDatabase) {
  auto session = Session("man", "man", ldAuto | ldDatabase);
  platform::SetCommandLineForTesting({"UserId=scott"});
  user_.Answer(ScriptedUser::Cancel());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_FALSE(session->Connected());
  ASSERT_EQ(user_.Shown().size(), 1u);
  EXPECT_EQ(user_.Shown()[0].username, "scott");
  EXPECT_EQ(user_.Shown()[0].password, "");
  EXPECT_EQ(user_.Shown()[0].database, "");
}

TEST_F(OracleLogonTest, UserIdCountsOnlyForTheAutomaticAttempt) {
  auto session = Session("scott", "", ldDatabase);
  platform::SetCommandLineForTesting({"UserId=man/man"});
  user_.Answer(ScriptedUser::Confirm().Password("tiger"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_EQ(user_.Shown().at(0).username, "scott");
  EXPECT_EQ(session->LogonUsername(), "scott");
}

TEST(CommandLineUserIdTest, TakesTheFirstParameterNamedUserIdInAnyCase) {
  platform::SetCommandLineForTesting({"UserIdentity=x", "userid", "uSeRiD=a/b@c", "UserId=d"});
  EXPECT_EQ(CommandLineUserId(), "a/b@c");

  platform::SetCommandLineForTesting({"UserId="});
  EXPECT_EQ(CommandLineUserId(), "");

  platform::SetCommandLineForTesting({"ORACLEHOME=/opt/oracle"});
  EXPECT_EQ(CommandLineUserId(), std::nullopt);
  platform::ResetCommandLineForTesting();
}

// --- The fields ---

TEST_F(OracleLogonTest, TheNormalisedValuesRefillTheFields) {
  auto session = Session("", "");
  session->SetLogonDatabase("");
  user_.Answer(ScriptedUser::Confirm().Username("scott/lion@" + Database()));
  user_.Answer(ScriptedUser::Confirm().Password("tiger"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  ASSERT_EQ(user_.Shown().size(), 2u);
  const ShownForm& second = user_.Shown()[1];
  EXPECT_EQ(second.username, "scott");
  EXPECT_EQ(second.password, "lion");
  EXPECT_EQ(second.database, Database());
}

TEST_F(OracleLogonTest, WithoutLdDatabaseTheFieldIsHiddenAndTheSessionsDatabaseUsed) {
  auto session = Session("scott", "", ldNone);
  user_.Answer(ScriptedUser::Confirm().Password("tiger"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_TRUE(user_.Shown().at(0).databaseHidden);
  EXPECT_EQ(session->LogonDatabase(), Database());
}

TEST_F(OracleLogonTest, TheAliasListOffersTheClientsAliases) {
  auto session = Session("scott", "", ldDatabase | ldDatabaseList);
  logon_.SetAliasDropDownCount(5);
  // The demo database itself, through its alias; only read here.
  user_.Answer(ScriptedUser::Confirm().Password("tiger").Database("DEMO"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  const ShownForm& form = user_.Shown().at(0);
  EXPECT_TRUE(form.aliasList);
  EXPECT_EQ(form.aliases, (std::vector<std::string>{"DEMO", "ORCL", "VORN"}));
  EXPECT_EQ(form.dropDownCount, 5);
  EXPECT_EQ(form.database, Database()) << "the list keeps the session's database";
  EXPECT_FALSE(form.databaseHidden);
  EXPECT_EQ(Rows(*session, "select user from dual"), std::vector<std::string>{"SCOTT"});
}

TEST_F(OracleLogonTest, WithoutAClientLibraryTheAliasListRaisesBeforeAnyDialog) {
  platform::WriteEnvironmentVariable("VORN_MACHINE_REGISTRY", Database() + ".no-registry.ini");
  auto session = Session("scott", "tiger", ldDatabase | ldDatabaseList);

  try {
    logon_.Execute();
    FAIL() << "aliases without a client library";
  } catch (const Exception& error) {
    EXPECT_TRUE(StartsWith(error.Message(), "Initialization error")) << error.Message();
  }

  EXPECT_EQ(user_.FormsMade(), 0);
}

TEST_F(OracleLogonTest, AnOdbcAliasMakesTheClientLibraryChosenAgain) {
  auto session = Session("scott", "tiger", ldDatabase | ldDatabaseList);
  const std::filesystem::path own(Database());
  const std::string odbc = (own.parent_path() / ("ODBC:" + own.filename().string())).string();
  std::filesystem::copy_file(Database(), odbc, std::filesystem::copy_options::overwrite_existing);
  user_.Answer(ScriptedUser::Confirm().Database(odbc));

  EXPECT_TRUE(logon_.Execute());

  // The alias list loaded the home's library; the ODBC route needs its own.
  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(client::ClientLibraryPath(), "ora73.dll");
  EXPECT_FALSE(session->UsesOCI8());
  std::filesystem::remove(odbc);
}

// --- Streams ---

TEST(OracleLogonStreamingTest, StoredPropertiesComeBack) {
  TOracleLogon logon;
  logon.SetRetries(5);
  logon.SetOptions(ldDatabase | ldDatabaseList);
  logon.SetAliasDropDownCount(12);
  TOracleLogon loaded;
  TMemoryStream stream;

  WriteComponent(stream, logon);
  stream.SetPosition(0);
  ReadComponent(stream, loaded);

  EXPECT_EQ(loaded.Retries(), 5);
  EXPECT_EQ(loaded.Options(), ldDatabase | ldDatabaseList);
  EXPECT_EQ(loaded.AliasDropDownCount(), 12);
}

TEST(OracleLogonStreamingTest, AnEmptyOptionSetIsStoredAndDefaultsAreNot) {
  TOracleLogon none;
  none.SetOptions(ldNone);
  TOracleLogon loaded;
  TMemoryStream stream;
  WriteComponent(stream, none);
  stream.SetPosition(0);
  ReadComponent(stream, loaded);
  TMemoryStream withDefaults, nothingSet;
  TOracleLogon defaults, untouched;
  defaults.SetRetries(9);
  defaults.SetRetries(TOracleLogon::kDefaultRetries);

  WriteComponent(withDefaults, defaults);
  WriteComponent(nothingSet, untouched);

  EXPECT_EQ(loaded.Options(), ldNone);
  EXPECT_EQ(withDefaults.Bytes(), nothingSet.Bytes());
}

// Reads the stream of a logon with `retries` and the option ldAuto, with
// the stored bytes `from` replaced by `to`, into `loaded`.
void ReadTampered(uint16_t retries, const std::string& from, const std::string& to,
                  TOracleLogon& loaded) {
  TOracleLogon logon;
  logon.SetRetries(retries);
  logon.SetOptions(ldAuto);
  TMemoryStream stream;
  WriteComponent(stream, logon);
  std::vector<uint8_t> bytes = stream.Bytes();
  auto found = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
  ASSERT_NE(found, bytes.end());
  std::copy(to.begin(), to.end(), found);
  TMemoryStream tampered;
  tampered.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  tampered.SetPosition(0);
  ReadComponent(tampered, loaded);
}

TEST(OracleLogonStreamingTest, AnUnknownOptionNameIsRefused) {
  TOracleLogon loaded;

  EXPECT_THROW(ReadTampered(3, "ldAuto", "ldAuxo", loaded), EReadError);

  EXPECT_EQ(loaded.Options(), TOracleLogon::kDefaultOptions);
}

TEST(OracleLogonStreamingTest, RetriesOutsideSixteenBitsAreRefused) {
  // 3 is stored as a 64-bit integer; a bit in its third byte makes it too
  // large for Retries.
  const std::string three("\x03\0\0\0\0\0\0\0", 8);
  TOracleLogon loaded;

  EXPECT_THROW(ReadTampered(3, three, std::string("\x03\0\x01\0\0\0\0\0", 8), loaded), EReadError);

  EXPECT_EQ(loaded.Retries(), TOracleLogon::kDefaultRetries);
}

// --- The dialog texts ---

TEST(LogonTextsTest, StartWithTheDialogsEnglishTexts) {
  ResetLogonTexts();
  const std::vector<std::string> expected = {"Oracle Logon",
                                             "Change password",
                                             "Confirm",
                                             "Username",
                                             "Password",
                                             "Database",
                                             "New password",
                                             "Old password",
                                             "Verification",
                                             "Verification failed",
                                             "Do you wish to change your password now?",
                                             "Your password has expired",
                                             "OK",
                                             "Cancel"};
  ASSERT_EQ(static_cast<int>(expected.size()), kLogonTextCount);
  for (int i = 0; i < kLogonTextCount; ++i)
    EXPECT_EQ(LogonText(static_cast<TLogonText>(i)), expected[static_cast<size_t>(i)]) << i;
}

TEST(LogonTextsTest, AnIndexOutsideTheTableRaises) {
  EXPECT_THROW(LogonText(static_cast<TLogonText>(kLogonTextCount)), EListError);
  EXPECT_THROW(SetLogonText(static_cast<TLogonText>(-1), "x"), EListError);
}

TEST(LogonFormFactoryTest, WithoutAFactoryNoFormCanBeMade) {
  const LogonFormFactory previous = SetLogonFormFactory({});

  try {
    CreateLogonForm();
    FAIL() << "a form without a factory";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "No logon form installed");
  }
  SetLogonFormFactory(previous);
}

class LogonAppearanceTest : public OracleLogonTest {
 protected:
  ~LogonAppearanceTest() override {
    ResetLogonTexts();
    SetLogonFontStyle(fsNone);
  }
};

TEST_F(LogonAppearanceTest, ReplacedTextsAndTheFontStyleReachTheDialog) {
  SetLogonText(ltLogonCaption, "Anmeldung");
  SetLogonText(ltUsername, "Benutzer");
  SetLogonText(ltPassword, "Kennwort");
  SetLogonText(ltDatabase, "Datenbank");
  SetLogonText(ltOK, "Gut");
  SetLogonText(ltCancel, "Abbrechen");
  SetLogonFontStyle(fsBold | fsItalic);
  auto session = Session("scott", "tiger");
  user_.Answer(ScriptedUser::Confirm());

  logon_.Execute();

  const ShownForm& form = user_.Shown().at(0);
  EXPECT_EQ(form.caption, "Anmeldung");
  EXPECT_EQ(form.usernameLabel, "Benutzer");
  EXPECT_EQ(form.passwordLabel, "Kennwort");
  EXPECT_EQ(form.databaseLabel, "Datenbank");
  EXPECT_EQ(form.okCaption, "Gut");
  EXPECT_EQ(form.cancelCaption, "Abbrechen");
  EXPECT_EQ(form.fontStyle, fsBold | fsItalic);
}

}  // namespace
}  // namespace vorn::session_test
