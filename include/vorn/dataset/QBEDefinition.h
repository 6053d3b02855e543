// TQBEDefinition: how query by example treats the values typed into the
// example record (the QBEDefinition property of TOracleDataSet).
//
// SaveQBEValues (default True) puts the last example's values back when
// the dataset enters query-by-example mode again; AllowFileWildCards
// (default True) lets "*" and "?" stand for SQL's "%" and "_" in text
// values. FieldDefs holds one TQBEFieldDef per field whose settings differ
// from the defaults (a field is found by name, ignoring case); a field
// without one accepts a value unless it is a blob field, and matches it
// exactly.
//
// Forms store the field definitions as the binary property "QBEFieldDefs"
// (little-endian): version (4 bytes, 2 when written), count (4 bytes), and
// per definition the name's length (4 bytes), the name's bytes, Enabled,
// PartialMatch and CaseInsensitive (1 byte each, 0 or 1) and, from version
// 2 on, WholeDay (1 byte). Only versions 1 and 2 are read ("Invalid version
// of QBEDefinition"); a damaged stream raises EReadError "Invalid stream of
// QBEDefinition" and leaves the definitions as they were. The property is
// written when the definitions differ from the ancestor form's, or, without
// an ancestor, when there is at least one.
//
// The object belongs to its dataset, which creates and frees it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "vorn/host/Collection.h"
#include "vorn/host/Persistent.h"

namespace vorn {

class TOracleDataSet;
class TStream;

class TQBEFieldDef : public TCollectionItem {
  VORN_CLASS(TQBEFieldDef, TCollectionItem)
  explicit TQBEFieldDef(TCollection* collection);

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& value);
  // The field accepts a value in the example record (default True).
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // A "%" is appended to a text value that does not end with one.
  bool PartialMatch() const { return partialMatch_; }
  void SetPartialMatch(bool value);
  // Text values match regardless of case.
  bool CaseInsensitive() const { return caseInsensitive_; }
  void SetCaseInsensitive(bool value);
  // A date without time of day matches the whole day.
  bool WholeDay() const { return wholeDay_; }
  void SetWholeDay(bool value);

  // Same name (as written) and same flags.
  bool SameAs(const TQBEFieldDef& other) const;
  void Assign(const TPersistent* source) override;
  std::string DisplayName() const override;

 private:
  std::string fieldName_;
  bool enabled_ = true;
  bool partialMatch_ = false;
  bool caseInsensitive_ = false;
  bool wholeDay_ = false;
};

using TQBEFieldDefs = TTypedCollection<TQBEFieldDef>;

class TQBEDefinition : public TPersistent {
  VORN_CLASS(TQBEDefinition, TPersistent)
  explicit TQBEDefinition(TOracleDataSet* dataSet);
  ~TQBEDefinition() override;
  TQBEDefinition(const TQBEDefinition&) = delete;
  TQBEDefinition& operator=(const TQBEDefinition&) = delete;

  TOracleDataSet* DataSet() const { return dataSet_; }

  bool SaveQBEValues() const { return saveQBEValues_; }
  void SetSaveQBEValues(bool value) { saveQBEValues_ = value; }
  bool AllowFileWildCards() const { return allowFileWildCards_; }
  void SetAllowFileWildCards(bool value) { allowFileWildCards_ = value; }
  TQBEFieldDefs* FieldDefs() const { return fieldDefs_.get(); }

  // The definition of `fieldName` (ignoring case); nullptr for none.
  TQBEFieldDef* FindFieldDef(std::string_view fieldName) const;
  // Same count and, item by item, same name and flags.
  bool SameFieldDefs(const TQBEDefinition& other) const;

  // The field definitions in their stream format (see above).
  void WriteFieldDefs(TStream& stream) const;
  void ReadFieldDefs(TStream& stream);

  void Assign(const TPersistent* source) override;

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  TOracleDataSet* dataSet_;
  bool saveQBEValues_ = true;
  bool allowFileWildCards_ = true;
  std::unique_ptr<TQBEFieldDefs> fieldDefs_;
};

}  // namespace vorn
