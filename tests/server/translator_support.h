// Fixtures of the object query translator's tests at the engine level: the
// front end's block run exactly as it sends it, the result-kind tag read as
// it reads it, and the translated text run as it runs it (a query's rows, or
// the value a scalar block assigns to :res).
#pragma once

#include <string>
#include <vector>

#include "plsql_support.h"
#include "translator_front_end.h"

namespace vorn::server::test {

class TranslatorTest : public PlsqlTest {
 protected:
  void SetUp() override {
    PlsqlTest::SetUp();
    man_ = db_->logon("man", "man");
  }
  void TearDown() override {
    man_.reset();
    PlsqlTest::TearDown();
  }

  static std::string block(const std::string& language, const std::string& statement) {
    return frontEndBlock(language, statement);
  }

  // The translated text of a statement (the language from its first word).
  std::string translate(const std::string& statement) { return translateAs(*man_, statement); }
  static std::string translateAs(Session& s, const std::string& statement) {
    auto st = s.prepare(block(languageOf(statement), statement));
    st->bind(":result", Value());
    st->execute();
    const Value& v = st->boundValue(1);
    return v.isNull() ? "<null>" : v.asText();
  }

  // The ORA message a statement's translation fails with, without the
  // block's "ORA-06512" line ("" when it succeeds).
  std::string translationError(const std::string& statement) {
    return translationErrorAs(*man_, statement);
  }
  static std::string translationErrorAs(Session& s, const std::string& statement) {
    try {
      translateAs(s, statement);
    } catch (const OraError& e) {
      return e.message().substr(0, e.message().find('\n'));
    }
    return "";
  }

  static std::string kindOf(const std::string& text) { return resultKindOf(text); }

  // Translates and runs a statement as the front end does: the rows of a
  // dataset ("a|b", the column names first), or the one value of :res.
  std::vector<std::string> process(const std::string& statement) {
    return processAs(*man_, statement);
  }
  static std::vector<std::string> processAs(Session& s, const std::string& statement) {
    std::string text = translateAs(s, statement);
    std::string kind = kindOf(text);
    auto st = s.prepare(text);
    if (kind == "DS") {
      st->execute();
      std::string header;
      for (size_t i = 0; i < st->columnCount(); ++i)
        header += (i ? "|" : "") + st->describe()[i].name;
      std::vector<std::string> out{header};
      while (st->fetch())
        out.push_back(rowText(*st));
      return out;
    }
    st->bind(":res", Value(), kind == "INT" ? TypeKind::Number : TypeKind::Varchar2);
    st->execute();
    const Value& v = st->boundValue(1);
    std::string shown = v.isNull()                         ? "<null>"
                        : v.kind() == Value::Kind::Integer ? std::to_string(v.asInteger())
                        : v.kind() == Value::Kind::Text    ? v.asText()
                                                           : "<not an integer or text>";
    return {kind + ":" + shown};
  }
  std::string scalar(const std::string& statement) { return process(statement).at(0); }

  // The ORA message (first line) of translating and running a statement.
  std::string processError(const std::string& statement) {
    return processErrorAs(*man_, statement);
  }
  static std::string processErrorAs(Session& s, const std::string& statement) {
    try {
      processAs(s, statement);
    } catch (const OraError& e) {
      return e.message().substr(0, e.message().find('\n'));
    }
    return "";
  }

  std::unique_ptr<Session> man_;
};

}  // namespace vorn::server::test
