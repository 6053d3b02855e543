// TFieldDataLink: the link of a control that shows and edits one field
// (an edit box, a memo).
//
// The field is looked up by FieldName whenever the link becomes active or
// the layout changes. OnDataChange fires when the record or the field
// changed (the control reloads its text); OnEditingChange when Editing
// changes; OnUpdateData when the dataset asks for pending text and the
// control has called Modified() since the last load; OnActiveChange after
// activation changes; OnFocusControl when the framework asks the control of
// this field to take the focus (the request is then consumed).
#pragma once

#include <string>

#include "vorn/host/DataLink.h"
#include "vorn/host/Object.h"

namespace vorn {

class TComponent;

class TFieldDataLink : public TDataLink {
  VORN_CLASS(TFieldDataLink, TDataLink)
  TFieldDataLink() = default;

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name);
  TField* Field() const { return field_; }
  TComponent* Control() const { return control_; }
  void SetControl(TComponent* control) { control_ = control; }
  // The link is editing and the field can be modified.
  bool Editing() const { return editing_; }
  // Not ReadOnly, a field, and the field can be modified.
  bool CanModify() const;
  // Puts the dataset into edit mode when possible; answers Editing.
  bool Edit();
  // The control's text differs from the field's value.
  void Modified() { modified_ = true; }
  // Reloads the control: OnDataChange, and the text counts as unmodified.
  void Reset() { RecordChanged(nullptr); }

  const TNotifyEvent& OnDataChange() const { return onDataChange_; }
  void SetOnDataChange(TNotifyEvent handler) { onDataChange_ = std::move(handler); }
  const TNotifyEvent& OnEditingChange() const { return onEditingChange_; }
  void SetOnEditingChange(TNotifyEvent handler) { onEditingChange_ = std::move(handler); }
  const TNotifyEvent& OnUpdateData() const { return onUpdateData_; }
  void SetOnUpdateData(TNotifyEvent handler) { onUpdateData_ = std::move(handler); }
  const TNotifyEvent& OnActiveChange() const { return onActiveChange_; }
  void SetOnActiveChange(TNotifyEvent handler) { onActiveChange_ = std::move(handler); }
  const TNotifyEvent& OnFocusControl() const { return onFocusControl_; }
  void SetOnFocusControl(TNotifyEvent handler) { onFocusControl_ = std::move(handler); }

 protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void RecordChanged(TField* field) override;
  void LayoutChanged() override;
  void UpdateData() override;
  void FocusControl(TFieldRef field) override;

 private:
  void UpdateField();
  void SetField(TField* field);
  void SetEditingState(bool editing);

  std::string fieldName_;
  TField* field_ = nullptr;
  TComponent* control_ = nullptr;
  bool editing_ = false;
  bool modified_ = false;
  TNotifyEvent onDataChange_;
  TNotifyEvent onEditingChange_;
  TNotifyEvent onUpdateData_;
  TNotifyEvent onActiveChange_;
  TNotifyEvent onFocusControl_;
};

}  // namespace vorn
