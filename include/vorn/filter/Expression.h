// TExpression: a node of a filter expression tree. Every node reports its
// own kind (ExprType) and can be asked for its value as any of the five
// kinds; a parent chooses which conversion to ask for from its children's
// kinds, so typing is dynamic. A node owns its children: destroying a node
// destroys its subtree.
//
// The base gives every conversion its generic meaning, by the node's kind K:
//
//   AsDate     K String: the host's StrToDateTime of AsString; K Float:
//              AsFloat; K Integer: AsInteger.
//   AsString   K Date: the date text of AsDate ("ddddd tt" with a time of
//              day, "ddddd" without); K Float: FloatToStr of AsFloat;
//              K Integer: decimal text of AsInteger; K Boolean: "TRUE" or
//              "FALSE".
//   AsFloat    K Date: AsDate; K Integer and K Boolean: AsInteger.
//   AsInteger  K Date: AsDate truncated toward zero; K Boolean: 0 or 1.
//   AsBoolean  never.
//
// Every other combination raises EExpression "Cannot read <kind> as Date"
// (String, Float, integer, boolean). Subclasses override what they can
// answer directly.
//
// Case-insensitive and partial compare, used by string comparisons, are
// copied into each node from the filter options current on the creating
// thread when the node is made, so they are fixed for the node's life.
#pragma once

#include <cstdint>
#include <string>

#include "vorn/filter/ExpressionTypes.h"
#include "vorn/host/DataSetTypes.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/Object.h"

namespace vorn::filter {

// The filter options current on this thread: those of the innermost live
// ScopedFilterOptions, else foNone (case-sensitive, partial compare on).
TFilterOptions CurrentFilterOptions();

// Installs `options` as this thread's current filter options for the
// scope's life and restores the previous ones at its end. A parse holds one
// for its own duration. The options are kept per thread, never
// process-wide, so parses running at the same time on different threads
// cannot give each other's nodes the wrong options.
class ScopedFilterOptions {
 public:
  explicit ScopedFilterOptions(TFilterOptions options);
  ~ScopedFilterOptions();
  ScopedFilterOptions(const ScopedFilterOptions&) = delete;
  ScopedFilterOptions& operator=(const ScopedFilterOptions&) = delete;

 private:
  TFilterOptions saved_;
};

class TExpression : public TObject {
  VORN_CLASS(TExpression, TObject)
  TExpression();
  ~TExpression() override = default;
  TExpression(const TExpression&) = delete;
  TExpression& operator=(const TExpression&) = delete;

  // Days since the host's date origin; the fraction is the time of day.
  virtual TDateTime AsDate() const;
  virtual std::string AsString() const;
  virtual double AsFloat() const;
  virtual int32_t AsInteger() const;
  virtual bool AsBoolean() const;
  virtual TExprType ExprType() const = 0;
  // The node that answers for this one in the record under test: the node
  // itself, or for IF the resolved node of the parameter its condition
  // chooses. A parent that needs both a child's kind and its value asks the
  // resolved node for both, so that each IF condition below is evaluated
  // once per request rather than once for the kind and again for the value
  // (which doubles the work at every level of nested IFs).
  virtual const TExpression& Resolved() const { return *this; }

  // Set when created under foCaseInsensitive.
  bool CaseInsensitive() const { return caseInsensitive_; }
  // Set when created without foNoPartialCompare.
  bool PartialCompare() const { return partialCompare_; }

 protected:
  // "Cannot read <this node's kind> as <target>".
  [[noreturn]] void CannotRead(std::string_view target) const;

 private:
  bool caseInsensitive_;
  bool partialCompare_;
};

// The text a Date-kind node shows for `value`.
std::string DateText(TDateTime value);

}  // namespace vorn::filter
