// How the translator spells names and literals in the Oracle SQL it
// generates: a name that Oracle would read back unchanged without quotes
// (upper case, a letter first, then letters, digits, _ $ #, not a reserved
// word) stays bare so the text reads like hand-written SQL; any other name
// is double-quoted. Text literals double their quotes.
#pragma once

#include <string>
#include <string_view>

namespace vorn::server::translator {

std::string sqlName(std::string_view name);
// owner.name, each part spelled by sqlName.
std::string sqlName(std::string_view owner, std::string_view name);
// A column alias: always double-quoted ("FRIEND.NAME").
std::string sqlAlias(std::string_view label);
// 'text' with quotes doubled.
std::string sqlText(std::string_view text);

}  // namespace vorn::server::translator
