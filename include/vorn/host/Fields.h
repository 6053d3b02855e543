// TFields: a dataset's fields in display order.
//
// Names are unique ignoring (ASCII) case; lookups by name go through a
// hash, so FieldByName is cheap enough for per-record use. Fields(i) outside
// the list raises EListError "List index out of bounds (i)"; FieldByName of
// an unknown name raises "Field '%s' not found" with the dataset's name in
// front. Adding or removing a field tells the dataset (deFieldListChange).
// The list does not own its fields: Clear deletes them, which is how a
// dataset destroys its default fields.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/host/Object.h"

namespace vorn {

class TDataSet;
class TField;
class TStrings;

class TFields : public TObject {
  VORN_CLASS(TFields, TObject)
  explicit TFields(TDataSet* dataSet);
  ~TFields() override;
  TFields(const TFields&) = delete;
  TFields& operator=(const TFields&) = delete;

  TDataSet* DataSet() const { return dataSet_; }
  int Count() const { return static_cast<int>(list_.size()); }
  TField* Fields(int index) const;
  TField* operator[](int index) const { return Fields(index); }
  int IndexOf(const TField* field) const;
  // nullptr when absent.
  TField* FindField(std::string_view name) const;
  TField* FieldByName(std::string_view name) const;
  // The field bound to definition number `fieldNo`; nullptr when none.
  TField* FieldByNumber(int fieldNo) const;
  void GetFieldNames(TStrings& names) const;
  // Deletes every field.
  void Clear();

  auto begin() const { return list_.begin(); }
  auto end() const { return list_.end(); }

 private:
  friend class TField;
  class NameIndex;

  // Raises for an empty name or one another field has.
  void CheckFieldName(const std::string& name, const TField* except) const;
  void Add(TField* field);
  void Remove(TField* field);
  void SetFieldIndex(TField* field, int index);
  // A field was renamed.
  void NamesChanged();
  void Changed();

  TDataSet* dataSet_;
  std::vector<TField*> list_;
  std::unique_ptr<NameIndex> names_;
};

}  // namespace vorn
