// Built-in packages: PL/SQL packages whose procedures and functions are
// written in C++ (DBMS_OUTPUT; the object query translator's PARSER and
// its language packages VORN, ODDL and ODML, translator/Translator.h). A package has routines (procedures
// and functions, overloaded by the number of arguments) and variables;
// variables are per session and start at their initial value.
//
// Blocks call them as pkg.routine(...) and read or assign pkg.variable;
// SQL statements may call their functions (IN parameters only) and, inside
// PL/SQL, name their variables. Register packages once, before sessions run
// blocks (registration is not synchronised with running sessions).
//
//   registerBuiltinPackage({"PARSER",
//       {{"PARSE", {{"STATEMENT", Mode::In, OraType::varchar2(32767)}}, std::nullopt,
//         [](BuiltinCall& call) {
//           call.setVariable("VORN", "RESULT", Value::text(translate(call.text(0))));
//           return Value();
//         }}},
//       {}});
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/Types.h"
#include "engine/Value.h"

namespace vorn::server {
class Session;
}

namespace vorn::server::plsql {

class SessionState;

enum class ParamMode { In, Out, InOut };

struct BuiltinParameter {
  std::string name;
  ParamMode mode = ParamMode::In;
  OraType type;                       // NUMBER, VARCHAR2(n), DATE or BOOLEAN
  std::optional<Value> defaultValue;  // IN parameters that may be left out
};

// What a routine's body gets: the session, the arguments (converted to the
// parameters' types; OUT parameters start NULL and are written here) and the
// session's package variables.
class BuiltinCall {
 public:
  BuiltinCall(Session& session, SessionState& state, std::vector<Value>& args)
      : session_(session), state_(state), args_(args) {}

  Session& session() { return session_; }
  SessionState& state() { return state_; }
  std::vector<Value>& args() { return args_; }
  const Value& arg(size_t i) const { return args_[i]; }
  // The argument as text ("" for NULL).
  std::string text(size_t i) const;
  void setArg(size_t i, Value v) { args_[i] = std::move(v); }

  // Package variables of this session (ORA-06550 PLS-00302 style errors for
  // unknown ones are the caller's business: these raise ORA-06508).
  Value variable(const std::string& package, const std::string& name) const;
  void setVariable(const std::string& package, const std::string& name, const Value& value);

 private:
  Session& session_;
  SessionState& state_;
  std::vector<Value>& args_;
};

struct BuiltinRoutine {
  std::string name;
  std::vector<BuiltinParameter> params;
  std::optional<OraType> returns;  // functions
  // Returns the function result (procedures: anything). Errors are thrown as
  // OraError (raiseApplicationError for ORA-20000..20999); the block sees
  // them as PL/SQL exceptions.
  std::function<Value(BuiltinCall&)> body;
};

struct BuiltinVariable {
  std::string name;
  OraType type;
  Value initial;
};

struct BuiltinPackage {
  std::string name;
  std::vector<BuiltinRoutine> routines;
  std::vector<BuiltinVariable> variables;
};

// Adds a package, replacing one of the same name. Names are upper-cased.
void registerBuiltinPackage(BuiltinPackage package);
// Removes a package (tests).
void unregisterBuiltinPackage(const std::string& name);
const BuiltinPackage* findBuiltinPackage(const std::string& name);
// A routine of `package` named `name` taking `argumentCount` arguments
// (null when none fits).
const BuiltinRoutine* findBuiltinRoutine(const BuiltinPackage& package, const std::string& name,
                                         size_t argumentCount);
bool hasBuiltinRoutine(const BuiltinPackage& package, const std::string& name);
const BuiltinVariable* findBuiltinVariable(const BuiltinPackage& package, const std::string& name);

// Registers the packages the server always has (DBMS_OUTPUT, DBMS_LOB and
// the translator's).
void registerStandardPackages();
// DBMS_LOB's procedures (DbmsLob.cpp).
void registerDbmsLob();

}  // namespace vorn::server::plsql
