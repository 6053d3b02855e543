// Queries: FROM sources, joins and Oracle's (+) outer joins, grouping,
// ordering, ROWNUM limits, set operations, FOR UPDATE; see Compiler.h.
#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "engine/CompilerImpl.h"
#include "engine/Parser.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

// Collects the sources (depth 0) a condition refers to and those marked (+).
void references(const Expr& e, std::set<int>& refs, std::set<int>& outer) {
  if (e.kind == ExprKind::Name && (e.ref == RefKind::Column || e.ref == RefKind::Rowid) &&
      e.depth == 0) {
    refs.insert(e.source);
    if (e.outerJoin) outer.insert(e.source);
  }
  for (const auto& a : e.args) {
    if (a) references(*a, refs, outer);
  }
}

bool hasOuterMark(const Expr& e) {
  if (e.kind == ExprKind::Name && e.outerJoin) return true;
  for (const auto& a : e.args) {
    if (a && hasOuterMark(*a)) return true;
  }
  return false;
}

bool sameSql(const Expr& e, const std::vector<std::string>& group) {
  return std::find(group.begin(), group.end(), e.sql) != group.end();
}

// Oracle's grouping rule: outside aggregates, an expression of a grouped
// query may use only GROUP BY expressions and constants.
void checkGrouped(const Expr& e, const std::vector<std::string>& group, bool hasGroupBy) {
  if (!e.sql.empty() && sameSql(e, group)) return;
  if (e.kind == ExprKind::Function && e.aggregate) return;
  if (e.kind == ExprKind::ScalarQuery || e.kind == ExprKind::Exists ||
      e.kind == ExprKind::InQuery) {
    if (e.kind == ExprKind::InQuery && e.args[0]) checkGrouped(*e.args[0], group, hasGroupBy);
    return;
  }
  if (e.kind == ExprKind::Name && (e.ref == RefKind::Column || e.ref == RefKind::Rowid) &&
      e.depth == 0) {
    raiseOra(hasGroupBy ? 979 : 937, {}, e.pos);
  }
  for (const auto& a : e.args) {
    if (a) checkGrouped(*a, group, hasGroupBy);
  }
}

std::string orderSuffix(const OrderItem& o) {
  std::string s = o.desc ? " DESC" : " ASC";
  int nulls = o.nulls ? o.nulls : (o.desc ? 1 : 2);
  s += nulls == 1 ? " NULLS FIRST" : " NULLS LAST";
  return s;
}

std::string columnAlias(size_t i) {
  return "c" + std::to_string(i);
}

}  // namespace

// The LIMIT a ROWNUM condition amounts to (SQL), or raises when it is not
// one of the forms Oracle programs use (ROWNUM <, <=, = with a value).
std::string rownumLimit(Compiler& c, Expr& e, Scope& scope) {
  if (e.kind != ExprKind::Compare) raiseOra(900, {}, e.pos);
  Expr* r = e.args[0].get();
  Expr* v = e.args[1].get();
  std::string op = e.text;
  bool rownumLeft = r->kind == ExprKind::Name && r->names.size() == 1 && r->names[0] == "ROWNUM";
  if (!rownumLeft) {
    std::swap(r, v);
    if (op == "<")
      op = ">";
    else if (op == ">")
      op = "<";
    else if (op == "<=")
      op = ">=";
    else if (op == ">=")
      op = "<=";
  }
  if (!(r->kind == ExprKind::Name && r->names.size() == 1 && r->names[0] == "ROWNUM") ||
      usesRownum(*v)) {
    raiseOra(900, {}, e.pos);
  }
  Code value = c.expr(*v, scope);
  // The limit is computed once: it may not depend on the row.
  std::set<int> refs, outer;
  references(*v, refs, outer);
  if (!refs.empty() || value.aggregate) raiseOra(900, {}, e.pos);
  std::string n = c.toNumber(value, v->pos);
  if (op == "<=") return "max(0, ora_floor(" + n + "))";
  if (op == "<") return "max(0, ora_ceil(" + n + ") - 1)";
  if (op == "=") return "CASE WHEN " + n + " = 1 THEN 1 ELSE 0 END";
  if (op == ">") return "CASE WHEN " + n + " < 1 THEN -1 ELSE 0 END";
  if (op == ">=") return "CASE WHEN " + n + " <= 1 THEN -1 ELSE 0 END";
  return "CASE WHEN " + n + " = 1 THEN 0 ELSE -1 END";  // <>
}

std::string Compiler::tableSource(const std::vector<std::string>& name, const std::string& alias,
                                  int pos, Scope& scope, int depth, bool forDml) {
  std::string owner;
  const ObjectRef* ref = ctx_.catalog->resolve(ctx_.user, name, &owner);
  if (!ref || (ref->type != ObjectType::Table && ref->type != ObjectType::View)) {
    raiseOra(942, {}, pos);
  }
  const TableInfo* t = ref->table();
  if (t->invalid) raiseOra(4063, {"table " + t->owner + "." + t->name}, pos);
  Source src;
  src.aliased = !alias.empty();
  src.name = alias.empty() ? name.back() : alias;
  src.schema = name.size() > 1 ? name[0] : owner;
  if (!alias.empty()) src.schema.clear();
  std::string from;
  if (!t->isView) {
    src.table = t;
    src.sqlAlias = forDml ? t->sqlName() : newAlias();
    src.rowidSql = src.sqlAlias + ".rowid";
    src.rowidObject = t->obj;
    from = forDml ? t->sqlName() : t->sqlName() + " AS " + src.sqlAlias;
    for (const ColumnInfo& col : t->columns) {
      src.columns.push_back(ResultColumn{col.name, col.type});
      src.columnSql.push_back(src.sqlAlias + "." + quoteIdent(col.name));
    }
  } else {
    if (forDml) raiseOra(1732, {}, pos);
    if (depth > 16) raiseOra(1731, {}, pos);
    StmtPtr parsed;
    try {
      parsed = parseStatement(t->viewText);
    } catch (const OraError&) {
      raiseOra(4063, {"view " + t->owner + "." + t->name}, pos);
    }
    auto& sel = static_cast<SelectStmt&>(*parsed);
    // A view's names resolve in its owner's schema.
    CompileContext viewCtx = ctx_;
    viewCtx.user = t->owner;
    viewCtx.hook = nullptr;
    Compiler inner(viewCtx);
    inner.aliases_ = aliases_ + 1000;
    inner.exposeRowid = true;
    QueryCode q;
    try {
      q = inner.query(*sel.query, nullptr, false, depth + 1);
    } catch (const OraError& e) {
      if (e.code() == 1731) throw;
      raiseOra(4063, {"view " + t->owner + "." + t->name}, pos);
    }
    aliases_ = inner.aliases_ + 1;
    callsStoredCode |= inner.callsStoredCode;
    takesNextval |= inner.takesNextval;
    src.sqlAlias = newAlias();
    from = "(" + q.sql + ") AS " + src.sqlAlias;
    for (size_t i = 0; i < q.columns.size(); ++i) {
      std::string colName = i < t->columns.size() ? t->columns[i].name : q.columns[i].name;
      src.columns.push_back(ResultColumn{colName, q.columns[i].type});
      src.columnSql.push_back(src.sqlAlias + "." + columnAlias(i));
    }
    src.isView = true;
    if (q.rowidObject) {
      src.rowidSql = src.sqlAlias + ".vr";
      src.rowidObject = q.rowidObject;
    }
  }
  scope.sources.push_back(std::move(src));
  return from;
}

QueryCode Compiler::query(Query& q, Scope* parent, bool topLevel, int depth) {
  if (q.op != SetOp::None) return compound(q, parent, topLevel, depth);
  return block(q, parent, topLevel, depth);
}

QueryCode Compiler::compound(Query& q, Scope* parent, bool topLevel, int depth) {
  // The rows of a set operation are no table's rows.
  bool expose = exposeRowid;
  exposeRowid = false;
  QueryCode left = query(*q.left, parent, false, depth);
  QueryCode right = query(*q.right, parent, false, depth);
  exposeRowid = expose;
  if (left.columns.size() != right.columns.size()) raiseOra(1789, {}, q.right->pos);
  for (size_t i = 0; i < left.columns.size(); ++i) {
    OraType& lt = left.columns[i].type;
    const OraType& rt = right.columns[i].type;
    // Set operators other than UNION ALL compare rows: objects need a MAP
    // method for that.
    checkUserTypes(lt, rt, q.right->pos);
    if (q.op != SetOp::UnionAll && lt.isUserDefined() && lt.kind != TypeKind::Ref) {
      refuseLob(lt, q.right->pos);
    }
    Family fl = familyOf(lt), fr = familyOf(rt);
    if (fl == Family::Null) {
      lt = rt;
    } else if (fr != Family::Null && fl != fr) {
      raiseOra(1790, {}, q.right->pos);
    } else if (fl == Family::Text) {
      lt.length = std::max(lt.length, rt.length);
      if (lt.kind != rt.kind && rt.kind != TypeKind::Null) lt.kind = TypeKind::Varchar2;
    } else if (fl == Family::Number && (lt.precision != rt.precision || lt.scale != rt.scale)) {
      lt.precision = 0;
      lt.scale = -127;
    }
    lt.nullable = lt.nullable || rt.nullable;
  }
  auto branch = [](const QueryCode& b, bool isCompoundRight) {
    if (b.hasOrderOrLimit || isCompoundRight) return "SELECT * FROM (" + b.sql + ")";
    return b.sql;
  };
  const char* op = q.op == SetOp::Union       ? " UNION "
                   : q.op == SetOp::UnionAll  ? " UNION ALL "
                   : q.op == SetOp::Intersect ? " INTERSECT "
                                              : " EXCEPT ";
  QueryCode out;
  out.columns = left.columns;
  out.sql = branch(left, false) + op + branch(right, q.right->op != SetOp::None);
  if (!q.orderBy.empty()) {
    out.sql += " ORDER BY ";
    for (size_t i = 0; i < q.orderBy.size(); ++i) {
      OrderItem& o = q.orderBy[i];
      size_t column = 0;
      if (o.expr->kind == ExprKind::Number) {
        int k = std::atoi(o.expr->text.c_str());
        if (k < 1 || k > static_cast<int>(out.columns.size())) raiseOra(1785, {}, o.expr->pos);
        column = static_cast<size_t>(k);
      } else if (o.expr->kind == ExprKind::Name) {
        const std::string& n = o.expr->names.back();
        for (size_t k = 0; k < out.columns.size(); ++k) {
          if (out.columns[k].name == n) {
            column = k + 1;
            break;
          }
        }
        if (column == 0) raiseOra(904, {"\"" + n + "\""}, o.expr->pos);
      } else {
        raiseOra(1785, {}, o.expr->pos);
      }
      if (i) out.sql += ", ";
      out.sql += std::to_string(column) + orderSuffix(o);
    }
    out.hasOrderOrLimit = true;
  }
  if (q.forUpdate) raiseOra(1786, {}, q.forUpdate->pos);
  (void)topLevel;
  return out;
}

QueryCode Compiler::block(Query& q, Scope* parent, bool topLevel, int depth) {
  Scope scope;
  scope.parent = parent;
  // FROM: each comma item, ANSI joins inside items.
  struct Item {
    std::string sql;
    std::vector<int> sources;
    bool simple;
  };
  std::vector<Item> items;
  std::function<std::string(FromItem&, std::vector<int>&)> fromItem =
      [&](FromItem& f, std::vector<int>& srcs) -> std::string {
    if (f.kind == FromItem::Table) {
      if (!f.dblink.empty()) raiseOra(2019, {}, f.pos);
      std::string sql = tableSource(f.name, f.alias, f.pos, scope, depth);
      srcs.push_back(static_cast<int>(scope.sources.size()) - 1);
      return sql;
    }
    if (f.kind == FromItem::Subquery) {
      QueryCode sub = query(*f.query, nullptr, false, depth);
      Source src;
      src.aliased = !f.alias.empty();
      src.name = f.alias;
      src.sqlAlias = newAlias();
      for (size_t i = 0; i < sub.columns.size(); ++i) {
        src.columns.push_back(sub.columns[i]);
        src.columnSql.push_back(src.sqlAlias + "." + columnAlias(i));
      }
      scope.sources.push_back(std::move(src));
      srcs.push_back(static_cast<int>(scope.sources.size()) - 1);
      return "(" + sub.sql + ") AS " + scope.sources.back().sqlAlias;
    }
    std::vector<int> leftSrcs, rightSrcs;
    std::string left = fromItem(*f.left, leftSrcs);
    std::string right = fromItem(*f.right, rightSrcs);
    if (f.join == JoinType::Left || f.join == JoinType::Full) {
      for (int i : rightSrcs)
        scope.sources[static_cast<size_t>(i)].outerJoined = true;
    }
    if (f.join == JoinType::Right || f.join == JoinType::Full) {
      for (int i : leftSrcs)
        scope.sources[static_cast<size_t>(i)].outerJoined = true;
    }
    srcs.insert(srcs.end(), leftSrcs.begin(), leftSrcs.end());
    srcs.insert(srcs.end(), rightSrcs.begin(), rightSrcs.end());
    const char* kw = f.join == JoinType::Left    ? " LEFT JOIN "
                     : f.join == JoinType::Right ? " RIGHT JOIN "
                     : f.join == JoinType::Full  ? " FULL JOIN "
                     : f.join == JoinType::Cross ? " CROSS JOIN "
                                                 : " JOIN ";
    std::string sql = left + kw + right;
    if (f.on) {
      if (hasOuterMark(*f.on)) raiseOra(25156, {}, f.on->pos);
      sql += " ON " + condition(*f.on, scope).sql;
    } else if (!f.usingColumns.empty()) {
      std::string on;
      for (const std::string& col : f.usingColumns) {
        auto find = [&](const std::vector<int>& list) -> std::string {
          for (int i : list) {
            const Source& s = scope.sources[static_cast<size_t>(i)];
            for (size_t k = 0; k < s.columns.size(); ++k) {
              if (s.columns[k].name == col) return s.columnSql[k];
            }
          }
          raiseOra(904, {"\"" + col + "\""}, f.pos);
        };
        if (!on.empty()) on += " AND ";
        on += find(leftSrcs) + " = " + find(rightSrcs);
      }
      sql += " ON " + on;
    }
    return sql;
  };
  for (auto& f : q.from) {
    Item item;
    item.simple = f->kind != FromItem::Join;
    item.sql = fromItem(*f, item.sources);
    items.push_back(std::move(item));
  }

  // WHERE: ROWNUM limits, (+) outer joins, plain conditions.
  std::vector<std::string> limits;
  std::vector<std::string> where;
  std::map<int, std::vector<std::string>> onConditions;  // outer source -> conditions
  std::map<int, std::set<int>> dependsOn;
  if (q.where) {
    std::vector<Expr*> terms;
    conjuncts(*q.where, terms);
    for (Expr* t : terms) {
      if (usesRownum(*t)) {
        limits.push_back(rownumLimit(*this, *t, scope));
        continue;
      }
      Code c = condition(*t, scope);
      if (c.aggregate) raiseOra(934, {}, t->pos);
      std::set<int> refs, outer;
      references(*t, refs, outer);
      if (outer.empty()) {
        where.push_back(c.sql);
        continue;
      }
      if (outer.size() > 1) raiseOra(1468, {}, t->pos);
      if (t->kind == ExprKind::Or || t->kind == ExprKind::InList) raiseOra(1719, {}, t->pos);
      int x = *outer.begin();
      onConditions[x].push_back(c.sql);
      for (int r : refs) {
        if (r != x) dependsOn[x].insert(r);
      }
    }
  }
  std::string fromSql;
  if (onConditions.empty()) {
    for (size_t i = 0; i < items.size(); ++i)
      fromSql += (i ? ", " : "") + items[i].sql;
  } else {
    // Oracle's (+) marks the outer-joined table: it becomes a LEFT JOIN
    // placed after the tables its conditions refer to.
    std::map<int, size_t> itemOfSource;
    for (size_t i = 0; i < items.size(); ++i) {
      for (int s : items[i].sources)
        itemOfSource[s] = i;
    }
    std::set<size_t> outerItems;
    for (const auto& [src, conds] : onConditions) {
      size_t it = itemOfSource[src];
      if (!items[it].simple) raiseOra(25156, {}, q.pos);
      outerItems.insert(it);
      scope.sources[static_cast<size_t>(src)].outerJoined = true;
    }
    std::vector<size_t> order;
    std::set<size_t> placed;
    for (size_t i = 0; i < items.size(); ++i) {
      if (!outerItems.count(i)) {
        order.push_back(i);
        placed.insert(i);
      }
    }
    if (order.empty()) raiseOra(1416, {}, q.pos);
    while (placed.size() < items.size()) {
      bool progress = false;
      for (size_t i : outerItems) {
        if (placed.count(i)) continue;
        int src = items[i].sources[0];
        bool ready = true;
        for (int d : dependsOn[src])
          ready &= placed.count(itemOfSource[d]) > 0;
        if (!ready) continue;
        order.push_back(i);
        placed.insert(i);
        progress = true;
      }
      if (!progress) raiseOra(1416, {}, q.pos);
    }
    for (size_t k = 0; k < order.size(); ++k) {
      size_t i = order[k];
      if (outerItems.count(i)) {
        std::string on;
        for (const std::string& c : onConditions[items[i].sources[0]]) {
          on += (on.empty() ? "" : " AND ") + c;
        }
        fromSql += " LEFT JOIN " + items[i].sql + " ON " + on;
      } else {
        fromSql += (k ? ", " : "") + items[i].sql;
      }
    }
  }

  // GROUP BY
  std::vector<std::string> groupSql;
  for (auto& g : q.groupBy) {
    Code c = expr(*g, scope);
    if (c.aggregate) raiseOra(934, {}, g->pos);
    refuseLob(c.type, g->pos);
    groupSql.push_back(c.sql);
  }

  // Select list
  scope.aggregatesAllowed = true;
  scope.rownumAllowed = true;
  scope.sequencesAllowed = topLevel && parent == nullptr && depth == 0;
  QueryCode out;
  std::vector<std::string> selectSql;
  std::vector<Expr*> selectExprs;
  std::vector<std::string> lobRowids;  // the rows of out.lobColumns
  bool aggregate = !q.groupBy.empty();
  for (auto& item : q.items) {
    if (item.star) {
      bool any = false;
      for (Source& s : scope.sources) {
        if (!item.starQualifier.empty()) {
          const auto& qn = item.starQualifier;
          bool match = qn.size() == 1 ? s.name == qn[0]
                                      : (!s.aliased && s.schema == qn[0] && s.name == qn[1]);
          if (!match) continue;
        }
        any = true;
        for (size_t k = 0; k < s.columns.size(); ++k) {
          ResultColumn rc = s.columns[k];
          if (s.outerJoined) rc.type.nullable = true;
          if (topLevel && s.table && rc.type.isLob()) {
            lobRowids.push_back(s.sqlAlias + ".rowid");
            out.lobColumns.push_back(
                LobColumn{static_cast<int>(out.columns.size()), 0,
                          LobSource{s.table->obj, s.table->owner, s.table->name, rc.name}});
          }
          out.columns.push_back(rc);
          selectSql.push_back(s.columnSql[k]);
          selectExprs.push_back(nullptr);
        }
      }
      if (!any) {
        std::string n;
        for (const auto& p : item.starQualifier)
          n += (n.empty() ? "\"" : ".\"") + p + "\"";
        raiseOra(904, {n}, item.pos);
      }
      continue;
    }
    Code c = expr(*item.expr, scope);
    if (c.isBoolean) raiseOra(923, {}, item.expr->pos);
    aggregate |= c.aggregate;
    ResultColumn rc;
    rc.type = c.type;
    const Expr& x = *item.expr;
    if (topLevel && c.type.isLob() && x.kind == ExprKind::Name && x.ref == RefKind::Column &&
        x.depth == 0) {
      const Source& s = scope.sources[static_cast<size_t>(x.source)];
      if (s.table) {
        lobRowids.push_back(s.sqlAlias + ".rowid");
        out.lobColumns.push_back(
            LobColumn{static_cast<int>(out.columns.size()), 0,
                      LobSource{s.table->obj, s.table->owner, s.table->name,
                                s.columns[static_cast<size_t>(x.column)].name}});
      }
    }
    if (!item.alias.empty()) {
      rc.name = item.alias;
    } else if (item.expr->kind == ExprKind::Name && item.expr->ref == RefKind::Column) {
      rc.name = item.expr->names.back();
    } else if (item.expr->kind == ExprKind::Name) {
      rc.name = item.expr->names.back();
    } else {
      rc.name = item.label;
    }
    out.columns.push_back(rc);
    selectSql.push_back(c.sql);
    selectExprs.push_back(item.expr.get());
  }
  scope.sequencesAllowed = false;

  std::string havingSql;
  if (q.having) {
    Code c = condition(*q.having, scope);
    aggregate = true;
    havingSql = c.sql;
  }

  // ORDER BY
  std::vector<std::string> orderSql;
  std::vector<std::string> orderExpr;  // without direction
  std::vector<bool> orderIsColumn;     // refers to a select-list column
  for (auto& o : q.orderBy) {
    std::string ref;
    bool isColumn = false;
    if (o.expr->kind == ExprKind::Number) {
      int k = std::atoi(o.expr->text.c_str());
      if (k < 1 || k > static_cast<int>(out.columns.size())) raiseOra(1785, {}, o.expr->pos);
      ref = columnAlias(static_cast<size_t>(k - 1));
      isColumn = true;
    } else if (o.expr->kind == ExprKind::Name && o.expr->names.size() == 1) {
      for (size_t k = 0; k < q.items.size() && k < out.columns.size(); ++k) {
        if (!q.items[k].star && !q.items[k].alias.empty() && q.items[k].alias == o.expr->names[0]) {
          ref = columnAlias(k);
          isColumn = true;
          break;
        }
      }
    }
    if (ref.empty()) {
      Code c = expr(*o.expr, scope);
      aggregate |= c.aggregate;
      for (size_t k = 0; k < selectSql.size(); ++k) {
        if (selectSql[k] == c.sql) {
          ref = columnAlias(k);
          isColumn = true;
          break;
        }
      }
      if (ref.empty()) {
        if (q.distinct) raiseOra(1791, {}, o.expr->pos);
        refuseLob(c.type, o.expr->pos);
        ref = c.sql;
      }
    }
    for (size_t k = 0; k < out.columns.size(); ++k) {
      if (ref == columnAlias(k)) refuseLob(out.columns[k].type, o.expr->pos);
    }
    orderExpr.push_back(ref);
    orderIsColumn.push_back(isColumn);
    orderSql.push_back(ref + orderSuffix(o));
  }

  if (aggregate) {
    for (Expr* e : selectExprs) {
      if (e) checkGrouped(*e, groupSql, !q.groupBy.empty());
    }
    if (q.having) checkGrouped(*q.having, groupSql, !q.groupBy.empty());
    for (auto& o : q.orderBy) {
      if (!o.expr->sql.empty() && o.expr->kind != ExprKind::Number) {
        checkGrouped(*o.expr, groupSql, !q.groupBy.empty());
      }
    }
  }

  if (q.distinct) {
    for (size_t k = 0; k < out.columns.size(); ++k)
      refuseLob(out.columns[k].type, q.items.empty() ? 0 : q.items[0].pos);
  }
  if (aggregate) {
    // Grouped rows come from no single row.
    lobRowids.clear();
    out.lobColumns.clear();
  }

  // FOR UPDATE: the rowids of the locked tables follow the visible columns.
  std::vector<std::string> lockCols;
  if (q.forUpdate) {
    if (!topLevel || aggregate || q.distinct) raiseOra(1786, {}, q.forUpdate->pos);
    std::set<int> tables;
    if (q.forUpdate->columns.empty()) {
      for (size_t i = 0; i < scope.sources.size(); ++i) {
        const Source& s = scope.sources[i];
        if (s.table || s.isView) tables.insert(static_cast<int>(i));
      }
    } else {
      for (auto& col : q.forUpdate->columns) {
        expr(*col, scope);
        if (col->ref != RefKind::Column || col->depth != 0) raiseOra(904, {}, col->pos);
        tables.insert(col->source);
      }
    }
    for (int i : tables) {
      // A view's rows are locked in its table.
      const Source& s = scope.sources[static_cast<size_t>(i)];
      if (s.rowidSql.empty()) raiseOra(2014, {}, q.forUpdate->pos);
      lockCols.push_back(s.rowidSql);
      out.lockObjects.push_back(s.rowidObject);
    }
  }

  std::string select = "SELECT ";
  if (q.distinct) select += "DISTINCT ";
  for (size_t i = 0; i < selectSql.size(); ++i) {
    select += (i ? ", " : "") + selectSql[i] + " AS " + columnAlias(i);
  }
  for (size_t i = 0; i < lockCols.size(); ++i)
    select += ", " + lockCols[i] + " AS r" + std::to_string(i);
  // A view keeping the rows of its one table passes their rowid on.
  if (exposeRowid && !topLevel && parent == nullptr && !aggregate && !q.distinct &&
      scope.sources.size() == 1 && !scope.sources[0].rowidSql.empty()) {
    select += ", " + scope.sources[0].rowidSql + " AS vr";
    out.rowidObject = scope.sources[0].rowidObject;
  }
  // The rows of LOB columns follow (their locators point at them).
  for (size_t i = 0; i < lobRowids.size(); ++i) {
    select += ", " + lobRowids[i] + " AS l" + std::to_string(i);
    out.lobColumns[i].rowidColumn = static_cast<int>(selectSql.size() + lockCols.size() + i);
  }
  std::string body = " FROM " + fromSql;
  if (!where.empty()) {
    body += " WHERE ";
    for (size_t i = 0; i < where.size(); ++i)
      body += (i ? " AND " : "") + where[i];
  }
  if (!groupSql.empty()) {
    body += " GROUP BY ";
    for (size_t i = 0; i < groupSql.size(); ++i)
      body += (i ? ", " : "") + groupSql[i];
  }
  if (!havingSql.empty()) body += " HAVING " + havingSql;
  std::string limit;
  if (!limits.empty()) {
    limit = limits[0];
    for (size_t i = 1; i < limits.size(); ++i)
      limit = "min(" + limit + ", " + limits[i] + ")";
  }
  if (!limit.empty() && !orderSql.empty()) {
    // ROWNUM numbers the rows before ORDER BY sorts them: limit first.
    std::string inner = select;
    std::vector<std::string> outerOrder;
    for (size_t i = 0; i < orderSql.size(); ++i) {
      if (orderIsColumn[i]) {
        outerOrder.push_back(orderSql[i]);
        continue;
      }
      inner += ", " + orderExpr[i] + " AS o" + std::to_string(i);
      outerOrder.push_back("o" + std::to_string(i) + orderSuffix(q.orderBy[i]));
    }
    // OFFSET keeps SQLite from merging the limit into the ordered query.
    inner += body + " LIMIT " + limit + " OFFSET 0";
    std::string outer = "SELECT ";
    for (size_t i = 0; i < selectSql.size(); ++i)
      outer += (i ? ", " : "") + columnAlias(i);
    for (size_t i = 0; i < lockCols.size(); ++i)
      outer += ", r" + std::to_string(i);
    for (size_t i = 0; i < lobRowids.size(); ++i)
      outer += ", l" + std::to_string(i);
    if (out.rowidObject) outer += ", vr";
    out.sql = outer + " FROM (" + inner + ") ORDER BY ";
    for (size_t i = 0; i < outerOrder.size(); ++i)
      out.sql += (i ? ", " : "") + outerOrder[i];
  } else {
    out.sql = select + body;
    if (!orderSql.empty()) {
      out.sql += " ORDER BY ";
      for (size_t i = 0; i < orderSql.size(); ++i)
        out.sql += (i ? ", " : "") + orderSql[i];
    }
    if (!limit.empty()) out.sql += " LIMIT " + limit;
  }
  out.hasOrderOrLimit = !orderSql.empty() || !limit.empty();
  return out;
}

CompiledQuery compileQuery(const CompileContext& ctx, Query& query) {
  Compiler c(ctx);
  QueryCode q = c.query(query, nullptr, true, 0);
  CompiledQuery out;
  out.sql = q.sql;
  out.columns = q.columns;
  if (query.forUpdate) {
    out.forUpdate = true;
    out.lockWait = query.forUpdate->wait;
    out.lockObjects = q.lockObjects;
  }
  out.lobColumns = q.lobColumns;
  return out;
}

}  // namespace vorn::server
