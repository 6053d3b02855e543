// Buffer types and sizes of fetched columns; see ColumnBuffers.h.
#include "ColumnBuffers.h"

#include <cstring>

#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/FieldData.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/OracleObject.h"
#include "vorn/query/OracleReference.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"
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
      TakeObjectType(field, column.typeRef, *rules.session);
      break;
    case SQLT_REF:
      choice = complex("A query with references", otReference);
      field.typeErrorHandle_ = NewErrorHandle(*rules.session);
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
    field.descriptorType_ = descriptorType;
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
  } else if (type == otObject) {
    field.nullStructures_.assign(static_cast<size_t>(rows), nullptr);
    auto* object = new TOracleObject(&session, TOracleObject::ColumnObject{});
    field.companion_.reset(object);
    field.oracleObject_ = object;
  } else if (type == otReference) {
    auto* reference =
        new TOracleReference(&session, field.typeName_, TOracleReference::ColumnReference{});
    field.companion_.reset(reference);
    field.oracleReference_ = reference;
  }
}

OCIError* ColumnBuffers::NewErrorHandle(TOracleSession& session) {
  void* handle = nullptr;
  if (Oci8().OCIHandleAlloc(session.EnvironmentHandle(), &handle, OCI_HTYPE_ERROR, 0, nullptr) !=
          OCI_SUCCESS ||
      handle == nullptr) {
    throw Exception("TOracleObject: Invalid handle");
  }
  return static_cast<OCIError*>(handle);
}

void ColumnBuffers::TakeObjectType(TFieldData& field, OCIRef* source, TOracleSession& session) {
  OCIEnv* environment = session.EnvironmentHandle();
  field.typeEnvironment_ = environment;
  field.typeErrorHandle_ = NewErrorHandle(session);
  OCIError* error = field.typeErrorHandle_;
  const auto check = [&session, error](sword status) {
    if (status == OCI_INVALID_HANDLE) throw Exception("TOracleObject: Invalid handle");
    if (status == OCI_ERROR) {
      SessionCallLock lock(session);
      lock.Raise(error);
    }
  };
  // The column keeps its own REF to the type, and the type pinned.
  check(Oci8().OCIObjectNew(environment, error, session.ServiceContextHandle(), OCI_TYPECODE_REF,
                            nullptr, nullptr, OCI_DURATION_SESSION, 1,
                            reinterpret_cast<void**>(&field.typeReference_)));
  check(Oci8().OCIRefAssign(environment, error, source, &field.typeReference_));
  check(Oci8().OCIObjectPin(environment, error, field.typeReference_, nullptr, OCI_PIN_ANY,
                            OCI_DURATION_SESSION, OCI_LOCK_NONE,
                            reinterpret_cast<void**>(&field.typeDescriptor_)));
  // The type code (an object or a collection) through a describe.
  void* describe = nullptr;
  if (Oci8().OCIHandleAlloc(environment, &describe, OCI_HTYPE_DESCRIBE, 0, nullptr) !=
      OCI_SUCCESS) {
    throw Exception("TOracleObject: Invalid handle");
  }
  try {
    check(Oci8().OCIDescribeAny(session.ServiceContextHandle(), error, field.typeDescriptor_, 0,
                                OCI_OTYPE_PTR, OCI_DEFAULT, OCI_PTYPE_TYPE,
                                static_cast<OCIDescribe*>(describe)));
    void* parameter = nullptr;
    check(Oci8().OCIAttrGet(describe, OCI_HTYPE_DESCRIBE, &parameter, nullptr, OCI_ATTR_PARAM,
                            error));
    ub2 typeCode = 0;
    check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &typeCode, nullptr, OCI_ATTR_TYPECODE,
                            error));
    field.objectTypeCode_ = typeCode;
  } catch (...) {
    Oci8().OCIHandleFree(describe, OCI_HTYPE_DESCRIBE);
    throw;
  }
  Oci8().OCIHandleFree(describe, OCI_HTYPE_DESCRIBE);
}

void ColumnBuffers::PrepareRow(TFieldData& field, int row, TOracleSession& session) {
  const auto slot = reinterpret_cast<void**>(field.Value(row));
  switch (field.bufferType_) {
    case otCLOB:
    case otBLOB:
    case otBFile:
      field.lobLocator_->PointAt(reinterpret_cast<OCILobLocator**>(slot));
      break;
    case otObject: {
      OCIEnv* environment = session.EnvironmentHandle();
      OCIError* error = field.typeErrorHandle_;
      void*& nulls = field.nullStructures_[static_cast<size_t>(row)];
      const auto check = [&session, error](sword status) {
        if (status == OCI_INVALID_HANDLE) throw Exception("TOracleObject: Invalid handle");
        if (status == OCI_ERROR) {
          SessionCallLock lock(session);
          lock.Raise(error);
        }
      };
      if (*slot == nullptr) {
        // A row without instance (a null object): one of the type, null.
        check(Oci8().OCIObjectNew(environment, error, session.ServiceContextHandle(),
                                  static_cast<OCITypeCode>(field.objectTypeCode_),
                                  field.typeDescriptor_, nullptr, OCI_DURATION_SESSION, 0, slot));
        check(Oci8().OCIObjectGetInd(environment, error, *slot, &nulls));
        *static_cast<OCIInd*>(nulls) = OCI_IND_NULL;
      } else if (nulls == nullptr) {
        check(Oci8().OCIObjectGetInd(environment, error, *slot, &nulls));
      }
      field.oracleObject_->Attach(*slot, nulls, field.typeReference_);
      break;
    }
    case otReference:
      field.oracleReference_->PointAt(reinterpret_cast<OCIRef**>(slot), field.Indicator(row) == -1);
      break;
    default:
      break;
  }
}

void ColumnBuffers::Release(TFieldData& field, bool live) {
  if (field.oracleObject_ != nullptr) field.oracleObject_->DropHandles(live);
  if (field.oracleReference_ != nullptr) field.oracleReference_->DropHandles(live);
  if (field.typeErrorHandle_ != nullptr) {
    if (live) {
      // The rows' instances or REFs, and the column's type, go back to the
      // object cache.
      OCIEnv* environment = field.typeEnvironment_;
      OCIError* error = field.typeErrorHandle_;
      auto** slots = reinterpret_cast<void**>(field.buffer_.get());
      for (int row = 0; row < field.rows_ && slots != nullptr; ++row) {
        if (slots[row] != nullptr) {
          Oci8().OCIObjectFree(environment, error, slots[row], OCI_OBJECTFREE_FORCE);
        }
        slots[row] = nullptr;
      }
      if (field.typeReference_ != nullptr) {
        Oci8().OCIObjectFree(environment, error, field.typeReference_, OCI_DEFAULT);
      }
      if (field.typeDescriptor_ != nullptr) {
        Oci8().OCIObjectUnpin(environment, error, field.typeDescriptor_);
      }
      Oci8().OCIHandleFree(error, OCI_HTYPE_ERROR);
    }
    field.typeErrorHandle_ = nullptr;
    field.typeReference_ = nullptr;
    field.typeDescriptor_ = nullptr;
  }
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
