// The table of the server's scan benchmarks, SCOTT.SCAN_T with 200,000 rows
// of NUMBER, VARCHAR2 and DATE columns, and their baseline: the same scan
// straight through the SQLite C API, reading every column as its storage
// class gives it.
#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "DemoSeed.h"
#include "engine/Database.h"
#include "engine/Session.h"

namespace vorn::bench {

inline constexpr int kScanRows = 200000;

// Makes a demo database at `path` (replacing any there) with SCAN_T filled
// with `rows` rows and checkpointed, so that the file alone holds it.
inline void MakeScanDatabase(const std::string& path, int rows = kScanRows) {
  for (const char* suffix : {"", "-wal", "-shm"})
    std::filesystem::remove(path + suffix);
  {
    auto db = server::Database::create(path);
    server::loadDemoSeed(db);
    auto s = db->logon("scott", "tiger");
    s->execute(
        "create table scan_t (id number(10) primary key, amount number(12,2), "
        "name varchar2(30), created date, code varchar2(100))");
  }
  // Rows go in through SQLite in the engine's storage format (NUMBER as
  // INTEGER/REAL, DATE as seconds), which is quicker than 200,000 INSERTs.
  sqlite3* raw = nullptr;
  sqlite3_open(path.c_str(), &raw);
  sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(raw, "INSERT INTO \"SCOTT.SCAN_T\" VALUES (?1, ?2, ?3, ?4, ?5)", -1, &ins,
                     nullptr);
  for (int i = 1; i <= rows; ++i) {
    sqlite3_bind_int64(ins, 1, i);
    sqlite3_bind_double(ins, 2, i * 1.25 + 0.01);
    std::string name = "Name number " + std::to_string(i);
    sqlite3_bind_text(ins, 3, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(ins, 4, 946684800 + static_cast<int64_t>(i) * 3600);
    // Appended: g++ 12 at -O3 misreads "C" + std::to_string(...) (-Wrestrict).
    std::string code = "C";
    code += std::to_string(i % 1000);
    sqlite3_bind_text(ins, 5, code.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(ins);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_exec(raw, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
  sqlite3_close(raw);
}

inline void SqliteScanBaseline(benchmark::State& state, const std::string& path,
                               int64_t expectedRows = kScanRows) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(raw,
                     "SELECT \"ID\", \"AMOUNT\", \"NAME\", \"CREATED\", \"CODE\" FROM "
                     "\"SCOTT.SCAN_T\"",
                     -1, &st, nullptr);
  for (auto _ : state) {
    int64_t rows = 0, ints = 0;
    size_t bytes = 0;
    double sum = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      ++rows;
      for (int col = 0; col < 5; ++col) {
        switch (sqlite3_column_type(st, col)) {
          case SQLITE_INTEGER:
            ints += sqlite3_column_int64(st, col);
            break;
          case SQLITE_FLOAT:
            sum += sqlite3_column_double(st, col);
            break;
          case SQLITE_TEXT:
            sqlite3_column_text(st, col);
            bytes += static_cast<size_t>(sqlite3_column_bytes(st, col));
            break;
          default:
            break;
        }
      }
    }
    sqlite3_reset(st);
    if (rows != expectedRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(ints);
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * expectedRows);
  sqlite3_finalize(st);
  sqlite3_close(raw);
}

}  // namespace vorn::bench
