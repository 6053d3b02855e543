// What the dictionary tests share.
//
// - DictionaryTest: a fixture with the test's own copy of the demo database,
//   extended by a schema of tables with every kind of constraint, column
//   defaults, synonyms, a sequence and a message table (kDictionarySchema),
//   and a session logged on as scott.
// - TestDataSet: a dataset as the dictionary features see it
//   (DictionaryDataSet): an in-memory dataset filled from a SELECT run on
//   the session, with the rowids of its rows, the dictionary options, a
//   sequence field, and a statement query of its own. Its answers (updating
//   table, master-link fields, UniqueFields) are plain members a test sets.
//   It checks the features' own rules, cases a real dataset cannot reach
//   yet (master-link fields) included.
// - EditingDataSet: the real dataset, with its entry points for the
//   writing of records within reach; the features are tested through it as
//   users meet them.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DataSetDictionary.h"
#include "DictionaryDataSet.h"
#include "MemDataSet.h"
#include "SessionTestSupport.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"

namespace vorn::dataset_test {

using session_test::ErrorOf;

class TestDataSet : public DictionaryDataSet {
 public:
  // A persistent field per column of `sql` and its rows, opened unless
  // `open` is false; a column named ROWID gives the rowids and no field.
  TestDataSet(TOracleSession* session, const std::string& sql, bool open = true);
  ~TestDataSet() override;

  TDataSet& DataSet() override { return *mem_; }
  TOracleSession* Session() const override { return session_; }
  TOracleDictionary& Dictionary() override { return dictionary_; }
  TSequenceField& SequenceField() override { return sequence_; }
  std::string UpdatingTableName() override { return updatingTable; }
  bool HasRowId() const override { return hasRowId; }
  bool ColumnPrecision(const TField& field, int& precision, int& scale) const override;
  std::string CurrentRowId() override;
  bool IsMasterField(const std::string& fieldName) const override {
    return masterFields.count(fieldName) > 0;
  }
  std::string UniqueFields() const override { return uniqueFields; }
  TOracleQuery& StatementQuery() override { return *statementQuery_; }
  void TranslateMessageEvent(int errorCode, const std::string& constraintName, char action,
                             std::string& message) override;

  support::TMemDataSet& Mem() { return *mem_; }
  TField& Field(const std::string& name) { return *mem_->FieldByName(name); }
  // Moves to the row whose first field has `value`.
  void GoTo(const Variant& value);

  std::string updatingTable;
  bool hasRowId = false;
  std::set<std::string> masterFields;
  std::string uniqueFields;
  // Fired as OnTranslateMessage would be.
  std::function<void(int errorCode, const std::string& constraintName, char action,
                     std::string& message)>
      onTranslateMessage;
  // How many statements ran on the statement query.
  int statements = 0;

 private:
  TOracleSession* session_;
  std::unique_ptr<support::TMemDataSet> mem_;
  TOracleDictionary dictionary_;
  TSequenceField sequence_;
  std::unique_ptr<TOracleQuery> statementQuery_;
  std::vector<std::string> rowIds_;
  // Precision and scale of the select list's columns, by name.
  std::map<std::string, std::pair<int, int>> precisions_;
};

// TOracleDataSet with the entry points the dictionary features give
// record modification within reach.
class EditingDataSet : public TOracleDataSet {
 public:
  using TOracleDataSet::ApplySequenceOnPost;
  using TOracleDataSet::CheckRecordConstraints;
  using TOracleDataSet::InternalQuery;
  using TOracleDataSet::KeyFields;
  using TOracleDataSet::ServerSequenceExpression;
  using TOracleDataSet::TOracleDataSet;
  using TOracleDataSet::TranslateMessage;
  using TOracleDataSet::UpdatingTableAlias;
  using TOracleDataSet::UpdatingTableName;

  // The dataset's query for the statements the features generate.
  TOracleQuery& StatementQuery() { return DataSetDictionary::Of(*this).StatementQuery(); }
  // Moves to the record whose field `field` has `value`.
  void GoTo(const std::string& field, const Variant& value);
};

// Tables, constraints, defaults, synonyms, a sequence and a message table
// for the dictionary tests, added to the demo schema.
extern const char* const kDictionarySchema;

class DictionaryTest : public session_test::SessionTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A test dataset over `sql` on the fixture's session, updating `table`.
  std::unique_ptr<TestDataSet> Open(const std::string& sql, const std::string& table,
                                    bool open = true);
  // A dataset over `sql` on the fixture's session (or on `session`), opened
  // unless `open` is false.
  std::unique_ptr<EditingDataSet> DataSet(const std::string& sql, bool open = true,
                                          TOracleSession* session = nullptr);
  // The rows of `sql`, columns joined by "|".
  std::vector<std::string> Rows(const std::string& sql);
  void Run(const std::string& sql);
  // A session, logged on as scott, that takes the ODBC route (version 7
  // calls through the home's library, with the ODBC adapter installed) to a
  // copy of the test's database.
  std::unique_ptr<TOracleSession> OdbcSession();

  std::unique_ptr<TOracleSession> session_;
};

}  // namespace vorn::dataset_test
