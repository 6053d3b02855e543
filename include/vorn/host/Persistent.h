// TPersistent: an object that can copy another (Assign) and that can store
// extra properties in a component stream (DefineProperties).
//
// Assign(source) asks source->AssignTo(*this); a class that knows how to take
// a value overrides Assign, one that knows how to give its value overrides
// AssignTo, and each falls back to its parent. When nobody knows, the result
// is EConvertError "Cannot assign a TSource to a TDest" (TSource is "nil" for
// a null source).
#pragma once

#include "vorn/host/Object.h"

namespace vorn {

class TFiler;

class TPersistent : public TObject {
  VORN_CLASS(TPersistent, TObject)
  virtual void Assign(const TPersistent* source);

 protected:
  friend class TFiler;
  virtual void AssignTo(TPersistent& dest) const;
  [[noreturn]] void AssignError(const TPersistent* source) const;
  // Called by a filer that reads or writes this object; the default defines
  // nothing (see Filer.h).
  virtual void DefineProperties(TFiler& filer);
};

}  // namespace vorn
