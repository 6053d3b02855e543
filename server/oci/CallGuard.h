// The frame of every entry point that does real work: it holds the
// environment's mutex, clears the error records the call reports through,
// runs the body and turns whatever the body throws into a status and one
// error record. Nothing thrown inside the library ever crosses the C
// boundary.
//
// The body receives the records so that it can leave a warning and return
// OCI_SUCCESS_WITH_INFO or OCI_NO_DATA itself; errors it simply throws as
// OraError. A user callback that ends a call with a status of its own
// (anything but OCI_CONTINUE) unwinds with CallbackStop, and that status is
// what the call returns.
#pragma once

#include <exception>
#include <new>
#include <string>

#include "Environment.h"
#include "ErrorHandle.h"
#include "value/OraError.h"

namespace vorn::server::oci {

struct CallbackStop {
  sword status;
};

// The internal-error record for a failure that is no ORA error of its own.
void setInternalError(ErrorRecords& records, const char* what);

template <class Body>
sword guardedCall(Environment& env, ErrorRecords* records, Body&& body) noexcept {
  EnvironmentLock lock(env);
  ErrorRecords& rec = records ? *records : env.errors;
  try {
    rec.clear();
    return body(rec);
  } catch (const CallbackStop& stop) {
    return stop.status;
  } catch (const OraError& e) {
    try {
      rec.set(e);
    } catch (...) {
    }
    return OCI_ERROR;
  } catch (const std::bad_alloc&) {
    setInternalError(rec, "out of memory");
    return OCI_ERROR;
  } catch (const std::exception& e) {
    setInternalError(rec, e.what());
    return OCI_ERROR;
  } catch (...) {
    setInternalError(rec, "unknown failure");
    return OCI_ERROR;
  }
}

// guardedCall for a call with an error handle.
template <class Body>
sword guardedCall(Environment& env, ErrorHandle& err, Body&& body) noexcept {
  return guardedCall(env, &err.errors, static_cast<Body&&>(body));
}

}  // namespace vorn::server::oci
