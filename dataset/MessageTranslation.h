// Message translation: the text a dataset reports for a database error of
// one of its record actions ('I' insert, 'U' update, 'D' delete, 'L' lock,
// 'R' refresh, 'C' check).
//
// 1. An application error (codes 20000 to 20999) loses the error stack
//    that follows its own text: the message ends before the line break
//    ahead of "ORA-06512".
// 2. A constraint error (codes 1, 2290, 2291, 2292) names its constraint:
//    the text between the first "." and the first ")" of the message
//    ("... (SCOTT.PK_EMP) violated" names PK_EMP).
// 3. With the dictionary's UseMessageTable, a session MessageTable and a
//    constraint name, the application's message table may replace the
//    message: its rows for the constraint ("select actions, parent_child,
//    error_message from <table> where constraint_name = '<name>' order by
//    actions") are read in order; a row counts when its parent_child is "*"
//    or the error's side ("C" for a missing parent, 2291; "P" for existing
//    children, 2292); a counted row whose actions contain the action
//    character gives the message (a later one wins), one whose actions are
//    "*" gives it only while nothing else did. When the table cannot be
//    read, "(" + the error's text + ")" is appended instead.
// 4. The dataset's OnTranslateMessage has the last word.
#pragma once

#include <string>
#include <vector>

namespace vorn {

class DictionaryDataSet;

std::string CutApplicationMessage(int errorCode, const std::string& message);
// Empty for codes other than the constraint errors, and when the message
// names none.
std::string ConstraintNameOf(int errorCode, const std::string& message);

// One row of a message table.
struct TMessageTableRow {
  std::string Actions;
  std::string ParentChild;
  std::string ErrorMessage;
};

// Step 3's choice among the rows (in table order) for `action` and an error
// code: true, with the chosen text in `message`, when a row counts.
bool ChooseTableMessage(const std::vector<TMessageTableRow>& rows, int errorCode, char action,
                        std::string& message);

// Steps 1 to 4 for `text`, reported for `action` with `errorCode`.
std::string TranslateMessage(DictionaryDataSet& dataSet, char action, int errorCode,
                             const std::string& text);

}  // namespace vorn
