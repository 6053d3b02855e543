// The session's table information against the embedded server's data
// dictionary: name resolution, constraints, columns, defaults, and the key
// fields of a dataset.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DictionaryTestSupport.h"
#include "TableLookup.h"
#include "vorn/dataset/DictionaryCache.h"
#include "vorn/host/RecordingUIServices.h"
#include "vorn/query/QueryTypes.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

std::string Resolved(TOracleSession& session, const std::string& name) {
  TOracleQuery query;
  query.SetSession(&session);
  TTableName resolved = ResolveTableName(query, name);
  return resolved.Owner + "|" + resolved.Table;
}

// --- Name resolution

class NameResolution : public DictionaryTest {};

TEST_F(NameResolution, FindsTheUsersTable) {
  EXPECT_EQ(Resolved(*session_, "emp"), "SCOTT|EMP");
  EXPECT_EQ(Resolved(*session_, "Parts"), "SCOTT|PARTS");
}

TEST_F(NameResolution, FindsAPrivateSynonymBeforeAPublicOne) {
  // STAFF is scott's synonym for EMP and a public one for MAN.DOGS.
  EXPECT_EQ(Resolved(*session_, "staff"), "SCOTT|EMP");
}

TEST_F(NameResolution, FindsAPublicSynonym) {
  EXPECT_EQ(Resolved(*session_, "pack"), "MAN|DOGS");
}

TEST_F(NameResolution, AnUnknownNameGivesNothing) {
  EXPECT_EQ(Resolved(*session_, "no_such_table"), "|");
}

TEST_F(NameResolution, AQualifiedNameIsTakenAsWritten) {
  TOracleQuery query;
  query.SetSession(session_.get());
  int executions = 0;
  query.SetBeforeQuery([&executions](TOracleQuery*) { ++executions; });

  TTableName dogs = ResolveTableName(query, "man.Dogs");
  TTableName split = ResolveTableName(query, "a.b.c");

  EXPECT_EQ(dogs.Owner + "|" + dogs.Table, "MAN|DOGS");
  EXPECT_EQ(split.Owner + "|" + split.Table, "A|B.C");
  EXPECT_EQ(executions, 0);
}

TEST_F(NameResolution, AnEmptyNameGivesNothing) {
  EXPECT_EQ(Resolved(*session_, ""), "|");
}

TEST_F(NameResolution, OnTheOdbcRouteTheLookUpsRunOneByOne) {
  auto odbc = OdbcSession();
  ASSERT_TRUE(odbc->TakesODBCRoute());
  EXPECT_EQ(Resolved(*odbc, "emp"), "SCOTT|EMP");
  EXPECT_EQ(Resolved(*odbc, "staff"), "SCOTT|EMP");
  EXPECT_EQ(Resolved(*odbc, "pack"), "MAN|DOGS");
  EXPECT_EQ(Resolved(*odbc, "nothing"), "|");
}

// --- The list of table information

class TableInformation : public DictionaryTest {};

TEST_F(TableInformation, NeedsASession) {
  EXPECT_EQ(ErrorOf([] { TableInfoOf(nullptr, "EMP"); }), "Session undefined");
}

TEST_F(TableInformation, IsSharedByNameWithoutRegardToCase) {
  TOracleTableInfo& first = TableInfoOf(session_.get(), "EMP");
  TOracleTableInfo& second = TableInfoOf(session_.get(), "emp");
  TOracleTableInfo& other = TableInfoOf(session_.get(), "DEPT");

  EXPECT_EQ(&first, &second);
  EXPECT_NE(&first, &other);
  EXPECT_EQ(first.Name(), "EMP");
}

TEST_F(TableInformation, KeepsTheNameAsWrittenAndTheResolvedOne) {
  TOracleTableInfo& table = TableInfoOf(session_.get(), "staff");

  EXPECT_EQ(table.Name(), "staff");
  EXPECT_EQ(table.Owner(), "SCOTT");
  EXPECT_EQ(table.TableName(), "EMP");
}

TEST_F(TableInformation, LivesAsLongAsTheSession) {
  TOracleTableInfo& table = TableInfoOf(session_.get(), "EMP");
  table.Columns();
  session_->LogOff();
  session_->LogOn();
  EXPECT_EQ(&TableInfoOf(session_.get(), "EMP"), &table);
}

// --- Constraints

class TableConstraints : public DictionaryTest {
 protected:
  TOracleConstraintInfo* Find(TOracleTableInfo& table, const std::string& name) {
    auto& constraints = table.Constraints();
    for (int i = 0; i < constraints.Count(); ++i) {
      if (constraints.Items(i)->ConstraintName == name) return constraints.Items(i);
    }
    return nullptr;
  }
  std::vector<std::string> Names(TOracleTableInfo& table) {
    std::vector<std::string> names;
    auto& constraints = table.Constraints();
    for (int i = 0; i < constraints.Count(); ++i)
      names.push_back(constraints.Items(i)->ConstraintName);
    return names;
  }
};

TEST_F(TableConstraints, AreTheNamedOnesWithTheirColumnsInKeyOrder) {
  TOracleTableInfo& parts = TableInfoOf(session_.get(), "PARTS");

  EXPECT_THAT(Names(parts), ElementsAre("PARTS_CODE_UK", "PARTS_NAME_UK", "PARTS_PK",
                                        "PARTS_QTY_CK", "PARTS_RANGE_CK"));
  EXPECT_THAT(Find(parts, "PARTS_NAME_UK")->Columns, ElementsAre("NAME", "MAKER"));
  EXPECT_THAT(Find(parts, "PARTS_RANGE_CK")->Columns, UnorderedElementsAre("LO", "HI"));
}

TEST_F(TableConstraints, LeaveTheServersUnnamedOnesOut) {
  // STOCK's primary key has a name the server made up (SYS_C...).
  EXPECT_THAT(Names(TableInfoOf(session_.get(), "STOCK")), ElementsAre("STOCK_BIN_FK"));
}

TEST_F(TableConstraints, ATableWithoutConstraintsHasNone) {
  EXPECT_EQ(TableInfoOf(session_.get(), "PLAIN").Constraints().Count(), 0);
}

TEST_F(TableConstraints, DetailsOfAPrimaryAndAUniqueKey) {
  TOracleTableInfo& parts = TableInfoOf(session_.get(), "PARTS");
  TOracleConstraintInfo* key = Find(parts, "PARTS_PK");
  TOracleConstraintInfo* unique = Find(parts, "PARTS_CODE_UK");

  EXPECT_TRUE(key->LoadDetails());
  EXPECT_TRUE(unique->LoadDetails());

  EXPECT_EQ(key->Kind, ckPrimaryKey);
  EXPECT_EQ(unique->Kind, ckUnique);
  EXPECT_EQ(&key->TableInfo(), &parts);
}

TEST_F(TableConstraints, DetailsOfAForeignKeyNameTheReferencedColumnsInKeyOrder) {
  TOracleConstraintInfo* key = Find(TableInfoOf(session_.get(), "STOCK"), "STOCK_BIN_FK");

  ASSERT_TRUE(key->LoadDetails());

  EXPECT_EQ(key->Kind, ckForeignKey);
  EXPECT_EQ(key->ReferencedOwner, "SCOTT");
  EXPECT_EQ(key->ReferencedTable, "BINS");
  EXPECT_THAT(key->ReferencedColumns, ElementsAre("SHELF", "SLOT"));
  EXPECT_THAT(key->Columns, ElementsAre("SHELF", "SLOT"));
}

TEST_F(TableConstraints, DetailsOfACheckHaveTheConditionWithVariables) {
  TOracleTableInfo& emp = TableInfoOf(session_.get(), "EMP");
  TOracleConstraintInfo* positive = Find(emp, "EMP_SAL_POSITIVE");
  TOracleConstraintInfo* commission = Find(emp, "EMP_COMM_JOB");

  ASSERT_TRUE(positive->LoadDetails());
  ASSERT_TRUE(commission->LoadDetails());

  EXPECT_EQ(positive->Kind, ckCheck);
  EXPECT_EQ(positive->SearchCondition, ":sal > 0");
  EXPECT_EQ(commission->SearchCondition, ":comm IS NULL OR :job IN ('SALESMAN', 'COMM')");
}

TEST_F(TableConstraints, ADisabledConstraintIsNotChecked) {
  Administer("ALTER TABLE scott.parts DISABLE CONSTRAINT parts_qty_ck;");
  TOracleConstraintInfo* check = Find(TableInfoOf(session_.get(), "PARTS"), "PARTS_QTY_CK");

  EXPECT_FALSE(check->LoadDetails());
  EXPECT_TRUE(check->DetailsLoaded);
}

TEST_F(TableConstraints, DetailsAreReadOnce) {
  TOracleTableInfo& parts = TableInfoOf(session_.get(), "PARTS");
  TOracleConstraintInfo* key = Find(parts, "PARTS_PK");
  int executions = 0;
  parts.Query().SetBeforeQuery([&executions](TOracleQuery*) { ++executions; });

  key->LoadDetails();
  key->LoadDetails();

  EXPECT_EQ(executions, 1);
}

TEST_F(TableConstraints, OnTheOdbcRouteChecksAreLeftToTheServer) {
  auto odbc = OdbcSession();
  TOracleTableInfo& emp = TableInfoOf(odbc.get(), "EMP");

  EXPECT_TRUE(Find(emp, "PK_EMP")->LoadDetails());
  EXPECT_FALSE(Find(emp, "EMP_SAL_POSITIVE")->LoadDetails());
}

TEST_F(TableConstraints, OnTheOdbcRouteUnnamedOnesAreListedToo) {
  auto odbc = OdbcSession();
  EXPECT_EQ(Names(TableInfoOf(odbc.get(), "STOCK")).size(), 2u);
}

// --- Columns

class TableColumns : public DictionaryTest {};

TEST_F(TableColumns, DescribeTheTable) {
  TOracleTableInfo& parts = TableInfoOf(session_.get(), "parts");

  ASSERT_EQ(parts.Columns().Count(), 9);
  const TOracleColumnInfo* qty = parts.FindColumn("qty");
  ASSERT_NE(qty, nullptr);
  EXPECT_EQ(qty->ColumnName, "QTY");
  EXPECT_EQ(qty->DataType, otFloat);
  EXPECT_EQ(qty->Precision, 7);
  EXPECT_EQ(qty->Scale, 2);
  EXPECT_EQ(parts.FindColumn("ID")->DataType, otInteger);
  EXPECT_EQ(parts.FindColumn("CODE")->DataType, otString);
  EXPECT_EQ(parts.FindColumn("MADE")->DataType, otDate);
  EXPECT_EQ(parts.FindColumn("NOTHING"), nullptr);
}

TEST_F(TableColumns, AFailedDescriptionOnlyShowsItsMessage) {
  TOracleTableInfo& missing = TableInfoOf(session_.get(), "no_such_table");

  EXPECT_EQ(missing.Columns().Count(), 0);

  ASSERT_EQ(ui_.Texts().size(), 1u);
  EXPECT_NE(ui_.Texts()[0].find("ORA-00942"), std::string::npos);
}

// --- Defaults

class TableDefaults : public DictionaryTest {};

TEST_F(TableDefaults, AreEvaluatedOnce) {
  TOracleTableInfo& parts = TableInfoOf(session_.get(), "PARTS");
  int executions = 0;
  parts.Query().SetBeforeQuery([&executions](TOracleQuery*) { ++executions; });

  ASSERT_TRUE(parts.EvaluateDefaults(false));
  const int afterFirst = executions;
  ASSERT_TRUE(parts.EvaluateDefaults(false));

  EXPECT_EQ(executions, afterFirst);
  EXPECT_EQ(parts.FindColumn("MAKER")->DefaultExpression, "'ACME'");
  EXPECT_EQ(parts.FindColumn("MAKER")->DefaultValue.AsString(), "ACME");
  EXPECT_EQ(parts.FindColumn("QTY")->DefaultValue.AsFloat(), 1.0);
  EXPECT_EQ(parts.FindColumn("MADE")->DefaultValue.VarType(), varDate);
  EXPECT_TRUE(parts.FindColumn("NAME")->DefaultExpression.empty());
}

TEST_F(TableDefaults, AreEvaluatedAgainOnRequest) {
  TOracleTableInfo& parts = TableInfoOf(session_.get(), "PARTS");
  parts.EvaluateDefaults(false);
  int executions = 0;
  parts.Query().SetBeforeQuery([&executions](TOracleQuery*) { ++executions; });

  parts.EvaluateDefaults(true);
  parts.EvaluateDefaults(true);

  EXPECT_EQ(executions, 2);
}

TEST_F(TableDefaults, ATableWithoutDefaultsIsNeverAskedAgain) {
  TOracleTableInfo& plain = TableInfoOf(session_.get(), "PLAIN");
  EXPECT_FALSE(plain.EvaluateDefaults(true));
  int executions = 0;
  plain.Query().SetBeforeQuery([&executions](TOracleQuery*) { ++executions; });

  EXPECT_FALSE(plain.EvaluateDefaults(true));

  EXPECT_EQ(executions, 0);
}

// --- Key fields

class KeyFields : public DictionaryTest {};

TEST_F(KeyFields, AreUniqueFieldsWhenNamed) {
  auto dataSet = Open("select e.*, rowid from emp e", "EMP");
  dataSet->uniqueFields = " ENAME; job ,MGR";

  EXPECT_THAT(KeyFieldNames(*dataSet), ElementsAre("ENAME", "job", "MGR"));
}

TEST_F(KeyFields, AreNoneWithoutUniqueFieldsOffTheOdbcRoute) {
  auto dataSet = Open("select e.*, rowid from emp e", "EMP");
  EXPECT_TRUE(KeyFieldNames(*dataSet).empty());
}

TEST_F(KeyFields, AreNoneWithoutARowId) {
  auto dataSet = Open("select * from emp", "EMP");
  dataSet->uniqueFields = "EMPNO";
  EXPECT_TRUE(KeyFieldNames(*dataSet).empty());
}

class OdbcKeyFields : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    odbc_ = OdbcSession();
  }
  std::unique_ptr<TestDataSet> OpenOdbc(const std::string& sql, const std::string& table) {
    auto dataSet = std::make_unique<TestDataSet>(odbc_.get(), sql);
    dataSet->updatingTable = table;
    return dataSet;
  }
  std::unique_ptr<TOracleSession> odbc_;
};

TEST_F(OdbcKeyFields, AreThePrimaryKey) {
  auto dataSet = OpenOdbc("select p.*, rowid from parts p", "PARTS");
  EXPECT_THAT(KeyFieldNames(*dataSet), ElementsAre("ID"));
}

TEST_F(OdbcKeyFields, AreAUniqueKeyWithoutAPrimaryOne) {
  auto dataSet = OpenOdbc("select c.*, rowid from codes c", "CODES");
  EXPECT_THAT(KeyFieldNames(*dataSet), ElementsAre("CODE"));
}

TEST_F(OdbcKeyFields, AreNoneForATableWithoutKeys) {
  auto dataSet = OpenOdbc("select p.*, rowid from plain p", "PLAIN");
  EXPECT_TRUE(KeyFieldNames(*dataSet).empty());
}

TEST_F(OdbcKeyFields, MustBeFieldsOfTheDataSet) {
  auto dataSet = OpenOdbc("select name, rowid from parts", "PARTS");
  try {
    KeyFieldNames(*dataSet);
    FAIL() << "no error";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.Message(), "Primary or Unique key columns must be included");
  }
}

TEST_F(OdbcKeyFields, NeedATableThatResolves) {
  auto dataSet = OpenOdbc("select d.*, rowid from dept d", "NO_SUCH_TABLE");
  EXPECT_EQ(ErrorOf([&] { KeyFieldNames(*dataSet); }),
            "Primary or Unique key columns must be included");
}

TEST_F(OdbcKeyFields, UniqueFieldsStillWin) {
  auto dataSet = OpenOdbc("select p.*, rowid from parts p", "PARTS");
  dataSet->uniqueFields = "CODE";
  EXPECT_THAT(KeyFieldNames(*dataSet), ElementsAre("CODE"));
}

}  // namespace
}  // namespace vorn::dataset_test
