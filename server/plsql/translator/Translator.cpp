// The translator's entry and its packages; see Translator.h.
#include "plsql/translator/Translator.h"

#include "engine/Session.h"
#include "plsql/Builtins.h"
#include "plsql/translator/Languages.h"
#include "value/OraError.h"
#include "value/StringFunctions.h"

namespace vorn::server::translator {
namespace {

struct Language {
  const char* name;
  std::string (*translate)(const ObjectModel&, Scanner&);
  std::vector<const char*> firstWords;
};

const std::vector<Language>& languages() {
  static const std::vector<Language> all = {
      {"VORN", translateVorn, {"SELECT"}},
      {"ODDL", translateOddl, {"CREATE", "DROP", "ALTER"}},
      {"ODML", translateOdml, {"INSERT", "UPDATE", "DELETE"}},
  };
  return all;
}

const Language* findLanguage(const std::string& name) {
  for (const Language& l : languages()) {
    if (name == l.name) return &l;
  }
  return nullptr;
}

std::string trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return {};
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

// "select" or "create, drop or alter", for messages.
std::string wordList(const Language& l) {
  std::string out;
  for (size_t i = 0; i < l.firstWords.size(); ++i) {
    if (i) out += i + 1 == l.firstWords.size() ? " or " : ", ";
    out += lower(l.firstWords[i]);
  }
  return out;
}

[[noreturn]] void parserError(const std::string& text) {
  raiseApplicationError(kLanguageError, "parser: " + text);
}

}  // namespace

std::string translate(const std::string& language, const std::string& statement,
                      std::shared_ptr<const Catalog> catalog, const std::string& user) {
  const Language* l = findLanguage(upper(trimmed(language)));
  if (!l) parserError("unknown language " + language);
  Scanner s(l->name, statement);
  if (s.atEnd()) s.fail(kLanguageError, 0, "the statement is empty");
  bool fits = false;
  for (const char* word : l->firstWords)
    fits = fits || s.atWord(word);
  if (!fits) {
    s.fail(kLanguageError, s.peek().offset,
           std::string("a statement of this language begins with ") + wordList(*l) + ", not with " +
               s.shown(s.peek()));
  }
  ObjectModel model(std::move(catalog), user);
  return l->translate(model, s);
}

void registerTranslatorPackages() {
  using plsql::BuiltinCall;
  using plsql::ParamMode;
  const OraType text = OraType::varchar2(32767);
  for (const Language& l : languages())
    plsql::registerBuiltinPackage({l.name, {}, {{"RESULT", text, Value()}}});
  plsql::BuiltinPackage parser;
  parser.name = "PARSER";
  parser.variables = {{"LANGUAGE", OraType::varchar2(30), Value()}};
  parser.routines = {
      {"LOADLANGUAGE",
       {{"LANGUAGE", ParamMode::In, OraType::varchar2(32767), std::nullopt}},
       std::nullopt,
       [](BuiltinCall& c) {
         std::string name = upper(trimmed(c.text(0)));
         if (name.empty()) {
           parserError(
               "no language given; a statement's first word chooses it: select (VORN), "
               "create, drop or alter (ODDL), insert, delete or update (ODML)");
         }
         if (!findLanguage(name)) {
           parserError("unknown language " + trimmed(c.text(0)) +
                       "; the languages are VORN, ODDL and ODML");
         }
         c.setVariable("PARSER", "LANGUAGE", Value::text(name));
         return Value();
       }},
      {"PARSE",
       {{"STATEMENT", ParamMode::In, text, std::nullopt}},
       std::nullopt,
       [](BuiltinCall& c) {
         Value language = c.variable("PARSER", "LANGUAGE");
         if (language.isNull()) parserError("no language loaded; call parser.LoadLanguage first");
         std::string name = language.asText();
         // A failed parse leaves no earlier translation behind.
         c.setVariable(name, "RESULT", Value());
         std::string result = translate(name, c.text(0), c.session().catalog(), c.session().user());
         c.setVariable(name, "RESULT", Value::text(result));
         return Value();
       }},
  };
  plsql::registerBuiltinPackage(std::move(parser));
}

}  // namespace vorn::server::translator
