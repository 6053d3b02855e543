// The version 8 call set of a query; see Oci8Statement.h.
#include "Oci8Statement.h"

#include <algorithm>
#include <cstring>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/FieldData.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/query/Variables.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"

namespace vorn {

using namespace client;

namespace {

// The longest column name kept.
constexpr size_t kNameLength = 30;

// The client's version 8 statement types as the query's codes (the version
// 7 function codes).
int StatementCode(ub2 type) {
  switch (type) {
    case OCI_STMT_SELECT:
      return kOci7FunctionSelect;
    case OCI_STMT_UPDATE:
      return kOci7FunctionUpdate;
    case OCI_STMT_DELETE:
      return kOci7FunctionDelete;
    case OCI_STMT_INSERT:
      return kOci7FunctionInsert;
    case OCI_STMT_BEGIN:
    case OCI_STMT_DECLARE:
      return kOci7FunctionPlsql;
    default:
      return -1;
  }
}

// The first piece of a LONG value, and the size at which pieces stop
// doubling.
constexpr int kFirstPieceSize = 2000;
constexpr int kLargestPieceSize = 32000;

}  // namespace

Oci8Statement::Oci8Statement(TOracleSession& session)
    : session_(session), generation_(ClientLibraryGeneration()) {
  OCIEnv* environment = session.EnvironmentHandle();
  const auto allocate = [environment](void** handle, ub4 type) {
    const sword status = Oci8().OCIHandleAlloc(environment, handle, type, 0, nullptr);
    if (status != OCI_SUCCESS || *handle == nullptr) {
      throw Exception("OCIHandleAlloc failed for handle type " + std::to_string(type) +
                      " with status " + std::to_string(status));
    }
  };
  try {
    allocate(reinterpret_cast<void**>(&errorHandle_), OCI_HTYPE_ERROR);
    allocate(reinterpret_cast<void**>(&attributeErrorHandle_), OCI_HTYPE_ERROR);
    const sword status =
        Oci8().OCIDescriptorAlloc(environment, &rowidDescriptor_, OCI_DTYPE_ROWID, 0, nullptr);
    if (status != OCI_SUCCESS || rowidDescriptor_ == nullptr) {
      throw Exception("OCIDescriptorAlloc failed for the ROWID descriptor with status " +
                      std::to_string(status));
    }
  } catch (...) {
    if (errorHandle_ != nullptr) Oci8().OCIHandleFree(errorHandle_, OCI_HTYPE_ERROR);
    if (attributeErrorHandle_ != nullptr) {
      Oci8().OCIHandleFree(attributeErrorHandle_, OCI_HTYPE_ERROR);
    }
    throw;
  }
}

Oci8Statement::~Oci8Statement() {
  if (!Current()) return;
  try {
    FreeStatementHandle();
    Oci8().OCIDescriptorFree(rowidDescriptor_, OCI_DTYPE_ROWID);
    Oci8().OCIHandleFree(attributeErrorHandle_, OCI_HTYPE_ERROR);
    Oci8().OCIHandleFree(errorHandle_, OCI_HTYPE_ERROR);
  } catch (const std::exception&) {
    // A library without the calls cannot be told; the handles go with it.
  }
}

bool Oci8Statement::Current() const {
  return !forgotten_ && generation_ == ClientLibraryGeneration();
}

int Oci8Statement::Check(sword status) {
  lastStatus_ = status;
  switch (status) {
    case OCI_SUCCESS:
    case OCI_SUCCESS_WITH_INFO:
    case OCI_NEED_DATA:
      return 0;
    case OCI_NO_DATA:
      return kOci7NoDataFound;
    case OCI_ERROR:
    case OCI_INVALID_HANDLE: {
      sb4 code = 0;
      Oci8().OCIErrorGet(errorHandle_, 1, nullptr, &code, nullptr, 0, OCI_HTYPE_ERROR);
      // An invalid handle leaves no record; it is a failure all the same.
      return code != 0 ? code : status;
    }
    default:
      return status;
  }
}

EOracleError Oci8Statement::Error(SessionCallLock& lock) {
  if (lastStatus_ == OCI_INVALID_HANDLE) {
    sb4 code = 0;
    Oci8().OCIErrorGet(errorHandle_, 1, nullptr, &code, nullptr, 0, OCI_HTYPE_ERROR);
    if (code == 0) {
      lock.Release();
      return EOracleError("OCI_INVALID_HANDLE", OCI_INVALID_HANDLE);
    }
  }
  return lock.Error(errorHandle_);
}

void Oci8Statement::FreeStatementHandle() {
  if (statement_ != nullptr) Oci8().OCIHandleFree(statement_, OCI_HTYPE_STMT);
  statement_ = nullptr;
}

void Oci8Statement::NewStatementHandle() {
  FreeStatementHandle();
  void* handle = nullptr;
  const sword status =
      Oci8().OCIHandleAlloc(session_.EnvironmentHandle(), &handle, OCI_HTYPE_STMT, 0, nullptr);
  if (status != OCI_SUCCESS || handle == nullptr) {
    throw Exception("OCIHandleAlloc failed for a statement handle with status " +
                    std::to_string(status));
  }
  statement_ = static_cast<OCIStmt*>(handle);
  // The query fetches in batches of its own; the client's prefetching
  // would only read rows ahead of them.
  ub4 none = 0;
  Oci8().OCIAttrSet(statement_, OCI_HTYPE_STMT, &none, 0, OCI_ATTR_PREFETCH_ROWS,
                    attributeErrorHandle_);
  Oci8().OCIAttrSet(statement_, OCI_HTYPE_STMT, &none, 0, OCI_ATTR_PREFETCH_MEMORY,
                    attributeErrorHandle_);
  columnCount_ = 0;
}

int Oci8Statement::Parse(const std::string& text) {
  NewStatementHandle();
  statementType_ = 0;
  const int code = Check(
      Oci8().OCIStmtPrepare(statement_, errorHandle_, reinterpret_cast<const OraText*>(text.data()),
                            static_cast<ub4>(text.size()), OCI_NTV_SYNTAX, OCI_DEFAULT));
  if (code != 0) return code;
  ub2 type = 0;
  const int typeCode = Check(Oci8().OCIAttrGet(statement_, OCI_HTYPE_STMT, &type, nullptr,
                                               OCI_ATTR_STMT_TYPE, errorHandle_));
  if (typeCode != 0) return typeCode;
  statementType_ = StatementCode(type);
  return 0;
}

int Oci8Statement::FunctionCode() {
  ub2 code = 0;
  Oci8().OCIAttrGet(statement_, OCI_HTYPE_STMT, &code, nullptr, OCI_ATTR_SQLFNCODE,
                    attributeErrorHandle_);
  statementType_ = code;
  return code;
}

int Oci8Statement::Bind(TVariableData& variable, const BindRequest& request) {
  if (variable.bindHandle_ != nullptr && variable.boundAddress_ == request.value &&
      variable.boundIndicators_ == variable.indicators_.data() &&
      variable.boundSize_ == request.elementSize) {
    return 0;
  }
  const std::string& name = variable.name_;
  const int code = Check(Oci8().OCIBindByName(
      statement_, &variable.bindHandle_, errorHandle_,
      reinterpret_cast<const OraText*>(name.data()), static_cast<sb4>(name.size()), request.value,
      request.elementSize, static_cast<ub2>(request.externalType), variable.indicators_.data(),
      request.passLength ? &variable.bindLength_ : nullptr, nullptr,
      request.table ? static_cast<ub4>(variable.elementCount_) : 0,
      request.table ? &variable.tableCount_ : nullptr, OCI_DEFAULT));
  if (code != 0) {
    variable.bindHandle_ = nullptr;
    return code;
  }
  if (request.externalType == SQLT_NTY || request.externalType == SQLT_REF) {
    const int objectCode = Check(Oci8().OCIBindObject(
        variable.bindHandle_, errorHandle_, request.objectType, static_cast<void**>(request.value),
        nullptr, request.objectNulls, nullptr));
    if (objectCode != 0) {
      variable.bindHandle_ = nullptr;
      return objectCode;
    }
  }
  variable.boundAddress_ = request.value;
  variable.boundIndicators_ = variable.indicators_.data();
  variable.boundSize_ = request.elementSize;
  return 0;
}

int Oci8Statement::Execute(int end, int start, uint32_t mode) {
  return Check(Oci8().OCIStmtExecute(session_.ServiceContextHandle(), statement_, errorHandle_,
                                     static_cast<ub4>(end), static_cast<ub4>(start), nullptr,
                                     nullptr, mode));
}

int Oci8Statement::ExecuteQuery(int rows, uint32_t mode) {
  return Check(Oci8().OCIStmtExecute(session_.ServiceContextHandle(), statement_, errorHandle_,
                                     static_cast<ub4>(rows), 0, nullptr, nullptr, mode));
}

int Oci8Statement::Describe(int position, ColumnDescription& column) {
  if (position == 1) {
    columnCount_ = 0;
    const int code = Check(Oci8().OCIAttrGet(statement_, OCI_HTYPE_STMT, &columnCount_, nullptr,
                                             OCI_ATTR_PARAM_COUNT, errorHandle_));
    if (code != 0) return code;
  }
  if (static_cast<ub4>(position) > columnCount_) return kOci7VariableNotInSelectList;
  void* parameter = nullptr;
  int code = Check(Oci8().OCIParamGet(statement_, OCI_HTYPE_STMT, errorHandle_, &parameter,
                                      static_cast<ub4>(position)));
  if (code != 0) return code;
  // Each value lands in a zeroed variable at least as wide as any client
  // writes for it (precision is a byte for some, two for others).
  ub2 size = 0;
  ub2 type = 0;
  ub2 precision = 0;
  sb2 scale = 0;
  ub2 nullable = 0;
  OraText* name = nullptr;
  ub4 nameLength = 0;
  const auto get = [&](void* value, ub4* length, ub4 attribute) {
    if (code == 0) {
      code = Check(
          Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, value, length, attribute, errorHandle_));
    }
  };
  get(&size, nullptr, OCI_ATTR_DATA_SIZE);
  get(&type, nullptr, OCI_ATTR_DATA_TYPE);
  get(&name, &nameLength, OCI_ATTR_NAME);
  get(&precision, nullptr, OCI_ATTR_PRECISION);
  get(&scale, nullptr, OCI_ATTR_SCALE);
  get(&nullable, nullptr, OCI_ATTR_IS_NULL);
  if (code != 0) return code;
  column.dataSize = size;
  column.dataType = type;
  column.name.assign(reinterpret_cast<const char*>(name),
                     std::min<size_t>(nameLength, kNameLength));
  column.precision = static_cast<ub1>(precision & 0xFF);
  column.scale = static_cast<sb1>(scale & 0xFF);
  column.nullable = nullable & 0xFF;
  if (type == SQLT_NTY || type == SQLT_REF) {
    // "schema.type" for the object and REF columns.
    OraText* schema = nullptr;
    ub4 schemaLength = 0;
    OraText* typeName = nullptr;
    ub4 typeLength = 0;
    get(&typeName, &typeLength, OCI_ATTR_TYPE_NAME);
    get(&schema, &schemaLength, OCI_ATTR_SCHEMA_NAME);
    if (code != 0) return code;
    column.typeName = std::string(reinterpret_cast<const char*>(schema),
                                  std::min<size_t>(schemaLength, kNameLength)) +
                      "." +
                      std::string(reinterpret_cast<const char*>(typeName),
                                  std::min<size_t>(typeLength, kNameLength));
    if (type == SQLT_NTY) {
      get(&column.typeRef, nullptr, OCI_ATTR_REF_TDO);
      if (code != 0) return code;
    }
  }
  return 0;
}

int Oci8Statement::Define(TFieldData& field, int position) {
  const bool isLong = field.bufferType_ == otLong || field.bufferType_ == otLongRaw;
  field.defineHandle_ = nullptr;
  void* value = field.buffer_.get();
  if (field.bufferType_ == otCursor) value = field.cursorHandles_.data();
  int code = Check(Oci8().OCIDefineByPos(
      statement_, &field.defineHandle_, errorHandle_, static_cast<ub4>(position),
      isLong ? nullptr : value, isLong ? 2147483647 : field.elementSize_,
      static_cast<ub2>(field.bufferType_), field.indicators_.data(),
      isLong ? nullptr : field.lengths_.data(), nullptr, isLong ? OCI_DYNAMIC_FETCH : OCI_DEFAULT));
  if (code == 0 && isLong) {
    code = Check(Oci8().OCIDefineDynamic(field.defineHandle_, errorHandle_, &field, LongPiece));
  }
  // The rows' instances (or REFs) are kept in the column's buffer, one
  // pointer per row; an object's null structures beside them.
  if (code == 0 && field.bufferType_ == otObject) {
    code = Check(Oci8().OCIDefineObject(field.defineHandle_, errorHandle_, field.typeDescriptor_,
                                        static_cast<void**>(value), nullptr,
                                        field.nullStructures_.data(), nullptr));
  } else if (code == 0 && field.bufferType_ == otReference) {
    code = Check(Oci8().OCIDefineObject(field.defineHandle_, errorHandle_, nullptr,
                                        static_cast<void**>(value), nullptr, nullptr, nullptr));
  }
  return code;
}

int Oci8Statement::FetchFirst(int rows, bool) {
  return FetchNext(rows);
}

int Oci8Statement::FetchNext(int rows) {
  return Check(Oci8().OCIStmtFetch(statement_, errorHandle_, static_cast<ub4>(rows), OCI_FETCH_NEXT,
                                   OCI_DEFAULT));
}

int Oci8Statement::RowsProcessed() {
  ub4 rows = 0;
  if (statement_ == nullptr) return 0;
  Oci8().OCIAttrGet(statement_, OCI_HTYPE_STMT, &rows, nullptr, OCI_ATTR_ROW_COUNT,
                    attributeErrorHandle_);
  return static_cast<int>(rows);
}

int Oci8Statement::ParseErrorOffset() {
  ub2 offset = 0;
  if (statement_ == nullptr) return 0;
  Oci8().OCIAttrGet(statement_, OCI_HTYPE_STMT, &offset, nullptr, OCI_ATTR_PARSE_ERROR_OFFSET,
                    attributeErrorHandle_);
  return offset;
}

RowidParts Oci8Statement::Rowid(bool version81Client) {
  RowidParts parts;
  if (statement_ == nullptr) return parts;
  if (Oci8().OCIAttrGet(statement_, OCI_HTYPE_STMT, rowidDescriptor_, nullptr, OCI_ATTR_ROWID,
                        attributeErrorHandle_) != OCI_SUCCESS) {
    return parts;
  }
  const auto* bytes = static_cast<const ub1*>(rowidDescriptor_);
  if (version81Client) {
    // A type byte, then object, file, block and row, big-endian.
    const auto big = [bytes](int from, int count) {
      uint32_t value = 0;
      for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[from + i];
      return value;
    };
    parts.object = big(1, 4);
    parts.file = big(5, 2);
    parts.block = big(7, 4);
    parts.row = big(11, 2);
  } else {
    // An 8.0 client keeps the four parts as 32-bit values.
    uint32_t values[4];
    std::memcpy(values, bytes, sizeof values);
    parts = {values[0], values[1], values[2], values[3]};
  }
  return parts;
}

sb4 Oci8Statement::LongPiece(void* context, OCIDefine*, ub4 iteration, void** buffer, ub4** length,
                             ub1*, void** indicator, ub2** returnCode) {
  // Each piece twice the size of the one before, up to 32000 bytes.
  auto* field = static_cast<TFieldData*>(context);
  const int count = field->longPieces_.Count();
  int size = kFirstPieceSize;
  if (count > 0) {
    const int previous = field->longPieces_.Items(count - 1)->allocatedSize_;
    size = previous < kLargestPieceSize ? previous * 2 : previous;
  }
  auto* piece = new TLongPiece(&field->longPieces_, size);
  piece->actualLength_ = static_cast<ub4>(size);
  *buffer = piece->buffer_.get();
  *length = &piece->actualLength_;
  *indicator = &field->indicators_[iteration];
  *returnCode = &field->pieceReturnCode_;
  return OCI_CONTINUE;
}

int Oci8Statement::ReadLong(TFieldData&, int, uint8_t*, int, int, int& read) {
  read = 0;
  return 0;
}

void* Oci8Statement::BecomeCursorTarget() {
  NewStatementHandle();
  statementType_ = kOci7FunctionSelect;
  return &statement_;
}

}  // namespace vorn
