// Statement text analysis: the small text operations on which the dataset
// rewrites its own SELECT statement (record lock, refresh and check
// statements, record counts, query by example, the updating table). They
// work on plain statement text and need nothing else.
//
//   RemoveComments  the text without "/* ... */" and "-- ..." comments,
//                   trimmed. A line comment ends with its line break, which
//                   goes with it: a line feed, or a carriage return and line
//                   feed pair. Comment openers inside quoted literals ('...')
//                   and quoted names ("...") are text, not comments. Where a
//                   removed comment stood between two words that would
//                   otherwise run together, one blank is kept.
//   MaskStatement   the text upper-cased (a-z only), of the same length,
//                   with everything inside quoted literals and inside
//                   parentheses replaced by "_" (the quotes and parentheses
//                   stay), so that keyword searches find only the words of
//                   the statement itself, never those of literals or
//                   subqueries. A parenthesis inside a literal is text.
//                   Positions in the mask are positions in the text.
//   FindWord        where a word occurs as a whole word in a masked text.
//                   Word characters are letters, digits, "_", "$", "#", ".",
//                   "@", the double quote and every byte from 128 up.
//   SplitStatement  a statement split into the text before its condition,
//                   the condition, the condition's keyword ("having" when
//                   the statement groups, else "where") and the tail (from
//                   ORDER, or else FOR, to the end).
//
// A caller that adds a condition rebuilds the statement as the head, then
// the ConditionClause (the keyword, " (", the old condition, ")", CR LF,
// "and", CR LF, "(", the new condition and ")" when there was a condition,
// or the keyword, a blank and the new condition when there was none), and
// then the tail.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// A statement taken apart by SplitStatement. Head, Condition and Tail are
// trimmed; Condition is empty when the statement has no WHERE (or, for a
// grouping statement, no HAVING); Tail is empty without ORDER and FOR.
struct TStatementParts {
  std::string Head;
  std::string Condition;
  // "where", or "having" when the statement contains GROUP: the keyword
  // the statement's condition has, or would get.
  std::string Keyword;
  std::string Tail;
};

std::string RemoveComments(std::string_view text);
std::string MaskStatement(std::string_view text);
// The position of `word` (compared without regard to a-z case) as a whole
// word in `maskedText`, the first one from the start; std::string::npos
// when it does not occur.
size_t FindWord(std::string_view maskedText, std::string_view word);
// Whether `c` belongs to a word in the sense of FindWord.
bool IsWordCharacter(char c);
// Removes the comments, masks the result for the keyword searches and
// splits it. The parts are cut from the text without comments.
TStatementParts SplitStatement(std::string_view text);
// The condition clause of `parts` with `condition` added (see above).
std::string ConditionClause(const TStatementParts& parts, std::string_view condition);

}  // namespace vorn
