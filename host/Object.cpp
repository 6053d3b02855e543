// Run-time class descriptions of the host's class tree.
#include "vorn/host/Object.h"

#include "vorn/host/TextUtils.h"

namespace vorn {

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info{"TObject", nullptr};
  return info;
}

std::string_view TObject::ClassParentName() const {
  const TClassInfo* parent = ClassType().Parent;
  return parent ? parent->Name : std::string_view();
}

bool TObject::ClassNameIs(std::string_view name) const {
  return SameText(ClassName(), name);
}

bool TObject::InheritsFrom(const TClassInfo& info) const {
  for (const TClassInfo* c = &ClassType(); c; c = c->Parent) {
    if (c == &info) return true;
  }
  return false;
}

bool TObject::InheritsFrom(std::string_view name) const {
  for (const TClassInfo* c = &ClassType(); c; c = c->Parent) {
    if (SameText(c->Name, name)) return true;
  }
  return false;
}

}  // namespace vorn
