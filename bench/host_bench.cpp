// Cost of the host conversions a dataset performs per field value, of
// sorted string list insertion and of a component stream round trip. Run:
//   ./build/bench/host_bench
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "vorn/host/Component.h"
#include "vorn/host/DateTimeText.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/host/NumberText.h"
#include "vorn/host/StringList.h"
#include "vorn/host/Variant.h"

namespace vorn {
namespace {

void BM_FloatToStr(benchmark::State& state) {
  TFormatSettings settings = DefaultFormatSettings();
  double v = 1234.56;
  for (auto _ : state)
    benchmark::DoNotOptimize(FloatToStr(v += 0.01, settings));
}
BENCHMARK(BM_FloatToStr);

void BM_FormatFloat_DisplayFormat(benchmark::State& state) {
  TFormatSettings settings = DefaultFormatSettings();
  double v = 1234567.891;
  for (auto _ : state)
    benchmark::DoNotOptimize(FormatFloat("###,##0.00", v += 1, settings));
}
BENCHMARK(BM_FormatFloat_DisplayFormat);

void BM_StrToFloat(benchmark::State& state) {
  TFormatSettings settings = DefaultFormatSettings();
  for (auto _ : state)
    benchmark::DoNotOptimize(StrToFloat("-12345.6789", settings));
}
BENCHMARK(BM_StrToFloat);

void BM_FormatDateTime_ShortDateLongTime(benchmark::State& state) {
  TFormatSettings settings = DefaultFormatSettings();
  TDateTime v = EncodeDateTime(2024, 6, 2, 14, 5, 9, 0);
  for (auto _ : state)
    benchmark::DoNotOptimize(FormatDateTime("ddddd tt", v += 0.001, settings));
}
BENCHMARK(BM_FormatDateTime_ShortDateLongTime);

void BM_StrToDateTime(benchmark::State& state) {
  TFormatSettings settings = DefaultFormatSettings();
  for (auto _ : state)
    benchmark::DoNotOptimize(StrToDateTime("6/2/2024 2:05:09 PM", settings));
}
BENCHMARK(BM_StrToDateTime);

void BM_Variant_StringToInteger(benchmark::State& state) {
  Variant v("123456");
  for (auto _ : state)
    benchmark::DoNotOptimize(v.AsInteger());
}
BENCHMARK(BM_Variant_StringToInteger);

void BM_Variant_CopyArray(benchmark::State& state) {
  Variant array = VarArrayCreate(1, static_cast<int>(state.range(0)), varVariant);
  for (int i = 1; i <= state.range(0); ++i)
    VarArrayPut(array, i, i);
  for (auto _ : state) {
    Variant copy = array;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_Variant_CopyArray)->Arg(100);

void BM_StringList_SortedAdd(benchmark::State& state) {
  std::vector<std::string> words;
  for (int i = 0; i < state.range(0); ++i)
    words.push_back("Name" + std::to_string(i * 7919 % 100003));
  for (auto _ : state) {
    TStringList list;
    list.SetSorted(true);
    for (const std::string& w : words)
      list.Add(w);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StringList_SortedAdd)->Arg(10000);

class TBlob : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<uint8_t> data = std::vector<uint8_t>(64 * 1024, 7);

 protected:
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
          data.resize(static_cast<size_t>(s.Size()));
          s.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
        },
        [this](TStream& s) { s.WriteBuffer(data.data(), static_cast<int64_t>(data.size())); },
        true);
  }
};

void BM_ComponentStream_RoundTrip64K(benchmark::State& state) {
  TBlob source(nullptr), target(nullptr);
  for (auto _ : state) {
    TMemoryStream stream;
    WriteComponent(stream, source);
    stream.SetPosition(0);
    ReadComponent(stream, target);
  }
  state.SetBytesProcessed(state.iterations() * 64 * 1024);
}
BENCHMARK(BM_ComponentStream_RoundTrip64K);

}  // namespace
}  // namespace vorn

BENCHMARK_MAIN();
