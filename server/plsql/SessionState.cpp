// Per-session state of the PL/SQL layer; see SessionState.h.
#include "plsql/SessionState.h"

#include "engine/Catalog.h"
#include "plsql/Builtins.h"
#include "plsql/Compiler.h"
#include "plsql/Syntax.h"
#include "value/OraError.h"

namespace vorn::server::plsql {

SessionState& SessionState::of(Session& session) {
  if (auto* state = dynamic_cast<SessionState*>(session.extension())) return *state;
  auto state = std::make_unique<SessionState>();
  SessionState* raw = state.get();
  session.setExtension(std::move(state));
  return *raw;
}

Value SessionState::variable(const std::string& package, const std::string& name) {
  std::string key = package + "." + name;
  auto it = variables_.find(key);
  if (it != variables_.end()) return it->second;
  const BuiltinPackage* pkg = findBuiltinPackage(package);
  const BuiltinVariable* var = pkg ? findBuiltinVariable(*pkg, name) : nullptr;
  if (!var) raiseOra(6508);
  variables_[key] = var->initial;
  return var->initial;
}

void SessionState::setVariable(const std::string& package, const std::string& name,
                               const Value& value) {
  const BuiltinPackage* pkg = findBuiltinPackage(package);
  if (!pkg || !findBuiltinVariable(*pkg, name)) raiseOra(6508);
  variables_[package + "." + name] = value;
}

std::shared_ptr<const Unit> SessionState::storedUnit(Session& session, const StoredCodeInfo& code,
                                                     int64_t catalogVersion) {
  if (catalogVersion != unitsVersion_) {
    units_.clear();
    unitsVersion_ = catalogVersion;
  }
  auto it = units_.find(code.obj);
  if (it != units_.end()) return it->second;
  std::shared_ptr<const Unit> unit;
  try {
    unit = compileStored(session, code.owner, code.source);
  } catch (const OraError&) {
    // The unit no longer compiles (an object it uses changed).
    raiseOra(6508);
  }
  units_[code.obj] = unit;
  return unit;
}

}  // namespace vorn::server::plsql
