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
// Values of user-defined types (ObjectFunctions.cpp; `type` is a type's
// object number, the byte forms are ObjectValue.h's):
// vorn_obj(type, a1, ...)        any                  BLOB     object constructor (fits each
//                                                             attribute)
// vorn_coll(type, e1, ...)       any                  BLOB     collection constructor
// vorn_attr(obj, i)              BLOB, INT            any      attribute i (0-based)
// vorn_attr_set(obj, i, v, type) BLOB, INT, any, INT  BLOB     the object with attribute i set
// vorn_udt_fit(v, type)          BLOB, INT            BLOB     a value stored as the type
// vorn_ref(table, oid)           INT, BLOB            BLOB     REF of an object table's row
// vorn_ref_table(ref)            BLOB                 INT      where a REF points (ORA-22880
// vorn_ref_oid(ref)              BLOB                 BLOB     for bytes that are no REF)
// vorn_ref_fit(ref, type, scope) BLOB, INT, INT       BLOB     a REF stored in a REF column
// vorn_obj_eq(a, b)              BLOB, BLOB           INT      object equality (NULL when
//                                                             undecided)
//
// Errors travel through the session's SessionValues like the ora_* ones.
#pragma once

struct sqlite3;

namespace vorn::server {

class Session;

void registerEngineFunctions(sqlite3* db, Session* session);
void registerLobFunctions(sqlite3* db, Session* session);
void registerObjectFunctions(sqlite3* db, Session* session);

}  // namespace vorn::server
