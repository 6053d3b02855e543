// Records written through a TOracleDataSet, in the fetch benchmarks'
// program and session:
//
//   BM_DataSetAppendPost  10,000 records appended and posted one by one
//                         with CommitOnPost off (one savepoint and one
//                         INSERT each, the transaction rolled back
//                         afterwards, untimed); the INSERT is generated
//                         afresh for every record but keeps its parse
//   BM_DataSetEditPost    the same 10,000 records edited and posted in the
//                         default locking mode (a check at Edit, a lock and
//                         the UPDATE at Post), CommitOnPost off
//
// That no statement is parsed again for each record is checked by the
// dataset tests (the shim counts parses); here the figures would show it
// as a multiple of the time.
// Compare with BM_ExecuteArrayInsert (rows by Array DML) and
// BM_SqliteInsert.
#include <benchmark/benchmark.h>

#include <memory>

#include "ScanSession.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Field.h"
#include "vorn/query/OracleQuery.h"

namespace {

constexpr int kRecords = 10000;

void RunStatement(const std::string& sql) {
  vorn::TOracleQuery query;
  query.SetSession(&vorn::bench::scanSession());
  query.SQL()->SetText(sql);
  query.Execute();
}

// POST_T, empty, and a dataset over it.
std::unique_ptr<vorn::TOracleDataSet> PostDataSet() {
  static const bool made = [] {
    RunStatement("create table post_t (id number(9), amount number(12,2), name varchar2(40))");
    return true;
  }();
  benchmark::DoNotOptimize(made);
  RunStatement("delete from post_t");
  vorn::bench::scanSession().Commit();
  auto dataSet = std::make_unique<vorn::TOracleDataSet>();
  dataSet->SetSession(&vorn::bench::scanSession());
  dataSet->SQL()->SetText("select rowid, id, amount, name from post_t");
  dataSet->SetCommitOnPost(false);
  return dataSet;
}

void AppendRecords(vorn::TOracleDataSet& dataSet) {
  vorn::TField* id = dataSet.FieldByName("ID");
  vorn::TField* amount = dataSet.FieldByName("AMOUNT");
  vorn::TField* name = dataSet.FieldByName("NAME");
  for (int i = 0; i < kRecords; ++i) {
    dataSet.Append();
    id->SetAsInteger(i);
    amount->SetAsFloat(i * 0.25);
    name->SetAsString("record");
    dataSet.Post();
  }
}

void BM_DataSetAppendPost(benchmark::State& state) {
  auto dataSet = PostDataSet();
  dataSet->Open();
  for (auto _ : state) {
    AppendRecords(*dataSet);
    state.PauseTiming();
    if (dataSet->RecordCount() != kRecords) state.SkipWithError("wrong record count");
    vorn::bench::scanSession().Rollback();
    dataSet->Close();
    dataSet->Open();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_DataSetAppendPost)->Unit(benchmark::kMillisecond);

void BM_DataSetEditPost(benchmark::State& state) {
  auto dataSet = PostDataSet();
  dataSet->SetCommitOnPost(true);
  dataSet->Open();
  AppendRecords(*dataSet);
  dataSet->SetCommitOnPost(false);
  vorn::TField* amount = dataSet->FieldByName("AMOUNT");
  for (auto _ : state) {
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
      dataSet->Edit();
      amount->SetAsFloat(amount->AsFloat() + 1);
      dataSet->Post();
    }
    state.PauseTiming();
    vorn::bench::scanSession().Commit();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_DataSetEditPost)->Unit(benchmark::kMillisecond);

}  // namespace
