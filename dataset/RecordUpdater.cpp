// TOracleDataSet: editing, posting, cancelling and deleting records, and
// the statements that write them. See RecordUpdater.h.
#include "RecordUpdater.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "DataSetBlobs.h"
#include "DataSetRecords.h"
#include "FieldValues.h"
#include "RecordList.h"
#include "WorkQueries.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/host/BlobFields.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"
#include "vorn/host/TextUtils.h"
#include "vorn/host/UIServices.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn {

using namespace record_sql;

namespace {

bool IsLOBType(int type) {
  return type == otCLOB || type == otBLOB || type == otBFile;
}

}  // namespace

// --- Framework operations ---

void TOracleDataSet::Post() {
  if (qbeMode_) throw Exception("Operation not allowed in QBE mode");
  TDataSet::Post();
}

bool TOracleDataSet::GetCanModify() const {
  if (qbeMode_) return true;
  if (!Active()) return false;
  // A record is found again by its rowid, or the application writes it.
  if (!hasRowId_ && !onApplyRecord_) return false;
  if (readOnly_) return false;
  return MasterAllowsModification();
}

void TOracleDataSet::InternalEdit() {
  TRecordBuffer stored = ListRecord();
  if (stored == nullptr) return;
  const bool refresh = (refreshOptions_ & roBeforeEdit) != 0;
  const bool immediate = lockingMode_ == lmLockImmediate || lockingMode_ == lmCheckImmediate;
  if ((!immediate && !refresh) || HasChangeLogItem(stored)) return;
  const bool lock = lockingMode_ == lmLockImmediate;
  const bool check = immediate && !refresh;
  const bool useQuerySQL = refresh && (refreshOptions_ & roAllFields) != 0;
  if (LockRefreshCheck(lock, check, stored, useQuerySQL, refresh)) {
    // The edit starts from the values just read; blob values are never
    // refreshed, and the calculated fields are computed again by Edit.
    std::memcpy(DataSlot(ActiveBuffer(), 0), DataSlot(stored, 0),
                static_cast<size_t>(dataAreaSize_));
  }
}

void TOracleDataSet::InternalPost() {
  if (qbeMode_) throw Exception("Operation not allowed in QBE mode");
  const bool modified = Modified();
  try {
    switch (State()) {
      case dsEdit:
        if (cachedUpdates_) CheckRecordConstraints();
        PostRecord();
        break;
      case dsInsert:
        ApplySequenceOnPost();
        if (cachedUpdates_) CheckRecordConstraints();
        InternalAddRecord(ActiveBuffer(), false);
        PassRecordIdToDetails();
        break;
      default:
        ShowMessage("Bug in InternalPost");
        break;
    }
  } catch (...) {
    SetModified(modified);
    throw;
  }
  SetModified(modified);
}

void TOracleDataSet::InternalAddRecord(TRecordBuffer buffer, bool append) {
  if (buffer != ActiveBuffer()) throw Exception("InternalAddRecord: b <> buffer");
  if (append) InternalLast();
  PostRecord();
}

void TOracleDataSet::InternalCancel() {
  // The example record of QBE mode was never a record action.
  if (qbeMode_) return;
  if (lockingMode_ != lmLockImmediate || cachedUpdates_ || !commitOnPost_) return;
  TOracleSession* session = Session();
  if (session == nullptr) return;
  // The lock taken at Edit lasts until the transaction ends.
  try {
    session->Rollback();
  } catch (const Exception& error) {
    DatabaseError(error.Message());
  }
}

void TOracleDataSet::InternalDelete() {
  if (qbeMode_) throw Exception("Operation not allowed in QBE mode");
  TRecordBuffer stored = ListRecord();
  const bool applying = ApplyingChangeLog();
  // A logged delete is applied although its record has left the list.
  if (stored == nullptr && !applying) return;
  bool locked = false;
  try {
    if (applying || !cachedUpdates_) {
      if (lockingMode_ == lmCheckImmediate || lockingMode_ == lmLockDelayed ||
          (lockingMode_ == lmLockImmediate && !cachedUpdates_)) {
        locked = true;
        LockRefreshCheck(true, true, nullptr, false, false);
      }
      DeleteFromDatabase();
      CommitAfterPost();
    } else if ((lockingMode_ == lmLockImmediate || lockingMode_ == lmCheckImmediate) &&
               !HasChangeLogItem(stored)) {
      LockRefreshCheck(lockingMode_ == lmLockImmediate, true, nullptr, false, false);
    }
  } catch (const Exception& error) {
    if (lockingMode_ != lmNone && locked) {
      try {
        RollbackToLockPoint();
      } catch (const Exception&) {
        // The failure being reported says more than the rollback's.
      }
    }
    const auto* oracle = dynamic_cast<const EOracleError*>(&error);
    if (oracle == nullptr) throw;
    RaiseRecordError('D', oracle->ErrorCode(), oracle->Message());
  }
  if (!applying) RemoveDeletedRecord();
}

// --- Deleting ---

void TOracleDataSet::DeleteFromDatabase() {
  std::string unused;
  if (RaiseApplyRecord('D', unused)) return;
  const std::string rowId = CurrentRowId();
  RequireRowId(rowId, "A delete");
  TGeneratedStatement statement;
  statement.Text = "DELETE FROM " + UpdatingTableName() + " WHERE ROWID = :ZUQ__ROWID";
  statement.Declare(kRowIdVariable, otString);
  TOracleQuery& query = PrepareWorkQuery(statement, false);
  query.SetVariable(kRowIdVariable, rowId);
  query.Execute();
  if (query.RowsProcessed() == 0) RaiseRecordError('D', 0, kRecordDeleted);
}

void TOracleDataSet::RemoveDeletedRecord() {
  TRecordBuffer stored = records_->VisibleAt(currentRecord_);
  LogChange(stored, nullptr, currentRecord_, HeaderOf(stored).RecordId, 'D');
  // The window's copy of the record shares its blob values, which go with
  // it.
  if (TBlobList* blobs = HeaderOf(stored).Blobs) {
    for (int i = 0; i <= BufferCount(); ++i) {
      if (HeaderOf(Buffers(i)).Blobs == blobs) HeaderOf(Buffers(i)).Blobs = nullptr;
    }
  }
  records_->Delete(currentRecord_, true);
  InvalidateRecordCount();
  NotifyMaster();
}

// --- Posting ---

void TOracleDataSet::PostRecord() {
  TRecordBuffer record = GetActiveRecord();
  if (record == nullptr) return;
  const bool applying = ApplyingChangeLog();
  const bool update = applying ? ApplyingKind() == 'U' : State() == dsEdit;
  const bool written = !(cachedUpdates_ && !applying) && !NothingToWrite(update);
  if (written) WriteRecord(update, record);
  if (!(applying && cachedUpdates_)) {
    StorePostedRecord(update, record);
  } else if (!update && ApplyingPlaced() && currentRecord_ >= 0 &&
             currentRecord_ < records_->VisibleCount()) {
    std::memcpy(HeaderOf(records_->VisibleAt(currentRecord_)).RecordRowId,
                HeaderOf(record).RecordRowId, kRowIdSize);
  }
  if (written && (!applying || ApplyingPlaced())) RefreshAfterWrite(update);
}

bool TOracleDataSet::NothingToWrite(bool update) {
  for (TField* field : Fields()) {
    if (field->FieldKind() != fkData) continue;
    if (update ? FieldModified(field) : !FieldIsNullForPost(field)) return false;
    // An insert whose columns all take the server's values still inserts.
    if (!update &&
        (!Trim(field->DefaultExpression()).empty() || !ServerSequenceExpression(*field).empty())) {
      return false;
    }
  }
  return true;
}

void TOracleDataSet::WriteRecord(bool update, TRecordBuffer record) {
  if (update && (lockingMode_ == lmCheckImmediate || lockingMode_ == lmLockDelayed)) {
    LockRefreshCheck(true, true, nullptr, false, false);
  } else {
    SetLockPoint();
  }
  const char action = update ? 'U' : 'I';
  try {
    std::string newRowId;
    if (RaiseApplyRecord(action, newRowId)) {
      if (!update) {
        TRecordHeader& header = HeaderOf(record);
        std::fill(std::begin(header.RecordRowId), std::end(header.RecordRowId), char{0});
        std::memcpy(header.RecordRowId, newRowId.data(),
                    std::min<size_t>(newRowId.size(), kRowIdSize - 1));
      }
    } else {
      RunRecordStatement(update, record);
    }
    CommitAfterPost();
  } catch (const Exception& error) {
    try {
      RollbackToLockPoint();
    } catch (const Exception&) {
      // The failure being reported says more than the rollback's.
    }
    const auto* oracle = dynamic_cast<const EOracleError*>(&error);
    if (oracle == nullptr) throw;
    RaiseRecordError(action, oracle->ErrorCode(), oracle->Message());
  }
}

void TOracleDataSet::RunRecordStatement(bool update, TRecordBuffer record) {
  TOracleSession* session = Session();
  const bool oci8 = session != nullptr && session->UsesOCI8();
  TGeneratedStatement statement;
  std::vector<std::pair<std::string, Variant>> values;
  std::string items;
  std::string columns;
  std::vector<TField*> lobFields;
  for (TField* field : Fields()) {
    if (field->FieldKind() != fkData) continue;
    const int type = BufferTypeOf(field);
    const bool isNull = FieldIsNullForPost(field);
    const std::string& name = field->FieldName();
    std::string value;
    if (update) {
      if (!FieldModified(field)) continue;
      if (!items.empty()) items += ", ";
      if (isNull) {
        items += name + " = NULL";
        continue;
      }
      value = type == otCLOB ? "EMPTY_CLOB()" : IsLOBType(type) ? "EMPTY_BLOB()" : ":" + name;
      items += name + " = " + value;
    } else {
      const std::string sequence = ServerSequenceExpression(*field);
      const std::string defaultExpression = field->DefaultExpression();
      if (isNull && sequence.empty() && Trim(defaultExpression).empty()) continue;
      if (isNull) {
        value = !sequence.empty() ? sequence : defaultExpression;
      } else {
        value = type == otCLOB ? "EMPTY_CLOB()" : IsLOBType(type) ? "EMPTY_BLOB()" : ":" + name;
      }
      if (!columns.empty()) {
        columns += ", ";
        items += ", ";
      }
      columns += name;
      items += value;
      if (isNull) continue;
    }
    if (IsLOBType(type)) {
      lobFields.push_back(field);
      continue;
    }
    statement.Declare(name, type);
    values.emplace_back(name, PostedValue(field, type));
  }
  std::vector<std::string> lines;
  if (update) {
    RequireRowId(CurrentRowId(), "An update");
    lines = {"UPDATE " + UpdatingTableName() + " SET", items, "WHERE ROWID = :ZUQ__ROWID"};
    statement.Declare(kRowIdVariable, otString);
    values.emplace_back(kRowIdVariable, CurrentRowId());
  } else {
    lines = {"INSERT INTO " + UpdatingTableName(), " (" + columns + ")", "VALUES",
             " (" + items + ")"};
  }
  if (!lobFields.empty() || (!update && oci8)) {
    std::string names = "RETURNING ";
    std::string targets = " INTO ";
    if (!update && oci8) {
      names += "ROWID";
      targets += ":ZUQ__ROWID";
      statement.Declare(kRowIdVariable, otString);
      values.emplace_back(kRowIdVariable, Variant());
    }
    for (TField* field : lobFields) {
      if (names.size() > 10) {
        names += ", ";
        targets += ", ";
      }
      names += field->FieldName();
      targets += ":" + field->FieldName();
      statement.Declare(field->FieldName(), BufferTypeOf(field));
    }
    lines.push_back(names + targets);
  }
  statement.Text = JoinLines(lines);
  TOracleQuery& query = PrepareWorkQuery(statement, false);
  for (const auto& [name, value] : values)
    query.SetVariable(name, value);
  ExecuteRecordStatement(query, update, record, lobFields);
}

void TOracleDataSet::ExecuteRecordStatement(TOracleQuery& query, bool update, TRecordBuffer record,
                                            const std::vector<TField*>& lobFields) {
  TOracleSession* session = Session();
  // Each LOB column comes back as a locator the value is written through;
  // the locators live for this statement only, and the query forgets them
  // before they go.
  std::vector<std::unique_ptr<TLOBLocator>> locators;
  struct LocatorRelease {
    TOracleQuery& query;
    const std::vector<TField*>& fields;
    ~LocatorRelease() {
      for (TField* field : fields)
        query.SetComplexVariable(field->FieldName(), nullptr);
    }
  } release{query, lobFields};
  for (TField* field : lobFields) {
    locators.push_back(std::make_unique<TLOBLocator>(session, BufferTypeOf(field)));
    query.SetComplexVariable(field->FieldName(), locators.back().get());
  }
  // In AutoCommit the statement would be committed before the LOB values
  // are written, and the writes would then fail (the row is no longer
  // locked) with the columns already emptied: the statement and its writes
  // are committed together instead, or not at all.
  const bool holdCommit = !lobFields.empty() && session->AutoCommit();
  if (holdCommit) session->SetAutoCommit(false);
  try {
    query.Execute();
    if (update) {
      if (query.RowsProcessed() == 0) RaiseRecordError('U', 0, kRecordLocked);
    } else {
      std::string rowId;
      if (session->TakesODBCRoute() || !Trim(uniqueFields_).empty()) {
        rowId = RowIdByKey();
      } else if (session->UsesOCI8()) {
        rowId = query.GetVariable(kRowIdVariable).AsString();
      } else {
        rowId = query.RowId();
      }
      TRecordHeader& header = HeaderOf(record);
      std::fill(std::begin(header.RecordRowId), std::end(header.RecordRowId), char{0});
      std::memcpy(header.RecordRowId, rowId.data(), std::min<size_t>(rowId.size(), kRowIdSize - 1));
    }
    for (size_t i = 0; i < lobFields.size(); ++i)
      WriteThroughLocator(*locators[i], PostedBlobValue(lobFields[i]));
    if (holdCommit) session->Commit();
  } catch (...) {
    if (holdCommit) {
      try {
        session->Rollback();
      } catch (const Exception&) {
        // The failure being reported says more than the rollback's.
      }
      session->SetAutoCommit(true);
    }
    throw;
  }
  if (holdCommit) session->SetAutoCommit(true);
}

void TOracleDataSet::WriteThroughLocator(TLOBLocator& locator, std::string_view value) {
  if (value.empty()) return;
  if (locator.LOBType() == otCLOB && Session()->Preferences()->ConvertCRLF()) {
    // The text was read with CR LF line breaks; the server keeps bare line
    // feeds.
    std::string text(value);
    std::erase(text, '\r');
    locator.Write(text.data(), static_cast<int64_t>(text.size()));
    return;
  }
  locator.Write(value.data(), static_cast<int64_t>(value.size()));
}

void TOracleDataSet::StorePostedRecord(bool update, TRecordBuffer record) {
  TRecordBuffer stored = nullptr;
  if (update) {
    stored = records_->VisibleAt(currentRecord_);
    LogChange(stored, record, currentRecord_, HeaderOf(stored).RecordId, 'U');
    // The stored record keeps its own blob values and its place in the
    // filtered list.
    TBlobList* blobs = HeaderOf(stored).Blobs;
    const uint8_t filtered = HeaderOf(stored).InFilteredList;
    std::memcpy(stored, record, static_cast<size_t>(bufferSize_));
    HeaderOf(stored).Blobs = blobs;
    HeaderOf(stored).InFilteredList = filtered;
  } else {
    const int count = records_->VisibleCount();
    const int position = std::clamp(currentRecord_, 0, count);
    stored = records_->ReserveSlot();
    std::memcpy(stored, record, static_cast<size_t>(bufferSize_));
    TRecordHeader& header = HeaderOf(stored);
    header.Blobs = nullptr;
    header.InFilteredList = 0;
    header.RecordId = ++nextRecordId_;
    header.BookmarkFlag = bfCurrent;
    HeaderOf(record).RecordId = header.RecordId;
    records_->Insert(position, stored, Filtered());
    currentRecord_ = std::min(position, records_->VisibleCount() - 1);
    InvalidateRecordCount();
  }
  if (hasBlobFields_) StorePostedBlobs(stored);
  if (!update) LogChange(nullptr, stored, currentRecord_, HeaderOf(stored).RecordId, 'I');
}

void TOracleDataSet::StorePostedBlobs(TRecordBuffer stored) {
  TRecordHeader& header = HeaderOf(stored);
  if (header.Blobs == nullptr) {
    header.Blobs = new TBlobList;
    for (const TFetchField& column : fetchFields_) {
      if (column.Blob) header.Blobs->Add()->SetBlobField(column.Field);
    }
  }
  for (int i = 0; i < editBlobs_->Count(); ++i) {
    const TOracleBlob& edited = *editBlobs_->Items(i);
    const auto* field = dynamic_cast<const TBlobField*>(edited.BlobField());
    if (field == nullptr || !field->Modified()) continue;
    if (TOracleBlob* blob = header.Blobs->BlobByField(field)) blob->SetValue(edited.Value());
  }
}

void TOracleDataSet::RefreshAfterWrite(bool update) {
  bool refresh = false;
  if (update) {
    refresh = (refreshOptions_ & roAfterUpdate) != 0;
  } else {
    refresh = (refreshOptions_ & roAfterInsert) != 0 || sequenceField_->ApplyMoment() == amOnServer;
    for (TField* field : Fields())
      refresh = refresh || !Trim(field->DefaultExpression()).empty();
  }
  if (!refresh) return;
  const int index = std::max(currentRecord_, 0);
  if (index >= records_->VisibleCount()) return;
  TRecordBuffer stored = records_->VisibleAt(index);
  // A record without a rowid (its key named no row) cannot be read back,
  // unless OnApplyRecord does it; it has been written all the same.
  if (Trim(RecordRowIdOf(stored)).empty() && !onApplyRecord_) return;
  LockRefreshCheck(false, false, stored, (refreshOptions_ & roAllFields) != 0, true);
}

// --- Field values as they are posted ---

int TOracleDataSet::BufferTypeOf(const TField* field) const {
  for (const TFetchField& column : fetchFields_) {
    if (column.Field == field) return column.BufferType;
  }
  // A field of no column (calculated, lookup) binds as its data type says.
  return VariableTypeOf(*field);
}

std::string_view TOracleDataSet::PostedBlobValue(TField* field) {
  const auto* blobField = dynamic_cast<const TBlobField*>(field);
  if (blobField != nullptr && blobField->Modified() && !ApplyingChangeLog()) {
    const TOracleBlob* edited = editBlobs_->BlobByField(field);
    return edited != nullptr ? edited->Value() : std::string_view();
  }
  TRecordBuffer record = ApplyingChangeLog() ? ApplyingRecord(dsBrowse) : GetActiveRecord();
  const TBlobList* blobs = record != nullptr ? HeaderOf(record).Blobs : nullptr;
  const TOracleBlob* own = blobs != nullptr ? blobs->BlobByField(field) : nullptr;
  return own != nullptr ? own->Value() : std::string_view();
}

Variant TOracleDataSet::PostedValue(TField* field, int type) {
  if (!field->IsBlob()) return field->AsVariant();
  const std::string_view value = PostedBlobValue(field);
  if (type == otLongRaw) return Variant::FromBytes(value.data(), value.size());
  return Variant(value);
}

bool TOracleDataSet::FieldIsNullForPost(TField* field) {
  if (field->IsBlob()) return PostedBlobValue(field).empty();
  if (field->DataType() == ftString) return TrimRight(field->AsString()).empty();
  return field->IsNull();
}

bool TOracleDataSet::FieldModified(TField* field) {
  if (field->IsBlob()) {
    if (ApplyingChangeLog()) return LoggedBlobModified(field);
    const auto* blobField = dynamic_cast<const TBlobField*>(field);
    return blobField != nullptr && blobField->Modified();
  }
  const bool trim = Session() != nullptr && Session()->Preferences()->TrimStringFields();
  auto isNull = [&](const Variant& value) {
    if (value.IsEmpty() || value.IsNull()) return true;
    if (!VarIsStr(value)) return false;
    return (trim ? TrimRight(value.AsString()) : value.AsString()).empty();
  };
  const Variant old = field->OldValue();
  const Variant current = field->AsVariant();
  const bool oldNull = isNull(old);
  const bool currentNull = isNull(current);
  if (oldNull || currentNull) return oldNull != currentNull;
  if (VarIsStr(old) && VarIsStr(current)) {
    return TrimRight(old.AsString()) != TrimRight(current.AsString());
  }
  return !(old == current);
}

}  // namespace vorn
