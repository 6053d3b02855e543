// A user's program: one header, one target. It touches the host framework
// and the platform layer so that both libraries must link from the install.
#include <vorn/vorn.h>

#include <cstdio>

int main() {
  vorn::Variant v = std::string("42");
  const int n = v.AsInteger();
  const std::string dir = vorn::platform::GetCurrentDir();
  if (n != 42 || dir.empty()) {
    std::fprintf(stderr, "unexpected: %d '%s'\n", n, dir.c_str());
    return 1;
  }
  return 0;
}
