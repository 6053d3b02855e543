// The date-time field classes and the framework's native date formats.
#include "vorn/host/DateTimeFields.h"

#include <cstring>

#include "vorn/host/DateTimeText.h"
#include "vorn/host/Exceptions.h"

namespace vorn {

void DateTimeToNative(TFieldType type, TDateTime value, void* native) {
  TTimeStamp stamp = DateTimeToTimeStamp(value);
  switch (type) {
    case ftDate:
      std::memcpy(native, &stamp.Date, sizeof stamp.Date);
      break;
    case ftTime:
      std::memcpy(native, &stamp.Time, sizeof stamp.Time);
      break;
    default: {
      double msecs = TimeStampToMSecs(stamp);
      std::memcpy(native, &msecs, sizeof msecs);
      break;
    }
  }
}

TDateTime NativeToDateTime(TFieldType type, const void* native) {
  TTimeStamp stamp{};
  switch (type) {
    case ftDate:
      std::memcpy(&stamp.Date, native, sizeof stamp.Date);
      stamp.Time = 0;
      break;
    case ftTime:
      std::memcpy(&stamp.Time, native, sizeof stamp.Time);
      stamp.Date = DateDelta;
      break;
    default: {
      double msecs = 0;
      std::memcpy(&msecs, native, sizeof msecs);
      try {
        stamp = MSecsToTimeStamp(msecs);
      } catch (const EConvertError&) {
        stamp = TTimeStamp{0, 0};
      }
      break;
    }
  }
  return TimeStampToDateTime(stamp);
}

TDateTimeField::TDateTimeField(TComponent* owner) : TDateTimeField(owner, ftDateTime) {}

TDateTimeField::TDateTimeField(TComponent* owner, TFieldType type) : TField(owner) {
  SetDataType(type);
}

TDateField::TDateField(TComponent* owner) : TDateTimeField(owner, ftDate) {}

TTimeField::TTimeField(TComponent* owner) : TDateTimeField(owner, ftTime) {}

int TDateTimeField::GetDataSize() const {
  return DataType() == ftDateTime ? 8 : 4;
}

void TDateTimeField::SetDisplayFormat(const std::string& format) {
  if (format == displayFormat_) return;
  displayFormat_ = format;
  PropertyChanged(false);
}

bool TDateTimeField::GetValue(TDateTime& value) const {
  alignas(8) unsigned char native[8] = {};
  if (!GetData(native)) return false;
  value = NativeToDateTime(DataType(), native);
  return true;
}

TDateTime TDateTimeField::GetAsDateTime() const {
  TDateTime value = 0;
  return GetValue(value) ? value : 0.0;
}

double TDateTimeField::GetAsFloat() const {
  return GetAsDateTime();
}

std::string TDateTimeField::GetAsString() const {
  std::string text;
  GetText(text, false);
  return text;
}

Variant TDateTimeField::GetAsVariant() const {
  TDateTime value = 0;
  if (!GetValue(value)) return Null();
  return Variant::FromDateTime(value);
}

void TDateTimeField::SetAsDateTime(TDateTime value) {
  alignas(8) unsigned char native[8] = {};
  DateTimeToNative(DataType(), value, native);
  SetData(native);
}

void TDateTimeField::SetAsString(const std::string& value) {
  if (value.empty()) {
    Clear();
    return;
  }
  switch (DataType()) {
    case ftDate:
      SetAsDateTime(StrToDate(value));
      break;
    case ftTime:
      SetAsDateTime(StrToTime(value));
      break;
    default:
      SetAsDateTime(StrToDateTime(value));
      break;
  }
}

void TDateTimeField::SetVarValue(const Variant& value) {
  SetAsDateTime(value.AsDateTime());
}

void TDateTimeField::GetText(std::string& text, bool displayText) const {
  TDateTime value = 0;
  if (!GetValue(value)) {
    text.clear();
    return;
  }
  if (displayText && !displayFormat_.empty()) {
    text = FormatDateTime(displayFormat_, value);
    return;
  }
  switch (DataType()) {
    case ftDate:
      text = FormatDateTime("ddddd", value);
      break;
    case ftTime:
      text = FormatDateTime("tt", value);
      break;
    default:
      // "c": the short date, and the long time unless it is midnight.
      text = FormatDateTime("c", value);
      break;
  }
}

}  // namespace vorn
