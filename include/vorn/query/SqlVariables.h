// The scanner that finds the colon-prefixed variable names in SQL text,
// outside quoted literals and comments. Substitution uses every occurrence;
// the dataset asks for each name once.
//
// The text (plus a final CR LF) is read once. A colon starts a name, which
// goes on over letters, digits, "#", "$", "_" and every byte from 128 to
// 255; the character that ends it is not looked at again (so in ":a:b"
// only A is a name). A single quote starts a literal ending at the next
// one; "/*" a comment ending at "*/"; "--" a comment ending at CR LF. A
// colon followed by no name character (":=") gives an empty name. Names
// come back upper-cased (AnsiUpperCase) with the 1-based position of their
// colon. Any text is accepted: an unterminated literal or comment simply
// runs to the end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

struct TVariableOccurrence {
  std::string Name;
  int Position = 0;
};

std::vector<TVariableOccurrence> ScanVariables(std::string_view text, bool allOccurrences);

}  // namespace vorn
