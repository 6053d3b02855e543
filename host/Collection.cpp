// Collections and their items.
#include "vorn/host/Collection.h"

#include <algorithm>

#include "vorn/host/Exceptions.h"

namespace vorn {

TCollectionItem::TCollectionItem(TCollection* collection) {
  SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
  SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  int current = Index();
  if (current < 0 || current == index) return;
  collection_->CheckIndex(index);
  auto& items = collection_->items_;
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

std::string TCollectionItem::DisplayName() const {
  return std::string(ClassName());
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(allItems ? nullptr : this);
}

TCollection::TCollection(TItemFactory itemFactory, TPersistent* owner)
    : itemFactory_(std::move(itemFactory)), owner_(owner) {}

TCollection::~TCollection() {
  updateCount_ = 1;
  Clear();
}

TCollectionItem* TCollection::Items(int index) const {
  CheckIndex(index);
  return items_[index];
}

TCollectionItem* TCollection::Add() {
  return itemFactory_(this);
}

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) {
    TCollectionItem* item = items_.back();
    Notify(item, cnDeleting);
    delete item;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : items_) {
    if (item->id_ == id) return item;
  }
  return nullptr;
}

void TCollection::BeginUpdate() {
  ++updateCount_;
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  Changed();
}

void TCollection::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : other->items_)
      Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem* item) {
  if (onUpdate_) onUpdate_(this, item);
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, cnExtracting);
  items_.erase(std::find(items_.begin(), items_.end(), item));
  item->collection_ = nullptr;
  Changed();
}

void TCollection::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

}  // namespace vorn
