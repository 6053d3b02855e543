// Path text: joining, splitting into folder and name. Pure string work that
// never touches the file system.
//
// Paths that the client binding builds from registry values and fixed
// parts may be written with backslashes (Network\Admin\tnsnames.ora), so
// both "/" and "\" count as separators when a path is taken apart; new
// separators are always the native one. ResolvePathCaseInsensitive
// (FileSystem.h) turns such a path into the real, native one.
#pragma once

#include <string>

namespace vorn::platform {

// The native separator between folders.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// True for "/" and "\".
constexpr bool IsPathSeparator(char c) {
  return c == '/' || c == '\\';
}

// `folder` and `name` with exactly one separator between them: a separator
// is inserted only when `folder` does not already end in one, and leading
// separators of `name` are dropped. An empty `folder` yields `name`; an
// empty `name` yields `folder`.
std::string PathJoin(const std::string& folder, const std::string& name);

// The folder part of `path`: everything before its last separator, keeping
// the separator only when it is the root ("/lib/x.so" gives "/lib",
// "/x.so" gives "/"). Empty text when `path` has no separator.
std::string ExtractFileDir(const std::string& path);

// The name part of `path`: everything after its last separator.
std::string ExtractFileName(const std::string& path);

}  // namespace vorn::platform
