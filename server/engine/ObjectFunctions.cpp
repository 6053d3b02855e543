// The engine's SQL functions on values of user-defined types (see
// EngineFunctions.h for the list and ObjectValue.h for the byte forms).
// Type arguments are object numbers of the session's catalog.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "engine/Catalog.h"
#include "engine/EngineFunctions.h"
#include "engine/ObjectTypes.h"
#include "engine/ObjectValue.h"
#include "engine/Session.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

Session* sessionOf(sqlite3_context* ctx) {
  return static_cast<Session*>(sqlite3_user_data(ctx));
}

void fail(sqlite3_context* ctx, const OraError& e) {
  sessionOf(ctx)->values().setPendingError(e);
  sqlite3_result_error(ctx, e.message().c_str(), -1);
}

std::string_view bytesOf(sqlite3_value* v) {
  const void* p = sqlite3_value_blob(v);
  return std::string_view(static_cast<const char*>(p), static_cast<size_t>(sqlite3_value_bytes(v)));
}

// An SQL argument as a Value: integers of a DATE stay integers (fitting
// gives them their kind); text of no characters is an empty CLOB.
Value valueOf(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
      return Value();
    case SQLITE_INTEGER:
      return Value::integer(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
      return Value::real(sqlite3_value_double(v));
    case SQLITE_BLOB:
      return Value::raw(std::string(bytesOf(v)));
    default: {
      const unsigned char* p = sqlite3_value_text(v);
      std::string text(reinterpret_cast<const char*>(p),
                       static_cast<size_t>(sqlite3_value_bytes(v)));
      return text.empty() ? Value::emptyClob() : Value::text(std::move(text));
    }
  }
}

void result(sqlite3_context* ctx, const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Null:
      return sqlite3_result_null(ctx);
    case Value::Kind::Integer:
    case Value::Kind::Date:
      return sqlite3_result_int64(ctx, v.asInteger());
    case Value::Kind::Double:
      return sqlite3_result_double(ctx, v.asDouble());
    case Value::Kind::Text:
      return sqlite3_result_text(ctx, v.asText().data(), static_cast<int>(v.asText().size()),
                                 SQLITE_TRANSIENT);
    case Value::Kind::Raw:
      return sqlite3_result_blob(ctx, v.asText().data(), static_cast<int>(v.asText().size()),
                                 SQLITE_TRANSIENT);
  }
}

const TypeInfo& typeOf(sqlite3_context* ctx, sqlite3_value* obj) {
  const TypeInfo* t = sessionOf(ctx)->catalog()->typeById(sqlite3_value_int64(obj));
  if (!t) raiseOra(4063, {"type"});
  return *t;
}

template <class Body>
void guarded(sqlite3_context* ctx, Body&& body) {
  try {
    body();
  } catch (const OraError& e) {
    fail(ctx, e);
  }
}

// vorn_obj(type, a1, ..., an): a constructor's object.
void objectFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  guarded(ctx, [&] {
    const TypeInfo& type = typeOf(ctx, argv[0]);
    if (static_cast<size_t>(argc - 1) != type.attributes.size()) raiseOra(2315);
    std::vector<Value> values;
    for (int i = 1; i < argc; ++i)
      values.push_back(
          fitToType(valueOf(argv[i]), type.attributes[static_cast<size_t>(i - 1)].type));
    result(ctx, objectBytes(encodeObject(values)));
  });
}

// vorn_coll(type, e1, ..., en): a constructor's collection.
void collectionFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  guarded(ctx, [&] {
    const TypeInfo& type = typeOf(ctx, argv[0]);
    if (type.kind == TypeInfo::Kind::Varray && argc - 1 > type.limit) raiseOra(22909);
    std::vector<Value> values;
    for (int i = 1; i < argc; ++i)
      values.push_back(fitToType(valueOf(argv[i]), type.element));
    result(ctx, objectBytes(encodeCollection(values)));
  });
}

// vorn_attr(object, i): attribute i (0-based); NULL for a NULL object.
void attributeFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  guarded(ctx, [&] {
    std::vector<Value> values;
    int64_t i = sqlite3_value_int64(argv[1]);
    if (!decodeObject(bytesOf(argv[0]), values) || i < 0 ||
        i >= static_cast<int64_t>(values.size())) {
      raiseOra(22806);
    }
    result(ctx, values[static_cast<size_t>(i)]);
  });
}

// vorn_attr_set(object, i, value, type): the object with attribute i
// replaced; an attribute of a NULL object has nowhere to go (ORA-22806).
void setAttributeFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) raiseOra(22806);
    const TypeInfo& type = typeOf(ctx, argv[3]);
    std::vector<Value> values;
    int64_t i = sqlite3_value_int64(argv[1]);
    if (!decodeObject(bytesOf(argv[0]), values) || i < 0 ||
        i >= static_cast<int64_t>(values.size()) || values.size() != type.attributes.size()) {
      raiseOra(22806);
    }
    values[static_cast<size_t>(i)] =
        fitToType(valueOf(argv[2]), type.attributes[static_cast<size_t>(i)].type);
    result(ctx, objectBytes(encodeObject(values)));
  });
}

// vorn_udt_fit(value, type): a value stored into a column of a user-defined
// type.
void fitFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  guarded(ctx,
          [&] { result(ctx, fitToType(valueOf(argv[0]), userDefinedType(typeOf(ctx, argv[1])))); });
}

// vorn_ref(table, oid): the REF of a row object.
void refFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[1]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  RefValue ref{sqlite3_value_int64(argv[0]), std::string(bytesOf(argv[1]))};
  std::string bytes = encodeRef(ref);
  sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

RefValue refOf(sqlite3_value* v) {
  RefValue ref;
  if (sqlite3_value_type(v) != SQLITE_BLOB || !decodeRef(bytesOf(v), ref)) raiseOra(22880);
  return ref;
}

// vorn_ref_table(ref), vorn_ref_oid(ref): where a REF points.
void refTableFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  guarded(ctx, [&] { sqlite3_result_int64(ctx, refOf(argv[0]).table); });
}

void refOidFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  guarded(ctx, [&] {
    RefValue ref = refOf(argv[0]);
    sqlite3_result_blob(ctx, ref.oid.data(), static_cast<int>(ref.oid.size()), SQLITE_TRANSIENT);
  });
}

// vorn_ref_fit(ref, type, scope): a REF stored into a REF column: it must
// point into an object table of the column's type (ORA-00932), and into the
// scope table when the column has one (ORA-22889).
void refFitFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  guarded(ctx, [&] {
    RefValue ref = refOf(argv[0]);
    const TypeInfo& type = typeOf(ctx, argv[1]);
    int64_t scope = sqlite3_value_int64(argv[2]);
    if (scope && ref.table != scope) raiseOra(22889);
    const TableInfo* table = sessionOf(ctx)->catalog()->tableById(ref.table);
    if (table && table->ofType && table->ofType->obj != type.obj) {
      raiseOra(932, {"REF " + type.qualifiedName(), "REF " + table->ofType->qualifiedName()});
    }
    sqlite3_result_value(ctx, argv[0]);
  });
}

// Equality of two objects as Oracle compares objects without a MAP method:
// attribute by attribute; NULL when an attribute pair is NULL and no other
// pair differs.
int compareEqual(const std::vector<Value>& a, const std::vector<Value>& b) {
  if (a.size() != b.size()) return 0;
  int result = 1;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].isNull() || b[i].isNull()) {
      result = -1;
      continue;
    }
    std::vector<Value> x, y;
    if (a[i].kind() == Value::Kind::Raw && decodeObject(a[i].asText(), x) &&
        decodeObject(b[i].asText(), y)) {
      int nested = compareEqual(x, y);
      if (nested == 0) return 0;
      if (nested < 0) result = -1;
      continue;
    }
    bool same =
        a[i].isNumber() && b[i].isNumber() ? a[i].asDouble() == b[i].asDouble() : a[i] == b[i];
    if (!same) return 0;
  }
  return result;
}

void objectEqualFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    return sqlite3_result_null(ctx);
  }
  std::vector<Value> a, b;
  if (!decodeObject(bytesOf(argv[0]), a) || !decodeObject(bytesOf(argv[1]), b)) {
    return sqlite3_result_int(ctx, bytesOf(argv[0]) == bytesOf(argv[1]));
  }
  int r = compareEqual(a, b);
  if (r < 0) return sqlite3_result_null(ctx);
  sqlite3_result_int(ctx, r);
}

}  // namespace

void registerObjectFunctions(sqlite3* db, Session* session) {
  struct Fn {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
  };
  static const Fn kFunctions[] = {
      {"vorn_obj", -1, objectFn},        {"vorn_coll", -1, collectionFn},
      {"vorn_attr", 2, attributeFn},     {"vorn_attr_set", 4, setAttributeFn},
      {"vorn_udt_fit", 2, fitFn},        {"vorn_ref", 2, refFn},
      {"vorn_ref_table", 1, refTableFn}, {"vorn_ref_oid", 1, refOidFn},
      {"vorn_ref_fit", 3, refFitFn},     {"vorn_obj_eq", 2, objectEqualFn},
  };
  for (const Fn& f : kFunctions) {
    if (sqlite3_create_function_v2(db, f.name, f.args, SQLITE_UTF8 | SQLITE_DETERMINISTIC, session,
                                   f.fn, nullptr, nullptr, nullptr) != SQLITE_OK) {
      raiseOra(600, {"vorn-register", f.name});
    }
  }
}

}  // namespace vorn::server
