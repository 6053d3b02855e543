// The recursive-descent parser of what the three languages share: names,
// paths, class names, values and conditions.
//
//   condition  := and { OR and }
//   and        := not { AND not }
//   not        := NOT not | predicate
//   predicate  := value [ compare value | [NOT] LIKE value
//                       | [NOT] IN ( value {, value} )
//                       | [NOT] BETWEEN value AND value | IS [NOT] NULL ]
//   value      := term { (+ | - | ||) term }
//   term       := unary { (* | /) unary }
//   unary      := - unary | + unary | primary
//   primary    := number | 'string' | DATE 'YYYY-MM-DD[ HH24:MI:SS]' | NULL
//               | path | ( condition ) | ( class WHERE condition )
//   aggregate  := COUNT ( * ) | (COUNT | MIN | MAX | SUM | AVG) ( path )
//   path       := name { . name }
//   class      := [ name . ] name
//
// Whether a tree is a value or a condition where one is needed is checked
// when it is translated (ExpressionWriter), not here.
#pragma once

#include <string>

#include "plsql/translator/Scanner.h"
#include "plsql/translator/Syntax.h"

namespace vorn::server::translator {

class ExpressionParser {
 public:
  explicit ExpressionParser(Scanner& scanner) : s_(scanner) {}

  ExprPtr condition();
  ExprPtr value();
  Path path(const std::string& what = "an attribute");
  ClassName className();
  // One name; `what` is what the error calls it ("an attribute").
  Name name(const std::string& what);
  // The next token is a name (quoted, or an unquoted word that is not one
  // of the languages' keywords).
  bool atName(size_t ahead = 0) const;
  // Aggregates stand only in a select list and its order by (the caller
  // asks for them there); inside a value they are an error.
  bool atAggregate() const;
  ExprPtr aggregate();

 private:
  ExprPtr andCondition();
  ExprPtr notCondition();
  ExprPtr predicate();
  ExprPtr term();
  ExprPtr unary();
  ExprPtr primary();
  ExprPtr parenthesized();
  ExprPtr binary(ExprKind kind, std::string op, ExprPtr left, ExprPtr right);
  bool atReference() const;
  void checkDate(const Token& literal) const;

  Scanner& s_;
  int depth_ = 0;  // nesting of the recursive rules
};

// Words of the languages that are not names unless double-quoted.
bool isLanguageKeyword(const std::string& upperWord);

}  // namespace vorn::server::translator
