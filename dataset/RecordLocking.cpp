// TOracleDataSet: the work queries, locks, checks and refreshes of single
// records, the lock savepoint, rowids by key and the texts of record
// failures. See RecordUpdater.h.
#include <algorithm>
#include <cmath>

#include "DataSetRecords.h"
#include "FieldValues.h"
#include "RecordList.h"
#include "RecordUpdater.h"
#include "WorkQueries.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn {

using namespace record_sql;

// The state switch of a refresh: dsNewValue writes into the record being
// refreshed, and controls hear nothing meanwhile.
class TOracleDataSet::TempState {
 public:
  TempState(TOracleDataSet& dataSet, TDataSetState state)
      : dataSet_(dataSet), saved_(dataSet.SetTempState(state)) {}
  ~TempState() { dataSet_.RestoreState(saved_); }
  TempState(const TempState&) = delete;
  TempState& operator=(const TempState&) = delete;

 private:
  TOracleDataSet& dataSet_;
  TDataSetState saved_;
};

// --- Work queries ---

TOracleQuery& TOracleDataSet::PrepareWorkQuery(const TGeneratedStatement& statement, bool noDebug) {
  if (workQueries_ == nullptr) workQueries_ = std::make_unique<TWorkQueries>(this);
  TOracleQuery& query = workQueries_->For(statement);
  workQuery_ = &query;
  query.SetDebug(Debug() && !noDebug);
  query.SetSession(InternalQuery().Session());
  query.SetCursor(InternalQuery().Cursor());
  query.SetReadBuffer(1);
  return query;
}

// --- Keys ---

std::string TOracleDataSet::RowIdByKey() {
  const std::vector<std::string> keys = KeyFields();
  if (keys.empty()) return "";
  TGeneratedStatement statement;
  std::vector<std::string> lines{"select rowid from " + UpdatingTableName() + " where"};
  std::vector<Variant> values;
  const bool inserting = State() == dsInsert || (ApplyingChangeLog() && ApplyingKind() != 'U');
  for (size_t i = 0; i < keys.size(); ++i) {
    TField* field = FindField(keys[i]);
    if (field == nullptr) return "";
    Variant value = inserting ? field->AsVariant() : field->OldValue();
    const bool isNull = IsNullValue(value) || (field->DataType() == ftString && VarIsStr(value) &&
                                               value.AsString().empty());
    std::string line = (i > 0 ? "and " : "") + keys[i];
    if (isNull) {
      line += " is null";
    } else {
      line += " = :" + keys[i];
      statement.Declare(keys[i], BufferTypeOf(field));
      values.push_back(std::move(value));
    }
    lines.push_back(std::move(line));
  }
  statement.Text = JoinLines(lines);
  TOracleQuery& query = PrepareWorkQuery(statement, true);
  for (size_t i = 0; i < values.size(); ++i)
    query.SetVariable(statement.Variables[i].first, values[i]);
  query.Execute();
  if (query.Eof()) throw Exception("Error determining ROWID: no record found");
  std::string rowId = query.FieldAsString(0);
  query.Next();
  if (!query.Eof()) throw Exception("Error determining ROWID: more than one record found");
  return rowId;
}

// --- Savepoint and transaction ---

bool TOracleDataSet::UsesLockPoint() const {
  const TOracleSession* session = Session();
  if (session == nullptr || cachedUpdates_) return false;
  return (!session->TakesODBCRoute() || session->OCAInstalled()) && !session->AutoCommit();
}

void TOracleDataSet::SetLockPoint() {
  if (UsesLockPoint()) Session()->Savepoint(kLockPoint);
}

void TOracleDataSet::RollbackToLockPoint() {
  if (cachedUpdates_ || Session() == nullptr) return;
  if (UsesLockPoint()) {
    Session()->RollbackToSavepoint(kLockPoint);
  } else if (commitOnPost_) {
    Session()->Rollback();
  }
}

void TOracleDataSet::CommitAfterPost() {
  TOracleSession* session = Session();
  if (session != nullptr && !cachedUpdates_ && commitOnPost_ && !session->AutoCommit()) {
    session->Commit();
  }
}

// --- Applying and messages ---

bool TOracleDataSet::RaiseApplyRecord(char action, std::string& newRowId) {
  bool applied = false;
  if (onApplyRecord_) onApplyRecord_(this, action, applied, newRowId);
  return applied;
}

void TOracleDataSet::RaiseRecordError(char action, int errorCode, const std::string& text) {
  DatabaseError(TranslateMessage(action, errorCode, text));
}

void TOracleDataSet::RequireRowId(const std::string& rowId, const std::string& what) {
  if (!Trim(rowId).empty()) return;
  throw Exception(what + " cannot be performed without a rowid.\r\n" +
                  "Provide a rowid in the query or handle this action in the OnApplyRecord event");
}

// --- Lock, refresh and check ---

TGeneratedStatement TOracleDataSet::LockStatement(bool lock, bool useQuerySQL) {
  TGeneratedStatement statement;
  statement.StringFieldsOnly = StringFieldsOnly();
  if (!useQuerySQL) {
    statement.Text = RowStatement(UpdatingTableName(), lock);
    statement.Declare(kRowIdVariable, otString);
    return statement;
  }
  std::string sql = sql_->Text();
  if (sql.find(kQBEMarker) != std::string::npos) sql = SQLBeforeQBE();
  std::string lockColumn;
  if (lock) {
    for (TField* field : Fields()) {
      if (field->FieldKind() != fkData) continue;
      lockColumn = field->FieldName();
      break;
    }
    if (lockColumn.empty()) throw Exception(Name() + ": No data fields");
  }
  statement.Text = RefreshStatement(sql, UpdatingTableAlias(), lockColumn);
  statement.Declare(kRowIdVariable, otString);
  // The dataset's own variables that the narrowed statement still uses.
  statement.DeclareUsedVariables(*Variables());
  return statement;
}

bool TOracleDataSet::LockRefreshCheck(bool lock, bool check, TRecordBuffer record, bool useQuerySQL,
                                      bool refresh) {
  const std::string rowId = record != nullptr ? RecordRowIdOf(record) : CurrentRowId();
  bool lockPoint = false;
  try {
    if (lock) {
      SetLockPoint();
      lockPoint = true;
    }
    std::string unused;
    if (refresh) {
      check = false;
      TempState newValues(*this, dsNewValue);
      TRecordBuffer saved = lockRecord_;
      lockRecord_ = record;
      const bool applied = RaiseApplyRecord('R', unused);
      lockRecord_ = saved;
      if (applied) refresh = false;
    }
    if (lock && RaiseApplyRecord('L', unused)) {
      lock = false;
      check = false;
    }
    if (check && RaiseApplyRecord('C', unused)) check = false;
    if (!lock && !check && !refresh) return false;
    RequireRowId(rowId, "A lock, refresh or check");
    const TGeneratedStatement statement = LockStatement(lock, useQuerySQL);
    TOracleQuery& query = PrepareWorkQuery(statement, false);
    query.SetVariable(kRowIdVariable, rowId);
    for (size_t i = 1; i < statement.Variables.size(); ++i) {
      const std::string& name = statement.Variables[i].first;
      query.SetVariable(name, GetVariable(name));
    }
    query.Execute();
    if ((lock || check) && query.Eof()) RaiseRecordError('L', 0, kRecordDeleted);
    bool changed = false;
    if (query.Eof() || (record == nullptr && ListRecord() == nullptr && !ApplyingChangeLog())) {
      return false;
    }
    // A given record is the one compared and refreshed; otherwise old
    // values are read as field access reads them.
    TRecordBuffer saved = lockRecord_;
    if (record != nullptr) lockRecord_ = record;
    try {
      if (refresh) changed = RefreshFromQuery(query);
      // The lock taken is released below, with every failure's.
      if (check && RecordDiffers(query)) RaiseRecordError('L', 0, kRecordChanged);
    } catch (...) {
      lockRecord_ = saved;
      throw;
    }
    lockRecord_ = saved;
    return changed;
  } catch (const Exception& error) {
    if (lockPoint) {
      try {
        RollbackToLockPoint();
      } catch (const Exception&) {
        // The failure being reported says more than the rollback's.
      }
    }
    const auto* oracle = dynamic_cast<const EOracleError*>(&error);
    if (oracle == nullptr) throw;
    const int code = oracle->ErrorCode();
    RaiseRecordError('L', code, code == kResourceBusy ? kRecordLocked : oracle->Message());
  }
}

bool TOracleDataSet::RefreshFromQuery(TOracleQuery& query) {
  bool changed = false;
  if (!query.Eof()) {
    const bool trim = Session() != nullptr && Session()->Preferences()->TrimStringFields();
    for (TField* field : Fields()) {
      if (field->IsBlob()) continue;
      if (field->FieldKind() != fkData && field->FieldKind() != fkInternalCalc) continue;
      const int column = query.FieldIndex(field->FieldName());
      if (column < 0) continue;
      Variant value = query.Field(column);
      if (ValuesEqual(field, value)) continue;
      changed = true;
      TempState newValues(*this, dsNewValue);
      if (IsNullValue(value)) {
        field->Clear();
      } else if (field->DataType() == ftString && trim && VarIsStr(value)) {
        field->SetAsVariant(TrimRight(value.AsString()));
      } else {
        field->SetAsVariant(value);
      }
    }
  }
  FireEvent(afterRefreshRecord_);
  return changed;
}

bool TOracleDataSet::RecordDiffers(TOracleQuery& query) {
  for (TField* field : Fields()) {
    if (field->FieldKind() != fkData || field->IsBlob()) continue;
    const int column = query.FieldIndex(field->FieldName());
    if (column >= 0 && !ValuesEqual(field, query.Field(column))) return true;
  }
  return false;
}

bool TOracleDataSet::ValuesEqual(TField* field, const Variant& value) {
  const Variant old = field->OldValue();
  const bool oldNull = IsNullValue(old) || (field->DataType() == ftString && VarIsStr(old) &&
                                            TrimRight(old.AsString()).empty());
  const bool newNull =
      IsNullValue(value) || (VarIsStr(value) && TrimRight(value.AsString()).empty());
  if (oldNull || newNull) return oldNull && newNull;
  switch (BufferTypeOf(field)) {
    case otFloat: {
      const double stored = old.AsFloat();
      const double database = value.AsFloat();
      if (stored == 0) return std::fabs(database) < 1e-10;
      return std::fabs((database - stored) / stored) < 1e-10;
    }
    case otString: {
      std::string database = value.AsString();
      const size_t size = static_cast<size_t>(std::max(field->DataSize() - 1, 0));
      if (database.size() > size) database.resize(size);
      return TrimRight(database) == TrimRight(old.AsString());
    }
    case otDate:
      // A second, as a date-time's fraction of a day, with room for the
      // rounding of milliseconds.
      return std::fabs(value.AsDateTime() - old.AsDateTime()) <= 1.0 / 86400 + 1e-9;
    default:
      return old == value;
  }
}

}  // namespace vorn
