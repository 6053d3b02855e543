// Where the client binding looks for the Oracle installation: the machine
// registry under SOFTWARE\ORACLE, the command-line parameters ORACLEHOME and
// OCIDLL, and the choice among several installed Oracle homes.
//
// The registry keeps a numbered home per installation:
//
//   SOFTWARE\ORACLE\ALL_HOMES   HOME_COUNTER = n
//   SOFTWARE\ORACLE\HOMEi       ORACLE_HOME_NAME, ORACLE_HOME, TNS_ADMIN, NET80, NET20
//
// for i from 0 to n-1, and a machine with a single, older installation keeps
// its values directly under SOFTWARE\ORACLE.
#pragma once

#include <string>

namespace vorn::client {

// The string value `valueName` under `keyPath` of the local-machine hive,
// at most 256 characters (the client reads values into a 257-byte buffer;
// a longer value is cut). Empty when the key or the value is missing.
std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName);

// The text after "=" of the first command-line parameter that begins with
// `name` and "=", the name compared without regard to case; at most 255
// characters. Empty when no parameter has the name.
std::string FindCommandLineParameter(const std::string& name);

// The registry key of the Oracle home to use:
// - SOFTWARE\ORACLE when ALL_HOMES lists no home (HOME_COUNTER missing, not
//   a number, or no home with a name);
// - otherwise, walking the homes in the order of their names (compared
//   without regard to case; of two homes with one name the lower number
//   counts), the first whose name is the ORACLEHOME parameter (without
//   regard to case); failing that, the home whose ORACLE_HOME directory
//   occurs earliest in PATH (upper-cased, both); failing that, the last
//   home;
// - SOFTWARE\ORACLE again when the key chosen has no ORACLE_HOME value.
// Reads the registry anew on every call; ClientLibrary.h caches the result.
std::string ChooseOracleHomeKey();

}  // namespace vorn::client
