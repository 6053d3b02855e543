// Statements: binds, describe, execution of queries and DML, dispatch of
// the other statement kinds; see Statement.h.
#include "engine/Statement.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "engine/Cursor.h"
#include "engine/Database.h"
#include "engine/Ddl.h"
#include "engine/Lexer.h"
#include "engine/Parser.h"
#include "engine/Plan.h"
#include "engine/Session.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"

namespace vorn::server {

RowidParts rowidParts(int64_t object, int64_t sqliteRowid) {
  RowidParts p;
  p.object = static_cast<uint64_t>(object);
  p.file = 1;
  p.block = static_cast<uint64_t>(sqliteRowid) >> 16;
  p.row = static_cast<uint64_t>(sqliteRowid) & 0xFFFF;
  return p;
}

int64_t sqliteRowid(const RowidParts& parts) {
  return static_cast<int64_t>((parts.block << 16) | (parts.row & 0xFFFF));
}

namespace {

struct TypeInfo {
  StatementType type;
  int code;
};

TypeInfo classify(const Stmt& s, const std::string& text) {
  switch (s.kind) {
    case StmtKind::Select:
      return {StatementType::Select, 4};
    case StmtKind::Insert:
      return {StatementType::Insert, 3};
    case StmtKind::Update:
      return {StatementType::Update, 5};
    case StmtKind::Delete:
      return {StatementType::Delete, 9};
    case StmtKind::CreateTable:
      return {StatementType::Create, 1};
    case StmtKind::CreateView:
      return {StatementType::Create, 10};
    case StmtKind::CreateSequence:
      return {StatementType::Create, 13};
    case StmtKind::CreateSynonym:
      return {StatementType::Create, 30};
    case StmtKind::CreateIndex:
      return {StatementType::Create, 20};
    case StmtKind::CreateUser:
      return {StatementType::Create, 19};
    case StmtKind::CreateStoredCode: {
      std::string up;
      for (char c : text)
        up += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (up.find("FUNCTION") != std::string::npos &&
          (up.find("PROCEDURE") == std::string::npos ||
           up.find("FUNCTION") < up.find("PROCEDURE"))) {
        return {StatementType::Create, 91};
      }
      if (up.find("PACKAGE") != std::string::npos) return {StatementType::Create, 94};
      return {StatementType::Create, 24};
    }
    case StmtKind::AlterTable:
      return {StatementType::Alter, 26};
    case StmtKind::AlterUser:
      return {StatementType::Alter, 53};
    case StmtKind::AlterSession:
      return {StatementType::Alter, 52};
    case StmtKind::AlterSequence:
      return {StatementType::Alter, 14};
    case StmtKind::AlterOther:
      return {StatementType::Alter, 25};
    case StmtKind::Drop: {
      const auto& d = static_cast<const DropStmt&>(s);
      const std::string& t = d.objectType;
      int code = t == "TABLE"       ? 8
                 : t == "VIEW"      ? 7
                 : t == "SEQUENCE"  ? 16
                 : t == "SYNONYM"   ? 31
                 : t == "INDEX"     ? 21
                 : t == "USER"      ? 11
                 : t == "PROCEDURE" ? 68
                 : t == "FUNCTION"  ? 93
                                    : 96;
      return {StatementType::Drop, code};
    }
    case StmtKind::Truncate:
      return {StatementType::Unknown, 85};
    case StmtKind::Grant:
      return {StatementType::Unknown, 28};
    case StmtKind::Revoke:
      return {StatementType::Unknown, 29};
    case StmtKind::Comment:
      return {StatementType::Unknown, 38};
    case StmtKind::Commit:
      return {StatementType::Unknown, 54};
    case StmtKind::Rollback:
      return {StatementType::Unknown, 55};
    case StmtKind::Savepoint:
      return {StatementType::Unknown, 56};
    case StmtKind::SetTransaction:
      return {StatementType::Unknown, 33};
    case StmtKind::LockTable:
      return {StatementType::Unknown, 35};
    case StmtKind::PlsqlBlock: {
      size_t i = text.find_first_not_of(" \t\r\n");
      bool declare = i != std::string::npos && (text[i] == 'd' || text[i] == 'D');
      return {declare ? StatementType::Declare : StatementType::Begin, 34};
    }
  }
  return {StatementType::Unknown, 0};
}

OraType bindType(const Value& v, TypeKind nullKind) {
  switch (v.kind()) {
    case Value::Kind::Integer:
    case Value::Kind::Double:
      return OraType::number();
    case Value::Kind::Text:
      return OraType::varchar2(4000);
    case Value::Kind::Date:
      return OraType::of(TypeKind::Date);
    case Value::Kind::Raw: {
      OraType t = OraType::of(TypeKind::Raw);
      t.length = 2000;
      return t;
    }
    case Value::Kind::Null:
      break;
  }
  switch (nullKind) {
    case TypeKind::Number:
      return OraType::number();
    case TypeKind::Date:
      return OraType::of(TypeKind::Date);
    case TypeKind::Raw:
    case TypeKind::LongRaw: {
      OraType t = OraType::of(TypeKind::Raw);
      t.length = 2000;
      return t;
    }
    default:
      return OraType::varchar2(4000);
  }
}

ColumnDescription describeColumn(const ResultColumn& c) {
  ColumnDescription d;
  d.name = c.name;
  d.type = c.type;
  d.typeCode = describeTypeCode(c.type);
  d.dataSize = describeDataSize(c.type);
  if (c.type.kind == TypeKind::Number) {
    d.precision = c.type.precision;
    d.scale = c.type.scale;
  }
  d.nullable = c.type.nullable;
  return d;
}

void bindValue(sqlite3_stmt* stmt, int index, const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Null:
      sqlite3_bind_null(stmt, index);
      break;
    case Value::Kind::Integer:
    case Value::Kind::Date:
      sqlite3_bind_int64(stmt, index, v.asInteger());
      break;
    case Value::Kind::Double:
      sqlite3_bind_double(stmt, index, v.asDouble());
      break;
    case Value::Kind::Text:
      sqlite3_bind_text(stmt, index, v.asText().data(), static_cast<int>(v.asText().size()),
                        SQLITE_STATIC);
      break;
    case Value::Kind::Raw:
      sqlite3_bind_blob(stmt, index, v.asText().data(), static_cast<int>(v.asText().size()),
                        SQLITE_STATIC);
      break;
  }
}

Value columnValue(sqlite3_stmt* stmt, int col, TypeKind kind) {
  switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_NULL:
      return Value();
    case SQLITE_INTEGER:
      if (kind == TypeKind::Date) return Value::date(sqlite3_column_int64(stmt, col));
      return Value::integer(sqlite3_column_int64(stmt, col));
    case SQLITE_FLOAT:
      return Value::real(sqlite3_column_double(stmt, col));
    case SQLITE_BLOB: {
      const char* p = static_cast<const char*>(sqlite3_column_blob(stmt, col));
      return Value::raw(
          std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt, col))));
    }
    default: {
      const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
      return Value::text(std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt, col))));
    }
  }
}

// Steps a statement, converting failures into OraErrors.
bool stepRow(Session& s, sqlite3* db, sqlite3_stmt* stmt) {
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt);
  raiseSqlite(db, rc, &s.values());
}

// A statement from the session's cache, returned on scope exit.
class Borrowed {
 public:
  Borrowed(Session& s, Session::Connection& c, const std::string& sql)
      : s_(s), c_(c), stmt_(s.acquire(c, sql)) {}
  ~Borrowed() { s_.release(c_, stmt_); }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  Session& s_;
  Session::Connection& c_;
  sqlite3_stmt* stmt_;
};

std::string upper(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

namespace {

// PL/SQL text (a block, stored code) allows literals of up to 32767
// characters; SQL of up to 4000.
bool isPlsqlText(const std::vector<Token>& t) {
  if (t[0].isWord("BEGIN") || t[0].isWord("DECLARE")) return true;
  if (!t[0].isWord("CREATE")) return false;
  size_t i = t.size() > 2 && t[1].isWord("OR") ? 3 : 1;
  return i < t.size() && (t[i].isWord("PROCEDURE") || t[i].isWord("FUNCTION") ||
                          t[i].isWord("PACKAGE") || t[i].isWord("TRIGGER") || t[i].isWord("TYPE"));
}

}  // namespace

Statement::Statement(Session& session, std::string text)
    : session_(&session), text_(std::move(text)) {
  std::vector<Token> tokens = tokenize(text_, 32767);
  if (!isPlsqlText(tokens)) {
    for (const Token& t : tokens) {
      if (t.kind == TokenKind::String && t.text.size() > 4000) raiseOra(1704, {}, t.offset);
    }
  }
  Parser parser(text_, tokens);
  tree_ = parser.statement();
  TypeInfo info = classify(*tree_, text_);
  type_ = info.type;
  functionCode_ = info.code;
  bool block = tree_->kind == StmtKind::PlsqlBlock || tree_->kind == StmtKind::CreateStoredCode;
  std::set<std::string> seen;
  for (const Token& t : tokens) {
    if (t.kind != TokenKind::Bind) continue;
    // A PL/SQL block names each bind variable once.
    if (block && !seen.insert(t.text).second) continue;
    placeholders_.push_back(Placeholder{t.text, t.offset});
  }
  binds_.resize(placeholders_.size());
  bindTypes_.resize(placeholders_.size(), OraType::varchar2(4000));
  bound_.resize(placeholders_.size(), false);
  tables_.resize(placeholders_.size(), nullptr);
  cursors_.resize(placeholders_.size(), nullptr);
}

Statement::~Statement() {
  close();
}

void Statement::bind(int position, const Value& value, TypeKind nullKind) {
  if (position < 1 || position > static_cast<int>(placeholders_.size())) raiseOra(1036);
  size_t i = static_cast<size_t>(position - 1);
  binds_[i] = value;
  bindTypes_[i] = bindType(value, nullKind);
  bound_[i] = true;
  tables_[i] = nullptr;
  cursors_[i] = nullptr;
}

std::vector<size_t> Statement::slotsOf(std::string_view name) const {
  std::string n(name);
  if (!n.empty() && n[0] == ':') n.erase(0, 1);
  bool quoted = n.size() > 1 && n.front() == '"' && n.back() == '"';
  n = quoted ? n.substr(1, n.size() - 2) : upper(n);
  std::vector<size_t> out;
  for (size_t i = 0; i < placeholders_.size(); ++i) {
    if (placeholders_[i].name == n) out.push_back(i);
  }
  if (out.empty()) raiseOra(1036);
  return out;
}

void Statement::bind(std::string_view name, const Value& value, TypeKind nullKind) {
  for (size_t i : slotsOf(name))
    bind(static_cast<int>(i + 1), value, nullKind);
}

void Statement::bindTable(int position, HostTable* table) {
  bind(position, Value(), table ? table->elementType : TypeKind::Varchar2);
  tables_[static_cast<size_t>(position - 1)] = table;
}

void Statement::bindTable(std::string_view name, HostTable* table) {
  for (size_t i : slotsOf(name))
    bindTable(static_cast<int>(i + 1), table);
}

void Statement::bindCursor(int position, HostCursor* cursor) {
  bind(position, Value());
  cursors_[static_cast<size_t>(position - 1)] = cursor;
}

void Statement::bindCursor(std::string_view name, HostCursor* cursor) {
  for (size_t i : slotsOf(name))
    bindCursor(static_cast<int>(i + 1), cursor);
}

HostTable* Statement::boundTable(int position) const {
  if (position < 1 || position > static_cast<int>(tables_.size())) raiseOra(1036);
  return tables_[static_cast<size_t>(position - 1)];
}

HostCursor* Statement::boundCursor(int position) const {
  if (position < 1 || position > static_cast<int>(cursors_.size())) raiseOra(1036);
  return cursors_[static_cast<size_t>(position - 1)];
}

const OraType& Statement::placeholderType(int position) const {
  if (position < 1 || position > static_cast<int>(bindTypes_.size())) raiseOra(1036);
  return bindTypes_[static_cast<size_t>(position - 1)];
}

const Value& Statement::boundValue(int position) const {
  if (position < 1 || position > static_cast<int>(binds_.size())) raiseOra(1036);
  return binds_[static_cast<size_t>(position - 1)];
}

bool Statement::isBound(int position) const {
  return position >= 1 && position <= static_cast<int>(bound_.size()) &&
         bound_[static_cast<size_t>(position - 1)];
}

void Statement::setBindValue(int position, const Value& value) {
  if (position < 1 || position > static_cast<int>(binds_.size())) raiseOra(1036);
  binds_[static_cast<size_t>(position - 1)] = value;
}

void Statement::clearBinds() {
  std::fill(binds_.begin(), binds_.end(), Value());
  std::fill(bound_.begin(), bound_.end(), false);
  std::fill(tables_.begin(), tables_.end(), nullptr);
  std::fill(cursors_.begin(), cursors_.end(), nullptr);
}

std::shared_ptr<Plan> Statement::plan() {
  auto catalog = session_->catalog();
  std::string key = text_;
  key += '\0';
  key += schema_;
  key += '\0';
  for (const OraType& t : bindTypes_)
    key += static_cast<char>('A' + static_cast<int>(t.kind));
  if (plan_ && plan_->catalog == catalog && planKey_ == key) return plan_;
  // A plan compiled with a name hook holds parameters of that hook's locals:
  // it is this statement's alone.
  auto& cache = session_->plans_;
  if (auto it = hook_ ? cache.end() : cache.find(key); it != cache.end()) {
    plan_ = it->second;
    planKey_ = key;
    return plan_;
  }
  CompileContext ctx;
  ctx.catalog = catalog;
  ctx.user = schema_.empty() ? session_->user() : schema_;
  ctx.sessionUser = session_->user();
  ctx.userId = session_->userId();
  ctx.bindTypes = bindTypes_;
  ctx.hook = hook_;
  auto p = std::make_shared<Plan>();
  p->catalog = catalog;
  if (tree_->kind == StmtKind::Select) {
    // Compilation annotates the tree; a fresh parse keeps cached plans and
    // this statement's tree independent.
    StmtPtr fresh = parseStatement(text_);
    auto& sel = static_cast<SelectStmt&>(*fresh);
    p->isQuery = true;
    p->query = compileQuery(ctx, *sel.query);
    for (const ResultColumn& c : p->query.columns) {
      p->columns.push_back(describeColumn(c));
      p->columnTypes.push_back(c.type);
    }
  } else if (tree_->kind == StmtKind::Insert || tree_->kind == StmtKind::Update ||
             tree_->kind == StmtKind::Delete) {
    StmtPtr fresh = parseStatement(text_);
    p->dml = compileDml(ctx, *fresh);
  }
  if (cache.size() > 256) cache.clear();
  if (!hook_) cache[key] = p;
  plan_ = p;
  planKey_ = key;
  return p;
}

const std::vector<ColumnDescription>& Statement::describe() {
  if (tree_->kind != StmtKind::Select) {
    described_.clear();
    return described_;
  }
  auto p = plan();
  described_ = p->columns;
  return described_;
}

size_t Statement::columnCount() {
  return describe().size();
}

const std::vector<int>& Statement::returningSlots() const {
  static const std::vector<int> none;
  return plan_ && !plan_->isQuery ? plan_->dml.returningSlots : none;
}

void Statement::checkBound(const Plan& p) const {
  std::vector<bool> output(placeholders_.size(), false);
  if (!p.isQuery) {
    for (int slot : p.dml.returningSlots)
      output[static_cast<size_t>(slot)] = true;
  }
  for (size_t i = 0; i < placeholders_.size(); ++i) {
    if (!bound_[i] && !output[i]) raiseOra(1008);
  }
}

void Statement::bindAll(sqlite3_stmt* stmt) const {
  int n = sqlite3_bind_parameter_count(stmt);
  for (int i = 1; i <= n; ++i) {
    const char* name = sqlite3_bind_parameter_name(stmt, i);
    if (!name || name[0] != '?') continue;
    size_t slot = static_cast<size_t>(std::atoi(name + 1) - 1);
    if (slot < binds_.size()) {
      bindValue(stmt, i, binds_[slot]);
      continue;
    }
    for (const auto& [index, value] : parameters_) {
      if (static_cast<size_t>(index) == slot + 1) bindValue(stmt, i, value);
    }
  }
}

void Statement::setNameHook(NameHook* hook) {
  hook_ = hook;
  ownedHook_.reset();
  plan_.reset();
}

void Statement::setDefaultSchema(std::string schema) {
  if (schema == schema_) return;
  schema_ = std::move(schema);
  plan_.reset();
}

void Statement::adoptNameHook(std::unique_ptr<NameHook> hook) {
  NameHook* raw = hook.get();
  setNameHook(raw);
  ownedHook_ = std::move(hook);
}

void Statement::bindParameter(int index, const Value& value) {
  for (auto& p : parameters_) {
    if (p.first == index) {
      p.second = value;
      return;
    }
  }
  parameters_.emplace_back(index, value);
}

void Statement::close() {
  cursor_.reset();
}

int64_t Statement::execute() {
  close();
  rowsProcessed_ = 0;
  returning_.clear();
  Session& s = *session_;
  s.values().clearPendingError();
  switch (tree_->kind) {
    case StmtKind::Select: {
      auto p = plan();
      checkBound(*p);
      return executeQuery(*p);
    }
    case StmtKind::Insert:
    case StmtKind::Update:
    case StmtKind::Delete: {
      auto p = plan();
      checkBound(*p);
      return executeDml(*p);
    }
    case StmtKind::Commit:
      s.commit();
      return 0;
    case StmtKind::Rollback: {
      auto& t = static_cast<TransactionStmt&>(*tree_);
      if (t.savepoint.empty()) {
        s.rollback();
      } else {
        s.rollbackToSavepoint(t.savepoint);
      }
      return 0;
    }
    case StmtKind::Savepoint:
      s.savepoint(static_cast<TransactionStmt&>(*tree_).savepoint);
      return 0;
    case StmtKind::AlterSession: {
      auto& a = static_cast<AlterSessionStmt&>(*tree_);
      std::string v = upper(a.value);
      if (a.parameter == "NLS_DATE_FORMAT") {
        s.values().setDateFormat(a.value);
      } else if (a.parameter == "SQL_TRACE") {
        if (v != "TRUE" && v != "FALSE") raiseOra(922, {}, a.valuePos);
      } else if (a.parameter == "OPTIMIZER_GOAL" || a.parameter == "OPTIMIZER_MODE") {
        if (v != "CHOOSE" && v != "FIRST_ROWS" && v != "ALL_ROWS" && v != "RULE") {
          raiseOra(922, {}, a.valuePos);
        }
      } else if (a.parameter == "ISOLATION_LEVEL") {
        if (v != "READ COMMITTED" && v != "SERIALIZABLE") raiseOra(922, {}, a.valuePos);
      } else if (a.parameter == "NLS_LANGUAGE" || a.parameter == "NLS_DATE_LANGUAGE") {
        if (v != "AMERICAN") raiseOra(12705, {}, a.valuePos);
      } else if (a.parameter == "NLS_TERRITORY") {
        if (v != "AMERICA") raiseOra(12705, {}, a.valuePos);
      } else {
        raiseOra(2248, {}, tree_->pos);
      }
      return 0;
    }
    case StmtKind::Grant:
    case StmtKind::Revoke:
    case StmtKind::Comment:
      // Privileges are not enforced and comments not kept; as DDL these
      // still end the transaction.
      s.commitForDdl();
      return 0;
    case StmtKind::SetTransaction:
      if (upper(text_).find("READ ONLY") != std::string::npos) raiseOra(900, {}, tree_->pos);
      return 0;
    case StmtKind::LockTable:
      raiseOra(900, {}, tree_->pos);
    case StmtKind::AlterOther:
      s.commitForDdl();
      return 0;
    case StmtKind::PlsqlBlock:
    case StmtKind::CreateStoredCode: {
      const auto& handler = Session::blockHandler();
      if (!handler) raiseOra(900, {}, tree_->pos);
      handler(s, *this);
      return 0;
    }
    default:
      s.commitForDdl();
      executeDdl(s, *tree_);
      return 0;
  }
}

int64_t Statement::executeQuery(Plan& p) {
  Session& s = *session_;
  const CompiledQuery& q = p.query;
  if (!q.forUpdate) {
    Session::Connection& conn = s.readConnection();
    sqlite3_stmt* stmt = s.acquire(conn, q.sql);
    bindAll(stmt);
    cursor_ = std::make_unique<Cursor>(s, conn, stmt, plan_, p.columnTypes);
    return 0;
  }
  // FOR UPDATE: read every row, lock the rows of the locked tables, and read
  // again when a wait let another session change them.
  size_t visible = q.columns.size();
  std::chrono::milliseconds wait =
      q.lockWait < 0 ? s.lockWait() : std::chrono::milliseconds(q.lockWait * 1000LL);
  std::vector<std::vector<Value>> rows;
  for (int attempt = 0; attempt < 2; ++attempt) {
    rows.clear();
    Session::Connection& conn = s.readConnection();
    Borrowed stmt(s, conn, q.sql);
    bindAll(stmt.get());
    s.values().pinSysdate();
    bool waited = false;
    try {
      std::vector<std::pair<int64_t, int64_t>> toLock;
      while (stepRow(s, conn.db, stmt.get())) {
        std::vector<Value> row;
        for (size_t i = 0; i < visible; ++i) {
          row.push_back(columnValue(stmt.get(), static_cast<int>(i), p.columnTypes[i].kind));
        }
        for (size_t k = 0; k < q.lockObjects.size(); ++k) {
          int col = static_cast<int>(visible + k);
          if (sqlite3_column_type(stmt.get(), col) != SQLITE_NULL) {
            toLock.emplace_back(q.lockObjects[k], sqlite3_column_int64(stmt.get(), col));
          }
        }
        rows.push_back(std::move(row));
      }
      sqlite3_reset(stmt.get());
      for (const auto& [obj, rowid] : toLock) {
        waited |=
            s.database().locks().lockRow(&s, obj, rowid, s.savepointLevel(), wait, q.lockWait == 0);
      }
    } catch (...) {
      s.values().unpinSysdate();
      throw;
    }
    s.values().unpinSysdate();
    if (!waited) break;
  }
  cursor_ = std::make_unique<Cursor>(std::move(rows), p.columnTypes);
  return 0;
}

bool Statement::fetch() {
  if (!cursor_) {
    if (tree_->kind == StmtKind::Select) raiseOra(1002);
    raiseOra(24338);
  }
  return cursor_->next();
}

int64_t Statement::rowsFetched() const {
  return cursor_ ? cursor_->fetched : 0;
}

Value Statement::value(int column) const {
  return cursor_ ? cursor_->value(column) : Value();
}

bool Statement::isNull(int column) const {
  return !cursor_ || cursor_->kind(column) == Value::Kind::Null;
}

Value::Kind Statement::valueKind(int column) const {
  return cursor_ ? cursor_->kind(column) : Value::Kind::Null;
}

int64_t Statement::intValue(int column) const {
  return cursor_ ? cursor_->intValue(column) : 0;
}

double Statement::doubleValue(int column) const {
  return cursor_ ? cursor_->doubleValue(column) : 0;
}

std::string_view Statement::textValue(int column) const {
  return cursor_ ? cursor_->textValue(column) : std::string_view();
}

std::string Statement::lastRowidText() const {
  return lastRowid_ ? rowidToText(*lastRowid_) : std::string();
}

// ---------------------------------------------------------------------------
// DML

namespace {

// Runs a statement to its end; returns every row of its result.
std::vector<std::vector<Value>> runAll(Session& s, Session::Connection& c, sqlite3_stmt* stmt) {
  std::vector<std::vector<Value>> rows;
  int n = sqlite3_column_count(stmt);
  while (stepRow(s, c.db, stmt)) {
    std::vector<Value> row;
    row.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
      row.push_back(columnValue(stmt, i, TypeKind::Null));
    rows.push_back(std::move(row));
  }
  return rows;
}

bool anyNull(const std::vector<Value>& row, int first, int count) {
  for (int i = first; i < first + count; ++i) {
    if (row[static_cast<size_t>(i)].isNull()) return true;
  }
  return false;
}

bool allNull(const std::vector<Value>& row, int first, int count) {
  for (int i = first; i < first + count; ++i) {
    if (!row[static_cast<size_t>(i)].isNull()) return false;
  }
  return true;
}

int64_t queryInt(Session& s, Session::Connection& c, const std::string& sql,
                 const std::vector<Value>& row, int first, int count) {
  Borrowed stmt(s, c, sql);
  for (int i = 0; i < count; ++i)
    bindValue(stmt.get(), i + 1, row[static_cast<size_t>(first + i)]);
  if (!stepRow(s, c.db, stmt.get())) return 0;
  int64_t v =
      sqlite3_column_type(stmt.get(), 0) == SQLITE_NULL ? 0 : sqlite3_column_int64(stmt.get(), 0);
  sqlite3_reset(stmt.get());
  return v;
}

std::string quotedName(const std::string& owner, const std::string& name) {
  return "\"" + owner + "\".\"" + name + "\"";
}

}  // namespace

int64_t Statement::executeDml(Plan& p) {
  Session& s = *session_;
  const CompiledDml& d = p.dml;
  s.beginWrite();
  Session::Connection& main = s.mainConnection();
  execSql(main.db, "SAVEPOINT vorn_stmt");
  s.values().pinSysdate();
  try {
    std::vector<std::vector<Value>> lockRows;
    if (!d.lockSql.empty()) {
      Borrowed lockStmt(s, main, d.lockSql);
      bindAll(lockStmt.get());
      lockRows = runAll(s, main, lockStmt.get());
      for (const auto& row : lockRows) {
        s.database().locks().lockRow(&s, d.table->obj, row[0].asInteger(), s.savepointLevel(),
                                     s.lockWait(), false);
      }
    }
    std::vector<std::vector<Value>> rows;
    {
      Borrowed stmt(s, main, d.sql);
      bindAll(stmt.get());
      if (d.kind == StmtKind::Update) {
        // One write per locked row with the values read before any write.
        for (const auto& lockRow : lockRows) {
          sqlite3_bind_int64(stmt.get(), kRowParameter, lockRow[0].asInteger());
          for (int k = 0; k < d.setCount; ++k) {
            bindValue(stmt.get(), kSetParameter + k, lockRow[static_cast<size_t>(d.setFirst + k)]);
          }
          auto written = runAll(s, main, stmt.get());
          sqlite3_reset(stmt.get());
          for (auto& r : written)
            rows.push_back(std::move(r));
        }
      } else {
        rows = runAll(s, main, stmt.get());
      }
    }
    auto& locks = s.database().locks();
    for (const auto& row : rows) {
      int64_t rid = row[0].asInteger();
      if (d.kind != StmtKind::Insert && !locks.holdsRow(&s, d.table->obj, rid)) {
        locks.lockRow(&s, d.table->obj, rid, s.savepointLevel(), s.lockWait(), true);
      }
      for (size_t i = 0; i < d.checkNames.size(); ++i) {
        const Value& v = row[1 + i];
        if (!v.isNull() && v.asInteger() == 0) {
          raiseOra(2290, {d.table->owner, d.checkNames[i]});
        }
      }
    }
    for (const KeyCheck& k : d.uniqueChecks) {
      for (const auto& row : rows) {
        if (allNull(row, k.firstValue, k.count)) continue;
        if (queryInt(s, main, k.sql, row, k.firstValue, k.count) > 1) {
          raiseOra(1, {k.owner, k.name});
        }
      }
    }
    // Parent-side actions and checks for removed or re-keyed rows.
    const auto& keyRows = d.childKeysFromLockRow ? lockRows : rows;
    for (const ChildAction& a : d.childActions) {
      std::set<std::vector<std::string>> done;
      for (const auto& row : keyRows) {
        if (anyNull(row, a.firstValue, a.count)) continue;
        if (d.kind == StmtKind::Update) {
          // Still present after the update: nothing was re-keyed.
          const ConstraintInfo* parentKey =
              p.catalog->findConstraint(a.constraint->rOwner, a.constraint->rName);
          std::string sql = "SELECT count(*) FROM " + d.table->sqlName() + " WHERE ";
          for (size_t i = 0; i < parentKey->columns.size(); ++i) {
            if (i) sql += " AND ";
            sql += quoteIdent(d.table->columns[static_cast<size_t>(parentKey->columns[i])].name) +
                   " = ?" + std::to_string(i + 1);
          }
          if (queryInt(s, main, sql, row, a.firstValue, a.count) > 0) continue;
        }
        if (a.constraint->deleteRule == "CASCADE" || a.constraint->deleteRule == "SET NULL") {
          if (d.kind == StmtKind::Update) {
            if (queryInt(s, main, a.findSql, row, a.firstValue, a.count) > 0) {
              raiseOra(2292, {a.constraint->owner, a.constraint->name});
            }
            continue;
          }
          std::string text = a.constraint->deleteRule == "CASCADE" ? "DELETE FROM " : "UPDATE ";
          text += quotedName(a.child->owner, a.child->name);
          if (a.constraint->deleteRule == "SET NULL") {
            text += " SET ";
            for (size_t i = 0; i < a.constraint->columns.size(); ++i) {
              if (i) text += ", ";
              text += "\"" + a.child->columns[static_cast<size_t>(a.constraint->columns[i])].name +
                      "\" = NULL";
            }
          }
          text += " WHERE ";
          for (size_t i = 0; i < a.constraint->columns.size(); ++i) {
            if (i) text += " AND ";
            text += "\"" + a.child->columns[static_cast<size_t>(a.constraint->columns[i])].name +
                    "\" = :" + std::to_string(i + 1);
          }
          auto nested = s.prepare(text);
          for (int i = 0; i < a.count; ++i) {
            nested->bind(i + 1, row[static_cast<size_t>(a.firstValue + i)]);
          }
          nested->executeDml(*nested->plan());
        } else if (queryInt(s, main, a.findSql, row, a.firstValue, a.count) > 0) {
          raiseOra(2292, {a.constraint->owner, a.constraint->name});
        }
        (void)done;
      }
    }
    for (const KeyCheck& k : d.parentChecks) {
      for (const auto& row : rows) {
        if (anyNull(row, k.firstValue, k.count)) continue;
        if (queryInt(s, main, k.sql, row, k.firstValue, k.count) == 0) {
          raiseOra(2291, {k.owner, k.name});
        }
      }
    }
    execSql(main.db, "RELEASE vorn_stmt");
    s.values().unpinSysdate();
    rowsProcessed_ = static_cast<int64_t>(rows.size());
    if (!rows.empty()) lastRowid_ = rowidParts(d.table->obj, rows.back()[0].asInteger());
    if (!d.returning.empty()) {
      for (const auto& row : rows) {
        std::vector<Value> out;
        for (size_t i = 0; i < d.returning.size(); ++i) {
          Value v = row[static_cast<size_t>(d.returningFirst) + i];
          if (d.returning[i].type.kind == TypeKind::Date && v.kind() == Value::Kind::Integer) {
            v = Value::date(v.asInteger());
          }
          out.push_back(std::move(v));
        }
        returning_.push_back(std::move(out));
      }
    }
    return rowsProcessed_;
  } catch (...) {
    s.values().unpinSysdate();
    sqlite3_exec(main.db, "ROLLBACK TO vorn_stmt; RELEASE vorn_stmt", nullptr, nullptr, nullptr);
    throw;
  }
}

}  // namespace vorn::server
