// Paths as joins or as subqueries; see PathScope.h.
#include "plsql/translator/PathScope.h"

#include "plsql/translator/SqlWriting.h"

namespace vorn::server::translator {
namespace {

ValueType valueType(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Number:
      return ValueType::Number;
    case TypeKind::Date:
      return ValueType::Date;
    default:
      return t.isText() ? ValueType::Text : ValueType::Other;
  }
}

}  // namespace

PathScope::PathScope(const ObjectModel& model, const Scanner& s, const ClassDef& root,
                     Aliases& aliases)
    : model_(model), s_(s), root_(root), aliases_(aliases), alias_(aliases.next()) {}

Operand PathScope::attribute(const Path& path) {
  const ClassDef* cls = &root_;
  std::vector<Step> steps;
  std::string walked;
  for (size_t i = 0; i + 1 < path.parts.size(); ++i) {
    const Attribute& a = model_.attribute(s_, *cls, path.parts[i]);
    if (!a.isReference()) {
      s_.fail(kInvalidUse, path.parts[i + 1].offset,
              a.name + " of class " + cls->shownName() +
                  " is not a reference, so it has no attribute " + path.parts[i + 1].text);
    }
    walked += a.name;
    cls = &model_.referenced(a);
    steps.push_back(Step{&a, cls, walked});
    walked += ".";
  }
  const Attribute& last = model_.attribute(s_, *cls, path.parts.back());
  Operand out;
  out.sql = steps.empty() ? alias_ + "." + sqlName(last.name) : read(steps, last);
  out.type = valueType(last.type);
  out.reference = last.isReference() ? &last : nullptr;
  out.path = walked + last.name;
  return out;
}

std::string JoinScope::read(const std::vector<Step>& steps, const Attribute& column) {
  std::string parent = alias_;
  for (const Step& step : steps) {
    auto found = byPath_.find(step.path);
    if (found == byPath_.end()) {
      std::string alias = aliases_.next();
      std::string condition = alias + "." + sqlName(step.reference->refKey) + " (+) = " + parent +
                              "." + sqlName(step.reference->name);
      joins_.push_back(Join{alias, step.target, std::move(condition)});
      found = byPath_.emplace(step.path, joins_.size() - 1).first;
    }
    parent = joins_[found->second].alias;
  }
  return parent + "." + sqlName(column.name);
}

std::string JoinScope::fromList() const {
  std::string out = sqlName(root_.owner, root_.name) + " " + alias_;
  for (const Join& j : joins_)
    out += ", " + sqlName(j.target->owner, j.target->name) + " " + j.alias;
  return out;
}

std::vector<std::string> JoinScope::joinConditions() const {
  std::vector<std::string> out;
  for (const Join& j : joins_)
    out.push_back(j.condition);
  return out;
}

std::string SubqueryScope::read(const std::vector<Step>& steps, const Attribute& column) {
  std::string from, where;
  std::string parent = alias_;
  for (const Step& step : steps) {
    std::string alias = aliases_.next();
    from +=
        (from.empty() ? "" : ", ") + sqlName(step.target->owner, step.target->name) + " " + alias;
    where += (where.empty() ? "" : " and ") + alias + "." + sqlName(step.reference->refKey) +
             " = " + parent + "." + sqlName(step.reference->name);
    parent = alias;
  }
  return "(select " + parent + "." + sqlName(column.name) + " from " + from + " where " + where +
         ")";
}

std::string whereClause(const std::vector<std::string>& joins, const Operand* condition) {
  std::string out;
  for (const std::string& j : joins)
    out += (out.empty() ? "" : " and ") + j;
  if (condition) {
    out += out.empty() ? condition->sql : " and " + condition->inside(kAnd);
  }
  return out.empty() ? out : " where " + out;
}

}  // namespace vorn::server::translator
