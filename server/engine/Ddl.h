// Data definition: CREATE, ALTER, DROP and TRUNCATE of tables, views,
// sequences, synonyms, indexes and users. Each statement runs in a
// transaction of its own and commits (the caller has already committed
// what the session had pending, as Oracle does before DDL); the catalog is
// then republished.
#pragma once

#include "engine/Ast.h"

namespace vorn::server {

class Session;

void executeDdl(Session& session, Stmt& stmt);

}  // namespace vorn::server
