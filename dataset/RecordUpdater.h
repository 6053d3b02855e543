// How TOracleDataSet writes records back to the database.
//
// Statements. Every record action runs SQL the dataset generates, on a
// work query of its own (never the query that fetches its rows), and finds
// its row by the record's rowid:
//   insert   INSERT INTO <table> (<columns>) VALUES (<values>) with the
//            fields that have a value (or a DefaultExpression, which is
//            written as it stands, or are the SequenceField taken on the
//            server: <sequence>.nextval); RETURNING ROWID INTO :ZUQ__ROWID
//            with the version 8 calls, which gives the new record its
//            rowid (the version 7 calls read it from the cursor; with
//            UniqueFields, or on the ODBC route, it is looked up by the
//            key: RowIdByKey);
//   update   UPDATE <table> SET <modified fields> WHERE ROWID = :ZUQ__ROWID
//            (an update that changes no row means the row is locked or
//            gone: "Record is locked by another user");
//   delete   DELETE FROM <table> WHERE ROWID = :ZUQ__ROWID (no row deleted:
//            "Record has been deleted by another user");
//   lock, check, refresh
//            select * from <table> where rowid = :zuq__rowid, with "for
//            update nowait" to lock; with roAllFields the dataset's own SQL
//            narrowed to the row (its ORDER BY and FOR clauses dropped, the
//            part before "/* END_REFRESH */" only, its variables carried
//            over).
// Empty strings and empty blob values are written as NULL. LONG values are
// bound as strings, LONG RAW values as byte arrays, LOB values are written
// through locators after EMPTY_CLOB()/EMPTY_BLOB() ... RETURNING.
// An edit that changes nothing, and an insert without any value, reach
// the database with no statement and no commit.
//
// Locking modes (without CachedUpdates):
//   mode              Edit                 Post of an edit      Delete
//   lmLockImmediate   lock and check       savepoint, update    lock, check
//   lmCheckImmediate  check (default)      lock, check, update  lock, check
//   lmLockDelayed     nothing              lock, check, update  lock, check
//   lmNone            nothing              savepoint, update    delete
// with roBeforeEdit the record is refreshed at Edit instead of checked
// (and still locked in lmLockImmediate). A check compares every non-blob
// data field with the row: a difference is "Record has been changed by
// another user", no row "Record has been deleted by another user", a row
// another session locks "Record is locked by another user" (NOWAIT: the
// answer is immediate). Cancel of an lmLockImmediate edit releases the
// lock by rolling back (with CommitOnPost).
//
// Transactions. Before each locking or writing action the dataset sets
// the savepoint ZUQ__LOCKPOINT (unless the session is in AutoCommit, or
// takes the ODBC route without the OCA 6 adapter); a failing action rolls
// back to it, so the rest of the transaction stays and the record stays in
// its edit or insert state. With CommitOnPost (the default) every
// successful action is committed. The embedded server admits one writing
// transaction at a time: while one session has uncommitted changes,
// another session's first change fails with "Record is locked by another
// user" (ORA-00054), which is why CommitOnPost matters to concurrent
// users.
//
// OnApplyRecord may take over any action ('I', 'U', 'D', 'L', 'R', 'C'):
// when it sets Applied the dataset runs no statement for it (for an insert
// it keeps the NewRowId the handler gives). Every failure text of a record
// action passes OnTranslateMessage with the action and the server's error
// code (0 for the dataset's own texts) and is raised as the host's
// database error, so OnPostError, OnEditError and OnDeleteError see it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::record_sql {

inline constexpr const char* kRecordLocked = "Record is locked by another user";
inline constexpr const char* kRecordChanged = "Record has been changed by another user";
inline constexpr const char* kRecordDeleted = "Record has been deleted by another user";
inline constexpr const char* kLockPoint = "ZUQ__LOCKPOINT";
inline constexpr const char* kRowIdVariable = "ZUQ__ROWID";
inline constexpr const char* kQBEMarker = "/* Modified for QBE */";
inline constexpr const char* kEndRefreshMarker = "/* END_REFRESH */";
// The error code of a row locked by another session.
inline constexpr int kResourceBusy = 54;

// "select * from <table> where rowid = :zuq__rowid", with a second line
// "for update nowait" when locking.
std::string RowStatement(const std::string& table, bool lock);

// The dataset's SQL `sql` narrowed to the row whose rowid is :zuq__rowid,
// for the table known as `alias`: the statement before "/* END_REFRESH */"
// (found in any case), without its ORDER BY or FOR clause, its condition
// and the rowid's joined by "and"; with a non-empty `lockColumn` (the first
// data field's name) a last line "for update of <alias>.<column> nowait".
std::string RefreshStatement(std::string_view sql, const std::string& alias,
                             const std::string& lockColumn);

// Lines joined by line feeds, as the work query's SQL.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace vorn::record_sql
