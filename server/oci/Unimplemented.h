// The answer of the entry points whose feature arrives later (LOB values,
// objects, result sets, direct path): after checking their handles
// like every other call, they fail with ORA-03001 (unimplemented feature),
// or ORA-21301 for an object call in an environment not made in object mode.
#pragma once

#include "Handle.h"

namespace vorn::server::oci {

class Environment;

// OCI_INVALID_HANDLE when `handlesValid` is false or `errhp` is no error
// handle; else OCI_ERROR with ORA-03001 on it.
sword unimplemented(OCIError* errhp, bool handlesValid);
// The same for an object call: ORA-21301 outside object mode.
sword unimplementedObjectCall(OCIEnv* envhp, OCIError* errhp, bool handlesValid);

}  // namespace vorn::server::oci
