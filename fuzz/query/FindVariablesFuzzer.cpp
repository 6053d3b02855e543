// Feeds arbitrary text to the variable scanner in both of its modes and
// checks what it reports: every name sits right after a colon at its
// position, is the upper-cased text there, and each-name-once mode reports
// the first occurrences of the names of every-occurrence mode. Anything
// else (a crash, a read out of bounds, an exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "vorn/host/TextUtils.h"
#include "vorn/query/SqlVariables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto all = vorn::ScanVariables(text, true);
  const auto once = vorn::ScanVariables(text, false);
  for (const auto& found : all) {
    const size_t colon = static_cast<size_t>(found.Position) - 1;
    if (found.Position < 1 || colon >= text.size() || text[colon] != ':') std::abort();
    if (vorn::AnsiUpperCase(text.substr(colon + 1, found.Name.size())) != found.Name) std::abort();
  }
  size_t next = 0;
  for (const auto& found : once) {
    // The same order, each name at its first occurrence.
    while (next < all.size() && all[next].Position != found.Position)
      ++next;
    if (next == all.size() || all[next].Name != found.Name) std::abort();
  }
  return 0;
}
