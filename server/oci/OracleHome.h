// Where the library finds its databases. The Oracle home is the folder the
// library was installed in (<home>/bin/oci.dll or <home>/lib/libclntsh.so); a library that lies in
// no bin folder uses $ORACLE_HOME. Connect strings resolve against that home
// (network/admin/tnsnames.ora, $TNS_ADMIN first, then oradata/<NAME>.db);
// an empty connect string names the default database: $TWO_TASK, else
// $ORACLE_SID, else DEMO.
#pragma once

#include <string>

namespace vorn::server::oci {

std::string oracleHome();
std::string defaultConnectString();

}  // namespace vorn::server::oci
