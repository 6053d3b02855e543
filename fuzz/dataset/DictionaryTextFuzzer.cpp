// Feeds arbitrary text to the dictionary features' readers of outside text
// (statements for the updating table and its alias, check conditions from
// the dictionary, server messages, UniqueFields) and checks the promises
// their callers build on, beyond not crashing:
//  - the updating table is upper-case word characters without quotes, and
//    its alias is that table or a word that is no clause keyword;
//  - a rewritten check condition differs from its input only by colons put
//    in and double quotes taken out, and keeps every single quote;
//  - a cut application message is a start of the message, and a constraint
//    name lies in the message without a ")";
//  - the names of a field list are trimmed, non-empty and free of
//    separators.
// A broken promise stops the program, which the fuzzer reports.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CheckCondition.h"
#include "MessageTranslation.h"
#include "TableLookup.h"
#include "UpdatingTable.h"
#include "vorn/dataset/SqlText.h"

namespace {

using namespace vorn;

void Check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

std::string Without(std::string_view text, std::string_view characters) {
  std::string result;
  for (char c : text) {
    if (characters.find(c) == std::string_view::npos) result += c;
  }
  return result;
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

void CheckTable(std::string_view text) {
  const std::string table = UpdatingTableOfStatement(text);
  for (char c : table) {
    Check(IsWordCharacter(c) && c != '"', "the table is made of word characters without quotes");
    Check(!(c >= 'a' && c <= 'z'), "the table is upper-cased");
  }
  const std::string alias = UpdatingTableAliasOf(text, table);
  if (alias == table) return;
  Check(!alias.empty(), "an alias is not empty");
  for (char c : alias)
    Check(IsWordCharacter(c), "an alias is one word");
  for (std::string_view keyword : {"WHERE", "ORDER", "GROUP", "FOR", "START", "CONNECT"})
    Check(alias != keyword, "a clause keyword is no alias");
}

void CheckCondition(std::string_view text) {
  const std::string rewritten = RewriteCheckCondition(text, {"SAL", "JOB", "A", "Odd", "X$1"});
  Check(Without(rewritten, ":\"") == Without(text, ":\""),
        "the rewrite only adds colons and removes double quotes");
}

void CheckMessage(std::string_view text) {
  const std::string message(text);
  const std::string cut = CutApplicationMessage(20001, message);
  Check(message.compare(0, cut.size(), cut) == 0, "a cut message starts the message");
  const std::string name = ConstraintNameOf(1, message);
  Check(name.find(')') == std::string::npos, "a constraint name has no parenthesis");
  Check(message.find(name) != std::string::npos, "a constraint name lies in the message");
}

void CheckFieldNames(std::string_view text) {
  for (const std::string& name : SplitFieldNames(std::string(text))) {
    Check(!name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()),
          "field names are trimmed and not empty");
    Check(name.find_first_of(";,") == std::string::npos, "field names hold no separator");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckTable(text);
  CheckCondition(text);
  CheckMessage(text);
  CheckFieldNames(text);
  return 0;
}
