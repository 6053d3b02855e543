// The LOB and BFILE calls (OCILob*); see LobLocator.h for what a locator
// holds. Every call checks its handles (OCI_INVALID_HANDLE), then runs in
// the guarded frame; Oracle's errors: ORA-22275 for a locator without LOB,
// ORA-21560 for an offset of 0 or another argument out of range, ORA-22920
// for a write to a row that is not locked, ORA-22289 for reading a BFILE
// that is not open, ORA-22926 for trimming past the end.
//
// OCILobRead and OCILobWrite move data in one piece, in pieces through the
// callback, or piecewise by polling: the call answers OCI_NEED_DATA and is
// called again for the next piece until it answers OCI_SUCCESS.
#include <algorithm>
#include <cstring>

#include "CallGuard.h"
#include "ExternalData.h"
#include "LobLocator.h"
#include "ServiceContext.h"
#include "Trace.h"
#include "UserSession.h"
#include "engine/Session.h"

namespace vorn::server::oci {
namespace {

// The database character set: WE8ISO8859P1.
constexpr ub2 kDatabaseCharset = 31;

bool lobOk(const OCILobLocator* locp) {
  return lobLocatorOf(locp) != nullptr;
}

// A call on a service context: the frame, the logged-on session.
template <class Body>
sword sessionCall(OCISvcCtx* svchp, OCIError* errhp, bool handlesValid, Body&& body) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !err || !handlesValid) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords& records) -> sword {
    return body(svc->loggedOnSession(), records);
  });
}

// A call on an environment.
template <class Body>
sword envCall(OCIEnv* envhp, OCIError* errhp, bool handlesValid, Body&& body) {
  Environment* env = handleOf<Environment>(envhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!env || !err || !handlesValid) return OCI_INVALID_HANDLE;
  return guardedCall(*env, *err, [&](ErrorRecords& records) -> sword { return body(records); });
}

// Offsets are 1-based; 0 is ORA-21560 naming the argument.
size_t zeroBased(ub4 offset, const char* argument) {
  if (offset == 0) raiseOra(21560, {argument});
  return static_cast<size_t>(offset) - 1;
}

// The filler of the gap when data is placed past the end: blanks in a
// CLOB, zero bytes in a BLOB.
char fillerOf(const LobLocator& l) {
  return l.kind == TypeKind::Clob ? ' ' : '\0';
}

// `value` with `bytes` placed at `at` (filled up to it when past the end).
void placeAt(std::string& value, size_t at, std::string_view bytes, char filler) {
  if (at > value.size()) value.append(at - value.size(), filler);
  if (at + bytes.size() > value.size()) value.resize(at + bytes.size());
  std::memcpy(value.data() + at, bytes.data(), bytes.size());
}

sword readPieces(LobLocator& l, ub4* amtp, ub4 offset, void* bufp, ub4 bufl, void* ctxp,
                 OCICallbackLobRead cbfp, ErrorRecords& records) {
  const std::string& value = l.readable();
  LobLocator::Stream& s = l.reading;
  if (!s.active) {
    size_t at = zeroBased(offset, "offset");
    if (at >= value.size()) {
      *amtp = 0;
      records.set(1403);
      return OCI_NO_DATA;
    }
    size_t wanted = *amtp == 0 ? value.size() - at : std::min<size_t>(*amtp, value.size() - at);
    s = LobLocator::Stream{true, at, wanted, 0, {}};
  }
  if (!bufp || bufl == 0) {
    s = {};
    raiseOra(21560, {"bufl"});
  }
  auto* out = static_cast<char*>(bufp);
  if (cbfp) {
    // Every piece goes to the callback; the last one is marked.
    bool first = true;
    while (s.remaining > 0) {
      size_t n = std::min<size_t>(bufl, s.remaining);
      std::memcpy(out, value.data() + s.position, n);
      s.position += n;
      s.remaining -= n;
      s.total += n;
      ub1 piece = s.remaining == 0 ? (first ? OCI_ONE_PIECE : OCI_LAST_PIECE)
                                   : (first ? OCI_FIRST_PIECE : OCI_NEXT_PIECE);
      first = false;
      sb4 rc = cbfp(ctxp, out, static_cast<ub4>(n), piece);
      if (rc != OCI_CONTINUE) {
        *amtp = static_cast<ub4>(s.total);
        s = {};
        throw CallbackStop{rc};
      }
    }
    *amtp = static_cast<ub4>(s.total);
    s = {};
    return OCI_SUCCESS;
  }
  size_t n = std::min<size_t>(bufl, s.remaining);
  std::memcpy(out, value.data() + s.position, n);
  s.position += n;
  s.remaining -= n;
  *amtp = static_cast<ub4>(n);
  if (s.remaining > 0) return OCI_NEED_DATA;
  s = {};
  return OCI_SUCCESS;
}

sword writePieces(UserSession& session, LobLocator& l, ub4* amtp, ub4 offset, void* bufp,
                  ub4 buflen, ub1 piece, void* ctxp, OCICallbackLobWrite cbfp) {
  l.checkWritable(session);
  LobLocator::Stream& s = l.writing;
  auto take = [&](const void* buffer, size_t length) {
    placeAt(s.pending, s.position, std::string_view(static_cast<const char*>(buffer), length),
            fillerOf(l));
    s.position += length;
    s.total += length;
  };
  if (piece == OCI_ONE_PIECE || piece == OCI_FIRST_PIECE || !s.active) {
    if (piece == OCI_NEXT_PIECE || piece == OCI_LAST_PIECE) raiseOra(21560, {"piece"});
    size_t at = zeroBased(offset, "offset");
    s = LobLocator::Stream{true, at, 0, 0, l.data};
  }
  if (piece == OCI_ONE_PIECE && !cbfp) {
    size_t n = *amtp == 0 ? buflen : std::min<size_t>(*amtp, buflen);
    if (n && !bufp) raiseOra(21560, {"bufp"});
    take(bufp, n);
  } else {
    if (buflen && !bufp) raiseOra(21560, {"bufp"});
    take(bufp, buflen);
    if (cbfp) {
      // The callback fills the buffer with the following pieces.
      ub1 next = piece;
      while (next != OCI_LAST_PIECE && next != OCI_ONE_PIECE) {
        ub4 length = buflen;
        next = OCI_NEXT_PIECE;
        sb4 rc = cbfp(ctxp, bufp, &length, &next);
        if (rc != OCI_CONTINUE) {
          s = {};
          throw CallbackStop{rc};
        }
        take(bufp, std::min(length, buflen));
      }
    } else if (piece != OCI_LAST_PIECE && piece != OCI_ONE_PIECE) {
      *amtp = static_cast<ub4>(s.total);
      return OCI_NEED_DATA;
    }
  }
  std::string value = std::move(s.pending);
  size_t total = s.total;
  s = {};
  l.store(session, std::move(value));
  *amtp = static_cast<ub4>(total);
  return OCI_SUCCESS;
}

}  // namespace

sword unimplemented(OCIError* errhp, bool handlesValid) {
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!err || !handlesValid)
    return traceRefusal(OCI_INVALID_HANDLE, "unimplemented", 0, 0, nullptr);
  sword status = guardedCall(*err->env, *err, [](ErrorRecords&) -> sword { raiseOra(3001); });
  return traceRefusal(status, "unimplemented", 0, 0, &err->errors);
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

extern "C" {

sword OCILobAppend(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst, OCILobLocator* src) {
  return sessionCall(svchp, errhp, lobOk(dst) && lobOk(src), [&](UserSession& s, ErrorRecords&) {
    LobLocator& d = *lobLocatorOf(dst);
    LobLocator& from = *lobLocatorOf(src);
    from.requireLob();
    d.checkWritable(s);
    if (from.kind != d.kind) raiseOra(22275);
    std::string value = d.data + from.readable();
    d.store(s, std::move(value));
    return OCI_SUCCESS;
  });
}

sword OCILobAssign(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* src, OCILobLocator** dst) {
  return envCall(envhp, errhp, lobOk(src) && dst && lobOk(*dst), [&](ErrorRecords&) {
    lobLocatorOf(*dst)->assignFrom(*lobLocatorOf(src));
    return OCI_SUCCESS;
  });
}

sword OCILobCharSetForm(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp, ub1* csfrm) {
  return envCall(envhp, errhp, lobOk(locp) && csfrm, [&](ErrorRecords&) {
    const LobLocator& l = *lobLocatorOf(locp);
    // Binary LOBs have no character set form.
    *csfrm = l.kind != TypeKind::Clob ? 0 : (l.national ? SQLCS_NCHAR : SQLCS_IMPLICIT);
    return OCI_SUCCESS;
  });
}

sword OCILobCharSetId(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp, ub2* csid) {
  return envCall(envhp, errhp, lobOk(locp) && csid, [&](ErrorRecords&) {
    const LobLocator& l = *lobLocatorOf(locp);
    l.requireLob();
    *csid = l.kind == TypeKind::Clob ? kDatabaseCharset : 0;
    return OCI_SUCCESS;
  });
}

sword OCILobCopy(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst, OCILobLocator* src,
                 ub4 amount, ub4 dst_offset, ub4 src_offset) {
  return sessionCall(svchp, errhp, lobOk(dst) && lobOk(src), [&](UserSession& s, ErrorRecords&) {
    LobLocator& d = *lobLocatorOf(dst);
    LobLocator& from = *lobLocatorOf(src);
    from.requireLob();
    d.checkWritable(s);
    if (from.isFile()) raiseOra(22275);
    size_t to = zeroBased(dst_offset, "dst_offset");
    size_t at = zeroBased(src_offset, "src_offset");
    const std::string& source = from.readable();
    std::string_view piece;
    if (at < source.size()) piece = std::string_view(source).substr(at, amount);
    std::string value = d.data;
    placeAt(value, to, piece, fillerOf(d));
    d.store(s, std::move(value));
    return OCI_SUCCESS;
  });
}

// Buffering has no effect: every write goes to the row at once.
sword OCILobDisableBuffering(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp) {
  return sessionCall(svchp, errhp, lobOk(locp), [&](UserSession&, ErrorRecords&) {
    lobLocatorOf(locp)->requireLob();
    return OCI_SUCCESS;
  });
}

sword OCILobEnableBuffering(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp) {
  return OCILobDisableBuffering(svchp, errhp, locp);
}

sword OCILobFlushBuffer(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4 flag) {
  return sessionCall(svchp, errhp, lobOk(locp), [&](UserSession&, ErrorRecords&) {
    if (flag != OCI_LOB_BUFFER_FREE && flag != OCI_LOB_BUFFER_NOFREE && flag != OCI_DEFAULT) {
      raiseOra(21560, {"flag"});
    }
    lobLocatorOf(locp)->requireLob();
    return OCI_SUCCESS;
  });
}

sword OCILobErase(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amount, ub4 offset) {
  return sessionCall(svchp, errhp, lobOk(locp) && amount, [&](UserSession& s, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    l.checkWritable(s);
    size_t at = zeroBased(offset, "offset");
    std::string value = l.data;
    size_t n = at < value.size() ? std::min<size_t>(*amount, value.size() - at) : 0;
    std::fill_n(value.begin() + static_cast<std::ptrdiff_t>(std::min(at, value.size())), n,
                fillerOf(l));
    l.store(s, std::move(value));
    *amount = static_cast<ub4>(n);
    return OCI_SUCCESS;
  });
}

sword OCILobFileClose(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep) {
  return sessionCall(svchp, errhp, lobOk(filep), [&](UserSession&, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(filep);
    l.requireLob();
    if (!l.isFile()) raiseOra(22275);
    if (!l.fileSession) raiseOra(22289, {"FILECLOSE"});
    l.closeFile();
    return OCI_SUCCESS;
  });
}

sword OCILobFileCloseAll(OCISvcCtx* svchp, OCIError* errhp) {
  return sessionCall(svchp, errhp, true, [&](UserSession& s, ErrorRecords&) {
    LobLocator::closeAllFiles(s);
    return OCI_SUCCESS;
  });
}

sword OCILobFileExists(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, boolean* flag) {
  return sessionCall(svchp, errhp, lobOk(filep) && flag, [&](UserSession& s, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(filep);
    l.requireLob();
    if (!l.isFile()) raiseOra(22275);
    *flag = bfileExists(*s.engine->catalog(), l.file) ? 1 : 0;
    return OCI_SUCCESS;
  });
}

sword OCILobFileGetName(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* filep,
                        OraText* dir_alias, ub2* d_length, OraText* filename, ub2* f_length) {
  return envCall(envhp, errhp, lobOk(filep) && dir_alias && d_length && filename && f_length,
                 [&](ErrorRecords&) {
                   const LobLocator& l = *lobLocatorOf(filep);
                   l.requireLob();
                   if (!l.isFile()) raiseOra(22275);
                   // The lengths come in as the buffer sizes.
                   if (l.file.directory.size() > *d_length) raiseOra(21560, {"d_length"});
                   if (l.file.file.size() > *f_length) raiseOra(21560, {"f_length"});
                   std::memcpy(dir_alias, l.file.directory.data(), l.file.directory.size());
                   std::memcpy(filename, l.file.file.data(), l.file.file.size());
                   *d_length = static_cast<ub2>(l.file.directory.size());
                   *f_length = static_cast<ub2>(l.file.file.size());
                   return OCI_SUCCESS;
                 });
}

sword OCILobFileIsOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, boolean* flag) {
  return sessionCall(svchp, errhp, lobOk(filep) && flag, [&](UserSession& s, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(filep);
    l.requireLob();
    if (!l.isFile()) raiseOra(22275);
    // Asking for a file whose directory is gone is an error, as in Oracle.
    bfilePath(*s.engine->catalog(), l.file, "FILEISOPEN");
    *flag = l.fileSession ? 1 : 0;
    return OCI_SUCCESS;
  });
}

sword OCILobFileOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, ub1 mode) {
  return sessionCall(svchp, errhp, lobOk(filep), [&](UserSession& s, ErrorRecords&) {
    if (mode != OCI_FILE_READONLY) raiseOra(21560, {"mode"});
    lobLocatorOf(filep)->openFile(s);
    return OCI_SUCCESS;
  });
}

sword OCILobFileSetName(OCIEnv* envhp, OCIError* errhp, OCILobLocator** filepp,
                        const OraText* dir_alias, ub2 d_length, const OraText* filename,
                        ub2 f_length) {
  return envCall(envhp, errhp, filepp && lobOk(*filepp), [&](ErrorRecords&) {
    if (!dir_alias || d_length == 0) raiseOra(21560, {"dir_alias"});
    if (!filename || f_length == 0) raiseOra(21560, {"filename"});
    LobLocator& l = *lobLocatorOf(*filepp);
    if (l.type != OCI_DTYPE_FILE) raiseOra(22275);
    l.setFileName(BfileName{std::string(reinterpret_cast<const char*>(dir_alias), d_length),
                            std::string(reinterpret_cast<const char*>(filename), f_length)});
    return OCI_SUCCESS;
  });
}

sword OCILobGetLength(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* lenp) {
  return sessionCall(svchp, errhp, lobOk(locp) && lenp, [&](UserSession& s, ErrorRecords&) {
    *lenp = lobLocatorOf(locp)->length(*s.engine->catalog());
    return OCI_SUCCESS;
  });
}

// Two locators are equal when they stand for the same LOB: the same column
// of the same row, the same temporary LOB, or the same file.
sword OCILobIsEqual(OCIEnv* envhp, const OCILobLocator* x, const OCILobLocator* y,
                    boolean* is_equal) {
  Environment* env = handleOf<Environment>(envhp);
  if (!env || !lobOk(x) || !lobOk(y) || !is_equal) return OCI_INVALID_HANDLE;
  const LobLocator& a = *lobLocatorOf(x);
  const LobLocator& b = *lobLocatorOf(y);
  bool equal = false;
  if (&a == &b) {
    equal = a.holdsLob();
  } else if (a.holdsLob() && b.holdsLob() && a.kind == b.kind) {
    if (a.isFile()) {
      equal = a.file.directory == b.file.directory && a.file.file == b.file.file;
    } else if (a.row && b.row) {
      equal = a.row->rowid == b.row->rowid && a.row->source.object == b.row->source.object &&
              a.row->source.column == b.row->source.column;
    }
  }
  *is_equal = equal ? 1 : 0;
  return OCI_SUCCESS;
}

sword OCILobLoadFromFile(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst, OCILobLocator* src,
                         ub4 amount, ub4 dst_offset, ub4 src_offset) {
  return sessionCall(svchp, errhp, lobOk(dst) && lobOk(src), [&](UserSession& s, ErrorRecords&) {
    LobLocator& d = *lobLocatorOf(dst);
    LobLocator& from = *lobLocatorOf(src);
    from.requireLob();
    if (!from.isFile()) raiseOra(22275);
    d.checkWritable(s);
    size_t to = zeroBased(dst_offset, "dst_offset");
    size_t at = zeroBased(src_offset, "src_offset");
    const std::string& bytes = from.readable();
    if (at > bytes.size() || amount > bytes.size() - at) raiseOra(22993);
    std::string value = d.data;
    placeAt(value, to, std::string_view(bytes).substr(at, amount), fillerOf(d));
    d.store(s, std::move(value));
    return OCI_SUCCESS;
  });
}

sword OCILobLocatorIsInit(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp,
                          boolean* is_initialized) {
  return envCall(envhp, errhp, lobOk(locp) && is_initialized, [&](ErrorRecords&) {
    *is_initialized = lobLocatorOf(locp)->holdsLob() ? 1 : 0;
    return OCI_SUCCESS;
  });
}

sword OCILobRead(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp, ub4 offset,
                 void* bufp, ub4 bufl, void* ctxp, OCICallbackLobRead cbfp, ub2, ub1) {
  return sessionCall(svchp, errhp, lobOk(locp) && amtp, [&](UserSession&, ErrorRecords& records) {
    return readPieces(*lobLocatorOf(locp), amtp, offset, bufp, bufl, ctxp, cbfp, records);
  });
}

sword OCILobTrim(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4 newlen) {
  return sessionCall(svchp, errhp, lobOk(locp), [&](UserSession& s, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    l.checkWritable(s);
    if (newlen > l.data.size()) raiseOra(22926);
    l.store(s, l.data.substr(0, newlen));
    return OCI_SUCCESS;
  });
}

sword OCILobWrite(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp, ub4 offset,
                  void* bufp, ub4 buflen, ub1 piece, void* ctxp, OCICallbackLobWrite cbfp, ub2,
                  ub1) {
  return sessionCall(svchp, errhp, lobOk(locp) && amtp, [&](UserSession& s, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    try {
      return writePieces(s, l, amtp, offset, bufp, buflen, piece, ctxp, cbfp);
    } catch (const OraError&) {
      l.writing = {};
      throw;
    }
  });
}

sword OCILobOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub1 mode) {
  return sessionCall(svchp, errhp, lobOk(locp), [&](UserSession& s, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    l.requireLob();
    if (mode != OCI_LOB_READONLY && mode != OCI_LOB_READWRITE) raiseOra(21560, {"mode"});
    if (l.isFile()) {
      if (mode != OCI_LOB_READONLY) raiseOra(22288, {"OPEN", "BFILEs are read-only"});
      l.openFile(s);
    } else {
      if (l.opened) raiseOra(22293);
      if (mode == OCI_LOB_READWRITE) l.checkWritable(s);
    }
    l.opened = true;
    return OCI_SUCCESS;
  });
}

sword OCILobClose(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp) {
  return sessionCall(svchp, errhp, lobOk(locp), [&](UserSession&, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    l.requireLob();
    if (!l.opened && !l.fileSession) raiseOra(22289, {"CLOSE"});
    if (l.isFile()) l.closeFile();
    l.opened = false;
    return OCI_SUCCESS;
  });
}

sword OCILobIsOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, boolean* flag) {
  return sessionCall(svchp, errhp, lobOk(locp) && flag, [&](UserSession&, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    l.requireLob();
    *flag = (l.isFile() ? l.fileSession != nullptr : l.opened) ? 1 : 0;
    return OCI_SUCCESS;
  });
}

sword OCILobCreateTemporary(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub2, ub1 csfrm,
                            ub1 lobtype, boolean, OCIDuration) {
  return sessionCall(svchp, errhp, lobOk(locp), [&](UserSession&, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    if (l.type != OCI_DTYPE_LOB) raiseOra(22275);
    if (lobtype != OCI_TEMP_BLOB && lobtype != OCI_TEMP_CLOB) raiseOra(21560, {"lobtype"});
    ValueView empty;
    empty.kind = lobtype == OCI_TEMP_CLOB ? Value::Kind::Text : Value::Kind::Raw;
    l.load(lobtype == OCI_TEMP_CLOB ? TypeKind::Clob : TypeKind::Blob, empty, std::nullopt);
    l.national = csfrm == SQLCS_NCHAR;
    l.temporary = true;
    return OCI_SUCCESS;
  });
}

sword OCILobFreeTemporary(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp) {
  return sessionCall(svchp, errhp, lobOk(locp), [&](UserSession&, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    if (!l.temporary) raiseOra(22275);
    l.load(TypeKind::Null, ValueView{}, std::nullopt);
    return OCI_SUCCESS;
  });
}

sword OCILobIsTemporary(OCIEnv* envp, OCIError* errhp, OCILobLocator* locp, boolean* flag) {
  return envCall(envp, errhp, lobOk(locp) && flag, [&](ErrorRecords&) {
    *flag = lobLocatorOf(locp)->temporary ? 1 : 0;
    return OCI_SUCCESS;
  });
}

// The amount that is best written at once: Oracle's for 8 KB blocks.
sword OCILobGetChunkSize(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* size) {
  return sessionCall(svchp, errhp, lobOk(locp) && size, [&](UserSession&, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    l.requireLob();
    if (l.isFile()) raiseOra(22275);
    *size = 8132;
    return OCI_SUCCESS;
  });
}

}  // extern "C"

// ---- The "2" LOB calls: 64-bit amounts, offsets and lengths ----
//
// A LOB value is held in memory and never reaches 4 GB, so each call checks
// that its numbers fit and does the work of the original call. Amounts of a
// CLOB count characters in Oracle's client and bytes here: the engine keeps
// text as the bytes it was given, so the two agree for single-byte text.

namespace {

// A 64-bit amount or offset as the original calls take it: ORA-22925 past
// what a LOB can hold.
ub4 narrowed(oraub8 v) {
  if (v > 0xFFFFFFFFu) raiseOra(22925);
  return static_cast<ub4>(v);
}

}  // namespace

extern "C" {

sword OCILobGetLength2(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, oraub8* lenp) {
  if (!lenp) return OCI_INVALID_HANDLE;
  ub4 length = 0;
  sword status = OCILobGetLength(svchp, errhp, locp, &length);
  if (status == OCI_SUCCESS) *lenp = length;
  return status;
}

sword OCILobRead2(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, oraub8* byte_amtp,
                  oraub8* char_amtp, oraub8 offset, void* bufp, oraub8 bufl, ub1 piece, void* ctxp,
                  OCICallbackLobRead2 cbfp, ub2, ub1) {
  return sessionCall(
      svchp, errhp, lobOk(locp) && byte_amtp, [&](UserSession&, ErrorRecords& records) {
        LobLocator& l = *lobLocatorOf(locp);
        // Callbacks of the "2" form are not offered; reading in polling mode
        // (OCI_NEED_DATA) does the same.
        if (cbfp) raiseOra(3001);
        (void)ctxp;
        if (piece != OCI_ONE_PIECE && piece != OCI_FIRST_PIECE && piece != OCI_NEXT_PIECE) {
          raiseOra(21560, {"piece"});
        }
        bool characters = l.kind == TypeKind::Clob && char_amtp && *char_amtp > 0;
        ub4 amount = narrowed(characters ? *char_amtp : *byte_amtp);
        ub4 room = static_cast<ub4>(std::min<oraub8>(bufl, 0xFFFFFFFFu));
        sword status =
            readPieces(l, &amount, narrowed(offset), bufp, room, nullptr, nullptr, records);
        *byte_amtp = amount;
        if (char_amtp) *char_amtp = amount;
        return status;
      });
}

sword OCILobWrite2(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, oraub8* byte_amtp,
                   oraub8* char_amtp, oraub8 offset, void* bufp, oraub8 buflen, ub1 piece,
                   void* ctxp, OCICallbackLobWrite2 cbfp, ub2, ub1) {
  return sessionCall(svchp, errhp, lobOk(locp) && byte_amtp, [&](UserSession& s, ErrorRecords&) {
    LobLocator& l = *lobLocatorOf(locp);
    if (cbfp) raiseOra(3001);
    (void)ctxp;
    bool characters = l.kind == TypeKind::Clob && char_amtp && *char_amtp > 0;
    ub4 amount = narrowed(characters ? *char_amtp : *byte_amtp);
    try {
      sword status = writePieces(s, l, &amount, narrowed(offset), bufp, narrowed(buflen), piece,
                                 nullptr, nullptr);
      *byte_amtp = amount;
      if (char_amtp) *char_amtp = amount;
      return status;
    } catch (const OraError&) {
      l.writing = {};
      throw;
    }
  });
}

sword OCILobTrim2(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, oraub8 newlen) {
  if (newlen > 0xFFFFFFFFu) {
    return sessionCall(svchp, errhp, lobOk(locp),
                       [&](UserSession&, ErrorRecords&) -> sword { raiseOra(22926); });
  }
  return OCILobTrim(svchp, errhp, locp, static_cast<ub4>(newlen));
}

sword OCILobErase2(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, oraub8* amount,
                   oraub8 offset) {
  if (!amount) return OCI_INVALID_HANDLE;
  ub4 n = static_cast<ub4>(std::min<oraub8>(*amount, 0xFFFFFFFFu));
  ub4 at = static_cast<ub4>(std::min<oraub8>(offset, 0xFFFFFFFFu));
  sword status = OCILobErase(svchp, errhp, locp, &n, at);
  if (status == OCI_SUCCESS) *amount = n;
  return status;
}

sword OCILobCopy2(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst, OCILobLocator* src,
                  oraub8 amount, oraub8 dst_offset, oraub8 src_offset) {
  if (amount > 0xFFFFFFFFu || dst_offset > 0xFFFFFFFFu || src_offset > 0xFFFFFFFFu) {
    return sessionCall(svchp, errhp, lobOk(dst) && lobOk(src),
                       [&](UserSession&, ErrorRecords&) -> sword { raiseOra(22925); });
  }
  return OCILobCopy(svchp, errhp, dst, src, static_cast<ub4>(amount), static_cast<ub4>(dst_offset),
                    static_cast<ub4>(src_offset));
}

}  // extern "C"
