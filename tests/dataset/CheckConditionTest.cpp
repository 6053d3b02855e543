// Check-constraint conditions rewritten with bind variables for their
// columns.
#include <gtest/gtest.h>

#include "CheckCondition.h"

namespace vorn {
namespace {

TEST(RewriteCheckCondition, AColumnBecomesAVariable) {
  EXPECT_EQ(RewriteCheckCondition("sal > 0", {"SAL"}), ":sal > 0");
  EXPECT_EQ(RewriteCheckCondition("lo <= hi", {"LO", "HI"}), ":lo <= :hi");
}

TEST(RewriteCheckCondition, ColumnsAreFoundWithoutRegardToCase) {
  EXPECT_EQ(RewriteCheckCondition("SAL > 0 AND Sal < 10000", {"sal"}), ":SAL > 0 AND :Sal < 10000");
}

TEST(RewriteCheckCondition, AQuotedColumnLosesItsQuotes) {
  EXPECT_EQ(RewriteCheckCondition("\"SAL\" > 0", {"SAL"}), ":SAL > 0");
  EXPECT_EQ(RewriteCheckCondition("\"Odd\" > 1", {"Odd"}), ":Odd > 1");
  EXPECT_EQ(RewriteCheckCondition("\"NAME\" IS NOT NULL", {"NAME"}), ":NAME IS NOT NULL");
}

TEST(RewriteCheckCondition, AQuotedNameOfNoColumnStays) {
  EXPECT_EQ(RewriteCheckCondition("\"OTHER\" > sal", {"SAL"}), "\"OTHER\" > :sal");
}

TEST(RewriteCheckCondition, NamesInsideLongerWordsStay) {
  EXPECT_EQ(RewriteCheckCondition("salary > sal", {"SAL"}), "salary > :sal");
  EXPECT_EQ(RewriteCheckCondition("sal_max > 0 and e.sal > 0", {"SAL"}),
            "sal_max > 0 and e.sal > 0");
  EXPECT_EQ(RewriteCheckCondition("nvl(sal,0)>=0", {"SAL"}), "nvl(:sal,0)>=0");
}

TEST(RewriteCheckCondition, LiteralsStay) {
  EXPECT_EQ(RewriteCheckCondition("comm IS NULL OR job IN ('SALESMAN', 'COMM')", {"COMM", "JOB"}),
            ":comm IS NULL OR :job IN ('SALESMAN', 'COMM')");
  EXPECT_EQ(RewriteCheckCondition("name <> 'it''s name'", {"NAME"}), ":name <> 'it''s name'");
  EXPECT_EQ(RewriteCheckCondition("note <> '\"NOTE\"'", {"NOTE"}), ":note <> '\"NOTE\"'");
}

TEST(RewriteCheckCondition, OtherColumnsStay) {
  EXPECT_EQ(RewriteCheckCondition("comm < sal", {"COMM"}), ":comm < sal");
  EXPECT_EQ(RewriteCheckCondition("comm < sal", {}), "comm < sal");
}

TEST(RewriteCheckCondition, AnUnterminatedQuoteRunsToTheEnd) {
  EXPECT_EQ(RewriteCheckCondition("sal > 'sal", {"SAL"}), ":sal > 'sal");
  EXPECT_EQ(RewriteCheckCondition("sal > \"sal", {"SAL"}), ":sal > \"sal");
}

}  // namespace
}  // namespace vorn
