// The query-by-example settings of a dataset and their stream format; see
// QBEDefinition.h.
#include "vorn/dataset/QBEDefinition.h"

#include <cstdint>
#include <vector>

#include "DataSetFiler.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Stream.h"
#include "vorn/host/StreamFields.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

constexpr int32_t kVersion = 2;
const char* const kInvalidStream = "Invalid stream of QBEDefinition";
// The bytes of a definition besides its name in the oldest version: the
// length and three flags.
constexpr int64_t kSmallestDef = 4 + 3;

struct DefValues {
  std::string name;
  bool enabled = true;
  bool partialMatch = false;
  bool caseInsensitive = false;
  bool wholeDay = false;
};

}  // namespace

// --- TQBEFieldDef ---

TQBEFieldDef::TQBEFieldDef(TCollection* collection) : TCollectionItem(collection) {}

void TQBEFieldDef::SetFieldName(const std::string& value) {
  if (value == fieldName_) return;
  fieldName_ = value;
  Changed(false);
}

void TQBEFieldDef::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed(false);
}

void TQBEFieldDef::SetPartialMatch(bool value) {
  if (value == partialMatch_) return;
  partialMatch_ = value;
  Changed(false);
}

void TQBEFieldDef::SetCaseInsensitive(bool value) {
  if (value == caseInsensitive_) return;
  caseInsensitive_ = value;
  Changed(false);
}

void TQBEFieldDef::SetWholeDay(bool value) {
  if (value == wholeDay_) return;
  wholeDay_ = value;
  Changed(false);
}

bool TQBEFieldDef::SameAs(const TQBEFieldDef& other) const {
  return fieldName_ == other.fieldName_ && enabled_ == other.enabled_ &&
         partialMatch_ == other.partialMatch_ && caseInsensitive_ == other.caseInsensitive_ &&
         wholeDay_ == other.wholeDay_;
}

void TQBEFieldDef::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TQBEFieldDef*>(source);
  if (other == nullptr) {
    TCollectionItem::Assign(source);
    return;
  }
  SetFieldName(other->fieldName_);
  SetEnabled(other->enabled_);
  SetPartialMatch(other->partialMatch_);
  SetCaseInsensitive(other->caseInsensitive_);
  SetWholeDay(other->wholeDay_);
}

std::string TQBEFieldDef::DisplayName() const {
  return fieldName_.empty() ? TCollectionItem::DisplayName() : fieldName_;
}

// --- TQBEDefinition ---

TQBEDefinition::TQBEDefinition(TOracleDataSet* dataSet)
    : dataSet_(dataSet), fieldDefs_(std::make_unique<TQBEFieldDefs>(this)) {}

TQBEDefinition::~TQBEDefinition() = default;

TQBEFieldDef* TQBEDefinition::FindFieldDef(std::string_view fieldName) const {
  for (int i = 0; i < fieldDefs_->Count(); ++i) {
    TQBEFieldDef* def = fieldDefs_->Items(i);
    if (AnsiSameText(def->FieldName(), fieldName)) return def;
  }
  return nullptr;
}

bool TQBEDefinition::SameFieldDefs(const TQBEDefinition& other) const {
  if (fieldDefs_->Count() != other.fieldDefs_->Count()) return false;
  for (int i = 0; i < fieldDefs_->Count(); ++i) {
    if (!fieldDefs_->Items(i)->SameAs(*other.fieldDefs_->Items(i))) return false;
  }
  return true;
}

void TQBEDefinition::WriteFieldDefs(TStream& stream) const {
  WriteStreamInt32(stream, kVersion);
  WriteStreamInt32(stream, fieldDefs_->Count());
  for (int i = 0; i < fieldDefs_->Count(); ++i) {
    const TQBEFieldDef& def = *fieldDefs_->Items(i);
    WriteStreamInt32(stream, static_cast<int32_t>(def.FieldName().size()));
    stream.WriteBuffer(def.FieldName().data(), static_cast<int64_t>(def.FieldName().size()));
    WriteStreamFlag(stream, def.Enabled());
    WriteStreamFlag(stream, def.PartialMatch());
    WriteStreamFlag(stream, def.CaseInsensitive());
    WriteStreamFlag(stream, def.WholeDay());
  }
}

void TQBEDefinition::ReadFieldDefs(TStream& stream) {
  // Read whole before anything changes: a damaged stream loses nothing.
  TStreamFieldReader reader(stream, kInvalidStream);
  const int32_t version = reader.Int32();
  if (version < 1 || version > kVersion) throw EReadError("Invalid version of QBEDefinition");
  const int32_t count = reader.Count(kSmallestDef);
  std::vector<DefValues> read(static_cast<size_t>(count));
  for (DefValues& values : read) {
    const int32_t length = reader.Count(1);
    values.name.resize(static_cast<size_t>(length));
    reader.Bytes(values.name.data(), length);
    values.enabled = reader.Flag();
    values.partialMatch = reader.Flag();
    values.caseInsensitive = reader.Flag();
    if (version > 1) values.wholeDay = reader.Flag();
  }
  if (reader.Remaining() != 0) throw EReadError(kInvalidStream);
  fieldDefs_->BeginUpdate();
  fieldDefs_->Clear();
  for (const DefValues& values : read) {
    TQBEFieldDef* def = fieldDefs_->Add();
    def->SetFieldName(values.name);
    def->SetEnabled(values.enabled);
    def->SetPartialMatch(values.partialMatch);
    def->SetCaseInsensitive(values.caseInsensitive);
    def->SetWholeDay(values.wholeDay);
  }
  fieldDefs_->EndUpdate();
}

void TQBEDefinition::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TQBEDefinition*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  SetSaveQBEValues(other->saveQBEValues_);
  SetAllowFileWildCards(other->allowFileWildCards_);
  fieldDefs_->Assign(other->fieldDefs_.get());
}

void TQBEDefinition::DefineProperties(TFiler& filer) {
  using namespace dataset_filer;
  DefineFlag(filer, "SaveQBEValues", saveQBEValues_, true,
             [this](bool value) { SetSaveQBEValues(value); });
  DefineFlag(filer, "AllowFileWildCards", allowFileWildCards_, true,
             [this](bool value) { SetAllowFileWildCards(value); });
  const auto* ancestor = dynamic_cast<const TQBEDefinition*>(filer.Ancestor());
  const bool hasData = ancestor != nullptr ? !SameFieldDefs(*ancestor) : fieldDefs_->Count() > 0;
  filer.DefineBinaryProperty(
      "QBEFieldDefs", [this](TStream& stream) { ReadFieldDefs(stream); },
      [this](TStream& stream) { WriteFieldDefs(stream); }, hasData);
}

}  // namespace vorn
