// LOB and BFILE locators (OCI_DTYPE_LOB, OCI_DTYPE_FILE) and what the LOB
// calls do with them (LobCalls.cpp holds the entry points).
//
// A locator is filled by a fetch into a SQLT_CLOB/SQLT_BLOB/SQLT_BFILEE
// define, by RETURNING ... INTO such a bind, by OCILobAssign,
// OCILobFileSetName or OCILobCreateTemporary. It keeps the LOB value as it
// was read (read consistency: a locator reads the value it pointed at when
// the row was selected, also after its transaction ended, as Oracle's
// locators do) and, for a LOB of a table column, the row it lives in.
//
// Writing (write, append, copy, erase, trim, load-from-file) changes the
// locator's value and, for a row's LOB, the row: this session must hold the
// row's lock (SELECT ... FOR UPDATE, or its own INSERT or UPDATE in the open
// transaction), else ORA-22920 and nothing changes. Temporary LOBs live in
// the locator alone. Reading a BFILE needs OCILobFileOpen (ORA-22289
// otherwise); the file is read when it is opened.
//
// Amounts and offsets are Oracle's: 1-based, in characters for CLOBs (one
// byte each in the database character set, WE8ISO8859P1) and bytes for
// BLOBs and BFILEs.
#pragma once

#include <optional>
#include <string>

#include "Handle.h"
#include "engine/Lob.h"
#include "engine/Types.h"
#include "engine/Value.h"

namespace vorn::server::oci {

class UserSession;
struct ValueView;

class LobLocator : public Handle {
 public:
  LobLocator(ub4 descriptorType, Environment* env) : Handle(descriptorType, env) {}
  ~LobLocator();

  sword setAttribute(void* value, ub4 size, ub4 attribute);

  // Fills the locator from a value of a LOB column of type `kind` (Clob,
  // Blob or Bfile); `v` NULL leaves it without a LOB. `row` is where the
  // value lives, when it is a table's column.
  void load(TypeKind kind, const ValueView& v, std::optional<LobRef> row);
  // The value the locator stands for as a bind: its LOB (empty when
  // OCI_ATTR_LOBEMPTY was set to 0); ORA-22275 when it holds none.
  Value boundValue() const;
  // Copies everything (OCILobAssign); a temporary LOB becomes a copy.
  void assignFrom(const LobLocator& other);

  bool holdsLob() const { return kind != TypeKind::Null; }
  bool isFile() const { return kind == TypeKind::Bfile; }
  // ORA-22275 unless the locator holds a LOB (or names a file).
  void requireLob() const;
  // The value's length in characters or bytes (a BFILE's file size).
  ub4 length(const Catalog& catalog) const;

  // Reading: the bytes of the LOB (an open BFILE's file).
  const std::string& readable() const;
  // Writing: checks that the value may change (ORA-22275 for a BFILE or a
  // locator without LOB, ORA-22920 for a row this session has not locked
  // and for a LOB that was read without its row: through a view or
  // computed by an expression).
  void checkWritable(UserSession& session) const;
  // Replaces the value, in the row too for a row's LOB.
  void store(UserSession& session, std::string value);

  // BFILEs.
  void setFileName(BfileName name);
  void openFile(UserSession& session);
  void closeFile();
  static void closeAllFiles(UserSession& session);

  TypeKind kind = TypeKind::Null;  // Clob, Blob, Bfile; Null: no LOB
  bool national = false;
  std::string data;  // the value (a BFILE's file while it is open)
  std::optional<LobRef> row;
  bool temporary = false;
  bool opened = false;  // OCILobOpen
  bool empty = false;   // OCI_ATTR_LOBEMPTY was set to 0
  BfileName file;
  UserSession* fileSession = nullptr;  // the session that opened the file

  // A piecewise read or write in progress (OCI_NEED_DATA between calls).
  struct Stream {
    bool active = false;
    size_t position = 0;  // 0-based, next byte
    size_t remaining = 0;
    size_t total = 0;     // moved so far
    std::string pending;  // a write's value, stored at the last piece
  };
  Stream reading;
  Stream writing;
};

// The locator behind `p`: a LOB or a BFILE locator.
LobLocator* lobLocatorOf(const void* p);

// True for the external types whose buffers hold locators.
inline bool isLocatorType(ub2 dty) {
  return dty == SQLT_CLOB || dty == SQLT_BLOB || dty == SQLT_BFILEE;
}
// The column type a locator type reads.
TypeKind locatorKindOf(ub2 dty);

}  // namespace vorn::server::oci
