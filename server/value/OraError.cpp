// Oracle's message catalogue, as far as the embedded server raises errors:
// the classic texts (8i to 21c), with "%s" where Oracle substitutes a value.
#include "OraError.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace vorn::server {
namespace {

struct CatalogueEntry {
  int code;
  const char* text;
};

// Sorted by code; looked up by binary search.
constexpr CatalogueEntry kCatalogue[] = {
    {1, "unique constraint (%s.%s) violated"},
    {18, "maximum number of sessions exceeded"},
    {28, "your session has been killed"},
    {54, "resource busy and acquire with NOWAIT specified or timeout expired"},
    {60, "deadlock detected while waiting for resource"},
    {600, "internal error code, arguments: [%s], [%s], [%s], [%s], [%s], [%s], [%s], [%s]"},
    {604, "error occurred at recursive SQL level %s"},
    {900, "invalid SQL statement"},
    {901, "invalid CREATE command"},
    {902, "invalid datatype"},
    {903, "invalid table name"},
    {904, "%s: invalid identifier"},
    {905, "missing keyword"},
    {906, "missing left parenthesis"},
    {907, "missing right parenthesis"},
    {908, "missing NULL keyword"},
    {909, "invalid number of arguments"},
    {910, "specified length too long for its datatype"},
    {911, "invalid character"},
    {913, "too many values"},
    {917, "missing comma"},
    {918, "column ambiguously defined"},
    {919, "invalid function"},
    {920, "invalid relational operator"},
    {921, "unexpected end of SQL command"},
    {922, "missing or invalid option"},
    {923, "FROM keyword not found where expected"},
    {924, "missing BY keyword"},
    {925, "missing INTO keyword"},
    {926, "missing VALUES keyword"},
    {927, "missing equal sign"},
    {928, "missing SELECT keyword"},
    {931, "missing identifier"},
    {932, "inconsistent datatypes: expected %s got %s"},
    {933, "SQL command not properly ended"},
    {934, "group function is not allowed here"},
    {936, "missing expression"},
    {937, "not a single-group group function"},
    {938, "not enough arguments for function"},
    {939, "too many arguments for function"},
    {940, "invalid ALTER command"},
    {942, "table or view does not exist"},
    {947, "not enough values"},
    {950, "invalid DROP option"},
    {955, "name is already used by an existing object"},
    {957, "duplicate column name"},
    {969, "missing ON keyword"},
    {971, "missing SET keyword"},
    {972, "identifier is too long"},
    {975, "date + date not allowed"},
    {979, "not a GROUP BY expression"},
    {980, "synonym translation is no longer valid"},
    {984, "column not allowed here"},
    {988, "missing or invalid password(s)"},
    {998, "must name this expression with a column alias"},
    {1000, "maximum open cursors exceeded"},
    {1001, "invalid cursor"},
    {1002, "fetch out of sequence"},
    {1003, "no statement parsed"},
    {1005, "null password given; logon denied"},
    {1006, "bind variable does not exist"},
    {1007, "variable not in select list"},
    {1008, "not all variables bound"},
    {1009, "missing mandatory parameter"},
    {1010, "invalid OCI operation"},
    {1012, "not logged on"},
    {1013, "user requested cancel of current operation"},
    {1017, "invalid username/password; logon denied"},
    {1031, "insufficient privileges"},
    {1033, "ORACLE initialization or shutdown in progress"},
    {1034, "ORACLE not available"},
    {1036, "illegal variable name/number"},
    {1086, "savepoint '%s' never established in this session or is invalid"},
    {1400, "cannot insert NULL into (%s)"},
    {1401, "inserted value too large for column"},
    {1403, "no data found"},
    {1405, "fetched column value is NULL"},
    {1406, "fetched column value was truncated"},
    {1407, "cannot update (%s) to NULL"},
    {1408, "such column list already indexed"},
    {1410, "invalid ROWID"},
    {1416, "two tables cannot be outer-joined to each other"},
    {1417, "a table may be outer joined to at most one other table"},
    {1418, "specified index does not exist"},
    {1422, "exact fetch returns more than requested number of rows"},
    {1424, "missing or illegal character following the escape character"},
    {1425, "escape character must be character string of length 1"},
    {1426, "numeric overflow"},
    {1427, "single-row subquery returns more than one row"},
    {1428, "argument '%s' is out of range"},
    {1430, "column being added already exists in table"},
    {1432, "public synonym to be dropped does not exist"},
    {1434, "private synonym to be dropped does not exist"},
    {1438, "value larger than specified precision allowed for this column"},
    {1439, "column to be modified must be empty to change datatype"},
    {1440, "column to be modified must be empty to decrease precision or scale"},
    {1441, "cannot decrease column length because some value is too big"},
    {1442, "column to be modified to NOT NULL is already NOT NULL"},
    {1445, "cannot select ROWID from, or sample, a join view without a key-preserved table"},
    {1449, "column contains NULL values; cannot alter to NOT NULL"},
    {1451, "column to be modified to NULL cannot be modified to NULL"},
    {1452, "cannot CREATE UNIQUE INDEX; duplicate keys found"},
    {1453, "SET TRANSACTION must be first statement of transaction"},
    {1455, "converting column overflows integer datatype"},
    {1456, "may not perform insert/delete/update operation inside a READ ONLY transaction"},
    {1458, "invalid length inside variable character string"},
    {1460, "unimplemented or unreasonable conversion requested"},
    {1465, "invalid hex number"},
    {1468, "a predicate may reference only one outer-joined table"},
    {1471, "cannot create a synonym with same name as object"},
    {1475, "must reparse cursor to change bind variable datatype"},
    {1476, "divisor is equal to zero"},
    {1480, "trailing null missing from STR bind value"},
    {1481, "invalid number format model"},
    {1489, "result of string concatenation is too long"},
    {1501, "CREATE DATABASE failed"},
    {1704, "string literal too long"},
    {1719, "outer join operator (+) not allowed in operand of OR or IN"},
    {1722, "invalid number"},
    {1723, "zero-length columns are not allowed"},
    {1724, "floating point precision is out of range (1 to 126)"},
    {1727, "numeric precision specifier is out of range (1 to 38)"},
    {1728, "numeric scale specifier is out of range (-84 to 127)"},
    {1730, "invalid number of column names specified"},
    {1731, "circular view definition encountered"},
    {1732, "data manipulation operation not legal on this view"},
    {1735, "invalid ALTER TABLE option"},
    {1740, "missing double quote in identifier"},
    {1741, "illegal zero-length identifier"},
    {1745, "invalid host/bind variable name"},
    {1747, "invalid user.table.column, table.column, or column specification"},
    {1752, "cannot delete from view without exactly one key-preserved table"},
    {1754, "a table may contain only one column of type LONG"},
    {1756, "quoted string not properly terminated"},
    {1758, "table must be empty to add mandatory (NOT NULL) column"},
    {1775, "looping chain of synonyms"},
    {1779, "cannot modify a column which maps to a non key-preserved table"},
    {1780, "string literal required"},
    {1785, "ORDER BY item must be the number of a SELECT-list expression"},
    {1786, "FOR UPDATE of this query expression is not allowed"},
    {1789, "query block has incorrect number of result columns"},
    {1790, "expression must have same datatype as corresponding expression"},
    {1791, "not a SELECTed expression"},
    {1795, "maximum number of expressions in a list is 1000"},
    {1810, "format code appears twice"},
    {1820, "format code cannot appear in date input format"},
    {1821, "date format not recognized"},
    {1830, "date format picture ends before converting entire input string"},
    {1839, "date not valid for month specified"},
    {1840, "input value not long enough for date format"},
    {1841, "(full) year must be between -4713 and +9999, and not be 0"},
    {1843, "not a valid month"},
    {1846, "not a valid day of the week"},
    {1847, "day of month must be between 1 and last day of month"},
    {1848, "day of year must be between 1 and 365 (366 for leap year)"},
    {1849, "hour must be between 1 and 12"},
    {1850, "hour must be between 0 and 23"},
    {1851, "minutes must be between 0 and 59"},
    {1852, "seconds must be between 0 and 59"},
    {1853, "seconds in day must be between 0 and 86399"},
    {1854, "julian date must be between 1 and 5373484"},
    {1855, "AM/A.M. or PM/P.M. required"},
    {1856, "BC/B.C. or AD/A.D. required"},
    {1858, "a non-numeric character was found where a numeric was expected"},
    {1861, "literal does not match format string"},
    {1862, "the numeric value does not match the length of the format item"},
    {1899, "bad precision specifier"},
    {1916, "keyword ACCOUNT, PASSWORD or DEFAULT expected"},
    {1918, "user '%s' does not exist"},
    {1920, "user name '%s' conflicts with another user or role name"},
    {1922, "CASCADE must be specified to drop '%s'"},
    {1935, "missing user or role name"},
    {1940, "cannot drop a user that is currently connected"},
    {2000, "missing %s keyword"},
    {2014, "cannot select FOR UPDATE from view with DISTINCT, GROUP BY, etc."},
    {2019, "connection description for remote database not found"},
    {2248, "invalid option for ALTER SESSION"},
    {2256, "number of referencing columns must match referenced columns"},
    {2260, "table can have only one primary key"},
    {2261, "such unique or primary key already exists in the table"},
    {2264, "name already used by an existing constraint"},
    {2266, "unique/primary keys in table referenced by enabled foreign keys"},
    {2267, "column type incompatible with referenced column type"},
    {2268, "referenced table does not have a primary key"},
    {2270, "no matching unique or primary key for this column-list"},
    {2273, "this unique/primary key is referenced by some foreign keys"},
    {2275, "such a referential constraint already exists in the table"},
    {2283, "cannot alter starting sequence number"},
    {2287, "sequence number not allowed here"},
    {2289, "sequence does not exist"},
    {2290, "check constraint (%s.%s) violated"},
    {2291, "integrity constraint (%s.%s) violated - parent key not found"},
    {2292, "integrity constraint (%s.%s) violated - child record found"},
    {2293, "cannot validate (%s.%s) - check constraint violated"},
    {2296, "cannot enable (%s.%s) - null values found"},
    {2297, "cannot disable constraint (%s.%s) - dependencies exist"},
    {2298, "cannot validate (%s.%s) - parent keys not found"},
    {2299, "cannot validate (%s.%s) - duplicate keys found"},
    {2327, "cannot create index on expression with datatype %s"},
    {2329, "column of datatype %s cannot be unique or a primary key"},
    {2429, "cannot drop index used for enforcement of unique/primary key"},
    {2430, "cannot enable constraint (%s) - no such constraint"},
    {2431, "cannot disable constraint (%s) - no such constraint"},
    {2437, "cannot validate (%s.%s) - primary key violated"},
    {2443, "Cannot drop constraint  - nonexistent constraint"},
    {2449, "unique/primary keys in table referenced by foreign keys"},
    {3001, "unimplemented feature"},
    {3113, "end-of-file on communication channel"},
    {3114, "not connected to ORACLE"},
    {3129, "the next piece to be inserted is required"},
    {3130, "the buffer for the next piece to be fetched is required"},
    {3135, "connection lost contact"},
    {4002, "INCREMENT must be a non-zero integer"},
    {4004, "MINVALUE must be less than MAXVALUE"},
    {4006, "START WITH cannot be less than MINVALUE"},
    {4008, "START WITH cannot be more than MAXVALUE"},
    {4009, "MAXVALUE cannot be made to be less than the current value"},
    {4010, "the number of values to CACHE must be greater than 1"},
    {4043, "object %s does not exist"},
    {4063, "%s has errors"},
    {4088, "error during execution of trigger '%s.%s'"},
    {4091, "table %s.%s is mutating, trigger/function may not see it"},
    {6502, "PL/SQL: numeric or value error%s"},
    {6503, "PL/SQL: Function returned without value"},
    {6508, "PL/SQL: could not find program unit being called"},
    {6510, "PL/SQL: unhandled user-defined exception"},
    {6511, "PL/SQL: cursor already open"},
    {6512, "at %sline %s"},
    {6530, "Reference to uninitialized composite"},
    {6531, "Reference to uninitialized collection"},
    {6532, "Subscript outside of limit"},
    {6533, "Subscript beyond count"},
    {6550, "line %s, column %s:\n%s"},
    {8002, "sequence %s.CURRVAL is not yet defined in this session"},
    {8004, "sequence %s.NEXTVAL exceeds MAXVALUE and cannot be instantiated"},
    {8177, "can't serialize access for this transaction"},
    {12154, "TNS:could not resolve the connect identifier specified"},
    {12514, "TNS:listener does not currently know of service requested in connect descriptor"},
    {12541, "TNS:no listener"},
    {12545, "Connect failed because target host or object does not exist"},
    {12705, "Cannot access NLS data files or invalid environment specified"},
    {12899, "value too large for column %s (actual: %s, maximum: %s)"},
    {12983, "cannot drop all columns in a table"},
    {12991, "column is referenced in a multi-column constraint"},
    {12992, "cannot drop parent key column"},
    {21301, "not initialized in object mode"},
    {21560, "argument %s is null, invalid, or out of range"},
    {22275, "invalid LOB locator specified"},
    {22285, "non-existent directory or file for %s operation"},
    {22288, "file or LOB operation %s failed\n%s"},
    {22289, "cannot perform %s operation on an unopened file or LOB"},
    {22290, "operation would exceed the maximum number of opened files or LOBs"},
    {22293, "LOB already opened in the same transaction"},
    {22920, "row containing the LOB value is not locked"},
    {22922, "nonexistent LOB value"},
    {22925, "operation would exceed maximum size allowed for a LOB value"},
    {22926, "specified trim length is greater than current LOB value's length"},
    {22993, "specified input amount is greater than actual source amount"},
    {24300, "bad value for mode"},
    {24309, "already connected to a server"},
    {24313, "user already authenticated"},
    {24315, "illegal attribute type"},
    {24316, "illegal handle type"},
    {24327, "need explicit attach before authenticating a user"},
    {24328, "illegal attribute value"},
    {24333, "zero iteration count"},
    {24334, "no descriptor for this position"},
    {24337, "statement handle not prepared"},
    {24338, "statement handle not executed"},
    {24344, "success with compilation error"},
    {24345, "A Truncation or null fetch error occurred"},
    {24374, "define not done before fetch or execute and fetch"},
    {24381, "error(s) in array DML"},
    {25156, "old style outer join (+) cannot be used with ANSI joins"},
    {28000, "the account is locked"},
    {28001, "the password has expired"},
    {28002, "the password will expire within %s days"},
    {30001, "trim set should have only one character"},
    {30005, "missing or invalid WAIT interval"},
    {30006, "resource busy; acquire with WAIT timeout expired"},
};

const char* lookup(int code) {
  auto it = std::lower_bound(std::begin(kCatalogue), std::end(kCatalogue), code,
                             [](const CatalogueEntry& e, int c) { return e.code < c; });
  if (it != std::end(kCatalogue) && it->code == code) return it->text;
  return nullptr;
}

std::string prefix(int code) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "ORA-%05d: ", code);
  return buf;
}

}  // namespace

OraError::OraError(int code, std::string message, int offset)
    : code_(code), message_(std::move(message)), offset_(offset) {}

void OraError::appendLine(std::string_view line) {
  message_ += '\n';
  message_ += line;
}

std::string oraMessage(int code, std::initializer_list<std::string_view> args) {
  std::string out = prefix(code);
  const char* text = lookup(code);
  if (!text) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Message %d not found;  product=RDBMS; facility=ORA", code);
    return out + buf;
  }
  auto arg = args.begin();
  for (const char* p = text; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      if (arg != args.end()) out += *arg++;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

void raiseOra(int code, std::initializer_list<std::string_view> args, int offset) {
  throw OraError(code, oraMessage(code, args), offset);
}

void raiseApplicationError(int code, std::string_view text) {
  throw OraError(code, prefix(code) + std::string(text));
}

}  // namespace vorn::server
