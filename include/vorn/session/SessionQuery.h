// The query that runs the statements a session generates itself:
// savepoints, the session options (ALTER SESSION), the version 7 password
// change (ALTER USER) and the probes of the character width and the date
// text length.
//
// The session cannot build a TOracleQuery itself (the query subsystem is
// built on the session), so the query subsystem installs a factory here
// once, and every session asks it for its internal query (created on first
// use, kept until the session goes) and for the temporary queries of its
// probes. A query made by the factory is attached to the session it was
// made for, has no owner, and registers itself with the session as every
// query does (SessionClients.h); the session deletes it.
//
// Until a factory is installed, every operation that needs such a query
// raises vorn::Exception saying so; the probes fall back to their defaults
// as they do for any error.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vorn {

class TOracleSession;

// What the session asks of its own queries; the query operations of the
// same names.
class SessionQuery {
 public:
  virtual ~SessionQuery() = default;

  // Removes the variables and the SQL text.
  virtual void Clear() = 0;
  virtual void SetSQLText(const std::string& text) = 0;
  // Parses, executes and, for a query, fetches the first rows. Database
  // errors raise EOracleError.
  virtual void Execute() = 0;
  virtual bool Eof() = 0;
  virtual void Next() = 0;
  // Columns count from 0.
  virtual int FieldAsInteger(int column) = 0;
  virtual std::string FieldAsString(int column) = 0;
};

using SessionQueryFactory = std::function<std::unique_ptr<SessionQuery>(TOracleSession& session)>;

// Installs `factory` for every session of the process and returns the one
// it replaces; an empty factory uninstalls. Sessions keep the internal
// query they already made.
SessionQueryFactory SetSessionQueryFactory(SessionQueryFactory factory);

// A new query attached to `session`; raises vorn::Exception when no factory
// is installed.
std::unique_ptr<SessionQuery> CreateSessionQuery(TOracleSession& session);

}  // namespace vorn
