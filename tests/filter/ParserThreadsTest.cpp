// Parses on two threads at once, each with its own options: every node
// must get the options of the parse that built it.
#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

TEST(ParserThreads, ConcurrentParsesKeepTheirOwnOptions) {
  // Both parses have set their options before either reaches X, and both
  // have built their comparison before either reaches Z and can finish.
  std::latch bothStarted(2);
  std::latch bothCompared(2);
  TIdentifierResolver resolver = [&](TObject*, const std::string& name,
                                     const TParameterList*) -> std::unique_ptr<TExpression> {
    if (name == "X") {
      bothStarted.arrive_and_wait();
      return std::make_unique<TStringLiteral>("SMITH");
    }
    bothCompared.arrive_and_wait();
    return std::make_unique<TBooleanLiteral>(true);
  };
  std::unique_ptr<TExpression> lenient, strict;
  std::string failure;
  auto parse = [&](std::unique_ptr<TExpression>& tree, TFilterOptions options) {
    try {
      tree = ParseFilterExpression("(X = 'sm*') AND Z", options, resolver, nullptr);
    } catch (const Exception& e) {
      failure = e.Message();
    }
  };
  std::thread first(parse, std::ref(lenient), foCaseInsensitive);
  std::thread second(parse, std::ref(strict), foNoPartialCompare);
  first.join();
  second.join();
  ASSERT_EQ(failure, "");
  EXPECT_TRUE(lenient->AsBoolean()) << "case-insensitive with partial compare";
  EXPECT_TRUE(dynamic_cast<TBinaryOp&>(*lenient).Left().CaseInsensitive());
  EXPECT_FALSE(strict->AsBoolean()) << "case-sensitive without partial compare";
  EXPECT_FALSE(dynamic_cast<TBinaryOp&>(*strict).Left().PartialCompare());
  EXPECT_EQ(CurrentFilterOptions(), foNone) << "the main thread's options are untouched";
}

}  // namespace
}  // namespace vorn::filter_test
