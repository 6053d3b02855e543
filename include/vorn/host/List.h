// TList: a list of untyped pointers that it does not own, and
// TTypedList<T>, the same for T*.
//
// Indexes outside the list raise EListError "List index out of bounds (i)".
// Notify hears every non-null pointer added (lnAdded), taken out by Extract
// (lnExtracted) or dropped by Delete, Remove, Clear or a smaller count
// (lnDeleted); a subclass that owns its items frees them there (and clears
// itself in its own destructor, since ~TList no longer reaches the override).
#pragma once

#include <functional>
#include <vector>

#include "vorn/host/Object.h"

namespace vorn {

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
// <0, 0, >0 as a sorts before, equal to, after b.
using TListSortCompare = std::function<int(void* a, void* b)>;

class TList : public TObject {
  VORN_CLASS(TList, TObject)
  TList() = default;
  ~TList() override;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  // Grows with null pointers or shrinks (deleting from the end).
  void SetCount(int count);
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity);
  void* Items(int index) const;
  void SetItems(int index, void* item);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  int Add(void* item);
  // `index` may be Count() (append).
  void Insert(int index, void* item);
  void Delete(int index);
  // Deletes the first occurrence; its former index, or -1.
  int Remove(void* item);
  // Takes the first occurrence out without deleting it; the item or nullptr.
  void* Extract(void* item);
  int IndexOf(const void* item) const;
  void Clear();
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  // Removes the null pointers.
  void Pack();
  // Stable sort.
  void Sort(const TListSortCompare& compare);

 protected:
  virtual void Notify(void* item, TListNotification action);

 private:
  void CheckIndex(int index) const;
  std::vector<void*> items_;
};

template <class T>
class TTypedList : public TList {
 public:
  T* Items(int index) const { return static_cast<T*>(TList::Items(index)); }
  void SetItems(int index, T* item) { TList::SetItems(index, item); }
  T* First() const { return static_cast<T*>(TList::First()); }
  T* Last() const { return static_cast<T*>(TList::Last()); }
  int Add(T* item) { return TList::Add(item); }
  void Insert(int index, T* item) { TList::Insert(index, item); }
  int Remove(T* item) { return TList::Remove(item); }
  T* Extract(T* item) { return static_cast<T*>(TList::Extract(item)); }
  int IndexOf(const T* item) const { return TList::IndexOf(item); }
  void Sort(const std::function<int(T* a, T* b)>& compare) {
    TList::Sort([&](void* a, void* b) { return compare(static_cast<T*>(a), static_cast<T*>(b)); });
  }
};

}  // namespace vorn
