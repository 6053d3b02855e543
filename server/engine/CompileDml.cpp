// INSERT, UPDATE and DELETE: storage enforcement of every written column,
// the constraint checks the executor runs after the write, RETURNING; see
// Compiler.h.
#include <set>

#include "engine/CompilerImpl.h"
#include "engine/Parser.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"
#include "value/StorageFit.h"

namespace vorn::server {
namespace {

std::string columnLiteral(const TableInfo& t, const ColumnInfo& c) {
  return quoteText(quotedColumnName(t.owner, t.name, c.name));
}

const ConstraintInfo* parentKeyOf(const CompileContext& ctx, const ConstraintInfo& fk) {
  return ctx.catalog->findConstraint(fk.rOwner, fk.rName);
}

}  // namespace

std::string fitColumnSql(const TableInfo& table, const ColumnInfo& column,
                         const std::string& valueSql) {
  const OraType& t = column.type;
  std::string col = columnLiteral(table, column);
  switch (t.kind) {
    case TypeKind::Number:
      if (t.isFloat) {
        return "ora_fit_float(" + valueSql + ", " + std::to_string(t.precision) + ", " + col + ")";
      }
      return "ora_fit_number(" + valueSql + ", " + std::to_string(t.precision) + ", " +
             std::to_string(t.precision == 0 ? 0 : t.scale) + ", " + col + ")";
    case TypeKind::Varchar2:
      return "ora_fit_text(" + valueSql + ", " + std::to_string(t.length) + ", " + col + ")";
    case TypeKind::Char:
      return "ora_fit_char(" + valueSql + ", " + std::to_string(t.length) + ", " + col + ")";
    case TypeKind::Raw:
      return "ora_fit_raw(" + valueSql + ", " + std::to_string(t.length) + ", " + col + ")";
    case TypeKind::Date:
      return "ora_fit_date(" + valueSql + ", " + col + ")";
    case TypeKind::Rowid:
      return "ora_rowid_check(" + valueSql + ")";
    case TypeKind::Object:
    case TypeKind::Collection:
      return "vorn_udt_fit(" + valueSql + ", " + std::to_string(t.udt->obj) + ")";
    case TypeKind::Ref:
      return "vorn_ref_fit(" + valueSql + ", " + std::to_string(t.udt->obj) + ", " +
             std::to_string(column.refScope) + ")";
    default:
      return valueSql;
  }
}

namespace {

class DmlCompiler {
 public:
  DmlCompiler(const CompileContext& ctx) : ctx_(ctx), c_(ctx) {}

  CompiledDml compile(Stmt& stmt) {
    CompiledDml d;
    switch (stmt.kind) {
      case StmtKind::Insert:
        d = insert(static_cast<InsertStmt&>(stmt));
        break;
      case StmtKind::Update:
        d = update(static_cast<UpdateStmt&>(stmt));
        break;
      default:
        d = remove(static_cast<DeleteStmt&>(stmt));
        break;
    }
    placeRowParameters(d);
    d.callsStoredCode = c_.callsStoredCode;
    d.groupable = d.kind == StmtKind::Insert && d.rowByRow && d.readBackSql.empty() &&
                  !d.lockInserted && !d.callsStoredCode && !c_.takesNextval;
    return d;
  }

 private:
  const TableInfo& target(const std::vector<std::string>& name, const std::string& alias, int pos,
                          Scope& scope) {
    c_.tableSource(name, alias, pos, scope, 0, true);
    return *scope.sources.back().table;
  }

  // The value written to column `col` of the target: converted, fitted,
  // NOT NULL checked.
  std::string written(const TableInfo& t, const ColumnInfo& col, const Code& value, int pos,
                      bool update) {
    std::string sql = c_.convert(value, col.type, pos);
    if (value.type.kind != TypeKind::Null) sql = fitColumnSql(t, col, sql);
    if (!col.type.nullable) {
      sql =
          "vorn_not_null(" + sql + ", " + columnLiteral(t, col) + ", " + (update ? "1" : "0") + ")";
    }
    return sql;
  }

  Code defaultValue(const TableInfo& t, const ColumnInfo& col) {
    Code c;
    if (col.defaultText.empty()) {
      c.sql = "NULL";
      return c;
    }
    Parser p(col.defaultText, tokenize(col.defaultText));
    defaults_.push_back(p.expression());
    Scope empty;
    empty.sequencesAllowed = true;
    empty.columnsForbidden = true;
    (void)t;
    return c_.expr(*defaults_.back(), empty);
  }

  // Moves kRowParameter and kSetParameter + k right above the placeholders
  // and the PL/SQL locals.
  void placeRowParameters(CompiledDml& d) const {
    std::string* texts[] = {&d.sql, &d.lockSql, &d.readBackSql};
    int top = static_cast<int>(ctx_.bindTypes.size());
    for (const std::string* sql : texts)
      top = std::max(top, highestParameter(*sql, kRowParameter));
    int offset = top + 1 - kRowParameter;
    for (std::string* sql : texts)
      *sql = shiftParameters(*sql, offset, kRowParameter);
    d.rowParameter = kRowParameter + offset;
    d.setParameter = kSetParameter + offset;
  }

  // The RETURNING list `list` as a query of the row with rowid
  // kRowParameter (CompiledDml::readBackSql); empty for the rowid alone.
  static std::string readBack(const TableInfo& t, const std::string& list) {
    static const std::string kRowidOnly = " RETURNING rowid";
    if (list == kRowidOnly) return {};
    return "SELECT rowid" + list.substr(kRowidOnly.size()) + " FROM " + t.sqlName() +
           " WHERE rowid = ?" + std::to_string(kRowParameter);
  }

  // RETURNING: rowid, checks, unique keys, parent keys, then `extra`. An
  // UPDATE (`updated`: the columns it sets) checks only the keys it changes,
  // as Oracle does: a key it leaves alone cannot become a duplicate or lose
  // its parent.
  void returningList(CompiledDml& d, const TableInfo& t, Scope& scope, bool checks,
                     std::string& list, const std::set<int>* updated = nullptr) {
    auto untouched = [&](const std::vector<int>& columns) {
      if (!updated) return false;
      for (int col : columns)
        if (updated->count(col)) return false;
      return true;
    };
    list = " RETURNING rowid";
    int next = 1;
    if (checks) {
      for (const ConstraintInfo* con : t.constraints) {
        if (con->type != 'C' || !con->enabled || con->notNullColumn >= 0) continue;
        Parser p(con->searchCondition, tokenize(con->searchCondition));
        checks_.push_back(p.condition());
        Code cond = c_.condition(*checks_.back(), scope);
        list += ", " + cond.sql;
        d.checkNames.push_back(con->name);
        ++next;
      }
      for (const ConstraintInfo* con : t.constraints) {
        if ((con->type != 'P' && con->type != 'U') || !con->enabled) continue;
        if (untouched(con->columns)) continue;
        KeyCheck k;
        k.constraint = con;
        k.firstValue = next;
        k.count = static_cast<int>(con->columns.size());
        k.sql = "SELECT count(*) FROM " + t.sqlName() + " WHERE ";
        for (size_t i = 0; i < con->columns.size(); ++i) {
          const ColumnInfo& col = t.columns[static_cast<size_t>(con->columns[i])];
          list += ", " + t.sqlName() + "." + quoteIdent(col.name);
          k.sql += std::string(i ? " AND " : "") + quoteIdent(col.name) + " IS ?" +
                   std::to_string(i + 1);
          ++next;
        }
        k.owner = con->owner;
        k.name = con->name;
        d.uniqueChecks.push_back(k);
      }
      // Unique indexes created on their own are checked like constraints.
      for (const IndexInfo* idx : ctx_.catalog->indexesOf(t.obj)) {
        if (!idx->unique || !idx->constraintName.empty()) continue;
        std::vector<int> columns;
        for (const std::string& name : idx->columns)
          columns.push_back(t.findColumn(name));
        if (untouched(columns)) continue;
        KeyCheck k;
        k.owner = idx->owner;
        k.name = idx->name;
        k.firstValue = next;
        k.count = static_cast<int>(idx->columns.size());
        k.sql = "SELECT count(*) FROM " + t.sqlName() + " WHERE ";
        for (size_t i = 0; i < idx->columns.size(); ++i) {
          list += ", " + t.sqlName() + "." + quoteIdent(idx->columns[i]);
          k.sql += std::string(i ? " AND " : "") + quoteIdent(idx->columns[i]) + " IS ?" +
                   std::to_string(i + 1);
          ++next;
        }
        d.uniqueChecks.push_back(k);
      }
      for (const ConstraintInfo* con : t.constraints) {
        if (con->type != 'R' || !con->enabled) continue;
        if (untouched(con->columns)) continue;
        const ConstraintInfo* pk = parentKeyOf(ctx_, *con);
        if (!pk) continue;
        const TableInfo* parent = ctx_.catalog->tableById(pk->tableObj);
        if (!parent) continue;
        KeyCheck k;
        k.constraint = con;
        k.firstValue = next;
        k.count = static_cast<int>(con->columns.size());
        k.sql = "SELECT count(*) FROM " + parent->sqlName() + " WHERE ";
        for (size_t i = 0; i < con->columns.size(); ++i) {
          const ColumnInfo& col = t.columns[static_cast<size_t>(con->columns[i])];
          list += ", " + t.sqlName() + "." + quoteIdent(col.name);
          const ColumnInfo& pcol = parent->columns[static_cast<size_t>(pk->columns[i])];
          k.sql += std::string(i ? " AND " : "") + quoteIdent(pcol.name) + " = ?" +
                   std::to_string(i + 1);
          ++next;
        }
        k.owner = con->owner;
        k.name = con->name;
        d.parentChecks.push_back(k);
      }
    }
    next_ = next;
  }

  // Child-side actions for foreign keys that reference `t`; the old key
  // values are appended to `list` (a RETURNING or lock query select list).
  void childActions(CompiledDml& d, const TableInfo& t, std::string& list,
                    const std::set<int>* updatedColumns) {
    for (const ConstraintInfo* fk : t.referencedBy) {
      if (!fk->enabled) continue;
      const ConstraintInfo* pk = parentKeyOf(ctx_, *fk);
      const TableInfo* child = ctx_.catalog->tableById(fk->tableObj);
      if (!pk || !child) continue;
      if (updatedColumns) {
        bool touched = false;
        for (int col : pk->columns)
          touched |= updatedColumns->count(col) > 0;
        if (!touched) continue;
      }
      ChildAction a;
      a.constraint = fk;
      a.child = child;
      a.firstValue = next_;
      a.count = static_cast<int>(pk->columns.size());
      a.findSql = "SELECT count(*) FROM " + child->sqlName() + " WHERE ";
      for (size_t i = 0; i < pk->columns.size(); ++i) {
        const ColumnInfo& col = t.columns[static_cast<size_t>(pk->columns[i])];
        list += ", " + t.sqlName() + "." + quoteIdent(col.name);
        const ColumnInfo& ccol = child->columns[static_cast<size_t>(fk->columns[i])];
        a.findSql +=
            std::string(i ? " AND " : "") + quoteIdent(ccol.name) + " = ?" + std::to_string(i + 1);
        ++next_;
      }
      d.childActions.push_back(a);
    }
  }

  void returningInto(CompiledDml& d, ReturningClause* r, Scope& scope, std::string& list) {
    d.returningFirst = next_;
    if (!r) return;
    for (size_t i = 0; i < r->exprs.size(); ++i) {
      Code v = c_.expr(*r->exprs[i], scope);
      if (v.aggregate) raiseOra(934, {}, r->exprs[i]->pos);
      if (v.type.isUserDefined()) raiseOra(22816, {}, r->exprs[i]->pos);
      list += ", " + v.sql;
      d.returning.push_back(
          ResultColumn{r->exprs[i]->names.empty() ? "" : r->exprs[i]->names.back(), v.type});
      // A LOB column returned into a locator points at the written row.
      const Expr& x = *r->exprs[i];
      LobSource lob;
      if ((v.type.kind == TypeKind::Clob || v.type.kind == TypeKind::Blob) &&
          x.kind == ExprKind::Name && x.ref == RefKind::Column && x.depth == 0) {
        const Source& s = scope.sources[static_cast<size_t>(x.source)];
        if (s.table) {
          lob = LobSource{s.table->obj, s.table->owner, s.table->name,
                          s.columns[static_cast<size_t>(x.column)].name};
        }
      }
      d.returningLobs.push_back(lob);
      d.returningSlots.push_back(r->into[i]->bindSlot);
      ++next_;
    }
  }

  // The WHERE clause of UPDATE or DELETE; ROWNUM conditions become a LIMIT
  // of the rows to lock (`limit`, empty when none).
  std::string whereClause(Expr* cond, Scope& scope, std::string& limit) {
    if (!cond) return {};
    std::vector<Expr*> terms;
    conjuncts(*cond, terms);
    std::string where, lim;
    for (Expr* t : terms) {
      if (usesRownum(*t)) {
        std::string l = rownumLimit(c_, *t, scope);
        lim = lim.empty() ? l : "min(" + lim + ", " + l + ")";
        continue;
      }
      Code w = c_.condition(*t, scope);
      if (w.aggregate) raiseOra(934, {}, t->pos);
      where += (where.empty() ? " WHERE " : " AND ") + w.sql;
    }
    if (!lim.empty()) limit = " LIMIT " + lim;
    return where;
  }

  CompiledDml insert(InsertStmt& s) {
    CompiledDml d;
    d.kind = StmtKind::Insert;
    Scope scope;
    const TableInfo& t = target(s.table, s.alias, s.tablePos, scope);
    d.table = &t;
    for (const ColumnInfo& col : t.columns) {
      if (col.type.kind == TypeKind::Clob || col.type.kind == TypeKind::Blob) d.lockInserted = true;
    }
    std::vector<int> targets;
    if (s.columns.empty()) {
      for (size_t i = 0; i < t.columns.size(); ++i)
        targets.push_back(static_cast<int>(i));
    } else {
      std::set<int> seen;
      for (const auto& [name, pos] : s.columns) {
        int i = t.findColumn(name);
        if (i < 0) raiseOra(904, {"\"" + name + "\""}, pos);
        if (!seen.insert(i).second) raiseOra(957, {}, pos);
        targets.push_back(i);
      }
    }
    std::vector<std::string> values(t.columns.size());
    std::vector<bool> given(t.columns.size(), false);
    Scope valueScope;
    valueScope.sequencesAllowed = true;
    valueScope.columnsForbidden = true;
    std::string source;
    // An object table takes a whole object as its row (VALUES (obj) or a
    // query of objects).
    std::vector<Code> objectRow;
    if (s.query) {
      QueryCode q = c_.query(*s.query, nullptr, true, 0);
      Code first;
      if (q.columns.size() == 1) {
        first.sql = "q$.c0";
        first.type = q.columns[0].type;
      }
      if (s.columns.empty() && c_.objectRowValues(t, first, objectRow)) {
        q.columns.clear();
        for (const Code& v : objectRow)
          q.columns.push_back(ResultColumn{"", v.type});
      }
      if (q.columns.size() < targets.size()) raiseOra(947, {}, s.query->pos);
      if (q.columns.size() > targets.size()) raiseOra(913, {}, s.query->pos);
      for (size_t k = 0; k < targets.size(); ++k) {
        Code v;
        v.sql = objectRow.empty() ? "q$.c" + std::to_string(k) : objectRow[k].sql;
        v.type = q.columns[k].type;
        size_t col = static_cast<size_t>(targets[k]);
        values[col] = written(t, t.columns[col], v, s.query->pos, false);
        given[col] = true;
      }
      source = " FROM (" + q.sql + ") AS q$";
    } else if (t.ofType && s.columns.empty() && s.values.size() == 1 &&
               c_.objectRowValues(t, c_.expr(*s.values[0], valueScope), objectRow)) {
      for (size_t col = 0; col < t.columns.size(); ++col) {
        if (objectRow[col].aggregate) raiseOra(934, {}, s.values[0]->pos);
        values[col] = written(t, t.columns[col], objectRow[col], s.values[0]->pos, false);
        given[col] = true;
      }
    } else {
      if (s.values.size() < targets.size()) raiseOra(947, {}, s.tablePos);
      if (s.values.size() > targets.size()) raiseOra(913, {}, s.values[targets.size()]->pos);
      for (size_t k = 0; k < targets.size(); ++k) {
        Expr& e = *s.values[k];
        size_t col = static_cast<size_t>(targets[k]);
        Code v = e.kind == ExprKind::Name && e.text == "DEFAULT" ? defaultValue(t, t.columns[col])
                                                                 : c_.expr(e, valueScope);
        if (v.aggregate) raiseOra(934, {}, e.pos);
        values[col] = written(t, t.columns[col], v, e.pos, false);
        given[col] = true;
      }
    }
    for (size_t col = 0; col < t.columns.size(); ++col) {
      if (given[col]) continue;
      Code v = defaultValue(t, t.columns[col]);
      values[col] = written(t, t.columns[col], v, s.tablePos, false);
    }
    std::string sql = "INSERT INTO " + t.sqlName() + " (";
    for (size_t i = 0; i < t.columns.size(); ++i) {
      sql += (i ? ", " : "") + quoteIdent(t.columns[i].name);
    }
    sql += s.query ? ") SELECT " : ") VALUES ";
    d.rowAt = sql.size();
    if (!s.query) sql += "(";
    for (size_t i = 0; i < values.size(); ++i)
      sql += (i ? ", " : "") + values[i];
    // SQLite needs a WHERE after INSERT ... SELECT ... FROM to tell it from
    // an upsert clause.
    sql += s.query ? source + " WHERE true" : ")";
    std::string list;
    returningList(d, t, scope, true, list);
    returningInto(d, s.returning.get(), scope, list);
    if (s.query) {
      d.sql = sql + list;
    } else {
      d.sql = sql;
      d.rowByRow = true;
      d.readBackSql = readBack(t, list);
    }
    return d;
  }

  CompiledDml update(UpdateStmt& s) {
    CompiledDml d;
    d.kind = StmtKind::Update;
    Scope scope;
    const TableInfo& t = target(s.table, s.alias, s.tablePos, scope);
    d.table = &t;
    std::string limit;
    std::string where = whereClause(s.where.get(), scope, limit);
    // Oracle computes every new value from the rows as they were before the
    // statement: the values are read with the rows to lock, then written
    // row by row through parameters kSetParameter + k.
    std::set<int> updated;
    std::vector<std::pair<int, Code>> values;  // column, value (column type)
    scope.sequencesAllowed = true;
    for (Assignment& a : s.set) {
      std::vector<int> cols;
      for (const auto& [name, pos] : a.columns) {
        int i = t.findColumn(name);
        if (i < 0) raiseOra(904, {"\"" + name + "\""}, pos);
        if (!updated.insert(i).second) raiseOra(957, {}, pos);
        cols.push_back(i);
      }
      if (a.columns.size() > 1) {
        QueryCode q = c_.query(*a.value->query, &scope, false, 0);
        if (q.columns.size() < cols.size()) raiseOra(947, {}, a.value->pos);
        if (q.columns.size() > cols.size()) raiseOra(913, {}, a.value->pos);
        for (size_t k = 0; k < cols.size(); ++k) {
          Code v;
          v.sql = Compiler::scalarSubquery(q.sql, static_cast<int>(k));
          v.type = q.columns[k].type;
          values.emplace_back(cols[k], v);
        }
        continue;
      }
      Code v = a.isDefault ? defaultValue(t, t.columns[static_cast<size_t>(cols[0])])
                           : c_.expr(*a.value, scope);
      if (v.aggregate) raiseOra(934, {}, a.value->pos);
      if (!a.path.empty()) {
        // alias.column.attribute = value: the column's object with that
        // attribute replaced.
        Code column;
        column.sql = scope.sources[0].columnSql[static_cast<size_t>(cols[0])];
        column.type = t.columns[static_cast<size_t>(cols[0])].type;
        v = c_.attributeAssignment(column, a.path, 0, v, a.columns[0].second);
      }
      values.emplace_back(cols[0], v);
    }
    scope.sequencesAllowed = false;
    std::string lockList = "SELECT rowid";
    next_ = 1;
    childActions(d, t, lockList, &updated);
    d.childKeysFromLockRow = true;
    d.setFirst = next_;
    std::string set;
    for (size_t k = 0; k < values.size(); ++k) {
      const ColumnInfo& col = t.columns[static_cast<size_t>(values[k].first)];
      const Code& v = values[k].second;
      lockList += ", " + c_.convert(v, col.type, s.tablePos);
      Code param;
      param.sql = "?" + std::to_string(kSetParameter + static_cast<int>(k));
      param.type = v.type.kind == TypeKind::Null ? v.type : col.type;
      set += (set.empty() ? "" : ", ") + quoteIdent(col.name) + " = " +
             written(t, col, param, s.tablePos, true);
    }
    d.setCount = static_cast<int>(values.size());
    d.lockSql = lockList + " FROM " + t.sqlName() + where + limit;
    std::string list;
    returningList(d, t, scope, true, list, &updated);
    returningInto(d, s.returning.get(), scope, list);
    d.sql = "UPDATE " + t.sqlName() + " SET " + set + " WHERE rowid = ?" +
            std::to_string(kRowParameter);
    d.rowByRow = true;
    d.readBackSql = readBack(t, list);
    return d;
  }

  CompiledDml remove(DeleteStmt& s) {
    CompiledDml d;
    d.kind = StmtKind::Delete;
    Scope scope;
    const TableInfo& t = target(s.table, s.alias, s.tablePos, scope);
    d.table = &t;
    std::string limit;
    std::string where = whereClause(s.where.get(), scope, limit);
    d.lockSql = "SELECT rowid FROM " + t.sqlName() + where + limit;
    // With ROWNUM the rows to delete are the ones the lock query picked.
    if (!limit.empty()) where = " WHERE rowid IN (" + d.lockSql + ")";
    std::string list;
    returningList(d, t, scope, false, list);
    childActions(d, t, list, nullptr);
    returningInto(d, s.returning.get(), scope, list);
    d.sql = "DELETE FROM " + t.sqlName() + where + list;
    return d;
  }

  const CompileContext& ctx_;
  Compiler c_;
  int next_ = 1;
  std::vector<ExprPtr> checks_;
  std::vector<ExprPtr> defaults_;
};

}  // namespace

CompiledDml compileDml(const CompileContext& ctx, Stmt& stmt) {
  DmlCompiler c(ctx);
  return c.compile(stmt);
}

std::string compileTableExpression(const CompileContext& ctx, const TableInfo& table, Expr& e,
                                   bool condition, OraType* type) {
  Compiler c(ctx);
  Scope scope;
  if (condition) {
    Source src;
    src.name = table.name;
    src.schema = table.owner;
    src.sqlAlias = table.sqlName();
    src.table = &table;
    for (const ColumnInfo& col : table.columns) {
      src.columns.push_back(ResultColumn{col.name, col.type});
      src.columnSql.push_back(quoteIdent(col.name));
    }
    scope.sources.push_back(std::move(src));
  }
  Code code = condition ? c.condition(e, scope) : c.expr(e, scope);
  if (type) *type = code.type;
  return code.sql;
}

std::vector<std::string> referencedColumns(const Expr& e) {
  std::vector<std::string> out;
  if (e.kind == ExprKind::Name && e.ref == RefKind::Column) out.push_back(e.names.back());
  for (const auto& a : e.args) {
    if (!a) continue;
    for (auto& n : referencedColumns(*a)) {
      if (std::find(out.begin(), out.end(), n) == out.end()) out.push_back(n);
    }
  }
  return out;
}

}  // namespace vorn::server
