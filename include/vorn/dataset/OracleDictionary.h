// TOracleDictionary: the options by which a dataset uses the database's data
// dictionary to behave like a form over its updating table (the dataset's
// OracleDictionary property). All of them are off by default.
//
//   EnforceConstraints   check primary-key, unique, foreign-key and check
//                        constraints on the client when a field changes and
//                        when a record is posted in cached mode, before the
//                        server would refuse the row;
//   DisabledConstraints  names of constraints never checked;
//   UseMessageTable      translate constraint errors through the session's
//                        MessageTable;
//   DefaultValues        fill new records with the columns' defaults;
//   DynamicDefaults      evaluate the default expressions for every new
//                        record instead of once per table;
//   FieldKinds           fields that are no column of the updating table
//                        become read-only internal calculated fields;
//   RangeValues          numeric fields get MinValue and MaxValue from the
//                        column's precision and scale;
//   DisplayFormats       numeric fields get display and edit formats from
//                        the column's precision and scale.
//
// The object is owned by its dataset and stored with it. Turning
// DisplayFormats on or off re-applies the field options through the hook
// the dataset installs (SetOnFieldOptionsChanged).
#pragma once

#include <functional>
#include <memory>

#include "vorn/host/Persistent.h"
#include "vorn/host/StringList.h"

namespace vorn {

class TComponent;

// The names of the constraints a dataset never checks.
class TDisabledConstraints : public TStringList {
  VORN_CLASS(TDisabledConstraints, TStringList)
  // Whether `constraintName` is in the list (ignoring case).
  bool Contains(const std::string& constraintName) const { return IndexOf(constraintName) >= 0; }
};

class TOracleDictionary : public TPersistent {
  VORN_CLASS(TOracleDictionary, TPersistent)
  explicit TOracleDictionary(TComponent* owner = nullptr);
  ~TOracleDictionary() override;

  TComponent* Owner() const { return owner_; }

  bool EnforceConstraints() const { return enforceConstraints_; }
  void SetEnforceConstraints(bool value) { enforceConstraints_ = value; }
  TDisabledConstraints* DisabledConstraints() const { return disabledConstraints_.get(); }
  // Copies the names inside one begin/end-update bracket.
  void SetDisabledConstraints(const TStrings* value);
  bool UseMessageTable() const { return useMessageTable_; }
  void SetUseMessageTable(bool value) { useMessageTable_ = value; }
  bool DefaultValues() const { return defaultValues_; }
  void SetDefaultValues(bool value) { defaultValues_ = value; }
  bool DynamicDefaults() const { return dynamicDefaults_; }
  void SetDynamicDefaults(bool value) { dynamicDefaults_ = value; }
  bool FieldKinds() const { return fieldKinds_; }
  void SetFieldKinds(bool value) { fieldKinds_ = value; }
  bool RangeValues() const { return rangeValues_; }
  void SetRangeValues(bool value) { rangeValues_ = value; }
  bool DisplayFormats() const { return displayFormats_; }
  // A change re-applies the field options.
  void SetDisplayFormats(bool value);

  // Any of FieldKinds, RangeValues and DisplayFormats is on.
  bool HasFieldOptions() const { return fieldKinds_ || rangeValues_ || displayFormats_; }

  // The dataset's hook that re-applies the field options.
  void SetOnFieldOptionsChanged(std::function<void()> handler) {
    onFieldOptionsChanged_ = std::move(handler);
  }

  void Assign(const TPersistent* source) override;

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  TComponent* owner_;
  bool enforceConstraints_ = false;
  std::unique_ptr<TDisabledConstraints> disabledConstraints_;
  bool useMessageTable_ = false;
  bool defaultValues_ = false;
  bool dynamicDefaults_ = false;
  bool fieldKinds_ = false;
  bool rangeValues_ = false;
  bool displayFormats_ = false;
  std::function<void()> onFieldOptionsChanged_;
};

}  // namespace vorn
