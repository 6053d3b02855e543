// Oracle data types as the engine infers them for every expression: the
// kind decides how a value is stored in SQLite (see the storage conventions
// in docs/server.md) and which typed SQL function variant the code generator
// calls; length, precision and scale are what describe reports. A
// user-defined type (an object type, a named collection, a REF to an object
// type) points at its definition in the catalog snapshot it was resolved in
// (ObjectTypes.h); such a type is valid while that snapshot lives.
#pragma once

#include <string>

namespace vorn::server {

struct TypeInfo;

enum class TypeKind : unsigned char {
  Null,  // the NULL literal: takes the type of its context
  Number,
  Varchar2,
  Char,
  Date,
  Raw,
  Long,
  LongRaw,
  Clob,
  Blob,
  Bfile,
  Rowid,
  Boolean,     // conditions (never a column)
  Object,      // an object type: udt
  Ref,         // a REF to objects of type udt
  Collection,  // a VARRAY or nested TABLE type: udt
};

struct OraType {
  TypeKind kind = TypeKind::Null;
  int length = 0;         // characters (text types) or bytes (RAW); data size for describe
  int precision = 0;      // NUMBER: 0 when not given
  int scale = -127;       // NUMBER: -127 when not given ("floating")
  bool isFloat = false;   // FLOAT(b): precision is binary
  bool national = false;  // NVARCHAR2, NCHAR, NCLOB
  bool nullable = true;
  const TypeInfo* udt = nullptr;  // Object, Ref, Collection

  static OraType number(int precision = 0, int scale = -127) {
    OraType t;
    t.kind = TypeKind::Number;
    t.precision = precision;
    t.scale = scale;
    return t;
  }
  static OraType varchar2(int length) {
    OraType t;
    t.kind = TypeKind::Varchar2;
    t.length = length;
    return t;
  }
  static OraType charType(int length) {
    OraType t;
    t.kind = TypeKind::Char;
    t.length = length;
    return t;
  }
  static OraType of(TypeKind k) {
    OraType t;
    t.kind = k;
    return t;
  }

  bool isText() const {
    return kind == TypeKind::Varchar2 || kind == TypeKind::Char || kind == TypeKind::Long ||
           kind == TypeKind::Clob;
  }
  bool isBinary() const {
    return kind == TypeKind::Raw || kind == TypeKind::LongRaw || kind == TypeKind::Blob;
  }
  bool isLob() const {
    return kind == TypeKind::Clob || kind == TypeKind::Blob || kind == TypeKind::Bfile;
  }
  bool isLong() const { return kind == TypeKind::Long || kind == TypeKind::LongRaw; }
  bool isUserDefined() const {
    return kind == TypeKind::Object || kind == TypeKind::Ref || kind == TypeKind::Collection;
  }
};

// Oracle's describe type code: 1, 2, 8, 12, 23, 24, 96, 104, 108, 110, 112,
// 113, 114.
int describeTypeCode(const OraType& t);
// The size describe reports (22 for NUMBER, 7 for DATE, ...).
int describeDataSize(const OraType& t);
// The type as the dictionary names it: NUMBER, VARCHAR2, DATE, LONG RAW,
// ..., a user-defined type's own name.
std::string dictionaryTypeName(const OraType& t);

}  // namespace vorn::server
