// The tokenizer of the Oracle SQL dialect. It turns a statement text into
// tokens that keep their character offset, so that every syntax and name
// error can report where it happened (the OCI layer hands the offset out as
// the parse error offset). The PL/SQL parser reuses it unchanged.
//
// Rules (as Oracle's): unquoted identifiers are upper-cased and may hold
// letters, digits, '_', '$' and '#'; quoted identifiers keep their case and
// may not be empty; string literals use '' for a quote; "--" and "/* */"
// are comments; a bind placeholder is ':' followed by a name or a number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::server {

enum class TokenKind {
  End,         // end of the text
  Word,        // unquoted identifier or keyword (upper-cased in `text`)
  QuotedWord,  // "identifier" (as written, without quotes)
  Number,      // numeric literal (as written: 12, 1.5, .5, 1e10)
  String,      // 'text' (value, quotes undone)
  Bind,        // :name or :1 (`text` holds the name, upper-cased unless quoted)
  Symbol,      // operator or punctuation: ( ) , . + - * / || = <> != ^= < > <= >= ; @ %
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;
  int offset = 0;  // character offset in the statement text
  int length = 0;  // characters of the source the token covers

  bool isWord(std::string_view w) const { return kind == TokenKind::Word && text == w; }
  bool isSymbol(std::string_view s) const { return kind == TokenKind::Symbol && text == s; }
  // A name: an unquoted word or a quoted identifier.
  bool isName() const { return kind == TokenKind::Word || kind == TokenKind::QuotedWord; }
};

// Splits `text` into tokens, the last one of kind End. Raises ORA-01756
// (unterminated literal), ORA-01740/01741 (bad quoted identifier), ORA-00972
// (identifier longer than 30 characters), ORA-00911 (invalid character) and
// ORA-01704 (a literal longer than `maxLiteral`: 4000 in SQL, 32767 in
// PL/SQL), each with the offset of the offending character.
std::vector<Token> tokenize(std::string_view text, size_t maxLiteral = 4000);

// Oracle's reserved words, which cannot be used as unquoted names.
bool isReservedWord(std::string_view upperWord);

}  // namespace vorn::server
