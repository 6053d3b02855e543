// The statement interface the call-interface layer builds on: statement
// types and function codes, placeholders and binds, describe, typed fetch,
// ROWIDs, RETURNING, error offsets and the library's own statement texts.
#include "engine_support.h"
#include "value/OraDate.h"

namespace vorn::server::test {
namespace {

class Statements : public DemoDatabase {};

TEST_F(Statements, ReportStatementTypeAndFunctionCode) {
  auto s = scott();
  struct Case {
    const char* sql;
    StatementType type;
    int code;
  };
  const Case cases[] = {
      {"select * from dual", StatementType::Select, 4},
      {"(select 1 from dual) union select 2 from dual", StatementType::Select, 4},
      {"update emp set sal = 1", StatementType::Update, 5},
      {"delete from emp", StatementType::Delete, 9},
      {"insert into bonus values (1, 2, 3, 4)", StatementType::Insert, 3},
      {"create table x (a number)", StatementType::Create, 1},
      {"create or replace view v as select 1 x from dual", StatementType::Create, 10},
      {"create sequence q", StatementType::Create, 13},
      {"drop table x", StatementType::Drop, 8},
      {"drop sequence q", StatementType::Drop, 16},
      {"alter table emp add (x number)", StatementType::Alter, 26},
      {"alter session set nls_date_format = 'DD'", StatementType::Alter, 52},
      {"alter user scott identified by tiger", StatementType::Alter, 53},
      {"begin null; end;", StatementType::Begin, 34},
      {"declare x number; begin null; end;", StatementType::Declare, 34},
      {"commit", StatementType::Unknown, 54},
      {"rollback", StatementType::Unknown, 55},
      {"savepoint a", StatementType::Unknown, 56},
      {"create public synonym s for emp", StatementType::Create, 30},
      {"create unique index i on emp (ename)", StatementType::Create, 20},
      {"drop public synonym s", StatementType::Drop, 31},
      {"truncate table bonus", StatementType::Unknown, 85},
      {"create or replace directory d as '/tmp'", StatementType::Create, 157},
      {"drop directory d", StatementType::Drop, 158},
  };
  for (const Case& c : cases) {
    auto st = s->prepare(c.sql);
    EXPECT_EQ(st->type(), c.type) << c.sql;
    EXPECT_EQ(st->sqlFunctionCode(), c.code) << c.sql;
  }
}

TEST_F(Statements, AnalysisNeedsNoSessionAndKeepsWhatTheTextIs) {
  struct Case {
    const char* sql;
    StatementType type;
    SqlFunctionCode code;
    bool plsql;
  };
  const Case cases[] = {
      {"create or replace function f return number is begin return 1; end;",
       StatementType::Create, SqlFunctionCode::CreateFunction, true},
      {"create package p as function f return number; end;", StatementType::Create,
       SqlFunctionCode::CreatePackage, true},
      {"create package body p as end;", StatementType::Create, SqlFunctionCode::CreatePackageBody,
       true},
      {"create trigger t before insert on emp begin null; end;", StatementType::Create,
       SqlFunctionCode::CreateTrigger, true},
      {"drop package body p", StatementType::Drop, SqlFunctionCode::DropPackageBody, false},
      {"declare x number; begin null; end;", StatementType::Declare, SqlFunctionCode::PlsqlBlock,
       true},
      {"select :a, :a from dual", StatementType::Select, SqlFunctionCode::Select, false},
      {"frobnicate", StatementType::Unknown, SqlFunctionCode::None, false},
  };
  for (const Case& c : cases) {
    auto a = analyseStatement(c.sql);
    EXPECT_EQ(a->type, c.type) << c.sql;
    EXPECT_EQ(a->function, c.code) << c.sql;
    EXPECT_EQ(a->plsql, c.plsql) << c.sql;
  }
  // SQL lists every occurrence, PL/SQL each name once; RETURNING targets
  // are marked.
  EXPECT_EQ(analyseStatement("select :a, :a from dual")->placeholders.size(), 2u);
  EXPECT_EQ(analyseStatement("begin :a := :a + 1; end;")->placeholders.size(), 1u);
  auto dml = analyseStatement("update emp set sal = :s where empno = :e returning sal into :r");
  ASSERT_EQ(dml->placeholders.size(), 3u);
  EXPECT_FALSE(dml->placeholders[1].returningTarget);
  EXPECT_TRUE(dml->placeholders[2].returningTarget);
  // A text that does not tokenize keeps its error for the engine.
  auto bad = analyseStatement("select 'open from dual");
  EXPECT_FALSE(bad->tokenized());
  EXPECT_EQ(bad->type, StatementType::Unknown);
  std::string literal(4001, 'x');
  EXPECT_FALSE(analyseStatement("select '" + literal + "' from dual")->tokenized());
  EXPECT_TRUE(analyseStatement("begin null; end; -- '" + literal + "'")->tokenized());
  EXPECT_TRUE(analyseStatement("declare v varchar2(5000) := '" + literal + "'; begin null; end;")
                  ->tokenized());
}

TEST_F(Statements, PlaceholdersAreListedInOrderAndBoundByNameOrPosition) {
  auto s = scott();
  auto st = s->prepare("select ename from emp where deptno = :d and sal > :min or deptno = :d");
  ASSERT_EQ(st->placeholders().size(), 3u);
  EXPECT_EQ(st->placeholders()[0].name, "D");
  EXPECT_EQ(st->placeholders()[1].name, "MIN");
  EXPECT_EQ(st->placeholders()[0].offset, 37);
  st->bind(":d", Value::integer(10));  // every occurrence of :D
  st->bind(2, Value::integer(2000));
  st->execute();
  std::vector<std::string> names;
  while (st->fetch())
    names.push_back(std::string(st->textValue(0)));
  EXPECT_EQ(names.size(), 3u);
  EXPECT_THROW(st->bind("nosuch", Value::integer(1)), OraError);
  try {
    st->bind(4, Value::integer(1));
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 1036);
  }
}

TEST_F(Statements, UnboundPlaceholderIs1008) {
  auto s = scott();
  auto st = s->prepare("select ename from emp where empno = :e");
  try {
    st->execute();
    FAIL();
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 1008);
  }
}

TEST_F(Statements, BindTypesDecideConversions) {
  auto s = scott();
  auto st =
      s->prepare("select count(*) from emp where hiredate > :d and sal > :n and ename like :t");
  st->bind(1, Value::date(OraDate{1981, 6, 1, 0, 0, 0}.toSeconds()));
  st->bind(2, Value::text("1000"));  // text compared with a NUMBER column
  st->bind(3, Value::text("%A%"));
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(st->intValue(0), 3);          // MARTIN, CLARK, ADAMS
  st->bind(1, Value::text("01-JUN-81"));  // text through NLS_DATE_FORMAT
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(st->intValue(0), 3);
  st->bind(2, Value::text("x"));
  EXPECT_THROW(
      {
        st->execute();
        st->fetch();
      },
      OraError);
}

TEST_F(Statements, NullAndEmptyTextBindsAreNull) {
  auto s = scott();
  auto st = s->prepare("select nvl(:a, 'null'), nvl(:b, 'null'), :c + 1 from dual");
  st->bind(1, Value::text(""));
  st->bind(2, Value::null());
  st->bind(3, Value::null(), TypeKind::Number);
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(st->textValue(0), "null");
  EXPECT_EQ(st->textValue(1), "null");
  EXPECT_TRUE(st->isNull(2));
  EXPECT_EQ(st->describe()[2].typeCode, 2);
}

TEST_F(Statements, DescribeReportsOracleTypesWithoutRows) {
  auto s = scott();
  s->execute(
      "create table alltypes (n number, n72 number(7,2), n5 number(5), i integer, f float, "
      "f10 float(10), v varchar2(20) not null, nv nvarchar2(10), c char(3), d date, r raw(16), "
      "l long, cl clob, b blob)");
  auto st = s->prepare(
      "select a.*, rowid, n + 1, 'abc', sysdate, user, to_char(d), upper(v) "
      "from alltypes a where 1 = 0");
  // Describing needs no execution.
  const auto& cols = st->describe();
  struct Want {
    const char* name;
    int code, size, precision, scale;
    bool nullable;
  };
  const Want want[] = {
      {"N", 2, 22, 0, -127, true},     {"N72", 2, 22, 7, 2, true},
      {"N5", 2, 22, 5, 0, true},       {"I", 2, 22, 38, 0, true},
      {"F", 2, 22, 126, -127, true},   {"F10", 2, 22, 10, -127, true},
      {"V", 1, 20, 0, 0, false},       {"NV", 1, 10, 0, 0, true},
      {"C", 96, 3, 0, 0, true},        {"D", 12, 7, 0, 0, true},
      {"R", 23, 16, 0, 0, true},       {"L", 8, 0, 0, 0, true},
      {"CL", 112, 4000, 0, 0, true},   {"B", 113, 4000, 0, 0, true},
      {"ROWID", 104, 10, 0, 0, true},  {"N+1", 2, 22, 0, -127, true},
      {"'ABC'", 96, 3, 0, 0, false},   {"SYSDATE", 12, 7, 0, 0, false},
      {"USER", 1, 30, 0, 0, false},    {"TO_CHAR(D)", 1, 75, 0, 0, true},
      {"UPPER(V)", 1, 20, 0, 0, true},
  };
  ASSERT_EQ(cols.size(), std::size(want));
  for (size_t i = 0; i < cols.size(); ++i) {
    EXPECT_EQ(cols[i].name, want[i].name) << i;
    EXPECT_EQ(cols[i].typeCode, want[i].code) << want[i].name;
    EXPECT_EQ(cols[i].dataSize, want[i].size) << want[i].name;
    EXPECT_EQ(cols[i].precision, want[i].precision) << want[i].name;
    EXPECT_EQ(cols[i].scale, want[i].scale) << want[i].name;
    if (i < 14) {
      EXPECT_EQ(cols[i].nullable, want[i].nullable) << want[i].name;
    }
  }
  auto agg = s->prepare("select count(*), sum(n72), max(v), min(n72) from alltypes");
  const auto& a = agg->describe();
  ASSERT_EQ(a.size(), 4u);
  EXPECT_EQ(a[0].name, "COUNT(*)");
  EXPECT_EQ(a[0].typeCode, 2);
  EXPECT_EQ(a[0].scale, -127);
  EXPECT_EQ(a[1].scale, -127);
  EXPECT_EQ(a[2].typeCode, 1);
  EXPECT_EQ(a[2].dataSize, 20);
  EXPECT_EQ(a[3].precision, 7);
}

TEST_F(Statements, DescribeOfAnUnknownTableIs942WithItsOffset) {
  auto s = scott();
  auto st = s->prepare("select a from nowhere");
  try {
    st->describe();
    FAIL();
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 942);
    EXPECT_EQ(e.offset(), 14);
  }
}

TEST_F(Statements, ErrorsCarryTheOffsetOfTheOffendingToken) {
  auto s = scott();
  struct Case {
    const char* sql;
    int code, offset;
  };
  const Case cases[] = {
      {"select ename frm emp", 923, 17},
      {"select nosuch from emp", 904, 7},
      {"select e.ename from emp e where e.bad = 1", 904, 32},
      {"select * from emp where", 936, 23},
      {"select * from emp;", 911, 17},
      {"select 'abc from dual", 1756, 7},
      {"selec 1 from dual", 900, 0},
      {"select * from emp where sal = (1", 907, 32},
      {"update emp set nosuch = 1", 904, 15},
      {"insert into nowhere values (1)", 942, 12},
  };
  for (const Case& c : cases) {
    try {
      auto st = s->prepare(c.sql);
      if (st->isQuery()) {
        st->describe();
      } else {
        st->execute();
      }
      ADD_FAILURE() << "no error: " << c.sql;
    } catch (const OraError& e) {
      EXPECT_EQ(e.code(), c.code) << c.sql;
      EXPECT_EQ(e.offset(), c.offset) << c.sql;
    }
  }
}

TEST_F(Statements, PathologicalNestingIsAnErrorNotACrash) {
  auto s = scott();
  std::string deep =
      "select " + std::string(5000, '(') + "1" + std::string(5000, ')') + " from dual";
  EXPECT_EQ(errorOf(*s, deep), 600);
  std::string chain = "select 1";
  for (int i = 0; i < 5000; ++i)
    chain += "+1";
  EXPECT_EQ(errorOf(*s, chain + " from dual"), 600);
  std::string unions = "select 1 from dual";
  for (int i = 0; i < 5000; ++i)
    unions += " union select 1 from dual";
  EXPECT_EQ(errorOf(*s, unions), 600);
  // Moderate statements are fine.
  EXPECT_EQ(one(*s, "select ((((1 + 2)))) * 3 from dual"), "9");
}

TEST_F(Statements, FetchDeliversTypedValues) {
  auto s = scott();
  auto st = s->prepare(
      "select empno, sal / 3, ename, hiredate, hextoraw('0aff'), comm from emp where empno = 7369");
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(st->valueKind(0), Value::Kind::Integer);
  EXPECT_EQ(st->intValue(0), 7369);
  EXPECT_EQ(st->valueKind(1), Value::Kind::Double);
  EXPECT_NEAR(st->doubleValue(1), 266.666666666667, 1e-9);
  EXPECT_EQ(st->value(2), Value::text("SMITH"));
  EXPECT_EQ(st->value(3), Value::date(OraDate{1980, 12, 17, 0, 0, 0}.toSeconds()));
  EXPECT_EQ(st->value(4), Value::raw(std::string("\x0a\xff", 2)));
  EXPECT_TRUE(st->isNull(5));
  EXPECT_FALSE(st->fetch());
  EXPECT_EQ(st->rowsFetched(), 1);
}

TEST_F(Statements, RowidRoundTrips) {
  auto s = scott();
  auto ins = s->prepare("insert into dept values (:n, 'X', 'Y')");
  ins->bind(1, Value::integer(77));
  EXPECT_EQ(ins->execute(), 1);
  ASSERT_TRUE(ins->lastRowid().has_value());
  RowidParts parts = *ins->lastRowid();
  std::string text = ins->lastRowidText();
  EXPECT_EQ(text.size(), 18u);
  EXPECT_EQ(rowidFromText(text), parts);
  // The object part is the table's object number from the dictionary.
  EXPECT_EQ(one(*s, "select object_id from user_objects where object_name = 'DEPT'"),
            std::to_string(parts.object));
  auto sel = s->prepare("select deptno, rowid from dept where rowid = :r");
  sel->bind(1, Value::text(text));
  sel->execute();
  ASSERT_TRUE(sel->fetch());
  EXPECT_EQ(sel->intValue(0), 77);
  EXPECT_EQ(sel->textValue(1), text);
  // The same row keeps its ROWID through an update; a delete reports it.
  auto upd = s->prepare("update dept set loc = 'Z' where deptno = 77");
  upd->execute();
  EXPECT_EQ(upd->lastRowidText(), text);
  auto del = s->prepare("delete from dept where rowid = :r");
  del->bind(1, Value::text(text));
  EXPECT_EQ(del->execute(), 1);
  EXPECT_EQ(del->lastRowidText(), text);
  // A well-formed rowid of another table finds nothing; a malformed one is
  // ORA-01410.
  auto other = s->prepare("select count(*) from dept where rowid = :r");
  other->bind(1, Value::text(rows(*s, "select rowid from emp where empno = 7369")[0]));
  other->execute();
  ASSERT_TRUE(other->fetch());
  EXPECT_EQ(other->intValue(0), 0);
  other->bind(1, Value::text("AAAA"));
  other->execute();
  EXPECT_THROW(other->fetch(), OraError);
}

TEST_F(Statements, RowidPartsMapSqliteRowids) {
  RowidParts p = rowidParts(1234, (int64_t{5} << 16) | 7);
  EXPECT_EQ(p.object, 1234u);
  EXPECT_EQ(p.file, 1u);
  EXPECT_EQ(p.block, 5u);
  EXPECT_EQ(p.row, 7u);
  EXPECT_EQ(sqliteRowid(p), (int64_t{5} << 16) | 7);
}

TEST_F(Statements, ReturningIntoDeliversValuesOfEveryAffectedRow) {
  auto s = scott();
  auto ins = s->prepare(
      "INSERT INTO EMP\r\n (EMPNO, ENAME)\r\nVALUES\r\n (:EMPNO, :ENAME)\r\n"
      "RETURNING ROWID, EMPNO * 2 INTO :ZUQ__ROWID, :TWICE");
  ins->bind("EMPNO", Value::integer(8100));
  ins->bind("ENAME", Value::text("NEW"));
  EXPECT_EQ(ins->execute(), 1);
  ASSERT_EQ(ins->returningRows().size(), 1u);
  EXPECT_EQ(ins->returningRows()[0][0], Value::text(ins->lastRowidText()));
  EXPECT_EQ(ins->returningRows()[0][1], Value::integer(16200));
  ASSERT_EQ(ins->returningSlots().size(), 2u);
  EXPECT_EQ(ins->placeholders()[static_cast<size_t>(ins->returningSlots()[0])].name, "ZUQ__ROWID");
  auto upd =
      s->prepare("update emp set sal = sal + 1 where deptno = 10 returning ename, sal into :a, :b");
  EXPECT_EQ(upd->execute(), 3);
  EXPECT_EQ(upd->returningRows().size(), 3u);
  auto del = s->prepare("delete from emp where empno = 8100 returning ename into :n");
  del->execute();
  ASSERT_EQ(del->returningRows().size(), 1u);
  EXPECT_EQ(del->returningRows()[0][0], Value::text("NEW"));
}

TEST_F(Statements, RepeatedExecutionWithNewBindsStopsAtTheFailingRow) {
  auto s = scott();
  auto ins = s->prepare("insert into dept (deptno, dname) values (:1, :2)");
  const int64_t keys[] = {60, 70, 10, 80};
  int done = 0;
  try {
    for (int64_t k : keys) {
      ins->bind(1, Value::integer(k));
      ins->bind(2, Value::text(std::string("D").append(std::to_string(k))));
      ins->execute();
      ++done;
    }
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 1);
  }
  EXPECT_EQ(done, 2);
  EXPECT_EQ(one(*s, "select count(*) from dept"), "6");
}

TEST_F(Statements, LongValuesTravelWhole) {
  auto s = scott();
  s->execute("create table docs (id number, body long)");
  std::string big(100000, 'x');
  big[99999] = 'y';
  auto ins = s->prepare("insert into docs values (1, :b)");
  ins->bind(1, Value::text(big));
  ins->execute();
  auto sel = s->prepare("select body from docs");
  sel->execute();
  ASSERT_TRUE(sel->fetch());
  EXPECT_EQ(sel->textValue(0).size(), big.size());
  EXPECT_EQ(sel->textValue(0).back(), 'y');
}

TEST_F(Statements, NlsDateFormatGovernsImplicitConversions) {
  auto s = scott();
  s->execute("alter session set nls_date_format = 'YYYY-MM-DD'");
  EXPECT_EQ(one(*s, "select to_char(hiredate) from emp where empno = 7369"), "1980-12-17");
  EXPECT_EQ(one(*s, "select count(*) from emp where hiredate = '1981-12-03'"), "2");
  EXPECT_EQ(errorOf(*s, "alter session set nls_date_format = 'BAD'"), 1821);
  EXPECT_EQ(one(*s, "select to_char(hiredate) from emp where empno = 7369"), "1980-12-17");
}

// The dictionary statements of the dataset, as the library sends them.
TEST_F(Statements, DictionaryStatementsOfTheLibraryRunWithBinds) {
  auto s = scott();
  auto cons = s->prepare(
      "select constraint_name, column_name from sys.all_cons_columns\r\n"
      "where owner = :owner and table_name = :table_name\r\n"
      "and constraint_name not like 'SYS_C%'\r\n"
      "order by constraint_name");
  cons->bind("owner", Value::text("SCOTT"));
  cons->bind("table_name", Value::text("EMP"));
  cons->execute();
  std::vector<std::string> got;
  while (cons->fetch())
    got.push_back(rowText(*cons));
  EXPECT_EQ(got, (std::vector<std::string>{"FK_DEPTNO|DEPTNO", "PK_EMP|EMPNO"}));

  auto detail = s->prepare(
      "select constraint_type, r_constraint_name, r_owner, search_condition\r\n"
      "  from sys.all_constraints\r\n"
      " where constraint_name = :constraint_name and owner = :owner\r\n"
      "   and status = 'ENABLED'");
  detail->bind("constraint_name", Value::text("FK_DEPTNO"));
  detail->bind("owner", Value::text("SCOTT"));
  detail->execute();
  ASSERT_TRUE(detail->fetch());
  EXPECT_EQ(rowText(*detail), "R|PK_DEPT|SCOTT|");
  // SEARCH_CONDITION is a LONG, as in Oracle.
  EXPECT_EQ(detail->describe()[3].typeCode, 8);

  auto link = s->prepare(
      "select fk.constraint_name fkname, pk.constraint_name pkname\r\n"
      "  from sys.all_constraints fk, sys.all_constraints pk\r\n"
      " where fk.constraint_type = 'R'\r\n"
      "   and fk.owner = :fk_owner and fk.table_name = :fk_table_name\r\n"
      "   and pk.constraint_name = fk.r_constraint_name\r\n"
      "   and pk.owner = :pk_owner and pk.table_name = :pk_table_name");
  link->bind("fk_owner", Value::text("SCOTT"));
  link->bind("fk_table_name", Value::text("EMP"));
  link->bind("pk_owner", Value::text("SCOTT"));
  link->bind("pk_table_name", Value::text("DEPT"));
  link->execute();
  ASSERT_TRUE(link->fetch());
  EXPECT_EQ(rowText(*link), "FK_DEPTNO|PK_DEPT");

  auto defaults = s->prepare(
      "select column_name, data_default from sys.all_tab_columns\r\n"
      "where owner = :owner and table_name = :table_name\r\n"
      "and data_default is not null");
  s->execute("create table withdef (a number default 5, b date default sysdate, c number)");
  defaults->bind("owner", Value::text("SCOTT"));
  defaults->bind("table_name", Value::text("WITHDEF"));
  defaults->execute();
  got.clear();
  while (defaults->fetch())
    got.push_back(rowText(*defaults));
  EXPECT_EQ(got, (std::vector<std::string>{"A|5", "B|sysdate"}));

  auto names = s->prepare(
      "select owner, table_name from all_tables\r\nwhere owner = user and table_name = :name");
  names->bind("name", Value::text("EMP"));
  names->execute();
  ASSERT_TRUE(names->fetch());
  EXPECT_EQ(rowText(*names), "SCOTT|EMP");
}

TEST_F(Statements, DatasetRecordStatementsRunWithBinds) {
  auto s = scott();
  std::string rowid = rows(*s, "select rowid from emp where empno = 7369")[0];
  auto lock = s->prepare("select * from EMP where rowid = :zuq__rowid\r\nfor update nowait");
  lock->bind("ZUQ__ROWID", Value::text(rowid));
  lock->execute();
  ASSERT_TRUE(lock->fetch());
  EXPECT_EQ(lock->textValue(1), "SMITH");
  auto refresh = s->prepare(
      "select e.*, e.rowid from emp e where (deptno = :d)\r\nand\r\n(E.rowid = :zuq__rowid)\r\n"
      "for update of E.EMPNO nowait");
  refresh->bind("D", Value::integer(20));
  refresh->bind("ZUQ__ROWID", Value::text(rowid));
  refresh->execute();
  ASSERT_TRUE(refresh->fetch());
  EXPECT_EQ(refresh->textValue(8), rowid);
  auto check = s->prepare("select 'x' from EMP where rowid <> :zuq__rowid\r\nand EMPNO = :EMPNO");
  check->bind("ZUQ__ROWID", Value::text(rowid));
  check->bind("EMPNO", Value::integer(7369));
  check->execute();
  EXPECT_FALSE(check->fetch());
  auto upd =
      s->prepare("UPDATE EMP SET\r\nENAME = :ENAME, COMM = NULL\r\nWHERE ROWID = :ZUQ__ROWID");
  upd->bind("ENAME", Value::text("SMYTHE"));
  upd->bind("ZUQ__ROWID", Value::text(rowid));
  EXPECT_EQ(upd->execute(), 1);
  auto qbe = s->prepare(
      "select ename from emp where HIREDATE >= :zuq__qbe5 and HIREDATE < :zuq__qbe5 + 1");
  qbe->bind("zuq__qbe5", Value::date(OraDate{1981, 12, 3, 0, 0, 0}.toSeconds()));
  qbe->execute();
  int n = 0;
  while (qbe->fetch())
    ++n;
  EXPECT_EQ(n, 2);
  auto del = s->prepare("DELETE FROM EMP WHERE ROWID = :ZUQ__ROWID");
  del->bind(1, Value::text(rowid));
  EXPECT_EQ(del->execute(), 1);
  EXPECT_EQ(del->execute(), 0);
}

}  // namespace
}  // namespace vorn::server::test
