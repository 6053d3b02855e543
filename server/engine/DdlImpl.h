// Internals of the DDL executor shared by Ddl.cpp (dispatch, shared helpers,
// sequences, synonyms, indexes, users, DROP) and DdlTable.cpp (tables and
// their constraints); see Ddl.h.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/Catalog.h"
#include "engine/Compiler.h"
#include "engine/Session.h"

namespace vorn::server::ddl {

// A column as SYS.COL$ stores it.
struct ColumnRow {
  std::string name;
  std::string type;
  int64_t length = 0;
  bool hasPrecision = false;
  int64_t precision = 0;
  bool hasScale = false;
  int64_t scale = 0;
  std::string defaultText;
};

ColumnRow columnRow(const std::string& name, const TypeSpec& t);
ColumnRow columnRow(const std::string& name, const OraType& t);

class Ddl {
 public:
  explicit Ddl(Session& s) : s_(s), db_(s.mainConnection().db) {
    cat_ = s.catalog();
    now_ = s.values().sysdate();
  }

  void run(Stmt& stmt);

 private:
  void dispatch(Stmt& stmt);

  // ---- helpers -----------------------------------------------------------

  // Runs SQL of this statement; an error of an ora_* function inside it
  // (a default that does not fit a column) is reported as itself.
  void exec(const std::string& sql);
  std::string ownerOf(const std::vector<std::string>& name, int pos);
  void checkFree(const std::string& owner, const std::string& name, int pos);
  int64_t addObject(const std::string& owner, const std::string& name, const std::string& type);
  void touch(int64_t obj);
  void insertColumn(int64_t obj, int colNo, const ColumnRow& r, bool nullable);
  void setNullable(int64_t obj, const std::string& column, bool nullable);
  std::string constraintName(const std::string& owner, const ConstraintDef& c,
                             std::set<std::string>& taken);
  std::string catalogPropertyOr(const std::string& name, const std::string& fallback);
  CompileContext context();
  struct NewConstraint {
    std::string name;
    char type;
    std::vector<int> columns;
    std::string search;
    std::string rOwner, rName;
    std::string deleteRule;
    bool enabled = true;
    bool generated = false;
    int notNullColumn = -1;
  };

  // Resolves a constraint definition against `t` (whose columns are final).
  NewConstraint resolveConstraint(const TableInfo& t, const ConstraintDef& def, int inlineColumn,
                                  std::set<std::string>& taken,
                                  const std::vector<NewConstraint>& siblings);
  void storeConstraint(const TableInfo& t, const NewConstraint& c);
  void storeIndex(const TableInfo& t, int64_t obj, const std::string& name, bool unique,
                  const std::vector<int>& columns, const std::string& constraint);

  // Checks existing rows against a constraint being added or enabled.
  void validate(const TableInfo& t, const NewConstraint& c);
  const TableInfo& table(const std::vector<std::string>& name, int pos);

  // Reloads the catalog inside this transaction (multi-step statements).
  // Earlier snapshots stay alive: callers still hold references into them.
  void reload();

  // ---- CREATE TABLE ------------------------------------------------------

  void createTable(CreateTableStmt& st);

  // ---- CREATE VIEW -------------------------------------------------------

  void createView(CreateViewStmt& st);

  // ---- sequences -----------------------------------------------------------

  static void normalize(SequenceOptions& o, int pos);
  void createSequence(CreateSequenceStmt& st);
  void alterSequence(AlterSequenceStmt& st);

  // ---- synonyms and indexes ------------------------------------------------

  void createSynonym(CreateSynonymStmt& st);
  void createDirectory(CreateDirectoryStmt& st);
  void dropDirectory(const std::string& name, int pos);
  void createIndex(CreateIndexStmt& st);

  // ---- users -----------------------------------------------------------------

  void createUser(UserStmt& st);
  void alterUser(UserStmt& st);

  // ---- ALTER TABLE ---------------------------------------------------------

  const ConstraintInfo* findConstraintOf(const TableInfo& t, const AlterTableAction& a);
  void dropConstraint(const TableInfo& t, const ConstraintInfo& c);
  void dropIndexObject(const IndexInfo& idx);

  // NULLABLE follows the enabled NOT NULL and primary key constraints.
  void refreshNullability(const TableInfo& t);
  void alterTable(AlterTableStmt& st);
  void setStatus(const ConstraintInfo& c, bool enabled);
  bool hasRows(const TableInfo& t, const std::string& where = "");
  void addColumns(const TableInfo& t, AlterTableAction& a);
  void modifyColumns(const TableInfo& t, AlterTableAction& a);
  void dropColumns(const TableInfo& t, AlterTableAction& a);

  // ---- user-defined types (DdlTypes.cpp) -------------------------------------

  const TypeInfo& namedType(const TypeSpec& ts, const std::string& schema);
  // The type (and REF scope) of a column declared with a user-defined type.
  void userColumn(const TypeSpec& ts, ColumnInfo& col);
  int64_t scopeTable(const std::vector<std::string>& name, const TypeInfo& type, int pos);
  void recordTypedColumns(const TableInfo& t, const CreateTableStmt& st);
  void recordAddedColumn(const TableInfo& t, const ColumnDef& d);
  void createObjectTable(CreateTableStmt& st);
  void createType(CreateTypeStmt& st);
  bool hasTypeDependents(const TypeInfo& type);
  void dropType(const TypeInfo& type, bool force, int pos);
  // Removes what the type tables know of a dropped table.
  void forgetTypedTable(int64_t obj);

  // ---- DROP and TRUNCATE -----------------------------------------------------

  void deleteObject(int64_t obj);
  void dropTable(const TableInfo& t, bool cascade, int pos);
  void drop(DropStmt& st);
  void truncate(TruncateStmt& st);
  Session& s_;
  sqlite3* db_;
  std::shared_ptr<const Catalog> cat_;
  std::vector<std::shared_ptr<const Catalog>> kept_;
  int64_t now_ = 0;
};

}  // namespace vorn::server::ddl
