// Shared helpers of the filter tests: a probe node of a chosen kind, a
// printer that shows a tree's shape, parsing without a dataset, capturing
// error messages, and an employee dataset to filter.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MemDataSet.h"
#include "vorn/filter/filter.h"
#include "vorn/host/host.h"

namespace vorn::filter_test {

using namespace vorn::filter;

// A node of kind `kind` that answers only its own kind's conversion with a
// fixed value and leaves every other conversion to TExpression's generic
// rules. It counts its reads and the probes alive, and its kind can change
// after it was built.
class TProbe : public TExpression {
 public:
  explicit TProbe(TExprType kind) : kind_(kind) { ++live; }
  ~TProbe() override { --live; }

  static inline int live = 0;
  // How Describe shows the probe; a resolver's probes show their name.
  std::string name = "probe";
  mutable int reads = 0;
  TDateTime date = 0;
  std::string text;
  double number = 0;
  int32_t integer = 0;
  bool flag = false;

  void SetKind(TExprType kind) { kind_ = kind; }

  TDateTime AsDate() const override {
    ++reads;
    return kind_ == etDate ? date : TExpression::AsDate();
  }
  std::string AsString() const override {
    ++reads;
    return kind_ == etString ? text : TExpression::AsString();
  }
  double AsFloat() const override {
    ++reads;
    return kind_ == etFloat ? number : TExpression::AsFloat();
  }
  int32_t AsInteger() const override {
    ++reads;
    return kind_ == etInteger ? integer : TExpression::AsInteger();
  }
  bool AsBoolean() const override {
    ++reads;
    return kind_ == etBoolean ? flag : TExpression::AsBoolean();
  }
  TExprType ExprType() const override { return kind_; }

 private:
  TExprType kind_;
};

inline std::unique_ptr<TProbe> Probe(TExprType kind) {
  return std::make_unique<TProbe>(kind);
}

// A resolver that makes every name a probe of kind `kind` with that name.
inline TIdentifierResolver ProbeResolver(TExprType kind = etInteger) {
  return [kind](TObject*, const std::string& name, const TParameterList*) {
    auto probe = std::make_unique<TProbe>(kind);
    probe->name = "[" + name + "]";
    return std::unique_ptr<TExpression>(std::move(probe));
  };
}

// Literal shorthands.
inline std::unique_ptr<TExpression> Int(int32_t value) {
  return std::make_unique<TIntegerLiteral>(value);
}
inline std::unique_ptr<TExpression> Flt(double value) {
  return std::make_unique<TFloatLiteral>(value);
}
inline std::unique_ptr<TExpression> Str(std::string value) {
  return std::make_unique<TStringLiteral>(std::move(value));
}
inline std::unique_ptr<TExpression> Bool(bool value) {
  return std::make_unique<TBooleanLiteral>(value);
}
// A Date-kind node: DATE(value).
inline std::unique_ptr<TExpression> Dat(double value) {
  auto params = std::make_unique<TParameterList>();
  params->Add(Flt(value));
  return std::make_unique<TTypeCast>(etDate, std::move(params));
}

// The tree's shape: literals as written (texts quoted), names in brackets,
// operators and functions in prefix form: (opPlus 1 (opMult 2 3)), UPPER('a').
std::string Describe(const TExpression* node);

// The message of the EExpression `action` raises; "no error" when it
// raises none. Other exceptions pass through.
std::string ErrorOf(const std::function<void()>& action);

// Parses `text` with no dataset: names other than the built-in functions
// are unknown.
std::unique_ptr<TExpression> Parse(std::string_view text, TFilterOptions options = foNone);

// The message of the EExpression that parsing `text` raises.
std::string ParseError(std::string_view text, TFilterOptions options = foNone);

// A dataset of employees:
//   EMPNO Integer, ENAME String(10), JOB String(10), SAL Float, COMM Float
//   (null for most), DEPTNO Smallint, HIREDATE DateTime, MANAGER Boolean.
// The last employee is named "SM*" and was hired at 10:30.
class EmployeeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Parses `text` with the dataset's columns.
  std::unique_ptr<TExpression> ParseOn(std::string_view text, TFilterOptions options = foNone);
  // The ENAMEs of the records the filter accepts, in record order, tested
  // the way a dataset filters: through OnFilterRecord in the filter state.
  std::vector<std::string> Accepted(std::string_view text, TFilterOptions options = foNone);
  // Moves to the employee called `name`.
  void GoTo(const std::string& name);

  std::unique_ptr<support::TMemDataSet> ds;
};

}  // namespace vorn::filter_test
