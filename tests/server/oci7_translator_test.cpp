// The object query translator through the version 7 calls: the front end's
// block parsed and executed on a cursor data area with :result bound by
// obndra (2000 characters, the version 7 string limit), then the translated
// text run by its tag: a query described and fetched, or a scalar block
// with :res bound.
#include "oci7_support.h"
#include "translator_front_end.h"

namespace vorn::server::oci_test {
namespace {

using test::frontEndBlock;
using test::languageOf;
using test::resultKindOf;
using Strings = std::vector<std::string>;

class Oci7TranslatorTest : public Oci7CursorAreaTest {
 protected:
  // The translated text, or the library's message when the block fails.
  std::string translate(const std::string& statement) {
    char result[2001] = "";
    sb2 indicator = 0;
    if (parse(frontEndBlock(languageOf(statement), statement)) != 0) return message(cda_.rc);
    bind(":result", result, sizeof result, SQLT_STR, &indicator);
    if (oci7().oexec(&cda_) != 0) return message(cda_.rc);
    return indicator == -1 ? "<null>" : result;
  }

  Strings columnNames() {
    Strings names;
    for (sword position = 1;; ++position) {
      sb4 size = 0, nameLength = 30, displaySize = 0;
      sb2 type = 0, precision = 0, scale = 0, nullable = 0;
      sb1 name[30];
      if (oci7().odescr(&cda_, position, &size, &type, name, &nameLength, &displaySize, &precision,
                        &scale, &nullable) != 0) {
        break;
      }
      names.emplace_back(reinterpret_cast<char*>(name), static_cast<size_t>(nameLength));
    }
    return names;
  }

  Strings process(const std::string& statement) {
    std::string text = translate(statement);
    if (text.rfind("ORA-", 0) == 0) return {text};
    std::string kind = resultKindOf(text);
    if (kind == "DS") {
      if (parse(text) != 0) return {message(cda_.rc)};
      std::string header;
      for (const std::string& n : columnNames())
        header += (header.empty() ? "" : "|") + n;
      Strings out{header};
      for (const std::string& row : rows7(text))
        out.push_back(row);
      return out;
    }
    if (parse(text) != 0) return {message(cda_.rc)};
    int number = 0;
    char string[2001] = "";
    sb2 indicator = 0;
    if (kind == "INT") {
      bind(":res", &number, sizeof number, SQLT_INT, &indicator);
    } else {
      bind(":res", string, sizeof string, SQLT_STR, &indicator);
    }
    if (oci7().oexec(&cda_) != 0) return {kind + ":" + message(cda_.rc)};
    if (indicator == -1) return {kind + ":<null>"};
    return {kind + ":" + (kind == "INT" ? std::to_string(number) : std::string(string))};
  }
};

TEST_F(Oci7TranslatorTest, QueriesAreDatasetsNamedByTheirPaths) {
  EXPECT_EQ(process("select name, friend.name, friend.friend.name from man.dogs "
                    "where friend.owner.city = 'Bergen' order by name"),
            (Strings{"NAME|FRIEND.NAME|FRIEND.FRIEND.NAME", "Lucy|Charlie|", "Luna|Bella|Rex",
                     "Rex|Bella|Rex"}));
  EXPECT_EQ(process("select deptno.dname, count(*) from emp group by deptno.dname "
                    "order by deptno.dname"),
            (Strings{"DEPTNO.DNAME|COUNT(*)", "ACCOUNTING|3", "RESEARCH|5", "SALES|6"}));
}

TEST_F(Oci7TranslatorTest, EveryScalarKindThroughRes) {
  EXPECT_EQ(process("select count(*) from emp where deptno.loc = 'CHICAGO'"), (Strings{"INT:6"}));
  EXPECT_EQ(process("select min(ename) from emp where deptno.dname = 'RESEARCH'"),
            (Strings{"STR:ADAMS"}));
  EXPECT_EQ(process("select ref from man.persons where name = 'Dave'"),
            (Strings{"REF:MAN.PERSONS#4"}));
  EXPECT_EQ(process("create class notes (text string(100), about ref dept)"),
            (Strings{"STR:Class SCOTT.NOTES created"}));
  EXPECT_EQ(process("insert into notes values ('Moving', (dept where loc = 'BOSTON'))"),
            (Strings{"INT:1"}));
  EXPECT_EQ(process("select text, about.dname from notes"),
            (Strings{"TEXT|ABOUT.DNAME", "Moving|OPERATIONS"}));
  EXPECT_EQ(process("delete from notes where about.loc = 'BOSTON'"), (Strings{"INT:1"}));
}

TEST_F(Oci7TranslatorTest, TranslatorErrorsReachTheCursorArea) {
  EXPECT_EQ(process("select ename from emp where sal > 'high'"),
            (Strings{"ORA-20003: VORN: cannot compare 'high' (a string) with SAL (a number) at "
                     "position 35\nORA-06512: at line 1\n"}));
  EXPECT_EQ(20003, cda_.rc);
}

}  // namespace
}  // namespace vorn::server::oci_test
