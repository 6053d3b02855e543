// The variable scanner: names outside quotes and comments, their positions,
// and text of any shape.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "vorn/query/SqlVariables.h"

namespace vorn::query_test {
namespace {

std::vector<std::string> Names(std::string_view text, bool all = true) {
  std::vector<std::string> names;
  for (const auto& found : ScanVariables(text, all))
    names.push_back(found.Name);
  return names;
}

TEST(FindVariablesTest, NamesAreUpperCasedWithTheirColonsPosition) {
  const auto found = ScanVariables("select * from emp where empno = :Id and x = :n_2$#", true);
  ASSERT_EQ(2u, found.size());
  EXPECT_EQ("ID", found[0].Name);
  EXPECT_EQ(33, found[0].Position);
  EXPECT_EQ("N_2$#", found[1].Name);
  EXPECT_EQ(45, found[1].Position);
}

TEST(FindVariablesTest, QuotesAndCommentsHideNames) {
  EXPECT_EQ((std::vector<std::string>{"B"}), Names("':a' -- :c\r\n:b /* :d */"));
  EXPECT_EQ((std::vector<std::string>{}), Names("-- :x"));
}

TEST(FindVariablesTest, AnAssignmentGivesAnEmptyNameFollowedByTheNext) {
  EXPECT_EQ((std::vector<std::string>{"", "B"}), Names("a:=:b"));
}

TEST(FindVariablesTest, TheCharacterEndingANameIsNotLookedAtAgain) {
  EXPECT_EQ((std::vector<std::string>{"A"}), Names(":a:b"));
}

TEST(FindVariablesTest, EachNameOnceOrEveryOccurrence) {
  EXPECT_EQ((std::vector<std::string>{"A", "B", "A"}), Names(":a + :b + :A", true));
  EXPECT_EQ((std::vector<std::string>{"A", "B"}), Names(":a + :b + :A", false));
}

TEST(FindVariablesTest, BytesAbove127BelongToNames) {
  EXPECT_EQ((std::vector<std::string>{"\xC4\xD6"}), Names(":\xC4\xD6 x"));
}

TEST(FindVariablesTest, UnterminatedTextEndsCleanly) {
  EXPECT_EQ((std::vector<std::string>{}), Names("select ':a"));
  EXPECT_EQ((std::vector<std::string>{}), Names("select /* :a"));
  EXPECT_EQ((std::vector<std::string>{""}), Names("select :"));
  EXPECT_EQ((std::vector<std::string>{"X"}), Names(":x"));
  EXPECT_EQ((std::vector<std::string>{}), Names(""));
  EXPECT_EQ((std::vector<std::string>{}), Names("/"));
  EXPECT_EQ((std::vector<std::string>{}), Names("-"));
}

TEST(FindVariablesTest, TheQueryGivesAStringListWithPositions) {
  const auto list = TOracleQuery::FindVariables("x = :a and y = :b", true);
  ASSERT_EQ(2, list->Count());
  EXPECT_EQ("B", list->Strings(1));
  EXPECT_EQ(16, static_cast<int>(reinterpret_cast<intptr_t>(list->Objects(1))));
}

}  // namespace
}  // namespace vorn::query_test
