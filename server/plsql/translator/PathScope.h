// Where paths are read from. A scope has a root class with its alias (t0)
// and turns a path of the statement into SQL that reads the attribute the
// path ends at, following references from the root:
//
//  - JoinScope (queries): each distinct reference path becomes one outer
//    join, Oracle style, so an object whose reference is empty still shows
//    (with empty values along that path):
//      friend.owner.city  ->  t2.CITY
//      from MAN.DOGS t0, MAN.DOGS t1, MAN.PERSONS t2
//      where t1.OID (+) = t0.FRIEND and t2.OID (+) = t1.OWNER
//  - SubqueryScope (UPDATE and DELETE, which cannot join): a path through
//    references is a correlated scalar subquery, empty when a reference on
//    the way is:
//      (select t2.CITY from MAN.DOGS t1, MAN.PERSONS t2
//        where t1.OID = t0.FRIEND and t2.OID = t1.OWNER)
//
// Aliases t0, t1, ... are numbered per statement (Aliases), so nested
// queries of one statement never share one.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "plsql/translator/ObjectModel.h"
#include "plsql/translator/Operand.h"

namespace vorn::server::translator {

class Aliases {
 public:
  std::string next() { return "t" + std::to_string(count_++); }

 private:
  int count_ = 0;
};

class PathScope {
 public:
  PathScope(const ObjectModel& model, const Scanner& s, const ClassDef& root, Aliases& aliases);
  virtual ~PathScope() = default;
  PathScope(const PathScope&) = delete;
  PathScope& operator=(const PathScope&) = delete;

  const ClassDef& root() const { return root_; }
  const std::string& alias() const { return alias_; }
  const ObjectModel& model() const { return model_; }
  const Scanner& scanner() const { return s_; }
  Aliases& aliases() { return aliases_; }

  // The value of the attribute `path` ends at. Unknown attributes, and a
  // path that goes on from an attribute that is not a reference, are errors
  // at the offending name.
  Operand attribute(const Path& path);

 protected:
  // One step of a path through a reference.
  struct Step {
    const Attribute* reference;
    const ClassDef* target;
    std::string path;  // the path up to and including the reference
  };
  // SQL reading `column` of the object `steps` lead to (never empty).
  virtual std::string read(const std::vector<Step>& steps, const Attribute& column) = 0;

  const ObjectModel& model_;
  const Scanner& s_;
  const ClassDef& root_;
  Aliases& aliases_;
  std::string alias_;
};

class JoinScope : public PathScope {
 public:
  using PathScope::PathScope;

  // "MAN.DOGS t0, MAN.DOGS t1": the root and every join a path needed.
  std::string fromList() const;
  // "t1.OID (+) = t0.FRIEND", one per join.
  std::vector<std::string> joinConditions() const;

 protected:
  std::string read(const std::vector<Step>& steps, const Attribute& column) override;

 private:
  struct Join {
    std::string alias;
    const ClassDef* target;
    std::string condition;
  };
  std::vector<Join> joins_;
  std::map<std::string, size_t> byPath_;
};

class SubqueryScope : public PathScope {
 public:
  using PathScope::PathScope;

 protected:
  std::string read(const std::vector<Step>& steps, const Attribute& column) override;
};

// The WHERE clause of joins and a condition: "" when both are empty,
// else " where ..." with an OR condition in parentheses after joins.
std::string whereClause(const std::vector<std::string>& joins, const Operand* condition);

}  // namespace vorn::server::translator
