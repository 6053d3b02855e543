// A full scan of 200,000 rows (NUMBER, VARCHAR2 and DATE columns) through
// the call interface, fetched into arrays of 100 rows as the library's
// queries do, against the same scan through the SQLite C API. The ratio is
// what the OCI layer and the engine together cost on the fetch path.
//
// QueryScan.cpp adds, in the same program and on the same file, the scan
// through TOracleQuery and the inserts through ExecuteArray.
//
// Beside it, the same 20,000 texts of 200 characters read from a VARCHAR2
// column into character buffers and from a CLOB column through locators
// (one OCILobRead per row), as the library reads memo fields.
//
// oci.dll carries its own SQLite: the two scans read two copies of the
// file, so that the two SQLite libraries in this process never hold locks
// on the same file.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ScanFiles.h"
#include "ScanTable.h"
#include "oci.h"

namespace {

using vorn::bench::kScanRows;
using vorn::bench::scanFiles;
constexpr ub4 kBatch = 100;

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
  decltype(&::OCIBindByName) bind;
  decltype(&::OCITransCommit) commit;
  decltype(&::OCITransRollback) rollback;
  decltype(&::OCIDescriptorAlloc) descriptorAlloc;
  decltype(&::OCIDescriptorFree) descriptorFree;
  decltype(&::OCILobRead) lobRead;
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
    c.bind = reinterpret_cast<decltype(c.bind)>(get("OCIBindByName"));
    c.commit = reinterpret_cast<decltype(c.commit)>(get("OCITransCommit"));
    c.rollback = reinterpret_cast<decltype(c.rollback)>(get("OCITransRollback"));
    c.descriptorAlloc = reinterpret_cast<decltype(c.descriptorAlloc)>(get("OCIDescriptorAlloc"));
    c.descriptorFree = reinterpret_cast<decltype(c.descriptorFree)>(get("OCIDescriptorFree"));
    c.lobRead = reinterpret_cast<decltype(c.lobRead)>(get("OCILobRead"));
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

// The rows of QueryScan.cpp's insert benchmarks, 1,000 at a time through
// array binds: the floor that no client of oci.dll goes below.
void BM_OciArrayInsert(benchmark::State& state) {
  constexpr int kRows = 100000;
  constexpr int kArray = 1000;
  const Oci& c = oci();
  const std::string& path = scanFiles().oci;
  OCIEnv* env = nullptr;
  OCIError* err = nullptr;
  OCISvcCtx* svc = nullptr;
  c.envInit(&env, OCI_DEFAULT, 0, nullptr);
  c.handleAlloc(env, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
  if (c.logon(env, err, &svc, reinterpret_cast<const OraText*>("scott"), 5,
              reinterpret_cast<const OraText*>("tiger"), 5,
              reinterpret_cast<const OraText*>(path.c_str()), path.size()) != OCI_SUCCESS) {
    state.SkipWithError("logon failed");
    return;
  }
  const auto run = [&](const std::string& sql, OCIStmt*& stmt) {
    if (stmt == nullptr)
      c.handleAlloc(env, reinterpret_cast<void**>(&stmt), OCI_HTYPE_STMT, 0, nullptr);
    c.prepare(stmt, err, reinterpret_cast<const OraText*>(sql.c_str()), sql.size(), OCI_NTV_SYNTAX,
              OCI_DEFAULT);
    return c.execute(svc, stmt, err, 1, 0, nullptr, nullptr, OCI_DEFAULT);
  };
  OCIStmt* work = nullptr;
  // Made here or by the query benchmark, whichever runs first.
  run("create table insert_t (id number(10), amount number(12,2), name varchar2(30), "
      "created date, code varchar2(100))",
      work);
  OCIStmt* insert = nullptr;
  c.handleAlloc(env, reinterpret_cast<void**>(&insert), OCI_HTYPE_STMT, 0, nullptr);
  const std::string sql =
      "insert into insert_t (id, amount, name, created, code) values (:id, :amount, :name, "
      ":created, :code)";
  c.prepare(insert, err, reinterpret_cast<const OraText*>(sql.c_str()), sql.size(), OCI_NTV_SYNTAX,
            OCI_DEFAULT);
  static int ids[kArray];
  static double amounts[kArray];
  static char names[kArray][31];
  static ub1 created[kArray][7];
  static char codes[kArray][11];
  const auto bind = [&](const char* name, void* value, sb4 size, ub2 type) {
    OCIBind* b = nullptr;
    c.bind(insert, &b, err, reinterpret_cast<const OraText*>(name), static_cast<sb4>(strlen(name)),
           value, size, type, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  };
  bind(":id", ids, sizeof ids[0], SQLT_INT);
  bind(":amount", amounts, sizeof amounts[0], SQLT_FLT);
  bind(":name", names, sizeof names[0], SQLT_STR);
  bind(":created", created, sizeof created[0], SQLT_DAT);
  bind(":code", codes, sizeof codes[0], SQLT_STR);
  for (auto _ : state) {
    state.PauseTiming();
    run("delete from insert_t", work);
    c.commit(svc, err, OCI_DEFAULT);
    state.ResumeTiming();
    ub4 inserted = 0;
    for (int first = 0; first < kRows; first += kArray) {
      for (int i = 0; i < kArray; ++i) {
        const int n = first + i + 1;
        ids[i] = n;
        amounts[i] = n * 1.25 + 0.01;
        std::snprintf(names[i], sizeof names[i], "Name number %d", n);
        const ub1 date[7] = {120, 100, 1, static_cast<ub1>(1 + n % 28), 1, 1, 1};
        std::memcpy(created[i], date, sizeof date);
        std::snprintf(codes[i], sizeof codes[i], "C%d", n % 1000);
      }
      c.execute(svc, insert, err, kArray, 0, nullptr, nullptr, OCI_DEFAULT);
      ub4 rows = 0;
      c.attrGet(insert, OCI_HTYPE_STMT, &rows, nullptr, OCI_ATTR_ROW_COUNT, err);
      inserted += rows;
    }
    c.commit(svc, err, OCI_DEFAULT);
    if (inserted != kRows) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  c.handleFree(insert, OCI_HTYPE_STMT);
  c.handleFree(work, OCI_HTYPE_STMT);
  c.logoff(svc, err);
  c.handleFree(env, OCI_HTYPE_ENV);
}
BENCHMARK(BM_OciArrayInsert)->Unit(benchmark::kMillisecond);

// One logged-on session with a prepared statement, on the scan file unless
// another database is named: for the single-row and text benchmarks.
struct ScanSession {
  OCIEnv* env = nullptr;
  OCIError* err = nullptr;
  OCISvcCtx* svc = nullptr;
  OCIStmt* stmt = nullptr;
  bool ok = false;

  explicit ScanSession(const std::string& sql) : ScanSession(sql, scanFiles().oci) {}
  ScanSession(const std::string& sql, const std::string& path) {
    const Oci& c = oci();
    c.envInit(&env, OCI_DEFAULT, 0, nullptr);
    c.handleAlloc(env, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
    ok = c.logon(env, err, &svc, reinterpret_cast<const OraText*>("scott"), 5,
                 reinterpret_cast<const OraText*>("tiger"), 5,
                 reinterpret_cast<const OraText*>(path.c_str()), path.size()) == OCI_SUCCESS;
    c.handleAlloc(env, reinterpret_cast<void**>(&stmt), OCI_HTYPE_STMT, 0, nullptr);
    c.prepare(stmt, err, reinterpret_cast<const OraText*>(sql.c_str()), sql.size(), OCI_NTV_SYNTAX,
              OCI_DEFAULT);
  }
  ~ScanSession() {
    const Oci& c = oci();
    c.handleFree(stmt, OCI_HTYPE_STMT);
    if (ok) c.logoff(svc, err);
    c.handleFree(env, OCI_HTYPE_ENV);
  }
};

constexpr int kSingleRowExecutions = 10000;

// A record read by its key, as a dataset refreshes or locks one: the
// prepared query executed once per key with the row fetched at execute.
void BM_OciSelectByKey(benchmark::State& state) {
  const Oci& c = oci();
  ScanSession t("select id, amount, name, created, code from scan_t where id = :id");
  if (!t.ok) return state.SkipWithError("logon failed");
  int key = 0;
  OCIBind* b = nullptr;
  c.bind(t.stmt, &b, t.err, reinterpret_cast<const OraText*>(":id"), 3, &key, sizeof key, SQLT_INT,
         nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  long long id = 0;
  double amount = 0;
  char name[31];
  ub1 created[7];
  char code[11];
  bool defined = false;
  for (auto _ : state) {
    long long sum = 0;
    for (int i = 0; i < kSingleRowExecutions; ++i) {
      key = 1 + (i * 7919) % kScanRows;
      if (!defined) {
        // Defines need the select list: described by the first execute.
        c.execute(t.svc, t.stmt, t.err, 0, 0, nullptr, nullptr, OCI_DESCRIBE_ONLY);
        OCIDefine* d = nullptr;
        c.define(t.stmt, &d, t.err, 1, &id, sizeof id, SQLT_INT, nullptr, nullptr, nullptr, 0);
        d = nullptr;
        c.define(t.stmt, &d, t.err, 2, &amount, sizeof amount, SQLT_FLT, nullptr, nullptr, nullptr,
                 0);
        d = nullptr;
        c.define(t.stmt, &d, t.err, 3, name, sizeof name, SQLT_STR, nullptr, nullptr, nullptr, 0);
        d = nullptr;
        c.define(t.stmt, &d, t.err, 4, created, sizeof created, SQLT_DAT, nullptr, nullptr, nullptr,
                 0);
        d = nullptr;
        c.define(t.stmt, &d, t.err, 5, code, sizeof code, SQLT_STR, nullptr, nullptr, nullptr, 0);
        defined = true;
      }
      if (c.execute(t.svc, t.stmt, t.err, 1, 0, nullptr, nullptr, OCI_DEFAULT) != OCI_SUCCESS ||
          id != key) {
        return state.SkipWithError("row not found");
      }
      sum += id + created[3];
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kSingleRowExecutions);
}
BENCHMARK(BM_OciSelectByKey)->Unit(benchmark::kMillisecond);

// A record written back by its rowid, as a dataset posts an edit: the
// prepared update executed once per record, in one transaction that is
// rolled back (the scan table stays as the other benchmarks expect it).
void BM_OciUpdateByRowid(benchmark::State& state) {
  const Oci& c = oci();
  constexpr int kRecords = 1000;
  static char rowids[kRecords][19];
  {
    ScanSession read("select rowid from scan_t where id <= 1000");
    if (!read.ok) return state.SkipWithError("logon failed");
    c.execute(read.svc, read.stmt, read.err, 0, 0, nullptr, nullptr, OCI_DEFAULT);
    OCIDefine* d = nullptr;
    c.define(read.stmt, &d, read.err, 1, rowids, sizeof rowids[0], SQLT_STR, nullptr, nullptr,
             nullptr, 0);
    c.fetch(read.stmt, read.err, kRecords, OCI_FETCH_NEXT, OCI_DEFAULT);
  }
  ScanSession t("update scan_t set amount = :amount, name = :name where rowid = :r");
  if (!t.ok) return state.SkipWithError("logon failed");
  double amount = 0;
  char name[31];
  char rowid[19];
  OCIBind* b = nullptr;
  c.bind(t.stmt, &b, t.err, reinterpret_cast<const OraText*>(":amount"), 7, &amount, sizeof amount,
         SQLT_FLT, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  b = nullptr;
  c.bind(t.stmt, &b, t.err, reinterpret_cast<const OraText*>(":name"), 5, name, sizeof name,
         SQLT_STR, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  b = nullptr;
  c.bind(t.stmt, &b, t.err, reinterpret_cast<const OraText*>(":r"), 2, rowid, sizeof rowid,
         SQLT_STR, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  for (auto _ : state) {
    ub4 updated = 0;
    for (int i = 0; i < kSingleRowExecutions; ++i) {
      const int record = i % kRecords;
      amount = i * 0.5;
      std::snprintf(name, sizeof name, "Edited %d", i);
      std::memcpy(rowid, rowids[record], sizeof rowid);
      c.execute(t.svc, t.stmt, t.err, 1, 0, nullptr, nullptr, OCI_DEFAULT);
      ub4 rows = 0;
      c.attrGet(t.stmt, OCI_HTYPE_STMT, &rows, nullptr, OCI_ATTR_ROW_COUNT, t.err);
      updated += rows;
    }
    state.PauseTiming();
    c.rollback(t.svc, t.err, OCI_DEFAULT);
    state.ResumeTiming();
    if (updated != kSingleRowExecutions) state.SkipWithError("wrong row count");
  }
  state.SetItemsProcessed(state.iterations() * kSingleRowExecutions);
}
BENCHMARK(BM_OciUpdateByRowid)->Unit(benchmark::kMillisecond);
constexpr int kTextRows = 20000;
constexpr size_t kTextLength = 200;

// TEXT_T: id, the same 200 characters as VARCHAR2 (note) and CLOB (body).
const std::string& textFile() {
  static const std::string path = [] {
    const std::string p = vorn::bench::benchFile("oci-text.db");
    {
      auto db = vorn::server::Database::create(p);
      vorn::server::loadDemoSeed(db);
      auto s = db->logon("scott", "tiger");
      s->execute("create table text_t (id number(10) primary key, note varchar2(200), body clob)");
    }
    sqlite3* raw = nullptr;
    sqlite3_open(p.c_str(), &raw);
    sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO \"SCOTT.TEXT_T\" VALUES (?1, ?2, ?2)", -1, &ins, nullptr);
    for (int i = 1; i <= kTextRows; ++i) {
      std::string text(kTextLength, static_cast<char>('a' + i % 26));
      text.replace(0, std::to_string(i).size(), std::to_string(i));
      sqlite3_bind_int64(ins, 1, i);
      sqlite3_bind_text(ins, 2, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
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

struct TextSession : ScanSession {
  explicit TextSession(const std::string& sql) : ScanSession(sql, textFile()) {}
};

void BM_OciVarchar2Column(benchmark::State& state) {
  const Oci& c = oci();
  TextSession t("select note from text_t");
  if (!t.ok) return state.SkipWithError("logon failed");
  static char notes[kBatch][kTextLength + 1];
  static sb2 ind[kBatch];
  for (auto _ : state) {
    c.execute(t.svc, t.stmt, t.err, 0, 0, nullptr, nullptr, OCI_DEFAULT);
    OCIDefine* d = nullptr;
    c.define(t.stmt, &d, t.err, 1, notes, sizeof notes[0], SQLT_STR, ind, nullptr, nullptr, 0);
    size_t bytes = 0;
    ub4 before = 0, total = 0;
    sword status;
    do {
      status = c.fetch(t.stmt, t.err, kBatch, OCI_FETCH_NEXT, OCI_DEFAULT);
      c.attrGet(t.stmt, OCI_HTYPE_STMT, &total, nullptr, OCI_ATTR_ROW_COUNT, t.err);
      for (ub4 r = 0; r < total - before; ++r)
        bytes += std::strlen(notes[r]);
      before = total;
    } while (status == OCI_SUCCESS);
    if (total != kTextRows || bytes != kTextRows * kTextLength) state.SkipWithError("wrong data");
  }
  state.SetItemsProcessed(state.iterations() * kTextRows);
}
BENCHMARK(BM_OciVarchar2Column)->Unit(benchmark::kMillisecond);

void BM_OciClobColumnThroughLocators(benchmark::State& state) {
  const Oci& c = oci();
  TextSession t("select body from text_t");
  if (!t.ok) return state.SkipWithError("logon failed");
  static OCILobLocator* locators[kBatch];
  for (auto& l : locators)
    c.descriptorAlloc(t.env, reinterpret_cast<void**>(&l), OCI_DTYPE_LOB, 0, nullptr);
  static char buffer[kTextLength + 1];
  for (auto _ : state) {
    c.execute(t.svc, t.stmt, t.err, 0, 0, nullptr, nullptr, OCI_DEFAULT);
    OCIDefine* d = nullptr;
    c.define(t.stmt, &d, t.err, 1, locators, sizeof locators[0], SQLT_CLOB, nullptr, nullptr,
             nullptr, 0);
    size_t bytes = 0;
    ub4 before = 0, total = 0;
    sword status;
    do {
      status = c.fetch(t.stmt, t.err, kBatch, OCI_FETCH_NEXT, OCI_DEFAULT);
      c.attrGet(t.stmt, OCI_HTYPE_STMT, &total, nullptr, OCI_ATTR_ROW_COUNT, t.err);
      for (ub4 r = 0; r < total - before; ++r) {
        ub4 amount = 0;
        c.lobRead(t.svc, t.err, locators[r], &amount, 1, buffer, sizeof buffer, nullptr, nullptr, 0,
                  SQLCS_IMPLICIT);
        bytes += amount;
      }
      before = total;
    } while (status == OCI_SUCCESS);
    if (total != kTextRows || bytes != kTextRows * kTextLength) state.SkipWithError("wrong data");
  }
  for (auto& l : locators)
    c.descriptorFree(l, OCI_DTYPE_LOB);
  state.SetItemsProcessed(state.iterations() * kTextRows);
}
BENCHMARK(BM_OciClobColumnThroughLocators)->Unit(benchmark::kMillisecond);

void BM_SqliteScan(benchmark::State& state) {
  vorn::bench::SqliteScanBaseline(state, scanFiles().raw);
}
BENCHMARK(BM_SqliteScan)->Unit(benchmark::kMillisecond);

}  // namespace
