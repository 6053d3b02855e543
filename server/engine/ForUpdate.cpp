// SELECT ... FOR UPDATE: every row is read at execute time and the rows of
// the locked tables are locked; when a lock had to wait, another session
// may have changed the rows meanwhile, so they are read once more. NOWAIT
// fails at once with ORA-00054, WAIT n after n seconds with ORA-30006. See
// Statement.h.
#include "engine/Database.h"
#include "engine/Marshalling.h"
#include "engine/Plan.h"
#include "engine/Session.h"
#include "engine/Statement.h"

namespace vorn::server {

std::vector<std::vector<Value>> Statement::readAndLockRows(Plan& p) {
  Session& s = *session_;
  const CompiledQuery& q = p.query;
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
        // Every column: the hidden ones hold the rows of LOB columns.
        std::vector<Value> row;
        int width = sqlite3_column_count(stmt.get());
        for (int i = 0; i < width; ++i) {
          TypeKind kind = static_cast<size_t>(i) < visible ? p.columnTypes[i].kind : TypeKind::Null;
          row.push_back(columnValue(stmt.get(), i, kind));
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
  return rows;
}

}  // namespace vorn::server
