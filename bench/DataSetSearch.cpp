// Searching and filtering the 200,000 buffered records of SCAN_T in a
// TOracleDataSet opened with QueryAllRecords, beside SQLite answering the
// same question on a copy of the file:
//
//   BM_DataSetLocate        Locate by NAME of the 199,990th record: every
//                           record before it compared (Locate is
//                           SearchRecord from the beginning)
//   BM_DataSetLocateNoCase  the same, case-insensitive and as a partial key
//   BM_DataSetLookup        Lookup of the same record's AMOUNT (SearchRecord
//                           from the beginning without moving)
//   BM_SqliteLocateScan     the first row with that NAME (no index on it):
//                           the same 199,990 rows read
//   BM_DataSetFilter        the filter (AMOUNT > 1000) AND (NAME =
//                           'Name number 1*') applied to every record
//   BM_SqliteFilterCount    the same condition counted by SQLite
//
// A dataset that does not search yet answers with its error, which is
// reported as the benchmark's skip reason.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cmath>
#include <string>

#include "ScanSession.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"

namespace {

using vorn::bench::kScanRows;

constexpr int kTarget = 199990;
constexpr int kFilterMatches = 111000;  // ids 1000-1999, 10000-19999, 100000-199999
const std::string kTargetName = "Name number " + std::to_string(kTarget);

// Opened once: the record list the searches walk.
vorn::TOracleDataSet& scanDataSet() {
  static vorn::TOracleDataSet* const dataSet = [] {
    auto* d = new vorn::TOracleDataSet;
    d->SetSession(&vorn::bench::scanSession());
    d->SetReadBuffer(100);
    d->SQL()->SetText("select id, amount, name, created, code from scan_t");
    d->Open();
    return d;
  }();
  return *dataSet;
}

void Locate(benchmark::State& state, const vorn::Variant& key, vorn::TLocateOptions options) {
  vorn::TOracleDataSet& dataSet = scanDataSet();
  vorn::TField* id = dataSet.FieldByName("ID");
  for (auto _ : state) {
    dataSet.First();
    try {
      if (!dataSet.Locate("NAME", key, options) || id->AsInteger() != kTarget)
        return state.SkipWithError("wrong record found");
    } catch (const vorn::Exception& e) {
      return state.SkipWithError(e.Message().c_str());
    }
  }
  state.SetItemsProcessed(state.iterations() * kTarget);
}

void BM_DataSetLocate(benchmark::State& state) {
  Locate(state, vorn::Variant(kTargetName), vorn::loNone);
}
BENCHMARK(BM_DataSetLocate)->Unit(benchmark::kMillisecond);

void BM_DataSetLocateNoCase(benchmark::State& state) {
  std::string key = "NAME NUMBER " + std::to_string(kTarget);
  Locate(state, vorn::Variant(key), vorn::loCaseInsensitive | vorn::loPartialKey);
}
BENCHMARK(BM_DataSetLocateNoCase)->Unit(benchmark::kMillisecond);

void BM_DataSetLookup(benchmark::State& state) {
  vorn::TOracleDataSet& dataSet = scanDataSet();
  const double expected = kTarget * 1.25 + 0.01;
  for (auto _ : state) {
    try {
      const vorn::Variant amount = dataSet.Lookup("NAME", vorn::Variant(kTargetName), "AMOUNT");
      if (amount.IsNull() || std::abs(amount.AsFloat() - expected) > 1e-6)
        return state.SkipWithError("wrong value found");
    } catch (const vorn::Exception& e) {
      return state.SkipWithError(e.Message().c_str());
    }
  }
  state.SetItemsProcessed(state.iterations() * kTarget);
}
BENCHMARK(BM_DataSetLookup)->Unit(benchmark::kMillisecond);

// One statement on the raw copy, stepped to its first row each time.
void SqliteFirstRow(benchmark::State& state, const char* sql, const std::string& parameter,
                    int64_t expected, int64_t items) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(vorn::bench::scanFiles().raw.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(raw, sql, -1, &st, nullptr);
  if (!parameter.empty()) sqlite3_bind_text(st, 1, parameter.c_str(), -1, SQLITE_TRANSIENT);
  for (auto _ : state) {
    if (sqlite3_step(st) != SQLITE_ROW || sqlite3_column_int64(st, 0) != expected)
      state.SkipWithError("wrong answer");
    sqlite3_reset(st);
  }
  state.SetItemsProcessed(state.iterations() * items);
  sqlite3_finalize(st);
  sqlite3_close(raw);
}

void BM_SqliteLocateScan(benchmark::State& state) {
  SqliteFirstRow(state, "SELECT \"ID\" FROM \"SCOTT.SCAN_T\" WHERE \"NAME\" = ?1 LIMIT 1",
                 kTargetName, kTarget, kTarget);
}
BENCHMARK(BM_SqliteLocateScan)->Unit(benchmark::kMillisecond);

void BM_DataSetFilter(benchmark::State& state) {
  vorn::TOracleDataSet& dataSet = scanDataSet();
  dataSet.SetFilter("(AMOUNT > 1000) AND (NAME = 'Name number 1*')");
  for (auto _ : state) {
    dataSet.SetFiltered(true);
    const int count = dataSet.RecordCount();
    state.PauseTiming();
    dataSet.SetFiltered(false);
    state.ResumeTiming();
    if (count != kFilterMatches) state.SkipWithError("wrong record count");
  }
  dataSet.SetFilter("");
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_DataSetFilter)->Unit(benchmark::kMillisecond);

void BM_SqliteFilterCount(benchmark::State& state) {
  SqliteFirstRow(state,
                 "SELECT count(*) FROM \"SCOTT.SCAN_T\" WHERE \"AMOUNT\" > 1000 AND \"NAME\" GLOB "
                 "'Name number 1*'",
                 "", kFilterMatches, kScanRows);
}
BENCHMARK(BM_SqliteFilterCount)->Unit(benchmark::kMillisecond);

}  // namespace
