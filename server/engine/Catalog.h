// The catalog: what the database holds (users, tables, views, columns with
// their Oracle types, constraints as written, sequences, synonyms, indexes,
// object numbers). It lives in the database file itself, in SYS-owned base
// tables ("SYS.OBJ$", "SYS.COL$", ... in SQLite), which the catalog also
// describes, so that the dictionary views are ordinary SYS views over them.
//
// A Catalog object is an immutable in-memory snapshot of the committed
// catalog; every DDL statement commits and publishes a new snapshot with a
// higher version (Database::catalog()). Sessions keep the snapshot their
// statement was compiled against.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/ObjectTypes.h"
#include "engine/Types.h"

struct sqlite3;

namespace vorn::server {

struct ColumnInfo {
  std::string name;
  OraType type;             // type.nullable is false under an enabled NOT NULL constraint
  std::string defaultText;  // DEFAULT as written, empty when none
  int id = 0;               // COLUMN_ID, 1-based
  int64_t refScope = 0;     // a REF column's SCOPE IS table (object number), 0 when none
};

struct ConstraintInfo {
  std::string owner;
  std::string name;
  char type = 'C';  // P, U, R, C
  int64_t tableObj = 0;
  std::vector<int> columns;     // column indexes (0-based) in the table, in key order
  std::string searchCondition;  // C: as written ("ENAME" IS NOT NULL for NOT NULL)
  int notNullColumn = -1;       // C: the column of a NOT NULL constraint
  std::string rOwner, rName;    // R: the referenced key
  std::string deleteRule;       // R: NO ACTION, CASCADE, SET NULL
  bool enabled = true;
  bool generatedName = false;
};

struct TableInfo {
  int64_t obj = 0;
  std::string owner;
  std::string name;
  bool isView = false;
  std::vector<ColumnInfo> columns;
  std::string viewText;  // views: the query as written
  std::vector<const ConstraintInfo*> constraints;
  // Enabled or disabled foreign keys of other tables that reference this one.
  std::vector<const ConstraintInfo*> referencedBy;
  // An object table: its rows are objects of this type (ObjectTypes.h).
  const TypeInfo* ofType = nullptr;
  // An object table whose type was dropped with FORCE: it cannot be used.
  bool invalid = false;

  std::string sqlName() const;                      // the SQLite table, quoted
  int findColumn(const std::string& column) const;  // -1 when absent
};

struct SequenceInfo {
  int64_t obj = 0;
  std::string owner, name;
  double minValue = 1, maxValue = 1e27, increment = 1;
  bool cycle = false, order = false;
  int cache = 20;
  double lastNumber = 1;  // as stored: the next number not yet handed out
};

struct SynonymInfo {
  int64_t obj = 0;
  std::string owner, name;  // owner PUBLIC for public synonyms
  std::string targetOwner, targetName, dblink;
};

struct IndexInfo {
  int64_t obj = 0;
  std::string owner, name;
  int64_t tableObj = 0;
  bool unique = false;
  std::vector<std::string> columns;
  std::string constraintName;  // the constraint it backs, if any
};

struct UserInfo {
  int64_t id = 0;
  std::string name;
  std::string password;
  std::string status;  // OPEN, LOCKED, EXPIRED, EXPIRED(GRACE)
  int graceDays = 0;
  bool external = false;
  int64_t created = 0;  // DATE seconds
};

// A stored procedure, function or package with its source as USER_SOURCE
// shows it (from the PROCEDURE/FUNCTION keyword on, lines joined).
struct StoredCodeInfo {
  int64_t obj = 0;
  std::string owner, name;
  std::string type;    // PROCEDURE, FUNCTION, PACKAGE
  std::string status;  // VALID or INVALID
  std::string source;
};

// Kinds of schema objects sharing one namespace per schema.
enum class ObjectType { Table, View, Sequence, Synonym, Procedure, Function, Package, Type };

struct ObjectRef {
  ObjectType type = ObjectType::Table;
  const void* info = nullptr;  // TableInfo, SequenceInfo, SynonymInfo, StoredCodeInfo, TypeInfo
  const TableInfo* table() const { return static_cast<const TableInfo*>(info); }
  const StoredCodeInfo* storedCode() const { return static_cast<const StoredCodeInfo*>(info); }
  const SequenceInfo* sequence() const { return static_cast<const SequenceInfo*>(info); }
  const SynonymInfo* synonym() const { return static_cast<const SynonymInfo*>(info); }
  const TypeInfo* userType() const { return static_cast<const TypeInfo*>(info); }
};

class Catalog {
 public:
  // Reads the whole catalog from `db` (base tables must exist).
  static std::shared_ptr<const Catalog> load(sqlite3* db, int64_t version);

  int64_t version() const { return version_; }

  const UserInfo* findUser(const std::string& name) const;
  const std::map<std::string, UserInfo>& users() const { return users_; }
  // An object of `owner` named `name` (no synonym translation).
  const ObjectRef* findObject(const std::string& owner, const std::string& name) const;
  const TableInfo* tableById(int64_t obj) const;
  const SequenceInfo* sequenceById(int64_t obj) const;
  const TypeInfo* typeById(int64_t obj) const;
  // The object tables whose rows are objects of type `typeObj`.
  std::vector<const TableInfo*> objectTablesOf(int64_t typeObj) const;
  // A user-defined type named `name` (one or two parts) as `user` sees it;
  // null when there is none.
  const TypeInfo* findType(const std::string& user, const std::vector<std::string>& name) const;
  const ConstraintInfo* findConstraint(const std::string& owner, const std::string& name) const;
  const IndexInfo* findIndex(const std::string& owner, const std::string& name) const;
  // The path of directory `name` (CREATE DIRECTORY), null when there is none.
  const std::string* findDirectory(const std::string& name) const;
  std::vector<const IndexInfo*> indexesOf(int64_t tableObj) const;
  // All objects of a user (DROP USER CASCADE).
  std::vector<const ObjectRef*> objectsOf(const std::string& owner) const;

  // Translates synonyms (private of `owner`, then PUBLIC when `owner` has no
  // object of that name) into the object they stand for. `name` has one or
  // two parts. Returns null when nothing of that name exists; raises
  // ORA-01775 for a looping chain and ORA-00980 for a synonym whose target
  // is gone.
  const ObjectRef* resolve(const std::string& sessionUser, const std::vector<std::string>& name,
                           std::string* resolvedOwner = nullptr) const;

 private:
  int64_t version_ = 0;
  std::map<std::string, UserInfo> users_;
  std::map<std::string, ObjectRef> objects_;  // "OWNER\x1fNAME"
  std::map<int64_t, std::unique_ptr<TableInfo>> tables_;
  std::vector<std::unique_ptr<SequenceInfo>> sequences_;
  std::map<int64_t, const SequenceInfo*> sequencesById_;
  std::vector<std::unique_ptr<SynonymInfo>> synonyms_;
  std::map<int64_t, std::unique_ptr<StoredCodeInfo>> storedCode_;
  std::map<std::string, std::unique_ptr<ConstraintInfo>> constraints_;
  std::map<std::string, std::unique_ptr<IndexInfo>> indexes_;
  std::map<std::string, std::string> directories_;  // name -> path
  std::map<int64_t, std::unique_ptr<TypeInfo>> types_;

  // ObjectTypes.cpp: the types (after the objects are known), then the
  // columns of user-defined types and the object tables (after COL$).
  void loadTypes(sqlite3* db);
  void loadTypedTables(sqlite3* db);
};

// The type a SYS.COL$ or SYS.ATTR$ row describes (a built-in type; a
// user-defined one is resolved by its object number afterwards).
OraType typeFromDictionary(const std::string& type, int64_t length, bool hasPrecision,
                           int64_t precision, bool hasScale, int64_t scale);

// Creates the catalog base tables in a new database file and describes
// them in the catalog itself (SYS.OBJ$, SYS.COL$, ...), with users SYS and
// SYSTEM and the table SYS.DUAL. Runs inside the caller's transaction.
void createCatalogTables(sqlite3* db);

// Helpers for writing the catalog (callers run them in a write transaction).
int64_t nextObjectNumber(sqlite3* db);
std::string catalogProperty(sqlite3* db, const std::string& name);
void setCatalogProperty(sqlite3* db, const std::string& name, const std::string& value);

}  // namespace vorn::server
