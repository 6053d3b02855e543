// The record buffer of TOracleDataSet: one stored record of its record
// list (RecordList.h), and one buffer of the framework's window, have the
// same layout and the same size, BufferSize bytes:
//
//   offset  size  name          meaning
//   0       4     RecordId      unsigned record number, unique within one
//                               execution of the query; also the bookmark
//   4       1     BookmarkFlag  the framework's bookmark flag (bfCurrent 0)
//   5       19    RecordRowId   the row's rowid as text, zero-terminated
//                               (18 characters at most); all zero when
//                               unknown
//   24      8     Blobs         the record's TBlobList, or none
//   32      4     DataSize      BufferSize - 40: everything after the header
//   36      4     (the record list's own mark, and padding)
//   40      DataAreaSize        the data area: one slot per data field
//                               (fkData, fkInternalCalc) in field order
//   40 + DataAreaSize           the calculated area: one slot per
//           CalcFieldsSize      calculated or lookup field, at the field's
//                               framework offset
//
// This is a 64-bit build: Blobs is pointer-sized (the original layout had
// 4 bytes there and its data area at 32); the fields keep their order and
// the data area starts after the header, at 40. BufferSize is rounded up
// to a multiple of 8 so that the records of a block keep Blobs aligned.
//
// A slot is one null byte (1 null, 0 value present) followed by the
// field's value in the framework's native format, DataSize bytes: strings
// zero-terminated within the slot, integers in their type's width (2 bytes
// for ftSmallint, 4 for ftInteger: written through the host's
// StoreNativeInteger), floats and date-times as doubles (date-times in
// milliseconds). Blob and memo fields have a slot of one byte (DataSize
// 0) whose value lives in the record's TBlobList (DataSetBlobs.h).
//
// Bookmarks are the 4-byte RecordId.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "vorn/host/DataSetTypes.h"
#include "vorn/host/Variant.h"

namespace vorn {

class TBlobList;
class TField;

inline constexpr int kRowIdSize = 19;

struct TRecordHeader {
  uint32_t RecordId;
  uint8_t BookmarkFlag;
  char RecordRowId[kRowIdSize];
  TBlobList* Blobs;
  int32_t DataSize;
  // Set while the record is in the record list's filtered list, so that
  // a record is never filtered in twice.
  uint8_t InFilteredList;
};

static_assert(offsetof(TRecordHeader, RecordId) == 0);
static_assert(offsetof(TRecordHeader, BookmarkFlag) == 4);
static_assert(offsetof(TRecordHeader, RecordRowId) == 5);
static_assert(offsetof(TRecordHeader, Blobs) == 24);
static_assert(offsetof(TRecordHeader, DataSize) == 32);
static_assert(sizeof(TRecordHeader) == 40);

inline constexpr int kRecordHeaderSize = sizeof(TRecordHeader);
inline constexpr int kBookmarkSize = sizeof(uint32_t);

inline TRecordHeader& HeaderOf(TRecordBuffer record) {
  return *reinterpret_cast<TRecordHeader*>(record);
}

// The slot of the data area at `offset`: its null byte, then the value.
inline std::byte* DataSlot(TRecordBuffer record, int offset) {
  return record + kRecordHeaderSize + offset;
}

// A fresh header for a record of `bufferSize` bytes: no blobs, no rowid.
inline void InitRecordHeader(TRecordBuffer record, int bufferSize) {
  TRecordHeader& header = HeaderOf(record);
  header.RecordId = 0;
  header.BookmarkFlag = 0;
  for (char& c : header.RecordRowId)
    c = 0;
  header.Blobs = nullptr;
  header.DataSize = bufferSize - kRecordHeaderSize;
  header.InFilteredList = 0;
}

// The rowid text of a record ("" when unknown).
inline std::string RecordRowIdOf(TRecordBuffer record) {
  const TRecordHeader& header = HeaderOf(record);
  size_t length = 0;
  while (length < kRowIdSize - 1 && header.RecordRowId[length] != 0)
    ++length;
  return std::string(header.RecordRowId, length);
}

// What the dataset keeps per data field, at the index of the field's
// FieldNo; index 0 is a placeholder.
struct TExtraFieldInfo {
  TField* BoundField = nullptr;
  // The column of the fetch query the field reads.
  int ColumnIndex = -1;
  // The slot's offset in the data area.
  int Offset = 0;
  // Query by example: the bind variable ("zuq__qbe" and the field number),
  // the value typed, and the field's settings.
  std::string QBEVariable;
  Variant QBEValue;
  bool QBEEnabled = true;
  bool QBEPartialMatch = false;
  bool QBECaseInsensitive = false;
  bool QBEWholeDay = false;
  // The field's settings when the dataset opened.
  bool ReadOnly = false;
  bool Required = false;
  // The field's settings when QBE mode was entered, which leaving it puts
  // back.
  bool ReadOnlyBeforeQBE = false;
  bool RequiredBeforeQBE = false;
};

// How FetchRecord reads one data field: from which column, by which
// buffer type, into which slot (offset from the record's start).
struct TFetchField {
  TField* Field = nullptr;
  int Column = -1;
  int BufferType = 0;
  TFieldType DataType = ftUnknown;
  int SlotOffset = 0;
  // Characters a string slot holds (its DataSize - 1).
  int Size = 0;
  // The value lives in the record's TBlobList.
  bool Blob = false;
};

}  // namespace vorn
