// The date-time field classes: TDateTimeField (ftDateTime), TDateField
// (ftDate) and TTimeField (ftTime).
//
// Values are TDateTime doubles; the native formats are those of the
// framework: ftDate a 32-bit day number (1 January 0001 = 1), ftTime 32-bit
// milliseconds since midnight, ftDateTime a double of milliseconds since
// the start of day 0 (so 1 January 0001 starts at 86 400 000). A native
// date-time that does not split into a day and a time (zero or negative)
// reads as the timestamp (0, 0). A value outside the years 1..9999 cannot
// be stored (EConvertError).
//
// Texts: DisplayText uses DisplayFormat when set; otherwise, and always for
// Text, the short date, the long time, or the short date and long time
// (the time left out at exactly midnight). Assigning text parses a date, a
// time or a date and time by the field's type and the locale; an empty text
// clears.
#pragma once

#include "vorn/host/Field.h"

namespace vorn {

class TDateTimeField : public TField {
  VORN_CLASS(TDateTimeField, TField)
  explicit TDateTimeField(TComponent* owner);

  const std::string& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const std::string& format);

  void SetAsDateTime(TDateTime value) override;
  void SetAsFloat(double value) override { SetAsDateTime(value); }
  void SetAsString(const std::string& value) override;

 protected:
  TDateTimeField(TComponent* owner, TFieldType type);
  int GetDataSize() const override;
  std::string GetAsString() const override;
  double GetAsFloat() const override;
  TDateTime GetAsDateTime() const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  void GetText(std::string& text, bool displayText) const override;

 private:
  bool GetValue(TDateTime& value) const;

  std::string displayFormat_;
};

class TDateField : public TDateTimeField {
  VORN_CLASS(TDateField, TDateTimeField)
  explicit TDateField(TComponent* owner);
};

class TTimeField : public TDateTimeField {
  VORN_CLASS(TTimeField, TDateTimeField)
  explicit TTimeField(TComponent* owner);
};

// Conversions between TDateTime values and the native formats above.
// ToNative raises EConvertError for values outside the years 1..9999.
void DateTimeToNative(TFieldType type, TDateTime value, void* native);
TDateTime NativeToDateTime(TFieldType type, const void* native);

}  // namespace vorn
