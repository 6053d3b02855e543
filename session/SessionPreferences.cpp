// The settings of a session that queries and datasets read; see
// SessionPreferences.h.
#include "vorn/session/SessionPreferences.h"

#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/TextUtils.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

// The class whose sessions serve remote clients, which want short string
// fields.
bool OwnedByRemoteDataModule(const TOracleSession& session) {
  const TComponent* owner = session.Owner();
  return owner != nullptr &&
         UpperCase(std::string(owner->ClassParentName())) == "TREMOTEDATAMODULE";
}

void DefineInteger(TFiler& filer, const std::string& name, int& field, int defaultValue,
                   void (TSessionPreferences::*setter)(int), TSessionPreferences& preferences) {
  filer.DefineProperty(
      name,
      [&preferences, setter](TReader& reader) { (preferences.*setter)(reader.ReadInteger()); },
      [&field](TWriter& writer) { writer.WriteInteger(field); }, field != defaultValue);
}

void DefineBoolean(TFiler& filer, const std::string& name, bool& field, bool defaultValue,
                   void (TSessionPreferences::*setter)(bool), TSessionPreferences& preferences) {
  filer.DefineProperty(
      name,
      [&preferences, setter](TReader& reader) { (preferences.*setter)(reader.ReadBoolean()); },
      [&field](TWriter& writer) { writer.WriteBoolean(field); }, field != defaultValue);
}

}  // namespace

TSessionPreferences::TSessionPreferences(TOracleSession& session)
    : session_(session), maxStringFieldSize_(OwnedByRemoteDataModule(session) ? 255 : 0) {}

void TSessionPreferences::SetFloatPrecision(int value) {
  if (value == floatPrecision_) return;
  floatPrecision_ = value;
  FieldsChanged();
}

void TSessionPreferences::SetIntegerPrecision(int value) {
  if (value == integerPrecision_) return;
  integerPrecision_ = value;
  FieldsChanged();
}

void TSessionPreferences::SetSmallIntPrecision(int value) {
  if (value == smallIntPrecision_) return;
  smallIntPrecision_ = value;
  FieldsChanged();
}

void TSessionPreferences::SetMaxStringFieldSize(int value) {
  if (value == maxStringFieldSize_) return;
  maxStringFieldSize_ = value;
  FieldsChanged();
}

void TSessionPreferences::SetUseOCI7(bool value) {
  if (value == useOCI7_) return;
  if (session_.Connected()) {
    throw Exception("Cannot change UseOCI7 property when session is connected");
  }
  useOCI7_ = value;
}

void TSessionPreferences::SetConvertCRLF(bool value) {
  if (value == convertCRLF_) return;
  if (session_.Connected()) {
    throw Exception("Cannot change ConvertCRLF property when session is connected");
  }
  convertCRLF_ = value;
}

void TSessionPreferences::FieldsChanged() {
  const TComponentState state = session_.ComponentState();
  if ((state & csDesigning) && !(state & csLoading)) session_.RecreateDataSetFields();
}

void TSessionPreferences::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TSessionPreferences*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  SetFloatPrecision(other->floatPrecision_);
  SetIntegerPrecision(other->integerPrecision_);
  SetSmallIntPrecision(other->smallIntPrecision_);
  SetMaxStringFieldSize(other->maxStringFieldSize_);
  SetUseOCI7(other->useOCI7_);
  SetConvertCRLF(other->convertCRLF_);
  SetTrimStringFields(other->trimStringFields_);
}

void TSessionPreferences::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  TSessionPreferences& self = *this;
  DefineInteger(filer, "FloatPrecision", floatPrecision_, 0,
                &TSessionPreferences::SetFloatPrecision, self);
  DefineInteger(filer, "IntegerPrecision", integerPrecision_, 0,
                &TSessionPreferences::SetIntegerPrecision, self);
  DefineInteger(filer, "SmallIntPrecision", smallIntPrecision_, -1,
                &TSessionPreferences::SetSmallIntPrecision, self);
  DefineInteger(filer, "MaxStringFieldSize", maxStringFieldSize_,
                OwnedByRemoteDataModule(session_) ? 255 : 0,
                &TSessionPreferences::SetMaxStringFieldSize, self);
  DefineBoolean(filer, "UseOCI7", useOCI7_, false, &TSessionPreferences::SetUseOCI7, self);
  DefineBoolean(filer, "ConvertCRLF", convertCRLF_, true, &TSessionPreferences::SetConvertCRLF,
                self);
  DefineBoolean(filer, "TrimStringFields", trimStringFields_, true,
                &TSessionPreferences::SetTrimStringFields, self);
}

}  // namespace vorn
