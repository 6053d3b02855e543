// A piece of generated SQL with what the translator knows about it: its
// kind of value (or that it is a condition), how tightly it binds (so that
// operators get parentheses only where they need them), and, for values
// read through paths, the path and the reference attribute it is.
#pragma once

#include <string>

namespace vorn::server::translator {

struct Attribute;

enum class ValueType { Null, Number, Text, Date, Other, Condition };

// Binding strength of generated SQL, loosest first.
enum Precedence : int {
  kOr = 1,
  kAnd = 2,
  kNot = 3,
  kPredicate = 4,  // comparisons, LIKE, IN, BETWEEN, IS NULL
  kAdditive = 5,   // + - ||
  kMultiplicative = 6,
  kUnary = 7,
  kAtom = 8,
};

struct Operand {
  std::string sql;
  ValueType type = ValueType::Null;
  int precedence = kAtom;
  // The value of a reference attribute: the key of the object it refers to.
  const Attribute* reference = nullptr;
  // A path's attributes joined by "." (FRIEND.NAME); empty for other values.
  std::string path;
  // A string or number literal: its value as the statement wrote it.
  bool literal = false;
  std::string literalValue;

  // The SQL in parentheses when it binds looser than `context`.
  std::string inside(int context) const { return precedence < context ? "(" + sql + ")" : sql; }
};

}  // namespace vorn::server::translator
