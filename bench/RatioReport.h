// The summary of a vorn-bench run: after Google Benchmark's own table, one
// line per measurement with its rate (rows per second, or MB per second for
// LOB reads) and its ratio to the matching SQLite figure, then one line
// `ratio <name> <value>` per comparison, so that runs can be compared by
// machine.
//
// A ratio is SQLite's rate divided by the measurement's: the time the work
// takes as a multiple of SQLite's time for the same work (lower is better;
// 1/ratio is the share of SQLite's throughput). With repetitions, the
// medians are compared.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace vorn::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Coloured as Google Benchmark's own table when `colour` (a terminal).
  explicit RatioReporter(bool colour)
      : benchmark::ConsoleReporter(colour ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override;
  // Writes the summary of every run reported so far.
  void WriteSummary(std::ostream& out) const;

 private:
  struct Figure {
    double rate = 0;
    bool bytes = false;
    std::string skipped;
    bool median = false;
  };
  const Figure* Find(const std::string& name) const;
  std::map<std::string, Figure> figures_;
  std::vector<std::string> order_;
};

}  // namespace vorn::bench
