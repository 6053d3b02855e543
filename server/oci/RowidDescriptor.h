// The ROWID descriptor (OCI_DTYPE_ROWID). Oracle keeps its layout private;
// this library fixes one that a client can decode from the raw bytes, as an
// 8.1 client's callers do: byte 0 is a type byte (1, an extended ROWID),
// bytes 1-4 the data object number, 5-6 the relative file number, 7-10 the
// block and 11-12 the row slot, all big-endian. Those bytes are the front
// of the handle (see Handle.h). OCIRowidToChar writes the 18-character form.
#pragma once

#include <string>

#include "Handle.h"
#include "value/RowidText.h"

namespace vorn::server::oci {

class RowidDescriptor : public Handle {
 public:
  static constexpr ub4 kType = OCI_DTYPE_ROWID;
  static constexpr ub1 kExtendedRowid = 1;
  explicit RowidDescriptor(Environment* env) : Handle(kType, env) {}

  // Stores the parts and their raw bytes.
  void assign(const RowidParts& rowid);

  RowidParts parts;
  bool valid = false;
};

}  // namespace vorn::server::oci
