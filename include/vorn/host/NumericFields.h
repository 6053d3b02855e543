// The numeric field classes: integers of 16, 32 and 64 bits and doubles.
//
// Native values (little-endian): TSmallintField 16-bit signed, TWordField
// 16-bit unsigned, TIntegerField 32-bit signed, TLargeintField 64-bit
// signed, TFloatField/TCurrencyField/TBCDField a double.
//
// Range checks run in the setters, before the value reaches the dataset
// (and so before OnValidate). Integer fields accept [MinValue, MaxValue]
// when either bound is non-zero, else their type's natural range; float
// fields check only when a bound is non-zero. A value outside raises "%g is
// not a valid value for field '%s'. The allowed range is %g to %g".
//
// Texts: DisplayText uses DisplayFormat (FormatFloat), Text uses EditFormat,
// else DisplayFormat; without a format integers print in decimal and floats
// in the general format with Precision digits (currency fields: the locale's
// currency format for display, fixed with the currency decimals for
// editing). Assigning an empty text clears the field; a text that is not a
// number raises "'%s' is not a valid integer value for field '%s'" (or
// "floating point value"). Floats assigned to integer fields are rounded
// half to even; a float whose rounded value leaves the 32-bit range raises
// the range error.
//
// Native integers in record slots. A slot holds exactly the field's
// DataSize bytes: 2 for ftSmallint and ftWord, 4 for ftInteger, 8 for
// ftLargeint. A descendant that fills slots from fetched 32- or 64-bit
// numbers writes them through StoreNativeInteger, never with a 4-byte copy
// of its own: a smallint slot (the last one of a record, say) has room for
// 2 bytes only. The integer fields read and write through the same
// functions, so the slot size and every read and write agree.
#pragma once

#include <cstdint>

#include "vorn/host/Field.h"

namespace vorn {

// The bytes of `type`'s native integer value; 0 for a type that is not an
// integer type.
int NativeIntegerSize(TFieldType type);
// Writes `value` in `type`'s native format: exactly NativeIntegerSize(type)
// bytes. False, writing nothing, for a type that is not an integer type or
// a value outside the type's natural range.
bool TryStoreNativeInteger(TFieldType type, int64_t value, void* native);
// Writes `value` into a record slot of `field` (an integer field), exactly
// field.DataSize() bytes. A value outside the type's natural range raises
// "%g is not a valid value for field '%s'. The allowed range is %g to %g"
// and writes nothing; a field of another type raises "Cannot access field
// '%s' as type Integer".
void StoreNativeInteger(const TField& field, int64_t value, void* native);
// The native value of `type` at `native`; 0 for a type that is not an
// integer type.
int64_t LoadNativeInteger(TFieldType type, const void* native);

class TNumericField : public TField {
  VORN_CLASS(TNumericField, TField)
  explicit TNumericField(TComponent* owner);

  const std::string& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const std::string& format);
  const std::string& EditFormat() const { return editFormat_; }
  void SetEditFormat(const std::string& format);

 protected:
  // The format GetText applies: DisplayFormat for display, EditFormat
  // (falling back to DisplayFormat) for editing; empty for none.
  const std::string& TextFormat(bool displayText) const;

 private:
  std::string displayFormat_;
  std::string editFormat_;
};

class TIntegerField : public TNumericField {
  VORN_CLASS(TIntegerField, TNumericField)
  explicit TIntegerField(TComponent* owner);

  int32_t MinValue() const { return minValue_; }
  void SetMinValue(int32_t value) { minValue_ = value; }
  int32_t MaxValue() const { return maxValue_; }
  void SetMaxValue(int32_t value) { maxValue_ = value; }

  void SetAsInteger(int32_t value) override;
  void SetAsFloat(double value) override;
  void SetAsString(const std::string& value) override;

 protected:
  // Subclasses narrow the native size and range.
  TIntegerField(TComponent* owner, TFieldType type, int32_t minRange, int32_t maxRange);
  int GetDataSize() const override;
  std::string GetAsString() const override;
  int32_t GetAsInteger() const override;
  double GetAsFloat() const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  void GetText(std::string& text, bool displayText) const override;

 private:
  bool GetValue(int32_t& value) const;
  // The effective bounds: MinValue/MaxValue when either is set, else the
  // natural range.
  void Bounds(int32_t& min, int32_t& max) const;

  int32_t minRange_;
  int32_t maxRange_;
  int32_t minValue_ = 0;
  int32_t maxValue_ = 0;
};

class TSmallintField : public TIntegerField {
  VORN_CLASS(TSmallintField, TIntegerField)
  explicit TSmallintField(TComponent* owner);
};

class TWordField : public TIntegerField {
  VORN_CLASS(TWordField, TIntegerField)
  explicit TWordField(TComponent* owner);
};

class TLargeintField : public TNumericField {
  VORN_CLASS(TLargeintField, TNumericField)
  explicit TLargeintField(TComponent* owner);

  int64_t AsLargeInt() const;
  void SetAsLargeInt(int64_t value);
  int64_t MinValue() const { return minValue_; }
  void SetMinValue(int64_t value) { minValue_ = value; }
  int64_t MaxValue() const { return maxValue_; }
  void SetMaxValue(int64_t value) { maxValue_ = value; }

  void SetAsInteger(int32_t value) override { SetAsLargeInt(value); }
  void SetAsFloat(double value) override;
  void SetAsString(const std::string& value) override;

 protected:
  int GetDataSize() const override { return 8; }
  std::string GetAsString() const override;
  // The low 32 bits.
  int32_t GetAsInteger() const override;
  double GetAsFloat() const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  void GetText(std::string& text, bool displayText) const override;

 private:
  bool GetValue(int64_t& value) const;

  int64_t minValue_ = 0;
  int64_t maxValue_ = 0;
};

class TFloatField : public TNumericField {
  VORN_CLASS(TFloatField, TNumericField)
  explicit TFloatField(TComponent* owner);

  bool Currency() const { return currency_; }
  void SetCurrency(bool currency);
  // Significant digits of the general text, 2..15 (default 15).
  int Precision() const { return precision_; }
  void SetPrecision(int precision);
  double MinValue() const { return minValue_; }
  void SetMinValue(double value) { minValue_ = value; }
  double MaxValue() const { return maxValue_; }
  void SetMaxValue(double value) { maxValue_ = value; }

  void SetAsFloat(double value) override;
  void SetAsInteger(int32_t value) override { SetAsFloat(value); }
  void SetAsString(const std::string& value) override;

 protected:
  TFloatField(TComponent* owner, TFieldType type);
  int GetDataSize() const override { return 8; }
  std::string GetAsString() const override;
  // Rounded half to even.
  int32_t GetAsInteger() const override;
  double GetAsFloat() const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  void GetText(std::string& text, bool displayText) const override;

 private:
  bool GetValue(double& value) const;

  bool currency_ = false;
  int precision_ = 15;
  double minValue_ = 0;
  double maxValue_ = 0;
};

class TCurrencyField : public TFloatField {
  VORN_CLASS(TCurrencyField, TFloatField)
  explicit TCurrencyField(TComponent* owner);
};

// A minimal BCD field: the value is kept as a double (native format: a
// double, DataSize 8), which is all the library's datasets need of it.
class TBCDField : public TFloatField {
  VORN_CLASS(TBCDField, TFloatField)
  explicit TBCDField(TComponent* owner);
};

}  // namespace vorn
