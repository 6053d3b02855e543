// A define handle: where the values of one select-list column go when rows
// are fetched. Made implicitly by OCIDefineByPos and owned by the statement.
// Row r of a fetch call lands in element r (at value + r * valueSkip, the
// skips set by OCIDefineArrayOfStruct). Per element: the indicator is -1
// for NULL, 0 for a complete value, the original length (or -2) for a
// truncated one; the returned length is the bytes placed; the return code
// 0, 1405 (NULL) or 1406 (truncated).
//
// A define in OCI_DYNAMIC_FETCH mode with OCIDefineDynamic (how LONG and
// LONG RAW columns are read) hands each value out in pieces: the callback is
// asked for a buffer (first OCI_FIRST_PIECE, then OCI_NEXT_PIECE) until the
// whole value has been delivered.
#pragma once

#include <optional>
#include <string>

#include "Handle.h"
#include "ObjectBinding.h"
#include "engine/Lob.h"

namespace vorn::server {
class SessionValues;
}

namespace vorn::server::oci {

class StatementHandle;
struct ValueView;

class DefineHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_DEFINE;
  DefineHandle(Environment* env, StatementHandle* owner) : Handle(kType, env), statement(owner) {}

  // What delivering one value left to report: 0, 1405 (NULL without an
  // indicator: an error) or 1406 (truncated: a warning when an indicator or
  // return code shows it, else an error).
  struct Outcome {
    int code = 0;
    bool error = false;
  };
  Outcome write(const ValueView& v, ub4 row, SessionValues& values, std::string& scratch);
  // Points the define at the caller's buffers (OCIDefineByPos, odefin):
  // element skips become the element sizes, the callback is dropped.
  void assign(void* valuep, sb4 value_sz, ub2 type, void* indp, ub2* rlenp, ub2* rcodep,
              ub4 defineMode);

  sword setAttribute(void* value, ub4 size, ub4 attribute);
  // After assign(), for the "2" calls: the lengths are ub4 elements.
  void useWideLengths(ub4* lengthElements) {
    lengths = lengthElements;
    wideLengths = true;
    lengthSkip = sizeof(ub4);
  }
  // After write() for a locator define: the locator of `row` points at
  // where its LOB lives (a NULL leaves it without a LOB).
  void pointLocator(ub4 row, const ValueView& v, std::optional<LobRef> where);

  StatementHandle* statement;
  ub4 position = 0;
  void* value = nullptr;
  sb4 valueSize = 0;
  ub2 dty = SQLT_CHR;
  void* indicators = nullptr;
  void* lengths = nullptr;  // ub2 elements, or ub4 when wideLengths
  bool wideLengths = false;
  ub2* returnCodes = nullptr;
  ub4 mode = OCI_DEFAULT;
  ub4 valueSkip = 0;
  ub4 indicatorSkip = sizeof(sb2);
  ub4 lengthSkip = sizeof(ub2);
  ub4 returnCodeSkip = sizeof(ub2);
  void* context = nullptr;
  OCICallbackDefine callback = nullptr;
  ObjectTarget object;  // SQLT_NTY, SQLT_REF (OCIDefineObject)

 private:
  Outcome writePieces(const ValueView& v, ub4 row, SessionValues& values, std::string& scratch);
};

}  // namespace vorn::server::oci
