// Statement type, function code, PL/SQL-ness and placeholders from one
// tokenization; see StatementAnalysis.h.
#include "engine/StatementAnalysis.h"

#include <set>

#include "value/AsciiCase.h"
#include "value/OraError.h"

namespace vorn::server {

namespace {

using Code = SqlFunctionCode;

struct KeywordRule {
  std::string_view word;
  StatementType type;
  Code code;
};

// The statements named by their first keyword. CREATE, DROP and ALTER are
// told apart by the object they name (below).
constexpr KeywordRule kFirstWords[] = {
    {"SELECT", StatementType::Select, Code::Select},
    {"WITH", StatementType::Select, Code::Select},
    {"INSERT", StatementType::Insert, Code::Insert},
    {"UPDATE", StatementType::Update, Code::Update},
    {"DELETE", StatementType::Delete, Code::Delete},
    {"CREATE", StatementType::Create, Code::None},
    {"DROP", StatementType::Drop, Code::None},
    {"ALTER", StatementType::Alter, Code::AlterProcedure},
    {"BEGIN", StatementType::Begin, Code::PlsqlBlock},
    {"DECLARE", StatementType::Declare, Code::PlsqlBlock},
    {"TRUNCATE", StatementType::Unknown, Code::Truncate},
    {"GRANT", StatementType::Unknown, Code::Grant},
    {"REVOKE", StatementType::Unknown, Code::Revoke},
    {"COMMENT", StatementType::Unknown, Code::Comment},
    {"COMMIT", StatementType::Unknown, Code::Commit},
    {"ROLLBACK", StatementType::Unknown, Code::Rollback},
    {"SAVEPOINT", StatementType::Unknown, Code::Savepoint},
    {"SET", StatementType::Unknown, Code::SetTransaction},
    {"LOCK", StatementType::Unknown, Code::LockTable},
    {"RENAME", StatementType::Unknown, Code::Rename},
};

struct ObjectRule {
  std::string_view object;
  Code create;
  Code drop;
  Code alter;
};

// The objects of CREATE, DROP and ALTER; "PACKAGE BODY" is PACKAGE followed
// by BODY.
constexpr ObjectRule kObjects[] = {
    {"TABLE", Code::CreateTable, Code::DropTable, Code::AlterTable},
    {"VIEW", Code::CreateView, Code::DropView, Code::AlterProcedure},
    {"SEQUENCE", Code::CreateSequence, Code::DropSequence, Code::AlterSequence},
    {"SYNONYM", Code::CreateSynonym, Code::DropSynonym, Code::AlterProcedure},
    {"INDEX", Code::CreateIndex, Code::DropIndex, Code::AlterProcedure},
    {"USER", Code::CreateUser, Code::DropUser, Code::AlterUser},
    {"SESSION", Code::None, Code::None, Code::AlterSession},
    {"PROCEDURE", Code::CreateProcedure, Code::DropProcedure, Code::AlterProcedure},
    {"FUNCTION", Code::CreateFunction, Code::DropFunction, Code::AlterProcedure},
    {"PACKAGE", Code::CreatePackage, Code::DropPackage, Code::AlterProcedure},
    {"PACKAGE BODY", Code::CreatePackageBody, Code::DropPackageBody, Code::AlterProcedure},
    {"TRIGGER", Code::CreateTrigger, Code::DropTrigger, Code::AlterProcedure},
    {"TYPE", Code::CreateType, Code::DropType, Code::AlterProcedure},
    {"DIRECTORY", Code::CreateDirectory, Code::DropDirectory, Code::AlterProcedure},
};

// Stored code: its text is PL/SQL.
bool isStoredCodeObject(std::string_view object) {
  return object == "PROCEDURE" || object == "FUNCTION" || object == "PACKAGE" ||
         object == "PACKAGE BODY" || object == "TRIGGER" || object == "TYPE";
}

const Token& at(const std::vector<Token>& t, size_t i) {
  return t[i < t.size() ? i : t.size() - 1];
}

// The object word after CREATE, DROP or ALTER at `i`, past the words that
// may stand before it.
std::string objectOf(const std::vector<Token>& t, size_t i, bool& orReplace) {
  orReplace = false;
  if (at(t, i).isWord("OR") && at(t, i + 1).isWord("REPLACE")) {
    orReplace = true;
    i += 2;
  }
  while (at(t, i).isWord("FORCE") || at(t, i).isWord("NOFORCE") || at(t, i).isWord("PUBLIC") ||
         at(t, i).isWord("UNIQUE") || at(t, i).isWord("BITMAP")) {
    ++i;
  }
  if (at(t, i).kind != TokenKind::Word) return {};
  if (at(t, i).isWord("PACKAGE") && at(t, i + 1).isWord("BODY")) return "PACKAGE BODY";
  return at(t, i).text;
}

void classify(StatementAnalysis& a) {
  const std::vector<Token>& t = a.tokens;
  size_t first = 0;
  while (first < t.size() && t[first].isSymbol("("))
    ++first;
  if (first == t.size() || t[first].kind != TokenKind::Word) return;
  const std::string& word = t[first].text;
  if (first > 0 && word != "SELECT" && word != "WITH") return;
  for (const KeywordRule& rule : kFirstWords) {
    if (rule.word != word) continue;
    a.type = rule.type;
    a.function = rule.code;
    break;
  }
  if (word == "SET" && !at(t, first + 1).isWord("TRANSACTION")) {
    a.type = StatementType::Unknown;
    a.function = Code::None;
  }
  if (word != "CREATE" && word != "DROP" && word != "ALTER") {
    a.plsql = a.isAnonymousBlock();
    return;
  }
  bool orReplace = false;
  std::string object = objectOf(t, first + 1, orReplace);
  for (const ObjectRule& rule : kObjects) {
    if (rule.object != object) continue;
    a.function = word == "CREATE" ? rule.create : word == "DROP" ? rule.drop : rule.alter;
    break;
  }
  a.plsql = word == "CREATE" && isStoredCodeObject(object);
}

void collectPlaceholders(StatementAnalysis& a) {
  bool dml = a.type == StatementType::Insert || a.type == StatementType::Update ||
             a.type == StatementType::Delete;
  std::set<std::string> seen;
  int depth = 0;
  bool returning = false, into = false;
  for (const Token& t : a.tokens) {
    if (t.isSymbol("(")) ++depth;
    if (t.isSymbol(")")) --depth;
    if (dml && depth == 0 && (t.isWord("RETURNING") || t.isWord("RETURN"))) returning = true;
    if (returning && depth == 0 && t.isWord("INTO")) into = true;
    if (t.kind != TokenKind::Bind) continue;
    // PL/SQL names each bind variable once.
    if (a.plsql && !seen.insert(t.text).second) continue;
    a.placeholders.push_back(Placeholder{t.text, t.offset, into});
  }
}

}  // namespace

std::shared_ptr<const StatementAnalysis> analyseStatement(std::string_view text) {
  auto a = std::make_shared<StatementAnalysis>();
  a->text = std::string(text);
  try {
    a->tokens = tokenize(a->text, 32767);
  } catch (const OraError&) {
    a->lexError = std::current_exception();
    return a;
  }
  classify(*a);
  collectPlaceholders(*a);
  if (!a->plsql) {
    // SQL literals hold at most 4000 characters.
    for (const Token& t : a->tokens) {
      if (t.kind != TokenKind::String || t.text.size() <= 4000) continue;
      try {
        raiseOra(1704, {}, t.offset);
      } catch (const OraError&) {
        a->lexError = std::current_exception();
      }
      break;
    }
  }
  return a;
}

std::string placeholderKey(std::string_view name) {
  if (!name.empty() && name.front() == ':') name.remove_prefix(1);
  if (name.size() > 1 && name.front() == '"' && name.back() == '"') {
    return std::string(name.substr(1, name.size() - 2));
  }
  return asciiUpperCase(name);
}

}  // namespace vorn::server
