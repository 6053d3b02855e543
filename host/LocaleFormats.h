// Translation of the C library's locale formats (strftime patterns) into
// the host's date and time format codes.
#pragma once

#include <optional>
#include <string>

namespace vorn {

// Translates a strftime format into the host's format codes. The first
// punctuation character between fields becomes `separator` and is written as
// `separatorCode` ("/" or ":"); letters between fields are quoted. Returns
// nothing for formats without a faithful translation (unknown fields,
// non-ASCII literals).
std::optional<std::string> TranslateStrftime(const char* format, char separatorCode,
                                             std::optional<char>& separator);

// The format without its seconds field (and the separator before it).
std::string WithoutSeconds(std::string format);

}  // namespace vorn
