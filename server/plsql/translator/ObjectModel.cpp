// Classes, attributes and references over the catalog; see ObjectModel.h.
#include "plsql/translator/ObjectModel.h"

#include "value/OraError.h"

namespace vorn::server::translator {
namespace {

std::string key(const std::string& owner, const std::string& name) {
  return owner + '\x1f' + name;
}

std::string shownName(const ClassName& name) {
  return (name.schema ? name.schema->text + "." : std::string()) + name.name.text;
}

}  // namespace

const Attribute* ClassDef::find(const std::string& attribute) const {
  for (const Attribute& a : attributes) {
    if (a.name == attribute) return &a;
  }
  return nullptr;
}

ObjectModel::ObjectModel(std::shared_ptr<const Catalog> catalog, std::string user)
    : catalog_(std::move(catalog)), user_(std::move(user)) {}

const ClassDef* ObjectModel::find(const std::string& owner, const std::string& name) const {
  auto cached = classes_.find(key(owner, name));
  if (cached != classes_.end()) return cached->second.get();
  const ObjectRef* object = catalog_->findObject(owner, name);
  if (!object || (object->type != ObjectType::Table && object->type != ObjectType::View)) {
    return nullptr;
  }
  const TableInfo* table = object->table();
  auto cls = std::make_unique<ClassDef>();
  cls->owner = table->owner;
  cls->name = table->name;
  cls->table = table;
  for (const ColumnInfo& c : table->columns)
    cls->attributes.push_back(Attribute{c.name, c.type, {}, {}, {}});
  for (const ConstraintInfo* con : table->constraints) {
    if (con->columns.size() != 1) continue;
    auto column = static_cast<size_t>(con->columns[0]);
    if (column >= cls->attributes.size()) continue;
    if (con->type == 'P') cls->key = static_cast<int>(column);
    if (con->type != 'R' || cls->attributes[column].isReference()) continue;
    const ConstraintInfo* target = catalog_->findConstraint(con->rOwner, con->rName);
    const TableInfo* referenced = target ? catalog_->tableById(target->tableObj) : nullptr;
    if (!referenced || target->columns.size() != 1) continue;
    Attribute& a = cls->attributes[column];
    a.refOwner = referenced->owner;
    a.refClass = referenced->name;
    a.refKey = referenced->columns[static_cast<size_t>(target->columns[0])].name;
  }
  if (const Attribute* k = cls->keyAttribute(); k && k->name == kOidName) {
    std::string sequence = cls->name + kSequenceSuffix;
    const ObjectRef* seq = catalog_->findObject(cls->owner, sequence);
    if (seq && seq->type == ObjectType::Sequence) cls->sequence = sequence;
  }
  const ClassDef* out = cls.get();
  classes_[key(owner, name)] = std::move(cls);
  return out;
}

const ClassDef& ObjectModel::require(const Scanner& s, const ClassName& name) const {
  std::vector<std::string> parts;
  if (name.schema) parts.push_back(name.schema->text);
  parts.push_back(name.name.text);
  const ObjectRef* object = nullptr;
  std::string owner;
  try {
    object = catalog_->resolve(user_, parts, &owner);
  } catch (const OraError&) {
    // A synonym that loops or lost its target names no class.
  }
  if (object && object->type != ObjectType::Table && object->type != ObjectType::View) {
    s.fail(kUnknownName, name.offset, shownName(name) + " is not a class (not a table or view)");
  }
  const ClassDef* cls = object ? find(object->table()->owner, object->table()->name) : nullptr;
  if (!cls) s.fail(kUnknownName, name.offset, "unknown class " + shownName(name));
  return *cls;
}

const ClassDef& ObjectModel::referenced(const Attribute& reference) const {
  const ClassDef* cls = find(reference.refOwner, reference.refClass);
  // The catalog snapshot holds the referenced table of every foreign key.
  if (!cls) raiseOra(942);
  return *cls;
}

const Attribute& ObjectModel::attribute(const Scanner& s, const ClassDef& cls,
                                        const Name& name) const {
  const Attribute* a = cls.find(name.text);
  if (!a) {
    s.fail(kUnknownName, name.offset,
           "unknown attribute " + name.text + " of class " + cls.shownName());
  }
  return *a;
}

}  // namespace vorn::server::translator
