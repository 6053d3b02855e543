// Names and literals of generated SQL; see SqlWriting.h.
#include "plsql/translator/SqlWriting.h"

#include "engine/Lexer.h"

namespace vorn::server::translator {
namespace {

bool isBare(std::string_view name) {
  if (name.empty() || name.size() > 30 || name[0] < 'A' || name[0] > 'Z') return false;
  for (char c : name) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#';
    if (!ok) return false;
  }
  return !isReservedWord(name);
}

}  // namespace

std::string sqlName(std::string_view name) {
  if (isBare(name)) return std::string(name);
  return sqlAlias(name);
}

std::string sqlName(std::string_view owner, std::string_view name) {
  return sqlName(owner) + "." + sqlName(name);
}

std::string sqlAlias(std::string_view label) {
  // Oracle names cannot hold a double quote; the catalog never has one.
  return "\"" + std::string(label) + "\"";
}

std::string sqlText(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

}  // namespace vorn::server::translator
