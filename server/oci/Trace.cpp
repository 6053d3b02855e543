// See Trace.h.
#include "Trace.h"

#include <cstdio>
#include <cstdlib>

#include "ErrorHandle.h"

namespace vorn::server::oci {

sword traceRefusal(sword status, const char* call, long first, long second,
                   const ErrorRecords* records) {
  static const bool on = std::getenv("VORN_OCI_TRACE") != nullptr;
  if (!on || status == OCI_SUCCESS || status == OCI_NO_DATA || status == OCI_SUCCESS_WITH_INFO)
    return status;
  const char* text = records && !records->empty() ? records->records().front().text.c_str() : "\n";
  std::fprintf(stderr, "vorn oci: %s(%ld, %ld) -> %d %s", call, first, second, status, text);
  return status;
}

}  // namespace vorn::server::oci
