// The blocks the Vorn library sends, run as written: the dataset's table
// name resolution with its nested handlers and "return;", its check
// constraint block, its default values block, and the statement
// processor's translator block over PARSER and a language package.
#include "plsql_support.h"

namespace vorn::server::test {
namespace {

using LibraryBlocks = PlsqlTest;

// The library's statement lines are joined with CR LF.
std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i)
    text += (i ? "\r\n" : "") + lines[i];
  return text;
}

const std::vector<std::string> kResolveName = {
    "begin",
    "  begin",
    "    select user, table_name into :table_owner, :table_name",
    "      from sys.user_tables where table_name = :name;",
    "  exception when no_data_found then",
    "    begin",
    "      select table_owner, table_name into :table_owner, :table_name",
    "        from sys.user_synonyms where synonym_name = :name;",
    "    exception when no_data_found then",
    "      begin",
    "        select table_owner, table_name into :table_owner, :table_name",
    "          from sys.all_synonyms where owner = 'PUBLIC' and synonym_name = :name; return;",
    "      exception when no_data_found then",
    "        :table_owner := null; :table_name := null;",
    "      end;",
    "    end;",
    "  end;",
    "end;"};

std::string resolve(Session& s, const std::string& name) {
  auto st = s.prepare(joined(kResolveName));
  st->bind(":table_owner", Value());
  st->bind(":table_name", Value());
  st->bind(":name", Value::text(name));
  st->execute();
  const Value& owner = st->boundValue(1);
  const Value& table = st->boundValue(2);
  return (owner.isNull() ? "<null>" : owner.asText()) + "." +
         (table.isNull() ? "<null>" : table.asText());
}

TEST_F(LibraryBlocks, TableNamesResolveThroughTablesAndSynonyms) {
  run("create synonym staff for emp");
  auto sys = db_->logon("system", "manager");
  sys->execute("create table system.rates (r number)");
  sys->execute("create public synonym rates for system.rates");
  EXPECT_EQ(resolve(*s_, "EMP"), "SCOTT.EMP");
  EXPECT_EQ(resolve(*s_, "STAFF"), "SCOTT.EMP");
  EXPECT_EQ(resolve(*s_, "RATES"), "SYSTEM.RATES");
  EXPECT_EQ(resolve(*s_, "NOWHERE"), "<null>.<null>");
}

TEST_F(LibraryBlocks, CheckConstraintBlockReportsTheViolation) {
  auto check = [&](const std::vector<std::string>& lines, const Value& sal,
                   const std::string& rowid) {
    auto st = s_->prepare(joined(lines));
    for (size_t i = 0; i < st->placeholders().size(); ++i) {
      const std::string& n = st->placeholders()[i].name;
      int pos = static_cast<int>(i + 1);
      if (n == "SAL") st->bind(pos, sal, TypeKind::Number);
      if (n == "COMM") st->bind(pos, Value(), TypeKind::Number);
      if (n == "ZUQ__ROWID") st->bind(pos, Value::text(rowid));
      if (n == "ERROR") st->bind(pos, Value(), TypeKind::Number);
    }
    st->execute();
    for (size_t i = 0; i < st->placeholders().size(); ++i) {
      if (st->placeholders()[i].name == "ERROR") return st->boundValue(static_cast<int>(i + 1));
    }
    return Value();
  };
  const std::vector<std::string> simple = {
      "begin",  "  if not (:SAL > 0) then", "    :error := 2290;",
      "  else", "    :error := 0;",         "  end if;",
      "end;"};
  EXPECT_EQ(check(simple, Value::integer(100), ""), Value::integer(0));
  EXPECT_EQ(check(simple, Value::integer(-5), ""), Value::integer(2290));
  // A NULL passes a check constraint (NOT of NULL is not true).
  EXPECT_EQ(check(simple, Value(), ""), Value::integer(0));
  // A column the dataset lacks is read from the stored row.
  std::string rowid = one(*s_, "select rowid from emp where empno = 7654");  // MARTIN, comm 1400
  const std::vector<std::string> withSelect = {
      "begin",
      "  select COMM into :COMM from EMP where rowid = :zuq__rowid;",
      "  if not (:COMM <= :SAL) then",
      "    :error := 2290;",
      "  else",
      "    :error := 0;",
      "  end if;",
      "exception",
      "  when others then :error := 0;",
      "end;"};
  EXPECT_EQ(check(withSelect, Value::integer(1250), rowid), Value::integer(2290));
  EXPECT_EQ(check(withSelect, Value::integer(2000), rowid), Value::integer(0));
  // A row that is gone: the handler says nothing is wrong.
  EXPECT_EQ(check(withSelect, Value::integer(1), "AAAAAAAABAAAAAAAAA"), Value::integer(0));
}

TEST_F(LibraryBlocks, DefaultValuesBlockEvaluatesTheDefaults) {
  run("create table orders (id number, placed date default sysdate, "
      "status varchar2(10) default 'NEW', qty number default 2 * 3, who varchar2(30) default "
      "user)");
  // The defaults as the library reads them, in one block.
  auto q = s_->prepare(
      "select column_name, data_default from sys.all_tab_columns\n"
      "where owner = :owner and table_name = :table_name\nand data_default is not null");
  q->bind(":owner", Value::text("SCOTT"));
  q->bind(":table_name", Value::text("ORDERS"));
  q->execute();
  std::vector<std::string> lines = {"begin"};
  std::vector<std::string> columns;
  while (q->fetch()) {
    columns.emplace_back(q->textValue(0));
    lines.push_back("  :" + columns.back() + " := " + std::string(q->textValue(1)) + ";");
  }
  lines.push_back("end;");
  ASSERT_EQ(columns.size(), 4u);
  auto block = s_->prepare(joined(lines));
  for (const std::string& c : columns) {
    block->bind(":" + c, Value(),
                c == "PLACED" ? TypeKind::Date
                : c == "QTY"  ? TypeKind::Number
                              : TypeKind::Varchar2);
  }
  block->execute();
  std::map<std::string, Value> values;
  for (size_t i = 0; i < block->placeholders().size(); ++i)
    values[block->placeholders()[i].name] = block->boundValue(static_cast<int>(i + 1));
  EXPECT_EQ(values["STATUS"], Value::text("NEW"));
  EXPECT_EQ(values["QTY"], Value::integer(6));
  EXPECT_EQ(values["WHO"], Value::text("SCOTT"));
  EXPECT_EQ(values["PLACED"].kind(), Value::Kind::Date);
}

std::string translatorBlock(const std::string& language, const std::string& statement) {
  return "begin parser.LoadLanguage('" + language + "'); parser.Parse('" + statement +
         "'); :result := " + language + ".result; end;";
}

TEST_F(LibraryBlocks, TranslatorBlockRunsThroughBuiltinPackages) {
  auto st = s_->prepare(translatorBlock("VORN", "select ename from emp"));
  st->bind(":result", Value());
  st->execute();
  EXPECT_EQ(st->boundValue(1), Value::text("/*:DS*/ select t0.ENAME from SCOTT.EMP t0"));
  auto ddl = s_->prepare(translatorBlock("ODDL", "drop class salgrade"));
  ddl->bind(":result", Value());
  ddl->execute();
  EXPECT_EQ(ddl->boundValue(1),
            Value::text("/*:STR*/ begin execute immediate 'drop table SCOTT.SALGRADE'; "
                        ":res := 'Class SCOTT.SALGRADE dropped'; end;"));
  // The translator's errors and an empty language are database errors.
  auto bad = s_->prepare(translatorBlock("ODML", "delete from nowhere"));
  bad->bind(":result", Value());
  try {
    bad->execute();
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.message(),
              "ORA-20002: ODML: unknown class NOWHERE at position 13\nORA-06512: at line 1");
  }
  auto empty = s_->prepare(translatorBlock("", "x"));
  empty->bind(":result", Value());
  try {
    empty->execute();
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 6550);
    EXPECT_EQ(e.offset(), static_cast<int>(translatorBlock("", "x").find(".result")));
  }
}

}  // namespace
}  // namespace vorn::server::test
