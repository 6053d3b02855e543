// TBooleanField: a truth value, stored natively as a 16-bit integer
// (non-zero is True).
//
// Its text is one of DisplayValues ("True;False" unless set: the text for
// True, ";", the text for False). Assigning text accepts any
// case-insensitive prefix of the False text, then of the True text; other
// text raises "'%s' is not a valid boolean value for field '%s'". An empty
// text clears, unless one of the two texts is itself empty.
#pragma once

#include "vorn/host/Field.h"

namespace vorn {

class TBooleanField : public TField {
  VORN_CLASS(TBooleanField, TField)
  explicit TBooleanField(TComponent* owner);

  const std::string& DisplayValues() const { return displayValues_; }
  void SetDisplayValues(const std::string& values);

  void SetAsBoolean(bool value) override;
  void SetAsString(const std::string& value) override;

 protected:
  int GetDataSize() const override { return 2; }
  int GetDefaultWidth() const override;
  std::string GetAsString() const override;
  bool GetAsBoolean() const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;

 private:
  std::string displayValues_;
  std::string trueText_ = "True";
  std::string falseText_ = "False";
};

}  // namespace vorn
