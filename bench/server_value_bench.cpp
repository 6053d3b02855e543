// Cost of the value conversions the server performs per fetched value, and
// of a full scan with those conversions done inside SQLite. Run:
//   ./build/bench/server_value_bench
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>

#include "value/DateFormat.h"
#include "value/NumberBytes.h"
#include "value/OraDate.h"
#include "value/OraNumber.h"
#include "value/SessionValues.h"
#include "value/SqlFunctions.h"

namespace vorn::server {
namespace {

void BM_NumberToText_Integer(benchmark::State& state) {
  char buf[kNumberTextMax];
  int64_t v = 1234567;
  for (auto _ : state)
    benchmark::DoNotOptimize(numberToText(OraNumber(v++), buf));
}
BENCHMARK(BM_NumberToText_Integer);

// Doubles with few decimals (amounts) and with all 15 digits in use.
void BM_NumberToText_ShortDecimal(benchmark::State& state) {
  char buf[kNumberTextMax];
  double v = 1234.56;
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);
    benchmark::DoNotOptimize(numberToText(OraNumber::fromDouble(v), buf));
  }
}
BENCHMARK(BM_NumberToText_ShortDecimal);

void BM_NumberToText_FullPrecision(benchmark::State& state) {
  char buf[kNumberTextMax];
  double v = 1.0 / 3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);
    benchmark::DoNotOptimize(numberToText(OraNumber::fromDouble(v), buf));
  }
}
BENCHMARK(BM_NumberToText_FullPrecision);

void BM_TextToNumber(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(textToNumber("12345.678"));
}
BENCHMARK(BM_TextToNumber);

void BM_NumberBytes(benchmark::State& state) {
  unsigned char buf[kNumberBytesMax];
  double v = 12345.678;
  for (auto _ : state)
    benchmark::DoNotOptimize(encodeNumber(OraNumber::fromDouble(v), buf));
}
BENCHMARK(BM_NumberBytes);

void BM_DateToSevenBytes(benchmark::State& state) {
  unsigned char buf[7];
  int64_t d = OraDate{2000, 1, 1, 12, 0, 0}.toSeconds();
  for (auto _ : state) {
    encodeDate7(OraDate::fromSeconds(d++), buf);
    benchmark::DoNotOptimize(buf);
  }
}
BENCHMARK(BM_DateToSevenBytes);

void BM_DateToNlsText(benchmark::State& state) {
  SessionValues session;
  std::string out;
  int64_t d = OraDate{2000, 1, 1, 12, 0, 0}.toSeconds();
  for (auto _ : state) {
    out.clear();
    session.appendDateText(d, out);
    d += 86400;
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_DateToNlsText);

void BM_TextToDate(benchmark::State& state) {
  SessionValues session;
  for (auto _ : state)
    benchmark::DoNotOptimize(session.textToDate("15-JUN-24"));
}
BENCHMARK(BM_TextToDate);

// 200,000 rows of NUMBER (integer and decimal), VARCHAR2 and DATE.
class ScanFixture : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    if (db_) return;
    sqlite3_open(":memory:", &db_);
    registerOracleFunctions(db_, &session_);
    sqlite3_exec(
        db_,
        "CREATE TABLE t(id INTEGER, amount REAL, name TEXT, hired INTEGER);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) "
        "INSERT INTO t SELECT i, i * 1.25 + 0.01, 'NAME' || i, 946684800 + i * 3600 FROM n;",
        nullptr, nullptr, nullptr);
  }
  void TearDown(const benchmark::State&) override {}

  void scan(benchmark::State& state, const char* sql) {
    for (auto _ : state) {
      sqlite3_stmt* stmt = nullptr;
      sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
      size_t bytes = 0;
      while (sqlite3_step(stmt) == SQLITE_ROW)
        for (int c = 0; c < 4; ++c) {
          sqlite3_column_text(stmt, c);
          bytes += static_cast<size_t>(sqlite3_column_bytes(stmt, c));
        }
      sqlite3_finalize(stmt);
      benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * 200000);
  }

 protected:
  static inline sqlite3* db_ = nullptr;
  static inline SessionValues session_;
};

// Text of every value as SQLite itself renders it.
BENCHMARK_F(ScanFixture, ScanPlainSqlite)(benchmark::State& state) {
  scan(state, "SELECT id, amount, name, hired FROM t");
}

// Text of every value as Oracle renders it (numbers, NLS dates).
BENCHMARK_F(ScanFixture, ScanOracleText)(benchmark::State& state) {
  scan(state, "SELECT ora_num_text(id), ora_num_text(amount), name, ora_date_text(hired) FROM t");
}

}  // namespace
}  // namespace vorn::server

BENCHMARK_MAIN();
