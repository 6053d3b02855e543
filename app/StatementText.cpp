// The statement processor's text rules; see StatementText.h.
#include "StatementText.h"

#include <vector>

#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

constexpr std::string_view kConnectWord = "connect ";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The position of the first "&" followed by a digit, at or after `from`.
size_t FindSlotReference(std::string_view text, size_t from) {
  for (size_t at = text.find('&', from); at != std::string_view::npos;
       at = text.find('&', at + 1)) {
    if (at + 1 < text.size() && IsDigit(text[at + 1])) return at;
  }
  return std::string_view::npos;
}

// The slots whose values lead back to themselves through the references
// they hold, in slot order.
std::vector<int> SelfReferringSlots(const SlotValues& slots) {
  bool refers[kSlotCount][kSlotCount] = {};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::string& value = slots[static_cast<size_t>(slot)];
    for (size_t at = FindSlotReference(value, 0); at != std::string::npos;
         at = FindSlotReference(value, at + 1)) {
      refers[slot][value[at + 1] - '0'] = true;
    }
  }
  // Transitive closure: ten slots, so the cubic walk is nothing.
  for (int via = 0; via < kSlotCount; ++via) {
    for (int from = 0; from < kSlotCount; ++from) {
      for (int to = 0; to < kSlotCount; ++to) {
        if (refers[from][via] && refers[via][to]) refers[from][to] = true;
      }
    }
  }
  std::vector<int> cyclic;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (refers[slot][slot]) cyclic.push_back(slot);
  }
  return cyclic;
}

[[noreturn]] void RaiseEndlessSubstitution(const SlotValues& slots) {
  const std::vector<int> cyclic = SelfReferringSlots(slots);
  std::string reason;
  if (cyclic.size() == 1) {
    reason = "slot &" + std::to_string(cyclic[0]) + " refers to itself";
  } else if (!cyclic.empty()) {
    reason = "slots ";
    for (size_t i = 0; i < cyclic.size(); ++i) {
      if (i > 0) reason += i + 1 == cyclic.size() ? " and " : ", ";
      reason += "&" + std::to_string(cyclic[i]);
    }
    reason += " refer to each other";
  } else {
    reason = "the slot values keep bringing in further slot references";
  }
  throw Exception("Slot substitution stopped after " + std::to_string(kMaxSlotSubstitutions) +
                  " substitutions: " + reason);
}

}  // namespace

ClassifiedLine ClassifyLine(std::string_view line) {
  ClassifiedLine result;
  result.text = Trim(line);
  const std::string& text = result.text;
  if (text.empty()) {
    result.kind = LineKind::Empty;
  } else if (LowerCase(text) == "commit") {
    result.kind = LineKind::Commit;
  } else if (text[0] == '&') {
    if (text.size() > 1 && IsDigit(text[1])) {
      result.kind = LineKind::StoreSlot;
      result.slot = text[1] - '0';
    } else {
      result.kind = LineKind::Ignored;
    }
  } else if (LowerCase(std::string_view(text).substr(0, kConnectWord.size())) == kConnectWord) {
    result.kind = LineKind::Connect;
  } else {
    result.kind = LineKind::Statement;
  }
  return result;
}

ConnectTarget SplitConnectLine(std::string_view line) {
  ConnectTarget target;
  const size_t at = line.find('@');
  if (at == std::string_view::npos) {
    target.database = std::string(line);
    return target;
  }
  target.database = std::string(line.substr(at + 1));
  const size_t start = std::min(kConnectWord.size(), at);
  const std::string credentials = Trim(line.substr(start, at - start));
  const size_t slash = credentials.find('/');
  if (slash == std::string::npos) {
    target.password = credentials;
  } else {
    target.username = credentials.substr(0, slash);
    target.password = credentials.substr(slash + 1);
  }
  return target;
}

std::string SubstituteSlots(std::string_view text, const SlotValues& slots) {
  std::string result(text);
  int substitutions = 0;
  for (size_t at = FindSlotReference(result, 0); at != std::string::npos;
       at = FindSlotReference(result, 0)) {
    if (++substitutions > kMaxSlotSubstitutions) RaiseEndlessSubstitution(slots);
    result.replace(at, 2, slots[static_cast<size_t>(result[at + 1] - '0')]);
  }
  return result;
}

std::string LanguageOf(std::string_view statement) {
  const size_t blank = statement.find(' ');
  if (blank == std::string_view::npos) return std::string();
  const std::string word = LowerCase(statement.substr(0, blank));
  if (word == "select") return "VORN";
  if (word == "create" || word == "drop" || word == "alter") return "ODDL";
  if (word == "insert" || word == "delete" || word == "update") return "ODML";
  return std::string();
}

std::string TranslatorBlock(std::string_view language, std::string_view statement) {
  std::string block = "begin parser.LoadLanguage('";
  block += language;
  block += "'); parser.Parse(";
  block += QuotedStr(statement);
  block += "); :result := ";
  block += language;
  block += ".result; end;";
  return block;
}

ResultKind ResultKindOf(std::string_view translated) {
  const size_t close = translated.find("*/");
  if (close == std::string_view::npos) return ResultKind::DataSet;
  const std::string_view comment = translated.substr(0, close);
  const size_t open = comment.find("/*");
  if (open == std::string_view::npos) return ResultKind::DataSet;
  std::string tag(comment.substr(open + 2));
  if (!tag.empty() && tag[0] == ':') tag = UpperCase(std::string_view(tag).substr(1));
  if (tag == "INT") return ResultKind::Integer;
  if (tag == "STR" || tag == "REF") return ResultKind::String;
  return ResultKind::DataSet;
}

}  // namespace vorn
