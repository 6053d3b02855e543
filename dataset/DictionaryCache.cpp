// The session's table information; see DictionaryCache.h.
#include "vorn/dataset/DictionaryCache.h"

#include "CheckCondition.h"
#include "StatementLines.h"
#include "TableLookup.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/host/UIServices.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

bool OnOdbcRoute(TOracleQuery& query) {
  return query.Session() != nullptr && query.Session()->TakesODBCRoute();
}

TConstraintKind KindOf(const std::string& type) {
  if (type == "P") return ckPrimaryKey;
  if (type == "U") return ckUnique;
  if (type == "R") return ckForeignKey;
  if (type == "C") return ckCheck;
  return ckUnknown;
}

}  // namespace

// --- TOracleConstraintInfo

TOracleTableInfo& TOracleConstraintInfo::TableInfo() const {
  return *static_cast<TOracleTableInfo*>(Collection()->Owner());
}

bool TOracleConstraintInfo::LoadDetails() {
  if (DetailsLoaded) return Enabled;
  TOracleTableInfo& table = TableInfo();
  // Resolved before the statement is set: resolving uses the same query.
  const std::string owner = table.Owner();
  TOracleQuery& query = table.Query();
  const bool odbc = OnOdbcRoute(query);
  SetStatement(query, {"select constraint_type, r_constraint_name, r_owner, search_condition",
                       "  from sys.all_constraints",
                       " where constraint_name = :constraint_name and owner = :owner",
                       odbc ? "   and constraint_type != 'C'" : "   and status = 'ENABLED'"});
  DeclareString(query, "constraint_name", ConstraintName);
  DeclareString(query, "owner", owner);
  query.Execute();
  if (query.Eof()) {
    DetailsLoaded = true;
    Enabled = false;
    return false;
  }
  const TConstraintKind kind = KindOf(query.FieldAsString(0));
  const std::string referencedConstraint = query.FieldAsString(1);
  const std::string referencedOwner = query.FieldAsString(2);
  // SEARCH_CONDITION is a LONG column, which only Field reads as text.
  const std::string condition = VarToStr(query.Field(3));

  if (kind == ckCheck) SearchCondition = RewriteCheckCondition(condition, Columns);
  if (kind == ckForeignKey) {
    // The referenced key's columns in key order, so that they pair with
    // this constraint's columns position by position.
    SetStatement(query, {"select table_name, column_name from sys.all_cons_columns",
                         " where owner = :owner and constraint_name = :constraint_name",
                         " order by position"});
    DeclareString(query, "owner", referencedOwner);
    DeclareString(query, "constraint_name", referencedConstraint);
    query.Execute();
    ReferencedColumns.clear();
    for (; !query.Eof(); query.Next()) {
      ReferencedTable = query.FieldAsString(0);
      ReferencedColumns.push_back(query.FieldAsString(1));
    }
    ReferencedOwner = referencedOwner;
  }
  Kind = kind;
  Enabled = kind != ckUnknown;
  DetailsLoaded = true;
  return Enabled;
}

// --- TOracleTableInfo

TOracleTableInfo::TOracleTableInfo(TCollection* collection)
    : TCollectionItem(collection),
      constraints_(std::make_unique<TTypedCollection<TOracleConstraintInfo>>(this)),
      columns_(std::make_unique<TTypedCollection<TOracleColumnInfo>>(this)) {}

TOracleTableInfo::~TOracleTableInfo() = default;

TOracleSession& TOracleTableInfo::Session() const {
  return static_cast<TOracleTableInfoList*>(Collection())->Session();
}

TOracleQuery& TOracleTableInfo::Query() {
  if (!query_) {
    query_ = std::make_unique<TOracleQuery>();
    query_->SetSession(&Session());
  }
  return *query_;
}

void TOracleTableInfo::Resolve() {
  if (resolved_) return;
  TTableName resolved = ResolveTableName(Query(), name_);
  owner_ = std::move(resolved.Owner);
  tableName_ = std::move(resolved.Table);
  resolved_ = true;
}

const std::string& TOracleTableInfo::Owner() {
  Resolve();
  return owner_;
}

const std::string& TOracleTableInfo::TableName() {
  Resolve();
  return tableName_;
}

TTypedCollection<TOracleConstraintInfo>& TOracleTableInfo::Constraints() {
  LoadConstraints();
  return *constraints_;
}

TTypedCollection<TOracleColumnInfo>& TOracleTableInfo::Columns() {
  LoadColumns();
  return *columns_;
}

TOracleColumnInfo* TOracleTableInfo::FindColumn(const std::string& name) {
  TTypedCollection<TOracleColumnInfo>& columns = Columns();
  for (int i = 0; i < columns.Count(); ++i) {
    if (SameText(columns.Items(i)->ColumnName, name)) return columns.Items(i);
  }
  return nullptr;
}

void TOracleTableInfo::LoadConstraints() {
  if (constraintsLoaded_) return;
  TOracleQuery& query = Query();
  const std::string& owner = Owner();
  const std::string& table = TableName();
  try {
    query.Clear();
    query.SQL()->Add("select constraint_name, column_name from sys.all_cons_columns");
    query.SQL()->Add("where owner = :owner and table_name = :table_name");
    // The server names the constraints nobody named SYS_C...; they are its
    // own (NOT NULL among them) and left to it. The ODBC route cannot tell
    // them apart.
    if (!OnOdbcRoute(query)) query.SQL()->Add("and constraint_name not like 'SYS_C%'");
    // Key order within a constraint pairs a foreign key's columns with the
    // referenced ones.
    query.SQL()->Add("order by constraint_name, position");
    DeclareString(query, "owner", owner);
    DeclareString(query, "table_name", table);
    query.Execute();
    TOracleConstraintInfo* constraint = nullptr;
    for (; !query.Eof(); query.Next()) {
      const std::string name = query.FieldAsString(0);
      if (constraint == nullptr || constraint->ConstraintName != name) {
        constraint = constraints_->Add();
        constraint->ConstraintName = name;
      }
      constraint->Columns.push_back(query.FieldAsString(1));
    }
  } catch (...) {
    constraints_->Clear();
    throw;
  }
  constraintsLoaded_ = true;
}

void TOracleTableInfo::LoadColumns() {
  if (columnsLoaded_) return;
  columnsLoaded_ = true;
  TOracleQuery& query = Query();
  try {
    query.Clear();
    query.SQL()->Add("select * from " + name_);
    query.Describe();
    for (int i = 0; i < query.FieldCount(); ++i) {
      TOracleColumnInfo* column = columns_->Add();
      column->ColumnName = query.FieldName(i);
      column->DataType = query.FieldType(i);
      column->Precision = query.FieldPrecision(i);
      column->Scale = query.FieldScale(i);
    }
  } catch (const Exception& error) {
    columns_->Clear();
    ShowMessage(error.Message());
  }
}

void TOracleTableInfo::LoadDefaultExpressions() {
  if (defaultsLoaded_) return;
  // Resolving and describing use the query too: both are done first.
  Resolve();
  LoadColumns();
  TOracleQuery& query = Query();
  SetStatement(
      query, {"select column_name, data_default from sys.all_tab_columns",
              "where owner = :owner and table_name = :table_name", "and data_default is not null"});
  DeclareString(query, "owner", Owner());
  DeclareString(query, "table_name", TableName());
  query.Execute();
  // The rows are read before the columns are described on the same query.
  std::vector<std::pair<std::string, std::string>> defaults;
  for (; !query.Eof(); query.Next())
    defaults.emplace_back(query.FieldAsString(0), Trim(VarToStr(query.Field(1))));
  for (const auto& [name, expression] : defaults) {
    if (TOracleColumnInfo* column = FindColumn(name)) column->DefaultExpression = expression;
  }
  noDefaults_ = defaults.empty();
  defaultsLoaded_ = true;
}

bool TOracleTableInfo::EvaluateDefaults(bool evaluateAgain) {
  LoadDefaultExpressions();
  if (noDefaults_) return false;
  if (defaultsEvaluated_ && !evaluateAgain) return true;
  TOracleQuery& query = Query();
  query.Clear();
  query.SQL()->Add("begin");
  std::vector<TOracleColumnInfo*> withDefaults;
  TTypedCollection<TOracleColumnInfo>& columns = Columns();
  for (int i = 0; i < columns.Count(); ++i) {
    TOracleColumnInfo* column = columns.Items(i);
    if (column->DefaultExpression.empty()) continue;
    query.SQL()->Add("  :" + column->ColumnName + " := " + column->DefaultExpression + ";");
    query.DeclareVariable(column->ColumnName, column->DataType);
    withDefaults.push_back(column);
  }
  query.SQL()->Add("end;");
  if (withDefaults.empty()) return false;
  query.Execute();
  for (TOracleColumnInfo* column : withDefaults) {
    const Variant value = query.GetVariable(column->ColumnName);
    column->DefaultValue = value.IsEmpty() ? Variant::MakeNull() : value;
  }
  defaultsEvaluated_ = true;
  return true;
}

// --- TOracleTableInfoList

TOracleTableInfoList::TOracleTableInfoList(TOracleSession& session)
    : TTypedCollection<TOracleTableInfo>(&session), session_(session) {}

TOracleTableInfo& TOracleTableInfoList::Find(const std::string& tableName) {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(Items(i)->Name(), tableName)) return *Items(i);
  }
  TOracleTableInfo* info = Add();
  info->SetName(tableName);
  return *info;
}

TOracleTableInfo& TableInfoOf(TOracleSession* session, const std::string& tableName) {
  if (session == nullptr) throw Exception("Session undefined");
  auto* list = dynamic_cast<TOracleTableInfoList*>(session->TableInfoList());
  if (list == nullptr) {
    auto made = std::make_unique<TOracleTableInfoList>(*session);
    list = made.get();
    session->SetTableInfoList(std::move(made));
  }
  return list->Find(tableName);
}

}  // namespace vorn
