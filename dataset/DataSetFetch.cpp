// TOracleDataSet: field definitions from the select list, opening, running
// the query, fetching rows into the record list, refreshing and closing.
// The filter is in DataSetFilter.cpp.
#include <algorithm>
#include <cstring>

#include "DataSetBlobs.h"
#include "DataSetRecords.h"
#include "RecordList.h"
#include "WorkQueries.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/filter/Expression.h"
#include "vorn/host/Application.h"
#include "vorn/host/DateTimeFields.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"
#include "vorn/host/NumericFields.h"
#include "vorn/host/Screen.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn {

namespace {

// The database type codes of a rowid column.
constexpr int kRowIdType = 11;
constexpr int kExtendedRowIdType = 104;

bool IsRowIdType(int oracleType) {
  return oracleType == kRowIdType || oracleType == kExtendedRowIdType;
}

}  // namespace

// --- Field definitions ---

void TOracleDataSet::InternalInitFieldDefs() {
  FieldDefs().Clear();
  ChooseFetchQuery();
  fetchQuery_->Describe();
  FindRowIdColumn();
  fieldInfo_.clear();
  fieldInfo_.emplace_back();
  AddFieldDefs();
}

void TOracleDataSet::ChooseFetchQuery() {
  TOracleQuery& query = InternalQuery();
  fetchQuery_ = &query;
  cursorExecuted_ = false;
  TVariables& variables = *query.Variables();
  for (int i = 0; i < variables.Count(); ++i) {
    const TVariableData& variable = *variables.Items(i);
    if (variable.TypeCode() != otCursor) continue;
    // A cursor dataset: the block opens the cursor, a second query reads it.
    if (cursorQuery_ == nullptr) cursorQuery_ = new TOracleQuery(this);
    cursorQuery_->SetReadBuffer(query.ReadBuffer());
    cursorQuery_->SetSession(query.Session());
    cursorQuery_->SetOptimize(query.Optimize());
    cursorQuery_->SetCursor(query.Cursor());
    cursorQuery_->SetStringFieldsOnly(query.StringFieldsOnly());
    query.SetComplexVariable(variable.Name(), cursorQuery_);
    fetchQuery_ = cursorQuery_;
    query.Execute();
    cursorExecuted_ = true;
    return;
  }
}

void TOracleDataSet::FindRowIdColumn() {
  rowIdColumn_ = -1;
  const int count = fetchQuery_->FieldCount();
  for (int i = 0; i < count && rowIdColumn_ < 0; ++i) {
    if (SameText(fetchQuery_->FieldName(i), "ROWID")) rowIdColumn_ = i;
  }
  for (int i = 0; i < count && rowIdColumn_ < 0; ++i) {
    if (IsRowIdType(fetchQuery_->FieldOracleType(i))) rowIdColumn_ = i;
  }
  hasRowId_ = rowIdColumn_ >= 0;
}

void TOracleDataSet::AddFieldDefs() {
  const TSessionPreferences* preferences =
      Session() != nullptr ? Session()->Preferences() : nullptr;
  int smallIntPrecision = preferences != nullptr ? preferences->SmallIntPrecision() : -1;
  if (smallIntPrecision == 0) smallIntPrecision = 4;
  const int maxStringFieldSize = preferences != nullptr ? preferences->MaxStringFieldSize() : 0;
  int fieldNo = 1;
  for (int i = 0; i < fetchQuery_->FieldCount(); ++i) {
    if (i == rowIdColumn_) continue;
    const std::string column = fetchQuery_->FieldName(i);
    TFieldType type = ftUnknown;
    int size = 0;
    switch (fetchQuery_->FieldType(i)) {
      case otInteger:
        type = fetchQuery_->FieldPrecision(i) > smallIntPrecision ? ftInteger : ftSmallint;
        break;
      case otFloat:
        type = ftFloat;
        break;
      case otString:
        size = std::max(fetchQuery_->FieldSize(i), 1);
        type = ftString;
        if (maxStringFieldSize != 0 && maxStringFieldSize < size) {
          type = ftMemo;
          size = 0;
        }
        break;
      case otLong:
      case otCLOB:
        type = ftMemo;
        break;
      case otDate:
        type = ftDateTime;
        break;
      case otLongRaw:
      case otBLOB:
      case otBFile:
        type = ftBlob;
        break;
      case otObject:
        ShowMessage(column + ": Objects will be supported in version 3.5");
        continue;
      case otReference:
        ShowMessage(column + ": References will be supported in version 3.5");
        continue;
      case otCursor:
        ShowMessage(column + ": Sub-queries not supported in dataset, use TOracleQuery instead");
        continue;
      default:
        continue;
    }
    std::string name = column;
    for (int suffix = 1; FieldDefs().IndexOf(name) >= 0; ++suffix)
      name = column + "_" + std::to_string(suffix);
    TFieldDef* def = FieldDefs().Add(name, type, size, !fetchQuery_->FieldOptional(i));
    def->SetFieldNo(fieldNo++);
    fieldInfo_.emplace_back();
    fieldInfo_.back().ColumnIndex = i;
  }
}

// --- Opening ---

void TOracleDataSet::InternalOpen() {
  currentRecord_ = -1;
  SetBookmarkSize(kBookmarkSize);
  InitFieldDefs();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  if (DefaultFields()) ApplyDictionaryFieldSettings();
  FillFieldInfo();
  editBlobs_ = std::make_unique<TBlobList>();
  for (TField* field : Fields()) {
    if (field->IsBlob() && field->FieldNo() > 0) editBlobs_->Add()->SetBlobField(field);
  }
  ComputeLayout();
  BuildFetchPlan();
  records_ = std::make_unique<TRecordDataList>(bufferSize_, ReadBuffer(), hasBlobFields_);
  records_->SetFiltering(Filtered());
  if (cachedUpdates_ && !(ComponentState() & csDesigning) && !hasRowId_) {
    throw Exception("CachedUpdates requires a rowid!");
  }
  masterRecordId_ = -1;
  // Found anew on every open: none unless the session takes the ODBC route
  // or UniqueFields is set.
  DetermineKeyFields();
  if (!Filter().empty()) filterExpression_ = ParseFilter(Filter(), FilterOptions());
  if (!qbeMode_) ExecuteQuery();
  InvalidateRecordCount();
}

void TOracleDataSet::FillFieldInfo() {
  for (TField* field : Fields()) {
    const int fieldNo = field->FieldNo();
    if (fieldNo <= 0 || fieldNo >= static_cast<int>(fieldInfo_.size())) continue;
    TExtraFieldInfo& info = fieldInfo_[static_cast<size_t>(fieldNo)];
    info.BoundField = field;
    info.ReadOnly = field->ReadOnly();
    info.Required = field->Required();
    info.QBEVariable = "zuq__qbe" + std::to_string(fieldNo);
    info.QBEValue = Null();
    ApplyQBEFieldDef(info, *field);
  }
}

void TOracleDataSet::ComputeLayout() {
  dataAreaSize_ = 0;
  for (TField* field : Fields()) {
    const int fieldNo = field->FieldNo();
    if (fieldNo <= 0 || fieldNo >= static_cast<int>(fieldInfo_.size())) continue;
    fieldInfo_[static_cast<size_t>(fieldNo)].Offset = dataAreaSize_;
    dataAreaSize_ += field->DataSize() + 1;
  }
  const int size = kRecordHeaderSize + dataAreaSize_ + CalcFieldsSize();
  bufferSize_ = (size + 7) / 8 * 8;
}

void TOracleDataSet::BuildFetchPlan() {
  fetchFields_.clear();
  hasBlobFields_ = false;
  for (TField* field : Fields()) {
    const int fieldNo = field->FieldNo();
    if (fieldNo <= 0 || fieldNo >= static_cast<int>(fieldInfo_.size())) continue;
    const TExtraFieldInfo& info = fieldInfo_[static_cast<size_t>(fieldNo)];
    TFetchField column;
    column.Field = field;
    column.Column = info.ColumnIndex;
    column.BufferType = fetchQuery_->FieldType(info.ColumnIndex);
    column.DataType = field->DataType();
    column.SlotOffset = kRecordHeaderSize + info.Offset;
    column.Size = std::max(field->DataSize() - 1, 0);
    column.Blob = field->IsBlob();
    hasBlobFields_ = hasBlobFields_ || column.Blob;
    fetchFields_.push_back(column);
  }
}

// --- Running the query ---

void TOracleDataSet::ExecuteQuery() {
  FireEvent(beforeQuery_);
  try {
    ClearRecords();
    NotifyMaster();
    MarkChangeLogUnplaced();
    nextRecordId_ = 0;
    if (HasMaster() && !MasterHasUsableRecord()) {
      masterRecordId_ = MasterCurrentRecordId();
    } else {
      BindMasterValues();
      if (fetchQuery_ != query_ && !cursorExecuted_) query_->Execute();
      cursorExecuted_ = false;
      const TSessionPreferences* preferences =
          Session() != nullptr ? Session()->Preferences() : nullptr;
      trimStrings_ = preferences != nullptr && preferences->TrimStringFields();
      convertLineBreaks_ = preferences == nullptr || preferences->ConvertCRLF();
      fetchQuery_->Execute();
      firstRowFetched_ = true;
      masterRecordId_ = MasterCurrentRecordId();
      TCursorGuard wait(Cursor());
      while (queryAllRecords_ && FetchRecord()) {
      }
    }
  } catch (...) {
    FireEvent(afterQuery_);
    throw;
  }
  FireEvent(afterQuery_);
}

void TOracleDataSet::FetchAll() {
  TCursorGuard wait(Cursor());
  while (FetchRecord()) {
  }
}

// --- Fetching ---

bool TOracleDataSet::FetchRecord() {
  if (qbeMode_ || records_ == nullptr) return false;
  for (;;) {
    TRecordBuffer record = records_->ReserveSlot();
    InitRecordHeader(record, bufferSize_);
    // A stored record has no calculated values: the filter must read them
    // as null, not as whatever the slot held.
    if (CalcFieldsSize() > 0) ClearCalcFields(record);
    fetchBuffer_ = record;
    if (cachedUpdates_) {
      const TLogMerge merged = MergeLoggedInsert(record);
      if (merged == TLogMerge::Shown) return true;
      // A merged insert the filter hides took the slot.
      if (merged == TLogMerge::Hidden) continue;
    }
    if (HasMaster() && !MasterHasUsableRecord()) return false;
    if (!firstRowFetched_) fetchQuery_->Next();
    firstRowFetched_ = false;
    if (fetchQuery_->Eof()) {
      if (cachedUpdates_ && LoggedInsertsRemain()) continue;
      return false;
    }
    try {
      ReadRow(record);
    } catch (...) {
      DiscardSlot(record);
      throw;
    }
    if (cachedUpdates_ && hasRowId_ && SkipLoggedRow(record)) {
      DiscardSlot(record);
      continue;
    }
    records_->Append(record);
    TRecordHeader& header = HeaderOf(record);
    header.RecordId = ++nextRecordId_;
    header.BookmarkFlag = bfCurrent;
    bool visible = true;
    if (Filtered()) {
      visible = FilterRecord(record);
      if (visible) records_->AppendFiltered(record);
    }
    if (visible && records_->VisibleCount() == 1) NotifyMaster();
    if (afterFetchRecord_) {
      switch (RaiseAfterFetchRecord(visible)) {
        case fraContinue:
          break;
        case fraPause:
          return false;
        case fraStop:
          fetchQuery_->MarkEof();
          break;
        case fraCancel:
          fetchQuery_->MarkEof();
          ClearRecords();
          visible = false;
          break;
      }
    }
    if (visible) return true;
  }
}

TAfterFetchRecordAction TOracleDataSet::RaiseAfterFetchRecord(bool visible) {
  TAfterFetchRecordAction action = fraContinue;
  // The handler sees the record just fetched as the current one.
  struct CurrentFrame {
    int& current;
    int saved;
    ~CurrentFrame() { current = saved; }
  } frame{currentRecord_, currentRecord_};
  currentRecord_ = records_->VisibleCount() - 1;
  try {
    afterFetchRecord_(this, visible, action);
  } catch (const Exception&) {
    Application().HandleException(std::current_exception(), this);
    action = fraCancel;
  }
  return action;
}

void TOracleDataSet::ReadRow(TRecordBuffer record) {
  TOracleQuery& query = *fetchQuery_;
  TRecordHeader& header = HeaderOf(record);
  for (const TFetchField& column : fetchFields_) {
    std::byte* slot = record + column.SlotOffset;
    if (column.Blob) {
      if (header.Blobs == nullptr) header.Blobs = new TBlobList;
      header.Blobs->Add()->SetBlobField(column.Field);
    }
    if (query.FieldIsNull(column.Column)) {
      slot[0] = std::byte{1};
      continue;
    }
    slot[0] = std::byte{0};
    switch (column.BufferType) {
      case otInteger: {
        int32_t value = 0;
        std::memcpy(&value, query.FieldValueAddress(column.Column), sizeof value);
        StoreNativeInteger(*column.Field, value, slot + 1);
        break;
      }
      case otFloat:
        std::memcpy(slot + 1, query.FieldValueAddress(column.Column), sizeof(double));
        break;
      case otString:
        ReadText(column, record);
        break;
      case otDate:
        DateTimeToNative(column.DataType, query.FieldAsDate(column.Column), slot + 1);
        break;
      case otLong:
      case otLongRaw:
      case otCLOB:
      case otBLOB:
      case otBFile:
        // The whole value, read through the column's locator for a LOB.
        ReadLong(column, record);
        break;
      default:
        throw Exception("Unexpected datatype: " + column.Field->FieldName());
    }
  }
  if (rowIdColumn_ >= 0 && !query.FieldIsNull(rowIdColumn_)) {
    std::string rowId;
    if (query.FieldType(rowIdColumn_) == otString) {
      const auto* text = static_cast<const char*>(query.FieldValueAddress(rowIdColumn_));
      rowId.assign(text, strnlen(text, kRowIdSize - 1));
    } else {
      rowId = query.FieldAsString(rowIdColumn_);
    }
    std::memcpy(header.RecordRowId, rowId.data(), std::min<size_t>(rowId.size(), kRowIdSize - 1));
  }
}

void TOracleDataSet::ReadText(const TFetchField& column, TRecordBuffer record) {
  TOracleQuery& query = *fetchQuery_;
  const auto* text = static_cast<const char*>(query.FieldValueAddress(column.Column));
  std::string_view value(text, strnlen(text, query.FieldData(column.Column)->ElementSize()));
  // Line breaks read back become CR LF as the query's accessors give them.
  std::string converted;
  if (convertLineBreaks_ && value.find('\n') != std::string_view::npos) {
    converted = query.FieldAsString(column.Column);
    value = converted;
  }
  if (trimStrings_) {
    while (!value.empty() && value.back() == ' ')
      value.remove_suffix(1);
  }
  std::byte* slot = record + column.SlotOffset;
  if (column.Blob) {
    HeaderOf(record).Blobs->BlobByField(column.Field)->SetValue(value);
    return;
  }
  if (value.size() > static_cast<size_t>(column.Size) && !converted.empty()) {
    // The CR LF text is longer than the slot: keep the text as the server
    // gave it rather than lose its end.
    value = std::string_view(text, strnlen(text, column.Size));
    if (trimStrings_) {
      while (!value.empty() && value.back() == ' ')
        value.remove_suffix(1);
    }
  }
  // An empty text is stored as null, as an assigned one would be.
  if (value.empty()) {
    slot[0] = std::byte{1};
    return;
  }
  const size_t length = std::min(value.size(), static_cast<size_t>(column.Size));
  std::memcpy(slot + 1, value.data(), length);
  slot[1 + length] = std::byte{0};
}

void TOracleDataSet::ReadLong(const TFetchField& column, TRecordBuffer record) {
  // The whole value, with line breaks as the query's accessors give them.
  const Variant value = fetchQuery_->Field(column.Column);
  TOracleBlob* blob = HeaderOf(record).Blobs->BlobByField(column.Field);
  if (value.IsArray()) {
    const std::vector<uint8_t>& bytes = value.Bytes();
    blob->SetValue(std::string(bytes.begin(), bytes.end()));
  } else if (!value.IsEmpty() && !value.IsNull()) {
    blob->SetValue(value.AsString());
  }
}

void TOracleDataSet::DiscardSlot(TRecordBuffer record) {
  // The slot is reserved again by the next fetch; only its blob values
  // must go.
  TRecordHeader& header = HeaderOf(record);
  delete header.Blobs;
  header.Blobs = nullptr;
}

// --- Refreshing and closing ---

void TOracleDataSet::InternalRefresh() {
  InvalidateRecordCount();
  if (qbeMode_) throw Exception("Operation not allowed in QBE mode");
  PostDetails();
  ExecuteQuery();
  ResetDetailRecordIds();
  InternalFirst();
}

void TOracleDataSet::InternalLast() {
  FetchAll();
  currentRecord_ = records_ != nullptr ? records_->VisibleCount() : 0;
}

void TOracleDataSet::ClearRecords() {
  if (records_ == nullptr) return;
  ForgetSharedBlobs();
  records_->Clear();
  fetchBuffer_ = nullptr;
  currentRecord_ = -1;
  CursorPosChanged();
}

void TOracleDataSet::FreeSubQueries() {
  if (workQueries_ != nullptr) workQueries_->Clear();
  workQuery_ = nullptr;
  if (cursorQuery_ != nullptr) {
    // The internal query's cursor variable must not keep the query it was
    // bound to.
    TVariables& variables = *InternalQuery().Variables();
    for (int i = 0; i < variables.Count(); ++i) {
      const TVariableData& variable = *variables.Items(i);
      if (variable.TypeCode() == otCursor && variable.Instance() == cursorQuery_) {
        InternalQuery().SetComplexVariable(variable.Name(), nullptr);
      }
    }
    delete cursorQuery_;
    cursorQuery_ = nullptr;
  }
  fetchQuery_ = query_;
}

void TOracleDataSet::InternalClose() {
  NotifyDetailsClosing();
  RestoreQBEStatement();
  tableNameCache_.clear();
  ClearRecords();
  records_.reset();
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  nextRecordId_ = 0;
  currentRecord_ = -1;
  ResetDetailRecordIds();
  NotifyMaster();
  FreeSubQueries();
  editBlobs_.reset();
  ClearChangeLog();
  filterExpression_.reset();
  fetchFields_.clear();
  fieldInfo_.clear();
  fetchBuffer_ = nullptr;
}

}  // namespace vorn
