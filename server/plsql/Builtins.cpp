// The registry of built-in packages, and DBMS_OUTPUT; see Builtins.h.
#include "plsql/Builtins.h"

#include <map>
#include <mutex>

#include "engine/Session.h"
#include "plsql/DbmsOutput.h"
#include "plsql/SessionState.h"
#include "plsql/translator/Translator.h"
#include "value/AsciiCase.h"
#include "value/OraError.h"
#include "value/StringFunctions.h"

namespace vorn::server::plsql {
namespace {

std::map<std::string, BuiltinPackage>& registry() {
  static std::map<std::string, BuiltinPackage> packages;
  return packages;
}

std::string upperName(const std::string& s) {
  return asciiUpperCase(s);
}

}  // namespace

std::string BuiltinCall::text(size_t i) const {
  const Value& v = args_[i];
  return v.kind() == Value::Kind::Text ? v.asText() : std::string();
}

Value BuiltinCall::variable(const std::string& package, const std::string& name) const {
  return state_.variable(upperName(package), upperName(name));
}

void BuiltinCall::setVariable(const std::string& package, const std::string& name,
                              const Value& value) {
  state_.setVariable(upperName(package), upperName(name), value);
}

void registerBuiltinPackage(BuiltinPackage package) {
  package.name = upperName(package.name);
  for (BuiltinRoutine& r : package.routines) {
    r.name = upperName(r.name);
    for (BuiltinParameter& p : r.params)
      p.name = upperName(p.name);
  }
  for (BuiltinVariable& v : package.variables)
    v.name = upperName(v.name);
  std::string name = package.name;
  registry()[name] = std::move(package);
}

void unregisterBuiltinPackage(const std::string& name) {
  registry().erase(upperName(name));
}

const BuiltinPackage* findBuiltinPackage(const std::string& name) {
  auto it = registry().find(name);
  return it == registry().end() ? nullptr : &it->second;
}

const BuiltinRoutine* findBuiltinRoutine(const BuiltinPackage& package, const std::string& name,
                                         size_t argumentCount) {
  for (const BuiltinRoutine& r : package.routines) {
    if (r.name != name || argumentCount > r.params.size()) continue;
    size_t required = 0;
    for (const BuiltinParameter& p : r.params) {
      if (!p.defaultValue) ++required;
    }
    if (argumentCount >= required) return &r;
  }
  return nullptr;
}

bool hasBuiltinRoutine(const BuiltinPackage& package, const std::string& name) {
  for (const BuiltinRoutine& r : package.routines) {
    if (r.name == name) return true;
  }
  return false;
}

const BuiltinVariable* findBuiltinVariable(const BuiltinPackage& package, const std::string& name) {
  for (const BuiltinVariable& v : package.variables) {
    if (v.name == name) return &v;
  }
  return nullptr;
}

void registerStandardPackages() {
  using Mode = ParamMode;
  const OraType text = OraType::varchar2(32767);
  const OraType integer = OraType::number(38, 0);
  auto output = [](BuiltinCall& c) -> DbmsOutput& { return c.state().output(); };
  BuiltinPackage dbms;
  dbms.name = "DBMS_OUTPUT";
  dbms.routines = {
      {"ENABLE",
       {{"BUFFER_SIZE", Mode::In, integer, Value::integer(DbmsOutput::kDefaultSize)}},
       std::nullopt,
       [output](BuiltinCall& c) {
         const Value& size = c.arg(0);
         output(c).enable(size.isNull() ? 1000000 : static_cast<size_t>(size.asInteger()));
         return Value();
       }},
      {"DISABLE",
       {},
       std::nullopt,
       [output](BuiltinCall& c) {
         output(c).disable();
         return Value();
       }},
      {"PUT",
       {{"A", Mode::In, text, std::nullopt}},
       std::nullopt,
       [output](BuiltinCall& c) {
         output(c).put(c.text(0));
         return Value();
       }},
      {"PUT_LINE",
       {{"A", Mode::In, text, std::nullopt}},
       std::nullopt,
       [output](BuiltinCall& c) {
         output(c).putLine(c.text(0));
         return Value();
       }},
      {"NEW_LINE",
       {},
       std::nullopt,
       [output](BuiltinCall& c) {
         output(c).newLine();
         return Value();
       }},
      {"GET_LINE",
       {{"LINE", Mode::Out, text, std::nullopt}, {"STATUS", Mode::Out, integer, std::nullopt}},
       std::nullopt,
       [output](BuiltinCall& c) {
         std::optional<std::string> line = output(c).getLine();
         c.setArg(0, line ? Value::text(*line) : Value());
         c.setArg(1, Value::integer(line ? 0 : 1));
         return Value();
       }},
  };
  registerBuiltinPackage(std::move(dbms));
  registerDbmsLob();
  translator::registerTranslatorPackages();
}

}  // namespace vorn::server::plsql
