// The SQL functions: argument conversions, Oracle's result types and the
// typed ora_* variant each call becomes; calls the catalog does not know go
// to the stored-function hook. See Compiler.h.
#include <algorithm>
#include <cstdlib>

#include "engine/CompilerImpl.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"

namespace vorn::server {

// ---------------------------------------------------------------------------
// Functions

namespace {

bool isAggregateName(const std::string& n) {
  return n == "COUNT" || n == "SUM" || n == "AVG" || n == "MIN" || n == "MAX";
}

}  // namespace

Code Compiler::function(Expr& e, Scope& scope) {
  const std::string& fn = e.text;
  Code c;
  if (e.names.size() > 1) {
    std::vector<Code> args;
    for (auto& arg : e.args)
      args.push_back(expr(*arg, scope));
    return storedFunction(e, args);
  }
  auto argc = [&](size_t lo, size_t hi) {
    if (e.args.size() < lo) raiseOra(938, {}, e.pos);
    if (e.args.size() > hi) raiseOra(939, {}, e.pos);
  };
  if (isAggregateName(fn)) {
    if (!scope.aggregatesAllowed) raiseOra(934, {}, e.pos);
    argc(1, 1);
    e.aggregate = true;
    c.aggregate = true;
    std::string distinct = e.distinct ? "DISTINCT " : "";
    if (e.args[0]->kind == ExprKind::Star) {
      if (fn != "COUNT") raiseOra(936, {}, e.args[0]->pos);
      c.sql = "count(*)";
      c.type = OraType::number();
      return c;
    }
    bool saved = scope.aggregatesAllowed;
    bool savedRownum = scope.rownumAllowed;
    scope.aggregatesAllowed = false;
    scope.rownumAllowed = false;  // ROWNUM inside an aggregate is not supported
    Code a = expr(*e.args[0], scope);
    scope.aggregatesAllowed = saved;
    scope.rownumAllowed = savedRownum;
    if (fn == "COUNT") {
      c.sql = "count(" + distinct + a.sql + ")";
      c.type = OraType::number();
      c.type.nullable = false;
    } else if (fn == "SUM") {
      // Adding 0 gives the server's NUMBER normal form (15 significant digits).
      c.sql = "ora_add(sum(" + distinct + toNumber(a, e.args[0]->pos) + "), 0)";
      c.type = OraType::number();
    } else if (fn == "AVG") {
      c.sql = "ora_add(avg(" + distinct + toNumber(a, e.args[0]->pos) + "), 0)";
      c.type = OraType::number();
    } else {
      c.sql = std::string(fn == "MIN" ? "min(" : "max(") + distinct + a.sql + ")";
      c.type = a.type;
      c.type.nullable = true;
    }
    return c;
  }
  std::vector<Code> a;
  for (auto& arg : e.args) {
    if (arg->kind == ExprKind::Star) raiseOra(936, {}, arg->pos);
    a.push_back(expr(*arg, scope));
    c.aggregate |= a.back().aggregate;
  }
  auto pos = [&](size_t i) { return e.args[i]->pos; };
  auto num = [&](size_t i) { return toNumber(a[i], pos(i)); };
  auto txt = [&](size_t i) { return toText(a[i]); };
  auto textLen = [&](size_t i) {
    const OraType& t = a[i].type;
    switch (familyOf(t)) {
      case Family::Number:
        return 40;
      case Family::Date:
        return 75;
      case Family::Null:
        return 1;
      default:
        return t.length > 0 ? t.length : 4000;
    }
  };
  // Plain parameters rather than an initializer list: a conversion that
  // raises must not leave half-built temporaries behind.
  auto args = [](std::string x, std::string y, std::string z = {}) {
    return z.empty() ? x + ", " + y : x + ", " + y + ", " + z;
  };

  if (fn == "NVL") {
    argc(2, 2);
    std::vector<Code*> ptrs{&a[0], &a[1]};
    c.type = commonType(ptrs, e.pos);
    c.type.nullable = a[1].type.nullable;
    c.sql = "coalesce(" + a[0].sql + ", " + a[1].sql + ")";
  } else if (fn == "NVL2") {
    argc(3, 3);
    std::vector<Code*> ptrs{&a[1], &a[2]};
    c.type = commonType(ptrs, e.pos);
    c.sql =
        "CASE WHEN " + a[0].sql + " IS NOT NULL THEN " + a[1].sql + " ELSE " + a[2].sql + " END";
  } else if (fn == "COALESCE") {
    argc(1, 255);
    std::vector<Code*> ptrs;
    for (Code& x : a)
      ptrs.push_back(&x);
    c.type = commonType(ptrs, e.pos);
    c.sql = "coalesce(";
    for (size_t i = 0; i < a.size(); ++i)
      c.sql += (i ? ", " : "") + a[i].sql;
    c.sql += a.size() == 1 ? ", NULL)" : ")";
  } else if (fn == "NULLIF") {
    argc(2, 2);
    Code x = a[0], y = a[1];
    unify(x, y, e.pos);
    c.type = a[0].type;
    c.sql = "nullif(" + x.sql + ", " + y.sql + ")";
  } else if (fn == "DECODE") {
    argc(3, 255);
    std::vector<Code*> results;
    for (size_t i = 2; i < a.size(); i += 2)
      results.push_back(&a[i]);
    if (a.size() % 2 == 0) results.push_back(&a.back());
    // Oracle: a NULL first result makes the result VARCHAR2.
    if (a[2].type.kind == TypeKind::Null) {
      for (Code* r : results)
        r->sql = toText(*r), r->type = OraType::varchar2(textLen(2));
    }
    c.type = commonType(results, e.pos);
    c.sql = "CASE";
    for (size_t i = 1; i + 1 < a.size(); i += 2) {
      Code x = a[0], y = a[i];
      unify(x, y, pos(i));
      c.sql += " WHEN " + x.sql + " IS " + y.sql + " THEN " + a[i + 1].sql;
    }
    if (a.size() % 2 == 0) c.sql += " ELSE " + a.back().sql;
    c.sql += " END";
  } else if (fn == "TO_CHAR") {
    argc(1, 3);
    Family f = familyOf(a[0].type);
    if (a.size() == 1) {
      if (f == Family::Number) {
        c.sql = "ora_num_text(" + a[0].sql + ")";
        c.type = OraType::varchar2(40);
      } else if (f == Family::Date) {
        c.sql = "ora_date_text(" + a[0].sql + ")";
        c.type = OraType::varchar2(75);
      } else {
        c.sql = toText(a[0]);
        c.type = OraType::varchar2(textLen(0));
      }
    } else if (f == Family::Date) {
      c.sql = "ora_date_to_char(" + args(a[0].sql, txt(1)) + ")";
      c.type = OraType::varchar2(75);
    } else if (f == Family::Text) {
      c.sql = "ora_num_to_char(" + args(num(0), txt(1)) + ")";
      c.type = OraType::varchar2(64);
    } else {
      c.sql = "ora_num_to_char(" + args(num(0), txt(1)) + ")";
      c.type = OraType::varchar2(64);
    }
  } else if (fn == "TO_DATE") {
    argc(1, 3);
    c.sql = "ora_to_date(" + (a.size() == 1 ? txt(0) : args(txt(0), txt(1))) + ")";
    c.type = OraType::of(TypeKind::Date);
  } else if (fn == "TO_NUMBER") {
    argc(1, 3);
    if (a.size() == 1 && familyOf(a[0].type) == Family::Number) {
      c.sql = a[0].sql;
    } else {
      c.sql = "ora_to_number(" + (a.size() == 1 ? txt(0) : args(txt(0), txt(1))) + ")";
    }
    c.type = OraType::number();
  } else if (fn == "SUBSTR") {
    argc(2, 3);
    c.sql =
        "ora_substr(" + (a.size() == 2 ? args(txt(0), num(1)) : args(txt(0), num(1), num(2))) + ")";
    c.type = OraType::varchar2(textLen(0));
  } else if (fn == "INSTR") {
    argc(2, 4);
    std::string s = "ora_instr(" + txt(0) + ", " + txt(1);
    for (size_t i = 2; i < a.size(); ++i)
      s += ", " + num(i);
    c.sql = s + ")";
    c.type = OraType::number();
  } else if (fn == "LENGTH") {
    argc(1, 1);
    c.sql = "ora_length(" + txt(0) + ")";
    c.type = OraType::number();
  } else if (fn == "UPPER" || fn == "LOWER" || fn == "INITCAP") {
    argc(1, 1);
    std::string lower = fn == "UPPER" ? "upper" : fn == "LOWER" ? "lower" : "initcap";
    c.sql = "ora_" + lower + "(" + txt(0) + ")";
    c.type = OraType::varchar2(textLen(0));
    if (a[0].type.kind == TypeKind::Char) c.type.kind = TypeKind::Char;
  } else if (fn == "LPAD" || fn == "RPAD") {
    argc(2, 3);
    std::string f2 = fn == "LPAD" ? "ora_lpad(" : "ora_rpad(";
    c.sql = f2 + (a.size() == 2 ? args(txt(0), num(1)) : args(txt(0), num(1), txt(2))) + ")";
    int len = 4000;
    if (e.args[1]->kind == ExprKind::Number) len = std::max(1, std::atoi(e.args[1]->text.c_str()));
    c.type = OraType::varchar2(std::min(len, 4000));
  } else if (fn == "LTRIM" || fn == "RTRIM") {
    argc(1, 2);
    std::string f2 = fn == "LTRIM" ? "ora_ltrim(" : "ora_rtrim(";
    c.sql = f2 + (a.size() == 1 ? txt(0) : args(txt(0), txt(1))) + ")";
    c.type = OraType::varchar2(textLen(0));
  } else if (fn == "TRIM") {
    // Parsed as TRIM(mode, source [, char]).
    const std::string& mode = e.args[0]->text;
    std::string f2 = mode == "LEADING"    ? "ora_trim_leading("
                     : mode == "TRAILING" ? "ora_trim_trailing("
                                          : "ora_trim(";
    c.sql = f2 + (a.size() == 2 ? txt(1) : args(txt(1), txt(2))) + ")";
    c.type = OraType::varchar2(textLen(1));
  } else if (fn == "REPLACE") {
    argc(2, 3);
    c.sql = "ora_replace(" + (a.size() == 2 ? args(txt(0), txt(1)) : args(txt(0), txt(1), txt(2))) +
            ")";
    c.type = OraType::varchar2(4000);
  } else if (fn == "CONCAT") {
    argc(2, 2);
    c.sql = "ora_concat(" + args(txt(0), txt(1)) + ")";
    c.type = OraType::varchar2(std::min(4000, textLen(0) + textLen(1)));
  } else if (fn == "CHR") {
    argc(1, 1);
    c.sql = "ora_chr(" + num(0) + ")";
    c.type = OraType::varchar2(1);
  } else if (fn == "ASCII") {
    argc(1, 1);
    c.sql = "ora_ascii(" + txt(0) + ")";
    c.type = OraType::number();
  } else if (fn == "ABS" || fn == "FLOOR" || fn == "CEIL" || fn == "SQRT" || fn == "SIGN") {
    argc(1, 1);
    std::string lower = fn == "ABS"     ? "abs"
                        : fn == "FLOOR" ? "floor"
                        : fn == "CEIL"  ? "ceil"
                        : fn == "SQRT"  ? "sqrt"
                                        : "sign";
    c.sql = "ora_" + lower + "(" + num(0) + ")";
    c.type = OraType::number();
  } else if (fn == "ROUND" || fn == "TRUNC") {
    argc(1, 2);
    std::string lower = fn == "ROUND" ? "round" : "trunc";
    if (familyOf(a[0].type) == Family::Date) {
      c.sql = "ora_" + lower + "_date(" + (a.size() == 1 ? a[0].sql : args(a[0].sql, txt(1))) + ")";
      c.type = OraType::of(TypeKind::Date);
    } else {
      c.sql = "ora_" + lower + "_num(" + (a.size() == 1 ? num(0) : args(num(0), num(1))) + ")";
      c.type = OraType::number();
    }
  } else if (fn == "MOD" || fn == "POWER") {
    argc(2, 2);
    c.sql = std::string(fn == "MOD" ? "ora_mod(" : "ora_power(") + args(num(0), num(1)) + ")";
    c.type = OraType::number();
  } else if (fn == "GREATEST" || fn == "LEAST") {
    argc(1, 255);
    std::vector<Code*> ptrs;
    for (Code& x : a)
      ptrs.push_back(&x);
    // Every argument takes the type of the first.
    OraType t = a[0].type;
    for (size_t i = 1; i < a.size(); ++i) {
      if (familyOf(a[i].type) != familyOf(t) && t.kind != TypeKind::Null) {
        a[i].sql = convert(a[i], t, pos(i));
      }
    }
    c.type = t.kind == TypeKind::Null ? commonType(ptrs, e.pos) : t;
    if (familyOf(c.type) == Family::Text) c.type = OraType::varchar2(textLen(0));
    if (a.size() == 1) {
      c.sql = a[0].sql;
    } else {
      c.sql = std::string(fn == "GREATEST" ? "max(" : "min(");
      for (size_t i = 0; i < a.size(); ++i)
        c.sql += (i ? ", " : "") + a[i].sql;
      c.sql += ")";
    }
  } else if (fn == "ADD_MONTHS") {
    argc(2, 2);
    c.sql = "ora_add_months(" + args(toDate(a[0], pos(0)), num(1)) + ")";
    c.type = OraType::of(TypeKind::Date);
  } else if (fn == "MONTHS_BETWEEN") {
    argc(2, 2);
    c.sql = "ora_months_between(" + args(toDate(a[0], pos(0)), toDate(a[1], pos(1))) + ")";
    c.type = OraType::number();
  } else if (fn == "LAST_DAY") {
    argc(1, 1);
    c.sql = "ora_last_day(" + toDate(a[0], pos(0)) + ")";
    c.type = OraType::of(TypeKind::Date);
  } else if (fn == "RAWTOHEX") {
    argc(1, 1);
    c.sql = "ora_rawtohex(" + toRaw(a[0], pos(0)) + ")";
    c.type = OraType::varchar2(std::max(1, a[0].type.length * 2));
  } else if (fn == "HEXTORAW") {
    argc(1, 1);
    c.sql = "ora_hextoraw(" + txt(0) + ")";
    c.type = OraType::of(TypeKind::Raw);
    c.type.length = std::max(1, textLen(0) / 2);
  } else if (fn == "ROWIDTOCHAR") {
    argc(1, 1);
    c.sql = a[0].sql;
    c.type = OraType::varchar2(18);
  } else if (fn == "CHARTOROWID") {
    argc(1, 1);
    c.sql = "ora_rowid_check(" + txt(0) + ")";
    c.type = OraType::of(TypeKind::Rowid);
  } else if (fn == "EMPTY_CLOB" || fn == "EMPTY_BLOB") {
    argc(0, 0);
    c.sql = std::string("vorn_empty_lob(") + (fn == "EMPTY_CLOB" ? "0" : "1") + ")";
    c.type = OraType::of(fn == "EMPTY_CLOB" ? TypeKind::Clob : TypeKind::Blob);
  } else if (fn == "CAST") {
    const Expr& t = *e.args[1];
    TypeSpec spec;
    spec.name = t.text;
    spec.length = std::atoi(t.names[0].c_str());
    OraType to;
    if (spec.name == "NUMBER" || spec.name == "FLOAT") {
      to = OraType::number();
    } else if (spec.name == "DATE") {
      to = OraType::of(TypeKind::Date);
    } else if (spec.name == "RAW") {
      to = OraType::of(TypeKind::Raw);
      to.length = spec.length;
    } else if (spec.name == "CHAR" || spec.name == "NCHAR") {
      to = OraType::charType(spec.length > 0 ? spec.length : 1);
    } else {
      to = OraType::varchar2(spec.length > 0 ? spec.length : 4000);
    }
    c.sql = convert(a[0], to, pos(0));
    c.type = to;
  } else {
    c = storedFunction(e, a);
  }
  return c;
}

namespace {

FunctionHook& hookSlot() {
  static FunctionHook hook;
  return hook;
}

}  // namespace

void setFunctionHook(FunctionHook hook) {
  hookSlot() = std::move(hook);
}
const FunctionHook& functionHook() {
  return hookSlot();
}

Code Compiler::storedFunction(Expr& e, const std::vector<Code>& args) {
  std::string quoted;
  for (size_t i = 0; i < e.names.size(); ++i)
    quoted += (i ? ".\"" : "\"") + e.names[i] + "\"";
  const FunctionHook& hook = functionHook();
  if (hook && ctx_.catalog) {
    std::vector<OraType> types;
    for (const Code& a : args)
      types.push_back(a.type);
    if (auto binding = hook(*ctx_.catalog, ctx_.user, e.names, types)) {
      Code c;
      c.sql = binding->sqlName + "(" + binding->firstArguments;
      for (size_t i = 0; i < args.size(); ++i)
        c.sql += (i || !binding->firstArguments.empty() ? ", " : "") + args[i].sql;
      c.sql += ")";
      c.type = binding->result;
      for (const Code& a : args)
        c.aggregate |= a.aggregate;
      return c;
    }
  }
  raiseOra(904, {quoted}, e.pos);
}

}  // namespace vorn::server
