// The prepared work queries of a dataset; see WorkQueries.h.
#include "WorkQueries.h"

#include <algorithm>

#include "vorn/host/StringList.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/query/Variables.h"

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

void TGeneratedStatement::DeclareUsedVariables(const TVariables& variables) {
  const std::unique_ptr<TStringList> used = TOracleQuery::FindVariables(Text, false);
  for (int i = 0; i < variables.Count(); ++i) {
    const TVariableData& variable = *variables.Items(i);
    std::string name = UpperCase(variable.Name());
    if (!name.empty() && name.front() == ':') name.erase(0, 1);
    const bool declared = std::any_of(Variables.begin(), Variables.end(), [&](const auto& known) {
      return UpperCase(known.first) == name;
    });
    if (declared) continue;
    for (int k = 0; k < used->Count(); ++k) {
      if (UpperCase(used->Strings(k)) == name) {
        Declare(name, variable.TypeCode());
        break;
      }
    }
  }
}

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
