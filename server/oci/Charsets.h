// The character sets the client library knows by name and number. Text is
// kept as the bytes the caller hands over, so an environment may use any
// character set whose text the engine can keep byte for byte: the ASCII
// supersets below. AL16UTF16 is known (it is the national character set
// Oracle reports by default) but is no environment character set here.
#pragma once

#include <string>

#include "oci.h"

namespace vorn::server::oci {

constexpr ub2 kDefaultCharsetId = 31;     // WE8ISO8859P1
constexpr ub2 kDefaultNcharsetId = 2000;  // AL16UTF16

// The id of a character set name (case-insensitive), 0 when unknown.
ub2 charsetIdOf(const std::string& name);
// The name of an id, empty when unknown.
std::string charsetNameOf(ub2 id);
// The longest character in bytes (1 for single-byte sets).
int charsetMaxBytes(ub2 id);
// Whether an environment may use the set for its text.
bool isByteCharset(ub2 id);
// Whether an environment may use the set for its national text.
bool isNationalCharset(ub2 id);

}  // namespace vorn::server::oci
