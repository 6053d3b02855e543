// A full scan of 200,000 rows (NUMBER, VARCHAR2 and DATE columns) through
// the engine's statement interface, against the same scan through the
// SQLite C API on the same file. The ratio of the two is the engine's
// overhead on the fetch path.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>

#include "DemoSeed.h"
#include "SqliteScanBaseline.h"
#include "engine/Database.h"
#include "engine/Session.h"
#include "engine/Statement.h"

namespace {

using namespace vorn::server;
namespace fs = std::filesystem;

constexpr int kRows = 200000;

// The database with SCOTT.SCAN_T, built once per run.
const std::string& scanDatabase() {
  static const std::string path = [] {
    fs::path p = fs::temp_directory_path() / "vorn-bench-scan.db";
    for (const char* suffix : {"", "-wal", "-shm"})
      fs::remove(p.string() + suffix);
    auto db = Database::create(p.string());
    loadDemoSeed(db);
    auto s = db->logon("scott", "tiger");
    s->execute(
        "create table scan_t (id number(10) primary key, amount number(10,2), name varchar2(30), "
        "created date, code varchar2(10))");
    s.reset();
    // Rows go in through SQLite in the engine's storage format (NUMBER as
    // INTEGER/REAL, DATE as seconds), which is quicker than 200,000 INSERTs.
    sqlite3* raw = nullptr;
    sqlite3_open(p.string().c_str(), &raw);
    sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO \"SCOTT.SCAN_T\" VALUES (?1, ?2, ?3, ?4, ?5)", -1, &ins,
                       nullptr);
    for (int i = 1; i <= kRows; ++i) {
      sqlite3_bind_int64(ins, 1, i);
      sqlite3_bind_double(ins, 2, i * 1.25 + 0.01);
      std::string name = "Name number " + std::to_string(i);
      sqlite3_bind_text(ins, 3, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(ins, 4, 946684800 + static_cast<int64_t>(i) * 3600);
      std::string code = "C" + std::to_string(i % 1000);
      sqlite3_bind_text(ins, 5, code.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(ins);
      sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    return p.string();
  }();
  return path;
}

void BM_EngineScan(benchmark::State& state) {
  auto db = Database::open(scanDatabase());
  auto s = db->logon("scott", "tiger");
  auto st = s->prepare("select id, amount, name, created, code from scan_t");
  for (auto _ : state) {
    st->execute();
    int64_t rows = 0, ints = 0;
    size_t bytes = 0;
    double sum = 0;
    while (st->fetch()) {
      ++rows;
      for (int c = 0; c < 5; ++c) {
        switch (st->valueKind(c)) {
          case Value::Kind::Integer:
          case Value::Kind::Date:
            ints += st->intValue(c);
            break;
          case Value::Kind::Double:
            sum += st->doubleValue(c);
            break;
          case Value::Kind::Text:
            bytes += st->textValue(c).size();
            break;
          default:
            break;
        }
      }
    }
    if (rows != kRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(ints);
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_EngineScan)->Unit(benchmark::kMillisecond);

void BM_SqliteScan(benchmark::State& state) {
  vorn::bench::SqliteScanBaseline(state, scanDatabase(), kRows);
}
BENCHMARK(BM_SqliteScan)->Unit(benchmark::kMillisecond);

// Single-row INSERTs through one prepared statement (the path of array
// DML): binds, storage checks, the primary key check, ROWID.
void BM_EngineInsertRows(benchmark::State& state) {
  auto db = Database::open(scanDatabase());
  auto s = db->logon("scott", "tiger");
  auto ins =
      s->prepare("insert into scan_t (id, amount, name, created) values (:1, :2, :3, sysdate)");
  int64_t key = 1000000;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      ins->bind(1, Value::integer(++key));
      ins->bind(2, Value::real(key * 0.5));
      ins->bind(3, Value::text("row"));
      ins->execute();
    }
    s->rollback();
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_EngineInsertRows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
