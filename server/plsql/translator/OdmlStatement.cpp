// ODML, the language that changes objects:
//
//   insert into class [( attribute {, attribute} )] values ( value {, value} )
//   update class set attribute = value {, attribute = value} [where condition]
//   delete [from] class [where condition]
//
// Values are literals and arithmetic (in UPDATE also over the object's own
// paths: set age = age + 1, set name = friend.name); a reference attribute
// takes a reference text ('MAN.DOGS#3') or a reference value (class where
// condition), which must find exactly one object: the block selects each
// one into a variable first and stops with ORA-20004 naming its position
// when none or more than one matches. Conditions may use paths. A class
// with a generated key gets OID from its sequence on insert.
//
// The result (tag INT) is a block that runs the statement and assigns the
// number of rows it processed to :res.
#include "plsql/translator/ExpressionParser.h"
#include "plsql/translator/ExpressionWriter.h"
#include "plsql/translator/Languages.h"
#include "plsql/translator/SqlWriting.h"

namespace vorn::server::translator {
namespace {

struct Assignment {
  Path target;
  ExprPtr value;
};

// The first path of `e` outside reference values (which have paths of
// their own class), or null.
const Expr* firstPath(const Expr& e) {
  if (e.kind == ExprKind::Path) return &e;
  if (e.kind == ExprKind::Reference) return nullptr;
  for (const ExprPtr& a : e.args) {
    if (const Expr* p = firstPath(*a)) return p;
  }
  return nullptr;
}

// The type as a PL/SQL variable declares it.
std::string variableType(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Number:
      return "number";
    case TypeKind::Date:
      return "date";
    default:
      return "varchar2(" + std::to_string(t.length > 0 ? t.length : 4000) + ")";
  }
}

class OdmlWriter {
 public:
  OdmlWriter(const ObjectModel& model, Scanner& s) : model_(model), s_(s), p_(s) {}

  std::string write() {
    if (s_.acceptWord("INSERT")) return insert();
    if (s_.acceptWord("UPDATE")) return update();
    s_.expectWord("DELETE");
    return remove();
  }

 private:
  // Reference values of written values: each is selected into a variable
  // before the statement runs.
  ExpressionWriter::ReferenceHook preselect(PathScope& scope) {
    return [this, &scope](const Expr& reference, const ClassDef& target, const Attribute& key) {
      JoinScope inner(model_, s_, target, scope.aliases());
      ExpressionWriter writer(inner);
      Operand condition = writer.condition(*reference.args[0]);
      std::string variable = "ref" + std::to_string(declarations_.size() + 1);
      declarations_ += " " + variable + " " + variableType(key.type) + ";";
      std::string at = " at position " + std::to_string(s_.position(reference.offset));
      auto failure = [&](const std::string& what) {
        return "raise_application_error(-" + std::to_string(kNoSuchObject) + ", " +
               sqlText(s_.language() + ": " + what + " of class " + target.shownName() +
                       " matches the reference" + at) +
               ");";
      };
      preselects_ += " begin select " + inner.alias() + "." + sqlName(key.name) + " into " +
                     variable + " from " + inner.fromList() +
                     whereClause(inner.joinConditions(), &condition) +
                     "; exception when no_data_found then " + failure("no object") +
                     " when too_many_rows then " + failure("more than one object") + " end;";
      return variable;
    };
  }

  // The attribute a value is written to, as an operand to check it against.
  Operand target(PathScope& scope, const Name& name) {
    const Attribute& a = model_.attribute(s_, scope.root(), name);
    if (scope.root().generatesKey() && &a == scope.root().keyAttribute()) {
      s_.fail(kInvalidUse, name.offset,
              a.name + " of class " + scope.root().shownName() +
                  " is generated from its sequence and cannot be written");
    }
    Path path;
    path.parts.push_back(name);
    return scope.attribute(path);
  }

  std::string insert() {
    s_.expectWord("INTO");
    ClassName name = p_.className();
    std::vector<Name> names;
    if (s_.acceptSymbol("(")) {
      do {
        names.push_back(p_.name("an attribute name"));
      } while (s_.acceptSymbol(","));
      s_.expectSymbol(")");
    }
    int valuesOffset = s_.expectWord("VALUES").offset;
    s_.expectSymbol("(");
    std::vector<ExprPtr> values;
    do {
      values.push_back(p_.value());
    } while (s_.acceptSymbol(","));
    s_.expectSymbol(")");
    s_.expectEnd();

    const ClassDef& cls = model_.require(s_, name);
    if (names.empty()) {
      // Without a list: every attribute but a generated key, in order.
      for (size_t a = 0; a < cls.attributes.size(); ++a) {
        if (cls.generatesKey() && static_cast<int>(a) == cls.key) continue;
        names.push_back(Name{cls.attributes[a].name, true, name.offset});
      }
    }
    if (names.size() != values.size()) {
      s_.fail(kInvalidUse, valuesOffset,
              std::to_string(names.size()) + " attributes take " + std::to_string(names.size()) +
                  " values, not " + std::to_string(values.size()));
    }
    Aliases aliases;
    SubqueryScope scope(model_, s_, cls, aliases);
    ExpressionWriter writer(scope);
    writer.setReferenceHook(preselect(scope));
    std::string columns, row;
    if (cls.generatesKey()) {
      columns = sqlName(cls.keyAttribute()->name);
      row = sqlName(cls.owner, cls.sequence) + ".nextval";
    }
    for (size_t i = 0; i < names.size(); ++i) {
      for (size_t j = 0; j < i; ++j) {
        if (names[j].text == names[i].text) {
          s_.fail(kInvalidUse, names[i].offset, "attribute " + names[i].text + " is named twice");
        }
      }
      Operand t = target(scope, names[i]);
      if (const Expr* path = firstPath(*values[i])) {
        s_.fail(kInvalidUse, path->offset,
                "a new object has no attributes to read yet; " + writer.shown(*path) +
                    " cannot stand in a value");
      }
      Operand v = writer.valueFor(*values[i], t, t.path, true);
      columns += (columns.empty() ? "" : ", ") + sqlName(t.path);
      row += (row.empty() ? "" : ", ") + v.sql;
    }
    return block("insert into " + sqlName(cls.owner, cls.name) + " (" + columns + ") values (" +
                 row + ")");
  }

  std::string update() {
    ClassName name = p_.className();
    s_.expectWord("SET");
    std::vector<Assignment> sets;
    do {
      Assignment a;
      a.target = p_.path();
      if (a.target.parts.size() > 1) {
        s_.fail(kInvalidUse, a.target.parts[1].offset,
                "only attributes of the class itself can be set, not a path");
      }
      s_.expectSymbol("=");
      a.value = p_.value();
      sets.push_back(std::move(a));
    } while (s_.acceptSymbol(","));
    ExprPtr where = condition();
    s_.expectEnd();

    const ClassDef& cls = model_.require(s_, name);
    Aliases aliases;
    SubqueryScope scope(model_, s_, cls, aliases);
    ExpressionWriter values(scope);
    values.setReferenceHook(preselect(scope));
    std::string list;
    for (size_t i = 0; i < sets.size(); ++i) {
      const Name& n = sets[i].target.parts[0];
      for (size_t j = 0; j < i; ++j) {
        if (sets[j].target.parts[0].text == n.text) {
          s_.fail(kInvalidUse, n.offset, "attribute " + n.text + " is set twice");
        }
      }
      Operand t = target(scope, n);
      Operand v = values.valueFor(*sets[i].value, t, t.path, true);
      list += (list.empty() ? "" : ", ") + sqlName(t.path) + " = " + v.sql;
    }
    return block("update " + sqlName(cls.owner, cls.name) + " " + scope.alias() + " set " + list +
                 whereText(scope, where.get()));
  }

  std::string remove() {
    s_.acceptWord("FROM");
    ClassName name = p_.className();
    ExprPtr where = condition();
    s_.expectEnd();
    const ClassDef& cls = model_.require(s_, name);
    Aliases aliases;
    SubqueryScope scope(model_, s_, cls, aliases);
    return block("delete from " + sqlName(cls.owner, cls.name) + " " + scope.alias() +
                 whereText(scope, where.get()));
  }

  ExprPtr condition() { return s_.acceptWord("WHERE") ? p_.condition() : nullptr; }

  static std::string whereText(PathScope& scope, const Expr* where) {
    if (!where) return "";
    ExpressionWriter writer(scope);
    Operand c = writer.condition(*where);
    return whereClause({}, &c);
  }

  std::string block(const std::string& statement) const {
    std::string out = declarations_.empty() ? "begin" : "declare" + declarations_ + " begin";
    return tagged("INT", out + preselects_ + " " + statement + "; :res := sql%rowcount; end;");
  }

  const ObjectModel& model_;
  Scanner& s_;
  ExpressionParser p_;
  std::string declarations_;
  std::string preselects_;
};

}  // namespace

std::string translateOdml(const ObjectModel& model, Scanner& s) {
  return OdmlWriter(model, s).write();
}

}  // namespace vorn::server::translator
