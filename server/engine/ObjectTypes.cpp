// User-defined types in the catalog; see ObjectTypes.h.
#include "engine/ObjectTypes.h"

#include <sqlite3.h>

#include "engine/Catalog.h"
#include "engine/ObjectValue.h"
#include "engine/Sqlite.h"
#include "engine/Value.h"
#include "value/OraError.h"
#include "value/StorageFit.h"

namespace vorn::server {

namespace {

std::string key(const std::string& owner, const std::string& name) {
  return owner + '\x1f' + name;
}

bool hasTable(sqlite3* db, const char* table, const char* column) {
  return sqlite3_table_column_metadata(db, nullptr, table, column, nullptr, nullptr, nullptr,
                                       nullptr, nullptr) == SQLITE_OK;
}

}  // namespace

int TypeInfo::findAttribute(const std::string& attribute) const {
  for (size_t i = 0; i < attributes.size(); ++i) {
    if (attributes[i].name == attribute) return static_cast<int>(i);
  }
  return -1;
}

OraType userDefinedType(const TypeInfo& type) {
  OraType t;
  t.kind = type.isCollection() ? TypeKind::Collection : TypeKind::Object;
  t.udt = &type;
  return t;
}

OraType refType(const TypeInfo& target) {
  OraType t;
  t.kind = TypeKind::Ref;
  t.udt = &target;
  return t;
}

bool sameUserType(const OraType& a, const OraType& b) {
  return a.kind == b.kind && a.udt && b.udt && a.udt->obj == b.udt->obj;
}

void createTypeTables(sqlite3* db) {
  execSql(db,
          "CREATE TABLE IF NOT EXISTS \"SYS.TYPE$\" (\"OBJ#\", \"TYPECODE\", \"COLL_TYPE\", "
          "\"UPPER_BOUND\", \"TOID\", \"ATTRIBUTES\", \"INCOMPLETE\")");
  execSql(db,
          "CREATE TABLE IF NOT EXISTS \"SYS.ATTR$\" (\"OBJ#\", \"ATTR#\", \"NAME\", "
          "\"TYPE_OWNER\", \"TYPE_NAME\", \"TYPE_MOD\", \"LENGTH\", \"PRECISION$\", \"SCALE\", "
          "\"TYPE_OBJ#\")");
  execSql(db,
          "CREATE TABLE IF NOT EXISTS \"SYS.COLTYPE$\" (\"OBJ#\", \"NAME\", \"TYPE_OBJ#\", "
          "\"TYPE_MOD\", \"SCOPE_OBJ#\", \"STORE_AS\")");
  execSql(db, "CREATE TABLE IF NOT EXISTS \"SYS.OBJTAB$\" (\"OBJ#\", \"TYPE_OBJ#\")");
}

// ---------------------------------------------------------------------------
// Fitting values to their declared types

namespace {

// Text or RAW past an attribute's length is ORA-22814, not the column error.
template <class Fit>
auto fitAttribute(Fit&& fit) -> decltype(fit()) {
  try {
    return fit();
  } catch (const OraError& e) {
    if (e.code() == 12899) raiseOra(22814);
    throw;
  }
}

OraNumber numberOf(const Value& v) {
  if (v.kind() == Value::Kind::Integer) return OraNumber(v.asInteger());
  if (v.kind() == Value::Kind::Double) return OraNumber::fromDouble(v.asDouble());
  raiseOra(932, {"NUMBER", "BINARY"});
}

Value numberValue(OraNumber n) {
  return n.isInteger() ? Value::integer(n.integer()) : Value::real(n.toDouble());
}

Value fitList(const Value& v, const TypeInfo& type) {
  std::vector<Value> values;
  if (v.kind() != Value::Kind::Raw) raiseOra(932, {type.qualifiedName(), "BINARY"});
  if (!type.isCollection()) {
    if (!decodeObject(v.asText(), values) || values.size() != type.attributes.size()) {
      raiseOra(932, {type.qualifiedName(), "BINARY"});
    }
    for (size_t i = 0; i < values.size(); ++i)
      values[i] = fitToType(values[i], type.attributes[i].type);
    return objectBytes(encodeObject(values));
  }
  if (!decodeCollection(v.asText(), values)) raiseOra(932, {type.qualifiedName(), "BINARY"});
  if (type.kind == TypeInfo::Kind::Varray && static_cast<int64_t>(values.size()) > type.limit) {
    raiseOra(22909);
  }
  for (Value& e : values)
    e = fitToType(e, type.element);
  return objectBytes(encodeCollection(values));
}

}  // namespace

Value fitToType(const Value& v, const OraType& type) {
  if (v.isNull()) return v;
  switch (type.kind) {
    case TypeKind::Number: {
      OraNumber n = numberOf(v);
      return numberValue(type.isFloat
                             ? fitFloat(n, type.precision)
                             : fitNumber(n, type.precision, type.precision == 0 ? 0 : type.scale));
    }
    case TypeKind::Varchar2:
      if (v.kind() != Value::Kind::Text) raiseOra(932, {"CHAR", "BINARY"});
      fitAttribute([&] { return fitText(v.asText(), type.length, ""); });
      return v;
    case TypeKind::Char:
      if (v.kind() != Value::Kind::Text) raiseOra(932, {"CHAR", "BINARY"});
      return Value::text(fitAttribute([&] { return fitChar(v.asText(), type.length, ""); }));
    case TypeKind::Raw:
      if (v.kind() != Value::Kind::Raw) raiseOra(932, {"BINARY", "CHAR"});
      fitAttribute([&] {
        fitRaw(v.asText(), type.length, "");
        return 0;
      });
      return v;
    case TypeKind::Date:
      if (v.kind() == Value::Kind::Integer) return Value::date(v.asInteger());
      if (v.kind() != Value::Kind::Date) raiseOra(932, {"DATE", "NUMBER"});
      return v;
    case TypeKind::Object:
    case TypeKind::Collection:
      return fitList(v, *type.udt);
    case TypeKind::Ref: {
      RefValue ref;
      if (v.kind() != Value::Kind::Raw || !decodeRef(v.asText(), ref)) raiseOra(22880);
      return v;
    }
    default:
      return v;
  }
}

// ---------------------------------------------------------------------------
// Loading

void Catalog::loadTypes(sqlite3* db) {
  // Files made before user-defined types existed have none.
  if (!hasTable(db, "SYS.TYPE$", "TOID")) return;
  {
    SqlStatement s(db,
                   "SELECT o.\"OBJ#\", o.OWNER, o.NAME, o.STATUS, t.TYPECODE, t.COLL_TYPE, "
                   "t.UPPER_BOUND, t.TOID, t.INCOMPLETE FROM \"SYS.OBJ$\" o, \"SYS.TYPE$\" t "
                   "WHERE t.\"OBJ#\" = o.\"OBJ#\" AND o.TYPE = 'TYPE'");
    while (s.step()) {
      auto t = std::make_unique<TypeInfo>();
      t->obj = s.getInt(0);
      t->owner = s.getText(1);
      t->name = s.getText(2);
      t->invalid = s.getText(3) == "INVALID";
      std::string coll = s.getText(5);
      t->kind = coll == "VARYING ARRAY" ? TypeInfo::Kind::Varray
                : coll == "TABLE"       ? TypeInfo::Kind::Table
                                        : TypeInfo::Kind::Object;
      t->limit = s.getInt(6);
      t->oid = s.getText(7);
      t->incomplete = s.getText(8) == "YES";
      objects_[key(t->owner, t->name)] = ObjectRef{ObjectType::Type, t.get()};
      types_[t->obj] = std::move(t);
    }
  }
  SqlStatement s(db,
                 "SELECT \"OBJ#\", \"ATTR#\", NAME, TYPE_NAME, TYPE_MOD, LENGTH, PRECISION$, "
                 "SCALE, \"TYPE_OBJ#\" FROM \"SYS.ATTR$\" ORDER BY \"OBJ#\", \"ATTR#\"");
  while (s.step()) {
    auto it = types_.find(s.getInt(0));
    if (it == types_.end()) continue;
    TypeInfo& t = *it->second;
    OraType type;
    if (!s.isNull(8)) {
      auto target = types_.find(s.getInt(8));
      if (target == types_.end()) {
        // The type it names was dropped with FORCE.
        t.invalid = true;
        continue;
      }
      type = s.getText(4) == "REF" ? refType(*target->second) : userDefinedType(*target->second);
    } else {
      type = typeFromDictionary(s.getText(3), s.getInt(5), !s.isNull(6), s.getInt(6), !s.isNull(7),
                                s.getInt(7));
    }
    if (s.getInt(1) == 0) {
      t.element = type;
    } else {
      t.attributes.push_back(TypeAttribute{s.getText(2), type});
    }
  }
  // A type holding (not referring to) an invalid type is invalid too.
  auto holdsInvalid = [](const OraType& t) {
    return t.udt && t.kind != TypeKind::Ref && t.udt->invalid;
  };
  for (bool changed = true; changed;) {
    changed = false;
    for (auto& [obj, t] : types_) {
      if (t->invalid) continue;
      bool bad = holdsInvalid(t->element);
      for (const TypeAttribute& a : t->attributes)
        bad = bad || holdsInvalid(a.type);
      if (bad) t->invalid = changed = true;
    }
  }
}

void Catalog::loadTypedTables(sqlite3* db) {
  if (!hasTable(db, "SYS.COLTYPE$", "STORE_AS")) return;
  {
    SqlStatement s(db,
                   "SELECT \"OBJ#\", NAME, \"TYPE_OBJ#\", TYPE_MOD, \"SCOPE_OBJ#\" "
                   "FROM \"SYS.COLTYPE$\"");
    while (s.step()) {
      auto table = tables_.find(s.getInt(0));
      if (table == tables_.end()) continue;
      int col = table->second->findColumn(s.getText(1));
      if (col < 0) continue;
      ColumnInfo& c = table->second->columns[static_cast<size_t>(col)];
      auto type = types_.find(s.getInt(2));
      bool nullable = c.type.nullable;
      if (type == types_.end()) {
        // The column's type was dropped with FORCE: as in Oracle, the
        // column is unused from then on.
        table->second->columns.erase(table->second->columns.begin() + col);
        for (size_t i = 0; i < table->second->columns.size(); ++i)
          table->second->columns[i].id = static_cast<int>(i) + 1;
        // Without columns the table cannot be used at all.
        if (table->second->columns.empty()) table->second->invalid = true;
        continue;
      }
      c.type = s.getText(3) == "REF" ? refType(*type->second) : userDefinedType(*type->second);
      c.type.nullable = nullable;
      c.refScope = s.isNull(4) ? 0 : s.getInt(4);
      // A column of an invalid type makes its table unusable.
      if (c.type.kind != TypeKind::Ref && type->second->invalid) table->second->invalid = true;
    }
  }
  SqlStatement s(db,
                 "SELECT t.\"OBJ#\", t.\"TYPE_OBJ#\", o.STATUS FROM \"SYS.OBJTAB$\" t, "
                 "\"SYS.OBJ$\" o WHERE o.\"OBJ#\" = t.\"OBJ#\"");
  while (s.step()) {
    auto table = tables_.find(s.getInt(0));
    if (table == tables_.end()) continue;
    auto type = types_.find(s.getInt(1));
    table->second->invalid = table->second->invalid || type == types_.end() ||
                             type->second->invalid || s.getText(2) == "INVALID";
    if (type != types_.end()) table->second->ofType = type->second.get();
  }
}

// ---------------------------------------------------------------------------
// Lookups

const TypeInfo* Catalog::typeById(int64_t obj) const {
  auto it = types_.find(obj);
  return it == types_.end() ? nullptr : it->second.get();
}

std::vector<const TableInfo*> Catalog::objectTablesOf(int64_t typeObj) const {
  std::vector<const TableInfo*> out;
  for (const auto& [obj, t] : tables_) {
    if (t->ofType && t->ofType->obj == typeObj && !t->invalid) out.push_back(t.get());
  }
  return out;
}

const TypeInfo* Catalog::findType(const std::string& user,
                                  const std::vector<std::string>& name) const {
  if (name.empty() || name.size() > 2) return nullptr;
  const ObjectRef* ref = name.size() == 2 ? findObject(name[0], name[1]) : nullptr;
  if (name.size() == 1) {
    ref = findObject(user, name[0]);
    if (!ref) ref = findObject("PUBLIC", name[0]);
  }
  for (int depth = 0; ref && ref->type == ObjectType::Synonym && depth < 16; ++depth) {
    const SynonymInfo* syn = ref->synonym();
    if (!syn->dblink.empty()) return nullptr;
    ref = findObject(syn->targetOwner, syn->targetName);
  }
  return ref && ref->type == ObjectType::Type ? ref->userType() : nullptr;
}

}  // namespace vorn::server
