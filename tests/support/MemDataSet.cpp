// TMemDataSet: records in memory behind the host's record-buffer contract.
//
// Record buffer layout: a 16-byte header (record id = bookmark, 4 bytes;
// bookmark flag, 1 byte; pointer to the stored record the buffer was read
// from, 8 bytes at offset 8, null for a new record), then one slot per
// non-blob data field (a null byte, 1 = null, and DataSize bytes), then the
// calculated area laid out by the framework (CalcFieldsSize bytes).
#include "MemDataSet.h"

#include <algorithm>
#include <cstring>

#include "vorn/host/Application.h"
#include "vorn/host/BlobFields.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"

namespace vorn::support {

namespace {

constexpr int kRecordIdOffset = 0;
constexpr int kFlagOffset = 4;
constexpr int kStoredOffset = 8;
constexpr int kHeaderSize = 16;

uint32_t ReadRecordId(const std::byte* buffer) {
  uint32_t id = 0;
  std::memcpy(&id, buffer + kRecordIdOffset, sizeof id);
  return id;
}

void WriteRecordId(std::byte* buffer, uint32_t id) {
  std::memcpy(buffer + kRecordIdOffset, &id, sizeof id);
}

// The stored record behind a buffer, kept as an address in its header.
uintptr_t ReadStoredAddress(const std::byte* buffer) {
  uintptr_t address = 0;
  std::memcpy(&address, buffer + kStoredOffset, sizeof address);
  return address;
}

void WriteStoredAddress(std::byte* buffer, const void* record) {
  auto address = reinterpret_cast<uintptr_t>(record);
  std::memcpy(buffer + kStoredOffset, &address, sizeof address);
}

}  // namespace

struct TMemDataSet::StoredRecord {
  std::unique_ptr<std::byte[]> buffer;
  std::vector<std::string> blobs;
};

// A stream over one blob value: the stored record's (reading) or the value
// being edited.
class TMemDataSet::BlobStream : public TStream {
 public:
  BlobStream(TMemDataSet* dataSet, TBlobField* field, std::string* value)
      : dataSet_(dataSet), field_(field), value_(value) {}

  ~BlobStream() override {
    if (!written_) return;
    field_->SetModified(true);
    // A destructor cannot pass the handlers' failures on; the application
    // shows them.
    try {
      dataSet_->DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field_));
    } catch (...) {
      Application().HandleException(dataSet_);
    }
  }

  int64_t Read(void* buffer, int64_t count) override {
    if (value_ == nullptr || count <= 0) return 0;
    int64_t available = static_cast<int64_t>(value_->size()) - position_;
    count = std::min(count, available);
    if (count <= 0) return 0;
    std::memcpy(buffer, value_->data() + position_, static_cast<size_t>(count));
    position_ += count;
    return count;
  }

  int64_t Write(const void* buffer, int64_t count) override {
    if (value_ == nullptr || count <= 0) return 0;
    if (position_ + count > static_cast<int64_t>(value_->size())) {
      value_->resize(static_cast<size_t>(position_ + count));
    }
    std::memcpy(value_->data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    written_ = true;
    return count;
  }

  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    int64_t base = origin == soFromBeginning ? 0 : origin == soFromCurrent ? position_ : Size();
    if (base + offset < 0) throw EStreamError("Invalid stream position");
    position_ = base + offset;
    return position_;
  }

  int64_t Size() override { return value_ != nullptr ? static_cast<int64_t>(value_->size()) : 0; }

  void SetSize(int64_t size) override {
    if (value_ == nullptr) return;
    value_->resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    position_ = std::min(position_, size);
    written_ = true;
  }

 private:
  TMemDataSet* dataSet_;
  TBlobField* field_;
  std::string* value_;
  int64_t position_ = 0;
  bool written_ = false;
};

TMemDataSet::TMemDataSet(TComponent* owner) : TDataSet(owner) {}

TMemDataSet::~TMemDataSet() {
  Destroying();
  Close();
}

// --- Lifecycle

void TMemDataSet::InternalInitFieldDefs() {
  // Definitions given by the test are kept; without any, persistent data
  // fields describe the columns.
  if (FieldDefs().Count() > 0) return;
  for (TField* field : Fields()) {
    if (field->FieldKind() != fkData && field->FieldKind() != fkInternalCalc) continue;
    FieldDefs().Add(field->FieldName(), field->DataType(),
                    field->DataType() == ftString ? field->Size() : 0, field->Required());
  }
}

void TMemDataSet::InternalOpen() {
  InternalInitFieldDefs();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  int maxFieldNo = 0;
  for (TField* field : Fields())
    maxFieldNo = std::max(maxFieldNo, field->FieldNo());
  slotOffsets_.assign(static_cast<size_t>(maxFieldNo) + 1, -1);
  blobIndexes_.assign(static_cast<size_t>(maxFieldNo) + 1, -1);
  blobCount_ = 0;
  int offset = kHeaderSize;
  for (TField* field : Fields()) {
    if (field->FieldNo() <= 0) continue;
    if (field->IsBlob()) {
      blobIndexes_[static_cast<size_t>(field->FieldNo())] = blobCount_++;
    } else {
      slotOffsets_[static_cast<size_t>(field->FieldNo())] = offset;
      offset += field->DataSize() + 1;
    }
  }
  dataAreaSize_ = offset - kHeaderSize;
  bufferSize_ = offset + CalcFieldsSize();
  editBlobs_.assign(static_cast<size_t>(blobCount_), std::string());
  SetBookmarkSize(4);
  cursor_ = -1;
  nextRecordId_ = 0;
  open_ = true;
  std::vector<std::vector<Variant>> rows = std::move(pendingRows_);
  pendingRows_.clear();
  for (const auto& row : rows)
    StoreRow(row);
}

void TMemDataSet::InternalClose() {
  visible_.clear();
  records_.clear();
  editBlobs_.clear();
  filterBuffer_ = nullptr;
  open_ = false;
  BindFields(false);
  if (DefaultFields()) DestroyFields();
}

// --- Record buffers

TRecordBuffer TMemDataSet::AllocRecordBuffer() {
  auto* buffer = new std::byte[static_cast<size_t>(bufferSize_)]();
  ++liveBuffers_;
  return buffer;
}

void TMemDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  delete[] buffer;
  buffer = nullptr;
  --liveBuffers_;
}

void TMemDataSet::InternalInitRecord(TRecordBuffer buffer) {
  // The record id and flag stay (ClearFields empties an edited record that
  // keeps its identity); the link to a stored record goes.
  std::memset(buffer + kStoredOffset, 0, static_cast<size_t>(bufferSize_ - kStoredOffset));
  for (TField* field : Fields()) {
    int offset = SlotOffset(field);
    if (offset >= 0) buffer[offset] = std::byte{1};
  }
}

void TMemDataSet::ClearCalcFields(TRecordBuffer buffer) {
  std::memset(buffer + kHeaderSize + dataAreaSize_, 0, static_cast<size_t>(CalcFieldsSize()));
  for (TField* field : Fields()) {
    if (field->FieldNo() < 0) buffer[SlotOffset(field)] = std::byte{1};
  }
}

TGetResult TMemDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) {
  ++getRecordCalls_;
  const int count = VisibleCount();
  TGetResult result = grOK;
  switch (mode) {
    case gmCurrent:
      if (cursor_ < 0 || cursor_ >= count) result = grError;
      break;
    case gmNext:
      if (cursor_ < count - 1) {
        ++cursor_;
      } else {
        cursor_ = count;
        result = grEOF;
      }
      break;
    case gmPrior:
      if (cursor_ > 0) {
        --cursor_;
      } else {
        cursor_ = -1;
        result = grBOF;
      }
      break;
  }
  if (result == grOK) {
    std::memcpy(buffer, visible_[static_cast<size_t>(cursor_)]->buffer.get(),
                static_cast<size_t>(bufferSize_));
    SetBookmarkFlag(buffer, bfCurrent);
    ClearCalcFields(buffer);
    GetCalcFields(buffer);
  } else if (result == grError && doCheck) {
    DatabaseError("No Records", this);
  }
  return result;
}

// --- Cursor and bookmarks

int TMemDataSet::VisibleIndexOf(uint32_t recordId) const {
  // The cursor is usually on or next to the record asked for.
  for (int candidate : {cursor_, cursor_ + 1, cursor_ - 1}) {
    if (candidate >= 0 && candidate < VisibleCount() &&
        ReadRecordId(visible_[static_cast<size_t>(candidate)]->buffer.get()) == recordId) {
      return candidate;
    }
  }
  for (int i = 0; i < VisibleCount(); ++i) {
    if (ReadRecordId(visible_[static_cast<size_t>(i)]->buffer.get()) == recordId) return i;
  }
  return -1;
}

void TMemDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  InternalGotoBookmark(buffer + kRecordIdOffset);
}

void TMemDataSet::InternalGotoBookmark(const std::byte* bookmark) {
  int index = VisibleIndexOf(ReadRecordId(bookmark));
  if (index < 0) DatabaseError(SRecordNotFound, this);
  cursor_ = index;
}

void TMemDataSet::GetBookmarkData(TRecordBuffer buffer, std::byte* data) {
  std::memcpy(data, buffer + kRecordIdOffset, 4);
}

void TMemDataSet::SetBookmarkData(TRecordBuffer buffer, const std::byte* data) {
  std::memcpy(buffer + kRecordIdOffset, data, 4);
}

TBookmarkFlag TMemDataSet::GetBookmarkFlag(TRecordBuffer buffer) {
  return static_cast<TBookmarkFlag>(buffer[kFlagOffset]);
}

void TMemDataSet::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) {
  buffer[kFlagOffset] = static_cast<std::byte>(flag);
}

bool TMemDataSet::BookmarkValid(const TBookmark& bookmark) {
  return bookmark.size() >= 4 && VisibleIndexOf(ReadRecordId(bookmark.data())) >= 0;
}

int TMemDataSet::CompareBookmarks(const TBookmark& bookmark1, const TBookmark& bookmark2) {
  if (bookmark1.empty() || bookmark2.empty()) {
    if (bookmark1.empty() && bookmark2.empty()) return 0;
    return bookmark1.empty() ? 1 : -1;
  }
  uint32_t id1 = ReadRecordId(bookmark1.data());
  uint32_t id2 = ReadRecordId(bookmark2.data());
  return id1 < id2 ? -1 : id1 > id2 ? 1 : 0;
}

int TMemDataSet::GetRecNo() {
  UpdateCursorPos();
  if (cursor_ < 0) return VisibleCount() > 0 ? 1 : 0;
  return cursor_ + 1;
}

void TMemDataSet::SetRecNo(int recNo) {
  CheckBrowseMode();
  if (recNo < 1 || recNo > VisibleCount() || recNo == RecNo()) return;
  DoBeforeScroll();
  cursor_ = recNo - 1;
  Resync(rmCenter);
  DoAfterScroll();
}

// --- Field data

TMemDataSet::StoredRecord* TMemDataSet::StoredOf(TRecordBuffer buffer) const {
  return reinterpret_cast<StoredRecord*>(ReadStoredAddress(buffer));
}

int TMemDataSet::SlotOffset(const TField* field) const {
  const int fieldNo = field->FieldNo();
  if (fieldNo < 0) return kHeaderSize + dataAreaSize_ + field->Offset();
  if (fieldNo == 0 || fieldNo >= static_cast<int>(slotOffsets_.size())) return -1;
  return slotOffsets_[static_cast<size_t>(fieldNo)];
}

int TMemDataSet::BlobIndex(const TField* field) const {
  const int fieldNo = field->FieldNo();
  if (fieldNo <= 0 || fieldNo >= static_cast<int>(blobIndexes_.size())) return -1;
  return blobIndexes_[static_cast<size_t>(fieldNo)];
}

TRecordBuffer TMemDataSet::RecordForState() {
  switch (State()) {
    case dsBrowse:
    case dsEdit:
    case dsInsert:
    case dsNewValue:
      return IsEmpty() ? nullptr : ActiveBuffer();
    case dsCalcFields:
      return CalcBuffer();
    case dsFilter:
      return filterBuffer_;
    case dsOldValue:
    case dsCurValue: {
      if (IsEmpty()) return nullptr;
      StoredRecord* stored = StoredOf(ActiveBuffer());
      return stored != nullptr ? stored->buffer.get() : nullptr;
    }
    default:
      return nullptr;
  }
}

bool TMemDataSet::GetFieldData(TField* field, void* buffer) {
  if (onFieldRead_) onFieldRead_(field, State());
  TRecordBuffer record = RecordForState();
  if (record == nullptr) return false;
  if (field->IsBlob()) {
    StoredRecord* stored = StoredOf(record);
    int index = BlobIndex(field);
    return stored != nullptr && index >= 0 && !stored->blobs[static_cast<size_t>(index)].empty();
  }
  const int offset = SlotOffset(field);
  if (offset < 0 || record[offset] != std::byte{0}) return false;
  if (buffer != nullptr) {
    std::memcpy(buffer, record + offset + 1, static_cast<size_t>(field->DataSize()));
  }
  return true;
}

void TMemDataSet::SetFieldData(TField* field, const void* buffer) {
  const TDataSetState state = State();
  if (!IsWriteMode(state)) DatabaseError(SNotEditing, this);
  TRecordBuffer record = RecordForState();
  if (record == nullptr) return;
  if (IsEditMode(state)) {
    if (field->ReadOnly() && field->FieldKind() == fkData) {
      DatabaseErrorFmt(SFieldReadOnly, {field->DisplayName()});
    }
    field->Validate(buffer);
  }
  const int offset = SlotOffset(field);
  if (offset < 0) return;
  const auto size = static_cast<size_t>(field->DataSize());
  const bool isNull = buffer == nullptr ||
                      (field->DataType() == ftString && *static_cast<const char*>(buffer) == 0);
  if (isNull) {
    record[offset] = std::byte{1};
    std::memset(record + offset + 1, 0, size);
  } else {
    record[offset] = std::byte{0};
    std::memcpy(record + offset + 1, buffer, size);
  }
  if (state != dsCalcFields && state != dsFilter && state != dsNewValue) {
    DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
  }
}

std::unique_ptr<TStream> TMemDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  auto* blob = dynamic_cast<TBlobField*>(field);
  const int index = blob != nullptr ? BlobIndex(blob) : -1;
  if (index < 0) {
    DatabaseErrorFmt(SFieldAccessError,
                     {field != nullptr ? field->DisplayName() : std::string(), "Blob"});
  }
  const bool modified = blob->Modified();
  if (!modified && mode != bmRead && !IsEditMode(State())) DatabaseError(SNotEditing, this);
  TRecordBuffer record = RecordForState();
  StoredRecord* stored = record != nullptr ? StoredOf(record) : nullptr;
  std::string* value = nullptr;
  if (modified || mode != bmRead) {
    value = &editBlobs_[static_cast<size_t>(index)];
    // A read-write stream starts from the record's value.
    if (!modified && mode == bmReadWrite) {
      *value = stored != nullptr ? stored->blobs[static_cast<size_t>(index)] : std::string();
    }
  } else if (stored != nullptr) {
    value = &stored->blobs[static_cast<size_t>(index)];
  }
  auto stream = std::make_unique<BlobStream>(this, blob, value);
  if (mode == bmWrite) stream->SetSize(0);
  return stream;
}

void TMemDataSet::CloseBlob(TField* field) {
  int index = BlobIndex(field);
  if (index >= 0) editBlobs_[static_cast<size_t>(index)].clear();
}

void TMemDataSet::CopyEditedBlobs(StoredRecord& record) {
  for (TField* field : Fields()) {
    auto* blob = dynamic_cast<TBlobField*>(field);
    if (blob == nullptr || !blob->Modified()) continue;
    int index = BlobIndex(field);
    if (index >= 0) {
      record.blobs[static_cast<size_t>(index)] = editBlobs_[static_cast<size_t>(index)];
    }
  }
}

// --- Modification

void TMemDataSet::StoreNewRecord(TRecordBuffer buffer, int position) {
  auto record = std::make_unique<StoredRecord>();
  record->buffer.reset(new std::byte[static_cast<size_t>(bufferSize_)]());
  record->blobs.resize(static_cast<size_t>(blobCount_));
  std::memcpy(record->buffer.get(), buffer, static_cast<size_t>(bufferSize_));
  StoredRecord* raw = record.get();
  WriteRecordId(raw->buffer.get(), ++nextRecordId_);
  SetBookmarkFlag(raw->buffer.get(), bfCurrent);
  WriteStoredAddress(raw->buffer.get(), raw);
  CopyEditedBlobs(*raw);
  // The new record goes in front of the visible record at `position`, in
  // the full list too.
  position = std::clamp(position, 0, VisibleCount());
  auto fullPosition = records_.end();
  if (position < VisibleCount()) {
    StoredRecord* next = visible_[static_cast<size_t>(position)];
    fullPosition = std::find_if(records_.begin(), records_.end(),
                                [next](const auto& item) { return item.get() == next; });
  }
  records_.insert(fullPosition, std::move(record));
  visible_.insert(visible_.begin() + position, raw);
  cursor_ = position;
  std::memcpy(buffer, raw->buffer.get(), kHeaderSize);
}

void TMemDataSet::InternalPost() {
  TDataSet::InternalPost();
  TRecordBuffer buffer = ActiveBuffer();
  if (State() == dsEdit) {
    // The framework has put the cursor on the edited record.
    StoredRecord* stored = visible_[static_cast<size_t>(cursor_)];
    std::memcpy(stored->buffer.get() + kHeaderSize, buffer + kHeaderSize,
                static_cast<size_t>(dataAreaSize_));
    CopyEditedBlobs(*stored);
    return;
  }
  StoreNewRecord(buffer, cursor_ < 0 ? 0 : cursor_);
}

void TMemDataSet::InternalAddRecord(TRecordBuffer buffer, bool append) {
  StoreNewRecord(buffer, append ? VisibleCount() : std::max(cursor_, 0));
}

void TMemDataSet::InternalDelete() {
  if (cursor_ < 0 || cursor_ >= VisibleCount()) return;
  StoredRecord* record = visible_[static_cast<size_t>(cursor_)];
  visible_.erase(visible_.begin() + cursor_);
  records_.erase(std::find_if(records_.begin(), records_.end(),
                              [record](const auto& item) { return item.get() == record; }));
}

// --- Loading and filtering

void TMemDataSet::AddRow(const std::vector<Variant>& values) {
  if (!open_) {
    pendingRows_.push_back(values);
    return;
  }
  StoreRow(values);
}

void TMemDataSet::StoreRow(const std::vector<Variant>& values) {
  if (static_cast<int>(values.size()) > FieldCount()) {
    throw EListError(FormatDbMessage(SListIndexError, {FieldCount()}));
  }
  auto record = std::make_unique<StoredRecord>();
  record->buffer.reset(new std::byte[static_cast<size_t>(bufferSize_)]());
  record->blobs.resize(static_cast<size_t>(blobCount_));
  StoredRecord* raw = record.get();
  InternalInitRecord(raw->buffer.get());
  WriteRecordId(raw->buffer.get(), ++nextRecordId_);
  SetBookmarkFlag(raw->buffer.get(), bfCurrent);
  WriteStoredAddress(raw->buffer.get(), raw);
  // Values are stored as the filter state stores them: no validation, no
  // change events.
  TDataSetState saved = SetTempState(dsFilter);
  filterBuffer_ = raw->buffer.get();
  try {
    for (size_t i = 0; i < values.size(); ++i) {
      TField* field = Fields().Fields(static_cast<int>(i));
      const Variant& value = values[i];
      if (value.IsNull() || value.IsEmpty() || field->FieldNo() <= 0) continue;
      if (field->IsBlob()) {
        raw->blobs[static_cast<size_t>(BlobIndex(field))] = value.AsString();
      } else {
        field->SetAsVariant(value);
      }
    }
  } catch (...) {
    filterBuffer_ = nullptr;
    RestoreState(saved);
    throw;
  }
  filterBuffer_ = nullptr;
  RestoreState(saved);
  const bool visible = !Filtered() || FilterAccepts(*raw);
  records_.push_back(std::move(record));
  if (visible) visible_.push_back(raw);
}

bool TMemDataSet::FilterAccepts(StoredRecord& record) {
  if (!OnFilterRecord()) return true;
  TDataSetState saved = SetTempState(dsFilter);
  filterBuffer_ = record.buffer.get();
  bool accept = true;
  try {
    OnFilterRecord()(this, accept);
  } catch (...) {
    filterBuffer_ = nullptr;
    RestoreState(saved);
    throw;
  }
  filterBuffer_ = nullptr;
  RestoreState(saved);
  return accept;
}

void TMemDataSet::Refilter() {
  visible_.clear();
  cursor_ = -1;
  if (!Filtered() || !OnFilterRecord()) {
    for (const auto& record : records_)
      visible_.push_back(record.get());
    return;
  }
  // One state switch for the whole pass: the records are tested back to
  // back.
  TDataSetState saved = SetTempState(dsFilter);
  try {
    for (const auto& record : records_) {
      filterBuffer_ = record->buffer.get();
      bool accept = true;
      OnFilterRecord()(this, accept);
      if (accept) visible_.push_back(record.get());
    }
  } catch (...) {
    filterBuffer_ = nullptr;
    RestoreState(saved);
    throw;
  }
  filterBuffer_ = nullptr;
  RestoreState(saved);
}

void TMemDataSet::SetFiltered(bool value) {
  if (value == Filtered()) return;
  if (Active()) CheckBrowseMode();
  TDataSet::SetFiltered(value);
  if (!Active()) return;
  Refilter();
  First();
}

}  // namespace vorn::support
