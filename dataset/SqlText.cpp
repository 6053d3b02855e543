// Statement text analysis: comment removal, masking, whole-word search and
// splitting a SELECT statement around its condition.
#include "vorn/dataset/SqlText.h"

#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

// Blanks and control characters: what separates words and what trimming
// removes.
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Copies the kept characters of a text whose comments are being removed.
class CommentFreeText {
 public:
  explicit CommentFreeText(size_t capacity) { text_.reserve(capacity); }

  void Keep(char c) {
    // A comment separates what stands on its two sides, as a blank does:
    // "emp--all\nWHERE" must not become "empWHERE".
    if (commentRemoved_ && !text_.empty() && !IsBlank(text_.back()) && !IsBlank(c)) text_ += ' ';
    commentRemoved_ = false;
    text_ += c;
  }
  void CommentRemoved() { commentRemoved_ = true; }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  bool commentRemoved_ = false;
};

}  // namespace

bool IsWordCharacter(char c) {
  auto code = static_cast<unsigned char>(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c == '#' || c == '.' || c == '@' || c == '"' || code >= 128;
}

std::string RemoveComments(std::string_view text) {
  CommentFreeText result(text.size());
  // The quote that opened the literal or quoted name being copied, if any:
  // "--" and "/*" inside one are text ('a--b' is no comment).
  char quote = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (quote != 0) {
      if (c == quote) quote = 0;
      result.Keep(c);
      ++i;
    } else if (c == '\'' || c == '"') {
      quote = c;
      result.Keep(c);
      ++i;
    } else if (c == '/' && next == '*') {
      size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? text.size() : end + 2;
      result.CommentRemoved();
    } else if (c == '-' && next == '-') {
      // A line comment ends with its line break, removed with it. Text
      // written on this platform breaks lines with a bare line feed, text
      // from elsewhere with carriage return and line feed; ending only at
      // the pair would drop everything after a comment in the first. The
      // carriage return of a pair is removed as part of the comment.
      size_t end = text.find('\n', i + 2);
      i = end == std::string_view::npos ? text.size() : end + 1;
      result.CommentRemoved();
    } else {
      result.Keep(c);
      ++i;
    }
  }
  return Trim(result.Text());
}

std::string MaskStatement(std::string_view text) {
  std::string masked = UpperCase(text);
  // The quote of the literal (') or quoted name (") being read, if any.
  char quote = 0;
  int depth = 0;
  for (char& c : masked) {
    if (quote != 0) {
      const bool closing = c == quote;
      // Literal text, parentheses included, is hidden; so is everything in
      // parentheses but the single quotes.
      if (!(closing && quote == '\'') && (quote == '\'' || depth > 0)) c = '_';
      if (closing) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      if (c == '"' && depth > 0) c = '_';
      continue;
    }
    if (c == '(') {
      ++depth;
      continue;
    }
    if (c == ')') {
      // A stray ")" cannot unmask what follows.
      if (depth > 0) --depth;
      continue;
    }
    if (depth > 0) c = '_';
  }
  return masked;
}

size_t FindWord(std::string_view maskedText, std::string_view word) {
  if (word.empty()) return std::string::npos;
  std::string needle = UpperCase(word);
  for (char& c : needle) {
    if (!IsWordCharacter(c)) c = ' ';
  }
  const size_t length = needle.size();
  for (size_t at = 0; at + length <= maskedText.size(); ++at) {
    if (at > 0 && IsWordCharacter(maskedText[at - 1])) continue;
    if (at + length < maskedText.size() && IsWordCharacter(maskedText[at + length])) continue;
    bool same = true;
    for (size_t k = 0; same && k < length; ++k) {
      char c = maskedText[at + k];
      same = IsWordCharacter(c) ? c == needle[k] : needle[k] == ' ';
    }
    if (same) return at;
  }
  return std::string::npos;
}

TStatementParts SplitStatement(std::string_view text) {
  const std::string statement = RemoveComments(text);
  const std::string masked = MaskStatement(statement);
  const bool grouped = FindWord(masked, "GROUP") != std::string::npos;
  TStatementParts parts;
  parts.Keyword = grouped ? "having" : "where";

  size_t tailAt = FindWord(masked, "ORDER");
  if (tailAt == std::string::npos) tailAt = FindWord(masked, "FOR");
  if (tailAt == std::string::npos) tailAt = statement.size();
  size_t keywordAt = FindWord(masked, grouped ? "HAVING" : "WHERE");
  // Only malformed text has its condition keyword after ORDER or FOR; it
  // then stays in the tail rather than giving a condition that ends before
  // it starts.
  if (keywordAt != std::string::npos && keywordAt > tailAt) keywordAt = std::string::npos;

  parts.Tail = Trim(std::string_view(statement).substr(tailAt));
  if (keywordAt == std::string::npos) {
    parts.Head = Trim(std::string_view(statement).substr(0, tailAt));
  } else {
    const size_t conditionAt = keywordAt + parts.Keyword.size();
    parts.Head = Trim(std::string_view(statement).substr(0, keywordAt));
    parts.Condition = Trim(std::string_view(statement).substr(conditionAt, tailAt - conditionAt));
  }
  return parts;
}

std::string ConditionClause(const TStatementParts& parts, std::string_view condition) {
  if (parts.Condition.empty()) return parts.Keyword + " " + std::string(condition);
  return parts.Keyword + " (" + parts.Condition + ")\r\nand\r\n(" + std::string(condition) + ")";
}

}  // namespace vorn
