// Small helpers for the statements the dataset generates on its private
// queries: a statement given line by line, and string variables.
#pragma once

#include <initializer_list>
#include <string>

#include "vorn/query/OracleQuery.h"
#include "vorn/query/QueryTypes.h"

namespace vorn {

// Clears the query (statement and variables) and gives it `lines`.
inline void SetStatement(TOracleQuery& query, std::initializer_list<std::string> lines) {
  query.Clear();
  for (const std::string& line : lines)
    query.SQL()->Add(line);
}

inline void DeclareString(TOracleQuery& query, const std::string& name, const std::string& value) {
  query.DeclareVariable(name, otString);
  query.SetVariable(name, value);
}

}  // namespace vorn
