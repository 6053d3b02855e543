// Feeds arbitrary bytes to the reader of a query's variable list. A stream
// may be refused, only with EReadError and an empty list; one that is
// accepted must read back every value and write the same list again.
// Anything else (a crash, an allocation without bound, a read out of
// bounds, another exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "vorn/host/Exceptions.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/query/OracleQuery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorn;
  TOracleQuery query;
  TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<int64_t>(size));
  stream.SetPosition(0);
  try {
    query.Variables()->LoadFromStream(stream);
  } catch (const EReadError&) {
    if (query.VariableCount() != 0) std::abort();
    return 0;
  }
  for (int i = 0; i < query.VariableCount(); ++i) {
    try {
      query.GetVariable(query.VariableName(i));
    } catch (const EConvertError&) {
      // A date the platform cannot show is still a date.
    }
  }
  TMemoryStream saved;
  query.Variables()->SaveToStream(saved);
  TOracleQuery copy;
  saved.SetPosition(0);
  copy.Variables()->LoadFromStream(saved);
  TMemoryStream again;
  copy.Variables()->SaveToStream(again);
  if (again.Bytes() != saved.Bytes()) std::abort();
  return 0;
}
