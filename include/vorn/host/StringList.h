// TStringList: the concrete string list.
//
// Sorted keeps the strings in CompareStrings order: Add and AddObject insert
// in place (Find is a binary search), Insert and setting a string raise
// EStringListError "Operation not allowed on sorted list". Duplicates decides
// what adding an existing string to a sorted list does: dupIgnore keeps the
// list and returns the existing index, dupAccept adds it, dupError raises
// EStringListError "String list does not allow duplicates". CaseSensitive
// (default false) compares with AnsiCompareStr instead of AnsiCompareText;
// changing it re-sorts a sorted list.
//
// OnChanging fires before and OnChange after every change, except inside
// BeginUpdate/EndUpdate, where they fire once at the outer bracket.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vorn/host/Strings.h"

namespace vorn {

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Compares the strings at two indexes of the list: <0, 0, >0.
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
  VORN_CLASS(TStringList, TStrings)
  TStringList() = default;
  ~TStringList() override = default;

  int Count() const override { return static_cast<int>(items_.size()); }
  int Add(const std::string& text) override;
  int AddObject(const std::string& text, TObject* object) override;
  void Insert(int index, const std::string& text) override;
  void InsertObject(int index, const std::string& text, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  int IndexOf(std::string_view text) const override;

  // On a sorted list: whether `text` is there, and in `index` its position
  // or the position it would be inserted at.
  bool Find(std::string_view text, int& index) const;
  // Sorts an unsorted list (stable); a sorted list is already in order.
  virtual void Sort();
  void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }
  const TNotifyEvent& OnChanging() const { return onChanging_; }
  void SetOnChanging(TNotifyEvent handler) { onChanging_ = std::move(handler); }

 protected:
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;
  int CompareStrings(std::string_view a, std::string_view b) const override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    std::string text;
    TObject* object;
  };
  void InsertItem(int index, const std::string& text, TObject* object);
  void SortItems(const TStringListSortCompare& compare);
  void CheckIndex(int index) const;

  // Items live on the heap so that inserting in the middle of a long list
  // moves pointers, not strings.
  std::vector<std::unique_ptr<Item>> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
  TNotifyEvent onChange_;
  TNotifyEvent onChanging_;
};

}  // namespace vorn
