// Numbers as text, by the locale settings.
//
// Integers: IntToStr, and StrToInt/StrToInt64 which accept leading blanks,
// a sign and decimal digits, or hexadecimal after "$" or "0x"; anything
// else, or a value outside the type, raises EConvertError "'text' is not a
// valid integer value".
//
// Floats: StrToFloat accepts blanks around, a sign, digits with at most one
// DecimalSeparator and an exponent (E or e, optional sign, digits); other
// text, or a value beyond the double range, raises EConvertError "'text' is
// not a valid floating point value". FloatToStr is the general format with
// 15 significant digits: no trailing zeros, no separator for whole numbers,
// and scientific form ("1E15", "1.5E-7") when the value has more than 15
// integer digits or is below 0.0001. Infinities and NaN print as "INF",
// "-INF" and "NAN".
//
// FormatFloat follows the host's format strings: up to three sections
// "positive;negative;zero", "0" a forced and "#" an optional digit, the first
// "." the decimal point, "," anywhere turning on thousands grouping, "E+"/
// "E-" (or "e+"/"e-") followed by zeros for scientific form, quoted text
// copied; all integer digits always print. The value is taken to 15
// significant digits and then rounded half away from zero to the places
// shown. Without a negative section a negative value gets a leading "-"; a
// value that rounds to zero uses the zero section (or the positive one).
// An empty format, or a magnitude of 1E18 or more, gives FloatToStr's text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vorn/host/FormatSettings.h"

namespace vorn {

std::string IntToStr(int64_t value);
bool TryStrToInt(std::string_view text, int32_t& value);
bool TryStrToInt64(std::string_view text, int64_t& value);
int32_t StrToInt(std::string_view text);
int64_t StrToInt64(std::string_view text);
// Uppercase hexadecimal, at least `digits` digits.
std::string IntToHex(int64_t value, int digits);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

bool TryStrToFloat(std::string_view text, double& value,
                   const TFormatSettings& settings = FormatSettings());
double StrToFloat(std::string_view text, const TFormatSettings& settings = FormatSettings());
std::string FloatToStr(double value, const TFormatSettings& settings = FormatSettings());
// `precision` significant digits (1..17); `digits` is the minimum exponent
// width for ffGeneral and ffExponent (0..4) and the number of decimals for
// ffFixed, ffNumber and ffCurrency (0..18).
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings = FormatSettings());
std::string FormatFloat(std::string_view format, double value,
                        const TFormatSettings& settings = FormatSettings());

}  // namespace vorn
