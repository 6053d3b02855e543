// ODDL, the language of classes:
//
//   create class [schema.]name ( attribute type {, attribute type} )
//   drop class [schema.]name
//   alter class [schema.]name add ( attribute type {, ...} )
//   alter class [schema.]name drop ( attribute {, attribute} )
//   type := string [ ( length ) ] | integer | number | date | ref class
//
// A class is a table with the key attribute OID, filled from the sequence
// <CLASS>_SEQ created with it; a reference is a column holding the key of
// the referred class, with a foreign key that empties it when that object
// is deleted (ON DELETE SET NULL). The result (tag STR) is a block running
// the DDL through EXECUTE IMMEDIATE and assigning a confirmation to :res.
// What the catalog can tell beforehand (a name in use, a class others still
// refer to, an unknown attribute) is checked here, so that the DDL of a
// statement does not stop half-way.
#include <algorithm>

#include "plsql/translator/ExpressionParser.h"
#include "plsql/translator/Languages.h"
#include "plsql/translator/SqlWriting.h"
#include "value/StringFunctions.h"

namespace vorn::server::translator {
namespace {

constexpr int kMaxString = 4000;
constexpr size_t kMaxClassName = 30 - 4;  // room for _SEQ

struct AttributeDef {
  Name name;
  enum class Type { String, Integer, Number, Date, Ref } type = Type::String;
  int length = kMaxString;
  ClassName ref;
};

// The type as DDL writes it: number(2), varchar2(14), date.
std::string ddlType(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Number:
      if (t.precision <= 0 || t.isFloat) return "number";
      return "number(" + std::to_string(t.precision) +
             (t.scale > 0 ? "," + std::to_string(t.scale) : "") + ")";
    case TypeKind::Varchar2:
      return "varchar2(" + std::to_string(t.length) + ")";
    case TypeKind::Char:
      return "char(" + std::to_string(t.length) + ")";
    default:
      return lower(dictionaryTypeName(t));
  }
}

class OddlWriter {
 public:
  OddlWriter(const ObjectModel& model, Scanner& s) : model_(model), s_(s), p_(s) {}

  std::string write() {
    if (s_.acceptWord("CREATE")) return create();
    if (s_.acceptWord("DROP")) return drop();
    s_.expectWord("ALTER");
    return alter();
  }

 private:
  ClassName classKeyword() {
    s_.expectWord("CLASS");
    return p_.className();
  }

  AttributeDef definition() {
    AttributeDef d;
    d.name = p_.name("an attribute name");
    const Token& t = s_.peek();
    if (t.isWord("STRING")) {
      s_.next();
      if (s_.acceptSymbol("(")) {
        const Token& n = s_.peek();
        bool digits = n.kind == TokenKind::Number && n.text.size() <= 5 &&
                      n.text.find_first_not_of("0123456789") == std::string::npos;
        int length = digits ? std::stoi(n.text) : 0;
        if (length < 1 || length > kMaxString) {
          s_.fail(kSyntaxError, n.offset,
                  "a string's length is a whole number from 1 to " + std::to_string(kMaxString) +
                      ", not " + s_.shown(n));
        }
        s_.next();
        d.length = length;
        s_.expectSymbol(")");
      }
    } else if (t.isWord("INTEGER")) {
      s_.next();
      d.type = AttributeDef::Type::Integer;
    } else if (t.isWord("NUMBER")) {
      s_.next();
      d.type = AttributeDef::Type::Number;
    } else if (t.isWord("DATE")) {
      s_.next();
      d.type = AttributeDef::Type::Date;
    } else if (t.isWord("REF")) {
      s_.next();
      d.type = AttributeDef::Type::Ref;
      d.ref = p_.className();
    } else {
      s_.expected("a type (string, integer, number, date or ref <class>)");
    }
    return d;
  }

  std::vector<AttributeDef> definitions() {
    std::vector<AttributeDef> out;
    bool list = s_.acceptSymbol("(");
    do {
      out.push_back(definition());
    } while (list && s_.acceptSymbol(","));
    if (list) s_.expectSymbol(")");
    return out;
  }

  // The owner a class name stands for: its schema or the session's user.
  std::string ownerOf(const ClassName& name) {
    if (!name.schema) return model_.user();
    if (!model_.catalog().findUser(name.schema->text)) {
      s_.fail(kUnknownName, name.schema->offset, "unknown schema " + name.schema->text);
    }
    return name.schema->text;
  }

  // Checks new attributes against each other and against `existing`.
  void checkNames(const std::vector<AttributeDef>& defs, const ClassDef* existing,
                  const std::string& className) {
    for (size_t i = 0; i < defs.size(); ++i) {
      const Name& n = defs[i].name;
      if (n.text == kOidName) {
        s_.fail(kInvalidUse, n.offset,
                std::string(kOidName) + " is the key attribute every class has");
      }
      for (size_t j = 0; j < i; ++j) {
        if (defs[j].name.text == n.text) {
          s_.fail(kInvalidUse, n.offset, "attribute " + n.text + " is given twice");
        }
      }
      if (existing && existing->find(n.text)) {
        s_.fail(kInvalidUse, n.offset,
                "class " + className + " has an attribute " + n.text + " already");
      }
    }
  }

  // The column definition of an attribute; `self` is the class being
  // created, which its own references may name.
  std::string column(const AttributeDef& d, const std::string& selfOwner,
                     const std::string& selfName) {
    std::string out = sqlName(d.name.text) + " ";
    switch (d.type) {
      case AttributeDef::Type::String:
        return out + "varchar2(" + std::to_string(d.length) + ")";
      case AttributeDef::Type::Integer:
        return out + "number(38)";
      case AttributeDef::Type::Number:
        return out + "number";
      case AttributeDef::Type::Date:
        return out + "date";
      case AttributeDef::Type::Ref:
        break;
    }
    std::string owner = d.ref.schema ? d.ref.schema->text : model_.user();
    if (owner == selfOwner && d.ref.name.text == selfName) {
      return out + "number references " + sqlName(selfOwner, selfName) + " (" + sqlName(kOidName) +
             ") on delete set null";
    }
    const ClassDef& target = model_.require(s_, d.ref);
    const Attribute* key = target.keyAttribute();
    if (!key) {
      s_.fail(kInvalidUse, d.ref.offset,
              "class " + target.shownName() + " has no key, so nothing can refer to its objects");
    }
    return out + ddlType(key->type) + " references " + sqlName(target.owner, target.name) + " (" +
           sqlName(key->name) + ") on delete set null";
  }

  std::string create() {
    ClassName name = classKeyword();
    s_.expectSymbol("(");
    std::vector<AttributeDef> defs;
    do {
      defs.push_back(definition());
    } while (s_.acceptSymbol(","));
    s_.expectSymbol(")");
    s_.expectEnd();
    std::string owner = ownerOf(name);
    const std::string& cls = name.name.text;
    std::string shown = owner + "." + cls;
    if (cls.size() > kMaxClassName) {
      s_.fail(kInvalidUse, name.name.offset,
              "a class name has at most " + std::to_string(kMaxClassName) +
                  " characters (the sequence of its keys adds " + kSequenceSuffix + ")");
    }
    if (model_.catalog().findObject(owner, cls)) {
      s_.fail(kInvalidUse, name.name.offset, "the name " + shown + " is in use already");
    }
    std::string sequence = cls + kSequenceSuffix;
    if (model_.catalog().findObject(owner, sequence)) {
      s_.fail(kInvalidUse, name.name.offset,
              "the sequence of the class's keys, " + owner + "." + sequence +
                  ", would take a name in use already");
    }
    checkNames(defs, nullptr, shown);
    std::string table =
        "create table " + sqlName(owner, cls) + " (" + sqlName(kOidName) + " number primary key";
    for (const AttributeDef& d : defs)
      table += ", " + column(d, owner, cls);
    table += ")";
    return block({table, "create sequence " + sqlName(owner, sequence)},
                 "Class " + shown + " created");
  }

  const ClassDef& existingClass(const ClassName& name) {
    const ClassDef& cls = model_.require(s_, name);
    if (cls.table->isView) {
      s_.fail(kInvalidUse, name.offset, cls.shownName() + " is a view, not a class");
    }
    return cls;
  }

  // Fails when another class refers to `cls` (through a column among
  // `columns`, or any column when `columns` is empty).
  void checkNotReferenced(const ClassDef& cls, const std::vector<int>& columns, int offset) {
    const Catalog& catalog = model_.catalog();
    for (const ConstraintInfo* fk : cls.table->referencedBy) {
      if (fk->tableObj == cls.table->obj) continue;
      const ConstraintInfo* key = catalog.findConstraint(fk->rOwner, fk->rName);
      const TableInfo* other = catalog.tableById(fk->tableObj);
      if (!key || !other) continue;
      bool hit = columns.empty();
      for (int c : key->columns)
        hit = hit || std::find(columns.begin(), columns.end(), c) != columns.end();
      if (!hit) continue;
      std::string by = other->owner + "." + other->name;
      for (int c : fk->columns)
        by += "." + other->columns[static_cast<size_t>(c)].name;
      s_.fail(kInvalidUse, offset,
              "class " + cls.shownName() + " is referred to by " + by +
                  "; drop that attribute or its class first");
    }
  }

  std::string drop() {
    ClassName name = classKeyword();
    s_.expectEnd();
    const ClassDef& cls = existingClass(name);
    checkNotReferenced(cls, {}, name.offset);
    std::vector<std::string> ddl = {"drop table " + sqlName(cls.owner, cls.name)};
    if (cls.generatesKey()) ddl.push_back("drop sequence " + sqlName(cls.owner, cls.sequence));
    return block(ddl, "Class " + cls.shownName() + " dropped");
  }

  std::string alter() {
    ClassName name = classKeyword();
    if (s_.acceptWord("ADD")) {
      std::vector<AttributeDef> defs = definitions();
      s_.expectEnd();
      const ClassDef& cls = existingClass(name);
      checkNames(defs, &cls, cls.shownName());
      std::string ddl = "alter table " + sqlName(cls.owner, cls.name) + " add (";
      for (size_t i = 0; i < defs.size(); ++i)
        ddl += (i ? ", " : "") + column(defs[i], cls.owner, cls.name);
      return block({ddl + ")"}, "Class " + cls.shownName() + " altered");
    }
    if (!s_.atWord("DROP")) s_.expected("ADD or DROP");
    s_.next();
    std::vector<Name> names;
    bool list = s_.acceptSymbol("(");
    do {
      names.push_back(p_.name("an attribute name"));
    } while (list && s_.acceptSymbol(","));
    if (list) s_.expectSymbol(")");
    s_.expectEnd();
    const ClassDef& cls = existingClass(name);
    std::string ddl = "alter table " + sqlName(cls.owner, cls.name) + " drop (";
    for (size_t i = 0; i < names.size(); ++i) {
      const Attribute& a = model_.attribute(s_, cls, names[i]);
      int index = static_cast<int>(&a - cls.attributes.data());
      if (index == cls.key) {
        s_.fail(kInvalidUse, names[i].offset,
                a.name + " is the key of class " + cls.shownName() + " and stays");
      }
      for (size_t j = 0; j < i; ++j) {
        if (names[j].text == a.name) {
          s_.fail(kInvalidUse, names[i].offset, "attribute " + a.name + " is named twice");
        }
      }
      checkNotReferenced(cls, {index}, names[i].offset);
      ddl += (i ? ", " : "") + sqlName(a.name);
    }
    if (names.size() >= cls.attributes.size()) {
      s_.fail(kInvalidUse, names.back().offset, "a class keeps at least one attribute");
    }
    return block({ddl + ")"}, "Class " + cls.shownName() + " altered");
  }

  static std::string block(const std::vector<std::string>& ddl, const std::string& done) {
    std::string out = "begin";
    for (const std::string& d : ddl)
      out += " execute immediate " + sqlText(d) + ";";
    return tagged("STR", out + " :res := " + sqlText(done) + "; end;");
  }

  const ObjectModel& model_;
  Scanner& s_;
  ExpressionParser p_;
};

}  // namespace

std::string translateOddl(const ObjectModel& model, Scanner& s) {
  return OddlWriter(model, s).write();
}

}  // namespace vorn::server::translator
