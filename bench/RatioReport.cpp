#include "RatioReport.h"

#include <cstdio>
#include <set>

namespace vorn::bench {
namespace {

// A measurement, the SQLite figure it is compared with, and the name of its
// summary line.
struct Comparison {
  const char* name;
  const char* baseline;
  const char* ratio;
};

// The scan of 200,000 rows.
constexpr Comparison kComparisons[] = {
    {"BM_QtScan", "BM_SqliteScan", "qt_scan"},
    {"BM_OciArrayFetch", "BM_SqliteScan", "oci8_scan"},
    {"BM_QueryTypedAccessors", "BM_SqliteScan", "query_typed"},
    {"BM_QueryFieldVariants", "BM_SqliteScan", "query_variants"},
    {"BM_DataSetOpenFetchAll", "BM_SqliteScan", "dataset_fetch_all"},
    {"BM_DataSetWindowScroll", "BM_SqliteScan", "dataset_grid_scroll"},
    {"BM_DataSetScrollFetching", "BM_SqliteScan", "dataset_grid_scroll_fetching"},
    // 100,000 inserts (10,000 for the dataset).
    {"BM_QtExecBatchInsert", "BM_SqliteInsert", "qt_insert"},
    {"BM_OciArrayInsert", "BM_SqliteInsert", "oci8_array_insert"},
    {"BM_ExecuteArrayInsert", "BM_SqliteInsert", "execute_array_insert"},
    {"BM_DataSetAppendPost", "BM_SqliteInsert", "dataset_append_post"},
    // Searching and filtering the buffered rows.
    {"BM_DataSetLocate", "BM_SqliteLocateScan", "locate"},
    {"BM_DataSetLocateNoCase", "BM_SqliteLocateScan", "locate_nocase"},
    {"BM_DataSetLookup", "BM_SqliteLocateScan", "lookup"},
    {"BM_DataSetFilter", "BM_SqliteFilterCount", "filter"},
    // A 10 MB CLOB in 64 KB pieces.
    {"BM_LobLocatorRead", "BM_SqliteBlobRead", "lob_read"},
    // Single rows by key, as a dataset refreshes one.
    {"BM_OciSelectByKey", "BM_SqliteSelectByKey", "oci8_select_by_key"},
    {"BM_QuerySelectByKey", "BM_SqliteSelectByKey", "query_select_by_key"},
    // The growth with the row count.
    {"BM_ScaleQueryScan/10000", "BM_ScaleSqliteScan/10000", "scale_query_scan_10k"},
    {"BM_ScaleQueryScan/100000", "BM_ScaleSqliteScan/100000", "scale_query_scan_100k"},
    {"BM_ScaleQueryScan/1000000", "BM_ScaleSqliteScan/1000000", "scale_query_scan_1m"},
    {"BM_ScaleDataSetOpen/10000", "BM_ScaleSqliteScan/10000", "scale_dataset_open_10k"},
    {"BM_ScaleDataSetOpen/100000", "BM_ScaleSqliteScan/100000", "scale_dataset_open_100k"},
    {"BM_ScaleDataSetOpen/1000000", "BM_ScaleSqliteScan/1000000", "scale_dataset_open_1m"},
};

std::string Rate(double rate, bool bytes) {
  char text[64];
  if (bytes)
    std::snprintf(text, sizeof text, "%10.1f MB/s", rate / (1024.0 * 1024.0));
  else
    std::snprintf(text, sizeof text, "%12.0f rows/s", rate);
  return text;
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    if (run.run_type == Run::RT_Aggregate && !median) continue;
    const std::string name = run.run_name.str();
    Figure& figure = figures_[name];
    if (figure.median && !median) continue;
    if (figure.rate == 0 && figure.skipped.empty() && !figure.median) order_.push_back(name);
    figure.median = median;
    if (run.error_occurred) {
      figure.skipped = run.error_message;
      continue;
    }
    auto items = run.counters.find("items_per_second");
    auto bytes = run.counters.find("bytes_per_second");
    if (items != run.counters.end()) {
      figure.rate = items->second.value;
    } else if (bytes != run.counters.end()) {
      figure.rate = bytes->second.value;
      figure.bytes = true;
    }
  }
}

const RatioReporter::Figure* RatioReporter::Find(const std::string& name) const {
  auto found = figures_.find(name);
  return found == figures_.end() ? nullptr : &found->second;
}

void RatioReporter::WriteSummary(std::ostream& out) const {
  out << "\nvorn-bench: rate, and time as a multiple of the matching SQLite figure's"
         " (lower is better)\n";
  std::set<std::string> baselines;
  for (const Comparison& c : kComparisons)
    baselines.insert(c.baseline);
  std::vector<std::string> summary;
  char line[256];
  for (const std::string& name : order_) {
    const Figure& figure = *Find(name);
    if (!figure.skipped.empty()) {
      std::snprintf(line, sizeof line, "%-48s skipped: %s\n", name.c_str(), figure.skipped.c_str());
      out << line;
      continue;
    }
    if (figure.rate <= 0) continue;  // a benchmark without a rate
    std::string compared;
    for (const Comparison& c : kComparisons) {
      if (name != c.name) continue;
      const Figure* base = Find(c.baseline);
      if (base == nullptr || base->rate <= 0 || figure.rate <= 0) break;
      const double ratio = base->rate / figure.rate;
      std::snprintf(line, sizeof line, "  %6.2fx %s's time (%.2fx its rate)", ratio, c.baseline,
                    1 / ratio);
      compared = line;
      std::snprintf(line, sizeof line, "ratio %s %.3f\n", c.ratio, ratio);
      summary.emplace_back(line);
    }
    if (compared.empty() && baselines.count(name) != 0) compared = "  (SQLite baseline)";
    std::snprintf(line, sizeof line, "%-48s %s", name.c_str(),
                  Rate(figure.rate, figure.bytes).c_str());
    out << line << compared << "\n";
  }
  out << "\n";
  for (const std::string& s : summary)
    out << s;
}

}  // namespace vorn::bench
