// vorn-bench: every benchmark of the program (the scans, inserts, searches
// and LOB reads against SQLite and Qt), then the summary of RatioReport.h.
// The data is made in a temporary folder, removed at the end.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "RatioReport.h"
#include "ScanFiles.h"

#ifdef VORN_BENCH_QT
#include <QCoreApplication>
#endif

int main(int argc, char** argv) {
#ifdef VORN_BENCH_QT
  // Qt finds its SQL drivers through the application's plugin paths.
  QCoreApplication application(argc, argv);
#endif
#ifndef NDEBUG
  std::cerr << "vorn-bench: built with assertions (a Debug build?): the figures are not "
               "representative; use the normal build or a Release build\n";
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  vorn::bench::RatioReporter reporter(isatty(fileno(stdout)) != 0);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.WriteSummary(std::cout);
  benchmark::Shutdown();
  vorn::bench::removeBenchDirectory();
  return 0;
}
