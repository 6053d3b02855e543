// TOracleObject: one instance of a named object type (or collection type)
// in the client's object cache, with the layout of its attributes
// (TObjectAttribute). Version 8 calls only.
//
// A query's object column (type 108) has one TOracleObject that always
// stands for the current row's instance (TOracleQuery::ObjectField); a
// null object there has an instance whose atomic indicator is null. An
// object made with a type name ("ADDRESS_T" or "SCOTT.ADDRESS_T") owns a
// new instance of its own, not null, with every attribute null: bound as an
// otObject variable (SetComplexVariable) it gives its value to an INSERT,
// an UPDATE or a condition.
//
// Attributes. On first attachment the type is described and its attributes
// listed in order, those of an embedded object right after the embedded
// object's own entry, named with the path of their parents joined with
// points ("ADDR.ZIP"). Each has a value offset in the instance image and a
// null offset in the null structure, as the client lays them out: the
// structure Oracle's C mapping declares for the type, with this platform's
// alignment. NUMBER is an OCINumber (22 bytes), DATE an OCIDate (8 bytes,
// aligned to 2), an embedded object its own structure inline (aligned to
// its strictest attribute, its size a multiple of that), and every other
// type a pointer: 8 bytes aligned to 8 on this 64-bit platform (4 on the
// 32-bit platforms the layout was first written for), for strings, raws,
// REFs, LOB locators and collections. So NUMBER, VARCHAR2, DATE lie at 0,
// 24 and 32. The null structure holds 2-byte indicators: the object's own
// (atomic) one at 0, then one per attribute in order, an embedded object's
// own indicator before those of its attributes.
//
// GetAttr and SetAttr read and write an attribute's value by name (any
// case): NUMBER as an integer or a double (by the precision rule of
// query columns), VARCHAR2 and CHAR as text, DATE as a date, RAW as bytes;
// GetAttr also reads CLOB (text), BLOB and BFILE (bytes) attributes whole.
// A null attribute reads as the session's null value; writing a null or
// unassigned value makes the attribute null, any other value makes it (and
// the objects around it) not null. Other types raise "Cannot convert
// attribute <name>"; an unknown name raises "Attribute <name> does not
// exist"; an object without instance raises "TOracleObject has no
// instance".
//
// Errors of the client raise EOracleError; a handle the client does not
// know raises vorn::Exception "TOracleObject: Invalid handle".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vorn/client/OciTypes.h"
#include "vorn/host/Collection.h"
#include "vorn/host/Variant.h"
#include "vorn/query/ObjectTypeHandles.h"
#include "vorn/session/SessionClients.h"

namespace vorn {

class TOracleObject;
class TOracleSession;

class TObjectAttribute : public TCollectionItem {
  VORN_CLASS(TObjectAttribute, TCollectionItem)
  explicit TObjectAttribute(TCollection* collection);

  // Upper case; the path of embedded objects' attributes ("ADDR.ZIP");
  // empty for the element of a collection type.
  const std::string& Name() const { return name_; }
  // As the describe reports it: the type code of the attribute's type
  // (108 for embedded objects and collections).
  int DataType() const { return dataType_; }
  // otString for VARCHAR2, VARCHAR and CHAR; otInteger or otFloat for
  // NUMBER; otherwise the data type.
  int BufferType() const { return bufferType_; }
  // Object and REF attributes: "schema.type" and a REF to the type.
  const std::string& TypeName() const { return typeName_; }
  client::OCIRef* TypeRef() const { return typeRef_; }
  int DataSize() const { return dataSize_; }
  int Scale() const { return scale_; }
  int Precision() const { return precision_; }
  // Object attributes: 108 for an embedded object, 122 for a collection.
  int ObjectTypeCode() const { return objectTypeCode_; }
  bool IsCollection() const { return isCollection_; }
  TOracleObject* Object() const { return object_; }
  // Where the value and the null indicator lie.
  int ValueOffset() const { return valueOffset_; }
  int NullOffset() const { return nullOffset_; }

 private:
  friend class TOracleObject;
  friend class ObjectDescription;

  std::string name_;
  int16_t dataType_ = 0;
  int16_t bufferType_ = 0;
  client::OCIRef* typeRef_ = nullptr;
  std::string typeName_;
  int16_t dataSize_ = 0;
  int8_t scale_ = 0;
  uint8_t precision_ = 0;
  int objectTypeCode_ = 0;
  bool isCollection_ = false;
  TOracleObject* object_ = nullptr;
  int valueOffset_ = 0;
  int nullOffset_ = 0;
  // The embedded object the attribute belongs to (an index into the list),
  // -1 at the top.
  int parent_ = -1;
};

class TOracleObject : public TObject, private RegisteredQuery {
  VORN_CLASS(TOracleObject, TObject)
  // An object without instance, for a query column to attach to rows.
  explicit TOracleObject(TOracleSession* session);
  // A new instance of the named type, owned by the object.
  TOracleObject(TOracleSession* session, const std::string& typeName);
  ~TOracleObject() override;

  TOracleSession* Session() const { return handles_.Session(); }
  // "SCHEMA.TYPE" once attached.
  const std::string& TypeName() const { return typeName_; }
  // 108 for an object type, 122 for a collection type (0 before the first
  // attachment); a collection's type code (VARRAY 247, TABLE 248) and the
  // attribute describing its element.
  int ObjectTypeCode() const { return objectTypeCode_; }
  int CollectionTypeCode() const { return collectionTypeCode_; }
  TObjectAttribute* ElementAttribute() const { return elementAttribute_; }
  bool OwnsInstance() const { return ownsInstance_; }

  // The instance image and its null structure in the object cache; null
  // before the first attachment.
  void* Instance() const { return instance_; }
  void* NullStructure() const { return nullStructure_; }
  int NullStructureSize() const { return nullStructureSize_; }
  // The type descriptor (pinned).
  client::OCIType* TypeDescriptor() const { return handles_.TypeDescriptor(); }

  int AttrCount() const { return attributes_.Count(); }
  TObjectAttribute* Attrs(int index) const { return attributes_.Items(index); }
  // Any case; nullptr when absent.
  TObjectAttribute* FindAttr(std::string_view name) const;

  // The object's own (atomic) indicator is null; true without instance.
  bool IsNull() const;
  // Sets the atomic indicator.
  void SetNull(bool value);
  bool AttrIsNull(std::string_view name) const;
  Variant GetAttr(std::string_view name);
  void SetAttr(std::string_view name, const Variant& value);

 private:
  friend class TOracleQuery;
  friend class ColumnBuffers;
  friend class ObjectDescription;

  // A query column's object: no registration with the session (the
  // column goes before the connection does).
  struct ColumnObject {};
  TOracleObject(TOracleSession* session, ColumnObject);

  void Setup(TOracleSession* session);
  // Gives the object a row's instance (a query column); the first
  // attachment takes the type from `typeRef` and describes it.
  void Attach(void* instance, void* nullStructure, client::OCIRef* typeRef);
  // Creates the type REF, pins the type and describes it.
  void TakeType(client::OCIRef* typeRef);
  // Frees what the object took from the client library when `live`,
  // otherwise forgets it.
  void DropHandles(bool live);
  void Check(client::sword status) const { handles_.Check(status); }
  void Prepare() const;

  // Attribute values.
  const TObjectAttribute& Attribute(std::string_view name) const;
  client::OCIInd& IndicatorOf(const TObjectAttribute& attribute) const;
  uint8_t* ValueOf(const TObjectAttribute& attribute) const;
  // Makes the attribute and the embedded objects around it (and the
  // object) not null.
  void MarkPresent(const TObjectAttribute& attribute);

  // RegisteredQuery: the session logs off, or goes.
  void CloseForLogOff() override;
  void DetachFromSession() override;

  ObjectTypeHandles handles_;
  void* instance_ = nullptr;
  void* nullStructure_ = nullptr;
  int nullStructureSize_ = 0;
  std::string typeName_;
  bool ownsInstance_ = true;
  TTypedCollection<TObjectAttribute> attributes_;
  int objectTypeCode_ = 0;
  int collectionTypeCode_ = 0;
  TObjectAttribute* elementAttribute_ = nullptr;
  bool columnObject_ = false;
};

}  // namespace vorn
