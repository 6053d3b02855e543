// Declaring, resizing, setting and reading variables' elements; see
// VariableValues.h.
#include "VariableValues.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "DateBytes.h"
#include "vorn/host/DateTimeText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/query/Variables.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn {

namespace {

constexpr int kStringElement = 4001;
constexpr int kPlsqlStringElement = 32513;
constexpr int kStringLimitWithoutSession = 2000;

// A copy of the bytes of a one-dimensional variant array of bytes.
std::vector<uint8_t> BytesOf(const Variant& value, const std::string& name) {
  if (VarType(value) == (varArray | varByte)) return value.Bytes();
  if (value.IsArray()) {
    // An array of variants holding bytes is as good.
    std::vector<uint8_t> bytes;
    const int low = value.LowBound();
    const int high = value.HighBound();
    bytes.reserve(static_cast<size_t>(std::max(0, high - low + 1)));
    for (int i = low; i <= high; ++i) {
      const Variant element = value.GetElement(i);
      if (VarType(element) != varByte) {
        throw Exception("Only one-dimensional array of bytes allowed for " + name);
      }
      bytes.push_back(static_cast<uint8_t>(element.AsInteger()));
    }
    return bytes;
  }
  throw Exception("Only one-dimensional array of bytes allowed for " + name);
}

// The text goes into its element as it is unless carriage returns are to
// be removed from it: only then is it copied first.
void StoreText(TVariableData& variable, int index, std::string_view text, TOracleSession* session) {
  std::string withoutCr;
  if (text.find('\r') != std::string_view::npos && VariableValues::ConvertsLineBreaks(session)) {
    withoutCr = WithoutCr(std::string(text));
    text = withoutCr;
  }
  const size_t room = static_cast<size_t>(variable.ElementSize()) - 1;
  const size_t copied = std::min(room, text.size());
  uint8_t* element = variable.Element(index);
  std::memcpy(element, text.data(), copied);
  element[copied] = 0;
}

}  // namespace

std::string WithCrLf(std::string text) {
  size_t breaks = 0;
  for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
    if (i == 0 || text[i - 1] != '\r') ++breaks;
  }
  if (breaks == 0) return text;
  std::string result;
  result.reserve(text.size() + breaks);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
    result += text[i];
  }
  return result;
}

std::string WithoutCr(std::string text) {
  if (text.find('\r') == std::string::npos) return text;
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

bool VariableValues::ConvertsLineBreaks(TOracleSession* session) {
  return session == nullptr || session->Preferences()->ConvertCRLF();
}

Variant VariableValues::NullOf(TOracleSession* session) {
  return session != nullptr && session->NullValue() == nvNull ? Variant::MakeNull() : Variant();
}

int VariableValues::StringLimit(TOracleSession* session) {
  return (session != nullptr ? session->MaxStringLength() : kStringLimitWithoutSession) + 1;
}

int VariableValues::DeclaredElementSize(int typeCode) {
  switch (typeCode) {
    case otInteger:
      return 4;
    case otFloat:
      return 8;
    case otString:
    case otChar:
      return kStringElement;
    case otPLSQLString:
      return kPlsqlStringElement;
    case otDate:
      return kDateBytes;
    case otSubst:
    case otLong:
    case otLongRaw:
    case otObject:
    case otReference:
    case otCLOB:
    case otBLOB:
    case otBFile:
    case otCursor:
      return 0;
    default:
      return -1;
  }
}

void VariableValues::Declare(TVariableData& variable, const std::string& name, int typeCode) {
  variable.name_ = name;
  variable.typeCode_ = static_cast<int16_t>(typeCode);
  variable.isComplex_ = IsComplexType(typeCode);
  variable.ownsBuffer_ = !variable.isComplex_;
  variable.elementSize_ = DeclaredElementSize(typeCode);
  variable.elementCount_ = 1;
  variable.lowBound_ = 0;
  variable.indicators_.assign(1, -1);
  if (variable.elementSize_ > 0) {
    variable.buffer_ = std::make_unique<uint8_t[]>(static_cast<size_t>(variable.elementSize_));
  }
}

void VariableValues::Resize(TVariableData& variable, int count, int stringSize,
                            TOracleSession* session) {
  if (count == variable.elementCount_ &&
      (stringSize <= 0 || stringSize + 1 == variable.elementSize_)) {
    return;
  }
  variable.indicators_.assign(static_cast<size_t>(count), -1);
  if (variable.ownsBuffer_) {
    variable.buffer_.reset();
    if (variable.typeCode_ == otString || variable.typeCode_ == otChar) {
      variable.elementSize_ = std::min(variable.elementSize_, StringLimit(session));
    }
    if (stringSize > 0) variable.elementSize_ = stringSize + 1;
    const size_t bytes = static_cast<size_t>(count) * static_cast<size_t>(variable.elementSize_);
    if (bytes > 0) variable.buffer_ = std::make_unique<uint8_t[]>(bytes);
  }
  variable.elementCount_ = count;
}

void VariableValues::SetElement(TVariableData& variable, int index, const Variant& value,
                                TOracleSession* session) {
  auto& indicator = variable.indicators_[static_cast<size_t>(index)];
  if (value.IsEmpty() || value.IsNull()) {
    indicator = -1;
    if (variable.isComplex_) variable.instance_ = nullptr;
    return;
  }
  const std::string& name = variable.name_;
  try {
    switch (variable.typeCode_) {
      case otSubst:
      case otLong: {
        std::string text = value.AsString();
        if (ConvertsLineBreaks(session)) text = WithoutCr(std::move(text));
        variable.buffer_ = std::make_unique<uint8_t[]>(text.size() + 1);
        std::memcpy(variable.buffer_.get(), text.data(), text.size());
        variable.buffer_[text.size()] = 0;
        variable.elementSize_ = static_cast<int32_t>(text.size() + 1);
        variable.length_ = static_cast<uint32_t>(text.size());
        variable.indicators_[0] = 0;
        return;
      }
      case otInteger: {
        const int32_t number = value.AsInteger();
        std::memcpy(variable.Element(index), &number, sizeof number);
        break;
      }
      case otFloat: {
        const double number = value.AsFloat();
        std::memcpy(variable.Element(index), &number, sizeof number);
        break;
      }
      case otString:
      case otPLSQLString:
      case otChar:
        if (const std::string* text = value.StringValue()) {
          StoreText(variable, index, *text, session);
        } else {
          StoreText(variable, index, value.AsString(), session);
        }
        break;
      case otDate: {
        const TDateTime date = VarIsStr(value) ? StrToDateTime(value.AsString()) : value.AsFloat();
        if (date == 0) {
          indicator = -1;
          return;
        }
        DateTimeToDateBytes(date, variable.Element(index));
        break;
      }
      case otLongRaw: {
        std::vector<uint8_t> bytes;
        if (VarIsStr(value)) {
          const std::string text = value.AsString();
          bytes.assign(text.begin(), text.end());
        } else {
          bytes = BytesOf(value, name);
        }
        variable.buffer_ = std::make_unique<uint8_t[]>(std::max<size_t>(bytes.size(), 1));
        if (!bytes.empty()) std::memcpy(variable.buffer_.get(), bytes.data(), bytes.size());
        variable.elementSize_ = static_cast<int32_t>(bytes.size());
        variable.length_ = static_cast<uint32_t>(bytes.size());
        variable.indicators_[0] = 0;
        return;
      }
      default:
        if (variable.isComplex_) {
          if (!VarIsOrdinal(value) || VarType(value) == varBoolean) {
            throw Exception("Pass LongInt(Object) to complex variable " + name);
          }
          // The instance travels as an integer holding its address.
          variable.instance_ = reinterpret_cast<TObject*>(static_cast<intptr_t>(value.AsInt64()));
          indicator = variable.instance_ != nullptr ? 0 : -1;
          return;
        }
        throw Exception("Unsupported variable type for " + name);
    }
  } catch (const EVariantError&) {
    throw Exception("Variant conversion error for variable " + name);
  } catch (const EConvertError&) {
    throw Exception("Variant conversion error for variable " + name);
  }
  indicator = 0;
}

Variant VariableValues::GetElement(const TVariableData& variable, int index,
                                   TOracleSession* session) {
  if (variable.indicators_[static_cast<size_t>(index)] == -1) return NullOf(session);
  const uint8_t* element = variable.Element(index);
  switch (variable.typeCode_) {
    case otSubst:
    case otString:
    case otPLSQLString:
    case otChar: {
      std::string text(reinterpret_cast<const char*>(element),
                       strnlen(reinterpret_cast<const char*>(element),
                               static_cast<size_t>(variable.elementSize_)));
      return ConvertsLineBreaks(session) ? Variant(WithCrLf(std::move(text)))
                                         : Variant(std::move(text));
    }
    case otInteger: {
      int32_t number = 0;
      std::memcpy(&number, element, sizeof number);
      return number;
    }
    case otFloat: {
      double number = 0;
      std::memcpy(&number, element, sizeof number);
      return number;
    }
    case otDate:
      return Variant::FromDateTime(DateBytesToDateTime(element));
    case otLong: {
      std::string text(reinterpret_cast<const char*>(variable.buffer_.get()), variable.length_);
      return ConvertsLineBreaks(session) ? Variant(WithCrLf(std::move(text)))
                                         : Variant(std::move(text));
    }
    case otLongRaw:
      return Variant::FromBytes(variable.buffer_.get(), variable.length_);
    default:
      return NullOf(session);
  }
}

}  // namespace vorn
