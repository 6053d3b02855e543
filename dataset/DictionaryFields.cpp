// TOracleDataSet: where the data dictionary options meet the dataset. The
// features themselves work on the dataset's facts through its
// DataSetDictionary (DataSetDictionary.h):
//
//   field options (FieldKinds, RangeValues, DisplayFormats; FieldOptions.h)
//       applied to the default fields when the dataset opens, at design
//       time whenever the field list changes, and when DisplayFormats is
//       turned on or off, while the session is connected;
//   key fields (TableLookup.h)
//       found anew every time the dataset opens;
//   constraint checks (ConstraintCheck.h)
//       on every field value stored while a record is edited or inserted
//       (not in query-by-example mode, not while a new record is
//       initialised), and on the post of a record in cached mode;
//   default values (FieldOptions.h)
//       given to every new record after a detail's master values and a
//       sequence number taken on new record;
//   message translation (MessageTranslation.h)
//       of every error a record action reports.
#include "ConstraintCheck.h"
#include "DataSetDictionary.h"
#include "FieldOptions.h"
#include "MessageTranslation.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/OracleDictionary.h"

namespace vorn {

void TOracleDataSet::ApplyDictionaryFieldSettings() {
  if (!oracleDictionary_->HasFieldOptions()) return;
  ApplyFieldOptions(DataSetDictionary::Of(*this));
}

void TOracleDataSet::DetermineKeyFields() {
  DataSetDictionary::Of(*this).DetermineKeyFields();
}

const std::vector<std::string>& TOracleDataSet::KeyFields() {
  return DataSetDictionary::Of(*this).KeyFields();
}

std::string TOracleDataSet::UpdatingTableName() {
  return DataSetDictionary::Of(*this).UpdatingTableName();
}

std::string TOracleDataSet::UpdatingTableAlias() {
  return DataSetDictionary::Of(*this).UpdatingTableAlias();
}

void TOracleDataSet::CheckFieldConstraints(TField* field) {
  if (!oracleDictionary_->EnforceConstraints()) return;
  vorn::CheckFieldConstraints(DataSetDictionary::Of(*this), *field);
}

void TOracleDataSet::CheckRecordConstraints() {
  if (!oracleDictionary_->EnforceConstraints()) return;
  vorn::CheckRecordConstraints(DataSetDictionary::Of(*this));
}

void TOracleDataSet::ApplyDefaultValues() {
  vorn::ApplyDefaultValues(DataSetDictionary::Of(*this));
}

std::string TOracleDataSet::TranslateMessage(char action, int errorCode, const std::string& text) {
  return vorn::TranslateMessage(DataSetDictionary::Of(*this), action, errorCode, text);
}

}  // namespace vorn
