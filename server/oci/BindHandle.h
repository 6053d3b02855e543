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
// returned row, with OCI_ATTR_ROWS_RETURNED readable on the handle.
//
// In a PL/SQL block every bind is IN and OUT: a scalar that the block
// changed is written back into element 0 (one the block left alone is not
// written, so input buffers may be read-only). A bind with a maximum element
// count (maxarr_len, obndra's maxsiz) is a PL/SQL table: the block reads
// elements 1 .. *curelep and may assign up to the maximum; when it changed
// the table, the elements and the count (*curelep) come back. A cursor bind
// (SQLT_RSET: the value is the address of a statement handle; SQLT_CUR: a
// version 7 cursor data area) receives the query the block opens, which the
// caller then describes and fetches through that handle or area.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Handle.h"
#include "ObjectBinding.h"
#include "engine/HostBinds.h"
#include "engine/Statement.h"
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
  // After assign(), for the "2" calls: the lengths are ub4 elements.
  void useWideLengths(ub4* lengthElements) {
    lengths = lengthElements;
    wideLengths = true;
    lengthSkip = sizeof(ub4);
  }

  // PL/SQL binds (see above).
  bool isCursor() const { return dty == SQLT_RSET || dty == SQLT_CUR; }
  bool isTable() const { return maxElements > 0 && !isCursor(); }
  // Fills `table` from the host array; ORA-06513 when the current count
  // exceeds the maximum, ORA-01460 for an element type a PL/SQL table
  // cannot hold.
  void loadTable();
  // Writes `table` back when the block changed it; true when a value was
  // truncated.
  bool storeTable(SessionValues& values, std::string& scratch);
  // After output() into a locator bind: the locator of `element` points at
  // the row its LOB lives in.
  void pointLocator(ub4 element, std::optional<LobRef> where);
  // Writes a scalar OUT value into element 0; true when it was truncated.
  bool storeScalar(const Value& v, SessionValues& values, std::string& scratch);

  HostTable table;
  HostCursor cursor;
  Value lastInput;  // the scalar the block received
  // Where the query a cursor variable opened goes, for binds whose value
  // is no statement handle (obndra's SQLT_CUR); null for SQLT_RSET.
  std::function<void(std::unique_ptr<Statement>)> cursorReceiver;

  StatementHandle* statement;
  std::string name;  // as given, e.g. ":ID"; empty for a bind by position
  std::string key;   // placeholderKey(name)
  // The occurrences (1-based) of a bind by name among the statement's
  // placeholders, when the text's placeholders are known.
  std::vector<int> slots;
  ub4 position = 0;
  void* value = nullptr;
  sb4 valueSize = 0;
  ub2 dty = SQLT_CHR;
  void* indicators = nullptr;
  void* lengths = nullptr;  // ub2 elements, or ub4 when wideLengths
  bool wideLengths = false;
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
  ObjectTarget object;  // SQLT_NTY, SQLT_REF (OCIBindObject)

 private:
  std::vector<Value> tableInput_;
  void writeElement(ub4 element, const Value* v, SessionValues& values, std::string& scratch,
                    bool& truncated);
  void writeThroughCallback(ub4 iteration, ub4 index, const Value* v, SessionValues& values,
                            std::string& scratch, bool& truncated);
};

}  // namespace vorn::server::oci
