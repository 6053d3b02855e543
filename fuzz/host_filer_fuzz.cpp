// Reads arbitrary bytes as a component stream into a component with binary,
// value and nested string-list properties and one owned component. Any
// input may fail with EReadError; nothing else may escape, and the state
// flags must be clear afterwards.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "vorn/host/Component.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/host/StringList.h"

namespace {

using namespace vorn;

class TFuzzed : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<uint8_t> data;
  TStringList sql;

 protected:
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
          data.resize(static_cast<size_t>(s.Size()));
          s.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
        },
        nullptr, false);
    filer.DefineProperty(
        "Values",
        [](TReader& r) {
          r.ReadInteger();
          r.ReadFloat();
          r.ReadBoolean();
          r.ReadListBegin();
          while (!r.EndOfList())
            r.ReadString();
          r.ReadListEnd();
        },
        nullptr, false);
    filer.DefinePersistent("SQL", sql);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  TFuzzed root(nullptr);
  auto* child = new TFuzzed(&root);
  child->SetName("Query1");
  TMemoryStream stream;
  stream.Write(bytes, static_cast<int64_t>(size));
  stream.SetPosition(0);
  try {
    ReadComponent(stream, root);
  } catch (const EReadError&) {
  }
  if ((root.ComponentState() | child->ComponentState()) & (csLoading | csReading)) std::abort();
  return 0;
}
