// A bind handle: one placeholder of a statement (by name or by position)
// tied to the caller's buffers. Made implicitly by OCIBindByName and
// OCIBindByPos and owned by the statement (freed with it).
//
// Element i of an array bind lives at value + i * valueSkip (the skip sizes
// default to the element sizes; OCIBindArrayOfStruct changes them). Input
// values are read at execute, one array row per iteration. A placeholder
// that only receives values (RETURNING ... INTO) is written after each
// iteration: statically into the array (the returned rows of iteration i
// from element i on), or through the OCIBindDynamic out callback, once per
// returned row, with OCI_ATTR_ROWS_RETURNED readable on the handle. The
// maximum and current element counts (maxarr_len, curelep) are the PL/SQL
// table extent; the PL/SQL layer uses them.
#pragma once

#include <string>
#include <vector>

#include "Handle.h"
#include "engine/Value.h"

namespace vorn::server {
class SessionValues;
}

namespace vorn::server::oci {

class StatementHandle;

class BindHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_BIND;
  BindHandle(Environment* env, StatementHandle* owner) : Handle(kType, env), statement(owner) {}

  // The input value of array row `iteration` (through the in callback for
  // OCI_DATA_AT_EXEC binds).
  Value input(ub4 iteration);
  // Writes the rows a RETURNING clause gave for `iteration`; `capacity` is
  // the number of array elements available. Returns true when a value was
  // truncated.
  bool output(ub4 iteration, const std::vector<const Value*>& rows, ub4 capacity,
              SessionValues& values, std::string& scratch);

  // Points the bind at the caller's buffers (OCIBindByName/Pos, obndra):
  // element skips become the element sizes.
  void assign(void* valuep, sb4 value_sz, ub2 type, void* indp, ub2* alenp, ub2* rcodep,
              ub4 maxarr_len, ub4* curelep, ub4 bindMode);

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

  StatementHandle* statement;
  std::string name;  // as given, e.g. ":ID"; empty for a bind by position
  std::string key;   // placeholderKey(name)
  ub4 position = 0;
  void* value = nullptr;
  sb4 valueSize = 0;
  ub2 dty = SQLT_CHR;
  void* indicators = nullptr;
  ub2* lengths = nullptr;
  ub2* returnCodes = nullptr;
  ub4 maxElements = 0;
  ub4* currentElements = nullptr;
  ub4 mode = OCI_DEFAULT;
  ub4 valueSkip = 0;
  ub4 indicatorSkip = sizeof(sb2);
  ub4 lengthSkip = sizeof(ub2);
  ub4 returnCodeSkip = sizeof(ub2);
  void* inContext = nullptr;
  OCICallbackInBind inCallback = nullptr;
  void* outContext = nullptr;
  OCICallbackOutBind outCallback = nullptr;
  ub4 rowsReturned = 0;
  sb4 maxDataSize = 0;
  bool returningTarget = false;

 private:
  void writeElement(ub4 element, const Value* v, SessionValues& values, std::string& scratch,
                    bool& truncated);
  void writeThroughCallback(ub4 iteration, ub4 index, const Value* v, SessionValues& values,
                            std::string& scratch, bool& truncated);
};

}  // namespace vorn::server::oci
