// Statement text analysis: removing comments, masking literals and
// subqueries, finding whole words and splitting a SELECT statement around
// its condition.
#include <gtest/gtest.h>

#include <string>

#include "vorn/dataset/SqlText.h"

namespace vorn {
namespace {

constexpr size_t npos = std::string::npos;

// --- RemoveComments

TEST(RemoveComments, BlockCommentsGoWhereverTheyStand) {
  EXPECT_EQ(RemoveComments("select /* all */ * from emp"), "select  * from emp");
  EXPECT_EQ(RemoveComments("/* head */select 1"), "select 1");
  EXPECT_EQ(RemoveComments("select 1 /* multi\nline */"), "select 1");
}

TEST(RemoveComments, AnOpenerInsideACommentHasNoEffect) {
  EXPECT_EQ(RemoveComments("a /* x /* y */ b"), "a  b");
  EXPECT_EQ(RemoveComments("a /* -- */ b"), "a  b");
  EXPECT_EQ(RemoveComments("a -- x /* y\r\nb */ c"), "a b */ c");
}

TEST(RemoveComments, ALineCommentGoesWithItsCarriageReturnAndLineFeed) {
  EXPECT_EQ(RemoveComments("select *\r\nfrom emp -- all rows\r\nwhere x = 1"),
            "select *\r\nfrom emp where x = 1");
}

TEST(RemoveComments, ALineCommentAlsoEndsAtABareLineFeed) {
  EXPECT_EQ(RemoveComments("select *\nfrom emp -- all rows\nwhere x = 1\norder by x"),
            "select *\nfrom emp where x = 1\norder by x");
}

TEST(RemoveComments, ABareCarriageReturnDoesNotEndALineComment) {
  EXPECT_EQ(RemoveComments("a -- x\ry\r\nb"), "a b");
}

TEST(RemoveComments, ACommentRunningToTheEndTakesTheRest) {
  EXPECT_EQ(RemoveComments("select 1 -- no line break"), "select 1");
  EXPECT_EQ(RemoveComments("select 1 --"), "select 1");
  EXPECT_EQ(RemoveComments("select 1 /* never closed"), "select 1");
  EXPECT_EQ(RemoveComments("select 1 /"), "select 1 /");
}

TEST(RemoveComments, WordsOnBothSidesOfACommentStayApart) {
  EXPECT_EQ(RemoveComments("from emp--all\r\nwhere x = 1"), "from emp where x = 1");
  EXPECT_EQ(RemoveComments("from emp--all\nwhere x = 1"), "from emp where x = 1");
  EXPECT_EQ(RemoveComments("select a/*x*/from t"), "select a from t");
  EXPECT_EQ(RemoveComments("select a/*x*/ from t"), "select a from t");
  EXPECT_EQ(RemoveComments("select a /*x*/from t"), "select a from t");
}

TEST(RemoveComments, OpenersInsideQuotesAreText) {
  EXPECT_EQ(RemoveComments("select '--' from t where a = 'x/*y*/z' -- c"),
            "select '--' from t where a = 'x/*y*/z'");
  EXPECT_EQ(RemoveComments("select \"A--B\" from t"), "select \"A--B\" from t");
  EXPECT_EQ(RemoveComments("where a = 'it''s -- fine' -- gone"), "where a = 'it''s -- fine'");
}

TEST(RemoveComments, MinusAndSlashAloneAreOperators) {
  EXPECT_EQ(RemoveComments("select a - b / c, -d from t"), "select a - b / c, -d from t");
}

TEST(RemoveComments, TheResultIsTrimmedOfBlanksAndControlCharacters) {
  EXPECT_EQ(RemoveComments(" \t\r\n select 1 \r\n\t "), "select 1");
  EXPECT_EQ(RemoveComments("-- only a comment\r\n"), "");
  EXPECT_EQ(RemoveComments(""), "");
}

// --- MaskStatement

TEST(MaskStatement, UpperCasesAndHidesLiteralsAndParenthesesKeepingTheLength) {
  const std::string text = "select a, (select x from y where z) from t where b = 'where'";

  std::string masked = MaskStatement(text);

  EXPECT_EQ(masked, "SELECT A, (" + std::string(23, '_') + ") FROM T WHERE B = '_____'");
  EXPECT_EQ(masked.size(), text.size());
}

TEST(MaskStatement, NestedParenthesesStayHiddenUntilTheOutermostCloses) {
  EXPECT_EQ(MaskStatement("f(a(b)c) x"), "F(_(_)_) X") << "parentheses themselves stay";
}

TEST(MaskStatement, DoubledQuotesStayInsideTheLiteral) {
  EXPECT_EQ(MaskStatement("where a = 'it''s where' and b"), "WHERE A = '__''_______' AND B");
}

TEST(MaskStatement, AParenthesisInsideALiteralIsText) {
  EXPECT_EQ(MaskStatement("where a = ':-(' order by b"), "WHERE A = '___' ORDER BY B");
  EXPECT_EQ(MaskStatement("where a = ')' and (b)"), "WHERE A = '_' AND (_)");
}

TEST(MaskStatement, AStrayClosingParenthesisUnmasksNothing) {
  EXPECT_EQ(MaskStatement("a) (b) c"), "A) (_) C");
}

TEST(MaskStatement, QuotedNamesStayVisibleAndTheirQuotesOpenNoLiteral) {
  EXPECT_EQ(MaskStatement("select \"it's\" from t where x"), "SELECT \"IT'S\" FROM T WHERE X");
  EXPECT_EQ(MaskStatement("(\"a\") b"), "(___) B");
}

TEST(MaskStatement, OnlyAsciiLettersChangeCase) {
  EXPECT_EQ(MaskStatement("select \xE9t\xE9"), "SELECT \xE9T\xE9");
}

// --- FindWord

TEST(FindWord, FindsTheFirstWholeWord) {
  EXPECT_EQ(FindWord("SELECT * FROM T WHERE X = 1 WHERE", "WHERE"), 16u);
  EXPECT_EQ(FindWord("WHERE", "WHERE"), 0u);
  EXPECT_EQ(FindWord("A\r\nWHERE\tB", "WHERE"), 3u);
  EXPECT_EQ(FindWord("(X)WHERE(Y)", "WHERE"), 3u);
  EXPECT_EQ(FindWord("A,WHERE;", "WHERE"), 2u);
}

TEST(FindWord, TheWordIsComparedWithoutRegardToCase) {
  EXPECT_EQ(FindWord("A WHERE B", "where"), 2u);
}

TEST(FindWord, WordCharactersAroundItMakeAnotherWord) {
  for (const char* text : {"WHERE_CLAUSE", "X_WHERE", "WHERE1", "$WHERE", "WHERE#", "T.WHERE",
                           "WHERE@DB", "\"WHERE\"", "\xE9WHERE", "WHERE\x80"}) {
    EXPECT_EQ(FindWord(text, "WHERE"), npos) << text;
  }
}

TEST(FindWord, NothingIsFoundInMaskedParts) {
  std::string masked = MaskStatement("select (select 1 from dual where 1 = 1) from t");
  EXPECT_EQ(FindWord(masked, "WHERE"), npos);
  EXPECT_EQ(FindWord(masked, "FROM"), 40u);
}

TEST(FindWord, AnAbsentOrEmptyWordIsNotFound) {
  EXPECT_EQ(FindWord("SELECT 1", "WHERE"), npos);
  EXPECT_EQ(FindWord("SELECT 1", ""), npos);
  EXPECT_EQ(FindWord("", "WHERE"), npos);
  EXPECT_EQ(FindWord("WHER", "WHERE"), npos);
}

// --- SplitStatement

TEST(SplitStatement, AWhereClauseSplitsIntoHeadConditionAndNoTail) {
  TStatementParts parts = SplitStatement("select * from emp where deptno = 10");

  EXPECT_EQ(parts.Head, "select * from emp");
  EXPECT_EQ(parts.Keyword, "where");
  EXPECT_EQ(parts.Condition, "deptno = 10");
  EXPECT_EQ(parts.Tail, "");
}

TEST(SplitStatement, GroupByTakesTheHavingConditionAndIgnoresASubqueryWhere) {
  TStatementParts parts = SplitStatement(
      "select deptno, (select max(sal) from emp e2 where e2.deptno = e.deptno) top "
      "from emp e group by deptno having count(*) > 1 order by deptno");

  EXPECT_EQ(parts.Keyword, "having");
  EXPECT_EQ(parts.Head,
            "select deptno, (select max(sal) from emp e2 where e2.deptno = e.deptno) top "
            "from emp e group by deptno");
  EXPECT_EQ(parts.Condition, "count(*) > 1");
  EXPECT_EQ(parts.Tail, "order by deptno");
}

TEST(SplitStatement, AGroupingStatementWithoutHavingHasNoCondition) {
  TStatementParts parts =
      SplitStatement("select deptno, count(*) from emp where sal > 0 group by deptno");

  EXPECT_EQ(parts.Keyword, "having");
  EXPECT_EQ(parts.Head, "select deptno, count(*) from emp where sal > 0 group by deptno");
  EXPECT_EQ(parts.Condition, "");
  EXPECT_EQ(parts.Tail, "");
}

TEST(SplitStatement, WhereInALiteralOrInANameIsNotTheKeyword) {
  TStatementParts literal = SplitStatement("select 'where' from dual");
  EXPECT_EQ(literal.Head, "select 'where' from dual");
  EXPECT_EQ(literal.Condition, "");

  TStatementParts column = SplitStatement("select where_clause from rules where id = 1");
  EXPECT_EQ(column.Head, "select where_clause from rules");
  EXPECT_EQ(column.Condition, "id = 1");
}

TEST(SplitStatement, OrderByIsTheTail) {
  TStatementParts parts = SplitStatement("select * from emp where sal > 1000 order by ename");

  EXPECT_EQ(parts.Head, "select * from emp");
  EXPECT_EQ(parts.Condition, "sal > 1000");
  EXPECT_EQ(parts.Tail, "order by ename");
}

TEST(SplitStatement, ForUpdateWithoutOrderIsTheTail) {
  TStatementParts parts = SplitStatement("select * from emp where empno = :id for update nowait");

  EXPECT_EQ(parts.Condition, "empno = :id");
  EXPECT_EQ(parts.Tail, "for update nowait");
}

TEST(SplitStatement, WithOrderAndForTheTailStartsAtOrder) {
  TStatementParts parts = SplitStatement("select * from emp order by 1 for update");

  EXPECT_EQ(parts.Head, "select * from emp");
  EXPECT_EQ(parts.Condition, "");
  EXPECT_EQ(parts.Tail, "order by 1 for update");
}

TEST(SplitStatement, ALineCommentGoesWithItsLineBreakBeforeSplitting) {
  TStatementParts parts =
      SplitStatement("select * from emp -- where x = 1\r\nwhere sal > 0 -- big\r\norder by 1");

  EXPECT_EQ(parts.Head, "select * from emp");
  EXPECT_EQ(parts.Condition, "sal > 0");
  EXPECT_EQ(parts.Tail, "order by 1");
}

TEST(SplitStatement, ALineCommentEndedByABareLineFeedLosesNothingAfterIt) {
  TStatementParts parts =
      SplitStatement("select * -- every column\nfrom emp\nwhere sal > 0\norder by 1");

  EXPECT_EQ(parts.Head, "select * from emp");
  EXPECT_EQ(parts.Condition, "sal > 0");
  EXPECT_EQ(parts.Tail, "order by 1");
}

TEST(SplitStatement, ABlockCommentInsideTheConditionIsRemovedFromIt) {
  TStatementParts parts = SplitStatement("select * from emp where a = 1 /* and b = 2 */ and c = 3");

  EXPECT_EQ(parts.Condition, "a = 1  and c = 3");
}

TEST(SplitStatement, AStatementWithoutWhereOrderAndForIsAllHead) {
  TStatementParts parts = SplitStatement("  \r\n select ename, sal from emp \r\n ");

  EXPECT_EQ(parts.Head, "select ename, sal from emp");
  EXPECT_EQ(parts.Keyword, "where");
  EXPECT_EQ(parts.Condition, "");
  EXPECT_EQ(parts.Tail, "");
}

TEST(SplitStatement, KeywordsAreFoundInAnyCaseAndThePartsKeepTheirOwn) {
  TStatementParts parts = SplitStatement("Select Ename From Emp WHERE Sal > 0 Order By Ename");

  EXPECT_EQ(parts.Head, "Select Ename From Emp");
  EXPECT_EQ(parts.Condition, "Sal > 0");
  EXPECT_EQ(parts.Tail, "Order By Ename");
}

TEST(SplitStatement, AConditionWithAParenthesisInALiteralKeepsItsTail) {
  TStatementParts parts = SplitStatement("select * from t where note = ':-(' order by id");

  EXPECT_EQ(parts.Condition, "note = ':-('");
  EXPECT_EQ(parts.Tail, "order by id");
}

TEST(SplitStatement, AKeywordAfterTheTailStartIsNoCondition) {
  TStatementParts parts = SplitStatement("select * from t order by a where b");

  EXPECT_EQ(parts.Head, "select * from t");
  EXPECT_EQ(parts.Condition, "");
  EXPECT_EQ(parts.Tail, "order by a where b");
}

TEST(SplitStatement, AnEmptyTextGivesEmptyParts) {
  TStatementParts parts = SplitStatement("");

  EXPECT_EQ(parts.Head, "");
  EXPECT_EQ(parts.Condition, "");
  EXPECT_EQ(parts.Keyword, "where");
  EXPECT_EQ(parts.Tail, "");
}

TEST(SplitStatement, TheKeywordAloneLeavesAnEmptyCondition) {
  TStatementParts parts = SplitStatement("select * from t where");

  EXPECT_EQ(parts.Head, "select * from t");
  EXPECT_EQ(parts.Condition, "");
  EXPECT_EQ(parts.Tail, "");
}

TEST(SplitStatement, ThePartsRebuildTheStatementWithAnAddedCondition) {
  TStatementParts parts = SplitStatement("select * from emp where deptno = 10 order by ename");

  std::string rebuilt = parts.Head + " " + parts.Keyword + " (" + parts.Condition +
                        ")\r\nand\r\n(" + "sal > 1000" + ") " + parts.Tail;

  EXPECT_EQ(rebuilt, "select * from emp where (deptno = 10)\r\nand\r\n(sal > 1000) order by ename");
}

}  // namespace
}  // namespace vorn
