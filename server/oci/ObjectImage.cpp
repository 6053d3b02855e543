// Instance images and engine values; see ObjectImage.h.
#include "ObjectImage.h"

#include <cstring>

#include "ExternalData.h"
#include "LobLocator.h"
#include "value/NumberBytes.h"
#include "value/OraDate.h"
#include "value/OraError.h"

namespace vorn::server::oci {

namespace {

constexpr size_t kElementAlign = alignof(std::max_align_t);

size_t alignUp(size_t n, size_t align) {
  return (n + align - 1) / align * align;
}

OraNumber numberOf(const Value& v) {
  if (v.kind() == Value::Kind::Integer) return OraNumber(v.asInteger());
  if (v.kind() == Value::Kind::Double) return OraNumber::fromDouble(v.asDouble());
  raiseOra(932, {"NUMBER", "CHAR"});
}

void writeNumber(unsigned char* at, const Value& v) {
  unsigned char bytes[kVarnumBytes] = {};
  encodeVarnum(numberOf(v), bytes);
  std::memcpy(at, bytes, sizeof bytes);
}

Value readNumber(const unsigned char* at) {
  if (at[0] == 0 || at[0] > kNumberBytesMax) raiseOra(22060, {"1"});
  OraNumber n = decodeVarnum(at);
  return n.isInteger() ? Value::integer(n.integer()) : Value::real(n.toDouble());
}

void writeDate(unsigned char* at, const Value& v) {
  OraDate d = OraDate::fromSeconds(v.asInteger());
  OCIDate od{};
  od.OCIDateYYYY = static_cast<sb2>(d.year);
  od.OCIDateMM = static_cast<ub1>(d.month);
  od.OCIDateDD = static_cast<ub1>(d.day);
  od.OCIDateTime.OCITimeHH = static_cast<ub1>(d.hour);
  od.OCIDateTime.OCITimeMI = static_cast<ub1>(d.minute);
  od.OCIDateTime.OCITimeSS = static_cast<ub1>(d.second);
  std::memcpy(at, &od, sizeof od);
}

Value readDate(const unsigned char* at) {
  OCIDate od;
  std::memcpy(&od, at, sizeof od);
  OraDate d;
  d.year = od.OCIDateYYYY;
  d.month = od.OCIDateMM;
  d.day = od.OCIDateDD;
  d.hour = od.OCIDateTime.OCITimeHH;
  d.minute = od.OCIDateTime.OCITimeMI;
  d.second = od.OCIDateTime.OCITimeSS;
  d.validate();
  return Value::date(d.toSeconds());
}

// The value behind a pointer field's slot, allocated when the slot is
// empty. ORA-21710 when the slot holds a pointer that is not the cache's.
template <class T, class Make, class Find>
T& slotValue(unsigned char* at, Make&& make, Find&& find) {
  void* p = slotPointer(at);
  if (!p) {
    T* made = make();
    setSlotPointer(at, made);
    return *made;
  }
  T* value = find(p);
  if (!value) raiseOra(21710);
  return *value;
}

OciString& stringSlot(ObjectCache& cache, unsigned char* at) {
  return slotValue<OciString>(
      at, [&] { return cache.newString(); }, [&](void* p) { return cache.string(p); });
}

OciRaw& rawSlot(ObjectCache& cache, unsigned char* at) {
  return slotValue<OciRaw>(
      at, [&] { return cache.newRaw(); }, [&](void* p) { return cache.raw(p); });
}

OciRef& refSlot(ObjectCache& cache, unsigned char* at) {
  return slotValue<OciRef>(
      at, [&] { return cache.newRef(); }, [&](void* p) { return cache.ref(p); });
}

bool isLob(const FieldLayout& f) {
  return f.typecode == OCI_TYPECODE_CLOB || f.typecode == OCI_TYPECODE_BLOB ||
         f.typecode == OCI_TYPECODE_BFILE;
}

LobLocator& locatorSlot(ObjectCache& cache, const FieldLayout& f, unsigned char* at) {
  return slotValue<LobLocator>(
      at, [&] { return cache.newLocator(f.type.kind); }, [&](void* p) { return cache.locator(p); });
}

OciColl& collectionSlot(ObjectCache& cache, const FieldLayout& f, unsigned char* at) {
  return slotValue<OciColl>(
      at, [&] { return cache.newCollection(*f.nested); },
      [&](void* p) { return cache.collection(p); });
}

// A pointer field's value for reading: null for an empty slot.
template <class T, class Find>
const T* readSlot(const unsigned char* at, Find&& find) {
  void* p = slotPointer(at);
  if (!p) return nullptr;
  const T* value = find(p);
  if (!value) raiseOra(21710);
  return value;
}

size_t elementValueBytes(const OciColl& coll) {
  return alignUp(coll.type->element.size, kElementAlign);
}

}  // namespace

void* slotPointer(const unsigned char* at) {
  void* p = nullptr;
  std::memcpy(&p, at, sizeof p);
  return p;
}

void setSlotPointer(unsigned char* at, const void* p) {
  std::memcpy(at, &p, sizeof p);
}

void setFieldNull(const FieldLayout& f, sb2* ind) {
  for (size_t i = 0; i < f.nullCount; ++i)
    ind[i] = OCI_IND_NULL;
}

// ---------------------------------------------------------------------------
// Fields

void initField(ObjectCache& cache, const FieldLayout& f, unsigned char* at, sb2* ind) {
  switch (f.typecode) {
    case OCI_TYPECODE_NUMBER:
    case OCI_TYPECODE_DATE:
      std::memset(at, 0, f.size);
      break;
    case OCI_TYPECODE_VARCHAR2:
    case OCI_TYPECODE_CHAR:
      setSlotPointer(at, cache.newString());
      break;
    case OCI_TYPECODE_RAW:
      setSlotPointer(at, cache.newRaw());
      break;
    case OCI_TYPECODE_REF:
      setSlotPointer(at, cache.newRef());
      break;
    case OCI_TYPECODE_NAMEDCOLLECTION:
      setSlotPointer(at, cache.newCollection(*f.nested));
      break;
    case OCI_TYPECODE_OBJECT:
      initImage(cache, *f.nested, at, ind);
      break;
    case OCI_TYPECODE_CLOB:
    case OCI_TYPECODE_BLOB:
    case OCI_TYPECODE_BFILE:
      setSlotPointer(at, cache.newLocator(f.type.kind));
      break;
    default:
      setSlotPointer(at, nullptr);
      break;
  }
  setFieldNull(f, ind);
}

void releaseField(ObjectCache& cache, const FieldLayout& f, unsigned char* at) {
  if (f.typecode == OCI_TYPECODE_OBJECT) {
    releaseImage(cache, *f.nested, at);
    return;
  }
  if (!f.isPointer()) return;
  void* p = slotPointer(at);
  if (isLob(f)) {
    cache.releaseLocator(p);
  } else if (p) {
    cache.release(p);
  }
  setSlotPointer(at, nullptr);
}

void loadField(ObjectCache& cache, const FieldLayout& f, unsigned char* at, sb2* ind,
               const Value& v) {
  if (f.typecode == OCI_TYPECODE_OBJECT) {
    loadImage(cache, *f.nested, at, ind, v);
    return;
  }
  if (v.isNull()) {
    *ind = OCI_IND_NULL;
    return;
  }
  switch (f.typecode) {
    case OCI_TYPECODE_NUMBER:
      writeNumber(at, v);
      break;
    case OCI_TYPECODE_DATE:
      writeDate(at, v);
      break;
    case OCI_TYPECODE_VARCHAR2:
    case OCI_TYPECODE_CHAR:
      stringSlot(cache, at).text = v.asText();
      break;
    case OCI_TYPECODE_RAW:
      rawSlot(cache, at).bytes = v.asText();
      break;
    case OCI_TYPECODE_REF:
      refSlot(cache, at).bytes = v.asText();
      break;
    case OCI_TYPECODE_NAMEDCOLLECTION:
      loadCollection(cache, collectionSlot(cache, f, at), v);
      break;
    case OCI_TYPECODE_CLOB:
    case OCI_TYPECODE_BLOB:
    case OCI_TYPECODE_BFILE:
      // The value travels with the object: the locator reads it, and is
      // not tied to a row.
      locatorSlot(cache, f, at).load(f.type.kind, ValueView::of(v), std::nullopt);
      break;
    default:
      raiseOra(21602);
  }
  *ind = OCI_IND_NOTNULL;
}

Value fieldValue(const ObjectCache& cache, const FieldLayout& f, const unsigned char* at,
                 const sb2* ind) {
  if (f.typecode == OCI_TYPECODE_OBJECT) return imageValue(cache, *f.nested, at, ind);
  if (*ind == OCI_IND_NULL) return Value();
  switch (f.typecode) {
    case OCI_TYPECODE_NUMBER:
      return readNumber(at);
    case OCI_TYPECODE_DATE:
      return readDate(at);
    case OCI_TYPECODE_VARCHAR2:
    case OCI_TYPECODE_CHAR: {
      const OciString* s = readSlot<OciString>(at, [&](void* p) { return cache.string(p); });
      return s ? Value::text(s->text) : Value();
    }
    case OCI_TYPECODE_RAW: {
      const OciRaw* r = readSlot<OciRaw>(at, [&](void* p) { return cache.raw(p); });
      return r && !r->bytes.empty() ? Value::raw(r->bytes) : Value();
    }
    case OCI_TYPECODE_REF: {
      const OciRef* r = readSlot<OciRef>(at, [&](void* p) { return cache.ref(p); });
      if (!r || r->bytes.empty()) return Value();
      RefValue check;
      if (!decodeRef(r->bytes, check)) raiseOra(22880);
      return Value::raw(r->bytes);
    }
    case OCI_TYPECODE_NAMEDCOLLECTION: {
      const OciColl* c = readSlot<OciColl>(at, [&](void* p) { return cache.collection(p); });
      return c ? collectionValue(cache, *c) : Value();
    }
    case OCI_TYPECODE_CLOB:
    case OCI_TYPECODE_BLOB:
    case OCI_TYPECODE_BFILE: {
      const LobLocator* l = readSlot<LobLocator>(at, [&](void* p) { return cache.locator(p); });
      return l ? l->boundValue() : Value();
    }
    default:
      raiseOra(21602);
  }
}

void assignField(ObjectCache& cache, const FieldLayout& f, const void* value, const sb2* fromInd,
                 unsigned char* at, sb2* ind) {
  if (f.typecode == OCI_TYPECODE_OBJECT) {
    if (!value) raiseOra(21560, {"value"});
    std::vector<sb2> notNull;
    if (!fromInd) {
      notNull.assign(f.nullCount, OCI_IND_NOTNULL);
      fromInd = notNull.data();
    }
    copyImage(cache, *f.nested, static_cast<const unsigned char*>(value), fromInd, at, ind);
    return;
  }
  if ((fromInd && *fromInd == OCI_IND_NULL) || (!value && f.isPointer())) {
    *ind = OCI_IND_NULL;
    return;
  }
  if (!value) raiseOra(21560, {"value"});
  switch (f.typecode) {
    case OCI_TYPECODE_NUMBER:
    case OCI_TYPECODE_DATE:
      std::memmove(at, value, f.size);
      break;
    case OCI_TYPECODE_VARCHAR2:
    case OCI_TYPECODE_CHAR: {
      const OciString* s = cache.string(value);
      if (!s) raiseOra(21710);
      OciString& to = stringSlot(cache, at);
      if (&to != s) to.text = s->text;
      break;
    }
    case OCI_TYPECODE_RAW: {
      const OciRaw* r = cache.raw(value);
      if (!r) raiseOra(21710);
      OciRaw& to = rawSlot(cache, at);
      if (&to != r) to.bytes = r->bytes;
      break;
    }
    case OCI_TYPECODE_REF: {
      const OciRef* r = cache.ref(value);
      if (!r) raiseOra(21710);
      OciRef& to = refSlot(cache, at);
      if (&to != r) {
        to.bytes = r->bytes;
        to.origin = r->origin;
      }
      break;
    }
    case OCI_TYPECODE_NAMEDCOLLECTION: {
      const OciColl* c = cache.collection(value);
      if (!c) raiseOra(21710);
      if (c->type->obj != f.nested->obj) raiseOra(22163);
      OciColl& to = collectionSlot(cache, f, at);
      if (&to != c) copyCollection(cache, *c, to);
      break;
    }
    case OCI_TYPECODE_CLOB:
    case OCI_TYPECODE_BLOB:
    case OCI_TYPECODE_BFILE: {
      const LobLocator* l = cache.locator(value);
      if (!l) raiseOra(22275);
      LobLocator& to = locatorSlot(cache, f, at);
      if (&to != l) to.assignFrom(*l);
      break;
    }
    default:
      raiseOra(21602);
  }
  *ind = OCI_IND_NOTNULL;
}

// ---------------------------------------------------------------------------
// Images

void initImage(ObjectCache& cache, const TypeDescriptor& type, unsigned char* image, sb2* nulls) {
  std::memset(image, 0, type.size);
  nulls[0] = OCI_IND_NOTNULL;
  for (const FieldLayout& f : type.attributes)
    initField(cache, f, image + f.offset, nulls + f.nullIndex);
}

void releaseImage(ObjectCache& cache, const TypeDescriptor& type, unsigned char* image) {
  for (const FieldLayout& f : type.attributes)
    releaseField(cache, f, image + f.offset);
}

void loadImage(ObjectCache& cache, const TypeDescriptor& type, unsigned char* image, sb2* nulls,
               const Value& v) {
  if (v.isNull()) {
    for (size_t i = 0; i < type.nullCount; ++i)
      nulls[i] = OCI_IND_NULL;
    return;
  }
  std::vector<Value> attributes;
  if (v.kind() != Value::Kind::Raw || !decodeObject(v.asText(), attributes) ||
      attributes.size() != type.attributes.size()) {
    raiseOra(932, {type.owner + "." + type.name, "BINARY"});
  }
  nulls[0] = OCI_IND_NOTNULL;
  for (size_t i = 0; i < attributes.size(); ++i) {
    const FieldLayout& f = type.attributes[i];
    loadField(cache, f, image + f.offset, nulls + f.nullIndex, attributes[i]);
  }
}

Value imageValue(const ObjectCache& cache, const TypeDescriptor& type, const unsigned char* image,
                 const sb2* nulls) {
  if (nulls[0] == OCI_IND_NULL) return Value();
  std::vector<Value> attributes;
  attributes.reserve(type.attributes.size());
  for (const FieldLayout& f : type.attributes)
    attributes.push_back(fieldValue(cache, f, image + f.offset, nulls + f.nullIndex));
  return objectBytes(encodeObject(attributes));
}

void copyImage(ObjectCache& cache, const TypeDescriptor& type, const unsigned char* from,
               const sb2* fromNulls, unsigned char* to, sb2* toNulls) {
  if (from == to) {
    if (fromNulls != toNulls) std::memmove(toNulls, fromNulls, type.nullCount * sizeof(sb2));
    return;
  }
  toNulls[0] = fromNulls[0];
  for (const FieldLayout& f : type.attributes) {
    const unsigned char* src = from + f.offset;
    const void* value = f.isPointer() ? slotPointer(src) : src;
    sb2* ind = toNulls + f.nullIndex;
    assignField(cache, f, value, fromNulls + f.nullIndex, to + f.offset, ind);
    // A NULL attribute copies as NULL; its indicator was set above.
  }
}

// ---------------------------------------------------------------------------
// Collections

unsigned char* elementValue(const OciColl::Element& e) {
  return reinterpret_cast<unsigned char*>(e.storage.get());
}

sb2* elementIndicators(const OciColl& coll, const OciColl::Element& e) {
  return reinterpret_cast<sb2*>(elementValue(e) + elementValueBytes(coll));
}

OciColl::Element& appendElement(ObjectCache& cache, OciColl& coll) {
  const FieldLayout& f = coll.type->element;
  size_t bytes = elementValueBytes(coll) + f.nullCount * sizeof(sb2);
  size_t units = (bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
  OciColl::Element e;
  e.storage = std::make_unique<std::max_align_t[]>(units);
  std::memset(e.storage.get(), 0, units * sizeof(std::max_align_t));
  coll.elements.push_back(std::move(e));
  OciColl::Element& added = coll.elements.back();
  initField(cache, f, elementValue(added), elementIndicators(coll, added));
  return added;
}

void releaseElement(ObjectCache& cache, const OciColl& coll, OciColl::Element& e) {
  releaseField(cache, coll.type->element, elementValue(e));
}

void clearCollection(ObjectCache& cache, OciColl& coll) {
  for (OciColl::Element& e : coll.elements)
    releaseElement(cache, coll, e);
  coll.elements.clear();
}

void loadCollection(ObjectCache& cache, OciColl& coll, const Value& v) {
  clearCollection(cache, coll);
  if (v.isNull()) return;
  std::vector<Value> elements;
  if (v.kind() != Value::Kind::Raw || !decodeCollection(v.asText(), elements)) {
    raiseOra(932, {coll.type->owner + "." + coll.type->name, "BINARY"});
  }
  const FieldLayout& f = coll.type->element;
  for (const Value& element : elements) {
    OciColl::Element& e = appendElement(cache, coll);
    loadField(cache, f, elementValue(e), elementIndicators(coll, e), element);
  }
}

Value collectionValue(const ObjectCache& cache, const OciColl& coll) {
  std::vector<Value> elements;
  const FieldLayout& f = coll.type->element;
  for (const OciColl::Element& e : coll.elements) {
    if (!e.exists) continue;
    elements.push_back(fieldValue(cache, f, elementValue(e), elementIndicators(coll, e)));
  }
  return objectBytes(encodeCollection(elements));
}

void copyCollection(ObjectCache& cache, const OciColl& from, OciColl& to) {
  if (&from == &to) return;
  clearCollection(cache, to);
  const FieldLayout& f = from.type->element;
  for (const OciColl::Element& e : from.elements) {
    OciColl::Element& added = appendElement(cache, to);
    added.exists = e.exists;
    const unsigned char* src = elementValue(e);
    assignField(cache, f, f.isPointer() ? slotPointer(src) : src, elementIndicators(from, e),
                elementValue(added), elementIndicators(to, added));
  }
}

}  // namespace vorn::server::oci
