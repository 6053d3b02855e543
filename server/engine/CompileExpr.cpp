// Expressions: name resolution, Oracle type inference, typed SQL; see
// Compiler.h.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/CompilerImpl.h"
#include "engine/Sqlite.h"
#include "value/OraDate.h"
#include "value/OraError.h"
#include "value/StorageFit.h"

namespace vorn::server {

Family familyOf(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Null:
      return Family::Null;
    case TypeKind::Number:
      return Family::Number;
    case TypeKind::Varchar2:
    case TypeKind::Char:
    case TypeKind::Long:
    case TypeKind::Clob:
      return Family::Text;
    case TypeKind::Date:
      return Family::Date;
    case TypeKind::Raw:
    case TypeKind::LongRaw:
    case TypeKind::Blob:
      return Family::Raw;
    case TypeKind::Bfile:
      return Family::Lob;
    case TypeKind::Rowid:
      return Family::Rowid;
    case TypeKind::Boolean:
      return Family::Boolean;
    case TypeKind::Object:
      return Family::Object;
    case TypeKind::Ref:
      return Family::Ref;
    case TypeKind::Collection:
      return Family::Collection;
  }
  return Family::Null;
}

std::string typeWord(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Number:
      return "NUMBER";
    case TypeKind::Date:
      return "DATE";
    case TypeKind::Raw:
    case TypeKind::LongRaw:
      return "BINARY";
    case TypeKind::Clob:
      return "CLOB";
    case TypeKind::Blob:
      return "BLOB";
    case TypeKind::Bfile:
      return "FILE";
    case TypeKind::Long:
      return "LONG";
    case TypeKind::Rowid:
      return "ROWID";
    case TypeKind::Boolean:
      return "BOOLEAN";
    case TypeKind::Object:
    case TypeKind::Collection:
      return t.udt ? t.udt->qualifiedName() : "UNDEFINED";
    case TypeKind::Ref:
      return t.udt ? "REF " + t.udt->qualifiedName() : std::string("REF");
    default:
      return "CHAR";
  }
}

void inconsistent(const OraType& expected, const OraType& got, int pos) {
  raiseOra(932, {typeWord(expected), typeWord(got)}, pos);
}

void conjuncts(Expr& e, std::vector<Expr*>& out) {
  if (e.kind == ExprKind::And) {
    for (auto& a : e.args)
      conjuncts(*a, out);
  } else {
    out.push_back(&e);
  }
}

bool usesRownum(const Expr& e) {
  if (e.kind == ExprKind::Name && e.names.size() == 1 && e.names[0] == "ROWNUM") return true;
  for (const auto& a : e.args) {
    if (a && usesRownum(*a)) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Conversions

std::string Compiler::toNumber(const Code& c, int pos) const {
  switch (familyOf(c.type)) {
    case Family::Null:
    case Family::Number:
      return c.sql;
    case Family::Text:
      return "ora_to_num(" + c.sql + ")";
    default:
      inconsistent(OraType::number(), c.type, pos);
  }
}

std::string Compiler::toText(const Code& c) const {
  switch (familyOf(c.type)) {
    case Family::Number:
      return "ora_num_text(" + c.sql + ")";
    case Family::Date:
      return "ora_date_text(" + c.sql + ")";
    case Family::Raw:
      return "ora_rawtohex(" + c.sql + ")";
    case Family::Lob:
    case Family::Object:
    case Family::Ref:
    case Family::Collection:
      inconsistent(OraType::varchar2(4000), c.type, -1);
    default:
      return c.sql;
  }
}

std::string Compiler::toDate(const Code& c, int pos) const {
  switch (familyOf(c.type)) {
    case Family::Null:
    case Family::Date:
      return c.sql;
    case Family::Text:
      return "ora_text_to_date(" + c.sql + ")";
    default:
      inconsistent(OraType::of(TypeKind::Date), c.type, pos);
  }
}

std::string Compiler::toRaw(const Code& c, int pos) const {
  switch (familyOf(c.type)) {
    case Family::Null:
    case Family::Raw:
      return c.sql;
    case Family::Text:
      return "ora_hextoraw(" + c.sql + ")";
    default:
      inconsistent(OraType::of(TypeKind::Raw), c.type, pos);
  }
}

std::string Compiler::convert(const Code& c, const OraType& to, int pos) const {
  switch (familyOf(to)) {
    case Family::Number:
      return toNumber(c, pos);
    case Family::Text:
      return toText(c);
    case Family::Date:
      return toDate(c, pos);
    case Family::Raw:
      return toRaw(c, pos);
    case Family::Rowid:
      if (familyOf(c.type) == Family::Text) return "ora_rowid_check(" + c.sql + ")";
      if (familyOf(c.type) == Family::Rowid || familyOf(c.type) == Family::Null) return c.sql;
      inconsistent(to, c.type, pos);
    case Family::Lob:
      if (familyOf(c.type) == Family::Lob || familyOf(c.type) == Family::Null) return c.sql;
      inconsistent(to, c.type, pos);
    case Family::Object:
    case Family::Ref:
    case Family::Collection:
      return convertUserDefined(c, to, pos);
    default:
      return c.sql;
  }
}

std::string convertSql(const std::string& sql, const OraType& from, const OraType& to, int pos) {
  CompileContext ctx;
  Compiler c(ctx);
  Code code;
  code.sql = sql;
  code.type = from;
  return c.convert(code, to, pos);
}

void Compiler::unify(Code& a, Code& b, int pos) const {
  checkUserTypes(a.type, b.type, pos);
  Family fa = familyOf(a.type), fb = familyOf(b.type);
  if (fa == Family::Null || fb == Family::Null || fa == fb) return;
  if (fa == Family::Number && fb == Family::Text) {
    b.sql = toNumber(b, pos);
    b.type = a.type;
  } else if (fa == Family::Text && fb == Family::Number) {
    a.sql = toNumber(a, pos);
    a.type = b.type;
  } else if (fa == Family::Date && fb == Family::Text) {
    b.sql = toDate(b, pos);
    b.type = a.type;
  } else if (fa == Family::Text && fb == Family::Date) {
    a.sql = toDate(a, pos);
    a.type = b.type;
  } else if (fa == Family::Raw && fb == Family::Text) {
    b.sql = toRaw(b, pos);
    b.type = a.type;
  } else if (fa == Family::Text && fb == Family::Raw) {
    a.sql = toRaw(a, pos);
    a.type = b.type;
  } else if ((fa == Family::Rowid && fb == Family::Text) ||
             (fa == Family::Text && fb == Family::Rowid)) {
    // ROWIDs are compared as their text.
  } else {
    inconsistent(a.type, b.type, pos);
  }
}

OraType Compiler::commonType(const std::vector<Code*>& codes, int pos) const {
  OraType result;
  for (Code* c : codes) {
    if (c->type.kind == TypeKind::Null) continue;
    if (result.kind == TypeKind::Null) {
      result = c->type;
      result.nullable = true;
      continue;
    }
    checkUserTypes(result, c->type, pos);
    Family fr = familyOf(result), fc = familyOf(c->type);
    if (fr == Family::Text && fc == Family::Text) {
      result.length = std::max(result.length, c->type.length);
      if (c->type.kind != result.kind) result.kind = TypeKind::Varchar2;
    } else if (fr == Family::Number && fc == Family::Number) {
      if (result.precision != c->type.precision || result.scale != c->type.scale) {
        result.precision = 0;
        result.scale = -127;
      }
    } else if (fr != fc && !(fr == Family::Text || fc == Family::Text)) {
      inconsistent(result, c->type, pos);
    }
  }
  for (Code* c : codes) {
    if (c->type.kind == TypeKind::Null || result.kind == TypeKind::Null) continue;
    if (familyOf(c->type) != familyOf(result)) {
      c->sql = convert(*c, result, pos);
      c->type = result;
    }
  }
  return result;
}

// ---------------------------------------------------------------------------

Code Compiler::condition(Expr& e, Scope& scope) {
  Code c = expr(e, scope);
  if (!c.isBoolean) raiseOra(920, {}, e.end);
  return c;
}

namespace {

std::string numberLiteral(const std::string& text, int pos) {
  bool plain = text.find_first_of(".eE") == std::string::npos;
  if (plain && text.size() <= 18) return text;
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (!std::isfinite(v)) raiseOra(1426, {}, pos);
  if (v == std::floor(v) && std::fabs(v) < 9.2e18) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
    return buf;
  }
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  std::string s = buf;
  if (s.find_first_of(".eE") == std::string::npos) s += ".0";
  return s;
}

bool isBooleanKind(ExprKind k) {
  switch (k) {
    case ExprKind::Compare:
    case ExprKind::And:
    case ExprKind::Or:
    case ExprKind::Not:
    case ExprKind::IsNull:
    case ExprKind::Between:
    case ExprKind::InList:
    case ExprKind::InQuery:
    case ExprKind::Like:
    case ExprKind::Exists:
    case ExprKind::Quantified:
      return true;
    default:
      return false;
  }
}

}  // namespace

Code Compiler::expr(Expr& e, Scope& scope) {
  Code c;
  switch (e.kind) {
    case ExprKind::Null:
      c.sql = "NULL";
      break;
    case ExprKind::Number:
      c.sql = numberLiteral(e.text, e.pos);
      c.type = OraType::number();
      c.type.nullable = false;
      break;
    case ExprKind::String:
      c.sql = quoteText(e.text);
      c.type = OraType::charType(static_cast<int>(e.text.size()));
      c.type.nullable = false;
      c.literal = e.text;
      break;
    case ExprKind::DateLiteral: {
      OraDate d;
      int n = std::sscanf(e.text.c_str(), "%d-%d-%d", &d.year, &d.month, &d.day);
      if (n != 3) raiseOra(1861, {}, e.pos);
      d.validate();
      c.sql = std::to_string(d.toSeconds());
      c.type = OraType::of(TypeKind::Date);
      c.type.nullable = false;
      break;
    }
    case ExprKind::Bind: {
      c.sql = "?" + std::to_string(e.bindSlot + 1);
      size_t slot = static_cast<size_t>(e.bindSlot);
      c.type = slot < ctx_.bindTypes.size() ? ctx_.bindTypes[slot] : OraType::varchar2(4000);
      break;
    }
    case ExprKind::Name:
      c = name(e, scope);
      break;
    case ExprKind::Star:
      raiseOra(936, {}, e.pos);
    case ExprKind::Negate: {
      Code a = expr(*e.args[0], scope);
      c.sql = "ora_neg(" + toNumber(a, e.pos) + ")";
      c.type = OraType::number();
      c.aggregate = a.aggregate;
      break;
    }
    case ExprKind::Arith: {
      Code a = expr(*e.args[0], scope);
      Code b = expr(*e.args[1], scope);
      c.aggregate = a.aggregate || b.aggregate;
      Family fa = familyOf(a.type), fb = familyOf(b.type);
      const std::string& op = e.text;
      if (op == "+" || op == "-") {
        if (fa == Family::Date && fb == Family::Date) {
          if (op == "+") raiseOra(975, {}, e.pos);
          c.sql = "ora_date_diff(" + a.sql + ", " + b.sql + ")";
          c.type = OraType::number();
        } else if (fa == Family::Date) {
          c.sql = std::string(op == "+" ? "ora_date_add(" : "ora_date_sub(") + a.sql + ", " +
                  toNumber(b, e.args[1]->pos) + ")";
          c.type = OraType::of(TypeKind::Date);
        } else if (fb == Family::Date) {
          if (op == "-") inconsistent(OraType::number(), b.type, e.args[1]->pos);
          c.sql = "ora_date_add(" + b.sql + ", " + toNumber(a, e.args[0]->pos) + ")";
          c.type = OraType::of(TypeKind::Date);
        } else {
          c.sql = std::string(op == "+" ? "ora_add(" : "ora_sub(") + toNumber(a, e.args[0]->pos) +
                  ", " + toNumber(b, e.args[1]->pos) + ")";
          c.type = OraType::number();
        }
      } else {
        c.sql = std::string(op == "*" ? "ora_mul(" : "ora_div(") + toNumber(a, e.args[0]->pos) +
                ", " + toNumber(b, e.args[1]->pos) + ")";
        c.type = OraType::number();
      }
      break;
    }
    case ExprKind::Concat: {
      Code a = expr(*e.args[0], scope);
      Code b = expr(*e.args[1], scope);
      c.aggregate = a.aggregate || b.aggregate;
      c.sql = "ora_concat(" + toText(a) + ", " + toText(b) + ")";
      auto len = [](const OraType& t) {
        switch (familyOf(t)) {
          case Family::Number:
            return 40;
          case Family::Date:
            return 75;
          case Family::Null:
            return 0;
          case Family::Raw:
            return t.length * 2;
          default:
            return t.length > 0 ? t.length : 4000;
        }
      };
      c.type = OraType::varchar2(std::min(4000, len(a.type) + len(b.type)));
      break;
    }
    case ExprKind::Compare: {
      Code a = expr(*e.args[0], scope);
      Code b = expr(*e.args[1], scope);
      c = compare(e.text, std::move(a), std::move(b), e.args[1]->pos);
      break;
    }
    case ExprKind::And:
    case ExprKind::Or: {
      std::string sep = e.kind == ExprKind::And ? " AND " : " OR ";
      c.sql = "(";
      for (size_t i = 0; i < e.args.size(); ++i) {
        Code a = condition(*e.args[i], scope);
        c.aggregate |= a.aggregate;
        if (i) c.sql += sep;
        c.sql += a.sql;
      }
      c.sql += ")";
      break;
    }
    case ExprKind::Not: {
      Code a = condition(*e.args[0], scope);
      c.sql = "(NOT " + a.sql + ")";
      c.aggregate = a.aggregate;
      break;
    }
    case ExprKind::IsNull: {
      Code a = expr(*e.args[0], scope);
      c.sql = "(" + a.sql + (e.negated ? " IS NOT NULL)" : " IS NULL)");
      c.aggregate = a.aggregate;
      break;
    }
    case ExprKind::Between: {
      Code a = expr(*e.args[0], scope);
      Code lo = expr(*e.args[1], scope);
      Code hi = expr(*e.args[2], scope);
      Code a2 = a;
      unify(a, lo, e.args[1]->pos);
      unify(a2, hi, e.args[2]->pos);
      c.sql = "(" + a.sql + (e.negated ? " NOT BETWEEN " : " BETWEEN ") + lo.sql + " AND " +
              hi.sql + ")";
      c.aggregate = a.aggregate || lo.aggregate || hi.aggregate;
      break;
    }
    case ExprKind::InList: {
      Expr& left = *e.args[0];
      if (left.kind == ExprKind::Row) {
        std::vector<Code> lhs;
        for (auto& a : left.args)
          lhs.push_back(expr(*a, scope));
        std::string sql = "(";
        for (size_t i = 1; i < e.args.size(); ++i) {
          Expr& item = *e.args[i];
          if (item.kind != ExprKind::Row || item.args.size() != lhs.size()) {
            raiseOra(920, {}, item.pos);
          }
          if (i > 1) sql += " OR ";
          sql += "(";
          for (size_t k = 0; k < lhs.size(); ++k) {
            Code v = expr(*item.args[k], scope);
            Code l = lhs[k];
            Code cmp = compare("=", l, v, item.args[k]->pos);
            if (k) sql += " AND ";
            sql += cmp.sql;
          }
          sql += ")";
        }
        sql += ")";
        c.sql = e.negated ? "(NOT " + sql + ")" : sql;
        break;
      }
      Code a = expr(left, scope);
      c.aggregate = a.aggregate;
      std::string list;
      Code base = a;
      bool rtrimChar = false;
      for (size_t i = 1; i < e.args.size(); ++i) {
        Code v = expr(*e.args[i], scope);
        Code l = base;
        unify(l, v, e.args[i]->pos);
        if (l.type.kind == TypeKind::Char && v.literal && a.type.kind == TypeKind::Char &&
            !a.literal) {
          std::string padded = *v.literal;
          if (static_cast<int>(padded.size()) < a.type.length) padded.resize(a.type.length, ' ');
          v.sql = quoteText(padded);
        } else if (l.type.kind == TypeKind::Char && v.type.kind == TypeKind::Char) {
          rtrimChar = true;
        }
        if (familyOf(l.type) != familyOf(a.type) && familyOf(a.type) != Family::Null) {
          a = l;  // the left side was converted (text compared with numbers)
        }
        c.aggregate |= v.aggregate;
        if (i > 1) list += ", ";
        list += v.sql;
      }
      (void)rtrimChar;
      c.sql = "(" + a.sql + (e.negated ? " NOT IN (" : " IN (") + list + "))";
      break;
    }
    case ExprKind::InQuery: {
      Expr& left = *e.args[0];
      QueryCode q = query(*e.query, &scope);
      std::string lhs;
      if (left.kind == ExprKind::Row) {
        if (q.columns.size() > left.args.size()) raiseOra(913, {}, e.query->pos);
        if (q.columns.size() < left.args.size()) raiseOra(947, {}, e.query->pos);
        lhs = "(";
        for (size_t k = 0; k < left.args.size(); ++k) {
          Code a = expr(*left.args[k], scope);
          if (k) lhs += ", ";
          lhs += a.sql;
        }
        lhs += ")";
      } else {
        if (q.columns.size() > 1) raiseOra(913, {}, e.query->pos);
        Code a = expr(left, scope);
        c.aggregate = a.aggregate;
        Code col;
        col.sql = "c0";
        col.type = q.columns[0].type;
        Family fa = familyOf(a.type), fc = familyOf(col.type);
        if (fa != fc && fa != Family::Null && fc != Family::Null) {
          if (fa == Family::Text) {
            a.sql = convert(a, col.type, left.pos);
          } else {
            q.sql = "SELECT " + convert(col, a.type, left.pos) + " AS c0 FROM (" + q.sql + ")";
          }
        }
        lhs = a.sql;
      }
      c.sql = "(" + lhs + (e.negated ? " NOT IN (" : " IN (") + q.sql + "))";
      break;
    }
    case ExprKind::Like: {
      Code a = expr(*e.args[0], scope);
      Code p = expr(*e.args[1], scope);
      c.sql = "(" + toText(a) + (e.negated ? " NOT LIKE " : " LIKE ") + toText(p);
      if (e.args.size() > 2) c.sql += " ESCAPE " + toText(expr(*e.args[2], scope));
      c.sql += ")";
      c.aggregate = a.aggregate || p.aggregate;
      break;
    }
    case ExprKind::Exists: {
      QueryCode q = query(*e.query, &scope);
      c.sql = std::string(e.negated ? "(NOT EXISTS (" : "(EXISTS (") + q.sql + "))";
      break;
    }
    case ExprKind::Quantified: {
      Code a = expr(*e.args[0], scope);
      c.aggregate = a.aggregate;
      const std::string& op = e.text;
      if (!e.query) {
        std::string sep = e.quantAll ? " AND " : " OR ";
        c.sql = "(";
        for (size_t i = 1; i < e.args.size(); ++i) {
          Code v = expr(*e.args[i], scope);
          Code cmp = compare(op, a, v, e.args[i]->pos);
          if (i > 1) c.sql += sep;
          c.sql += cmp.sql;
        }
        c.sql += ")";
        break;
      }
      QueryCode q = query(*e.query, &scope);
      if (q.columns.size() > 1) raiseOra(913, {}, e.query->pos);
      Code col;
      col.sql = "q$.c0";
      col.type = q.columns[0].type;
      Code cmp = compare(op, a, col, e.query->pos);
      if (e.quantAll) {
        c.sql = "(NOT EXISTS (SELECT 1 FROM (" + q.sql + ") AS q$ WHERE NOT coalesce(" + cmp.sql +
                ", 0)))";
      } else {
        c.sql = "(EXISTS (SELECT 1 FROM (" + q.sql + ") AS q$ WHERE " + cmp.sql + "))";
      }
      break;
    }
    case ExprKind::Case:
      c = caseExpr(e, scope);
      break;
    case ExprKind::Function:
      c = function(e, scope);
      break;
    case ExprKind::ScalarQuery: {
      QueryCode q = query(*e.query, &scope);
      if (q.columns.size() > 1) raiseOra(913, {}, e.query->pos);
      c.sql = scalarSubquery(q.sql);
      c.type = q.columns[0].type;
      c.type.nullable = true;
      break;
    }
    case ExprKind::Row:
      raiseOra(920, {}, e.pos);
  }
  c.isBoolean = isBooleanKind(e.kind);
  e.type = c.type;
  e.sql = c.sql;
  return c;
}

std::string Compiler::scalarSubquery(const std::string& sql, int column) {
  std::string out = "(SELECT CASE count(*) WHEN 0 THEN NULL WHEN 1 THEN min(c";
  out += std::to_string(column);
  out += ") ELSE vorn_error(1427) END FROM (SELECT * FROM (";
  out += sql;
  out += ") LIMIT 2))";
  return out;
}

void refuseLob(const OraType& t, int pos) {
  if (t.kind == TypeKind::Object) raiseOra(22950, {}, pos);
  if (t.isLob() || t.kind == TypeKind::Collection) raiseOra(932, {"-", typeWord(t)}, pos);
}

Code Compiler::compare(const std::string& op, Code a, Code b, int pos) {
  if (a.type.isUserDefined() || b.type.isUserDefined()) return objectCompare(op, a, b, pos);
  refuseLob(a.type, pos);
  refuseLob(b.type, pos);
  Code c;
  c.isBoolean = true;
  c.aggregate = a.aggregate || b.aggregate;
  // ROWID = x finds the row through the table's rowid.
  if (op == "=" && (!a.rowidAlias.empty() || !b.rowidAlias.empty())) {
    Code& r = !a.rowidAlias.empty() ? a : b;
    Code& x = !a.rowidAlias.empty() ? b : a;
    if (r.rowidAlias.size() && x.rowidAlias.empty() && familyOf(x.type) != Family::Number) {
      c.sql = "(" + r.rowidAlias + " = vorn_rowid_num(" + x.sql + ", " +
              std::to_string(r.rowidObject) + "))";
      return c;
    }
  }
  if (!a.rowidAlias.empty() && familyOf(b.type) == Family::Text) {
    b.sql = "ora_rowid_check(" + b.sql + ")";
  } else if (!b.rowidAlias.empty() && familyOf(a.type) == Family::Text) {
    a.sql = "ora_rowid_check(" + a.sql + ")";
  }
  unify(a, b, pos);
  if (a.type.kind == TypeKind::Char && b.type.kind == TypeKind::Char) {
    // Blank-padded comparison: pad a literal to the column, else compare
    // without trailing blanks.
    if (b.literal && !a.literal && static_cast<int>(b.literal->size()) <= a.type.length) {
      std::string padded = *b.literal;
      padded.resize(a.type.length, ' ');
      b.sql = quoteText(padded);
    } else if (a.literal && !b.literal && static_cast<int>(a.literal->size()) <= b.type.length) {
      std::string padded = *a.literal;
      padded.resize(b.type.length, ' ');
      a.sql = quoteText(padded);
    } else {
      a.sql = "rtrim(" + a.sql + ", ' ')";
      b.sql = "rtrim(" + b.sql + ", ' ')";
    }
  }
  c.sql = "(" + a.sql + " " + op + " " + b.sql + ")";
  return c;
}

Code Compiler::caseExpr(Expr& e, Scope& scope) {
  Code c;
  std::vector<Code> results;
  std::vector<std::string> whens;
  size_t i = 0;
  Code operand;
  if (e.hasCaseOperand) operand = expr(*e.args[i++], scope);
  size_t end = e.args.size() - (e.hasElse ? 1 : 0);
  for (; i + 1 < end; i += 2) {
    if (e.hasCaseOperand) {
      Code v = expr(*e.args[i], scope);
      Code o = operand;
      Code cmp = compare("=", o, v, e.args[i]->pos);
      whens.push_back(cmp.sql);
    } else {
      whens.push_back(condition(*e.args[i], scope).sql);
    }
    results.push_back(expr(*e.args[i + 1], scope));
  }
  if (e.hasElse) results.push_back(expr(*e.args.back(), scope));
  std::vector<Code*> ptrs;
  for (Code& r : results) {
    ptrs.push_back(&r);
    c.aggregate |= r.aggregate;
  }
  c.type = commonType(ptrs, e.pos);
  c.sql = "CASE";
  for (size_t k = 0; k < whens.size(); ++k) {
    c.sql += " WHEN " + whens[k] + " THEN " + results[k].sql;
  }
  if (e.hasElse) c.sql += " ELSE " + results.back().sql;
  c.sql += " END";
  return c;
}

// ---------------------------------------------------------------------------
// Names

Code Compiler::name(Expr& e, Scope& scope) {
  Code c;
  const auto& n = e.names;
  const std::string& first = n[0];
  auto columnCode = [&](const Source& s, size_t col, int depth, int sourceIndex) {
    Code k;
    k.sql = s.columnSql[col];
    k.type = s.columns[col].type;
    if (s.outerJoined) k.type.nullable = true;
    e.ref = depth == 0 ? RefKind::Column : RefKind::OuterColumn;
    e.source = sourceIndex;
    e.column = static_cast<int>(col);
    e.depth = depth;
    return k;
  };
  auto rowidCode = [&](const Source& s, int depth, int sourceIndex) {
    if (s.rowidSql.empty()) raiseOra(1445, {}, e.pos);
    Code k;
    k.sql = "vorn_rowid(" + std::to_string(s.rowidObject) + ", " + s.rowidSql + ")";
    k.type = OraType::of(TypeKind::Rowid);
    k.type.length = 18;
    k.rowidAlias = s.rowidSql;
    k.rowidObject = s.rowidObject;
    e.ref = RefKind::Rowid;
    e.source = sourceIndex;
    e.depth = depth;
    return k;
  };
  if (n.back() == kObjectIdColumn) {
    if (auto id = objectIdColumn(e, scope)) return *id;
  }
  auto quoted = [&]() {
    std::string out;
    for (size_t i = 0; i < n.size(); ++i) {
      if (i) out += ".";
      out += "\"" + n[i] + "\"";
    }
    return out;
  };
  if (n.size() == 1) {
    if (first == "ROWNUM") {
      if (!scope.rownumAllowed) raiseOra(900, {}, e.pos);
      e.ref = RefKind::Rownum;
      c.sql = "row_number() OVER ()";
      c.type = OraType::number();
      return c;
    }
    if (first == "SYSDATE") {
      e.ref = RefKind::Sysdate;
      c.sql = "ora_sysdate()";
      c.type = OraType::of(TypeKind::Date);
      c.type.nullable = false;
      return c;
    }
    if (first == "USER") {
      e.ref = RefKind::User;
      c.sql = quoteText(ctx_.sessionUser.empty() ? ctx_.user : ctx_.sessionUser);
      c.type = OraType::varchar2(30);
      c.type.nullable = false;
      return c;
    }
    if (first == "UID") {
      e.ref = RefKind::Uid;
      c.sql = std::to_string(ctx_.userId);
      c.type = OraType::number();
      return c;
    }
    if (first == "LEVEL") raiseOra(900, {}, e.pos);
    int depth = 0;
    for (Scope* s = &scope; s; s = s->parent, ++depth) {
      if (first == "ROWID") {
        int found = -1;
        for (size_t i = 0; i < s->sources.size(); ++i) {
          if (!s->sources[i].rowidSql.empty()) {
            if (found >= 0) raiseOra(918, {}, e.pos);
            found = static_cast<int>(i);
          }
        }
        if (found >= 0) return rowidCode(s->sources[static_cast<size_t>(found)], depth, found);
        // A view that does not keep the rows of one table has no ROWID.
        if (s->sources.size() == 1 && s->sources[0].isView) raiseOra(1445, {}, e.pos);
        continue;
      }
      int foundSource = -1;
      size_t foundColumn = 0;
      for (size_t i = 0; i < s->sources.size(); ++i) {
        const Source& src = s->sources[i];
        for (size_t k = 0; k < src.columns.size(); ++k) {
          if (src.columns[k].name == first) {
            if (foundSource >= 0) raiseOra(918, {}, e.pos);
            foundSource = static_cast<int>(i);
            foundColumn = k;
          }
        }
      }
      if (foundSource >= 0) {
        return columnCode(s->sources[static_cast<size_t>(foundSource)], foundColumn, depth,
                          foundSource);
      }
    }
  } else {
    // alias.column.attribute...: a path into an object (or through a REF).
    if (auto path = attributePath(e, scope)) return *path;
    // a.b or s.t.c: a source first, then sequences.
    int depth = 0;
    for (Scope* s = &scope; s; s = s->parent, ++depth) {
      for (size_t i = 0; i < s->sources.size(); ++i) {
        const Source& src = s->sources[i];
        bool match = n.size() == 2 ? src.name == n[0]
                                   : (n.size() == 3 && !src.aliased && src.schema == n[0] &&
                                      src.name == n[1]);
        if (!match) continue;
        const std::string& col = n.back();
        if (col == "ROWID") return rowidCode(src, depth, static_cast<int>(i));
        for (size_t k = 0; k < src.columns.size(); ++k) {
          if (src.columns[k].name == col) return columnCode(src, k, depth, static_cast<int>(i));
        }
        raiseOra(904, {quoted()}, e.pos);
      }
    }
    const std::string& last = n.back();
    if ((last == "NEXTVAL" || last == "CURRVAL") && n.size() <= 3) {
      std::vector<std::string> seqName(n.begin(), n.end() - 1);
      const ObjectRef* ref = ctx_.catalog->resolve(ctx_.user, seqName);
      if (ref && ref->type == ObjectType::Sequence) {
        if (!scope.sequencesAllowed) raiseOra(2287, {}, e.pos);
        const SequenceInfo* seq = ref->sequence();
        e.ref = last == "NEXTVAL" ? RefKind::SeqNextval : RefKind::SeqCurrval;
        if (e.ref == RefKind::SeqNextval) takesNextval = true;
        e.sequence = seq;
        c.sql = std::string(last == "NEXTVAL" ? "vorn_nextval(" : "vorn_currval(") +
                std::to_string(seq->obj) + ")";
        c.type = OraType::number();
        return c;
      }
      if (!ref) raiseOra(2289, {}, e.pos);
    }
  }
  if (ctx_.hook) {
    if (auto t = ctx_.hook->localType(n)) {
      e.ref = RefKind::Local;
      c.sql = "?" + std::to_string(ctx_.hook->localParameter(n));
      c.type = *t;
      return c;
    }
  }
  // A stored function without arguments may be called without parentheses.
  if (const FunctionHook& functions = functionHook(); functions && ctx_.catalog) {
    if (auto binding = functions(*ctx_.catalog, ctx_.user, n, {})) {
      c.sql = binding->sqlName + "(" + binding->firstArguments + ")";
      c.type = binding->result;
      return c;
    }
  }
  for (Scope* s = &scope; s; s = s->parent) {
    if (s->columnsForbidden) raiseOra(984, {}, e.pos);
  }
  raiseOra(904, {quoted()}, e.pos);
}

}  // namespace vorn::server
