// The vocabulary of the generic dataset framework: dataset states, data
// events, field kinds and types, bookmark flags, record-reading modes and
// results, the option sets of searching and filtering, and the handler shapes
// of dataset, field and data-source events.
//
// Ordinals count from 0 in the order the framework always had, because
// descendants store some of them (a record buffer's bookmark flag, bfCurrent
// = 0). Field type ordinals keep their historical gaps (ftBlob is 15,
// ftLargeint 25).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vorn/host/Flags.h"
#include "vorn/host/Object.h"

namespace vorn {

class EDatabaseError;
class TDataSet;
class TField;

enum TDataSetState {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
  dsCurValue,
  dsBlockRead,
  dsInternalCalc,
  dsOpening
};

// dsEdit, dsInsert and dsSetKey: a record is being changed.
constexpr bool IsEditMode(TDataSetState state) {
  return state == dsEdit || state == dsInsert || state == dsSetKey;
}
// The edit modes and the temporary states in which field values may be
// stored (calculation, filtering, new values, internal calculation).
constexpr bool IsWriteMode(TDataSetState state) {
  return IsEditMode(state) || state == dsCalcFields || state == dsFilter || state == dsNewValue ||
         state == dsInternalCalc;
}

enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deFocusControl,
  deParentScroll,
  deConnectChange,
  deReconcileError,
  deDisabledStateChange
};

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint
};

enum TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };

enum TGetMode { gmCurrent, gmNext, gmPrior };
enum TGetResult { grOK, grBOF, grEOF, grError };

enum TResyncMode : unsigned { rmNone = 0, rmExact = 1u << 0, rmCenter = 1u << 1 };
VORN_FLAGS(TResyncMode)

enum TDataAction { daFail, daAbort, daRetry };

enum TUpdateStatus { usUnmodified, usModified, usInserted, usDeleted };

enum TLocateOptions : unsigned { loNone = 0, loCaseInsensitive = 1u << 0, loPartialKey = 1u << 1 };
VORN_FLAGS(TLocateOptions)

enum TFilterOptions : unsigned {
  foNone = 0,
  foCaseInsensitive = 1u << 0,
  foNoPartialCompare = 1u << 1
};
VORN_FLAGS(TFilterOptions)

enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A record buffer: memory the descendant allocates, fills and interprets.
// The framework only moves the pointers around.
using TRecordBuffer = std::byte*;

// A bookmark: BookmarkSize bytes of the descendant's choosing; empty when
// there is none.
using TBookmark = std::vector<std::byte>;
// The same bytes as a string, the form of the Bookmark property.
using TBookmarkStr = std::string;

// The variable a focus request points at (deFocusControl): the control that
// takes the focus sets it to nullptr, so later controls leave it alone.
using TFieldRef = TField**;

using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
using TDataSetErrorEvent =
    std::function<void(TDataSet* dataSet, EDatabaseError& e, TDataAction& action)>;
using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;

using TFieldNotifyEvent = std::function<void(TField* sender)>;
using TFieldGetTextEvent = std::function<void(TField* sender, std::string& text, bool displayText)>;
using TFieldSetTextEvent = std::function<void(TField* sender, const std::string& text)>;

using TDataChangeEvent = std::function<void(TObject* sender, TField* field)>;

}  // namespace vorn
