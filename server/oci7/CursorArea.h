// What stands behind an open cursor data area: a statement handle of the
// version 8 layer (text, binds, defines, the engine statement), run with
// the version 7 rules:
//  - oparse parses at once (a query's names are resolved too); a statement
//    that fails to parse reports there, unless the parse was deferred (then
//    at the next describe or execute). A non-deferred parse of DDL also
//    executes it (a following oexec does nothing for it).
//  - oexec/oexn execute (a query: its cursor is opened, nothing fetched;
//    DML: array rows rowoff .. iters-1; anything else once); while the
//    logon's auto-commit is on, a successful non-query commits.
//  - oexfet executes a query and fetches; ofen fetches. rows processed is
//    cumulative; fewer rows than asked end with 1403, the rows delivered.
//    A query may be fetched without defines (rows are counted).
//  - A truncated value is a warning (wrn) when an indicator or column
//    return code shows it, else ORA-01406; NULL without indicator ORA-01405.
//  - The LONG and LONG RAW columns of the last row fetched stay readable
//    from any offset (oflng), also after the fetch that reached the end.
//  - PL/SQL blocks run once; their binds come back as BindHandle.h says. A
//    cursor data area bound as a cursor variable (SQLT_CUR) need not be
//    open: the block's OPEN ... FOR opens it (a later oopen of it keeps the
//    query); then it is described and fetched like any query.
// Each call writes what it changed into the area (ft at parse; rpc, peo
// and the ROWID parts after execute and fetch).
#pragma once

#include <memory>
#include <string>

#include "DataArea.h"

namespace vorn::server {
class Statement;
}

namespace vorn::server::oci {
class ErrorHandle;
class ParamDescriptor;
class StatementHandle;
}  // namespace vorn::server::oci

namespace vorn::server::oci7 {

class LogonArea;

class CursorArea {
 public:
  explicit CursorArea(std::shared_ptr<LogonArea> logon);
  ~CursorArea();
  CursorArea(const CursorArea&) = delete;
  CursorArea& operator=(const CursorArea&) = delete;

  LogonArea& logon() const { return *logon_; }
  const std::shared_ptr<LogonArea>& sharedLogon() const { return logon_; }

  // Lets go of the statement and its engine cursor; the area is then done
  // with. Runs under the environment's mutex (the session's statement list
  // changes).
  void close();

  void parse(Cda_Def* area, std::string text, bool deferred);
  Outcome execute(Cda_Def* area, ub4 iters, ub4 rowoff);
  Outcome executeAndFetch(Cda_Def* area, ub4 rows, bool cancel, bool exact);
  Outcome fetch(Cda_Def* area, ub4 rows);

  // obndra. A PL/SQL table has a maximum size (maxsiz) and its current
  // count in *cursiz; a cursor variable (SQLT_CUR) names the cursor data
  // area that receives the query the block opens.
  void bind(Cda_Def* area, const std::string& name, ub1* progv, sword progvl, sword ftype,
            sb2* indp, ub2* alen, ub2* arcode, ub4 maxsiz, ub4* cursiz);
  void define(Cda_Def* area, sword position, ub1* buf, sword bufl, sword ftype, sb2* indp,
              ub2* rlen, ub2* rcode);
  // Select-list item `position` (1-based); ORA-01007 past the last one (and
  // for any position of a statement that is no query). A statement whose
  // parse was deferred is parsed here (its errors set the parse error offset).
  const oci::ParamDescriptor& describe(Cda_Def* area, sword position);
  // Bytes of LONG or LONG RAW column `position` of the last row fetched,
  // from byte `offset` on, at most `size` (returns how many).
  ub4 readLong(Cda_Def* area, sword position, ub1* buf, sb4 size, sword dtype, sb4 offset);

  // The query a cursor variable bound to this area was opened with: it
  // becomes the area's query, described and ready to fetch.
  void receive(Cda_Def* area, std::unique_ptr<Statement> query);

  // False for an area that only a cursor variable opened (never oopen):
  // its first oopen keeps the query the variable delivered.
  bool openedByCaller = true;

 private:
  // The statement; ORA-01003 when nothing was parsed.
  oci::StatementHandle& parsedStatement();
  // Writes rpc, peo, ft and the ROWID parts after an execute or fetch.
  void writeResults(Cda_Def* area);
  ub4 commitMode() const;

  std::shared_ptr<LogonArea> logon_;
  std::unique_ptr<oci::ErrorHandle> errors_;
  std::unique_ptr<oci::StatementHandle> statement_;
  bool executedAtParse_ = false;
};

}  // namespace vorn::server::oci7
