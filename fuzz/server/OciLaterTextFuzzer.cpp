// Feeds arbitrary text to the readers of outside text that the client
// library's later-release calls have: a time zone given to
// OCIDateTimeConstruct ("+hh:mm"), a character-set name
// (OCINlsCharSetNameToId, and NLS_LANG's part after the dot through
// OCINlsEnvironmentVariableGet), and the release a server banner names
// (OCIServerRelease). Each may refuse the text; a crash, a read outside
// the text, or an answer that does not round-trip is a finding.
//
// Input: one selector byte (0: zone, 1: character-set name, 2: NLS_LANG,
// 3: banner), then the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ServerHandle.h"
#include "oci.h"

namespace {

struct Handles {
  OCIEnv* env = nullptr;
  OCIError* err = nullptr;
  OCIDateTime* stamp = nullptr;
  Handles() {
    OCIEnvCreate(&env, OCI_DEFAULT, nullptr, nullptr, nullptr, nullptr, 0, nullptr);
    OCIHandleAlloc(env, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
    OCIDescriptorAlloc(env, reinterpret_cast<void**>(&stamp), OCI_DTYPE_TIMESTAMP_TZ, 0, nullptr);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static Handles* h = new Handles();
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 4) {
    case 0: {
      // Exactly the zone's bytes on the heap, so that a read past them is seen.
      auto zone = std::make_unique<OraText[]>(text.size() + 1);
      std::memcpy(zone.get(), text.data(), text.size());
      sword status = OCIDateTimeConstruct(h->env, h->err, h->stamp, 2000, 1, 1, 0, 0, 0, 0,
                                          zone.get(), text.size());
      if (status == OCI_SUCCESS) {
        sb1 hours = 0, minutes = 0;
        OCIDateTimeGetTimeZoneOffset(h->env, h->err, h->stamp, &hours, &minutes);
        if (hours < -14 || hours > 14 || minutes < -59 || minutes > 59) std::abort();
      } else if (status != OCI_ERROR) {
        std::abort();
      }
      break;
    }
    case 1: {
      ub2 id = OCINlsCharSetNameToId(h->env, reinterpret_cast<const oratext*>(text.c_str()));
      if (id != 0) {
        OraText name[32] = {};
        if (OCINlsCharSetIdToName(h->env, name, sizeof name, id) != OCI_SUCCESS) std::abort();
        if (OCINlsCharSetNameToId(h->env, name) != id) std::abort();
      }
      break;
    }
    case 2: {
      if (text.find('\0') != std::string::npos) break;
      ::setenv("NLS_LANG", text.c_str(), 1);
      ub2 id = 0;
      size_t length = 0;
      if (OCINlsEnvironmentVariableGet(&id, sizeof id, OCI_NLS_CHARSET_ID, 0, &length) !=
              OCI_SUCCESS ||
          id == 0 || length != sizeof id) {
        std::abort();
      }
      ::unsetenv("NLS_LANG");
      break;
    }
    default:
      (void)vorn::server::oci::releaseNumber(text);
      break;
  }
  return 0;
}
