// The dictionary views as SYS views over the catalog base tables; see
// Dictionary.h. Column lists follow Oracle's views as far as the engine
// keeps the information; columns it has no data for are NULL.
#include "engine/Dictionary.h"

#include <string>
#include <vector>

#include "engine/Session.h"

namespace vorn::server {
namespace {

struct View {
  const char* name;
  const char* query;
};

const std::vector<View>& views() {
  static const std::vector<View> v = {
      {"ALL_USERS", "SELECT name username, user# user_id, created FROM sys.user$"},
      {"DBA_USERS",
       "SELECT name username, user# user_id, password, account_status, "
       "CAST(NULL AS DATE) lock_date, CAST(NULL AS DATE) expiry_date, "
       "'USERS' default_tablespace, 'TEMP' temporary_tablespace, created, "
       "'DEFAULT' profile FROM sys.user$"},
      {"USER_USERS",
       "SELECT name username, user# user_id, account_status, "
       "'USERS' default_tablespace, 'TEMP' temporary_tablespace, created "
       "FROM sys.user$ WHERE name = USER"},
      {"ALL_OBJECTS",
       "SELECT owner, name object_name, CAST(NULL AS VARCHAR2(30)) subobject_name, "
       "obj# object_id, DECODE(type, 'TABLE', obj#, 'INDEX', obj#, NULL) data_object_id, "
       "type object_type, created, last_ddl_time, "
       "TO_CHAR(created, 'YYYY-MM-DD:HH24:MI:SS') timestamp, status, "
       "'N' temporary, 'N' generated, 'N' secondary FROM sys.obj$"},
      {"USER_OBJECTS",
       "SELECT name object_name, CAST(NULL AS VARCHAR2(30)) subobject_name, "
       "obj# object_id, DECODE(type, 'TABLE', obj#, 'INDEX', obj#, NULL) data_object_id, "
       "type object_type, created, last_ddl_time, "
       "TO_CHAR(created, 'YYYY-MM-DD:HH24:MI:SS') timestamp, status, "
       "'N' temporary, 'N' generated, 'N' secondary FROM sys.obj$ WHERE owner = USER"},
      {"ALL_TABLES",
       "SELECT owner, name table_name, DECODE(owner, 'SYS', 'SYSTEM', 'USERS') tablespace_name, "
       "CAST(NULL AS VARCHAR2(30)) cluster_name, CAST(NULL AS VARCHAR2(30)) iot_name, "
       "'VALID' status, 10 pct_free, CAST(NULL AS NUMBER) num_rows, "
       "'N' temporary, 'NO' nested FROM sys.obj$ WHERE type = 'TABLE' "
       "AND obj# NOT IN (SELECT obj# FROM sys.objtab$)"},
      {"USER_TABLES",
       "SELECT name table_name, DECODE(owner, 'SYS', 'SYSTEM', 'USERS') tablespace_name, "
       "CAST(NULL AS VARCHAR2(30)) cluster_name, CAST(NULL AS VARCHAR2(30)) iot_name, "
       "'VALID' status, 10 pct_free, CAST(NULL AS NUMBER) num_rows, "
       "'N' temporary, 'NO' nested FROM sys.obj$ WHERE type = 'TABLE' AND owner = USER "
       "AND obj# NOT IN (SELECT obj# FROM sys.objtab$)"},
      {"ALL_VIEWS",
       "SELECT o.owner, o.name view_name, LENGTH(v.text) text_length, v.text "
       "FROM sys.obj$ o, sys.view$ v WHERE v.obj# = o.obj#"},
      {"USER_VIEWS",
       "SELECT o.name view_name, LENGTH(v.text) text_length, v.text "
       "FROM sys.obj$ o, sys.view$ v WHERE v.obj# = o.obj# AND o.owner = USER"},
      {"ALL_TAB_COLUMNS",
       "SELECT o.owner, o.name table_name, c.name column_name, c.type data_type, "
       "(SELECT k.type_mod FROM sys.coltype$ k WHERE k.obj# = c.obj# AND k.name = c.name) "
       "data_type_mod, (SELECT t.owner FROM sys.coltype$ k, sys.obj$ t WHERE k.obj# = c.obj# "
       "AND k.name = c.name AND t.obj# = k.type_obj#) data_type_owner, "
       "c.length data_length, c.precision$ data_precision, c.scale data_scale, c.nullable, "
       "c.col# column_id, LENGTH(c.default$) default_length, c.default$ data_default "
       "FROM sys.obj$ o, sys.col$ c WHERE c.obj# = o.obj# AND o.type IN ('TABLE', 'VIEW')"},
      {"USER_TAB_COLUMNS",
       "SELECT o.name table_name, c.name column_name, c.type data_type, "
       "(SELECT k.type_mod FROM sys.coltype$ k WHERE k.obj# = c.obj# AND k.name = c.name) "
       "data_type_mod, (SELECT t.owner FROM sys.coltype$ k, sys.obj$ t WHERE k.obj# = c.obj# "
       "AND k.name = c.name AND t.obj# = k.type_obj#) data_type_owner, "
       "c.length data_length, c.precision$ data_precision, c.scale data_scale, c.nullable, "
       "c.col# column_id, LENGTH(c.default$) default_length, c.default$ data_default "
       "FROM sys.obj$ o, sys.col$ c WHERE c.obj# = o.obj# AND o.type IN ('TABLE', 'VIEW') "
       "AND o.owner = USER"},
      {"ALL_CONSTRAINTS",
       "SELECT c.owner, c.name constraint_name, c.type constraint_type, o.name table_name, "
       "c.search_condition, c.r_owner, c.r_name r_constraint_name, c.delete_rule, c.status, "
       "'NOT DEFERRABLE' deferrable, 'IMMEDIATE' deferred, "
       "DECODE(c.status, 'ENABLED', 'VALIDATED', 'NOT VALIDATED') validated, c.generated, "
       "CAST(NULL AS VARCHAR2(3)) bad, CAST(NULL AS VARCHAR2(4)) rely, c.last_change "
       "FROM sys.con$ c, sys.obj$ o WHERE o.obj# = c.obj#"},
      {"USER_CONSTRAINTS",
       "SELECT c.owner, c.name constraint_name, c.type constraint_type, o.name table_name, "
       "c.search_condition, c.r_owner, c.r_name r_constraint_name, c.delete_rule, c.status, "
       "'NOT DEFERRABLE' deferrable, 'IMMEDIATE' deferred, "
       "DECODE(c.status, 'ENABLED', 'VALIDATED', 'NOT VALIDATED') validated, c.generated, "
       "CAST(NULL AS VARCHAR2(3)) bad, CAST(NULL AS VARCHAR2(4)) rely, c.last_change "
       "FROM sys.con$ c, sys.obj$ o WHERE o.obj# = c.obj# AND c.owner = USER"},
      {"ALL_CONS_COLUMNS",
       "SELECT k.owner, k.name constraint_name, o.name table_name, k.col_name column_name, "
       "k.position FROM sys.ccol$ k, sys.obj$ o WHERE o.obj# = k.obj#"},
      {"USER_CONS_COLUMNS",
       "SELECT k.owner, k.name constraint_name, o.name table_name, k.col_name column_name, "
       "k.position FROM sys.ccol$ k, sys.obj$ o WHERE o.obj# = k.obj# AND k.owner = USER"},
      {"ALL_SYNONYMS",
       "SELECT o.owner, o.name synonym_name, s.table_owner, s.table_name, s.db_link "
       "FROM sys.obj$ o, sys.syn$ s WHERE s.obj# = o.obj#"},
      {"USER_SYNONYMS",
       "SELECT o.name synonym_name, s.table_owner, s.table_name, s.db_link "
       "FROM sys.obj$ o, sys.syn$ s WHERE s.obj# = o.obj# AND o.owner = USER"},
      {"ALL_SEQUENCES",
       "SELECT o.owner sequence_owner, o.name sequence_name, s.minvalue min_value, "
       "s.maxvalue max_value, s.increment$ increment_by, s.cycle# cycle_flag, "
       "s.order# order_flag, s.cache cache_size, s.last_number "
       "FROM sys.obj$ o, sys.seq$ s WHERE s.obj# = o.obj#"},
      {"USER_SEQUENCES",
       "SELECT o.name sequence_name, s.minvalue min_value, "
       "s.maxvalue max_value, s.increment$ increment_by, s.cycle# cycle_flag, "
       "s.order# order_flag, s.cache cache_size, s.last_number "
       "FROM sys.obj$ o, sys.seq$ s WHERE s.obj# = o.obj# AND o.owner = USER"},
      {"ALL_INDEXES",
       "SELECT o.owner, o.name index_name, 'NORMAL' index_type, t.owner table_owner, "
       "t.name table_name, 'TABLE' table_type, i.uniqueness, 'VALID' status "
       "FROM sys.obj$ o, sys.ind$ i, sys.obj$ t WHERE i.obj# = o.obj# AND t.obj# = i.table_obj#"},
      {"USER_INDEXES",
       "SELECT o.name index_name, 'NORMAL' index_type, t.owner table_owner, "
       "t.name table_name, 'TABLE' table_type, i.uniqueness, 'VALID' status "
       "FROM sys.obj$ o, sys.ind$ i, sys.obj$ t WHERE i.obj# = o.obj# AND t.obj# = i.table_obj# "
       "AND o.owner = USER"},
      {"ALL_CATALOG",
       "SELECT owner, name table_name, type table_type FROM sys.obj$ "
       "WHERE type IN ('TABLE', 'VIEW', 'SYNONYM', 'SEQUENCE')"},
      {"USER_CATALOG",
       "SELECT name table_name, type table_type FROM sys.obj$ "
       "WHERE type IN ('TABLE', 'VIEW', 'SYNONYM', 'SEQUENCE') AND owner = USER"},
      {"ALL_SOURCE",
       "SELECT o.owner, o.name, o.type, s.line, s.source text "
       "FROM sys.obj$ o, sys.source$ s WHERE s.obj# = o.obj#"},
      {"USER_SOURCE",
       "SELECT o.name, o.type, s.line, s.source text "
       "FROM sys.obj$ o, sys.source$ s WHERE s.obj# = o.obj# AND o.owner = USER"},
      {"ALL_DIRECTORIES",
       "SELECT 'SYS' owner, name directory_name, path directory_path FROM sys.dir$"},
      {"DBA_DIRECTORIES",
       "SELECT 'SYS' owner, name directory_name, path directory_path FROM sys.dir$"},
      // User-defined types (8i columns, with 9i's FINAL and INSTANTIABLE).
      {"ALL_TYPES",
       "SELECT o.owner, o.name type_name, t.toid type_oid, t.typecode, t.attributes, "
       "0 methods, 'NO' predefined, t.incomplete, 'YES' final, 'YES' instantiable "
       "FROM sys.obj$ o, sys.type$ t WHERE t.obj# = o.obj#"},
      {"USER_TYPES",
       "SELECT o.name type_name, t.toid type_oid, t.typecode, t.attributes, "
       "0 methods, 'NO' predefined, t.incomplete, 'YES' final, 'YES' instantiable "
       "FROM sys.obj$ o, sys.type$ t WHERE t.obj# = o.obj# AND o.owner = USER"},
      {"ALL_TYPE_ATTRS",
       "SELECT o.owner, o.name type_name, a.name attr_name, a.type_mod attr_type_mod, "
       "a.type_owner attr_type_owner, a.type_name attr_type_name, a.length, "
       "a.precision$ precision, a.scale, DECODE(a.type_name, 'VARCHAR2', 'CHAR_CS', 'CHAR', "
       "'CHAR_CS', 'CLOB', 'CHAR_CS', 'NVARCHAR2', 'NCHAR_CS', 'NCHAR', 'NCHAR_CS', 'NCLOB', "
       "'NCHAR_CS') character_set_name, a.attr# attr_no "
       "FROM sys.obj$ o, sys.attr$ a WHERE a.obj# = o.obj# AND a.attr# > 0"},
      {"USER_TYPE_ATTRS",
       "SELECT o.name type_name, a.name attr_name, a.type_mod attr_type_mod, "
       "a.type_owner attr_type_owner, a.type_name attr_type_name, a.length, "
       "a.precision$ precision, a.scale, DECODE(a.type_name, 'VARCHAR2', 'CHAR_CS', 'CHAR', "
       "'CHAR_CS', 'CLOB', 'CHAR_CS', 'NVARCHAR2', 'NCHAR_CS', 'NCHAR', 'NCHAR_CS', 'NCLOB', "
       "'NCHAR_CS') character_set_name, a.attr# attr_no "
       "FROM sys.obj$ o, sys.attr$ a WHERE a.obj# = o.obj# AND a.attr# > 0 AND o.owner = USER"},
      {"ALL_COLL_TYPES",
       "SELECT o.owner, o.name type_name, t.coll_type, t.upper_bound, "
       "a.type_mod elem_type_mod, a.type_owner elem_type_owner, a.type_name elem_type_name, "
       "a.length, a.precision$ precision, a.scale, DECODE(a.type_name, 'VARCHAR2', 'CHAR_CS', "
       "'CHAR', 'CHAR_CS', 'CLOB', 'CHAR_CS', 'NVARCHAR2', 'NCHAR_CS', 'NCHAR', 'NCHAR_CS', "
       "'NCLOB', 'NCHAR_CS') character_set_name "
       "FROM sys.obj$ o, sys.type$ t, sys.attr$ a "
       "WHERE t.obj# = o.obj# AND a.obj# = o.obj# AND a.attr# = 0"},
      {"USER_COLL_TYPES",
       "SELECT o.name type_name, t.coll_type, t.upper_bound, "
       "a.type_mod elem_type_mod, a.type_owner elem_type_owner, a.type_name elem_type_name, "
       "a.length, a.precision$ precision, a.scale, DECODE(a.type_name, 'VARCHAR2', 'CHAR_CS', "
       "'CHAR', 'CHAR_CS', 'CLOB', 'CHAR_CS', 'NVARCHAR2', 'NCHAR_CS', 'NCHAR', 'NCHAR_CS', "
       "'NCLOB', 'NCHAR_CS') character_set_name "
       "FROM sys.obj$ o, sys.type$ t, sys.attr$ a "
       "WHERE t.obj# = o.obj# AND a.obj# = o.obj# AND a.attr# = 0 AND o.owner = USER"},
      {"ALL_OBJECT_TABLES",
       "SELECT o.owner, o.name table_name, 'USERS' tablespace_name, 'VALID' status, "
       "'SYSTEM GENERATED' object_id_type, t.owner table_type_owner, t.name table_type, "
       "'N' temporary, 'NO' nested FROM sys.obj$ o, sys.objtab$ x, sys.obj$ t "
       "WHERE x.obj# = o.obj# AND t.obj# = x.type_obj#"},
      {"USER_OBJECT_TABLES",
       "SELECT o.name table_name, 'USERS' tablespace_name, 'VALID' status, "
       "'SYSTEM GENERATED' object_id_type, t.owner table_type_owner, t.name table_type, "
       "'N' temporary, 'NO' nested FROM sys.obj$ o, sys.objtab$ x, sys.obj$ t "
       "WHERE x.obj# = o.obj# AND t.obj# = x.type_obj# AND o.owner = USER"},
      {"TAB",
       "SELECT name tname, type tabtype, CAST(NULL AS NUMBER) clusterid FROM sys.obj$ "
       "WHERE type IN ('TABLE', 'VIEW', 'SYNONYM') AND owner = USER"},
  };
  return v;
}

}  // namespace

void createDictionary(Session& sys) {
  for (const View& v : views()) {
    sys.execute(std::string("CREATE VIEW SYS.") + v.name + " AS " + v.query);
    sys.execute(std::string("CREATE PUBLIC SYNONYM ") + v.name + " FOR SYS." + v.name);
  }
  sys.execute("CREATE PUBLIC SYNONYM DUAL FOR SYS.DUAL");
}

}  // namespace vorn::server
