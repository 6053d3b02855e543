// The session's cache of dictionary information about the tables its
// datasets update: owner and name, columns, constraints and column
// defaults, read from the data dictionary once per table and shared by all
// datasets of the session over the same table name.
//
// TableInfoOf(session, name) finds (or adds) the entry of an updating table
// name, compared without regard to case; the list lives in the session's
// TableInfoList slot as long as the session. Each part of an entry is
// loaded on first use and kept:
//   - owner and table: the name resolved through the user's tables and
//     synonyms (a name "OWNER.TABLE" is taken as written);
//   - constraints: the named constraints of the table (unnamed SYS_C ones
//     are left to the server), each with its columns in key order; the
//     details of one constraint (kind, referenced key, check condition) on
//     its first check. Only enabled constraints are checked;
//   - columns: name, type code, precision and scale of each column, from a
//     description of "select * from <table>";
//   - defaults: the default expression of each column, evaluated once (or
//     for every new record, when the dataset asks for dynamic defaults).
// Every lookup runs on the entry's own query on the session; failures
// propagate as EOracleError, except the column description, whose failure
// leaves the list empty and only shows its message.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vorn/host/Collection.h"
#include "vorn/host/Variant.h"

namespace vorn {

class TOracleQuery;
class TOracleSession;
class TOracleTableInfo;

class TOracleColumnInfo : public TCollectionItem {
  VORN_CLASS(TOracleColumnInfo, TCollectionItem)
  explicit TOracleColumnInfo(TCollection* collection) : TCollectionItem(collection) {}

  std::string ColumnName;
  // The buffer type code of the column (otInteger, otFloat, otString, ...).
  int DataType = 0;
  int Precision = 0;
  int Scale = 0;
  // Empty when the column has no default.
  std::string DefaultExpression;
  // Null until the default is evaluated.
  Variant DefaultValue = Variant::MakeNull();
};

enum TConstraintKind {
  ckUnknown = 0,
  ckPrimaryKey = 1,
  ckUnique = 2,
  ckForeignKey = 3,
  ckCheck = 4,
};

class TOracleConstraintInfo : public TCollectionItem {
  VORN_CLASS(TOracleConstraintInfo, TCollectionItem)
  explicit TOracleConstraintInfo(TCollection* collection) : TCollectionItem(collection) {}

  // The table the constraint belongs to.
  TOracleTableInfo& TableInfo() const;

  std::string ConstraintName;
  // The constrained columns, in key order.
  std::vector<std::string> Columns;
  // The details below are valid once LoadDetails has run.
  TConstraintKind Kind = ckUnknown;
  std::string ReferencedOwner;
  std::string ReferencedTable;
  std::vector<std::string> ReferencedColumns;
  // A check constraint's condition, its columns turned into bind variables
  // (CheckCondition.h).
  std::string SearchCondition;
  bool DetailsLoaded = false;
  // The dictionary has the constraint, enabled: only then is it checked.
  bool Enabled = false;

  // Reads the details once; answers Enabled.
  bool LoadDetails();
};

class TOracleTableInfo : public TCollectionItem {
  VORN_CLASS(TOracleTableInfo, TCollectionItem)
  explicit TOracleTableInfo(TCollection* collection);
  ~TOracleTableInfo() override;

  TOracleSession& Session() const;

  // The updating table name as the datasets write it (used in generated
  // statements).
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // The resolved owner and table; empty when the name resolves to nothing.
  const std::string& Owner();
  const std::string& TableName();

  TTypedCollection<TOracleConstraintInfo>& Constraints();
  TTypedCollection<TOracleColumnInfo>& Columns();
  // The column of that name (ignoring case); nullptr when there is none.
  TOracleColumnInfo* FindColumn(const std::string& name);

  // Reads the default expressions once and evaluates them when they were
  // never evaluated or `evaluateAgain` is set. False when the table has no
  // defaults.
  bool EvaluateDefaults(bool evaluateAgain);

  // The entry's own query, on the session.
  TOracleQuery& Query();

 private:
  void Resolve();
  void LoadConstraints();
  void LoadColumns();
  void LoadDefaultExpressions();

  std::string name_;
  std::string owner_;
  std::string tableName_;
  bool resolved_ = false;
  std::unique_ptr<TTypedCollection<TOracleConstraintInfo>> constraints_;
  bool constraintsLoaded_ = false;
  std::unique_ptr<TTypedCollection<TOracleColumnInfo>> columns_;
  bool columnsLoaded_ = false;
  bool defaultsLoaded_ = false;
  bool defaultsEvaluated_ = false;
  bool noDefaults_ = false;
  std::unique_ptr<TOracleQuery> query_;
};

// The session's list of table information.
class TOracleTableInfoList : public TTypedCollection<TOracleTableInfo> {
  VORN_CLASS(TOracleTableInfoList, TCollection)
  explicit TOracleTableInfoList(TOracleSession& session);

  TOracleSession& Session() const { return session_; }
  // The entry of `tableName` (ignoring case), added when there is none.
  TOracleTableInfo& Find(const std::string& tableName);

 private:
  TOracleSession& session_;
};

// The entry of `tableName` in the session's list, which is made on first
// use. Raises vorn::Exception "Session undefined" without a session.
TOracleTableInfo& TableInfoOf(TOracleSession* session, const std::string& tableName);

}  // namespace vorn
