// Environment variables of the process. Names are case-sensitive on POSIX.
//
// Changing the environment while another thread reads it is a data race in
// the C library itself (which these functions serialise only among
// themselves); change it at start-up or in tests.
#pragma once

#include <optional>
#include <string>

namespace vorn::platform {

// The value of `name`; empty text when the variable is unset.
std::string ReadEnvironmentVariable(const std::string& name);

// The value of `name`, or no value when it is unset (as opposed to set to
// empty text).
std::optional<std::string> FindEnvironmentVariable(const std::string& name);

// Sets `name` to `value`, replacing any earlier value. False when the name is
// not acceptable to the system (empty or containing "=").
bool WriteEnvironmentVariable(const std::string& name, const std::string& value);

// Removes `name`; removing an unset variable succeeds. False for a name the
// system rejects.
bool RemoveEnvironmentVariable(const std::string& name);

}  // namespace vorn::platform
