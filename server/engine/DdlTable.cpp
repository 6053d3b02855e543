// Data definition of tables: CREATE TABLE (also AS SELECT), ALTER TABLE
// (columns and constraints), DROP TABLE, TRUNCATE, and the checks that
// existing rows meet a constraint being added or enabled.
#include <algorithm>
#include <cctype>
#include <set>

#include "engine/CompilerImpl.h"
#include "engine/Database.h"
#include "engine/DdlImpl.h"
#include "engine/Lexer.h"
#include "engine/Parser.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"

namespace vorn::server::ddl {

Ddl::NewConstraint Ddl::resolveConstraint(const TableInfo& t, const ConstraintDef& def,
                                          int inlineColumn, std::set<std::string>& taken,
                                          const std::vector<NewConstraint>& siblings) {
  NewConstraint c;
  c.name = constraintName(t.owner, def, taken);
  c.generated = def.name.empty();
  c.enabled = !def.disabled;
  auto column = [&](const std::string& name, int pos) {
    int i = t.findColumn(name);
    if (i < 0) raiseOra(904, {"\"" + name + "\""}, pos);
    return i;
  };
  if (inlineColumn >= 0) {
    c.columns.push_back(inlineColumn);
  } else {
    std::set<int> seen;
    for (const auto& [name, pos] : def.columns) {
      int i = column(name, pos);
      if (!seen.insert(i).second) raiseOra(957, {}, pos);
      c.columns.push_back(i);
    }
  }
  switch (def.type) {
    case ConstraintDef::NotNull:
      c.type = 'C';
      c.notNullColumn = c.columns[0];
      c.search = "\"" + t.columns[static_cast<size_t>(c.columns[0])].name + "\" IS NOT NULL";
      break;
    case ConstraintDef::PrimaryKey:
    case ConstraintDef::Unique: {
      c.type = def.type == ConstraintDef::PrimaryKey ? 'P' : 'U';
      for (const ConstraintInfo* other : t.constraints) {
        if (c.type == 'P' && other->type == 'P') raiseOra(2260, {}, def.pos);
        if ((other->type == 'P' || other->type == 'U') && other->columns == c.columns) {
          raiseOra(2261, {}, def.pos);
        }
      }
      for (const NewConstraint& other : siblings) {
        if (c.type == 'P' && other.type == 'P') raiseOra(2260, {}, def.pos);
        if ((other.type == 'P' || other.type == 'U') && other.columns == c.columns) {
          raiseOra(2261, {}, def.pos);
        }
      }
      for (int col : c.columns) {
        const OraType& ty = t.columns[static_cast<size_t>(col)].type;
        if (ty.isLob() || ty.isLong() || ty.isUserDefined()) {
          raiseOra(2329, {dictionaryTypeName(ty)}, def.pos);
        }
      }
      break;
    }
    case ConstraintDef::Check: {
      c.type = 'C';
      c.search = def.checkText;
      Parser p(def.checkText, tokenize(def.checkText));
      ExprPtr cond = p.condition();
      compileTableExpression(context(), t, *cond, true);
      c.columns.clear();
      for (const std::string& name : referencedColumns(*cond)) {
        c.columns.push_back(t.findColumn(name));
      }
      break;
    }
    case ConstraintDef::ForeignKey: {
      c.type = 'R';
      c.deleteRule = def.deleteRule;
      std::string refOwner;
      const TableInfo* parent = nullptr;
      bool self = false;
      std::vector<std::string> refName = def.refTable;
      std::string wantOwner = refName.size() > 1 ? refName[0] : t.owner;
      if (wantOwner == t.owner && refName.back() == t.name) {
        parent = &t;
        self = true;
        refOwner = t.owner;
      } else {
        const ObjectRef* ref = cat_->resolve(s_.user(), refName, &refOwner);
        if (!ref || ref->type != ObjectType::Table) raiseOra(942, {}, def.pos);
        parent = ref->table();
      }
      std::vector<int> refCols;
      for (const auto& [name, pos] : def.refColumns) {
        int i = parent->findColumn(name);
        if (i < 0) raiseOra(904, {"\"" + name + "\""}, pos);
        refCols.push_back(i);
      }
      // The referenced key: a primary or unique key of the parent.
      auto matches = [&](char type, const std::vector<int>& cols) {
        if (refCols.empty()) return type == 'P';
        return (type == 'P' || type == 'U') && cols == refCols;
      };
      const ConstraintInfo* key = nullptr;
      for (const ConstraintInfo* k : parent->constraints) {
        if (matches(k->type, k->columns)) key = k;
      }
      std::string keyName;
      std::vector<int> keyCols;
      if (key) {
        keyName = key->name;
        keyCols = key->columns;
      } else if (self) {
        for (const NewConstraint& k : siblings) {
          if (matches(k.type, k.columns)) {
            keyName = k.name;
            keyCols = k.columns;
          }
        }
      }
      if (keyName.empty()) raiseOra(refCols.empty() ? 2268 : 2270, {}, def.pos);
      if (keyCols.size() != c.columns.size()) raiseOra(2256, {}, def.pos);
      for (size_t i = 0; i < keyCols.size(); ++i) {
        const OraType& a = t.columns[static_cast<size_t>(c.columns[i])].type;
        const OraType& b = parent->columns[static_cast<size_t>(keyCols[i])].type;
        if (familyOf(a) != familyOf(b)) raiseOra(2267, {}, def.pos);
      }
      c.rOwner = refOwner;
      c.rName = keyName;
      break;
    }
    case ConstraintDef::Null:
      break;
  }
  return c;
}

void Ddl::storeConstraint(const TableInfo& t, const NewConstraint& c) {
  SqlStatement s(
      db_, "INSERT INTO \"SYS.CON$\" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
  s.bind(1, std::string_view(t.owner)).bind(2, std::string_view(c.name));
  s.bind(3, std::string_view(std::string(1, c.type))).bind(4, t.obj);
  s.bind(5, std::string_view(c.search)).bind(6, std::string_view(c.rOwner));
  s.bind(7, std::string_view(c.rName)).bind(8, std::string_view(c.deleteRule));
  s.bind(9, std::string_view(c.enabled ? "ENABLED" : "DISABLED"));
  s.bind(10, std::string_view(c.generated ? "GENERATED NAME" : "USER NAME"));
  if (c.notNullColumn >= 0)
    s.bind(11, static_cast<int64_t>(c.notNullColumn + 1));
  else
    s.bindNull(11);
  s.bind(12, now_);
  s.run();
  SqlStatement k(db_, "INSERT INTO \"SYS.CCOL$\" VALUES (?1, ?2, ?3, ?4, ?5)");
  for (size_t i = 0; i < c.columns.size(); ++i) {
    if (c.columns[i] < 0) continue;
    k.reset();
    k.bind(1, std::string_view(t.owner)).bind(2, std::string_view(c.name)).bind(3, t.obj);
    k.bind(4, std::string_view(t.columns[static_cast<size_t>(c.columns[i])].name));
    if (c.type == 'C')
      k.bindNull(5);
    else
      k.bind(5, static_cast<int64_t>(i + 1));
    k.run();
  }
  if (c.type == 'P' || c.type == 'U') {
    int64_t idx = addObject(t.owner, c.name, "INDEX");
    storeIndex(t, idx, c.name, true, c.columns, c.name);
  } else if (c.type == 'R') {
    // An index on the foreign key keeps parent-side checks fast.
    std::string sql =
        "CREATE INDEX " + quoteIdent("F#" + t.owner + "." + c.name) + " ON " + t.sqlName() + " (";
    for (size_t i = 0; i < c.columns.size(); ++i) {
      sql += (i ? ", " : "") + quoteIdent(t.columns[static_cast<size_t>(c.columns[i])].name);
    }
    exec(sql + ")");
  }
  if (c.type == 'P' && c.enabled) {
    for (int col : c.columns)
      setNullable(t.obj, t.columns[static_cast<size_t>(col)].name, false);
  }
  if (c.notNullColumn >= 0 && c.enabled) {
    setNullable(t.obj, t.columns[static_cast<size_t>(c.notNullColumn)].name, false);
  }
}

void Ddl::storeIndex(const TableInfo& t, int64_t obj, const std::string& name, bool unique,
                     const std::vector<int>& columns, const std::string& constraint) {
  std::string cols, sqlCols;
  for (size_t i = 0; i < columns.size(); ++i) {
    const std::string& n = t.columns[static_cast<size_t>(columns[i])].name;
    cols += (i ? "," : "") + n;
    sqlCols += (i ? ", " : "") + quoteIdent(n);
  }
  SqlStatement s(db_, "INSERT INTO \"SYS.IND$\" VALUES (?1, ?2, ?3, ?4, ?5)");
  s.bind(1, obj).bind(2, t.obj).bind(3, std::string_view(unique ? "UNIQUE" : "NONUNIQUE"));
  s.bind(4, std::string_view(cols)).bind(5, std::string_view(constraint));
  s.run();
  exec("CREATE INDEX " + quoteIdent("I#" + t.owner + "." + name) + " ON " + t.sqlName() + " (" +
       sqlCols + ")");
}

void Ddl::validate(const TableInfo& t, const NewConstraint& c) {
  auto colName = [&](int i) { return quoteIdent(t.columns[static_cast<size_t>(i)].name); };
  if (c.notNullColumn >= 0) {
    SqlStatement s(db_, "SELECT 1 FROM " + t.sqlName() + " WHERE " + colName(c.notNullColumn) +
                            " IS NULL LIMIT 1");
    if (s.step()) raiseOra(2296, {t.owner, c.name});
  } else if (c.type == 'P' || c.type == 'U') {
    std::string cols, anyNull;
    for (size_t i = 0; i < c.columns.size(); ++i) {
      cols += (i ? ", " : "") + colName(c.columns[i]);
      anyNull += (i ? " OR " : "") + colName(c.columns[i]) + " IS NULL";
    }
    if (c.type == 'P') {
      SqlStatement s(db_, "SELECT 1 FROM " + t.sqlName() + " WHERE " + anyNull + " LIMIT 1");
      if (s.step()) raiseOra(1449);
    }
    SqlStatement s(
        db_, "SELECT 1 FROM " + t.sqlName() + " GROUP BY " + cols + " HAVING count(*) > 1 LIMIT 1");
    if (s.step()) raiseOra(c.type == 'P' ? 2437 : 2299, {t.owner, c.name});
  } else if (c.type == 'C') {
    Parser p(c.search, tokenize(c.search));
    ExprPtr cond = p.condition();
    std::string sql = compileTableExpression(context(), t, *cond, true);
    SqlStatement s(db_, "SELECT 1 FROM " + t.sqlName() + " WHERE (" + sql + ") = 0 LIMIT 1");
    if (s.step()) raiseOra(2293, {t.owner, c.name});
  } else if (c.type == 'R') {
    const ConstraintInfo* key = cat_->findConstraint(c.rOwner, c.rName);
    const TableInfo* parent = key ? cat_->tableById(key->tableObj) : nullptr;
    if (!parent) return;
    std::string cond, notNull;
    for (size_t i = 0; i < c.columns.size(); ++i) {
      cond += std::string(i ? " AND " : "") + "p." +
              quoteIdent(parent->columns[static_cast<size_t>(key->columns[i])].name) + " = c." +
              colName(c.columns[i]);
      notNull += std::string(i ? " AND " : "") + "c." + colName(c.columns[i]) + " IS NOT NULL";
    }
    SqlStatement s(db_, "SELECT 1 FROM " + t.sqlName() + " AS c WHERE " + notNull +
                            " AND NOT EXISTS (SELECT 1 FROM " + parent->sqlName() + " AS p WHERE " +
                            cond + ") LIMIT 1");
    if (s.step()) raiseOra(2298, {t.owner, c.name});
  }
}

void Ddl::createTable(CreateTableStmt& st) {
  if (!st.ofType.empty()) return createObjectTable(st);
  std::string owner = ownerOf(st.name, st.namePos);
  const std::string& name = st.name.back();
  checkFree(owner, name, st.namePos);
  TableInfo t;
  t.owner = owner;
  t.name = name;
  std::vector<ColumnRow> rows;
  std::vector<ColumnDef>& defs = st.columns;
  std::string asSelect;
  if (st.asQuery) {
    Compiler c(context());
    QueryCode q = c.query(*st.asQuery, nullptr, false, 0);
    if (!defs.empty() && defs.size() != q.columns.size()) raiseOra(1730, {}, st.namePos);
    for (size_t i = 0; i < q.columns.size(); ++i) {
      std::string colName = defs.empty() ? q.columns[i].name : defs[i].name;
      bool valid = !colName.empty() && colName.size() <= 30;
      for (char ch : colName)
        valid &=
            std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '$' || ch == '#';
      if (!valid) raiseOra(998, {}, st.asQuery->pos);
      ColumnInfo col;
      col.name = colName;
      col.type = q.columns[i].type;
      if (col.type.kind == TypeKind::Null) col.type = OraType::varchar2(1);
      col.type.nullable = true;
      t.columns.push_back(col);
      rows.push_back(columnRow(colName, col.type));
    }
    asSelect = q.sql;
  } else {
    for (ColumnDef& d : defs) {
      if (t.findColumn(d.name) >= 0) raiseOra(957, {}, d.pos);
      ColumnRow r = columnRow(d.name, d.type);
      ColumnInfo col;
      col.name = d.name;
      col.type = OraType();
      // The type as the catalog will read it back.
      {
        TypeSpec& ts = d.type;
        if (!ts.udt.empty()) {
          userColumn(ts, col);
        } else if (ts.name == "NUMBER") {
          col.type = OraType::number();
          if (r.hasPrecision) {
            col.type.precision = static_cast<int>(r.precision);
            col.type.scale = static_cast<int>(r.scale);
          } else if (r.hasScale) {
            col.type.precision = 38;
            col.type.scale = static_cast<int>(r.scale);
          }
        } else if (ts.name == "FLOAT") {
          col.type = OraType::number(ts.precision, -127);
          col.type.isFloat = true;
        } else if (ts.name == "VARCHAR2" || ts.name == "NVARCHAR2") {
          col.type = OraType::varchar2(ts.length);
        } else if (ts.name == "CHAR" || ts.name == "NCHAR") {
          col.type = OraType::charType(ts.length);
        } else if (ts.name == "RAW") {
          col.type = OraType::of(TypeKind::Raw);
          col.type.length = ts.length;
        } else if (ts.name == "DATE") {
          col.type = OraType::of(TypeKind::Date);
        } else if (ts.name == "LONG") {
          col.type = OraType::of(TypeKind::Long);
        } else if (ts.name == "LONG RAW") {
          col.type = OraType::of(TypeKind::LongRaw);
        } else if (ts.name == "CLOB" || ts.name == "NCLOB") {
          col.type = OraType::of(TypeKind::Clob);
        } else if (ts.name == "BLOB") {
          col.type = OraType::of(TypeKind::Blob);
        } else if (ts.name == "BFILE") {
          col.type = OraType::of(TypeKind::Bfile);
        } else if (ts.name == "ROWID") {
          col.type = OraType::of(TypeKind::Rowid);
        }
      }
      if (d.type.name == "LONG" || d.type.name == "LONG RAW") {
        for (const ColumnInfo& other : t.columns) {
          if (other.type.isLong()) raiseOra(1754, {}, d.pos);
        }
      }
      if (d.hasDefault) {
        Compiler c(context());
        Scope empty;
        empty.columnsForbidden = true;
        Code v = c.expr(*d.defaultExpr, empty);
        (void)c.convert(v, col.type, d.defaultExpr->pos);
        r.defaultText = d.defaultText;
        col.defaultText = d.defaultText;
      }
      t.columns.push_back(col);
      rows.push_back(r);
    }
  }
  if (t.columns.empty()) raiseOra(904, {}, st.namePos);
  t.obj = addObject(owner, name, "TABLE");
  std::string ddl = "CREATE TABLE " + t.sqlName() + " (";
  for (size_t i = 0; i < t.columns.size(); ++i)
    ddl += (i ? ", " : "") + quoteIdent(t.columns[i].name);
  exec(ddl + ")");
  for (size_t i = 0; i < rows.size(); ++i)
    insertColumn(t.obj, static_cast<int>(i + 1), rows[i], true);
  recordTypedColumns(t, st);
  std::set<std::string> taken;
  std::vector<NewConstraint> cons;
  for (size_t i = 0; i < defs.size(); ++i) {
    for (const ConstraintDef& d : defs[i].constraints) {
      if (d.type == ConstraintDef::Null) continue;
      cons.push_back(resolveConstraint(t, d, static_cast<int>(i), taken, cons));
    }
  }
  for (const ConstraintDef& d : st.constraints)
    cons.push_back(resolveConstraint(t, d, -1, taken, cons));
  // Self-references may name a key declared after them: resolve again.
  for (NewConstraint& c : cons) {
    if (c.type == 'R' && c.rName.empty()) raiseOra(2270);
    storeConstraint(t, c);
  }
  if (!asSelect.empty()) {
    std::string cols;
    for (size_t i = 0; i < t.columns.size(); ++i)
      cols += (i ? ", " : "") + quoteIdent(t.columns[i].name);
    std::string sel;
    for (size_t i = 0; i < t.columns.size(); ++i)
      sel += (i ? ", " : "") + std::string("c") + std::to_string(i);
    exec("INSERT INTO " + t.sqlName() + " (" + cols + ") SELECT " + sel + " FROM (" + asSelect +
         ")");
  }
}

const ConstraintInfo* Ddl::findConstraintOf(const TableInfo& t, const AlterTableAction& a) {
  for (const ConstraintInfo* c : t.constraints) {
    if (a.primaryKey ? c->type == 'P' : c->name == a.constraintName) return c;
    if (!a.names.empty() && c->type == 'U') {
      std::vector<int> cols;
      for (const auto& [n, p] : a.names)
        cols.push_back(t.findColumn(n));
      if (cols == c->columns) return c;
    }
  }
  return nullptr;
}

void Ddl::dropConstraint(const TableInfo& t, const ConstraintInfo& c) {
  for (const char* table : {"SYS.CON$", "SYS.CCOL$"}) {
    SqlStatement d(db_,
                   std::string("DELETE FROM \"") + table + "\" WHERE OWNER = ?1 AND NAME = ?2");
    d.bind(1, std::string_view(c.owner)).bind(2, std::string_view(c.name));
    d.run();
  }
  if (c.type == 'P' || c.type == 'U') {
    const IndexInfo* idx = cat_->findIndex(c.owner, c.name);
    if (idx) dropIndexObject(*idx);
  }
  if (c.type == 'R') exec("DROP INDEX IF EXISTS " + quoteIdent("F#" + c.owner + "." + c.name));
  refreshNullability(t);
}

void Ddl::dropIndexObject(const IndexInfo& idx) {
  exec("DROP INDEX IF EXISTS " + quoteIdent("I#" + idx.owner + "." + idx.name));
  SqlStatement d(db_, "DELETE FROM \"SYS.IND$\" WHERE \"OBJ#\" = ?1");
  d.bind(1, idx.obj);
  d.run();
  SqlStatement o(db_, "DELETE FROM \"SYS.OBJ$\" WHERE \"OBJ#\" = ?1");
  o.bind(1, idx.obj);
  o.run();
}

void Ddl::refreshNullability(const TableInfo& t) {
  reload();
  const TableInfo* now = cat_->tableById(t.obj);
  if (!now) return;
  std::set<int> notNull;
  for (const ConstraintInfo* c : now->constraints) {
    if (!c->enabled) continue;
    if (c->notNullColumn >= 0) notNull.insert(c->notNullColumn);
    if (c->type == 'P') notNull.insert(c->columns.begin(), c->columns.end());
  }
  for (size_t i = 0; i < now->columns.size(); ++i) {
    setNullable(t.obj, now->columns[i].name, !notNull.count(static_cast<int>(i)));
  }
  reload();
}

void Ddl::alterTable(AlterTableStmt& st) {
  const TableInfo* tp = &table(st.name, st.namePos);
  int64_t obj = tp->obj;
  for (AlterTableAction& a : st.actions) {
    const TableInfo& t = *cat_->tableById(obj);
    // An object table's columns are its type's attributes.
    if (t.ofType &&
        (a.kind == AlterTableAction::AddColumns || a.kind == AlterTableAction::ModifyColumns ||
         a.kind == AlterTableAction::DropColumns)) {
      raiseOra(a.kind == AlterTableAction::AddColumns ? 22856 : 22859, {}, a.pos);
    }
    switch (a.kind) {
      case AlterTableAction::AddColumns:
        addColumns(t, a);
        break;
      case AlterTableAction::ModifyColumns:
        modifyColumns(t, a);
        break;
      case AlterTableAction::DropColumns:
        dropColumns(t, a);
        break;
      case AlterTableAction::AddConstraint: {
        std::set<std::string> taken;
        NewConstraint c = resolveConstraint(t, a.constraint, -1, taken, {});
        if (c.enabled) validate(t, c);
        storeConstraint(t, c);
        break;
      }
      case AlterTableAction::DropConstraint: {
        const ConstraintInfo* c = findConstraintOf(t, a);
        if (!c) raiseOra(2443, {}, a.pos);
        if ((c->type == 'P' || c->type == 'U')) {
          for (const ConstraintInfo* fk : t.referencedBy) {
            if (fk->rOwner != c->owner || fk->rName != c->name) continue;
            if (!a.cascade) raiseOra(2273, {}, a.pos);
            const TableInfo* child = cat_->tableById(fk->tableObj);
            if (child) dropConstraint(*child, *fk);
          }
        }
        dropConstraint(t, *c);
        break;
      }
      case AlterTableAction::EnableConstraint:
      case AlterTableAction::DisableConstraint: {
        const ConstraintInfo* c = findConstraintOf(t, a);
        bool enable = a.kind == AlterTableAction::EnableConstraint;
        if (!c) raiseOra(enable ? 2430 : 2431, {a.constraintName}, a.pos);
        if (enable && !c->enabled) {
          NewConstraint n;
          n.name = c->name;
          n.type = c->type;
          n.columns = c->columns;
          n.search = c->searchCondition;
          n.rOwner = c->rOwner;
          n.rName = c->rName;
          n.notNullColumn = c->notNullColumn;
          validate(t, n);
        }
        if (!enable && (c->type == 'P' || c->type == 'U')) {
          for (const ConstraintInfo* fk : t.referencedBy) {
            if (fk->rOwner != c->owner || fk->rName != c->name || !fk->enabled) continue;
            if (!a.cascade) raiseOra(2297, {c->owner, c->name}, a.pos);
            setStatus(*fk, false);
          }
        }
        setStatus(*c, enable);
        refreshNullability(t);
        break;
      }
      case AlterTableAction::RenameColumn: {
        int i = t.findColumn(a.names[0].first);
        if (i < 0) raiseOra(904, {"\"" + a.names[0].first + "\""}, a.names[0].second);
        if (t.findColumn(a.names[1].first) >= 0) raiseOra(957, {}, a.names[1].second);
        exec("ALTER TABLE " + t.sqlName() + " RENAME COLUMN " + quoteIdent(a.names[0].first) +
             " TO " + quoteIdent(a.names[1].first));
        SqlStatement u(db_, "UPDATE \"SYS.COL$\" SET NAME = ?1 WHERE \"OBJ#\" = ?2 AND NAME = ?3");
        u.bind(1, std::string_view(a.names[1].first))
            .bind(2, obj)
            .bind(3, std::string_view(a.names[0].first));
        u.run();
        SqlStatement k(
            db_, "UPDATE \"SYS.CCOL$\" SET COL_NAME = ?1 WHERE \"OBJ#\" = ?2 AND COL_NAME = ?3");
        k.bind(1, std::string_view(a.names[1].first))
            .bind(2, obj)
            .bind(3, std::string_view(a.names[0].first));
        k.run();
        break;
      }
      case AlterTableAction::RenameTable: {
        const std::string& to = a.names[0].first;
        checkFree(t.owner, to, a.names[0].second);
        exec("ALTER TABLE " + t.sqlName() + " RENAME TO " + quoteIdent(t.owner + "." + to));
        SqlStatement u(db_, "UPDATE \"SYS.OBJ$\" SET NAME = ?1 WHERE \"OBJ#\" = ?2");
        u.bind(1, std::string_view(to)).bind(2, obj);
        u.run();
        break;
      }
    }
    touch(obj);
    reload();
  }
}

void Ddl::setStatus(const ConstraintInfo& c, bool enabled) {
  SqlStatement s(
      db_, "UPDATE \"SYS.CON$\" SET STATUS = ?1, LAST_CHANGE = ?2 WHERE OWNER = ?3 AND NAME = ?4");
  s.bind(1, std::string_view(enabled ? "ENABLED" : "DISABLED")).bind(2, now_);
  s.bind(3, std::string_view(c.owner)).bind(4, std::string_view(c.name));
  s.run();
}

bool Ddl::hasRows(const TableInfo& t, const std::string& where) {
  SqlStatement s(
      db_, "SELECT 1 FROM " + t.sqlName() + (where.empty() ? "" : " WHERE " + where) + " LIMIT 1");
  return s.step();
}

void Ddl::addColumns(const TableInfo& t, AlterTableAction& a) {
  CreateTableStmt shape;
  for (ColumnDef& d : a.columns) {
    if (t.findColumn(d.name) >= 0) raiseOra(1430, {}, d.pos);
  }
  int next = static_cast<int>(t.columns.size());
  for (ColumnDef& d : a.columns) {
    ColumnRow r = columnRow(d.name, d.type);
    if (d.hasDefault) r.defaultText = d.defaultText;
    bool notNull = false;
    for (const ConstraintDef& c : d.constraints)
      notNull |= c.type == ConstraintDef::NotNull || c.type == ConstraintDef::PrimaryKey;
    if (notNull && !d.hasDefault && hasRows(t)) raiseOra(1758, {}, d.pos);
    exec("ALTER TABLE " + t.sqlName() + " ADD COLUMN " + quoteIdent(d.name));
    insertColumn(t.obj, ++next, r, true);
    recordAddedColumn(t, d);
  }
  reload();
  const TableInfo& now = *cat_->tableById(t.obj);
  for (ColumnDef& d : a.columns) {
    int col = now.findColumn(d.name);
    if (d.hasDefault) {
      // Existing rows take the default, as Oracle fills them.
      CompiledDml unused;
      Compiler c(context());
      Scope empty;
      Code v = c.expr(*d.defaultExpr, empty);
      std::string sql = fitColumnSql(
          now, now.columns[static_cast<size_t>(col)],
          c.convert(v, now.columns[static_cast<size_t>(col)].type, d.defaultExpr->pos));
      exec("UPDATE " + now.sqlName() + " SET " + quoteIdent(d.name) + " = " + sql);
    }
    std::set<std::string> taken;
    std::vector<NewConstraint> cons;
    for (const ConstraintDef& cd : d.constraints) {
      if (cd.type == ConstraintDef::Null) continue;
      NewConstraint c = resolveConstraint(now, cd, col, taken, cons);
      if (c.enabled) validate(now, c);
      cons.push_back(c);
    }
    for (const NewConstraint& c : cons)
      storeConstraint(now, c);
  }
}

void Ddl::modifyColumns(const TableInfo& t, AlterTableAction& a) {
  for (ColumnDef& d : a.columns) {
    int col = t.findColumn(d.name);
    if (col < 0) raiseOra(904, {"\"" + d.name + "\""}, d.pos);
    const ColumnInfo& old = t.columns[static_cast<size_t>(col)];
    if (old.type.isUserDefined() || !d.type.udt.empty()) raiseOra(22859, {}, d.pos);
    std::string q = quoteIdent(d.name);
    if (d.hasType) {
      ColumnRow r = columnRow(d.name, d.type);
      bool hasValues = hasRows(t, q + " IS NOT NULL");
      std::string newType = r.type;
      std::string oldType = dictionaryTypeName(old.type);
      bool sameFamily = (newType == oldType) ||
                        ((newType == "VARCHAR2" || newType == "CHAR") &&
                         (oldType == "VARCHAR2" || oldType == "CHAR")) ||
                        ((newType == "NUMBER" || newType == "FLOAT") &&
                         (oldType == "NUMBER" || oldType == "FLOAT"));
      if (!sameFamily && hasValues) raiseOra(1439, {}, d.pos);
      if (sameFamily && hasValues) {
        if ((newType == "VARCHAR2" || newType == "CHAR" || newType == "RAW") &&
            r.length < old.type.length) {
          SqlStatement s(db_, "SELECT 1 FROM " + t.sqlName() + " WHERE length(" + q + ") > " +
                                  std::to_string(r.length) + " LIMIT 1");
          if (s.step()) raiseOra(1441, {}, d.pos);
        }
        if (newType == "NUMBER" && old.type.kind == TypeKind::Number && r.hasPrecision &&
            (old.type.precision == 0 ||
             r.precision - r.scale < old.type.precision - old.type.scale ||
             r.scale < old.type.scale)) {
          raiseOra(1440, {}, d.pos);
        }
      }
      SqlStatement u(db_,
                     "UPDATE \"SYS.COL$\" SET TYPE = ?1, LENGTH = ?2, PRECISION$ = ?3, SCALE = ?4 "
                     "WHERE \"OBJ#\" = ?5 AND NAME = ?6");
      u.bind(1, std::string_view(r.type)).bind(2, r.length);
      if (r.hasPrecision)
        u.bind(3, r.precision);
      else
        u.bindNull(3);
      if (r.hasScale)
        u.bind(4, r.scale);
      else
        u.bindNull(4);
      u.bind(5, t.obj).bind(6, std::string_view(d.name));
      u.run();
      if (newType == "CHAR" && hasValues) {
        exec("UPDATE " + t.sqlName() + " SET " + q + " = ora_rpad(" + q + ", " +
             std::to_string(r.length) + ")");
      }
    }
    if (d.hasDefault) {
      SqlStatement u(db_,
                     "UPDATE \"SYS.COL$\" SET DEFAULT$ = ?1 WHERE \"OBJ#\" = ?2 AND NAME = ?3");
      u.bind(1, std::string_view(d.defaultText)).bind(2, t.obj).bind(3, std::string_view(d.name));
      u.run();
    }
    for (const ConstraintDef& c : d.constraints) {
      if (c.type == ConstraintDef::NotNull) {
        if (!old.type.nullable) raiseOra(1442, {}, c.pos);
        std::set<std::string> taken;
        NewConstraint n = resolveConstraint(t, c, col, taken, {});
        if (n.enabled) validate(t, n);
        storeConstraint(t, n);
      } else if (c.type == ConstraintDef::Null) {
        if (old.type.nullable) raiseOra(1451, {}, c.pos);
        for (const ConstraintInfo* k : t.constraints) {
          if (k->notNullColumn == col) dropConstraint(t, *k);
          if (k->type == 'P' &&
              std::find(k->columns.begin(), k->columns.end(), col) != k->columns.end()) {
            raiseOra(1451, {}, c.pos);
          }
        }
      } else {
        std::set<std::string> taken;
        NewConstraint n = resolveConstraint(t, c, col, taken, {});
        if (n.enabled) validate(t, n);
        storeConstraint(t, n);
      }
    }
    reload();
  }
}

void Ddl::dropColumns(const TableInfo& t, AlterTableAction& a) {
  std::set<int> drop;
  for (const auto& [name, pos] : a.names) {
    int i = t.findColumn(name);
    if (i < 0) raiseOra(904, {"\"" + name + "\""}, pos);
    drop.insert(i);
  }
  if (drop.size() >= t.columns.size()) raiseOra(12983, {}, a.pos);
  for (const ConstraintInfo* c : t.constraints) {
    bool touches = false;
    for (int col : c->columns)
      touches |= drop.count(col) > 0;
    if (c->notNullColumn >= 0) touches |= drop.count(c->notNullColumn) > 0;
    if (!touches) continue;
    bool multi = c->columns.size() > 1;
    if (multi && !a.cascade) raiseOra(12991, {}, a.pos);
    if (c->type == 'P' || c->type == 'U') {
      for (const ConstraintInfo* fk : t.referencedBy) {
        if (fk->rOwner == c->owner && fk->rName == c->name) {
          if (!a.cascade) raiseOra(12992, {}, a.pos);
          const TableInfo* child = cat_->tableById(fk->tableObj);
          if (child) dropConstraint(*child, *fk);
        }
      }
    }
    dropConstraint(t, *c);
  }
  for (const IndexInfo* idx : cat_->indexesOf(t.obj)) {
    for (const std::string& n : idx->columns) {
      if (drop.count(t.findColumn(n))) {
        dropIndexObject(*idx);
        break;
      }
    }
  }
  for (int i : drop) {
    const std::string& name = t.columns[static_cast<size_t>(i)].name;
    exec("ALTER TABLE " + t.sqlName() + " DROP COLUMN " + quoteIdent(name));
    SqlStatement d(db_, "DELETE FROM \"SYS.COL$\" WHERE \"OBJ#\" = ?1 AND NAME = ?2");
    d.bind(1, t.obj).bind(2, std::string_view(name));
    d.run();
  }
  // Column numbers close the gaps, as Oracle renumbers COLUMN_ID.
  SqlStatement r(db_, "SELECT NAME FROM \"SYS.COL$\" WHERE \"OBJ#\" = ?1 ORDER BY \"COL#\"");
  r.bind(1, t.obj);
  std::vector<std::string> names;
  while (r.step())
    names.push_back(r.getText(0));
  SqlStatement u(db_, "UPDATE \"SYS.COL$\" SET \"COL#\" = ?1 WHERE \"OBJ#\" = ?2 AND NAME = ?3");
  for (size_t i = 0; i < names.size(); ++i) {
    u.reset();
    u.bind(1, static_cast<int64_t>(i + 1)).bind(2, t.obj).bind(3, std::string_view(names[i]));
    u.run();
  }
}

void Ddl::dropTable(const TableInfo& t, bool cascade, int pos) {
  for (const ConstraintInfo* fk : t.referencedBy) {
    if (fk->tableObj == t.obj) continue;
    if (!cascade) raiseOra(2449, {}, pos);
  }
  for (const ConstraintInfo* fk : t.referencedBy) {
    if (fk->tableObj == t.obj) continue;
    const TableInfo* child = cat_->tableById(fk->tableObj);
    if (child) dropConstraint(*child, *fk);
  }
  for (const ConstraintInfo* c : t.constraints) {
    for (const char* table : {"SYS.CON$", "SYS.CCOL$"}) {
      SqlStatement d(db_,
                     std::string("DELETE FROM \"") + table + "\" WHERE OWNER = ?1 AND NAME = ?2");
      d.bind(1, std::string_view(c->owner)).bind(2, std::string_view(c->name));
      d.run();
    }
  }
  for (const IndexInfo* idx : cat_->indexesOf(t.obj))
    dropIndexObject(*idx);
  exec("DROP TABLE " + t.sqlName());
  deleteObject(t.obj);
  forgetTypedTable(t.obj);
}

void Ddl::truncate(TruncateStmt& st) {
  const TableInfo& t = table(st.name, st.namePos);
  for (const ConstraintInfo* fk : t.referencedBy) {
    if (fk->enabled && fk->tableObj != t.obj) raiseOra(2266, {}, st.namePos);
  }
  exec("DELETE FROM " + t.sqlName());
}

}  // namespace vorn::server::ddl
