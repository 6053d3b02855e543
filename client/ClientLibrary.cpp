// The process-wide state of the client library and the search, load and
// unload that change it. Every public function takes the state's mutex,
// which is recursive, so a function here may call another.
#include "vorn/client/ClientLibrary.h"

#include <atomic>
#include <charconv>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "CallTableBinder.h"
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/client/OracleHome.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/CurrentDirectory.h"
#include "vorn/platform/DynamicLibrary.h"
#include "vorn/platform/FileSystem.h"
#include "vorn/platform/Mutex.h"
#include "vorn/platform/Paths.h"

namespace vorn::client {

namespace {

struct ClientState {
  platform::Mutex mutex;
  std::string libraryPath;
  // The path came from the search, not from OCIDLL or a session, and is
  // forgotten on unload.
  bool pathSearched = true;
  platform::LibraryHandle library = nullptr;
  bool version7 = false;
  bool version7WithOlog = false;
  bool version7WithOpinit = false;
  bool version8 = false;
  bool version81 = false;
  bool version8Mode = false;
  std::string homeKey;
  std::string homeDirectory;
  std::vector<std::string> loadLog;
  // Set when a load had to change the current directory: where it was, and
  // where the load left it.
  std::string savedDirectory;
  std::string changedDirectory;
  // ClientLibraryGeneration(): read without the mutex by sessions and
  // queries deciding whether their handles are still the library's.
  std::atomic<uint64_t> generation{0};
  uint64_t loads = 0;
};

// Never destroyed: sessions and queries may still unload or ask for the
// library while static objects are being destroyed at exit.
ClientState& State() {
  static ClientState* const state = new ClientState;
  return *state;
}

using Lock = std::lock_guard<platform::Mutex>;

void Log(ClientState& state, std::string line) {
  state.loadLog.push_back(std::move(line));
}

std::string JoinedLog(const ClientState& state) {
  std::string text;
  for (const std::string& line : state.loadLog) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  return text;
}

// The version an ora*.dll name carries: the digits after "ORA" (or after
// "ORANT") up to the first ".", read as the fraction "0." digits, so that
// ORA73 reads 0.73, ORA805 0.805 and ORA8 0.8. No value for a name without
// digits there or whose text is no number.
std::optional<double> OraLibraryVersion(std::string_view name) {
  const bool ntInfix =
      name.size() >= 5 && (name[3] == 'N' || name[3] == 'n') && (name[4] == 'T' || name[4] == 't');
  const std::size_t start = ntInfix ? 5 : 3;
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || dot <= start) return std::nullopt;
  const std::string text = "0." + std::string(name.substr(start, dot - start));
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The library in the home's bin folder: oci.dll, or else the ora*.dll with
// the greatest version (the first listed of equal ones). Empty when none.
std::string SearchBinFolder(ClientState& state, const std::string& homeDirectory) {
  const std::string bin =
      platform::ResolvePathCaseInsensitive(platform::PathJoin(homeDirectory, "bin"));
  if (bin.empty() || !platform::DirectoryExists(bin)) return {};

  std::string oci = platform::ResolvePathCaseInsensitive(platform::PathJoin(bin, "oci.dll"));
  if (!oci.empty() && platform::FileExists(oci)) return oci;

  std::optional<double> bestVersion;
  std::string bestName;
  for (const std::string& name : platform::FindFiles(bin, "ora*.dll")) {
    const std::optional<double> version = OraLibraryVersion(name);
    if (!version) continue;
    Log(state, "Found: " + name);
    if (!bestVersion || *version > *bestVersion) {
      bestVersion = version;
      bestName = name;
    }
  }
  return bestVersion ? platform::PathJoin(bin, bestName) : std::string();
}

#if defined(__linux__)
// A Linux client keeps its library in lib/ of the home, an Instant Client
// in the home folder itself.
std::string SearchLinuxClient(const std::string& homeDirectory) {
  for (const char* relative : {"lib/libclntsh.so", "libclntsh.so"}) {
    std::string path =
        platform::ResolvePathCaseInsensitive(platform::PathJoin(homeDirectory, relative));
    if (!path.empty() && platform::FileExists(path)) return path;
  }
  return {};
}
#endif

ClientLibraryResult FindLocked(ClientState& state) {
  // A path an earlier search found, with no library loaded since, would
  // otherwise pass for a forced one below.
  if (state.library == nullptr && state.pathSearched) state.libraryPath.clear();

  if (state.homeKey.empty()) state.homeKey = ChooseOracleHomeKey();
  state.homeDirectory = ReadRegistryString(state.homeKey, "ORACLE_HOME");
  state.pathSearched = false;

  const std::string forced = FindCommandLineParameter("OCIDLL");
  if (!forced.empty()) state.libraryPath = forced;
  if (!state.libraryPath.empty()) {
    Log(state, "OCIDLL forced to " + state.libraryPath);
    return ClientLibraryResult::Found;
  }

  Log(state, "OracleHomeKey: " + state.homeKey);
  Log(state, "OracleHomeDir: " + state.homeDirectory);
  if (state.homeDirectory.empty()) return ClientLibraryResult::NoOracleHome;

  std::string found = SearchBinFolder(state, state.homeDirectory);
#if defined(__linux__)
  if (found.empty()) found = SearchLinuxClient(state.homeDirectory);
#endif
  if (found.empty()) return ClientLibraryResult::NotFound;

  state.libraryPath = found;
  state.pathSearched = true;
  Log(state, "Using: " + found);
  return ClientLibraryResult::Found;
}

// Loads the chosen file, retrying from its own folder: a library may find
// the files it needs relative to the current directory.
bool OpenLibrary(ClientState& state) {
  state.library = platform::LoadDynamicLibrary(state.libraryPath);
  if (state.library == nullptr) {
    state.savedDirectory = platform::GetCurrentDir();
    state.changedDirectory.clear();
    if (platform::SetCurrentDir(platform::ExtractFileDir(state.libraryPath))) {
      state.changedDirectory = platform::GetCurrentDir();
    }
    state.library = platform::LoadDynamicLibrary(state.libraryPath);
  }
  if (state.library == nullptr) {
    // Handles are no numbers here; 0 is what a failed load returns.
    Log(state, "LoadLibrary(" + state.libraryPath + ") returned 0");
    if (std::string reason = platform::LastLibraryError(); !reason.empty()) {
      Log(state, std::move(reason));
    }
    return false;
  }
  return true;
}

void ResolveCallTables(ClientState& state) {
  CallTableBinder::ClearAll();
  const Oci7CallTable& oci7 = Oci7();
  state.version7 = CallTableBinder::ResolveInOrder(state.library, oci7.RequiredEntries());
  state.version7WithOlog = state.version7 && CallTableBinder::Resolve(state.library, oci7.olog);
  state.version7WithOpinit =
      state.version7WithOlog && CallTableBinder::Resolve(state.library, oci7.opinit);

  const Oci8CallTable& oci8 = Oci8();
  state.version8 = CallTableBinder::ResolveInOrder(state.library, oci8.RequiredEntries());
  state.version8Mode = state.version8;
  state.version81 =
      state.version8 && CallTableBinder::Resolve(state.library, oci8.OCIDirPathPrepare);
}

void UnloadLocked(ClientState& state) {
  // Empty the tables first: nothing may reach the library while it goes.
  CallTableBinder::ClearAll();
  state.generation.store(0, std::memory_order_release);
  if (state.library != nullptr) platform::FreeDynamicLibrary(state.library);
  state.library = nullptr;
  if (state.pathSearched) state.libraryPath.clear();
  state.version7 = false;
  state.version7WithOlog = false;
  state.version7WithOpinit = false;
  state.version8 = false;
  state.version81 = false;
  state.version8Mode = false;
  state.homeKey.clear();
  state.homeDirectory.clear();
}

[[noreturn]] void RaiseLoadFailure(ClientState& state, ClientLibraryResult result) {
  std::string reason;
  if (result == ClientLibraryResult::NoOracleHome) {
    reason = "SQL*Net not properly installed";
  } else if (result == ClientLibraryResult::NotUsable) {
    reason = "Could not initialize \"" + state.libraryPath + "\"";
  } else if (state.libraryPath.empty()) {
    reason = "Could not locate OCI dll";
  } else {
    reason = "Could not load \"" + state.libraryPath + "\"";
  }
  // Built before the unload, which forgets a searched path.
  std::string message = "Initialization error\r\n" + reason + "\r\n\r\n" + JoinedLog(state);
  UnloadLocked(state);
  throw Exception(std::move(message));
}

// Unloads at program end, after everything created while the program ran.
struct UnloadAtExit {
  UnloadAtExit() = default;
  UnloadAtExit(const UnloadAtExit&) = delete;
  UnloadAtExit& operator=(const UnloadAtExit&) = delete;
  ~UnloadAtExit() { UnloadClientLibrary(); }
} unloadAtExit;

}  // namespace

void LoadClientLibrary() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  if (state.library != nullptr) return;

  state.loadLog.clear();
  ClientLibraryResult result = FindLocked(state);
  if (result == ClientLibraryResult::Found && !OpenLibrary(state)) {
    result = ClientLibraryResult::NotFound;
  }
  if (result == ClientLibraryResult::Found) {
    ResolveCallTables(state);
    if (!state.version7 && !state.version8Mode) result = ClientLibraryResult::NotUsable;
  }
  if (result != ClientLibraryResult::Found) RaiseLoadFailure(state, result);

  if (state.version7WithOpinit && !state.version8Mode) Oci7().opinit(OCI_EV_DEF);
  if (state.version8Mode) {
    Oci8().OCIInitialize(OCI_THREADED | OCI_OBJECT, nullptr, nullptr, nullptr, nullptr);
  }
  state.generation.store(++state.loads, std::memory_order_release);
}

uint64_t ClientLibraryGeneration() {
  return State().generation.load(std::memory_order_acquire);
}

bool IsClientLibraryLoaded() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return state.library != nullptr;
}

void UnloadClientLibrary() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  UnloadLocked(state);
}

void RestoreCurrentDirectory() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  if (!state.savedDirectory.empty() && !state.changedDirectory.empty() &&
      platform::GetCurrentDir() == state.changedDirectory) {
    platform::SetCurrentDir(state.savedDirectory);
  }
  state.savedDirectory.clear();
  state.changedDirectory.clear();
}

ClientLibraryResult FindClientLibrary() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  state.loadLog.clear();
  return FindLocked(state);
}

bool IsVersion7SetComplete() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return state.version7;
}

bool IsVersion8SetComplete() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return state.version8;
}

bool IsVersion8Mode() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return state.version8Mode;
}

bool IsVersion81Client() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return state.version81;
}

std::string ClientLibraryPath() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return state.libraryPath;
}

void SetClientLibraryPath(const std::string& path) {
  ClientState& state = State();
  const Lock lock(state.mutex);
  state.libraryPath = path;
  state.pathSearched = path.empty();
}

std::string OracleHomeKey() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return state.homeKey;
}

std::string OracleHomeDirectory() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return state.homeDirectory;
}

std::string ClientLoadLog() {
  ClientState& state = State();
  const Lock lock(state.mutex);
  return JoinedLog(state);
}

}  // namespace vorn::client
