// Feeds arbitrary bytes to the reader of a dataset's query-by-example
// field definitions (the "QBEFieldDefs" stream a form stores). A stream
// may be refused, only with EReadError, and then leaves the definitions as
// they were; one that is accepted must write a version 2 stream that reads
// back to the same definitions and writes the same bytes again. Anything
// else (a crash, an allocation without bound, a read out of bounds,
// another exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "vorn/dataset/QBEDefinition.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/MemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorn;
  TQBEDefinition definition(nullptr);
  definition.FieldDefs()->Add()->SetFieldName("KEPT");
  TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<int64_t>(size));
  stream.SetPosition(0);
  try {
    definition.ReadFieldDefs(stream);
  } catch (const EReadError&) {
    if (definition.FieldDefs()->Count() != 1) std::abort();
    if (definition.FieldDefs()->Items(0)->FieldName() != "KEPT") std::abort();
    return 0;
  }
  for (int i = 0; i < definition.FieldDefs()->Count(); ++i) {
    // Every definition is found by its name (the first of its name).
    const TQBEFieldDef* def = definition.FieldDefs()->Items(i);
    if (definition.FindFieldDef(def->FieldName()) == nullptr) std::abort();
  }
  TMemoryStream saved;
  definition.WriteFieldDefs(saved);
  TQBEDefinition copy(nullptr);
  saved.SetPosition(0);
  copy.ReadFieldDefs(saved);
  if (!copy.SameFieldDefs(definition)) std::abort();
  TMemoryStream again;
  copy.WriteFieldDefs(again);
  if (again.Bytes() != saved.Bytes()) std::abort();
  return 0;
}
