// Cursors behind cursor data areas; see CursorArea.h.
#include "CursorArea.h"

#include <cstring>

#include "AreaTable.h"
#include "BindHandle.h"
#include "DefineHandle.h"
#include "Environment.h"
#include "ErrorHandle.h"
#include "ExternalData.h"
#include "LobLocator.h"
#include "LogonArea.h"
#include "ParamDescriptor.h"
#include "ServiceContext.h"
#include "StatementHandle.h"
#include "UserSession.h"
#include "engine/Statement.h"
#include "value/OraError.h"
#include "value/RawHex.h"

namespace vorn::server::oci7 {

namespace {

// Statements that a parse which is not deferred executes at once.
bool isDdl(const oci::StatementHandle& s) {
  switch (s.statementType()) {
    case OCI_STMT_CREATE:
    case OCI_STMT_DROP:
    case OCI_STMT_ALTER:
      return true;
    default:
      break;
  }
  switch (s.analysis->function) {
    case SqlFunctionCode::Grant:
    case SqlFunctionCode::Revoke:
    case SqlFunctionCode::Rename:
    case SqlFunctionCode::Comment:
    case SqlFunctionCode::Truncate:
      return true;
    default:
      return false;
  }
}

// The external types of the version 7 calls: those of version 8 without
// the LOB locators.
bool isVersion7Type(sword ftype) {
  if (ftype < 0 || ftype > 0xFFFF) return false;
  auto type = static_cast<ub2>(ftype);
  return oci::isSupportedType(type) && !oci::isLocatorType(type);
}

Outcome outcomeOf(sword status, const oci::ErrorRecords& records) {
  if (status == OCI_NO_DATA) return Outcome{1403, 0};
  if (status == OCI_SUCCESS_WITH_INFO) {
    bool truncated = !records.empty() && records.records().front().code == 1406;
    return Outcome{0, truncated ? kWarningTruncated : kWarningAny};
  }
  return {};
}

const char* typeName(ub2 describeType) {
  switch (describeType) {
    case SQLT_NUM:
      return "NUMBER";
    case SQLT_DAT:
      return "DATE";
    case SQLT_BIN:
      return "BINARY";
    case SQLT_AFC:
      return "CHAR";
    case SQLT_RDD:
      return "ROWID";
    case SQLT_CLOB:
      return "CLOB";
    case SQLT_BLOB:
      return "BLOB";
    default:
      return "CHAR";
  }
}

}  // namespace

CursorArea::CursorArea(std::shared_ptr<LogonArea> logon)
    : logon_(std::move(logon)),
      errors_(std::make_unique<oci::ErrorHandle>(&logon_->environment())),
      statement_(std::make_unique<oci::StatementHandle>(&logon_->environment())) {
  statement_->requireDefines = false;
  statement_->keepLongValues = true;
}

CursorArea::~CursorArea() = default;

void CursorArea::close() {
  statement_.reset();
}

oci::StatementHandle& CursorArea::parsedStatement() {
  if (!statement_ || !statement_->prepared) raiseOra(1003);
  return *statement_;
}

ub4 CursorArea::commitMode() const {
  return logon_->autoCommit ? OCI_COMMIT_ON_SUCCESS : OCI_DEFAULT;
}

void CursorArea::writeResults(Cda_Def* area) {
  oci::StatementHandle& s = *statement_;
  area->rpc = s.rowCount();
  area->peo = s.parseErrorOffset();
  if (s.parsed()) area->ft = static_cast<ub2>(s.sqlFunctionCode());
  if (s.lastRowid()) writeRowid(area, *s.lastRowid());
}

namespace {

// Writes the results of an execute or fetch into the area on every way out,
// failures included (rows processed before a failing array row, the parse
// error offset).
template <class Write>
class ResultWriter {
 public:
  explicit ResultWriter(Write write) : write_(std::move(write)) {}
  ~ResultWriter() { write_(); }
  ResultWriter(const ResultWriter&) = delete;
  ResultWriter& operator=(const ResultWriter&) = delete;

 private:
  Write write_;
};

}  // namespace

void CursorArea::parse(Cda_Def* area, std::string text, bool deferred) {
  if (!statement_) raiseOra(1001);
  oci::StatementHandle& s = *statement_;
  executedAtParse_ = false;
  s.prepare(std::move(text));
  area->ft = 0;
  area->rpc = 0;
  area->peo = 0;
  try {
    s.parse(logon_->session());
    // A query's names are resolved now too, as Oracle's parse does.
    if (!deferred && s.isQuery()) s.describe(logon_->session());
  } catch (const OraError&) {
    if (!deferred) {
      area->peo = s.parseErrorOffset();
      throw;
    }
    // The error surfaces at the next describe or execute, which parse again.
  }
  // A deferred parse that failed still tells what the text is.
  area->ft = static_cast<ub2>(s.analysis->function);
  if (!deferred && s.parsed() && isDdl(s)) {
    ResultWriter results([&] { writeResults(area); });
    s.execute(logon_->serviceContext(), *errors_, 1, 0, OCI_DEFAULT, errors_->errors);
    executedAtParse_ = true;
  }
}

Outcome CursorArea::execute(Cda_Def* area, ub4 iters, ub4 rowoff) {
  oci::StatementHandle& s = parsedStatement();
  if (executedAtParse_) {
    executedAtParse_ = false;
    return {};
  }
  ResultWriter results([&] { writeResults(area); });
  oci::UserSession& session = logon_->session();
  s.parse(session);
  sword status;
  if (s.isQuery()) {
    status = s.execute(logon_->serviceContext(), *errors_, 0, 0, OCI_DEFAULT, errors_->errors);
  } else {
    status =
        s.execute(logon_->serviceContext(), *errors_, iters, rowoff, commitMode(), errors_->errors);
  }
  return outcomeOf(status, errors_->errors);
}

Outcome CursorArea::executeAndFetch(Cda_Def* area, ub4 rows, bool cancel, bool exact) {
  oci::StatementHandle& s = parsedStatement();
  s.parse(logon_->session());
  if (!s.isQuery()) return execute(area, 1, 0);
  executedAtParse_ = false;
  ResultWriter results([&] { writeResults(area); });
  sword status = s.execute(logon_->serviceContext(), *errors_, rows, 0,
                           exact ? OCI_EXACT_FETCH : OCI_DEFAULT, errors_->errors);
  Outcome outcome = outcomeOf(status, errors_->errors);
  if (cancel && s.queryOpen()) s.fetch(0, errors_->errors);
  return outcome;
}

Outcome CursorArea::fetch(Cda_Def* area, ub4 rows) {
  oci::StatementHandle& s = parsedStatement();
  if (!s.queryOpen()) raiseOra(1002);
  ResultWriter results([&] { writeResults(area); });
  return outcomeOf(s.fetch(rows, errors_->errors), errors_->errors);
}

namespace {

// Hands the query a block opened to the cursor data area `target`, which
// becomes an open cursor of `logon` when it is not one already.
void deliverCursor(const std::shared_ptr<LogonArea>& logon, Cda_Def* target,
                   std::unique_ptr<Statement> query) {
  std::shared_ptr<CursorArea> cursor = areas().cursor(target);
  if (!cursor || target->chk != kCursorCheck || cursor->sharedLogon() != logon) {
    auto fresh = std::make_shared<CursorArea>(logon);
    fresh->openedByCaller = false;
    std::shared_ptr<CursorArea> replaced = areas().putCursor(target, fresh);
    if (replaced) {
      oci::EnvironmentLock lock(replaced->logon().environment());
      replaced->close();
    }
    cursor = std::move(fresh);
  }
  cursor->receive(target, std::move(query));
}

}  // namespace

void CursorArea::receive(Cda_Def* area, std::unique_ptr<Statement> query) {
  if (!statement_) statement_ = std::make_unique<oci::StatementHandle>(&logon_->environment());
  statement_->requireDefines = false;
  statement_->keepLongValues = true;
  statement_->adoptQuery(std::move(query), logon_->session());
  executedAtParse_ = false;
  area->ft = 4;
  area->rpc = 0;
  area->peo = 0;
  clearRowid(area);
  area->chk = kCursorCheck;
}

void CursorArea::bind(Cda_Def* area, const std::string& name, ub1* progv, sword progvl, sword ftype,
                      sb2* indp, ub2* alen, ub2* arcode, ub4 maxsiz, ub4* cursiz) {
  oci::StatementHandle& s = parsedStatement();
  if (name.empty()) raiseOra(1036);
  if (ftype == SQLT_CUR) {
    auto* target = reinterpret_cast<Cda_Def*>(progv);
    if (!target) raiseOra(21560, {"4"});
    // The area must be free for this logon's query: not the cursor being
    // bound, not an open cursor of another logon.
    std::shared_ptr<CursorArea> existing = areas().cursor(target);
    if (target == area ||
        (existing && target->chk == kCursorCheck && existing->sharedLogon() != logon_)) {
      raiseOra(1001);
    }
    oci::BindHandle& b = s.bindByName(name, nullptr);
    b.assign(progv, 0, SQLT_CUR, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
    std::shared_ptr<LogonArea> logon = logon_;
    b.cursorReceiver = [logon, target](std::unique_ptr<Statement> query) {
      deliverCursor(logon, target, std::move(query));
    };
    return;
  }
  if (progvl < 0) raiseOra(21560, {"5"});
  if (!isVersion7Type(ftype)) raiseOra(1460);
  oci::BindHandle& b = s.bindByName(name, nullptr);
  b.assign(progv, progvl, static_cast<ub2>(ftype), indp, alen, arcode, maxsiz, cursiz, OCI_DEFAULT);
}

void CursorArea::define(Cda_Def* area, sword position, ub1* buf, sword bufl, sword ftype, sb2* indp,
                        ub2* rlen, ub2* rcode) {
  oci::StatementHandle& s = parsedStatement();
  if (bufl < 0) raiseOra(21560, {"4"});
  if (!isVersion7Type(ftype)) raiseOra(1460);
  const oci::ParamDescriptor& column = describe(area, position);
  // The version 7 calls have no LOB locators: a LOB column cannot be read
  // through them, as with Oracle 8's version 7 interface.
  if (oci::isLocatorType(column.dataType)) {
    raiseOra(932, {"-", column.dataType == SQLT_CLOB   ? "CLOB"
                        : column.dataType == SQLT_BLOB ? "BLOB"
                                                       : "FILE"});
  }
  s.defineAt(static_cast<ub4>(position))
      .assign(buf, bufl, static_cast<ub2>(ftype), indp, rlen, rcode, OCI_DEFAULT);
}

const oci::ParamDescriptor& CursorArea::describe(Cda_Def* area, sword position) {
  oci::StatementHandle& s = parsedStatement();
  try {
    s.describe(logon_->session());
  } catch (const OraError&) {
    area->peo = s.parseErrorOffset();
    throw;
  }
  if (position < 1) raiseOra(1007);
  if (static_cast<size_t>(position) > s.columnCount()) raiseOra(1007);
  return s.param(static_cast<ub4>(position));
}

ub4 CursorArea::readLong(Cda_Def* area, sword position, ub1* buf, sb4 size, sword dtype,
                         sb4 offset) {
  oci::StatementHandle& s = parsedStatement();
  if (size < 0) raiseOra(21560, {"4"});
  if (offset < 0) raiseOra(21560, {"7"});
  if (size > 0 && !buf) raiseOra(21560, {"3"});
  const oci::ParamDescriptor& column = describe(area, position);
  if (column.dataType != SQLT_LNG && column.dataType != SQLT_LBI) {
    raiseOra(932, {"LONG", typeName(column.dataType)});
  }
  const Value* value = s.longValue(static_cast<ub4>(position));
  if (!value) raiseOra(1002);
  if (value->isNull()) return 0;
  std::string hex;
  std::string_view bytes = value->asText();
  switch (dtype) {
    case SQLT_LNG:
    case SQLT_CHR:
      // A LONG RAW read as characters is its hexadecimal text.
      if (value->kind() == Value::Kind::Raw) {
        hex = rawToHex(bytes);
        bytes = hex;
      }
      break;
    case SQLT_LBI:
    case SQLT_BIN:
      break;
    default:
      raiseOra(1460);
  }
  size_t start = static_cast<size_t>(offset);
  if (start >= bytes.size()) return 0;
  size_t n = std::min(bytes.size() - start, static_cast<size_t>(size));
  if (n) std::memcpy(buf, bytes.data() + start, n);
  return static_cast<ub4>(n);
}

}  // namespace vorn::server::oci7
