// The text of a rowid from its parts: the extended form (object in 6,
// file in 3, block in 6, row in 3 base-64 digits over "A-Za-z0-9+/") when
// the object number is not 0, else the restricted form "BBBBBBBB.RRRR.FFFF"
// of block, row and file in hexadecimal.
#pragma once

#include <string>

#include "StatementCalls.h"

namespace vorn {

std::string RowIdText(const RowidParts& parts);

}  // namespace vorn
