// TOracleDataSet: RecordCount, and the count of query hits behind it with
// CountAllRecords.
//
// The count runs "select count(*) from (" + the statement without its
// ORDER BY or FOR clause + ")" on a work query of the dataset (never the
// query the rows come from: that one holds the statement, its variables
// and the open cursor the records are still being fetched from), with the
// dataset's variables that the text names carried over with their current
// values.
#include "DataSetDictionary.h"
#include "RecordList.h"
#include "RecordUpdater.h"
#include "WorkQueries.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/SqlText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/OracleQuery.h"

namespace vorn {

int TOracleDataSet::GetRecordCount() {
  if (records_ == nullptr) return 0;
  if (!countAllRecords_ || Filtered()) return records_->VisibleCount();
  if (recordCountCache_ < 0) recordCountCache_ = CountQueryHits();
  return recordCountCache_;
}

void TOracleDataSet::SetCountAllRecords(bool value) {
  if (value == countAllRecords_) return;
  countAllRecords_ = value;
  InvalidateRecordCount();
}

void TOracleDataSet::InvalidateRecordCount() {
  recordCountCache_ = -1;
}

int TOracleDataSet::CountQueryHits() {
  if (DataSetDictionary::Of(*this).IsCursorDataSet()) {
    throw Exception("Cannot count query hits for cursor dataset");
  }
  if (qbeMode_) {
    if (State() == dsInsert) UpdateRecord();
    CaptureQBEValues();
    BuildQBEStatement();
  }
  const TStatementParts parts = SplitStatement(sql_->Text());
  TGeneratedStatement statement;
  std::vector<std::string> lines{"select count(*) from (", parts.Head};
  lines.push_back(parts.Condition.empty() ? ")" : parts.Keyword + " " + parts.Condition + ")");
  statement.Text = record_sql::JoinLines(lines);
  statement.DeclareUsedVariables(*Variables());
  TOracleQuery& query = PrepareWorkQuery(statement, false);
  for (const auto& [name, type] : statement.Variables)
    query.SetVariable(name, GetVariable(name));
  query.Execute();
  return query.FieldAsInteger(0);
}

}  // namespace vorn
