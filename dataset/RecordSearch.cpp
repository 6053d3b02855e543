// TOracleDataSet: searching the records (SearchRecord, Locate, Lookup).
//
// A search prepares one key per field (what to compare, and the value
// converted once) and then walks the visible records from its starting
// point, reading each field straight from the record's slot where the
// field has one; only memo, blob and converted text reads go through the
// field. Running forwards past the rows fetched so far it fetches one more
// row at a time until a match or the end. Records are read in the dsFilter
// state with the record as the fetch buffer; a record whose calculated
// fields take part is copied into a buffer of the search's own and
// computed there, so stored records keep no calculated values. The state,
// the fetch buffer and the search's buffers are given back on every path.
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "DataSetRecords.h"
#include "FieldValues.h"
#include "RecordList.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/filter/Operators.h"
#include "vorn/host/DateTimeFields.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"
#include "vorn/host/NumericFields.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

// Trailing blanks (and control characters) cut off.
std::string_view TrimmedRight(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
    text.remove_suffix(1);
  return text;
}

bool IsIntegerType(TFieldType type) {
  return type == ftSmallint || type == ftInteger || type == ftWord;
}

bool IsFloatType(TFieldType type) {
  return type == ftFloat || type == ftCurrency || type == ftBCD;
}

}  // namespace

class TRecordSearch {
 public:
  TRecordSearch(TOracleDataSet& dataSet, TSearchRecordOptions options)
      : dataSet_(dataSet), options_(options) {}

  // The visible index of the first record that matches; -1 for none.
  int Find(const std::string& fieldNames, const Variant& fieldValues);
  // The values of `resultFields` in the visible record at `index`.
  Variant Values(int index, const std::string& resultFields);

 private:
  enum class Compare { Null, Integer, Float, Date, Text, RowId };

  struct Key {
    TField* field = nullptr;
    Compare compare = Compare::Null;
    // The slot's offset in the data area; -1 when the field is read
    // through its accessors.
    int slot = -1;
    int64_t integer = 0;
    double number = 0;
    std::string text;
  };

  // Enters dsFilter with a record as the fetch buffer; gives both back.
  class FilterFrame {
   public:
    explicit FilterFrame(TOracleDataSet& dataSet)
        : dataSet_(dataSet),
          buffer_(dataSet.fetchBuffer_),
          state_(dataSet.SetTempState(dsFilter)) {}
    ~FilterFrame() {
      dataSet_.fetchBuffer_ = buffer_;
      dataSet_.RestoreState(state_);
    }
    FilterFrame(const FilterFrame&) = delete;
    FilterFrame& operator=(const FilterFrame&) = delete;

   private:
    TOracleDataSet& dataSet_;
    TRecordBuffer buffer_;
    TDataSetState state_;
  };

  bool Has(TSearchRecordOptions option) const { return (options_ & option) != 0; }
  void CheckOptions() const;
  void PrepareKeys(const std::string& fieldNames, const Variant& fieldValues);
  void PrepareKey(Key& key, const Variant& value) const;
  // The index the walk starts from (the first record examined is the one
  // next to it).
  int StartIndex(bool backward);
  bool Matches(TRecordBuffer record);
  bool KeyMatches(const Key& key, TRecordBuffer record);
  bool TextMatches(const Key& key, std::string_view text);
  // `record` with its calculated fields computed, in the search's buffer.
  TRecordBuffer WithCalcFields(TRecordBuffer record);
  double DateOf(double value) const { return Has(srDateOnly) ? std::trunc(value) : value; }

  TOracleDataSet& dataSet_;
  TSearchRecordOptions options_;
  std::vector<Key> keys_;
  bool calcKeys_ = false;
  std::unique_ptr<std::byte[]> calcRecord_;
  // Reused for the texts that must be converted or upper-cased.
  std::string fieldText_;
  std::string upperText_;
};

void TRecordSearch::CheckOptions() const {
  const bool invalid =
      (Has(srFromBeginning) && Has(srFromEnd)) || (Has(srFromBeginning) && Has(srFromCurrent)) ||
      (Has(srFromEnd) && Has(srFromCurrent)) || (Has(srForward) && Has(srBackward)) ||
      (Has(srForward) && Has(srFromEnd)) || (Has(srBackward) && Has(srFromBeginning));
  if (invalid) throw Exception(dataSet_.Name() + ".SearchRecord options invalid");
}

void TRecordSearch::PrepareKeys(const std::string& fieldNames, const Variant& fieldValues) {
  std::vector<TField*> fields;
  const bool rowId = UpperCase(Trim(fieldNames)) == "ROWID";
  if (rowId) {
    if (!dataSet_.hasRowId_) {
      throw Exception("You cannot search a rowid if it is not included in the select list");
    }
    fields.push_back(nullptr);
  } else {
    dataSet_.GetFieldList(fields, fieldNames);
  }
  const bool array = fieldValues.IsArray();
  const int count = array ? fieldValues.HighBound() - fieldValues.LowBound() + 1 : 1;
  if (count != static_cast<int>(fields.size())) {
    throw Exception(dataSet_.Name() + ".SearchRecord: number of fields and values do not match");
  }
  keys_.resize(fields.size());
  for (size_t i = 0; i < fields.size(); ++i) {
    Key& key = keys_[i];
    key.field = fields[i];
    const Variant value =
        array ? fieldValues.GetElement(fieldValues.LowBound() + static_cast<int>(i)) : fieldValues;
    if (rowId) {
      key.compare = IsNullValue(value) ? Compare::Null : Compare::RowId;
      if (!IsNullValue(value)) key.text = value.AsString();
      continue;
    }
    PrepareKey(key, value);
    if (key.field->Calculated() || key.field->Lookup()) calcKeys_ = true;
  }
}

void TRecordSearch::PrepareKey(Key& key, const Variant& value) const {
  TField& field = *key.field;
  const TFieldType type = field.DataType();
  // Blob and memo values live outside the slots.
  if (!field.IsBlob()) key.slot = dataSet_.SlotOffset(&field);
  if (IsNullValue(value)) {
    key.compare = Compare::Null;
    return;
  }
  const bool asText = Has(srWildcards) || Has(srPartialKey);
  if (!asText && IsIntegerType(type)) {
    key.compare = Compare::Integer;
    key.integer = value.AsInteger();
  } else if (!asText && IsFloatType(type)) {
    key.compare = Compare::Float;
    key.number = value.AsFloat();
  } else if (!asText && IsDateType(type)) {
    key.compare = Compare::Date;
    key.number = DateOf(VarIsStr(value) ? value.AsDateTime() : value.AsFloat());
  } else {
    key.text = TrimmedRight(value.AsString());
    if (Has(srIgnoreCase)) AnsiUpperCaseInPlace(key.text);
    key.compare = key.text.empty() ? Compare::Null : Compare::Text;
    // A string field's text is read from its slot; any other field's
    // through AsString.
    if (type != ftString) key.slot = -1;
  }
}

int TRecordSearch::StartIndex(bool backward) {
  TRecordDataList& records = *dataSet_.records_;
  if (Has(srFromEnd)) {
    dataSet_.FetchAll();
    return records.VisibleCount();
  }
  if (Has(srFromBeginning) || dataSet_.IsEmpty()) return backward ? 0 : -1;
  TRecordBuffer active = dataSet_.ActiveBuffer();
  const TRecordHeader& header = HeaderOf(active);
  switch (static_cast<TBookmarkFlag>(header.BookmarkFlag)) {
    case bfCurrent: {
      const int index = dataSet_.VisibleIndexOf(header.RecordId);
      if (index >= 0) return index;
      return backward ? 0 : -1;
    }
    case bfInserted: {
      // A new record sits in front of the record its bookmark names.
      const int index = dataSet_.VisibleIndexOf(header.RecordId);
      if (index < 0) return backward ? 0 : -1;
      return backward ? index : index - 1;
    }
    case bfEOF:
      return records.VisibleCount();
    case bfBOF:
    default:
      return backward ? 0 : -1;
  }
}

int TRecordSearch::Find(const std::string& fieldNames, const Variant& fieldValues) {
  dataSet_.CheckActive();
  CheckOptions();
  PrepareKeys(fieldNames, fieldValues);
  FilterFrame frame(dataSet_);
  const bool backward = (Has(srFromEnd) || Has(srBackward)) && !Has(srForward);
  TRecordDataList& records = *dataSet_.records_;
  int index = StartIndex(backward);
  for (;;) {
    if (backward) {
      if (--index < 0) return -1;
    } else if (++index >= records.VisibleCount()) {
      if (!dataSet_.FetchRecord() || index >= records.VisibleCount()) return -1;
    }
    if (Matches(records.VisibleAt(index))) return index;
  }
}

bool TRecordSearch::Matches(TRecordBuffer record) {
  if (calcKeys_) record = WithCalcFields(record);
  dataSet_.fetchBuffer_ = record;
  for (const Key& key : keys_) {
    if (!KeyMatches(key, record)) return false;
  }
  return true;
}

bool TRecordSearch::KeyMatches(const Key& key, TRecordBuffer record) {
  if (key.field == nullptr) {
    const TRecordHeader& header = HeaderOf(record);
    const std::string_view rowId(header.RecordRowId, strnlen(header.RecordRowId, kRowIdSize - 1));
    return key.compare == Compare::Null ? rowId.empty() : rowId == key.text;
  }
  TField& field = *key.field;
  if (key.slot < 0) {
    // Through the field: memo and blob fields, and text of other types.
    if (field.IsNull()) return key.compare == Compare::Null;
    switch (key.compare) {
      case Compare::Null:
        return field.DataType() == ftString && field.AsString().empty();
      case Compare::Integer:
        return field.AsInteger() == key.integer;
      case Compare::Float:
        return field.AsFloat() == key.number;
      case Compare::Date:
        return DateOf(field.AsDateTime()) == key.number;
      default:
        fieldText_ = field.AsString();
        return TextMatches(key, fieldText_);
    }
  }
  const std::byte* slot = DataSlot(record, key.slot);
  if (slot[0] != std::byte{0}) return key.compare == Compare::Null;
  const void* value = slot + 1;
  switch (key.compare) {
    case Compare::Null:
      return field.DataType() == ftString && *static_cast<const char*>(value) == 0;
    case Compare::Integer:
      return LoadNativeInteger(field.DataType(), value) == key.integer;
    case Compare::Float: {
      double number = 0;
      std::memcpy(&number, value, sizeof number);
      return number == key.number;
    }
    case Compare::Date:
      return DateOf(NativeToDateTime(field.DataType(), value)) == key.number;
    default: {
      const auto* text = static_cast<const char*>(value);
      return TextMatches(key, std::string_view(text, strnlen(text, field.DataSize())));
    }
  }
}

bool TRecordSearch::TextMatches(const Key& key, std::string_view text) {
  text = TrimmedRight(text);
  if (Has(srIgnoreCase)) {
    upperText_.assign(text);
    AnsiUpperCaseInPlace(upperText_);
    text = upperText_;
  }
  if (Has(srPartialKey) && text.size() > key.text.size()) text = text.substr(0, key.text.size());
  if (Has(srWildcards)) return filter::MatchesPattern(text, key.text);
  return text == key.text;
}

TRecordBuffer TRecordSearch::WithCalcFields(TRecordBuffer record) {
  const auto size = static_cast<size_t>(dataSet_.bufferSize_);
  if (calcRecord_ == nullptr) calcRecord_ = std::make_unique<std::byte[]>(size);
  std::memcpy(calcRecord_.get(), record, size);
  dataSet_.GetCalcFields(calcRecord_.get());
  return calcRecord_.get();
}

Variant TRecordSearch::Values(int index, const std::string& resultFields) {
  std::vector<TField*> fields;
  dataSet_.GetFieldList(fields, resultFields);
  TRecordBuffer record = dataSet_.records_->VisibleAt(index);
  for (const TField* field : fields) {
    if (field->Calculated() || field->Lookup()) {
      record = WithCalcFields(record);
      break;
    }
  }
  FilterFrame frame(dataSet_);
  dataSet_.fetchBuffer_ = record;
  return dataSet_.FieldValues(resultFields);
}

// --- The operations ---

bool TOracleDataSet::SearchRecord(const std::string& fieldNames, const Variant& fieldValues,
                                  TSearchRecordOptions options) {
  TRecordSearch search(*this, options);
  const int index = search.Find(fieldNames, fieldValues);
  if (index < 0) return false;
  if (!(options & srDontMove)) {
    TBookmark bookmark(kBookmarkSize);
    std::memcpy(bookmark.data(), &HeaderOf(records_->VisibleAt(index)).RecordId, kBookmarkSize);
    GotoBookmark(bookmark);
  }
  return true;
}

bool TOracleDataSet::Locate(const std::string& keyFields, const Variant& keyValues,
                            TLocateOptions options) {
  TSearchRecordOptions search = srFromBeginning;
  if (options & loCaseInsensitive) search |= srIgnoreCase;
  if (options & loPartialKey) search |= srPartialKey;
  return SearchRecord(keyFields, keyValues, search);
}

Variant TOracleDataSet::Lookup(const std::string& keyFields, const Variant& keyValues,
                               const std::string& resultFields) {
  TRecordSearch search(*this, srFromBeginning | srDontMove);
  const int index = search.Find(keyFields, keyValues);
  if (index < 0) return Null();
  return search.Values(index, resultFields);
}

}  // namespace vorn
