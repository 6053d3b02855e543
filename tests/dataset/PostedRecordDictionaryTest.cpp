// The data dictionary where records are posted: sequence numbers taken on
// post or by the server in the INSERT, the whole record's constraint check
// in cached mode, the message table translating the server's refusal for
// the action that failed, and the rowid of a new record found by its
// primary key on the ODBC route.
#include <gtest/gtest.h>

#include "DictionaryTestSupport.h"

namespace vorn::dataset_test {
namespace {

class PostedRecordDictionaryTest : public DictionaryTest {
 protected:
  std::unique_ptr<EditingDataSet> Parts(TOracleSession* session = nullptr) {
    return DataSet("select p.*, rowid from parts p order by id", true, session);
  }

  // PARTS numbered from PARTS_SEQ (which starts at 100) at `moment`.
  static void NumberFromSequence(EditingDataSet& parts, TSequenceApplyMoment moment) {
    parts.SequenceField()->SetField("ID");
    parts.SequenceField()->SetSequence("parts_seq");
    parts.SequenceField()->SetApplyMoment(moment);
  }

  static std::string Post(TDataSet& dataSet) {
    return ErrorOf([&] { dataSet.Post(); });
  }
};

// --- Sequence numbers ---

TEST_F(PostedRecordDictionaryTest, ANumberTakenOnPostIsWrittenWithTheRecord) {
  auto parts = Parts();
  NumberFromSequence(*parts, amOnPost);
  parts->Insert();
  parts->FieldByName("NAME")->SetAsString("Washer");
  EXPECT_TRUE(parts->FieldByName("ID")->IsNull()) << "not before the post";

  EXPECT_EQ("", Post(*parts));

  EXPECT_EQ(100, parts->FieldByName("ID")->AsInteger());
  EXPECT_EQ(Rows("select id from parts where name = 'Washer'"), std::vector<std::string>{"100"});
}

TEST_F(PostedRecordDictionaryTest, TheServersNumberIsTakenInTheInsertAndReadBack) {
  auto parts = Parts();
  NumberFromSequence(*parts, amOnServer);
  parts->Insert();
  parts->FieldByName("NAME")->SetAsString("Washer");

  EXPECT_EQ("", Post(*parts));

  // The insert leaves out the columns without a value: the server's
  // defaults fill them, and the refresh after the insert reads them.
  EXPECT_EQ(100, parts->FieldByName("ID")->AsInteger());
  EXPECT_EQ("ACME", parts->FieldByName("MAKER")->AsString());
  EXPECT_EQ(Rows("select id, maker from parts where name = 'Washer'"),
            std::vector<std::string>{"100|ACME"});
}

TEST_F(PostedRecordDictionaryTest, AGivenNumberIsKeptAtEveryMoment) {
  for (TSequenceApplyMoment moment : {amOnPost, amOnServer}) {
    SCOPED_TRACE(moment);
    auto parts = Parts();
    NumberFromSequence(*parts, moment);
    parts->Insert();
    const int id = 60 + static_cast<int>(moment);
    parts->FieldByName("ID")->SetAsInteger(id);
    parts->FieldByName("NAME")->SetAsString("Part " + std::to_string(id));

    EXPECT_EQ("", Post(*parts));

    EXPECT_EQ(id, parts->FieldByName("ID")->AsInteger());
  }
  EXPECT_EQ(Rows("select count(*) from parts where id >= 100"), std::vector<std::string>{"0"});
}

// --- Constraint checks ---

TEST_F(PostedRecordDictionaryTest, InCachedModeThePostChecksTheWholeRecord) {
  auto parts = DataSet("select p.*, rowid from parts p order by id", false);
  parts->SetCachedUpdates(true);
  parts->OracleDictionary()->SetEnforceConstraints(true);
  parts->Open();
  parts->Insert();
  parts->FieldByName("ID")->SetAsInteger(60);
  parts->FieldByName("NAME")->SetAsString("Bolt");
  parts->FieldByName("MAKER")->SetAsString("ACME");

  EXPECT_EQ("ORA-00001: unique constraint (SCOTT.PARTS_NAME_UK) violated\n", Post(*parts));
  EXPECT_EQ(dsInsert, parts->State());

  parts->FieldByName("MAKER")->SetAsString("OTHER");
  EXPECT_EQ("", Post(*parts));
  EXPECT_EQ(4, parts->RecordCount());
  EXPECT_EQ(Rows("select count(*) from parts"), std::vector<std::string>{"3"})
      << "cached: nothing reaches the database on post";
}

TEST_F(PostedRecordDictionaryTest, WithoutCachedUpdatesTheWholeRecordIsTheServersToCheck) {
  auto parts = Parts();
  parts->OracleDictionary()->SetEnforceConstraints(true);
  parts->Insert();
  parts->FieldByName("ID")->SetAsInteger(60);
  parts->FieldByName("NAME")->SetAsString("Bolt");
  parts->FieldByName("MAKER")->SetAsString("ACME");

  EXPECT_EQ("ORA-00001: unique constraint (SCOTT.PARTS_NAME_UK) violated\n", Post(*parts));
  EXPECT_EQ(dsInsert, parts->State());
}

// --- The server's refusal, translated for the action ---

TEST_F(PostedRecordDictionaryTest, TheMessageTableTranslatesARefusedInsertUpdateAndDelete) {
  session_->SetMessageTable("messages");
  auto parts = Parts();
  parts->OracleDictionary()->SetUseMessageTable(true);
  std::vector<std::string> heard;
  parts->SetOnTranslateMessage(
      [&](TOracleDataSet*, int code, const std::string& name, char action, std::string& message) {
        heard.push_back(std::string(1, action) + " " + std::to_string(code) + " " + name + " " +
                        message);
      });

  parts->Insert();
  parts->FieldByName("ID")->SetAsInteger(2);
  EXPECT_EQ("That part number is taken", Post(*parts));
  EXPECT_EQ(dsInsert, parts->State());
  parts->Cancel();
  parts->GoTo("ID", 1);
  parts->Edit();
  parts->FieldByName("ID")->SetAsInteger(2);
  EXPECT_EQ("Another part has that number", Post(*parts));
  EXPECT_EQ(dsEdit, parts->State());
  parts->Cancel();

  EXPECT_EQ(heard, (std::vector<std::string>{"I 1 PARTS_PK That part number is taken",
                                             "U 1 PARTS_PK Another part has that number"}));
  EXPECT_EQ(Rows("select count(*) from parts"), std::vector<std::string>{"3"});
}

TEST_F(PostedRecordDictionaryTest, ARefusedDeleteKeepsTheRecordAndSaysWhy) {
  session_->SetMessageTable("messages");
  auto dept = DataSet("select d.*, rowid from dept d order by deptno");
  dept->OracleDictionary()->SetUseMessageTable(true);

  EXPECT_EQ("The department still has employees", ErrorOf([&] { dept->Delete(); }));

  EXPECT_EQ(4, dept->RecordCount());
  EXPECT_EQ(10, dept->FieldByName("DEPTNO")->AsInteger());
  EXPECT_EQ(Rows("select count(*) from dept"), std::vector<std::string>{"4"});
}

// --- Rowids by key ---

TEST_F(PostedRecordDictionaryTest, OnTheOdbcRouteANewRecordsRowidIsFoundByThePrimaryKey) {
  auto odbc = OdbcSession();
  auto parts = Parts(odbc.get());
  ASSERT_EQ(parts->KeyFields(), std::vector<std::string>{"ID"});
  // The server's defaults are read back by that rowid, so that the check
  // at Edit finds the record as the database has it.
  parts->SetRefreshOptions(roAfterInsert);
  parts->Insert();
  parts->FieldByName("ID")->SetAsInteger(70);
  parts->FieldByName("NAME")->SetAsString("Spring");
  parts->Post();

  EXPECT_EQ(session_test::Rows(*odbc, "select rowid from parts where id = 70"),
            std::vector<std::string>{parts->CurrentRowId()});
  EXPECT_EQ("ACME", parts->FieldByName("MAKER")->AsString());
  parts->Edit();
  parts->FieldByName("QTY")->SetAsInteger(5);
  parts->Post();
  EXPECT_EQ(session_test::Rows(*odbc, "select qty from parts where id = 70"),
            std::vector<std::string>{"5"});
}

}  // namespace
}  // namespace vorn::dataset_test
