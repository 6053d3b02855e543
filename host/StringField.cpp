// TStringField: bounded text stored zero-terminated.
#include "vorn/host/StringField.h"

#include <cstring>
#include <vector>

#include "vorn/host/DateTimeText.h"
#include "vorn/host/NumberText.h"

namespace vorn {

namespace {

// Record slots of ordinary size are read through the stack; only very wide
// string fields pay for a heap buffer.
constexpr int kStackBufferSize = 256;

}  // namespace

TStringField::TStringField(TComponent* owner) : TField(owner) {
  SetDataType(ftString);
  SetSize(20);
}

bool TStringField::GetValue(std::string& value) const {
  const int size = DataSize();
  char small[kStackBufferSize];
  std::vector<char> large;
  char* buffer = small;
  if (size > kStackBufferSize) {
    large.resize(static_cast<size_t>(size));
    buffer = large.data();
  }
  if (!GetData(buffer)) return false;
  value.assign(buffer, strnlen(buffer, static_cast<size_t>(size)));
  return true;
}

std::string TStringField::GetAsString() const {
  std::string value;
  GetValue(value);
  return value;
}

int32_t TStringField::GetAsInteger() const {
  std::string value;
  return GetValue(value) ? StrToInt(value) : 0;
}

double TStringField::GetAsFloat() const {
  std::string value;
  return GetValue(value) ? StrToFloat(value) : 0.0;
}

TDateTime TStringField::GetAsDateTime() const {
  std::string value;
  return GetValue(value) ? StrToDateTime(value) : 0.0;
}

bool TStringField::GetAsBoolean() const {
  std::string value;
  if (!GetValue(value) || value.empty()) return false;
  char first = value[0];
  return first == 'T' || first == 't' || first == 'Y' || first == 'y';
}

Variant TStringField::GetAsVariant() const {
  std::string value;
  if (!GetValue(value)) return Null();
  return Variant(std::move(value));
}

void TStringField::SetAsString(const std::string& value) {
  const int size = DataSize();
  char small[kStackBufferSize];
  std::vector<char> large;
  char* buffer = small;
  if (size > kStackBufferSize) {
    large.resize(static_cast<size_t>(size));
    buffer = large.data();
  }
  size_t length = std::min(value.size(), static_cast<size_t>(Size()));
  std::memcpy(buffer, value.data(), length);
  std::memset(buffer + length, 0, static_cast<size_t>(size) - length);
  SetData(buffer);
}

void TStringField::SetAsInteger(int32_t value) {
  SetAsString(IntToStr(value));
}

void TStringField::SetAsFloat(double value) {
  SetAsString(FloatToStr(value));
}

void TStringField::SetAsDateTime(TDateTime value) {
  SetAsString(DateTimeToStr(value));
}

void TStringField::SetAsBoolean(bool value) {
  SetAsString(value ? "T" : "F");
}

void TStringField::SetVarValue(const Variant& value) {
  SetAsString(value.AsString());
}

}  // namespace vorn
