// The enumerations and event types of TOracleDataSet's published properties.
//
// Ordinals count from 0 in the order listed: forms store some of them by
// name, and handlers compare them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "vorn/host/Flags.h"

namespace vorn {

class TOracleDataSet;

// What a record fetch goes on with after AfterFetchRecord: fetch on, stop
// for now (the next request fetches on), stop for good keeping the rows,
// or stop for good dropping every row.
enum TAfterFetchRecordAction { fraContinue, fraPause, fraStop, fraCancel };

// How an edited or deleted record is locked and checked against the
// database.
enum TLockingModeOptions { lmLockImmediate, lmCheckImmediate, lmLockDelayed, lmNone };

// When a record is read back from the database, and whether with the
// dataset's own statement.
enum TRefreshOptions : unsigned {
  roNone = 0,
  roBeforeEdit = 1u << 0,
  roAfterInsert = 1u << 1,
  roAfterUpdate = 1u << 2,
  roAllFields = 1u << 3
};
VORN_FLAGS(TRefreshOptions)

// The obsolete form of RefreshOptions, still read from old forms.
enum TRefreshModeOptions { rmNever, rmAfterInsert, rmAfterUpdate, rmObsolete };

// How SearchRecord walks the records and compares them (bit positions as
// stored). srFromCurrent is also the start when no start is given; a
// search from the current record never matches that record itself.
// srFromEnd fetches every remaining row first and steps backwards.
enum TSearchRecordOptions : unsigned {
  srNone = 0,
  srForward = 1u << 0,
  srBackward = 1u << 1,
  srFromCurrent = 1u << 2,
  srFromBeginning = 1u << 3,
  srFromEnd = 1u << 4,
  srIgnoreCase = 1u << 5,
  srDateOnly = 1u << 6,
  srWildcards = 1u << 7,
  srPartialKey = 1u << 8,
  srDontMove = 1u << 9
};
VORN_FLAGS(TSearchRecordOptions)

// When a sequence field receives its value.
enum TSequenceApplyMoment { amOnNewRecord, amOnPost, amOnServer };

using TOracleDataSetEvent = std::function<void(TOracleDataSet* sender)>;
// `filterAccept` tells whether the record fetched is visible through the
// filter; `action` starts as fraContinue.
using TAfterFetchRecordEvent =
    std::function<void(TOracleDataSet* sender, bool filterAccept, TAfterFetchRecordAction& action)>;
// The application takes over a record action ('I', 'U', 'D', 'L', 'R',
// 'C') by setting `applied`; for an insert it may give the new rowid.
using TApplyRecordEvent =
    std::function<void(TOracleDataSet* sender, char action, bool& applied, std::string& newRowId)>;
// Writing the change log failed at one record (its number `recordId`,
// `action` 'I', 'U' or 'D'; the dataset is positioned on it when it can
// be) with the translated `message`: the database and the log are as they
// were before. `raise` starts True; a handler that clears it ends
// ApplyUpdates without the exception.
using TUpdateErrorEvent = std::function<void(TOracleDataSet* sender, const std::string& message,
                                             char action, uint32_t recordId, bool& raise)>;
// The last word on the text of a record action's error.
using TTranslateMessageEvent =
    std::function<void(TOracleDataSet* sender, int errorCode, const std::string& constraintName,
                       char action, std::string& message)>;
// Query by example was cancelled; `requery` runs the query again.
using TCancelQBEEvent = std::function<void(TOracleDataSet* sender, bool& requery)>;

}  // namespace vorn
