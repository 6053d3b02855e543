// The messages datasets report for database errors; see
// MessageTranslation.h.
#include "MessageTranslation.h"

#include "DictionaryDataSet.h"
#include "StatementLines.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

bool IsConstraintError(int errorCode) {
  return errorCode == 1 || errorCode == 2290 || errorCode == 2291 || errorCode == 2292;
}

// The side of a referential error a message-table row must be for: "C"
// (the child lacks its parent), "P" (the parent still has children), or
// "*" for every other error.
std::string SideOf(int errorCode) {
  if (errorCode == 2291) return "C";
  if (errorCode == 2292) return "P";
  return "*";
}

std::vector<TMessageTableRow> ReadMessageTable(TOracleQuery& query, const std::string& table,
                                               const std::string& constraintName) {
  // The name comes from the server's message; quoted as a literal, a quote
  // in it cannot end the literal.
  SetStatement(query, {"select actions, parent_child, error_message from " + table,
                       "where constraint_name = " + QuotedStr(constraintName), "order by actions"});
  query.Execute();
  std::vector<TMessageTableRow> rows;
  for (; !query.Eof(); query.Next())
    rows.push_back({query.FieldAsString(0), query.FieldAsString(1), query.FieldAsString(2)});
  return rows;
}

}  // namespace

std::string CutApplicationMessage(int errorCode, const std::string& message) {
  if (errorCode < 20000 || errorCode > 20999) return message;
  size_t cut = message.find("ORA-06512");
  if (cut == std::string::npos) return message;
  // The line break ahead of the stack may be a line feed or a carriage
  // return and line feed; neither belongs to the message.
  while (cut > 0 && (message[cut - 1] == '\n' || message[cut - 1] == '\r'))
    --cut;
  return message.substr(0, cut);
}

std::string ConstraintNameOf(int errorCode, const std::string& message) {
  if (!IsConstraintError(errorCode)) return "";
  const size_t dot = message.find('.');
  const size_t close = message.find(')');
  if (dot == std::string::npos || close == std::string::npos || close < dot) return "";
  return message.substr(dot + 1, close - dot - 1);
}

bool ChooseTableMessage(const std::vector<TMessageTableRow>& rows, int errorCode, char action,
                        std::string& message) {
  const std::string side = SideOf(errorCode);
  bool chosen = false;
  for (const TMessageTableRow& row : rows) {
    const std::string parentChild = AnsiUpperCase(row.ParentChild);
    if (parentChild != "*" && parentChild != side) continue;
    const std::string actions = AnsiUpperCase(row.Actions);
    if (actions.find(action) != std::string::npos) {
      message = row.ErrorMessage;
      chosen = true;
    } else if (actions == "*" && !chosen) {
      message = row.ErrorMessage;
      chosen = true;
    }
  }
  return chosen;
}

std::string TranslateMessage(DictionaryDataSet& dataSet, char action, int errorCode,
                             const std::string& text) {
  std::string message = CutApplicationMessage(errorCode, text);
  const std::string constraintName = ConstraintNameOf(errorCode, message);
  TOracleSession* session = dataSet.Session();
  if (dataSet.Dictionary().UseMessageTable() && session != nullptr &&
      !session->MessageTable().empty() && !constraintName.empty()) {
    try {
      ChooseTableMessage(
          ReadMessageTable(dataSet.StatementQuery(), session->MessageTable(), constraintName),
          errorCode, action, message);
    } catch (const Exception& error) {
      message += "(" + error.Message() + ")";
    }
  }
  dataSet.TranslateMessageEvent(errorCode, constraintName, action, message);
  return message;
}

}  // namespace vorn
