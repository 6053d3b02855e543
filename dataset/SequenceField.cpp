// Sequence values for new records; see SequenceField.h.
#include "vorn/dataset/SequenceField.h"

#include <array>
#include <string_view>

#include "vorn/host/DataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"
#include "vorn/host/Filer.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"

namespace vorn {

namespace {

constexpr std::array<std::string_view, 3> kApplyMomentNames = {"amOnNewRecord", "amOnPost",
                                                               "amOnServer"};

TSequenceApplyMoment ApplyMomentNamed(const std::string& name) {
  for (size_t i = 0; i < kApplyMomentNames.size(); ++i) {
    if (SameText(kApplyMomentNames[i], name)) return static_cast<TSequenceApplyMoment>(i);
  }
  throw EReadError("Invalid property value");
}

}  // namespace

TSequenceField::TSequenceField(TDataSet* dataSet) : dataSet_(dataSet) {}

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
  TPersistent::DefineProperties(filer);
  filer.DefineProperty(
      "Field", [this](TReader& reader) { SetField(reader.ReadString()); },
      [this](TWriter& writer) { writer.WriteString(field_); }, !field_.empty());
  filer.DefineProperty(
      "Sequence", [this](TReader& reader) { SetSequence(reader.ReadString()); },
      [this](TWriter& writer) { writer.WriteString(sequence_); }, !sequence_.empty());
  filer.DefineProperty(
      "ApplyMoment",
      [this](TReader& reader) { SetApplyMoment(ApplyMomentNamed(reader.ReadString())); },
      [this](TWriter& writer) {
        writer.WriteString(std::string(kApplyMomentNames.at(static_cast<size_t>(applyMoment_))));
      },
      applyMoment_ != amOnPost);
}

}  // namespace vorn
