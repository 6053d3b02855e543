// What a C++ developer might use instead of the library on the same file:
// Qt's SQL module with its QSQLITE driver (which links the system's SQLite,
// the one the raw baselines use). The scan of 200,000 rows through a
// forward-only QSqlQuery, reading every column as the type it holds (the
// texts become QStrings, as Qt gives them); and the 100,000 inserts of the
// insert benchmarks through execBatch in batches of 1,000 rows, in one
// transaction.
//
// Without the QSQLITE driver (Debian: libqt6sql6-sqlite) both are reported
// as skipped, with the reason.
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include "ScanFiles.h"

namespace {

using vorn::bench::kScanRows;
using vorn::bench::scanFiles;

constexpr char kConnection[] = "vorn-bench";

// The connection on the raw copy of the scan file, or null with the reason
// given to `state`.
QSqlDatabase* qtDatabase(benchmark::State& state) {
  static QSqlDatabase db;
  static std::string failure;
  static bool tried = false;
  if (!tried) {
    tried = true;
    if (!QSqlDatabase::isDriverAvailable("QSQLITE")) {
      failure =
          "Qt's QSQLITE driver is not installed (Debian: libqt6sql6-sqlite); the Qt figures are "
          "skipped";
    } else {
      db = QSqlDatabase::addDatabase("QSQLITE", kConnection);
      db.setDatabaseName(QString::fromStdString(scanFiles().raw));
      if (!db.open())
        failure = "Qt could not open the scan file: " + db.lastError().text().toStdString();
    }
  }
  if (!failure.empty()) {
    state.SkipWithError(failure.c_str());
    return nullptr;
  }
  return &db;
}

void BM_QtScan(benchmark::State& state) {
  QSqlDatabase* db = qtDatabase(state);
  if (db == nullptr) return;
  QSqlQuery query(*db);
  query.setForwardOnly(true);
  if (!query.prepare("SELECT \"ID\", \"AMOUNT\", \"NAME\", \"CREATED\", \"CODE\" FROM "
                     "\"SCOTT.SCAN_T\"")) {
    return state.SkipWithError("Qt could not prepare the scan");
  }
  for (auto _ : state) {
    query.exec();
    long long sumIds = 0, sumDates = 0;
    double sumAmounts = 0;
    qsizetype chars = 0;
    int rows = 0;
    while (query.next()) {
      sumIds += query.value(0).toLongLong();
      sumAmounts += query.value(1).toDouble();
      chars += query.value(2).toString().size();
      sumDates += query.value(3).toLongLong();
      chars += query.value(4).toString().size();
      ++rows;
    }
    query.finish();
    if (rows != kScanRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sumIds);
    benchmark::DoNotOptimize(sumDates);
    benchmark::DoNotOptimize(sumAmounts);
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * kScanRows);
}
BENCHMARK(BM_QtScan)->Unit(benchmark::kMillisecond);

constexpr int kInsertRows = 100000;
constexpr int kInsertArray = 1000;

void BM_QtExecBatchInsert(benchmark::State& state) {
  QSqlDatabase* db = qtDatabase(state);
  if (db == nullptr) return;
  QSqlQuery work(*db);
  work.exec(
      "CREATE TABLE IF NOT EXISTS qt_insert_t (id INTEGER, amount REAL, name TEXT, created "
      "INTEGER, code TEXT)");
  QSqlQuery insert(*db);
  if (!insert.prepare("INSERT INTO qt_insert_t VALUES (?, ?, ?, ?, ?)"))
    return state.SkipWithError("Qt could not prepare the insert");
  for (auto _ : state) {
    state.PauseTiming();
    work.exec("DELETE FROM qt_insert_t");
    state.ResumeTiming();
    db->transaction();
    for (int first = 0; first < kInsertRows; first += kInsertArray) {
      QVariantList ids, amounts, names, dates, codes;
      for (int i = 0; i < kInsertArray; ++i) {
        const int n = first + i + 1;
        ids << n;
        amounts << n * 1.25 + 0.01;
        names << QStringLiteral("Name number %1").arg(n);
        dates << static_cast<qlonglong>(946684800 + static_cast<qlonglong>(n) * 3600);
        codes << QStringLiteral("C%1").arg(n % 1000);
      }
      insert.addBindValue(ids);
      insert.addBindValue(amounts);
      insert.addBindValue(names);
      insert.addBindValue(dates);
      insert.addBindValue(codes);
      if (!insert.execBatch()) return state.SkipWithError("Qt's execBatch failed");
    }
    db->commit();
  }
  state.SetItemsProcessed(state.iterations() * kInsertRows);
}
BENCHMARK(BM_QtExecBatchInsert)->Unit(benchmark::kMillisecond);

}  // namespace
