// The texts of filter errors and the routines that raise them as
// EExpression. "%s" takes one text, "%d" one number.
#pragma once

#include <string_view>

namespace vorn::filter {

inline constexpr const char* SNotAppropriate = "%s not appropriate";
inline constexpr const char* SNotValidOperator = "%s not a valid operator";
inline constexpr const char* SInvalidSubExpression = "invalid sub-expression";
inline constexpr const char* SCloseParenExpected = " ) expected";
inline constexpr const char* SNotAllowedHere = "%s not allowed here";
inline constexpr const char* SIncorrectParameters = "Incorrectly formed parameters";
inline constexpr const char* SUnknownIdentifier = "Unknown Identifier %s";
inline constexpr const char* SUnexpectedEndOfFactor = "Unexpected end of factor";
inline constexpr const char* SSyntaxError = "Syntax error";
inline constexpr const char* SIdentifierNotAllowed = "Identifier %s not allowed here";
inline constexpr const char* SBooleanNotAllowed = "Boolean literal not allowed here";
inline constexpr const char* SCharInInput = "char %s in input stream";
inline constexpr const char* SUnterminatedString = "Unterminated string";
inline constexpr const char* SStringTooLong = "String too long";
inline constexpr const char* SUnterminatedFieldname = "Unterminated fieldname";
inline constexpr const char* SFieldnameTooLong = "Fieldname too long";
inline constexpr const char* SBadNumericFormat = "Bad numeric format";
inline constexpr const char* SNestedTooDeeply = "Expression nested too deeply";

inline constexpr const char* SNotUnary = "%s is not simple unary operator";
inline constexpr const char* SNotBinary = "%s is not a simple binary operator";
inline constexpr const char* SNotRelational = "%s is not relational operator";
inline constexpr const char* SIncompatible = "Operator %s incompatible with %s";
inline constexpr const char* SCannotApplyToBoolean = "cannot apply %s to boolean operands";
inline constexpr const char* SCannotRead = "Cannot read %s as %s";
inline constexpr const char* SInvalidParameter = "Invalid parameter to %s";
inline constexpr const char* SInvalidIfParameters = "Invalid parameters to If";

// Raises EExpression with `format`, each "%s" replaced by the next of `args`
// in turn.
[[noreturn]] void ExpressionError(std::string_view format, std::string_view arg1 = {},
                                  std::string_view arg2 = {});
// "Internal parser error. Code <code>".
[[noreturn]] void InternalError(int code);

}  // namespace vorn::filter
