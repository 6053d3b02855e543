// Bytes a client may hand in as an object, a collection or a REF (and the
// hexadecimal text of a REF): decoding never reads past the input, and what
// decodes encodes back to the same bytes (the forms are canonical).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/ObjectValue.h"
#include "value/OraError.h"
#include "value/RawHex.h"

using namespace vorn::server;

namespace {

void check(std::string_view bytes) {
  std::vector<Value> values;
  if (decodeObject(bytes, values) && encodeObject(values) != bytes) std::abort();
  if (decodeCollection(bytes, values) && encodeCollection(values) != bytes) std::abort();
  int64_t count = encodedCount(bytes);
  if (decodeObject(bytes, values) && count != static_cast<int64_t>(values.size())) std::abort();
  RefValue ref;
  if (decodeRef(bytes, ref) && encodeRef(ref) != bytes) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  check(bytes);
  try {
    check(hexToRaw(bytes));
  } catch (const OraError&) {
  }
  return 0;
}
