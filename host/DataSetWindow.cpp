// TDataSet: the window of record buffers, cursor synchronisation,
// navigation, resynchronisation and bookmarks.
#include <algorithm>
#include <cstring>

#include "vorn/host/DataLink.h"
#include "vorn/host/DataSet.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/DbConsts.h"

namespace vorn {

template <class Visit>
void TDataSet::ForEachActiveLink(Visit visit) {
  for (TDataSource* source : dataSources_) {
    for (TDataLink* link : source->dataLinks_) {
      if (link->Active()) visit(link);
    }
  }
}

void TDataSet::ClearBuffers() {
  recordCount_ = 0;
  activeRecord_ = 0;
  currentRecord_ = -1;
  bof_ = true;
  eof_ = true;
}

void TDataSet::ActivateBuffers() {
  recordCount_ = 1;
  activeRecord_ = 0;
  currentRecord_ = 0;
  bof_ = false;
  eof_ = false;
}

void TDataSet::MoveBuffer(int from, int to) {
  if (from == to) return;
  auto begin = buffers_.begin();
  if (from < to) {
    std::rotate(begin + from, begin + from + 1, begin + to + 1);
  } else {
    std::rotate(begin + to, begin + from, begin + from + 1);
  }
}

void TDataSet::UpdateBufferCount() {
  // A dataset being destroyed has lost its descendant already.
  if (ComponentState() & csDestroying) return;
  if (!IsCursorOpen()) return;
  int count = 1;
  for (TDataSource* source : dataSources_) {
    for (TDataLink* link : source->dataLinks_)
      count = std::max(count, link->BufferCount());
  }
  SetBufferCount(count);
}

void TDataSet::AdjustFirstRecords(int delta) {
  if (delta == 0) return;
  ForEachActiveLink([delta](TDataLink* link) { link->firstRecord_ += delta; });
}

void TDataSet::SetBufferCount(int count) {
  if (count == bufferCount_) return;
  if (count < bufferCount_ && recordCount_ > 0) {
    // Drop records from the top only as far as no active link's first row
    // and not the active record are lost, then from the bottom.
    int delta = activeRecord_;
    ForEachActiveLink([&delta](TDataLink* link) { delta = std::min(delta, link->firstRecord_); });
    delta = std::max({delta, activeRecord_ - count + 1, 0});
    std::rotate(buffers_.begin(), buffers_.begin() + delta, buffers_.end());
    recordCount_ = std::min(recordCount_ - delta, count);
    activeRecord_ -= delta;
    if (currentRecord_ >= 0) currentRecord_ -= delta;
    if (currentRecord_ < 0 || currentRecord_ >= recordCount_) currentRecord_ = -1;
    AdjustFirstRecords(-delta);
  }
  if (count > bufferCount_) {
    while (static_cast<int>(buffers_.size()) < count + 1)
      buffers_.push_back(AllocRecordBuffer());
  } else {
    while (static_cast<int>(buffers_.size()) > count + 1) {
      FreeRecordBuffer(buffers_.back());
      buffers_.pop_back();
    }
  }
  bufferCount_ = count;
  GetNextRecords();
  if (recordCount_ > 0 && recordCount_ < bufferCount_ && !bof_) {
    AdjustFirstRecords(GetPriorRecords());
  }
  ForEachActiveLink([](TDataLink* link) { link->UpdateRange(); });
}

void TDataSet::SetCurrentRecord(int index) {
  if (currentRecord_ == index) return;
  TRecordBuffer buffer = buffers_[index];
  switch (GetBookmarkFlag(buffer)) {
    case bfCurrent:
    case bfInserted:
      InternalSetToRecord(buffer);
      break;
    case bfBOF:
      InternalFirst();
      break;
    case bfEOF:
      InternalLast();
      break;
  }
  currentRecord_ = index;
}

void TDataSet::UpdateCursorPos() {
  if (recordCount_ > 0) SetCurrentRecord(activeRecord_);
}

bool TDataSet::GetNextRecord() {
  TGetMode mode = gmNext;
  if (recordCount_ > 0) {
    SetCurrentRecord(recordCount_ - 1);
    // A new record shown last sits in front of the record its bookmark
    // names, which is therefore the next one to show: re-read it rather than
    // step past it.
    if (state_ == dsInsert && currentRecord_ == activeRecord_ &&
        GetBookmarkFlag(ActiveBuffer()) == bfInserted) {
      mode = gmCurrent;
    }
  }
  TGetResult result;
  try {
    result = GetRecord(buffers_[recordCount_], mode, true);
  } catch (...) {
    CursorPosChanged();
    throw;
  }
  if (result != grOK) {
    CursorPosChanged();
    return false;
  }
  if (recordCount_ == 0) {
    ActivateBuffers();
  } else if (recordCount_ < bufferCount_) {
    ++recordCount_;
  } else {
    MoveBuffer(0, recordCount_);
  }
  currentRecord_ = recordCount_ - 1;
  return true;
}

bool TDataSet::GetPriorRecord() {
  if (recordCount_ > 0) SetCurrentRecord(0);
  TGetResult result;
  try {
    result = GetRecord(buffers_[recordCount_], gmPrior, true);
  } catch (...) {
    CursorPosChanged();
    throw;
  }
  if (result != grOK) {
    CursorPosChanged();
    return false;
  }
  if (recordCount_ == 0) {
    ActivateBuffers();
  } else {
    MoveBuffer(recordCount_, 0);
    if (recordCount_ < bufferCount_) {
      ++recordCount_;
      ++activeRecord_;
    }
  }
  currentRecord_ = 0;
  return true;
}

int TDataSet::GetNextRecords() {
  int count = 0;
  while (recordCount_ < bufferCount_ && GetNextRecord())
    ++count;
  return count;
}

int TDataSet::GetPriorRecords() {
  int count = 0;
  while (recordCount_ < bufferCount_ && GetPriorRecord())
    ++count;
  return count;
}

// --- Navigation

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  auto finish = [this] {
    bof_ = true;
    DataEvent(deDataSetChange, 0);
    DoAfterScroll();
  };
  try {
    InternalFirst();
    GetNextRecord();
    GetNextRecords();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  auto finish = [this] {
    eof_ = true;
    DataEvent(deDataSetChange, 0);
    DoAfterScroll();
  };
  try {
    InternalLast();
    GetPriorRecord();
    GetPriorRecords();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  DoBeforeScroll();
  if (!((distance > 0 && !eof_) || (distance < 0 && !bof_))) return 0;
  bof_ = false;
  eof_ = false;
  const int oldRecordCount = recordCount_;
  int scrollCount = 0;
  int moved = 0;
  auto finish = [&] {
    if (recordCount_ != oldRecordCount) {
      DataEvent(deDataSetChange, 0);
    } else {
      DataEvent(deDataSetScroll, scrollCount);
    }
    DoAfterScroll();
  };
  try {
    while (distance > 0) {
      if (activeRecord_ < recordCount_ - 1) {
        ++activeRecord_;
      } else {
        const int slides = recordCount_ < bufferCount_ ? 0 : 1;
        if (!GetNextRecord()) {
          eof_ = true;
          break;
        }
        scrollCount -= slides;
        activeRecord_ = recordCount_ - 1;
      }
      --distance;
      ++moved;
    }
    while (distance < 0) {
      if (activeRecord_ > 0) {
        --activeRecord_;
      } else {
        const int slides = recordCount_ < bufferCount_ ? 0 : 1;
        if (!GetPriorRecord()) {
          bof_ = true;
          break;
        }
        scrollCount += slides;
        activeRecord_ = 0;
      }
      ++distance;
      --moved;
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return moved;
}

void TDataSet::Resync(TResyncMode mode) {
  if (mode & rmExact) {
    CursorPosChanged();
    if (GetRecord(buffers_[recordCount_], gmCurrent, true) != grOK) {
      DatabaseError(SRecordNotFound, this);
    }
  } else if (GetRecord(buffers_[recordCount_], gmCurrent, false) != grOK &&
             GetRecord(buffers_[recordCount_], gmNext, false) != grOK &&
             GetRecord(buffers_[recordCount_], gmPrior, false) != grOK) {
    ClearBuffers();
    DataEvent(deDataSetChange, 0);
    return;
  }
  int priorCount = (mode & rmCenter) ? (bufferCount_ - 1) / 2 : activeRecord_;
  MoveBuffer(recordCount_, 0);
  ActivateBuffers();
  try {
    while (priorCount > 0 && GetPriorRecord())
      --priorCount;
    GetNextRecords();
    GetPriorRecords();
  } catch (...) {
    DataEvent(deDataSetChange, 0);
    throw;
  }
  DataEvent(deDataSetChange, 0);
}

void TDataSet::Refresh() {
  DoBeforeRefresh();
  CheckBrowseMode();
  UpdateCursorPos();
  try {
    InternalRefresh();
  } catch (...) {
    Resync(rmNone);
    throw;
  }
  Resync(rmNone);
  DoAfterRefresh();
}

// --- Bookmarks

bool TDataSet::BookmarkAvailable() {
  return (state_ == dsBrowse || state_ == dsEdit || state_ == dsInsert) && !IsEmpty() &&
         GetBookmarkFlag(ActiveBuffer()) == bfCurrent;
}

TBookmark TDataSet::GetBookmark() {
  if (!BookmarkAvailable()) return {};
  TBookmark bookmark(static_cast<size_t>(bookmarkSize_));
  GetBookmarkData(ActiveBuffer(), bookmark.data());
  return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.empty()) return;
  // The descendant reads BookmarkSize bytes; a shorter one is not a
  // bookmark of this dataset.
  if (static_cast<int>(bookmark.size()) < bookmarkSize_) DatabaseError(SRecordNotFound, this);
  CheckBrowseMode();
  DoBeforeScroll();
  InternalGotoBookmark(bookmark.data());
  Resync(rmExact | rmCenter);
  DoAfterScroll();
}

TBookmarkStr TDataSet::Bookmark() {
  TBookmark bookmark = GetBookmark();
  if (bookmark.empty()) return {};
  return TBookmarkStr(reinterpret_cast<const char*>(bookmark.data()), bookmark.size());
}

void TDataSet::SetBookmark(const TBookmarkStr& bookmark) {
  TBookmark bytes(bookmark.size());
  if (!bookmark.empty()) std::memcpy(bytes.data(), bookmark.data(), bookmark.size());
  GotoBookmark(bytes);
}

bool TDataSet::BookmarkValid(const TBookmark& /*bookmark*/) {
  return false;
}

int TDataSet::CompareBookmarks(const TBookmark& /*bookmark1*/, const TBookmark& /*bookmark2*/) {
  return 0;
}

}  // namespace vorn
