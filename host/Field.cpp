// TField: the value access every field class shares.
#include "vorn/host/Field.h"

#include <cstring>

#include "vorn/host/DataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

// Restores a value when the scope ends, also by an exception.
template <class T>
class ScopedValue {
 public:
  ScopedValue(T& target, T value) : target_(target), saved_(target) { target_ = value; }
  ~ScopedValue() { target_ = saved_; }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& target_;
  T saved_;
};

}  // namespace

TField::TField(TComponent* owner) : TComponent(owner) {}

TField::~TField() {
  if (dataSet_ == nullptr) return;
  // The dataset's buffers are laid out for its fields: a field leaving an
  // open dataset closes it first. Nothing may escape a destructor, and a
  // close that failed has still released the buffers.
  if (dataSet_->Active()) {
    try {
      dataSet_->Close();
    } catch (...) {
    }
  }
  dataSet_->fields_->Remove(this);
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) dataSet_->CheckInactive();
  if (dataSet != nullptr) {
    dataSet->CheckInactive();
    dataSet->fields_->CheckFieldName(fieldName_, nullptr);
  }
  if (dataSet_ != nullptr) dataSet_->fields_->Remove(this);
  if (dataSet != nullptr) dataSet->fields_->Add(this);
}

void TField::SetFieldName(const std::string& name) {
  if (name == fieldName_) return;
  CheckInactive();
  if (dataSet_ != nullptr) dataSet_->fields_->CheckFieldName(name, this);
  fieldName_ = name;
  if (displayLabel_ == name) displayLabel_.clear();
  if (dataSet_ != nullptr) dataSet_->fields_->NamesChanged();
}

const std::string& TField::DisplayName() const {
  return displayLabel_.empty() ? fieldName_ : displayLabel_;
}

void TField::SetDisplayLabel(const std::string& label) {
  std::string value = label == fieldName_ ? std::string() : label;
  if (value == displayLabel_) return;
  displayLabel_ = std::move(value);
  PropertyChanged(true);
}

void TField::SetFieldKind(TFieldKind kind) {
  if (kind == fieldKind_) return;
  CheckInactive();
  fieldKind_ = kind;
}

void TField::SetSize(int size) {
  if (size == size_) return;
  CheckInactive();
  if (size < 0) DatabaseError("Invalid field size", nullptr);
  size_ = size;
}

int TField::Index() const {
  return dataSet_ != nullptr ? dataSet_->fields_->IndexOf(this) : -1;
}

void TField::SetIndex(int index) {
  if (dataSet_ == nullptr || index == Index()) return;
  dataSet_->fields_->SetFieldIndex(this, index);
  PropertyChanged(true);
}

void TField::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  PropertyChanged(true);
}

void TField::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  PropertyChanged(true);
}

void TField::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  PropertyChanged(false);
}

void TField::SetDisplayWidth(int width) {
  if (width == displayWidth_) return;
  displayWidth_ = width;
  PropertyChanged(true);
}

bool TField::CanModify() const {
  return !readOnly_ && (fieldKind_ == fkData || fieldKind_ == fkInternalCalc) &&
         dataSet_ != nullptr && dataSet_->Active() && dataSet_->CanModify();
}

bool TField::GetData(void* buffer) const {
  if (dataSet_ == nullptr) DatabaseErrorFmt(SDataSetMissing, {DisplayName()});
  if (validating_) {
    if (valueBuffer_ == nullptr) return false;
    if (buffer != nullptr) std::memcpy(buffer, valueBuffer_, static_cast<size_t>(DataSize()));
    return true;
  }
  return dataSet_->GetFieldData(const_cast<TField*>(this), buffer);
}

void TField::SetData(const void* buffer) {
  if (dataSet_ == nullptr) DatabaseErrorFmt(SDataSetMissing, {DisplayName()});
  ScopedValue<const void*> proposed(valueBuffer_, buffer);
  dataSet_->SetFieldData(this, buffer);
}

void TField::Validate(const void* buffer) {
  if (!onValidate_) return;
  ScopedValue<const void*> proposed(valueBuffer_, valueBuffer_ != nullptr ? valueBuffer_ : buffer);
  ScopedValue<bool> validating(validating_, true);
  onValidate_(this);
}

void TField::Change() {
  if (onChange_) onChange_(this);
}

void TField::FocusControl() {
  if (dataSet_ == nullptr || !dataSet_->Active()) return;
  TField* field = this;
  dataSet_->DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&field));
}

bool TField::IsNull() const {
  return !GetData(nullptr);
}

void TField::Clear() {
  SetData(nullptr);
}

void TField::SetAsVariant(const Variant& value) {
  if (value.IsNull()) {
    Clear();
  } else {
    SetVarValue(value);
  }
}

Variant TField::StateValue(TDataSetState state) const {
  if (fieldKind_ != fkData && fieldKind_ != fkInternalCalc) return Null();
  if (dataSet_ == nullptr) DatabaseErrorFmt(SDataSetMissing, {DisplayName()});
  TDataSetState saved = dataSet_->SwapState(state);
  try {
    Variant value = GetAsVariant();
    dataSet_->SwapState(saved);
    return value;
  } catch (...) {
    dataSet_->SwapState(saved);
    throw;
  }
}

void TField::SetNewValue(const Variant& value) {
  if (dataSet_ == nullptr) DatabaseErrorFmt(SDataSetMissing, {DisplayName()});
  TDataSetState saved = dataSet_->SetTempState(dsNewValue);
  try {
    SetAsVariant(value);
  } catch (...) {
    dataSet_->RestoreState(saved);
    throw;
  }
  dataSet_->RestoreState(saved);
}

std::string TField::DisplayText() const {
  std::string text;
  if (onGetText_) {
    onGetText_(const_cast<TField*>(this), text, true);
  } else {
    GetText(text, true);
  }
  return text;
}

std::string TField::Text() const {
  std::string text;
  if (onGetText_) {
    onGetText_(const_cast<TField*>(this), text, false);
  } else {
    GetText(text, false);
  }
  return text;
}

void TField::SetText(const std::string& text) {
  if (onSetText_) {
    onSetText_(this, text);
  } else {
    SetAsString(text);
  }
}

void TField::GetText(std::string& text, bool /*displayText*/) const {
  text = GetAsString();
}

std::string TField::GetAsString() const {
  AccessError("String");
}
int32_t TField::GetAsInteger() const {
  AccessError("Integer");
}
double TField::GetAsFloat() const {
  AccessError("Float");
}
TDateTime TField::GetAsDateTime() const {
  AccessError("TDateTime");
}
bool TField::GetAsBoolean() const {
  AccessError("Boolean");
}
Variant TField::GetAsVariant() const {
  AccessError("Variant");
}
void TField::SetAsString(const std::string& /*value*/) {
  AccessError("String");
}
void TField::SetAsInteger(int32_t /*value*/) {
  AccessError("Integer");
}
void TField::SetAsFloat(double /*value*/) {
  AccessError("Float");
}
void TField::SetAsDateTime(TDateTime /*value*/) {
  AccessError("TDateTime");
}
void TField::SetAsBoolean(bool /*value*/) {
  AccessError("Boolean");
}
void TField::SetVarValue(const Variant& /*value*/) {
  AccessError("Variant");
}

void TField::AccessError(const char* typeName) const {
  DatabaseErrorFmt(SFieldAccessError, {DisplayName(), typeName});
}

void TField::RangeError(double value, double min, double max) const {
  DatabaseErrorFmt(SFieldRangeError, {value, DisplayName(), min, max});
}

void TField::CheckInactive() const {
  if (dataSet_ != nullptr) dataSet_->CheckInactive();
}

void TField::PropertyChanged(bool layoutAffected) {
  if (dataSet_ != nullptr && dataSet_->Active()) {
    dataSet_->DataEvent(layoutAffected ? deLayoutChange : deDataSetChange, 0);
  }
}

}  // namespace vorn
