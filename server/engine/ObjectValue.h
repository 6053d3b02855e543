// Values of user-defined types as bytes: how an object, a collection and a
// REF travel through SQLite (as BLOBs in columns and between the engine's
// SQL functions) and through Value::Kind::Raw to the call interface.
//
//   object      'O' 1, count (varint), then each attribute value
//   collection  'C' 1, count (varint), then each element value
//   value       a tag byte, then: 0 NULL; 1 INTEGER (8 bytes, little
//               endian); 2 DOUBLE (8 bytes); 3 TEXT, 5 RAW (varint length
//               and bytes); 4 DATE (8 bytes of seconds). A nested object,
//               collection or REF is RAW holding its own bytes.
//   REF         'R' 1, the table's object number (8 bytes, big endian), the
//               row object's identifier (16 bytes)
//
// An atomically NULL object or collection is SQL NULL; an object whose
// attributes are all NULL is an object. The encoding is canonical (one value
// has one form), so equal objects have equal bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Value.h"

namespace vorn::server {

constexpr size_t kObjectIdBytes = 16;

std::string encodeObject(const std::vector<Value>& attributes);
std::string encodeCollection(const std::vector<Value>& elements);
// False when `bytes` is not an object (or a collection) in this form.
bool decodeObject(std::string_view bytes, std::vector<Value>& attributes);
bool decodeCollection(std::string_view bytes, std::vector<Value>& elements);
// The number of attributes or elements without decoding them; -1 when the
// bytes are malformed.
int64_t encodedCount(std::string_view bytes);

struct RefValue {
  int64_t table = 0;  // object number of the object table
  std::string oid;    // kObjectIdBytes bytes
};
std::string encodeRef(const RefValue& ref);
// False when `bytes` is no REF.
bool decodeRef(std::string_view bytes, RefValue& out);

// Raw bytes of an object, collection or REF value in SQL.
inline Value objectBytes(std::string bytes) {
  return Value::raw(std::move(bytes));
}

}  // namespace vorn::server
