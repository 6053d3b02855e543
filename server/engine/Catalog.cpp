// The catalog snapshot and its base tables; see Catalog.h.
#include "engine/Catalog.h"

#include <sqlite3.h>

#include "engine/Sqlite.h"
#include "value/OraDate.h"
#include "value/OraError.h"
#include "value/SessionValues.h"

namespace vorn::server {
namespace {

std::string key(const std::string& owner, const std::string& name) {
  return owner + '\x1f' + name;
}

struct BaseColumn {
  const char* name;
  const char* type;  // dictionary type name
  int length;        // VARCHAR2 length
};

struct BaseTable {
  const char* name;
  std::vector<BaseColumn> columns;
};

// The catalog base tables. Their layout is the database file format: change
// it only together with a format version bump (PROPS$ FORMAT).
const std::vector<BaseTable>& baseTables() {
  static const std::vector<BaseTable> tables = {
      {"USER$",
       {{"USER#", "NUMBER", 0},
        {"NAME", "VARCHAR2", 30},
        {"PASSWORD", "VARCHAR2", 30},
        {"ACCOUNT_STATUS", "VARCHAR2", 32},
        {"GRACE_DAYS", "NUMBER", 0},
        {"EXTERNAL", "NUMBER", 0},
        {"CREATED", "DATE", 0}}},
      {"OBJ$",
       {{"OBJ#", "NUMBER", 0},
        {"OWNER", "VARCHAR2", 30},
        {"NAME", "VARCHAR2", 30},
        {"TYPE", "VARCHAR2", 18},
        {"CREATED", "DATE", 0},
        {"LAST_DDL_TIME", "DATE", 0},
        {"STATUS", "VARCHAR2", 7}}},
      {"COL$",
       {{"OBJ#", "NUMBER", 0},
        {"COL#", "NUMBER", 0},
        {"NAME", "VARCHAR2", 30},
        {"TYPE", "VARCHAR2", 106},
        {"LENGTH", "NUMBER", 0},
        {"PRECISION$", "NUMBER", 0},
        {"SCALE", "NUMBER", 0},
        {"NULLABLE", "VARCHAR2", 1},
        {"DEFAULT$", "LONG", 0}}},
      {"CON$",
       {{"OWNER", "VARCHAR2", 30},
        {"NAME", "VARCHAR2", 30},
        {"TYPE", "VARCHAR2", 1},
        {"OBJ#", "NUMBER", 0},
        {"SEARCH_CONDITION", "LONG", 0},
        {"R_OWNER", "VARCHAR2", 30},
        {"R_NAME", "VARCHAR2", 30},
        {"DELETE_RULE", "VARCHAR2", 9},
        {"STATUS", "VARCHAR2", 8},
        {"GENERATED", "VARCHAR2", 14},
        {"NOTNULL_COL", "NUMBER", 0},
        {"LAST_CHANGE", "DATE", 0}}},
      {"CCOL$",
       {{"OWNER", "VARCHAR2", 30},
        {"NAME", "VARCHAR2", 30},
        {"OBJ#", "NUMBER", 0},
        {"COL_NAME", "VARCHAR2", 30},
        {"POSITION", "NUMBER", 0}}},
      {"SEQ$",
       {{"OBJ#", "NUMBER", 0},
        {"MINVALUE", "NUMBER", 0},
        {"MAXVALUE", "NUMBER", 0},
        {"INCREMENT$", "NUMBER", 0},
        {"CYCLE#", "VARCHAR2", 1},
        {"ORDER#", "VARCHAR2", 1},
        {"CACHE", "NUMBER", 0},
        {"LAST_NUMBER", "NUMBER", 0}}},
      {"SYN$",
       {{"OBJ#", "NUMBER", 0},
        {"TABLE_OWNER", "VARCHAR2", 30},
        {"TABLE_NAME", "VARCHAR2", 30},
        {"DB_LINK", "VARCHAR2", 128}}},
      {"VIEW$", {{"OBJ#", "NUMBER", 0}, {"TEXT", "LONG", 0}}},
      {"IND$",
       {{"OBJ#", "NUMBER", 0},
        {"TABLE_OBJ#", "NUMBER", 0},
        {"UNIQUENESS", "VARCHAR2", 9},
        {"COLUMNS", "VARCHAR2", 4000},
        {"CONSTRAINT_NAME", "VARCHAR2", 30}}},
      {"PROPS$", {{"NAME", "VARCHAR2", 30}, {"VALUE$", "VARCHAR2", 4000}}},
      {"DUAL", {{"DUMMY", "VARCHAR2", 1}}},
      {"SOURCE$", {{"OBJ#", "NUMBER", 0}, {"LINE", "NUMBER", 0}, {"SOURCE", "VARCHAR2", 4000}}},
      // Directories of BFILEs (CREATE DIRECTORY): SYS's, one namespace.
      {"DIR$", {{"NAME", "VARCHAR2", 30}, {"PATH", "VARCHAR2", 4000}}},
      // User-defined types (ObjectTypes.h).
      {"TYPE$",
       {{"OBJ#", "NUMBER", 0},
        {"TYPECODE", "VARCHAR2", 30},
        {"COLL_TYPE", "VARCHAR2", 30},
        {"UPPER_BOUND", "NUMBER", 0},
        {"TOID", "VARCHAR2", 32},
        {"ATTRIBUTES", "NUMBER", 0},
        {"INCOMPLETE", "VARCHAR2", 3}}},
      {"ATTR$",
       {{"OBJ#", "NUMBER", 0},
        {"ATTR#", "NUMBER", 0},
        {"NAME", "VARCHAR2", 30},
        {"TYPE_OWNER", "VARCHAR2", 30},
        {"TYPE_NAME", "VARCHAR2", 30},
        {"TYPE_MOD", "VARCHAR2", 7},
        {"LENGTH", "NUMBER", 0},
        {"PRECISION$", "NUMBER", 0},
        {"SCALE", "NUMBER", 0},
        {"TYPE_OBJ#", "NUMBER", 0}}},
      {"COLTYPE$",
       {{"OBJ#", "NUMBER", 0},
        {"NAME", "VARCHAR2", 30},
        {"TYPE_OBJ#", "NUMBER", 0},
        {"TYPE_MOD", "VARCHAR2", 7},
        {"SCOPE_OBJ#", "NUMBER", 0},
        {"STORE_AS", "VARCHAR2", 30}}},
      {"OBJTAB$", {{"OBJ#", "NUMBER", 0}, {"TYPE_OBJ#", "NUMBER", 0}}},
  };
  return tables;
}

}  // namespace

OraType typeFromDictionary(const std::string& type, int64_t length, bool hasPrecision,
                           int64_t precision, bool hasScale, int64_t scale) {
  OraType t;
  if (type == "NUMBER") {
    t = OraType::number();
    if (hasPrecision) {
      t.precision = static_cast<int>(precision);
      t.scale = hasScale ? static_cast<int>(scale) : 0;
    } else if (hasScale) {
      t.precision = 38;  // INTEGER, NUMBER(*,s)
      t.scale = static_cast<int>(scale);
    }
  } else if (type == "FLOAT") {
    t = OraType::number(hasPrecision ? static_cast<int>(precision) : 126, -127);
    t.isFloat = true;
  } else if (type == "VARCHAR2" || type == "NVARCHAR2") {
    t = OraType::varchar2(static_cast<int>(length));
    t.national = type[0] == 'N';
  } else if (type == "CHAR" || type == "NCHAR") {
    t = OraType::charType(static_cast<int>(length));
    t.national = type[0] == 'N';
  } else if (type == "RAW") {
    t.kind = TypeKind::Raw;
    t.length = static_cast<int>(length);
  } else if (type == "DATE") {
    t.kind = TypeKind::Date;
  } else if (type == "LONG") {
    t.kind = TypeKind::Long;
  } else if (type == "LONG RAW") {
    t.kind = TypeKind::LongRaw;
  } else if (type == "CLOB" || type == "NCLOB") {
    t.kind = TypeKind::Clob;
    t.national = type[0] == 'N';
  } else if (type == "BLOB") {
    t.kind = TypeKind::Blob;
  } else if (type == "BFILE") {
    t.kind = TypeKind::Bfile;
  } else if (type == "ROWID") {
    t.kind = TypeKind::Rowid;
  } else {
    t = OraType::varchar2(static_cast<int>(length > 0 ? length : 4000));
  }
  return t;
}

// ---------------------------------------------------------------------------
// Types (kept here: the dictionary is their main user)

int describeTypeCode(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Number:
      return 2;
    case TypeKind::Char:
      return 96;
    case TypeKind::Date:
      return 12;
    case TypeKind::Raw:
      return 23;
    case TypeKind::Long:
      return 8;
    case TypeKind::LongRaw:
      return 24;
    case TypeKind::Clob:
      return 112;
    case TypeKind::Blob:
      return 113;
    case TypeKind::Bfile:
      return 114;
    case TypeKind::Rowid:
      return 104;
    case TypeKind::Object:
    case TypeKind::Collection:
      return 108;
    case TypeKind::Ref:
      return 110;
    default:
      return 1;
  }
}

int describeDataSize(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Number:
      return 22;
    case TypeKind::Date:
      return 7;
    case TypeKind::Rowid:
      return 10;
    case TypeKind::Long:
    case TypeKind::LongRaw:
      return 0;
    case TypeKind::Clob:
    case TypeKind::Blob:
      return 4000;
    case TypeKind::Bfile:
      return 530;
    case TypeKind::Null:
    case TypeKind::Object:
    case TypeKind::Collection:
      return 0;
    case TypeKind::Ref:
      return 36;
    default:
      return t.length;
  }
}

std::string dictionaryTypeName(const OraType& t) {
  switch (t.kind) {
    case TypeKind::Number:
      return t.isFloat ? "FLOAT" : "NUMBER";
    case TypeKind::Varchar2:
      return t.national ? "NVARCHAR2" : "VARCHAR2";
    case TypeKind::Char:
      return t.national ? "NCHAR" : "CHAR";
    case TypeKind::Date:
      return "DATE";
    case TypeKind::Raw:
      return "RAW";
    case TypeKind::Long:
      return "LONG";
    case TypeKind::LongRaw:
      return "LONG RAW";
    case TypeKind::Clob:
      return t.national ? "NCLOB" : "CLOB";
    case TypeKind::Blob:
      return "BLOB";
    case TypeKind::Bfile:
      return "BFILE";
    case TypeKind::Rowid:
      return "ROWID";
    case TypeKind::Object:
    case TypeKind::Ref:
    case TypeKind::Collection:
      return t.udt ? t.udt->name : "UNDEFINED";
    default:
      return "VARCHAR2";
  }
}

// ---------------------------------------------------------------------------

std::string TableInfo::sqlName() const {
  return quoteIdent(owner + "." + name);
}

int TableInfo::findColumn(const std::string& column) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == column) return static_cast<int>(i);
  }
  return -1;
}

std::shared_ptr<const Catalog> Catalog::load(sqlite3* db, int64_t version) {
  auto c = std::make_shared<Catalog>();
  c->version_ = version;
  {
    SqlStatement s(db,
                   "SELECT \"USER#\", NAME, PASSWORD, ACCOUNT_STATUS, GRACE_DAYS, EXTERNAL, "
                   "CREATED FROM \"SYS.USER$\"");
    while (s.step()) {
      UserInfo u;
      u.id = s.getInt(0);
      u.name = s.getText(1);
      u.password = s.getText(2);
      u.status = s.getText(3);
      u.graceDays = static_cast<int>(s.getInt(4));
      u.external = s.getInt(5) != 0;
      u.created = s.getInt(6);
      c->users_[u.name] = u;
    }
  }
  // Files made before directories existed have no DIR$: they simply have
  // no directories.
  if (sqlite3_table_column_metadata(db, nullptr, "SYS.DIR$", "PATH", nullptr, nullptr, nullptr,
                                    nullptr, nullptr) == SQLITE_OK) {
    SqlStatement s(db, "SELECT NAME, PATH FROM \"SYS.DIR$\"");
    while (s.step())
      c->directories_[s.getText(0)] = s.getText(1);
  }
  std::map<int64_t, std::pair<std::string, std::string>> objNames;
  {
    SqlStatement s(db, "SELECT \"OBJ#\", OWNER, NAME, TYPE, STATUS FROM \"SYS.OBJ$\"");
    while (s.step()) {
      int64_t obj = s.getInt(0);
      std::string owner = s.getText(1), name = s.getText(2), type = s.getText(3);
      objNames[obj] = {owner, name};
      if (type == "TABLE" || type == "VIEW") {
        auto t = std::make_unique<TableInfo>();
        t->obj = obj;
        t->owner = owner;
        t->name = name;
        t->isView = type == "VIEW";
        c->objects_[key(owner, name)] =
            ObjectRef{t->isView ? ObjectType::View : ObjectType::Table, t.get()};
        c->tables_[obj] = std::move(t);
      } else if (type == "PROCEDURE" || type == "FUNCTION" || type == "PACKAGE") {
        auto code = std::make_unique<StoredCodeInfo>();
        code->obj = obj;
        code->owner = owner;
        code->name = name;
        code->type = type;
        code->status = s.getText(4);
        c->objects_[key(owner, name)] = ObjectRef{type == "PROCEDURE"  ? ObjectType::Procedure
                                                  : type == "FUNCTION" ? ObjectType::Function
                                                                       : ObjectType::Package,
                                                  code.get()};
        c->storedCode_[obj] = std::move(code);
      }
    }
  }
  c->loadTypes(db);
  if (!c->storedCode_.empty()) {
    SqlStatement s(db, "SELECT \"OBJ#\", SOURCE FROM \"SYS.SOURCE$\" ORDER BY \"OBJ#\", LINE");
    while (s.step()) {
      auto it = c->storedCode_.find(s.getInt(0));
      if (it != c->storedCode_.end()) it->second->source += s.getText(1);
    }
  }
  {
    SqlStatement s(db,
                   "SELECT \"OBJ#\", NAME, TYPE, LENGTH, PRECISION$, SCALE, NULLABLE, DEFAULT$ "
                   "FROM \"SYS.COL$\" ORDER BY \"OBJ#\", \"COL#\"");
    while (s.step()) {
      auto it = c->tables_.find(s.getInt(0));
      if (it == c->tables_.end()) continue;
      ColumnInfo col;
      col.name = s.getText(1);
      col.type = typeFromDictionary(s.getText(2), s.getInt(3), !s.isNull(4), s.getInt(4),
                                    !s.isNull(5), s.getInt(5));
      col.type.nullable = s.getText(6) != "N";
      col.defaultText = s.getText(7);
      col.id = static_cast<int>(it->second->columns.size()) + 1;
      it->second->columns.push_back(std::move(col));
    }
  }
  c->loadTypedTables(db);
  {
    SqlStatement s(db, "SELECT \"OBJ#\", TEXT FROM \"SYS.VIEW$\"");
    while (s.step()) {
      auto it = c->tables_.find(s.getInt(0));
      if (it != c->tables_.end()) it->second->viewText = s.getText(1);
    }
  }
  {
    SqlStatement s(db,
                   "SELECT OWNER, NAME, TYPE, \"OBJ#\", SEARCH_CONDITION, R_OWNER, R_NAME, "
                   "DELETE_RULE, STATUS, GENERATED, NOTNULL_COL FROM \"SYS.CON$\"");
    while (s.step()) {
      auto con = std::make_unique<ConstraintInfo>();
      con->owner = s.getText(0);
      con->name = s.getText(1);
      std::string type = s.getText(2);
      con->type = type.empty() ? 'C' : type[0];
      con->tableObj = s.getInt(3);
      con->searchCondition = s.getText(4);
      con->rOwner = s.getText(5);
      con->rName = s.getText(6);
      con->deleteRule = s.getText(7);
      con->enabled = s.getText(8) == "ENABLED";
      con->generatedName = s.getText(9) == "GENERATED NAME";
      con->notNullColumn = s.isNull(10) ? -1 : static_cast<int>(s.getInt(10)) - 1;
      c->constraints_[key(con->owner, con->name)] = std::move(con);
    }
  }
  {
    SqlStatement s(db,
                   "SELECT OWNER, NAME, COL_NAME FROM \"SYS.CCOL$\" "
                   "ORDER BY OWNER, NAME, POSITION, rowid");
    while (s.step()) {
      auto it = c->constraints_.find(key(s.getText(0), s.getText(1)));
      if (it == c->constraints_.end()) continue;
      ConstraintInfo& con = *it->second;
      auto t = c->tables_.find(con.tableObj);
      if (t == c->tables_.end()) continue;
      int col = t->second->findColumn(s.getText(2));
      if (col >= 0) con.columns.push_back(col);
    }
  }
  for (auto& [k, con] : c->constraints_) {
    auto t = c->tables_.find(con->tableObj);
    if (t == c->tables_.end()) continue;
    t->second->constraints.push_back(con.get());
    if (con->type == 'R') {
      auto parent = c->constraints_.find(key(con->rOwner, con->rName));
      if (parent != c->constraints_.end()) {
        auto pt = c->tables_.find(parent->second->tableObj);
        if (pt != c->tables_.end()) pt->second->referencedBy.push_back(con.get());
      }
    }
  }
  {
    SqlStatement s(
        db,
        "SELECT \"OBJ#\", MINVALUE, MAXVALUE, INCREMENT$, \"CYCLE#\", \"ORDER#\", CACHE, "
        "LAST_NUMBER FROM \"SYS.SEQ$\"");
    while (s.step()) {
      auto seq = std::make_unique<SequenceInfo>();
      seq->obj = s.getInt(0);
      auto n = objNames.find(seq->obj);
      if (n == objNames.end()) continue;
      seq->owner = n->second.first;
      seq->name = n->second.second;
      seq->minValue = s.getDouble(1);
      seq->maxValue = s.getDouble(2);
      seq->increment = s.getDouble(3);
      seq->cycle = s.getText(4) == "Y";
      seq->order = s.getText(5) == "Y";
      seq->cache = static_cast<int>(s.getInt(6));
      seq->lastNumber = s.getDouble(7);
      c->objects_[key(seq->owner, seq->name)] = ObjectRef{ObjectType::Sequence, seq.get()};
      c->sequencesById_[seq->obj] = seq.get();
      c->sequences_.push_back(std::move(seq));
    }
  }
  {
    SqlStatement s(db, "SELECT \"OBJ#\", TABLE_OWNER, TABLE_NAME, DB_LINK FROM \"SYS.SYN$\"");
    while (s.step()) {
      auto syn = std::make_unique<SynonymInfo>();
      syn->obj = s.getInt(0);
      auto n = objNames.find(syn->obj);
      if (n == objNames.end()) continue;
      syn->owner = n->second.first;
      syn->name = n->second.second;
      syn->targetOwner = s.getText(1);
      syn->targetName = s.getText(2);
      syn->dblink = s.getText(3);
      c->objects_[key(syn->owner, syn->name)] = ObjectRef{ObjectType::Synonym, syn.get()};
      c->synonyms_.push_back(std::move(syn));
    }
  }
  {
    SqlStatement s(db,
                   "SELECT \"OBJ#\", \"TABLE_OBJ#\", UNIQUENESS, COLUMNS, CONSTRAINT_NAME "
                   "FROM \"SYS.IND$\"");
    while (s.step()) {
      auto idx = std::make_unique<IndexInfo>();
      idx->obj = s.getInt(0);
      auto n = objNames.find(idx->obj);
      if (n == objNames.end()) continue;
      idx->owner = n->second.first;
      idx->name = n->second.second;
      idx->tableObj = s.getInt(1);
      idx->unique = s.getText(2) == "UNIQUE";
      std::string cols = s.getText(3);
      size_t start = 0;
      while (start <= cols.size() && !cols.empty()) {
        size_t comma = cols.find(',', start);
        idx->columns.push_back(cols.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      idx->constraintName = s.getText(4);
      c->indexes_[key(idx->owner, idx->name)] = std::move(idx);
    }
  }
  return c;
}

const UserInfo* Catalog::findUser(const std::string& name) const {
  auto it = users_.find(name);
  return it == users_.end() ? nullptr : &it->second;
}

const ObjectRef* Catalog::findObject(const std::string& owner, const std::string& name) const {
  auto it = objects_.find(key(owner, name));
  return it == objects_.end() ? nullptr : &it->second;
}

const TableInfo* Catalog::tableById(int64_t obj) const {
  auto it = tables_.find(obj);
  return it == tables_.end() ? nullptr : it->second.get();
}

const SequenceInfo* Catalog::sequenceById(int64_t obj) const {
  auto it = sequencesById_.find(obj);
  return it == sequencesById_.end() ? nullptr : it->second;
}

const ConstraintInfo* Catalog::findConstraint(const std::string& owner,
                                              const std::string& name) const {
  auto it = constraints_.find(key(owner, name));
  return it == constraints_.end() ? nullptr : it->second.get();
}

const std::string* Catalog::findDirectory(const std::string& name) const {
  auto it = directories_.find(name);
  return it == directories_.end() ? nullptr : &it->second;
}

const IndexInfo* Catalog::findIndex(const std::string& owner, const std::string& name) const {
  auto it = indexes_.find(key(owner, name));
  return it == indexes_.end() ? nullptr : it->second.get();
}

std::vector<const IndexInfo*> Catalog::indexesOf(int64_t tableObj) const {
  std::vector<const IndexInfo*> out;
  for (const auto& [k, idx] : indexes_) {
    if (idx->tableObj == tableObj) out.push_back(idx.get());
  }
  return out;
}

std::vector<const ObjectRef*> Catalog::objectsOf(const std::string& owner) const {
  std::vector<const ObjectRef*> out;
  std::string prefix = owner + '\x1f';
  for (auto it = objects_.lower_bound(prefix);
       it != objects_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    out.push_back(&it->second);
  }
  return out;
}

const ObjectRef* Catalog::resolve(const std::string& sessionUser,
                                  const std::vector<std::string>& name,
                                  std::string* resolvedOwner) const {
  std::string owner = name.size() > 1 ? name[0] : sessionUser;
  std::string object = name.back();
  const ObjectRef* ref = findObject(owner, object);
  if (!ref && name.size() == 1) {
    owner = "PUBLIC";
    ref = findObject(owner, object);
  }
  for (int depth = 0; ref && ref->type == ObjectType::Synonym; ++depth) {
    if (depth > 16) raiseOra(1775);
    const SynonymInfo* syn = ref->synonym();
    if (!syn->dblink.empty()) raiseOra(2019);
    owner = syn->targetOwner;
    object = syn->targetName;
    ref = findObject(owner, object);
    if (!ref) raiseOra(980);
  }
  if (ref && resolvedOwner) *resolvedOwner = owner;
  return ref;
}

// ---------------------------------------------------------------------------
// Creating and writing the catalog

void createCatalogTables(sqlite3* db) {
  int64_t now = localTimeNow();
  int64_t obj = 1;
  for (const BaseTable& t : baseTables()) {
    std::string ddl = "CREATE TABLE " + quoteIdent(std::string("SYS.") + t.name) + " (";
    for (size_t i = 0; i < t.columns.size(); ++i) {
      if (i) ddl += ", ";
      ddl += quoteIdent(t.columns[i].name);
    }
    ddl += ")";
    execSql(db, ddl);
  }
  SqlStatement insObj2(db,
                       "INSERT INTO \"SYS.OBJ$\" VALUES (?1, 'SYS', ?2, 'TABLE', ?3, ?3, 'VALID')");
  SqlStatement insCol(
      db, "INSERT INTO \"SYS.COL$\" VALUES (?1, ?2, ?3, ?4, ?5, NULL, NULL, 'Y', NULL)");
  for (const BaseTable& t : baseTables()) {
    insObj2.reset();
    insObj2.bind(1, obj).bind(2, std::string_view(t.name)).bind(3, now);
    insObj2.run();
    int colNo = 1;
    for (const BaseColumn& c : t.columns) {
      std::string type = c.type;
      int64_t length = type == "NUMBER" ? 22 : type == "DATE" ? 7 : type == "LONG" ? 0 : c.length;
      insCol.reset();
      insCol.bind(1, obj)
          .bind(2, static_cast<int64_t>(colNo++))
          .bind(3, std::string_view(c.name))
          .bind(4, std::string_view(type))
          .bind(5, length);
      insCol.run();
    }
    ++obj;
  }
  execSql(db, "INSERT INTO \"SYS.DUAL\" VALUES ('X')");
  SqlStatement prop(db, "INSERT INTO \"SYS.PROPS$\" VALUES (?1, ?2)");
  prop.bind(1, std::string_view("FORMAT")).bind(2, std::string_view("1"));
  prop.run();
  prop.reset();
  prop.bind(1, std::string_view("NEXT_OBJECT")).bind(2, std::string_view("100"));
  prop.run();
  SqlStatement user(db, "INSERT INTO \"SYS.USER$\" VALUES (?1, ?2, 'MANAGER', 'OPEN', 0, 0, ?3)");
  user.bind(1, static_cast<int64_t>(0)).bind(2, std::string_view("SYS")).bind(3, now);
  user.run();
  user.reset();
  user.bind(1, static_cast<int64_t>(5)).bind(2, std::string_view("SYSTEM")).bind(3, now);
  user.run();
  prop.reset();
  prop.bind(1, std::string_view("NEXT_USER")).bind(2, std::string_view("30"));
  prop.run();
}

std::string catalogProperty(sqlite3* db, const std::string& name) {
  SqlStatement s(db, "SELECT VALUE$ FROM \"SYS.PROPS$\" WHERE NAME = ?1");
  s.bind(1, std::string_view(name));
  return s.step() ? s.getText(0) : std::string();
}

void setCatalogProperty(sqlite3* db, const std::string& name, const std::string& value) {
  SqlStatement del(db, "DELETE FROM \"SYS.PROPS$\" WHERE NAME = ?1");
  del.bind(1, std::string_view(name));
  del.run();
  SqlStatement ins(db, "INSERT INTO \"SYS.PROPS$\" VALUES (?1, ?2)");
  ins.bind(1, std::string_view(name)).bind(2, std::string_view(value));
  ins.run();
}

int64_t nextObjectNumber(sqlite3* db) {
  int64_t n = std::stoll(catalogProperty(db, "NEXT_OBJECT"));
  setCatalogProperty(db, "NEXT_OBJECT", std::to_string(n + 1));
  return n;
}

}  // namespace vorn::server
