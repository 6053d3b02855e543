// Buffer types and sizes of fetched columns; see ColumnBuffers.h.
#include "ColumnBuffers.h"

#include <cstring>

#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/FieldData.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn {

using namespace client;

namespace {

// The types a describe reports, beyond the external types of OciConstants.h.
constexpr int kRowidTypes[] = {SQLT_RID, 69, SQLT_RDD};
constexpr int kLongBufferSize = 2000;
constexpr int kRowidTextSize = 19;
constexpr int kLabelSize = 255;
// A per-row pointer: an object, a REF, a LOB locator or a statement handle
// (4 bytes on the 32-bit original).
constexpr int kPointerSize = sizeof(void*);

struct Choice {
  int type;
  int size;
};

// NUMBER: an integer when the precision fits the integer precision and
// nothing follows the point, a double when it fits the float precision,
// else text. Precision 0 with scale 0, or with scale -127 (how servers
// describe an unconstrained NUMBER and a computed number such as SAL * 1.5
// or AVG(SAL)), counts as 38 digits; scale -127 (also FLOAT(p)) never
// makes an integer, which would drop the fraction.
Choice NumberBuffer(int precision, int scale, const BufferRules& rules) {
  const bool unconstrained = precision == 0 && (scale == 0 || scale == -127);
  const int digits = unconstrained ? 38 : precision;
  const bool fraction = scale > 0 || scale == -127;
  if (!rules.stringFieldsOnly && !fraction && rules.integerPrecision >= digits) {
    return {otInteger, 4};
  }
  if (!rules.stringFieldsOnly && rules.floatPrecision >= digits) return {otFloat, 8};
  return {otString, digits + (fraction ? 3 : 2)};
}

}  // namespace

BufferRules ColumnBuffers::RulesOf(TOracleSession& session, bool stringFieldsOnly) {
  BufferRules rules;
  const TSessionPreferences& preferences = *session.Preferences();
  rules.integerPrecision = preferences.IntegerPrecision();
  if (rules.integerPrecision == 0) rules.integerPrecision = session.TakesODBCRoute() ? 10 : 9;
  rules.floatPrecision = preferences.FloatPrecision();
  if (rules.floatPrecision == 0) rules.floatPrecision = 1000;
  rules.stringFieldsOnly = stringFieldsOnly;
  rules.usesOCI8 = session.UsesOCI8();
  rules.session = &session;
  return rules;
}

bool ColumnBuffers::Describe(TFieldData& field, const ColumnDescription& column,
                             const BufferRules& rules) {
  field.dataSize_ = column.dataSize;
  field.dataType_ = static_cast<int16_t>(column.dataType);
  field.name_ = column.name;
  field.precision_ = static_cast<int16_t>(column.precision);
  field.scale_ = static_cast<int16_t>(column.scale);
  field.nullable_ = static_cast<int16_t>(column.nullable);
  field.typeName_ = column.typeName;
  const auto complex = [&rules](const char* feature, int type) {
    rules.session->CheckOCI8Feature(feature);
    return Choice{type, kPointerSize};
  };
  Choice choice{otString, column.dataSize + 1};
  bool isLong = false;
  switch (column.dataType) {
    case SQLT_NUM:
      choice = NumberBuffer(column.precision, column.scale, rules);
      break;
    case SQLT_LNG:
    case SQLT_LBI:
      choice = {column.dataType == SQLT_LNG ? otLong : otLongRaw,
                rules.usesOCI8 ? 0 : kLongBufferSize};
      isLong = true;
      break;
    case SQLT_DAT:
      choice = rules.stringFieldsOnly ? Choice{otString, rules.session->DateTextLength() + 1}
                                      : Choice{otDate, 7};
      break;
    case SQLT_BIN:
      choice = {otString, column.dataSize * 2 + 1};
      break;
    case SQLT_LAB:
    case SQLT_OSL:
      choice = {otString, kLabelSize};
      break;
    case SQLT_NTY:
      choice = complex("A query with objects", otObject);
      break;
    case SQLT_REF:
      choice = complex("A query with references", otReference);
      break;
    case SQLT_CLOB:
    case SQLT_BLOB:
    case SQLT_BFILEE:
      choice = complex("A query with LOB's", column.dataType);
      break;
    case SQLT_RSET:
      rules.session->CheckOCI8Feature("A query with sub-queries");
      // Nothing reads the statement of a cursor column yet.
      throw Exception("A query with sub-queries is not supported by this query engine yet");
    default:
      for (int rowid : kRowidTypes) {
        if (column.dataType == rowid) choice = {otString, kRowidTextSize};
      }
      break;
  }
  field.bufferType_ = static_cast<int16_t>(choice.type);
  field.elementSize_ = choice.size;
  return isLong;
}

bool ColumnBuffers::IsComplex(const TFieldData& field) {
  return field.bufferType_ == otCLOB || field.bufferType_ == otBLOB ||
         field.bufferType_ == otBFile || field.bufferType_ == otObject ||
         field.bufferType_ == otReference;
}

void ColumnBuffers::Allocate(TFieldData& field, int rows, TOracleSession& session) {
  field.rows_ = rows;
  const size_t bytes = static_cast<size_t>(rows) * static_cast<size_t>(field.elementSize_);
  field.buffer_.reset(bytes > 0 ? new uint8_t[bytes]() : nullptr);
  field.indicators_.assign(static_cast<size_t>(rows), -1);
  field.lengths_.assign(static_cast<size_t>(rows), 0);
  const int type = field.bufferType_;
  if (type == otCLOB || type == otBLOB || type == otBFile) {
    auto* locator = new TLOBLocator(&session, type, TLOBLocator::ColumnLocator{});
    field.companion_.reset(locator);
    field.lobLocator_ = locator;
    const ub4 descriptorType = type == otBFile ? OCI_DTYPE_FILE : OCI_DTYPE_LOB;
    auto** slots = reinterpret_cast<OCILobLocator**>(field.buffer_.get());
    for (int row = 0; row < rows; ++row) {
      const sword status = Oci8().OCIDescriptorAlloc(session.EnvironmentHandle(),
                                                     reinterpret_cast<void**>(&slots[row]),
                                                     descriptorType, 0, nullptr);
      if (status != OCI_SUCCESS || slots[row] == nullptr) {
        slots[row] = nullptr;
        throw Exception("OCIDescriptorAlloc failed for a LOB locator with status " +
                        std::to_string(status));
      }
    }
    field.descriptorType_ = descriptorType;
  }
}

void ColumnBuffers::Release(TFieldData& field, bool live) {
  if (field.lobLocator_ != nullptr) {
    field.lobLocator_->DropHandles(live);
    field.lobLocator_->address_ = nullptr;
    if (live) {
      auto** slots = reinterpret_cast<OCILobLocator**>(field.buffer_.get());
      for (int row = 0; row < field.rows_ && slots != nullptr; ++row) {
        if (slots[row] != nullptr) Oci8().OCIDescriptorFree(slots[row], field.descriptorType_);
        slots[row] = nullptr;
      }
    }
  }
}

}  // namespace vorn
