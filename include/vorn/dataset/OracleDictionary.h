// TOracleDictionary: the options by which a dataset uses the database's data
// dictionary to behave like a form over its updating table (the
// OracleDictionary property of TOracleDataSet). Every option is off by
// default.
//
//   EnforceConstraints   check primary-key, unique, foreign-key and check
//                        constraints on the client when a field changes and
//                        when a record is posted in cached mode, before the
//                        server would refuse the row
//   DisabledConstraints  names of constraints never checked
//   UseMessageTable      translate constraint errors through the session's
//                        MessageTable
//   DefaultValues        fill new records with the columns' defaults
//   DynamicDefaults      evaluate the default expressions for every new
//                        record instead of once per table
//   FieldKinds           fields that are no column of the updating table
//                        become read-only internal calculated fields
//   RangeValues          numeric fields get MinValue and MaxValue from the
//                        column's precision and scale
//   DisplayFormats       numeric fields get display and edit formats from
//                        the column's precision and scale; turning it on or
//                        off applies the field options to the fields at once
//
// FieldKinds, RangeValues and DisplayFormats shape the default fields when
// the dataset opens while its session is connected, and at design time the
// fields whenever the field list changes (OracleDataSet.h).
//
// The object belongs to its dataset, which creates and frees it.
#pragma once

#include <memory>

#include "vorn/host/Persistent.h"
#include "vorn/host/StringList.h"

namespace vorn {

class TOracleDataSet;

// The names of the constraints a dataset never checks.
class TDisabledConstraints : public TStringList {
  VORN_CLASS(TDisabledConstraints, TStringList)
  // Whether `constraintName` is in the list (ignoring case).
  bool Contains(const std::string& constraintName) const { return IndexOf(constraintName) >= 0; }
};

class TOracleDictionary : public TPersistent {
  VORN_CLASS(TOracleDictionary, TPersistent)
  explicit TOracleDictionary(TOracleDataSet* dataSet);
  ~TOracleDictionary() override;
  TOracleDictionary(const TOracleDictionary&) = delete;
  TOracleDictionary& operator=(const TOracleDictionary&) = delete;

  TOracleDataSet* DataSet() const { return dataSet_; }

  bool EnforceConstraints() const { return enforceConstraints_; }
  void SetEnforceConstraints(bool value) { enforceConstraints_ = value; }
  TDisabledConstraints* DisabledConstraints() const { return disabledConstraints_.get(); }
  // Copies the names, in one change of the list.
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
  // A change applies the field options to the dataset's fields.
  void SetDisplayFormats(bool value);

  // Any of FieldKinds, RangeValues and DisplayFormats is on.
  bool HasFieldOptions() const { return fieldKinds_ || rangeValues_ || displayFormats_; }

  void Assign(const TPersistent* source) override;

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  TOracleDataSet* dataSet_;
  bool enforceConstraints_ = false;
  std::unique_ptr<TDisabledConstraints> disabledConstraints_;
  bool useMessageTable_ = false;
  bool defaultValues_ = false;
  bool dynamicDefaults_ = false;
  bool fieldKinds_ = false;
  bool rangeValues_ = false;
  bool displayFormats_ = false;
};

}  // namespace vorn
