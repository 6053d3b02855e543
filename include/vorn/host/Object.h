// TObject, the root of the host's class tree, and the class descriptions
// that give every host class its T-name and its parent's name at run time.
//
// A class declares itself with VORN_CLASS(TSelf, TParent) as the first line
// of its body (the macro leaves the access at public). ClassName() then
// answers "TSelf", ClassParentName() "TParent", and InheritsFrom walks the
// chain. A class that omits the macro reports the nearest ancestor that has
// it. Class names compare case-insensitively, as the host always did.
#pragma once

#include <functional>
#include <string_view>

namespace vorn {

// The static description of one class.
struct TClassInfo {
  std::string_view Name;
  const TClassInfo* Parent;  // nullptr for TObject
};

class TObject {
 public:
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }

  std::string_view ClassName() const { return ClassType().Name; }
  // The direct parent class's name; empty for TObject.
  std::string_view ClassParentName() const;
  bool ClassNameIs(std::string_view name) const;
  bool InheritsFrom(const TClassInfo& info) const;
  // True when this class or one of its ancestors is named `name`.
  bool InheritsFrom(std::string_view name) const;
};

#define VORN_CLASS(Self, Parent)                                         \
 public:                                                                 \
  static const ::vorn::TClassInfo& StaticClass() {                       \
    static const ::vorn::TClassInfo info{#Self, &Parent::StaticClass()}; \
    return info;                                                         \
  }                                                                      \
  const ::vorn::TClassInfo& ClassType() const override {                 \
    return StaticClass();                                                \
  }

// The plain event: only the sender.
using TNotifyEvent = std::function<void(TObject* sender)>;

}  // namespace vorn
