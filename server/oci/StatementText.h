// What the call interface knows about a statement before any session has
// seen it: OCIStmtPrepare is local (no round trip, syntax errors surface at
// execute), yet the statement type is readable right after it and binds are
// checked against the placeholders. This reads both from the text with the
// engine's tokenizer: the type from the first keyword, the placeholders in
// order of appearance (a PL/SQL block names each once, as the engine counts
// them), and which of them are RETURNING ... INTO targets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "oci.h"

namespace vorn::server::oci {

struct StatementText {
  ub2 type = OCI_STMT_UNKNOWN;
  // False when the text could not be tokenized (the engine reports why at
  // execute); then binds are checked at execute only.
  bool placeholdersKnown = false;
  std::vector<std::string> placeholders;  // keys, see placeholderKey
  std::vector<bool> returningTarget;      // per placeholder
};

StatementText analyseStatement(std::string_view text);

// A placeholder name as compared: without the colon, upper-cased unless it
// is quoted (then without the quotes, case kept).
std::string placeholderKey(std::string_view name);

}  // namespace vorn::server::oci
