// LOB and BFILE locators (OCI_DTYPE_LOB, OCI_DTYPE_FILE). They can be
// allocated and freed now so that a client's column buffers work; reading
// and writing LOB values through them comes with the LOB support of the
// server (every LOB call answers ORA-03001 until then).
#pragma once

#include "Handle.h"

namespace vorn::server::oci {

class LobLocator : public Handle {
 public:
  LobLocator(ub4 descriptorType, Environment* env) : Handle(descriptorType, env) {}

  sword setAttribute(void* value, ub4 size, ub4 attribute);

  bool empty = false;  // OCI_ATTR_LOBEMPTY was set
};

// The locator behind `p`: a LOB or a BFILE locator.
LobLocator* lobLocatorOf(const void* p);

}  // namespace vorn::server::oci
