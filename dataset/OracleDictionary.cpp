// The dictionary options of a dataset; see OracleDictionary.h.
#include "vorn/dataset/OracleDictionary.h"

#include "vorn/host/Filer.h"

namespace vorn {

namespace {

void DefineFlag(TFiler& filer, const std::string& name, bool value,
                const std::function<void(bool)>& setter) {
  filer.DefineProperty(
      name, [setter](TReader& reader) { setter(reader.ReadBoolean()); },
      [value](TWriter& writer) { writer.WriteBoolean(value); }, value);
}

}  // namespace

TOracleDictionary::TOracleDictionary(TComponent* owner)
    : owner_(owner), disabledConstraints_(std::make_unique<TDisabledConstraints>()) {}

TOracleDictionary::~TOracleDictionary() = default;

void TOracleDictionary::SetDisabledConstraints(const TStrings* value) {
  disabledConstraints_->BeginUpdate();
  try {
    disabledConstraints_->Assign(value);
  } catch (...) {
    disabledConstraints_->EndUpdate();
    throw;
  }
  disabledConstraints_->EndUpdate();
}

void TOracleDictionary::SetDisplayFormats(bool value) {
  if (value == displayFormats_) return;
  displayFormats_ = value;
  if (onFieldOptionsChanged_) onFieldOptionsChanged_();
}

void TOracleDictionary::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TOracleDictionary*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  SetEnforceConstraints(other->enforceConstraints_);
  SetDisabledConstraints(other->disabledConstraints_.get());
  SetUseMessageTable(other->useMessageTable_);
  SetDefaultValues(other->defaultValues_);
  SetDynamicDefaults(other->dynamicDefaults_);
  SetFieldKinds(other->fieldKinds_);
  SetRangeValues(other->rangeValues_);
  SetDisplayFormats(other->displayFormats_);
}

void TOracleDictionary::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  DefineFlag(filer, "EnforceConstraints", enforceConstraints_,
             [this](bool value) { SetEnforceConstraints(value); });
  filer.DefinePersistent("DisabledConstraints", *disabledConstraints_);
  DefineFlag(filer, "UseMessageTable", useMessageTable_,
             [this](bool value) { SetUseMessageTable(value); });
  DefineFlag(filer, "DefaultValues", defaultValues_,
             [this](bool value) { SetDefaultValues(value); });
  DefineFlag(filer, "DynamicDefaults", dynamicDefaults_,
             [this](bool value) { SetDynamicDefaults(value); });
  DefineFlag(filer, "FieldKinds", fieldKinds_, [this](bool value) { SetFieldKinds(value); });
  DefineFlag(filer, "RangeValues", rangeValues_, [this](bool value) { SetRangeValues(value); });
  DefineFlag(filer, "DisplayFormats", displayFormats_,
             [this](bool value) { SetDisplayFormats(value); });
}

}  // namespace vorn
