// The attribute list of a TOracleObject: its type described through the
// describe calls, and the attributes laid out in the instance image and the
// null structure as the client lays out instances (OracleObject.h).
#pragma once

#include <string>
#include <vector>

#include "vorn/client/OciTypes.h"

namespace vorn {

class TObjectAttribute;
class TOracleObject;
class TOracleSession;

class ObjectDescription {
 public:
  // Describes the object's (pinned) type into its attribute list, once.
  static void Describe(TOracleObject& object);

 private:
  explicit ObjectDescription(TOracleObject& object);

  // What the describe of one attribute gave.
  struct Facts {
    std::string name;
    int dataType = 0;
    int typeCode = 0;
    int dataSize = 0;
    int precision = 0;
    int scale = 0;
    std::string typeName;
    // A REF of the object cache (made here) to the attribute's type.
    client::OCIRef* typeRef = nullptr;
  };

  // Describes `type` (the object's, or an embedded object's) and adds its
  // attributes, under `parent` (-1: the top) with `prefix` before their
  // names.
  void DescribeType(client::OCIType* type, const std::string& prefix, int parent);
  void* TypeParameter(client::OCIType* type);
  Facts ReadFacts(void* parameter);
  TObjectAttribute* Add(Facts facts, const std::string& prefix, int parent);
  // Value offsets: the structure Oracle's C mapping declares for the type.
  void LayOut();
  // Places the attributes under `parent` from `base`; returns the size of
  // their structure.
  size_t Place(int parent, size_t base);
  size_t AlignmentOf(int index) const;
  size_t AlignmentUnder(int parent) const;

  template <class T>
  T Attribute(void* parameter, client::ub4 attribute);
  void Check(client::sword status);

  TOracleObject& object_;
  // The object's, for every call of the describe.
  TOracleSession& session_;
  client::OCIError* error_;
  std::vector<TObjectAttribute*> list_;
  int nullSize_ = 2;
};

}  // namespace vorn
