// Bind handles and their entry points; see BindHandle.h.
#include "BindHandle.h"

#include <cstdint>
#include <cstring>

#include "Attributes.h"
#include "CallGuard.h"
#include "ExternalData.h"
#include "LobLocator.h"
#include "StatementHandle.h"
#include "value/OraError.h"
#include "value/SessionValues.h"

namespace vorn::server::oci {

Value BindHandle::input(ub4 iteration) {
  if ((mode & OCI_DATA_AT_EXEC) && inCallback) {
    // Pieces until the callback says this was the last (or only) one.
    std::string data;
    bool isNull = false;
    ub1 piece = OCI_FIRST_PIECE;
    for (int calls = 0;; ++calls) {
      void* buffer = nullptr;
      ub4 length = 0;
      void* indicator = nullptr;
      sb4 rc = inCallback(inContext, opaque<OCIBind>(this), iteration, 0, &buffer, &length, &piece,
                          &indicator);
      if (rc != OCI_CONTINUE) throw CallbackStop{rc};
      if (indicator && *static_cast<sb2*>(indicator) < 0) isNull = true;
      if (buffer && length) data.append(static_cast<const char*>(buffer), length);
      if (piece == OCI_ONE_PIECE || piece == OCI_LAST_PIECE) break;
      piece = OCI_NEXT_PIECE;
      if (calls > 1000000) raiseOra(3129);
    }
    if (isNull) return Value();
    return readValue(data.data(), static_cast<ub4>(data.size()), static_cast<sb4>(data.size() + 1),
                     dty == SQLT_STR ? SQLT_CHR : dty);
  }
  if (indicators) {
    sb2 ind;
    std::memcpy(&ind, elementAt(indicators, iteration, indicatorSkip), sizeof ind);
    if (ind < 0) return Value();
  }
  void* element = elementAt(value, iteration, valueSkip);
  ub4 length = static_cast<ub4>(valueSize > 0 ? valueSize : 0);
  if (lengths) {
    ub4 actual = readLength(elementAt(lengths, iteration, lengthSkip), wideLengths);
    length = std::min<ub4>(actual, length);
  }
  return readValue(element, length, valueSize, dty);
}

void BindHandle::writeElement(ub4 element, const Value* v, SessionValues& values,
                              std::string& scratch, bool& truncated) {
  auto* ind = static_cast<sb2*>(elementAt(indicators, element, indicatorSkip));
  void* len = elementAt(lengths, element, lengthSkip);
  auto* rc = static_cast<ub2*>(elementAt(returnCodes, element, returnCodeSkip));
  Written w;
  if (v && !v->isNull()) {
    w = writeValue(ValueView::of(*v),
                   OutElement{elementAt(value, element, valueSkip), valueSize, dty}, values,
                   scratch);
  } else {
    w.null = true;
  }
  if (w.null) {
    if (ind) *ind = -1;
    if (len) writeLength(len, wideLengths, 0);
    if (rc) *rc = 1405;
    return;
  }
  if (ind) *ind = w.truncated ? truncatedIndicator(w.sourceLength) : 0;
  if (len) writeLength(len, wideLengths, w.length);
  if (rc) *rc = w.truncated ? 1406 : 0;
  truncated |= w.truncated;
}

void BindHandle::writeThroughCallback(ub4 iteration, ub4 index, const Value* v,
                                      SessionValues& values, std::string& scratch,
                                      bool& truncated) {
  void* buffer = nullptr;
  ub4* length = nullptr;
  ub1 piece = OCI_ONE_PIECE;
  void* indicator = nullptr;
  ub2* rc = nullptr;
  sb4 status = outCallback(outContext, opaque<OCIBind>(this), iteration, index, &buffer, &length,
                           &piece, &indicator, &rc);
  if (status != OCI_CONTINUE) throw CallbackStop{status};
  Written w;
  if (v && !v->isNull() && buffer) {
    sb4 capacity = length ? static_cast<sb4>(*length) : valueSize;
    w = writeValue(ValueView::of(*v), OutElement{buffer, capacity, dty}, values, scratch);
  } else {
    w.null = true;
  }
  auto* ind = static_cast<sb2*>(indicator);
  if (w.null) {
    if (ind) *ind = -1;
    if (length) *length = 0;
    if (rc) *rc = 0;
    return;
  }
  if (ind) *ind = w.truncated ? truncatedIndicator(w.sourceLength) : 0;
  if (length) *length = w.length;
  if (rc) *rc = w.truncated ? 1406 : 0;
  truncated |= w.truncated;
}

bool BindHandle::output(ub4 iteration, const std::vector<const Value*>& rows, ub4 capacity,
                        SessionValues& values, std::string& scratch) {
  bool truncated = false;
  rowsReturned = static_cast<ub4>(rows.size());
  if (outCallback) {
    if (rows.empty()) {
      writeThroughCallback(iteration, 0, nullptr, values, scratch, truncated);
    }
    for (ub4 i = 0; i < rows.size(); ++i)
      writeThroughCallback(iteration, i, rows[i], values, scratch, truncated);
    return truncated;
  }
  if (rows.empty()) {
    if (iteration < capacity) writeElement(iteration, nullptr, values, scratch, truncated);
    return truncated;
  }
  ub4 written = 0;
  for (ub4 i = 0; i < rows.size() && iteration + i < capacity; ++i, ++written)
    writeElement(iteration + i, rows[i], values, scratch, truncated);
  if (currentElements) *currentElements = written;
  return truncated;
}

void BindHandle::pointLocator(ub4 element, std::optional<LobRef> where) {
  void* slot = elementAt(value, element, valueSkip);
  if (!slot || outCallback || valueSize < static_cast<sb4>(sizeof(void*))) return;
  void* pointer = nullptr;
  std::memcpy(&pointer, slot, sizeof pointer);
  LobLocator* locator = lobLocatorOf(pointer);
  if (locator && locator->holdsLob()) locator->row = std::move(where);
}

void BindHandle::assign(void* valuep, sb4 value_sz, ub2 type, void* indp, ub2* alenp, ub2* rcodep,
                        ub4 maxarr_len, ub4* curelep, ub4 bindMode) {
  value = valuep;
  valueSize = value_sz;
  dty = type;
  indicators = indp;
  lengths = alenp;
  wideLengths = false;
  returnCodes = rcodep;
  maxElements = maxarr_len;
  currentElements = curelep;
  mode = bindMode;
  valueSkip = static_cast<ub4>(value_sz);
  indicatorSkip = sizeof(sb2);
  lengthSkip = sizeof(ub2);
  returnCodeSkip = sizeof(ub2);
  cursorReceiver = nullptr;
}

namespace {

// The longest text an element of `size` bytes holds.
int textCapacity(ub2 dty, sb4 size) {
  switch (dty) {
    case SQLT_STR:
    case SQLT_AVC:
      return size > 0 ? size - 1 : 0;
    case SQLT_VCS:
      return size > 2 ? size - 2 : 0;
    case SQLT_LVC:
      return size > 4 ? size - 4 : 0;
    default:
      return size;
  }
}

}  // namespace

void BindHandle::loadTable() {
  TypeKind kind = nullKindOf(dty);
  if (kind != TypeKind::Number && kind != TypeKind::Varchar2 && kind != TypeKind::Date) {
    raiseOra(1460);
  }
  ub4 count = currentElements ? *currentElements : 0;
  if (count > maxElements) {
    throw OraError(
        6513, "ORA-06513: PL/SQL: index for PL/SQL table out of range for host language array");
  }
  table.elementType = kind;
  table.elementSize = kind == TypeKind::Varchar2 ? textCapacity(dty, valueSize) : 0;
  table.maxSize = maxElements;
  table.elements.clear();
  for (ub4 i = 0; i < count; ++i)
    table.elements.push_back(input(i));
  tableInput_ = table.elements;
}

bool BindHandle::storeTable(SessionValues& values, std::string& scratch) {
  if (table.elements == tableInput_) return false;
  bool truncated = false;
  for (size_t i = 0; i < table.elements.size(); ++i)
    writeElement(static_cast<ub4>(i), &table.elements[i], values, scratch, truncated);
  if (currentElements) *currentElements = static_cast<ub4>(table.elements.size());
  return truncated;
}

bool BindHandle::storeScalar(const Value& v, SessionValues& values, std::string& scratch) {
  bool truncated = false;
  writeElement(0, &v, values, scratch, truncated);
  return truncated;
}

sword BindHandle::getAttribute(void* out, ub4* size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_ROWS_RETURNED:
      return putAttribute<ub4>(out, size, rowsReturned);
    case OCI_ATTR_MAXDATA_SIZE:
      return putAttribute<sb4>(out, size, maxDataSize);
    case OCI_ATTR_CHARSET_ID:
      return putAttribute<ub2>(out, size, 31);
    case OCI_ATTR_CHARSET_FORM:
      return putAttribute<ub1>(out, size, SQLCS_IMPLICIT);
    default:
      raiseOra(24315);
  }
}

sword BindHandle::setAttribute(void* in, ub4, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_MAXDATA_SIZE:
      maxDataSize = takeAttribute<sb4>(in);
      return OCI_SUCCESS;
    case OCI_ATTR_CHARSET_ID:
    case OCI_ATTR_CHARSET_FORM:
    case OCI_ATTR_CHAR_COUNT:
    case OCI_ATTR_PDSCL:
    case OCI_ATTR_PDPRC:
      // One single-byte character set: accepted, nothing to change.
      return OCI_SUCCESS;
    default:
      raiseOra(24315);
  }
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

// The bind calls' work. `alenp` holds ub2 lengths, or ub4 ones when `wide`
// (the "2" calls, whose value sizes are sb8 too).
sword bind(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp, const OraText* placeholder,
           sb4 placeh_len, ub4 position, void* valuep, sb8 value_sz, ub2 dty, void* indp,
           void* alenp, bool wide, ub2* rcodep, ub4 maxarr_len, ub4* curelep, ub4 mode) {
  StatementHandle* stmt = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!stmt || !err || !bindp) return OCI_INVALID_HANDLE;
  return guardedCall(*stmt->env, *err, [&](ErrorRecords&) -> sword {
    if (!stmt->prepared) raiseOra(24337);
    if (!isSupportedType(dty) && dty != SQLT_RSET && !isObjectType(dty)) raiseOra(1460);
    if (value_sz < 0 || value_sz > INT32_MAX) raiseOra(21560, {"6"});
    BindHandle* existing = handleOf<BindHandle>(*bindp);
    if (existing && existing->statement != stmt) existing = nullptr;
    std::string name;
    if (placeholder) {
      size_t n = placeh_len >= 0 ? static_cast<size_t>(placeh_len)
                                 : std::strlen(reinterpret_cast<const char*>(placeholder));
      name.assign(reinterpret_cast<const char*>(placeholder), n);
    }
    BindHandle& b =
        placeholder ? stmt->bindByName(name, existing) : stmt->bindByPosition(position, existing);
    if (wide) {
      b.assign(valuep, static_cast<sb4>(value_sz), dty, indp, nullptr, rcodep, maxarr_len, curelep,
               mode);
      b.useWideLengths(static_cast<ub4*>(alenp));
    } else {
      b.assign(valuep, static_cast<sb4>(value_sz), dty, indp, static_cast<ub2*>(alenp), rcodep,
               maxarr_len, curelep, mode);
    }
    *bindp = opaque<OCIBind>(&b);
    return OCI_SUCCESS;
  });
}

}  // namespace

extern "C" sword OCIBindByPos(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp, ub4 position,
                              void* valuep, sb4 value_sz, ub2 dty, void* indp, ub2* alenp,
                              ub2* rcodep, ub4 maxarr_len, ub4* curelep, ub4 mode) {
  return bind(stmtp, bindp, errhp, nullptr, 0, position, valuep, value_sz, dty, indp, alenp, false,
              rcodep, maxarr_len, curelep, mode);
}

extern "C" sword OCIBindByPos2(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp, ub4 position,
                               void* valuep, sb8 value_sz, ub2 dty, void* indp, ub4* alenp,
                               ub2* rcodep, ub4 maxarr_len, ub4* curelep, ub4 mode) {
  return bind(stmtp, bindp, errhp, nullptr, 0, position, valuep, value_sz, dty, indp, alenp, true,
              rcodep, maxarr_len, curelep, mode);
}

extern "C" sword OCIBindByName(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp,
                               const OraText* placeholder, sb4 placeh_len, void* valuep,
                               sb4 value_sz, ub2 dty, void* indp, ub2* alenp, ub2* rcodep,
                               ub4 maxarr_len, ub4* curelep, ub4 mode) {
  if (!placeholder) return OCI_INVALID_HANDLE;
  return bind(stmtp, bindp, errhp, placeholder, placeh_len, 0, valuep, value_sz, dty, indp, alenp,
              false, rcodep, maxarr_len, curelep, mode);
}

extern "C" sword OCIBindByName2(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp,
                                const OraText* placeholder, sb4 placeh_len, void* valuep,
                                sb8 value_sz, ub2 dty, void* indp, ub4* alenp, ub2* rcodep,
                                ub4 maxarr_len, ub4* curelep, ub4 mode) {
  if (!placeholder) return OCI_INVALID_HANDLE;
  return bind(stmtp, bindp, errhp, placeholder, placeh_len, 0, valuep, value_sz, dty, indp, alenp,
              true, rcodep, maxarr_len, curelep, mode);
}

extern "C" sword OCIBindArrayOfStruct(OCIBind* bindp, OCIError* errhp, ub4 pvskip, ub4 indskip,
                                      ub4 alskip, ub4 rcskip) {
  BindHandle* b = handleOf<BindHandle>(bindp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!b || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*b->env, *err, [&](ErrorRecords&) -> sword {
    b->valueSkip = pvskip;
    b->indicatorSkip = indskip;
    b->lengthSkip = alskip;
    b->returnCodeSkip = rcskip;
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIBindDynamic(OCIBind* bindp, OCIError* errhp, void* ictxp,
                                OCICallbackInBind icbfp, void* octxp, OCICallbackOutBind ocbfp) {
  BindHandle* b = handleOf<BindHandle>(bindp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!b || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*b->env, *err, [&](ErrorRecords&) -> sword {
    b->inContext = ictxp;
    b->inCallback = icbfp;
    b->outContext = octxp;
    b->outCallback = ocbfp;
    return OCI_SUCCESS;
  });
}
