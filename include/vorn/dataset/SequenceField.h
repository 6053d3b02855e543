// TSequenceField: which field of a new record a database sequence fills,
// and when (the SequenceField property of TOracleDataSet).
//
// Field names the field, Sequence the sequence (owner-qualified or not);
// the setting is active when both are set. ApplyMoment says when the value
// is taken: when the record is created, when it is posted (the default), or
// by the server inside the generated insert. New records come with record
// modification, which this dataset does not build yet: until then the
// setting is kept (and stored with forms) without effect.
//
// The object belongs to its dataset, which creates and frees it.
#pragma once

#include <string>

#include "vorn/dataset/OracleDataSetTypes.h"
#include "vorn/host/Persistent.h"

namespace vorn {

class TOracleDataSet;

class TSequenceField : public TPersistent {
  VORN_CLASS(TSequenceField, TPersistent)
  explicit TSequenceField(TOracleDataSet* dataSet);
  TSequenceField(const TSequenceField&) = delete;
  TSequenceField& operator=(const TSequenceField&) = delete;

  TOracleDataSet* DataSet() const { return dataSet_; }

  const std::string& Field() const { return field_; }
  void SetField(const std::string& value) { field_ = value; }
  const std::string& Sequence() const { return sequence_; }
  void SetSequence(const std::string& value) { sequence_ = value; }
  TSequenceApplyMoment ApplyMoment() const { return applyMoment_; }
  void SetApplyMoment(TSequenceApplyMoment value) { applyMoment_ = value; }

  // Field and Sequence are both set.
  bool Active() const { return !field_.empty() && !sequence_.empty(); }

  void Assign(const TPersistent* source) override;

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  TOracleDataSet* dataSet_;
  std::string field_;
  std::string sequence_;
  TSequenceApplyMoment applyMoment_ = amOnPost;
};

}  // namespace vorn
