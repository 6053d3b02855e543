// The concrete string list: storage, sorting and change events.
#include "vorn/host/StringList.h"

#include <algorithm>
#include <numeric>

#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

[[noreturn]] void SortedListError() {
  throw EStringListError("Operation not allowed on sorted list");
}

}  // namespace

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
}

int TStringList::Add(const std::string& text) {
  return AddObject(text, nullptr);
}

int TStringList::AddObject(const std::string& text, TObject* object) {
  int index = Count();
  if (sorted_ && Find(text, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) {
      throw EStringListError("String list does not allow duplicates");
    }
  }
  InsertItem(index, text, object);
  return index;
}

void TStringList::Insert(int index, const std::string& text) {
  InsertObject(index, text, nullptr);
}

void TStringList::InsertObject(int index, const std::string& text, TObject* object) {
  if (sorted_) SortedListError();
  if (index < 0 || index > Count()) IndexError(index);
  InsertItem(index, text, object);
}

void TStringList::InsertItem(int index, const std::string& text, TObject* object) {
  Changing();
  items_.insert(items_.begin() + index, std::make_unique<Item>(Item{text, object}));
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[index1], items_[index2]);
  Changed();
}

int TStringList::IndexOf(std::string_view text) const {
  if (!sorted_) return TStrings::IndexOf(text);
  int index;
  return Find(text, index) ? index : -1;
}

bool TStringList::Find(std::string_view text, int& index) const {
  bool found = false;
  int low = 0, high = Count() - 1;
  while (low <= high) {
    int mid = (low + high) / 2;
    int c = CompareStrings(items_[mid]->text, text);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

void TStringList::Sort() {
  CustomSort([](TStringList& list, int a, int b) {
    return list.CompareStrings(list.items_[a]->text, list.items_[b]->text);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (!sorted_) SortItems(compare);
}

// Orders a permutation, so the comparison always sees the list as it was,
// then applies it in one step.
void TStringList::SortItems(const TStringListSortCompare& compare) {
  if (Count() < 2) return;
  Changing();
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return compare(*this, a, b) < 0; });
  std::vector<std::unique_ptr<Item>> sorted;
  sorted.reserve(items_.size());
  for (int i : order)
    sorted.push_back(std::move(items_[i]));
  items_ = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_) return;
  caseSensitive_ = caseSensitive;
  if (sorted_) {
    SortItems([](TStringList& list, int a, int b) {
      return list.CompareStrings(list.items_[a]->text, list.items_[b]->text);
    });
  }
}

std::string TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[index]->text;
}

void TStringList::Put(int index, const std::string& text) {
  if (sorted_) SortedListError();
  CheckIndex(index);
  Changing();
  items_[index]->text = text;
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return items_[index]->object;
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index);
  Changing();
  items_[index]->object = object;
  Changed();
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    Changing();
  } else {
    Changed();
  }
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && onChange_) onChange_(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && onChanging_) onChanging_(this);
}

}  // namespace vorn
