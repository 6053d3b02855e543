// Data definition of user-defined types: CREATE [OR REPLACE] TYPE, DROP
// TYPE [FORCE], object tables (CREATE TABLE t OF type), and the columns of
// user-defined types in CREATE TABLE and ALTER TABLE ADD (REF scopes,
// nested table storage). See ObjectTypes.h for the base tables.
#include <algorithm>
#include <map>
#include <mutex>
#include <random>
#include <set>

#include "engine/CompilerImpl.h"
#include "engine/Database.h"
#include "engine/DdlImpl.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"

namespace vorn::server::ddl {

namespace {

std::string newTypeOid() {
  static std::mutex mutex;
  static std::mt19937_64 generator{std::random_device{}()};
  std::lock_guard<std::mutex> lock(mutex);
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (int i = 0; i < 2; ++i) {
    uint64_t v = generator();
    for (int k = 0; k < 16; ++k, v >>= 4)
      out += kHex[v & 15];
  }
  return out;
}

// An ATTR$ row.
struct AttributeRow {
  std::string name;
  std::string typeOwner, typeName, typeMod;
  ColumnRow shape;
  int64_t typeObj = 0;
};

}  // namespace

// The user-defined type a column or attribute names; ORA-00902 when it
// names none (or an incomplete type where a complete one is needed).
const TypeInfo& Ddl::namedType(const TypeSpec& ts, const std::string& schema) {
  const TypeInfo* type = cat_->findType(schema, ts.udt);
  if (!type) raiseOra(902, {}, ts.pos);
  if (type->invalid) raiseOra(4063, {"type " + type->qualifiedName()}, ts.pos);
  if (ts.ref ? type->isCollection() : type->incomplete) raiseOra(902, {}, ts.pos);
  return *type;
}

void Ddl::userColumn(const TypeSpec& ts, ColumnInfo& col) {
  const TypeInfo& type = namedType(ts, s_.user());
  if (!ts.ref) {
    if (!ts.scope.empty()) raiseOra(22893, {}, ts.scopePos);
    col.type = userDefinedType(type);
    return;
  }
  col.type = refType(type);
  if (!ts.scope.empty()) col.refScope = scopeTable(ts.scope, type, ts.scopePos);
}

// The object table of a SCOPE IS clause for REFs to `type`.
int64_t Ddl::scopeTable(const std::vector<std::string>& name, const TypeInfo& type, int pos) {
  std::string owner;
  const ObjectRef* ref = cat_->resolve(s_.user(), name, &owner);
  if (!ref || ref->type != ObjectType::Table) raiseOra(942, {}, pos);
  const TableInfo* t = ref->table();
  if (!t->ofType) raiseOra(22895, {t->name, t->owner}, pos);
  if (t->ofType->obj != type.obj) raiseOra(22887, {}, pos);
  return t->obj;
}

// COLTYPE$ rows for the user-defined columns of a new table, with the
// REF scopes and nested table storage the statement gives.
void Ddl::recordTypedColumns(const TableInfo& t, const CreateTableStmt& st) {
  for (const auto& n : st.nestedTables) {
    int col = t.findColumn(n.column);
    if (col < 0) raiseOra(904, {"\"" + n.column + "\""}, n.pos);
    const OraType& type = t.columns[static_cast<size_t>(col)].type;
    if (type.kind != TypeKind::Collection || type.udt->kind != TypeInfo::Kind::Table) {
      raiseOra(22912, {}, n.pos);
    }
  }
  for (const auto& scope : st.scopes) {
    int col = t.findColumn(scope.column);
    if (col < 0) raiseOra(904, {"\"" + scope.column + "\""}, scope.pos);
    if (t.columns[static_cast<size_t>(col)].type.kind != TypeKind::Ref) {
      raiseOra(22893, {}, scope.pos);
    }
  }
  // A foreign key on a REF (REFERENCES an object table) is Oracle's
  // referential REF constraint, which the server does not keep.
  auto refuseRefKey = [&](const ConstraintDef& d, const std::string& column) {
    int col = t.findColumn(column);
    if (d.type == ConstraintDef::ForeignKey && col >= 0 &&
        t.columns[static_cast<size_t>(col)].type.kind == TypeKind::Ref) {
      raiseOra(3001, {}, d.pos);
    }
  };
  for (const ColumnDef& d : st.columns) {
    for (const ConstraintDef& c : d.constraints)
      refuseRefKey(c, d.name);
  }
  for (const ConstraintDef& c : st.constraints) {
    for (const auto& [column, pos] : c.columns)
      refuseRefKey(c, column);
  }
  SqlStatement ins(db_, "INSERT INTO \"SYS.COLTYPE$\" VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  for (const ColumnInfo& c : t.columns) {
    if (!c.type.isUserDefined()) continue;
    int64_t scope = c.refScope;
    for (const auto& s : st.scopes) {
      if (s.column == c.name) scope = scopeTable(s.table, *c.type.udt, s.pos);
    }
    std::string storeAs;
    if (c.type.kind == TypeKind::Collection && c.type.udt->kind == TypeInfo::Kind::Table) {
      for (const auto& n : st.nestedTables) {
        if (n.column == c.name) storeAs = n.table;
      }
      if (storeAs.empty() && !st.asQuery) raiseOra(22913, {}, st.namePos);
      if (storeAs.empty()) storeAs = "SYSNT" + std::to_string(t.obj) + "_" + std::to_string(c.id);
    }
    ins.reset();
    ins.bind(1, t.obj).bind(2, std::string_view(c.name)).bind(3, c.type.udt->obj);
    ins.bind(4, std::string_view(c.type.kind == TypeKind::Ref ? "REF" : ""));
    if (scope)
      ins.bind(5, scope);
    else
      ins.bindNull(5);
    ins.bind(6, std::string_view(storeAs));
    ins.run();
  }
}

// ALTER TABLE ADD of a user-defined column (a nested table column needs
// storage, which ALTER TABLE ADD cannot name here).
void Ddl::recordAddedColumn(const TableInfo& t, const ColumnDef& d) {
  if (d.type.udt.empty()) return;
  ColumnInfo col;
  col.name = d.name;
  userColumn(d.type, col);
  if (col.type.kind == TypeKind::Collection && col.type.udt->kind == TypeInfo::Kind::Table) {
    raiseOra(22913, {}, d.pos);
  }
  SqlStatement ins(db_, "INSERT INTO \"SYS.COLTYPE$\" VALUES (?1, ?2, ?3, ?4, ?5, NULL)");
  ins.bind(1, t.obj).bind(2, std::string_view(d.name)).bind(3, col.type.udt->obj);
  ins.bind(4, std::string_view(col.type.kind == TypeKind::Ref ? "REF" : ""));
  if (col.refScope)
    ins.bind(5, col.refScope);
  else
    ins.bindNull(5);
  ins.run();
}

// ---------------------------------------------------------------------------
// Object tables

void Ddl::createObjectTable(CreateTableStmt& st) {
  std::string owner = ownerOf(st.name, st.namePos);
  const std::string& name = st.name.back();
  checkFree(owner, name, st.namePos);
  const TypeInfo* type = cat_->findType(owner, st.ofType);
  if (!type || type->incomplete || type->isCollection()) raiseOra(902, {}, st.ofTypePos);
  if (type->invalid) raiseOra(4063, {"type " + type->qualifiedName()}, st.ofTypePos);
  TableInfo t;
  t.owner = owner;
  t.name = name;
  t.ofType = type;
  std::vector<ColumnRow> rows;
  for (const TypeAttribute& a : type->attributes) {
    ColumnInfo col;
    col.name = a.name;
    col.type = a.type;
    col.id = static_cast<int>(t.columns.size()) + 1;
    t.columns.push_back(col);
    rows.push_back(columnRow(a.name, a.type));
  }
  // The attribute clauses: defaults and constraints of attribute columns.
  std::vector<int> clauseColumn;
  for (ColumnDef& d : st.columns) {
    int i = t.findColumn(d.name);
    if (i < 0) raiseOra(904, {"\"" + d.name + "\""}, d.pos);
    clauseColumn.push_back(i);
    if (!d.hasDefault) continue;
    ColumnInfo& col = t.columns[static_cast<size_t>(i)];
    Compiler c(context());
    Scope empty;
    empty.columnsForbidden = true;
    Code v = c.expr(*d.defaultExpr, empty);
    (void)c.convert(v, col.type, d.defaultExpr->pos);
    col.defaultText = d.defaultText;
    rows[static_cast<size_t>(i)].defaultText = d.defaultText;
  }
  t.obj = addObject(owner, name, "TABLE");
  std::string ddl = "CREATE TABLE " + t.sqlName() + " (";
  for (const ColumnInfo& col : t.columns)
    ddl += quoteIdent(col.name) + ", ";
  exec(ddl + quoteIdent(kObjectIdColumn) + " DEFAULT (randomblob(16)))");
  exec("CREATE UNIQUE INDEX " + quoteIdent("OID#" + owner + "." + name) + " ON " + t.sqlName() +
       " (" + quoteIdent(kObjectIdColumn) + ")");
  for (size_t i = 0; i < rows.size(); ++i)
    insertColumn(t.obj, static_cast<int>(i + 1), rows[i], true);
  SqlStatement objtab(db_, "INSERT INTO \"SYS.OBJTAB$\" VALUES (?1, ?2)");
  objtab.bind(1, t.obj).bind(2, type->obj);
  objtab.run();
  recordTypedColumns(t, st);
  std::set<std::string> taken;
  std::vector<NewConstraint> cons;
  for (size_t k = 0; k < st.columns.size(); ++k) {
    for (const ConstraintDef& d : st.columns[k].constraints) {
      if (d.type == ConstraintDef::Null) continue;
      cons.push_back(resolveConstraint(t, d, clauseColumn[k], taken, cons));
    }
  }
  for (const ConstraintDef& d : st.constraints)
    cons.push_back(resolveConstraint(t, d, -1, taken, cons));
  for (NewConstraint& c : cons) {
    if (c.type == 'R' && c.rName.empty()) raiseOra(2270);
    storeConstraint(t, c);
  }
}

// ---------------------------------------------------------------------------
// CREATE TYPE

void Ddl::createType(CreateTypeStmt& st) {
  std::string owner = ownerOf(st.name, st.namePos);
  const std::string& name = st.name.back();
  const ObjectRef* existing = cat_->findObject(owner, name);
  const TypeInfo* old =
      existing && existing->type == ObjectType::Type ? existing->userType() : nullptr;
  if (existing && !old) raiseOra(955, {}, st.namePos);
  if (old && (st.typeKind == CreateTypeStmt::Incomplete || (!old->incomplete && !st.orReplace))) {
    raiseOra(955, {}, st.namePos);
  }
  if (old && !old->incomplete && hasTypeDependents(*old)) raiseOra(2303, {}, st.namePos);

  int64_t obj = old ? old->obj : addObject(owner, name, "TYPE");
  auto attribute = [&](const std::string& attrName, const TypeSpec& ts) {
    AttributeRow row;
    row.name = attrName;
    if (ts.udt.empty()) {
      if (ts.name == "LONG" || ts.name == "LONG RAW" || ts.name == "ROWID") {
        raiseOra(902, {}, ts.pos);
      }
      row.shape = columnRow(attrName, ts);
      row.typeName = row.shape.type;
      return row;
    }
    std::string typeOwner = ts.udt.size() > 1 ? ts.udt[0] : owner;
    bool self = typeOwner == owner && ts.udt.back() == name;
    if (self) {
      // Only a REF may name the type being defined.
      if (!ts.ref) raiseOra(902, {}, ts.pos);
      row.typeObj = obj;
      row.typeOwner = owner;
      row.typeName = name;
    } else {
      const TypeInfo& type = namedType(ts, owner);
      row.typeObj = type.obj;
      row.typeOwner = type.owner;
      row.typeName = type.name;
    }
    row.typeMod = ts.ref ? "REF" : "";
    return row;
  };
  std::vector<AttributeRow> rows;
  if (st.typeKind == CreateTypeStmt::Object) {
    std::set<std::string> names;
    for (const ColumnDef& a : st.attributes) {
      if (!names.insert(a.name).second) raiseOra(957, {}, a.pos);
      rows.push_back(attribute(a.name, a.type));
    }
  } else if (st.typeKind != CreateTypeStmt::Incomplete) {
    rows.push_back(attribute("", st.element));
  }

  SqlStatement clear(db_, "DELETE FROM \"SYS.ATTR$\" WHERE \"OBJ#\" = ?1");
  clear.bind(1, obj);
  clear.run();
  SqlStatement clearType(db_, "DELETE FROM \"SYS.TYPE$\" WHERE \"OBJ#\" = ?1");
  clearType.bind(1, obj);
  clearType.run();
  if (old) {
    touch(obj);
    SqlStatement valid(db_, "UPDATE \"SYS.OBJ$\" SET STATUS = 'VALID' WHERE \"OBJ#\" = ?1");
    valid.bind(1, obj);
    valid.run();
  }
  bool collection = st.typeKind == CreateTypeStmt::Varray || st.typeKind == CreateTypeStmt::Table;
  SqlStatement type(db_, "INSERT INTO \"SYS.TYPE$\" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  type.bind(1, obj).bind(2, std::string_view(collection ? "COLLECTION" : "OBJECT"));
  type.bind(3, std::string_view(st.typeKind == CreateTypeStmt::Varray  ? "VARYING ARRAY"
                                : st.typeKind == CreateTypeStmt::Table ? "TABLE"
                                                                       : ""));
  if (st.typeKind == CreateTypeStmt::Varray)
    type.bind(4, st.limit);
  else
    type.bindNull(4);
  type.bind(5, std::string_view(old && !old->oid.empty() ? old->oid : newTypeOid()));
  type.bind(6, static_cast<int64_t>(st.typeKind == CreateTypeStmt::Object ? rows.size() : 0));
  type.bind(7, std::string_view(st.typeKind == CreateTypeStmt::Incomplete ? "YES" : "NO"));
  type.run();
  SqlStatement attr(db_,
                    "INSERT INTO \"SYS.ATTR$\" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
  for (size_t i = 0; i < rows.size(); ++i) {
    const AttributeRow& r = rows[i];
    attr.reset();
    attr.bind(1, obj).bind(2, static_cast<int64_t>(collection ? 0 : i + 1));
    attr.bind(3, std::string_view(r.name)).bind(4, std::string_view(r.typeOwner));
    attr.bind(5, std::string_view(r.typeName)).bind(6, std::string_view(r.typeMod));
    bool builtin = r.typeObj == 0;
    bool sized = builtin && (r.typeName == "VARCHAR2" || r.typeName == "NVARCHAR2" ||
                             r.typeName == "CHAR" || r.typeName == "NCHAR" || r.typeName == "RAW");
    if (sized)
      attr.bind(7, r.shape.length);
    else
      attr.bindNull(7);
    if (builtin && r.shape.hasPrecision)
      attr.bind(8, r.shape.precision);
    else
      attr.bindNull(8);
    if (builtin && r.shape.hasScale)
      attr.bind(9, r.shape.scale);
    else
      attr.bindNull(9);
    if (builtin)
      attr.bindNull(10);
    else
      attr.bind(10, r.typeObj);
    attr.run();
  }
}

// ---------------------------------------------------------------------------
// DROP TYPE

// Types (other than `type` itself), columns and object tables that use it.
bool Ddl::hasTypeDependents(const TypeInfo& type) {
  SqlStatement attrs(db_,
                     "SELECT 1 FROM \"SYS.ATTR$\" WHERE \"TYPE_OBJ#\" = ?1 AND \"OBJ#\" <> ?1 "
                     "UNION ALL SELECT 1 FROM \"SYS.COLTYPE$\" WHERE \"TYPE_OBJ#\" = ?1 "
                     "UNION ALL SELECT 1 FROM \"SYS.OBJTAB$\" WHERE \"TYPE_OBJ#\" = ?1 LIMIT 1");
  attrs.bind(1, type.obj);
  return attrs.step();
}

void Ddl::dropType(const TypeInfo& type, bool force, int pos) {
  if (hasTypeDependents(type)) {
    if (!force) raiseOra(2303, {}, pos);
    // Dependent types become invalid; columns of the type are unused from
    // now on (with their constraints); object tables of it cannot be used.
    SqlStatement types(
        db_,
        "UPDATE \"SYS.OBJ$\" SET STATUS = 'INVALID' WHERE \"OBJ#\" IN (SELECT "
        "\"OBJ#\" FROM \"SYS.ATTR$\" WHERE \"TYPE_OBJ#\" = ?1 AND \"OBJ#\" <> ?1) "
        "OR \"OBJ#\" IN (SELECT \"OBJ#\" FROM \"SYS.OBJTAB$\" WHERE \"TYPE_OBJ#\" = ?1)");
    types.bind(1, type.obj);
    types.run();
    std::vector<std::pair<int64_t, std::string>> columns;
    {
      SqlStatement s(db_, "SELECT \"OBJ#\", NAME FROM \"SYS.COLTYPE$\" WHERE \"TYPE_OBJ#\" = ?1");
      s.bind(1, type.obj);
      while (s.step())
        columns.emplace_back(s.getInt(0), s.getText(1));
    }
    std::map<int64_t, size_t> lost;  // columns each table loses
    for (const auto& [tableObj, column] : columns)
      ++lost[tableObj];
    for (const auto& [tableObj, column] : columns) {
      const TableInfo* t = cat_->tableById(tableObj);
      if (t && !t->ofType && lost[tableObj] >= t->columns.size()) {
        // A table cannot lose all its columns: it cannot be used instead.
        SqlStatement invalid(db_, "UPDATE \"SYS.OBJ$\" SET STATUS = 'INVALID' WHERE \"OBJ#\" = ?1");
        invalid.bind(1, tableObj);
        invalid.run();
        continue;
      }
      if (t && !t->ofType) {
        int col = t->findColumn(column);
        for (const ConstraintInfo* c : t->constraints) {
          if (std::find(c->columns.begin(), c->columns.end(), col) != c->columns.end()) {
            dropConstraint(*t, *c);
          }
        }
        SqlStatement d(db_, "DELETE FROM \"SYS.COL$\" WHERE \"OBJ#\" = ?1 AND NAME = ?2");
        d.bind(1, tableObj).bind(2, std::string_view(column));
        d.run();
      }
      SqlStatement d(db_, "DELETE FROM \"SYS.COLTYPE$\" WHERE \"OBJ#\" = ?1 AND NAME = ?2");
      d.bind(1, tableObj).bind(2, std::string_view(column));
      d.run();
    }
  }
  for (const char* table : {"SYS.TYPE$", "SYS.ATTR$", "SYS.OBJ$"}) {
    SqlStatement d(db_, std::string("DELETE FROM \"") + table + "\" WHERE \"OBJ#\" = ?1");
    d.bind(1, type.obj);
    d.run();
  }
}

void Ddl::forgetTypedTable(int64_t obj) {
  for (const char* table : {"SYS.COLTYPE$", "SYS.OBJTAB$"}) {
    SqlStatement d(db_, std::string("DELETE FROM \"") + table + "\" WHERE \"OBJ#\" = ?1");
    d.bind(1, obj);
    d.run();
  }
}

}  // namespace vorn::server::ddl
