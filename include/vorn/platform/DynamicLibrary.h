// Loading a shared library at run time and resolving its exports by name:
// how the client binding reaches the Oracle client library, which the
// program never links against.
//
// The calls are deliberately C-like: the binding keeps one handle for the
// life of the process and frees it explicitly, and it tests every export
// for presence before using it.
#pragma once

#include <string>

namespace vorn::platform {

// Opaque; null means "no library".
using LibraryHandle = struct OpaqueDynamicLibrary*;

// The address of an export, to be cast to its real function type; null
// when the library has no such export.
using LibrarySymbol = void (*)();

// Loads the library `path`. A name without a directory goes through the
// system's normal library search (on Linux: LD_LIBRARY_PATH as it was when
// the process started, the run paths, the loader cache, the system
// folders); a name with a directory, absolute or relative to the current
// directory, is used as given. Loading a library again yields a handle to
// the same library, which must be freed as often as it was loaded.
//
// All of the library's own references are bound at load time, so a library
// that cannot work fails here, where the failure can be logged, and not at
// its first call. Its symbols stay private to it: two libraries may export
// the same name.
//
// Null on failure; LastLibraryError() then tells why.
LibraryHandle LoadDynamicLibrary(const std::string& path);

// The export `name` of `library`; null when it has none (LastLibraryError()
// tells why) or when `library` is null.
LibrarySymbol ResolveLibrarySymbol(LibraryHandle library, const std::string& name);

// Releases one load of `library`. False when `library` is null or the
// system refuses. The handle must not be used afterwards.
bool FreeDynamicLibrary(LibraryHandle library);

// The system's description of the most recent failure of the three calls
// above on the calling thread, for load logs; empty after a success.
std::string LastLibraryError();

}  // namespace vorn::platform
