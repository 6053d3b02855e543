// The query engine as the session's source of queries: sessions run the
// statements they generate (savepoints, ALTER SESSION, the version 7
// password change, the probes) on TOracleQuery objects made here
// (SessionQuery.h).
//
// Every program that links vorn::query (or vorn::vorn) has the engine
// installed before main: the library's link interface makes the linker
// keep the object that installs it, which a static library would otherwise
// drop as unreferenced. InstallQueryEngine does the same explicitly and may
// be called any number of times.
#pragma once

namespace vorn {

void InstallQueryEngine();

}  // namespace vorn
