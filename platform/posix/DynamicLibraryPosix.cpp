// Shared libraries through dlopen. RTLD_NOW binds every reference of the
// library at load time; RTLD_LOCAL keeps its symbols out of the global
// scope, so that two client libraries loaded in turn cannot satisfy each
// other's references.
//
// The C library keeps the dlerror() state per thread, so the calls below are
// safe from any thread (hence the NOLINTs).
#include <dlfcn.h>

#include "vorn/platform/DynamicLibrary.h"

namespace vorn::platform {

namespace {

thread_local std::string lastError;

// dlerror() text, or `fallback` when the system gave none. Reading it also
// clears it, so no stale text reaches a later failure.
std::string SystemError(const std::string& fallback) {
  const char* text = ::dlerror();  // NOLINT(concurrency-mt-unsafe)
  return text != nullptr ? std::string(text) : fallback;
}

}  // namespace

LibraryHandle LoadDynamicLibrary(const std::string& path) {
  // dlopen(NULL) would hand out the main program; an empty name is no
  // library.
  if (path.empty() || path.find('\0') != std::string::npos) {
    lastError = "Invalid library name \"" + path + "\"";
    return nullptr;
  }
  ::dlerror();  // NOLINT(concurrency-mt-unsafe)
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  lastError = handle != nullptr ? std::string() : SystemError("Cannot load " + path);
  return static_cast<LibraryHandle>(handle);
}

LibrarySymbol ResolveLibrarySymbol(LibraryHandle library, const std::string& name) {
  if (library == nullptr) {
    lastError = "No library to resolve " + name + " in";
    return nullptr;
  }
  if (name.find('\0') != std::string::npos) {
    lastError = "Invalid symbol name";
    return nullptr;
  }
  ::dlerror();  // NOLINT(concurrency-mt-unsafe)
  void* address = ::dlsym(static_cast<void*>(library), name.c_str());
  if (address == nullptr) {
    // A symbol may legitimately have the address 0; it is still nothing
    // that could be called.
    lastError = SystemError(name + " has no address");
    return nullptr;
  }
  lastError.clear();
  return reinterpret_cast<LibrarySymbol>(address);
}

bool FreeDynamicLibrary(LibraryHandle library) {
  if (library == nullptr) {
    lastError = "No library to free";
    return false;
  }
  ::dlerror();  // NOLINT(concurrency-mt-unsafe)
  if (::dlclose(static_cast<void*>(library)) != 0) {
    lastError = SystemError("Cannot free the library");
    return false;
  }
  lastError.clear();
  return true;
}

std::string LastLibraryError() {
  return lastError;
}

}  // namespace vorn::platform
