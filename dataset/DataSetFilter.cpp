// TOracleDataSet: the filter. A record is visible when OnFilterRecord
// accepts it and the parsed Filter expression holds for it, both read in
// the dsFilter state with the record as the fetch buffer. Changes of
// Filter, Filtered and FilterOptions on an open dataset re-filter every
// record fetched; one that fails changes nothing.
#include <vector>

#include "RecordList.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/filter/ColumnExpression.h"
#include "vorn/filter/FilterParser.h"

namespace vorn {

bool TOracleDataSet::FilterRecord(TRecordBuffer record) {
  const TDataSetState saved = SetTempState(dsFilter);
  struct StateFrame {
    TOracleDataSet& dataSet;
    TDataSetState state;
    TRecordBuffer buffer;
    ~StateFrame() {
      dataSet.fetchBuffer_ = buffer;
      dataSet.RestoreState(state);
    }
  } frame{*this, saved, fetchBuffer_};
  fetchBuffer_ = record;
  bool accept = true;
  if (OnFilterRecord()) OnFilterRecord()(this, accept);
  if (accept) accept = EvaluateFilter();
  return accept;
}

bool TOracleDataSet::EvaluateFilter() {
  return filterExpression_ == nullptr || filterExpression_->AsBoolean();
}

std::unique_ptr<filter::TExpression> TOracleDataSet::ParseFilter(const std::string& text,
                                                                 TFilterOptions options) {
  return filter::ParseFilterExpression(text, options, filter::ResolveColumn, this);
}

std::vector<TRecordBuffer> TOracleDataSet::PassingRecords() {
  std::vector<TRecordBuffer> passing;
  for (int i = 0; i < records_->Count(); ++i) {
    TRecordBuffer record = records_->Records(i);
    if (FilterRecord(record)) passing.push_back(record);
  }
  return passing;
}

void TOracleDataSet::ChangeFilter(const std::string& text, TFilterOptions options, bool filtered) {
  if (!Active()) {
    TDataSet::SetFilterText(text);
    TDataSet::SetFilterOptions(options);
    TDataSet::SetFiltered(filtered);
    return;
  }
  if (filtered != Filtered()) CheckBrowseMode();
  // A text that does not parse, or a filter that fails on a record, is
  // refused and changes nothing: the records that pass are found before
  // anything is replaced.
  std::unique_ptr<filter::TExpression> parsed = ParseFilter(text, options);
  const std::string oldText = Filter();
  const TFilterOptions oldOptions = FilterOptions();
  const bool oldFiltered = Filtered();
  TDataSet::SetFilterText(text);
  TDataSet::SetFilterOptions(options);
  TDataSet::SetFiltered(filtered);
  std::swap(filterExpression_, parsed);
  if (!filtered && !oldFiltered) return;
  std::vector<TRecordBuffer> passing;
  try {
    if (filtered) passing = PassingRecords();
  } catch (...) {
    TDataSet::SetFilterText(oldText);
    TDataSet::SetFilterOptions(oldOptions);
    TDataSet::SetFiltered(oldFiltered);
    std::swap(filterExpression_, parsed);
    throw;
  }
  records_->SetFiltering(filtered);
  records_->ReplaceFiltered(passing);
  First();
}

void TOracleDataSet::SetFiltered(bool value) {
  if (value == Filtered()) return;
  ChangeFilter(Filter(), FilterOptions(), value);
}

void TOracleDataSet::SetFilterText(const std::string& value) {
  if (value == Filter()) return;
  ChangeFilter(value, FilterOptions(), Filtered());
}

void TOracleDataSet::SetFilterOptions(TFilterOptions value) {
  if (value == FilterOptions()) return;
  ChangeFilter(Filter(), value, Filtered());
}

}  // namespace vorn
