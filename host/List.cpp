// The pointer list.
#include "vorn/host/List.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "vorn/host/Exceptions.h"

namespace vorn {

TList::~TList() {
  items_.clear();
}

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

void TList::SetCount(int count) {
  if (count < 0) throw EListError("List count out of bounds (" + std::to_string(count) + ")");
  while (Count() > count)
    Delete(Count() - 1);
  items_.resize(count, nullptr);
}

void TList::SetCapacity(int capacity) {
  if (capacity < Count()) {
    throw EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
  }
  if (capacity > Capacity()) {
    items_.reserve(capacity);
  } else {
    items_.shrink_to_fit();
  }
}

void* TList::Items(int index) const {
  CheckIndex(index);
  return items_[index];
}

void TList::SetItems(int index, void* item) {
  CheckIndex(index);
  void* old = items_[index];
  if (old == item) return;
  items_[index] = item;
  if (old) Notify(old, lnDeleted);
  if (item) Notify(item, lnAdded);
}

int TList::Add(void* item) {
  items_.push_back(item);
  if (item) Notify(item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  items_.insert(items_.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(int index) {
  CheckIndex(index);
  void* item = items_[index];
  items_.erase(items_.begin() + index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* item) {
  int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  int index = IndexOf(item);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  if (item) Notify(item, lnExtracted);
  return item;
}

int TList::IndexOf(const void* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Clear() {
  SetCount(0);
  items_.shrink_to_fit();
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(items_[index1], items_[index2]);
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  void* item = items_[curIndex];
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, item);
}

void TList::Pack() {
  items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::Sort(const TListSortCompare& compare) {
  std::stable_sort(items_.begin(), items_.end(),
                   [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Notify(void*, TListNotification) {}

}  // namespace vorn
