// TOracleDataSet: query by example.
//
// In QBE mode the record list is empty and the window shows one inserted
// record, the example, whose values become conditions of the dataset's own
// statement (QBEConditions.h). The per-field state lives in the field
// information of the open dataset (TExtraFieldInfo): the variable name,
// the value captured from the example, the settings of the field's
// TQBEFieldDef, and the field's ReadOnly and Required as they were when
// the mode was entered (after the details of a master emptied and gave
// its link fields back), which leaving the mode puts back.
//
// What must hold:
//   - the statement the application gave is kept (qbeSavedSQL_) while the
//     rewritten one, ending in the marker line, is the SQL; it is put back,
//     and the zuq__qbe variables deleted, before every rewrite and when the
//     dataset closes;
//   - rewriting the SQL does not reopen the dataset, as an assignment of
//     the SQL does;
//   - the checks before entering leave the dataset as it was;
//   - the example record is never posted, and cancelling it is not a
//     record action: it leaves the transaction and any lock alone.
#include <cmath>

#include "DataSetDictionary.h"
#include "DataSetRecords.h"
#include "FieldValues.h"
#include "QBEConditions.h"
#include "RecordList.h"
#include "RecordUpdater.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/QBEDefinition.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/query/Variables.h"

namespace vorn {

namespace {

// The prefix of the variables query by example declares, as the variable
// list stores names.
constexpr std::string_view kQBEVariablePrefix = ":ZUQ__QBE";

}  // namespace

// --- The mode ---

void TOracleDataSet::SetQBEMode(bool value) {
  if (value == qbeMode_) return;
  if (!Active() || (ComponentState() & (csReading | csLoading))) {
    qbeMode_ = value;
    return;
  }
  if (value) {
    EnterQBEState();
    return;
  }
  if (LeaveQBEState(true)) Refresh();
}

void TOracleDataSet::CheckQBEAllowed() {
  if (DataSetDictionary::Of(*this).IsCursorDataSet()) {
    throw Exception("QBE mode not supported for cursors");
  }
  if ((cachedUpdates_ && UpdatesPending()) || State() == dsEdit || State() == dsInsert) {
    throw Exception("QBE mode not allowed with pending updates");
  }
  if (master_ != nullptr && !master_->HasUsableRecord()) {
    throw Exception("QBE mode not allowed without a master record");
  }
}

void TOracleDataSet::EnterQBEState() {
  try {
    CheckQBEAllowed();
  } catch (...) {
    // Opened with QBEMode on: the open itself fails, and the dataset that
    // ran no query does not stay open without its example.
    if (qbeMode_) {
      try {
        Close();
      } catch (const std::exception&) {
        // The check's failure is the one to report.
      }
    }
    throw;
  }
  CheckBrowseMode();
  qbeMode_ = true;
  InvalidateRecordCount();
  ClearRecords();
  InternalFirst();
  Resync(rmNone);
  const bool designing = (ComponentState() & csDesigning) != 0;
  for (size_t fieldNo = 1; fieldNo < fieldInfo_.size() && !designing; ++fieldNo) {
    TExtraFieldInfo& info = fieldInfo_[fieldNo];
    if (info.BoundField == nullptr) continue;
    info.ReadOnlyBeforeQBE = info.BoundField->ReadOnly();
    info.RequiredBeforeQBE = info.BoundField->Required();
    info.BoundField->SetReadOnly(!info.QBEEnabled);
    info.BoundField->SetRequired(false);
  }
  Insert();
  if (qbeDefinition_->SaveQBEValues()) {
    for (size_t fieldNo = 1; fieldNo < fieldInfo_.size(); ++fieldNo) {
      const TExtraFieldInfo& info = fieldInfo_[fieldNo];
      if (info.BoundField == nullptr || !info.QBEEnabled || IsNullValue(info.QBEValue)) continue;
      info.BoundField->SetValue(info.QBEValue);
    }
  }
  FireEvent(beforeQBE_);
}

bool TOracleDataSet::LeaveQBEState(bool cancelEvent) {
  bool requery = true;
  if (cancelEvent && onCancelQBE_) onCancelQBE_(this, requery);
  if (!(ComponentState() & csDesigning)) {
    for (size_t fieldNo = 1; fieldNo < fieldInfo_.size(); ++fieldNo) {
      const TExtraFieldInfo& info = fieldInfo_[fieldNo];
      if (info.BoundField == nullptr) continue;
      info.BoundField->SetReadOnly(info.ReadOnlyBeforeQBE);
      info.BoundField->SetRequired(info.RequiredBeforeQBE);
    }
  }
  Cancel();
  qbeMode_ = false;
  InvalidateRecordCount();
  DataEvent(deDataSetChange, 0);
  return requery;
}

void TOracleDataSet::ExecuteQBE() {
  if (!qbeMode_ || !Active()) throw Exception("Operation only allowed in QBE mode");
  if (State() == dsInsert || State() == dsEdit) UpdateRecord();
  CaptureQBEValues();
  BuildQBEStatement();
  LeaveQBEState(false);
  Refresh();
  FireEvent(afterQBE_);
}

void TOracleDataSet::ApplyQBEFieldDef(TExtraFieldInfo& info, const TField& field) const {
  const TQBEFieldDef* def = qbeDefinition_->FindFieldDef(field.FieldName());
  info.QBEEnabled = def != nullptr ? def->Enabled() : !field.IsBlob();
  info.QBEPartialMatch = def != nullptr && def->PartialMatch();
  info.QBECaseInsensitive = def != nullptr && def->CaseInsensitive();
  info.QBEWholeDay = def != nullptr && def->WholeDay();
}

// --- The example's values and the statement ---

void TOracleDataSet::CaptureQBEValues() {
  for (size_t fieldNo = 1; fieldNo < fieldInfo_.size(); ++fieldNo) {
    TExtraFieldInfo& info = fieldInfo_[fieldNo];
    if (info.BoundField == nullptr || info.BoundField->IsBlob()) continue;
    info.QBEValue = info.BoundField->Value();
  }
}

void TOracleDataSet::BuildQBEStatement() {
  using namespace qbe_sql;
  RestoreQBEStatement();
  qbeSavedSQL_ = sql_->Text();
  std::vector<std::string> conditions;
  for (size_t fieldNo = 1; fieldNo < fieldInfo_.size(); ++fieldNo) {
    const TExtraFieldInfo& info = fieldInfo_[fieldNo];
    TField* field = info.BoundField;
    if (field == nullptr || IsNullValue(info.QBEValue)) continue;
    std::string column = TrimRight(field->Origin());
    if (column.empty()) column = Trim(field->FieldName());
    const TFieldType type = field->DataType();
    if (type == ftString) {
      const std::string text = PrepareText(
          info.QBEValue.AsString(), qbeDefinition_->AllowFileWildCards(), info.QBEPartialMatch);
      std::string condition = TextCondition(column, text, info.QBECaseInsensitive);
      if (!condition.empty()) conditions.push_back(std::move(condition));
      continue;
    }
    const bool wholeDay = IsDateType(type) && info.QBEWholeDay &&
                          std::trunc(info.QBEValue.AsDateTime()) == info.QBEValue.AsDateTime();
    InternalQuery().DeclareVariable(info.QBEVariable, wholeDay ? otDate : BufferTypeOf(field));
    InternalQuery().SetVariable(info.QBEVariable, info.QBEValue);
    conditions.push_back(wholeDay ? WholeDayCondition(column, info.QBEVariable)
                                  : ValueCondition(column, info.QBEVariable));
  }
  if (!conditions.empty()) SetSQLQuietly(StatementWithConditions(qbeSavedSQL_, conditions));
}

void TOracleDataSet::RestoreQBEStatement() {
  if (query_ != nullptr) {
    TVariables& variables = *query_->Variables();
    for (int i = variables.Count() - 1; i >= 0; --i) {
      const std::string name = variables.Items(i)->Name();
      if (UpperCase(std::string_view(name).substr(0, kQBEVariablePrefix.size())) ==
          kQBEVariablePrefix) {
        query_->DeleteVariable(name);
      }
    }
  }
  const int count = sql_->Count();
  if (count > 0 && Trim(sql_->Strings(count - 1)) == record_sql::kQBEMarker) {
    SetSQLQuietly(qbeSavedSQL_);
  }
}

std::string TOracleDataSet::SQLBeforeQBE() const {
  const int count = sql_->Count();
  if (count > 0 && Trim(sql_->Strings(count - 1)) == record_sql::kQBEMarker) return qbeSavedSQL_;
  return sql_->Text();
}

void TOracleDataSet::SetSQLQuietly(const std::string& text) {
  // The assignment must not reopen the dataset (SqlChanged): the handler
  // is taken off meanwhile and given back on every path.
  struct HandlerFrame {
    TStringList& sql;
    TNotifyEvent handler;
    ~HandlerFrame() { sql.SetOnChange(std::move(handler)); }
  } frame{*sql_, sql_->OnChange()};
  sql_->SetOnChange(nullptr);
  sql_->SetText(text);
  InternalQuery().SetSQL(sql_.get());
}

}  // namespace vorn
