// Reads arbitrary bytes as a form into a TOracleDataSet without a session:
// every stored property goes through its setter (the statement, the
// variables, the option objects, enumerations and sets by name, the filter,
// Active). Any input may fail with a vorn::Exception (a malformed stream, a
// value a setter refuses, or the open that a stored Active asks for, which
// has no session); nothing else may escape, and the dataset must be closed,
// with its state flags clear, and destroyable afterwards.
#include <cstdint>
#include <cstdlib>

#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace vorn;
  TOracleDataSet dataSet(nullptr);
  TMemoryStream stream;
  stream.Write(bytes, static_cast<int64_t>(size));
  stream.SetPosition(0);
  try {
    ReadComponent(stream, dataSet);
  } catch (const Exception&) {
    // Refused input.
  }
  if (dataSet.Active()) std::abort();
  if (dataSet.ComponentState() & (csReading | csLoading)) std::abort();
  return 0;
}
