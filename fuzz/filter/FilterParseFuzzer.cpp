// Feeds arbitrary text to the filter parser and evaluates every tree it
// accepts, in every conversion, on each record of a small dataset. Parsing
// and evaluation may refuse with the library's exceptions; anything else
// (a crash, a leak, a read out of bounds, another exception) is a finding.
//
// The first byte selects options: bit 0 foCaseInsensitive, bit 1
// foNoPartialCompare, bit 2 a comma as the decimal separator; the rest is
// the filter text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "MemDataSet.h"
#include "vorn/filter/filter.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/FormatSettings.h"

namespace {

using namespace vorn;

support::TMemDataSet& Employees() {
  static std::unique_ptr<support::TMemDataSet> ds = [] {
    auto created = std::make_unique<support::TMemDataSet>();
    created->FieldDefs().Add("EMPNO", ftInteger);
    created->FieldDefs().Add("ENAME", ftString, 10);
    created->FieldDefs().Add("SAL", ftFloat);
    created->FieldDefs().Add("COMM", ftFloat);
    created->FieldDefs().Add("DEPTNO", ftSmallint);
    created->FieldDefs().Add("HIREDATE", ftDateTime);
    created->FieldDefs().Add("MANAGER", ftBoolean);
    created->AddRow({7369, "SMITH", 800.0, Variant::MakeNull(), 20,
                     Variant::FromDateTime(EncodeDate(1980, 12, 17)), false});
    created->AddRow({7839, "KING", 5000.0, 0.0, 10,
                     Variant::FromDateTime(EncodeDateTime(1981, 11, 17, 10, 30, 0, 0)), true});
    created->AddRow(
        {0, "", -1.5e300, Variant::MakeNull(), 0, Variant::MakeNull(), Variant::MakeNull()});
    created->Open();
    return created;
  }();
  return *ds;
}

template <class F>
void Try(F&& read) {
  try {
    read();
  } catch (const Exception&) {
    // Refusals are the library's answer to bad input.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  support::TMemDataSet& ds = Employees();
  const uint8_t selector = data[0];
  TFilterOptions options = foNone;
  if (selector & 1) options |= foCaseInsensitive;
  if (selector & 2) options |= foNoPartialCompare;
  TFormatSettings settings = DefaultFormatSettings();
  if (selector & 4) settings.DecimalSeparator = ',';
  ScopedFormatSettings locale(settings);
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::unique_ptr<filter::TExpression> tree;
  try {
    tree = filter::ParseFilterExpression(text, options, filter::ResolveColumn, &ds);
  } catch (const Exception&) {
    return 0;
  }
  if (!tree) return 0;
  for (ds.First(); !ds.Eof(); ds.Next()) {
    Try([&] { tree->ExprType(); });
    Try([&] { tree->AsBoolean(); });
    Try([&] { tree->AsString(); });
    Try([&] { tree->AsFloat(); });
    Try([&] { tree->AsInteger(); });
    Try([&] { tree->AsDate(); });
  }
  return 0;
}
