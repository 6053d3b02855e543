// TQBEDefinition: how query by example treats the values typed into the
// example record (the QBEDefinition property of TOracleDataSet).
//
// SaveQBEValues (default True) puts the last example's values back when
// the dataset enters query-by-example mode again; AllowFileWildCards
// (default True) lets "*" and "?" stand for SQL's "%" and "_" in text
// values. Query by example is not built in this dataset yet (its QBEMode
// refuses to be turned on), so the settings are kept and stored with forms
// without effect; the per-field definitions come with it.
//
// The object belongs to its dataset, which creates and frees it.
#pragma once

#include "vorn/host/Persistent.h"

namespace vorn {

class TOracleDataSet;

class TQBEDefinition : public TPersistent {
  VORN_CLASS(TQBEDefinition, TPersistent)
  explicit TQBEDefinition(TOracleDataSet* dataSet);
  TQBEDefinition(const TQBEDefinition&) = delete;
  TQBEDefinition& operator=(const TQBEDefinition&) = delete;

  TOracleDataSet* DataSet() const { return dataSet_; }

  bool SaveQBEValues() const { return saveQBEValues_; }
  void SetSaveQBEValues(bool value) { saveQBEValues_ = value; }
  bool AllowFileWildCards() const { return allowFileWildCards_; }
  void SetAllowFileWildCards(bool value) { allowFileWildCards_ = value; }

  void Assign(const TPersistent* source) override;

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  TOracleDataSet* dataSet_;
  bool saveQBEValues_ = true;
  bool allowFileWildCards_ = true;
};

}  // namespace vorn
