// Configuring a master/detail link from the foreign key between the two
// updating tables in the designer, against the demo database (DEPT/EMP, a
// table with two keys to DEPT, MAN's DOGS that refer to DOGS, and the ODBC
// route): the messages, the question and both answers, the link fields,
// the rewritten SQL text and the declared variables; and the WHERE clause
// rewrite on its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DataSetTestSupport.h"
#include "MasterDetailConfig.h"
#include "vorn/platform/Environment.h"
#include "vorn/query/Variables.h"

namespace vorn::dataset_test {
namespace {

class MasterDetailConfigTest : public DataSetTest {
 protected:
  // A detail and a master being designed, on the fixture's session.
  void Design(const std::string& detailSql, const std::string& masterSql) {
    detail = NewDataSet(detailSql);
    master = NewDataSet(masterSql);
    detail->SetDesigning(true);
    master->SetDesigning(true);
  }
  std::vector<std::string> Variables() const {
    std::vector<std::string> names;
    TVariables& variables = *detail->Variables();
    for (int i = 0; i < variables.Count(); ++i) {
      names.push_back(variables.Items(i)->Name() + " " +
                      std::to_string(variables.Items(i)->TypeCode()));
    }
    return names;
  }

  // Table TRANSFERS with two foreign keys to DEPT.
  void MakeTransfers() {
    Run("create table transfers (id number(4) primary key, "
        "from_dept number(2) constraint fk_from_dept references dept, "
        "to_dept number(2) constraint fk_to_dept references dept)");
  }

  std::unique_ptr<ProbeDataSet> detail;
  std::unique_ptr<ProbeDataSet> master;
};

VORN_IN_BOTH_CALL_SETS(MasterDetailConfigTest);

constexpr const char* kQuestion =
    "Modify query to add variables to WHERE clause?\r\nNOTE: This will remove any existing "
    "WHERE clause and variables!";

TEST_P(MasterDetailConfigTest, OneForeignKeyAnsweredYesRewritesTheWhereClause) {
  Design("select * from emp where sal > 1000 order by ename", "select * from dept");
  detail->DeclareVariable("old", otString);
  ui_.AnswerNext(mrYes);

  detail->SetMaster(master.get());

  ASSERT_EQ(1u, ui_.Messages().size());
  const TMessageBox box = ui_.Messages().at(0).Box;
  EXPECT_EQ(kQuestion, box.Text);
  EXPECT_EQ("Confirm", box.Caption);
  EXPECT_EQ(mtConfirmation, box.DlgType);
  EXPECT_EQ(mbYes | mbNo, box.Buttons);
  EXPECT_EQ("DEPTNO", detail->DetailFields());
  EXPECT_EQ("DEPTNO", detail->MasterFields());
  EXPECT_EQ("select * from emp where deptno = :deptno\r\norder by ename\r\n",
            detail->SQL()->Text());
  EXPECT_EQ(std::vector<std::string>{":DEPTNO " + std::to_string(otInteger)}, Variables());
}

TEST_P(MasterDetailConfigTest, OneForeignKeyAnsweredNoOnlyFillsTheLinkFields) {
  Design("select * from emp where sal > 1000", "select * from dept");
  detail->DeclareVariable("old", otString);
  ui_.AnswerNext(mrNo);

  detail->SetMaster(master.get());

  EXPECT_EQ(std::vector<std::string>{kQuestion}, ui_.Texts());
  EXPECT_EQ("DEPTNO", detail->DetailFields());
  EXPECT_EQ("DEPTNO", detail->MasterFields());
  EXPECT_EQ("select * from emp where sal > 1000\r\n", detail->SQL()->Text());
  EXPECT_EQ(std::vector<std::string>{":OLD " + std::to_string(otString)}, Variables());
}

TEST_P(MasterDetailConfigTest, AStatementWithoutWhereGetsTheClauseOnALineOfItsOwn) {
  Design("select e.*\r\nfrom emp e\r\n", "select * from dept");
  ui_.AnswerNext(mrYes);

  detail->SetMaster(master.get());

  EXPECT_EQ("select e.*\r\nfrom emp e\r\nwhere deptno = :deptno\r\n", detail->SQL()->Text());
}

TEST_P(MasterDetailConfigTest, NoForeignKeyIsToldAndLeavesTheLinkFieldsCleared) {
  Design("select * from dept", "select * from emp");
  detail->SetMasterFields("X");
  detail->SetDetailFields("Y");

  detail->SetMaster(master.get());

  EXPECT_EQ(std::vector<std::string>{"Automatic Master/Detail configuration is only\r\npossible if "
                                     "a foreign key constraint exists\r\nbetween the Master and "
                                     "Detail table."},
            ui_.Texts());
  EXPECT_EQ("", detail->MasterFields());
  EXPECT_EQ("", detail->DetailFields());
  EXPECT_EQ("select * from dept\r\n", detail->SQL()->Text());
}

TEST_P(MasterDetailConfigTest, TwoForeignKeysAreTold) {
  MakeTransfers();
  Design("select * from transfers", "select * from dept");

  detail->SetMaster(master.get());

  EXPECT_EQ(std::vector<std::string>{"Automatic Master/Detail configuration is only\r\npossible if "
                                     "just one foreign key constraint\r\nexists between the "
                                     "Master and Detail table."},
            ui_.Texts());
  EXPECT_EQ("", detail->DetailFields());
}

TEST_P(MasterDetailConfigTest, UnknownTablesAreTold) {
  Design("select * from no_such_table", "select * from dept");
  detail->SetMaster(master.get());
  detail->SetMaster(nullptr);
  auto known = NewDataSet("select * from emp");
  known->SetDesigning(true);
  auto unknown = NewDataSet("select 1 from no_such_table");
  unknown->SetDesigning(true);
  known->SetMaster(unknown.get());

  EXPECT_EQ((std::vector<std::string>{
                "Automatic Master/Detail configuraion is only\r\npossible if the Detail SQL text "
                "is set correctly.",
                "Automatic Master/Detail configuration is only\r\npossible if the Master SQL text "
                "is set correctly."}),
            ui_.Texts());
}

TEST_P(MasterDetailConfigTest, RemovingTheMasterInTheDesignerClearsTheLinkSilently) {
  Design("select * from emp", "select * from dept");
  ui_.AnswerNext(mrNo);
  detail->SetMaster(master.get());
  ui_.Clear();

  detail->SetMaster(nullptr);

  EXPECT_TRUE(ui_.Texts().empty());
  EXPECT_EQ("", detail->MasterFields());
  EXPECT_EQ("", detail->DetailFields());
}

TEST_P(MasterDetailConfigTest, WithoutAConnectedSessionNothingChanges) {
  Design("select * from emp", "select * from dept");
  detail->SetMasterFields("X");
  session_->LogOff();

  detail->SetMaster(master.get());

  EXPECT_EQ(std::vector<std::string>{"Automatic Master/Detail configuration is only\r\npossible if "
                                     "the Session is connected."},
            ui_.Texts());
  EXPECT_EQ("X", detail->MasterFields());
}

TEST_P(MasterDetailConfigTest, TheMastersSessionServesADetailWithoutOne) {
  Design("select * from emp", "select * from dept");
  detail->SetSession(nullptr);
  ui_.AnswerNext(mrNo);

  detail->SetMaster(master.get());

  EXPECT_EQ(std::vector<std::string>{kQuestion}, ui_.Texts());
  EXPECT_EQ("DEPTNO", detail->DetailFields());
}

TEST_P(MasterDetailConfigTest, OutsideTheDesignerNothingIsConfigured) {
  Design("select * from emp", "select * from dept");
  detail->SetMasterFields("X");
  auto runTimeDetail = NewDataSet("select * from emp");
  runTimeDetail->SetMasterFields("Y");

  master->SetDesigning(false);
  detail->SetMaster(master.get());
  runTimeDetail->SetMaster(master.get());

  EXPECT_TRUE(ui_.Texts().empty());
  EXPECT_EQ("X", detail->MasterFields());
  EXPECT_EQ("Y", runTimeDetail->MasterFields());
}

TEST_P(MasterDetailConfigTest, OnTheOdbcRouteTheTablesAreFoundThroughTheirViews) {
  // A database whose logon name marks the ODBC route.
  const std::string registry = Database() + ".registry.ini";
  std::ofstream(registry) << "[SOFTWARE\\ORACLE]\nORACLE_HOME = \"" << OracleHome() << "\"\n";
  platform::WriteEnvironmentVariable("VORN_MACHINE_REGISTRY", registry);
  const std::filesystem::path own(Database());
  const std::string path = (own.parent_path() / ("ODBC:" + own.filename().string())).string();
  std::filesystem::copy_file(Database(), path, std::filesystem::copy_options::overwrite_existing);
  auto odbc = NewSession();
  odbc->SetLogonDatabase(path);
  odbc->LogOn();
  ASSERT_TRUE(odbc->TakesODBCRoute());
  detail = NewDataSet("select * from emp", odbc.get());
  master = NewDataSet("select * from scott.dept", odbc.get());
  detail->SetDesigning(true);
  master->SetDesigning(true);
  ui_.AnswerNext(mrNo);

  detail->SetMaster(master.get());

  EXPECT_EQ(std::vector<std::string>{kQuestion}, ui_.Texts());
  EXPECT_EQ("DEPTNO", detail->DetailFields());
  EXPECT_EQ("DEPTNO", detail->MasterFields());
}

TEST_P(MasterDetailConfigTest, ASelfReferencingTableLinksToItsOwnKey) {
  auto man = NewSession("man", "man");
  man->LogOn();
  detail = NewDataSet("select * from dogs", man.get());
  master = NewDataSet("select * from dogs", man.get());
  detail->SetDesigning(true);
  master->SetDesigning(true);
  ui_.AnswerNext(mrYes);

  detail->SetMaster(master.get());

  EXPECT_EQ("FRIEND", detail->DetailFields());
  EXPECT_EQ("OID", detail->MasterFields());
  EXPECT_EQ("select * from dogs\r\nwhere friend = :friend\r\n", detail->SQL()->Text());
  ASSERT_EQ(1, detail->Variables()->Count());
  EXPECT_EQ(":FRIEND", detail->Variables()->Items(0)->Name());
  detail->SetDesigning(false);
  master->SetDesigning(false);
  master->Open();
  detail->Open();
  // Rex's friends.
  EXPECT_EQ((std::vector<std::string>{"Bella", "Max"}), Column(*detail, "NAME"));
  detail->Close();
  master->Close();
}

// --- The WHERE clause rewrite on its own ---

TEST(ReplaceWhereClauseTest, ReplacesTheWhereClauseUpToTheClauseThatFollows) {
  EXPECT_EQ("select * from emp where a = :a\r\norder by 1",
            ReplaceWhereClause("select * from emp where x = 1 order by 1", "where a = :a\r\n"));
  EXPECT_EQ("select deptno, count(*) from emp where a = :a\r\ngroup by deptno",
            ReplaceWhereClause("select deptno, count(*) from emp WHERE sal > 0 group by deptno",
                               "where a = :a\r\n"));
  EXPECT_EQ("select * from emp where a = :a\r\n",
            ReplaceWhereClause("select * from emp where x = 1", "where a = :a\r\n"));
}

TEST(ReplaceWhereClauseTest, InsertsAClauseWhereThereIsNone) {
  EXPECT_EQ("select * from emp\r\nwhere a = :a\r\n",
            ReplaceWhereClause("select * from emp  \r\n", "where a = :a\r\n"));
  EXPECT_EQ("select * from emp\r\nwhere a = :a\r\norder by ename",
            ReplaceWhereClause("select * from emp order by ename", "where a = :a\r\n"));
}

TEST(ReplaceWhereClauseTest, WordsInLiteralsAndSubqueriesDoNotCount) {
  EXPECT_EQ("select 'where' w from emp\r\nwhere a = :a\r\n",
            ReplaceWhereClause("select 'where' w from emp", "where a = :a\r\n"));
  EXPECT_EQ(
      "select * from (select * from emp where x = 1) e\r\nwhere a = :a\r\n",
      ReplaceWhereClause("select * from (select * from emp where x = 1) e", "where a = :a\r\n"));
  EXPECT_EQ("select nowhere from emp\r\nwhere a = :a\r\n",
            ReplaceWhereClause("select nowhere from emp", "where a = :a\r\n"));
}

}  // namespace
}  // namespace vorn::dataset_test
