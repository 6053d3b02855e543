// A 10 MB CLOB read in pieces of 64 KB: through a query column's
// TLOBLocator (the select executed, then Read until it comes back empty),
// against the same bytes read through SQLite's incremental blob API
// (sqlite3_blob_open, sqlite3_blob_read) on a copy of the file. Figures in
// bytes per second.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ScanSession.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/OracleQuery.h"

namespace {

constexpr int64_t kLobBytes = 10 * 1024 * 1024;
constexpr int kPiece = 64 * 1024;

struct LobFiles {
  std::string oci;
  std::string raw;
};

// LOB_T: one row, id 1, its BODY a CLOB of 10 MB of letters and digits.
const LobFiles& lobFiles() {
  static const LobFiles files = [] {
    LobFiles f{vorn::bench::benchFile("lob.db"), vorn::bench::benchFile("lob-raw.db")};
    {
      auto db = vorn::server::Database::create(f.oci);
      vorn::server::loadDemoSeed(db);
      auto s = db->logon("scott", "tiger");
      s->execute("create table lob_t (id number(10) primary key, body clob)");
    }
    std::string text(static_cast<size_t>(kLobBytes), ' ');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[i % 36];
    sqlite3* raw = nullptr;
    sqlite3_open(f.oci.c_str(), &raw);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO \"SCOTT.LOB_T\" VALUES (1, ?1)", -1, &ins, nullptr);
    sqlite3_bind_text(ins, 1, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    sqlite3_step(ins);
    sqlite3_finalize(ins);
    sqlite3_exec(raw, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    std::filesystem::copy_file(f.oci, f.raw, std::filesystem::copy_options::overwrite_existing);
    return f;
  }();
  return files;
}

vorn::TOracleSession& lobSession() {
  static vorn::TOracleSession* const logged = [] {
    vorn::bench::scanSession();  // points the client at oci.dll
    auto* s = new vorn::TOracleSession;
    s->SetLogonUsername("scott");
    s->SetLogonPassword("tiger");
    s->SetLogonDatabase(lobFiles().oci);
    s->LogOn();
    return s;
  }();
  return *logged;
}

void BM_LobLocatorRead(benchmark::State& state) {
  vorn::TOracleQuery query;
  query.SetSession(&lobSession());
  query.SQL()->SetText("select body from lob_t where id = 1");
  std::vector<char> piece(kPiece);
  for (auto _ : state) {
    query.Execute();
    vorn::TLOBLocator& body = *query.LOBField(0);
    int64_t bytes = 0, count = 0;
    while ((count = body.Read(piece.data(), kPiece)) > 0)
      bytes += count;
    if (bytes != kLobBytes) state.SkipWithError("wrong length");
    benchmark::DoNotOptimize(piece.data());
  }
  state.SetBytesProcessed(state.iterations() * kLobBytes);
}
BENCHMARK(BM_LobLocatorRead)->Unit(benchmark::kMillisecond);

void BM_SqliteBlobRead(benchmark::State& state) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(lobFiles().raw.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  // The engine's tables keep SQLite's own rowid beside the key.
  sqlite3_stmt* find = nullptr;
  sqlite3_prepare_v2(raw, "SELECT rowid FROM \"SCOTT.LOB_T\" WHERE \"ID\" = 1", -1, &find, nullptr);
  const sqlite3_int64 rowid = sqlite3_step(find) == SQLITE_ROW ? sqlite3_column_int64(find, 0) : 0;
  sqlite3_finalize(find);
  std::vector<char> piece(kPiece);
  for (auto _ : state) {
    sqlite3_blob* blob = nullptr;
    if (sqlite3_blob_open(raw, "main", "SCOTT.LOB_T", "BODY", rowid, 0, &blob) != SQLITE_OK)
      return state.SkipWithError(sqlite3_errmsg(raw));
    const int size = sqlite3_blob_bytes(blob);
    int64_t bytes = 0;
    for (int at = 0; at < size; at += kPiece) {
      const int count = std::min(kPiece, size - at);
      sqlite3_blob_read(blob, piece.data(), count, at);
      bytes += count;
    }
    sqlite3_blob_close(blob);
    if (bytes != kLobBytes) state.SkipWithError("wrong length");
    benchmark::DoNotOptimize(piece.data());
  }
  state.SetBytesProcessed(state.iterations() * kLobBytes);
  sqlite3_close(raw);
}
BENCHMARK(BM_SqliteBlobRead)->Unit(benchmark::kMillisecond);

}  // namespace
