// Cached updates in a detail dataset: what is logged under one master
// record stays with it while the master scrolls, comes back when the master
// returns, and is applied or cancelled from that record only.
#include <gtest/gtest.h>

#include "DataSetTestSupport.h"
#include "vorn/host/Field.h"

namespace vorn::dataset_test {
namespace {

class CachedUpdatesDetailTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    dept_ = NewDataSet("select rowid, d.* from dept d order by deptno");
    emp_ = NewDataSet(
        "select rowid, e.empno, e.ename, e.deptno from emp e where deptno = :deptno "
        "order by empno");
    emp_->DeclareVariable("deptno", otInteger);
    emp_->SetMasterFields("DEPTNO");
    emp_->SetDetailFields("DEPTNO");
    emp_->SetMaster(dept_.get());
    emp_->SetCachedUpdates(true);
    dept_->Open();
    emp_->Open();
  }
  void TearDown() override {
    emp_.reset();
    dept_.reset();
    DataSetTest::TearDown();
  }

  void InsertEmp(int empno, const std::string& name) {
    emp_->Insert();
    emp_->FieldByName("EMPNO")->SetAsInteger(empno);
    emp_->FieldByName("ENAME")->SetAsString(name);
    emp_->Post();
  }
  void GoToEmp(const std::string& name) {
    for (emp_->First(); !emp_->Eof(); emp_->Next()) {
      if (emp_->FieldByName("ENAME")->AsString() == name) return;
    }
    FAIL() << "no employee " << name;
  }
  std::vector<std::string> Names() { return Column(*emp_, "ENAME"); }
  std::vector<std::string> Table(const std::string& where) {
    return session_test::Rows(
        *session_, "select empno, ename, deptno from emp where " + where + " order by empno");
  }

  std::unique_ptr<ProbeDataSet> dept_;
  std::unique_ptr<ProbeDataSet> emp_;
};

VORN_IN_BOTH_CALL_SETS(CachedUpdatesDetailTest);

TEST_P(CachedUpdatesDetailTest, ChangesUnderAnotherMasterRecordAreHiddenUntilTheMasterReturns) {
  InsertEmp(9001, "NEWMAN");  // before CLARK
  GoToEmp("KING");
  emp_->Edit();
  emp_->FieldByName("ENAME")->SetAsString("KING II");
  emp_->Post();
  GoToEmp("MILLER");
  emp_->Delete();
  const std::vector<std::string> shown = Names();

  dept_->Next();  // 20

  EXPECT_EQ((std::vector<std::string>{"SMITH", "JONES", "SCOTT", "ADAMS", "FORD"}), Names());
  EXPECT_TRUE(emp_->UpdatesPending());
  dept_->Next();  // 30
  dept_->Prior();
  dept_->Prior();  // 10 again
  EXPECT_EQ((std::vector<std::string>{"NEWMAN", "CLARK", "KING II"}), shown);
  EXPECT_EQ(shown, Names());
}

TEST_P(CachedUpdatesDetailTest, ARecordOfAnotherMasterRecordIsNotTakenForALoggedOne) {
  emp_->Edit();  // CLARK, the first record under 10
  emp_->FieldByName("ENAME")->SetAsString("CLARKE");
  emp_->Post();

  dept_->Next();  // 20: SMITH is the first record now

  EXPECT_EQ("SMITH", emp_->FieldByName("ENAME")->AsString());
  EXPECT_EQ(usUnmodified, emp_->UpdateStatus());
  EXPECT_EQ("SMITH", emp_->FieldByName("ENAME")->OldValue().AsString());
}

TEST_P(CachedUpdatesDetailTest, ADetailAppliesTheChangesOfItsMastersCurrentRecordOnly) {
  InsertEmp(9001, "NEWMAN");
  GoToEmp("MILLER");
  emp_->Delete();
  dept_->Next();  // 20
  InsertEmp(9002, "NEWGIRL");
  dept_->Prior();  // 10

  EXPECT_TRUE(emp_->ApplyUpdates());

  EXPECT_EQ((std::vector<std::string>{"9001|NEWMAN|10"}), Table("empno > 9000"));
  EXPECT_EQ((std::vector<std::string>{}), Table("empno = 7934"));
  EXPECT_TRUE(emp_->UpdatesPending()) << "the change under 20 waits";
  EXPECT_EQ((std::vector<std::string>{"NEWMAN", "CLARK", "KING"}), Names());
  dept_->Next();  // 20
  GoToEmp("NEWGIRL");
  EXPECT_EQ(usInserted, emp_->UpdateStatus());
  EXPECT_TRUE(emp_->ApplyUpdates());
  EXPECT_EQ((std::vector<std::string>{"9001|NEWMAN|10", "9002|NEWGIRL|20"}), Table("empno > 9000"));
  EXPECT_FALSE(emp_->UpdatesPending());
}

TEST_P(CachedUpdatesDetailTest, CancellingInADetailDropsTheChangesOfItsMastersCurrentRecordOnly) {
  InsertEmp(9001, "NEWMAN");
  dept_->Next();  // 20
  InsertEmp(9002, "NEWGIRL");

  emp_->CancelUpdates();

  EXPECT_EQ((std::vector<std::string>{"SMITH", "JONES", "SCOTT", "ADAMS", "FORD"}), Names());
  dept_->Prior();  // 10
  EXPECT_EQ((std::vector<std::string>{"NEWMAN", "CLARK", "KING", "MILLER"}), Names());
  EXPECT_TRUE(emp_->UpdatesPending());
}

}  // namespace
}  // namespace vorn::dataset_test
