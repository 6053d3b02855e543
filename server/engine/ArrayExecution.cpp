// Array DML: the rows of an array executed one by one, or, for an INSERT
// ... VALUES that needs nothing per row, up to 64 rows per SQLite statement
// (one multi-row VALUES list), which saves the cost of a statement
// execution per row. See Statement::executeArray.
#include <algorithm>

#include "engine/Marshalling.h"
#include "engine/Plan.h"
#include "engine/Session.h"
#include "engine/Sqlite.h"
#include "engine/Statement.h"

namespace vorn::server {

namespace {

// Past a few dozen rows a longer statement saves nothing more per row; it
// only costs memory in the caches.
constexpr size_t kMaxGroupRows = 64;

bool sameKinds(const std::vector<OraType>& a, const std::vector<OraType>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const OraType& x, const OraType& y) { return x.kind == y.kind; });
}

}  // namespace

const std::string& Plan::groupSql(size_t rows, size_t placeholders) {
  auto it = groupSql_.find(rows);
  if (it != groupSql_.end()) return it->second;
  std::string_view row = std::string_view(dml.sql).substr(dml.rowAt);
  std::string sql = dml.sql;
  for (size_t r = 1; r < rows; ++r) {
    sql += ", ";
    sql += shiftParameters(row, static_cast<int>(r * placeholders));
  }
  return groupSql_.emplace(rows, std::move(sql)).first->second;
}

size_t Statement::groupCapacity(const Plan& p) {
  if (p.isQuery || !p.dml.groupable || hook_ || !parameters_.empty()) return 1;
  if (std::find(bound_.begin(), bound_.end(), false) != bound_.end()) return 1;
  size_t placeholders = binds_.size();
  if (placeholders == 0) return kMaxGroupRows;
  int limit = sqlite3_limit(session_->mainConnection().db, SQLITE_LIMIT_VARIABLE_NUMBER, -1);
  return std::clamp<size_t>(static_cast<size_t>(std::max(limit, 0)) / placeholders, 1,
                            kMaxGroupRows);
}

void Statement::keepGroupRow(size_t index) {
  // The values move into the group; the binds get the vector kept there
  // before (values of an earlier group), which the next row overwrites.
  std::vector<Value>& kept = groupBinds_[index];
  kept.resize(binds_.size());
  kept.swap(binds_);
}

void Statement::restoreGroupRow(size_t index) {
  binds_ = groupBinds_[index];
  bindTypes_ = groupTypes_;
  std::fill(bound_.begin(), bound_.end(), true);
}

int64_t Statement::executeArray(size_t first, size_t end,
                                const std::function<void(size_t)>& bindRow,
                                const std::function<void(size_t)>& afterRow,
                                ArrayProgress& progress) {
  progress = ArrayProgress();
  // A row bound while a group was gathered that cannot join it (binds of
  // other types) starts the next round.
  bool carried = false;
  std::vector<Value> carryBinds;
  std::vector<OraType> carryTypes;
  std::vector<bool> carryBound;
  size_t row = first;
  while (row < end) {
    if (carried) {
      binds_ = carryBinds;
      bindTypes_ = carryTypes;
      bound_ = carryBound;
      carried = false;
    } else {
      bindRow(row);
    }
    size_t capacity = end - row > 1 && tree_->kind == StmtKind::Insert ? groupCapacity(*plan()) : 1;
    if (capacity < 2) {
      progress.rowsProcessed += execute();
      afterRow(row);
      ++progress.rowsDone;
      ++row;
      continue;
    }
    if (groupBinds_.size() < capacity) groupBinds_.resize(capacity);
    groupTypes_ = bindTypes_;
    size_t count = 0;
    keepGroupRow(count++);
    // A row whose values cannot be read fails after the rows before it ran.
    std::exception_ptr bindFailure;
    while (count < capacity && row + count < end) {
      // A placeholder the row leaves alone keeps the value of the row before.
      std::fill(bound_.begin(), bound_.end(), false);
      try {
        bindRow(row + count);
      } catch (...) {
        bindFailure = std::current_exception();
        break;
      }
      for (size_t i = 0; i < bound_.size(); ++i) {
        if (bound_[i]) continue;
        binds_[i] = groupBinds_[count - 1][i];
        bound_[i] = true;
      }
      if (!sameKinds(bindTypes_, groupTypes_)) {
        carried = true;
        carryBinds = binds_;
        carryTypes = bindTypes_;
        carryBound = bound_;
        break;
      }
      keepGroupRow(count++);
    }
    runGroup(row, count, afterRow, progress);
    // The binds hold the group's last row, as after executing it alone.
    if (!carried) restoreGroupRow(count - 1);
    row += count;
    if (bindFailure) std::rethrow_exception(bindFailure);
  }
  return progress.rowsProcessed;
}

void Statement::runGroup(size_t firstRow, size_t count, const std::function<void(size_t)>& afterRow,
                         ArrayProgress& progress) {
  size_t done = 0;
  while (done < count) {
    // Statements for 64, 32, 16, ... rows: a handful of texts per insert.
    size_t rows = 1;
    while (rows * 2 <= count - done && rows * 2 <= kMaxGroupRows)
      rows *= 2;
    if (rows > 1) {
      bool inserted = false;
      try {
        restoreGroupRow(done);
        insertGroup(*plan(), done, rows);
        inserted = true;
      } catch (...) {
        // Rolled back: the rows run one by one below, and the failing one
        // reports the error.
      }
      if (inserted) {
        progress.rowsDone += rows;
        progress.rowsProcessed += static_cast<int64_t>(rows);
        afterRow(firstRow + done + rows - 1);
        done += rows;
        continue;
      }
    }
    for (size_t i = 0; i < rows; ++i, ++done) {
      restoreGroupRow(done);
      progress.rowsProcessed += execute();
      afterRow(firstRow + done);
      ++progress.rowsDone;
    }
  }
}

void Statement::insertGroup(Plan& p, size_t index, size_t count) {
  Session& s = *session_;
  close();
  rowsProcessed_ = 0;
  returning_.clear();
  returningRowids_.clear();
  s.values().clearPendingError();
  const std::string& sql = p.groupSql(count, binds_.size());
  s.beginWrite();
  Session::Connection& main = s.mainConnection();
  s.openStatementSavepoint();
  s.values().pinSysdate();
  try {
    Borrowed stmt(s, main, sql);
    const size_t placeholders = binds_.size();
    for (size_t r = 0; r < count; ++r) {
      const std::vector<Value>& values = groupBinds_[index + r];
      for (size_t i = 0; i < placeholders; ++i)
        bindValue(stmt.get(), static_cast<int>(r * placeholders + i + 1), values[i]);
    }
    while (stepRow(s, main.db, stmt.get())) {
    }
    s.releaseStatementSavepoint();
  } catch (...) {
    s.values().unpinSysdate();
    s.rollbackStatementSavepoint();
    throw;
  }
  s.values().unpinSysdate();
  rowsProcessed_ = static_cast<int64_t>(count);
  lastRowid_ = rowidParts(p.dml.table->obj, sqlite3_last_insert_rowid(main.db));
}

}  // namespace vorn::server
