// What a session asks of the queries and datasets that use it.
//
// Every TOracleQuery and TOracleDataSet attached to a session registers
// itself (TOracleSession::RegisterQuery, RegisterDataSet) when it gets the
// session and unregisters when it loses it or is destroyed. The session
// then
// - closes them when it logs off: the open cursor of every query, then
//   every dataset, each list from the last registered to the first, an
//   error of one not stopping the others;
// - re-creates the fields of its datasets when a field-shaping preference
//   changes in the form designer (SessionPreferences.h);
// - detaches them when it is destroyed (datasets first, then queries, each
//   from the last to the first), after which they have no session.
//
// The methods are named for the session's use, so that they never collide
// with the query's and dataset's own operations of similar names.
#pragma once

#include <string>

namespace vorn {

class RegisteredQuery {
 public:
  // The session logs off: release the statement (the query's Close). May
  // raise; the session ignores the error.
  virtual void CloseForLogOff() = 0;
  // The session is being destroyed: take no session from now on, which
  // includes unregistering (the query's Session set to none). Must not
  // raise.
  virtual void DetachFromSession() = 0;

 protected:
  ~RegisteredQuery() = default;
};

class RegisteredDataSet {
 public:
  // The session logs off: close the dataset. May raise; the session
  // ignores the error.
  virtual void CloseForLogOff() = 0;
  // The session is being destroyed: as RegisteredQuery::DetachFromSession.
  virtual void DetachFromSession() = 0;

  // For re-creating the fields at design time: the dataset's name in the
  // error message, whether it is open, forgetting its field definitions
  // (closing it if it needs to) and opening it again.
  virtual std::string DataSetName() const = 0;
  virtual bool DataSetActive() const = 0;
  virtual void ResetDataSetFieldDefs() = 0;
  virtual void OpenDataSet() = 0;

 protected:
  ~RegisteredDataSet() = default;
};

}  // namespace vorn
