// DBMS_LOB's procedures for PL/SQL blocks; see Builtins.h. A LOB variable
// of a block holds the LOB's value (a CLOB as text, a BLOB as bytes, a
// BFILE as its directory and file name): the procedures change the
// variable, and a block stores a changed LOB with an UPDATE (a variable is
// no locator that writes through to its row). Offsets and amounts are
// 1-based, in characters for CLOBs and bytes for BLOBs; an offset or amount
// out of range is ORA-21560 as in Oracle, reading past the end
// NO_DATA_FOUND. DBMS_LOB's functions (GETLENGTH, SUBSTR, INSTR,
// FILEEXISTS) are the SQL ones (engine/LobFunctions.cpp).
#include <algorithm>
#include <cstring>

#include "engine/Lob.h"
#include "engine/Session.h"
#include "plsql/Builtins.h"
#include "value/OraError.h"

namespace vorn::server::plsql {
namespace {

using Mode = ParamMode;

// A LOB argument: any LOB type passes unchanged.
const OraType kAnyLob = OraType::of(TypeKind::Null);

bool isClob(const Value& v) {
  return v.kind() == Value::Kind::Text;
}

const std::string& lobBytes(const Value& v, const char* argument) {
  if (v.isNull()) raiseOra(21560, {argument});
  if (v.kind() != Value::Kind::Text && v.kind() != Value::Kind::Raw) raiseOra(21560, {argument});
  return v.asText();
}

Value lobValue(bool clob, std::string bytes) {
  if (!clob) return Value::raw(std::move(bytes));
  return bytes.empty() ? Value::emptyClob() : Value::text(std::move(bytes));
}

size_t positive(const Value& v, const char* argument) {
  if (v.isNull() || !v.isNumber() || v.asDouble() < 1) raiseOra(21560, {argument});
  return static_cast<size_t>(v.asDouble());
}

// `value` with `bytes` placed at the 0-based `at`, the gap filled with
// blanks (CLOB) or zero bytes (BLOB).
void placeAt(std::string& value, size_t at, std::string_view bytes, bool clob) {
  if (at > value.size()) value.append(at - value.size(), clob ? ' ' : '\0');
  if (at + bytes.size() > value.size()) value.resize(at + bytes.size());
  std::memcpy(value.data() + at, bytes.data(), bytes.size());
}

BfileName fileOf(const Value& v) {
  BfileName name;
  if (v.kind() != Value::Kind::Raw || !decodeBfile(v.asText(), name)) raiseOra(22275);
  return name;
}

Value read(BuiltinCall& c) {
  const std::string& lob = lobBytes(c.arg(0), "LOB_LOC");
  size_t amount = positive(c.arg(1), "AMOUNT");
  size_t offset = positive(c.arg(2), "OFFSET");
  if (amount > 32767) raiseOra(21560, {"AMOUNT"});
  if (offset > lob.size()) raiseOra(1403);
  std::string piece = lob.substr(offset - 1, amount);
  c.setArg(1, Value::integer(static_cast<int64_t>(piece.size())));
  c.setArg(3, isClob(c.arg(0)) ? Value::text(std::move(piece)) : Value::raw(std::move(piece)));
  return Value();
}

Value write(BuiltinCall& c) {
  std::string lob = lobBytes(c.arg(0), "LOB_LOC");
  size_t amount = positive(c.arg(1), "AMOUNT");
  size_t offset = positive(c.arg(2), "OFFSET");
  const std::string& buffer = c.arg(3).asText();
  if (amount > buffer.size()) raiseOra(21560, {"AMOUNT"});
  bool clob = isClob(c.arg(0));
  placeAt(lob, offset - 1, std::string_view(buffer).substr(0, amount), clob);
  c.setArg(0, lobValue(clob, std::move(lob)));
  return Value();
}

Value writeAppend(BuiltinCall& c) {
  std::string lob = lobBytes(c.arg(0), "LOB_LOC");
  size_t amount = positive(c.arg(1), "AMOUNT");
  const std::string& buffer = c.arg(2).asText();
  if (amount > buffer.size()) raiseOra(21560, {"AMOUNT"});
  lob.append(buffer, 0, amount);
  c.setArg(0, lobValue(isClob(c.arg(0)), std::move(lob)));
  return Value();
}

Value append(BuiltinCall& c) {
  std::string lob = lobBytes(c.arg(0), "DEST_LOB");
  lob += lobBytes(c.arg(1), "SRC_LOB");
  c.setArg(0, lobValue(isClob(c.arg(0)), std::move(lob)));
  return Value();
}

Value trim(BuiltinCall& c) {
  std::string lob = lobBytes(c.arg(0), "LOB_LOC");
  const Value& length = c.arg(1);
  if (length.isNull() || !length.isNumber() || length.asDouble() < 0) raiseOra(21560, {"NEWLEN"});
  auto n = static_cast<size_t>(length.asDouble());
  if (n > lob.size()) raiseOra(22926);
  lob.resize(n);
  c.setArg(0, lobValue(isClob(c.arg(0)), std::move(lob)));
  return Value();
}

Value erase(BuiltinCall& c) {
  std::string lob = lobBytes(c.arg(0), "LOB_LOC");
  size_t amount = positive(c.arg(1), "AMOUNT");
  size_t offset = positive(c.arg(2), "OFFSET");
  bool clob = isClob(c.arg(0));
  size_t n = offset - 1 < lob.size() ? std::min(amount, lob.size() - (offset - 1)) : 0;
  std::fill_n(lob.begin() + static_cast<std::ptrdiff_t>(std::min(offset - 1, lob.size())), n,
              clob ? ' ' : '\0');
  c.setArg(0, lobValue(clob, std::move(lob)));
  c.setArg(1, Value::integer(static_cast<int64_t>(n)));
  return Value();
}

Value createTemporary(BuiltinCall& c) {
  // The variable's declared type decides; a NULL CLOB variable arrives as
  // NULL, so the kind comes from what it held, CLOB when nothing.
  bool clob = c.arg(0).kind() != Value::Kind::Raw;
  c.setArg(0, lobValue(clob, std::string()));
  return Value();
}

Value freeTemporary(BuiltinCall& c) {
  c.setArg(0, Value());
  return Value();
}

Value fileOpen(BuiltinCall& c) {
  BfileName name = fileOf(c.arg(0));
  const Value& mode = c.arg(1);
  if (!mode.isNull() && (!mode.isNumber() || mode.asInteger() != 0))
    raiseOra(22288, {"FILEOPEN", "invalid open mode"});
  readBfile(*c.session().catalog(), name, "FILEOPEN");
  return Value();
}

Value fileClose(BuiltinCall& c) {
  fileOf(c.arg(0));
  return Value();
}

Value loadFromFile(BuiltinCall& c) {
  std::string lob = c.arg(0).isNull() ? std::string() : lobBytes(c.arg(0), "DEST_LOB");
  bool clob = c.arg(0).kind() != Value::Kind::Raw;
  BfileName name = fileOf(c.arg(1));
  size_t amount = positive(c.arg(2), "AMOUNT");
  size_t to = positive(c.arg(3), "DEST_OFFSET");
  size_t from = positive(c.arg(4), "SRC_OFFSET");
  std::string bytes = readBfile(*c.session().catalog(), name, "LOADFROMFILE");
  if (from - 1 > bytes.size() || amount > bytes.size() - (from - 1)) raiseOra(22993);
  placeAt(lob, to - 1, std::string_view(bytes).substr(from - 1, amount), clob);
  c.setArg(0, lobValue(clob, std::move(lob)));
  return Value();
}

}  // namespace

void registerDbmsLob() {
  const OraType integer = OraType::number(38, 0);
  const OraType buffer = OraType::of(TypeKind::Null);
  BuiltinPackage p;
  p.name = "DBMS_LOB";
  p.routines = {
      {"READ",
       {{"LOB_LOC", Mode::In, kAnyLob, std::nullopt},
        {"AMOUNT", Mode::InOut, integer, std::nullopt},
        {"OFFSET", Mode::In, integer, std::nullopt},
        {"BUFFER", Mode::Out, buffer, std::nullopt}},
       std::nullopt,
       read},
      {"WRITE",
       {{"LOB_LOC", Mode::InOut, kAnyLob, std::nullopt},
        {"AMOUNT", Mode::In, integer, std::nullopt},
        {"OFFSET", Mode::In, integer, std::nullopt},
        {"BUFFER", Mode::In, buffer, std::nullopt}},
       std::nullopt,
       write},
      {"WRITEAPPEND",
       {{"LOB_LOC", Mode::InOut, kAnyLob, std::nullopt},
        {"AMOUNT", Mode::In, integer, std::nullopt},
        {"BUFFER", Mode::In, buffer, std::nullopt}},
       std::nullopt,
       writeAppend},
      {"APPEND",
       {{"DEST_LOB", Mode::InOut, kAnyLob, std::nullopt},
        {"SRC_LOB", Mode::In, kAnyLob, std::nullopt}},
       std::nullopt,
       append},
      {"TRIM",
       {{"LOB_LOC", Mode::InOut, kAnyLob, std::nullopt},
        {"NEWLEN", Mode::In, integer, std::nullopt}},
       std::nullopt,
       trim},
      {"ERASE",
       {{"LOB_LOC", Mode::InOut, kAnyLob, std::nullopt},
        {"AMOUNT", Mode::InOut, integer, std::nullopt},
        {"OFFSET", Mode::In, integer, Value::integer(1)}},
       std::nullopt,
       erase},
      {"CREATETEMPORARY",
       {{"LOB_LOC", Mode::InOut, kAnyLob, std::nullopt},
        {"CACHE", Mode::In, OraType::of(TypeKind::Boolean), std::nullopt},
        {"DUR", Mode::In, integer, Value::integer(10)}},
       std::nullopt,
       createTemporary},
      {"FREETEMPORARY",
       {{"LOB_LOC", Mode::InOut, kAnyLob, std::nullopt}},
       std::nullopt,
       freeTemporary},
      {"FILEOPEN",
       {{"FILE_LOC", Mode::InOut, kAnyLob, std::nullopt},
        {"OPEN_MODE", Mode::In, integer, Value::integer(0)}},
       std::nullopt,
       fileOpen},
      {"FILECLOSE", {{"FILE_LOC", Mode::InOut, kAnyLob, std::nullopt}}, std::nullopt, fileClose},
      {"LOADFROMFILE",
       {{"DEST_LOB", Mode::InOut, kAnyLob, std::nullopt},
        {"SRC_LOB", Mode::In, kAnyLob, std::nullopt},
        {"AMOUNT", Mode::In, integer, std::nullopt},
        {"DEST_OFFSET", Mode::In, integer, Value::integer(1)},
        {"SRC_OFFSET", Mode::In, integer, Value::integer(1)}},
       std::nullopt,
       loadFromFile},
  };
  p.variables = {
      {"FILE_READONLY", integer, Value::integer(0)},
      {"LOB_READONLY", integer, Value::integer(0)},
      {"LOB_READWRITE", integer, Value::integer(1)},
      {"SESSION", integer, Value::integer(10)},
      {"CALL", integer, Value::integer(12)},
      {"LOBMAXSIZE", integer, Value::integer(4294967295LL)},
  };
  registerBuiltinPackage(std::move(p));
}

}  // namespace vorn::server::plsql
