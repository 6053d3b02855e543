// TSequenceField: fills one key field of a dataset's new records from a
// database sequence (the SequenceField property of TOracleDataSet).
//
// Field names the field, Sequence the sequence (owner-qualified or not);
// the setting is active when both are set. ApplyMoment says when the value
// is taken:
//   amOnNewRecord  when the record is created (the dataset's new-record
//                  step, after a detail's master values and before the
//                  default values and OnNewRecord; not for the record of
//                  query by example);
//   amOnPost       when an inserted record is posted, before anything is
//                  written or logged (the default);
//   amOnServer     never on the client: the INSERT names the sequence's next
//                  value (NextValueExpression) as the column's value, and the
//                  stored value comes back with the inserted row.
// Apply fetches "select <Sequence>.nextval from dual" and stores it in the
// field, unless the field already holds a value, which is kept. The dataset
// runs that statement on a query of its own for generated statements, never
// on the query that fetches its rows.
//
// The object belongs to its dataset, which creates and frees it; Field,
// Sequence and ApplyMoment are stored with forms.
#pragma once

#include <string>

#include "vorn/dataset/OracleDataSetTypes.h"
#include "vorn/host/Persistent.h"

namespace vorn {

class TOracleDataSet;
class TOracleQuery;

class TSequenceField : public TPersistent {
  VORN_CLASS(TSequenceField, TPersistent)
  explicit TSequenceField(TOracleDataSet* dataSet);
  TSequenceField(const TSequenceField&) = delete;
  TSequenceField& operator=(const TSequenceField&) = delete;

  TOracleDataSet* DataSet() const { return dataSet_; }

  // The name of the field to fill.
  const std::string& Field() const { return field_; }
  void SetField(const std::string& value) { field_ = value; }
  // The sequence, possibly qualified by its owner ("HR.EMP_SEQ").
  const std::string& Sequence() const { return sequence_; }
  void SetSequence(const std::string& value) { sequence_ = value; }
  TSequenceApplyMoment ApplyMoment() const { return applyMoment_; }
  void SetApplyMoment(TSequenceApplyMoment value) { applyMoment_ = value; }

  // Field and Sequence are both set.
  bool Active() const { return !field_.empty() && !sequence_.empty(); }
  // Active, and `name` is Field (compared after locale-aware upper-casing).
  bool IsSequenceField(const std::string& name) const;
  // ApplyMoment is amOnServer and `name` is the sequence field.
  bool IsServerSequenceField(const std::string& name) const;
  // "<Sequence>.nextval": the value the INSERT gives the field's column
  // when the server takes the number.
  std::string NextValueExpression() const { return sequence_ + ".nextval"; }
  // The statement that fetches the next number.
  std::string NextValueStatement() const {
    return "select " + NextValueExpression() + " from dual";
  }

  // When active and the dataset's field named Field (looked up with
  // FieldByName, whose error a missing field raises) is null: clears
  // `query`, runs NextValueStatement on it and stores the number in the
  // field. `query` must have its session; the sequence's errors raise
  // EOracleError and leave the field as it was.
  void Apply(TOracleQuery& query);

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
