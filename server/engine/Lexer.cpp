// Tokenizer of the Oracle dialect; see Lexer.h.
#include "Lexer.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "value/AsciiCase.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

bool isNameStart(unsigned char c) {
  return std::isalpha(c) || c >= 128;
}
bool isNameChar(unsigned char c) {
  return std::isalnum(c) || c == '_' || c == '$' || c == '#' || c >= 128;
}

constexpr std::array kReserved = {
    "ACCESS",    "ADD",      "ALL",        "ALTER",      "AND",      "ANY",        "AS",
    "ASC",       "AUDIT",    "BETWEEN",    "BY",         "CHAR",     "CHECK",      "CLUSTER",
    "COLUMN",    "COMMENT",  "COMPRESS",   "CONNECT",    "CREATE",   "CURRENT",    "DATE",
    "DECIMAL",   "DEFAULT",  "DELETE",     "DESC",       "DISTINCT", "DROP",       "ELSE",
    "EXCLUSIVE", "EXISTS",   "FILE",       "FLOAT",      "FOR",      "FROM",       "GRANT",
    "GROUP",     "HAVING",   "IDENTIFIED", "IMMEDIATE",  "IN",       "INCREMENT",  "INDEX",
    "INITIAL",   "INSERT",   "INTEGER",    "INTERSECT",  "INTO",     "IS",         "LEVEL",
    "LIKE",      "LOCK",     "LONG",       "MAXEXTENTS", "MINUS",    "MLSLABEL",   "MODE",
    "MODIFY",    "NOAUDIT",  "NOCOMPRESS", "NOT",        "NOWAIT",   "NULL",       "NUMBER",
    "OF",        "OFFLINE",  "ON",         "ONLINE",     "OPTION",   "OR",         "ORDER",
    "PCTFREE",   "PRIOR",    "PRIVILEGES", "PUBLIC",     "RAW",      "RENAME",     "RESOURCE",
    "REVOKE",    "ROW",      "ROWID",      "ROWNUM",     "ROWS",     "SELECT",     "SESSION",
    "SET",       "SHARE",    "SIZE",       "SMALLINT",   "START",    "SUCCESSFUL", "SYNONYM",
    "SYSDATE",   "TABLE",    "THEN",       "TO",         "TRIGGER",  "UID",        "UNION",
    "UNIQUE",    "UPDATE",   "USER",       "VALIDATE",   "VALUES",   "VARCHAR",    "VARCHAR2",
    "VIEW",      "WHENEVER", "WHERE",      "WITH"};

}  // namespace

bool isReservedWord(std::string_view w) {
  return std::find(kReserved.begin(), kReserved.end(), w) != kReserved.end();
}

std::vector<Token> tokenize(std::string_view text, size_t maxLiteral) {
  std::vector<Token> out;
  const int n = static_cast<int>(text.size());
  int i = 0;
  auto push = [&](TokenKind kind, std::string t, int start) {
    out.push_back(Token{kind, std::move(t), start, i - start});
  };
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isspace(c)) {
      ++i;
      continue;
    }
    int start = i;
    if (c == '-' && i + 1 < n && text[i + 1] == '-') {
      while (i < n && text[i] != '\n')
        ++i;
      continue;
    }
    if (c == '/' && i + 1 < n && text[i + 1] == '*') {
      size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? n : static_cast<int>(end) + 2;
      continue;
    }
    if (isNameStart(c)) {
      while (i < n && isNameChar(static_cast<unsigned char>(text[i])))
        ++i;
      if (i - start > 30) raiseOra(972, {}, start);
      push(TokenKind::Word, asciiUpperCase(text.substr(start, i - start)), start);
      continue;
    }
    if (c == '"') {
      size_t end = text.find('"', i + 1);
      if (end == std::string_view::npos) raiseOra(1740, {}, start);
      std::string name(text.substr(i + 1, end - i - 1));
      if (name.empty()) raiseOra(1741, {}, start);
      if (name.size() > 30) raiseOra(972, {}, start);
      i = static_cast<int>(end) + 1;
      push(TokenKind::QuotedWord, std::move(name), start);
      continue;
    }
    if (std::isdigit(c) ||
        (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
      while (i < n && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
      // "1..5" is two numbers around "..", as PL/SQL ranges need.
      if (i < n && text[i] == '.' && !(i + 1 < n && text[i + 1] == '.')) {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i])))
          ++i;
      }
      if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        int save = i;
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
          while (i < n && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        } else {
          i = save;
        }
      }
      // Oracle's numeric literal suffixes (1f, 1d) are not supported; a
      // letter straight after a number starts the next token.
      push(TokenKind::Number, std::string(text.substr(start, i - start)), start);
      continue;
    }
    if (c == '\'') {
      std::string value;
      ++i;
      for (;;) {
        if (i >= n) raiseOra(1756, {}, start);
        if (text[i] == '\'') {
          if (i + 1 < n && text[i + 1] == '\'') {
            value += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        value += text[i++];
      }
      if (value.size() > maxLiteral) raiseOra(1704, {}, start);
      push(TokenKind::String, std::move(value), start);
      continue;
    }
    if (c == ':') {
      ++i;
      while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
      if (i < n && text[i] == '"') {
        size_t end = text.find('"', i + 1);
        if (end == std::string_view::npos) raiseOra(1740, {}, start);
        std::string name(text.substr(i + 1, end - i - 1));
        if (name.empty()) raiseOra(1745, {}, start);
        i = static_cast<int>(end) + 1;
        push(TokenKind::Bind, std::move(name), start);
        continue;
      }
      int nameStart = i;
      while (i < n && isNameChar(static_cast<unsigned char>(text[i])))
        ++i;
      if (i == nameStart) {
        // ":=" (PL/SQL assignment) is a symbol; a lone ':' is not valid SQL.
        if (i < n && text[i] == '=') {
          ++i;
          push(TokenKind::Symbol, ":=", start);
          continue;
        }
        i = nameStart;
        push(TokenKind::Symbol, ":", start);
        continue;
      }
      if (i - nameStart > 30) raiseOra(972, {}, start);
      push(TokenKind::Bind, asciiUpperCase(text.substr(nameStart, i - nameStart)), start);
      continue;
    }
    auto two = [&](const char* s) { return i + 1 < n && text[i] == s[0] && text[i + 1] == s[1]; };
    for (const char* sym : {"||", "<>", "!=", "^=", "<=", ">=", "..", "=>", "**"}) {
      if (two(sym)) {
        i += 2;
        push(TokenKind::Symbol, sym, start);
        goto next;
      }
    }
    switch (c) {
      case '(':
      case ')':
      case ',':
      case '.':
      case '+':
      case '-':
      case '*':
      case '/':
      case '=':
      case '<':
      case '>':
      case ';':
      case '@':
      case '%':
        ++i;
        push(TokenKind::Symbol, std::string(1, static_cast<char>(c)), start);
        break;
      default:
        raiseOra(911, {}, start);
    }
  next:;
  }
  out.push_back(Token{TokenKind::End, "", n, 0});
  return out;
}

}  // namespace vorn::server
