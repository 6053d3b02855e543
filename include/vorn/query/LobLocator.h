// TLOBLocator: a stream over one CLOB, BLOB or BFILE value, through the
// version 8 LOB calls.
//
// A locator is made for a session that is logged on with version 8 calls
// ("Not logged on" otherwise; a version 7 session fails the session's
// CheckOCI8Feature with "A TLOBLocator instance") and one of the types
// otCLOB, otBLOB and otBFile ("Type must be otCLOB, otBLOB or otBFile"
// otherwise). A new locator is null: it stands for no LOB until a statement
// fills it, typically as the variable of RETURNING ... INTO (Variables.h,
// SetComplexVariable). A query's LOB column has a locator of its own
// (TOracleQuery::LOBField) that always stands for the current row's value
// (and for no LOB before the first row).
//
// The stream. Position is a 0-based offset in characters for a CLOB (one
// byte each in a single-byte character set) and in bytes otherwise; Size is
// the LOB's length (0 for a null locator). Read moves up to `count` bytes
// from the position and returns how many it moved: 0 for a null locator and
// at or past the end. A BFILE is opened (read only) by its first read and
// closed again when the locator is released: destroyed, cleared, or, for a
// query's column, moved to another row. Write puts `count` bytes at the
// position (past the end the server fills the gap with blanks in a CLOB,
// zero bytes in a BLOB) and needs the row's lock: a row this session
// inserted or updated in its open transaction, or selected FOR UPDATE
// (else ORA-22920). SetSize trims, or grows by writing one byte at the new
// end (a blank in a CLOB, a zero byte otherwise), which leaves the position
// there. Seek sets the position from the start, the current position or the
// end; a position before the start raises EStreamError "Invalid stream
// position" and leaves the position as it was.
//
// Errors. The server's errors raise EOracleError; a handle the client does
// not know raises vorn::Exception "TLOBLocator: Invalid handle". A locator
// lives on after its session logs off, but every operation then raises
// "Not logged on"; after a new logon it is null again.
//
// Tag is a number for the owner's use (the dataset keeps the number of the
// field the locator serves there).
#pragma once

#include <cstdint>
#include <string>

#include "vorn/client/OciTypes.h"
#include "vorn/host/Stream.h"
#include "vorn/session/SessionClients.h"

namespace vorn {

class TOracleSession;

class TLOBLocator : public TStream, private RegisteredQuery {
  VORN_CLASS(TLOBLocator, TStream)
  TLOBLocator(TOracleSession* session, int lobType);
  ~TLOBLocator() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // The LOB's length; 0 for a null locator.
  int64_t Size() override;
  void SetSize(int64_t size) override;

  // The locator stands for no LOB (it was never filled, or the value it was
  // filled with was null).
  bool IsNull();
  // Makes the locator null: a fresh one takes its place.
  void Clear();

  // otCLOB, otBLOB or otBFile.
  int LOBType() const { return lobType_; }
  TOracleSession* Session() const { return session_; }
  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }

  // Where the locator in use is kept: the locator's own, or the current
  // row's slot of a query column. Binding passes this address.
  client::OCILobLocator** LocatorAddress() const { return address_; }

 private:
  friend class TOracleQuery;
  friend class TOracleObject;
  friend class ColumnBuffers;

  // A query column's locator: no locator of its own and no registration
  // with the session; the column points it at the row in use.
  struct ColumnLocator {};
  TLOBLocator(TOracleSession* session, int lobType, ColumnLocator);

  void Setup(TOracleSession* session, int lobType);
  // Points the locator at another slot (a query column's row), releasing
  // the one in use; the position returns to 0.
  void PointAt(client::OCILobLocator** address);
  // Closes a BFILE this locator opened.
  void Release();
  void ResetPosition() { position_ = 0; }
  // The whole value, read beside the stream's position (which stays).
  std::string WholeValue();
  // The locator's handles are no longer needed (the column goes, or the
  // session logs off): frees them through the library when `live`, else
  // forgets them.
  void DropHandles(bool live);
  // True while the handles belong to the loaded library.
  bool HandlesLive() const;

  // Checks the session and makes the handles and the locator exist; false
  // for a column's locator before its first row, which stands for no LOB.
  bool Prepare();
  // The same for changing the LOB: "TLOBLocator: Invalid handle" without
  // a locator.
  void PrepareWrite();
  client::OCILobLocator* Locator() const { return *address_; }
  bool IsInitialized();
  int64_t Length();
  // The status check of every call.
  void Check(client::sword status);

  // RegisteredQuery: the session logs off, or goes.
  void CloseForLogOff() override;
  void DetachFromSession() override;

  client::OCILobLocator* ownLocator_ = nullptr;
  client::OCILobLocator** address_ = &ownLocator_;
  TOracleSession* session_ = nullptr;
  client::OCIError* errorHandle_ = nullptr;
  int64_t position_ = 0;
  client::ub4 descriptorType_ = 0;
  int32_t tag_ = 0;
  int lobType_ = 0;
  // A column's locator uses the rows' slots and never has its own.
  bool columnLocator_ = false;
  // The BFILE at the address was opened by this locator's read.
  bool fileOpened_ = false;
  // The library generation the handles were allocated in.
  uint64_t generation_ = 0;
};

}  // namespace vorn
