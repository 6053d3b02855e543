// The Variant value type: storage, conversions, arrays and comparison.
#include "vorn/host/Variant.h"

#include <cmath>
#include <limits>

#include "vorn/host/DateTimeText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/NumberText.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

struct Variant::ArrayData {
  int low = 0;
  TVarType elementType = varVariant;
  std::vector<Variant> items;  // every element type but varByte
  std::vector<uint8_t> bytes;  // varByte

  int64_t Count() const {
    return static_cast<int64_t>(elementType == varByte ? bytes.size() : items.size());
  }
  // The offset of `index`, checked against the bounds.
  size_t Offset(int index) const {
    int64_t offset = static_cast<int64_t>(index) - low;
    if (offset < 0 || offset >= Count()) {
      throw EVariantError("Variant or safe array index out of bounds");
    }
    return static_cast<size_t>(offset);
  }
};

Variant::ArrayBox::ArrayBox(std::unique_ptr<ArrayData> data) : data_(std::move(data)) {}
Variant::ArrayBox::ArrayBox(const ArrayBox& other)
    : data_(std::make_unique<ArrayData>(*other.data_)) {}
Variant::ArrayBox::ArrayBox(ArrayBox&&) noexcept = default;
Variant::ArrayBox& Variant::ArrayBox::operator=(const ArrayBox& other) {
  if (this != &other) data_ = std::make_unique<ArrayData>(*other.data_);
  return *this;
}
Variant::ArrayBox& Variant::ArrayBox::operator=(ArrayBox&&) noexcept = default;
Variant::ArrayBox::~ArrayBox() = default;

namespace {

[[noreturn]] void InvalidConversion() {
  throw EVariantError("Invalid variant type conversion");
}
[[noreturn]] void Overflow() {
  throw EVariantError("Variant overflow");
}
[[noreturn]] void NotAnArray() {
  throw EVariantError("Variant is not an array");
}
[[noreturn]] void CreateError() {
  throw EVariantError("Error creating variant or safe array");
}

// Doubles become integers rounded to even, as the host's conversions do.
int64_t RoundToInt64(double value) {
  if (std::isnan(value)) InvalidConversion();
  double rounded = std::nearbyint(value);
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) Overflow();
  return static_cast<int64_t>(rounded);
}

bool TextToNumber(const std::string& text, double& value) {
  std::string trimmed = Trim(text);
  if (TryStrToFloat(trimmed, value)) return true;
  int64_t integer;
  if (TryStrToInt64(trimmed, integer)) {
    value = static_cast<double>(integer);
    return true;
  }
  return false;
}

int64_t TextToInt64(const std::string& text) {
  std::string trimmed = Trim(text);
  int64_t integer;
  if (TryStrToInt64(trimmed, integer)) return integer;
  double value;
  if (TryStrToFloat(trimmed, value)) return RoundToInt64(value);
  InvalidConversion();
}

bool TextToBoolean(const std::string& text, bool& value) {
  std::string trimmed = Trim(text);
  if (SameText(trimmed, "True")) {
    value = true;
  } else if (SameText(trimmed, "False")) {
    value = false;
  } else {
    double number;
    if (!TextToNumber(trimmed, number)) return false;
    value = number != 0;
  }
  return true;
}

bool IsArrayElementType(TVarType type) {
  switch (type) {
    case varSmallint:
    case varInteger:
    case varDouble:
    case varDate:
    case varBoolean:
    case varVariant:
    case varByte:
    case varInt64:
    case varString:
      return true;
    default:
      return false;
  }
}

TVarType StoredType(TVarType type) {
  switch (type) {
    case varOleStr:
      return varString;
    case varSingle:
    case varCurrency:
      return varDouble;
    default:
      return type;
  }
}

Variant DefaultElement(TVarType type) {
  switch (type) {
    case varSmallint:
      return Variant(static_cast<short>(0));
    case varInteger:
      return Variant(0);
    case varDouble:
      return Variant(0.0);
    case varDate:
      return Variant::FromDateTime(0);
    case varBoolean:
      return Variant(false);
    case varInt64:
      return Variant(static_cast<long long>(0));
    case varString:
      return Variant(std::string());
    default:
      return Variant();
  }
}

template <class T>
TVariantRelationship Relate(T a, T b) {
  if (a == b) return vrEqual;
  if (a < b) return vrLessThan;
  if (b < a) return vrGreaterThan;
  return vrNotEqual;  // NaN
}

}  // namespace

Variant::Variant(unsigned long value) {
  if (value > static_cast<unsigned long>(std::numeric_limits<int64_t>::max())) Overflow();
  value_ = static_cast<int64_t>(value);
}

Variant::Variant(unsigned long long value) {
  if (value > static_cast<unsigned long long>(std::numeric_limits<int64_t>::max())) Overflow();
  value_ = static_cast<int64_t>(value);
}

Variant Variant::MakeNull() {
  Variant v;
  v.value_ = NullValue{};
  return v;
}

Variant Variant::FromDateTime(TDateTime value) {
  Variant v;
  v.value_ = DateValue{value};
  return v;
}

Variant Variant::FromBytes(std::vector<uint8_t> bytes, int lowBound) {
  if (static_cast<int64_t>(lowBound) + static_cast<int64_t>(bytes.size()) - 1 >
      std::numeric_limits<int>::max()) {
    CreateError();
  }
  auto data = std::make_unique<ArrayData>();
  data->low = lowBound;
  data->elementType = varByte;
  data->bytes = std::move(bytes);
  Variant v;
  v.value_ = ArrayBox(std::move(data));
  return v;
}

Variant Variant::FromBytes(const void* data, size_t size, int lowBound) {
  const auto* begin = static_cast<const uint8_t*>(data);
  return FromBytes(std::vector<uint8_t>(begin, begin + size), lowBound);
}

TVarType Variant::VarType() const {
  switch (value_.index()) {
    case kNull:
      return varNull;
    case kSmallint:
      return varSmallint;
    case kInteger:
      return varInteger;
    case kInt64:
      return varInt64;
    case kByte:
      return varByte;
    case kDouble:
      return varDouble;
    case kDate:
      return varDate;
    case kBoolean:
      return varBoolean;
    case kString:
      return varString;
    case kArray:
      return static_cast<TVarType>(varArray | Array().elementType);
    default:
      return varEmpty;
  }
}

int64_t Variant::AsInt64() const {
  switch (value_.index()) {
    case kEmpty:
      return 0;
    case kSmallint:
      return std::get<int16_t>(value_);
    case kInteger:
      return std::get<int32_t>(value_);
    case kInt64:
      return std::get<int64_t>(value_);
    case kByte:
      return std::get<uint8_t>(value_);
    case kBoolean:
      return std::get<bool>(value_) ? -1 : 0;
    case kDouble:
      return RoundToInt64(std::get<double>(value_));
    case kDate:
      return RoundToInt64(std::get<DateValue>(value_).value);
    case kString:
      return TextToInt64(std::get<std::string>(value_));
    default:
      InvalidConversion();
  }
}

int32_t Variant::AsInteger() const {
  int64_t value = AsInt64();
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    Overflow();
  }
  return static_cast<int32_t>(value);
}

double Variant::AsFloat() const {
  switch (value_.index()) {
    case kEmpty:
      return 0;
    case kSmallint:
    case kInteger:
    case kInt64:
    case kByte:
    case kBoolean:
      return static_cast<double>(AsInt64());
    case kDouble:
      return std::get<double>(value_);
    case kDate:
      return std::get<DateValue>(value_).value;
    case kString: {
      double value;
      if (!TextToNumber(std::get<std::string>(value_), value)) InvalidConversion();
      return value;
    }
    default:
      InvalidConversion();
  }
}

TDateTime Variant::AsDateTime() const {
  if (value_.index() == kString) {
    TDateTime value;
    if (!TryStrToDateTime(std::get<std::string>(value_), value)) InvalidConversion();
    return value;
  }
  return AsFloat();
}

bool Variant::AsBoolean() const {
  switch (value_.index()) {
    case kEmpty:
      return false;
    case kBoolean:
      return std::get<bool>(value_);
    case kDouble:
      return std::get<double>(value_) != 0;
    case kDate:
      return std::get<DateValue>(value_).value != 0;
    case kString: {
      bool value;
      if (!TextToBoolean(std::get<std::string>(value_), value)) InvalidConversion();
      return value;
    }
    case kNull:
    case kArray:
      InvalidConversion();
    default:
      return AsInt64() != 0;
  }
}

std::string Variant::AsString() const {
  switch (value_.index()) {
    case kEmpty:
      return std::string();
    case kSmallint:
    case kInteger:
    case kInt64:
    case kByte:
      return IntToStr(AsInt64());
    case kDouble:
      return FloatToStr(std::get<double>(value_));
    case kDate:
      return DateTimeToStr(std::get<DateValue>(value_).value);
    case kBoolean:
      return std::get<bool>(value_) ? "True" : "False";
    case kString:
      return std::get<std::string>(value_);
    default:
      InvalidConversion();
  }
}

const Variant::ArrayData& Variant::Array() const {
  if (value_.index() != kArray) NotAnArray();
  return *std::get<ArrayBox>(value_).get();
}

Variant::ArrayData& Variant::Array() {
  if (value_.index() != kArray) NotAnArray();
  return *std::get<ArrayBox>(value_).get();
}

int Variant::LowBound() const {
  return Array().low;
}

int Variant::HighBound() const {
  const ArrayData& array = Array();
  return static_cast<int>(array.low + array.Count() - 1);
}

Variant Variant::GetElement(int index) const {
  const ArrayData& array = Array();
  size_t offset = array.Offset(index);
  if (array.elementType == varByte) return Variant(array.bytes[offset]);
  return array.items[offset];
}

const Variant& Variant::ElementRef(int index) const {
  const ArrayData& array = Array();
  if (array.elementType == varByte) throw EVariantError("Variant is not an array of variants");
  return array.items[array.Offset(index)];
}

void Variant::PutElement(int index, Variant&& value) {
  ArrayData& array = Array();
  if (array.elementType != varVariant) return PutElement(index, static_cast<const Variant&>(value));
  array.items[array.Offset(index)] = std::move(value);
}

void Variant::PutElement(int index, const Variant& value) {
  ArrayData& array = Array();
  size_t offset = array.Offset(index);
  switch (array.elementType) {
    case varByte: {
      int64_t byte = value.AsInt64();
      if (byte < 0 || byte > 255) Overflow();
      array.bytes[offset] = static_cast<uint8_t>(byte);
      break;
    }
    case varVariant:
      array.items[offset] = value;
      break;
    default:
      array.items[offset] = VarAsType(value, array.elementType);
      break;
  }
}

const std::vector<uint8_t>& Variant::Bytes() const {
  if (value_.index() != kArray || Array().elementType != varByte) {
    throw EVariantError("Variant is not an array of bytes");
  }
  return Array().bytes;
}

bool Variant::operator==(const Variant& other) const {
  return VarCompareValue(*this, other) == vrEqual;
}

Variant Null() {
  return Variant::MakeNull();
}
Variant Unassigned() {
  return Variant();
}
Variant VarFromDateTime(TDateTime value) {
  return Variant::FromDateTime(value);
}

bool VarIsStr(const Variant& v) {
  return v.VarType() == varString;
}

bool VarIsOrdinal(const Variant& v) {
  switch (v.VarType()) {
    case varSmallint:
    case varInteger:
    case varInt64:
    case varByte:
    case varBoolean:
      return true;
    default:
      return false;
  }
}

bool VarIsFloat(const Variant& v) {
  return v.VarType() == varDouble;
}
bool VarIsNumeric(const Variant& v) {
  return VarIsOrdinal(v) || VarIsFloat(v);
}

Variant VarArrayCreate(int lowBound, int highBound, TVarType elementType) {
  elementType = StoredType(elementType);
  int64_t count = static_cast<int64_t>(highBound) - lowBound + 1;
  if (count < 0 || !IsArrayElementType(elementType)) CreateError();
  auto data = std::make_unique<Variant::ArrayData>();
  data->low = lowBound;
  data->elementType = elementType;
  if (elementType == varByte) {
    data->bytes.assign(static_cast<size_t>(count), 0);
  } else {
    data->items.assign(static_cast<size_t>(count), DefaultElement(elementType));
  }
  Variant v;
  v.value_ = Variant::ArrayBox(std::move(data));
  return v;
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
  return VarArrayOf(std::vector<Variant>(values));
}

Variant VarArrayOf(const std::vector<Variant>& values) {
  Variant array = VarArrayCreate(0, static_cast<int>(values.size()) - 1, varVariant);
  for (size_t i = 0; i < values.size(); ++i)
    array.PutElement(static_cast<int>(i), values[i]);
  return array;
}

void VarArrayRedim(Variant& array, int highBound) {
  Variant::ArrayData& data = array.Array();
  int64_t count = static_cast<int64_t>(highBound) - data.low + 1;
  if (count < 0) CreateError();
  if (data.elementType == varByte) {
    data.bytes.resize(static_cast<size_t>(count), 0);
  } else {
    data.items.resize(static_cast<size_t>(count), DefaultElement(data.elementType));
  }
}

int VarArrayDimCount(const Variant& v) {
  return v.IsArray() ? 1 : 0;
}

int VarArrayLowBound(const Variant& v, int dim) {
  if (!v.IsArray()) NotAnArray();
  if (dim != 1) throw EVariantError("Variant or safe array index out of bounds");
  return v.LowBound();
}

int VarArrayHighBound(const Variant& v, int dim) {
  if (!v.IsArray()) NotAnArray();
  if (dim != 1) throw EVariantError("Variant or safe array index out of bounds");
  return v.HighBound();
}

Variant VarArrayGet(const Variant& array, int index) {
  return array.GetElement(index);
}

void VarArrayPut(Variant& array, const Variant& value, int index) {
  array.PutElement(index, value);
}

Variant VarAsType(const Variant& v, TVarType type) {
  if (v.IsArray()) {
    if (type == varVariant || type == v.VarType()) return v;
    InvalidConversion();
  }
  switch (StoredType(type)) {
    case varEmpty:
      return Variant();
    case varNull:
      return Null();
    case varSmallint: {
      int64_t value = v.AsInt64();
      if (value < -32768 || value > 32767) Overflow();
      return Variant(static_cast<short>(value));
    }
    case varInteger:
      return Variant(v.AsInteger());
    case varInt64:
      return Variant(static_cast<long long>(v.AsInt64()));
    case varByte: {
      int64_t value = v.AsInt64();
      if (value < 0 || value > 255) Overflow();
      return Variant(static_cast<unsigned char>(value));
    }
    case varDouble:
      return Variant(v.AsFloat());
    case varDate:
      return Variant::FromDateTime(v.AsDateTime());
    case varBoolean:
      return Variant(v.AsBoolean());
    case varString:
      return Variant(v.AsString());
    case varVariant:
      return v;
    default:
      InvalidConversion();
  }
}

std::string VarToStr(const Variant& v) {
  return v.IsNull() ? std::string() : v.AsString();
}

std::string VarToStrDef(const Variant& v, const std::string& nullText) {
  return v.IsNull() ? nullText : v.AsString();
}

std::string VarTypeAsText(TVarType type) {
  std::string prefix = (type & varArray) ? "Array of " : "";
  switch (type & varTypeMask) {
    case varEmpty:
      return prefix + "Empty";
    case varNull:
      return prefix + "Null";
    case varSmallint:
      return prefix + "Smallint";
    case varInteger:
      return prefix + "Integer";
    case varSingle:
      return prefix + "Single";
    case varDouble:
      return prefix + "Double";
    case varCurrency:
      return prefix + "Currency";
    case varDate:
      return prefix + "Date";
    case varOleStr:
      return prefix + "OleStr";
    case varBoolean:
      return prefix + "Boolean";
    case varVariant:
      return prefix + "Variant";
    case varByte:
      return prefix + "Byte";
    case varInt64:
      return prefix + "Int64";
    default:
      return prefix + ((type & varTypeMask) == varString ? "String" : "Unknown");
  }
}

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b) {
  const size_t ka = a.value_.index(), kb = b.value_.index();
  if (ka == Variant::kEmpty || kb == Variant::kEmpty) return ka == kb ? vrEqual : vrNotEqual;
  if (ka == Variant::kNull || kb == Variant::kNull) return ka == kb ? vrEqual : vrNotEqual;
  if (ka == Variant::kArray || kb == Variant::kArray) {
    if (ka != kb || a.LowBound() != b.LowBound() || a.HighBound() != b.HighBound()) {
      return vrNotEqual;
    }
    for (int i = a.LowBound(); i <= a.HighBound(); ++i) {
      if (VarCompareValue(a.GetElement(i), b.GetElement(i)) != vrEqual) return vrNotEqual;
    }
    return vrEqual;
  }
  const bool sa = ka == Variant::kString, sb = kb == Variant::kString;
  if (sa && sb) return Relate(CompareStr(a.AsString(), b.AsString()), 0);
  auto isInteger = [](size_t k) {
    return k == Variant::kSmallint || k == Variant::kInteger || k == Variant::kInt64 ||
           k == Variant::kByte || k == Variant::kBoolean;
  };
  if (!sa && !sb) {
    if (isInteger(ka) && isInteger(kb)) return Relate(a.AsInt64(), b.AsInt64());
    return Relate(a.AsFloat(), b.AsFloat());
  }
  // A string against a number, date or Boolean: read the string as the
  // other side's kind; one that does not read is simply unequal.
  const Variant& text = sa ? a : b;
  const Variant& other = sa ? b : a;
  const size_t kOther = sa ? kb : ka;
  double left, right = other.AsFloat();
  const std::string& s = std::get<std::string>(text.value_);
  if (kOther == Variant::kBoolean) {
    bool value;
    if (!TextToBoolean(s, value)) return vrNotEqual;
    left = value ? -1 : 0;
  } else if (kOther == Variant::kDate) {
    if (!TryStrToDateTime(s, left)) return vrNotEqual;
  } else if (!TextToNumber(s, left)) {
    return vrNotEqual;
  }
  return sa ? Relate(left, right) : Relate(right, left);
}

}  // namespace vorn
