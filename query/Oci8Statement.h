// A query's statement through the version 8 calls: its two error handles
// (one for the calls, one for attribute reads, so that reading a row count
// never overwrites a pending error), its ROWID descriptor and its
// statement handle, all allocated under the session's environment.
#pragma once

#include <cstdint>

#include "StatementCalls.h"
#include "vorn/client/OciTypes.h"

namespace vorn {

class TOracleSession;

class Oci8Statement final : public StatementCalls {
 public:
  // Allocates the error handles and the ROWID descriptor.
  explicit Oci8Statement(TOracleSession& session);
  // Frees the handles, unless the library that made them is gone.
  ~Oci8Statement() override;
  Oci8Statement(const Oci8Statement&) = delete;
  Oci8Statement& operator=(const Oci8Statement&) = delete;

  bool UsesOCI8() const override { return true; }
  int Open() override { return 0; }
  int Parse(const std::string& text) override;
  int StatementType() override { return statementType_; }
  int FunctionCode() override;
  int Bind(TVariableData& variable, const BindRequest& request) override;
  int Execute(int end, int start, uint32_t mode) override;
  int ExecuteQuery(int rows, uint32_t mode) override;
  int Describe(int position, ColumnDescription& column) override;
  int Define(TFieldData& field, int position) override;
  int FetchFirst(int rows, bool openedElsewhere) override;
  int FetchNext(int rows) override;
  int RowsProcessed() override;
  int ParseErrorOffset() override;
  RowidParts Rowid(bool version81Client) override;
  int ReadLong(TFieldData& field, int position, uint8_t* buffer, int offset, int length,
               int& read) override;
  void* BecomeCursorTarget() override;
  bool Stale() const override { return !Current(); }
  void Forget() override { forgotten_ = true; }
  EOracleError Error(SessionCallLock& lock) override;

 private:
  // The define callback of LONG and LONG RAW columns: appends a piece to
  // the column for every piece the client asks for.
  static client::sb4 LongPiece(void* context, client::OCIDefine* define, client::ub4 iteration,
                               void** buffer, client::ub4** length, client::ub1* piece,
                               void** indicator, client::ub2** returnCode);
  // The error code of a call's status (the query's status check).
  int Check(client::sword status);
  void NewStatementHandle();
  void FreeStatementHandle();
  // The handles still belong to the loaded library.
  bool Current() const;

  TOracleSession& session_;
  uint64_t generation_ = 0;
  bool forgotten_ = false;
  client::OCIError* errorHandle_ = nullptr;
  client::OCIError* attributeErrorHandle_ = nullptr;
  void* rowidDescriptor_ = nullptr;
  client::OCIStmt* statement_ = nullptr;
  client::sword lastStatus_ = 0;
  int statementType_ = 0;
  client::ub4 columnCount_ = 0;
};

}  // namespace vorn
