// Feeds arbitrary text to the statement text operations and checks the
// promises their callers build on, beyond not crashing:
//  - RemoveComments gives a trimmed text no longer than its input, and is
//    idempotent (no comment opener is formed where one was removed);
//  - MaskStatement keeps the length, and changes a character only to its
//    upper case or to "_";
//  - FindWord answers a position where the word stands as a whole word;
//  - SplitStatement answers "where" or "having", and trimmed parts that
//    stand in the comment-free text in the order head, condition, tail;
//  - RefreshStatement (the statement that reads one record again, made from
//    a dataset's own SQL) always selects by the rowid, and locks the given
//    column last.
// A broken promise stops the program, which the fuzzer reports.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "RecordUpdater.h"
#include "vorn/dataset/SqlText.h"

namespace {

using namespace vorn;

void Check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

bool IsTrimmed(const std::string& text) {
  return text.empty() || (!IsBlank(text.front()) && !IsBlank(text.back()));
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsWordChar(char c) {
  auto code = static_cast<unsigned char>(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c == '#' || c == '.' || c == '@' || c == '"' || code >= 128;
}

void CheckWord(const std::string& masked, std::string_view word) {
  size_t at = FindWord(masked, word);
  if (at == std::string::npos) return;
  Check(at + word.size() <= masked.size(), "FindWord answers a position inside the text");
  Check(std::string_view(masked).substr(at, word.size()) == word, "FindWord finds the word");
  Check(at == 0 || !IsWordChar(masked[at - 1]), "the word starts a word");
  Check(at + word.size() == masked.size() || !IsWordChar(masked[at + word.size()]),
        "the word ends a word");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);

  std::string clean = RemoveComments(text);
  Check(IsTrimmed(clean), "RemoveComments trims");
  Check(clean.size() <= text.size(), "RemoveComments adds nothing");
  Check(RemoveComments(clean) == clean, "RemoveComments is idempotent");

  std::string masked = MaskStatement(clean);
  Check(masked.size() == clean.size(), "MaskStatement keeps the length");
  for (size_t i = 0; i < masked.size(); ++i) {
    Check(masked[i] == Upper(clean[i]) || masked[i] == '_', "MaskStatement upper-cases or hides");
  }
  for (std::string_view word : {"WHERE", "HAVING", "GROUP", "ORDER", "FOR", "SELECT"})
    CheckWord(masked, word);

  TStatementParts parts = SplitStatement(text);
  Check(parts.Keyword == "where" || parts.Keyword == "having", "the keyword is where or having");
  Check(IsTrimmed(parts.Head) && IsTrimmed(parts.Condition) && IsTrimmed(parts.Tail),
        "the parts are trimmed");
  size_t headAt = clean.find(parts.Head);
  Check(headAt == 0 || parts.Head.empty(), "the head starts the statement");
  size_t after = parts.Head.size();
  if (!parts.Condition.empty()) {
    size_t conditionAt = clean.find(parts.Condition, after);
    Check(conditionAt != std::string::npos, "the condition follows the head");
    after = conditionAt + parts.Condition.size();
  }
  if (!parts.Tail.empty()) {
    Check(clean.size() >= parts.Tail.size() &&
              clean.compare(clean.size() - parts.Tail.size(), parts.Tail.size(), parts.Tail) == 0,
          "the tail ends the statement");
    Check(clean.size() - parts.Tail.size() >= after, "the tail follows the condition");
  }

  const std::string refresh = record_sql::RefreshStatement(text, "T", "");
  Check(refresh.find("T.rowid = :zuq__rowid") != std::string::npos,
        "the refresh statement selects by the rowid");
  const std::string lock = record_sql::RefreshStatement(text, "T", "C");
  const std::string lockLine = "\nfor update of T.C nowait";
  Check(lock.size() >= lockLine.size() &&
            lock.compare(lock.size() - lockLine.size(), lockLine.size(), lockLine) == 0,
        "the locking refresh statement ends with its lock");
  return 0;
}
