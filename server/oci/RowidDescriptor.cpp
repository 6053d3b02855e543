// The ROWID descriptor and OCIRowidToChar; see RowidDescriptor.h.
#include "RowidDescriptor.h"

#include <cstring>

#include "CallGuard.h"
#include "ErrorHandle.h"

namespace vorn::server::oci {

namespace {

void putBigEndian(ub1* out, uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) {
    out[i] = static_cast<ub1>(value & 0xFF);
    value >>= 8;
  }
}

}  // namespace

void RowidDescriptor::assign(const RowidParts& rowid) {
  parts = rowid;
  valid = true;
  std::memset(front, 0, sizeof front);
  front[0] = kExtendedRowid;
  putBigEndian(front + 1, rowid.object, 4);
  putBigEndian(front + 5, rowid.file, 2);
  putBigEndian(front + 7, rowid.block, 4);
  putBigEndian(front + 11, rowid.row, 2);
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

extern "C" sword OCIRowidToChar(OCIRowid* rowidDesc, OraText* outbfp, ub2* outbflp,
                                OCIError* errhp) {
  RowidDescriptor* rowid = handleOf<RowidDescriptor>(rowidDesc);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!rowid || !err || !outbflp) return OCI_INVALID_HANDLE;
  return guardedCall(*rowid->env, *err, [&](ErrorRecords&) -> sword {
    if (!rowid->valid) raiseOra(1410);
    if (*outbflp < kRowidTextLength || !outbfp) {
      *outbflp = static_cast<ub2>(kRowidTextLength);
      raiseOra(1406);
    }
    rowidToText(rowid->parts, reinterpret_cast<char*>(outbfp));
    if (*outbflp > kRowidTextLength) outbfp[kRowidTextLength] = 0;
    *outbflp = static_cast<ub2>(kRowidTextLength);
    return OCI_SUCCESS;
  });
}
