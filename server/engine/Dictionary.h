// The data dictionary views (ALL_/USER_ TABLES, TAB_COLUMNS, CONSTRAINTS,
// CONS_COLUMNS, SYNONYMS, SEQUENCES, VIEWS, OBJECTS, INDEXES, ALL_USERS,
// TYPES, TYPE_ATTRS, COLL_TYPES, OBJECT_TABLES, ...): SYS views over the
// catalog base tables, each with a PUBLIC synonym, created once in every
// new database.
#pragma once

namespace vorn::server {

class Session;

// Creates the views and synonyms; `sys` is a SYS session of a new database.
void createDictionary(Session& sys);

}  // namespace vorn::server
