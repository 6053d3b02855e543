// The version 7 calls on cursor data areas: open and close, parse, bind,
// define, describe, execute, fetch and LONG pieces. See CursorArea.h for the
// rules they follow.
#include <algorithm>
#include <cstring>
#include <string>

#include "AreaCall.h"
#include "ParamDescriptor.h"

using namespace vorn::server;
using namespace vorn::server::oci7;

namespace {

std::string textArgument(const OraText* text, sb4 length) {
  if (!text) return {};
  const char* p = reinterpret_cast<const char*>(text);
  return length < 0 ? std::string(p) : std::string(p, static_cast<size_t>(length));
}

// Lets go of a cursor the table no longer holds, under its environment's
// mutex.
void closeCursor(const std::shared_ptr<CursorArea>& cursor) noexcept {
  if (!cursor) return;
  std::shared_ptr<LogonArea> logon = cursor->sharedLogon();
  oci::EnvironmentLock lock(logon->environment());
  cursor->close();
}

// The version 7 describe type of a column: a ROWID is 11 there.
sb2 version7Type(ub2 describeType) {
  return describeType == SQLT_RDD ? static_cast<sb2>(SQLT_RID) : static_cast<sb2>(describeType);
}

}  // namespace

extern "C" sword oopen(Cda_Def* cursor, Lda_Def* lda, OraText*, sword, sword, OraText*, sword) {
  if (!cursor) return kNoArea;
  cursor->fc = kFcOpen;
  return shielded(cursor, [&] {
    std::shared_ptr<LogonArea> logon = lda ? areas().logon(lda) : nullptr;
    if (!logon || lda->chk != kLogonCheck) {
      cursor->chk = 0;
      return report(cursor, Outcome{1012, 0});
    }
    std::shared_ptr<CursorArea> replaced;
    Outcome outcome;
    {
      oci::EnvironmentLock lock(logon->environment());
      outcome = runGuarded(*logon, [&] {
        std::shared_ptr<CursorArea> existing = areas().cursor(cursor);
        if (existing && !existing->openedByCaller && &existing->logon() == logon.get()) {
          // A cursor variable's target: it keeps the query delivered to it.
          existing->openedByCaller = true;
        } else {
          replaced = areas().putCursor(cursor, std::make_shared<CursorArea>(logon));
          cursor->ft = 0;
          cursor->rpc = 0;
          cursor->peo = 0;
          clearRowid(cursor);
        }
        cursor->chk = kCursorCheck;
        return Outcome{};
      });
    }
    closeCursor(replaced);
    return report(cursor, outcome);
  });
}

extern "C" sword oclose(Cda_Def* cursor) {
  if (!cursor) return kNoArea;
  cursor->fc = kFcClose;
  return shielded(cursor, [&] {
    std::shared_ptr<CursorArea> state = areas().cursor(cursor);
    if (!state || cursor->chk != kCursorCheck) return report(cursor, Outcome{1001, 0});
    areas().takeCursor(cursor);
    closeCursor(state);
    cursor->chk = 0;
    return report(cursor, Outcome{});
  });
}

extern "C" sword oparse(Cda_Def* cursor, OraText* sqlstm, sb4 sqllen, sword defflg, ub4) {
  return cursorCall(cursor, kFcParse, [&](CursorArea& c) {
    if (!sqlstm) raiseOra(1009);
    c.parse(cursor, textArgument(sqlstm, sqllen), defflg != 0);
    return Outcome{};
  });
}

extern "C" sword oexec(Cda_Def* cursor) {
  return cursorCall(cursor, kFcExecute, [&](CursorArea& c) { return c.execute(cursor, 1, 0); });
}

extern "C" sword oexn(Cda_Def* cursor, sword iters, sword rowoff) {
  return cursorCall(cursor, kFcExecute, [&](CursorArea& c) {
    if (iters == 0) raiseOra(24333);
    if (iters < 0) raiseOra(21560, {"2"});
    if (rowoff < 0) raiseOra(21560, {"3"});
    return c.execute(cursor, static_cast<ub4>(iters), static_cast<ub4>(rowoff));
  });
}

extern "C" sword oexfet(Cda_Def* cursor, ub4 nrows, sword cancel, sword exact) {
  return cursorCall(cursor, kFcExecuteFetch, [&](CursorArea& c) {
    return c.executeAndFetch(cursor, nrows, cancel != 0, exact != 0);
  });
}

extern "C" sword ofen(Cda_Def* cursor, sword nrows) {
  return cursorCall(cursor, kFcFetch, [&](CursorArea& c) {
    if (nrows < 1) raiseOra(21560, {"2"});
    return c.fetch(cursor, static_cast<ub4>(nrows));
  });
}

extern "C" sword obndra(Cda_Def* cursor, OraText* sqlvar, sword sqlvl, ub1* progv, sword progvl,
                        sword ftype, sword, sb2* indp, ub2* alen, ub2* arcode, ub4 maxsiz,
                        ub4* cursiz, OraText*, sword, sword) {
  return cursorCall(cursor, kFcBind, [&](CursorArea& c) {
    c.bind(cursor, textArgument(sqlvar, sqlvl), progv, progvl, ftype, indp, alen, arcode, maxsiz,
           cursiz);
    return Outcome{};
  });
}

extern "C" sword odefin(Cda_Def* cursor, sword pos, ub1* buf, sword bufl, sword ftype, sword,
                        sb2* indp, OraText*, sword, sword, ub2* rlen, ub2* rcode) {
  return cursorCall(cursor, kFcDefine, [&](CursorArea& c) {
    c.define(cursor, pos, buf, bufl, ftype, indp, rlen, rcode);
    return Outcome{};
  });
}

extern "C" sword odescr(Cda_Def* cursor, sword pos, sb4* dbsize, sb2* dbtype, sb1* cbuf, sb4* cbufl,
                        sb4* dsize, sb2* prec, sb2* scale, sb2* nullok) {
  return cursorCall(cursor, kFcDescribe, [&](CursorArea& c) {
    const oci::ParamDescriptor& column = c.describe(cursor, pos);
    if (dbsize) *dbsize = column.dataSize;
    if (dbtype) *dbtype = version7Type(column.dataType);
    if (cbufl) {
      size_t room = *cbufl > 0 ? static_cast<size_t>(*cbufl) : 0;
      size_t n = cbuf ? std::min(room, column.name.size()) : column.name.size();
      if (cbuf && n) std::memcpy(cbuf, column.name.data(), n);
      *cbufl = static_cast<sb4>(n);
    }
    if (dsize) *dsize = column.displaySize;
    if (prec) *prec = static_cast<sb2>(column.precision);
    // A NUMBER without a scale describes with scale 0 here; -127 is the
    // version 8 convention.
    if (scale) *scale = static_cast<sb2>(column.scale == -127 ? 0 : column.scale);
    if (nullok) *nullok = column.nullable ? 1 : 0;
    return Outcome{};
  });
}

extern "C" sword oflng(Cda_Def* cursor, sword pos, ub1* buf, sb4 bufl, sword dtype, ub4* retl,
                       sb4 offset) {
  if (retl) *retl = 0;
  return cursorCall(cursor, kFcLong, [&](CursorArea& c) {
    ub4 n = c.readLong(cursor, pos, buf, bufl, dtype, offset);
    if (retl) *retl = n;
    return Outcome{};
  });
}
