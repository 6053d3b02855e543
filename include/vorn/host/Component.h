// TComponent: the host's component with an owner, a name, state flags and
// notifications.
//
// Ownership. `new T(owner)` inserts the component into its owner's list; the
// owner deletes what it owns when it is destroyed, last inserted first. A
// component deleted by someone else first takes itself out of its owner's
// list. An ownerless component is deleted by its creator (delete, or a
// std::unique_ptr). Never hold an owned component in a unique_ptr.
//
// Notifications. When a component is inserted into or removed from an owner,
// the owner's Notification(component, opInsert/opRemove) runs, and the base
// version passes it on to every component the owner holds. A.FreeNotification
// (B) makes each of A and B hear opRemove when the other is destroyed (for
// two components of one owner the owner's pass-on already does that).
// Overrides of Notification must call TComponent::Notification. They must
// not throw: they run inside destructors. opInsert arrives while the new
// component's own constructor has not run yet, so handlers must not rely on
// its derived type.
//
// Destruction order. ~TComponent sets csDestroying on the component and all
// it owns, notifies the components that asked for free notification, deletes
// the owned components, and leaves its owner. Because C++ has destroyed the
// derived parts by then, a class whose owned components call back into it
// while they die calls Destroying() and DestroyComponents() at the start of
// its own destructor.
//
// State. csLoading and csReading are set while a component stream is read
// into the component and its owned components (Filer.h); Loaded() runs after
// all of them are read and clears csLoading (overrides call the base first).
// csWriting is set while one is written. csDesigning and csAncestor are set
// by SetDesigning and SetAncestor.
//
// Names are empty or identifiers (EComponentError "'x' is not a valid
// component name") and unique, ignoring case, among the components of one
// owner (EComponentError "A component named x already exists").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/host/Flags.h"
#include "vorn/host/Persistent.h"

namespace vorn {

enum TComponentState : uint32_t {
  csNone = 0,
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csAncestor = 1u << 5,
  csUpdating = 1u << 6,
  csFixups = 1u << 7,
  csFreeNotification = 1u << 8,
  csInline = 1u << 9,
  csDesignInstance = 1u << 10,
};
VORN_FLAGS(TComponentState)

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  VORN_CLASS(TComponent, TPersistent)
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  virtual void SetName(const std::string& name);
  TComponent* Owner() const { return owner_; }
  TComponentState ComponentState() const { return state_; }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // EListError "List index out of bounds (i)" outside 0..ComponentCount()-1.
  TComponent* Components(int index) const;
  // Position in the owner's list; -1 without an owner.
  int ComponentIndex() const;
  // The owned component named `name` (ignoring case); nullptr for none or an
  // empty name.
  TComponent* FindComponent(std::string_view name) const;

  // Takes `component` over from its current owner, if any.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Deletes every owned component, last first.
  void DestroyComponents();
  // Sets csDestroying here and in everything owned.
  void Destroying();

  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // csDesigning on this component and, with setChildren, on everything it
  // owns; csAncestor on this component and everything it owns.
  void SetDesigning(bool value, bool setChildren = true);
  void SetAncestor(bool value);

 protected:
  friend class TReader;
  friend class TWriter;
  virtual void Loaded();
  virtual void Notification(TComponent* component, TOperation operation);
  // Raises when `newName` would duplicate the name of another component
  // owned here.
  virtual void ValidateRename(TComponent* component, const std::string& currentName,
                              const std::string& newName);

 private:
  void SetState(TComponentState flags, bool on) {
    state_ = on ? (state_ | flags) : (state_ & ~flags);
  }

  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_ = csNone;
  intptr_t tag_ = 0;
};

}  // namespace vorn
