// odessp: the arguments of a stored procedure or function, one array
// element per argument (a function's result first, at position 0), as the
// stored code's signature declares them. The area may be the logon data
// area (as Oracle's documentation passes it) or an open cursor of it.
// argnam[i], when given, points to a buffer of at least 30 bytes for the
// name of argument i (not terminated; arnlen[i] is its length).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "AreaCall.h"
#include "ServiceContext.h"
#include "UserSession.h"
#include "engine/Session.h"
#include "engine/Types.h"
#include "plsql/StoredCode.h"
#include "plsql/Syntax.h"
#include "value/AsciiCase.h"

using namespace vorn::server;
using namespace vorn::server::oci7;

namespace {

// Oracle's codes of a PL/SQL BOOLEAN argument and of a cursor variable.
constexpr ub2 kBooleanType = 252;
constexpr ub2 kCursorType = 102;
// Argument names are cut to Oracle's identifier length.
constexpr size_t kNameLength = 30;

struct Argument {
  std::string name;
  ub2 position = 0;
  ub1 mode = 0;  // 0 IN, 1 OUT, 2 IN OUT
  bool hasDefault = false;
  OraType type;
  bool refCursor = false;
};

// [schema.]name, each part upper-cased unless it is quoted.
std::vector<std::string> nameParts(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  bool quoted = false;
  auto finish = [&] {
    parts.push_back(part);
    part.clear();
  };
  for (char ch : text) {
    if (ch == '"') {
      quoted = !quoted;
    } else if (ch == '.' && !quoted) {
      finish();
    } else {
      part += quoted ? ch : asciiUpper(ch);
    }
  }
  finish();
  return parts;
}

ub1 modeCode(plsql::ParamMode mode) {
  switch (mode) {
    case plsql::ParamMode::Out:
      return 1;
    case plsql::ParamMode::InOut:
      return 2;
    default:
      return 0;
  }
}

std::vector<Argument> argumentsOf(LogonArea& logon, const std::string& objectName) {
  Session& session = *logon.session().engine;
  std::vector<std::string> parts = nameParts(objectName);
  if (parts.empty() || parts.size() > 2 ||
      std::any_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); })) {
    raiseOra(4043, {objectName});
  }
  std::shared_ptr<const Catalog> catalog = session.catalog();
  const StoredCodeInfo* code = plsql::findStoredCode(*catalog, session.user(), parts);
  if (!code) raiseOra(4043, {objectName});
  std::shared_ptr<const plsql::Signature> signature = plsql::storedSignature(*code, catalog);
  if (!signature) {
    std::string kind = asciiLowerCase(code->type);
    raiseOra(4063, {kind + " \"" + code->owner + "." + code->name + "\""});
  }
  std::vector<Argument> arguments;
  if (signature->function) {
    Argument result;
    result.mode = 1;
    result.type = signature->returns.sql;
    result.refCursor = signature->returns.refCursor;
    arguments.push_back(result);
  }
  ub2 position = 0;
  for (const plsql::Param& p : signature->params) {
    Argument a;
    a.name = p.name.substr(0, kNameLength);
    a.position = ++position;
    a.mode = modeCode(p.mode);
    a.hasDefault = p.hasDefault;
    a.type = p.type.sql;
    a.refCursor = p.type.refCursor;
    arguments.push_back(a);
  }
  return arguments;
}

template <class T>
void put(T* array, size_t i, T value) {
  if (array) array[i] = value;
}

}  // namespace

extern "C" sword odessp(Cda_Def* area, OraText* objnam, size_t onlen, ub1*, size_t, ub1*, size_t,
                        ub2* ovrld, ub2* pos, ub2* level, OraText** argnam, ub2* arnlen, ub2* dtype,
                        ub1* defsup, ub1* mode, ub4* dtsiz, sb2* prec, sb2* scale, ub1* radix,
                        ub4* spare, ub4* arrsiz) {
  auto describe = [&](LogonArea& logon) {
    if (!objnam) raiseOra(1009);
    if (!arrsiz) raiseOra(21560, {"21"});
    const char* text = reinterpret_cast<const char*>(objnam);
    std::string name =
        onlen == static_cast<size_t>(-1) ? std::string(text) : std::string(text, onlen);
    std::vector<Argument> arguments = argumentsOf(logon, name);
    // The caller's arrays hold *arrsiz elements; nothing is written past them.
    if (arguments.size() > *arrsiz) raiseOra(21560, {"21"});
    for (size_t i = 0; i < arguments.size(); ++i) {
      const Argument& a = arguments[i];
      bool number = a.type.kind == TypeKind::Number;
      put<ub2>(ovrld, i, 0);
      put<ub2>(pos, i, a.position);
      put<ub2>(level, i, 0);
      if (argnam && argnam[i]) {
        std::memcpy(argnam[i], a.name.data(), a.name.size());
        put<ub2>(arnlen, i, static_cast<ub2>(a.name.size()));
      } else {
        put<ub2>(arnlen, i, 0);
      }
      bool sizeless = a.type.kind == TypeKind::Boolean || a.refCursor;
      put<ub2>(dtype, i,
               a.refCursor                        ? kCursorType
               : a.type.kind == TypeKind::Boolean ? kBooleanType
                                                  : static_cast<ub2>(describeTypeCode(a.type)));
      put<ub1>(defsup, i, a.hasDefault ? 1 : 0);
      put<ub1>(mode, i, a.mode);
      put<ub4>(dtsiz, i, sizeless ? 0 : static_cast<ub4>(describeDataSize(a.type)));
      put<sb2>(prec, i, static_cast<sb2>(number ? a.type.precision : 0));
      put<sb2>(scale, i, static_cast<sb2>(number && a.type.scale != -127 ? a.type.scale : 0));
      put<ub1>(radix, i, number ? (a.type.isFloat ? 2 : 10) : 0);
      put<ub4>(spare, i, 0);
    }
    *arrsiz = static_cast<ub4>(arguments.size());
    return Outcome{};
  };
  return shielded(area, [&] {
    if (area && area->chk == kLogonCheck && areas().logon(area)) return logonCall(area, describe);
    return cursorCall(area, kFcDescribe, [&](CursorArea& c) { return describe(c.logon()); });
  });
}
