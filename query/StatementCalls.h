// The seam between a query and the call set its session uses: one small
// interface with a version 8 implementation over a statement handle
// (Oci8Statement.h) and a version 7 one over a cursor data area
// (Oci7Cursor.h). The query (OracleQuery.cpp) runs its algorithm against
// this interface and never asks which call set it has.
//
// Every call returns the Oracle error code of what it did: 0 for success,
// 1403 for no data, anything else an error that Error() turns into
// EOracleError. The query decides which codes are errors where, takes the
// session's call lock around the calls (SessionCallLock.h) and tidies up
// before raising. Calls that only allocate or free raise vorn::Exception
// themselves when the library refuses (a broken library, not a database
// error).
#pragma once

#include <cstdint>
#include <string>

#include "vorn/client/OciTypes.h"
#include "vorn/session/OracleError.h"

namespace vorn {

class SessionCallLock;
class TFieldData;
class TVariableData;

// What a bind needs besides the variable.
struct BindRequest {
  int externalType = 0;
  // The value's address: the variable's buffer, or for complex variables
  // the instance's pointer (an OCIStmt** or a Cda_Def* for cursors).
  void* value = nullptr;
  int elementSize = 0;
  // The actual length of a long value, or null.
  bool passLength = false;
  // PL/SQL tables: the table size, and the table count the client updates.
  bool table = false;
  // Objects and REFs: the type descriptor (of the object, or of the objects
  // a REF points to) and, for objects, where the null structure's address
  // is kept.
  client::OCIType* objectType = nullptr;
  void** objectNulls = nullptr;
};

// A column as the server describes it.
struct ColumnDescription {
  int dataSize = 0;
  int dataType = 0;
  std::string name;
  int precision = 0;
  int scale = 0;
  int nullable = 0;
  // Object and REF columns: "schema.type"; object columns: the REF to
  // their type descriptor as the describe gives it (the describe's own).
  std::string typeName;
  client::OCIRef* typeRef = nullptr;
};

// The parts of a rowid.
struct RowidParts {
  uint32_t object = 0;
  uint32_t file = 0;
  uint32_t block = 0;
  uint32_t row = 0;
};

class StatementCalls {
 public:
  virtual ~StatementCalls() = default;

  // Version 8 calls: the statement handle, and the mode bits they take.
  virtual bool UsesOCI8() const = 0;

  // Version 7 opens its cursor (oopen); version 8 allocated its handles
  // when it was made.
  virtual int Open() = 0;

  // Parses `text` (version 8: a new statement handle, then prepare;
  // version 7: a deferred parse) and sets the statement type.
  virtual int Parse(const std::string& text) = 0;
  // The statement's code (OracleQuery.h): 4 select, 3 insert, 5 update,
  // 9 delete, 34 PL/SQL, -1 any other; after an execution, the SQL
  // function code the client reports.
  virtual int StatementType() = 0;
  virtual int FunctionCode() = 0;

  // Binds a variable by its stored name. Version 8 skips the call when the
  // variable is still bound to the same buffer.
  virtual int Bind(TVariableData& variable, const BindRequest& request) = 0;

  // Executes a non-query for elements start .. end - 1.
  virtual int Execute(int end, int start, uint32_t mode) = 0;
  // Version 8: executes a select, fetching `rows` rows into the defines
  // (0: none). Version 7 executes with its first fetch instead.
  virtual int ExecuteQuery(int rows, uint32_t mode) = 0;

  // Describes column `position` (from 1); 1007 past the last one.
  virtual int Describe(int position, ColumnDescription& column) = 0;
  // Points the client at the column's buffers.
  virtual int Define(TFieldData& field, int position) = 0;
  // The first batch (version 7: execute and fetch, or fetch for a cursor
  // that another statement opened) and the following ones.
  virtual int FetchFirst(int rows, bool openedElsewhere) = 0;
  virtual int FetchNext(int rows) = 0;

  virtual int RowsProcessed() = 0;
  virtual int ParseErrorOffset() = 0;
  virtual RowidParts Rowid(bool version81Client) = 0;

  // Reads `length` bytes of the current row's LONG value from `offset`
  // beyond what the row buffer holds (version 7); `read` receives the
  // count. Version 8 holds the whole value in pieces and never calls it.
  virtual int ReadLong(TFieldData& field, int position, uint8_t* buffer, int offset, int length,
                       int& read) = 0;

  // The address another statement binds to hand this one a cursor (an
  // OCIStmt** or a Cda_Def*). Version 8 gets a new statement handle first.
  virtual void* BecomeCursorTarget() = 0;

  // The library that made the handles (or opened the cursor) has been
  // unloaded since; Forget() then makes the destructor leave them alone.
  virtual bool Stale() const = 0;
  virtual void Forget() = 0;

  // The error of the failed call, built through the lock frame (which the
  // building releases).
  virtual EOracleError Error(SessionCallLock& lock) = 0;
};

}  // namespace vorn
