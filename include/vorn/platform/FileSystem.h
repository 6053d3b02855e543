// Questions to the file system that the client binding asks while it looks
// for the client library and the alias file: does a file or folder exist,
// which files match a wildcard, where does a path built in the wrong case
// really lead.
//
// Names compare without regard to ASCII case where the functions say so,
// since the paths the binding builds come from a system whose file names
// ignore case ("ORA805.DLL", "Network\Admin").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::platform {

// True when `path` names an existing regular file (after following
// symbolic links).
bool FileExists(const std::string& path);

// True when `path` names an existing folder (after following symbolic
// links).
bool DirectoryExists(const std::string& path);

// True when `name` matches `mask`, ignoring ASCII case: "*" stands for any
// run of characters, including none, "?" for exactly one character; every
// other character stands for itself.
bool MatchesFileMask(std::string_view name, std::string_view mask);

// The names of the entries of `folder` (an empty folder means the current
// directory) that match `mask`, as they are written on disk and in the
// order the file system lists them, not sorted. Every kind of entry counts
// (files, folders, links), except "." and "..". A missing or unreadable
// folder yields nothing.
std::vector<std::string> FindFiles(const std::string& folder, std::string_view mask);

// The real path of the file or folder that `path` names when each of its
// parts is compared without regard to case:
// "/opt/ora\Network\Admin\tnsnames.ora" finds
// "/opt/ora/network/admin/TNSNAMES.ORA". Both "/" and "\" separate parts. At every level an exact
// match wins; among several case-insensitive matches the lowest in byte order is taken, so the
// result does not depend on listing order. The result uses native separators and stays relative
// when `path` is. Empty text when nothing matches.
std::string ResolvePathCaseInsensitive(const std::string& path);

}  // namespace vorn::platform
