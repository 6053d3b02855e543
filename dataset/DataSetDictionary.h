// DataSetDictionary: how TOracleDataSet answers the dictionary features
// (DictionaryDataSet.h). Each dataset has one, made on first use and freed
// with the dataset; it reads the dataset's private state as a friend and
// keeps what the features need beside it:
//   - the statement query: a query of its own on the dataset's session
//     (Debug as the dataset's), on which constraint checks, message-table
//     reads and sequence numbers run. The query the rows are fetched from
//     is never touched: clearing it would lose the dataset's statement, its
//     variables and its open cursor;
//   - the key fields found when the dataset opened (KeyFieldNames,
//     TableLookup.h).
// The updating table name is cached in the dataset (forgotten when the SQL
// or UpdatingTable changes, or the dataset closes).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DictionaryDataSet.h"

namespace vorn {

class TOracleDataSet;

class DataSetDictionary final : public DictionaryDataSet {
 public:
  explicit DataSetDictionary(TOracleDataSet& dataSet);
  ~DataSetDictionary() override;
  DataSetDictionary(const DataSetDictionary&) = delete;
  DataSetDictionary& operator=(const DataSetDictionary&) = delete;

  // The adapter of `dataSet`, made on first use.
  static DataSetDictionary& Of(TOracleDataSet& dataSet);

  TDataSet& DataSet() override;
  TOracleSession* Session() const override;
  TOracleDictionary& Dictionary() override;
  TSequenceField& SequenceField() override;
  // The trimmed UpdatingTable, else the table of the SQL (UpdatingTable.h);
  // a cursor dataset must name its table in UpdatingTable.
  std::string UpdatingTableName() override;
  bool HasRowId() const override;
  // From the select-list column of the field's definition, while the
  // dataset's field definitions describe its statement.
  bool ColumnPrecision(const TField& field, int& precision, int& scale) const override;
  std::string CurrentRowId() override;
  // A detail's link fields (DetailFields) while it has a master.
  bool IsMasterField(const std::string& fieldName) const override;
  std::string UniqueFields() const override;
  TOracleQuery& StatementQuery() override;
  void TranslateMessageEvent(int errorCode, const std::string& constraintName, char action,
                             std::string& message) override;

  // The name under which the SQL's FROM knows the updating table.
  std::string UpdatingTableAlias();
  // Finds the key fields anew (none unless the dataset has a rowid and its
  // session takes the ODBC route or it names UniqueFields).
  void DetermineKeyFields();
  const std::vector<std::string>& KeyFields() const { return keyFields_; }
  // A variable of the SQL has the cursor type.
  bool IsCursorDataSet() const;

 private:
  TOracleDataSet& dataSet_;
  std::unique_ptr<TOracleQuery> statementQuery_;
  std::vector<std::string> keyFields_;
};

}  // namespace vorn
