// Row objects read and written by REF; see ObjectStore.h.
#include "engine/ObjectStore.h"

#include <random>

#include "engine/Catalog.h"
#include "engine/Database.h"
#include "engine/Marshalling.h"
#include "engine/Session.h"
#include "engine/Sqlite.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace vorn::server {

namespace {

std::string quotedName(const TableInfo& t) {
  return "\"" + t.owner + "\".\"" + t.name + "\"";
}

Value oidValue(const RefValue& ref) {
  return Value::raw(ref.oid);
}

// The SQLite rowid of the row object, 0 when there is none.
int64_t rowOf(Session& session, const TableInfo& t, const RefValue& ref) {
  Session::Connection& conn =
      session.hasUncommittedChanges() ? session.mainConnection() : session.readConnection();
  Borrowed stmt(
      session, conn,
      "SELECT rowid FROM " + t.sqlName() + " WHERE " + quoteIdent(kObjectIdColumn) + " = ?1");
  sqlite3_bind_blob(stmt.get(), 1, ref.oid.data(), static_cast<int>(ref.oid.size()), SQLITE_STATIC);
  int64_t rowid = stepRow(session, conn.db, stmt.get()) ? sqlite3_column_int64(stmt.get(), 0) : 0;
  sqlite3_reset(stmt.get());
  return rowid;
}

// Binds an attribute value by its declared type.
void bindAttribute(Statement& st, int position, const Value& v, const OraType& type) {
  if (type.isUserDefined()) {
    st.bindTyped(position, v, type);
  } else {
    st.bind(position, v, type.kind);
  }
}

}  // namespace

const TableInfo& objectTableOf(const Catalog& catalog, const RefValue& ref) {
  const TableInfo* t = catalog.tableById(ref.table);
  if (!t || !t->ofType || t->invalid || ref.oid.size() != kObjectIdBytes) raiseOra(22880);
  return *t;
}

RefValue newObjectRef(const TableInfo& table) {
  static std::mutex mutex;
  static std::mt19937_64 generator{std::random_device{}()};
  std::lock_guard<std::mutex> lock(mutex);
  RefValue ref;
  ref.table = table.obj;
  for (int i = 0; i < 2; ++i) {
    uint64_t v = generator();
    for (int k = 0; k < 8; ++k, v >>= 8)
      ref.oid += static_cast<char>(v & 0xFF);
  }
  return ref;
}

std::optional<Value> loadObject(Session& session, const RefValue& ref, ObjectLock lock) {
  const TableInfo& t = objectTableOf(*session.catalog(), ref);
  std::string sql =
      "SELECT VALUE(t) FROM " + quotedName(t) + " t WHERE t." + kObjectIdColumn + " = :1";
  if (lock == ObjectLock::Wait) sql += " FOR UPDATE";
  if (lock == ObjectLock::NoWait) sql += " FOR UPDATE NOWAIT";
  auto st = session.prepare(sql);
  st->bind(1, oidValue(ref));
  st->execute();
  if (!st->fetch()) return std::nullopt;
  return st->value(0);
}

void insertObject(Session& session, const RefValue& ref, const Value& object) {
  const TableInfo& t = objectTableOf(*session.catalog(), ref);
  auto st = session.prepare("INSERT INTO " + quotedName(t) + " VALUES (:1)");
  st->bindTyped(1, object, userDefinedType(*t.ofType));
  st->execute();
  // The row takes the identifier its REF already names.
  const auto& rowid = st->lastRowid();
  if (!rowid) raiseOra(600, {"object insert", "no row"});
  SqlStatement fix(
      session.mainConnection().db,
      "UPDATE " + t.sqlName() + " SET " + quoteIdent(kObjectIdColumn) + " = ?1 WHERE rowid = ?2");
  sqlite3_bind_blob(fix.handle(), 1, ref.oid.data(), static_cast<int>(ref.oid.size()),
                    SQLITE_TRANSIENT);
  fix.bind(2, sqliteRowid(*rowid));
  fix.run();
}

void updateObject(Session& session, const RefValue& ref, const Value& object) {
  const TableInfo& t = objectTableOf(*session.catalog(), ref);
  std::vector<Value> attributes;
  if (!decodeObject(object.asText(), attributes) || attributes.size() != t.columns.size()) {
    raiseOra(932, {t.ofType->qualifiedName(), "BINARY"});
  }
  std::string sql = "UPDATE " + quotedName(t) + " t SET ";
  for (size_t i = 0; i < t.columns.size(); ++i) {
    sql += (i ? ", \"" : "\"") + t.columns[i].name + "\" = :" + std::to_string(i + 1);
  }
  sql += " WHERE t." + std::string(kObjectIdColumn) + " = :" + std::to_string(t.columns.size() + 1);
  auto st = session.prepare(sql);
  for (size_t i = 0; i < t.columns.size(); ++i)
    bindAttribute(*st, static_cast<int>(i + 1), attributes[i], t.columns[i].type);
  st->bind(static_cast<int>(t.columns.size() + 1), oidValue(ref));
  if (st->execute() == 0) raiseOra(21700);
}

void deleteObject(Session& session, const RefValue& ref) {
  const TableInfo& t = objectTableOf(*session.catalog(), ref);
  auto st =
      session.prepare("DELETE FROM " + quotedName(t) + " t WHERE t." + kObjectIdColumn + " = :1");
  st->bind(1, oidValue(ref));
  st->execute();
}

bool objectRowLocked(Session& session, const RefValue& ref) {
  const TableInfo& t = objectTableOf(*session.catalog(), ref);
  int64_t rowid = rowOf(session, t, ref);
  return rowid != 0 && session.database().locks().holdsRow(&session, t.obj, rowid);
}

}  // namespace vorn::server
