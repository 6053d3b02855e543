// TSessionPreferences: the settings of a session that its queries and
// datasets read when they size buffers and create fields.
//
// - FloatPrecision, IntegerPrecision (0: the query's own rule),
//   SmallIntPrecision (-1) and MaxStringFieldSize shape the fields of a
//   dataset. Changing one while the session is being designed (and not
//   loaded) re-creates the fields of every dataset registered with the
//   session: each is reset and, if it was open, opened again; a dataset that
//   fails to open again is reported in a message box ("Error reactivating
//   dataset <name>:" and the error on the next line) and the others go on.
// - UseOCI7 forces the version 7 call set at the next logon; ConvertCRLF
//   makes queries drop carriage returns from text sent to the server and
//   turn line breaks read back into CR LF. Neither can change while the
//   session is connected.
// - TrimStringFields: datasets trim trailing blanks from string fields.
//
// MaxStringFieldSize starts at 255 for a session owned by a remote data
// module (an owner whose class's direct parent is TRemoteDataModule, in any
// case) and at 0 otherwise.
//
// The preferences belong to their session, which creates and frees them.
#pragma once

#include "vorn/host/Persistent.h"

namespace vorn {

class TOracleSession;

class TSessionPreferences : public TPersistent {
  VORN_CLASS(TSessionPreferences, TPersistent)
  explicit TSessionPreferences(TOracleSession& session);
  TSessionPreferences(const TSessionPreferences&) = delete;
  TSessionPreferences& operator=(const TSessionPreferences&) = delete;

  TOracleSession& Session() const { return session_; }

  int FloatPrecision() const { return floatPrecision_; }
  void SetFloatPrecision(int value);
  int IntegerPrecision() const { return integerPrecision_; }
  void SetIntegerPrecision(int value);
  int SmallIntPrecision() const { return smallIntPrecision_; }
  void SetSmallIntPrecision(int value);
  int MaxStringFieldSize() const { return maxStringFieldSize_; }
  void SetMaxStringFieldSize(int value);

  bool UseOCI7() const { return useOCI7_; }
  void SetUseOCI7(bool value);
  bool ConvertCRLF() const { return convertCRLF_; }
  void SetConvertCRLF(bool value);
  bool TrimStringFields() const { return trimStringFields_; }
  void SetTrimStringFields(bool value) { trimStringFields_ = value; }

  // Takes every value of other preferences through the setters above.
  void Assign(const TPersistent* source) override;

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  // After a change of a field-shaping preference.
  void FieldsChanged();

  TOracleSession& session_;
  int floatPrecision_ = 0;
  int integerPrecision_ = 0;
  int smallIntPrecision_ = -1;
  int maxStringFieldSize_ = 0;
  bool useOCI7_ = false;
  bool convertCRLF_ = true;
  bool trimStringFields_ = true;
};

}  // namespace vorn
