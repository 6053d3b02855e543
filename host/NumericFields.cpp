// The numeric field classes: native integers and doubles, range checks,
// number texts.
#include "vorn/host/NumericFields.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "vorn/host/DbConsts.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/FormatSettings.h"
#include "vorn/host/NumberText.h"

namespace vorn {

TNumericField::TNumericField(TComponent* owner) : TField(owner) {
  SetAlignment(taRightJustify);
}

void TNumericField::SetDisplayFormat(const std::string& format) {
  if (format == displayFormat_) return;
  displayFormat_ = format;
  PropertyChanged(false);
}

void TNumericField::SetEditFormat(const std::string& format) {
  if (format == editFormat_) return;
  editFormat_ = format;
  PropertyChanged(false);
}

const std::string& TNumericField::TextFormat(bool displayText) const {
  return displayText || editFormat_.empty() ? displayFormat_ : editFormat_;
}

// --- Native integers

namespace {

// The natural range of an integer type; false for other types.
bool NativeRange(TFieldType type, int64_t& min, int64_t& max) {
  switch (type) {
    case ftSmallint:
      min = std::numeric_limits<int16_t>::min();
      max = std::numeric_limits<int16_t>::max();
      return true;
    case ftWord:
      min = 0;
      max = std::numeric_limits<uint16_t>::max();
      return true;
    case ftInteger:
      min = std::numeric_limits<int32_t>::min();
      max = std::numeric_limits<int32_t>::max();
      return true;
    case ftLargeint:
      min = std::numeric_limits<int64_t>::min();
      max = std::numeric_limits<int64_t>::max();
      return true;
    default:
      return false;
  }
}

template <class T>
void StoreAs(int64_t value, void* native) {
  auto typed = static_cast<T>(value);
  std::memcpy(native, &typed, sizeof typed);
}

template <class T>
int64_t LoadAs(const void* native) {
  T typed{};
  std::memcpy(&typed, native, sizeof typed);
  return typed;
}

}  // namespace

int NativeIntegerSize(TFieldType type) {
  switch (type) {
    case ftSmallint:
    case ftWord:
      return 2;
    case ftInteger:
      return 4;
    case ftLargeint:
      return 8;
    default:
      return 0;
  }
}

bool TryStoreNativeInteger(TFieldType type, int64_t value, void* native) {
  int64_t min = 0, max = 0;
  if (!NativeRange(type, min, max) || value < min || value > max) return false;
  switch (type) {
    case ftSmallint:
      StoreAs<int16_t>(value, native);
      break;
    case ftWord:
      StoreAs<uint16_t>(value, native);
      break;
    case ftInteger:
      StoreAs<int32_t>(value, native);
      break;
    default:
      StoreAs<int64_t>(value, native);
      break;
  }
  return true;
}

void StoreNativeInteger(const TField& field, int64_t value, void* native) {
  if (TryStoreNativeInteger(field.DataType(), value, native)) return;
  int64_t min = 0, max = 0;
  if (!NativeRange(field.DataType(), min, max)) {
    DatabaseErrorFmt(SFieldAccessError, {field.DisplayName(), "Integer"});
  }
  DatabaseErrorFmt(SFieldRangeError, {static_cast<double>(value), field.DisplayName(),
                                      static_cast<double>(min), static_cast<double>(max)});
}

int64_t LoadNativeInteger(TFieldType type, const void* native) {
  switch (type) {
    case ftSmallint:
      return LoadAs<int16_t>(native);
    case ftWord:
      return LoadAs<uint16_t>(native);
    case ftInteger:
      return LoadAs<int32_t>(native);
    case ftLargeint:
      return LoadAs<int64_t>(native);
    default:
      return 0;
  }
}

// --- TIntegerField

TIntegerField::TIntegerField(TComponent* owner)
    : TIntegerField(owner, ftInteger, std::numeric_limits<int32_t>::min(),
                    std::numeric_limits<int32_t>::max()) {}

TIntegerField::TIntegerField(TComponent* owner, TFieldType type, int32_t minRange, int32_t maxRange)
    : TNumericField(owner), minRange_(minRange), maxRange_(maxRange) {
  SetDataType(type);
}

int TIntegerField::GetDataSize() const {
  return NativeIntegerSize(DataType());
}

bool TIntegerField::GetValue(int32_t& value) const {
  // Large enough for every native integer; the dataset copies DataSize
  // bytes into it.
  std::byte native[8] = {};
  if (!GetData(native)) return false;
  value = static_cast<int32_t>(LoadNativeInteger(DataType(), native));
  return true;
}

void TIntegerField::Bounds(int32_t& min, int32_t& max) const {
  if (minValue_ != 0 || maxValue_ != 0) {
    min = minValue_;
    max = maxValue_;
  } else {
    min = minRange_;
    max = maxRange_;
  }
}

void TIntegerField::SetAsInteger(int32_t value) {
  int32_t min, max;
  Bounds(min, max);
  if (value < min || value > max) RangeError(value, min, max);
  std::byte native[8] = {};
  StoreNativeInteger(*this, value, native);
  SetData(native);
}

void TIntegerField::SetAsFloat(double value) {
  double rounded = std::nearbyint(value);
  int32_t min, max;
  Bounds(min, max);
  if (!(rounded >= min && rounded <= max)) RangeError(rounded, min, max);
  SetAsInteger(static_cast<int32_t>(rounded));
}

void TIntegerField::SetAsString(const std::string& value) {
  if (value.empty()) {
    Clear();
    return;
  }
  int32_t number = 0;
  if (!TryStrToInt(value, number)) DatabaseErrorFmt(SInvalidIntegerValue, {value, DisplayName()});
  SetAsInteger(number);
}

std::string TIntegerField::GetAsString() const {
  int32_t value = 0;
  return GetValue(value) ? IntToStr(value) : std::string();
}

int32_t TIntegerField::GetAsInteger() const {
  int32_t value = 0;
  return GetValue(value) ? value : 0;
}

double TIntegerField::GetAsFloat() const {
  int32_t value = 0;
  return GetValue(value) ? value : 0.0;
}

Variant TIntegerField::GetAsVariant() const {
  int32_t value = 0;
  if (!GetValue(value)) return Null();
  return Variant(value);
}

void TIntegerField::SetVarValue(const Variant& value) {
  SetAsInteger(value.AsInteger());
}

void TIntegerField::GetText(std::string& text, bool displayText) const {
  int32_t value = 0;
  if (!GetValue(value)) {
    text.clear();
    return;
  }
  const std::string& format = TextFormat(displayText);
  text = format.empty() ? IntToStr(value) : FormatFloat(format, value);
}

TSmallintField::TSmallintField(TComponent* owner)
    : TIntegerField(owner, ftSmallint, std::numeric_limits<int16_t>::min(),
                    std::numeric_limits<int16_t>::max()) {}

TWordField::TWordField(TComponent* owner)
    : TIntegerField(owner, ftWord, 0, std::numeric_limits<uint16_t>::max()) {}

// --- TLargeintField

TLargeintField::TLargeintField(TComponent* owner) : TNumericField(owner) {
  SetDataType(ftLargeint);
}

bool TLargeintField::GetValue(int64_t& value) const {
  return GetData(&value);
}

int64_t TLargeintField::AsLargeInt() const {
  int64_t value = 0;
  return GetValue(value) ? value : 0;
}

void TLargeintField::SetAsLargeInt(int64_t value) {
  if ((minValue_ != 0 || maxValue_ != 0) && (value < minValue_ || value > maxValue_)) {
    RangeError(static_cast<double>(value), static_cast<double>(minValue_),
               static_cast<double>(maxValue_));
  }
  SetData(&value);
}

void TLargeintField::SetAsFloat(double value) {
  double rounded = std::nearbyint(value);
  // 2^63: the first double beyond the 64-bit range.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(rounded >= -kLimit && rounded < kLimit)) {
    if (minValue_ != 0 || maxValue_ != 0) {
      RangeError(rounded, static_cast<double>(minValue_), static_cast<double>(maxValue_));
    }
    RangeError(rounded, -kLimit, kLimit);
  }
  SetAsLargeInt(static_cast<int64_t>(rounded));
}

void TLargeintField::SetAsString(const std::string& value) {
  if (value.empty()) {
    Clear();
    return;
  }
  int64_t number = 0;
  if (!TryStrToInt64(value, number)) DatabaseErrorFmt(SInvalidIntegerValue, {value, DisplayName()});
  SetAsLargeInt(number);
}

std::string TLargeintField::GetAsString() const {
  int64_t value = 0;
  return GetValue(value) ? IntToStr(value) : std::string();
}

int32_t TLargeintField::GetAsInteger() const {
  return static_cast<int32_t>(static_cast<uint32_t>(AsLargeInt()));
}

double TLargeintField::GetAsFloat() const {
  return static_cast<double>(AsLargeInt());
}

Variant TLargeintField::GetAsVariant() const {
  int64_t value = 0;
  if (!GetValue(value)) return Null();
  return Variant(value);
}

void TLargeintField::SetVarValue(const Variant& value) {
  SetAsLargeInt(value.AsInt64());
}

void TLargeintField::GetText(std::string& text, bool displayText) const {
  int64_t value = 0;
  if (!GetValue(value)) {
    text.clear();
    return;
  }
  const std::string& format = TextFormat(displayText);
  text = format.empty() ? IntToStr(value) : FormatFloat(format, static_cast<double>(value));
}

// --- TFloatField

TFloatField::TFloatField(TComponent* owner) : TFloatField(owner, ftFloat) {}

TFloatField::TFloatField(TComponent* owner, TFieldType type) : TNumericField(owner) {
  SetDataType(type);
}

void TFloatField::SetCurrency(bool currency) {
  if (currency == currency_) return;
  currency_ = currency;
  PropertyChanged(false);
}

void TFloatField::SetPrecision(int precision) {
  precision = std::clamp(precision, 2, 15);
  if (precision == precision_) return;
  precision_ = precision;
  PropertyChanged(false);
}

bool TFloatField::GetValue(double& value) const {
  return GetData(&value);
}

void TFloatField::SetAsFloat(double value) {
  if ((minValue_ != 0 || maxValue_ != 0) && (value < minValue_ || value > maxValue_)) {
    RangeError(value, minValue_, maxValue_);
  }
  SetData(&value);
}

void TFloatField::SetAsString(const std::string& value) {
  if (value.empty()) {
    Clear();
    return;
  }
  double number = 0;
  if (!TryStrToFloat(value, number)) DatabaseErrorFmt(SInvalidFloatValue, {value, DisplayName()});
  SetAsFloat(number);
}

std::string TFloatField::GetAsString() const {
  double value = 0;
  return GetValue(value) ? FloatToStr(value) : std::string();
}

int32_t TFloatField::GetAsInteger() const {
  double value = 0;
  if (!GetValue(value)) return 0;
  double rounded = std::nearbyint(value);
  // A value beyond the 32-bit range has no integer reading; wrapping it
  // would answer a wrong number.
  if (!(rounded >= std::numeric_limits<int32_t>::min() &&
        rounded <= std::numeric_limits<int32_t>::max())) {
    throw ERangeError();
  }
  return static_cast<int32_t>(rounded);
}

double TFloatField::GetAsFloat() const {
  double value = 0;
  return GetValue(value) ? value : 0.0;
}

Variant TFloatField::GetAsVariant() const {
  double value = 0;
  if (!GetValue(value)) return Null();
  return Variant(value);
}

void TFloatField::SetVarValue(const Variant& value) {
  SetAsFloat(value.AsFloat());
}

void TFloatField::GetText(std::string& text, bool displayText) const {
  double value = 0;
  if (!GetValue(value)) {
    text.clear();
    return;
  }
  const std::string& format = TextFormat(displayText);
  if (!format.empty()) {
    text = FormatFloat(format, value);
  } else if (currency_) {
    text = FloatToStrF(value, displayText ? ffCurrency : ffFixed, precision_,
                       FormatSettings().CurrencyDecimals);
  } else {
    text = FloatToStrF(value, ffGeneral, precision_, 0);
  }
}

TCurrencyField::TCurrencyField(TComponent* owner) : TFloatField(owner, ftCurrency) {
  SetCurrency(true);
}

TBCDField::TBCDField(TComponent* owner) : TFloatField(owner, ftBCD) {}

}  // namespace vorn
