// TFieldDataLink: the link of a single-field control.
#include "vorn/host/FieldDataLink.h"

#include "vorn/host/DataSet.h"
#include "vorn/host/Field.h"

namespace vorn {

void TFieldDataLink::SetFieldName(const std::string& name) {
  if (name == fieldName_) return;
  fieldName_ = name;
  UpdateField();
}

bool TFieldDataLink::CanModify() const {
  return !ReadOnly() && field_ != nullptr && field_->CanModify();
}

bool TFieldDataLink::Edit() {
  if (CanModify()) TDataLink::Edit();
  return editing_;
}

void TFieldDataLink::UpdateField() {
  if (Active() && !fieldName_.empty()) {
    field_ = nullptr;
    SetField(DataSet()->FieldByName(fieldName_));
  } else {
    SetField(nullptr);
  }
}

void TFieldDataLink::SetField(TField* field) {
  if (field == field_) return;
  field_ = field;
  EditingChanged();
  RecordChanged(nullptr);
}

void TFieldDataLink::SetEditingState(bool editing) {
  if (editing == editing_) return;
  editing_ = editing;
  modified_ = false;
  if (onEditingChange_) onEditingChange_(this);
}

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  if (onActiveChange_) onActiveChange_(this);
}

void TFieldDataLink::EditingChanged() {
  SetEditingState(TDataLink::Editing() && CanModify());
}

void TFieldDataLink::RecordChanged(TField* field) {
  if (field != nullptr && field != field_) return;
  if (onDataChange_) onDataChange_(this);
  modified_ = false;
}

void TFieldDataLink::LayoutChanged() {
  UpdateField();
}

void TFieldDataLink::UpdateData() {
  if (!modified_) return;
  if (field_ != nullptr && onUpdateData_) onUpdateData_(this);
  modified_ = false;
}

void TFieldDataLink::FocusControl(TFieldRef field) {
  if (*field == nullptr || *field != field_ || !onFocusControl_) return;
  *field = nullptr;
  onFocusControl_(this);
}

}  // namespace vorn
