// The text work of message translation: application errors lose their
// error stack, constraint errors name their constraint, and a message
// table's rows are chosen by action and side.
#include <gtest/gtest.h>

#include "FieldOptions.h"
#include "MessageTranslation.h"

namespace vorn {
namespace {

// --- Application errors

TEST(CutApplicationMessage, EndsBeforeTheLineFeedAheadOfTheStack) {
  EXPECT_EQ(CutApplicationMessage(20001, "ORA-20001: Salary too high\nORA-06512: at line 3"),
            "ORA-20001: Salary too high");
}

TEST(CutApplicationMessage, EndsBeforeACarriageReturnAndLineFeed) {
  EXPECT_EQ(CutApplicationMessage(20999,
                                  "ORA-20999: Stop\r\nORA-06512: at \"X.Y\", line 3\r\n"
                                  "ORA-06512: at line 1"),
            "ORA-20999: Stop");
}

TEST(CutApplicationMessage, OnlyCutsApplicationErrors) {
  const std::string text = "ORA-01403: no data found\nORA-06512: at line 3";
  EXPECT_EQ(CutApplicationMessage(1403, text), text);
  EXPECT_EQ(CutApplicationMessage(19999, text), text);
  EXPECT_EQ(CutApplicationMessage(21000, text), text);
}

TEST(CutApplicationMessage, WithoutAStackTheMessageStays) {
  EXPECT_EQ(CutApplicationMessage(20000, "ORA-20000: plain"), "ORA-20000: plain");
}

// --- Constraint names

TEST(ConstraintNameOf, IsBetweenTheFirstDotAndTheFirstParenthesis) {
  EXPECT_EQ(ConstraintNameOf(1, "ORA-00001: unique constraint (SCOTT.PK_EMP) violated"), "PK_EMP");
  EXPECT_EQ(ConstraintNameOf(2290, "ORA-02290: check constraint (SCOTT.EMP_SAL) violated"),
            "EMP_SAL");
  EXPECT_EQ(ConstraintNameOf(2291,
                             "ORA-02291: integrity constraint (SCOTT.FK_DEPTNO) violated - "
                             "parent key not found"),
            "FK_DEPTNO");
  EXPECT_EQ(ConstraintNameOf(2292, "ORA-02292: integrity constraint (A.B) violated"), "B");
}

TEST(ConstraintNameOf, OnlyConstraintErrorsNameOne) {
  EXPECT_EQ(ConstraintNameOf(942, "ORA-00942: table (SCOTT.X) does not exist"), "");
  EXPECT_EQ(ConstraintNameOf(0, "Record (A.B) is locked"), "");
}

TEST(ConstraintNameOf, AMessageWithoutTheShapeNamesNone) {
  EXPECT_EQ(ConstraintNameOf(1, "[POL-3220] duplicate keys in unique/primary index"), "");
  EXPECT_EQ(ConstraintNameOf(1, "unique (X) violated. Sorry"), "");
  EXPECT_EQ(ConstraintNameOf(1, "no closing. parenthesis"), "");
}

// --- Choosing a message table row

TEST(ChooseTableMessage, ARowForTheActionGivesTheMessage) {
  std::string message = "original";
  EXPECT_TRUE(ChooseTableMessage({{"IU", "C", "No such department"}}, 2291, 'I', message));
  EXPECT_EQ(message, "No such department");
}

TEST(ChooseTableMessage, ARowForOtherActionsGivesNone) {
  std::string message = "original";
  EXPECT_FALSE(ChooseTableMessage({{"IU", "C", "No such department"}}, 2291, 'D', message));
  EXPECT_EQ(message, "original");
}

TEST(ChooseTableMessage, LaterRowsForTheActionWin) {
  std::string message;
  ChooseTableMessage({{"I", "*", "first"}, {"IU", "*", "second"}}, 1, 'I', message);
  EXPECT_EQ(message, "second");
}

TEST(ChooseTableMessage, AStarRowOnlyStandsInForNothingElse) {
  std::string message;
  ChooseTableMessage({{"*", "*", "any action"}, {"U", "*", "update"}}, 1, 'U', message);
  EXPECT_EQ(message, "update");
  ChooseTableMessage({{"*", "*", "any action"}, {"U", "*", "update"}}, 1, 'I', message);
  EXPECT_EQ(message, "any action");
  // A star row after a chosen one does not replace it.
  ChooseTableMessage({{"I", "*", "insert"}, {"*", "*", "any action"}}, 1, 'I', message);
  EXPECT_EQ(message, "insert");
}

TEST(ChooseTableMessage, TheSideOfAReferentialErrorFiltersTheRows) {
  const std::vector<TMessageTableRow> rows = {{"IUD", "C", "child"}, {"IUD", "P", "parent"}};
  std::string message;
  ChooseTableMessage(rows, 2291, 'I', message);
  EXPECT_EQ(message, "child");
  ChooseTableMessage(rows, 2292, 'D', message);
  EXPECT_EQ(message, "parent");
  message = "original";
  EXPECT_FALSE(ChooseTableMessage(rows, 1, 'I', message));
  EXPECT_EQ(message, "original");
}

TEST(ChooseTableMessage, ActionsAndSidesCompareInAnyCase) {
  std::string message;
  EXPECT_TRUE(ChooseTableMessage({{"iu", "c", "lower"}}, 2291, 'U', message));
  EXPECT_EQ(message, "lower");
}

// --- Numeric formats of the field options

TEST(NumericFormats, OfAColumnWithDecimals) {
  TNumericFormats formats = NumericFormats(7, 2);
  EXPECT_EQ(formats.DisplayFormat, "##,##0.00");
  EXPECT_EQ(formats.EditFormat, "####0.00");
  EXPECT_EQ(formats.DisplayWidth, 10);

  formats = NumericFormats(8, 2);
  EXPECT_EQ(formats.DisplayFormat, "###,##0.00");
  EXPECT_EQ(formats.EditFormat, "#####0.00");
  EXPECT_EQ(formats.DisplayWidth, 11);

  formats = NumericFormats(12, 1);
  EXPECT_EQ(formats.DisplayFormat, "##,###,###,##0.0");
  EXPECT_EQ(formats.EditFormat, "##########0.0");
}

TEST(NumericFormats, OfAColumnWithoutIntegerDigits) {
  TNumericFormats formats = NumericFormats(2, 2);
  EXPECT_EQ(formats.DisplayFormat, "0.00");
  EXPECT_EQ(formats.EditFormat, "0.00");
  EXPECT_EQ(formats.DisplayWidth, 5);
  EXPECT_EQ(NumericFormats(3, 5).DisplayFormat, "0.00000");
  EXPECT_EQ(NumericFormats(3, 2).DisplayFormat, "0.00");
}

TEST(NumericFormats, OfAnIntegerColumnOnlyTheWidth) {
  TNumericFormats formats = NumericFormats(5, 0);
  EXPECT_EQ(formats.DisplayFormat, "");
  EXPECT_EQ(formats.EditFormat, "");
  EXPECT_EQ(formats.DisplayWidth, 6);
  EXPECT_EQ(NumericFormats(5, -2).DisplayWidth, 6);
}

TEST(NumericFormats, OfAColumnWithoutPrecisionNothing) {
  EXPECT_EQ(NumericFormats(0, 0).DisplayWidth, 0);
  EXPECT_EQ(NumericFormats(0, 2).DisplayFormat, "");
}

TEST(NumericBound, IsTheLargestValueOfPrecisionAndScale) {
  EXPECT_DOUBLE_EQ(NumericBound(5, 2), 999.99);
  EXPECT_DOUBLE_EQ(NumericBound(4, 0), 9999);
  EXPECT_DOUBLE_EQ(NumericBound(3, -2), 99900);
}

}  // namespace
}  // namespace vorn
