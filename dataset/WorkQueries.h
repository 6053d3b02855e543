// The queries a dataset runs its generated statements on (the work query
// of RecordUpdater.h), kept prepared.
//
// A record action's statement is generated afresh each time, but its text
// seldom changes: posting record after record, or editing in a grid (a
// check at Edit, a lock at Post, the update), repeats the same few texts.
// Clearing a query and declaring its variables again would make the next
// execution parse the statement again; instead each of the few most
// recently used statements keeps a query of its own, with its text and
// variable declarations, and running it again only sets the values.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vorn {

class TComponent;
class TOracleQuery;
class TVariables;

// A statement with the variables it declares, in order (name, type code),
// and whether its columns are read as text.
struct TGeneratedStatement {
  std::string Text;
  std::vector<std::pair<std::string, int>> Variables;
  bool StringFieldsOnly = false;

  void Declare(const std::string& name, int type) { Variables.emplace_back(name, type); }
  // Declares every variable of `variables` (a dataset's) that the text
  // names, with its type, except those already declared.
  void DeclareUsedVariables(const TVariables& variables);
};

class TWorkQueries {
 public:
  // Queries are made with `owner` as their owner and freed by Clear (or by
  // the owner).
  explicit TWorkQueries(TComponent* owner) : owner_(owner) {}
  ~TWorkQueries();
  TWorkQueries(const TWorkQueries&) = delete;
  TWorkQueries& operator=(const TWorkQueries&) = delete;

  // The query that holds `statement`: one that held it already, with its
  // declarations and its parse, or the least recently used one (or a new
  // one) cleared and given the text and declarations.
  TOracleQuery& For(const TGeneratedStatement& statement);
  // The query used last; nullptr before the first.
  TOracleQuery* Last() const { return entries_.empty() ? nullptr : entries_.front().query; }
  // Frees every query (errors while freeing are ignored).
  void Clear();

  static constexpr size_t kKept = 4;

 private:
  struct Entry {
    std::string key;
    TOracleQuery* query;
  };

  TComponent* owner_;
  // Most recently used first.
  std::vector<Entry> entries_;
};

}  // namespace vorn
