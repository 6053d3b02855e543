// The query-by-example settings of a dataset; see QBEDefinition.h.
#include "vorn/dataset/QBEDefinition.h"

#include "DataSetFiler.h"

namespace vorn {

TQBEDefinition::TQBEDefinition(TOracleDataSet* dataSet) : dataSet_(dataSet) {}

void TQBEDefinition::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TQBEDefinition*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  SetSaveQBEValues(other->saveQBEValues_);
  SetAllowFileWildCards(other->allowFileWildCards_);
}

void TQBEDefinition::DefineProperties(TFiler& filer) {
  using namespace dataset_filer;
  DefineFlag(filer, "SaveQBEValues", saveQBEValues_, true,
             [this](bool value) { SetSaveQBEValues(value); });
  DefineFlag(filer, "AllowFileWildCards", allowFileWildCards_, true,
             [this](bool value) { SetAllowFileWildCards(value); });
}

}  // namespace vorn
