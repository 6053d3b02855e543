// User-defined types as the catalog keeps them: object types (CREATE TYPE
// ... AS OBJECT), VARRAYs and nested tables (CREATE TYPE ... AS VARRAY(n) OF
// / AS TABLE OF), and the REFs to objects of object types.
//
// Storage (SYS base tables of the database file, next to the catalog's):
//   TYPE$     one row per type: kind, collection kind and limit, TYPE_OID
//   ATTR$     one row per attribute (ATTR# 1..n), ATTR# 0 is a collection's
//             element; user-defined attribute types by object number
//   COLTYPE$  the columns of a user-defined type (object, collection or REF,
//             with a REF's SCOPE IS table and a nested table's STORE AS)
//   OBJTAB$   object tables (CREATE TABLE t OF type) and their type
// An object table is a table whose columns are the type's attributes plus
// the hidden column SYS_NC_OID$ (16 random bytes, unique) that holds each
// row object's identifier. Values of user-defined types travel through SQL
// as the bytes ObjectValue.h describes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Types.h"

struct sqlite3;

namespace vorn::server {

struct TypeAttribute {
  std::string name;
  OraType type;
};

struct TypeInfo {
  enum class Kind { Object, Varray, Table };

  int64_t obj = 0;
  std::string owner, name;
  Kind kind = Kind::Object;
  // CREATE TYPE name; without a body: usable only as a REF target until a
  // CREATE TYPE gives its attributes.
  bool incomplete = false;
  // A type whose definition names a type that is gone (DROP TYPE FORCE).
  bool invalid = false;
  std::string oid;                        // TYPE_OID: 32 hexadecimal digits
  std::vector<TypeAttribute> attributes;  // Object
  OraType element;                        // Varray, Table
  int64_t limit = 0;                      // Varray: the upper bound

  bool isCollection() const { return kind != Kind::Object; }
  // "OWNER"."NAME" as error messages show a type.
  std::string qualifiedName() const { return owner + "." + name; }
  // The index of attribute `attribute`, -1 when there is none.
  int findAttribute(const std::string& attribute) const;
};

// The type of a column or attribute declared with a user-defined type.
OraType userDefinedType(const TypeInfo& type);
OraType refType(const TypeInfo& target);
// Two types of the same user-defined kind and definition (snapshots of one
// catalog may differ in their pointers, never in object numbers).
bool sameUserType(const OraType& a, const OraType& b);

// A value stored as `type` (an attribute, an element, a column of a
// user-defined type): numbers rounded to their precision and scale, CHAR
// padded, objects and collections fitted attribute by attribute and element
// by element. Raises ORA-22814 for text or RAW too long for an attribute,
// ORA-01438 for a number too large, ORA-22909 for more elements than a
// VARRAY holds, ORA-22880 for bytes that are no REF where one is expected.
// A Date kind is given to integers of DATE attributes.
class Value;
Value fitToType(const Value& v, const OraType& type);

// The base tables of user-defined types (for files made before they
// existed; new files have them from the start).
void createTypeTables(sqlite3* db);

// The object-table column that holds each row object's identifier.
constexpr const char* kObjectIdColumn = "SYS_NC_OID$";

}  // namespace vorn::server
