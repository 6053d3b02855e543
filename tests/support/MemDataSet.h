// TMemDataSet: a small in-memory descendant of the host's TDataSet, for
// tests and benchmarks only. It fulfils the record-buffer contract over a
// list of records held in memory, much as the library's Oracle dataset does
// over its fetched rows, so that tests can drive the framework through a
// real descendant.
//
// Use: add FieldDefs (or create persistent fields) and load records with
// AddRow, before opening (they are stored at open) or while open (no events;
// navigate afterwards, e.g. First). Records live until Close. Edit/Insert/Append/Post/Cancel/Delete
// work on the list; a new record is stored in front of the record it was inserted before. Blob and
// memo values are kept per record; blob streams follow the framework's
// rules (write streams need an edit mode unless the field is Modified;
// freeing a written stream marks the field Modified and reports the change).
//
// Field access by state: browse, edit and insert read the active buffer;
// dsCalcFields the calculation buffer; dsFilter the record under test;
// dsOldValue and dsCurValue the stored record behind the active buffer;
// dsNewValue the active buffer. Storing a value outside the write modes
// raises "Dataset not in edit or insert mode"; a ReadOnly data field refuses
// values in the edit modes ("Field '%s' cannot be modified").
//
// Filtering: with Filtered set, a record is visible when OnFilterRecord
// accepts it (tested in dsFilter). Switching Filtered re-tests every record
// and moves to the first one.
//
// Instrumentation for tests: GetRecordCalls counts GetRecord calls,
// LiveBuffers the record buffers currently allocated, and OnFieldRead (when
// set) hears every GetFieldData with the state at that moment.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vorn/host/DataSet.h"

namespace vorn::support {

class TMemDataSet : public TDataSet {
  VORN_CLASS(TMemDataSet, TDataSet)
  explicit TMemDataSet(TComponent* owner = nullptr);
  ~TMemDataSet() override;

  // Appends a record with `values` in Fields order (Null or Unassigned:
  // null). While closed the row waits for the next open; while open the
  // window is not touched.
  void AddRow(const std::vector<Variant>& values);
  // Records stored, and those visible through the filter.
  int StoredCount() const { return static_cast<int>(records_.size()); }
  int VisibleCount() const { return static_cast<int>(visible_.size()); }

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  void SetFiltered(bool value) override;
  void SetRecNo(int recNo) override;
  bool BookmarkValid(const TBookmark& bookmark) override;
  int CompareBookmarks(const TBookmark& bookmark1, const TBookmark& bookmark2) override;
  bool GetFieldData(TField* field, void* buffer) override;
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;

  int GetRecordCalls() const { return getRecordCalls_; }
  void ResetGetRecordCalls() { getRecordCalls_ = 0; }
  int LiveBuffers() const { return liveBuffers_; }
  using TFieldReadEvent = std::function<void(TField* field, TDataSetState state)>;
  void SetOnFieldRead(TFieldReadEvent handler) { onFieldRead_ = std::move(handler); }

 protected:
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override;
  void InternalInitRecord(TRecordBuffer buffer) override;
  int GetRecordSize() override { return dataAreaSize_; }
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override;
  void ClearCalcFields(TRecordBuffer buffer) override;

  void InternalFirst() override { cursor_ = -1; }
  void InternalLast() override { cursor_ = VisibleCount(); }
  void InternalSetToRecord(TRecordBuffer buffer) override;
  void InternalGotoBookmark(const std::byte* bookmark) override;
  bool IsCursorOpen() const override { return open_; }

  void GetBookmarkData(TRecordBuffer buffer, std::byte* data) override;
  void SetBookmarkData(TRecordBuffer buffer, const std::byte* data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
  void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override;

  void InternalOpen() override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;

  void InternalPost() override;
  void InternalAddRecord(TRecordBuffer buffer, bool append) override;
  void InternalDelete() override;
  bool GetCanModify() const override { return !readOnly_; }

  void SetFieldData(TField* field, const void* buffer) override;
  void CloseBlob(TField* field) override;

  int GetRecordCount() override { return VisibleCount(); }
  int GetRecNo() override;

 private:
  class BlobStream;
  struct StoredRecord;

  // The record buffer field access addresses in the current state.
  TRecordBuffer RecordForState();
  StoredRecord* StoredOf(TRecordBuffer buffer) const;
  int SlotOffset(const TField* field) const;
  int BlobIndex(const TField* field) const;
  int VisibleIndexOf(uint32_t recordId) const;
  // Stores the active buffer as a new record at visible position `position`.
  void StoreNewRecord(TRecordBuffer buffer, int position);
  void StoreRow(const std::vector<Variant>& values);
  void CopyEditedBlobs(StoredRecord& record);
  bool FilterAccepts(StoredRecord& record);
  void Refilter();

  std::vector<std::unique_ptr<StoredRecord>> records_;
  std::vector<StoredRecord*> visible_;
  std::vector<std::vector<Variant>> pendingRows_;
  // Position in visible_; -1 is the BOF crack, VisibleCount() the EOF one.
  int cursor_ = -1;
  bool open_ = false;
  bool readOnly_ = false;
  uint32_t nextRecordId_ = 0;
  // Slot offsets by field number; blob indexes by field number.
  std::vector<int> slotOffsets_;
  std::vector<int> blobIndexes_;
  int blobCount_ = 0;
  int dataAreaSize_ = 0;
  int bufferSize_ = 0;
  TRecordBuffer filterBuffer_ = nullptr;
  // Values of the blob fields of the record being edited or inserted.
  std::vector<std::string> editBlobs_;

  int getRecordCalls_ = 0;
  int liveBuffers_ = 0;
  TFieldReadEvent onFieldRead_;
};

}  // namespace vorn::support
