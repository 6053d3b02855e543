// Translates values and conditions into Oracle SQL over a PathScope, and
// checks what SQL would only find out when it runs: that a condition stands
// where one is needed and a value where a value is, that compared and
// assigned values are of kinds that fit (a number is not compared with
// 'abc'), that arithmetic gets numbers or dates.
//
// A reference attribute also takes a reference text ('MAN.DOGS#3', which
// becomes the key 3) or a reference value (class where condition), which
// is by default a scalar subquery selecting that object's key; ODML runs
// reference values of the values it writes before the statement instead
// (see setReferenceHook).
#pragma once

#include <functional>
#include <string>

#include "plsql/translator/Operand.h"
#include "plsql/translator/PathScope.h"
#include "plsql/translator/Syntax.h"

namespace vorn::server::translator {

class ExpressionWriter {
 public:
  // Writes a reference value `reference` that must find an object of
  // `target`; returns the SQL of that object's `key` (the attribute the
  // reference holds: the class's key, or another unique one).
  using ReferenceHook = std::function<std::string(const Expr& reference, const ClassDef& target,
                                                  const Attribute& key)>;

  explicit ExpressionWriter(PathScope& scope);
  void setReferenceHook(ReferenceHook hook) { referenceHook_ = std::move(hook); }

  // A value (an error when `e` is a condition).
  Operand value(const Expr& e);
  // A condition (an error when `e` is a value).
  Operand condition(const Expr& e);
  // `e` as a value compared with (`assign` false) or assigned to `target`,
  // whose text the messages show as `targetText`.
  Operand valueFor(const Expr& e, const Operand& target, const std::string& targetText,
                   bool assign = false);
  // COUNT(*), COUNT(path), MIN, MAX, SUM, AVG of a path; the operand's path
  // is the aggregate's column name (COUNT(*), MAX(AGE)).
  Operand aggregate(const Expr& e);

  // The statement's text of `e`, shortened for messages.
  std::string shown(const Expr& e) const;
  // A path's attributes (FRIEND.NAME) or else the text of `e`.
  std::string named(const Operand& v, const Expr& e) const;

 private:
  Operand write(const Expr& e);
  Operand literal(const Expr& e);
  Operand arithmetic(const Expr& e);
  Operand negate(const Expr& e);
  Operand compare(const Expr& e);
  Operand predicate(const Expr& e);
  Operand logical(const Expr& e);
  Operand referenceKey(const Expr& text, const ClassDef& target, const Attribute& key);
  std::string referenceSubquery(const Expr& reference, const ClassDef& target,
                                const Attribute& key);
  void checkFits(const Operand& target, const std::string& targetText, const Operand& v,
                 const Expr& e, bool assign);

  PathScope& scope_;
  const Scanner& s_;
  ReferenceHook referenceHook_;
};

}  // namespace vorn::server::translator
