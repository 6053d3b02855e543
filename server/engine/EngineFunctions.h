// The engine's own SQL functions, registered with every connection of a
// session next to the value layer's ora_* functions:
//
// SQLite name                   arguments            result   purpose
// ----------------------------- -------------------- -------- ------------------------------
// vorn_rowid(obj, rowid)        INT, INT             TEXT     ROWID text of a table row
// vorn_rowid_num(text, obj)     TEXT, INT            INT      SQLite rowid of a ROWID of table
//                                                             obj (NULL for another object;
//                                                             ORA-01410 when malformed)
// vorn_error(code)              INT                  -        raises ORA-code
// vorn_not_null(v, col, upd)    any, TEXT, INT       any      v, or ORA-01400 / ORA-01407
// vorn_nextval(obj)             INT                  INT      sequence NEXTVAL
// vorn_currval(obj)             INT                  INT      sequence CURRVAL (ORA-08002)
// vorn_empty_lob(kind)          INT                  TEXT/BLOB an empty CLOB ('') or BLOB (x'')
//
// Errors travel through the session's SessionValues like the ora_* ones.
#pragma once

struct sqlite3;

namespace vorn::server {

class Session;

void registerEngineFunctions(sqlite3* db, Session* session);

}  // namespace vorn::server
