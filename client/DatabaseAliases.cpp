// Locating tnsnames.ora and reading the aliases out of it and the files it
// includes.
#include "vorn/client/DatabaseAliases.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/OracleHome.h"
#include "vorn/host/TextUtils.h"
#include "vorn/platform/Environment.h"
#include "vorn/platform/FileSystem.h"
#include "vorn/platform/Paths.h"
#include "vorn/platform/TextFile.h"

namespace vorn::client {

namespace {

constexpr std::size_t kEnvironmentValueLength = 1000;

// Includes nest no deeper than this: a guard against include chains that
// the cycle check cannot see (the same file under two hard links).
constexpr int kMaxIncludeDepth = 32;

class AliasFileReader {
 public:
  explicit AliasFileReader(TStringList& aliases) : aliases_(aliases) {}

  void Read(std::string path) {
    // A UNC path written with one backslash too many still names its server.
    while (path.starts_with("\\\\\\"))
      path.erase(0, 1);
    const std::string resolved = platform::ResolvePathCaseInsensitive(path);
    if (resolved.empty() || !platform::FileExists(resolved)) return;

    std::error_code error;
    std::string identity = std::filesystem::weakly_canonical(resolved, error).string();
    if (error) identity = resolved;
    for (const std::string& open : openFiles_) {
      if (open == identity) return;
    }
    if (static_cast<int>(openFiles_.size()) >= kMaxIncludeDepth) return;

    const std::optional<std::vector<std::string>> lines = platform::ReadTextFileLines(resolved);
    if (!lines) return;
    openFiles_.push_back(identity);
    ReadLines(*lines, platform::ExtractFileDir(resolved));
    openFiles_.pop_back();
  }

 private:
  void ReadLines(const std::vector<std::string>& lines, const std::string& folder) {
    // Parentheses span lines: a description may run over many, and what it
    // holds is never an alias.
    int depth = 0;
    bool includePending = false;
    for (const std::string& line : lines) {
      if (line.starts_with('#')) continue;
      std::string outside;
      for (const char c : line) {
        if (c == '(') ++depth;
        if (depth == 0 && static_cast<unsigned char>(c) > 31) outside += c;
        // A stray ")" must not hide the rest of the file.
        if (c == ')' && depth > 0) --depth;
      }
      const std::string text = Trim(outside);
      if (text.empty()) continue;

      const std::size_t equals = text.find('=');
      if (equals == std::string::npos) {
        if (includePending) {
          includePending = false;
          Include(text, folder);
        }
        continue;
      }
      std::string key = Trim(std::string_view(text).substr(0, equals));
      const std::string value = Trim(std::string_view(text).substr(equals + 1));
      if (const std::size_t world = UpperCase(key).find(".WORLD"); world != std::string::npos) {
        key.resize(world);
      }
      if (LowerCase(key) == "ifile") {
        if (value.empty()) {
          includePending = true;
        } else {
          Include(value, folder);
        }
      } else if (!key.empty()) {
        aliases_.Add(key);
      }
    }
  }

  // A relative name is taken from the folder of the file that names it,
  // not from the current directory, which the program does not control.
  void Include(const std::string& name, const std::string& folder) {
    Read(platform::IsPathSeparator(name.front()) ? name : platform::PathJoin(folder, name));
  }

  TStringList& aliases_;
  // The files being read, outermost first, to refuse an include cycle.
  std::vector<std::string> openFiles_;
};

}  // namespace

std::string DatabaseAliasFolder() {
  std::string folder =
      platform::ReadEnvironmentVariable("TNS_ADMIN").substr(0, kEnvironmentValueLength);
  if (!folder.empty()) return folder;

  const std::string homeKey = OracleHomeKey();
  folder = ReadRegistryString(homeKey, "TNS_ADMIN");
  if (!folder.empty()) return folder;

  const bool version8 = IsVersion8SetComplete();
  const std::string net = ReadRegistryString(homeKey, version8 ? "NET80" : "NET20");
  if (!net.empty()) return platform::PathJoin(net, "Admin");

  // Without a home there is no folder to look in.
  const std::string home = OracleHomeDirectory();
  if (home.empty()) return {};
  return platform::PathJoin(home,
                            version8 && !IsVersion81Client() ? "Net80\\Admin" : "Network\\Admin");
}

void AddAliasesFromFile(const std::string& path, TStringList& aliases) {
  AliasFileReader(aliases).Read(path);
}

std::vector<std::string> ListDatabaseAliases() {
  TStringList aliases;
  aliases.SetSorted(true);
  aliases.SetDuplicates(dupIgnore);
  aliases.SetCaseSensitive(false);

  LoadClientLibrary();
  try {
    const std::string folder = DatabaseAliasFolder();
    if (!folder.empty()) AddAliasesFromFile(platform::PathJoin(folder, "tnsnames.ora"), aliases);
  } catch (const std::exception&) {
    // A damaged alias file costs the aliases after the damage, not the
    // logon dialog.
  }

  std::vector<std::string> result;
  result.reserve(aliases.Count());
  for (int index = 0; index < aliases.Count(); ++index)
    result.push_back(aliases[index]);
  return result;
}

}  // namespace vorn::client
