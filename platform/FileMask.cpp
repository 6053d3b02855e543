// Wildcard matching of file names, as the system's file search does it.
#include "AsciiCase.h"
#include "vorn/platform/FileSystem.h"

namespace vorn::platform {

// Greedy matching with one remembered "*": on a mismatch the last "*" takes
// one more character and matching resumes after it. Earlier stars never
// need to be revisited, so the cost stays at most proportional to
// name length times mask length, whatever the mask.
bool MatchesFileMask(std::string_view name, std::string_view mask) {
  std::size_t n = 0;
  std::size_t m = 0;
  std::size_t starMask = std::string_view::npos;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == '?' || AsciiLower(mask[m]) == AsciiLower(name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*')
    ++m;
  return m == mask.size();
}

}  // namespace vorn::platform
