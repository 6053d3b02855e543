// The translator's PARSER package: choosing a language, what Parse leaves
// in the language's RESULT, that all of it is per session, and the errors
// every language shares (syntax, lexical faults, positions in characters,
// statements of another language, nesting beyond reason).
#include "plsql/translator/Translator.h"
#include "translator_support.h"

namespace vorn::server::test {
namespace {

using Strings = std::vector<std::string>;
using Parser = TranslatorTest;

// The message of a block's failure, first line only.
std::string blockError(Session& s, const std::string& block) {
  try {
    auto st = s.prepare(block);
    for (size_t i = 0; i < st->placeholders().size(); ++i)
      st->bind(static_cast<int>(i + 1), Value());
    st->execute();
  } catch (const OraError& e) {
    return e.message().substr(0, e.message().find('\n'));
  }
  return "";
}

TEST_F(Parser, LoadLanguageTakesTheThreeLanguagesInAnyCase) {
  auto st = man_->prepare(
      "begin parser.LoadLanguage('vorn'); :l1 := parser.language; "
      "parser.LoadLanguage(' Odml '); :l2 := parser.language; end;");
  st->bind(":l1", Value());
  st->bind(":l2", Value());
  st->execute();
  EXPECT_EQ(st->boundValue(1), Value::text("VORN"));
  EXPECT_EQ(st->boundValue(2), Value::text("ODML"));
}

TEST_F(Parser, AnUnknownOrEmptyLanguageIsNamed) {
  EXPECT_EQ(blockError(*man_, "begin parser.LoadLanguage('SQL'); end;"),
            "ORA-20005: parser: unknown language SQL; the languages are VORN, ODDL and ODML");
  EXPECT_EQ(blockError(*man_, "begin parser.LoadLanguage(''); end;"),
            "ORA-20005: parser: no language given; a statement's first word chooses it: select "
            "(VORN), create, drop or alter (ODDL), insert, delete or update (ODML)");
  // The front end's block for a statement whose first word chooses no
  // language names no package: it does not compile.
  std::string empty = block("", "commit work");
  EXPECT_EQ(blockError(*man_, empty).substr(0, 9), "ORA-06550");
}

TEST_F(Parser, ParseNeedsALanguageAndAStatementOfIt) {
  EXPECT_EQ(blockError(*man_, "begin parser.Parse('select name from dogs'); end;"),
            "ORA-20005: parser: no language loaded; call parser.LoadLanguage first");
  EXPECT_EQ(blockError(*man_, block("VORN", "insert into dogs (name) values ('x')")),
            "ORA-20005: VORN: a statement of this language begins with select, not with insert "
            "at position 1");
  EXPECT_EQ(blockError(*man_, block("ODDL", "  select name from dogs")),
            "ORA-20005: ODDL: a statement of this language begins with create, drop or alter, "
            "not with select at position 3");
  EXPECT_EQ(blockError(*man_, block("ODML", "  -- nothing\n")),
            "ORA-20005: ODML: the statement is empty at position 1");
}

TEST_F(Parser, AFailedParseLeavesNoEarlierTranslation) {
  auto st = man_->prepare(
      "begin parser.LoadLanguage('VORN'); parser.Parse('select name from dogs'); "
      ":first := VORN.result; begin parser.Parse('select nothing from dogs'); "
      "exception when others then null; end; :second := VORN.result; end;");
  st->bind(":first", Value());
  st->bind(":second", Value());
  st->execute();
  EXPECT_EQ(st->boundValue(1), Value::text("/*:DS*/ select t0.NAME from MAN.DOGS t0"));
  EXPECT_TRUE(st->boundValue(2).isNull());
}

TEST_F(Parser, LanguageAndResultsArePerSession) {
  auto other = db_->logon("man", "man");
  man_->execute("begin parser.LoadLanguage('VORN'); parser.Parse('select age from dogs'); end;");
  other->execute("begin parser.LoadLanguage('ODML'); end;");
  auto read = [](Session& s) {
    auto st = s.prepare("begin :l := parser.language; :r := VORN.result; end;");
    st->bind(":l", Value());
    st->bind(":r", Value());
    st->execute();
    const Value& l = st->boundValue(1);
    const Value& r = st->boundValue(2);
    return (l.isNull() ? "<null>" : l.asText()) + " " + (r.isNull() ? "<null>" : r.asText());
  };
  EXPECT_EQ(read(*man_), "VORN /*:DS*/ select t0.AGE from MAN.DOGS t0");
  EXPECT_EQ(read(*other), "ODML <null>");
  // Each session sees its own schema by default.
  EXPECT_EQ(translateAs(*s_, "select count(*) from dept"),
            "/*:INT*/ begin select count(*) into :res from SCOTT.DEPT t0; end;");
}

TEST_F(Parser, SyntaxErrorsSayWhatWasExpectedAndWhere) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"select name dogs", "VORN: expected FROM, found dogs at position 13"},
      {"select from dogs",
       "VORN: expected an attribute, * or an aggregate, found from at "
       "position 8"},
      {"select name, from dogs",
       "VORN: expected an attribute, * or an aggregate, found from at "
       "position 14"},
      {"select name from",
       "VORN: expected a class name, found the end of the statement at "
       "position 17"},
      {"select name from dogs where age >",
       "VORN: expected a value, found the end of the "
       "statement at position 34"},
      {"select name from dogs where (age > 1",
       "VORN: expected ')', found the end of the "
       "statement at position 37"},
      {"select name from dogs where age in 1", "VORN: expected '(', found 1 at position 36"},
      {"select name from dogs where age between 1 or 2",
       "VORN: expected AND, found or at "
       "position 43"},
      {"select name from dogs where name is 'x'",
       "VORN: expected NULL, found 'x' at position "
       "37"},
      {"select name from dogs order name", "VORN: expected BY, found name at position 29"},
      {"select name from dogs dogs", "VORN: unexpected dogs at position 23"},
      {"select name from dogs; select", "VORN: unexpected select at position 24"},
      {"select name from dogs where age = :x", "VORN: expected a value, found :x at position 35"},
      {"select name from dogs where friend. = 1",
       "VORN: expected an attribute, found = at "
       "position 37"},
      {"select max(*) from dogs", "VORN: expected an attribute, found * at position 12"},
  };
  for (const auto& [statement, message] : cases) {
    std::string error = translationError(statement);
    EXPECT_EQ(error, "ORA-20001: " + message) << statement;
  }
}

TEST_F(Parser, LexicalFaultsAreSyntaxErrorsAtTheirCharacter) {
  EXPECT_EQ(translationError("select name from dogs where name = 'Rex"),
            "ORA-20001: VORN: a string is not closed with a quote at position 36");
  EXPECT_EQ(translationError("select name from dogs where name = \"Rex"),
            "ORA-20001: VORN: a double-quoted name is not closed at position 36");
  EXPECT_EQ(translationError("select \"\" from dogs"),
            "ORA-20001: VORN: a double-quoted name is empty at position 8");
  EXPECT_EQ(translationError("select name from dogs where age ? 3"),
            "ORA-20001: VORN: a character that is not part of the language at position 33");
  EXPECT_EQ(translationError("select abcdefghijabcdefghijabcdefghij1 from dogs"),
            "ORA-20001: VORN: a name is longer than 30 characters at position 8");
}

TEST_F(Parser, PositionsCountCharactersNotBytes) {
  // "Å" and "ø" take two bytes each in UTF-8.
  EXPECT_EQ(translationError("select name from dogs where name = 'Åsø' and foo = 1"),
            "ORA-20002: VORN: unknown attribute FOO of class MAN.DOGS at position 46");
  EXPECT_EQ(process("select name from dogs where name = 'Åsø'"), (Strings{"NAME"}));
}

TEST_F(Parser, NestingBeyondReasonIsRefusedNotFollowed) {
  std::string deep =
      "select name from dogs where " + std::string(5000, '(') + "age > 1" + std::string(5000, ')');
  EXPECT_EQ(translationError(deep).substr(0, 48),
            "ORA-20001: VORN: the statement nests too deeply ");
  std::string minus = "select name from dogs where age = ";
  for (int i = 0; i < 1000; ++i)
    minus += "- ";
  minus += "1";
  EXPECT_EQ(translationError(minus).substr(0, 48),
            "ORA-20001: VORN: the statement nests too deeply ");
  std::string chain = "select name from dogs where age = 1";
  for (int i = 0; i < 2000; ++i)
    chain += " or age = 1";
  EXPECT_EQ(translationError(chain).substr(0, 48),
            "ORA-20001: VORN: the statement nests too deeply ");
  // Reasonable nesting and a long condition are fine.
  EXPECT_EQ(scalar("select count(*) from dogs where " + std::string(50, '(') + "age > - - 10" +
                   std::string(50, ')')),
            "INT:1");
  std::string wide = "select count(*) from dogs where age = 0";
  for (int i = 1; i < 300; ++i)
    wide += " or age = " + std::to_string(i);
  EXPECT_EQ(scalar(wide), "INT:12");
}

TEST_F(Parser, TranslateNeedsNoSessionToRun) {
  auto catalog = man_->catalog();
  EXPECT_EQ(translator::translate("vorn", "select age from dogs", catalog, "MAN"),
            "/*:DS*/ select t0.AGE from MAN.DOGS t0");
  try {
    translator::translate("sql", "select 1", catalog, "MAN");
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 20005);
  }
}

}  // namespace
}  // namespace vorn::server::test
