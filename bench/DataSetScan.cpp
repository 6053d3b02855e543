// The scan of ServerOciFetch.cpp and QueryScan.cpp through a
// TOracleDataSet (ReadBuffer 100, the batch of the other scans), in the
// same program and on the same file:
//
//   BM_DataSetOpenFetchAll   open with QueryAllRecords: every row described,
//                            fetched and stored in the record list; the
//                            counters give the record list's bytes per row
//                            against the sum of the fields' data sizes
//   BM_DataSetWindowScroll   a data link of 20 buffers, as a grid of 20
//                            rows keeps, scrolled from the first record to
//                            the last of the open dataset, one row at a time
//   BM_DataSetScrollFetching the same scroll with QueryAllRecords off, so
//                            that rows are fetched as the window needs them
//
// Compare with BM_SqliteScan (the floor) and BM_QueryTypedAccessors.
#include <benchmark/benchmark.h>

#include <memory>

#include "RecordList.h"
#include "ScanSession.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DataLink.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/Field.h"

namespace {

using vorn::bench::kScanRows;
constexpr int kBatch = 100;
constexpr int kWindowRows = 20;

// The dataset, with its record list's size within reach.
class ScanDataSet : public vorn::TOracleDataSet {
 public:
  ScanDataSet() {
    SetSession(&vorn::bench::scanSession());
    SetReadBuffer(kBatch);
    SQL()->SetText("select id, amount, name, created, code from scan_t");
  }

  size_t RecordListBytes() const { return Records() != nullptr ? Records()->AllocatedBytes() : 0; }

  int FieldDataSize() const {
    int size = 0;
    for (vorn::TField* field : Fields())
      size += field->DataSize();
    return size;
  }
};

// A grid's window: BufferCount rows.
class Window {
 public:
  explicit Window(vorn::TDataSet& dataSet) {
    source_.SetDataSet(&dataSet);
    link_.SetBufferCount(kWindowRows);
    link_.SetDataSource(&source_);
  }
  ~Window() {
    link_.SetDataSource(nullptr);
    source_.SetDataSet(nullptr);
  }

 private:
  vorn::TDataSource source_{nullptr};
  vorn::TDataLink link_;
};

// From the first record to the last, one row at a time, reading the row
// that comes into view as a grid paints it.
int ScrollToTheEnd(vorn::TDataSet& dataSet) {
  vorn::TField* id = dataSet.FieldByName("ID");
  vorn::TField* name = dataSet.FieldByName("NAME");
  int rows = 0;
  size_t bytes = 0;
  double sum = 0;
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
    sum += id->AsFloat();
    bytes += name->AsString().size();
    ++rows;
  }
  benchmark::DoNotOptimize(sum);
  benchmark::DoNotOptimize(bytes);
  return rows;
}

void BM_DataSetOpenFetchAll(benchmark::State& state) {
  ScanDataSet dataSet;
  size_t listBytes = 0;
  int fieldData = 0;
  for (auto _ : state) {
    dataSet.Open();
    if (dataSet.RecordCount() != kScanRows) state.SkipWithError("wrong row count");
    listBytes = dataSet.RecordListBytes();
    fieldData = dataSet.FieldDataSize();
    state.PauseTiming();
    dataSet.Close();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
  const double perRow = static_cast<double>(listBytes) / kScanRows;
  state.counters["list_bytes_per_row"] = perRow;
  state.counters["field_bytes_per_row"] = fieldData;
  state.counters["list_to_field_data"] = perRow / fieldData;
}
BENCHMARK(BM_DataSetOpenFetchAll)->Unit(benchmark::kMillisecond);

void BM_DataSetWindowScroll(benchmark::State& state) {
  ScanDataSet dataSet;
  Window window(dataSet);
  dataSet.Open();
  for (auto _ : state) {
    if (ScrollToTheEnd(dataSet) != kScanRows) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_DataSetWindowScroll)->Unit(benchmark::kMillisecond);

void BM_DataSetScrollFetching(benchmark::State& state) {
  ScanDataSet dataSet;
  dataSet.SetQueryAllRecords(false);
  Window window(dataSet);
  for (auto _ : state) {
    dataSet.Open();
    if (ScrollToTheEnd(dataSet) != kScanRows) state.SkipWithError("wrong row count");
    state.PauseTiming();
    dataSet.Close();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_DataSetScrollFetching)->Unit(benchmark::kMillisecond);

}  // namespace
