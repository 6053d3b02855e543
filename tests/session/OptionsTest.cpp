// The statements a session sends for its options, and what it finds out
// about the server: the width of a character, the maximum string length,
// the length of a date text.
#include <gtest/gtest.h>

#include <algorithm>

#include "SessionTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"

namespace vorn::session_test {
namespace {

// What the scripted queries of a test answer, and what they were asked.
struct Script {
  std::vector<std::string> statements;
  // The rows every query returns (one column).
  std::vector<std::string> rows;
  // Execute raises for a statement that starts with this text.
  std::string failOn = "\x01";
  // Next raises after this many rows (-1: never).
  int failAfterRows = -1;
};

class ScriptedQuery : public SessionQuery {
 public:
  explicit ScriptedQuery(Script& script) : script_(script) {}

  void Clear() override { sql_.clear(); }
  void SetSQLText(const std::string& text) override { sql_ = text; }
  void Execute() override {
    script_.statements.push_back(sql_);
    row_ = 0;
    if (sql_.rfind(script_.failOn, 0) == 0) throw EOracleError("ORA-02248: refused", 2248);
  }
  bool Eof() override { return row_ >= script_.rows.size(); }
  void Next() override {
    ++row_;
    if (static_cast<int>(row_) == script_.failAfterRows) {
      throw EOracleError("ORA-01013: cancelled", 1013);
    }
  }
  int FieldAsInteger(int column) override { return std::stoi(FieldAsString(column)); }
  std::string FieldAsString(int) override { return script_.rows.at(row_); }

 private:
  Script& script_;
  std::string sql_;
  size_t row_ = 0;
};

class OptionsTest : public SessionTest {
 protected:
  ScopedQueryFactory Scripted() {
    return ScopedQueryFactory(
        [this](TOracleSession&) { return std::make_unique<ScriptedQuery>(script_); });
  }
  Script script_;
};

std::vector<std::string> NewStatements(size_t before) {
  const std::vector<std::string>& log = TestQuery::Log();
  return {log.begin() + static_cast<std::ptrdiff_t>(before), log.end()};
}

TEST_F(OptionsTest, EachOptionValueSendsItsStatementWhenConnected) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->LogOn();
  const size_t before = TestQuery::Log().size();

  session->SetSQLTrace(stTrue);
  session->SetSQLTrace(stFalse);
  session->SetOptimizerGoal(ogChoose);
  session->SetOptimizerGoal(ogFirstRows);
  session->SetOptimizerGoal(ogAllRows);
  session->SetOptimizerGoal(ogRule);
  session->SetIsolationLevel(ilReadCommitted);
  session->SetIsolationLevel(ilSerializable);

  EXPECT_EQ(NewStatements(before), (std::vector<std::string>{
                                       "ALTER SESSION SET SQL_TRACE = TRUE",
                                       "ALTER SESSION SET SQL_TRACE = FALSE",
                                       "ALTER SESSION SET OPTIMIZER_GOAL = CHOOSE",
                                       "ALTER SESSION SET OPTIMIZER_GOAL = FIRST_ROWS",
                                       "ALTER SESSION SET OPTIMIZER_GOAL = ALL_ROWS",
                                       "ALTER SESSION SET OPTIMIZER_GOAL = RULE",
                                       "ALTER SESSION SET ISOLATION_LEVEL = READ COMMITTED",
                                       "ALTER SESSION SET ISOLATION_LEVEL = SERIALIZABLE",
                                   }));
  EXPECT_EQ(session->SQLTrace(), stFalse);
  EXPECT_EQ(session->OptimizerGoal(), ogRule);
  EXPECT_EQ(session->IsolationLevel(), ilSerializable);
}

TEST_F(OptionsTest, UnchangedAndRepeatedValuesSendNothing) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->LogOn();
  session->SetOptimizerGoal(ogRule);
  const size_t before = TestQuery::Log().size();

  session->SetOptimizerGoal(ogRule);
  session->SetOptimizerGoal(ogUnchanged);
  session->SetSQLTrace(stUnchanged);

  EXPECT_TRUE(NewStatements(before).empty());
  EXPECT_EQ(session->OptimizerGoal(), ogUnchanged);
}

TEST_F(OptionsTest, OptionsSetWhileDisconnectedAreSentAtLogon) {
  ScopedTestQueries queries;
  auto session = NewSession();
  const size_t before = TestQuery::Log().size();
  session->SetIsolationLevel(ilSerializable);
  session->SetSQLTrace(stFalse);
  session->SetOptimizerGoal(ogFirstRows);
  ASSERT_TRUE(NewStatements(before).empty());

  session->LogOn();

  EXPECT_EQ(NewStatements(before), (std::vector<std::string>{
                                       "ALTER SESSION SET SQL_TRACE = FALSE",
                                       "ALTER SESSION SET OPTIMIZER_GOAL = FIRST_ROWS",
                                       "ALTER SESSION SET ISOLATION_LEVEL = SERIALIZABLE",
                                   }));
  EXPECT_EQ(session->SQLTrace(), stFalse);
  EXPECT_EQ(session->OptimizerGoal(), ogFirstRows);
  EXPECT_EQ(session->IsolationLevel(), ilSerializable);
}

TEST_F(OptionsTest, ARefusedStatementKeepsTheOldValue) {
  auto scripted = Scripted();
  script_.failOn = "ALTER SESSION SET OPTIMIZER_GOAL";
  auto session = NewSession();
  session->LogOn();
  session->SetSQLTrace(stTrue);

  EXPECT_THROW(session->SetOptimizerGoal(ogRule), EOracleError);

  EXPECT_EQ(session->OptimizerGoal(), ogUnchanged);
  EXPECT_EQ(session->SQLTrace(), stTrue);
}

TEST_F(OptionsTest, ARefusedOptionAtLogonRaisesFromTheConnectedSession) {
  auto scripted = Scripted();
  script_.failOn = "ALTER SESSION SET ISOLATION_LEVEL";
  auto session = NewSession();
  session->SetIsolationLevel(ilSerializable);
  int afterLogOn = 0;
  session->SetAfterLogOn([&afterLogOn](TOracleSession*) { ++afterLogOn; });

  EXPECT_THROW(session->LogOn(), EOracleError);

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->IsolationLevel(), ilUnchanged);
  EXPECT_EQ(afterLogOn, 1);
}

TEST_F(OptionsTest, FixedCharacterWidthsDivideTheMaximumStringLength) {
  auto session = NewSession();
  session->LogOn();
  const std::pair<TBytesPerCharacterOption, int> widths[] = {
      {bc1Byte, 1}, {bc2Bytes, 2}, {bc3Bytes, 3}, {bc4Bytes, 4}};

  for (const auto& [option, width] : widths) {
    session->SetBytesPerCharacter(option);
    EXPECT_EQ(session->BytesPerCharacterCount(), width);
    EXPECT_EQ(session->MaxStringLength(), 4000 / width);
  }
}

TEST_F(OptionsTest, Version7StringsAreHalfAsLong) {
  useOCI7_ = true;
  auto session = NewSession();
  session->LogOn();

  EXPECT_EQ(session->MaxStringLength(), 2000);
  session->SetBytesPerCharacter(bc2Bytes);
  EXPECT_EQ(session->MaxStringLength(), 1000);
}

TEST_F(OptionsTest, AutoDetectWhileDisconnectedIsOneByteWithoutAsking) {
  auto scripted = Scripted();
  auto session = NewSession();
  session->SetBytesPerCharacter(bcAutoDetect);

  EXPECT_EQ(session->BytesPerCharacterCount(), 1);
  EXPECT_TRUE(script_.statements.empty());
}

TEST_F(OptionsTest, AutoDetectAsksTheServerOncePerLogon) {
  auto scripted = Scripted();
  script_.rows = {"3"};
  auto session = NewSession();
  session->SetBytesPerCharacter(bcAutoDetect);
  session->LogOn();

  EXPECT_EQ(session->BytesPerCharacterCount(), 3);
  EXPECT_EQ(session->MaxStringLength(), 1333);
  EXPECT_EQ(script_.statements,
            std::vector<std::string>{"SELECT LENGTH(CHR(2000000000)) FROM DUAL"});

  session->LogOff();
  session->LogOn();
  script_.rows = {"2"};
  EXPECT_EQ(session->BytesPerCharacterCount(), 2);
  EXPECT_EQ(script_.statements.size(), 2u);
}

TEST_F(OptionsTest, ChangingTheOptionForgetsTheDetectedWidth) {
  auto scripted = Scripted();
  script_.rows = {"4"};
  auto session = NewSession();
  session->SetBytesPerCharacter(bcAutoDetect);
  session->LogOn();
  ASSERT_EQ(session->BytesPerCharacterCount(), 4);

  session->SetBytesPerCharacter(bc2Bytes);
  EXPECT_EQ(session->BytesPerCharacterCount(), 2);
  session->SetBytesPerCharacter(bcAutoDetect);
  script_.rows = {"3"};
  EXPECT_EQ(session->BytesPerCharacterCount(), 3);
}

TEST_F(OptionsTest, AZeroOrFailedAnswerCountsAsOneByte) {
  auto scripted = Scripted();
  auto session = NewSession();
  session->SetBytesPerCharacter(bcAutoDetect);
  session->LogOn();

  script_.rows = {"0"};
  EXPECT_EQ(session->BytesPerCharacterCount(), 1);

  session->SetBytesPerCharacter(bc1Byte);
  session->SetBytesPerCharacter(bcAutoDetect);
  script_.failOn = "SELECT";
  EXPECT_EQ(session->BytesPerCharacterCount(), 1);
}

TEST_F(OptionsTest, TheEmbeddedServerHasOneByteCharacters) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->SetBytesPerCharacter(bcAutoDetect);
  session->LogOn();

  EXPECT_EQ(session->BytesPerCharacterCount(), 1);
  EXPECT_EQ(session->MaxStringLength(), 4000);
}

TEST_F(OptionsTest, DateTextLengthIsTheLongestMonthInTheSessionsFormat) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->LogOn();

  // "10-SEP-99" in the default format.
  EXPECT_EQ(session->DateTextLength(), 9);

  session->LogOff();
  session->LogOn();
  RunSql(*session, "ALTER SESSION SET NLS_DATE_FORMAT = 'DD-MON-YYYY HH24:MI:SS'");
  EXPECT_EQ(session->DateTextLength(), 20);
  // Kept until logoff, whatever the format does meanwhile.
  RunSql(*session, "ALTER SESSION SET NLS_DATE_FORMAT = 'YYYY'");
  EXPECT_EQ(session->DateTextLength(), 20);
}

TEST_F(OptionsTest, DateTextLengthProbeAsksForEveryMonth) {
  auto scripted = Scripted();
  script_.rows = {"10-JAN-99", "10-SEPTEMBER-99", "10-MAY-99"};
  auto session = NewSession();
  session->LogOn();

  EXPECT_EQ(session->DateTextLength(), 15);

  std::string expected;
  for (int month = 1; month <= 12; ++month) {
    if (month > 1) expected += "\nunion all\n";
    expected += "select to_char(to_date('10-" + std::to_string(month) +
                "-1999 10:10:10', 'dd-mm-yyyy hh24:mi:ss')) from dual";
  }
  EXPECT_EQ(script_.statements, std::vector<std::string>{expected});
}

TEST_F(OptionsTest, AProbeThatFailsKeepsTheLongestTextSeen) {
  auto scripted = Scripted();
  script_.rows = {"10-JAN-1999", "10-FEB-99", "10-MAR-99"};
  script_.failAfterRows = 2;
  auto session = NewSession();
  session->LogOn();

  EXPECT_EQ(session->DateTextLength(), 11);
}

TEST_F(OptionsTest, AProbeThatFailsBeforeTheFirstRowGivesForty) {
  auto scripted = Scripted();
  script_.failOn = "select";
  auto session = NewSession();
  session->LogOn();

  EXPECT_EQ(session->DateTextLength(), 40);
  // Known now: not asked again.
  EXPECT_EQ(session->DateTextLength(), 40);
  EXPECT_EQ(script_.statements.size(), 1u);
}

TEST_F(OptionsTest, DateTextLengthWithoutAConnectionIsFortyAndNotKept) {
  auto scripted = Scripted();
  script_.rows = {"10-JAN-99"};
  auto session = NewSession();

  EXPECT_EQ(session->DateTextLength(), 40);
  session->LogOn();
  EXPECT_EQ(session->DateTextLength(), 9);
}

}  // namespace
}  // namespace vorn::session_test
