// Character-set names and numbers, and the NLS look-up calls of the client
// library (OCINlsCharSetNameToId, OCINlsCharSetIdToName,
// OCINlsNumericInfoGet, OCINlsEnvironmentVariableGet).
#include "Charsets.h"

#include <cstdlib>
#include <cstring>

#include "CallGuard.h"
#include "Environment.h"
#include "value/AsciiCase.h"

namespace vorn::server::oci {

namespace {

struct Charset {
  ub2 id;
  const char* name;
  int maxBytes;
  bool environment;  // usable as an environment's text
};

constexpr Charset kCharsets[] = {
    {1, "US7ASCII", 1, true}, {31, "WE8ISO8859P1", 1, true}, {178, "WE8MSWIN1252", 1, true},
    {871, "UTF8", 3, true},   {873, "AL32UTF8", 4, true},    {2000, "AL16UTF16", 2, false},
};

const Charset* find(ub2 id) {
  for (const Charset& c : kCharsets) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

}  // namespace

ub2 charsetIdOf(const std::string& name) {
  for (const Charset& c : kCharsets) {
    if (asciiUpperCase(name) == c.name) return c.id;
  }
  return 0;
}

std::string charsetNameOf(ub2 id) {
  const Charset* c = find(id);
  return c ? c->name : std::string();
}

int charsetMaxBytes(ub2 id) {
  const Charset* c = find(id);
  return c ? c->maxBytes : 1;
}

bool isByteCharset(ub2 id) {
  const Charset* c = find(id);
  return c && c->environment;
}

bool isNationalCharset(ub2 id) {
  return find(id) != nullptr && id != 1;
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

// The environment an NLS call names: an environment handle or a session.
Environment* environmentOf(void* hndl) {
  if (Environment* env = handleOf<Environment>(hndl)) return env;
  Handle* h = anyHandleOf(hndl, OCI_HTYPE_SESSION);
  return h ? h->env : nullptr;
}

// The character set NLS_LANG names (its part after the dot), 0 when unset
// or unknown.
ub2 nlsLangCharset() {
  const char* lang = std::getenv("NLS_LANG");
  if (!lang) return 0;
  const char* dot = std::strrchr(lang, '.');
  return dot ? charsetIdOf(dot + 1) : 0;
}

}  // namespace

extern "C" ub2 OCINlsCharSetNameToId(void* envhp, const oratext* name) {
  if (!environmentOf(envhp) || !name) return 0;
  return charsetIdOf(reinterpret_cast<const char*>(name));
}

extern "C" sword OCINlsCharSetIdToName(void* envhp, oratext* buf, size_t buflen, ub2 id) {
  if (!environmentOf(envhp) || !buf) return OCI_INVALID_HANDLE;
  std::string name = charsetNameOf(id);
  if (name.empty() || buflen <= name.size()) return OCI_ERROR;
  std::memcpy(buf, name.c_str(), name.size() + 1);
  return OCI_SUCCESS;
}

extern "C" sword OCINlsNumericInfoGet(void* envhp, OCIError* errhp, sb4* val, ub2 item) {
  Environment* env = environmentOf(envhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!env || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    if (!val) raiseOra(21560, {"3"});
    switch (item) {
      case OCI_NLS_CHARSET_MAXBYTESZ:
        *val = charsetMaxBytes(env->charsetId);
        return OCI_SUCCESS;
      case OCI_NLS_CHARSET_FIXEDWIDTH:
        *val = charsetMaxBytes(env->charsetId) == 1 ? 1 : 0;
        return OCI_SUCCESS;
      case OCI_NLS_CHARSET_ID:
        *val = env->charsetId;
        return OCI_SUCCESS;
      case OCI_NLS_NCHARSET_ID:
        *val = env->ncharsetId;
        return OCI_SUCCESS;
      default:
        raiseOra(21560, {"4"});
    }
  });
}

extern "C" sword OCINlsEnvironmentVariableGet(void* valp, size_t size, ub2 item, ub2,
                                              size_t* rsize) {
  // Only the two numeric items exist: the character sets NLS_LANG and
  // NLS_NCHAR name, or the library's defaults.
  if (!valp || size < sizeof(ub2)) return OCI_ERROR;
  ub2 id = 0;
  if (item == OCI_NLS_CHARSET_ID) {
    id = nlsLangCharset();
    if (id == 0) id = kDefaultCharsetId;
  } else if (item == OCI_NLS_NCHARSET_ID) {
    const char* nchar = std::getenv("NLS_NCHAR");
    id = nchar ? charsetIdOf(nchar) : 0;
    if (id == 0) id = kDefaultNcharsetId;
  } else {
    return OCI_ERROR;
  }
  std::memcpy(valp, &id, sizeof id);
  if (rsize) *rsize = sizeof id;
  return OCI_SUCCESS;
}
