// The C types of the Oracle Call Interface as the client library's exports
// expect them, declared here rather than taken from an Oracle header: the
// library is loaded at run time and never compiled against.
//
// Widths are what the ABI needs, not what the names suggest: ub4/sb4 and
// sword are int-sized on every platform (never long), boolean is an int the
// library writes in full, size_t appears only where Oracle declares it.
// Handles are opaque; they are only ever passed around as pointers.
//
// The version 7 data areas are plain memory that the client library fills:
//
// - Cda_Def (and Lda_Def, the same layout) is 64 bytes on 32-bit builds and
//   88 bytes on 64-bit builds. Oracle's own headers make it 88 bytes only for
//   some 64-bit configurations, and which size its 64-bit libraries expect
//   is documented nowhere, so the larger one is allocated: a library that
//   writes 64 bytes leaves the rest untouched. 8-byte aligned.
// - The host data area that the version 7 logon needs is 512 bytes on every
//   platform (the 64-bit size; 32-bit libraries use the first 256), 8-byte
//   aligned, and must stay in place for the life of the connection.
//
// Every area must be zero-filled before the call that first uses it; the
// types below start zeroed when value-initialised ({}).
#pragma once

#include <cstddef>

namespace vorn::client {

using ub1 = unsigned char;
using sb1 = signed char;
using ub2 = unsigned short;
using sb2 = signed short;
using ub4 = unsigned int;
using sb4 = signed int;
using sword = signed int;
using uword = unsigned int;
using boolean = int;
using OraText = unsigned char;

using OCIInd = sb2;
using OCIDuration = ub2;
using OCITypeCode = ub2;
// C enumerations in Oracle's headers; passed by value as int.
using OCITypeGetOpt = int;
using OCIPinOpt = int;
using OCILockOpt = int;

// Opaque handles and descriptors.
struct OCIEnv;
struct OCIError;
struct OCISvcCtx;
struct OCIStmt;
struct OCIBind;
struct OCIDefine;
struct OCIDescribe;
struct OCIServer;
struct OCISession;
struct OCISnapshot;
struct OCIResult;
struct OCILobLocator;
struct OCIComplexObject;
struct OCIRef;
struct OCIType;
struct OCIString;
struct OCIRaw;
struct OCIColl;
struct OCIDirPathCtx;
using OCITable = OCIColl;
using OCIArray = OCIColl;

inline constexpr std::size_t OCI_NUMBER_SIZE = 22;

// An Oracle NUMBER as the object calls exchange it: byte 0 is the length,
// then the NUMBER bytes.
struct OCINumber {
  ub1 OCINumberPart[OCI_NUMBER_SIZE];
};

// An Oracle DATE as the object calls lay it out in an instance: 8 bytes,
// aligned to 2.
struct OCITime {
  ub1 OCITimeHH;
  ub1 OCITimeMI;
  ub1 OCITimeSS;
};
struct OCIDate {
  sb2 OCIDateYYYY;
  ub1 OCIDateMM;
  ub1 OCIDateDD;
  OCITime OCIDateTime;
};
static_assert(sizeof(OCIDate) == 8 && alignof(OCIDate) == 2);

// Callbacks the library calls back into. A callback returns OCI_CONTINUE to
// go on; anything else ends the call with that value.
using OCIMallocCallback = void* (*)(void* ctxp, std::size_t size);
using OCIReallocCallback = void* (*)(void* ctxp, void* memptr, std::size_t newsize);
using OCIFreeCallback = void (*)(void* ctxp, void* memptr);
using OCICallbackInBind = sb4 (*)(void* ictxp, OCIBind* bindp, ub4 iter, ub4 index, void** bufpp,
                                  ub4* alenp, ub1* piecep, void** indp);
using OCICallbackOutBind = sb4 (*)(void* octxp, OCIBind* bindp, ub4 iter, ub4 index, void** bufpp,
                                   ub4** alenp, ub1* piecep, void** indp, ub2** rcodep);
using OCICallbackDefine = sb4 (*)(void* octxp, OCIDefine* defnp, ub4 iter, void** bufpp,
                                  ub4** alenp, ub1* piecep, void** indp, ub2** rcodep);
using OCICallbackLobRead = sb4 (*)(void* ctxp, const void* bufp, ub4 len, ub1 piece);
using OCICallbackLobWrite = sb4 (*)(void* ctxp, void* bufp, ub4* lenp, ub1* piece);
// Hands OCICacheFlush the next object reference to flush.
using OCICacheFlushGet = OCIRef* (*)(void* context, ub1* last);

// Bytes the client allocates for one cursor or logon data area.
inline constexpr std::size_t kDataAreaSize = sizeof(void*) == 8 ? 88 : 64;

// A version 7 cursor data area. The fields up to `chk` are the ones the
// library documents and the client reads; the rest belongs to the library.
struct alignas(8) Cda_Def {
  sb2 v2_rc;  // the return code in its old form; read `rc` instead
  ub2 ft;     // SQL function code of the parsed statement (4 = SELECT)
  ub4 rpc;    // rows processed, cumulative over fetches
  ub2 peo;    // parse error offset into the statement text
  ub1 fc;     // function code of the last call on this area
  ub1 rcs1;
  ub2 rc;  // the Oracle error number of the last call; 0 is success, 1403 end of fetch
  ub1 wrn;
  ub1 rcs2;
  sword rcs3;
  // The rowid of the last row processed, in parts the library does not name.
  struct Rowid {
    struct Part {
      ub4 rcs4;
      ub2 rcs5;
      ub1 rcs6;
    } rd;
    ub4 rcs7;
    ub2 rcs8;
  } rid;
  sword ose;
  ub1 chk;  // 172 in an opened cursor, 202 in a logged-on logon data area
  void* rcsp;
  ub1 rcs9[kDataAreaSize - (sizeof(void*) == 8 ? 56 : 48)];
};

// The logon data area has the cursor data area's shape.
using Lda_Def = Cda_Def;

static_assert(sizeof(Cda_Def) == kDataAreaSize);
static_assert(offsetof(Cda_Def, rpc) == 4);
static_assert(offsetof(Cda_Def, peo) == 8);
static_assert(offsetof(Cda_Def, rc) == 12);
static_assert(offsetof(Cda_Def, rid) == 20);
static_assert(offsetof(Cda_Def, ose) == 36);
static_assert(offsetof(Cda_Def, chk) == 40);
static_assert(offsetof(Cda_Def, rcsp) == (sizeof(void*) == 8 ? 48 : 44));

// Bytes the client allocates for the host data area of a version 7 logon.
inline constexpr std::size_t kHostDataAreaSize = 512;

struct HostDataArea {
  alignas(8) ub1 data[kHostDataAreaSize];
};

}  // namespace vorn::client
