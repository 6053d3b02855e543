// ParseFilterExpression: turns a dataset's filter text into an expression
// tree in one recursive-descent pass over the characters.
//
// Precedence, lowest first; every binary level chains to the left:
//   relational   =  <>  <  >  <=  >=      (one per level: a < b < c fails)
//   additive     +  -  OR  XOR
//   multiplying  *  /  DIV  MOD  AND  SHL  SHR
//   factor       unary + - NOT, literals, ( ... ), functions, names
// AND binds tighter than the comparisons: write (SAL > 1000) AND
// (DEPTNO = 10). Keywords, TRUE and FALSE are case-insensitive; names are
// upper-cased unless written in brackets ([Hire date], [DATE]), which take
// any text verbatim. Texts are quoted with ' (doubled inside); numbers use
// the locale's decimal separator and an optional exponent (1E5, 1e-5).
//
// Names that are not built-in functions go to the resolver, with the
// parameter list written after them (or none); the parser keeps the list
// and frees it. Nothing else resolves a name.
//
// Every failure raises EExpression with the message for the place it was
// found ("Syntax error", "Unexpected end of factor", "Identifier B not
// allowed here", ...); the tree built so far is freed. Host conversion
// errors (an integer literal beyond 32 bits) and the dataset's field errors
// come through as they are raised. Nesting deeper than MaxFilterDepth
// levels (parentheses, unary operators, function calls) raises "Expression
// nested too deeply" instead of exhausting the stack of the parse or of
// later evaluation. A chain of operators of one level is no nesting: a
// machine-built filter of thousands of ORed comparisons parses, evaluates
// and is freed without a stack frame per comparison.
//
// The options (foCaseInsensitive, foNoPartialCompare) fix how the nodes of
// this parse compare texts. They are held per parse (ScopedFilterOptions,
// per thread), so parses may run on several threads at once; a tree itself
// is evaluated on one thread at a time.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "vorn/filter/Expression.h"

namespace vorn::filter {

class TParameterList;

// Makes a node for a name; nullptr when the name is unknown. `params` is
// nullptr for a bracketed name or when no parenthesis followed.
using TIdentifierResolver = std::function<std::unique_ptr<TExpression>(
    TObject* context, const std::string& name, const TParameterList* params)>;

inline constexpr int MaxFilterDepth = 1000;

// The tree for `text`, or nullptr when it holds nothing but blanks.
// `resolver` may be empty: then only built-in names are known.
std::unique_ptr<TExpression> ParseFilterExpression(std::string_view text, TFilterOptions options,
                                                   const TIdentifierResolver& resolver,
                                                   TObject* context);

}  // namespace vorn::filter
