// The one session of a fetch benchmark program on the OCI benchmark's file
// (ScanFiles.h), logged on through the client binding as scott, shared by
// the query and dataset benchmarks.
#pragma once

#include "ScanFiles.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/session/OracleSession.h"

namespace vorn::bench {

inline TOracleSession& scanSession() {
  static TOracleSession* const logged = [] {
    client::SetClientLibraryPath(VORN_OCI_LIBRARY);
    auto* s = new TOracleSession;
    s->SetLogonUsername("scott");
    s->SetLogonPassword("tiger");
    s->SetLogonDatabase(scanFiles().oci);
    s->LogOn();
    return s;
  }();
  return *logged;
}

}  // namespace vorn::bench
