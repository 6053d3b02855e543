// TFieldDef and TFieldDefs: the physical columns a dataset offers, from
// which its default fields are created and against which every data field
// is bound.
//
// A definition has a name (unique in its list, ignoring case: "Duplicate
// name '%s' in TFieldDefs"), a type, a size (maximum characters for
// strings, else 0), a precision, attributes and a field number. A
// definition whose number was never set answers its position + 1.
// Definitions are changed only while the dataset is closed; the
// descendant's InternalInitFieldDefs fills the list.
#pragma once

#include <string>
#include <string_view>

#include "vorn/host/Collection.h"
#include "vorn/host/DataSetTypes.h"

namespace vorn {

class TComponent;
class TFieldDefs;

enum TFieldAttributes : unsigned {
  faNone = 0,
  faHiddenCol = 1u << 0,
  faReadonly = 1u << 1,
  faRequired = 1u << 2,
  faLink = 1u << 3,
  faUnNamed = 1u << 4,
  faFixed = 1u << 5
};
VORN_FLAGS(TFieldAttributes)

class TFieldDef : public TCollectionItem {
  VORN_CLASS(TFieldDef, TCollectionItem)
  explicit TFieldDef(TCollection* collection);

  const std::string& Name() const { return name_; }
  // Raises the duplicate-name error when another definition has the name.
  void SetName(const std::string& name);
  TFieldType DataType() const { return dataType_; }
  void SetDataType(TFieldType type);
  int Size() const { return size_; }
  void SetSize(int size);
  int Precision() const { return precision_; }
  void SetPrecision(int precision);
  TFieldAttributes Attributes() const { return attributes_; }
  void SetAttributes(TFieldAttributes attributes);
  // The faRequired attribute.
  bool Required() const { return (attributes_ & faRequired) != 0; }
  void SetRequired(bool required);
  int FieldNo() const;
  void SetFieldNo(int fieldNo);

  TFieldDefs* FieldDefs() const;
  // The field this definition gives by default (class by type, name, size,
  // Required and ReadOnly from the attributes, kind fkData), owned by
  // `owner` and attached to the definitions' dataset.
  TField* CreateField(TComponent* owner) const;

  std::string DisplayName() const override { return name_; }

 private:
  std::string name_;
  TFieldType dataType_ = ftUnknown;
  int size_ = 0;
  int precision_ = 0;
  TFieldAttributes attributes_ = faNone;
  int fieldNo_ = 0;
};

class TFieldDefs : public TTypedCollection<TFieldDef> {
  VORN_CLASS(TFieldDefs, TCollection)
  explicit TFieldDefs(TDataSet* dataSet);

  TDataSet* DataSet() const { return dataSet_; }
  // A new definition at the end.
  TFieldDef* AddFieldDef();
  // A new definition with these values.
  TFieldDef* Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
  // The index of the definition named `name` (ignoring case); -1 for none.
  int IndexOf(std::string_view name) const;
  TFieldDef* Find(std::string_view name) const;
  // True once the definitions describe the dataset's current columns;
  // property changes that affect them clear it.
  bool Updated() const { return updated_; }
  void SetUpdated(bool updated) { updated_ = updated; }
  // Fetches the definitions from the dataset unless they are up to date.
  void Update();

 private:
  TDataSet* dataSet_;
  bool updated_ = false;
};

}  // namespace vorn
