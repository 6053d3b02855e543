// StatementProcessor: what Vornix does with one line of user text, from the
// query box or a script (StatementText.h says how a line is read).
//
// - A commit line commits the session's transaction.
// - "&N" stores the last scalar result in slot N.
// - A connect line runs the logon it was given (the window's logon with
//   remembered values) with the user name, password and database of the
//   line; its outcome is not checked.
// - A statement has its slots substituted and goes to the server's
//   translator: the query runs TranslatorBlock with the string variable
//   `result`, which brings back the translated text. Its result kind then
//   decides: a dataset result replaces the dataset's SQL and opens it, and
//   the grid's columns each get Trunc(grid width / column count); an
//   integer or string result runs the translated text on the query with
//   the variable `res` of that type, whose value becomes the last scalar
//   result.
//
// Errors of the session, query and dataset pass to the caller. The last
// translated text is set as soon as the translator answered, so after a
// failing dataset or scalar run it is already the new one; a failing
// translation leaves it as it was. A dataset result leaves the last scalar
// result alone; a scalar result leaves the grid alone.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ResultGrid.h"
#include "StatementText.h"

namespace vorn {

class TOracleDataSet;
class TOracleQuery;
class TOracleSession;

// Logs on with the values given and gives back the values the user ended
// up with; true when an attempt was made.
using LogonWithValues =
    std::function<bool(std::string& username, std::string& password, std::string& database)>;

// What ProcessStatement did with a line.
enum class StatementOutcome {
  Nothing,  // an empty line, or "&" without a digit
  Committed,
  SlotStored,
  LogonAttempted,  // a connect line; the session says whether it is connected
  LogonCancelled,  // a connect line whose dialog the user cancelled
  DataSetResult,
  ScalarResult,
};

class StatementProcessor {
 public:
  // The query and the dataset belong to the same session (the query's).
  StatementProcessor(TOracleQuery& query, TOracleDataSet& dataSet, LogonWithValues logon);

  // The grid whose columns are sized after a dataset result; none at first.
  void SetGrid(ResultGrid* grid) { grid_ = grid; }
  ResultGrid* Grid() const { return grid_; }

  StatementOutcome ProcessStatement(std::string_view line);

  const std::string& LastTranslatedText() const { return lastTranslatedText_; }
  const std::string& LastScalarResult() const { return lastScalarResult_; }
  const std::string& Slot(int index) const { return slots_.at(static_cast<size_t>(index)); }

 private:
  TOracleSession& Session() const;
  void Translate(const std::string& statement);
  void OpenDataSet();
  void RunScalar(ResultKind kind);
  void SizeGridColumns();

  TOracleQuery& query_;
  TOracleDataSet& dataSet_;
  LogonWithValues logon_;
  ResultGrid* grid_ = nullptr;
  SlotValues slots_;
  std::string lastTranslatedText_;
  std::string lastScalarResult_;
};

}  // namespace vorn
