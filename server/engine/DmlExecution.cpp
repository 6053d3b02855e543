// DML execution: the rows to change are locked first (UPDATE, DELETE), the
// write runs inside a SQLite savepoint (unless it is one row that SQLite
// writes or refuses as a whole), constraints are checked at statement end,
// ON DELETE CASCADE and SET NULL run as nested statements, and any failure
// rolls the statement back as a whole. See Statement.h and docs/server.md.
#include <set>

#include "engine/Database.h"
#include "engine/Marshalling.h"
#include "engine/Plan.h"
#include "engine/Session.h"
#include "engine/Sqlite.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace vorn::server {

namespace {

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
  // A SQLite statement that writes one row leaves nothing behind when it
  // fails. Work after the write that may fail (checks, values read back,
  // actions on child rows), stored code (which may write), or more rows to
  // write need the statement savepoint.
  bool savepoint = !d.rowByRow || d.callsStoredCode || !d.readBackSql.empty() || d.lockInserted ||
                   !d.childActions.empty() || !d.checkNames.empty() || !d.uniqueChecks.empty() ||
                   !d.parentChecks.empty();
  if (savepoint) s.openStatementSavepoint();
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
    if (!savepoint && lockRows.size() > 1) {
      s.openStatementSavepoint();
      savepoint = true;
    }
    std::vector<std::vector<Value>> rows;
    // The row just written, as the RETURNING list gives it (readBackSql).
    auto readWritten = [&](int64_t rowid) {
      if (d.readBackSql.empty()) {
        rows.push_back({Value::integer(rowid)});
        return;
      }
      Borrowed back(s, main, d.readBackSql);
      bindAll(back.get());
      sqlite3_bind_int64(back.get(), d.rowParameter, rowid);
      for (auto& r : runAll(s, main, back.get()))
        rows.push_back(std::move(r));
    };
    {
      Borrowed stmt(s, main, d.sql);
      bindAll(stmt.get());
      if (d.kind == StmtKind::Update) {
        // One write per locked row with the values read before any write.
        for (const auto& lockRow : lockRows) {
          int64_t rowid = lockRow[0].asInteger();
          sqlite3_bind_int64(stmt.get(), d.rowParameter, rowid);
          for (int k = 0; k < d.setCount; ++k) {
            bindValue(stmt.get(), d.setParameter + k, lockRow[static_cast<size_t>(d.setFirst + k)]);
          }
          while (stepRow(s, main.db, stmt.get())) {
          }
          sqlite3_reset(stmt.get());
          if (!d.readBackSql.empty() || sqlite3_changes(main.db) > 0) readWritten(rowid);
        }
      } else if (d.rowByRow) {
        while (stepRow(s, main.db, stmt.get())) {
        }
        readWritten(sqlite3_last_insert_rowid(main.db));
      } else {
        rows = runAll(s, main, stmt.get());
      }
    }
    auto& locks = s.database().locks();
    for (const auto& row : rows) {
      int64_t rid = row[0].asInteger();
      if ((d.kind != StmtKind::Insert || d.lockInserted) &&
          !locks.holdsRow(&s, d.table->obj, rid)) {
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
    if (savepoint) s.releaseStatementSavepoint();
    s.values().unpinSysdate();
    rowsProcessed_ = static_cast<int64_t>(rows.size());
    if (!rows.empty()) lastRowid_ = rowidParts(d.table->obj, rows.back()[0].asInteger());
    if (!d.returning.empty()) {
      for (const auto& row : rows) {
        returningRowids_.push_back(row[0].asInteger());
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
    if (savepoint) s.rollbackStatementSavepoint();
    throw;
  }
}

}  // namespace vorn::server
