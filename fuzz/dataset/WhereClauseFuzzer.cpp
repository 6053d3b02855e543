// Feeds arbitrary text to the WHERE clause rewrite of the master/detail
// configuration and checks what the designer's statement relies on, beyond
// not crashing:
//  - the new clause is in the result, once more than in the input;
//  - what follows the clause is the end of the input, unchanged;
//  - what precedes it is the start of the input (without its trailing
//    blanks, and then CR LF, where the clause was added);
//  - nothing else is added.
// A broken promise stops the program, which the fuzzer reports.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "MasterDetailConfig.h"

namespace {

void Check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

size_t Occurrences(std::string_view text, std::string_view part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // A character no input of this run holds marks the clause unmistakably.
  const std::string clause = "where \x01link = :link\r\n";
  if (text.find('\x01') != std::string_view::npos) return 0;

  const std::string result = vorn::ReplaceWhereClause(text, clause);
  Check(Occurrences(result, clause) == 1, "the clause is in the result once");
  Check(result.size() <= text.size() + clause.size() + 2, "nothing else is added");
  const size_t at = result.find(clause);
  const std::string_view before = std::string_view(result).substr(0, at);
  const std::string_view after = std::string_view(result).substr(at + clause.size());
  Check(after.size() <= text.size() && text.substr(text.size() - after.size()) == after,
        "the end of the input follows the clause");
  if (before.size() >= 2 && before.substr(before.size() - 2) == "\r\n" &&
      text.substr(0, before.size()) != before) {
    const std::string_view head = before.substr(0, before.size() - 2);
    Check(text.substr(0, head.size()) == head, "the start of the input precedes the clause");
  } else {
    Check(text.substr(0, before.size()) == before, "the start of the input precedes the clause");
  }
  return 0;
}
