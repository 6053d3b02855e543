// Field definitions: the columns a dataset offers.
#include "vorn/host/FieldDefs.h"

#include "vorn/host/DataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Field.h"
#include "vorn/host/NumericFields.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

// Definitions describe the columns of a closed dataset; changing them under
// an open one would leave its fields bound to columns that no longer exist.
void CheckDefsInactive(const TCollection* collection) {
  const auto* defs = dynamic_cast<const TFieldDefs*>(collection);
  if (defs != nullptr && defs->DataSet() != nullptr && defs->DataSet()->Active()) {
    DatabaseError(SDataSetOpen, defs->DataSet());
  }
}

}  // namespace

TFieldDef::TFieldDef(TCollection* collection) : TCollectionItem(collection) {
  CheckDefsInactive(collection);
}

TFieldDefs* TFieldDef::FieldDefs() const {
  return static_cast<TFieldDefs*>(Collection());
}

void TFieldDef::SetName(const std::string& name) {
  if (name == name_) return;
  CheckDefsInactive(Collection());
  if (TFieldDefs* defs = FieldDefs(); defs != nullptr && !name.empty()) {
    int index = defs->IndexOf(name);
    if (index >= 0 && defs->Items(index) != this) {
      DatabaseErrorFmt(SDuplicateName, {name, std::string(defs->ClassName())});
    }
  }
  name_ = name;
  Changed(false);
}

void TFieldDef::SetDataType(TFieldType type) {
  if (type == dataType_) return;
  CheckDefsInactive(Collection());
  dataType_ = type;
  Changed(false);
}

void TFieldDef::SetSize(int size) {
  if (size == size_) return;
  CheckDefsInactive(Collection());
  size_ = size;
  Changed(false);
}

void TFieldDef::SetPrecision(int precision) {
  if (precision == precision_) return;
  CheckDefsInactive(Collection());
  precision_ = precision;
  Changed(false);
}

void TFieldDef::SetAttributes(TFieldAttributes attributes) {
  if (attributes == attributes_) return;
  CheckDefsInactive(Collection());
  attributes_ = attributes;
  Changed(false);
}

void TFieldDef::SetRequired(bool required) {
  SetAttributes(required ? attributes_ | faRequired : attributes_ & ~faRequired);
}

int TFieldDef::FieldNo() const {
  return fieldNo_ > 0 ? fieldNo_ : Index() + 1;
}

void TFieldDef::SetFieldNo(int fieldNo) {
  if (fieldNo == fieldNo_) return;
  CheckDefsInactive(Collection());
  fieldNo_ = fieldNo;
  Changed(false);
}

TField* TFieldDef::CreateField(TComponent* owner) const {
  TFieldDefs* defs = FieldDefs();
  TDataSet* dataSet = defs != nullptr ? defs->DataSet() : nullptr;
  TFieldClass fieldClass = dataSet != nullptr ? dataSet->GetFieldClass(dataType_) : nullptr;
  if (fieldClass == nullptr) DatabaseErrorFmt(SUnknownFieldType, {name_}, dataSet);
  TField* field = fieldClass(owner);
  try {
    if (field->DataType() == ftString) field->SetSize(size_);
    field->SetFieldName(name_);
    field->SetRequired(Required());
    field->SetReadOnly((attributes_ & faReadonly) != 0);
    if (auto* bcd = dynamic_cast<TBCDField*>(field); bcd != nullptr && precision_ > 0) {
      bcd->SetPrecision(precision_);
    }
    field->SetDataSet(dataSet);
  } catch (...) {
    delete field;
    throw;
  }
  return field;
}

TFieldDefs::TFieldDefs(TDataSet* dataSet)
    : TTypedCollection<TFieldDef>(dataSet), dataSet_(dataSet) {}

TFieldDef* TFieldDefs::AddFieldDef() {
  return TTypedCollection<TFieldDef>::Add();
}

TFieldDef* TFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required) {
  // Checked before the item exists, so a refused name leaves no nameless
  // definition behind.
  if (!name.empty() && IndexOf(name) >= 0) {
    DatabaseErrorFmt(SDuplicateName, {name, std::string(ClassName())});
  }
  TFieldDef* def = AddFieldDef();
  def->SetName(name);
  def->SetDataType(type);
  def->SetSize(size);
  def->SetRequired(required);
  return def;
}

int TFieldDefs::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(Items(i)->Name(), name)) return i;
  }
  return -1;
}

TFieldDef* TFieldDefs::Find(std::string_view name) const {
  int index = IndexOf(name);
  return index >= 0 ? Items(index) : nullptr;
}

void TFieldDefs::Update() {
  if (!updated_ && dataSet_ != nullptr) dataSet_->InitFieldDefs();
}

}  // namespace vorn
