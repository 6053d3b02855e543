// A full scan of 200,000 rows (NUMBER, VARCHAR2 and DATE columns) through
// the engine's statement interface, against the same scan through the
// SQLite C API on the same file. The ratio of the two is the engine's
// overhead on the fetch path.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "ScanTable.h"
#include "engine/Database.h"
#include "engine/Session.h"
#include "engine/Statement.h"

namespace {

using namespace vorn::server;
namespace fs = std::filesystem;

using vorn::bench::kScanRows;

// The database with SCOTT.SCAN_T, built once per run.
const std::string& scanDatabase() {
  static const std::string path = [] {
    std::string p = (fs::temp_directory_path() / "vorn-bench-scan.db").string();
    vorn::bench::MakeScanDatabase(p);
    return p;
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
    if (rows != kScanRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(ints);
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_EngineScan)->Unit(benchmark::kMillisecond);

void BM_SqliteScan(benchmark::State& state) {
  vorn::bench::SqliteScanBaseline(state, scanDatabase());
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
