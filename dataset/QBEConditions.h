// The texts query by example adds to a dataset's statement: one condition
// per field that holds a value in the example record, joined by CR LF and
// "and ", inside the statement's WHERE (HAVING for a grouping statement)
// clause, and the marker line "/* Modified for QBE */" at the end so that
// the dataset knows to put its own statement back.
//
// Text values are literals in the statement; every other value goes in a
// bind variable the dataset declares ("zuq__qbe" and the field number).
// A case-insensitive text condition offers the server the four case forms
// of the value's first two characters as prefixes (which an index on the
// column can serve) and lets upper() of both sides decide:
//   smith  (C like 'sm%' or C like 'Sm%' or C like 'sM%' or C like 'SM%')
//          and upper(C) = upper('smith')
//   a      C in ('A', 'a')
// A prefix alternative is left out where its characters have no other
// case. Case forms follow the locale (AnsiUpperCase, AnsiLowerCase).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::qbe_sql {

// The text typed for a text field made ready for the condition: with
// `fileWildCards` "*" becomes "%" and "?" becomes "_"; with `partialMatch`
// a "%" is appended unless the text ends with one.
std::string PrepareText(std::string_view text, bool fileWildCards, bool partialMatch);
// "like" when `text` holds "%" or "_", else "=".
bool HasWildcard(std::string_view text);
// The condition on `column` for the prepared text `text`; empty for an
// empty text.
std::string TextCondition(const std::string& column, std::string_view text, bool caseInsensitive);
// C >= :v and C < :v + 1: the whole day from midnight to midnight.
std::string WholeDayCondition(const std::string& column, const std::string& variable);
// C = :v.
std::string ValueCondition(const std::string& column, const std::string& variable);
// `sql` with `conditions` added, and the marker line; `sql` unchanged for
// no conditions. Lines are separated by CR LF.
std::string StatementWithConditions(std::string_view sql,
                                    const std::vector<std::string>& conditions);

}  // namespace vorn::qbe_sql
