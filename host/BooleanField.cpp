// TBooleanField: a 16-bit truth value with configurable texts.
#include "vorn/host/BooleanField.h"

#include <cstring>

#include "vorn/host/DbConsts.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

TBooleanField::TBooleanField(TComponent* owner) : TField(owner) {
  SetDataType(ftBoolean);
}

void TBooleanField::SetDisplayValues(const std::string& values) {
  if (values == displayValues_) return;
  std::string trueText = "True";
  std::string falseText = "False";
  if (!values.empty()) {
    size_t separator = values.find(';');
    trueText = values.substr(0, separator);
    falseText = separator == std::string::npos ? std::string() : values.substr(separator + 1);
  }
  displayValues_ = values;
  trueText_ = std::move(trueText);
  falseText_ = std::move(falseText);
  PropertyChanged(true);
}

int TBooleanField::GetDefaultWidth() const {
  return static_cast<int>(std::max(trueText_.size(), falseText_.size()));
}

bool TBooleanField::GetAsBoolean() const {
  uint16_t value = 0;
  return GetData(&value) && value != 0;
}

std::string TBooleanField::GetAsString() const {
  uint16_t value = 0;
  if (!GetData(&value)) return std::string();
  return value != 0 ? trueText_ : falseText_;
}

Variant TBooleanField::GetAsVariant() const {
  uint16_t value = 0;
  if (!GetData(&value)) return Null();
  return Variant(value != 0);
}

void TBooleanField::SetAsBoolean(bool value) {
  uint16_t native = value ? 1 : 0;
  SetData(&native);
}

void TBooleanField::SetAsString(const std::string& value) {
  if (value.empty()) {
    if (falseText_.empty()) {
      SetAsBoolean(false);
    } else if (trueText_.empty()) {
      SetAsBoolean(true);
    } else {
      Clear();
    }
    return;
  }
  // Any leading part of a text selects it; False is tried first.
  auto isPrefix = [&](const std::string& text) {
    return value.size() <= text.size() && AnsiSameText(value, text.substr(0, value.size()));
  };
  if (isPrefix(falseText_)) {
    SetAsBoolean(false);
  } else if (isPrefix(trueText_)) {
    SetAsBoolean(true);
  } else {
    DatabaseErrorFmt(SInvalidBoolValue, {value, DisplayName()});
  }
}

void TBooleanField::SetVarValue(const Variant& value) {
  SetAsBoolean(value.AsBoolean());
}

}  // namespace vorn
