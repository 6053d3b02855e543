// Cost of the dataset framework on the paths that run once per record: a
// filter reading two fields of each of a million records, FieldByName, and
// scrolling a grid's window through a large dataset. Run:
//   ./build/bench/host_dataset_bench
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "MemDataSet.h"
#include "vorn/host/DataLink.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/Field.h"

namespace vorn {
namespace {

using support::TMemDataSet;

// EMPNO, ENAME, SAL over `count` records.
std::unique_ptr<TMemDataSet> MakeEmployees(int count) {
  auto ds = std::make_unique<TMemDataSet>();
  ds->FieldDefs().Add("EMPNO", ftInteger);
  ds->FieldDefs().Add("ENAME", ftString, 10);
  ds->FieldDefs().Add("SAL", ftFloat);
  static const char* const names[] = {"SMITH", "ALLEN", "WARD", "JONES", "SCOTT", "KING"};
  ds->Open();
  for (int i = 0; i < count; ++i) {
    ds->AddRow({i, names[i % 6], 500.0 + (i * 37) % 4000});
  }
  return ds;
}

// The filter the expression (SAL > 1000) AND (ENAME = 'S*') amounts to,
// written directly against the fields: the framework's share of the cost.
void BM_FilterMillionRecords(benchmark::State& state) {
  auto ds = MakeEmployees(1'000'000);
  ds->SetOnFilterRecord([](TDataSet* d, bool& accept) {
    accept = d->FieldByName("SAL")->AsFloat() > 1000 &&
             d->FieldByName("ENAME")->AsString().starts_with('S');
  });
  for (auto _ : state) {
    ds->SetFiltered(true);
    benchmark::DoNotOptimize(ds->RecordCount());
    ds->SetFiltered(false);
  }
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_FilterMillionRecords)->Unit(benchmark::kMillisecond);

void BM_FieldByName(benchmark::State& state) {
  auto ds = MakeEmployees(1);
  for (auto _ : state)
    benchmark::DoNotOptimize(ds->FieldByName("sal"));
}
BENCHMARK(BM_FieldByName);

void BM_IntegerFieldRead(benchmark::State& state) {
  auto ds = MakeEmployees(1);
  ds->First();
  TField* empno = ds->FieldByName("EMPNO");
  for (auto _ : state)
    benchmark::DoNotOptimize(empno->AsInteger());
}
BENCHMARK(BM_IntegerFieldRead);

// A grid of 30 rows scrolled record by record through 100 000 records,
// painting every row's texts after each step.
void BM_GridScroll(benchmark::State& state) {
  auto ds = MakeEmployees(100'000);
  TDataSource source(nullptr);
  source.SetDataSet(ds.get());
  TDataLink link;
  link.SetBufferCount(30);
  link.SetDataSource(&source);
  std::vector<TField*> columns(ds->Fields().begin(), ds->Fields().end());
  for (auto _ : state) {
    ds->First();
    size_t painted = 0;
    while (!ds->Eof()) {
      int saved = link.ActiveRecord();
      for (int row = 0; row < link.RecordCount(); ++row) {
        link.SetActiveRecord(row);
        for (TField* column : columns)
          painted += column->DisplayText().size();
      }
      link.SetActiveRecord(saved);
      ds->Next();
    }
    benchmark::DoNotOptimize(painted);
  }
  state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_GridScroll)->Unit(benchmark::kMillisecond);

// The same scroll without painting: the window's own cost per step.
void BM_WindowScroll(benchmark::State& state) {
  auto ds = MakeEmployees(100'000);
  TDataSource source(nullptr);
  source.SetDataSet(ds.get());
  TDataLink link;
  link.SetBufferCount(30);
  link.SetDataSource(&source);
  for (auto _ : state) {
    ds->First();
    while (!ds->Eof())
      ds->Next();
  }
  state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_WindowScroll)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn
BENCHMARK_MAIN();
