// The token stream of the translator's languages; see Scanner.h.
#include "plsql/translator/Scanner.h"

#include "value/OraError.h"

namespace vorn::server::translator {
namespace {

// The tokenizer's faults, said in the languages' own words.
std::string lexicalFault(int code) {
  switch (code) {
    case 1756:
      return "a string is not closed with a quote";
    case 1740:
      return "a double-quoted name is not closed";
    case 1741:
    case 1745:
      return "a double-quoted name is empty";
    case 972:
      return "a name is longer than 30 characters";
    case 1704:
      return "a string is longer than 4000 characters";
    default:
      return "a character that is not part of the language";
  }
}

}  // namespace

Scanner::Scanner(std::string language, std::string_view statement)
    : language_(std::move(language)), statement_(statement) {
  try {
    tokens_ = tokenize(statement_);
  } catch (const OraError& e) {
    fail(kSyntaxError, e.offset() < 0 ? 0 : e.offset(), lexicalFault(e.code()));
  }
}

const Token& Scanner::peek(size_t ahead) const {
  size_t i = at_ + ahead;
  return i < tokens_.size() ? tokens_[i] : tokens_.back();
}

const Token& Scanner::next() {
  const Token& t = peek();
  consumedEnd_ = t.offset + t.length;
  if (at_ + 1 < tokens_.size()) ++at_;
  return t;
}

bool Scanner::acceptWord(std::string_view word) {
  if (!atWord(word)) return false;
  next();
  return true;
}

bool Scanner::acceptSymbol(std::string_view symbol) {
  if (!atSymbol(symbol)) return false;
  next();
  return true;
}

const Token& Scanner::expectWord(std::string_view word) {
  if (!atWord(word)) expected(std::string(word));
  return next();
}

const Token& Scanner::expectSymbol(std::string_view symbol) {
  if (!atSymbol(symbol)) expected("'" + std::string(symbol) + "'");
  return next();
}

void Scanner::expectEnd() {
  acceptSymbol(";");
  if (!atEnd()) fail(kSyntaxError, peek().offset, "unexpected " + shown(peek()));
}

void Scanner::fail(int code, int offset, const std::string& text) const {
  raiseApplicationError(
      code, language_ + ": " + text + " at position " + std::to_string(position(offset)));
}

void Scanner::expected(const std::string& what) const {
  fail(kSyntaxError, peek().offset, "expected " + what + ", found " + shown(peek()));
}

int Scanner::position(int offset) const {
  size_t end = std::min(statement_.size(), static_cast<size_t>(offset < 0 ? 0 : offset));
  int characters = 1;
  for (size_t i = 0; i < end; ++i) {
    // Continuation bytes of UTF-8 sequences do not start a character.
    if ((static_cast<unsigned char>(statement_[i]) & 0xC0) != 0x80) ++characters;
  }
  return characters;
}

std::string Scanner::shown(const Token& token) const {
  if (token.kind == TokenKind::End) return "the end of the statement";
  return excerpt(token.offset, token.offset + token.length);
}

std::string Scanner::excerpt(int begin, int end) const {
  std::string text = source(begin, end);
  if (text.size() > 40) {
    size_t cut = 37;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
      --cut;
    text = text.substr(0, cut) + "...";
  }
  return text;
}

std::string Scanner::source(int begin, int end) const {
  size_t b = std::min(statement_.size(), static_cast<size_t>(begin < 0 ? 0 : begin));
  size_t e = std::min(statement_.size(), static_cast<size_t>(end < begin ? begin : end));
  return statement_.substr(b, e - b);
}

}  // namespace vorn::server::translator
