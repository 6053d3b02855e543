// Filter texts applied to a dataset the way the dataset applies them: one
// tree, evaluated for every record in the filter state.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using DataSetFilterTest = EmployeeTest;

TEST_F(DataSetFilterTest, WithoutAnExpressionEveryRecordPasses) {
  EXPECT_EQ(Accepted("  ").size(), 10u);
}

TEST_F(DataSetFilterTest, PartialCompareMatchesStarsAndItsNegationTheRest) {
  EXPECT_THAT(Accepted("ENAME = 'SM*'"), ElementsAre("SMITH", "SM*"));
  EXPECT_THAT(Accepted("ENAME = 'SM*'", foNoPartialCompare), ElementsAre("SM*"));
  EXPECT_THAT(Accepted("ENAME <> 'SM*'"),
              ElementsAre("ALLEN", "WARD", "JONES", "BLAKE", "CLARK", "KING", "TURNER", "MILLER"));
  EXPECT_THAT(Accepted("ENAME > 'SM*'"), ElementsAre("SMITH", "WARD", "TURNER"));
  EXPECT_THAT(Accepted("ENAME = '?ING'"), ElementsAre("KING"));
}

TEST_F(DataSetFilterTest, CaseInsensitiveCompare) {
  EXPECT_THAT(Accepted("ENAME = 'smith'"), IsEmpty());
  EXPECT_THAT(Accepted("ENAME = 'smith'", foCaseInsensitive), ElementsAre("SMITH"));
  EXPECT_THAT(Accepted("job = 'man*'", foCaseInsensitive), ElementsAre("JONES", "BLAKE", "CLARK"));
}

TEST_F(DataSetFilterTest, ConditionsJoinedByAndNeedParentheses) {
  EXPECT_THAT(Accepted("(SAL > 1000) AND (DEPTNO = 10)"), ElementsAre("CLARK", "KING", "MILLER"));
  EXPECT_EQ(ErrorOf([&] { ParseOn("SAL > 1000 AND DEPTNO = 10"); }), "Syntax error");
  EXPECT_THAT(Accepted("(DEPTNO = 20) OR (JOB = 'PRESIDENT')"),
              ElementsAre("SMITH", "JONES", "KING"));
  EXPECT_THAT(Accepted("NOT MANAGER AND (DEPTNO = 30)"), ElementsAre("ALLEN", "WARD", "TURNER"));
  EXPECT_THAT(Accepted("MANAGER"), ElementsAre("JONES", "BLAKE", "CLARK", "KING"));
}

TEST_F(DataSetFilterTest, NullMatchesNullAndEmptyValues) {
  EXPECT_THAT(Accepted("COMM = NULL"),
              ElementsAre("SMITH", "JONES", "BLAKE", "CLARK", "KING", "MILLER", "SM*"));
  EXPECT_THAT(Accepted("COMM <> NULL"), ElementsAre("ALLEN", "WARD", "TURNER"));
}

TEST_F(DataSetFilterTest, DatesCompareThroughTheLocaleDateFormat) {
  TFormatSettings settings = DefaultFormatSettings();
  settings.DateSeparator = '.';
  settings.ShortDateFormat = "dd.mm.yyyy";
  ScopedFormatSettings locale(settings);
  EXPECT_THAT(Accepted("HIREDATE > '01.01.1982'"), ElementsAre("MILLER", "SM*"));
  EXPECT_THAT(Accepted("HIREDATE + 7 < '01.01.1981'"), ElementsAre("SMITH"));
  EXPECT_THAT(Accepted("DATE(HIREDATE) > HIREDATE"), IsEmpty());
  EXPECT_EQ(Accepted("DATE(HIREDATE) = HIREDATE").size(), 10u);
}

TEST_F(DataSetFilterTest, IfIsTypedAnewForEveryRecord) {
  EXPECT_THAT(Accepted("IF(DEPTNO = 10, 'X', 'Y') = 'X'"), ElementsAre("CLARK", "KING", "MILLER"));
  // Department 10 compares its salary, every other record its name.
  EXPECT_THAT(Accepted("IF(DEPTNO = 10, SAL, ENAME) = '5000'"), ElementsAre("KING"));
  EXPECT_THAT(Accepted("IF(DEPTNO = 10, SAL, ENAME) = 'WARD'"), ElementsAre("WARD"));
}

TEST_F(DataSetFilterTest, CastsAndTruncationOfFloats) {
  EXPECT_THAT(Accepted("STRING(SAL) = '1600'"), ElementsAre("ALLEN"));
  EXPECT_THAT(Accepted("FLOAT(DEPTNO) / 4 = 2.5"), ElementsAre("CLARK", "KING", "MILLER"));
  EXPECT_EQ(Accepted("INTEGER(SAL * 1.5) = 0").size(), 10u) << "a Float operator reads 0";
  EXPECT_THAT(Accepted("TRUNC(SAL * 1.5) = 1350"), ElementsAre("SM*"));
  EXPECT_THAT(Accepted("ROUND(SAL / 1000) = 2"), ElementsAre("ALLEN", "CLARK", "TURNER"));
  EXPECT_THAT(Accepted("EMPNO DIV 2 = 3684"), ElementsAre("SMITH"));
  EXPECT_THAT(Accepted("EMPNO / 2 = 3684.5"), ElementsAre("SMITH"));
}

TEST_F(DataSetFilterTest, StringFunctionsOnColumns) {
  EXPECT_THAT(Accepted("POS('A', ENAME) = 2"), ElementsAre("WARD"));
  EXPECT_THAT(Accepted("LENGTH(ENAME) = 4"), ElementsAre("WARD", "KING"));
  EXPECT_THAT(Accepted("COPY(ENAME, 1, 2) = 'SM'"), ElementsAre("SMITH", "SM*"));
  EXPECT_THAT(Accepted("LOWER(JOB) = 'president'"), ElementsAre("KING"));
  EXPECT_THAT(Accepted("[ENAME] = 'KING'"), ElementsAre("KING"));
}

TEST_F(DataSetFilterTest, AndLeavesTheRightSideUnevaluatedWhenTheLeftFails) {
  // Department 10 would divide by zero on the right.
  EXPECT_THAT(Accepted("(DEPTNO <> 10) AND (SAL / (DEPTNO - 10) > 0)"),
              ElementsAre("SMITH", "ALLEN", "WARD", "JONES", "BLAKE", "TURNER", "SM*"));
}

TEST_F(DataSetFilterTest, EvaluationErrorsLeaveTheFilteringOperation) {
  EXPECT_EQ(ErrorOf([&] { Accepted("SQRT(ENAME) > 1"); }), "Invalid parameter to SQRT");
  EXPECT_EQ(ErrorOf([&] { Accepted("TRUE < FALSE"); }), "cannot apply opLT to boolean operands");
  EXPECT_EQ(ErrorOf([&] { Accepted("SAL + 1"); }), "Internal parser error. Code 13");
  EXPECT_EQ(ErrorOf([&] { Accepted("'A' * 2 = 1"); }), "Operator opMult incompatible with String");
  EXPECT_EQ(ErrorOf([&] { ParseOn("('A' * 2) + 1"); }), "Operator opMult incompatible with String");
  EXPECT_THROW(Accepted("EMPNO DIV (DEPTNO - 10) = 1"), EDivByZero);
}

}  // namespace
}  // namespace vorn::filter_test
