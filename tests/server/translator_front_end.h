// What the front end's statement processor does around the translator, for
// tests of every layer: the language its first word picks, the one-line
// block it sends (its quotes doubled), and the result kind it reads from
// the translated text's leading comment.
#pragma once

#include <cctype>
#include <string>

namespace vorn::server::test {

// The language a statement's first word (the text before the first blank,
// in lower case) picks; "" for any other word or a statement without blank.
inline std::string languageOf(const std::string& statement) {
  size_t blank = statement.find(' ');
  if (blank == std::string::npos) return "";
  std::string word = statement.substr(0, blank);
  for (char& c : word)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (word == "select") return "VORN";
  if (word == "create" || word == "drop" || word == "alter") return "ODDL";
  if (word == "insert" || word == "delete" || word == "update") return "ODML";
  return "";
}

inline std::string frontEndBlock(const std::string& language, const std::string& statement) {
  std::string quoted;
  for (char c : statement) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return "begin parser.LoadLanguage('" + language + "'); parser.Parse('" + quoted +
         "'); :result := " + language + ".result; end;";
}

// DS, INT, STR or REF: the text before the first "*/", after its first
// "/*"; a leading ':' dropped and the rest upper-cased; anything else DS.
inline std::string resultKindOf(const std::string& text) {
  size_t close = text.find("*/");
  std::string head = close == std::string::npos ? "" : text.substr(0, close);
  size_t open = head.find("/*");
  std::string tag = open == std::string::npos ? "" : head.substr(open + 2);
  if (!tag.empty() && tag[0] == ':') {
    tag = tag.substr(1);
    for (char& c : tag)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (tag == "INT" || tag == "STR" || tag == "REF") return tag;
  return "DS";
}

}  // namespace vorn::server::test
