// Component ownership, names, state and notifications.
#include "vorn/host/Component.h"

#include <algorithm>

#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

void Erase(std::vector<TComponent*>& list, TComponent* component) {
  auto it = std::find(list.begin(), list.end(), component);
  if (it != list.end()) list.erase(it);
}

bool Contains(const std::vector<TComponent*>& list, const TComponent* component) {
  return std::find(list.begin(), list.end(), component) != list.end();
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Each one that asked hears about this component's end; taking it off both
  // lists first keeps the loop finite whatever its handler does.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    Erase(other->freeNotifies_, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) {
    throw EComponentError("'" + name + "' is not a valid component name");
  }
  if (owner_) {
    owner_->ValidateRename(this, name_, name);
  } else {
    ValidateRename(nullptr, name_, name);
  }
  name_ = name;
}

void TComponent::ValidateRename(TComponent* component, const std::string& currentName,
                                const std::string& newName) {
  if (component && !newName.empty() && !SameText(currentName, newName)) {
    TComponent* existing = FindComponent(newName);
    if (existing && existing != component) {
      throw EComponentError("A component named " + newName + " already exists");
    }
  }
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return components_[index];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : components_) {
    if (SameText(component->name_, name)) return component;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  for (TComponent* c = this; c; c = c->owner_) {
    if (c == component) {
      throw EComponentError("A component cannot own itself or one of its owners");
    }
  }
  ValidateRename(component, std::string(), component->name_);
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  if (state_ & csDesigning) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, opRemove);
  Erase(components_, component);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* component = components_.back();
    RemoveComponent(component);
    delete component;
  }
}

void TComponent::Destroying() {
  if (state_ & csDestroying) return;
  state_ |= csDestroying;
  for (TComponent* component : components_)
    component->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if ((state_ | component->state_) & csDestroying) return;
  if (!owner_ || component->owner_ != owner_) {
    if (!Contains(freeNotifies_, component)) {
      freeNotifies_.push_back(component);
      component->FreeNotification(this);
    }
  }
  state_ |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  Erase(freeNotifies_, component);
  Erase(component->freeNotifies_, this);
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  SetState(csDesigning, value);
  if (setChildren) {
    for (TComponent* component : components_)
      component->SetDesigning(value, true);
  }
}

void TComponent::SetAncestor(bool value) {
  SetState(csAncestor, value);
  for (TComponent* component : components_)
    component->SetAncestor(value);
}

void TComponent::Loaded() {
  SetState(csLoading, false);
}

// Passed on to every owned component, walking down from the last; a handler
// that frees components may shrink the list under the walk.
void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  int i = ComponentCount() - 1;
  while (i >= 0) {
    components_[i]->Notification(component, operation);
    --i;
    if (i >= ComponentCount()) i = ComponentCount() - 1;
  }
}

}  // namespace vorn
