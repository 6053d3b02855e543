// IF evaluates its condition once per request however its parents ask:
// for kind and value together, nested in conditions, in branches, under
// comparisons and as parameters of functions.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

// Parses `text`, making every bracketed name a Boolean probe (flag false
// unless set) that counts how often it is read.
class ProbedTree {
 public:
  explicit ProbedTree(const std::string& text) {
    tree_ = ParseFilterExpression(
        text, foNone,
        [this](TObject*, const std::string& name, const TParameterList*) {
          auto probe = std::make_unique<TProbe>(etBoolean);
          probe->name = name;
          probes_.push_back(probe.get());
          return std::unique_ptr<TExpression>(std::move(probe));
        },
        nullptr);
  }

  const TExpression& Tree() const { return *tree_; }
  const std::vector<TProbe*>& Probes() const { return probes_; }
  TProbe& Probe(const std::string& name) {
    for (TProbe* probe : probes_) {
      if (probe->name == name) return *probe;
    }
    throw std::logic_error("no probe " + name);
  }

 private:
  std::vector<TProbe*> probes_;
  std::unique_ptr<TExpression> tree_;
};

// IF(IF(... IF(P, TRUE, FALSE) ..., TRUE, FALSE), TRUE, FALSE): `levels`
// IFs, each the condition of the next.
std::string NestedInConditions(int levels) {
  std::string text;
  for (int i = 0; i < levels; ++i)
    text += "IF(";
  text += "[P]";
  for (int i = 0; i < levels; ++i)
    text += ", TRUE, FALSE)";
  return text;
}

TEST(ConditionalEvaluation, IfsNestedInConditionsReadTheInnermostConditionOnce) {
  ProbedTree nested(NestedInConditions(20));
  nested.Probe("P").flag = true;

  EXPECT_TRUE(nested.Tree().AsBoolean());

  EXPECT_EQ(nested.Probe("P").reads, 1);
}

TEST(ConditionalEvaluation, AskingKindAndValueIsOneReadEach) {
  ProbedTree nested(NestedInConditions(20));

  EXPECT_EQ(nested.Tree().ExprType(), etBoolean);
  EXPECT_EQ(nested.Probe("P").reads, 1);
  EXPECT_EQ(nested.Tree().AsString(), "FALSE");
  EXPECT_EQ(nested.Probe("P").reads, 2);
}

TEST(ConditionalEvaluation, IfsNestedInBranchesUnderAComparisonReadEachConditionOnce) {
  ProbedTree nested("IF([A], IF([B], IF([C], 1, 2), 3), 4) = 1");
  nested.Probe("A").flag = true;
  nested.Probe("B").flag = true;
  nested.Probe("C").flag = true;

  EXPECT_TRUE(nested.Tree().AsBoolean());

  EXPECT_EQ(nested.Probe("A").reads, 1);
  EXPECT_EQ(nested.Probe("B").reads, 1);
  EXPECT_EQ(nested.Probe("C").reads, 1);
}

TEST(ConditionalEvaluation, IfsOnBothSidesOfAComparisonAreReadOnceEach) {
  ProbedTree tree("IF([A], 'x', 1) = IF([B], 'x', 2)");
  tree.Probe("A").flag = true;
  tree.Probe("B").flag = true;

  EXPECT_TRUE(tree.Tree().AsBoolean());

  EXPECT_EQ(tree.Probe("A").reads, 1);
  EXPECT_EQ(tree.Probe("B").reads, 1);
}

TEST(ConditionalEvaluation, FunctionParametersThatAreIfsAreReadOnce) {
  for (const char* text : {
           "SQRT(IF([P], 16, 9)) = 4",
           "POWER(IF([P], 2, 3), IF([Q], 3, 2)) > 7.9",
           "TRUNC(IF([P], 2.5, 1)) = 2",
           "ABS(IF([P], -3, 1)) = 3",
           "UPPER(IF([P], 'a', 'b')) = 'A'",
           "COPY(IF([P], 'abc', 'x'), IF([Q], 2, 1), 1) = 'b'",
           "POS('b', IF([P], 'abc', 'x')) = 2",
           "LENGTH(IF([P], 'abc', 'x')) = 3",
       }) {
    SCOPED_TRACE(text);
    ProbedTree tree(text);
    for (TProbe* probe : tree.Probes())
      probe->flag = true;

    EXPECT_TRUE(tree.Tree().AsBoolean());

    for (const TProbe* probe : tree.Probes())
      EXPECT_EQ(probe->reads, 1) << probe->name;
  }
}

TEST(ConditionalEvaluation, TheChoiceStillFollowsTheRecordOnEveryRequest) {
  ProbedTree tree("IF([P], 1, 'one') = 1");
  tree.Probe("P").flag = true;
  EXPECT_TRUE(tree.Tree().AsBoolean());

  tree.Probe("P").flag = false;

  EXPECT_FALSE(tree.Tree().AsBoolean()) << "'one' compared as text with '1'";
  EXPECT_EQ(tree.Probe("P").reads, 2);
}

TEST(ConditionalEvaluation, ABadConditionIsStillRefused) {
  EXPECT_EQ(ErrorOf([] { Parse("IF(IF(TRUE, 1, 2), 3, 4)")->AsInteger(); }),
            "Invalid parameters to If");
  EXPECT_EQ(ErrorOf([] { Parse("IF(IF(TRUE, TRUE, 2), 3, 4)")->AsInteger(); }), "no error");
  EXPECT_EQ(ErrorOf([] { Parse("IF(IF(FALSE, TRUE, 2), 3, 4)")->AsInteger(); }),
            "Invalid parameters to If");
}

}  // namespace
}  // namespace vorn::filter_test
