// The text rules of Vornix's statement processor (StatementProcessor.h),
// apart from any database, so that they can be tested and fuzzed alone.
//
// A line is trimmed of blanks and control characters at both ends and is
// then, by its text:
// - empty: nothing to do;
// - "commit" in any letter case, alone: a commit ("commit;" is not one);
// - "&" and a digit N: store the last scalar result in slot N, whatever
//   follows; "&" and anything else: nothing to do;
// - "connect " (any letter case, with the blank) and the rest: a logon,
//   split by SplitConnectLine;
// - anything else: a statement for the server's translator.
//
// Statements reach the translator as one PL/SQL block (TranslatorBlock)
// whose string literal holds the statement with its single quotes doubled,
// so that the server parses exactly the text typed and nothing in it can
// end the literal.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vorn {

inline constexpr int kSlotCount = 10;
using SlotValues = std::array<std::string, kSlotCount>;

enum class LineKind { Empty, Commit, StoreSlot, Ignored, Connect, Statement };

struct ClassifiedLine {
  LineKind kind = LineKind::Empty;
  // The line without its leading and trailing blanks and control characters.
  std::string text;
  // The slot of a StoreSlot line, else -1.
  int slot = -1;
};

ClassifiedLine ClassifyLine(std::string_view line);

struct ConnectTarget {
  std::string username;
  std::string password;
  std::string database;
};

// Splits a trimmed "connect ..." line: the database is everything after
// the first "@"; the credentials are the text from the ninth character up
// to that "@", trimmed; the password is what follows their first "/", the
// user name what precedes it. Without "@" the user name and password are
// empty and the database is the whole line; without "/" the user name is
// empty and the password is all of the credentials. (The logon dialog then
// shows these values and the user corrects them.)
ConnectTarget SplitConnectLine(std::string_view line);

// At most this many slot references are replaced in one statement.
inline constexpr int kMaxSlotSubstitutions = 1000;

// Replaces "&N" (N a digit) by slot N, always the first such pair from the
// start of the text, so that a slot value holding "&M" is replaced in turn.
// An "&" not followed by a digit stays. Raises vorn::Exception when more
// than kMaxSlotSubstitutions replacements would be needed, naming the
// slots that refer to themselves or to each other.
std::string SubstituteSlots(std::string_view text, const SlotValues& slots);

// The translator language of a statement by its first word (the text before
// the first blank, in any letter case): "VORN" for select; "ODDL" for
// create, drop and alter; "ODML" for insert, delete and update; "" for
// anything else and for a statement without a blank.
std::string LanguageOf(std::string_view statement);

// "begin parser.LoadLanguage('<language>'); parser.Parse('<statement>');
// :result := <language>.result; end;" with the statement's single quotes
// doubled.
std::string TranslatorBlock(std::string_view language, std::string_view statement);

enum class ResultKind { DataSet, Integer, String };

// The kind of result a translated text produces, from the tag of its
// leading comment: the text before the first "*/", after the first "/*"
// in it. A tag starting with ":" is compared in upper case without the
// colon, any other tag as it stands: "DS" is a dataset, "INT" an integer,
// "STR" and "REF" a string; anything else, and a text without such a
// comment, is a dataset.
ResultKind ResultKindOf(std::string_view translated);

}  // namespace vorn
