// Writing LOB values through locators and reading BFILEs; see Lob.h.
#include "engine/Lob.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/Catalog.h"
#include "engine/Database.h"
#include "engine/LockTable.h"
#include "engine/Marshalling.h"
#include "engine/Session.h"
#include "engine/Sqlite.h"
#include "value/OraError.h"

namespace vorn::server {

void writeLob(Session& session, const LobRef& ref, const Value& value) {
  if (!session.database().locks().holdsRow(&session, ref.source.object, ref.rowid)) {
    raiseOra(22920);
  }
  session.beginWrite();
  Session::Connection& main = session.mainConnection();
  std::string sql = "UPDATE " + quoteIdent(ref.source.owner + "." + ref.source.table) + " SET " +
                    quoteIdent(ref.source.column) + " = ?1 WHERE rowid = ?2";
  Borrowed stmt(session, main, sql);
  if (value.kind() == Value::Kind::Text && value.asText().empty()) {
    // An empty CLOB stays an empty value, not NULL.
    sqlite3_bind_text(stmt.get(), 1, "", 0, SQLITE_STATIC);
  } else {
    bindValue(stmt.get(), 1, value);
  }
  sqlite3_bind_int64(stmt.get(), 2, ref.rowid);
  stepRow(session, main.db, stmt.get());
  sqlite3_reset(stmt.get());
  if (sqlite3_changes(main.db) == 0) raiseOra(22922);
}

std::string encodeBfile(const BfileName& name) {
  std::string bytes = name.directory;
  bytes += '\0';
  bytes += name.file;
  return bytes;
}

bool decodeBfile(std::string_view bytes, BfileName& out) {
  size_t nul = bytes.find('\0');
  if (nul == std::string_view::npos) return false;
  out.directory = std::string(bytes.substr(0, nul));
  out.file = std::string(bytes.substr(nul + 1));
  return true;
}

namespace {

// A file name that stays inside its directory: no separators, not "." or
// "..", no NUL.
bool isPlainFileName(std::string_view file) {
  if (file.empty() || file == "." || file == "..") return false;
  return file.find_first_of(std::string_view("/\\\0:", 4)) == std::string_view::npos;
}

}  // namespace

std::string bfilePath(const Catalog& catalog, const BfileName& name, const char* operation) {
  const std::string* folder = catalog.findDirectory(name.directory);
  if (!folder) raiseOra(22285, {operation});
  if (!isPlainFileName(name.file)) {
    raiseOra(22288, {operation, "invalid file name: " + name.file});
  }
  return (std::filesystem::path(*folder) / name.file).string();
}

bool bfileExists(const Catalog& catalog, const BfileName& name) {
  std::error_code ec;
  std::string path = bfilePath(catalog, name, "FILEEXISTS");
  return std::filesystem::is_regular_file(path, ec);
}

std::string readBfile(const Catalog& catalog, const BfileName& name, const char* operation) {
  std::string path = bfilePath(catalog, name, operation);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    raiseOra(22288, {operation, "No such file or directory"});
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) raiseOra(22288, {operation, "cannot open " + name.file});
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) raiseOra(22288, {operation, "cannot read " + name.file});
  return bytes;
}

}  // namespace vorn::server
