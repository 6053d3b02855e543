// The sessions of the fetch benchmark program on the files of ScanFiles.h,
// one per row count, logged on through the client binding as scott and
// shared by the query and dataset benchmarks.
#pragma once

#include <map>

#include "ScanFiles.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/session/OracleSession.h"

namespace vorn::bench {

inline TOracleSession& scanSession(int rows = kScanRows) {
  static std::map<int, TOracleSession*> logged;
  TOracleSession*& s = logged[rows];
  if (s == nullptr) {
    client::SetClientLibraryPath(VORN_OCI_LIBRARY);
    s = new TOracleSession;
    s->SetLogonUsername("scott");
    s->SetLogonPassword("tiger");
    s->SetLogonDatabase(scanFiles(rows).oci);
    s->LogOn();
  }
  return *s;
}

}  // namespace vorn::bench
