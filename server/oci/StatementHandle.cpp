// Statements: prepare, execute, fetch and their entry points; see
// StatementHandle.h.
#include "StatementHandle.h"

#include <algorithm>
#include <cstring>

#include "Attributes.h"
#include "BindHandle.h"
#include "CallGuard.h"
#include "DefineHandle.h"
#include "ExternalData.h"
#include "LobLocator.h"
#include "ObjectBinding.h"
#include "ParamDescriptor.h"
#include "RowidDescriptor.h"
#include "ServiceContext.h"
#include "UserSession.h"
#include "engine/Session.h"
#include "engine/Statement.h"

namespace vorn::server::oci {

StatementHandle::StatementHandle(Environment* env) : Handle(kType, env) {}

StatementHandle::~StatementHandle() {
  releaseEngine();
}

void StatementHandle::prepare(std::string statementText) {
  releaseEngine();
  binds_.clear();
  defines_.clear();
  params_.clear();
  bindNames_.clear();
  text = std::move(statementText);
  analysis = analyseStatement(text);
  type_ = static_cast<ub2>(analysis->type);
  prepared = true;
  described_ = false;
  endOfFetch_ = false;
  rowCount_ = 0;
  rowsFetched_ = 0;
  parseErrorOffset_ = 0;
  lastRowid_.reset();
  longValues_.clear();
  state_ = OCI_STMT_STATE_INITIALIZED;
}

void StatementHandle::releaseEngine() {
  if (engine_) {
    try {
      engine_.reset();
    } catch (...) {
    }
  }
  if (session_) session_->unregisterStatement(this);
  session_ = nullptr;
  executed_ = false;
  described_ = false;
  params_.clear();
}

void StatementHandle::attach(UserSession& session) {
  if (session_ != &session) releaseEngine();
  if (engine_) return;
  engine_ = session.engine->prepare(analysis);
  session_ = &session;
  session.registerStatement(this);
  type_ = static_cast<ub2>(engine_->type());
}

void StatementHandle::parse(UserSession& session) {
  if (!prepared) raiseOra(24337);
  parseErrorOffset_ = 0;
  try {
    attach(session);
  } catch (const OraError& e) {
    if (e.offset() >= 0) parseErrorOffset_ = static_cast<ub2>(e.offset());
    throw;
  }
}

void StatementHandle::describe(UserSession& session) {
  parse(session);
  try {
    describeColumns();
  } catch (const OraError& e) {
    if (e.offset() >= 0) parseErrorOffset_ = static_cast<ub2>(e.offset());
    throw;
  }
}

bool StatementHandle::isQuery() const {
  return engine_ && engine_->isQuery();
}

int StatementHandle::sqlFunctionCode() const {
  return engine_ ? engine_->sqlFunctionCode() : 0;
}

size_t StatementHandle::columnCount() const {
  if (!described_) raiseOra(24338);
  return params_.size();
}

const Value* StatementHandle::longValue(ub4 position) const {
  if (position == 0 || position > longValues_.size()) return nullptr;
  const auto& kept = longValues_[position - 1];
  return kept ? &*kept : nullptr;
}

BindHandle& StatementHandle::bindByName(const std::string& name, BindHandle* existing) {
  std::string key = placeholderKey(name);
  const auto& placeholders = analysis->placeholders;
  if (placeholdersKnown() && std::none_of(placeholders.begin(), placeholders.end(),
                                          [&](const Placeholder& p) { return p.name == key; })) {
    raiseOra(1036);
  }
  BindHandle* b = existing;
  if (!b) {
    for (auto& other : binds_) {
      if (!other->name.empty() && other->key == key) b = other.get();
    }
  }
  if (!b) {
    binds_.push_back(std::make_unique<BindHandle>(env, this));
    b = binds_.back().get();
  }
  b->name = name;
  b->key = key;
  b->position = 0;
  b->returningTarget = false;
  b->slots.clear();
  if (placeholdersKnown()) {
    bool allTargets = true;
    for (size_t i = 0; i < placeholders.size(); ++i) {
      if (placeholders[i].name != key) continue;
      if (!placeholders[i].returningTarget) allTargets = false;
      b->slots.push_back(static_cast<int>(i + 1));
    }
    b->returningTarget = allTargets;
  }
  return *b;
}

BindHandle& StatementHandle::bindByPosition(ub4 position, BindHandle* existing) {
  if (position == 0) raiseOra(1036);
  BindHandle* b = existing;
  if (!b) {
    for (auto& other : binds_) {
      if (other->name.empty() && other->position == position) b = other.get();
    }
  }
  if (!b) {
    binds_.push_back(std::make_unique<BindHandle>(env, this));
    b = binds_.back().get();
  }
  b->name.clear();
  b->key.clear();
  b->slots.clear();
  b->position = position;
  b->returningTarget = placeholdersKnown() && position <= analysis->placeholders.size() &&
                       analysis->placeholders[position - 1].returningTarget;
  return *b;
}

DefineHandle& StatementHandle::defineAt(ub4 position) {
  if (defines_.size() < position) defines_.resize(position);
  auto& slot = defines_[position - 1];
  if (!slot) {
    slot = std::make_unique<DefineHandle>(env, this);
    slot->position = position;
  }
  return *slot;
}

ParamDescriptor& StatementHandle::param(ub4 position) {
  if (!described_) raiseOra(24338);
  if (position == 0 || position > params_.size()) raiseOra(24334);
  return *params_[position - 1];
}

void StatementHandle::describeColumns() {
  if (described_) return;
  params_.clear();
  const auto& columns = engine_->describe();
  for (size_t i = 0; i < columns.size(); ++i)
    params_.push_back(std::make_unique<ParamDescriptor>(env, columns[i], static_cast<ub4>(i + 1)));
  described_ = true;
}

bool StatementHandle::isBlock() const {
  return engine_ && engine_->analysis().isAnonymousBlock();
}

int StatementHandle::enginePosition(const BindHandle& b) const {
  if (b.name.empty()) return static_cast<int>(b.position);
  const auto& placeholders = engine_->placeholders();
  for (size_t i = 0; i < placeholders.size(); ++i) {
    if (placeholders[i].name == b.key) return static_cast<int>(i + 1);
  }
  raiseOra(1036);
}

StatementHandle* StatementHandle::cursorTarget(const BindHandle& b) const {
  if (!b.value) return nullptr;
  void* handle = nullptr;
  std::memcpy(&handle, b.value, sizeof handle);
  StatementHandle* target = handleOf<StatementHandle>(handle);
  return target == this ? nullptr : target;
}

void StatementHandle::bindInputs(ub4 iteration) {
  bool block = isBlock();
  for (auto& b : binds_) {
    if (b->returningTarget) continue;
    if (b->isCursor()) {
      // A cursor variable is a PL/SQL bind; its target must be a statement
      // handle (or the version 7 area its receiver stands for).
      if (!block) raiseOra(1460);
      if (!b->cursorReceiver && !cursorTarget(*b)) raiseOra(24316);
      b->cursor.statement.reset();
      engine_->bindCursor(enginePosition(*b), &b->cursor);
      continue;
    }
    if (block && b->isTable()) {
      b->loadTable();
      engine_->bindTable(enginePosition(*b), &b->table);
      continue;
    }
    if (isObjectType(b->dty)) {
      // PL/SQL has no variables of user-defined types.
      if (block) raiseOra(3001);
      bindObjectInput(*b, iteration, *engine_);
      continue;
    }
    Value v = b->input(iteration);
    // CHAR binds compare blank-padded in SQL; a block sees plain values.
    TypeKind declared = block ? nullKindOf(b->dty) : declaredKindOf(b->dty);
    if (block) b->lastInput = v;
    if (b->name.empty()) {
      engine_->bind(static_cast<int>(b->position), std::move(v), declared);
    } else if (b->slots.size() == 1) {
      engine_->bind(b->slots[0], std::move(v), declared);
    } else {
      engine_->bind(b->name, v, declared);
    }
  }
}

bool StatementHandle::writeBlockOutputs() {
  SessionValues& values = session_->engine->values();
  bool truncated = false;
  for (auto& b : binds_) {
    if (b->isCursor()) {
      std::unique_ptr<Statement> query = std::move(b->cursor.statement);
      if (!query) continue;
      // The cursor is a value now: a caller that reads the indicator (as
      // drivers do for every OUT bind) sees it is not null.
      if (auto* ind = static_cast<sb2*>(elementAt(b->indicators, 0, b->indicatorSkip))) *ind = 0;
      if (b->cursorReceiver) {
        b->cursorReceiver(std::move(query));
      } else if (StatementHandle* target = cursorTarget(*b)) {
        target->adoptQuery(std::move(query), *session_);
      }
      continue;
    }
    if (b->isTable()) {
      truncated |= b->storeTable(values, scratch_);
      continue;
    }
    const Value& out = engine_->boundValue(enginePosition(*b));
    if (!(out == b->lastInput)) truncated |= b->storeScalar(out, values, scratch_);
  }
  return truncated;
}

void StatementHandle::adoptQuery(std::unique_ptr<Statement> query, UserSession& session) {
  prepare(query->text());
  engine_ = std::move(query);
  session_ = &session;
  session.registerStatement(this);
  type_ = OCI_STMT_SELECT;
  describeColumns();
  executed_ = true;
  state_ = OCI_STMT_STATE_EXECUTED;
}

bool StatementHandle::writeReturning(ub4 iteration, ub4 capacity) {
  const auto& slots = engine_->returningSlots();
  if (slots.empty()) return false;
  const auto& rows = engine_->returningRows();
  const auto& placeholders = engine_->placeholders();
  bool truncated = false;
  for (auto& b : binds_) {
    if (!b->returningTarget) continue;
    // The value column of the RETURNING clause this bind receives.
    int column = -1;
    for (size_t j = 0; j < slots.size(); ++j) {
      size_t slot = static_cast<size_t>(slots[j]);
      bool match = b->name.empty()
                       ? slot + 1 == b->position
                       : slot < placeholders.size() && placeholders[slot].name == b->key;
      if (match) column = static_cast<int>(j);
    }
    if (column < 0) continue;
    std::vector<const Value*> values;
    values.reserve(rows.size());
    for (const auto& row : rows)
      values.push_back(&row[static_cast<size_t>(column)]);
    ub4 room = b->maxElements > 0 ? b->maxElements : capacity;
    truncated |= b->output(iteration, values, room, session_->engine->values(), scratch_);
    if (isLocatorType(b->dty)) {
      // Returned LOB columns point at the rows written.
      for (size_t r = 0; r < rows.size() && iteration + r < room; ++r) {
        b->pointLocator(iteration + static_cast<ub4>(r),
                        engine_->returningLobRef(r, static_cast<size_t>(column)));
      }
    }
  }
  return truncated;
}

sword StatementHandle::execute(ServiceContext& svc, ErrorHandle& err, ub4 iters, ub4 rowoff,
                               ub4 mode, ErrorRecords& records) {
  if (!prepared) raiseOra(24337);
  UserSession& session = svc.loggedOnSession();
  parseErrorOffset_ = 0;
  err.dmlRowOffset = 0;
  try {
    attach(session);
    if (isQuery()) return runQuery(iters, mode, records);
    return runOther(err, iters, rowoff, mode, records);
  } catch (const OraError& e) {
    if (e.offset() >= 0) parseErrorOffset_ = static_cast<ub2>(e.offset());
    throw;
  }
}

sword StatementHandle::runQuery(ub4 iters, ub4 mode, ErrorRecords& records) {
  executed_ = false;
  endOfFetch_ = false;
  rowCount_ = 0;
  rowsFetched_ = 0;
  longValues_.clear();
  if (mode & OCI_DESCRIBE_ONLY) {
    describeColumns();
    return OCI_SUCCESS;
  }
  bindInputs(0);
  engine_->execute();
  executed_ = true;
  state_ = OCI_STMT_STATE_EXECUTED;
  describeColumns();
  scrollable_ = (mode & OCI_STMT_SCROLLABLE_READONLY) != 0;
  scrollComplete_ = false;
  scrollRows_.clear();
  scrollPosition_ = 0;
  sword status = OCI_SUCCESS;
  if (iters > 0 && scrollable_) {
    status = fetchScrolled(iters, OCI_FETCH_NEXT, 0, records);
  } else if (iters > 0) {
    status = fetch(iters, records);
    if ((mode & OCI_EXACT_FETCH) && status != OCI_NO_DATA && engine_->fetch()) {
      engine_->close();
      executed_ = false;
      raiseOra(1422);
    }
  }
  if (mode & OCI_COMMIT_ON_SUCCESS) session_->engine->commit();
  return status;
}

sword StatementHandle::runOther(ErrorHandle& err, ub4 iters, ub4 rowoff, ub4 mode,
                                ErrorRecords& records) {
  executed_ = false;
  rowCount_ = 0;
  rowCounts_.clear();
  dmlErrorCount_ = 0;
  err.batchErrors.clear();
  if (mode & OCI_DESCRIBE_ONLY) {
    described_ = true;
    params_.clear();
    return OCI_SUCCESS;
  }
  if (iters == 0) raiseOra(24333);
  auto type = engine_->type();
  bool dml = type == StatementType::Insert || type == StatementType::Update ||
             type == StatementType::Delete;
  bool truncated = false;
  if (!dml) {
    // The queries of cursor variables are handed on or dropped before the
    // call ends: engine statements must not outlive their session.
    struct DropCursors {
      std::vector<std::unique_ptr<BindHandle>>& binds;
      ~DropCursors() {
        for (auto& b : binds)
          b->cursor.statement.reset();
      }
    } dropCursors{binds_};
    bindInputs(0);
    rowCount_ = static_cast<ub4>(engine_->execute());
    if (isBlock()) truncated = writeBlockOutputs();
  } else if (mode & (OCI_BATCH_ERRORS | OCI_RETURN_ROW_COUNT_ARRAY)) {
    truncated = runRowByRow(err, iters, rowoff, mode);
  } else {
    Statement::ArrayProgress progress;
    try {
      rowCount_ = static_cast<ub4>(engine_->executeArray(
          rowoff, iters, [&](size_t i) { bindInputs(static_cast<ub4>(i)); },
          [&](size_t i) {
            if (engine_->lastRowid()) lastRowid_ = engine_->lastRowid();
            truncated |= writeReturning(static_cast<ub4>(i), iters);
          },
          progress));
    } catch (...) {
      // The rows before the failing one stay done.
      err.dmlRowOffset = rowoff + static_cast<ub4>(progress.rowsDone);
      rowCount_ = static_cast<ub4>(progress.rowsProcessed);
      throw;
    }
    err.dmlRowOffset = 0;
  }
  state_ = OCI_STMT_STATE_EXECUTED;
  if (mode & OCI_COMMIT_ON_SUCCESS) session_->engine->commit();
  if (truncated) {
    records.set(1406);
    return OCI_SUCCESS_WITH_INFO;
  }
  return OCI_SUCCESS;
}

void StatementHandle::checkDefines() {
  bool anyDefine = false;
  for (auto& d : defines_) {
    if (!d) continue;
    if (d->position > params_.size()) raiseOra(1007);
    anyDefine = true;
    checkObjectDefine(*d, *params_[d->position - 1]);
    // A locator reads a LOB column of its own type.
    ub2 columnType = params_[d->position - 1]->dataType;
    if (isLocatorType(d->dty) && d->dty != columnType) {
      raiseOra(932, {d->dty == SQLT_CLOB   ? "CLOB"
                     : d->dty == SQLT_BLOB ? "BLOB"
                                           : "FILE",
                     isLocatorType(columnType) ? (columnType == SQLT_CLOB   ? "CLOB"
                                                  : columnType == SQLT_BLOB ? "BLOB"
                                                                            : "FILE")
                                               : "CHAR"});
    }
  }
  if (!anyDefine && requireDefines) raiseOra(24374);
}

sword StatementHandle::fetch(ub4 rows, ErrorRecords& records) {
  if (!prepared) raiseOra(24337);
  if (!engine_ || !isQuery() || !described_ || (!executed_ && !endOfFetch_)) raiseOra(24338);
  if (endOfFetch_) raiseOra(1002);
  if (rows == 0) {
    engine_->close();
    executed_ = false;
    endOfFetch_ = true;
    rowsFetched_ = 0;
    return OCI_SUCCESS;
  }
  checkDefines();
  if (keepLongValues && longValues_.size() != params_.size())
    longValues_.assign(params_.size(), {});
  SessionValues& values = session_->engine->values();
  int warning = 0, error = 0;
  ub4 fetched = 0;
  for (; fetched < rows; ++fetched) {
    if (!engine_->fetch()) {
      endOfFetch_ = true;
      executed_ = false;
      break;
    }
    for (auto& d : defines_) {
      if (!d) continue;
      int column = static_cast<int>(d->position - 1);
      ValueView v = ValueView::column(*engine_, column);
      DefineHandle::Outcome outcome = d->write(v, fetched, values, scratch_);
      if (isLocatorType(d->dty)) d->pointLocator(fetched, v, engine_->lobRef(column));
      if (outcome.error && !error) error = outcome.code;
      if (!outcome.error && outcome.code && !warning) warning = outcome.code;
    }
    if (keepLongValues) {
      for (size_t i = 0; i < params_.size(); ++i) {
        ub2 type = params_[i]->dataType;
        if (type == SQLT_LNG || type == SQLT_LBI)
          longValues_[i] = engine_->value(static_cast<int>(i));
      }
    }
    ++rowCount_;
  }
  rowsFetched_ = fetched;
  if (error) raiseOra(error);
  if (endOfFetch_) state_ = OCI_STMT_STATE_END_OF_FETCH;
  return fetchOutcome(endOfFetch_, warning, records);
}

sword StatementHandle::fetchOutcome(bool noMoreRows, int warning, ErrorRecords& records) {
  if (noMoreRows) {
    records.set(1403);
    return OCI_NO_DATA;
  }
  if (warning) {
    records.set(warning);
    return OCI_SUCCESS_WITH_INFO;
  }
  return OCI_SUCCESS;
}

sword StatementHandle::bindInfo(ub4 size, ub4 startloc, sb4* found, OraText* bvnp[], ub1 bvnl[],
                                OraText* invp[], ub1 inpl[], ub1 dupl[], OCIBind** hndl) {
  if (!prepared) raiseOra(24337);
  if (bindNames_.empty()) {
    for (const Placeholder& p : analysis->placeholders) {
      if (std::find(bindNames_.begin(), bindNames_.end(), p.name) == bindNames_.end()) {
        bindNames_.push_back(p.name);
      }
    }
  }
  if (bindNames_.empty()) return OCI_NO_DATA;
  ub4 total = static_cast<ub4>(bindNames_.size());
  if (startloc == 0) startloc = 1;
  ub4 count = 0;
  for (ub4 i = startloc - 1; i < total && count < size; ++i, ++count) {
    const std::string& name = bindNames_[i];
    if (bvnp) bvnp[count] = reinterpret_cast<OraText*>(const_cast<char*>(name.c_str()));
    if (bvnl) bvnl[count] = static_cast<ub1>(name.size());
    if (invp) invp[count] = nullptr;
    if (inpl) inpl[count] = 0;
    if (dupl) dupl[count] = 0;
    if (hndl) {
      hndl[count] = nullptr;
      for (auto& b : binds_) {
        if (!b->name.empty() && b->key == name) hndl[count] = opaque<OCIBind>(b.get());
      }
    }
  }
  if (found)
    *found = startloc - 1 + count < total ? -static_cast<sb4>(total) : static_cast<sb4>(total);
  return OCI_SUCCESS;
}

sword StatementHandle::getAttribute(void* value, ub4* size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_ROW_COUNT:
      return putAttribute<ub4>(value, size, rowCount_);
    case OCI_ATTR_CURRENT_POSITION:
      return putAttribute<ub4>(value, size, scrollable_ ? scrollPosition_ : rowCount_);
    case OCI_ATTR_UB8_ROW_COUNT:
      return putAttribute<ub8>(value, size, rowCount_);
    case OCI_ATTR_ROWS_FETCHED:
      return putAttribute<ub4>(value, size, rowsFetched_);
    case OCI_ATTR_STMT_IS_RETURNING: {
      if (!prepared) raiseOra(24337);
      bool returning = false;
      for (const Placeholder& p : analysis->placeholders)
        returning = returning || p.returningTarget;
      return putAttribute<ub1>(value, size, returning ? 1 : 0);
    }
    case OCI_ATTR_SQLFNCODE:
      return putAttribute<ub2>(value, size,
                               static_cast<ub2>(engine_ ? engine_->sqlFunctionCode() : 0));
    case OCI_ATTR_PARAM_COUNT:
      return putAttribute<ub4>(value, size, static_cast<ub4>(described_ ? params_.size() : 0));
    case OCI_ATTR_STMT_TYPE:
      if (!prepared) raiseOra(24337);
      return putAttribute<ub2>(value, size, type_);
    case OCI_ATTR_PARSE_ERROR_OFFSET:
      return putAttribute<ub2>(value, size, parseErrorOffset_);
    case OCI_ATTR_PREFETCH_ROWS:
      return putAttribute<ub4>(value, size, prefetchRows_);
    case OCI_ATTR_PREFETCH_MEMORY:
      return putAttribute<ub4>(value, size, prefetchMemory_);
    case OCI_ATTR_ENV:
      return putAttribute<OCIEnv*>(value, size, opaque<OCIEnv>(reinterpret_cast<Handle*>(env)));
    case OCI_ATTR_STATEMENT:
      return putTextAttribute(value, size, text);
    case OCI_ATTR_BIND_COUNT:
      return putAttribute<ub4>(value, size, static_cast<ub4>(analysis->placeholders.size()));
    case OCI_ATTR_STMT_STATE:
      return putAttribute<ub4>(value, size, state_);
    case OCI_ATTR_NUM_DML_ERRORS:
      return putAttribute<ub4>(value, size, dmlErrorCount_);
    case OCI_ATTR_DML_ROW_COUNT_ARRAY: {
      // The counts stay the statement's until its next execute.
      const ub8* counts = rowCounts_.empty() ? nullptr : rowCounts_.data();
      putAttribute<const ub8*>(value, nullptr, counts);
      if (size) *size = static_cast<ub4>(rowCounts_.size());
      return OCI_SUCCESS;
    }
    case OCI_ATTR_ROWID: {
      RowidDescriptor* rowid = handleOf<RowidDescriptor>(value);
      if (!rowid) raiseOra(24316);
      if (!lastRowid_) raiseOra(1410);
      rowid->assign(*lastRowid_);
      if (size) *size = 0;
      return OCI_SUCCESS;
    }
    default:
      raiseOra(24315);
  }
}

sword StatementHandle::setAttribute(void* value, ub4, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_PREFETCH_ROWS:
      // Rows reach the caller straight from the engine: nothing to prefetch.
      prefetchRows_ = takeAttribute<ub4>(value);
      return OCI_SUCCESS;
    case OCI_ATTR_PREFETCH_MEMORY:
      prefetchMemory_ = takeAttribute<ub4>(value);
      return OCI_SUCCESS;
    case OCI_ATTR_NESTED_PREFETCH_ROWS:
    case OCI_ATTR_NESTED_PREFETCH_MEMORY:
      return OCI_SUCCESS;
    default:
      raiseOra(24315);
  }
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

extern "C" sword OCIStmtPrepare(OCIStmt* stmtp, OCIError* errhp, const OraText* stmt, ub4 stmt_len,
                                ub4 language, ub4 mode) {
  StatementHandle* s = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!s || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*s->env, *err, [&](ErrorRecords&) -> sword {
    (void)language;
    (void)mode;
    if (!stmt && stmt_len > 0) raiseOra(21560, {"3"});
    s->prepare(stmt ? std::string(reinterpret_cast<const char*>(stmt), stmt_len) : std::string());
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIStmtExecute(OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp, ub4 iters,
                                ub4 rowoff, const OCISnapshot*, OCISnapshot*, ub4 mode) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  StatementHandle* s = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !s || !err || svc->env != s->env) return OCI_INVALID_HANDLE;
  return guardedCall(*s->env, *err, [&](ErrorRecords& records) -> sword {
    return s->execute(*svc, *err, iters, rowoff, mode, records);
  });
}

extern "C" sword OCIStmtFetch(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation,
                              ub4 mode) {
  StatementHandle* s = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!s || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*s->env, *err, [&](ErrorRecords& records) -> sword {
    (void)mode;
    if (orientation != OCI_FETCH_NEXT && orientation != OCI_DEFAULT) raiseOra(24300);
    if (s->scrollable()) return s->fetchScrolled(nrows, OCI_FETCH_NEXT, 0, records);
    return s->fetch(nrows, records);
  });
}

extern "C" sword OCIStmtGetBindInfo(OCIStmt* stmtp, OCIError* errhp, ub4 size, ub4 startloc,
                                    sb4* found, OraText* bvnp[], ub1 bvnl[], OraText* invp[],
                                    ub1 inpl[], ub1 dupl[], OCIBind** hndl) {
  StatementHandle* s = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!s || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*s->env, *err, [&](ErrorRecords&) -> sword {
    return s->bindInfo(size, startloc, found, bvnp, bvnl, invp, inpl, dupl, hndl);
  });
}

extern "C" sword OCIStmtGetPieceInfo(OCIStmt* stmtp, OCIError* errhp, void**, ub4*, ub1*, ub4*,
                                     ub4*, ub1*) {
  StatementHandle* s = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!s || !err) return OCI_INVALID_HANDLE;
  // Data is exchanged through callbacks; no call waits for a piece.
  return guardedCall(*s->env, *err, [&](ErrorRecords&) -> sword { raiseOra(1010); });
}

extern "C" sword OCIStmtSetPieceInfo(void* hndlp, ub4 type, OCIError* errhp, const void*, ub4*, ub1,
                                     const void*, ub2*) {
  Handle* h = anyHandleOf(hndlp, type);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!h || !err || (type != OCI_HTYPE_BIND && type != OCI_HTYPE_DEFINE)) {
    return OCI_INVALID_HANDLE;
  }
  return guardedCall(*h->env, *err, [&](ErrorRecords&) -> sword { raiseOra(1010); });
}
