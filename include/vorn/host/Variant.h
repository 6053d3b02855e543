// Variant: the host's dynamically typed value.
//
// A Variant is Unassigned (the default), Null, a 16-, 32- or 64-bit integer,
// a byte, a double, a date-time, a Boolean, a string, or a one-dimensional
// array with any low and high bound whose elements are Variants or one typed
// kind (an array of varByte keeps plain bytes: the host's "bytes"). It is a
// value type: copying copies array contents, moving is cheap.
//
// Conversions (AsInteger, AsFloat, AsString, AsDateTime, AsBoolean, VarAsType)
// follow the host:
//   Unassigned  gives 0, "", false, 0.0;
//   Null        cannot convert (use VarToStr for "" instead);
//   Boolean     True is -1 as a number, "True"/"False" as text;
//   string      to a number with StrToInt, else StrToFloat (rounded to even
//               for integers), by FormatSettings; to a date with
//               StrToDateTime; to a Boolean by "True"/"False" (any case) or
//               a number other than 0;
//   double/date to an integer rounded to even; as text FloatToStr /
//               DateTimeToStr.
// An impossible conversion raises EVariantError "Invalid variant type
// conversion"; an integer outside the target range raises EVariantError
// "Variant overflow".
//
// Equality: Unassigned equals only Unassigned and Null only Null; numbers,
// Booleans and dates compare by value; strings byte for byte; a string and a
// number (or date, or Boolean) compare after converting the string, and are
// unequal when it does not convert; arrays compare bounds and elements.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "vorn/host/DateTime.h"

namespace vorn {

enum TVarType : uint16_t {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varOleStr = 0x0008,
  varBoolean = 0x000B,
  varVariant = 0x000C,
  varByte = 0x0011,
  varInt64 = 0x0014,
  varString = 0x0100,
  varTypeMask = 0x0FFF,
  varArray = 0x2000,
};

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class Variant {
 public:
  Variant() = default;
  Variant(short value) : value_(static_cast<int16_t>(value)) {}
  Variant(int value) : value_(static_cast<int32_t>(value)) {}
  Variant(long value) : value_(static_cast<int64_t>(value)) {}
  Variant(long long value) : value_(static_cast<int64_t>(value)) {}
  Variant(unsigned char value) : value_(static_cast<uint8_t>(value)) {}
  Variant(unsigned short value) : value_(static_cast<int32_t>(value)) {}
  Variant(unsigned int value) : value_(static_cast<int64_t>(value)) {}
  // Raise EVariantError "Variant overflow" above the int64 range.
  Variant(unsigned long value);
  Variant(unsigned long long value);
  Variant(float value) : value_(static_cast<double>(value)) {}
  Variant(double value) : value_(value) {}
  Variant(bool value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(const char* value) : value_(std::string(value)) {}
  // A char is ambiguous (a number or a one-letter string): say which. A
  // pointer would silently become a Boolean.
  Variant(char) = delete;
  template <class T>
  requires(!std::is_same_v<std::remove_cv_t<T>, char>) Variant(T*)
  = delete;

  static Variant MakeNull();
  static Variant FromDateTime(TDateTime value);
  // A varByte array low..low+size-1 holding `bytes`.
  static Variant FromBytes(std::vector<uint8_t> bytes, int lowBound = 0);
  static Variant FromBytes(const void* data, size_t size, int lowBound = 0);

  TVarType VarType() const;
  bool IsEmpty() const { return value_.index() == kEmpty; }
  bool IsNull() const { return value_.index() == kNull; }
  bool IsArray() const { return value_.index() == kArray; }

  int32_t AsInteger() const;
  int64_t AsInt64() const;
  double AsFloat() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  std::string AsString() const;

  // Arrays; a non-array raises EVariantError "Variant is not an array", an
  // index outside the bounds "Variant or safe array index out of bounds".
  int LowBound() const;
  int HighBound() const;
  Variant GetElement(int index) const;
  // Element `index` without a copy, for arrays of any element type but
  // varByte (whose elements are not variants: EVariantError "Variant is not
  // an array of variants").
  const Variant& ElementRef(int index) const;
  // Stores `value` converted to the element type (as is for varVariant).
  void PutElement(int index, const Variant& value);
  void PutElement(int index, Variant&& value);
  // The elements of a varByte array; any other variant raises EVariantError
  // "Variant is not an array of bytes".
  const std::vector<uint8_t>& Bytes() const;

  // The text of a string variant without a copy; null for any other kind
  // (AsString converts those).
  const std::string* StringValue() const { return std::get_if<std::string>(&value_); }

  bool operator==(const Variant& other) const;

 private:
  struct NullValue {};
  struct DateValue {
    double value;
  };
  struct ArrayData;
  // Owns the array contents; copies deeply.
  class ArrayBox {
   public:
    explicit ArrayBox(std::unique_ptr<ArrayData> data);
    ArrayBox(const ArrayBox& other);
    ArrayBox(ArrayBox&&) noexcept;
    ArrayBox& operator=(const ArrayBox& other);
    ArrayBox& operator=(ArrayBox&&) noexcept;
    ~ArrayBox();
    ArrayData* get() const { return data_.get(); }

   private:
    std::unique_ptr<ArrayData> data_;
  };

  enum Kind : size_t {
    kEmpty,
    kNull,
    kSmallint,
    kInteger,
    kInt64,
    kByte,
    kDouble,
    kDate,
    kBoolean,
    kString,
    kArray
  };
  using Value = std::variant<std::monostate, NullValue, int16_t, int32_t, int64_t, uint8_t, double,
                             DateValue, bool, std::string, ArrayBox>;

  const ArrayData& Array() const;
  ArrayData& Array();

  friend Variant VarArrayCreate(int lowBound, int highBound, TVarType elementType);
  friend void VarArrayRedim(Variant& array, int highBound);
  friend TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);

  Value value_;
};

Variant Null();
Variant Unassigned();
Variant VarFromDateTime(TDateTime value);

inline TVarType VarType(const Variant& v) {
  return v.VarType();
}
inline bool VarIsNull(const Variant& v) {
  return v.IsNull();
}
inline bool VarIsEmpty(const Variant& v) {
  return v.IsEmpty();
}
inline bool VarIsArray(const Variant& v) {
  return v.IsArray();
}
bool VarIsStr(const Variant& v);
// Integers, bytes and Booleans.
bool VarIsOrdinal(const Variant& v);
// Doubles (dates are not floats here, as in the host).
bool VarIsFloat(const Variant& v);
bool VarIsNumeric(const Variant& v);

// A new array low..high of `elementType` elements (varVariant elements start
// Unassigned, typed ones at zero, "" or false). high may be low - 1 (empty);
// lower, or an element type that cannot form an array, raises EVariantError
// "Error creating variant or safe array".
Variant VarArrayCreate(int lowBound, int highBound, TVarType elementType);
// An array of variants with bounds 0..n-1.
Variant VarArrayOf(std::initializer_list<Variant> values);
Variant VarArrayOf(const std::vector<Variant>& values);
// Moves the high bound, keeping the elements that remain.
void VarArrayRedim(Variant& array, int highBound);
// 1 for an array, 0 otherwise.
int VarArrayDimCount(const Variant& v);
// `dim` must be 1.
int VarArrayLowBound(const Variant& v, int dim = 1);
int VarArrayHighBound(const Variant& v, int dim = 1);
Variant VarArrayGet(const Variant& array, int index);
void VarArrayPut(Variant& array, const Variant& value, int index);

// The variant converted to `type` (varEmpty, varNull, varSmallint, varInteger,
// varInt64, varByte, varDouble, varSingle, varDate, varBoolean, varString,
// varOleStr); arrays convert only to varVariant.
Variant VarAsType(const Variant& v, TVarType type);
// AsString, but Null gives "".
std::string VarToStr(const Variant& v);
std::string VarToStrDef(const Variant& v, const std::string& nullText);
std::string VarTypeAsText(TVarType type);
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);

}  // namespace vorn
