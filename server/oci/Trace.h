// A diagnostic for porting a program onto the library: with VORN_OCI_TRACE
// set in the environment, every call the library refuses (an attribute it
// does not know, a mode or feature it lacks) is named on standard error
// with the error it returned, so the missing pieces a third-party driver
// needs can be found by running it. Silent otherwise.
#pragma once

#include "oci.h"

namespace vorn::server::oci {

class ErrorRecords;

// Reports `status` of `call` (with up to two numbers that say what was
// asked) when it is an error and tracing is on; returns `status`.
sword traceRefusal(sword status, const char* call, long first, long second,
                   const ErrorRecords* records);

}  // namespace vorn::server::oci
