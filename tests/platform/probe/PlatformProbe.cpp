// A child process for the platform tests. Its main() hands nothing to the
// platform layer, so what it prints is what the layer found by itself.
//
//   platform_probe params ...           prints ParamCount() and every ParamStr
//   platform_probe load <lib> <symbol>  loads <lib>, calls int <symbol>(void)
#include <cstdio>
#include <string>

#include "vorn/platform/CommandLine.h"
#include "vorn/platform/DynamicLibrary.h"

namespace {

int PrintParameters() {
  using namespace vorn::platform;
  std::printf("%d\n", ParamCount());
  for (int i = 0; i <= ParamCount(); ++i)
    std::printf("[%s]\n", ParamStr(i).c_str());
  return 0;
}

int LoadAndCall(const std::string& library, const std::string& symbol) {
  using namespace vorn::platform;
  LibraryHandle handle = LoadDynamicLibrary(library);
  if (handle == nullptr) {
    std::printf("load failed: %s\n", LastLibraryError().c_str());
    return 1;
  }
  LibrarySymbol address = ResolveLibrarySymbol(handle, symbol);
  if (address == nullptr) {
    std::printf("resolve failed: %s\n", LastLibraryError().c_str());
    return 1;
  }
  std::printf("%d\n", reinterpret_cast<int (*)()>(address)());
  return FreeDynamicLibrary(handle) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "params") return PrintParameters();
  if (command == "load" && argc == 4) return LoadAndCall(argv[2], argv[3]);
  std::fprintf(stderr, "usage: platform_probe params ... | load <library> <symbol>\n");
  return 2;
}
