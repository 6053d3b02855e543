// The process-wide current directory. The client binding changes it to the
// client library's directory when a plain load fails (the library's own
// dependencies may be found relative to it) and changes it back afterwards.
#pragma once

#include <string>

namespace vorn::platform {

// The current directory as an absolute path; empty text if the system
// cannot tell it (for instance when it was removed).
std::string GetCurrentDir();

// Makes `path` the current directory. False, with the current directory
// unchanged, when `path` is empty, missing, not a directory or not
// accessible.
bool SetCurrentDir(const std::string& path);

}  // namespace vorn::platform
