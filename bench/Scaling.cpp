// How the costs grow with the table: SCAN_T with 10,000, 100,000 and
// 1,000,000 rows, each in a file of its own, scanned through SQLite and
// through TOracleQuery's typed accessors, and opened in a TOracleDataSet
// with QueryAllRecords. Beside the time, the heap the work took at its
// highest (HeapCounter.h): flat for the scans, which hold one batch of 100
// rows, and in proportion to the rows for the dataset, which keeps them
// all. The counters give the peak in MB and in bytes per row, and the
// blocks allocated per row.
#include <benchmark/benchmark.h>

#include <memory>

#include "HeapCounter.h"
#include "ScanSession.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/query/OracleQuery.h"

namespace {

// The heap figures of the last iteration: its peak in MB and per row, and
// the blocks it allocated per row (the same per row at every size when the
// work per row does not grow with the table).
void ReportHeap(benchmark::State& state) {
  const auto rows = static_cast<double>(state.range(0));
  const auto peak = static_cast<double>(vorn::bench::HeapPeak());
  state.counters["peak_heap_MB"] = peak / (1024.0 * 1024.0);
  state.counters["peak_heap_bytes_per_row"] = peak / rows;
  state.counters["allocations_per_row"] =
      static_cast<double>(vorn::bench::HeapAllocations()) / rows;
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
    if (read != rows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * rows);
  ReportHeap(state);
}

void BM_ScaleDataSetOpen(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  vorn::TOracleDataSet dataSet;
  dataSet.SetSession(&vorn::bench::scanSession(rows));
  dataSet.SetReadBuffer(100);
  dataSet.SQL()->SetText("select id, amount, name, created, code from scan_t");
  for (auto _ : state) {
    vorn::bench::StartHeapCount();
    dataSet.Open();
    vorn::bench::StopHeapCount();
    if (dataSet.RecordCount() != rows) state.SkipWithError("wrong row count");
    state.PauseTiming();
    dataSet.Close();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * rows);
  ReportHeap(state);
}

void ScaleRows(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ScaleSqliteScan)->Apply(ScaleRows);
BENCHMARK(BM_ScaleQueryScan)->Apply(ScaleRows);
BENCHMARK(BM_ScaleDataSetOpen)->Apply(ScaleRows);

}  // namespace
