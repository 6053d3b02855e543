// ODDL through the translator's packages: classes created, altered and
// dropped as tables with an OID key from their own sequence and references
// as foreign keys, used right away by ODML and VORN; and what is refused
// before any DDL runs, with its position.
#include "translator_support.h"

namespace vorn::server::test {
namespace {

using Strings = std::vector<std::string>;
using Oddl = TranslatorTest;

TEST_F(Oddl, CreateClassMakesATableWithAKeyAndItsSequence) {
  EXPECT_EQ(translate("create class cats (name string(30), age integer, weight number, "
                      "born date, friend ref cats, owner ref persons)"),
            "/*:STR*/ begin execute immediate 'create table MAN.CATS (OID number primary key, "
            "NAME varchar2(30), AGE number(38), WEIGHT number, BORN date, FRIEND number "
            "references MAN.CATS (OID) on delete set null, OWNER number references MAN.PERSONS "
            "(OID) on delete set null)'; execute immediate 'create sequence MAN.CATS_SEQ'; "
            ":res := 'Class MAN.CATS created'; end;");
  EXPECT_EQ(process("create class cats (name string(30), age integer, weight number, "
                    "born date, friend ref cats, owner ref persons)"),
            (Strings{"STR:Class MAN.CATS created"}));
  EXPECT_EQ(rows(*man_,
                 "select column_name, data_type, data_length, data_precision "
                 "from user_tab_columns where table_name = 'CATS' order by column_id"),
            (Strings{"OID|NUMBER|22|", "NAME|VARCHAR2|30|", "AGE|NUMBER|22|38", "WEIGHT|NUMBER|22|",
                     "BORN|DATE|7|", "FRIEND|NUMBER|22|", "OWNER|NUMBER|22|"}));
  EXPECT_EQ(rows(*man_,
                 "select sequence_name from user_sequences where sequence_name = "
                 "'CATS_SEQ'"),
            (Strings{"CATS_SEQ"}));
  EXPECT_EQ(rows(*man_,
                 "select c.constraint_type, c.delete_rule, r.table_name from "
                 "user_constraints c, user_constraints r where c.table_name = 'CATS' "
                 "and c.constraint_type = 'R' and r.constraint_name = c.r_constraint_name "
                 "order by r.table_name"),
            (Strings{"R|SET NULL|CATS", "R|SET NULL|PERSONS"}));
}

TEST_F(Oddl, ANewClassIsUsedByOdmlAndVornAtOnce) {
  process("create class cats (name string(20), friend ref cats, owner ref persons)");
  EXPECT_EQ(scalar("insert into cats (name, owner) values ('Tom', (persons where name = 'Carol'))"),
            "INT:1");
  EXPECT_EQ(scalar("insert into cats values ('Kit', (cats where name = 'Tom'), null)"), "INT:1");
  EXPECT_EQ(process("select oid, name, friend.name, friend.owner.city from cats order by oid"),
            (Strings{"OID|NAME|FRIEND.NAME|FRIEND.OWNER.CITY", "1|Tom||", "2|Kit|Tom|Oslo"}));
  EXPECT_EQ(scalar("select ref from cats where name = 'Kit'"), "REF:MAN.CATS#2");

  EXPECT_EQ(scalar("alter class cats add (lives integer, vet ref persons)"),
            "STR:Class MAN.CATS altered");
  EXPECT_EQ(scalar("update cats set lives = 9, vet = 'MAN.PERSONS#4' where friend is null"),
            "INT:1");
  EXPECT_EQ(process("select name, lives, vet.city from cats order by name"),
            (Strings{"NAME|LIVES|VET.CITY", "Kit||", "Tom|9|Trondheim"}));

  EXPECT_EQ(scalar("alter class cats drop (lives, owner)"), "STR:Class MAN.CATS altered");
  EXPECT_EQ(process("select * from cats order by name"),
            (Strings{"NAME|FRIEND|VET", "Kit|1|", "Tom||4"}));

  EXPECT_EQ(scalar("drop class cats"), "STR:Class MAN.CATS dropped");
  EXPECT_EQ(translationError("select name from cats"),
            "ORA-20002: VORN: unknown class CATS at position 18");
  EXPECT_EQ(rows(*man_, "select count(*) from user_sequences where sequence_name = 'CATS_SEQ'"),
            (Strings{"0"}));
  // The name is free again, for a class and its sequence.
  EXPECT_EQ(scalar("create class cats (name string)"), "STR:Class MAN.CATS created");
}

TEST_F(Oddl, DeletingAnObjectEmptiesTheReferencesToIt) {
  process("create class vets (name string(20))");
  process("create class pets (name string(20), vet ref vets)");
  process("insert into vets values ('Dr. Who')");
  process("insert into pets values ('Tom', (vets where name = 'Dr. Who'))");
  EXPECT_EQ(scalar("delete from vets"), "INT:1");
  EXPECT_EQ(process("select name, vet, vet.name from pets"),
            (Strings{"NAME|VET|VET.NAME", "Tom||"}));
}

TEST_F(Oddl, ClassesInOtherSchemasAndReferencesToOrdinaryTables) {
  EXPECT_EQ(translate("create class scott.projects (title string(40), dept ref scott.dept)"),
            "/*:STR*/ begin execute immediate 'create table SCOTT.PROJECTS (OID number primary "
            "key, TITLE varchar2(40), DEPT number(2) references SCOTT.DEPT (DEPTNO) on delete "
            "set null)'; execute immediate 'create sequence SCOTT.PROJECTS_SEQ'; :res := 'Class "
            "SCOTT.PROJECTS created'; end;");
  process("create class scott.projects (title string(40), dept ref scott.dept)");
  EXPECT_EQ(processAs(*s_, "insert into projects (title, dept) values ('Audit', 'SCOTT.DEPT#10')"),
            (Strings{"INT:1"}));
  EXPECT_EQ(processAs(*s_, "select title, dept.dname from projects"),
            (Strings{"TITLE|DEPT.DNAME", "Audit|ACCOUNTING"}));
  // A class whose objects nobody refers to drops, an ordinary table too.
  EXPECT_EQ(processAs(*s_, "drop class salgrade"), (Strings{"STR:Class SCOTT.SALGRADE dropped"}));
}

TEST_F(Oddl, WhatWouldFailHalfWayIsRefusedBeforeAnyDdl) {
  man_->execute("create sequence lions_seq");
  EXPECT_EQ(translationError("create class dogs (x string)"),
            "ORA-20003: ODDL: the name MAN.DOGS is in use already at position 14");
  EXPECT_EQ(translationError("create class lions (x string)"),
            "ORA-20003: ODDL: the sequence of the class's keys, MAN.LIONS_SEQ, would take a name "
            "in use already at position 14");
  EXPECT_EQ(rows(*man_, "select count(*) from user_tables where table_name = 'LIONS'"),
            (Strings{"0"}));
  EXPECT_EQ(translationError("create class a234567890123456789012345678 (x string)"),
            "ORA-20003: ODDL: a class name has at most 26 characters (the sequence of its keys "
            "adds _SEQ) at position 14");
  EXPECT_EQ(translationError("create class nobody.cats (x string)"),
            "ORA-20002: ODDL: unknown schema NOBODY at position 14");
  EXPECT_EQ(translationError("create class cats (name string, oid integer)"),
            "ORA-20003: ODDL: OID is the key attribute every class has at position 33");
  EXPECT_EQ(translationError("create class cats (name string, NAME date)"),
            "ORA-20003: ODDL: attribute NAME is given twice at position 33");
  EXPECT_EQ(translationError("create class cats (pet ref unicorns)"),
            "ORA-20002: ODDL: unknown class UNICORNS at position 28");
  EXPECT_EQ(translationError("create class cats (bonus ref scott.bonus)"),
            "ORA-20003: ODDL: class SCOTT.BONUS has no key, so nothing can refer to its objects "
            "at position 30");
  EXPECT_EQ(translationError("drop class persons"),
            "ORA-20003: ODDL: class MAN.PERSONS is referred to by MAN.DOGS.OWNER; drop that "
            "attribute or its class first at position 12");
  EXPECT_EQ(translationErrorAs(*s_, "drop class dept"),
            "ORA-20003: ODDL: class SCOTT.DEPT is referred to by SCOTT.EMP.DEPTNO; drop that "
            "attribute or its class first at position 12");
  EXPECT_EQ(translationError("drop class unicorns"),
            "ORA-20002: ODDL: unknown class UNICORNS at position 12");
  EXPECT_EQ(translationError("alter class dogs add (name string)"),
            "ORA-20003: ODDL: class MAN.DOGS has an attribute NAME already at position 23");
  EXPECT_EQ(translationError("alter class dogs drop (age, oid)"),
            "ORA-20003: ODDL: OID is the key of class MAN.DOGS and stays at position 29");
  EXPECT_EQ(translationError("alter class dogs drop (age, color)"),
            "ORA-20002: ODDL: unknown attribute COLOR of class MAN.DOGS at position 29");
  EXPECT_EQ(translationError("alter class dogs drop (age, age)"),
            "ORA-20003: ODDL: attribute AGE is named twice at position 29");
  EXPECT_EQ(translationErrorAs(*s_, "alter class bonus drop (ename, job, sal, comm)"),
            "ORA-20003: ODDL: a class keeps at least one attribute at position 42");
  // A view is no class ODDL changes.
  man_->execute("create view old_dogs as select * from dogs where age > 8");
  EXPECT_EQ(translationError("drop class old_dogs"),
            "ORA-20003: ODDL: MAN.OLD_DOGS is a view, not a class at position 12");
}

TEST_F(Oddl, TypesAndTheirSyntax) {
  EXPECT_EQ(translationError("create class cats (a string(0))"),
            "ORA-20001: ODDL: a string's length is a whole number from 1 to 4000, not 0 at "
            "position 29");
  EXPECT_EQ(translationError("create class cats (a string(4001))"),
            "ORA-20001: ODDL: a string's length is a whole number from 1 to 4000, not 4001 at "
            "position 29");
  EXPECT_EQ(translationError("create class cats (a blob)"),
            "ORA-20001: ODDL: expected a type (string, integer, number, date or ref <class>), "
            "found blob at position 22");
  EXPECT_EQ(translationError("create class cats"),
            "ORA-20001: ODDL: expected '(', found the end of the statement at position 18");
  EXPECT_EQ(translationError("create table cats (a string)"),
            "ORA-20001: ODDL: expected CLASS, found table at position 8");
  EXPECT_EQ(translationError("alter class dogs rename to cats"),
            "ORA-20001: ODDL: expected ADD or DROP, found rename at position 18");
  // One attribute may go without parentheses; names and types in any case.
  EXPECT_EQ(scalar("ALTER CLASS Dogs ADD Color STRING(10)"), "STR:Class MAN.DOGS altered");
  EXPECT_EQ(scalar("alter class dogs drop color"), "STR:Class MAN.DOGS altered");
}

}  // namespace
}  // namespace vorn::server::test
