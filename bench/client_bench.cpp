// Every fetch, bind and LOB call of the query engine goes through a
// call-table entry, which checks that the entry is filled before it jumps.
// These measure what that check costs over calling the same export through
// a bare function pointer.
#include <benchmark/benchmark.h>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/platform/CommandLine.h"
#include "vorn/platform/DynamicLibrary.h"

namespace {

using namespace vorn::client;

void LoadStandIn() {
  if (IsClientLibraryLoaded()) return;
  vorn::platform::SetCommandLineForTesting({std::string("OCIDLL=") + VORN_FAKE_OCI_FULL81});
  LoadClientLibrary();
}

void BM_CallThroughEntry(benchmark::State& state) {
  LoadStandIn();
  for ([[maybe_unused]] auto _ : state) {
    benchmark::DoNotOptimize(Oci8().OCIStmtFetch(nullptr, nullptr, 1, 2, OCI_DEFAULT));
  }
}
BENCHMARK(BM_CallThroughEntry);

void BM_CallThroughRawPointer(benchmark::State& state) {
  LoadStandIn();
  // The same library, loaded once more, yields the same export.
  vorn::platform::LibraryHandle library = vorn::platform::LoadDynamicLibrary(ClientLibraryPath());
  using Fetch = sword (*)(OCIStmt*, OCIError*, ub4, ub2, ub4);
  auto fetch =
      reinterpret_cast<Fetch>(vorn::platform::ResolveLibrarySymbol(library, "OCIStmtFetch"));
  benchmark::DoNotOptimize(fetch);
  for ([[maybe_unused]] auto _ : state) {
    benchmark::DoNotOptimize(fetch(nullptr, nullptr, 1, 2, OCI_DEFAULT));
  }
  vorn::platform::FreeDynamicLibrary(library);
}
BENCHMARK(BM_CallThroughRawPointer);

}  // namespace

BENCHMARK_MAIN();
