// The prepared work queries of a dataset; see WorkQueries.h.
#include "WorkQueries.h"

#include <algorithm>

#include "vorn/query/OracleQuery.h"

namespace vorn {

namespace {

std::string KeyOf(const TGeneratedStatement& statement) {
  std::string key = statement.Text;
  key += statement.StringFieldsOnly ? "\n#S" : "\n#";
  for (const auto& [name, type] : statement.Variables)
    key += "\n" + name + " " + std::to_string(type);
  return key;
}

}  // namespace

TWorkQueries::~TWorkQueries() {
  Clear();
}

TOracleQuery& TWorkQueries::For(const TGeneratedStatement& statement) {
  std::string key = KeyOf(statement);
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& entry) { return entry.key == key; });
  if (found != entries_.end()) {
    std::rotate(entries_.begin(), found, found + 1);
    return *entries_.front().query;
  }
  TOracleQuery* query = nullptr;
  if (entries_.size() >= kKept) {
    query = entries_.back().query;
    entries_.pop_back();
  } else {
    query = new TOracleQuery(owner_);
  }
  entries_.insert(entries_.begin(), Entry{std::string(), query});
  query->Clear();
  query->SetStringFieldsOnly(statement.StringFieldsOnly);
  query->SQL()->SetText(statement.Text);
  for (const auto& [name, type] : statement.Variables)
    query->DeclareVariable(name, type);
  // Only a query that was given the whole statement may be taken for it.
  entries_.front().key = std::move(key);
  return *query;
}

void TWorkQueries::Clear() {
  for (Entry& entry : entries_) {
    try {
      delete entry.query;
    } catch (...) {
      // Closing a query whose session has gone may fail; it is gone anyway.
    }
  }
  entries_.clear();
}

}  // namespace vorn
