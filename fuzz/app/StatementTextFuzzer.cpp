// Feeds arbitrary text to Vornix's statement text rules: the line is
// classified, a connect line split, slots substituted, the language chosen,
// the translator's block built and the result kind read. Substitution may
// refuse with vorn::Exception (slots that refer to each other); anything
// else (a crash, a read out of bounds, another exception, a broken
// invariant) is a finding.
//
// The input is the line, then up to ten slot values, separated by NUL
// bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "StatementText.h"
#include "vorn/host/Exceptions.h"

namespace {

using namespace vorn;

void Check(bool holds) {
  if (!holds) std::abort();
}

// The statement back from the block's parser.Parse literal, undoubling
// quotes; the literal must end exactly before "); :result".
void CheckBlock(const std::string& language, const std::string& statement) {
  const std::string block = TranslatorBlock(language, statement);
  const std::string_view start = "'); parser.Parse('";
  const std::string_view opening = "begin parser.LoadLanguage('";
  Check(block.compare(0, opening.size(), opening) == 0);
  size_t at = block.find(start);
  Check(at == opening.size() + language.size());
  at += start.size();
  std::string literal;
  for (;; ++at) {
    Check(at < block.size());
    if (block[at] != '\'') {
      literal += block[at];
    } else if (at + 1 < block.size() && block[at + 1] == '\'') {
      literal += '\'';
      ++at;
    } else {
      break;
    }
  }
  Check(literal == statement);
  Check(block.compare(at, 12, "'); :result ") == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t end = input.find('\0');
  const std::string_view line = input.substr(0, end);
  SlotValues slots;
  for (int slot = 0; slot < kSlotCount && end != std::string_view::npos; ++slot) {
    const size_t next = input.find('\0', end + 1);
    slots[static_cast<size_t>(slot)] =
        std::string(input.substr(end + 1, next == std::string_view::npos ? next : next - end - 1));
    end = next;
  }

  const ClassifiedLine classified = ClassifyLine(line);
  Check(classified.text.size() <= line.size());
  if (classified.kind == LineKind::StoreSlot) Check(classified.slot >= 0 && classified.slot <= 9);
  if (classified.kind == LineKind::Connect) {
    const ConnectTarget target = SplitConnectLine(classified.text);
    Check(target.database.size() <= classified.text.size());
  }
  // Long values stay bounded: at most kMaxSlotSubstitutions replacements,
  // each no longer than the input.
  try {
    const std::string substituted = SubstituteSlots(classified.text, slots);
    const std::string language = LanguageOf(substituted);
    Check(language.empty() || language == "VORN" || language == "ODDL" || language == "ODML");
    CheckBlock(language, substituted);
  } catch (const Exception&) {
  }
  ResultKindOf(line);
  return 0;
}
