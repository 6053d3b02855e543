// Type descriptor objects (OCIType, the TDO of Oracle's object cache): a
// user-defined type of the database as the call interface lays out its
// instances. A caller declares the instance struct of an object type the
// way Oracle's C mapping (the OTT tool) writes it, and reads and writes the
// attributes through it, so the layout is the C compiler's for that struct
// on this 64-bit platform:
//
//   NUMBER, INTEGER, FLOAT        OCINumber, 22 bytes, alignment 1
//   DATE                          OCIDate, 8 bytes, alignment 2
//   VARCHAR2, CHAR (N...)         OCIString *   } pointers: 8 bytes,
//   RAW                           OCIRaw *      } aligned to 8
//   REF                           OCIRef *      }
//   CLOB, BLOB, BFILE             OCILobLocator *
//   VARRAY, nested TABLE          OCIColl * (OCIArray *, OCITable *)
//   an object type                its own struct, inline (aligned to its
//                                 strictest attribute, size padded to it)
//
// and the struct itself is aligned to its strictest attribute, its size
// padded to that alignment. The null structure (OCIInd, 2 bytes each) has
// the object's atomic indicator first, then one indicator per attribute in
// order; an attribute of an object type contributes its whole null
// structure (with its own atomic indicator) in its place. So NUMBER,
// VARCHAR2, DATE lay out at 0, 24, 32 (size 40), with indicators at 2, 4, 6.
//
// A collection's instance is an OCIColl; its null structure is one OCIInd.
// Each element is laid out as a field of the element type (an object
// element as its struct with its null structure).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Types.h"
#include "oci.h"

namespace vorn::server {
class Catalog;
struct TypeInfo;
}  // namespace vorn::server

namespace vorn::server::oci {

class TypeDescriptor;

// One attribute of an object type, or the element of a collection type.
struct FieldLayout {
  std::string name;          // empty for a collection's element
  OCITypeCode typecode = 0;  // OCI_TYPECODE_*
  OraType type;              // length, precision, scale as declared
  // The object or collection type of the field; for a REF the type of the
  // objects it points to.
  const TypeDescriptor* nested = nullptr;
  size_t offset = 0;  // in the instance image
  size_t size = 0;
  size_t align = 1;
  size_t nullIndex = 0;  // first indicator in the null structure (OCIInd units)
  size_t nullCount = 1;  // indicators it takes (a nested object's whole structure)

  bool isPointer() const;
  bool isInlineObject() const { return typecode == OCI_TYPECODE_OBJECT; }
};

class TypeDescriptor {
 public:
  static constexpr uint32_t kMagic = 0x0C1A7D05u;

  uint32_t magic = kMagic;
  int64_t obj = 0;
  std::string owner, name;
  OCITypeCode typecode = OCI_TYPECODE_OBJECT;  // or OCI_TYPECODE_NAMEDCOLLECTION
  OCITypeCode collectionTypecode = 0;          // OCI_TYPECODE_VARRAY or _TABLE
  int64_t limit = 0;                           // VARRAY upper bound
  std::vector<FieldLayout> attributes;         // object types
  FieldLayout element;                         // collection types
  size_t size = 0;                             // instance image (objects)
  size_t align = 1;                            // strictest attribute
  size_t nullCount = 1;   // indicators of the null structure, the atomic one included
  std::string signature;  // tells a replaced definition from this one
  std::string version = "$8.0";
  const TypeInfo* info = nullptr;
  std::shared_ptr<const Catalog> catalog;  // keeps `info` alive
  const void* database = nullptr;          // identity of the database it came from

  bool isCollection() const { return typecode == OCI_TYPECODE_NAMEDCOLLECTION; }
  // The field named `name` (case as the dictionary has it), null when none.
  const FieldLayout* field(const std::string& name) const;
};

// The descriptor behind an OCIType pointer; null for anything else.
TypeDescriptor* typeDescriptorOf(const void* p);

// The typecode, size and alignment of a field of engine type `type`
// (nested: the field's own type descriptor when it has one).
void layoutField(FieldLayout& f);
// Lays out `type`'s attributes (their nested descriptors set): offsets,
// indicators, size and alignment.
void layoutObject(TypeDescriptor& type);
// A signature of a type definition: equal exactly when two definitions lay
// out alike.
std::string typeSignature(const TypeInfo& info);

// Bytes of a REF to a type descriptor (OCI_ATTR_REF_TDO, OCIObjectGetTypeRef):
// 'T', version, the type's object number; OCIObjectPin of it gives the
// descriptor.
std::string typeRefBytes(int64_t obj);
bool decodeTypeRef(std::string_view bytes, int64_t& obj);

}  // namespace vorn::server::oci
