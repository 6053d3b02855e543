// The engine's SQL functions; see EngineFunctions.h.
#include "engine/EngineFunctions.h"

#include <sqlite3.h>

#include "engine/Catalog.h"
#include "engine/Session.h"
#include "engine/Statement.h"
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

void rowidFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[1]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  char buf[kRowidTextLength];
  rowidToText(rowidParts(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1])), buf);
  sqlite3_result_text(ctx, buf, static_cast<int>(kRowidTextLength), SQLITE_TRANSIENT);
}

void rowidNumFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  try {
    const char* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    RowidParts parts =
        rowidFromText(std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(argv[0]))));
    if (static_cast<int64_t>(parts.object) != sqlite3_value_int64(argv[1])) {
      return sqlite3_result_null(ctx);
    }
    sqlite3_result_int64(ctx, sqliteRowid(parts));
  } catch (const OraError& e) {
    fail(ctx, e);
  }
}

void errorFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  int code = sqlite3_value_int(argv[0]);
  fail(ctx, OraError(code, oraMessage(code)));
}

void notNullFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_NULL) return sqlite3_result_value(ctx, argv[0]);
  std::string col(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])));
  int code = sqlite3_value_int(argv[2]) ? 1407 : 1400;
  fail(ctx, OraError(code, oraMessage(code, {col})));
}

const SequenceInfo* sequenceOf(Session* s, int64_t obj) {
  return s->catalog()->sequenceById(obj);
}

void nextvalFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Session* s = sessionOf(ctx);
  try {
    const SequenceInfo* seq = sequenceOf(s, sqlite3_value_int64(argv[0]));
    if (!seq) raiseOra(2289);
    sqlite3_result_int64(ctx, s->nextval(*seq));
  } catch (const OraError& e) {
    fail(ctx, e);
  }
}

void currvalFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Session* s = sessionOf(ctx);
  try {
    const SequenceInfo* seq = sequenceOf(s, sqlite3_value_int64(argv[0]));
    if (!seq) raiseOra(2289);
    sqlite3_result_int64(ctx, s->currval(*seq));
  } catch (const OraError& e) {
    fail(ctx, e);
  }
}

void emptyLobFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_int(argv[0]) == 0) {
    sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
  } else {
    sqlite3_result_zeroblob(ctx, 0);
  }
}

}  // namespace

void registerEngineFunctions(sqlite3* db, Session* session) {
  struct Fn {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
  };
  static const Fn kFunctions[] = {
      {"vorn_rowid", 2, rowidFn, true},        {"vorn_rowid_num", 2, rowidNumFn, true},
      {"vorn_error", 1, errorFn, false},       {"vorn_not_null", 3, notNullFn, true},
      {"vorn_nextval", 1, nextvalFn, false},   {"vorn_currval", 1, currvalFn, false},
      {"vorn_empty_lob", 1, emptyLobFn, true},
  };
  for (const Fn& f : kFunctions) {
    int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
    if (sqlite3_create_function_v2(db, f.name, f.args, flags, session, f.fn, nullptr, nullptr,
                                   nullptr) != SQLITE_OK) {
      raiseOra(600, {"vorn-register", f.name});
    }
  }
  registerLobFunctions(db, session);
  registerObjectFunctions(db, session);
}

}  // namespace vorn::server
