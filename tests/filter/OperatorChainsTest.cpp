// Long chains of operators of one precedence level, as programs build them
// (a thousand ORed comparisons): they parse, evaluate in the order and with
// the short cuts of the left-to-right definition, and are read and freed
// without a stack frame per link. Real nesting keeps its limit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

using ::testing::ElementsAre;

// `count` operands joined by `op`: "(EMPNO = 1) OR (EMPNO = 2) ...".
std::string Chain(int count, const std::string& op,
                  const std::function<std::string(int)>& operand) {
  std::string text = operand(1);
  for (int i = 2; i <= count; ++i)
    text += " " + op + " " + operand(i);
  return text;
}

// Runs `work` on a thread whose stack is far too small for one frame per
// link of the chains below, so that any recursion along a chain crashes
// the test instead of passing by luck on a large main stack.
void OnSmallStack(const std::function<void()>& work) {
  struct Job {
    const std::function<void()>* work;
    std::exception_ptr error;
  } job{&work, nullptr};
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 1024 * 1024), 0);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    auto* running = static_cast<Job*>(argument);
    try {
      (*running->work)();
    } catch (...) {
      running->error = std::current_exception();
    }
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  if (job.error) std::rethrow_exception(job.error);
}

class OperatorChainsTest : public EmployeeTest {};

TEST_F(OperatorChainsTest, AThousandOredComparisonsFilterTheDataset) {
  std::string text = Chain(1000, "OR", [](int i) {
    int empno = i == 500 ? 7839 : i == 1000 ? 7369 : i;  // KING halfway, SMITH last
    return "(EMPNO = " + std::to_string(empno) + ")";
  });

  EXPECT_THAT(Accepted(text), ElementsAre("SMITH", "KING"));
}

TEST_F(OperatorChainsTest, AThousandAndedComparisonsFilterTheDataset) {
  std::string text =
      Chain(1000, "AND", [](int i) { return "(SAL > " + std::to_string(i + 1000) + ")"; });

  EXPECT_THAT(Accepted(text), ElementsAre("JONES", "BLAKE", "CLARK", "KING"));
}

TEST(OperatorChains, AHundredThousandLinksAreReadAndFreedWithoutRecursion) {
  OnSmallStack([] {
    std::string ors = Chain(100000, "OR", [](int i) { return i == 100000 ? "TRUE" : "FALSE"; });
    std::string ands = Chain(100000, "AND", [](int) { return "TRUE"; });
    std::string sum = Chain(100000, "+", [](int) { return "1"; });
    std::string mixed = Chain(100000, "-", [](int i) { return i % 2 ? "2.5" : "1"; });
    std::string text = Chain(100000, "+", [](int i) { return i % 2 ? "'a'" : "'b'"; });

    EXPECT_TRUE(Parse(ors)->AsBoolean());
    EXPECT_EQ(Parse(ors)->AsString(), "TRUE");
    EXPECT_TRUE(Parse(ands)->AsBoolean());
    EXPECT_EQ(Parse(sum)->AsInteger(), 100000);
    EXPECT_EQ(Parse(sum + " = 100000")->AsBoolean(), true);
    EXPECT_DOUBLE_EQ(Parse(mixed)->AsFloat(), 2.5 - 50000 * 1.0 - 49999 * 2.5);
    EXPECT_EQ(Parse(text)->AsString().size(), 100000u);
  });
}

TEST(OperatorChains, KindChangesAlongAChainKeepTheirMeaning) {
  // Integers first, then a division makes the running value a Float, and a
  // text at the end makes the whole a concatenation of the Float's text.
  auto tree = Parse("1 + 2 + 3 / 2 + 1 + 'x'");

  EXPECT_EQ(tree->ExprType(), etString);
  EXPECT_EQ(tree->AsString(), "5.5x");
  EXPECT_EQ(Parse("1 + 2 * 3 - 4 OR 8 XOR 1 AND 3")->AsInteger(), ((1 + 6 - 4) | 8) ^ (1 & 3));
  EXPECT_EQ(Parse("TRUE OR FALSE XOR TRUE AND FALSE")->AsBoolean(), (true || false) != false);
  EXPECT_DOUBLE_EQ(Parse("DATE(10) + 1 - 2.5 + DATE(1)")->AsDate(), 9.5);
}

// A chain of probes: "[P1] AND [P2] AND ..." with each probe's flag set.
class ProbeChain {
 public:
  ProbeChain(int count, const std::string& op) {
    tree_ = ParseFilterExpression(
        Chain(count, op, [](int i) { return "[P" + std::to_string(i) + "]"; }), foNone,
        [this](TObject*, const std::string&, const TParameterList*) {
          auto probe = std::make_unique<TProbe>(etBoolean);
          probes_.push_back(probe.get());
          return std::unique_ptr<TExpression>(std::move(probe));
        },
        nullptr);
  }

  void Set(std::initializer_list<bool> flags) {
    size_t i = 0;
    for (bool flag : flags)
      probes_[i++]->flag = flag;
  }
  std::vector<int> Reads() const {
    std::vector<int> reads;
    for (const TProbe* probe : probes_)
      reads.push_back(probe->reads);
    return reads;
  }
  const TExpression& Tree() const { return *tree_; }

 private:
  std::vector<TProbe*> probes_;
  std::unique_ptr<TExpression> tree_;
};

TEST(OperatorChains, AndStopsAtTheFirstFalseOperandFromTheLeft) {
  ProbeChain chain(5, "AND");
  chain.Set({true, true, false, true, true});

  EXPECT_FALSE(chain.Tree().AsBoolean());

  EXPECT_THAT(chain.Reads(), ElementsAre(1, 1, 1, 0, 0));
}

TEST(OperatorChains, OrStopsAtTheFirstTrueOperandFromTheLeft) {
  ProbeChain chain(5, "OR");
  chain.Set({false, true, false, false, false});

  EXPECT_TRUE(chain.Tree().AsBoolean());

  EXPECT_THAT(chain.Reads(), ElementsAre(1, 1, 0, 0, 0));
}

TEST(OperatorChains, XorReadsEveryOperand) {
  ProbeChain chain(4, "XOR");
  chain.Set({true, true, true, false});

  EXPECT_TRUE(chain.Tree().AsBoolean());

  EXPECT_THAT(chain.Reads(), ElementsAre(1, 1, 1, 1));
}

TEST(OperatorChains, ShortCutsFollowTheGroupingOfMixedLogicalOperators) {
  std::vector<TProbe*> probes;
  // AND binds tighter: P1 OR (P2 AND P3) OR P4.
  auto tree = ParseFilterExpression(
      "[P1] OR [P2] AND [P3] OR [P4]", foNone,
      [&probes](TObject*, const std::string&, const TParameterList*) {
        auto probe = std::make_unique<TProbe>(etBoolean);
        probes.push_back(probe.get());
        return std::unique_ptr<TExpression>(std::move(probe));
      },
      nullptr);
  ASSERT_EQ(probes.size(), 4u);
  probes[0]->flag = true;

  EXPECT_TRUE(tree->AsBoolean());

  EXPECT_EQ(probes[0]->reads, 1);
  EXPECT_EQ(probes[1]->reads, 0) << "the whole AND is skipped";
  EXPECT_EQ(probes[2]->reads, 0);
  EXPECT_EQ(probes[3]->reads, 0);
}

TEST(OperatorChains, AnErrorInsideAChainStopsTheFoldAtThatLink) {
  EXPECT_THROW(
      Parse(Chain(1000, "+", [](int i) { return i == 600 ? "(1 DIV 0)" : "1"; }))->AsInteger(),
      EDivByZero);
  EXPECT_EQ(ErrorOf([] { Parse(Chain(1000, "+", [](int) { return "1"; }))->AsBoolean(); }),
            "Internal parser error. Code 13");
}

TEST(OperatorChains, RealNestingKeepsItsLimit) {
  // Parenthesised to the right, every link is a level of its own.
  std::string nested;
  for (int i = 0; i < MaxFilterDepth; ++i)
    nested += "TRUE OR (";
  nested += "TRUE" + std::string(MaxFilterDepth, ')');

  EXPECT_EQ(ParseError(nested), "Expression nested too deeply");
  EXPECT_EQ(ParseError(std::string(MaxFilterDepth, '-') + "1"), "Expression nested too deeply");
}

}  // namespace
}  // namespace vorn::filter_test
