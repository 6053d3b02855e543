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
// LOBs (LobFunctions.cpp; kind 0 CLOB, 1 BLOB, 2 BFILE, whose file is read):
// vorn_lob_length(lob, kind)     LOB, INT            INT      LENGTH, DBMS_LOB.GETLENGTH
// vorn_lob_substr(lob, kind, amount, offset)         TEXT/BLOB DBMS_LOB.SUBSTR
// vorn_lob_instr(lob, kind, pattern, offset, nth)    INT      DBMS_LOB.INSTR
// vorn_bfilename(dir, file)      TEXT, TEXT          BLOB     BFILENAME (see engine/Lob.h)
// vorn_bfile_exists(bfile)       BLOB                INT      DBMS_LOB.FILEEXISTS
//
// Errors travel through the session's SessionValues like the ora_* ones.
#pragma once

struct sqlite3;

namespace vorn::server {

class Session;

void registerEngineFunctions(sqlite3* db, Session* session);
void registerLobFunctions(sqlite3* db, Session* session);

}  // namespace vorn::server
