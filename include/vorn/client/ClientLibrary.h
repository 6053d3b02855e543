// Finding, loading and unloading the Oracle client library: the one place
// that decides which library file the process uses and in which mode.
//
// The first logon (or the first need of the client) calls LoadClientLibrary.
// It chooses the Oracle home from the machine registry (SOFTWARE\ORACLE),
// the PATH and the ORACLEHOME command-line parameter; takes the library
// named by the OCIDLL parameter, or else the home's bin\oci.dll, or else the
// ora*.dll there with the highest version (on Linux, failing those, the
// home's lib/libclntsh.so and then libclntsh.so in the home itself); loads
// it; resolves the version 7 and version 8 call tables (Oci7Calls.h,
// Oci8Calls.h) and initialises the client in version 8 mode when the whole
// version 8 set is there, else in version 7 mode. The library then stays
// loaded until UnloadClientLibrary.
//
// Every decision of a load is written to the load log, which becomes part of
// the message when the load fails: vorn::Exception with "Initialization
// error", CR LF, the reason, CR LF CR LF and the log.
//
// All functions here may be called from any thread; the process-wide state
// behind them is guarded by one mutex.
#pragma once

#include <cstdint>
#include <string>

namespace vorn::client {

// Makes sure the client library is loaded and initialised; does nothing
// when it already is. Raises vorn::Exception when no usable library is
// found; the process is then left without a library.
void LoadClientLibrary();

bool IsClientLibraryLoaded();

// The load the process is on: a new number after every successful load, 0
// while no library is loaded. Handles and data areas that a session or a
// query got from the library belong to the load current then; once the
// number has changed the library that made them is gone, and they must be
// forgotten, never passed to the library loaded since (nor to none).
uint64_t ClientLibraryGeneration();

// Frees the library if one is loaded and forgets everything a load found:
// the call tables are emptied, the capability flags cleared, the Oracle
// home forgotten, and the library path too unless it was forced (by OCIDLL
// or SetClientLibraryPath), in which case the next load uses it again.
// Nothing may call into the library afterwards (see ClientEntry.h).
void UnloadClientLibrary();

// Called at the end of every logon attempt: when a load had to change the
// current directory to the library's folder and the current directory is
// still that folder, changes back. Then forgets the saved directory.
void RestoreCurrentDirectory();

// The results of FindClientLibrary, and the failure codes of a load.
enum class ClientLibraryResult {
  Found = 0,
  NotFound = 1,      // no library file, or it would not load
  NotUsable = 2,     // loaded, but neither call set is complete
  NoOracleHome = 3,  // no Oracle home directory to search
};

// Chooses the library file as a load does, with a new load log, and sets
// the library path; meant for a process with no library loaded, to ask
// where a load would look.
ClientLibraryResult FindClientLibrary();

// Capabilities of the loaded library; all false when none is loaded.
// Version 7 set complete: every required version 7 call resolved.
bool IsVersion7SetComplete();
// Version 8 set complete: every required version 8 call resolved.
bool IsVersion8SetComplete();
// Version 8 mode: the client was initialised for version 8 calls, which
// happens exactly when the version 8 set is complete.
bool IsVersion8Mode();
// Version 8.1 client: version 8 set complete and OCIDirPathPrepare present.
bool IsVersion81Client();

// The library file chosen by the last search, or forced before the load.
// Empty when there is none.
std::string ClientLibraryPath();
// Forces the library file of the next load (a session sets "ora73.dll" for
// its ODBC route). It is used unchanged, without searching, and survives an
// unload; empty text returns to searching. Takes effect at the next load.
void SetClientLibraryPath(const std::string& path);

// The registry key (under the local-machine hive) and the ORACLE_HOME
// directory of the chosen Oracle home; empty until a search chose one and
// after an unload.
std::string OracleHomeKey();
std::string OracleHomeDirectory();

// The log of the most recent load attempt, lines joined by CR LF.
std::string ClientLoadLog();

}  // namespace vorn::client
