// The syntax tree of the Oracle dialect, as the parser builds it. Every node
// keeps the character offset of its first token so that name errors found
// later (ORA-00904, ORA-00942) point into the statement text. Analysis
// (Analyzer.h) annotates expressions in place with their Oracle types and
// resolved references; the tree is otherwise immutable once parsed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Types.h"

namespace vorn::server {

struct Expr;
struct Query;
using ExprPtr = std::unique_ptr<Expr>;
using QueryPtr = std::unique_ptr<Query>;

enum class ExprKind {
  Null,         // NULL
  Number,       // numeric literal; text as written
  String,       // text literal; text is the value ('' gives kind Null)
  DateLiteral,  // DATE 'yyyy-mm-dd'
  Bind,         // :name; bindSlot is its occurrence number (0-based)
  Name,         // a[.b[.c]]: column, pseudo column, sequence value, function without ()
  Star,         // * in COUNT(*)
  Negate,       // - arg0
  Arith,        // arg0 op arg1, op in + - * /
  Concat,       // arg0 || arg1
  Compare,      // arg0 op arg1, op in = <> < > <= >=
  And,          // args
  Or,           // args
  Not,          // NOT arg0
  IsNull,       // arg0 IS [NOT] NULL
  Between,      // arg0 [NOT] BETWEEN arg1 AND arg2
  InList,       // arg0 [NOT] IN (arg1, ...)
  InQuery,      // arg0 [NOT] IN (query); arg0 may be a Row
  Like,         // arg0 [NOT] LIKE arg1 [ESCAPE arg2]
  Exists,       // [NOT] EXISTS (query)
  Quantified,   // arg0 op ANY|ALL (list in args[1..] or query)
  Case,         // CASE [operand] WHEN .. THEN .. [ELSE ..] END; see caseOperand
  Function,     // name(args); distinct for aggregates
  ScalarQuery,  // (query)
  Row,          // (a, b, ...) on the left of IN
};

// What an analysed Name refers to.
enum class RefKind {
  None,
  Column,  // a column of a FROM source
  Rowid,   // the ROWID of a FROM source
  Rownum,
  Sysdate,
  User,
  Uid,
  Level,
  SeqNextval,  // sequence NEXTVAL
  SeqCurrval,
  Local,       // a caller-supplied named value (PL/SQL locals)
  OuterColumn  // a column of an enclosing query (correlated)
};

struct Expr {
  ExprKind kind = ExprKind::Null;
  int pos = 0;                     // offset of the first token
  int end = 0;                     // offset just after the last token
  std::string text;                // literal, operator, function name, bind name
  std::vector<std::string> names;  // Name parts, as resolved case (quoted kept)
  std::vector<ExprPtr> args;
  QueryPtr query;
  bool negated = false;         // NOT BETWEEN / NOT IN / NOT LIKE / IS NOT NULL / NOT EXISTS
  bool distinct = false;        // aggregate DISTINCT
  bool outerJoin = false;       // column followed by (+)
  bool hasCaseOperand = false;  // simple CASE: args[0] is the operand
  bool hasElse = false;         // CASE with ELSE: last arg
  bool quantAll = false;        // Quantified: ALL (else ANY/SOME)
  int bindSlot = -1;

  // Filled in by analysis.
  OraType type;
  RefKind ref = RefKind::None;
  int source = -1;                 // FROM source index in the block (Column, Rowid)
  int column = -1;                 // column index in that source
  int depth = 0;                   // 0 = own block, n = n levels out (correlated)
  const void* sequence = nullptr;  // SequenceInfo for SeqNextval/SeqCurrval
  bool aggregate = false;          // Function that is an aggregate
  std::string sql;                 // the generated SQL (group-by matching)

  Expr() = default;
  Expr(ExprKind k, int p) : kind(k), pos(p), end(p) {}
};

struct SelectItem {
  ExprPtr expr;  // null for * and t.*
  bool star = false;
  std::vector<std::string> starQualifier;  // t.* or s.t.*
  std::string alias;                       // empty when none
  std::string label;                       // the expression's text as Oracle names the column
  int pos = 0;
};

enum class JoinType { None, Inner, Left, Right, Full, Cross };

struct FromItem {
  enum Kind { Table, Subquery, Join } kind = Table;
  int pos = 0;
  std::vector<std::string> name;  // [schema,] object
  std::string dblink;             // @link (rejected by analysis)
  std::string alias;
  QueryPtr query;                  // Subquery
  JoinType join = JoinType::None;  // Join
  std::unique_ptr<FromItem> left, right;
  ExprPtr on;
  std::vector<std::string> usingColumns;
};
using FromPtr = std::unique_ptr<FromItem>;

struct OrderItem {
  ExprPtr expr;
  bool desc = false;
  int nulls = 0;  // 0 default, 1 NULLS FIRST, 2 NULLS LAST
};

struct ForUpdate {
  std::vector<ExprPtr> columns;  // OF ...
  int wait = -1;                 // -1 default wait, 0 NOWAIT, n seconds
  int pos = 0;
};

enum class SetOp { None, Union, UnionAll, Intersect, Minus };

// A query: one SELECT block, or two queries joined by a set operator; the
// ORDER BY and FOR UPDATE clauses belong to the whole query.
struct Query {
  int pos = 0;
  SetOp op = SetOp::None;
  QueryPtr left, right;  // set operation
  // SELECT block
  bool distinct = false;
  std::vector<SelectItem> items;
  std::vector<FromPtr> from;
  ExprPtr where;
  std::vector<ExprPtr> groupBy;
  ExprPtr having;
  std::vector<ExprPtr> connectBy;  // unsupported; kept to report ORA errors
  std::vector<OrderItem> orderBy;
  std::unique_ptr<ForUpdate> forUpdate;
  bool parenthesized = false;
};

// ---------------------------------------------------------------------------
// Statements

enum class StmtKind {
  Select,
  Insert,
  Update,
  Delete,
  CreateTable,
  CreateView,
  CreateSequence,
  CreateSynonym,
  CreateIndex,
  CreateUser,
  CreateDirectory,
  CreateType,
  CreateStoredCode,
  AlterTable,
  AlterUser,
  AlterSession,
  AlterSequence,
  AlterOther,
  Drop,
  Truncate,
  Grant,
  Revoke,
  Comment,
  Commit,
  Rollback,
  Savepoint,
  SetTransaction,
  LockTable,
  PlsqlBlock,
};

struct Stmt {
  StmtKind kind;
  int pos = 0;
  explicit Stmt(StmtKind k) : kind(k) {}
  virtual ~Stmt() = default;
};
using StmtPtr = std::unique_ptr<Stmt>;

struct ReturningClause {
  std::vector<ExprPtr> exprs;
  std::vector<ExprPtr> into;  // Bind expressions
};

struct SelectStmt : Stmt {
  SelectStmt() : Stmt(StmtKind::Select) {}
  QueryPtr query;
};

struct InsertStmt : Stmt {
  InsertStmt() : Stmt(StmtKind::Insert) {}
  std::vector<std::string> table;
  std::string alias;
  int tablePos = 0;
  std::vector<std::pair<std::string, int>> columns;  // name, offset
  std::vector<ExprPtr> values;  // VALUES (...) (DEFAULT is a Name "DEFAULT" with ref None)
  QueryPtr query;               // INSERT ... SELECT
  std::unique_ptr<ReturningClause> returning;
};

struct Assignment {
  std::vector<std::pair<std::string, int>> columns;  // one, or (a, b) = (subquery)
  ExprPtr value;                                     // expression, or ScalarQuery for the row form
  bool isDefault = false;
  // alias.column.attribute...: the attributes under the one column set.
  std::vector<std::string> path;
};

struct UpdateStmt : Stmt {
  UpdateStmt() : Stmt(StmtKind::Update) {}
  std::vector<std::string> table;
  std::string alias;
  int tablePos = 0;
  std::vector<Assignment> set;
  ExprPtr where;
  std::unique_ptr<ReturningClause> returning;
};

struct DeleteStmt : Stmt {
  DeleteStmt() : Stmt(StmtKind::Delete) {}
  std::vector<std::string> table;
  std::string alias;
  int tablePos = 0;
  ExprPtr where;
  std::unique_ptr<ReturningClause> returning;
};

// A data type as written: NUMBER(7,2), VARCHAR2(10), DATE, ...
struct TypeSpec {
  std::string name;      // canonical: NUMBER, FLOAT, VARCHAR2, CHAR, NVARCHAR2, NCHAR, DATE, RAW,
                         // LONG, LONG RAW, CLOB, NCLOB, BLOB, ROWID
  int length = -1;       // characters/bytes; -1 when not given
  int precision = -1;    // -1 when not given (NUMBER(*,s) gives -1 with scale)
  int scale = -1;        // -1 when not given
  bool integer = false;  // INTEGER/INT/SMALLINT
  int pos = 0;
  // A user-defined type (name holds its last part): [schema,] type, and
  // REF type with the table of SCOPE IS.
  std::vector<std::string> udt;
  bool ref = false;
  std::vector<std::string> scope;
  int scopePos = 0;
};

struct ConstraintDef {
  enum Type { PrimaryKey, Unique, Check, ForeignKey, NotNull, Null } type = Check;
  std::string name;  // empty: the system names it SYS_Cnnnnnn
  int pos = 0;
  std::vector<std::pair<std::string, int>> columns;
  ExprPtr check;
  std::string checkText;              // the condition as written
  std::vector<std::string> refTable;  // [schema,] table
  std::vector<std::pair<std::string, int>> refColumns;
  std::string deleteRule = "NO ACTION";  // or CASCADE, SET NULL
  bool disabled = false;
};

struct ColumnDef {
  std::string name;
  int pos = 0;
  TypeSpec type;
  bool hasType = false;
  std::string defaultText;  // as written (empty when none)
  ExprPtr defaultExpr;
  bool hasDefault = false;
  std::vector<ConstraintDef> constraints;  // inline
};

struct CreateTableStmt : Stmt {
  CreateTableStmt() : Stmt(StmtKind::CreateTable) {}
  std::vector<std::string> name;
  int namePos = 0;
  std::vector<ColumnDef> columns;
  std::vector<ConstraintDef> constraints;  // out of line
  QueryPtr asQuery;                        // CREATE TABLE ... AS SELECT
  // CREATE TABLE t OF type: an object table (`columns` then name attributes
  // with their defaults and constraints, without types).
  std::vector<std::string> ofType;
  int ofTypePos = 0;
  // NESTED TABLE column STORE AS table
  struct NestedStorage {
    std::string column;
    std::string table;
    int pos = 0;
  };
  std::vector<NestedStorage> nestedTables;
  // SCOPE FOR (column) IS table
  struct ScopeFor {
    std::string column;
    std::vector<std::string> table;
    int pos = 0;
  };
  std::vector<ScopeFor> scopes;
};

// CREATE [OR REPLACE] TYPE name [AS OBJECT (...) | AS VARRAY(n) OF type |
// AS TABLE OF type]; without AS an incomplete type.
struct CreateTypeStmt : Stmt {
  CreateTypeStmt() : Stmt(StmtKind::CreateType) {}
  enum Kind { Incomplete, Object, Varray, Table } typeKind = Incomplete;
  bool orReplace = false;
  std::vector<std::string> name;
  int namePos = 0;
  std::vector<ColumnDef> attributes;  // name, pos and type of each attribute
  TypeSpec element;
  int64_t limit = 0;
};

struct CreateViewStmt : Stmt {
  CreateViewStmt() : Stmt(StmtKind::CreateView) {}
  bool orReplace = false;
  bool force = false;
  std::vector<std::string> name;
  int namePos = 0;
  std::vector<std::pair<std::string, int>> columns;
  QueryPtr query;
  std::string text;  // the query as written
};

struct SequenceOptions {
  bool hasStart = false, hasIncrement = false, hasMin = false, hasMax = false;
  double start = 1, increment = 1, minValue = 1, maxValue = 0;
  bool noMin = false, noMax = false;
  bool cycle = false, order = false;
  int cache = 20;
};

struct CreateSequenceStmt : Stmt {
  CreateSequenceStmt() : Stmt(StmtKind::CreateSequence) {}
  std::vector<std::string> name;
  int namePos = 0;
  SequenceOptions options;
};

struct CreateSynonymStmt : Stmt {
  CreateSynonymStmt() : Stmt(StmtKind::CreateSynonym) {}
  bool orReplace = false;
  bool isPublic = false;
  std::vector<std::string> name;
  std::vector<std::string> target;
  std::string dblink;
  int namePos = 0;
};

// CREATE [OR REPLACE] DIRECTORY name AS 'path'
struct CreateDirectoryStmt : Stmt {
  CreateDirectoryStmt() : Stmt(StmtKind::CreateDirectory) {}
  bool orReplace = false;
  std::string name;
  std::string path;
  int namePos = 0;
};

struct CreateIndexStmt : Stmt {
  CreateIndexStmt() : Stmt(StmtKind::CreateIndex) {}
  bool unique = false;
  std::vector<std::string> name;
  std::vector<std::string> table;
  int namePos = 0, tablePos = 0;
  std::vector<std::pair<std::string, int>> columns;
  std::vector<bool> descending;
};

struct UserStmt : Stmt {
  explicit UserStmt(StmtKind k) : Stmt(k) {}
  std::string user;
  int userPos = 0;
  bool hasPassword = false;
  std::string password;
  bool external = false;
  int lock = 0;  // 1 LOCK, 2 UNLOCK
  bool expire = false;
  int graceDays = -1;  // PASSWORD GRACE n (extension)
};

struct AlterSessionStmt : Stmt {
  AlterSessionStmt() : Stmt(StmtKind::AlterSession) {}
  std::string parameter;  // upper-cased
  std::string value;      // literal value or word
  int valuePos = 0;
};

struct AlterTableAction {
  enum Kind {
    AddColumns,
    ModifyColumns,
    DropColumns,
    AddConstraint,
    DropConstraint,
    EnableConstraint,
    DisableConstraint,
    RenameColumn,
    RenameTable
  } kind;
  int pos = 0;
  std::vector<ColumnDef> columns;
  std::vector<std::pair<std::string, int>> names;  // dropped columns / rename from,to
  ConstraintDef constraint;
  std::string constraintName;  // DROP/ENABLE/DISABLE CONSTRAINT name
  bool primaryKey = false;     // DROP PRIMARY KEY
  bool cascade = false;
};

struct AlterTableStmt : Stmt {
  AlterTableStmt() : Stmt(StmtKind::AlterTable) {}
  std::vector<std::string> name;
  int namePos = 0;
  std::vector<AlterTableAction> actions;
};

struct AlterSequenceStmt : Stmt {
  AlterSequenceStmt() : Stmt(StmtKind::AlterSequence) {}
  std::vector<std::string> name;
  int namePos = 0;
  SequenceOptions options;
};

struct DropStmt : Stmt {
  DropStmt() : Stmt(StmtKind::Drop) {}
  std::string objectType;  // TABLE, VIEW, SEQUENCE, SYNONYM, INDEX, USER, PROCEDURE, ...
  bool isPublic = false;
  std::vector<std::string> name;
  int namePos = 0;
  bool cascade = false;  // CASCADE CONSTRAINTS / USER ... CASCADE
  bool force = false;    // DROP TYPE ... FORCE
};

struct TruncateStmt : Stmt {
  TruncateStmt() : Stmt(StmtKind::Truncate) {}
  std::vector<std::string> name;
  int namePos = 0;
};

struct TransactionStmt : Stmt {
  explicit TransactionStmt(StmtKind k) : Stmt(k) {}
  std::string savepoint;  // SAVEPOINT n, ROLLBACK TO n
};

// A statement the engine recognises and accepts without effect (GRANT,
// REVOKE, COMMENT, SET TRANSACTION, LOCK TABLE, ALTER ... COMPILE) or hands
// to another component (PL/SQL blocks and stored code).
struct OtherStmt : Stmt {
  explicit OtherStmt(StmtKind k) : Stmt(k) {}
  std::string text;               // the statement text
  std::vector<std::string> name;  // LOCK TABLE name, stored code name
};

}  // namespace vorn::server
