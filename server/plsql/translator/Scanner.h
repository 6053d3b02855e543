// The token stream of the object query languages (VORN, ODDL, ODML) and the
// one way they report errors. Statements are split with the engine's own
// tokenizer, so names, literals and comments follow Oracle's rules: unquoted
// names are case-insensitive (upper-cased), double-quoted ones exact, and
// 'O''Neil' is a string with a quote in it.
//
// Every error is an application error (ORA-20001 to ORA-20005) whose text
// names the language, says what is wrong and ends with the 1-based
// character position in the statement:
//   "VORN: unknown attribute FOO of class MAN.DOGS at position 12"
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/Lexer.h"

namespace vorn::server::translator {

// The error numbers of the translator.
enum TranslatorError : int {
  kSyntaxError = 20001,    // the statement does not follow the grammar
  kUnknownName = 20002,    // no such class or attribute
  kInvalidUse = 20003,     // names and values that do not fit together
  kNoSuchObject = 20004,   // a reference that finds no object or more than one
  kLanguageError = 20005,  // no language, an unknown one, or a statement of another
};

class Scanner {
 public:
  // Tokenizes `statement`; a lexical fault (an unterminated string, a
  // character outside the languages) is a syntax error at its position.
  Scanner(std::string language, std::string_view statement);

  const std::string& language() const { return language_; }
  const std::string& statement() const { return statement_; }

  const Token& peek(size_t ahead = 0) const;
  const Token& next();
  bool atEnd() const { return peek().kind == TokenKind::End; }
  // The byte offset just after the last token taken with next().
  int consumedEnd() const { return consumedEnd_; }
  // An unquoted word (`word` in upper case).
  bool atWord(std::string_view word, size_t ahead = 0) const { return peek(ahead).isWord(word); }
  bool atSymbol(std::string_view symbol, size_t ahead = 0) const {
    return peek(ahead).isSymbol(symbol);
  }
  bool acceptWord(std::string_view word);
  bool acceptSymbol(std::string_view symbol);
  // The token or a syntax error naming what was expected ("FROM", "(").
  const Token& expectWord(std::string_view word);
  const Token& expectSymbol(std::string_view symbol);
  // The end of the statement, after an optional ";".
  void expectEnd();

  // Raises application error `code` with "<language>: <text> at position n"
  // for the character at byte `offset` of the statement.
  [[noreturn]] void fail(int code, int offset, const std::string& text) const;
  // A syntax error at the next token: "expected <what>, found <token>".
  [[noreturn]] void expected(const std::string& what) const;

  // The 1-based character position of byte `offset` (UTF-8 aware).
  int position(int offset) const;
  // A token as the user wrote it, for messages: FROM, 'Oslo', "the end of
  // the statement".
  std::string shown(const Token& token) const;
  // The statement's text from byte `begin` up to byte `end`.
  std::string source(int begin, int end) const;
  // The text from byte `begin` up to byte `end` for a message: past 40
  // bytes cut to 37 and "..." (never inside a UTF-8 character), since the
  // position already says where it is.
  std::string excerpt(int begin, int end) const;

 private:
  std::string language_;
  std::string statement_;
  std::vector<Token> tokens_;
  size_t at_ = 0;
  int consumedEnd_ = 0;
};

}  // namespace vorn::server::translator
