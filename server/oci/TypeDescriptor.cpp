// Type descriptors and the C layout of instances; see TypeDescriptor.h.
#include "TypeDescriptor.h"

#include <algorithm>

#include "engine/ObjectTypes.h"
#include "value/OraError.h"

namespace vorn::server::oci {

namespace {

size_t alignUp(size_t offset, size_t align) {
  return (offset + align - 1) / align * align;
}

}  // namespace

bool FieldLayout::isPointer() const {
  return typecode != OCI_TYPECODE_NUMBER && typecode != OCI_TYPECODE_DATE &&
         typecode != OCI_TYPECODE_OBJECT;
}

const FieldLayout* TypeDescriptor::field(const std::string& attribute) const {
  for (const FieldLayout& f : attributes) {
    if (f.name == attribute) return &f;
  }
  return nullptr;
}

TypeDescriptor* typeDescriptorOf(const void* p) {
  if (!p) return nullptr;
  auto* t = static_cast<TypeDescriptor*>(const_cast<void*>(p));
  return t->magic == TypeDescriptor::kMagic ? t : nullptr;
}

void layoutField(FieldLayout& f) {
  f.size = sizeof(void*);
  f.align = alignof(void*);
  f.nullCount = 1;
  switch (f.type.kind) {
    case TypeKind::Number:
      f.typecode = OCI_TYPECODE_NUMBER;
      f.size = sizeof(OCINumber);
      f.align = alignof(OCINumber);
      break;
    case TypeKind::Date:
      f.typecode = OCI_TYPECODE_DATE;
      f.size = sizeof(OCIDate);
      f.align = alignof(OCIDate);
      break;
    case TypeKind::Varchar2:
      f.typecode = OCI_TYPECODE_VARCHAR2;
      break;
    case TypeKind::Char:
      f.typecode = OCI_TYPECODE_CHAR;
      break;
    case TypeKind::Raw:
      f.typecode = OCI_TYPECODE_RAW;
      break;
    case TypeKind::Clob:
      f.typecode = OCI_TYPECODE_CLOB;
      break;
    case TypeKind::Blob:
      f.typecode = OCI_TYPECODE_BLOB;
      break;
    case TypeKind::Bfile:
      f.typecode = OCI_TYPECODE_BFILE;
      break;
    case TypeKind::Ref:
      f.typecode = OCI_TYPECODE_REF;
      break;
    case TypeKind::Collection:
      f.typecode = OCI_TYPECODE_NAMEDCOLLECTION;
      break;
    case TypeKind::Object:
      f.typecode = OCI_TYPECODE_OBJECT;
      f.size = f.nested->size;
      f.align = f.nested->align;
      f.nullCount = f.nested->nullCount;
      break;
    default:
      raiseOra(21602);
  }
}

void layoutObject(TypeDescriptor& type) {
  size_t offset = 0;
  size_t nulls = 1;  // the atomic indicator
  type.align = 1;
  for (FieldLayout& f : type.attributes) {
    layoutField(f);
    offset = alignUp(offset, f.align);
    f.offset = offset;
    offset += f.size;
    f.nullIndex = nulls;
    nulls += f.nullCount;
    type.align = std::max(type.align, f.align);
  }
  type.size = alignUp(std::max<size_t>(offset, 1), type.align);
  type.nullCount = nulls;
}

std::string typeSignature(const TypeInfo& info) {
  std::string s = std::to_string(static_cast<int>(info.kind)) + ":" + std::to_string(info.limit);
  auto add = [&](const std::string& name, const OraType& t) {
    s += "|" + name + ":" + std::to_string(static_cast<int>(t.kind)) + "," +
         std::to_string(t.length) + "," + std::to_string(t.precision) + "," +
         std::to_string(t.scale) + "," + std::to_string(t.udt ? t.udt->obj : 0);
  };
  for (const TypeAttribute& a : info.attributes)
    add(a.name, a.type);
  if (info.isCollection()) add("", info.element);
  return s;
}

std::string typeRefBytes(int64_t obj) {
  std::string out = "T";
  out += '\x01';
  for (int i = 7; i >= 0; --i)
    out += static_cast<char>((static_cast<uint64_t>(obj) >> (8 * i)) & 0xFF);
  return out;
}

bool decodeTypeRef(std::string_view bytes, int64_t& obj) {
  if (bytes.size() != 10 || bytes[0] != 'T' || bytes[1] != '\x01') return false;
  uint64_t v = 0;
  for (size_t i = 0; i < 8; ++i)
    v = (v << 8) | static_cast<unsigned char>(bytes[2 + i]);
  obj = static_cast<int64_t>(v);
  return true;
}

}  // namespace vorn::server::oci
