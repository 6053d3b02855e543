// Client-side constraint checks: a dataset with the dictionary's
// EnforceConstraints (and a rowid in its select list) checks the primary
// key, unique, foreign key and check constraints of its updating table
// while the user edits, before the server would refuse the row.
//
// When. CheckFieldConstraints runs each time a field value is stored while
// the dataset edits or inserts (not in query-by-example mode, not while a
// new record is initialised). It checks the constraints whose single
// editable column (below) is that field, unless the field is no data field,
// a master-link field or the sequence field, or has no value.
// CheckRecordConstraints runs when a record is posted in cached mode. It
// checks the constraints that were not checked on change (their single
// editable column is none, or more than one) and of which at least one
// column changed: on an inserted record a column with a value, on an edited
// one a column whose value differs from the stored one (master-link and
// sequence fields do not count). A constraint over the server-side sequence
// field, which is still null, or over a field that is no data field, waits
// for the server. On a failure the first changed column's control gets the
// focus.
//
// A constraint's single editable column: among its columns that are data
// fields of the dataset and not read-only, the one when there is exactly
// one, "*" when there are more, "" when there is none. Constraints named in
// the dictionary's DisabledConstraints, and those the dictionary does not
// have enabled, are never checked.
//
// How. Each check runs one statement on the dataset's statement query, with
// a variable per column holding the field's value:
//   primary key, unique  "select 'x' from <table> where <col> = :<col> and
//       ..." excluding the record's own row by its rowid; a row found is a
//       violation (ORA-00001). A null field compares with "is null", a
//       column without a field with its stored value; all fields null: no
//       check.
//   foreign key  the same on the referenced table, which must have the row
//       (ORA-02291). A key with a null column references nothing and is
//       not checked, as the server does not check it.
//   check        a PL/SQL block that evaluates the condition (its columns
//       turned into variables) and fails when it is false (ORA-02290);
//       columns without a field are read from the stored row first.
// A check that needs the stored row (a column without a field) is skipped
// for a record that has none (a new one).
//
// A violation raises the host's database error with the session's text for
// the error, naming owner.constraint, translated (MessageTranslation.h) for
// the action 'I' (inserted record) or 'U'. On the ODBC route the texts are
// those of the ODBC adapter, under error 30021.
#pragma once

#include <string>

namespace vorn {

class DictionaryDataSet;
class TDataSet;
class TField;
class TOracleConstraintInfo;

void CheckFieldConstraints(DictionaryDataSet& dataSet, TField& field);
void CheckRecordConstraints(DictionaryDataSet& dataSet);

std::string SingleEditableColumn(const TDataSet& dataSet, const TOracleConstraintInfo& constraint);

}  // namespace vorn
