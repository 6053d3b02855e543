// The version 7 call table: the logon-data-area and cursor-data-area calls
// of the client library, with the optional olog (the preferred logon) and
// opinit (process initialisation).
//
//   Lda_Def lda{};
//   HostDataArea hda{};
//   Oci7().olog(&lda, hda.data, connect, -1, nullptr, -1, nullptr, -1, OCI_LM_DEF);
//   if (lda.rc != 0) ...
//
// Version 7 calls report through the `rc` field of the data area they were
// given; their own result only says whether it is worth looking.
#pragma once

#include <array>
#include <cstddef>

#include "vorn/client/ClientEntry.h"
#include "vorn/client/OciTypes.h"

// The required calls, in the order they are resolved: CALL(name, signature).
// A library lacking any of them cannot be used in version 7 mode.
#define VORN_OCI7_CALL_SET(CALL)                                                                  \
  CALL(orlon, sword(Cda_Def* lda, ub1* hda, OraText* uid, sword uidl, OraText* pswd, sword pswdl, \
                    sword audit))                                                                 \
  CALL(ologof, sword(Cda_Def* lda))                                                               \
  CALL(oerhms, sword(Cda_Def* lda, sb2 rcode, OraText* buf, sword bufsiz))                        \
  CALL(oopen, sword(Cda_Def* cursor, Cda_Def* lda, OraText* dbn, sword dbnl, sword arsize,        \
                    OraText* uid, sword uidl))                                                    \
  CALL(oparse, sword(Cda_Def* cursor, OraText* sqlstm, sb4 sqllen, sword defflg, ub4 lngflg))     \
  CALL(odefin, sword(Cda_Def* cursor, sword pos, ub1* buf, sword bufl, sword ftype, sword scale,  \
                     sb2* indp, OraText* fmt, sword fmtl, sword fmtt, ub2* rlen, ub2* rcode))     \
  CALL(oexfet, sword(Cda_Def* cursor, ub4 nrows, sword cancel, sword exact))                      \
  CALL(ofen, sword(Cda_Def* cursor, sword nrows))                                                 \
  CALL(oflng,                                                                                     \
       sword(Cda_Def* cursor, sword pos, ub1* buf, sb4 bufl, sword dtype, ub4* retl, sb4 offset)) \
  CALL(oclose, sword(Cda_Def* cursor))                                                            \
  CALL(odescr, sword(Cda_Def* cursor, sword pos, sb4* dbsize, sb2* dbtype, sb1* cbuf, sb4* cbufl, \
                     sb4* dsize, sb2* prec, sb2* scale, sb2* nullok))                             \
  CALL(oexec, sword(Cda_Def* cursor))                                                             \
  CALL(oexn, sword(Cda_Def* cursor, sword iters, sword rowoff))                                   \
  CALL(ocom, sword(Cda_Def* lda))                                                                 \
  CALL(orol, sword(Cda_Def* lda))                                                                 \
  CALL(ocon, sword(Cda_Def* lda))                                                                 \
  CALL(ocof, sword(Cda_Def* lda))                                                                 \
  CALL(obreak, sword(Cda_Def* lda))                                                               \
  CALL(obndra, sword(Cda_Def* cursor, OraText* sqlvar, sword sqlvl, ub1* progv, sword progvl,     \
                     sword ftype, sword scale, sb2* indp, ub2* alen, ub2* arcode, ub4 maxsiz,     \
                     ub4* cursiz, OraText* fmt, sword fmtl, sword fmtt))                          \
  CALL(odessp,                                                                                    \
       sword(Cda_Def* cursor, OraText* objnam, std::size_t onlen, ub1* rsv1, std::size_t rsv1ln,  \
             ub1* rsv2, std::size_t rsv2ln, ub2* ovrld, ub2* pos, ub2* level, OraText** argnam,   \
             ub2* arnlen, ub2* dtype, ub1* defsup, ub1* mode, ub4* dtsiz, sb2* prec, sb2* scale,  \
             ub1* radix, ub4* spare, ub4* arrsiz))

namespace vorn::client {

class Oci7CallTable {
 public:
// Names and prototypes are pasted as they are; parentheses would break them.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define VORN_OCI_DECLARE_ENTRY(name, signature) ClientEntry<signature> name{#name};
  VORN_OCI7_CALL_SET(VORN_OCI_DECLARE_ENTRY)
#undef VORN_OCI_DECLARE_ENTRY

  // Optional: resolved only when the whole set above was, and opinit only
  // when olog was.
  ClientEntry<sword(Cda_Def* lda, ub1* hda, OraText* uid, sword uidl, OraText* pswd, sword pswdl,
                    OraText* conn, sword connl, ub4 mode)>
      olog{"olog"};
  ClientEntry<sword(ub4 mode)> opinit{"opinit"};

// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define VORN_OCI_COUNT_ENTRY(name, signature) +1
  static constexpr std::size_t kRequiredCount = 0 VORN_OCI7_CALL_SET(VORN_OCI_COUNT_ENTRY);
#undef VORN_OCI_COUNT_ENTRY

  // The required entries in the order of resolution.
  std::array<const ClientEntryBase*, kRequiredCount> RequiredEntries() const {
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define VORN_OCI_ENTRY_ADDRESS(name, signature) &name,
    return {VORN_OCI7_CALL_SET(VORN_OCI_ENTRY_ADDRESS)};
#undef VORN_OCI_ENTRY_ADDRESS
  }
};

namespace detail {
extern Oci7CallTable oci7CallTable;
}

// The process's version 7 call table.
inline const Oci7CallTable& Oci7() {
  return detail::oci7CallTable;
}

}  // namespace vorn::client
