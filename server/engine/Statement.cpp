// Statements: preparation from the analysis, dispatch of execution, query
// cursors and their values; see Statement.h. Bind slots, the plan cache,
// FOR UPDATE, DML and session control have files of their own.
#include "engine/Statement.h"

#include "engine/Cursor.h"
#include "engine/Ddl.h"
#include "engine/Parser.h"
#include "engine/Plan.h"
#include "engine/Session.h"
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

Statement::Statement(Session& session, std::shared_ptr<const StatementAnalysis> analysis)
    : session_(&session), analysis_(std::move(analysis)), text_(analysis_->text) {
  if (analysis_->lexError) std::rethrow_exception(analysis_->lexError);
  tree_ = Parser(text_, analysis_->tokens).statement();
  size_t n = analysis_->placeholders.size();
  binds_.resize(n);
  bindTypes_.resize(n, OraType::varchar2(4000));
  bound_.resize(n, false);
  tables_.resize(n, nullptr);
  cursors_.resize(n, nullptr);
}

Statement::~Statement() {
  close();
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

void Statement::close() {
  cursor_.reset();
}

int64_t Statement::execute() {
  close();
  rowsProcessed_ = 0;
  returning_.clear();
  returningRowids_.clear();
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
    case StmtKind::Rollback:
    case StmtKind::Savepoint:
    case StmtKind::AlterSession:
    case StmtKind::Grant:
    case StmtKind::Revoke:
    case StmtKind::Comment:
    case StmtKind::SetTransaction:
    case StmtKind::LockTable:
    case StmtKind::AlterOther:
    case StmtKind::PlsqlBlock:
    case StmtKind::CreateStoredCode:
      executeControl();
      return 0;
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
  cursor_ = std::make_unique<Cursor>(readAndLockRows(p), p.columnTypes);
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

std::optional<LobRef> Statement::lobRef(int column) const {
  if (!cursor_ || !plan_ || !plan_->isQuery) return std::nullopt;
  for (const LobColumn& lob : plan_->query.lobColumns) {
    if (lob.column != column) continue;
    if (cursor_->kind(lob.rowidColumn) != Value::Kind::Integer) return std::nullopt;
    return LobRef{lob.source, cursor_->intValue(lob.rowidColumn)};
  }
  return std::nullopt;
}

std::optional<LobRef> Statement::returningLobRef(size_t row, size_t value) const {
  if (!plan_ || plan_->isQuery || row >= returningRowids_.size()) return std::nullopt;
  const auto& lobs = plan_->dml.returningLobs;
  if (value >= lobs.size() || lobs[value].column.empty()) return std::nullopt;
  return LobRef{lobs[value], returningRowids_[row]};
}

std::string Statement::lastRowidText() const {
  return lastRowid_ ? rowidToText(*lastRowid_) : std::string();
}

}  // namespace vorn::server
