// The scan of ServerOciFetch.cpp through a TOracleQuery (ReadBuffer 100,
// the OCI benchmark's batch), reading every column of every row with the
// typed accessors (FieldAsInteger, FieldAsFloat, FieldAsString,
// FieldAsDate as the column's type suggests) and again as variants
// (Field): what the query engine adds to the raw scan. The same 200,000
// names read from a VARCHAR2 column and from a CLOB column through the
// column's TLOBLocator. The scan's rows delivered to the main thread by a
// threaded query through synchronised OnThreadRecord events, against the
// same reads in a loop on the main thread. And 100,000 rows inserted with
// ExecuteArray in arrays of 1,000 elements, against the same rows through
// one prepared SQLite statement in one transaction. And single rows as a
// dataset reads and writes records: a query by key and an update by rowid,
// each executed 10,000 times, beside the key look-up through SQLite.
//
// Kept apart from ServerOciFetch.cpp, which includes oci.h: its macros
// would rename the library's own constants.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ScanSession.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Thread.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"

namespace {

using vorn::bench::kScanRows;
using vorn::bench::scanFiles;
constexpr int kBatch = 100;

vorn::TOracleSession& session() {
  return vorn::bench::scanSession();
}

std::unique_ptr<vorn::TOracleQuery> scanQuery() {
  auto query = std::make_unique<vorn::TOracleQuery>();
  query->SetSession(&session());
  query->SetReadBuffer(kBatch);
  query->SQL()->SetText("select id, amount, name, created, code from scan_t");
  return query;
}

void BM_QueryTypedAccessors(benchmark::State& state) {
  auto query = scanQuery();
  for (auto _ : state) {
    long long sumIds = 0;
    double sumAmounts = 0;
    double sumDates = 0;
    size_t bytes = 0;
    int rows = 0;
    for (query->Execute(); !query->Eof(); query->Next()) {
      sumIds += query->FieldAsInteger(0);
      sumAmounts += query->FieldAsFloat(1);
      bytes += query->FieldAsString(2).size();
      sumDates += query->FieldAsDate(3);
      bytes += query->FieldAsString(4).size();
      ++rows;
    }
    if (rows != kScanRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sumIds);
    benchmark::DoNotOptimize(sumAmounts);
    benchmark::DoNotOptimize(sumDates);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_QueryTypedAccessors)->Unit(benchmark::kMillisecond);

void BM_QueryFieldVariants(benchmark::State& state) {
  auto query = scanQuery();
  for (auto _ : state) {
    int rows = 0;
    for (query->Execute(); !query->Eof(); query->Next()) {
      for (int column = 0; column < 5; ++column) {
        vorn::Variant value = query->Field(column);
        benchmark::DoNotOptimize(value);
      }
      ++rows;
    }
    if (rows != kScanRows) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_QueryFieldVariants)->Unit(benchmark::kMillisecond);

// --- Text as VARCHAR2 and as CLOB ---

// SCAN_TEXT_T: the scan's 200,000 ids and names, the name both as VARCHAR2
// (note) and as CLOB (body), in a file of its own.
const std::string& textFile() {
  static const std::string path = [] {
    const std::string p = vorn::bench::benchFile("query-text.db");
    {
      auto db = vorn::server::Database::create(p);
      vorn::server::loadDemoSeed(db);
      auto s = db->logon("scott", "tiger");
      s->execute(
          "create table scan_text_t (id number(10) primary key, note varchar2(30), body clob)");
    }
    sqlite3* raw = nullptr;
    sqlite3_open(p.c_str(), &raw);
    sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO \"SCOTT.SCAN_TEXT_T\" VALUES (?1, ?2, ?2)", -1, &ins,
                       nullptr);
    for (int i = 1; i <= kScanRows; ++i) {
      const std::string name = "Name number " + std::to_string(i);
      sqlite3_bind_int64(ins, 1, i);
      sqlite3_bind_text(ins, 2, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
      sqlite3_step(ins);
      sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(raw, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    return p;
  }();
  return path;
}

vorn::TOracleSession& textSession() {
  static vorn::TOracleSession* const logged = [] {
    session();
    auto* s = new vorn::TOracleSession;
    s->SetLogonUsername("scott");
    s->SetLogonPassword("tiger");
    s->SetLogonDatabase(textFile());
    s->LogOn();
    return s;
  }();
  return *logged;
}

std::unique_ptr<vorn::TOracleQuery> textQuery(const char* column) {
  auto query = std::make_unique<vorn::TOracleQuery>();
  query->SetSession(&textSession());
  query->SetReadBuffer(kBatch);
  query->SQL()->SetText(std::string("select id, ") + column + " from scan_text_t");
  return query;
}

void BM_QueryTextAsVarchar2(benchmark::State& state) {
  auto query = textQuery("note");
  for (auto _ : state) {
    size_t bytes = 0;
    int rows = 0;
    for (query->Execute(); !query->Eof(); query->Next()) {
      bytes += query->FieldAsString(1).size();
      ++rows;
    }
    if (rows != kScanRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_QueryTextAsVarchar2)->Unit(benchmark::kMillisecond);

// The same texts read through the column's TLOBLocator, as a stream: reads
// of up to 4 KB until one comes back short.
void BM_QueryTextAsClobThroughLocator(benchmark::State& state) {
  auto query = textQuery("body");
  char buffer[4096];
  for (auto _ : state) {
    size_t bytes = 0;
    int rows = 0;
    for (query->Execute(); !query->Eof(); query->Next()) {
      vorn::TLOBLocator& body = *query->LOBField(1);
      int64_t count = 0;
      do {
        count = body.Read(buffer, sizeof buffer);
        bytes += static_cast<size_t>(count);
      } while (count == static_cast<int64_t>(sizeof buffer));
      ++rows;
    }
    if (rows != kScanRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_QueryTextAsClobThroughLocator)->Unit(benchmark::kMillisecond);

// --- Threaded delivery ---

// The scan's rows read on the main thread, and delivered to it by a
// threaded query through synchronised OnThreadRecord events: what handing
// every row across threads costs. Both in wall-clock time, since the work
// of the threaded one is spread over two threads.
struct RowSums {
  long long ids = 0;
  size_t bytes = 0;
  int rows = 0;

  void Add(vorn::TOracleQuery& query) {
    ids += query.FieldAsInteger(0);
    bytes += query.FieldAsString(2).size();
    ++rows;
  }
};

void BM_QueryRowsOnTheMainThread(benchmark::State& state) {
  auto query = scanQuery();
  for (auto _ : state) {
    RowSums sums;
    for (query->Execute(); !query->Eof(); query->Next())
      sums.Add(*query);
    if (sums.rows != kScanRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sums.ids);
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_QueryRowsOnTheMainThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QueryRowsThroughSynchronisedThreadEvents(benchmark::State& state) {
  auto query = scanQuery();
  query->SetThreaded(true);
  RowSums sums;
  bool finished = false;
  query->SetOnThreadRecord([&sums](vorn::TOracleQuery* sender) { sums.Add(*sender); });
  query->SetOnThreadFinished([&finished](vorn::TOracleQuery*) { finished = true; });
  for (auto _ : state) {
    sums = RowSums();
    finished = false;
    query->Execute();
    while (!finished)
      vorn::CheckSynchronize(1000);
    query->WaitForThread();
    if (sums.rows != kScanRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sums.ids);
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_QueryRowsThroughSynchronisedThreadEvents)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// --- Inserts ---

constexpr int kInsertRows = 100000;
constexpr int kInsertArray = 1000;

void BM_ExecuteArrayInsert(benchmark::State& state) {
  vorn::TOracleQuery work;
  work.SetSession(&session());
  work.SQL()->SetText(
      "create table insert_t (id number(10), amount number(12,2), name varchar2(30), "
      "created date, code varchar2(100))");
  try {
    work.Execute();
  } catch (const vorn::Exception&) {
    // Made by an earlier run on this file.
  }
  vorn::TOracleQuery insert;
  insert.SetSession(&session());
  insert.SQL()->SetText(
      "insert into insert_t (id, amount, name, created, code) values (:id, :amount, :name, "
      ":created, :code)");
  insert.DeclareVariable("id", vorn::otInteger);
  insert.DeclareVariable("amount", vorn::otFloat);
  insert.DeclareVariable("name", vorn::otString);
  insert.DeclareVariable("created", vorn::otDate);
  insert.DeclareVariable("code", vorn::otString);
  const vorn::TDateTime base = vorn::EncodeDate(2000, 1, 1);
  for (auto _ : state) {
    state.PauseTiming();
    work.SQL()->SetText("delete from insert_t");
    work.Execute();
    session().Commit();
    state.ResumeTiming();
    int inserted = 0;
    for (int first = 0; first < kInsertRows; first += kInsertArray) {
      vorn::Variant ids = vorn::VarArrayCreate(0, kInsertArray - 1, vorn::varVariant);
      vorn::Variant amounts = vorn::VarArrayCreate(0, kInsertArray - 1, vorn::varVariant);
      vorn::Variant names = vorn::VarArrayCreate(0, kInsertArray - 1, vorn::varVariant);
      vorn::Variant dates = vorn::VarArrayCreate(0, kInsertArray - 1, vorn::varVariant);
      vorn::Variant codes = vorn::VarArrayCreate(0, kInsertArray - 1, vorn::varVariant);
      for (int i = 0; i < kInsertArray; ++i) {
        const int n = first + i + 1;
        ids.PutElement(i, n);
        amounts.PutElement(i, n * 1.25 + 0.01);
        std::string name = "Name number ";
        name += std::to_string(n);
        names.PutElement(i, std::move(name));
        dates.PutElement(i, vorn::Variant::FromDateTime(base + n / 24.0));
        std::string code = "C";
        code += std::to_string(n % 1000);
        codes.PutElement(i, std::move(code));
      }
      insert.SetVariable("id", ids);
      insert.SetVariable("amount", amounts);
      insert.SetVariable("name", names);
      insert.SetVariable("created", dates);
      insert.SetVariable("code", codes);
      inserted += insert.ExecuteArray(-1, -1);
    }
    session().Commit();
    if (inserted != kInsertRows) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kInsertRows);
}
BENCHMARK(BM_ExecuteArrayInsert)->Unit(benchmark::kMillisecond);

constexpr int kSingleRowExecutions = 10000;

// A record read by its key as a dataset refreshes one: the query prepared
// once, executed with a new key each time and its fields read.
void BM_QuerySelectByKey(benchmark::State& state) {
  vorn::TOracleQuery query;
  query.SetSession(&session());
  query.SQL()->SetText("select id, amount, name, created, code from scan_t where id = :id");
  query.DeclareVariable("id", vorn::otInteger);
  for (auto _ : state) {
    long long sum = 0;
    size_t bytes = 0;
    for (int i = 0; i < kSingleRowExecutions; ++i) {
      const int key = 1 + (i * 7919) % kScanRows;
      query.SetVariable("id", key);
      query.Execute();
      if (query.Eof() || query.FieldAsInteger(0) != key) return state.SkipWithError("no row");
      sum += query.FieldAsInteger(0);
      bytes += query.FieldAsString(2).size();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kSingleRowExecutions);
}
BENCHMARK(BM_QuerySelectByKey)->Unit(benchmark::kMillisecond);

// A record written back by its rowid as a dataset posts an edit; the
// transaction is rolled back so that the scan table stays as it was.
void BM_QueryUpdateByRowid(benchmark::State& state) {
  constexpr int kRecords = 1000;
  std::vector<std::string> rowids;
  {
    vorn::TOracleQuery read;
    read.SetSession(&session());
    read.SQL()->SetText("select rowid from scan_t where id <= 1000");
    for (read.Execute(); !read.Eof(); read.Next())
      rowids.push_back(read.FieldAsString(0));
  }
  if (rowids.size() != kRecords) return state.SkipWithError("rowids not read");
  vorn::TOracleQuery update;
  update.SetSession(&session());
  update.SQL()->SetText("update scan_t set amount = :amount, name = :name where rowid = :r");
  update.DeclareVariable("amount", vorn::otFloat);
  update.DeclareVariable("name", vorn::otString);
  update.DeclareVariable("r", vorn::otString);
  for (auto _ : state) {
    int updated = 0;
    for (int i = 0; i < kSingleRowExecutions; ++i) {
      update.SetVariable("amount", i * 0.5);
      std::string name = "Edited ";
      name += std::to_string(i);
      update.SetVariable("name", name);
      update.SetVariable("r", rowids[static_cast<size_t>(i % kRecords)]);
      update.Execute();
      updated += update.RowsProcessed();
    }
    state.PauseTiming();
    session().Rollback();
    state.ResumeTiming();
    if (updated != kSingleRowExecutions) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kSingleRowExecutions);
}
BENCHMARK(BM_QueryUpdateByRowid)->Unit(benchmark::kMillisecond);

// The floor of the two above: the same key look-ups straight through SQLite.
void BM_SqliteSelectByKey(benchmark::State& state) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(scanFiles().raw.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(raw,
                     "SELECT \"ID\", \"AMOUNT\", \"NAME\", \"CREATED\", \"CODE\" FROM "
                     "\"SCOTT.SCAN_T\" WHERE \"ID\" = ?1",
                     -1, &st, nullptr);
  for (auto _ : state) {
    long long sum = 0;
    for (int i = 0; i < kSingleRowExecutions; ++i) {
      const int key = 1 + (i * 7919) % kScanRows;
      sqlite3_bind_int64(st, 1, key);
      if (sqlite3_step(st) != SQLITE_ROW) return state.SkipWithError("no row");
      sum += sqlite3_column_int64(st, 0) + sqlite3_column_bytes(st, 2);
      sqlite3_reset(st);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kSingleRowExecutions);
  sqlite3_finalize(st);
  sqlite3_close(raw);
}
BENCHMARK(BM_SqliteSelectByKey)->Unit(benchmark::kMillisecond);

void BM_SqliteInsert(benchmark::State& state) {
  sqlite3* raw = nullptr;
  sqlite3_open(scanFiles().raw.c_str(), &raw);
  sqlite3_exec(raw,
               "CREATE TABLE IF NOT EXISTS insert_t (id INTEGER, amount REAL, name TEXT, "
               "created INTEGER, code TEXT)",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(raw, "INSERT INTO insert_t VALUES (?1, ?2, ?3, ?4, ?5)", -1, &ins, nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    sqlite3_exec(raw, "DELETE FROM insert_t", nullptr, nullptr, nullptr);
    state.ResumeTiming();
    sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
    for (int n = 1; n <= kInsertRows; ++n) {
      sqlite3_bind_int64(ins, 1, n);
      sqlite3_bind_double(ins, 2, n * 1.25 + 0.01);
      std::string name = "Name number ";
      name += std::to_string(n);
      sqlite3_bind_text(ins, 3, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(ins, 4, 946684800 + static_cast<int64_t>(n) * 3600);
      std::string code = "C";
      code += std::to_string(n % 1000);
      sqlite3_bind_text(ins, 5, code.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(ins);
      sqlite3_reset(ins);
    }
    sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
  }
  state.SetItemsProcessed(state.iterations() * kInsertRows);
  sqlite3_finalize(ins);
  sqlite3_close(raw);
}
BENCHMARK(BM_SqliteInsert)->Unit(benchmark::kMillisecond);

}  // namespace
