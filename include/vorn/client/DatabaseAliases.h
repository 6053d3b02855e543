// The database aliases of the client's tnsnames.ora, for the logon dialog's
// drop-down list.
//
// The alias folder is the first of: the TNS_ADMIN environment variable; the
// TNS_ADMIN value of the chosen Oracle home; its NET80 value (for a client
// with the whole version 8 call set) or else its NET20 value, joined with
// "Admin"; the home directory joined with "Network\Admin", or with
// "Net80\Admin" for a version 8 client that is not a version 8.1 client.
// Folder and file names are matched without regard to case.
//
// An alias file is read line by line; what stands inside parentheses (which
// may span lines) and lines starting with "#" are skipped, and of what is
// left, "NAME = ..." adds NAME (cut before ".WORLD" when it has it) and
// "IFILE = path" reads another alias file in place; an IFILE whose path is
// empty takes the next line that holds text without "=" as the path. A
// relative path is taken relative to the folder of the file that names it.
// A file that would include itself, directly or through others, is read
// once.
#pragma once

#include <string>
#include <vector>

#include "vorn/host/StringList.h"

namespace vorn::client {

// Loads the client library (a failure raises, as LoadClientLibrary does)
// and returns the aliases of its tnsnames.ora and the files that includes,
// sorted without regard to case, each once. A missing or unreadable file
// gives what was read before it.
std::vector<std::string> ListDatabaseAliases();

// The folder in which ListDatabaseAliases looks for tnsnames.ora, as the
// rules above build it (before matching case); empty when there is none.
// Requires a loaded library.
std::string DatabaseAliasFolder();

// Adds the aliases of the alias file `path`, and of the files it includes,
// to `aliases`. A missing file adds nothing.
void AddAliasesFromFile(const std::string& path, TStringList& aliases);

}  // namespace vorn::client
