// How the costs grow with the table: SCAN_T with 10,000, 100,000 and
// 1,000,000 rows, each in a file of its own, scanned through SQLite and
// through TOracleQuery's typed accessors, and opened in a TOracleDataSet
// with QueryAllRecords. Beside the time, the heap the work took at its
// highest (HeapCounter.h): flat for the scans, which hold one batch of 100
// rows, and in proportion to the rows for the dataset, which keeps them
// all. The counters give the peak in MB and in bytes per row.
#include <benchmark/benchmark.h>

#include <memory>

#include "HeapCounter.h"
#include "ScanSession.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/query/OracleQuery.h"

namespace {

void ReportPeak(benchmark::State& state, int64_t peak) {
  const auto rows = static_cast<double>(state.range(0));
  state.counters["peak_heap_MB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
  state.counters["peak_heap_bytes_per_row"] = static_cast<double>(peak) / rows;
}

void BM_ScaleSqliteScan(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  vorn::bench::SqliteScanBaseline(state, vorn::bench::scanFiles(rows).raw, rows);
}

void BM_ScaleQueryScan(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  vorn::TOracleQuery query;
  query.SetSession(&vorn::bench::scanSession(rows));
  query.SetReadBuffer(100);
  query.SQL()->SetText("select id, amount, name, created, code from scan_t");
  int64_t peak = 0;
  for (auto _ : state) {
    vorn::bench::StartHeapCount();
    long long sum = 0;
    size_t bytes = 0;
    int read = 0;
    for (query.Execute(); !query.Eof(); query.Next()) {
      sum += query.FieldAsInteger(0);
      bytes += query.FieldAsString(2).size();
      ++read;
    }
    vorn::bench::StopHeapCount();
    peak = std::max(peak, vorn::bench::HeapPeak());
    if (read != rows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * rows);
  ReportPeak(state, peak);
}

void BM_ScaleDataSetOpen(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  vorn::TOracleDataSet dataSet;
  dataSet.SetSession(&vorn::bench::scanSession(rows));
  dataSet.SetReadBuffer(100);
  dataSet.SQL()->SetText("select id, amount, name, created, code from scan_t");
  int64_t peak = 0;
  for (auto _ : state) {
    vorn::bench::StartHeapCount();
    dataSet.Open();
    vorn::bench::StopHeapCount();
    peak = std::max(peak, vorn::bench::HeapPeak());
    if (dataSet.RecordCount() != rows) state.SkipWithError("wrong row count");
    state.PauseTiming();
    dataSet.Close();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * rows);
  ReportPeak(state, peak);
}

void ScaleRows(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ScaleSqliteScan)->Apply(ScaleRows);
BENCHMARK(BM_ScaleQueryScan)->Apply(ScaleRows);
BENCHMARK(BM_ScaleDataSetOpen)->Apply(ScaleRows);

}  // namespace
