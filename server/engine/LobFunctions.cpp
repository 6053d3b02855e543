// The engine's SQL functions on LOBs and BFILEs (LENGTH of a LOB, BFILENAME
// and DBMS_LOB's functions in SQL); see EngineFunctions.h for the list.
// Offsets and amounts are 1-based, in characters for CLOBs (one byte each
// in the database character set) and bytes for BLOBs and BFILEs.
#include <sqlite3.h>

#include <string>
#include <string_view>

#include "engine/EngineFunctions.h"
#include "engine/Lob.h"
#include "engine/Session.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

Session* sessionOf(sqlite3_context* ctx) {
  return static_cast<Session*>(sqlite3_user_data(ctx));
}

void fail(sqlite3_context* ctx, const OraError& e) {
  sessionOf(ctx)->values().setPendingError(e);
  sqlite3_result_error(ctx, e.message().c_str(), -1);
}

std::string_view bytesOf(sqlite3_value* v) {
  if (sqlite3_value_type(v) == SQLITE_BLOB) {
    const void* p = sqlite3_value_blob(v);
    return std::string_view(static_cast<const char*>(p),
                            static_cast<size_t>(sqlite3_value_bytes(v)));
  }
  const unsigned char* p = sqlite3_value_text(v);
  return std::string_view(reinterpret_cast<const char*>(p),
                          static_cast<size_t>(sqlite3_value_bytes(v)));
}

bool anyNull(int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i) {
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
  }
  return false;
}

// The bytes of a LOB argument; a BFILE (kind 2) is read from its file.
std::string_view lobBytes(sqlite3_context* ctx, sqlite3_value* v, int kind, std::string& file,
                          const char* operation) {
  std::string_view bytes = bytesOf(v);
  if (kind != 2) return bytes;
  BfileName name;
  if (!decodeBfile(bytes, name)) raiseOra(22275);
  file = readBfile(*sessionOf(ctx)->catalog(), name, operation);
  return file;
}

void resultLike(sqlite3_context* ctx, sqlite3_value* like, std::string_view bytes) {
  if (bytes.empty()) return sqlite3_result_null(ctx);
  if (sqlite3_value_type(like) == SQLITE_TEXT) {
    sqlite3_result_text(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }
}

// vorn_lob_length(lob, kind): characters or bytes; 0 for an empty LOB.
void lengthFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  try {
    std::string file;
    std::string_view bytes = lobBytes(ctx, argv[0], sqlite3_value_int(argv[1]), file, "GETLENGTH");
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(bytes.size()));
  } catch (const OraError& e) {
    fail(ctx, e);
  }
}

// vorn_lob_substr(lob, kind, amount, offset): DBMS_LOB.SUBSTR; NULL for an
// amount outside 1 .. 32767 or an offset outside 1 .. the length.
void substrFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
  try {
    std::string file;
    std::string_view bytes = lobBytes(ctx, argv[0], sqlite3_value_int(argv[1]), file, "SUBSTR");
    sqlite3_int64 amount = sqlite3_value_int64(argv[2]);
    sqlite3_int64 offset = sqlite3_value_int64(argv[3]);
    if (amount < 1 || amount > 32767 || offset < 1 ||
        offset > static_cast<sqlite3_int64>(bytes.size())) {
      return sqlite3_result_null(ctx);
    }
    resultLike(ctx, argv[0],
               bytes.substr(static_cast<size_t>(offset - 1), static_cast<size_t>(amount)));
  } catch (const OraError& e) {
    fail(ctx, e);
  }
}

// vorn_lob_instr(lob, kind, pattern, offset, nth): DBMS_LOB.INSTR; 0 when
// not found, NULL for an offset or nth below 1.
void instrFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
  try {
    std::string file;
    std::string_view bytes = lobBytes(ctx, argv[0], sqlite3_value_int(argv[1]), file, "INSTR");
    std::string_view pattern = bytesOf(argv[2]);
    sqlite3_int64 offset = sqlite3_value_int64(argv[3]);
    sqlite3_int64 nth = sqlite3_value_int64(argv[4]);
    if (offset < 1 || nth < 1 || pattern.empty()) return sqlite3_result_null(ctx);
    size_t from = static_cast<size_t>(offset - 1);
    for (sqlite3_int64 found = 0; from <= bytes.size();) {
      size_t at = bytes.find(pattern, from);
      if (at == std::string_view::npos) break;
      if (++found == nth) return sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(at) + 1);
      from = at + 1;
    }
    sqlite3_result_int64(ctx, 0);
  } catch (const OraError& e) {
    fail(ctx, e);
  }
}

// vorn_bfilename(directory, file): the BFILE value naming the file.
void bfilenameFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
  std::string bytes =
      encodeBfile(BfileName{std::string(bytesOf(argv[0])), std::string(bytesOf(argv[1]))});
  sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

// vorn_bfile_exists(bfile): DBMS_LOB.FILEEXISTS, 1 or 0.
void fileExistsFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  try {
    BfileName name;
    if (!decodeBfile(bytesOf(argv[0]), name)) raiseOra(22275);
    sqlite3_result_int(ctx, bfileExists(*sessionOf(ctx)->catalog(), name) ? 1 : 0);
  } catch (const OraError& e) {
    fail(ctx, e);
  }
}

}  // namespace

void registerLobFunctions(sqlite3* db, Session* session) {
  struct Fn {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
  };
  static const Fn kFunctions[] = {
      {"vorn_lob_length", 2, lengthFn},       {"vorn_lob_substr", 4, substrFn},
      {"vorn_lob_instr", 5, instrFn},         {"vorn_bfilename", 2, bfilenameFn},
      {"vorn_bfile_exists", 1, fileExistsFn},
  };
  for (const Fn& f : kFunctions) {
    // Not deterministic: a BFILE's file may change between calls.
    if (sqlite3_create_function_v2(db, f.name, f.args, SQLITE_UTF8, session, f.fn, nullptr, nullptr,
                                   nullptr) != SQLITE_OK) {
      raiseOra(600, {"vorn-register", f.name});
    }
  }
}

}  // namespace vorn::server
