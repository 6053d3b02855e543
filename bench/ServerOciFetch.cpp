// A full scan of 200,000 rows (NUMBER, VARCHAR2 and DATE columns) through
// the call interface, fetched into arrays of 100 rows as the library's
// queries do, against the same scan through the SQLite C API. The ratio is
// what the OCI layer and the engine together cost on the fetch path.
//
// The same scan through a TOracleQuery (ReadBuffer 100), reading every
// column of every row with the typed accessors (FieldAsInteger,
// FieldAsFloat, FieldAsString, FieldAsDate as the column's type suggests)
// and again as variants (Field): what the query engine adds on top.
//
// Inserting 100,000 rows with ExecuteArray and arrays of 1,000 elements,
// against the same rows through one prepared SQLite statement in one
// transaction.
//
// oci.dll carries its own SQLite: the two scans read two copies of the
// file, so that the two SQLite libraries in this process never hold locks
// on the same file.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "ScanTable.h"
#include "oci.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/DateTime.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"

namespace {

namespace fs = std::filesystem;

using vorn::bench::kScanRows;
constexpr ub4 kBatch = 100;

struct Files {
  std::string oci;
  std::string raw;
};

const Files& scanFiles() {
  static const Files files = [] {
    fs::path dir = fs::temp_directory_path();
    Files f{(dir / "vorn-bench-oci.db").string(), (dir / "vorn-bench-oci-raw.db").string()};
    vorn::bench::MakeScanDatabase(f.oci);
    fs::remove(f.raw);
    fs::copy_file(f.oci, f.raw);
    return f;
  }();
  return files;
}

struct Oci {
  decltype(&::OCIEnvInit) envInit;
  decltype(&::OCIHandleAlloc) handleAlloc;
  decltype(&::OCIHandleFree) handleFree;
  decltype(&::OCILogon) logon;
  decltype(&::OCILogoff) logoff;
  decltype(&::OCIStmtPrepare) prepare;
  decltype(&::OCIStmtExecute) execute;
  decltype(&::OCIDefineByPos) define;
  decltype(&::OCIStmtFetch) fetch;
  decltype(&::OCIAttrGet) attrGet;
};

const Oci& oci() {
  static const Oci calls = [] {
    void* lib = dlopen(VORN_OCI_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
      std::fprintf(stderr, "%s\n", dlerror());
      std::abort();
    }
    auto get = [&](const char* name) {
      void* p = dlsym(lib, name);
      if (!p) std::abort();
      return p;
    };
    Oci c;
    c.envInit = reinterpret_cast<decltype(c.envInit)>(get("OCIEnvInit"));
    c.handleAlloc = reinterpret_cast<decltype(c.handleAlloc)>(get("OCIHandleAlloc"));
    c.handleFree = reinterpret_cast<decltype(c.handleFree)>(get("OCIHandleFree"));
    c.logon = reinterpret_cast<decltype(c.logon)>(get("OCILogon"));
    c.logoff = reinterpret_cast<decltype(c.logoff)>(get("OCILogoff"));
    c.prepare = reinterpret_cast<decltype(c.prepare)>(get("OCIStmtPrepare"));
    c.execute = reinterpret_cast<decltype(c.execute)>(get("OCIStmtExecute"));
    c.define = reinterpret_cast<decltype(c.define)>(get("OCIDefineByPos"));
    c.fetch = reinterpret_cast<decltype(c.fetch)>(get("OCIStmtFetch"));
    c.attrGet = reinterpret_cast<decltype(c.attrGet)>(get("OCIAttrGet"));
    return c;
  }();
  return calls;
}

void BM_OciArrayFetch(benchmark::State& state) {
  const Oci& c = oci();
  const std::string& path = scanFiles().oci;
  OCIEnv* env = nullptr;
  OCIError* err = nullptr;
  OCISvcCtx* svc = nullptr;
  OCIStmt* stmt = nullptr;
  c.envInit(&env, OCI_DEFAULT, 0, nullptr);
  c.handleAlloc(env, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
  if (c.logon(env, err, &svc, reinterpret_cast<const OraText*>("scott"), 5,
              reinterpret_cast<const OraText*>("tiger"), 5,
              reinterpret_cast<const OraText*>(path.c_str()), path.size()) != OCI_SUCCESS) {
    state.SkipWithError("logon failed");
    return;
  }
  c.handleAlloc(env, reinterpret_cast<void**>(&stmt), OCI_HTYPE_STMT, 0, nullptr);
  std::string sql = "select id, amount, name, created, code from scan_t";
  c.prepare(stmt, err, reinterpret_cast<const OraText*>(sql.c_str()), sql.size(), OCI_NTV_SYNTAX,
            OCI_DEFAULT);
  static long long ids[kBatch];
  static double amounts[kBatch];
  static char names[kBatch][31];
  static ub1 created[kBatch][7];
  static char codes[kBatch][11];
  static sb2 ind[5][kBatch];
  static ub2 len[5][kBatch];
  for (auto _ : state) {
    c.execute(svc, stmt, err, 0, 0, nullptr, nullptr, OCI_DEFAULT);
    OCIDefine* d = nullptr;
    c.define(stmt, &d, err, 1, ids, sizeof ids[0], SQLT_INT, ind[0], len[0], nullptr, 0);
    d = nullptr;
    c.define(stmt, &d, err, 2, amounts, sizeof amounts[0], SQLT_FLT, ind[1], len[1], nullptr, 0);
    d = nullptr;
    c.define(stmt, &d, err, 3, names, sizeof names[0], SQLT_STR, ind[2], len[2], nullptr, 0);
    d = nullptr;
    c.define(stmt, &d, err, 4, created, sizeof created[0], SQLT_DAT, ind[3], len[3], nullptr, 0);
    d = nullptr;
    c.define(stmt, &d, err, 5, codes, sizeof codes[0], SQLT_STR, ind[4], len[4], nullptr, 0);
    long long sumIds = 0;
    double sumAmounts = 0;
    size_t bytes = 0;
    ub4 before = 0, total = 0;
    sword status;
    do {
      status = c.fetch(stmt, err, kBatch, OCI_FETCH_NEXT, OCI_DEFAULT);
      c.attrGet(stmt, OCI_HTYPE_STMT, &total, nullptr, OCI_ATTR_ROW_COUNT, err);
      for (ub4 r = 0; r < total - before; ++r) {
        sumIds += ids[r] + created[r][3];
        sumAmounts += amounts[r];
        bytes += len[2][r] + len[4][r];
      }
      before = total;
    } while (status == OCI_SUCCESS);
    if (status != OCI_NO_DATA || total != kScanRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sumIds);
    benchmark::DoNotOptimize(sumAmounts);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
  c.handleFree(stmt, OCI_HTYPE_STMT);
  c.logoff(svc, err);
  c.handleFree(env, OCI_HTYPE_ENV);
}
BENCHMARK(BM_OciArrayFetch)->Unit(benchmark::kMillisecond);

void BM_SqliteScan(benchmark::State& state) {
  vorn::bench::SqliteScanBaseline(state, scanFiles().raw);
}
BENCHMARK(BM_SqliteScan)->Unit(benchmark::kMillisecond);

// One session on the OCI benchmark's file, through the client binding.
vorn::TOracleSession& session() {
  static vorn::TOracleSession* const logged = [] {
    vorn::client::SetClientLibraryPath(VORN_OCI_LIBRARY);
    auto* s = new vorn::TOracleSession;
    s->SetLogonUsername("scott");
    s->SetLogonPassword("tiger");
    s->SetLogonDatabase(scanFiles().oci);
    s->LogOn();
    return s;
  }();
  return *logged;
}

std::unique_ptr<vorn::TOracleQuery> scanQuery() {
  auto query = std::make_unique<vorn::TOracleQuery>();
  query->SetSession(&session());
  query->SetReadBuffer(static_cast<int>(kBatch));
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

constexpr int kInsertRows = 100000;
constexpr int kInsertArray = 1000;

void BM_ExecuteArrayInsert(benchmark::State& state) {
  vorn::TOracleQuery work;
  work.SetSession(&session());
  work.SQL()->SetText(
      "create table insert_t (id number(10), amount number(10,2), name varchar2(30), "
      "created date, code varchar2(10))");
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
        names.PutElement(i, "Name number " + std::to_string(n));
        dates.PutElement(i, vorn::Variant::FromDateTime(base + n / 24.0));
        codes.PutElement(i, "C" + std::to_string(n % 1000));
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
      const std::string name = "Name number " + std::to_string(n);
      sqlite3_bind_text(ins, 3, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(ins, 4, 946684800 + static_cast<int64_t>(n) * 3600);
      const std::string code = "C" + std::to_string(n % 1000);
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

BENCHMARK_MAIN();
