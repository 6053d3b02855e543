// Feeds arbitrary bytes to the version 8 call interface's conversions of
// bound and defined data (server/oci/ExternalData.h): one element in a bind
// buffer of any supported external type is read into an engine value, which
// is then written into a define buffer of any supported type and size, with
// the conversions in both directions that go through text (TO_CHAR,
// TO_NUMBER, TO_DATE in the session's formats). Conversions may refuse with
// an ORA error; a crash, a read or write outside the caller's buffers,
// another exception, or a reported length past the buffer is a finding.
//
// Input: the bind type, the define type, the define size, the bind size
// selector (bit 7 set: the actual length is one less than the size), then
// the element's bytes. Types index the list of supported types; the ROWID
// descriptor type is left out, since its element is a pointer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ExternalData.h"
#include "value/OraError.h"
#include "value/SessionValues.h"

namespace {

using namespace vorn::server;

constexpr ub2 kTypes[] = {SQLT_CHR, SQLT_STR, SQLT_AFC, SQLT_AVC, SQLT_VCS, SQLT_LVC,
                          SQLT_LNG, SQLT_BIN, SQLT_LBI, SQLT_VBI, SQLT_LVB, SQLT_NUM,
                          SQLT_VNU, SQLT_INT, SQLT_UIN, SQLT_FLT, SQLT_DAT, SQLT_ODT};
constexpr size_t kTypeCount = sizeof kTypes / sizeof kTypes[0];

// Sizes a caller gives for native numbers, and a spread of others.
sb4 defineSize(uint8_t selector) {
  constexpr sb4 kNative[] = {1, 2, 4, 8, 7, 21, 22, 0};
  return selector < 16 ? kNative[selector % 8] : static_cast<sb4>(selector - 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const ub2 inType = kTypes[data[0] % kTypeCount];
  const ub2 outType = kTypes[data[1] % kTypeCount];
  const sb4 outSize = defineSize(data[2]);
  const bool shortLength = data[3] & 0x80;
  const size_t elementSize = size - 4;

  // Exactly the element's bytes on the heap, so that any read past them is
  // seen.
  auto element = std::make_unique<uint8_t[]>(elementSize);
  if (elementSize) std::memcpy(element.get(), data + 4, elementSize);
  const ub4 length = static_cast<ub4>(shortLength && elementSize ? elementSize - 1 : elementSize);

  static SessionValues* values = new SessionValues();
  Value value;
  try {
    value = oci::readValue(element.get(), length, static_cast<sb4>(elementSize), inType);
  } catch (const OraError&) {
    return 0;
  }
  if (value.isNull()) return 0;

  auto buffer = std::make_unique<uint8_t[]>(static_cast<size_t>(std::max<sb4>(outSize, 1)));
  std::string scratch;
  oci::OutElement out;
  out.data = buffer.get();
  out.size = outSize;
  out.dty = outType;
  try {
    const oci::Written written = oci::writeValue(oci::ValueView::of(value), out, *values, scratch);
    if (!written.null && written.length > static_cast<ub4>(std::max<sb4>(outSize, 0))) std::abort();
  } catch (const OraError&) {
  }
  try {
    oci::textOf(oci::ValueView::of(value), *values, scratch);
  } catch (const OraError&) {
  }
  return 0;
}
