// Starting the probe program as a child process and collecting its output.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vorn::platform::testing {

struct ChildResult {
  int exitCode = -1;
  std::string output;
};

// Runs `program` with `arguments` (argv[1..]) in this process's environment
// changed by `environment`: a name mapped to a value sets it, a name mapped
// to no value removes it. Waits for the child to end.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::map<std::string, std::optional<std::string>>& environment = {});

}  // namespace vorn::platform::testing
