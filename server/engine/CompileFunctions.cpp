// The SQL functions: argument conversions, Oracle's result types and the
// typed ora_* variant each call becomes; calls the catalog does not know go
// to the stored-function hook. See Compiler.h.
#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unordered_map>

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

// One call of a built-in SQL function being compiled: its arguments, the
// result being built, and the conversions the rules use.
struct FunctionArgs {
  Compiler& compiler;
  Expr& e;
  const std::string& fn;
  std::vector<Code>& a;
  Code& c;

  int pos(size_t i) const { return e.args[i]->pos; }
  std::string num(size_t i) const { return compiler.toNumber(a[i], pos(i)); }
  std::string txt(size_t i) const { return compiler.toText(a[i]); }
  std::string toText(const Code& x) const { return compiler.toText(x); }
  std::string toDate(const Code& x, int p) const { return compiler.toDate(x, p); }
  std::string toRaw(const Code& x, int p) const { return compiler.toRaw(x, p); }
  std::string convert(const Code& x, const OraType& to, int p) const {
    return compiler.convert(x, to, p);
  }
  OraType commonType(const std::vector<Code*>& codes, int p) const {
    return compiler.commonType(codes, p);
  }
  void unify(Code& x, Code& y, int p) const { compiler.unify(x, y, p); }
  // The length of argument i as text.
  int textLen(size_t i) const {
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
  }
  // Plain parameters rather than an initializer list: a conversion that
  // raises must not leave half-built temporaries behind.
  static std::string args(std::string x, std::string y, std::string z = {}) {
    return z.empty() ? x + ", " + y : x + ", " + y + ", " + z;
  }

  // The rules, one per function or family of functions.
  void nvl();
  void nvl2();
  void coalesce();
  void nullIf();
  void decode();
  void toChar();
  void toDateCall();
  void toNumberCall();
  void substr();
  void instr();
  void length();
  void changeCase();
  void pad();
  void trimSide();
  void trim();
  void replace();
  void concat();
  void chr();
  void ascii();
  void unaryMath();
  void roundTrunc();
  void modPower();
  void greatestLeast();
  void addMonths();
  void monthsBetween();
  void lastDay();
  void rawToHex();
  void hexToRaw();
  void rowidToChar();
  void charToRowid();
  void emptyLob();
  void toLob();
  void bfilename();
  void lobLength();
  void lobSubstr();
  void lobInstr();
  void fileExists();
  // kind argument of the vorn_lob_* functions: 0 CLOB, 1 BLOB, 2 BFILE.
  std::string lobKind(size_t i) const;
  void cast();
};

void FunctionArgs::nvl() {
  std::vector<Code*> ptrs{&a[0], &a[1]};
  c.type = commonType(ptrs, e.pos);
  c.type.nullable = a[1].type.nullable;
  c.sql = "coalesce(" + a[0].sql + ", " + a[1].sql + ")";
}

void FunctionArgs::nvl2() {
  std::vector<Code*> ptrs{&a[1], &a[2]};
  c.type = commonType(ptrs, e.pos);
  c.sql = "CASE WHEN " + a[0].sql + " IS NOT NULL THEN " + a[1].sql + " ELSE " + a[2].sql + " END";
}

void FunctionArgs::coalesce() {
  std::vector<Code*> ptrs;
  for (Code& x : a)
    ptrs.push_back(&x);
  c.type = commonType(ptrs, e.pos);
  c.sql = "coalesce(";
  for (size_t i = 0; i < a.size(); ++i)
    c.sql += (i ? ", " : "") + a[i].sql;
  c.sql += a.size() == 1 ? ", NULL)" : ")";
}

void FunctionArgs::nullIf() {
  Code x = a[0], y = a[1];
  unify(x, y, e.pos);
  c.type = a[0].type;
  c.sql = "nullif(" + x.sql + ", " + y.sql + ")";
}

void FunctionArgs::decode() {
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
}

void FunctionArgs::toChar() {
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
}

void FunctionArgs::toDateCall() {
  c.sql = "ora_to_date(" + (a.size() == 1 ? txt(0) : args(txt(0), txt(1))) + ")";
  c.type = OraType::of(TypeKind::Date);
}

void FunctionArgs::toNumberCall() {
  if (a.size() == 1 && familyOf(a[0].type) == Family::Number) {
    c.sql = a[0].sql;
  } else {
    c.sql = "ora_to_number(" + (a.size() == 1 ? txt(0) : args(txt(0), txt(1))) + ")";
  }
  c.type = OraType::number();
}

void FunctionArgs::substr() {
  c.sql =
      "ora_substr(" + (a.size() == 2 ? args(txt(0), num(1)) : args(txt(0), num(1), num(2))) + ")";
  c.type = OraType::varchar2(textLen(0));
}

void FunctionArgs::instr() {
  std::string s = "ora_instr(" + txt(0) + ", " + txt(1);
  for (size_t i = 2; i < a.size(); ++i)
    s += ", " + num(i);
  c.sql = s + ")";
  c.type = OraType::number();
}

void FunctionArgs::length() {
  if (a[0].type.kind == TypeKind::Bfile) inconsistent(OraType::varchar2(4000), a[0].type, pos(0));
  if (a[0].type.isLob()) {
    lobLength();
    return;
  }
  c.sql = "ora_length(" + txt(0) + ")";
  c.type = OraType::number();
}

// UPPER, LOWER, INITCAP and their NLS_ forms, whose second argument (the
// linguistic sort) changes nothing in the one character set there is.
void FunctionArgs::changeCase() {
  std::string_view base = std::string_view(fn).substr(fn.starts_with("NLS_") ? 4 : 0);
  std::string lower = base == "UPPER" ? "upper" : base == "LOWER" ? "lower" : "initcap";
  if (a.size() > 1) txt(1);
  c.sql = "ora_" + lower + "(" + txt(0) + ")";
  c.type = OraType::varchar2(textLen(0));
  if (a[0].type.kind == TypeKind::Char) c.type.kind = TypeKind::Char;
}

void FunctionArgs::pad() {
  std::string f2 = fn == "LPAD" ? "ora_lpad(" : "ora_rpad(";
  c.sql = f2 + (a.size() == 2 ? args(txt(0), num(1)) : args(txt(0), num(1), txt(2))) + ")";
  int len = 4000;
  if (e.args[1]->kind == ExprKind::Number) len = std::max(1, std::atoi(e.args[1]->text.c_str()));
  c.type = OraType::varchar2(std::min(len, 4000));
}

void FunctionArgs::trimSide() {
  std::string f2 = fn == "LTRIM" ? "ora_ltrim(" : "ora_rtrim(";
  c.sql = f2 + (a.size() == 1 ? txt(0) : args(txt(0), txt(1))) + ")";
  c.type = OraType::varchar2(textLen(0));
}

void FunctionArgs::trim() {
  // Parsed as TRIM(mode, source [, char]).
  const std::string& mode = e.args[0]->text;
  std::string f2 = mode == "LEADING"    ? "ora_trim_leading("
                   : mode == "TRAILING" ? "ora_trim_trailing("
                                        : "ora_trim(";
  c.sql = f2 + (a.size() == 2 ? txt(1) : args(txt(1), txt(2))) + ")";
  c.type = OraType::varchar2(textLen(1));
}

void FunctionArgs::replace() {
  c.sql =
      "ora_replace(" + (a.size() == 2 ? args(txt(0), txt(1)) : args(txt(0), txt(1), txt(2))) + ")";
  c.type = OraType::varchar2(4000);
}

void FunctionArgs::concat() {
  c.sql = "ora_concat(" + args(txt(0), txt(1)) + ")";
  c.type = OraType::varchar2(std::min(4000, textLen(0) + textLen(1)));
}

void FunctionArgs::chr() {
  c.sql = "ora_chr(" + num(0) + ")";
  c.type = OraType::varchar2(1);
}

void FunctionArgs::ascii() {
  c.sql = "ora_ascii(" + txt(0) + ")";
  c.type = OraType::number();
}

void FunctionArgs::unaryMath() {
  std::string lower = fn == "ABS"     ? "abs"
                      : fn == "FLOOR" ? "floor"
                      : fn == "CEIL"  ? "ceil"
                      : fn == "SQRT"  ? "sqrt"
                                      : "sign";
  c.sql = "ora_" + lower + "(" + num(0) + ")";
  c.type = OraType::number();
}

void FunctionArgs::roundTrunc() {
  std::string lower = fn == "ROUND" ? "round" : "trunc";
  if (familyOf(a[0].type) == Family::Date) {
    c.sql = "ora_" + lower + "_date(" + (a.size() == 1 ? a[0].sql : args(a[0].sql, txt(1))) + ")";
    c.type = OraType::of(TypeKind::Date);
  } else {
    c.sql = "ora_" + lower + "_num(" + (a.size() == 1 ? num(0) : args(num(0), num(1))) + ")";
    c.type = OraType::number();
  }
}

void FunctionArgs::modPower() {
  c.sql = std::string(fn == "MOD" ? "ora_mod(" : "ora_power(") + args(num(0), num(1)) + ")";
  c.type = OraType::number();
}

void FunctionArgs::greatestLeast() {
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
}

void FunctionArgs::addMonths() {
  c.sql = "ora_add_months(" + args(toDate(a[0], pos(0)), num(1)) + ")";
  c.type = OraType::of(TypeKind::Date);
}

void FunctionArgs::monthsBetween() {
  c.sql = "ora_months_between(" + args(toDate(a[0], pos(0)), toDate(a[1], pos(1))) + ")";
  c.type = OraType::number();
}

void FunctionArgs::lastDay() {
  c.sql = "ora_last_day(" + toDate(a[0], pos(0)) + ")";
  c.type = OraType::of(TypeKind::Date);
}

void FunctionArgs::rawToHex() {
  c.sql = "ora_rawtohex(" + toRaw(a[0], pos(0)) + ")";
  c.type = OraType::varchar2(std::max(1, a[0].type.length * 2));
}

void FunctionArgs::hexToRaw() {
  c.sql = "ora_hextoraw(" + txt(0) + ")";
  c.type = OraType::of(TypeKind::Raw);
  c.type.length = std::max(1, textLen(0) / 2);
}

void FunctionArgs::rowidToChar() {
  c.sql = a[0].sql;
  c.type = OraType::varchar2(18);
}

void FunctionArgs::charToRowid() {
  c.sql = "ora_rowid_check(" + txt(0) + ")";
  c.type = OraType::of(TypeKind::Rowid);
}

void FunctionArgs::emptyLob() {
  c.sql = std::string("vorn_empty_lob(") + (fn == "EMPTY_CLOB" ? "0" : "1") + ")";
  c.type = OraType::of(fn == "EMPTY_CLOB" ? TypeKind::Clob : TypeKind::Blob);
}

std::string FunctionArgs::lobKind(size_t i) const {
  switch (a[i].type.kind) {
    case TypeKind::Bfile:
      return "2";
    case TypeKind::Blob:
    case TypeKind::Raw:
    case TypeKind::LongRaw:
      return "1";
    default:
      return "0";
  }
}

void FunctionArgs::toLob() {
  if (fn == "TO_CLOB") {
    if (familyOf(a[0].type) == Family::Raw || a[0].type.kind == TypeKind::Bfile) {
      inconsistent(OraType::of(TypeKind::Clob), a[0].type, pos(0));
    }
    c.sql = txt(0);
    c.type = OraType::of(TypeKind::Clob);
  } else {
    if (familyOf(a[0].type) != Family::Raw && familyOf(a[0].type) != Family::Null) {
      inconsistent(OraType::of(TypeKind::Blob), a[0].type, pos(0));
    }
    c.sql = a[0].sql;
    c.type = OraType::of(TypeKind::Blob);
  }
}

void FunctionArgs::bfilename() {
  c.sql = "vorn_bfilename(" + args(txt(0), txt(1)) + ")";
  c.type = OraType::of(TypeKind::Bfile);
}

namespace {

// The LOB argument of DBMS_LOB's functions must be one.
void requireLob(const Code& x, int p) {
  if (!x.type.isLob() && x.type.kind != TypeKind::Null) {
    inconsistent(OraType::of(TypeKind::Clob), x.type, p);
  }
}

}  // namespace

void FunctionArgs::lobLength() {
  requireLob(a[0], pos(0));
  c.sql = "vorn_lob_length(" + args(a[0].sql, lobKind(0)) + ")";
  c.type = OraType::number();
}

void FunctionArgs::lobSubstr() {
  requireLob(a[0], pos(0));
  std::string amount = a.size() > 1 ? num(1) : "32767";
  std::string offset = a.size() > 2 ? num(2) : "1";
  c.sql = "vorn_lob_substr(" + a[0].sql + ", " + lobKind(0) + ", " + amount + ", " + offset + ")";
  bool text = a[0].type.kind == TypeKind::Clob;
  c.type = text ? OraType::varchar2(4000) : OraType::of(TypeKind::Raw);
  if (!text) c.type.length = 2000;
}

void FunctionArgs::lobInstr() {
  requireLob(a[0], pos(0));
  std::string pattern = a[0].type.kind == TypeKind::Clob ? txt(1) : toRaw(a[1], pos(1));
  std::string offset = a.size() > 2 ? num(2) : "1";
  std::string nth = a.size() > 3 ? num(3) : "1";
  c.sql = "vorn_lob_instr(" + a[0].sql + ", " + lobKind(0) + ", " + pattern + ", " + offset + ", " +
          nth + ")";
  c.type = OraType::number();
}

void FunctionArgs::fileExists() {
  if (a[0].type.kind != TypeKind::Bfile && a[0].type.kind != TypeKind::Null) {
    inconsistent(OraType::of(TypeKind::Bfile), a[0].type, pos(0));
  }
  c.sql = "vorn_bfile_exists(" + a[0].sql + ")";
  c.type = OraType::number();
}

void FunctionArgs::cast() {
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
}

namespace {

// The built-in functions by name: argument counts (ORA-00938 below,
// ORA-00939 above) and the rule that compiles a call.
struct FunctionRule {
  size_t minArgs;
  size_t maxArgs;
  void (FunctionArgs::*compile)();
};

const FunctionRule* findFunction(const std::string& name) {
  static const std::unordered_map<std::string_view, FunctionRule> kFunctions = {
      {"NVL", {2, 2, &FunctionArgs::nvl}},
      {"NVL2", {3, 3, &FunctionArgs::nvl2}},
      {"COALESCE", {1, 255, &FunctionArgs::coalesce}},
      {"NULLIF", {2, 2, &FunctionArgs::nullIf}},
      {"DECODE", {3, 255, &FunctionArgs::decode}},
      {"TO_CHAR", {1, 3, &FunctionArgs::toChar}},
      {"TO_DATE", {1, 3, &FunctionArgs::toDateCall}},
      {"TO_NUMBER", {1, 3, &FunctionArgs::toNumberCall}},
      {"SUBSTR", {2, 3, &FunctionArgs::substr}},
      {"INSTR", {2, 4, &FunctionArgs::instr}},
      {"LENGTH", {1, 1, &FunctionArgs::length}},
      {"UPPER", {1, 1, &FunctionArgs::changeCase}},
      {"LOWER", {1, 1, &FunctionArgs::changeCase}},
      {"INITCAP", {1, 1, &FunctionArgs::changeCase}},
      {"NLS_UPPER", {1, 2, &FunctionArgs::changeCase}},
      {"NLS_LOWER", {1, 2, &FunctionArgs::changeCase}},
      {"NLS_INITCAP", {1, 2, &FunctionArgs::changeCase}},
      {"LPAD", {2, 3, &FunctionArgs::pad}},
      {"RPAD", {2, 3, &FunctionArgs::pad}},
      {"LTRIM", {1, 2, &FunctionArgs::trimSide}},
      {"RTRIM", {1, 2, &FunctionArgs::trimSide}},
      {"TRIM", {0, 255, &FunctionArgs::trim}},
      {"REPLACE", {2, 3, &FunctionArgs::replace}},
      {"CONCAT", {2, 2, &FunctionArgs::concat}},
      {"CHR", {1, 1, &FunctionArgs::chr}},
      {"ASCII", {1, 1, &FunctionArgs::ascii}},
      {"ABS", {1, 1, &FunctionArgs::unaryMath}},
      {"FLOOR", {1, 1, &FunctionArgs::unaryMath}},
      {"CEIL", {1, 1, &FunctionArgs::unaryMath}},
      {"SQRT", {1, 1, &FunctionArgs::unaryMath}},
      {"SIGN", {1, 1, &FunctionArgs::unaryMath}},
      {"ROUND", {1, 2, &FunctionArgs::roundTrunc}},
      {"TRUNC", {1, 2, &FunctionArgs::roundTrunc}},
      {"MOD", {2, 2, &FunctionArgs::modPower}},
      {"POWER", {2, 2, &FunctionArgs::modPower}},
      {"GREATEST", {1, 255, &FunctionArgs::greatestLeast}},
      {"LEAST", {1, 255, &FunctionArgs::greatestLeast}},
      {"ADD_MONTHS", {2, 2, &FunctionArgs::addMonths}},
      {"MONTHS_BETWEEN", {2, 2, &FunctionArgs::monthsBetween}},
      {"LAST_DAY", {1, 1, &FunctionArgs::lastDay}},
      {"RAWTOHEX", {1, 1, &FunctionArgs::rawToHex}},
      {"HEXTORAW", {1, 1, &FunctionArgs::hexToRaw}},
      {"ROWIDTOCHAR", {1, 1, &FunctionArgs::rowidToChar}},
      {"CHARTOROWID", {1, 1, &FunctionArgs::charToRowid}},
      {"EMPTY_CLOB", {0, 0, &FunctionArgs::emptyLob}},
      {"EMPTY_BLOB", {0, 0, &FunctionArgs::emptyLob}},
      {"CAST", {0, 255, &FunctionArgs::cast}},
      {"TO_CLOB", {1, 1, &FunctionArgs::toLob}},
      {"TO_BLOB", {1, 1, &FunctionArgs::toLob}},
      {"BFILENAME", {2, 2, &FunctionArgs::bfilename}},
      // DBMS_LOB's functions that SQL may call.
      {"DBMS_LOB.GETLENGTH", {1, 1, &FunctionArgs::lobLength}},
      {"DBMS_LOB.SUBSTR", {1, 3, &FunctionArgs::lobSubstr}},
      {"DBMS_LOB.INSTR", {2, 4, &FunctionArgs::lobInstr}},
      {"DBMS_LOB.FILEEXISTS", {1, 1, &FunctionArgs::fileExists}},
  };
  auto it = kFunctions.find(name);
  return it == kFunctions.end() ? nullptr : &it->second;
}

void checkArgumentCount(const Expr& e, size_t lo, size_t hi) {
  if (e.args.size() < lo) raiseOra(938, {}, e.pos);
  if (e.args.size() > hi) raiseOra(939, {}, e.pos);
}

}  // namespace

Code Compiler::function(Expr& e, Scope& scope) {
  const std::string& fn = e.text;
  Code c;
  if (objectCall(e, scope, c)) return c;
  if (e.names.size() == 2 && e.names[0] == "DBMS_LOB") {
    std::string qualified = "DBMS_LOB." + e.names[1];
    if (const FunctionRule* rule = findFunction(qualified)) {
      std::vector<Code> a;
      for (auto& arg : e.args)
        a.push_back(expr(*arg, scope));
      checkArgumentCount(e, rule->minArgs, rule->maxArgs);
      FunctionArgs call{*this, e, qualified, a, c};
      (call.*(rule->compile))();
      return c;
    }
  }
  if (e.names.size() > 1) {
    std::vector<Code> args;
    for (auto& arg : e.args)
      args.push_back(expr(*arg, scope));
    return storedFunction(e, args);
  }
  if (isAggregateName(fn)) {
    if (!scope.aggregatesAllowed) raiseOra(934, {}, e.pos);
    checkArgumentCount(e, 1, 1);
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
      if (a.type.isUserDefined()) refuseLob(a.type, e.args[0]->pos);
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
  const FunctionRule* rule = findFunction(fn);
  if (!rule) return storedFunction(e, a);
  checkArgumentCount(e, rule->minArgs, rule->maxArgs);
  FunctionArgs call{*this, e, fn, a, c};
  (call.*(rule->compile))();
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
  if (auto constructor = constructorCall(e, args)) return *constructor;
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
      callsStoredCode = true;
      return c;
    }
  }
  raiseOra(904, {quoted}, e.pos);
}

}  // namespace vorn::server
