// The process command line, available to library code without help from
// main(): the client binding reads its ORACLEHOME and OCIDLL parameters,
// the logon dialog its UserId parameter, wherever they are needed.
//
// Parameter 0 is the program, parameters 1 to ParamCount() are those the
// process was started with, exactly as the system passed them (on Linux,
// from /proc/self/cmdline; a parameter may be empty or hold blanks).
#pragma once

#include <string>
#include <vector>

namespace vorn::platform {

// The number of parameters after the program.
int ParamCount();

// Parameter `index`; 0 gives the full path of the running program (or, when
// the system cannot tell it, the name it was started under). An index
// outside 0..ParamCount() gives empty text.
std::string ParamStr(int index);

// Replaces parameters 1..n with `parameters` for the rest of the process or
// until ResetCommandLineForTesting(); ParamStr(0) stays the real program.
// Safe to call while other threads read parameters (they see either list).
void SetCommandLineForTesting(std::vector<std::string> parameters);

// Returns to the parameters the process was started with.
void ResetCommandLineForTesting();

}  // namespace vorn::platform
