// Faults the fuzz targets of the server found, each checked for the right
// behaviour here (the inputs are in fuzz/server/corpus/*, named found-*).
#include <cstdlib>
#include <string>

#include "engine_support.h"

namespace vorn::server::test {
namespace {

using FuzzFindingsTest = DemoDatabase;

// Constant-initialised, so destroyed after every function-local static of
// the engine that was constructed later.
std::shared_ptr<Database> heldUntilExit;

TEST_F(FuzzFindingsTest, ADatabaseHeldUntilTheProcessExitsClosesCleanly) {
  // The engine's table of open databases must outlive it (the sanitizer
  // build sees a use after free otherwise).
  EXPECT_EXIT(
      {
        heldUntilExit = Database::open(path_.string());
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(FuzzFindingsTest, TextLiteralsHoldNulCharacters) {
  auto s = scott();
  const std::string literal("a\0b'c", 5);
  auto st = s->prepare("select '" + std::string("a\0b''c", 6) + "', length('" +
                       std::string("a\0b", 3) + "') from dual");
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(st->textValue(0), literal);
  EXPECT_EQ(st->intValue(1), 3);
}

TEST_F(FuzzFindingsTest, InsertsWithNulInAFormatModelFailWithTheFormatError) {
  auto s = scott();
  const std::string sql =
      "insert into emp (empno, hiredate) values (1, to_date('01-01-2000', 'DD-M" +
      std::string(1, '\0') + "M-YYYY'))";
  EXPECT_EQ(errorOf(*s, sql), 1821);
}

TEST_F(FuzzFindingsTest, SizesTooLargeForAnIntegerGetTheirRangeErrors) {
  auto s = scott();
  const std::string huge = "207777777777777777777777777777";
  EXPECT_EQ(errorOf(*s, "create table t (c varchar2(" + huge + "))"), 910);
  EXPECT_EQ(errorOf(*s, "create table t (c char(" + huge + "))"), 910);
  EXPECT_EQ(errorOf(*s, "create table t (c number(" + huge + "))"), 1727);
  EXPECT_EQ(errorOf(*s, "create table t (c number(5, " + huge + "))"), 1728);
  EXPECT_EQ(errorOf(*s, "create table t (c number(5, -" + huge + "))"), 1728);
  EXPECT_EQ(errorOf(*s, "create table t (c float(" + huge + "))"), 1724);
  EXPECT_EQ(errorOf(*s, "create table t (c raw(" + huge + "))"), 910);
}

TEST_F(FuzzFindingsTest, AWaitTooLongForAnIntegerIsAcceptedAsTheLongestWait) {
  auto s = scott();
  EXPECT_EQ(errorOf(*s, "select * from emp for update wait 99999999999999999999"), 0);
}

}  // namespace
}  // namespace vorn::server::test
