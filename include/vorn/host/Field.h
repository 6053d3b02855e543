// TField: the access object for one column (or calculated value) of a
// dataset's records.
//
// A field reads and writes through its dataset, which decides which record
// buffer the current state addresses: GetData(buffer) asks the dataset's
// GetFieldData for the field's native value (True: not null), SetData
// passes a native value (or nullptr for null) to SetFieldData. The base
// field checks neither the state nor ReadOnly; a descendant's
// SetFieldData may. While OnValidate runs, reads answer the proposed value.
//
// Value access (AsString, AsInteger, AsFloat, AsDateTime, AsBoolean,
// AsVariant/Value) converts between the native format and the requested
// type; a class that cannot convert raises "Cannot access field '%s' as
// type %s". A null field reads as "", 0, 0.0, 0.0, False and Null. Texts:
// DisplayText is the grid text, Text the edit text (both through OnGetText
// when assigned); assigning Text goes through OnSetText or AsString.
//
// OldValue, CurValue and NewValue read AsVariant with the dataset switched
// to dsOldValue, dsCurValue or dsNewValue for the read alone. The switch is
// made directly, without the controls-disabled counter that SetTempState
// uses: a read sends no data events either way, and the direct switch keeps
// ControlsDisabled False for the descendant's sake. Writing NewValue uses
// SetTempState(dsNewValue). Calculated and lookup fields answer Null.
//
// Properties that change a grid's layout (DisplayLabel, DisplayWidth,
// Visible, Index, ReadOnly) send deLayoutChange to an open dataset; those
// that change only texts (Alignment, DisplayFormat, EditFormat) send
// deDataSetChange. Fields are components: a field created with an owner is
// freed by it; the dataset's default fields are owned by the dataset.
#pragma once

#include <string>

#include "vorn/host/Component.h"
#include "vorn/host/DataSetTypes.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/Variant.h"

namespace vorn {

class TFields;

class TField : public TComponent {
  VORN_CLASS(TField, TComponent)
  explicit TField(TComponent* owner);
  ~TField() override;

  // The dataset the field belongs to; changing it requires both the old and
  // the new dataset to be closed.
  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name);
  // DisplayLabel when set, else FieldName.
  const std::string& DisplayName() const;
  const std::string& DisplayLabel() const { return DisplayName(); }
  void SetDisplayLabel(const std::string& label);
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind kind);
  bool Calculated() const { return fieldKind_ == fkCalculated; }
  bool Lookup() const { return fieldKind_ == fkLookup; }
  TFieldType DataType() const { return dataType_; }
  // Characters for string fields, else 0 (or the class's own meaning).
  int Size() const { return size_; }
  void SetSize(int size);
  // Bytes of the native value in a record buffer.
  int DataSize() const { return GetDataSize(); }
  // 1-based number of the bound field definition; -1 for calculated and
  // lookup fields; 0 while unbound.
  int FieldNo() const { return fieldNo_; }
  // Calculated and lookup fields: the slot's offset in the calculated area.
  int Offset() const { return offset_; }
  // Position in the dataset's Fields (display order).
  int Index() const;
  void SetIndex(int index);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  // Characters; the class default when never set (strings: Size).
  int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : GetDefaultWidth(); }
  void SetDisplayWidth(int width);
  // Plain texts the framework keeps for descendants.
  const std::string& DefaultExpression() const { return defaultExpression_; }
  void SetDefaultExpression(const std::string& text) { defaultExpression_ = text; }
  const std::string& Origin() const { return origin_; }
  void SetOrigin(const std::string& text) { origin_ = text; }
  virtual bool IsBlob() const { return false; }
  // Not ReadOnly, a data or internal calculated field, and an active
  // dataset that can be modified. Controls consult it; assignment does not.
  bool CanModify() const;

  // Values.
  std::string AsString() const { return GetAsString(); }
  virtual void SetAsString(const std::string& value);
  int32_t AsInteger() const { return GetAsInteger(); }
  virtual void SetAsInteger(int32_t value);
  double AsFloat() const { return GetAsFloat(); }
  virtual void SetAsFloat(double value);
  TDateTime AsDateTime() const { return GetAsDateTime(); }
  virtual void SetAsDateTime(TDateTime value);
  bool AsBoolean() const { return GetAsBoolean(); }
  virtual void SetAsBoolean(bool value);
  Variant AsVariant() const { return GetAsVariant(); }
  // Null clears; other values are converted to the field's type.
  void SetAsVariant(const Variant& value);
  Variant Value() const { return GetAsVariant(); }
  void SetValue(const Variant& value) { SetAsVariant(value); }
  virtual bool IsNull() const;
  virtual void Clear();

  Variant OldValue() const { return StateValue(dsOldValue); }
  Variant CurValue() const { return StateValue(dsCurValue); }
  Variant NewValue() const { return StateValue(dsNewValue); }
  void SetNewValue(const Variant& value);

  std::string DisplayText() const;
  std::string Text() const;
  void SetText(const std::string& text);

  // The native value: True when not null; `buffer` (DataSize bytes) may be
  // nullptr to test for null only.
  bool GetData(void* buffer) const;
  // Stores a native value; nullptr stores null.
  void SetData(const void* buffer);
  // Fires OnValidate with `buffer` as the proposed value (nullptr: null);
  // raising refuses the value. Descendants call it from SetFieldData.
  void Validate(const void* buffer);
  // Fires OnChange. The framework calls it when the field changed.
  virtual void Change();
  // Asks the data-aware control showing this field to take the focus.
  void FocusControl();
  // Releases what an edit kept (blob values); the framework calls it when
  // an edit ends.
  virtual void FreeBuffers() {}

  const TFieldNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TFieldNotifyEvent handler) { onChange_ = std::move(handler); }
  const TFieldNotifyEvent& OnValidate() const { return onValidate_; }
  void SetOnValidate(TFieldNotifyEvent handler) { onValidate_ = std::move(handler); }
  const TFieldGetTextEvent& OnGetText() const { return onGetText_; }
  void SetOnGetText(TFieldGetTextEvent handler) { onGetText_ = std::move(handler); }
  const TFieldSetTextEvent& OnSetText() const { return onSetText_; }
  void SetOnSetText(TFieldSetTextEvent handler) { onSetText_ = std::move(handler); }

 protected:
  // The class sets its type once, in its constructor.
  void SetDataType(TFieldType type) { dataType_ = type; }
  virtual int GetDataSize() const { return 0; }
  virtual int GetDefaultWidth() const { return 10; }
  virtual std::string GetAsString() const;
  virtual int32_t GetAsInteger() const;
  virtual double GetAsFloat() const;
  virtual TDateTime GetAsDateTime() const;
  virtual bool GetAsBoolean() const;
  virtual Variant GetAsVariant() const;
  // Converts a non-null variant and stores it; the base raises the access
  // error for "Variant".
  virtual void SetVarValue(const Variant& value);
  // The text for a grid (displayText) or for editing; the base gives
  // AsString.
  virtual void GetText(std::string& text, bool displayText) const;

  // "Cannot access field '%s' as type %s".
  [[noreturn]] void AccessError(const char* typeName) const;
  // "%g is not a valid value for field '%s'. The allowed range is %g to %g".
  [[noreturn]] void RangeError(double value, double min, double max) const;
  // "Cannot perform this operation on an open dataset" when the dataset is
  // open.
  void CheckInactive() const;
  // Tells an open dataset that a display property changed: deLayoutChange
  // when the layout is affected, else deDataSetChange.
  void PropertyChanged(bool layoutAffected);

 private:
  friend class TDataSet;
  friend class TFields;

  Variant StateValue(TDataSetState state) const;

  TDataSet* dataSet_ = nullptr;
  std::string fieldName_;
  std::string displayLabel_;
  TFieldKind fieldKind_ = fkData;
  TFieldType dataType_ = ftUnknown;
  int size_ = 0;
  int fieldNo_ = 0;
  int offset_ = 0;
  bool visible_ = true;
  bool readOnly_ = false;
  bool required_ = false;
  TAlignment alignment_ = taLeftJustify;
  int displayWidth_ = 0;
  std::string defaultExpression_;
  std::string origin_;
  // The proposed value while a SetData is in progress, and whether reads
  // answer it (OnValidate is running).
  const void* valueBuffer_ = nullptr;
  bool validating_ = false;
  TFieldNotifyEvent onChange_;
  TFieldNotifyEvent onValidate_;
  TFieldGetTextEvent onGetText_;
  TFieldSetTextEvent onSetText_;
};

}  // namespace vorn
