// The dataset framework's message formatting and the routines that raise
// EDatabaseError.
#include "vorn/host/DbConsts.h"

#include "vorn/host/Component.h"
#include "vorn/host/NumberText.h"

namespace vorn {

std::string TDbFormatArg::Text() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  if (const auto* integer = std::get_if<int64_t>(&value_)) return IntToStr(*integer);
  return FloatToStr(std::get<double>(value_));
}

int64_t TDbFormatArg::Integer() const {
  if (const auto* integer = std::get_if<int64_t>(&value_)) return *integer;
  if (const auto* number = std::get_if<double>(&value_)) return static_cast<int64_t>(*number);
  return 0;
}

double TDbFormatArg::Float() const {
  if (const auto* number = std::get_if<double>(&value_)) return *number;
  if (const auto* integer = std::get_if<int64_t>(&value_)) return static_cast<double>(*integer);
  return 0;
}

const char* FieldTypeName(TFieldType type) {
  static const char* const names[] = {
      "Unknown",     "String", "SmallInt",  "Integer",    "Word",     "Boolean",    "Float",
      "Currency",    "BCD",    "Date",      "Time",       "DateTime", "Bytes",      "VarBytes",
      "AutoInc",     "Blob",   "Memo",      "Graphic",    "FmtMemo",  "ParadoxOle", "DBaseOle",
      "TypedBinary", "Cursor", "FixedChar", "WideString", "Largeint"};
  auto index = static_cast<size_t>(type);
  return index < std::size(names) ? names[index] : "Unknown";
}

std::string FormatDbMessage(std::string_view format, std::initializer_list<TDbFormatArg> args) {
  std::string result;
  result.reserve(format.size() + 32);
  const TDbFormatArg* next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%' || i + 1 == format.size()) {
      result += c;
      continue;
    }
    char spec = format[++i];
    if (spec == '%') {
      result += '%';
      continue;
    }
    if (next == args.end()) {
      // A message with more slots than arguments keeps the slot visible
      // rather than inventing a value.
      result += '%';
      result += spec;
      continue;
    }
    const TDbFormatArg& arg = *next++;
    switch (spec) {
      case 'd':
        result += IntToStr(arg.Integer());
        break;
      case 'g':
        result += FloatToStr(arg.Float());
        break;
      default:
        result += arg.Text();
        break;
    }
  }
  return result;
}

void DatabaseError(const std::string& message, const TComponent* component) {
  if (component != nullptr && !component->Name().empty()) {
    throw EDatabaseError(component->Name() + ": " + message);
  }
  throw EDatabaseError(message);
}

void DatabaseErrorFmt(std::string_view format, std::initializer_list<TDbFormatArg> args,
                      const TComponent* component) {
  DatabaseError(FormatDbMessage(format, args), component);
}

}  // namespace vorn
