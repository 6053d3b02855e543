// Stored procedures and functions; see StoredCode.h.
#include "plsql/StoredCode.h"

#include <sqlite3.h>

#include <map>
#include <mutex>

#include "engine/Database.h"
#include "engine/Session.h"
#include "engine/Sqlite.h"
#include "engine/Statement.h"
#include "plsql/Compiler.h"
#include "plsql/Errors.h"
#include "plsql/Interpreter.h"
#include "value/OraError.h"
#include "value/SessionValues.h"

namespace vorn::server::plsql {

const StoredCodeInfo* findStoredCode(const Catalog& catalog, const std::string& user,
                                     const std::vector<std::string>& name) {
  if (name.empty() || name.size() > 2) return nullptr;
  std::string owner = name.size() == 2 ? name[0] : user;
  std::string object = name.back();
  const ObjectRef* ref = catalog.findObject(owner, object);
  if (!ref && name.size() == 1) ref = catalog.findObject("PUBLIC", object);
  for (int depth = 0; ref && ref->type == ObjectType::Synonym && depth < 16; ++depth) {
    const SynonymInfo* syn = ref->synonym();
    if (!syn->dblink.empty()) return nullptr;
    ref = catalog.findObject(syn->targetOwner, syn->targetName);
  }
  if (!ref || (ref->type != ObjectType::Procedure && ref->type != ObjectType::Function)) {
    return nullptr;
  }
  return ref->storedCode();
}

std::shared_ptr<const Signature> storedSignature(const StoredCodeInfo& code,
                                                 const std::shared_ptr<const Catalog>& catalog) {
  // Object numbers repeat across databases: the source and the catalog
  // version (%TYPE follows the tables) tell entries apart.
  struct Entry {
    std::string source;
    int64_t version;
    std::shared_ptr<const Signature> signature;
  };
  static std::mutex mutex;
  static std::map<int64_t, Entry> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(code.obj);
  if (it != cache.end() && it->second.source == code.source &&
      it->second.version == catalog->version()) {
    return it->second.signature;
  }
  std::shared_ptr<const Signature> sig;
  try {
    sig = std::make_shared<const Signature>(parseSignature(code.source, catalog, code.owner));
  } catch (const OraError&) {
  }
  if (cache.size() > 1024) cache.clear();
  cache[code.obj] = Entry{code.source, catalog->version(), sig};
  return sig;
}

// ---------------------------------------------------------------------------
// CREATE

void createStoredCode(Session& session, Statement& statement) {
  CreateText ct = splitCreate(statement.text());
  if (ct.type != "PROCEDURE" && ct.type != "FUNCTION") raiseOra(3001);
  // Oracle ends the transaction before any DDL, whatever its outcome.
  session.commitForDdl();
  std::optional<OraError> error;
  std::string name;
  try {
    std::unique_ptr<Unit> unit =
        compileStored(session, ct.name.size() > 1 ? ct.name[0] : session.user(), ct.source);
    name = unit->name;
  } catch (const OraError& e) {
    error = e;
  }
  if (ct.name.empty()) throw *error;  // no name: nothing to store
  std::string owner = ct.name.size() > 1 ? ct.name[0] : session.user();
  name = ct.name.back();
  auto catalog = session.catalog();
  if (!catalog->findUser(owner)) raiseOra(1918, {owner}, ct.namePos);
  const ObjectRef* existing = catalog->findObject(owner, name);
  ObjectType wanted = ct.type == "PROCEDURE" ? ObjectType::Procedure : ObjectType::Function;
  if (existing && (existing->type != wanted || !ct.orReplace)) raiseOra(955, {}, ct.namePos);
  std::string status = error ? "INVALID" : "VALID";

  session.beginWrite();
  sqlite3* db = session.mainConnection().db;
  try {
    // Files made before stored code existed lack the source table.
    execSql(db, "CREATE TABLE IF NOT EXISTS \"SYS.SOURCE$\" (\"OBJ#\", \"LINE\", \"SOURCE\")");
    int64_t now = session.values().sysdate();
    int64_t obj;
    if (existing) {
      obj = existing->storedCode()->obj;
      SqlStatement update(
          db, "UPDATE \"SYS.OBJ$\" SET LAST_DDL_TIME = ?1, STATUS = ?2 WHERE \"OBJ#\" = ?3");
      update.bind(1, now).bind(2, std::string_view(status)).bind(3, obj);
      update.run();
      SqlStatement clear(db, "DELETE FROM \"SYS.SOURCE$\" WHERE \"OBJ#\" = ?1");
      clear.bind(1, obj);
      clear.run();
    } else {
      obj = nextObjectNumber(db);
      SqlStatement insert(db, "INSERT INTO \"SYS.OBJ$\" VALUES (?1, ?2, ?3, ?4, ?5, ?5, ?6)");
      insert.bind(1, obj).bind(2, std::string_view(owner)).bind(3, std::string_view(name));
      insert.bind(4, std::string_view(ct.type)).bind(5, now).bind(6, std::string_view(status));
      insert.run();
    }
    // One row per line, each with its line end, as USER_SOURCE shows them.
    SqlStatement line(db, "INSERT INTO \"SYS.SOURCE$\" VALUES (?1, ?2, ?3)");
    int64_t number = 1;
    for (size_t start = 0; start < ct.source.size(); ++number) {
      size_t end = ct.source.find('\n', start);
      end = end == std::string::npos ? ct.source.size() : end + 1;
      line.reset();
      line.bind(1, obj).bind(2, number);
      line.bind(3, std::string_view(ct.source).substr(start, end - start));
      line.run();
      start = end;
    }
    bumpCatalogVersion(db);
    session.commit();
  } catch (...) {
    try {
      session.rollback();
    } catch (...) {
    }
    throw;
  }
  session.database().publishCatalog(db);
  if (error) {
    throw OraError(24344, oraMessage(24344) + "\n" + error->message(), error->offset());
  }
}

// ---------------------------------------------------------------------------
// Calls from SQL

namespace {

char typeLetter(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Number:
      return 'N';
    case TypeKind::Date:
      return 'D';
    case TypeKind::Raw:
    case TypeKind::LongRaw:
    case TypeKind::Blob:
      return 'R';
    case TypeKind::Null:
      return 'X';
    default:
      return 'V';
  }
}

TypeKind kindOfLetter(char c) {
  switch (c) {
    case 'N':
      return TypeKind::Number;
    case 'D':
      return TypeKind::Date;
    case 'R':
      return TypeKind::Raw;
    case 'X':
      return TypeKind::Null;
    default:
      return TypeKind::Varchar2;
  }
}

[[noreturn]] void pls(int code, int number, const std::string& text) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "ORA-%05d: ", code);
  throw OraError(code, buf + ("PLS-" + std::to_string(number) + ": " + text));
}

OraType sqlResultType(const VarType& t) {
  OraType out = t.sql;
  if (out.isText() && (out.length <= 0 || out.length > 4000)) out.length = 4000;
  if (out.kind == TypeKind::Long || out.kind == TypeKind::Clob) out = OraType::varchar2(4000);
  out.nullable = true;
  return out;
}

std::string quoted(const std::string& s) {
  return quoteText(s);
}

// The hook gets the catalog by reference; it outlives the compile it is
// asked from.
std::shared_ptr<const Catalog> shared(const Catalog& catalog) {
  return std::shared_ptr<const Catalog>(std::shared_ptr<const Catalog>(), &catalog);
}

}  // namespace

std::optional<FunctionBinding> bindStoredFunction(const Catalog& catalog, const std::string& user,
                                                  const std::vector<std::string>& name,
                                                  const std::vector<OraType>& args) {
  std::string letters;
  for (const OraType& t : args)
    letters += typeLetter(t);
  if (name.size() == 2) {
    if (const BuiltinPackage* pkg = findBuiltinPackage(name[0])) {
      if (!hasBuiltinRoutine(*pkg, name[1])) return std::nullopt;
      const BuiltinRoutine* r = findBuiltinRoutine(*pkg, name[1], args.size());
      if (!r || !r->returns) {
        pls(6553, 306, "wrong number or types of arguments in call to '" + name[1] + "'");
      }
      for (const BuiltinParameter& p : r->params) {
        if (p.mode != ParamMode::In) {
          throw OraError(6572, "ORA-06572: Function " + r->name + " has out arguments");
        }
      }
      VarType result;
      result.sql = *r->returns;
      return FunctionBinding{"vorn_plsql_call", sqlResultType(result),
                             "'', " + quoted(pkg->name + "." + r->name) + ", " + quoted(letters)};
    }
  }
  const StoredCodeInfo* code = findStoredCode(catalog, user, name);
  if (!code || code->type != "FUNCTION") return std::nullopt;
  std::shared_ptr<const Signature> sig =
      code->status == "VALID" ? storedSignature(*code, shared(catalog)) : nullptr;
  if (!sig) {
    throw OraError(6575,
                   "ORA-06575: Package or function " + code->name + " is in an invalid state");
  }
  size_t required = 0;
  for (const Param& p : sig->params) {
    if (p.mode != ParamMode::In) {
      throw OraError(6572, "ORA-06572: Function " + code->name + " has out arguments");
    }
    if (!p.hasDefault) ++required;
  }
  if (args.size() > sig->params.size() || args.size() < required) {
    pls(6553, 306, "wrong number or types of arguments in call to '" + code->name + "'");
  }
  // SQL has no BOOLEAN values and no cursor variables.
  bool cursors = sig->returns.refCursor;
  for (const Param& p : sig->params)
    cursors = cursors || p.type.refCursor;
  if (sig->returns.sql.kind == TypeKind::Boolean || cursors) {
    pls(6553, 382, "expression is of wrong type");
  }
  return FunctionBinding{"vorn_plsql_call", sqlResultType(sig->returns),
                         quoted(code->owner) + ", " + quoted(code->name) + ", " + quoted(letters)};
}

namespace {

std::string argText(sqlite3_value* v) {
  const unsigned char* p = sqlite3_value_text(v);
  return p ? std::string(reinterpret_cast<const char*>(p),
                         static_cast<size_t>(sqlite3_value_bytes(v)))
           : std::string();
}

void fail(sqlite3_context* ctx, Session& session, const OraError& e) {
  session.values().setPendingError(e);
  sqlite3_result_error(ctx, e.message().c_str(), -1);
}

// vorn_plsql_call(owner, name, types, args...): owner '' for a function of a
// built-in package named 'PACKAGE.FUNCTION'.
void plsqlCall(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Session& session = *static_cast<Session*>(sqlite3_user_data(ctx));
  try {
    if (argc < 3) raiseOra(909);
    std::string owner = argText(argv[0]), name = argText(argv[1]), types = argText(argv[2]);
    std::vector<Datum> args;
    for (int i = 3; i < argc; ++i) {
      size_t k = static_cast<size_t>(i - 3);
      TypeKind kind = kindOfLetter(k < types.size() ? types[k] : 'V');
      sqlite3_value* v = argv[i];
      Value value;
      switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
          value = kind == TypeKind::Date ? Value::date(sqlite3_value_int64(v))
                                         : Value::integer(sqlite3_value_int64(v));
          break;
        case SQLITE_FLOAT:
          value = Value::real(sqlite3_value_double(v));
          break;
        case SQLITE_TEXT:
          value = Value::text(argText(v));
          break;
        case SQLITE_BLOB: {
          const char* p = static_cast<const char*>(sqlite3_value_blob(v));
          value = Value::raw(std::string(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v))));
          break;
        }
        default:
          break;
      }
      args.push_back(datum(std::move(value), kind));
    }
    Interpreter interpreter(session);
    Value r = interpreter.callFromSql(owner, name, args);
    switch (r.kind()) {
      case Value::Kind::Null:
        sqlite3_result_null(ctx);
        break;
      case Value::Kind::Integer:
      case Value::Kind::Date:
        sqlite3_result_int64(ctx, r.asInteger());
        break;
      case Value::Kind::Double:
        sqlite3_result_double(ctx, r.asDouble());
        break;
      case Value::Kind::Text:
        sqlite3_result_text(ctx, r.asText().data(), static_cast<int>(r.asText().size()),
                            SQLITE_TRANSIENT);
        break;
      case Value::Kind::Raw:
        sqlite3_result_blob(ctx, r.asText().data(), static_cast<int>(r.asText().size()),
                            SQLITE_TRANSIENT);
        break;
    }
  } catch (const PlsqlError& e) {
    // As in Oracle, a function that lets NO_DATA_FOUND escape gives the
    // query a NULL.
    if (e.code() == 1403) return sqlite3_result_null(ctx);
    fail(ctx, session, e.toOraError());
  } catch (const OraError& e) {
    if (e.code() == 1403) return sqlite3_result_null(ctx);
    fail(ctx, session, e);
  }
}

}  // namespace

void registerPlsqlFunctions(Session& session, sqlite3* db) {
  if (sqlite3_create_function_v2(db, "vorn_plsql_call", -1, SQLITE_UTF8, &session, plsqlCall,
                                 nullptr, nullptr, nullptr) != SQLITE_OK) {
    raiseOra(600, {"vorn-register", "vorn_plsql_call"});
  }
}

}  // namespace vorn::server::plsql
