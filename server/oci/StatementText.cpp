// Statement type and placeholders from the text; see StatementText.h.
#include "StatementText.h"

#include <set>

#include "engine/Lexer.h"
#include "value/OraError.h"

namespace vorn::server::oci {

namespace {

ub2 typeOfKeyword(const std::string& word) {
  if (word == "SELECT" || word == "WITH") return OCI_STMT_SELECT;
  if (word == "UPDATE") return OCI_STMT_UPDATE;
  if (word == "DELETE") return OCI_STMT_DELETE;
  if (word == "INSERT") return OCI_STMT_INSERT;
  if (word == "CREATE") return OCI_STMT_CREATE;
  if (word == "DROP") return OCI_STMT_DROP;
  if (word == "ALTER") return OCI_STMT_ALTER;
  if (word == "BEGIN") return OCI_STMT_BEGIN;
  if (word == "DECLARE") return OCI_STMT_DECLARE;
  return OCI_STMT_UNKNOWN;
}

bool isStoredCode(const std::vector<Token>& tokens) {
  for (size_t i = 1; i < tokens.size() && i < 6; ++i) {
    const Token& t = tokens[i];
    if (t.isWord("PROCEDURE") || t.isWord("FUNCTION") || t.isWord("PACKAGE") ||
        t.isWord("TRIGGER") || t.isWord("TYPE")) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string placeholderKey(std::string_view name) {
  if (!name.empty() && name.front() == ':') name.remove_prefix(1);
  if (name.size() > 1 && name.front() == '"' && name.back() == '"') {
    return std::string(name.substr(1, name.size() - 2));
  }
  std::string key(name);
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

StatementText analyseStatement(std::string_view text) {
  StatementText result;
  std::vector<Token> tokens;
  try {
    tokens = tokenize(text);
  } catch (const OraError&) {
    // Reported by the engine at execute, with its offset.
  }
  size_t first = 0;
  while (first < tokens.size() && tokens[first].isSymbol("("))
    ++first;
  if (first < tokens.size() && tokens[first].kind == TokenKind::Word) {
    result.type = typeOfKeyword(tokens[first].text);
  }
  if (tokens.empty()) return result;
  result.placeholdersKnown = true;
  bool block = result.type == OCI_STMT_BEGIN || result.type == OCI_STMT_DECLARE ||
               (result.type == OCI_STMT_CREATE && isStoredCode(tokens));
  bool dml = result.type == OCI_STMT_INSERT || result.type == OCI_STMT_UPDATE ||
             result.type == OCI_STMT_DELETE;
  std::set<std::string> seen;
  int depth = 0;
  bool returning = false, into = false;
  for (const Token& t : tokens) {
    if (t.isSymbol("(")) ++depth;
    if (t.isSymbol(")")) --depth;
    if (dml && depth == 0 && (t.isWord("RETURNING") || t.isWord("RETURN"))) returning = true;
    if (returning && depth == 0 && t.isWord("INTO")) into = true;
    if (t.kind != TokenKind::Bind) continue;
    if (block && !seen.insert(t.text).second) continue;
    result.placeholders.push_back(t.text);
    result.returningTarget.push_back(into);
  }
  return result;
}

}  // namespace vorn::server::oci
