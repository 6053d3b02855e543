// The dataset's answers to the dictionary features; see
// DataSetDictionary.h.
#include "DataSetDictionary.h"

#include "DataSetRecords.h"
#include "TableLookup.h"
#include "UpdatingTable.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/host/Field.h"
#include "vorn/host/FieldDefs.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"

namespace vorn {

DataSetDictionary::DataSetDictionary(TOracleDataSet& dataSet) : dataSet_(dataSet) {}

DataSetDictionary::~DataSetDictionary() = default;

DataSetDictionary& DataSetDictionary::Of(TOracleDataSet& dataSet) {
  if (dataSet.dictionaryLink_ == nullptr) {
    dataSet.dictionaryLink_ = std::make_unique<DataSetDictionary>(dataSet);
  }
  return *dataSet.dictionaryLink_;
}

TDataSet& DataSetDictionary::DataSet() {
  return dataSet_;
}

TOracleSession* DataSetDictionary::Session() const {
  return dataSet_.Session();
}

TOracleDictionary& DataSetDictionary::Dictionary() {
  return *dataSet_.OracleDictionary();
}

TSequenceField& DataSetDictionary::SequenceField() {
  return *dataSet_.SequenceField();
}

bool DataSetDictionary::IsCursorDataSet() const {
  const TVariables& variables = *dataSet_.Variables();
  for (int i = 0; i < variables.Count(); ++i) {
    if (variables.Items(i)->TypeCode() == otCursor) return true;
  }
  return false;
}

std::string DataSetDictionary::UpdatingTableName() {
  std::string& cache = dataSet_.tableNameCache_;
  if (cache.empty()) {
    cache = ChooseUpdatingTable(dataSet_.updatingTable_, dataSet_.sql_->Text(), IsCursorDataSet());
  }
  return cache;
}

std::string DataSetDictionary::UpdatingTableAlias() {
  return UpdatingTableAliasOf(dataSet_.sql_->Text(), UpdatingTableName());
}

bool DataSetDictionary::HasRowId() const {
  return dataSet_.hasRowId_;
}

bool DataSetDictionary::ColumnPrecision(const TField& field, int& precision, int& scale) const {
  const TOracleQuery* query = dataSet_.fetchQuery_;
  const std::vector<TExtraFieldInfo>& info = dataSet_.fieldInfo_;
  // A persistent field of a closed dataset has no FieldNo yet: its
  // definition, made when the statement was described, has.
  const TFieldDef* def = dataSet_.FieldDefs().Find(field.FieldName());
  if (query == nullptr || def == nullptr) return false;
  const int fieldNo = def->FieldNo();
  if (fieldNo <= 0 || fieldNo >= static_cast<int>(info.size())) return false;
  const int column = info[static_cast<size_t>(fieldNo)].ColumnIndex;
  if (column < 0 || column >= query->FieldCount()) return false;
  precision = query->FieldPrecision(column);
  scale = query->FieldScale(column);
  return true;
}

std::string DataSetDictionary::CurrentRowId() {
  // A new record has no stored row; the record list's current one is
  // another record's.
  if (dataSet_.State() == dsInsert) return "";
  return dataSet_.CurrentRowId();
}

bool DataSetDictionary::IsMasterField(const std::string& fieldName) const {
  if (!dataSet_.HasMaster()) return false;
  for (const auto& [masterName, detailName] : dataSet_.LinkPairs()) {
    if (SameText(detailName, fieldName)) return true;
  }
  return false;
}

std::string DataSetDictionary::UniqueFields() const {
  return dataSet_.uniqueFields_;
}

TOracleQuery& DataSetDictionary::StatementQuery() {
  if (statementQuery_ == nullptr) statementQuery_ = std::make_unique<TOracleQuery>();
  statementQuery_->SetSession(dataSet_.Session());
  statementQuery_->SetDebug(dataSet_.Debug());
  return *statementQuery_;
}

void DataSetDictionary::TranslateMessageEvent(int errorCode, const std::string& constraintName,
                                              char action, std::string& message) {
  if (dataSet_.onTranslateMessage_) {
    dataSet_.onTranslateMessage_(&dataSet_, errorCode, constraintName, action, message);
  }
}

void DataSetDictionary::DetermineKeyFields() {
  keyFields_.clear();
  keyFields_ = KeyFieldNames(*this);
}

}  // namespace vorn
