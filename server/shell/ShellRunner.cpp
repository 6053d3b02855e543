// The statement loop of vornsql; see ShellRunner.h.
#include "ShellRunner.h"

#include <cctype>
#include <istream>
#include <ostream>

#include "engine/Database.h"
#include "engine/ObjectTypes.h"
#include "engine/ObjectValue.h"
#include "engine/Session.h"
#include "engine/Statement.h"
#include "value/AsciiCase.h"
#include "value/OraError.h"
#include "value/OraNumber.h"
#include "value/RawHex.h"

namespace vorn::server {
namespace {

std::string trimRight(std::string s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
    s.pop_back();
  return s;
}

std::string upperWords(const std::string& s, size_t count) {
  std::string out;
  size_t words = 0;
  bool in = false;
  for (char c : s) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (in && ++words == count) break;
      in = false;
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    in = true;
    out += asciiUpper(c);
  }
  return trimRight(out);
}

// Statements that end with a "/" line: PL/SQL blocks and stored code.
bool isBlock(const std::string& text) {
  std::string head = upperWords(text, 5);
  auto starts = [&](const char* w) { return head.rfind(w, 0) == 0; };
  if (starts("BEGIN") || starts("DECLARE")) return true;
  if (!starts("CREATE")) return false;
  for (const char* kind : {"PROCEDURE", "FUNCTION", "PACKAGE", "TRIGGER", "TYPE"}) {
    if (head.find(std::string(" ") + kind) != std::string::npos) return true;
  }
  return false;
}

std::string firstLine(const std::string& message) {
  return message.substr(0, message.find('\n'));
}

// A value of a user-defined type as SQL*Plus prints one: its constructor
// with the attributes or elements (text quoted, NULL spelled out); a REF as
// the hexadecimal of its bytes.
void appendUserValue(const Value& v, const OraType& type, SessionValues& values, std::string& out) {
  if (v.isNull()) {
    out += "NULL";
    return;
  }
  std::vector<Value> parts;
  bool object = type.kind == TypeKind::Object && decodeObject(v.asText(), parts);
  bool collection = type.kind == TypeKind::Collection && decodeCollection(v.asText(), parts);
  if (!object && !collection) {
    out += rawToHex(v.asText());
    return;
  }
  out += type.udt->name + "(";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += ", ";
    const OraType& part = object ? type.udt->attributes[i].type : type.udt->element;
    const Value& p = parts[i];
    if (p.isNull()) {
      out += "NULL";
    } else if (part.isUserDefined()) {
      appendUserValue(p, part, values, out);
    } else if (p.isNumber()) {
      appendNumberText(p.kind() == Value::Kind::Integer ? OraNumber(p.asInteger())
                                                        : OraNumber::fromDouble(p.asDouble()),
                       out);
    } else if (p.kind() == Value::Kind::Date) {
      out += "'";
      values.appendDateText(p.asInteger(), out);
      out += "'";
    } else {
      out += "'" + (p.kind() == Value::Kind::Raw ? rawToHex(p.asText()) : p.asText()) + "'";
    }
  }
  out += ")";
}

}  // namespace

ShellRunner::ShellRunner(std::shared_ptr<Database> database, std::unique_ptr<Session> session,
                         std::ostream& out)
    : database_(std::move(database)), session_(std::move(session)), out_(out) {}

ShellRunner::~ShellRunner() = default;

void ShellRunner::run(std::istream& in) {
  std::string buffer;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string trimmed = trimRight(line);
    size_t first = trimmed.find_first_not_of(" \t");
    if (buffer.empty()) {
      if (first == std::string::npos) continue;
      std::string head = trimmed.substr(first);
      if (head.rfind("--", 0) == 0) continue;
      std::string upper = upperWords(head, 1);
      if (!upper.empty() && upper.back() == ';') upper.pop_back();
      if (upper == "EXIT" || upper == "QUIT") break;
      if (upper == "SET" && upperWords(head, 2) == "SET SERVEROUTPUT") {
        serverOutput(upperWords(head, 3) == "SET SERVEROUTPUT ON" ||
                     upperWords(head, 3) == "SET SERVEROUTPUT ON;");
        continue;
      }
      if (upper == "CONNECT" || upper == "CONN") {
        std::string rest =
            head.substr(head.find_first_of(" \t") == std::string::npos ? head.size()
                                                                       : head.find_first_of(" \t"));
        if (!rest.empty() && rest.back() == ';') rest.pop_back();
        connect(rest);
        continue;
      }
    }
    if (trimmed == "/") {
      if (!trimRight(buffer).empty()) execute(buffer);
      buffer.clear();
      continue;
    }
    buffer += line;
    buffer += '\n';
    if (isBlock(buffer)) continue;
    if (!trimmed.empty() && trimmed.back() == ';') {
      std::string statement = trimRight(buffer);
      statement.pop_back();
      execute(statement);
      buffer.clear();
    }
  }
  if (!trimRight(buffer).empty()) execute(trimRight(buffer));
}

void ShellRunner::connect(const std::string& credentials) {
  std::string c = credentials;
  c.erase(0, c.find_first_not_of(" \t"));
  c = trimRight(c);
  size_t slash = c.find('/');
  std::string user = c.substr(0, slash);
  std::string password = slash == std::string::npos ? "" : c.substr(slash + 1);
  try {
    LogonInfo info;
    auto session = database_->logon(user, password, &info);
    session_.reset();
    session_ = std::move(session);
    out_ << "Connected.\n";
    if (info.warningCode) out_ << info.warning << "\n";
  } catch (const OraError& e) {
    out_ << firstLine(e.message()) << "\n";
  }
}

void ShellRunner::serverOutput(bool on) {
  serverOutput_ = on;
  try {
    session_->execute(on ? "begin dbms_output.enable(1000000); end;"
                         : "begin dbms_output.disable; end;");
  } catch (const OraError& e) {
    out_ << firstLine(e.message()) << "\n";
  }
}

void ShellRunner::printServerOutput() {
  if (!serverOutput_) return;
  try {
    auto get = session_->prepare("begin dbms_output.get_line(:line, :status); end;");
    for (;;) {
      get->bind(":line", Value());
      get->bind(":status", Value(), TypeKind::Number);
      get->execute();
      if (get->boundValue(2) != Value::integer(0)) break;
      const Value& line = get->boundValue(1);
      out_ << (line.isNull() ? std::string() : line.asText()) << "\n";
    }
  } catch (const OraError& e) {
    out_ << firstLine(e.message()) << "\n";
  }
}

void ShellRunner::execute(const std::string& statement) {
  executeStatement(statement);
  printServerOutput();
}

void ShellRunner::executeStatement(const std::string& statement) {
  // A block's error is a stack ("ORA-06512: at line n"), a compile error
  // names its place on the line after ORA-06550: those print whole.
  bool block = isBlock(statement);
  try {
    auto stmt = session_->prepare(statement);
    if (!stmt->isQuery()) {
      int64_t n = stmt->execute();
      out_ << "OK " << n << "\n";
      return;
    }
    const auto& columns = stmt->describe();
    stmt->execute();
    // The first row is read before anything is printed, so that a query
    // failing on its first row prints only the error.
    bool more = stmt->fetch();
    std::string text;
    for (size_t i = 0; i < columns.size(); ++i) {
      if (i) text += '|';
      text += columns[i].name;
    }
    out_ << text << "\n";
    for (; more; more = stmt->fetch()) {
      text.clear();
      for (size_t i = 0; i < columns.size(); ++i) {
        if (i) text += '|';
        int col = static_cast<int>(i);
        if (columns[i].type.isUserDefined() && !stmt->isNull(col)) {
          appendUserValue(stmt->value(col), columns[i].type, session_->values(), text);
          continue;
        }
        switch (stmt->valueKind(col)) {
          case Value::Kind::Null:
            break;
          case Value::Kind::Integer:
            appendNumberText(OraNumber(stmt->intValue(col)), text);
            break;
          case Value::Kind::Double:
            appendNumberText(OraNumber::fromDouble(stmt->doubleValue(col)), text);
            break;
          case Value::Kind::Date:
            session_->values().appendDateText(stmt->intValue(col), text);
            break;
          case Value::Kind::Raw:
            text += rawToHex(stmt->textValue(col));
            break;
          case Value::Kind::Text:
            text += stmt->textValue(col);
            break;
        }
      }
      out_ << text << "\n";
    }
  } catch (const OraError& e) {
    out_ << (block ? e.message() : firstLine(e.message())) << "\n";
  }
}

}  // namespace vorn::server
