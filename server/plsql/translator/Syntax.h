// The syntax trees of the object query languages: names, paths, class
// names and expressions (values and conditions share one tree, as in SQL),
// each with the byte offset where it starts so that later checks can say
// where a fault is. The statements of each language build on these.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorn::server::translator {

// A name as the catalog spells it: upper-cased unless it was double-quoted.
struct Name {
  std::string text;
  bool quoted = false;
  int offset = 0;
};

// attribute { . attribute }: friend.owner.city
struct Path {
  std::vector<Name> parts;
  int offset = 0;
};

// [schema .] class
struct ClassName {
  std::optional<Name> schema;
  Name name;
  int offset = 0;
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

enum class ExprKind {
  Path,    // an attribute, through references
  Number,  // text: as written
  String,  // text: the value
  Date,    // text: the value of date '...'
  Null,
  Negate,      // args[0]
  Arithmetic,  // op: + - * / ||; args[0], args[1]
  Aggregate,   // op: COUNT MIN MAX SUM AVG; path (empty for count(*))
  Reference,   // (class where condition): refClass, args[0] the condition
  Compare,     // op: = <> < > <= >=; args[0], args[1]
  Like,        // args[0] like args[1]
  In,          // args[0] in (args[1] ...)
  Between,     // args[0] between args[1] and args[2]
  IsNull,      // args[0] is null
  And,
  Or,
  Not,
};

struct Expr {
  ExprKind kind = ExprKind::Null;
  int offset = 0;
  int end = 0;           // byte offset after the expression's last token
  std::string op;        // operator or aggregate; literal text
  bool negated = false;  // NOT LIKE, NOT IN, NOT BETWEEN, IS NOT NULL
  Path path;             // Path; Aggregate's argument
  ClassName refClass;    // Reference
  std::vector<ExprPtr> args;
  int height = 1;  // levels of the tree below and with this node

  bool isCondition() const { return kind >= ExprKind::Compare; }
};

}  // namespace vorn::server::translator
