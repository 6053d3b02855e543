// Stored procedures and functions: CREATE [OR REPLACE] (the catalog rows
// in SYS.OBJ$ and the source in SYS.SOURCE$; a unit that does not compile
// is stored INVALID and the statement reports ORA-24344), the signatures of
// stored code (parsed from the source, cached for the process), and calls
// from SQL: the engine's function hook binds a call to the SQLite function
// vorn_plsql_call('OWNER', 'NAME', 'types', args...), which every session
// connection has and which runs the function in the calling session.
// DROP PROCEDURE / FUNCTION is the engine's (catalog housekeeping).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Catalog.h"
#include "engine/Compiler.h"
#include "plsql/Syntax.h"

struct sqlite3;

namespace vorn::server {
class Session;
class Statement;
}  // namespace vorn::server

namespace vorn::server::plsql {

// The stored procedure or function `name` ([schema.]unit, synonyms
// followed) as `user` sees it; null when there is none.
const StoredCodeInfo* findStoredCode(const Catalog& catalog, const std::string& user,
                                     const std::vector<std::string>& name);

// The signature of stored code (types as `catalog` gives them); null when
// its header does not compile.
std::shared_ptr<const Signature> storedSignature(const StoredCodeInfo& code,
                                                 const std::shared_ptr<const Catalog>& catalog);

// CREATE [OR REPLACE] PROCEDURE / FUNCTION.
void createStoredCode(Session& session, Statement& statement);

// The engine's function hook (Compiler.h) for stored functions and the
// functions of built-in packages.
std::optional<FunctionBinding> bindStoredFunction(const Catalog& catalog, const std::string& user,
                                                  const std::vector<std::string>& name,
                                                  const std::vector<OraType>& args);

// Registers vorn_plsql_call on a connection of `session`.
void registerPlsqlFunctions(Session& session, sqlite3* db);

}  // namespace vorn::server::plsql
