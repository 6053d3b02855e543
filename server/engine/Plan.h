// A compiled statement as the session caches it: keyed by the statement
// text and the types of its binds, valid for one catalog version.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Catalog.h"
#include "engine/Compiler.h"
#include "engine/Statement.h"

namespace vorn::server {

struct Plan {
  std::shared_ptr<const Catalog> catalog;
  bool isQuery = false;
  CompiledQuery query;
  CompiledDml dml;
  std::vector<ColumnDescription> columns;
  std::vector<OraType> columnTypes;
  // A groupable INSERT for `rows` rows of `placeholders` binds each
  // (CompiledDml::groupable), made at first use.
  const std::string& groupSql(size_t rows, size_t placeholders);

 private:
  std::map<size_t, std::string> groupSql_;
};

}  // namespace vorn::server
