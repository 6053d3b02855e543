// Assignment between persistent objects.
#include "vorn/host/Persistent.h"

#include <string>

#include "vorn/host/Exceptions.h"

namespace vorn {

void TPersistent::Assign(const TPersistent* source) {
  if (source == nullptr) AssignError(nullptr);
  source->AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
  dest.AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  std::string sourceName = source ? std::string(source->ClassName()) : "nil";
  throw EConvertError("Cannot assign a " + sourceName + " to a " + std::string(ClassName()));
}

void TPersistent::DefineProperties(TFiler&) {}

}  // namespace vorn
