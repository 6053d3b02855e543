// The version 7 data areas as this library fills them. A cursor or logon
// data area (Cda_Def, Lda_Def in oci.h) is the caller's memory: the library
// writes only its documented fields, bytes 0 to 40, and keeps the state
// behind an area in a table of its own keyed by the area's address
// (AreaTable.h), so an area of 64 bytes is as good as one of 88.
//
// Every call on an area sets the function code (fc) of the call, the
// return code (rc: 0, or the Oracle error number, 1403 at the end of a
// fetch), the old-style code (v2_rc: minus the error number) and the
// warning flags (wrn), and returns v2_rc: non-zero exactly when rc is.
#pragma once

#include <cstddef>

#include "oci.h"
#include "value/RowidText.h"

namespace vorn::server::oci7 {

// The check byte (chk) of an area opened by oopen and of a logged-on logon
// data area; anything else there means "not open".
constexpr ub1 kCursorCheck = 172;
constexpr ub1 kLogonCheck = 202;

// How a logon data area was logged on (rcs1).
constexpr ub1 kLoggedOnByOlog = 1;
constexpr ub1 kLoggedOnByOrlon = 2;

// Function codes (fc): which call last used a cursor data area.
enum FunctionCode : ub1 {
  kFcExecute = 4,  // oexec, oexn
  kFcDefine = 8,
  kFcFetch = 12,
  kFcOpen = 14,
  kFcClose = 16,
  kFcParse = 54,
  kFcExecuteFetch = 56,
  kFcLong = 58,
  kFcDescribe = 60,  // odescr, odessp
  kFcBind = 62,
};

// Warning flags (wrn).
constexpr ub1 kWarningAny = 0x01;
constexpr ub1 kWarningTruncated = 0x02;

// What a call leaves in its area: an Oracle error number (0 for success)
// and warning flags.
struct Outcome {
  int code = 0;
  ub1 warnings = 0;
};

// Writes rc, v2_rc and wrn (fc is written when the call starts); returns
// the call's result.
sword report(Cda_Def* area, const Outcome& outcome);

// The parts of a ROWID in rid, as version 7 clients decode them: data
// object (rcs4), file (rcs5), block (rcs7), row (rcs8); rcs6 stays 0.
void writeRowid(Cda_Def* area, const RowidParts& rowid);
void clearRowid(Cda_Def* area);

// The return value of a call that has no area to report through.
constexpr sword kNoArea = -1001;

// The layout the client shares (oci.h, include/vorn/client/OciTypes.h):
// every field the library writes lies in the first 41 bytes.
static_assert(offsetof(Cda_Def, v2_rc) == 0);
static_assert(offsetof(Cda_Def, ft) == 2);
static_assert(offsetof(Cda_Def, rpc) == 4);
static_assert(offsetof(Cda_Def, peo) == 8);
static_assert(offsetof(Cda_Def, fc) == 10);
static_assert(offsetof(Cda_Def, rcs1) == 11);
static_assert(offsetof(Cda_Def, rc) == 12);
static_assert(offsetof(Cda_Def, wrn) == 14);
static_assert(offsetof(Cda_Def, rid) == 20);
static_assert(offsetof(Cda_Def, ose) == 36);
static_assert(offsetof(Cda_Def, chk) == 40);
static_assert(sizeof(Cda_Def) == CDA_SIZE);
static_assert(sizeof(void*) != 8 || CDA_SIZE == 88);

}  // namespace vorn::server::oci7
