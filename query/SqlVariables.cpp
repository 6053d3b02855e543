// The variable scanner; see SqlVariables.h.
#include "vorn/query/SqlVariables.h"

#include <algorithm>

#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

bool ExtendsName(unsigned char c) {
  return c == '#' || c == '$' || c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z') || c >= 128;
}

enum class State { Normal, Name, Quote, BlockComment, LineComment };

}  // namespace

std::vector<TVariableOccurrence> ScanVariables(std::string_view source, bool allOccurrences) {
  std::string text(source);
  text += "\r\n";
  std::vector<TVariableOccurrence> found;
  State state = State::Normal;
  size_t nameStart = 0;
  const size_t size = text.size();
  for (size_t i = 0; i < size; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const unsigned char next = i + 1 < size ? static_cast<unsigned char>(text[i + 1]) : 0;
    switch (state) {
      case State::Normal:
        if (c == ':') {
          state = State::Name;
          nameStart = i;
        } else if (c == '\'') {
          state = State::Quote;
        } else if (c == '/' && next == '*') {
          state = State::BlockComment;
          ++i;
        } else if (c == '-' && next == '-') {
          state = State::LineComment;
          ++i;
        }
        break;
      case State::Name:
        if (!ExtendsName(c)) {
          std::string name =
              AnsiUpperCase(std::string_view(text).substr(nameStart + 1, i - nameStart - 1));
          const bool known = !allOccurrences &&
                             std::any_of(found.begin(), found.end(),
                                         [&name](const auto& item) { return item.Name == name; });
          if (!known) found.push_back({std::move(name), static_cast<int>(nameStart) + 1});
          state = State::Normal;
        }
        break;
      case State::Quote:
        if (c == '\'') state = State::Normal;
        break;
      case State::BlockComment:
        if (c == '*' && next == '/') {
          state = State::Normal;
          ++i;
        }
        break;
      case State::LineComment:
        if (c == '\r' && next == '\n') {
          state = State::Normal;
          ++i;
        }
        break;
    }
  }
  return found;
}

}  // namespace vorn
