// VORN, the query language:
//
//   select [distinct] item {, item} from class [where condition]
//          [group by path {, path}] [order by order {, order}]
//   select ref from class [where condition]
//   item  := * | path | aggregate        order := (path | aggregate) [asc | desc]
//
// A query becomes one SELECT (tag DS) whose columns are named by their
// paths in upper case (FRIEND.NAME) and aggregates by their text (COUNT(*),
// MAX(AGE)); `*` is every attribute but a generated OID key. A select list
// of exactly one aggregate without group by or order by becomes a block
// assigning it to :res instead (INT for COUNT, STR for the others).
// `select ref` assigns the reference text of the one matching object
// (MAN.DOGS#3, tag REF); no match or more than one is ORA-20004.
#include <algorithm>
#include <optional>

#include "plsql/translator/ExpressionParser.h"
#include "plsql/translator/ExpressionWriter.h"
#include "plsql/translator/Languages.h"
#include "plsql/translator/SqlWriting.h"

namespace vorn::server::translator {
namespace {

// Oracle's longest name, which a column's name must keep to.
constexpr size_t kMaxColumnName = 30;

struct SelectItem {
  bool star = false;
  ExprPtr expr;  // a Path or an Aggregate
  int offset = 0;
};

struct OrderItem {
  ExprPtr expr;
  bool descending = false;
};

struct Query {
  bool distinct = false;
  bool ref = false;
  int refOffset = 0;
  std::vector<SelectItem> items;
  ClassName from;
  ExprPtr where;
  int whereOffset = -1;
  std::vector<ExprPtr> groupBy;
  int groupOffset = -1;
  std::vector<OrderItem> orderBy;
  int orderOffset = -1;
};

ExprPtr pathOrAggregate(ExpressionParser& p, Scanner& s) {
  if (p.atAggregate()) return p.aggregate();
  auto e = std::make_unique<Expr>();
  e->kind = ExprKind::Path;
  e->offset = s.peek().offset;
  e->path = p.path("an attribute, * or an aggregate");
  e->end = s.consumedEnd();
  return e;
}

Query parseQuery(Scanner& s) {
  ExpressionParser p(s);
  Query q;
  s.expectWord("SELECT");
  q.distinct = s.acceptWord("DISTINCT");
  if (s.atWord("REF") && s.atWord("FROM", 1)) {
    q.ref = true;
    q.refOffset = s.next().offset;
  } else {
    do {
      SelectItem item;
      item.offset = s.peek().offset;
      if (s.acceptSymbol("*")) {
        item.star = true;
      } else {
        item.expr = pathOrAggregate(p, s);
      }
      q.items.push_back(std::move(item));
    } while (s.acceptSymbol(","));
  }
  s.expectWord("FROM");
  q.from = p.className();
  if (s.atWord("WHERE")) {
    q.whereOffset = s.next().offset;
    q.where = p.condition();
  }
  if (s.atWord("GROUP")) {
    q.groupOffset = s.next().offset;
    s.expectWord("BY");
    do {
      auto e = std::make_unique<Expr>();
      e->kind = ExprKind::Path;
      e->offset = s.peek().offset;
      e->path = p.path();
      e->end = s.consumedEnd();
      q.groupBy.push_back(std::move(e));
    } while (s.acceptSymbol(","));
  }
  if (s.atWord("ORDER")) {
    q.orderOffset = s.next().offset;
    s.expectWord("BY");
    do {
      OrderItem item;
      item.expr = pathOrAggregate(p, s);
      if (!s.acceptWord("ASC")) item.descending = s.acceptWord("DESC");
      q.orderBy.push_back(std::move(item));
    } while (s.acceptSymbol(","));
  }
  s.expectEnd();
  return q;
}

// A path of one attribute, as `*` expands to.
Path attributePath(const Attribute& a) {
  Path p;
  p.parts.push_back(Name{a.name, true, 0});
  return p;
}

class QueryWriter {
 public:
  QueryWriter(const ObjectModel& model, Scanner& s, Query& q)
      : s_(s), q_(q), scope_(model, s, model.require(s, q.from), aliases_), writer_(scope_) {}

  std::string write() {
    if (q_.ref) return writeRef();
    std::vector<Operand> columns = selectList();
    writeCondition();
    std::string group = groupList();
    std::string order = orderList(columns);
    checkGrouping();
    // The joins of every path are known only after the whole statement.
    std::string where = whereText();
    if (scalar()) {
      const char* tag = q_.items[0].expr->op == "COUNT" ? "INT" : "STR";
      return tagged(tag, "begin select " + std::string(q_.distinct ? "distinct " : "") +
                             columns[0].sql + " into :res from " + scope_.fromList() + where +
                             "; end;");
    }
    std::string list;
    for (size_t i = 0; i < columns.size(); ++i) {
      const Operand& c = columns[i];
      list += list.empty() ? "" : ", ";
      list += c.sql;
      // A root attribute's column has its name already.
      if (c.path.find_first_of(".(") == std::string::npos) continue;
      if (c.path.size() > kMaxColumnName) {
        s_.fail(kInvalidUse, columnOffsets_[i],
                "the column " + c.path + " would have a name longer than Oracle's " +
                    std::to_string(kMaxColumnName) + " characters");
      }
      list += " " + sqlAlias(c.path);
    }
    return tagged("DS", "select " + std::string(q_.distinct ? "distinct " : "") + list + " from " +
                            scope_.fromList() + where + group + order);
  }

 private:
  bool aggregated() const {
    if (!q_.groupBy.empty()) return true;
    for (const SelectItem& i : q_.items) {
      if (i.expr && i.expr->kind == ExprKind::Aggregate) return true;
    }
    for (const OrderItem& o : q_.orderBy) {
      if (o.expr->kind == ExprKind::Aggregate) return true;
    }
    return false;
  }

  bool scalar() const {
    return q_.items.size() == 1 && q_.items[0].expr &&
           q_.items[0].expr->kind == ExprKind::Aggregate && q_.groupBy.empty() &&
           q_.orderBy.empty();
  }

  Operand item(const Expr& e) {
    return e.kind == ExprKind::Aggregate ? writer_.aggregate(e) : scope_.attribute(e.path);
  }

  std::vector<Operand> selectList() {
    std::vector<Operand> out;
    for (const SelectItem& i : q_.items) {
      if (!i.star) {
        out.push_back(item(*i.expr));
        columnOffsets_.push_back(i.offset);
        paths_.push_back({out.back().path, i.expr.get()});
        continue;
      }
      if (aggregated()) {
        s_.fail(kInvalidUse, i.offset, "* cannot stand with aggregates or group by");
      }
      const ClassDef& cls = scope_.root();
      size_t before = out.size();
      for (size_t a = 0; a < cls.attributes.size(); ++a) {
        if (cls.generatesKey() && static_cast<int>(a) == cls.key) continue;
        out.push_back(scope_.attribute(attributePath(cls.attributes[a])));
        columnOffsets_.push_back(i.offset);
      }
      if (out.size() == before) {
        s_.fail(kInvalidUse, i.offset,
                "class " + cls.shownName() + " has no attributes but its generated key");
      }
    }
    return out;
  }

  void writeCondition() {
    if (q_.where) condition_ = writer_.condition(*q_.where);
  }

  std::string groupList() {
    std::string out;
    for (const ExprPtr& g : q_.groupBy) {
      Operand v = scope_.attribute(g->path);
      grouped_.push_back(v.path);
      out += (out.empty() ? " group by " : ", ") + v.sql;
    }
    return out;
  }

  std::string orderList(const std::vector<Operand>& columns) {
    std::string out;
    for (const OrderItem& o : q_.orderBy) {
      Operand v = item(*o.expr);
      if (o.expr->kind == ExprKind::Path) paths_.push_back({v.path, o.expr.get()});
      // Distinct rows have no value of an attribute they do not show.
      bool shown = std::any_of(columns.begin(), columns.end(),
                               [&](const Operand& c) { return c.path == v.path; });
      if (q_.distinct && !shown) {
        s_.fail(kInvalidUse, o.expr->offset,
                "with distinct, " + v.path + " must be in the select list to order by it");
      }
      out += (out.empty() ? " order by " : ", ") + v.sql + (o.descending ? " desc" : "");
    }
    return out;
  }

  // In a grouped or aggregated query every plain path must be grouped.
  void checkGrouping() {
    if (!aggregated()) return;
    for (const auto& [path, expr] : paths_) {
      if (expr->kind != ExprKind::Path) continue;
      if (std::find(grouped_.begin(), grouped_.end(), path) != grouped_.end()) continue;
      s_.fail(kInvalidUse, expr->offset,
              path + " is neither in the group by list nor inside an aggregate");
    }
  }

  std::string writeRef() {
    if (q_.distinct || !q_.groupBy.empty() || !q_.orderBy.empty()) {
      int at = q_.distinct ? q_.refOffset : q_.groupBy.empty() ? q_.orderOffset : q_.groupOffset;
      s_.fail(kInvalidUse, at, "select ref takes only a class and a condition");
    }
    const ClassDef& cls = scope_.root();
    const Attribute* key = cls.keyAttribute();
    if (!key) {
      s_.fail(kInvalidUse, q_.from.offset,
              "class " + cls.shownName() + " has no key, so its objects have no references");
    }
    writeCondition();
    int at = q_.whereOffset >= 0 ? q_.whereOffset : q_.from.offset;
    std::string where = whereText();
    auto failure = [&](const std::string& what) {
      std::string text = s_.language() + ": " + what + " of class " + cls.shownName() +
                         " matches at position " + std::to_string(s_.position(at));
      return "raise_application_error(-" + std::to_string(kNoSuchObject) + ", " + sqlText(text) +
             ");";
    };
    return tagged("REF", "begin select " + sqlText(cls.shownName() + "#") + " || " +
                             scope_.alias() + "." + sqlName(key->name) + " into :res from " +
                             scope_.fromList() + where + "; exception when no_data_found then " +
                             failure("no object") + " when too_many_rows then " +
                             failure("more than one object") + " end;");
  }

  std::string whereText() const {
    return whereClause(scope_.joinConditions(), condition_ ? &*condition_ : nullptr);
  }

  Scanner& s_;
  Query& q_;
  Aliases aliases_;
  JoinScope scope_;
  ExpressionWriter writer_;
  std::optional<Operand> condition_;
  std::vector<std::pair<std::string, const Expr*>> paths_;
  std::vector<std::string> grouped_;
  std::vector<int> columnOffsets_;  // per column, the offset of its select item
};

}  // namespace

std::string translateVorn(const ObjectModel& model, Scanner& s) {
  Query q = parseQuery(s);
  return QueryWriter(model, s, q).write();
}

}  // namespace vorn::server::translator
