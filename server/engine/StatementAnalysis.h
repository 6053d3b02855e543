// The one pass over a statement's text that every layer shares before
// anything runs. OCIStmtPrepare is local (no round trip, syntax errors
// surface at execute), yet the statement type is readable right after it
// and binds are checked against the placeholders; the engine then parses
// the same tokens instead of reading the text again.
//
// The pass tokenizes once and reads from the tokens:
//  - the OCI statement type (first keyword) and the SQL function code
//    (first keywords and the kind of object a DDL statement names);
//  - whether the text is PL/SQL (an anonymous block or stored code): its
//    literals may hold 32767 characters instead of 4000, and it names each
//    bind variable once;
//  - the placeholders in order of appearance and which of them are
//    RETURNING ... INTO targets.
// A text that does not tokenize keeps its error (raised when the engine
// prepares it); its type still comes from the first keyword when one was
// read.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Lexer.h"

namespace vorn::server {

enum class StatementType {
  Unknown = 0,
  Select = 1,
  Update = 2,
  Delete = 3,
  Insert = 4,
  Create = 5,
  Drop = 6,
  Alter = 7,
  Begin = 8,
  Declare = 9,
};

// Oracle's SQL function codes (OCI_ATTR_SQLFNCODE, the version 7 cursor
// area's ft).
enum class SqlFunctionCode : int {
  None = 0,
  CreateTable = 1,
  Insert = 3,
  Select = 4,
  Update = 5,
  DropView = 7,
  DropTable = 8,
  Delete = 9,
  CreateView = 10,
  DropUser = 11,
  CreateSequence = 13,
  AlterSequence = 14,
  DropSequence = 16,
  CreateUser = 19,
  CreateIndex = 20,
  DropIndex = 21,
  CreateProcedure = 24,
  AlterProcedure = 25,
  AlterTable = 26,
  Grant = 28,
  Revoke = 29,
  CreateSynonym = 30,
  DropSynonym = 31,
  SetTransaction = 33,
  PlsqlBlock = 34,
  LockTable = 35,
  Rename = 37,
  Comment = 38,
  AlterSession = 52,
  AlterUser = 53,
  Commit = 54,
  Rollback = 55,
  Savepoint = 56,
  CreateTrigger = 59,
  DropTrigger = 61,
  DropProcedure = 68,
  CreateType = 77,
  DropType = 78,
  Truncate = 85,
  CreateFunction = 91,
  DropFunction = 93,
  CreatePackage = 94,
  DropPackage = 96,
  CreatePackageBody = 97,
  DropPackageBody = 98,
  CreateDirectory = 157,
  DropDirectory = 158,
};

struct Placeholder {
  std::string name;  // upper-cased unless quoted; "1" for :1
  int offset = 0;    // in the statement text
  bool returningTarget = false;
};

struct StatementAnalysis {
  std::string text;
  std::vector<Token> tokens;    // empty when the text did not tokenize
  std::exception_ptr lexError;  // why it did not
  StatementType type = StatementType::Unknown;
  SqlFunctionCode function = SqlFunctionCode::None;
  bool plsql = false;  // an anonymous block or stored code
  std::vector<Placeholder> placeholders;

  bool tokenized() const { return !lexError; }
  bool isAnonymousBlock() const { return function == SqlFunctionCode::PlsqlBlock; }
};

std::shared_ptr<const StatementAnalysis> analyseStatement(std::string_view text);

// A placeholder name as compared: without the colon, upper-cased unless it
// is quoted (then without the quotes, case kept).
std::string placeholderKey(std::string_view name);

}  // namespace vorn::server
