// The dataset framework's own messages and the routines that raise them as
// EDatabaseError.
//
// The texts are the framework's English ones, word for word; "%s", "%d" and
// "%g" are filled in by FormatDbMessage: "%s" takes the argument's text,
// "%d" an integer, "%g" a number in the general format with 15 significant
// digits (FloatToStr: "-9999", "999.99", "1E20"); "%%" is a percent sign.
//
// DatabaseError(message, component) prefixes the component's Name and ": "
// when the component is given and named. Dataset-level checks pass the
// dataset; field-level errors pass none.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "vorn/host/DataSetTypes.h"
#include "vorn/host/Exceptions.h"

namespace vorn {

class TComponent;

inline constexpr const char* SDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* SDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* SDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* SNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* SRecordNotFound = "Record not found";
inline constexpr const char* SFieldNotFound = "Field '%s' not found";
inline constexpr const char* SFieldRequired = "Field '%s' must have a value";
inline constexpr const char* SFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char* SDataSetMissing = "Field '%s' has no dataset";
inline constexpr const char* SFieldAccessError = "Cannot access field '%s' as type %s";
inline constexpr const char* SFieldRangeError =
    "%g is not a valid value for field '%s'. The allowed range is %g to %g";
inline constexpr const char* SInvalidIntegerValue =
    "'%s' is not a valid integer value for field '%s'";
inline constexpr const char* SInvalidFloatValue =
    "'%s' is not a valid floating point value for field '%s'";
inline constexpr const char* SInvalidBoolValue = "'%s' is not a valid boolean value for field '%s'";
inline constexpr const char* SFieldTypeMismatch =
    "Type mismatch for field '%s', expecting: %s actual: %s";
inline constexpr const char* SDuplicateName = "Duplicate name '%s' in %s";
inline constexpr const char* SDuplicateFieldName = "Duplicate field name '%s'";
inline constexpr const char* SFieldNameMissing = "Field name missing";
inline constexpr const char* SUnknownFieldType = "Field '%s' is of an unknown type";
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SInvalidVarCast = "Invalid variant type conversion";

// One argument of a message: a text or a number.
class TDbFormatArg {
 public:
  TDbFormatArg(std::string_view text) : value_(std::string(text)) {}
  TDbFormatArg(const std::string& text) : value_(text) {}
  TDbFormatArg(const char* text) : value_(std::string(text)) {}
  TDbFormatArg(int value) : value_(static_cast<int64_t>(value)) {}
  TDbFormatArg(int64_t value) : value_(value) {}
  TDbFormatArg(double value) : value_(value) {}

  std::string Text() const;
  int64_t Integer() const;
  double Float() const;

 private:
  std::variant<std::string, int64_t, double> value_;
};

// The type's name as messages show it ("Integer", "DateTime", ...).
const char* FieldTypeName(TFieldType type);

std::string FormatDbMessage(std::string_view format, std::initializer_list<TDbFormatArg> args);

// Raises EDatabaseError with `message`, prefixed with "Name: " when
// `component` is given and has a name.
[[noreturn]] void DatabaseError(const std::string& message, const TComponent* component);
[[noreturn]] void DatabaseErrorFmt(std::string_view format,
                                   std::initializer_list<TDbFormatArg> args,
                                   const TComponent* component = nullptr);

}  // namespace vorn
