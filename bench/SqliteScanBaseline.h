// The baseline of the server's scan benchmarks: the same 200,000-row scan of
// SCOTT.SCAN_T straight through the SQLite C API, reading every column as
// its storage class gives it.
#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <string>

namespace vorn::bench {

inline void SqliteScanBaseline(benchmark::State& state, const std::string& path,
                               int64_t expectedRows) {
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
