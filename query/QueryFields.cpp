// The columns of a query's current row: their descriptions, their values
// and the conversions between them; see OracleQuery.h.
#include <cmath>
#include <cstring>

#include "DateBytes.h"
#include "StatementCalls.h"
#include "VariableValues.h"
#include "vorn/host/DateTimeText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/NumberText.h"
#include "vorn/host/Screen.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/OracleObject.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"

namespace vorn {

namespace {

// The row buffer of a version 7 LONG column, the chunks a whole value is
// read in after it, and the largest single read of GetLongField.
constexpr int kLongRowBuffer = 2000;
constexpr int kLongChunkLimit = 32000;
constexpr int kLongReadLimit = 64000;

std::string_view Text(const TFieldData& field, int row) {
  const auto* text = reinterpret_cast<const char*>(field.Value(row));
  return {text, strnlen(text, static_cast<size_t>(field.ElementSize()))};
}

int32_t IntegerAt(const TFieldData& field, int row) {
  int32_t value = 0;
  std::memcpy(&value, field.Value(row), sizeof value);
  return value;
}

double FloatAt(const TFieldData& field, int row) {
  double value = 0;
  std::memcpy(&value, field.Value(row), sizeof value);
  return value;
}

bool IsLongType(int bufferType) {
  return bufferType == otLong || bufferType == otLongRaw;
}

}  // namespace

// --- Descriptions ---

void TOracleQuery::RaiseNoField(int index) const {
  throw Exception("Field " + std::to_string(index) + " does not exist");
}

const TFieldData* TOracleQuery::FieldData(int index) const {
  if (index < 0 || index >= static_cast<int>(columns_.size())) RaiseNoField(index);
  return columns_[static_cast<size_t>(index)];
}

std::string TOracleQuery::FieldName(int index) const {
  return FieldData(index)->Name();
}

int TOracleQuery::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (AnsiSameText(columns_[i]->Name(), name)) return static_cast<int>(i);
  }
  return -1;
}

int TOracleQuery::NamedField(std::string_view name) const {
  const int index = FieldIndex(name);
  if (index < 0) throw Exception("Field " + std::string(name) + " does not exist");
  return index;
}

int TOracleQuery::FieldType(int index) const {
  return FieldData(index)->BufferType();
}

int TOracleQuery::FieldOracleType(int index) const {
  return FieldData(index)->DataType();
}

int TOracleQuery::FieldPrecision(int index) const {
  return FieldData(index)->Precision();
}

int TOracleQuery::FieldScale(int index) const {
  return FieldData(index)->Scale();
}

int TOracleQuery::FieldSize(int index) const {
  const TFieldData& field = *FieldData(index);
  return field.BufferType() == otString ? field.ElementSize() - 1 : 0;
}

bool TOracleQuery::FieldOptional(int index) const {
  return FieldData(index)->Nullable();
}

// --- Values of the current row ---

const TFieldData& TOracleQuery::CurrentField(int index) const {
  if (eof_) throw Exception("You cannot access field data beyond Eof");
  if (static_cast<unsigned>(index) >= columns_.size()) RaiseNoField(index);
  return *columns_[static_cast<size_t>(index)];
}

bool TOracleQuery::FieldIsNull(int index) const {
  const TFieldData& field = CurrentField(index);
  // An object is null by its own (atomic) indicator.
  if (field.BufferType() == otObject) return field.OracleObject()->IsNull();
  return field.Indicator(currentRow_) == -1;
}

const void* TOracleQuery::FieldValueAddress(int index) const {
  return CurrentField(index).Value(currentRow_);
}

std::string TOracleQuery::FieldAsString(int index) const {
  const TFieldData& field = CurrentField(index);
  const int row = currentRow_;
  if (field.indicators_[static_cast<size_t>(row)] == -1) return std::string();
  switch (field.BufferType()) {
    case otString: {
      const std::string_view text = Text(field, row);
      if (text.find('\n') == std::string_view::npos ||
          !VariableValues::ConvertsLineBreaks(session_)) {
        return std::string(text);
      }
      return WithCrLf(std::string(text));
    }
    case otInteger:
      return IntToStr(IntegerAt(field, row));
    case otFloat:
      return FloatToStr(FloatAt(field, row));
    case otDate: {
      const TDateTime value = DateBytesToDateTime(field.Value(row));
      const bool hasTime =
          field.Value(row)[4] != 1 || field.Value(row)[5] != 1 || field.Value(row)[6] != 1;
      return FormatDateTime(hasTime ? "ddddd tt" : "ddddd", value);
    }
    default:
      throw Exception("Cannot convert field " + field.Name() + " to a String");
  }
}

int TOracleQuery::FieldAsInteger(int index) const {
  const TFieldData& field = CurrentField(index);
  const int row = currentRow_;
  if (field.indicators_[static_cast<size_t>(row)] == -1) return 0;
  double number = 0;
  switch (field.BufferType()) {
    case otInteger:
      return IntegerAt(field, row);
    case otString:
      return StrToInt(Text(field, row));
    case otFloat:
      number = FloatAt(field, row);
      break;
    case otDate:
      number = DateBytesToDateTime(field.Value(row));
      break;
    default:
      throw Exception("Cannot convert field " + field.Name() + " to an Integer");
  }
  number = std::trunc(number);
  if (!(number >= -2147483648.0 && number <= 2147483647.0)) {
    throw EConvertError("Cannot convert field " + field.Name() + " to an Integer");
  }
  return static_cast<int>(number);
}

double TOracleQuery::FieldAsFloat(int index) const {
  const TFieldData& field = CurrentField(index);
  const int row = currentRow_;
  if (field.indicators_[static_cast<size_t>(row)] == -1) return 0;
  switch (field.BufferType()) {
    case otFloat:
      return FloatAt(field, row);
    case otInteger:
      return IntegerAt(field, row);
    case otString:
      return StrToFloat(Text(field, row));
    case otDate:
      return DateBytesToDateTime(field.Value(row));
    default:
      throw Exception("Cannot convert field " + field.Name() + " to a Float");
  }
}

TDateTime TOracleQuery::FieldAsDate(int index) const {
  const TFieldData& field = CurrentField(index);
  const int row = currentRow_;
  if (field.indicators_[static_cast<size_t>(row)] == -1) return 0;
  switch (field.BufferType()) {
    case otDate:
      return DateBytesToDateTime(field.Value(row));
    case otInteger:
      return IntegerAt(field, row);
    case otFloat:
      return FloatAt(field, row);
    case otString:
      return StrToDate(Text(field, row));
    default:
      throw Exception("Cannot convert field " + field.Name() + " to a Date");
  }
}

Variant TOracleQuery::Field(int index) const {
  if (eof_) throw Exception("You cannot access field data beyond Eof");
  const TFieldData& field = *fields_.Items(index);
  const int row = currentRow_;
  if (field.indicators_[static_cast<size_t>(row)] == -1) return VariableValues::NullOf(session_);
  switch (field.BufferType()) {
    case otString: {
      const std::string_view text = Text(field, row);
      if (text.find('\n') == std::string_view::npos ||
          !VariableValues::ConvertsLineBreaks(session_)) {
        return Variant(text);
      }
      return Variant(WithCrLf(std::string(text)));
    }
    case otInteger:
      return IntegerAt(field, row);
    case otFloat:
      return FloatAt(field, row);
    case otDate:
      return Variant::FromDateTime(DateBytesToDateTime(field.Value(row)));
    case otCLOB:
    case otBLOB:
    case otBFile: {
      std::string value = field.LOBLocator()->WholeValue();
      if (value.empty()) return VariableValues::NullOf(session_);
      if (field.BufferType() != otCLOB) return Variant::FromBytes(value.data(), value.size());
      return VariableValues::ConvertsLineBreaks(session_) ? Variant(WithCrLf(std::move(value)))
                                                          : Variant(std::move(value));
    }
    case otLong:
    case otLongRaw: {
      // The whole value; reading it may need the client (version 7).
      auto& self = const_cast<TOracleQuery&>(*this);
      std::string value = self.WholeLong(index);
      if (field.BufferType() == otLongRaw) return Variant::FromBytes(value.data(), value.size());
      return VariableValues::ConvertsLineBreaks(session_) ? Variant(WithCrLf(std::move(value)))
                                                          : Variant(std::move(value));
    }
    default:
      return VariableValues::NullOf(session_);
  }
}

TLOBLocator* TOracleQuery::LOBField(int index) const {
  const TFieldData& field = *FieldData(index);
  const int type = field.BufferType();
  if (type < otCLOB || type > otBFile) {
    throw Exception("Field " + field.Name() + " is not a LOB");
  }
  return field.LOBLocator();
}

TOracleObject* TOracleQuery::ObjectField(int index) const {
  const TFieldData& field = *FieldData(index);
  if (field.BufferType() != otObject) {
    throw Exception("Field " + field.Name() + " is not an Object");
  }
  return field.OracleObject();
}

TOracleReference* TOracleQuery::ReferenceField(int index) const {
  const TFieldData& field = *FieldData(index);
  if (field.BufferType() != otReference) {
    throw Exception("Field " + field.Name() + " is not a Reference");
  }
  return field.OracleReference();
}

// --- LONG values ---

std::string TOracleQuery::WholeLong(int index) {
  TFieldData& field = *columns_[static_cast<size_t>(index)];
  std::string value;
  if (calls_->UsesOCI8()) {
    // The pieces hold the whole value.
    value.reserve(static_cast<size_t>(field.LongLength()));
    for (int i = 0; i < field.longPieces_.Count(); ++i) {
      const TLongPiece& piece = *field.longPieces_.Items(i);
      value.append(reinterpret_cast<const char*>(piece.Buffer()),
                   static_cast<size_t>(piece.ActualLength()));
    }
    return value;
  }
  const int inBuffer = field.ReturnedLength(currentRow_);
  if (inBuffer >= kLongRowBuffer) CheckCurrent();
  value.assign(reinterpret_cast<const char*>(field.Value(currentRow_)),
               static_cast<size_t>(inBuffer));
  if (inBuffer < kLongRowBuffer) return value;
  // The rest in chunks of 4000, 8000, 16000 and then 32000 bytes, until one
  // comes back short.
  int chunk = kLongRowBuffer;
  TCursorGuard wait(ShownCursor());
  SessionCallLock lock(*session_);
  for (;;) {
    chunk = std::min(chunk * 2, kLongChunkLimit);
    const size_t offset = value.size();
    value.resize(offset + static_cast<size_t>(chunk));
    int read = 0;
    if (calls_->ReadLong(field, index + 1, reinterpret_cast<uint8_t*>(value.data() + offset),
                         static_cast<int>(offset), chunk, read) != 0) {
      throw calls_->Error(lock);
    }
    value.resize(offset + static_cast<size_t>(read));
    if (read < chunk) return value;
  }
}

int TOracleQuery::GetLongField(int index, void* buffer, int offset, int length) {
  TFieldData& field = const_cast<TFieldData&>(CurrentField(index));
  if (!IsLongType(field.BufferType())) {
    throw Exception("Field " + std::to_string(index) + " is not a Long");
  }
  if (offset < 0 || length <= 0) return 0;
  auto* out = static_cast<uint8_t*>(buffer);
  if (calls_->UsesOCI8()) {
    int copied = 0;
    int64_t pieceStart = 0;
    for (int i = 0; i < field.longPieces_.Count() && copied < length; ++i) {
      const TLongPiece& piece = *field.longPieces_.Items(i);
      const int64_t pieceEnd = pieceStart + piece.ActualLength();
      const int64_t from = std::max<int64_t>(pieceStart, offset + copied);
      if (from < pieceEnd) {
        const int count = static_cast<int>(std::min<int64_t>(pieceEnd - from, length - copied));
        std::memcpy(out + copied, piece.Buffer() + (from - pieceStart), static_cast<size_t>(count));
        copied += count;
      }
      pieceStart = pieceEnd;
    }
    return copied;
  }
  const int inBuffer = field.ReturnedLength(currentRow_);
  int copied = 0;
  if (offset < inBuffer) {
    copied = std::min(length, inBuffer - offset);
    std::memcpy(out, field.Value(currentRow_) + offset, static_cast<size_t>(copied));
  }
  if (inBuffer < kLongRowBuffer || copied >= length) return copied;
  CheckCurrent();
  // The rest from the server, at most 64000 bytes a call.
  TCursorGuard wait(ShownCursor());
  SessionCallLock lock(*session_);
  while (copied < length) {
    const int wanted = std::min(length - copied, kLongReadLimit);
    int read = 0;
    if (calls_->ReadLong(field, index + 1, out + copied, offset + copied, wanted, read) != 0) {
      throw calls_->Error(lock);
    }
    copied += read;
    if (read < kLongReadLimit) break;
  }
  return copied;
}

}  // namespace vorn
