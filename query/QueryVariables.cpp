// The variable operations of a query: declaring, setting, reading and
// deleting variables, and the variable scanner; see OracleQuery.h and
// Variables.h.
#include "VariableValues.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/query/SqlVariables.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

TVariableData& TOracleQuery::DeclaredVariable(std::string_view name) const {
  TVariableData* variable = variables_->Find(name);
  if (variable == nullptr) {
    throw Exception("Variable " + TVariables::StoredName(name) + " not declared");
  }
  return *variable;
}

void TOracleQuery::VariablesChanged() {
  if (session_ != nullptr && session_->TakesODBCRoute()) Close();
  ForgetParse();
}

void TOracleQuery::DeclareVariable(const std::string& name, int typeCode) {
  if (name.empty()) throw Exception("You cannot declare a variable with an empty name");
  if (VariableValues::DeclaredElementSize(typeCode) < 0) {
    throw Exception("Unsupported variable type");
  }
  const std::string stored = TVariables::StoredName(name);
  const int existing = variables_->IndexOf(stored);
  TVariableData* variable = nullptr;
  if (existing >= 0) {
    // The new declaration takes the old one's place.
    delete variables_->Items(existing);
    variable = variables_->items_.Insert(existing);
  } else {
    variable = variables_->items_.Add();
  }
  VariableValues::Declare(*variable, stored, typeCode);
  VariablesChanged();
}

void TOracleQuery::DeclarePLSQLTable(const std::string& name, int tableSize, int stringSize) {
  TVariableData& variable = DeclaredVariable(name);
  const int code = variable.TypeCode();
  if (code != otInteger && code != otFloat && code != otString && code != otDate) {
    throw Exception("Only PL/SQL Tables of strings, integers, floats and dates supported");
  }
  if (code == otString && stringSize < 1) {
    throw Exception("You must specify a string size for a PL/SQL Table of strings");
  }
  if (code != otString && stringSize != 0) {
    throw Exception("You can only specify a string size for a PL/SQL Table of strings");
  }
  if (tableSize < 1) throw Exception("You must specify the size of the PL/SQL Table");
  variable.isPLSQLTable_ = true;
  variable.tableCount_ = 0;
  // A fresh table: every element null, whatever the sizes were.
  variable.elementCount_ = 0;
  VariableValues::Resize(variable, tableSize, code == otString ? stringSize : -1, session_);
  ForgetParse();
}

void TOracleQuery::SetVariable(const std::string& name, const Variant& value) {
  TVariableData& variable = DeclaredVariable(name);
  if (value.IsArray() && variable.TypeCode() != otLongRaw) {
    if (variable.IsComplex()) {
      throw Exception(variable.Name() + " is a complex variable and cannot be an array");
    }
    if (variable.TypeCode() == otSubst) {
      throw Exception(variable.Name() + " is a substitution variable and cannot be an array");
    }
    const int low = value.LowBound();
    const int high = value.HighBound();
    const int count = high - low + 1;
    if (variable.IsPLSQLTable()) {
      if (count > variable.ElementCount()) {
        throw Exception("Array is larger than PL/SQL Table (" + std::to_string(count) + " > " +
                        std::to_string(variable.ElementCount()) + ")");
      }
      variable.tableCount_ = static_cast<client::ub4>(count);
    } else {
      VariableValues::Resize(variable, count, -1, session_);
    }
    variable.lowBound_ = low;
    // Elements are read in place: an array of 1,000 texts is not copied
    // element by element on its way into the buffer.
    const bool bytes = VarType(value) == (varArray | varByte);
    for (int element = low; element <= high; ++element) {
      if (bytes) {
        VariableValues::SetElement(variable, element - low, value.GetElement(element), session_);
      } else {
        VariableValues::SetElement(variable, element - low, value.ElementRef(element), session_);
      }
    }
    return;
  }
  if (!variable.IsPLSQLTable()) {
    VariableValues::Resize(variable, 1, -1, session_);
    variable.lowBound_ = 0;
    VariableValues::SetElement(variable, 0, value, session_);
    return;
  }
  if (value.IsEmpty() || value.IsNull()) {
    variable.tableCount_ = 0;
    return;
  }
  throw Exception(variable.Name() + " is a PL/SQL Table, assign a variant array to it");
}

Variant TOracleQuery::GetVariable(const std::string& name) const {
  const TVariableData* variable = variables_->Find(name);
  if (variable == nullptr) throw Exception("Unknown variable: " + TVariables::StoredName(name));
  if (variable->ElementCount() != 1 || variable->IsPLSQLTable()) {
    const int count = variable->IsPLSQLTable()
                          ? std::min(variable->TableCount(), variable->ElementCount())
                          : variable->ElementCount();
    if (count < 1) return VariableValues::NullOf(session_);
    const int low = variable->LowBound();
    Variant array = VarArrayCreate(low, low + count - 1, varVariant);
    for (int i = 0; i < count; ++i) {
      array.PutElement(low + i, VariableValues::GetElement(*variable, i, session_));
    }
    return array;
  }
  if (variable->IsComplex()) {
    return Variant(static_cast<long long>(reinterpret_cast<intptr_t>(variable->Instance())));
  }
  return VariableValues::GetElement(*variable, 0, session_);
}

void TOracleQuery::SetComplexVariable(const std::string& name, TObject* instance) {
  TVariableData* variable = variables_->Find(name);
  if (variable == nullptr) throw Exception("Unknown variable: " + TVariables::StoredName(name));
  if (!variable->IsComplex()) throw Exception(variable->Name() + " is not a complex variable");
  if (instance != nullptr) {
    const char* className = nullptr;
    switch (variable->TypeCode()) {
      case otObject:
        className = "TOracleObject";
        break;
      case otReference:
        className = "TOracleReference";
        break;
      case otCursor:
        className = "TOracleQuery";
        break;
      default:
        className = "TLOBLocator";
        break;
    }
    if (!instance->InheritsFrom(std::string_view(className))) {
      throw Exception(std::string("Assign ") + className + " instance to variable " +
                      variable->Name());
    }
  }
  variable->instance_ = instance;
  variable->indicators_[0] = instance != nullptr ? 0 : -1;
}

void TOracleQuery::DeleteVariable(const std::string& name) {
  TVariableData& variable = DeclaredVariable(name);
  delete &variable;
  VariablesChanged();
}

void TOracleQuery::DeleteVariables() {
  variables_->items_.Clear();
  VariablesChanged();
}

std::string TOracleQuery::VariableName(int index) const {
  if (index < 0 || index >= variables_->Count()) {
    throw Exception("Variable " + std::to_string(index) + " does not exist");
  }
  return variables_->Items(index)->Name();
}

int TOracleQuery::VariableType(int index) const {
  if (index < 0 || index >= variables_->Count()) {
    throw Exception("Variable " + std::to_string(index) + " does not exist");
  }
  return variables_->Items(index)->TypeCode();
}

std::unique_ptr<TStringList> TOracleQuery::FindVariables(std::string_view text,
                                                         bool allOccurrences) {
  auto list = std::make_unique<TStringList>();
  for (const TVariableOccurrence& found : ScanVariables(text, allOccurrences)) {
    list->AddObject(found.Name, reinterpret_cast<TObject*>(static_cast<intptr_t>(found.Position)));
  }
  return list;
}

}  // namespace vorn
