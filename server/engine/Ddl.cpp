// Data definition statements; see Ddl.h. Every change is made in the
// catalog base tables and in the SQLite schema inside one transaction,
// committed before the new catalog snapshot is published. Tables and their
// constraints are in DdlTable.cpp.
#include "engine/Ddl.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "engine/CompilerImpl.h"
#include "engine/Database.h"
#include "engine/DdlImpl.h"
#include "engine/Lexer.h"
#include "engine/Parser.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"
#include "value/SessionValues.h"

namespace vorn::server {
namespace ddl {

ColumnRow columnRow(const std::string& name, const TypeSpec& t) {
  ColumnRow r;
  r.name = name;
  r.type = t.name;
  if (t.name == "NUMBER") {
    r.length = 22;
    if (t.integer) {
      r.hasScale = true;
      r.scale = 0;
    } else if (t.precision > 0) {
      r.hasPrecision = true;
      r.precision = t.precision;
      r.hasScale = true;
      r.scale = t.scale < 0 && t.scale != -1 ? t.scale : std::max(0, t.scale);
      if (t.scale < 0) r.scale = t.scale == -1 ? 0 : t.scale;
    } else if (t.scale >= 0 || t.scale < -1) {
      r.hasScale = true;
      r.scale = t.scale;
    }
  } else if (t.name == "FLOAT") {
    r.length = 22;
    r.hasPrecision = true;
    r.precision = t.precision;
  } else if (t.name == "DATE") {
    r.length = 7;
  } else if (t.name == "LONG" || t.name == "LONG RAW") {
    r.length = 0;
  } else if (t.name == "CLOB" || t.name == "NCLOB" || t.name == "BLOB") {
    r.length = 4000;
  } else if (t.name == "BFILE") {
    r.length = 530;
  } else if (t.name == "ROWID") {
    r.length = 10;
  } else {
    r.length = t.length;
  }
  return r;
}

ColumnRow columnRow(const std::string& name, const OraType& t) {
  ColumnRow r;
  r.name = name;
  r.type = dictionaryTypeName(t);
  switch (t.kind) {
    case TypeKind::Number:
      r.length = 22;
      if (t.isFloat) {
        r.hasPrecision = true;
        r.precision = t.precision;
      } else if (t.precision > 0) {
        r.hasPrecision = t.precision != 38 || t.scale != 0;
        r.precision = t.precision;
        r.hasScale = true;
        r.scale = t.scale;
      }
      break;
    case TypeKind::Date:
      r.length = 7;
      break;
    case TypeKind::Long:
    case TypeKind::LongRaw:
      r.length = 0;
      break;
    case TypeKind::Clob:
    case TypeKind::Blob:
      r.length = 4000;
      break;
    case TypeKind::Bfile:
      r.length = 530;
      break;
    case TypeKind::Rowid:
      r.length = 10;
      break;
    case TypeKind::Null:
      r.type = "VARCHAR2";
      r.length = 1;
      break;
    default:
      r.length = std::max(1, t.length);
  }
  return r;
}

void Ddl::run(Stmt& stmt) {
  s_.beginWrite();
  try {
    // Files made before user-defined types get their tables with the first
    // DDL statement.
    createTypeTables(db_);
    dispatch(stmt);
    bumpCatalogVersion(db_);
    s_.commit();
  } catch (...) {
    try {
      s_.rollback();
    } catch (...) {
    }
    throw;
  }
  s_.database().publishCatalog(db_);
}

void Ddl::dispatch(Stmt& stmt) {
  switch (stmt.kind) {
    case StmtKind::CreateTable:
      createTable(static_cast<CreateTableStmt&>(stmt));
      break;
    case StmtKind::CreateView:
      createView(static_cast<CreateViewStmt&>(stmt));
      break;
    case StmtKind::CreateSequence:
      createSequence(static_cast<CreateSequenceStmt&>(stmt));
      break;
    case StmtKind::CreateSynonym:
      createSynonym(static_cast<CreateSynonymStmt&>(stmt));
      break;
    case StmtKind::CreateDirectory:
      createDirectory(static_cast<CreateDirectoryStmt&>(stmt));
      break;
    case StmtKind::CreateType:
      createType(static_cast<CreateTypeStmt&>(stmt));
      break;
    case StmtKind::CreateIndex:
      createIndex(static_cast<CreateIndexStmt&>(stmt));
      break;
    case StmtKind::CreateUser:
      createUser(static_cast<UserStmt&>(stmt));
      break;
    case StmtKind::AlterUser:
      alterUser(static_cast<UserStmt&>(stmt));
      break;
    case StmtKind::AlterTable:
      alterTable(static_cast<AlterTableStmt&>(stmt));
      break;
    case StmtKind::AlterSequence:
      alterSequence(static_cast<AlterSequenceStmt&>(stmt));
      break;
    case StmtKind::Drop:
      drop(static_cast<DropStmt&>(stmt));
      break;
    case StmtKind::Truncate:
      truncate(static_cast<TruncateStmt&>(stmt));
      break;
    default:
      raiseOra(900, {}, stmt.pos);
  }
}

void Ddl::exec(const std::string& sql) {
  s_.values().clearPendingError();
  try {
    execSql(db_, sql);
  } catch (const OraError&) {
    s_.values().rethrowPendingError();
    throw;
  }
}

std::string Ddl::ownerOf(const std::vector<std::string>& name, int pos) {
  if (name.size() < 2) return s_.user();
  if (!cat_->findUser(name[0]) && name[0] != "PUBLIC") raiseOra(1918, {name[0]}, pos);
  return name[0];
}

void Ddl::checkFree(const std::string& owner, const std::string& name, int pos) {
  if (cat_->findObject(owner, name)) raiseOra(955, {}, pos);
}

int64_t Ddl::addObject(const std::string& owner, const std::string& name, const std::string& type) {
  int64_t obj = nextObjectNumber(db_);
  SqlStatement s(db_, "INSERT INTO \"SYS.OBJ$\" VALUES (?1, ?2, ?3, ?4, ?5, ?5, 'VALID')");
  s.bind(1, obj).bind(2, std::string_view(owner)).bind(3, std::string_view(name));
  s.bind(4, std::string_view(type)).bind(5, now_);
  s.run();
  return obj;
}

void Ddl::touch(int64_t obj) {
  SqlStatement s(db_, "UPDATE \"SYS.OBJ$\" SET LAST_DDL_TIME = ?1 WHERE \"OBJ#\" = ?2");
  s.bind(1, now_).bind(2, obj);
  s.run();
}

void Ddl::insertColumn(int64_t obj, int colNo, const ColumnRow& r, bool nullable) {
  SqlStatement s(db_, "INSERT INTO \"SYS.COL$\" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
  s.bind(1, obj).bind(2, static_cast<int64_t>(colNo)).bind(3, std::string_view(r.name));
  s.bind(4, std::string_view(r.type)).bind(5, r.length);
  if (r.hasPrecision)
    s.bind(6, r.precision);
  else
    s.bindNull(6);
  if (r.hasScale)
    s.bind(7, r.scale);
  else
    s.bindNull(7);
  s.bind(8, std::string_view(nullable ? "Y" : "N")).bind(9, std::string_view(r.defaultText));
  s.run();
}

void Ddl::setNullable(int64_t obj, const std::string& column, bool nullable) {
  SqlStatement s(db_, "UPDATE \"SYS.COL$\" SET NULLABLE = ?1 WHERE \"OBJ#\" = ?2 AND NAME = ?3");
  s.bind(1, std::string_view(nullable ? "Y" : "N")).bind(2, obj).bind(3, std::string_view(column));
  s.run();
}

std::string Ddl::constraintName(const std::string& owner, const ConstraintDef& c,
                                std::set<std::string>& taken) {
  if (!c.name.empty()) {
    if (cat_->findConstraint(owner, c.name) || !taken.insert(c.name).second) {
      raiseOra(2264, {}, c.pos);
    }
    return c.name;
  }
  for (;;) {
    int64_t n = std::stoll(catalogPropertyOr("NEXT_CONSTRAINT", "1000"));
    setCatalogProperty(db_, "NEXT_CONSTRAINT", std::to_string(n + 1));
    char buf[32];
    std::snprintf(buf, sizeof buf, "SYS_C%07lld", static_cast<long long>(n));
    if (!cat_->findConstraint(owner, buf) && taken.insert(buf).second) return buf;
  }
}

std::string Ddl::catalogPropertyOr(const std::string& name, const std::string& fallback) {
  std::string v = catalogProperty(db_, name);
  return v.empty() ? fallback : v;
}

CompileContext Ddl::context() {
  CompileContext ctx;
  ctx.catalog = cat_;
  ctx.user = s_.user();
  ctx.sessionUser = s_.user();
  ctx.userId = s_.userId();
  return ctx;
}

const TableInfo& Ddl::table(const std::vector<std::string>& name, int pos) {
  std::string owner;
  const ObjectRef* ref = cat_->resolve(s_.user(), name, &owner);
  if (!ref || ref->type != ObjectType::Table) raiseOra(942, {}, pos);
  return *ref->table();
}

void Ddl::reload() {
  kept_.push_back(cat_);
  cat_ = Catalog::load(db_, cat_->version());
}

void Ddl::createView(CreateViewStmt& st) {
  std::string owner = ownerOf(st.name, st.namePos);
  const std::string& name = st.name.back();
  const ObjectRef* existing = cat_->findObject(owner, name);
  if (existing && !(st.orReplace && existing->type == ObjectType::View))
    raiseOra(955, {}, st.namePos);
  CompileContext ctx = context();
  ctx.user = owner;
  Compiler c(ctx);
  QueryCode q = c.query(*st.query, nullptr, false, 0);
  if (!st.columns.empty() && st.columns.size() != q.columns.size()) {
    raiseOra(st.columns.size() < q.columns.size() ? 1730 : 1730, {}, st.namePos);
  }
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (size_t i = 0; i < q.columns.size(); ++i) {
    std::string n = st.columns.empty() ? q.columns[i].name : st.columns[i].first;
    bool valid = !n.empty();
    if (st.columns.empty()) {
      for (char ch : n)
        valid &=
            std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '$' || ch == '#';
    }
    if (!valid) raiseOra(998, {}, st.query->pos);
    if (!seen.insert(n).second) raiseOra(957, {}, st.query->pos);
    names.push_back(n);
  }
  int64_t obj;
  if (existing) {
    obj = existing->table()->obj;
    touch(obj);
    SqlStatement d1(db_, "DELETE FROM \"SYS.COL$\" WHERE \"OBJ#\" = ?1");
    d1.bind(1, obj);
    d1.run();
    SqlStatement d2(db_, "DELETE FROM \"SYS.VIEW$\" WHERE \"OBJ#\" = ?1");
    d2.bind(1, obj);
    d2.run();
  } else {
    obj = addObject(owner, name, "VIEW");
  }
  for (size_t i = 0; i < names.size(); ++i) {
    insertColumn(obj, static_cast<int>(i + 1), columnRow(names[i], q.columns[i].type),
                 q.columns[i].type.nullable);
  }
  SqlStatement v(db_, "INSERT INTO \"SYS.VIEW$\" VALUES (?1, ?2)");
  v.bind(1, obj).bind(2, std::string_view(st.text));
  v.run();
}

void Ddl::normalize(SequenceOptions& o, int pos) {
  if (o.increment == 0) raiseOra(4002, {}, pos);
  bool asc = o.increment > 0;
  if (!o.hasMin || o.noMin) o.minValue = asc ? 1 : -1e26;
  if (!o.hasMax || o.noMax) o.maxValue = asc ? 1e27 : -1;
  if (o.minValue >= o.maxValue) raiseOra(4004, {}, pos);
  if (!o.hasStart) o.start = asc ? o.minValue : o.maxValue;
  if (o.start < o.minValue) raiseOra(4006, {}, pos);
  if (o.start > o.maxValue) raiseOra(4008, {}, pos);
  if (o.cache == 1 || o.cache < 0) raiseOra(4010, {}, pos);
}

void Ddl::createSequence(CreateSequenceStmt& st) {
  std::string owner = ownerOf(st.name, st.namePos);
  const std::string& name = st.name.back();
  checkFree(owner, name, st.namePos);
  SequenceOptions o = st.options;
  normalize(o, st.namePos);
  int64_t obj = addObject(owner, name, "SEQUENCE");
  SqlStatement s(db_, "INSERT INTO \"SYS.SEQ$\" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
  s.bind(1, obj).bind(2, o.minValue).bind(3, o.maxValue);
  s.bind(4, static_cast<int64_t>(o.increment));
  s.bind(5, std::string_view(o.cycle ? "Y" : "N")).bind(6, std::string_view(o.order ? "Y" : "N"));
  s.bind(7, static_cast<int64_t>(o.cache)).bind(8, static_cast<int64_t>(o.start));
  s.run();
}

void Ddl::alterSequence(AlterSequenceStmt& st) {
  std::string owner;
  const ObjectRef* ref = cat_->resolve(s_.user(), st.name, &owner);
  if (!ref || ref->type != ObjectType::Sequence) raiseOra(2289, {}, st.namePos);
  const SequenceInfo& seq = *ref->sequence();
  s_.database().flushSequences(db_);
  SqlStatement cur(db_, "SELECT LAST_NUMBER FROM \"SYS.SEQ$\" WHERE \"OBJ#\" = ?1");
  cur.bind(1, seq.obj);
  double last = cur.step() ? cur.getDouble(0) : seq.lastNumber;
  SequenceOptions o = st.options;
  if (!o.hasIncrement) o.increment = seq.increment;
  if (!o.hasMin && !o.noMin) {
    o.minValue = seq.minValue;
    o.hasMin = true;
  }
  if (!o.hasMax && !o.noMax) {
    o.maxValue = seq.maxValue;
    o.hasMax = true;
  }
  o.hasStart = true;
  // The next number follows the last one handed out with the new step.
  double handed = last - seq.increment;
  bool used = seq.increment > 0 ? handed >= seq.minValue : handed <= seq.maxValue;
  o.start = used ? handed + o.increment : last;
  last = o.start;
  if (o.hasMax && o.maxValue < last - seq.increment && o.increment > 0)
    raiseOra(4009, {}, st.namePos);
  if (o.start > o.maxValue) o.start = o.maxValue;
  if (o.start < o.minValue) o.start = o.minValue;
  normalize(o, st.namePos);
  SqlStatement s(
      db_,
      "UPDATE \"SYS.SEQ$\" SET MINVALUE = ?1, MAXVALUE = ?2, INCREMENT$ = ?3, "
      "\"CYCLE#\" = ?4, \"ORDER#\" = ?5, CACHE = ?6, LAST_NUMBER = ?7 WHERE \"OBJ#\" = ?8");
  s.bind(1, o.minValue).bind(2, o.maxValue).bind(3, static_cast<int64_t>(o.increment));
  s.bind(4, std::string_view(o.cycle ? "Y" : "N")).bind(5, std::string_view(o.order ? "Y" : "N"));
  s.bind(6, static_cast<int64_t>(o.cache)).bind(7, static_cast<int64_t>(last)).bind(8, seq.obj);
  s.run();
  s_.database().forgetSequence(seq.obj);
  touch(seq.obj);
}

void Ddl::createSynonym(CreateSynonymStmt& st) {
  std::string owner = st.isPublic ? "PUBLIC" : ownerOf(st.name, st.namePos);
  const std::string& name = st.name.back();
  const ObjectRef* existing = cat_->findObject(owner, name);
  if (existing && !(st.orReplace && existing->type == ObjectType::Synonym)) {
    raiseOra(955, {}, st.namePos);
  }
  std::string targetOwner = st.target.size() > 1 ? st.target[0] : s_.user();
  if (st.isPublic && st.target.size() == 1) targetOwner = s_.user();
  if (!st.isPublic && targetOwner == owner && st.target.back() == name) {
    raiseOra(1471, {}, st.namePos);
  }
  int64_t obj;
  if (existing) {
    obj = existing->synonym()->obj;
    SqlStatement d(db_, "DELETE FROM \"SYS.SYN$\" WHERE \"OBJ#\" = ?1");
    d.bind(1, obj);
    d.run();
    touch(obj);
  } else {
    obj = addObject(owner, name, "SYNONYM");
  }
  SqlStatement s(db_, "INSERT INTO \"SYS.SYN$\" VALUES (?1, ?2, ?3, ?4)");
  s.bind(1, obj).bind(2, std::string_view(targetOwner)).bind(3, std::string_view(st.target.back()));
  s.bind(4, std::string_view(st.dblink));
  s.run();
}

// Directories name a folder of the server's machine for BFILEs; the path is
// kept as written and checked only when a file is read.
void Ddl::createDirectory(CreateDirectoryStmt& st) {
  bool exists = cat_->findDirectory(st.name) != nullptr;
  if (exists && !st.orReplace) raiseOra(955, {}, st.namePos);
  if (st.path.empty()) raiseOra(22285, {"CREATE DIRECTORY"}, st.namePos);
  SqlStatement del(db_, "DELETE FROM \"SYS.DIR$\" WHERE NAME = ?1");
  del.bind(1, std::string_view(st.name));
  del.run();
  SqlStatement ins(db_, "INSERT INTO \"SYS.DIR$\" VALUES (?1, ?2)");
  ins.bind(1, std::string_view(st.name)).bind(2, std::string_view(st.path));
  ins.run();
}

void Ddl::dropDirectory(const std::string& name, int pos) {
  if (!cat_->findDirectory(name)) raiseOra(4043, {name}, pos);
  SqlStatement del(db_, "DELETE FROM \"SYS.DIR$\" WHERE NAME = ?1");
  del.bind(1, std::string_view(name));
  del.run();
}

void Ddl::createIndex(CreateIndexStmt& st) {
  const TableInfo& t = table(st.table, st.tablePos);
  std::string owner = st.name.size() > 1 ? ownerOf(st.name, st.namePos) : t.owner;
  const std::string& name = st.name.back();
  if (cat_->findIndex(owner, name) || cat_->findObject(owner, name)) raiseOra(955, {}, st.namePos);
  std::vector<int> cols;
  for (const auto& [col, pos] : st.columns) {
    int i = t.findColumn(col);
    if (i < 0) raiseOra(904, {"\"" + col + "\""}, pos);
    if (std::find(cols.begin(), cols.end(), i) != cols.end()) raiseOra(957, {}, pos);
    const OraType& type = t.columns[static_cast<size_t>(i)].type;
    if (type.isLob()) raiseOra(2327, {"LOB"}, pos);
    if (type.isUserDefined()) raiseOra(2327, {dictionaryTypeName(type)}, pos);
    cols.push_back(i);
  }
  for (const IndexInfo* other : cat_->indexesOf(t.obj)) {
    std::vector<int> oc;
    for (const std::string& n : other->columns)
      oc.push_back(t.findColumn(n));
    if (oc == cols) raiseOra(1408, {}, st.namePos);
  }
  if (st.unique) {
    NewConstraint probe;
    probe.type = 'U';
    probe.columns = cols;
    std::string c, anyNull;
    for (size_t i = 0; i < cols.size(); ++i)
      c += (i ? ", " : "") + quoteIdent(t.columns[static_cast<size_t>(cols[i])].name);
    SqlStatement s(
        db_, "SELECT 1 FROM " + t.sqlName() + " GROUP BY " + c + " HAVING count(*) > 1 LIMIT 1");
    if (s.step()) raiseOra(1452, {}, st.namePos);
  }
  int64_t obj = addObject(owner, name, "INDEX");
  storeIndex(t, obj, name, st.unique, cols, "");
}

void Ddl::createUser(UserStmt& st) {
  if (cat_->findUser(st.user)) raiseOra(1920, {st.user}, st.userPos);
  int64_t id = std::stoll(catalogPropertyOr("NEXT_USER", "30"));
  setCatalogProperty(db_, "NEXT_USER", std::to_string(id + 1));
  std::string status = st.expire ? "EXPIRED" : "OPEN";
  if (st.graceDays >= 0) status = "EXPIRED(GRACE)";
  if (st.lock == 1) status = status == "OPEN" ? "LOCKED" : status + " & LOCKED";
  SqlStatement s(db_, "INSERT INTO \"SYS.USER$\" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  s.bind(1, id).bind(2, std::string_view(st.user)).bind(3, std::string_view(st.password));
  s.bind(4, std::string_view(status)).bind(5, static_cast<int64_t>(std::max(0, st.graceDays)));
  s.bind(6, static_cast<int64_t>(st.external ? 1 : 0)).bind(7, now_);
  s.run();
}

void Ddl::alterUser(UserStmt& st) {
  const UserInfo* u = cat_->findUser(st.user);
  if (!u) raiseOra(1918, {st.user}, st.userPos);
  std::string status = u->status;
  bool locked = status.find("LOCKED") != std::string::npos;
  std::string base = status;
  if (locked) base = status == "LOCKED" ? "OPEN" : status.substr(0, status.find(" & LOCKED"));
  int grace = u->graceDays;
  std::string password = u->password;
  bool external = u->external;
  if (st.hasPassword) {
    password = st.password;
    external = false;
    base = "OPEN";
    grace = 0;
  }
  if (st.external) external = true;
  if (st.expire) base = "EXPIRED";
  if (st.graceDays >= 0) {
    base = "EXPIRED(GRACE)";
    grace = st.graceDays;
  }
  if (st.lock == 1) locked = true;
  if (st.lock == 2) locked = false;
  status = locked ? (base == "OPEN" ? "LOCKED" : base + " & LOCKED") : base;
  SqlStatement s(db_,
                 "UPDATE \"SYS.USER$\" SET PASSWORD = ?1, ACCOUNT_STATUS = ?2, GRACE_DAYS = ?3, "
                 "EXTERNAL = ?4 WHERE NAME = ?5");
  s.bind(1, std::string_view(password)).bind(2, std::string_view(status));
  s.bind(3, static_cast<int64_t>(grace)).bind(4, static_cast<int64_t>(external ? 1 : 0));
  s.bind(5, std::string_view(st.user));
  s.run();
}

void Ddl::deleteObject(int64_t obj) {
  for (const char* table : {"SYS.OBJ$", "SYS.COL$", "SYS.SEQ$", "SYS.SYN$", "SYS.VIEW$"}) {
    SqlStatement d(db_, std::string("DELETE FROM \"") + table + "\" WHERE \"OBJ#\" = ?1");
    d.bind(1, obj);
    d.run();
  }
}

namespace {

// Removes stored code (procedures, functions) of `owner`, or only the unit
// `name`, with its source lines. Files made before SOURCE$ existed hold no
// stored code, so a missing SOURCE$ means there is nothing to remove there.
void deleteStoredCode(sqlite3* db, const std::string& owner, const std::string* name) {
  std::vector<int64_t> objs;
  {
    SqlStatement s(db,
                   "SELECT \"OBJ#\" FROM \"SYS.OBJ$\" WHERE OWNER = ?1 AND "
                   "TYPE IN ('PROCEDURE', 'FUNCTION', 'PACKAGE', 'PACKAGE BODY')" +
                       std::string(name ? " AND NAME = ?2" : ""));
    s.bind(1, std::string_view(owner));
    if (name) s.bind(2, std::string_view(*name));
    while (s.step())
      objs.push_back(s.getInt(0));
  }
  SqlStatement source(db, "SELECT 1 FROM sqlite_master WHERE name = 'SYS.SOURCE$'");
  bool hasSource = source.step();
  for (int64_t obj : objs) {
    if (hasSource) {
      SqlStatement d(db, "DELETE FROM \"SYS.SOURCE$\" WHERE \"OBJ#\" = ?1");
      d.bind(1, obj);
      d.run();
    }
    SqlStatement d(db, "DELETE FROM \"SYS.OBJ$\" WHERE \"OBJ#\" = ?1");
    d.bind(1, obj);
    d.run();
  }
}

}  // namespace

void Ddl::drop(DropStmt& st) {
  const std::string& type = st.objectType;
  if (type == "USER") {
    const std::string& user = st.name[0];
    if (!cat_->findUser(user)) raiseOra(1918, {user}, st.namePos);
    if (user == s_.user()) raiseOra(1940, {}, st.namePos);
    auto objects = cat_->objectsOf(user);
    if (!objects.empty() && !st.cascade) raiseOra(1922, {user}, st.namePos);
    for (const ObjectRef* ref : objects) {
      if (ref->type == ObjectType::Table) {
        reload();
        const TableInfo* t = cat_->tableById(ref->table()->obj);
        if (t) dropTable(*t, true, st.namePos);
      } else if (ref->type == ObjectType::View) {
        deleteObject(ref->table()->obj);
      } else if (ref->type == ObjectType::Sequence) {
        s_.database().forgetSequence(ref->sequence()->obj);
        deleteObject(ref->sequence()->obj);
      } else if (ref->type == ObjectType::Synonym) {
        deleteObject(ref->synonym()->obj);
      }
    }
    // The user's types go after its tables, each taking its dependents in
    // other schemas down with it as DROP TYPE FORCE does.
    for (const ObjectRef* ref : objects) {
      if (ref->type != ObjectType::Type) continue;
      reload();
      const TypeInfo* type = cat_->typeById(ref->userType()->obj);
      if (type) dropType(*type, true, st.namePos);
    }
    deleteStoredCode(db_, user, nullptr);
    SqlStatement d(db_, "DELETE FROM \"SYS.USER$\" WHERE NAME = ?1");
    d.bind(1, std::string_view(user));
    d.run();
    return;
  }
  if (type == "DIRECTORY") {
    dropDirectory(st.name[0], st.namePos);
    return;
  }
  std::string owner = st.isPublic ? "PUBLIC" : (st.name.size() > 1 ? st.name[0] : s_.user());
  const std::string& name = st.name.back();
  if (type == "INDEX") {
    const IndexInfo* idx = cat_->findIndex(owner, name);
    if (!idx) raiseOra(1418, {}, st.namePos);
    if (!idx->constraintName.empty()) raiseOra(2429, {}, st.namePos);
    dropIndexObject(*idx);
    return;
  }
  const ObjectRef* ref = cat_->findObject(owner, name);
  if (type == "SYNONYM") {
    if (!ref || ref->type != ObjectType::Synonym)
      raiseOra(st.isPublic ? 1432 : 1434, {}, st.namePos);
    deleteObject(ref->synonym()->obj);
    return;
  }
  if (type == "TABLE") {
    if (!ref || ref->type != ObjectType::Table) raiseOra(942, {}, st.namePos);
    dropTable(*ref->table(), st.cascade, st.namePos);
    return;
  }
  if (type == "VIEW") {
    if (!ref || ref->type != ObjectType::View) raiseOra(942, {}, st.namePos);
    deleteObject(ref->table()->obj);
    return;
  }
  if (type == "SEQUENCE") {
    if (!ref || ref->type != ObjectType::Sequence) raiseOra(2289, {}, st.namePos);
    s_.database().forgetSequence(ref->sequence()->obj);
    deleteObject(ref->sequence()->obj);
    return;
  }
  if (type == "TYPE") {
    if (!ref || ref->type != ObjectType::Type) raiseOra(4043, {name}, st.namePos);
    dropType(*ref->userType(), st.force, st.namePos);
    return;
  }
  if (type == "PROCEDURE" || type == "FUNCTION") {
    ObjectType wanted = type == "PROCEDURE" ? ObjectType::Procedure : ObjectType::Function;
    if (!ref || ref->type != wanted) raiseOra(4043, {name}, st.namePos);
    deleteStoredCode(db_, owner, &name);
    return;
  }
  raiseOra(4043, {name}, st.namePos);
}

}  // namespace ddl

void executeDdl(Session& session, Stmt& stmt) {
  ddl::Ddl runner(session);
  runner.run(stmt);
}

}  // namespace vorn::server
