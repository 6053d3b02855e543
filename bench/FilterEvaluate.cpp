// Cost of client-side filtering: the filter (SAL > 1000) AND (ENAME = 'S*')
// parsed once and evaluated for each of a million records the way a
// dataset filters (in the filter state, through OnFilterRecord), next to
// the same test written directly against the fields; and the cost of
// parsing filter texts. Part of vorn-bench (vorn_bench.cmake) when the
// tests' in-memory dataset is built.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "MemDataSet.h"
#include "vorn/filter/filter.h"
#include "vorn/host/Field.h"

namespace vorn {
namespace {

using support::TMemDataSet;

constexpr int kRecords = 1'000'000;

// EMPNO, ENAME, SAL over `count` records.
std::unique_ptr<TMemDataSet> MakeEmployees(int count) {
  auto ds = std::make_unique<TMemDataSet>();
  ds->FieldDefs().Add("EMPNO", ftInteger);
  ds->FieldDefs().Add("ENAME", ftString, 10);
  ds->FieldDefs().Add("SAL", ftFloat);
  static const char* const names[] = {"SMITH", "ALLEN", "WARD", "JONES", "SCOTT", "KING"};
  ds->Open();
  for (int i = 0; i < count; ++i)
    ds->AddRow({i, names[i % 6], 500.0 + (i * 37) % 4000});
  return ds;
}

void FilterAll(benchmark::State& state, TMemDataSet& ds) {
  for (auto _ : state) {
    ds.SetFiltered(true);
    benchmark::DoNotOptimize(ds.RecordCount());
    ds.SetFiltered(false);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_FilterExpressionMillionRecords(benchmark::State& state) {
  auto ds = MakeEmployees(kRecords);
  auto tree = filter::ParseFilterExpression("(SAL > 1000) AND (ENAME = 'S*')", foNone,
                                            filter::ResolveColumn, ds.get());
  ds->SetOnFilterRecord([&tree](TDataSet*, bool& accept) { accept = tree->AsBoolean(); });
  FilterAll(state, *ds);
}
BENCHMARK(BM_FilterExpressionMillionRecords)->Unit(benchmark::kMillisecond);

// The same test as code: what the dataset framework alone costs.
void BM_FilterCodeMillionRecords(benchmark::State& state) {
  auto ds = MakeEmployees(kRecords);
  ds->SetOnFilterRecord([](TDataSet* d, bool& accept) {
    accept = d->FieldByName("SAL")->AsFloat() > 1000 &&
             d->FieldByName("ENAME")->AsString().starts_with('S');
  });
  FilterAll(state, *ds);
}
BENCHMARK(BM_FilterCodeMillionRecords)->Unit(benchmark::kMillisecond);

void BM_ParseFilter(benchmark::State& state) {
  auto ds = MakeEmployees(1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(filter::ParseFilterExpression(
        "(SAL > 1000) AND (ENAME = 'S*') OR (UPPER(ENAME) = 'KING') AND (EMPNO MOD 7 = 3)", foNone,
        filter::ResolveColumn, ds.get()));
  }
}
BENCHMARK(BM_ParseFilter);

}  // namespace
}  // namespace vorn
