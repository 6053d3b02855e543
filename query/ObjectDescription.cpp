// Describing an object type and laying out its attributes; see
// ObjectDescription.h.
#include "ObjectDescription.h"

#include <algorithm>

#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/OracleObject.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

using namespace client;

namespace {

// The longest name kept, as for columns.
constexpr size_t kNameLength = 30;

// How a value lies in the instance image.
constexpr size_t kNumberSize = sizeof(OCINumber);
constexpr size_t kDateSize = sizeof(OCIDate);
constexpr size_t kDateAlignment = alignof(OCIDate);
constexpr size_t kPointerSize = sizeof(void*);

size_t RoundUp(size_t offset, size_t alignment) {
  return (offset + alignment - 1) / alignment * alignment;
}

bool IsNumber(const TObjectAttribute& attribute) {
  return attribute.BufferType() == otInteger || attribute.BufferType() == otFloat;
}

bool IsEmbedded(const TObjectAttribute& attribute) {
  return attribute.DataType() == OCI_TYPECODE_OBJECT && !attribute.IsCollection();
}

std::string Text(OraText* text, ub4 length) {
  if (text == nullptr) return std::string();
  return std::string(reinterpret_cast<const char*>(text), std::min<size_t>(length, kNameLength));
}

}  // namespace

void ObjectDescription::Describe(TOracleObject& object) {
  if (object.attributes_.Count() > 0 || object.objectTypeCode_ != 0) return;
  ObjectDescription description(object);
  try {
    description.DescribeType(object.TypeDescriptor(), "", -1);
    description.LayOut();
  } catch (...) {
    // A type half described is of no use; the next attachment tries again.
    for (TObjectAttribute* attribute : description.list_) {
      if (attribute->typeRef_ != nullptr) {
        Oci8().OCIObjectFree(description.session_.EnvironmentHandle(), description.error_,
                             attribute->typeRef_, OCI_DEFAULT);
      }
    }
    object.attributes_.Clear();
    object.objectTypeCode_ = 0;
    object.collectionTypeCode_ = 0;
    object.elementAttribute_ = nullptr;
    throw;
  }
  object.nullStructureSize_ = description.nullSize_;
}

ObjectDescription::ObjectDescription(TOracleObject& object)
    : object_(object), session_(*object.Session()), error_(object.handles_.ErrorHandle()) {}

void ObjectDescription::Check(sword status) {
  object_.Check(status);
}

template <class T>
T ObjectDescription::Attribute(void* parameter, ub4 attribute) {
  // Zeroed and at least as wide as any client writes for it.
  T value{};
  Check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &value, nullptr, attribute, error_));
  return value;
}

void* ObjectDescription::TypeParameter(OCIType* type) {
  Check(Oci8().OCIDescribeAny(session_.ServiceContextHandle(), error_, type, 0, OCI_OTYPE_PTR,
                              OCI_DEFAULT, OCI_PTYPE_TYPE, object_.handles_.DescribeHandle()));
  void* parameter = nullptr;
  Check(Oci8().OCIAttrGet(object_.handles_.DescribeHandle(), OCI_HTYPE_DESCRIBE, &parameter,
                          nullptr, OCI_ATTR_PARAM, error_));
  return parameter;
}

void ObjectDescription::DescribeType(OCIType* type, const std::string& prefix, int parent) {
  void* parameter = TypeParameter(type);
  const int typeCode = Attribute<ub2>(parameter, OCI_ATTR_TYPECODE);
  if (parent < 0) {
    object_.objectTypeCode_ = typeCode;
    if (object_.typeName_.empty()) {
      object_.typeName_ = object_.handles_.TypeNameOf(parameter, OCI_ATTR_NAME);
    }
  }
  if (typeCode == OCI_TYPECODE_NAMEDCOLLECTION) {
    // One nameless attribute describes the element.
    if (parent < 0) {
      object_.collectionTypeCode_ = Attribute<ub2>(parameter, OCI_ATTR_COLLECTION_TYPECODE);
    }
    void* element = Attribute<void*>(parameter, OCI_ATTR_COLLECTION_ELEMENT);
    Facts facts = ReadFacts(element);
    facts.name.clear();
    TObjectAttribute* attribute = Add(std::move(facts), "", parent);
    if (parent < 0) object_.elementAttribute_ = attribute;
    return;
  }
  // All of this level first: describing an embedded type replaces the
  // describe handle's parameters.
  const int count = Attribute<ub2>(parameter, OCI_ATTR_NUM_TYPE_ATTRS);
  void* list = Attribute<void*>(parameter, OCI_ATTR_LIST_TYPE_ATTRS);
  std::vector<Facts> level;
  try {
    for (int position = 1; position <= count; ++position) {
      void* attribute = nullptr;
      Check(Oci8().OCIParamGet(list, OCI_DTYPE_PARAM, error_, &attribute,
                               static_cast<ub4>(position)));
      level.push_back(ReadFacts(attribute));
    }
  } catch (...) {
    for (Facts& facts : level) {
      if (facts.typeRef != nullptr) {
        Oci8().OCIObjectFree(session_.EnvironmentHandle(), error_, facts.typeRef, OCI_DEFAULT);
      }
    }
    throw;
  }
  size_t next = 0;
  try {
    for (; next < level.size(); ++next) {
      TObjectAttribute* attribute = Add(std::move(level[next]), prefix, parent);
      if (!IsEmbedded(*attribute)) continue;
      // The embedded object's attributes follow its own entry.
      void* pinned = nullptr;
      Check(Oci8().OCIObjectPin(session_.EnvironmentHandle(), error_, attribute->typeRef_, nullptr,
                                OCI_PIN_ANY, OCI_DURATION_SESSION, OCI_LOCK_NONE, &pinned));
      try {
        DescribeType(static_cast<OCIType*>(pinned), attribute->name_ + ".",
                     static_cast<int>(list_.size()) - 1);
      } catch (...) {
        Oci8().OCIObjectUnpin(session_.EnvironmentHandle(), error_, pinned);
        throw;
      }
      Check(Oci8().OCIObjectUnpin(session_.EnvironmentHandle(), error_, pinned));
    }
  } catch (...) {
    for (++next; next < level.size(); ++next) {
      if (level[next].typeRef != nullptr) {
        Oci8().OCIObjectFree(session_.EnvironmentHandle(), error_, level[next].typeRef,
                             OCI_DEFAULT);
      }
    }
    throw;
  }
}

ObjectDescription::Facts ObjectDescription::ReadFacts(void* parameter) {
  Facts facts;
  OraText* name = nullptr;
  ub4 nameLength = 0;
  Check(Oci8().OCIAttrGet(parameter, OCI_DTYPE_PARAM, &name, &nameLength, OCI_ATTR_NAME, error_));
  facts.name = Text(name, nameLength);
  facts.dataType = Attribute<ub2>(parameter, OCI_ATTR_DATA_TYPE);
  facts.typeCode = Attribute<ub2>(parameter, OCI_ATTR_TYPECODE);
  facts.dataSize = Attribute<ub2>(parameter, OCI_ATTR_DATA_SIZE);
  // Precision is one byte and scale a signed one for attributes.
  facts.precision = static_cast<ub1>(Attribute<ub2>(parameter, OCI_ATTR_PRECISION) & 0xFF);
  facts.scale = static_cast<sb1>(Attribute<ub2>(parameter, OCI_ATTR_SCALE) & 0xFF);
  if (facts.dataType == OCI_TYPECODE_OBJECT || facts.dataType == OCI_TYPECODE_REF) {
    facts.typeName = object_.handles_.TypeNameOf(parameter, OCI_ATTR_TYPE_NAME);
    auto* source = Attribute<OCIRef*>(parameter, OCI_ATTR_REF_TDO);
    if (source != nullptr) {
      // The parameter's REF goes with the next describe: the attribute
      // keeps a copy of its own.
      void* copy = nullptr;
      Check(Oci8().OCIObjectNew(session_.EnvironmentHandle(), error_,
                                session_.ServiceContextHandle(), OCI_TYPECODE_REF, nullptr, nullptr,
                                OCI_DURATION_SESSION, 1, &copy));
      facts.typeRef = static_cast<OCIRef*>(copy);
      const sword status =
          Oci8().OCIRefAssign(session_.EnvironmentHandle(), error_, source, &facts.typeRef);
      if (status != OCI_SUCCESS) {
        Oci8().OCIObjectFree(session_.EnvironmentHandle(), error_, copy, OCI_DEFAULT);
        Check(status);
      }
    }
  }
  return facts;
}

TObjectAttribute* ObjectDescription::Add(Facts facts, const std::string& prefix, int parent) {
  TObjectAttribute* attribute = object_.attributes_.Add();
  list_.push_back(attribute);
  attribute->object_ = &object_;
  attribute->parent_ = parent;
  attribute->name_ = prefix + facts.name;
  attribute->dataType_ = static_cast<int16_t>(facts.dataType);
  attribute->typeName_ = std::move(facts.typeName);
  attribute->typeRef_ = facts.typeRef;
  attribute->dataSize_ = static_cast<int16_t>(facts.dataSize);
  attribute->precision_ = static_cast<uint8_t>(facts.precision);
  attribute->scale_ = static_cast<int8_t>(facts.scale);
  if (facts.dataType == OCI_TYPECODE_OBJECT) {
    attribute->objectTypeCode_ = facts.typeCode;
    attribute->isCollection_ = facts.typeCode == OCI_TYPECODE_NAMEDCOLLECTION;
  }
  switch (facts.dataType) {
    case OCI_TYPECODE_VARCHAR:
    case OCI_TYPECODE_VARCHAR2:
    case OCI_TYPECODE_CHAR:
      attribute->bufferType_ = otString;
      break;
    case OCI_TYPECODE_NUMBER: {
      // As for columns, scale -127 stands for an unconstrained NUMBER (or a
      // FLOAT) as much as precision and scale 0 do.
      const bool unconstrained = facts.scale == -127 || (facts.precision == 0 && facts.scale == 0);
      const bool fraction = facts.scale > 0 || facts.precision > 9 || unconstrained;
      attribute->bufferType_ = static_cast<int16_t>(fraction ? otFloat : otInteger);
      break;
    }
    default:
      attribute->bufferType_ = static_cast<int16_t>(facts.dataType);
      break;
  }
  attribute->nullOffset_ = nullSize_;
  nullSize_ += static_cast<int>(sizeof(OCIInd));
  return attribute;
}

size_t ObjectDescription::AlignmentOf(int index) const {
  const TObjectAttribute& attribute = *list_[static_cast<size_t>(index)];
  if (IsNumber(attribute)) return 1;
  if (attribute.DataType() == OCI_TYPECODE_DATE) return kDateAlignment;
  if (IsEmbedded(attribute)) return AlignmentUnder(index);
  return kPointerSize;
}

size_t ObjectDescription::AlignmentUnder(int parent) const {
  size_t alignment = 1;
  for (size_t i = 0; i < list_.size(); ++i) {
    if (list_[i]->parent_ == parent) {
      alignment = std::max(alignment, AlignmentOf(static_cast<int>(i)));
    }
  }
  return alignment;
}

size_t ObjectDescription::Place(int parent, size_t base) {
  size_t offset = 0;
  for (size_t i = 0; i < list_.size(); ++i) {
    TObjectAttribute& attribute = *list_[i];
    if (attribute.parent_ != parent) continue;
    offset = RoundUp(offset, AlignmentOf(static_cast<int>(i)));
    attribute.valueOffset_ = static_cast<int>(base + offset);
    if (IsNumber(attribute)) {
      offset += kNumberSize;
    } else if (attribute.DataType() == OCI_TYPECODE_DATE) {
      offset += kDateSize;
    } else if (IsEmbedded(attribute)) {
      offset += Place(static_cast<int>(i), base + offset);
    } else {
      offset += kPointerSize;
    }
  }
  return RoundUp(offset, AlignmentUnder(parent));
}

void ObjectDescription::LayOut() {
  if (object_.objectTypeCode_ == OCI_TYPECODE_NAMEDCOLLECTION) return;
  Place(-1, 0);
}

}  // namespace vorn
