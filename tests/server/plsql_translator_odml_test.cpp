// ODML through the translator's packages: inserts that take their key from
// the class's sequence and references from reference values and texts,
// updates and deletes with path conditions, the row counts they return,
// the same over SCOTT's tables, and the faults found before anything runs
// or when a reference value finds no object or more than one.
#include "translator_support.h"

namespace vorn::server::test {
namespace {

using Strings = std::vector<std::string>;
using Odml = TranslatorTest;

TEST_F(Odml, InsertTakesTheKeyFromTheClassSequence) {
  EXPECT_EQ(translate("insert into dogs (name, age) values ('Bo', 2 + 1)"),
            "/*:INT*/ begin insert into MAN.DOGS (OID, NAME, AGE) values (MAN.DOGS_SEQ.nextval, "
            "'Bo', 2 + 1); :res := sql%rowcount; end;");
  EXPECT_EQ(scalar("insert into dogs (name, age) values ('Bo', 2 + 1)"), "INT:1");
  EXPECT_EQ(scalar("insert into dogs (name) values ('Jo')"), "INT:1");
  EXPECT_EQ(process("select oid, name, age from dogs where oid > 12 order by oid"),
            (Strings{"OID|NAME|AGE", "13|Bo|3", "14|Jo|"}));
}

TEST_F(Odml, ReferencesComeFromReferenceValuesAndTexts) {
  EXPECT_EQ(translate("insert into dogs (name, friend, owner) values ('Bo', (dogs where name = "
                      "'Rex'), 'MAN.PERSONS#2')"),
            "/*:INT*/ declare ref1 number; begin begin select t1.OID into ref1 from MAN.DOGS t1 "
            "where t1.NAME = 'Rex'; exception when no_data_found then "
            "raise_application_error(-20004, 'ODML: no object of class MAN.DOGS matches the "
            "reference at position 54'); when too_many_rows then raise_application_error(-20004, "
            "'ODML: more than one object of class MAN.DOGS matches the reference at position "
            "54'); end; insert into MAN.DOGS (OID, NAME, FRIEND, OWNER) values "
            "(MAN.DOGS_SEQ.nextval, 'Bo', ref1, 2); :res := sql%rowcount; end;");
  EXPECT_EQ(scalar("insert into dogs (name, friend, owner) values ('Bo', (dogs where name = "
                   "'Rex'), 'MAN.PERSONS#2')"),
            "INT:1");
  // A reference value's condition may use paths of its own class.
  EXPECT_EQ(scalar("insert into dogs values ('Jo', 1, (dogs where owner.city = 'Bergen' and "
                   "age > 5), (persons where name = 'Erik'))"),
            "INT:1");
  EXPECT_EQ(
      process("select name, friend.name, owner.name, owner.city from dogs where oid > 12 "
              "order by name"),
      (Strings{"NAME|FRIEND.NAME|OWNER.NAME|OWNER.CITY", "Bo|Rex|Bob|Bergen", "Jo|Charlie|Erik|"}));
}

TEST_F(Odml, AReferenceValueMustFindExactlyOneObject) {
  EXPECT_EQ(processError("insert into dogs (name, friend) values ('Bo', (dogs where name = "
                         "'Nobody'))"),
            "ORA-20004: ODML: no object of class MAN.DOGS matches the reference at position 47");
  EXPECT_EQ(processError("update dogs set owner = (persons where city = 'Oslo') where oid = 6"),
            "ORA-20004: ODML: more than one object of class MAN.PERSONS matches the reference at "
            "position 25");
  // Nothing was written.
  EXPECT_EQ(one(*man_, "select count(*) from dogs"), "12");
  EXPECT_EQ(one(*man_, "select count(*) from dogs where oid = 6 and owner is null"), "1");
}

TEST_F(Odml, UpdateWithPathsInConditionsAndValues) {
  EXPECT_EQ(translate("update dogs set age = age + 1 where owner.city = 'Oslo'"),
            "/*:INT*/ begin update MAN.DOGS t0 set AGE = t0.AGE + 1 where (select t1.CITY from "
            "MAN.PERSONS t1 where t1.OID = t0.OWNER) = 'Oslo'; :res := sql%rowcount; end;");
  EXPECT_EQ(scalar("update dogs set age = age + 1 where owner.city = 'Oslo'"), "INT:5");
  EXPECT_EQ(rows(*man_, "select name, age from dogs where owner in (1, 3) order by name"),
            (Strings{"Luna|3", "Max|8", "Rex|6", "Rocky|10", "Sadie|3"}));
  // Values and conditions through paths of depth two: the dogs whose
  // friends (Rex, Luna) have the friend Bella.
  EXPECT_EQ(scalar("update dogs set name = name || ' of ' || friend.owner.name "
                   "where friend.friend.name = 'Bella'"),
            "INT:3");
  EXPECT_EQ(rows(*man_, "select oid, name from dogs where name like '% of %' order by oid"),
            (Strings{"2|Bella of Alice", "3|Max of Alice", "11|Bailey of Alice"}));
}

TEST_F(Odml, UpdateSetsReferencesAndEmptiesThem) {
  EXPECT_EQ(scalar("update dogs set friend = (dogs where name = 'Max'), owner = null "
                   "where name in ('Rex', 'Bella')"),
            "INT:2");
  EXPECT_EQ(process("select name, friend.name, owner from dogs where name in ('Rex', 'Bella') "
                    "order by name"),
            (Strings{"NAME|FRIEND.NAME|OWNER", "Bella|Max|", "Rex|Max|"}));
  EXPECT_EQ(scalar("update dogs set friend = 'man.dogs#12' where name = 'Rex'"), "INT:1");
  EXPECT_EQ(process("select friend.name from dogs where name = 'Rex'"),
            (Strings{"FRIEND.NAME", "Sadie"}));
}

TEST_F(Odml, DeleteWithPathConditions) {
  EXPECT_EQ(translate("delete from dogs where friend.owner.city = 'Trondheim'"),
            "/*:INT*/ begin delete from MAN.DOGS t0 where (select t2.CITY from MAN.DOGS t1, "
            "MAN.PERSONS t2 where t1.OID = t0.FRIEND and t2.OID = t1.OWNER) = 'Trondheim'; "
            ":res := sql%rowcount; end;");
  // Rocky's friend Buddy belongs to Dave of Trondheim.
  EXPECT_EQ(scalar("delete from dogs where friend.owner.city = 'Trondheim'"), "INT:1");
  // Molly's friend was Rocky: the reference is empty now.
  EXPECT_EQ(process("select name, friend from dogs where name in ('Rocky', 'Molly')"),
            (Strings{"NAME|FRIEND", "Molly|"}));
  EXPECT_EQ(scalar("delete dogs where owner is null or owner.city is null"), "INT:3");
  EXPECT_EQ(scalar("delete from dogs where age > 100"), "INT:0");
  EXPECT_EQ(scalar("delete from dogs"), "INT:8");
}

TEST_F(Odml, OrdinaryTablesTakeTheirKeysAsGiven) {
  EXPECT_EQ(processAs(*s_,
                      "insert into emp (empno, ename, sal, deptno) values (8000, 'NEWTON', "
                      "1000, (dept where dname = 'SALES'))"),
            (Strings{"INT:1"}));
  EXPECT_EQ(processAs(*s_, "select ename, deptno.loc from emp where empno = 8000"),
            (Strings{"ENAME|DEPTNO.LOC", "NEWTON|CHICAGO"}));
  EXPECT_EQ(processAs(*s_, "update emp set sal = sal * 2 where deptno.loc = 'NEW YORK'"),
            (Strings{"INT:3"}));
  EXPECT_EQ(one(*s_, "select sum(sal) from emp where deptno = 10"), "17500");
  EXPECT_EQ(processAs(*s_, "delete from emp where deptno.dname = 'SALES' and sal < 1000"),
            (Strings{"INT:1"}));
  // The database's own constraints still hold: EMPNO is the key.
  EXPECT_EQ(
      processErrorAs(*s_, "insert into emp (empno, ename) values (7369, 'TWIN')").substr(0, 9),
      "ORA-00001");
}

TEST_F(Odml, AFailingStatementChangesNothing) {
  // NAME is mandatory; the dog after the failure is not counted twice.
  EXPECT_EQ(processError("insert into dogs (age) values (3)").substr(0, 9), "ORA-01400");
  EXPECT_EQ(one(*man_, "select count(*) from dogs"), "12");
  EXPECT_EQ(processError("update dogs set name = null where age > 5").substr(0, 9), "ORA-01407");
  EXPECT_EQ(one(*man_, "select count(*) from dogs where name is null"), "0");
}

TEST_F(Odml, FaultsFoundBeforeAnythingRuns) {
  EXPECT_EQ(translationError("insert into dogs (oid, name) values (99, 'x')"),
            "ORA-20003: ODML: OID of class MAN.DOGS is generated from its sequence and cannot be "
            "written at position 19");
  EXPECT_EQ(translationError("update dogs set oid = 99"),
            "ORA-20003: ODML: OID of class MAN.DOGS is generated from its sequence and cannot be "
            "written at position 17");
  EXPECT_EQ(translationError("insert into dogs (name, age) values ('a')"),
            "ORA-20003: ODML: 2 attributes take 2 values, not 1 at position 30");
  EXPECT_EQ(translationError("insert into dogs (name, name) values ('a', 'b')"),
            "ORA-20003: ODML: attribute NAME is named twice at position 25");
  EXPECT_EQ(translationError("insert into dogs (name, color) values ('a', 'b')"),
            "ORA-20002: ODML: unknown attribute COLOR of class MAN.DOGS at position 25");
  EXPECT_EQ(translationError("insert into dogs (name) values (friend.name)"),
            "ORA-20003: ODML: a new object has no attributes to read yet; friend.name cannot "
            "stand in a value at position 33");
  EXPECT_EQ(translationError("insert into dogs (name, age) values ('a', 'old')"),
            "ORA-20003: ODML: cannot assign 'old' (a string) to AGE (a number) at position 43");
  EXPECT_EQ(translationError("update dogs set friend.name = 'x'"),
            "ORA-20003: ODML: only attributes of the class itself can be set, not a path at "
            "position 24");
  EXPECT_EQ(translationError("update dogs set age = 1, age = 2"),
            "ORA-20003: ODML: attribute AGE is set twice at position 26");
  EXPECT_EQ(translationError("update dogs set friend = (persons where name = 'Bob')"),
            "ORA-20003: ODML: FRIEND refers to objects of class MAN.DOGS, not of MAN.PERSONS at "
            "position 27");
  EXPECT_EQ(translationError("update dogs set owner = 'MAN.PERSONS#x'"),
            "ORA-20003: ODML: 'MAN.PERSONS#x' is not a reference to an object of class "
            "MAN.PERSONS (one reads MAN.PERSONS#<key>) at position 25");
  EXPECT_EQ(translationError("update dogs set name = name * 2"),
            "ORA-20003: ODML: '*' needs numbers; NAME is a string at position 24");
  EXPECT_EQ(translationError("delete from dogs where age"),
            "ORA-20003: ODML: expected a condition, found the value age at position 24");
  EXPECT_EQ(translationError("delete from dogs where age > 1 order by age"),
            "ORA-20001: ODML: unexpected order at position 32");
  EXPECT_EQ(translationError("insert dogs (name) values ('x')"),
            "ORA-20001: ODML: expected INTO, found dogs at position 8");
}

}  // namespace
}  // namespace vorn::server::test
