// Expressions of user-defined types: attribute paths (alias.column.attr,
// through REFs as well), REF(alias), VALUE(alias), DEREF(ref), object and
// collection constructors, comparisons of objects and REFs, and the rows of
// object tables. See Compiler.h; the SQL functions used are in
// ObjectFunctions.cpp.
//
// A REF is followed with a subquery on the object tables of its type: the
// row whose SYS_NC_OID$ is the REF's identifier, in the table the REF names.
// A dangling REF gives NULL, as DEREF of one does in Oracle.
#include "engine/CompilerImpl.h"
#include "engine/ObjectValue.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"

namespace vorn::server {

namespace {

std::string quotedPath(const std::vector<std::string>& names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i) out += ".";
    out += "\"" + names[i] + "\"";
  }
  return out;
}

bool isUserFamily(Family f) {
  return f == Family::Object || f == Family::Ref || f == Family::Collection;
}

// A placeholder nothing was bound to yet (a describe before the binds):
// VARCHAR2 by default, it takes the type it is compared with or stored as.
bool isUnboundPlaceholder(const Code& c) {
  if (c.type.kind != TypeKind::Varchar2 || c.type.length != 4000 || c.sql.size() < 2 ||
      c.sql[0] != '?') {
    return false;
  }
  return c.sql.find_first_not_of("0123456789", 1) == std::string::npos;
}

}  // namespace

std::string Compiler::objectRowSql(const TableInfo& t, const std::string& alias) {
  std::string sql = "vorn_obj(" + std::to_string(t.ofType->obj);
  for (const ColumnInfo& col : t.columns)
    sql += ", " + alias + "." + quoteIdent(col.name);
  return sql + ")";
}

std::string Compiler::derefSql(const std::string& ref, const TypeInfo& type) {
  std::vector<const TableInfo*> tables = ctx_.catalog->objectTablesOf(type.obj);
  if (tables.empty()) return "NULL";
  std::string sql = "CASE vorn_ref_table(" + ref + ")";
  for (const TableInfo* t : tables) {
    std::string alias = newAlias();
    sql += " WHEN " + std::to_string(t->obj) + " THEN (SELECT " + objectRowSql(*t, alias) +
           " FROM " + t->sqlName() + " AS " + alias + " WHERE " + alias + "." +
           quoteIdent(kObjectIdColumn) + " = vorn_ref_oid(" + ref + "))";
  }
  return sql + " END";
}

Code Compiler::attribute(const Code& base, const std::string& name, int pos,
                         const std::vector<std::string>& path) {
  const TypeInfo* type = base.type.udt;
  std::string sql = base.sql;
  if (base.type.kind == TypeKind::Ref) {
    sql = derefSql(sql, *type);
  } else if (base.type.kind != TypeKind::Object) {
    raiseOra(904, {quotedPath(path)}, pos);
  }
  int i = type->findAttribute(name);
  if (i < 0) raiseOra(904, {quotedPath(path)}, pos);
  Code c;
  c.sql = "vorn_attr(" + sql + ", " + std::to_string(i) + ")";
  c.type = type->attributes[static_cast<size_t>(i)].type;
  c.type.nullable = true;
  c.aggregate = base.aggregate;
  return c;
}

std::optional<Code> Compiler::attributePath(Expr& e, Scope& scope) {
  const auto& n = e.names;
  if (n.size() < 3) return std::nullopt;
  int depth = 0;
  for (Scope* s = &scope; s; s = s->parent, ++depth) {
    for (size_t i = 0; i < s->sources.size(); ++i) {
      const Source& src = s->sources[i];
      if (src.name != n[0]) continue;
      for (size_t k = 0; k < src.columns.size(); ++k) {
        if (src.columns[k].name != n[1]) continue;
        if (!src.columns[k].type.isUserDefined()) return std::nullopt;
        Code c;
        c.sql = src.columnSql[k];
        c.type = src.columns[k].type;
        e.ref = depth == 0 ? RefKind::Column : RefKind::OuterColumn;
        e.source = static_cast<int>(i);
        e.column = static_cast<int>(k);
        e.depth = depth;
        for (size_t p = 2; p < n.size(); ++p)
          c = attribute(c, n[p], e.pos, n);
        return c;
      }
    }
  }
  return std::nullopt;
}

std::optional<Code> Compiler::objectIdColumn(Expr& e, Scope& scope) {
  const auto& n = e.names;
  if (n.size() > 2) return std::nullopt;
  int depth = 0;
  for (Scope* s = &scope; s; s = s->parent, ++depth) {
    int found = -1;
    for (size_t i = 0; i < s->sources.size(); ++i) {
      const Source& src = s->sources[i];
      if ((n.size() == 2 && src.name != n[0]) || !src.table || !src.table->ofType) continue;
      if (found >= 0) raiseOra(918, {}, e.pos);
      found = static_cast<int>(i);
    }
    if (found < 0) continue;
    const Source& src = s->sources[static_cast<size_t>(found)];
    Code c;
    c.sql = src.sqlAlias + "." + quoteIdent(kObjectIdColumn);
    c.type = OraType::of(TypeKind::Raw);
    c.type.length = static_cast<int>(kObjectIdBytes);
    c.type.nullable = false;
    e.ref = RefKind::Rowid;
    e.source = found;
    e.depth = depth;
    return c;
  }
  return std::nullopt;
}

// The object table a REF(alias) or VALUE(alias) names.
const Source& Compiler::objectTableSource(Expr& e, Scope& scope) {
  if (e.args.size() != 1) raiseOra(909, {}, e.pos);
  Expr& arg = *e.args[0];
  if (arg.kind != ExprKind::Name || arg.names.size() != 1) raiseOra(22806, {}, arg.pos);
  for (Scope* s = &scope; s; s = s->parent) {
    for (const Source& src : s->sources) {
      if (src.name != arg.names[0]) continue;
      if (!src.table || !src.table->ofType) raiseOra(22806, {}, arg.pos);
      return src;
    }
  }
  raiseOra(904, {"\"" + arg.names[0] + "\""}, arg.pos);
}

bool Compiler::objectCall(Expr& e, Scope& scope, Code& out) {
  if (e.names.size() != 1) return false;
  const std::string& fn = e.text;
  if (fn == "REF" || fn == "VALUE") {
    const Source& src = objectTableSource(e, scope);
    const TableInfo& t = *src.table;
    if (fn == "REF") {
      out.sql = "vorn_ref(" + std::to_string(t.obj) + ", " + src.sqlAlias + "." +
                quoteIdent(kObjectIdColumn) + ")";
      out.type = refType(*t.ofType);
    } else {
      out.sql = objectRowSql(t, src.sqlAlias);
      out.type = userDefinedType(*t.ofType);
    }
    out.type.nullable = false;
    return true;
  }
  if (fn == "DEREF") {
    if (e.args.size() != 1) raiseOra(909, {}, e.pos);
    Code ref = expr(*e.args[0], scope);
    out.aggregate = ref.aggregate;
    if (ref.type.kind == TypeKind::Null) {
      out.sql = "NULL";
      return true;
    }
    if (ref.type.kind != TypeKind::Ref) inconsistent(OraType::of(TypeKind::Ref), ref.type, e.pos);
    out.sql = derefSql(ref.sql, *ref.type.udt);
    out.type = userDefinedType(*ref.type.udt);
    return true;
  }
  if (fn == "MAKE_REF") raiseOra(3001, {}, e.pos);
  return false;
}

std::optional<Code> Compiler::constructorCall(Expr& e, const std::vector<Code>& args) {
  if (!ctx_.catalog) return std::nullopt;
  const TypeInfo* type = ctx_.catalog->findType(ctx_.user, e.names);
  if (!type) return std::nullopt;
  if (type->invalid) raiseOra(4063, {"type " + type->qualifiedName()}, e.pos);
  if (type->incomplete) raiseOra(904, {quotedPath(e.names)}, e.pos);
  Code c;
  c.type = userDefinedType(*type);
  c.type.nullable = false;
  if (!type->isCollection()) {
    if (args.size() != type->attributes.size()) raiseOra(2315, {}, e.pos);
    c.sql = "vorn_obj(" + std::to_string(type->obj);
    for (size_t i = 0; i < args.size(); ++i) {
      c.sql += ", " + convert(args[i], type->attributes[i].type, e.args[i]->pos);
      c.aggregate |= args[i].aggregate;
    }
  } else {
    if (type->kind == TypeInfo::Kind::Varray && static_cast<int64_t>(args.size()) > type->limit) {
      raiseOra(22909, {}, e.pos);
    }
    c.sql = "vorn_coll(" + std::to_string(type->obj);
    for (size_t i = 0; i < args.size(); ++i) {
      c.sql += ", " + convert(args[i], type->element, e.args[i]->pos);
      c.aggregate |= args[i].aggregate;
    }
  }
  c.sql += ")";
  return c;
}

Code Compiler::objectCompare(const std::string& op, const Code& a, const Code& b, int pos) {
  const OraType& t = a.type.isUserDefined() ? a.type : b.type;
  const Code& otherCode = a.type.isUserDefined() ? b : a;
  const OraType& other = otherCode.type;
  if (other.kind != TypeKind::Null && !sameUserType(t, other) && !isUnboundPlaceholder(otherCode)) {
    inconsistent(t, other, pos);
  }
  bool equality = op == "=" || op == "<>" || op == "!=" || op == "^=";
  if (t.kind == TypeKind::Collection) raiseOra(932, {"-", typeWord(t)}, pos);
  if (!equality) {
    if (t.kind == TypeKind::Object) raiseOra(22950, {}, pos);
    raiseOra(932, {"-", typeWord(t)}, pos);
  }
  Code c;
  c.isBoolean = true;
  c.aggregate = a.aggregate || b.aggregate;
  bool negated = op != "=";
  if (t.kind == TypeKind::Object) {
    c.sql = "vorn_obj_eq(" + a.sql + ", " + b.sql + ")";
    if (negated) c.sql = "(NOT " + c.sql + ")";
  } else {
    c.sql = "(" + a.sql + (negated ? " <> " : " = ") + b.sql + ")";
  }
  return c;
}

std::string Compiler::convertUserDefined(const Code& c, const OraType& to, int pos) const {
  if (c.type.kind == TypeKind::Null || sameUserType(c.type, to) || isUnboundPlaceholder(c)) {
    return c.sql;
  }
  inconsistent(to, c.type, pos);
}

void checkUserTypes(const OraType& a, const OraType& b, int pos) {
  if (a.kind == TypeKind::Null || b.kind == TypeKind::Null) return;
  if (!isUserFamily(familyOf(a)) && !isUserFamily(familyOf(b))) return;
  if (!sameUserType(a, b)) inconsistent(a, b, pos);
}

Code Compiler::attributeAssignment(const Code& object, const std::vector<std::string>& path,
                                   size_t from, const Code& value, int pos) {
  if (object.type.kind != TypeKind::Object) raiseOra(904, {quotedPath(path)}, pos);
  const TypeInfo& type = *object.type.udt;
  int i = type.findAttribute(path[from]);
  if (i < 0) raiseOra(904, {quotedPath(path)}, pos);
  const OraType& attr = type.attributes[static_cast<size_t>(i)].type;
  std::string inner;
  if (from + 1 == path.size()) {
    inner = convert(value, attr, pos);
  } else {
    Code sub;
    sub.sql = "vorn_attr(" + object.sql + ", " + std::to_string(i) + ")";
    sub.type = attr;
    inner = attributeAssignment(sub, path, from + 1, value, pos).sql;
  }
  Code c;
  c.sql = "vorn_attr_set(" + object.sql + ", " + std::to_string(i) + ", " + inner + ", " +
          std::to_string(type.obj) + ")";
  c.type = object.type;
  c.aggregate = value.aggregate;
  return c;
}

bool Compiler::objectRowValues(const TableInfo& t, const Code& value, std::vector<Code>& out) {
  if (!t.ofType || !sameUserType(value.type, userDefinedType(*t.ofType))) return false;
  out.clear();
  for (size_t i = 0; i < t.columns.size(); ++i) {
    Code c;
    c.sql = "vorn_attr(" + value.sql + ", " + std::to_string(i) + ")";
    c.type = t.columns[i].type;
    c.aggregate = value.aggregate;
    out.push_back(std::move(c));
  }
  return true;
}

}  // namespace vorn::server
