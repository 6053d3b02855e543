// The object model the languages see over the catalog. A class is a table
// (or a view); its attributes are the columns. An attribute that is the
// single column of a foreign key is a reference: it holds the key of an
// object of the class the foreign key refers to, so paths can follow it.
// This works for ordinary tables as well (SCOTT.EMP's DEPTNO refers to
// SCOTT.DEPT) as for classes made with ODDL, which have a key attribute OID
// whose values come from the sequence <CLASS>_SEQ of the same schema.
//
// A class's reference text is "<owner>.<class>#<key>" (MAN.DOGS#3).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Catalog.h"
#include "plsql/translator/Scanner.h"
#include "plsql/translator/Syntax.h"

namespace vorn::server::translator {

// The name of the generated key attribute, and the suffix of the sequence
// that fills it.
inline constexpr const char* kOidName = "OID";
inline constexpr const char* kSequenceSuffix = "_SEQ";

struct ClassDef;

struct Attribute {
  std::string name;
  OraType type;
  // References: the class referred to and the column of its key.
  std::string refOwner, refClass, refKey;

  bool isReference() const { return !refClass.empty(); }
};

struct ClassDef {
  std::string owner, name;
  const TableInfo* table = nullptr;
  std::vector<Attribute> attributes;
  int key = -1;          // the attribute that is the single-column primary key
  std::string sequence;  // the sequence of a generated OID key, empty when none

  // "MAN.DOGS", as messages and reference texts show it.
  std::string shownName() const { return owner + "." + name; }
  const Attribute* find(const std::string& attribute) const;
  const Attribute* keyAttribute() const { return key < 0 ? nullptr : &attributes[key]; }
  // The key is OID and its values come from the class's sequence.
  bool generatesKey() const { return !sequence.empty(); }
};

class ObjectModel {
 public:
  ObjectModel(std::shared_ptr<const Catalog> catalog, std::string user);

  const Catalog& catalog() const { return *catalog_; }
  const std::string& user() const { return user_; }

  // The class named in a statement (synonyms followed; the session's user
  // is the default schema); an unknown class is an error at the name.
  const ClassDef& require(const Scanner& s, const ClassName& name) const;
  // The class a reference attribute refers to.
  const ClassDef& referenced(const Attribute& reference) const;
  // The class of an owner and a table name, or null.
  const ClassDef* find(const std::string& owner, const std::string& name) const;
  // An attribute of `cls` or an unknown-attribute error at `name`.
  const Attribute& attribute(const Scanner& s, const ClassDef& cls, const Name& name) const;

 private:
  std::shared_ptr<const Catalog> catalog_;
  std::string user_;
  mutable std::map<std::string, std::unique_ptr<ClassDef>> classes_;
};

}  // namespace vorn::server::translator
