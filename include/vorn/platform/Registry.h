// The local-machine configuration hive: where the client binding finds the
// Oracle installation (keys under SOFTWARE\ORACLE). Only reading is offered;
// the per-user settings of Vornix are kept elsewhere.
//
// On POSIX systems the hive is an INI-style text file, named by the
// environment variable VORN_MACHINE_REGISTRY (when that is unset or empty:
// /etc/vorn/machine-registry.ini):
//
//   ; comment            # comment too (only as the first non-blank)
//   [SOFTWARE\ORACLE\HOME0]
//   ORACLE_HOME_NAME = OraHome81
//   ORACLE_HOME = "/opt/oracle/product/8.1.7"
//
// - A section names a key path. Forward slashes count as backslashes, and
//   repeated, leading and trailing separators are dropped, so
//   [software/oracle/] and [SOFTWARE\ORACLE] are the same key. A section
//   header without its closing "]" is malformed: the lines after it belong
//   to no key until the next valid header, rather than to the key before.
// - Key paths and value names compare without regard to ASCII case.
// - "Name = value": blanks (spaces, tabs) around the name, the "=" and the
//   value are dropped; the value is everything after the first "=". A value
//   enclosed in double quotes loses the outer pair and keeps its inner text
//   verbatim, blanks included; there are no escapes. ";" or "#" inside a
//   value is text, not a comment, since Windows paths may contain them.
// - Lines end with LF, CR LF or CR. A UTF-8 byte-order mark is skipped.
//   Lines that are neither a section, a comment nor hold a "=" are ignored.
// - A name given twice for one key (also across repeated sections) takes
//   the later value, so an override can be appended to the file.
// - The file is read anew on every call: reads are rare, and a changed file
//   is therefore always seen. A missing or unreadable file holds no values.
#pragma once

#include <string>

namespace vorn::platform {

// The string value `valueName` under `keyPath` of the local-machine hive,
// complete whatever its length (a caller with a fixed buffer cuts it
// itself). A missing hive, key or value yields empty text; so does a value
// that is present but empty.
//
// When the hive gives no (or an empty) ORACLE_HOME under SOFTWARE\ORACLE,
// the environment variable ORACLE_HOME serves as that value, so that an
// ordinary Linux Oracle installation is found without any hive at all. A
// value in the hive wins over the environment.
std::string ReadMachineRegistryString(const std::string& keyPath, const std::string& valueName);

}  // namespace vorn::platform
