// Text helpers over 8-bit strings.
//
// The Ansi functions follow the C locale in effect (setlocale): case mapping
// byte by byte through toupper/tolower, comparison through strcoll. The plain
// ones touch only ASCII letters and compare bytes. Comparisons return <0, 0
// or >0. Trim removes characters up to and including the blank (control
// characters too) from the ends.
#pragma once

#include <string>
#include <string_view>

#include "vorn/host/Flags.h"

namespace vorn {

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);
// AnsiUpperCase in place, for loops that reuse one buffer.
void AnsiUpperCaseInPlace(std::string& text);

std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

// `text` in single quotes, inner quotes doubled.
std::string QuotedStr(std::string_view text);
std::string AnsiQuotedStr(std::string_view text, char quote);
// The text between `quote` characters at the start of `text` with doubled
// quotes undone; `text` itself when it does not start with `quote`. An
// unterminated quote takes the rest of the text.
std::string AnsiDequotedStr(std::string_view text, char quote);

enum TReplaceFlags : unsigned { rfNone = 0, rfReplaceAll = 1, rfIgnoreCase = 2 };
VORN_FLAGS(TReplaceFlags)

// Replaces the first (or, with rfReplaceAll, every) occurrence of `from`;
// rfIgnoreCase matches with AnsiUpperCase. An empty `from` replaces nothing.
std::string StringReplace(std::string_view text, std::string_view from, std::string_view to,
                          TReplaceFlags flags);

// A letter or "_" followed by letters, digits and "_" (ASCII).
bool IsValidIdent(std::string_view text);

}  // namespace vorn
