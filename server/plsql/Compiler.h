// The PL/SQL compiler: turns the text of an anonymous block or of a stored
// procedure or function into a Unit (Syntax.h). It checks what Oracle checks
// when it compiles: syntax (ORA-06550 with PLS-00103 at the offending
// token), names (PLS-00201 and kin), the calls' arguments (PLS-00306), and
// the SQL statements of the unit (prepared, and queries described, so that
// ORA-00942 and the like are compile errors reported as "PL/SQL: ORA-...").
//
// Expressions and SQL statements are parsed with the engine's tokenizer and
// parser (engine/Parser.h), which the PL/SQL grammar drives.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plsql/Syntax.h"

namespace vorn::server {
class Session;
class Statement;
class Catalog;
}  // namespace vorn::server

namespace vorn::server::plsql {

// Compiles the block `statement` holds; its placeholders are the block's
// bind variables (their current values give their types).
std::unique_ptr<Unit> compileBlock(Session& session, Statement& statement);

// Compiles stored code of `owner` from its source (the text from the
// PROCEDURE or FUNCTION keyword on).
std::unique_ptr<Unit> compileStored(Session& session, const std::string& owner,
                                    const std::string& source);

// The header of stored code of `owner`: name, parameters, return type
// (%TYPE resolved in `catalog`; defaults compiled but not prepared against
// a session). Raises ORA-06550.
Signature parseSignature(const std::string& source, std::shared_ptr<const Catalog> catalog,
                         const std::string& owner);

// A CREATE [OR REPLACE] PROCEDURE|FUNCTION statement, split up.
struct CreateText {
  bool orReplace = false;
  std::string type;               // PROCEDURE or FUNCTION
  std::vector<std::string> name;  // [schema,] name
  int namePos = 0;
  std::string source;  // from the PROCEDURE/FUNCTION keyword to the end
  int sourcePos = 0;   // where the source starts in the statement
};
CreateText splitCreate(const std::string& statement);

}  // namespace vorn::server::plsql
