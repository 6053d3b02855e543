// What the dictionary features (constraint checks, message translation,
// default values, field options, key fields) need of the dataset they serve.
//
// The dataset answers through this narrow interface, so those features
// depend on its facts and not on its implementation: its fields and the
// record being edited (through the host's TDataSet and its fields, which
// read the active record; OldValue reads the stored one), its session, its
// options, its updating table, the rowid of the record being edited, its
// master-link fields, and a query of its own for the statements they
// generate. That query is never the one the dataset fetches its rows with:
// clearing that one would lose the dataset's statement, its variables and
// its open cursor.
#pragma once

#include <string>

namespace vorn {

class TDataSet;
class TField;
class TOracleDictionary;
class TOracleQuery;
class TOracleSession;
class TSequenceField;

class DictionaryDataSet {
 public:
  virtual ~DictionaryDataSet() = default;

  // The dataset itself: fields, state, the active record.
  virtual TDataSet& DataSet() = 0;
  // Null when the dataset has none.
  virtual TOracleSession* Session() const = 0;
  virtual TOracleDictionary& Dictionary() = 0;
  virtual TSequenceField& SequenceField() = 0;
  // The table generated statements address (may raise, for a cursor
  // dataset without UpdatingTable).
  virtual std::string UpdatingTableName() = 0;
  // The select list has a rowid column.
  virtual bool HasRowId() const = 0;
  // The precision and scale of the select-list column a field shows; false
  // for a field that shows none.
  virtual bool ColumnPrecision(const TField& field, int& precision, int& scale) const = 0;
  // The rowid of the stored record that is being edited; empty for a new
  // record.
  virtual std::string CurrentRowId() = 0;
  // The field takes its value from the master dataset (a detail's link).
  virtual bool IsMasterField(const std::string& fieldName) const = 0;
  virtual std::string UniqueFields() const = 0;
  // A query of the dataset for generated statements, on its session.
  virtual TOracleQuery& StatementQuery() = 0;
  // Offers the message to the dataset's OnTranslateMessage event.
  virtual void TranslateMessageEvent(int errorCode, const std::string& constraintName, char action,
                                     std::string& message) = 0;
};

}  // namespace vorn
