// The sequence-field setting of a dataset and the numbers it takes; see
// SequenceField.h.
#include "vorn/dataset/SequenceField.h"

#include "DataSetDictionary.h"
#include "DataSetFiler.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Field.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"

namespace vorn {

namespace {

constexpr std::array<std::string_view, 3> kApplyMomentNames{"amOnNewRecord", "amOnPost",
                                                            "amOnServer"};

}  // namespace

TSequenceField::TSequenceField(TOracleDataSet* dataSet) : dataSet_(dataSet) {}

bool TSequenceField::IsSequenceField(const std::string& name) const {
  return Active() && AnsiUpperCase(name) == AnsiUpperCase(field_);
}

bool TSequenceField::IsServerSequenceField(const std::string& name) const {
  return applyMoment_ == amOnServer && IsSequenceField(name);
}

void TSequenceField::Apply(TOracleQuery& query) {
  if (!Active()) return;
  TField* field = dataSet_->FieldByName(field_);
  if (!field->IsNull()) return;
  query.Clear();
  query.SQL()->Add(NextValueStatement());
  query.Execute();
  field->SetValue(query.Field(0));
}

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

void TOracleDataSet::ApplySequenceOnNewRecord() {
  if (sequenceField_->ApplyMoment() != amOnNewRecord) return;
  sequenceField_->Apply(DataSetDictionary::Of(*this).StatementQuery());
}

void TOracleDataSet::ApplySequenceOnPost() {
  if (sequenceField_->ApplyMoment() != amOnPost) return;
  sequenceField_->Apply(DataSetDictionary::Of(*this).StatementQuery());
}

std::string TOracleDataSet::ServerSequenceExpression(const TField& field) const {
  if (!sequenceField_->IsServerSequenceField(field.FieldName()) || !field.IsNull()) return "";
  return sequenceField_->NextValueExpression();
}

}  // namespace vorn
