// TOracleDictionary: the dataset's options that use the database's data
// dictionary (the OracleDictionary property of TOracleDataSet). Every option
// is off by default.
//
//   EnforceConstraints   check constraints while records are edited
//   DisabledConstraints  names of constraints never checked
//   UseMessageTable      translate constraint errors through the session's
//                        MessageTable
//   DefaultValues        fill new records with the columns' defaults
//   DynamicDefaults      evaluate the defaults for every new record
//   FieldKinds           fields that are no column of the updating table
//                        become read-only internal calculated fields
//   RangeValues          numeric fields get MinValue and MaxValue from the
//                        column's precision and scale
//   DisplayFormats       numeric fields get display and edit formats from
//                        the column's precision and scale; turning it on
//                        applies the formats to the fields at once
//
// RangeValues and DisplayFormats shape the default fields when the dataset
// opens while its session is connected (OracleDataSet.h). The checks,
// messages and defaults work on records being edited, which this dataset
// does not build yet: those options are kept (and stored with forms)
// without effect until then. FieldKinds needs the updating table's columns
// from the dictionary, which this dataset does not read yet: it refuses to
// be turned on ("FieldKinds is not supported by this dataset yet") rather
// than leave the fields unchanged in silence.
//
// The object belongs to its dataset, which creates and frees it.
#pragma once

#include <memory>

#include "vorn/host/Persistent.h"
#include "vorn/host/StringList.h"

namespace vorn {

class TOracleDataSet;

class TOracleDictionary : public TPersistent {
  VORN_CLASS(TOracleDictionary, TPersistent)
  explicit TOracleDictionary(TOracleDataSet* dataSet);
  ~TOracleDictionary() override;
  TOracleDictionary(const TOracleDictionary&) = delete;
  TOracleDictionary& operator=(const TOracleDictionary&) = delete;

  TOracleDataSet* DataSet() const { return dataSet_; }

  bool EnforceConstraints() const { return enforceConstraints_; }
  void SetEnforceConstraints(bool value) { enforceConstraints_ = value; }
  TStrings* DisabledConstraints() const { return disabledConstraints_.get(); }
  // Copies the names, in one change of the list.
  void SetDisabledConstraints(const TStrings* value);
  bool UseMessageTable() const { return useMessageTable_; }
  void SetUseMessageTable(bool value) { useMessageTable_ = value; }
  bool DefaultValues() const { return defaultValues_; }
  void SetDefaultValues(bool value) { defaultValues_ = value; }
  bool DynamicDefaults() const { return dynamicDefaults_; }
  void SetDynamicDefaults(bool value) { dynamicDefaults_ = value; }
  bool FieldKinds() const { return fieldKinds_; }
  void SetFieldKinds(bool value);
  bool RangeValues() const { return rangeValues_; }
  void SetRangeValues(bool value) { rangeValues_ = value; }
  bool DisplayFormats() const { return displayFormats_; }
  void SetDisplayFormats(bool value);

  void Assign(const TPersistent* source) override;

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  TOracleDataSet* dataSet_;
  bool enforceConstraints_ = false;
  std::unique_ptr<TStringList> disabledConstraints_;
  bool useMessageTable_ = false;
  bool defaultValues_ = false;
  bool dynamicDefaults_ = false;
  bool fieldKinds_ = false;
  bool rangeValues_ = false;
  bool displayFormats_ = false;
};

}  // namespace vorn
