// The condition of a check constraint, rewritten so that the client can
// evaluate it for a record that is not yet stored: every reference to one
// of the constraint's columns becomes a bind variable of the same name.
//
// A reference is a column name standing alone (the characters around it are
// not word characters in the sense of SqlText.h), found without regard to
// case, which gets ":" put in front of it; or a column name in double quotes
// ("SAL"), whose opening quote becomes ":" and whose closing quote goes.
// Names inside longer words and everything inside string literals ('SAL')
// stay as they are: a literal is a value, never a column.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

std::string RewriteCheckCondition(std::string_view condition,
                                  const std::vector<std::string>& columns);

}  // namespace vorn
