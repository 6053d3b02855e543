// Instance images and engine values: how an object's struct (TypeDescriptor
// .h) and a collection are filled from the bytes the engine delivers for an
// object, collection or REF (engine/ObjectValue.h), and how they become
// such bytes again for a bind or a flush. Also how instances are made
// empty, copied and released.
//
// A field is addressed by where its value is (`at`, inside an image or a
// collection element) and where its indicators are (`ind`: one OCIInd, or
// a nested object's whole null structure). A NULL field has its indicator
// at OCI_IND_NULL; the value beside it is left as it was (pointer fields
// keep their allocation).
#pragma once

#include "ObjectCache.h"
#include "engine/Value.h"

namespace vorn::server::oci {

// A new image: pointer fields get empty values, every attribute is NULL,
// the atomic indicator NOT NULL (an object as OCIObjectNew makes it).
void initImage(ObjectCache& cache, const TypeDescriptor& type, unsigned char* image, sb2* nulls);
// Frees what the image's pointer fields own.
void releaseImage(ObjectCache& cache, const TypeDescriptor& type, unsigned char* image);
// Fills an image from an object's bytes (NULL: the atomic indicator and all
// others NULL).
void loadImage(ObjectCache& cache, const TypeDescriptor& type, unsigned char* image, sb2* nulls,
               const Value& v);
// The object's bytes (NULL when the atomic indicator says so).
Value imageValue(const ObjectCache& cache, const TypeDescriptor& type, const unsigned char* image,
                 const sb2* nulls);
// Deep copy of one image into another of the same type.
void copyImage(ObjectCache& cache, const TypeDescriptor& type, const unsigned char* from,
               const sb2* fromNulls, unsigned char* to, sb2* toNulls);

// Collections.
void loadCollection(ObjectCache& cache, OciColl& coll, const Value& v);
Value collectionValue(const ObjectCache& cache, const OciColl& coll);
void copyCollection(ObjectCache& cache, const OciColl& from, OciColl& to);
void clearCollection(ObjectCache& cache, OciColl& coll);
// An element's value and indicators inside its storage.
unsigned char* elementValue(const OciColl::Element& e);
sb2* elementIndicators(const OciColl& coll, const OciColl::Element& e);
// Appends an empty (NULL) element.
OciColl::Element& appendElement(ObjectCache& cache, OciColl& coll);
void releaseElement(ObjectCache& cache, const OciColl& coll, OciColl::Element& e);

// Fields.
void initField(ObjectCache& cache, const FieldLayout& f, unsigned char* at, sb2* ind);
void releaseField(ObjectCache& cache, const FieldLayout& f, unsigned char* at);
void loadField(ObjectCache& cache, const FieldLayout& f, unsigned char* at, sb2* ind,
               const Value& v);
Value fieldValue(const ObjectCache& cache, const FieldLayout& f, const unsigned char* at,
                 const sb2* ind);
// Copies a field's value given the way a caller hands one over (OCIObject-
// SetAttr, OCICollAppend ...): a pointer to the value for numbers, dates
// and objects, the OCIString, OCIRaw, OCIRef or OCIColl itself for those;
// `fromInd` may be null (NOT NULL then).
void assignField(ObjectCache& cache, const FieldLayout& f, const void* value, const sb2* fromInd,
                 unsigned char* at, sb2* ind);
// Marks a field NULL (all indicators of a nested object).
void setFieldNull(const FieldLayout& f, sb2* ind);

// Pointer fields hold a pointer in their slot.
void* slotPointer(const unsigned char* at);
void setSlotPointer(unsigned char* at, const void* p);

}  // namespace vorn::server::oci
