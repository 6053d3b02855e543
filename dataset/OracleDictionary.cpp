// The dictionary options of a dataset; see OracleDictionary.h.
#include "vorn/dataset/OracleDictionary.h"

#include "DataSetFiler.h"
#include "vorn/dataset/OracleDataSet.h"

namespace vorn {

TOracleDictionary::TOracleDictionary(TOracleDataSet* dataSet)
    : dataSet_(dataSet), disabledConstraints_(std::make_unique<TDisabledConstraints>()) {}

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
  if (dataSet_ != nullptr) dataSet_->ApplyDictionaryFieldSettings();
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
  using namespace dataset_filer;
  DefineFlag(filer, "EnforceConstraints", enforceConstraints_, false,
             [this](bool value) { SetEnforceConstraints(value); });
  filer.DefinePersistent("DisabledConstraints", *disabledConstraints_);
  DefineFlag(filer, "UseMessageTable", useMessageTable_, false,
             [this](bool value) { SetUseMessageTable(value); });
  DefineFlag(filer, "DefaultValues", defaultValues_, false,
             [this](bool value) { SetDefaultValues(value); });
  DefineFlag(filer, "DynamicDefaults", dynamicDefaults_, false,
             [this](bool value) { SetDynamicDefaults(value); });
  DefineFlag(filer, "FieldKinds", fieldKinds_, false, [this](bool value) { SetFieldKinds(value); });
  DefineFlag(filer, "RangeValues", rangeValues_, false,
             [this](bool value) { SetRangeValues(value); });
  DefineFlag(filer, "DisplayFormats", displayFormats_, false,
             [this](bool value) { SetDisplayFormats(value); });
}

}  // namespace vorn
