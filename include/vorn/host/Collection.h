// TCollection and TCollectionItem: an ordered list of items that the
// collection owns.
//
// An item joins a collection by being constructed with it (or through
// SetCollection) and leaves it when it is deleted; the collection deletes
// the items it still holds when it is cleared or destroyed, last first.
// Every item gets an ID, unique in its collection for the collection's
// lifetime. The collection creates items of its item class through Add and
// Insert (TTypedCollection<TItem> gives typed access).
//
// Changes reach the collection's Update(item) (and the OnUpdate event):
// item == nullptr when the whole collection changed (items added, removed or
// moved), the item itself when only it changed (TCollectionItem::Changed
// (false)). Between BeginUpdate and EndUpdate nothing is reported; the last
// EndUpdate reports one whole-collection change. Notify tells of an item
// added (cnAdded), about to be deleted by the collection (cnDeleting, the
// item still whole) and leaving (cnExtracting; when the item's own
// destructor is running it is no longer its derived type).
// Indexes outside the list raise EListError "List index out of bounds (i)".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vorn/host/Persistent.h"

namespace vorn {

class TCollection;

class TCollectionItem : public TPersistent {
  VORN_CLASS(TCollectionItem, TPersistent)
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TCollection* Collection() const { return collection_; }
  // Leaves the current collection (if any) and joins `collection` at its end.
  void SetCollection(TCollection* collection);
  int ID() const { return id_; }
  // Position in the collection; -1 without one.
  int Index() const;
  // Moves the item; the others shift.
  void SetIndex(int index);
  // The item's name in lists; the class name unless overridden.
  virtual std::string DisplayName() const;

 protected:
  // Reports a change of this item (allItems false) or of the collection.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  VORN_CLASS(TCollection, TPersistent)
  // Creates one item joined to the collection it is given.
  using TItemFactory = std::function<TCollectionItem*(TCollection* collection)>;
  using TUpdateEvent = std::function<void(TObject* sender, TCollectionItem* item)>;

  template <class TItem>
  static TItemFactory ItemClass() {
    return [](TCollection* collection) { return new TItem(collection); };
  }

  explicit TCollection(TItemFactory itemFactory, TPersistent* owner = nullptr);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  TPersistent* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  // A new item at `index` (0..Count()).
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Copies a collection: clears this one and adds one item per source item,
  // each taking the source item's value through Assign.
  void Assign(const TPersistent* source) override;

  const TUpdateEvent& OnUpdate() const { return onUpdate_; }
  void SetOnUpdate(TUpdateEvent handler) { onUpdate_ = std::move(handler); }

 protected:
  // Reports a whole-collection change unless updating.
  void Changed();
  // Fires OnUpdate.
  virtual void Update(TCollectionItem* item);
  virtual void Notify(TCollectionItem* item, TCollectionNotification action);

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void CheckIndex(int index) const;

  TItemFactory itemFactory_;
  TPersistent* owner_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
  TUpdateEvent onUpdate_;
};

// A collection of TItem (derived from TCollectionItem, constructible from a
// TCollection*) with typed access.
template <class TItem>
class TTypedCollection : public TCollection {
 public:
  explicit TTypedCollection(TPersistent* owner = nullptr)
      : TCollection(ItemClass<TItem>(), owner) {}
  TItem* Items(int index) const { return static_cast<TItem*>(TCollection::Items(index)); }
  TItem* Add() { return static_cast<TItem*>(TCollection::Add()); }
  TItem* Insert(int index) { return static_cast<TItem*>(TCollection::Insert(index)); }
  TItem* FindItemID(int id) const { return static_cast<TItem*>(TCollection::FindItemID(id)); }
};

}  // namespace vorn
