// Transaction and session control and the statements that change nothing
// the engine keeps: COMMIT, ROLLBACK [TO SAVEPOINT], SAVEPOINT, ALTER SESSION
// (the parameters the server knows and the values it accepts), GRANT,
// REVOKE and COMMENT (accepted, ending the transaction as DDL does), SET
// TRANSACTION, and PL/SQL handed to the session's block handler. See
// Statement.h.
#include "engine/Session.h"
#include "engine/Statement.h"
#include "value/AsciiCase.h"
#include "value/OraError.h"

namespace vorn::server {

void Statement::executeControl() {
  Session& s = *session_;
  switch (tree_->kind) {
    case StmtKind::Commit:
      s.commit();
      return;
    case StmtKind::Rollback: {
      auto& t = static_cast<TransactionStmt&>(*tree_);
      if (t.savepoint.empty()) {
        s.rollback();
      } else {
        s.rollbackToSavepoint(t.savepoint);
      }
      return;
    }
    case StmtKind::Savepoint:
      s.savepoint(static_cast<TransactionStmt&>(*tree_).savepoint);
      return;
    case StmtKind::AlterSession: {
      auto& a = static_cast<AlterSessionStmt&>(*tree_);
      std::string v = asciiUpperCase(a.value);
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
      return;
    }
    case StmtKind::Grant:
    case StmtKind::Revoke:
    case StmtKind::Comment:
      // Privileges are not enforced and comments not kept; as DDL these
      // still end the transaction.
      s.commitForDdl();
      return;
    case StmtKind::SetTransaction:
      if (asciiUpperCase(text_).find("READ ONLY") != std::string::npos)
        raiseOra(900, {}, tree_->pos);
      return;
    case StmtKind::LockTable:
      raiseOra(900, {}, tree_->pos);
    case StmtKind::AlterOther:
      s.commitForDdl();
      return;
    case StmtKind::PlsqlBlock:
    case StmtKind::CreateStoredCode: {
      const auto& handler = Session::blockHandler();
      if (!handler) raiseOra(900, {}, tree_->pos);
      handler(s, *this);
      return;
    }
    default:
      raiseOra(900, {}, tree_->pos);
  }
}

}  // namespace vorn::server
