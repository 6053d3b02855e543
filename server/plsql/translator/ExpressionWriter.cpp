// Values and conditions as Oracle SQL; see ExpressionWriter.h.
#include "plsql/translator/ExpressionWriter.h"

#include <cctype>

#include "plsql/translator/SqlWriting.h"
#include "value/StringFunctions.h"

namespace vorn::server::translator {
namespace {

const char* kindName(ValueType t) {
  switch (t) {
    case ValueType::Number:
      return "a number";
    case ValueType::Text:
      return "a string";
    case ValueType::Date:
      return "a date";
    default:
      return "a value";
  }
}

// What TO_NUMBER reads: blanks, a sign, digits with one point, an exponent.
bool isNumberText(const std::string& text) {
  size_t i = 0, n = text.size();
  auto digits = [&] {
    size_t start = i;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i])))
      ++i;
    return i - start;
  };
  while (i < n && text[i] == ' ')
    ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  size_t whole = digits();
  size_t fraction = 0;
  if (i < n && text[i] == '.') {
    ++i;
    fraction = digits();
  }
  if (whole + fraction == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  while (i < n && text[i] == ' ')
    ++i;
  return i == n;
}

// Whether values of kinds `a` and `b` may be compared or assigned: the same
// kind, NULL, or a literal Oracle converts reliably (a number written as a
// string; a date string read in the session's date format).
bool fits(const Operand& a, const Operand& b) {
  auto loose = [](ValueType t) { return t == ValueType::Null || t == ValueType::Other; };
  if (loose(a.type) || loose(b.type) || a.type == b.type) return true;
  auto converts = [](const Operand& literal, const Operand& other) {
    if (!literal.literal || literal.type != ValueType::Text) return false;
    if (other.type == ValueType::Number) return isNumberText(literal.literalValue);
    return other.type == ValueType::Date;
  };
  return converts(a, b) || converts(b, a);
}

}  // namespace

ExpressionWriter::ExpressionWriter(PathScope& scope) : scope_(scope), s_(scope.scanner()) {
  referenceHook_ = [this](const Expr& reference, const ClassDef& target, const Attribute& key) {
    return referenceSubquery(reference, target, key);
  };
}

std::string ExpressionWriter::shown(const Expr& e) const {
  return s_.excerpt(e.offset, e.end);
}

std::string ExpressionWriter::named(const Operand& v, const Expr& e) const {
  return v.path.empty() ? shown(e) : v.path;
}

Operand ExpressionWriter::value(const Expr& e) {
  if (e.isCondition()) {
    s_.fail(kInvalidUse, e.offset, "expected a value, found the condition " + shown(e));
  }
  if (e.kind == ExprKind::Reference) {
    s_.fail(kInvalidUse, e.offset,
            shown(e) + " stands for an object; compare it with or assign it to a reference");
  }
  return write(e);
}

Operand ExpressionWriter::condition(const Expr& e) {
  if (!e.isCondition()) {
    s_.fail(kInvalidUse, e.offset, "expected a condition, found the value " + shown(e));
  }
  return write(e);
}

Operand ExpressionWriter::write(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Path:
      return scope_.attribute(e.path);
    case ExprKind::Number:
    case ExprKind::String:
    case ExprKind::Date:
    case ExprKind::Null:
      return literal(e);
    case ExprKind::Negate:
      return negate(e);
    case ExprKind::Arithmetic:
      return arithmetic(e);
    case ExprKind::Aggregate:
      s_.fail(kInvalidUse, e.offset,
              e.op + " is an aggregate; aggregates stand only in a select list and its order by");
    case ExprKind::Reference:
      return value(e);
    case ExprKind::Compare:
      return compare(e);
    case ExprKind::Like:
    case ExprKind::In:
    case ExprKind::Between:
    case ExprKind::IsNull:
      return predicate(e);
    case ExprKind::And:
    case ExprKind::Or:
    case ExprKind::Not:
      return logical(e);
  }
  return Operand();
}

Operand ExpressionWriter::literal(const Expr& e) {
  Operand out;
  out.literal = true;
  out.literalValue = e.op;
  switch (e.kind) {
    case ExprKind::Number:
      out.sql = e.op;
      out.type = ValueType::Number;
      break;
    case ExprKind::String:
      out.sql = sqlText(e.op);
      out.type = ValueType::Text;
      break;
    case ExprKind::Date:
      // TO_DATE rather than a DATE literal: every Oracle release reads it.
      out.sql = "to_date(" + sqlText(e.op) + ", " +
                (e.op.size() > 10 ? "'YYYY-MM-DD HH24:MI:SS'" : "'YYYY-MM-DD'") + ")";
      out.type = ValueType::Date;
      out.literal = false;
      break;
    default:
      out.sql = "null";
      out.literal = false;
      break;
  }
  return out;
}

Operand ExpressionWriter::negate(const Expr& e) {
  Operand v = value(*e.args[0]);
  if (v.type != ValueType::Number && v.type != ValueType::Null && v.type != ValueType::Other &&
      !(v.literal && isNumberText(v.literalValue))) {
    s_.fail(kInvalidUse, e.args[0]->offset,
            "a minus sign needs a number; " + named(v, *e.args[0]) + " is " + kindName(v.type));
  }
  Operand out;
  // "--" would start a comment: a negated negative value gets parentheses.
  std::string inner = v.inside(kUnary);
  out.sql = "-" + (inner[0] == '-' ? "(" + inner + ")" : inner);
  out.type = ValueType::Number;
  out.precedence = kUnary;
  return out;
}

Operand ExpressionWriter::arithmetic(const Expr& e) {
  Operand l = value(*e.args[0]);
  Operand r = value(*e.args[1]);
  const std::string& op = e.op;
  int level = (op == "*" || op == "/") ? kMultiplicative : kAdditive;
  Operand out;
  out.sql = l.inside(level) + " " + op + " " + r.inside(level + 1);
  out.precedence = level;
  if (op == "||") {
    out.type = ValueType::Text;
    return out;
  }
  auto number = [](const Operand& v) {
    return v.type == ValueType::Number || v.type == ValueType::Null || v.type == ValueType::Other ||
           (v.literal && isNumberText(v.literalValue));
  };
  bool ok = false;
  if (number(l) && number(r)) {
    ok = true;
    out.type = ValueType::Number;
  } else if (op == "+" || op == "-") {
    // Date arithmetic: a date plus or minus days, the days between dates.
    if (l.type == ValueType::Date && number(r)) {
      ok = true;
      out.type = ValueType::Date;
    } else if (op == "+" && number(l) && r.type == ValueType::Date) {
      ok = true;
      out.type = ValueType::Date;
    } else if (op == "-" && l.type == ValueType::Date && r.type == ValueType::Date) {
      ok = true;
      out.type = ValueType::Number;
    }
  }
  if (!ok) {
    bool leftFault = !(number(l) || l.type == ValueType::Date);
    const Expr& bad = leftFault ? *e.args[0] : *e.args[1];
    const Operand& badValue = leftFault ? l : r;
    s_.fail(kInvalidUse, bad.offset,
            "'" + op + "' needs numbers" + (level == kAdditive ? " or dates" : "") + "; " +
                named(badValue, bad) + " is " + kindName(badValue.type));
  }
  return out;
}

void ExpressionWriter::checkFits(const Operand& target, const std::string& targetText,
                                 const Operand& v, const Expr& e, bool assign) {
  if (fits(target, v)) return;
  s_.fail(kInvalidUse, e.offset,
          std::string(assign ? "cannot assign " : "cannot compare ") + shown(e) + " (" +
              kindName(v.type) + ")" + (assign ? " to " : " with ") + targetText + " (" +
              kindName(target.type) + ")");
}

Operand ExpressionWriter::valueFor(const Expr& e, const Operand& target,
                                   const std::string& targetText, bool assign) {
  if (target.reference) {
    const ClassDef& cls = scope_.model().referenced(*target.reference);
    const Attribute& key = *cls.find(target.reference->refKey);
    if (e.kind == ExprKind::String && e.op.find('#') != std::string::npos) {
      return referenceKey(e, cls, key);
    }
    if (e.kind == ExprKind::Reference) {
      const ClassDef& named = scope_.model().require(s_, e.refClass);
      if (&named != &cls) {
        s_.fail(kInvalidUse, e.refClass.offset,
                targetText + " refers to objects of class " + cls.shownName() + ", not of " +
                    named.shownName());
      }
      Operand out;
      out.sql = referenceHook_(e, cls, key);
      out.type = target.type;
      return out;
    }
  }
  if (e.kind == ExprKind::Reference) {
    s_.fail(kInvalidUse, e.offset,
            targetText + " is not a reference, so it cannot take the object " + shown(e));
  }
  Operand v = value(e);
  checkFits(target, targetText, v, e, assign);
  // References to objects of different classes never hold the same object.
  if (target.reference && v.reference &&
      (target.reference->refOwner != v.reference->refOwner ||
       target.reference->refClass != v.reference->refClass)) {
    s_.fail(kInvalidUse, e.offset,
            std::string(assign ? "cannot assign " : "cannot compare ") + v.path +
                ", a reference to " + v.reference->refOwner + "." + v.reference->refClass +
                (assign ? ", to " : ", with ") + targetText + ", a reference to " +
                target.reference->refOwner + "." + target.reference->refClass);
  }
  return v;
}

Operand ExpressionWriter::referenceKey(const Expr& text, const ClassDef& target,
                                       const Attribute& key) {
  // A reference text is the class's owner and name, '#' and its key.
  std::string prefix = target.shownName() + "#";
  const std::string& v = text.op;
  const Attribute* primary = target.keyAttribute();
  bool ok =
      primary && v.size() > prefix.size() && upper(v.substr(0, prefix.size())) == upper(prefix);
  std::string keyText = ok ? v.substr(prefix.size()) : std::string();
  bool numeric = primary && primary->type.kind == TypeKind::Number;
  if (!ok || (numeric && !isNumberText(keyText))) {
    s_.fail(kInvalidUse, text.offset,
            shown(text) + " is not a reference to an object of class " + target.shownName() +
                " (one reads " + prefix + "<key>)");
  }
  Operand out;
  out.sql = numeric ? keyText : sqlText(keyText);
  out.type = numeric ? ValueType::Number : ValueType::Text;
  if (&key != primary) {
    // The reference holds another unique attribute of the object.
    std::string alias = scope_.aliases().next();
    out.sql = "(select " + alias + "." + sqlName(key.name) + " from " +
              sqlName(target.owner, target.name) + " " + alias + " where " + alias + "." +
              sqlName(primary->name) + " = " + out.sql + ")";
  }
  return out;
}

std::string ExpressionWriter::referenceSubquery(const Expr& reference, const ClassDef& target,
                                                const Attribute& key) {
  JoinScope scope(scope_.model(), s_, target, scope_.aliases());
  ExpressionWriter inner(scope);
  Operand condition = inner.condition(*reference.args[0]);
  return "(select " + scope.alias() + "." + sqlName(key.name) + " from " + scope.fromList() +
         whereClause(scope.joinConditions(), &condition) + ")";
}

Operand ExpressionWriter::compare(const Expr& e) {
  const Expr& left = *e.args[0];
  const Expr& right = *e.args[1];
  // The side that is not a bare text or reference value decides what the
  // other side means (a text compared with a reference is a reference text).
  auto typed = [](const Expr& x) {
    return x.kind != ExprKind::String && x.kind != ExprKind::Reference;
  };
  Operand l, r;
  if (typed(left) || !typed(right)) {
    l = value(left);
    r = valueFor(right, l, named(l, left));
  } else {
    r = value(right);
    l = valueFor(left, r, named(r, right));
  }
  Operand out;
  out.sql = l.inside(kAdditive) + " " + e.op + " " + r.inside(kAdditive);
  out.type = ValueType::Condition;
  out.precedence = kPredicate;
  return out;
}

Operand ExpressionWriter::predicate(const Expr& e) {
  Operand l = value(*e.args[0]);
  std::string text = named(l, *e.args[0]);
  std::string sql = l.inside(kAdditive);
  std::string no = e.negated ? "not " : "";
  switch (e.kind) {
    case ExprKind::Like: {
      Operand pattern = value(*e.args[1]);
      if (l.type == ValueType::Date || pattern.type == ValueType::Date) {
        bool left = l.type == ValueType::Date;
        const Expr& bad = left ? *e.args[0] : *e.args[1];
        s_.fail(kInvalidUse, bad.offset,
                "LIKE compares strings; " + named(left ? l : pattern, bad) + " is a date");
      }
      sql += " " + no + "like " + pattern.inside(kAdditive);
      break;
    }
    case ExprKind::In:
      sql += " " + no + "in (";
      for (size_t i = 1; i < e.args.size(); ++i)
        sql += (i > 1 ? ", " : "") + valueFor(*e.args[i], l, text).sql;
      sql += ")";
      break;
    case ExprKind::Between:
      sql += " " + no + "between " + valueFor(*e.args[1], l, text).inside(kAdditive) + " and " +
             valueFor(*e.args[2], l, text).inside(kAdditive);
      break;
    default:
      sql += e.negated ? " is not null" : " is null";
      break;
  }
  Operand out;
  out.sql = std::move(sql);
  out.type = ValueType::Condition;
  out.precedence = kPredicate;
  return out;
}

Operand ExpressionWriter::logical(const Expr& e) {
  Operand out;
  out.type = ValueType::Condition;
  if (e.kind == ExprKind::Not) {
    out.sql = "not " + condition(*e.args[0]).inside(kPredicate);
    out.precedence = kNot;
    return out;
  }
  int level = e.kind == ExprKind::And ? kAnd : kOr;
  Operand l = condition(*e.args[0]);
  Operand r = condition(*e.args[1]);
  out.sql = l.inside(level) + " " + e.op + " " + r.inside(level);
  out.precedence = level;
  return out;
}

Operand ExpressionWriter::aggregate(const Expr& e) {
  Operand out;
  out.type = ValueType::Number;
  if (e.path.parts.empty()) {
    out.sql = "count(*)";
    out.path = "COUNT(*)";
    return out;
  }
  Operand arg = scope_.attribute(e.path);
  std::string fn = e.op;
  if ((fn == "SUM" || fn == "AVG") && arg.type != ValueType::Number &&
      arg.type != ValueType::Other) {
    s_.fail(kInvalidUse, e.path.offset,
            fn + " needs numbers; " + arg.path + " is " + kindName(arg.type));
  }
  if (fn == "MIN" || fn == "MAX") out.type = arg.type;
  out.sql = lower(fn) + "(" + arg.sql + ")";
  out.path = fn + "(" + arg.path + ")";
  return out;
}

}  // namespace vorn::server::translator
