// A query's statement through the version 7 calls: one cursor data area,
// opened on the session's logon data area (or handed a cursor by another
// statement that bound it as a cursor variable) and zeroed when closed.
// The function code, the rows processed, the parse error offset, the
// return code and the rowid are read from the area itself.
#pragma once

#include <cstdint>

#include "StatementCalls.h"
#include "vorn/client/OciTypes.h"

namespace vorn {

class TOracleSession;

class Oci7Cursor final : public StatementCalls {
 public:
  explicit Oci7Cursor(TOracleSession& session);
  // Closes the cursor (oclose), unless the library that opened it is gone.
  ~Oci7Cursor() override;
  Oci7Cursor(const Oci7Cursor&) = delete;
  Oci7Cursor& operator=(const Oci7Cursor&) = delete;

  bool UsesOCI8() const override { return false; }
  int Open() override;
  int Parse(const std::string& text) override;
  int StatementType() override { return cursor_.ft; }
  int FunctionCode() override { return cursor_.ft; }
  int Bind(TVariableData& variable, const BindRequest& request) override;
  int Execute(int end, int start, uint32_t mode) override;
  int ExecuteQuery(int rows, uint32_t mode) override;
  int Describe(int position, ColumnDescription& column) override;
  int Define(TFieldData& field, int position) override;
  int FetchFirst(int rows, bool openedElsewhere) override;
  int FetchNext(int rows) override;
  int RowsProcessed() override { return static_cast<int>(cursor_.rpc); }
  int ParseErrorOffset() override { return cursor_.peo; }
  RowidParts Rowid(bool version81Client) override;
  int ReadLong(TFieldData& field, int position, uint8_t* buffer, int offset, int length,
               int& read) override;
  void* BecomeCursorTarget() override;
  bool Stale() const override { return !Current(); }
  void Forget() override { forgotten_ = true; }
  EOracleError Error(SessionCallLock& lock) override;

 private:
  // The return code of the call just made on the area.
  int Code(client::sword result) const;
  bool Current() const;

  TOracleSession& session_;
  uint64_t generation_ = 0;
  bool forgotten_ = false;
  client::Cda_Def cursor_{};
  bool opened_ = false;
};

}  // namespace vorn
