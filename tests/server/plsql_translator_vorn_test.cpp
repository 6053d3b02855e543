// VORN through the translator's packages: the front end's block run as it
// sends it, then the translated text run as it runs it. Paths of depth one
// to three as outer joins (objects with empty references still show),
// conditions, aggregates and their result kinds, select ref, the same over
// SCOTT's ordinary tables, and the errors with their positions.
#include "translator_support.h"

namespace vorn::server::test {
namespace {

using Strings = std::vector<std::string>;
using Vorn = TranslatorTest;

TEST_F(Vorn, TheDesignTimeQueryShowsEveryDogWithItsFriend) {
  EXPECT_EQ(translate("select name, friend.name from man.dogs"),
            "/*:DS*/ select t0.NAME, t1.NAME \"FRIEND.NAME\" from MAN.DOGS t0, MAN.DOGS t1 "
            "where t1.OID (+) = t0.FRIEND");
  Strings rows = process("select name, friend.name from man.dogs");
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows[0], "NAME|FRIEND.NAME");
  // Daisy and Charlie have no friend and show all the same.
  std::sort(rows.begin() + 1, rows.end());
  EXPECT_EQ(rows, (Strings{"NAME|FRIEND.NAME", "Bailey|Luna", "Bella|Rex", "Buddy|Max", "Charlie|",
                           "Daisy|", "Lucy|Charlie", "Luna|Bella", "Max|Rex", "Molly|Rocky",
                           "Rex|Bella", "Rocky|Buddy", "Sadie|Daisy"}));
}

TEST_F(Vorn, PathsOfDepthTwoAndThreeFollowEachReferenceOnce) {
  std::string sql =
      translate("select name, friend.owner.city, friend.friend.owner.name from dogs order by name");
  // FRIEND, FRIEND.OWNER, FRIEND.FRIEND and FRIEND.FRIEND.OWNER: four joins.
  EXPECT_EQ(sql,
            "/*:DS*/ select t0.NAME, t2.CITY \"FRIEND.OWNER.CITY\", t4.NAME "
            "\"FRIEND.FRIEND.OWNER.NAME\" from MAN.DOGS t0, MAN.DOGS t1, MAN.PERSONS t2, "
            "MAN.DOGS t3, MAN.PERSONS t4 where t1.OID (+) = t0.FRIEND and t2.OID (+) = t1.OWNER "
            "and t3.OID (+) = t1.FRIEND and t4.OID (+) = t3.OWNER order by t0.NAME");
  EXPECT_EQ(process("select name, friend.owner.city, friend.friend.owner.name from dogs "
                    "order by name"),
            (Strings{"NAME|FRIEND.OWNER.CITY|FRIEND.FRIEND.OWNER.NAME",
                     // Luna's friend Bella (Bob, Bergen) has the friend Rex (Alice).
                     "Bailey|Oslo|Bob", "Bella|Oslo|Bob", "Buddy|Oslo|Alice", "Charlie||",
                     "Daisy||", "Lucy|Bergen|", "Luna|Bergen|Alice", "Max|Oslo|Bob",
                     // Molly's friend Rocky has Carol; Rocky's friend Buddy has Dave.
                     "Molly|Oslo|Dave", "Rex|Bergen|Alice", "Rocky|Trondheim|Carol", "Sadie||"}));
}

TEST_F(Vorn, ConditionsOnPathsFilterAfterTheOuterJoin) {
  EXPECT_EQ(
      process("select name, owner.city from man.dogs where owner.city = 'Oslo' order by name"),
      (Strings{"NAME|OWNER.CITY", "Luna|Oslo", "Max|Oslo", "Rex|Oslo", "Rocky|Oslo",
               "Sadie|Oslo"}));
  // No owner, or an owner without a city: both have an empty OWNER.CITY.
  EXPECT_EQ(process("select name from dogs where owner.city is null order by name"),
            (Strings{"NAME", "Daisy", "Lucy", "Molly"}));
  EXPECT_EQ(process("select name from dogs where owner.city <> 'Oslo' and friend.name = 'Rex' "
                    "order by name"),
            (Strings{"NAME", "Bella"}));
}

TEST_F(Vorn, ConditionsReadLikeSql) {
  EXPECT_EQ(process("select name from dogs where name like 'B%' and not name = 'Bella' "
                    "order by name"),
            (Strings{"NAME", "Bailey", "Buddy"}));
  EXPECT_EQ(process("select name from dogs where age between 7 and 9 or name in ('Rex', 'Lucy') "
                    "order by age desc, name"),
            (Strings{"NAME", "Rocky", "Charlie", "Max", "Rex", "Lucy"}));
  // OR inside AND keeps its parentheses in the SQL.
  EXPECT_EQ(translate("select name from dogs where (age < 2 or age > 10) and owner is not null"),
            "/*:DS*/ select t0.NAME from MAN.DOGS t0 where (t0.AGE < 2 or t0.AGE > 10) and "
            "t0.OWNER is not null");
  EXPECT_EQ(process("select name from dogs where (age < 2 or age > 10) and owner is not null "
                    "order by name"),
            (Strings{"NAME", "Bailey", "Molly"}));
  EXPECT_EQ(process("select name from dogs where age != 3 and age not between 2 and 9 and "
                    "name not like '%y' order by name"),
            (Strings{"NAME"}));
  EXPECT_EQ(process("select name from dogs where age * 2 - 1 = 9 or -age = -11 order by name"),
            (Strings{"NAME", "Bailey", "Rex"}));
  // A number written as a string compares with a number, as in SQL.
  EXPECT_EQ(process("select name from dogs where age = '11'"), (Strings{"NAME", "Bailey"}));
}

TEST_F(Vorn, DateLiteralsAndDateArithmetic) {
  EXPECT_EQ(translateAs(*s_, "select ename from emp where hiredate >= date '1987-01-01'"),
            "/*:DS*/ select t0.ENAME from SCOTT.EMP t0 where t0.HIREDATE >= "
            "to_date('1987-01-01', 'YYYY-MM-DD')");
  EXPECT_EQ(processAs(*s_,
                      "select ename from emp where hiredate >= date '1987-01-01' "
                      "order by ename"),
            (Strings{"ENAME", "ADAMS", "SCOTT"}));
  EXPECT_EQ(processAs(*s_,
                      "select ename from emp where hiredate + 1 = "
                      "date '1980-12-18 00:00:00'"),
            (Strings{"ENAME", "SMITH"}));
}

TEST_F(Vorn, StarIsEveryAttributeButTheGeneratedKey) {
  Strings dogs = process("select * from dogs where name = 'Lucy'");
  EXPECT_EQ(dogs, (Strings{"NAME|AGE|FRIEND|OWNER", "Lucy|3|9|"}));
  // An ordinary table's key is an attribute like the others.
  EXPECT_EQ(processAs(*s_, "select * from dept where deptno = 40"),
            (Strings{"DEPTNO|DNAME|LOC", "40|OPERATIONS|BOSTON"}));
  EXPECT_EQ(process("select oid, * from dogs where name = 'Rex'"),
            (Strings{"OID|NAME|AGE|FRIEND|OWNER", "1|Rex|5|2|1"}));
}

TEST_F(Vorn, DistinctValuesOfAPath) {
  EXPECT_EQ(process("select distinct owner.city from dogs where owner.city is not null "
                    "order by owner.city"),
            (Strings{"OWNER.CITY", "Bergen", "Oslo", "Trondheim"}));
}

TEST_F(Vorn, OneAggregateIsAScalarOfItsKind) {
  EXPECT_EQ(translate("select count(*) from dogs where owner.city = 'Oslo'"),
            "/*:INT*/ begin select count(*) into :res from MAN.DOGS t0, MAN.PERSONS t1 where "
            "t1.OID (+) = t0.OWNER and t1.CITY = 'Oslo'; end;");
  EXPECT_EQ(scalar("select count(*) from dogs where owner.city = 'Oslo'"), "INT:5");
  EXPECT_EQ(scalar("select count(friend.name) from dogs"), "INT:10");
  EXPECT_EQ(scalar("select max(age) from dogs"), "STR:11");
  EXPECT_EQ(scalar("select min(name) from dogs where friend.owner.city = 'Bergen'"), "STR:Lucy");
  EXPECT_EQ(scalar("select sum(age) from dogs where owner.name = 'Alice'"), "STR:9");
  EXPECT_EQ(scalar("select avg(age) from dogs where name in ('Rex', 'Max')"), "STR:6");
  // No rows: COUNT is 0, the others are empty.
  EXPECT_EQ(scalar("select count(*) from dogs where age > 100"), "INT:0");
  EXPECT_EQ(scalar("select max(name) from dogs where age > 100"), "STR:<null>");
}

TEST_F(Vorn, GroupedAggregatesAreADataset) {
  EXPECT_EQ(process("select owner.city, count(*), max(age) from dogs group by owner.city "
                    "order by owner.city"),
            (Strings{"OWNER.CITY|COUNT(*)|MAX(AGE)", "Bergen|2|8", "Oslo|5|9", "Trondheim|2|11",
                     "|3|6"}));
  // An aggregate with an ordering, or two aggregates, stay a dataset.
  EXPECT_EQ(process("select count(*), min(age) from dogs"), (Strings{"COUNT(*)|MIN(AGE)", "12|1"}));
  EXPECT_EQ(kindOf(translate("select count(*) from dogs order by count(*)")), "DS");
  EXPECT_EQ(process("select owner.name, count(*) from dogs where owner is not null "
                    "group by owner.name order by count(*) desc, owner.name"),
            (Strings{"OWNER.NAME|COUNT(*)", "Alice|3", "Bob|2", "Carol|2", "Dave|2", "Erik|1"}));
}

TEST_F(Vorn, GroupingFaultsAreNamed) {
  EXPECT_EQ(translationError("select name, count(*) from dogs"),
            "ORA-20003: VORN: NAME is neither in the group by list nor inside an aggregate at "
            "position 8");
  EXPECT_EQ(translationError("select owner.city, name from dogs group by owner.city"),
            "ORA-20003: VORN: NAME is neither in the group by list nor inside an aggregate at "
            "position 20");
  EXPECT_EQ(translationError("select *, count(*) from dogs"),
            "ORA-20003: VORN: * cannot stand with aggregates or group by at position 8");
  EXPECT_EQ(translationError("select sum(name) from dogs"),
            "ORA-20003: VORN: SUM needs numbers; NAME is a string at position 12");
  EXPECT_EQ(translationError("select name from dogs where count(*) > 1"),
            "ORA-20003: VORN: COUNT is an aggregate; aggregates stand only in a select list and "
            "its order by at position 29");
}

TEST_F(Vorn, SelectRefGivesTheReferenceOfTheOneMatchingObject) {
  EXPECT_EQ(scalar("select ref from dogs where name = 'Max'"), "REF:MAN.DOGS#3");
  EXPECT_EQ(scalar("select ref from man.persons where city = 'Bergen'"), "REF:MAN.PERSONS#2");
  EXPECT_EQ(scalar("select ref from dogs where friend.name = 'Rocky'"), "REF:MAN.DOGS#8");
  EXPECT_EQ(processAs(*s_, "select ref from dept where loc = 'DALLAS'"),
            (Strings{"REF:SCOTT.DEPT#20"}));
  // The reference found is the one the references of other objects hold.
  EXPECT_EQ(process("select name from dogs where friend = 'MAN.DOGS#3'"),
            (Strings{"NAME", "Buddy"}));
}

TEST_F(Vorn, SelectRefFailsUnlessExactlyOneObjectMatches) {
  EXPECT_EQ(processError("select ref from dogs where name = 'Nobody'"),
            "ORA-20004: VORN: no object of class MAN.DOGS matches at position 22");
  EXPECT_EQ(processError("select ref from dogs where owner.city = 'Oslo'"),
            "ORA-20004: VORN: more than one object of class MAN.DOGS matches at position 22");
  EXPECT_EQ(translationError("select ref from scott.bonus"),
            "ORA-20003: VORN: class SCOTT.BONUS has no key, so its objects have no references at "
            "position 17");
  EXPECT_EQ(translationError("select ref from dogs order by name"),
            "ORA-20003: VORN: select ref takes only a class and a condition at position 22");
}

TEST_F(Vorn, AReferenceValueInAConditionIsItsObjectsKey) {
  EXPECT_EQ(translate("select name from dogs where owner = (persons where name = 'Bob')"),
            "/*:DS*/ select t0.NAME from MAN.DOGS t0 where t0.OWNER = (select t1.OID from "
            "MAN.PERSONS t1 where t1.NAME = 'Bob')");
  EXPECT_EQ(process("select name from dogs where owner = (persons where name = 'Bob') "
                    "order by name"),
            (Strings{"NAME", "Bella", "Charlie"}));
  EXPECT_EQ(process("select name from dogs where friend = (man.dogs where owner.name = 'Bob' "
                    "and age > 5)"),
            (Strings{"NAME", "Lucy"}));
  EXPECT_EQ(translationError("select name from dogs where owner = (dogs where name = 'Rex')"),
            "ORA-20003: VORN: OWNER refers to objects of class MAN.PERSONS, not of MAN.DOGS at "
            "position 38");
  EXPECT_EQ(translationError("select name from dogs where owner = 'MAN.DOGS#1'"),
            "ORA-20003: VORN: 'MAN.DOGS#1' is not a reference to an object of class MAN.PERSONS "
            "(one reads MAN.PERSONS#<key>) at position 37");
  EXPECT_EQ(translationError("select name from dogs where age = (dogs where name = 'Rex')"),
            "ORA-20003: VORN: AGE is not a reference, so it cannot take the object (dogs where "
            "name = 'Rex') at position 35");
}

TEST_F(Vorn, ReferencesToDifferentClassesDoNotCompare) {
  EXPECT_EQ(translationError("select name from dogs where friend = owner"),
            "ORA-20003: VORN: cannot compare OWNER, a reference to MAN.PERSONS, with FRIEND, a "
            "reference to MAN.DOGS at position 38");
  // Dogs whose friend is the friend of their friend's friend.
  EXPECT_EQ(process("select name from dogs where friend = friend.friend.friend order by name"),
            (Strings{"NAME", "Bella", "Luna", "Max", "Rex"}));
}

TEST_F(Vorn, AReferenceMayHoldAnotherUniqueAttribute) {
  man_->execute(
      "create table badges (oid number primary key, code varchar2(10) "
      "constraint uk_badges unique, color varchar2(10))");
  man_->execute(
      "create table wearers (name varchar2(10), badge varchar2(10) "
      "references badges (code))");
  man_->execute("insert into badges values (1, 'B-1', 'red')");
  man_->execute("insert into badges values (2, 'B-2', 'blue')");
  man_->execute("insert into wearers values ('Ann', 'B-2')");
  man_->execute("insert into wearers values ('Ben', null)");
  EXPECT_EQ(process("select name, badge.color from wearers order by name"),
            (Strings{"NAME|BADGE.COLOR", "Ann|blue", "Ben|"}));
  // A reference text names the object by its key, OID 2 here.
  EXPECT_EQ(translate("select name from wearers where badge = 'MAN.BADGES#2'"),
            "/*:DS*/ select t0.NAME from MAN.WEARERS t0 where t0.BADGE = (select t1.CODE from "
            "MAN.BADGES t1 where t1.OID = 2)");
  EXPECT_EQ(process("select name from wearers where badge = 'MAN.BADGES#2'"),
            (Strings{"NAME", "Ann"}));
  EXPECT_EQ(process("select name from wearers where badge = (badges where color = 'blue')"),
            (Strings{"NAME", "Ann"}));
  EXPECT_EQ(scalar("select ref from badges where code = 'B-2'"), "REF:MAN.BADGES#2");
}

TEST_F(Vorn, ColumnNamesKeepToOraclesLimit) {
  EXPECT_EQ(translationError("select name, friend.friend.friend.owner.name from dogs"),
            "ORA-20003: VORN: the column FRIEND.FRIEND.FRIEND.OWNER.NAME would have a name longer "
            "than Oracle's 30 characters at position 14");
  // The same path is fine where it names no column.
  EXPECT_EQ(process("select name from dogs where friend.friend.friend.owner.name = 'Carol'"),
            (Strings{"NAME", "Molly"}));
}

TEST_F(Vorn, DistinctRowsAreOrderedByWhatTheyShow) {
  EXPECT_EQ(translationError("select distinct owner.city from dogs order by name"),
            "ORA-20003: VORN: with distinct, NAME must be in the select list to order by it at "
            "position 47");
}

TEST_F(Vorn, OrdinaryTablesWithForeignKeysAreClassesToo) {
  EXPECT_EQ(translateAs(*s_, "select ename, deptno.dname from emp where deptno.loc = 'DALLAS'"),
            "/*:DS*/ select t0.ENAME, t1.DNAME \"DEPTNO.DNAME\" from SCOTT.EMP t0, SCOTT.DEPT t1 "
            "where t1.DEPTNO (+) = t0.DEPTNO and t1.LOC = 'DALLAS'");
  EXPECT_EQ(processAs(*s_,
                      "select ename, deptno.dname from emp where deptno.loc = 'DALLAS' "
                      "order by ename"),
            (Strings{"ENAME|DEPTNO.DNAME", "ADAMS|RESEARCH", "FORD|RESEARCH", "JONES|RESEARCH",
                     "SCOTT|RESEARCH", "SMITH|RESEARCH"}));
  EXPECT_EQ(processAs(*s_, "select count(*) from emp where deptno.dname = 'SALES'"),
            (Strings{"INT:6"}));
  EXPECT_EQ(processAs(*s_,
                      "select deptno.dname, sum(sal) from scott.emp group by deptno.dname "
                      "order by deptno.dname"),
            (Strings{"DEPTNO.DNAME|SUM(SAL)", "ACCOUNTING|8750", "RESEARCH|10875", "SALES|9400"}));
  // Another user names SCOTT's classes with their schema.
  EXPECT_EQ(process("select max(sal) from scott.emp where deptno.loc = 'NEW YORK'"),
            (Strings{"STR:5000"}));
  // MGR holds an employee number but is no foreign key: no path goes on.
  EXPECT_EQ(translationErrorAs(*s_, "select mgr.ename from emp"),
            "ORA-20003: VORN: MGR of class SCOTT.EMP is not a reference, so it has no attribute "
            "ENAME at position 12");
}

TEST_F(Vorn, NamesAreCaseInsensitiveUnlessDoubleQuoted) {
  EXPECT_EQ(process("SELECT Name, FRIEND.name FROM Man.Dogs WHERE NAME = 'Rex'"),
            (Strings{"NAME|FRIEND.NAME", "Rex|Bella"}));
  EXPECT_EQ(process("select \"NAME\" from \"MAN\".\"DOGS\" where \"OWNER\".\"CITY\" = 'Bergen' "
                    "order by \"NAME\""),
            (Strings{"NAME", "Bella", "Charlie"}));
  EXPECT_EQ(translationError("select \"name\" from dogs"),
            "ORA-20002: VORN: unknown attribute name of class MAN.DOGS at position 8");
  // Mixed-case names made with quotes are reached with quotes, exactly.
  man_->execute(
      "create table \"Pets\" (\"Name\" varchar2(10), \"owner\" number "
      "references persons)");
  man_->execute("insert into \"Pets\" values ('Tom', 3)");
  EXPECT_EQ(translate("select \"Name\", \"owner\".city from \"Pets\""),
            "/*:DS*/ select t0.\"Name\", t1.CITY \"owner.CITY\" from MAN.\"Pets\" t0, "
            "MAN.PERSONS t1 where t1.OID (+) = t0.\"owner\"");
  EXPECT_EQ(process("select \"Name\", \"owner\".city from \"Pets\""),
            (Strings{"Name|owner.CITY", "Tom|Oslo"}));
  EXPECT_EQ(translationError("select name from pets"),
            "ORA-20002: VORN: unknown class PETS at position 18");
}

TEST_F(Vorn, NamesThatAreOracleWordsAreQuotedInTheSql) {
  man_->execute(
      "create table events (\"DATE\" date, \"LEVEL\" number, dog number "
      "references dogs)");
  man_->execute("insert into events values (to_date('2001-02-03', 'YYYY-MM-DD'), 1, 4)");
  EXPECT_EQ(translate("select \"LEVEL\", dog.name from events where \"DATE\" < date '2002-01-01'"),
            "/*:DS*/ select t0.\"LEVEL\", t1.NAME \"DOG.NAME\" from MAN.EVENTS t0, MAN.DOGS t1 "
            "where t1.OID (+) = t0.DOG and t0.\"DATE\" < to_date('2002-01-01', 'YYYY-MM-DD')");
  EXPECT_EQ(process("select \"LEVEL\", dog.name from events where \"DATE\" < date '2002-01-01'"),
            (Strings{"LEVEL|DOG.NAME", "1|Luna"}));
}

TEST_F(Vorn, QuotesInLiteralsFollowSql) {
  man_->execute("insert into dogs values (20, 'O''Neil', 4, 1, NULL)");
  EXPECT_EQ(translate("select name from dogs where name = 'O''Neil'"),
            "/*:DS*/ select t0.NAME from MAN.DOGS t0 where t0.NAME = 'O''Neil'");
  EXPECT_EQ(process("select name, friend.name from dogs where name like '%''%'"),
            (Strings{"NAME|FRIEND.NAME", "O'Neil|Rex"}));
  EXPECT_EQ(scalar("select ref from dogs where name = 'O''Neil'"), "REF:MAN.DOGS#20");
}

TEST_F(Vorn, CommentsAndAClosingSemicolonAreAllowed) {
  EXPECT_EQ(process("select name -- the dog\n from dogs /* all */ where age > 10;"),
            (Strings{"NAME", "Bailey"}));
}

}  // namespace
}  // namespace vorn::server::test
