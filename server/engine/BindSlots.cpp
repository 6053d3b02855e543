// The bind slots of a statement: one per placeholder occurrence, each with
// its value, the Oracle type that value gives the placeholder (part of the
// plan cache key), and the host tables and cursors of PL/SQL binds; and the
// binding of them, plus PL/SQL locals, to a SQLite statement. See
// Statement.h.
#include <algorithm>
#include <cstdlib>

#include "engine/Marshalling.h"
#include "engine/Plan.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace vorn::server {

namespace {

// `declared` is the type the caller bound the value as (Statement.h).
OraType bindType(const Value& v, TypeKind declared) {
  switch (v.kind()) {
    case Value::Kind::Integer:
    case Value::Kind::Double:
      return OraType::number();
    case Value::Kind::Text:
      if (declared == TypeKind::Clob) return OraType::of(TypeKind::Clob);
      // A CHAR bind compares blank-padded; its length says nothing, so
      // that one plan serves values of every length.
      if (declared == TypeKind::Char) return OraType::charType(0);
      return OraType::varchar2(4000);
    case Value::Kind::Date:
      return OraType::of(TypeKind::Date);
    case Value::Kind::Raw: {
      if (declared == TypeKind::Blob || declared == TypeKind::Bfile) return OraType::of(declared);
      OraType t = OraType::of(TypeKind::Raw);
      t.length = 2000;
      return t;
    }
    case Value::Kind::Null:
      break;
  }
  switch (declared) {
    case TypeKind::Number:
      return OraType::number();
    case TypeKind::Date:
      return OraType::of(TypeKind::Date);
    case TypeKind::Raw:
    case TypeKind::LongRaw: {
      OraType t = OraType::of(TypeKind::Raw);
      t.length = 2000;
      return t;
    }
    case TypeKind::Clob:
    case TypeKind::Blob:
    case TypeKind::Bfile:
      return OraType::of(declared);
    default:
      return OraType::varchar2(4000);
  }
}

}  // namespace

void Statement::bind(int position, const Value& value, TypeKind nullKind) {
  bind(position, Value(value), nullKind);
}

void Statement::bind(int position, Value&& value, TypeKind nullKind) {
  if (position < 1 || position > static_cast<int>(binds_.size())) raiseOra(1036);
  size_t i = static_cast<size_t>(position - 1);
  bindTypes_[i] = bindType(value, nullKind);
  binds_[i] = std::move(value);
  bound_[i] = true;
  tables_[i] = nullptr;
  cursors_[i] = nullptr;
}

void Statement::bindTyped(int position, const Value& value, const OraType& type) {
  bind(position, value);
  bindTypes_[static_cast<size_t>(position - 1)] = type;
}

void Statement::bindTyped(std::string_view name, const Value& value, const OraType& type) {
  for (size_t i : slotsOf(name))
    bindTyped(static_cast<int>(i + 1), value, type);
}

std::vector<size_t> Statement::slotsOf(std::string_view name) const {
  std::string n = placeholderKey(name);
  const auto& placeholders = analysis_->placeholders;
  std::vector<size_t> out;
  for (size_t i = 0; i < placeholders.size(); ++i) {
    if (placeholders[i].name == n) out.push_back(i);
  }
  if (out.empty()) raiseOra(1036);
  return out;
}

void Statement::bind(std::string_view name, const Value& value, TypeKind nullKind) {
  for (size_t i : slotsOf(name))
    bind(static_cast<int>(i + 1), value, nullKind);
}

void Statement::bindTable(int position, HostTable* table) {
  bind(position, Value(), table ? table->elementType : TypeKind::Varchar2);
  tables_[static_cast<size_t>(position - 1)] = table;
}

void Statement::bindTable(std::string_view name, HostTable* table) {
  for (size_t i : slotsOf(name))
    bindTable(static_cast<int>(i + 1), table);
}

void Statement::bindCursor(int position, HostCursor* cursor) {
  bind(position, Value());
  cursors_[static_cast<size_t>(position - 1)] = cursor;
}

void Statement::bindCursor(std::string_view name, HostCursor* cursor) {
  for (size_t i : slotsOf(name))
    bindCursor(static_cast<int>(i + 1), cursor);
}

HostTable* Statement::boundTable(int position) const {
  if (position < 1 || position > static_cast<int>(tables_.size())) raiseOra(1036);
  return tables_[static_cast<size_t>(position - 1)];
}

HostCursor* Statement::boundCursor(int position) const {
  if (position < 1 || position > static_cast<int>(cursors_.size())) raiseOra(1036);
  return cursors_[static_cast<size_t>(position - 1)];
}

const OraType& Statement::placeholderType(int position) const {
  if (position < 1 || position > static_cast<int>(bindTypes_.size())) raiseOra(1036);
  return bindTypes_[static_cast<size_t>(position - 1)];
}

const Value& Statement::boundValue(int position) const {
  if (position < 1 || position > static_cast<int>(binds_.size())) raiseOra(1036);
  return binds_[static_cast<size_t>(position - 1)];
}

bool Statement::isBound(int position) const {
  return position >= 1 && position <= static_cast<int>(bound_.size()) &&
         bound_[static_cast<size_t>(position - 1)];
}

void Statement::setBindValue(int position, const Value& value) {
  if (position < 1 || position > static_cast<int>(binds_.size())) raiseOra(1036);
  binds_[static_cast<size_t>(position - 1)] = value;
}

void Statement::clearBinds() {
  std::fill(binds_.begin(), binds_.end(), Value());
  std::fill(bound_.begin(), bound_.end(), false);
  std::fill(tables_.begin(), tables_.end(), nullptr);
  std::fill(cursors_.begin(), cursors_.end(), nullptr);
}

void Statement::checkBound(const Plan& p) const {
  for (size_t i = 0; i < binds_.size(); ++i) {
    if (bound_[i]) continue;
    // Only the targets of RETURNING ... INTO may stay unbound.
    bool output = false;
    if (!p.isQuery) {
      for (int slot : p.dml.returningSlots)
        output |= static_cast<size_t>(slot) == i;
    }
    if (!output) raiseOra(1008);
  }
}

void Statement::bindAll(sqlite3_stmt* stmt) const {
  // The engine's SQL numbers its parameters (?N), and SQLite gives ?N the
  // index N: placeholder slot i is parameter i + 1, PL/SQL locals follow.
  // Binding an index the text does not use is harmless.
  int n = sqlite3_bind_parameter_count(stmt);
  int placeholders = static_cast<int>(std::min(binds_.size(), static_cast<size_t>(n)));
  for (int i = 1; i <= placeholders; ++i)
    bindValue(stmt, i, binds_[static_cast<size_t>(i - 1)]);
  for (const auto& [index, value] : parameters_) {
    if (index > static_cast<int>(binds_.size()) && index <= n) bindValue(stmt, index, value);
  }
}

void Statement::bindParameter(int index, const Value& value) {
  for (auto& p : parameters_) {
    if (p.first == index) {
      p.second = value;
      return;
    }
  }
  parameters_.emplace_back(index, value);
}

}  // namespace vorn::server
