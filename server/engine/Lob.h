// LOB values in the engine. A CLOB is stored as TEXT and a BLOB as a SQLite
// BLOB in its row; an empty LOB (EMPTY_CLOB(), EMPTY_BLOB()) is a value of
// no characters or bytes, which is not NULL. A BFILE value names a file:
// the directory alias and the file name, stored as the bytes
// "DIRECTORY\0file"; the file itself is read from the directory's folder
// when a caller reads the BFILE.
//
// A locator (the call interface's OCILobLocator) holds a LOB value as it
// was read and, when the value came straight from a table column, the row
// it lives in (LobRef). Writing through a locator changes that row's
// column: the session must hold the row's lock (SELECT ... FOR UPDATE, or a
// row it inserted or updated in its transaction), else ORA-22920 as in
// Oracle.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Value.h"

namespace vorn::server {

class Catalog;
class Session;

// Where a LOB column of a query or RETURNING clause comes from.
struct LobSource {
  int64_t object = 0;  // the table's object number
  std::string owner, table, column;
};

// One LOB value in one row.
struct LobRef {
  LobSource source;
  int64_t rowid = 0;  // the SQLite rowid
};

// Writes `value` into the LOB column of the row `ref` names: ORA-22920
// unless the session holds the row's lock, ORA-22922 when the row is gone.
// Runs in the session's write transaction.
void writeLob(Session& session, const LobRef& ref, const Value& value);

// BFILE values.
struct BfileName {
  std::string directory;  // the alias, as CREATE DIRECTORY named it
  std::string file;
};
std::string encodeBfile(const BfileName& name);
// False when `bytes` is no BFILE value.
bool decodeBfile(std::string_view bytes, BfileName& out);

// The path of a BFILE's file: ORA-22285 when the directory does not exist,
// ORA-22288 when the file name would leave the directory (an absolute name,
// "..", a path separator).
std::string bfilePath(const Catalog& catalog, const BfileName& name, const char* operation);
bool bfileExists(const Catalog& catalog, const BfileName& name);
// The whole file: ORA-22288 when it does not exist or cannot be read.
std::string readBfile(const Catalog& catalog, const BfileName& name, const char* operation);

}  // namespace vorn::server
