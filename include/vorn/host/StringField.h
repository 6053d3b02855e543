// TStringField: text of at most Size characters (default 20), stored
// natively as Size + 1 bytes, zero-terminated.
//
// Assigning a longer text keeps its first Size characters; an empty text
// arrives at the dataset as a buffer whose first byte is 0 (descendants may
// store it as null). Numbers and dates are stored as their text, Booleans
// as "T"/"F"; reading them back parses the text (EConvertError on failure),
// and AsBoolean is True when the text starts with T, t, Y or y.
#pragma once

#include "vorn/host/Field.h"

namespace vorn {

class TStringField : public TField {
  VORN_CLASS(TStringField, TField)
  explicit TStringField(TComponent* owner);

  void SetAsString(const std::string& value) override;
  void SetAsInteger(int32_t value) override;
  void SetAsFloat(double value) override;
  void SetAsDateTime(TDateTime value) override;
  void SetAsBoolean(bool value) override;

 protected:
  int GetDataSize() const override { return Size() + 1; }
  int GetDefaultWidth() const override { return Size(); }
  std::string GetAsString() const override;
  int32_t GetAsInteger() const override;
  double GetAsFloat() const override;
  TDateTime GetAsDateTime() const override;
  bool GetAsBoolean() const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;

 private:
  // The stored text; False for null.
  bool GetValue(std::string& value) const;
};

}  // namespace vorn
