// The sequence-field setting of a dataset; see SequenceField.h.
#include "vorn/dataset/SequenceField.h"

#include "DataSetFiler.h"
#include "vorn/dataset/OracleDataSet.h"

namespace vorn {

namespace {

constexpr std::array<std::string_view, 3> kApplyMomentNames{"amOnNewRecord", "amOnPost",
                                                            "amOnServer"};

}  // namespace

TSequenceField::TSequenceField(TOracleDataSet* dataSet) : dataSet_(dataSet) {}

void TSequenceField::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TSequenceField*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  SetField(other->field_);
  SetSequence(other->sequence_);
  SetApplyMoment(other->applyMoment_);
}

void TSequenceField::DefineProperties(TFiler& filer) {
  using namespace dataset_filer;
  DefineText(filer, "Field", field_, [this](const std::string& value) { SetField(value); });
  DefineText(filer, "Sequence", sequence_,
             [this](const std::string& value) { SetSequence(value); });
  DefineEnum<TSequenceApplyMoment>(filer, "ApplyMoment", kApplyMomentNames, applyMoment_, amOnPost,
                                   [this](TSequenceApplyMoment value) { SetApplyMoment(value); });
}

// --- The dataset's use of its sequence field ---

// Taking a sequence value for a new record (ApplyMoment amOnNewRecord)
// comes with record modification; new records are refused until then.
void TOracleDataSet::ApplySequenceOnNewRecord() {}

}  // namespace vorn
