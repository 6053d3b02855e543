// The version 7 call set of a query; see Oci7Cursor.h.
#include "Oci7Cursor.h"

#include <algorithm>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/query/FieldData.h"
#include "vorn/query/Variables.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"

namespace vorn {

using namespace client;

namespace {

// The longest column name kept, and the size of the buffer odescr fills.
constexpr sb4 kNameLength = 30;

OraText* Text(const std::string& text) {
  return reinterpret_cast<OraText*>(const_cast<char*>(text.data()));
}

}  // namespace

Oci7Cursor::Oci7Cursor(TOracleSession& session)
    : session_(session), generation_(ClientLibraryGeneration()) {}

Oci7Cursor::~Oci7Cursor() {
  if (!opened_ || !Current()) return;
  try {
    Oci7().oclose(&cursor_);
  } catch (const std::exception&) {
    // A library without oclose cannot be told; the cursor goes with it.
  }
}

bool Oci7Cursor::Current() const {
  return !forgotten_ && generation_ == ClientLibraryGeneration();
}

int Oci7Cursor::Code(sword result) const {
  // A call's own result only says whether the area's return code matters.
  return result == 0 ? 0 : cursor_.rc;
}

EOracleError Oci7Cursor::Error(SessionCallLock& lock) {
  return lock.Error(static_cast<int>(cursor_.rc));
}

int Oci7Cursor::Open() {
  cursor_ = {};
  const int code =
      Code(Oci7().oopen(&cursor_, session_.LogonDataArea(), nullptr, -1, -1, nullptr, -1));
  opened_ = code == 0;
  return code;
}

int Oci7Cursor::Parse(const std::string& text) {
  return Code(Oci7().oparse(&cursor_, Text(text), static_cast<sb4>(text.size()), kOci7DeferredParse,
                            kOci7Version7Behaviour));
}

int Oci7Cursor::Bind(TVariableData& variable, const BindRequest& request) {
  return Code(Oci7().obndra(
      &cursor_, Text(variable.name_), static_cast<sword>(variable.name_.size()),
      static_cast<ub1*>(request.value), request.elementSize, request.externalType, -1,
      variable.indicators_.data(), request.passLength ? &variable.bindLength_ : nullptr, nullptr,
      request.table ? static_cast<ub4>(variable.elementCount_) : 0,
      request.table ? &variable.tableCount_ : nullptr, nullptr, -1, -1));
}

int Oci7Cursor::Execute(int end, int start, uint32_t) {
  return Code(Oci7().oexn(&cursor_, end, start));
}

int Oci7Cursor::ExecuteQuery(int, uint32_t) {
  // The first fetch executes (oexfet).
  return 0;
}

int Oci7Cursor::Describe(int position, ColumnDescription& column) {
  sb4 size = 0;
  sb2 type = 0;
  sb1 name[kNameLength] = {};
  sb4 nameLength = kNameLength;
  sb4 displaySize = 0;
  sb2 precision = 0;
  sb2 scale = 0;
  sb2 nullable = 0;
  const int code = Code(Oci7().odescr(&cursor_, position, &size, &type, name, &nameLength,
                                      &displaySize, &precision, &scale, &nullable));
  if (code != 0) return code;
  column.dataSize = size;
  column.dataType = type;
  column.name.assign(reinterpret_cast<const char*>(name),
                     static_cast<size_t>(std::clamp<sb4>(nameLength, 0, kNameLength)));
  column.precision = precision;
  column.scale = scale;
  column.nullable = nullable;
  return 0;
}

int Oci7Cursor::Define(TFieldData& field, int position) {
  return Code(Oci7().odefin(&cursor_, position, field.buffer_.get(), field.elementSize_,
                            field.bufferType_, -1, field.indicators_.data(), nullptr, -1, -1,
                            field.lengths_.data(), nullptr));
}

int Oci7Cursor::FetchFirst(int rows, bool openedElsewhere) {
  if (openedElsewhere) return Code(Oci7().ofen(&cursor_, rows));
  return Code(Oci7().oexfet(&cursor_, static_cast<ub4>(rows), 0, 0));
}

int Oci7Cursor::FetchNext(int rows) {
  return Code(Oci7().ofen(&cursor_, rows));
}

RowidParts Oci7Cursor::Rowid(bool) {
  return {cursor_.rid.rd.rcs4, cursor_.rid.rd.rcs5, cursor_.rid.rcs7, cursor_.rid.rcs8};
}

int Oci7Cursor::ReadLong(TFieldData& field, int position, uint8_t* buffer, int offset, int length,
                         int& read) {
  // oflng leaves the cursor's rows-processed count as it found it.
  const ub4 rows = cursor_.rpc;
  ub4 returned = 0;
  const int code =
      Code(Oci7().oflng(&cursor_, position, buffer, length, field.bufferType_, &returned, offset));
  cursor_.rpc = rows;
  read = static_cast<int>(returned);
  return code;
}

void* Oci7Cursor::BecomeCursorTarget() {
  // The statement that binds the area opens the cursor in it.
  if (opened_ && Current()) Oci7().oclose(&cursor_);
  cursor_ = {};
  opened_ = true;
  return &cursor_;
}

}  // namespace vorn
