// Client-side checks of a record against its table's constraints; see
// ConstraintCheck.h.
#include "ConstraintCheck.h"

#include <vector>

#include "DictionaryDataSet.h"
#include "FieldValues.h"
#include "MessageTranslation.h"
#include "vorn/dataset/DictionaryCache.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/host/DataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

constexpr int kUniqueViolated = 1;
constexpr int kCheckViolated = 2290;
constexpr int kParentMissing = 2291;
constexpr int kOdbcConstraintError = 30021;

// The text of a statement being built, and whether it needs the record's
// rowid.
struct Statement {
  std::vector<std::string> lines;
  bool usesRowId = false;
};

// Checks one constraint for the record being edited or inserted.
class ConstraintChecker {
 public:
  ConstraintChecker(DictionaryDataSet& dataSet, const std::string& tableName)
      : dataSet_(dataSet),
        fields_(dataSet.DataSet()),
        table_(TableInfoOf(dataSet.Session(), tableName)),
        rowId_(dataSet.DataSet().State() == dsInsert ? "" : dataSet.CurrentRowId()) {}

  TOracleTableInfo& Table() { return table_; }

  // Raises the database error when the record violates `constraint`.
  void Check(TOracleConstraintInfo& constraint) {
    bound_.clear();
    int code = 0;
    switch (constraint.Kind) {
      case ckPrimaryKey:
      case ckUnique:
        code = CheckKey(constraint);
        break;
      case ckForeignKey:
        code = CheckForeignKey(constraint);
        break;
      case ckCheck:
        code = CheckCondition(constraint);
        break;
      case ckUnknown:
        break;
    }
    if (code > 0) Report(constraint, code);
  }

 private:
  // A record without a stored row (a new one, or one whose insert is only
  // logged) cannot be excluded by rowid nor read back.
  bool Stored() const { return !rowId_.empty(); }

  std::string StoredValue(const std::string& column) const {
    return "(select " + column + " from " + table_.Name() + " where rowid = :zuq__rowid)";
  }

  // The conditions "<target> = :<column>" of a key check, one per column
  // pair. False when the check is to be skipped: no field has a value, or
  // (`nullSkips`, a foreign key) some field has none, or a column without a
  // field cannot be read back.
  bool KeyConditions(const std::vector<std::string>& columns,
                     const std::vector<std::string>& targets, bool nullSkips,
                     std::vector<std::string>& conditions, bool& usesRowId) {
    bool anyValue = false;
    for (size_t i = 0; i < columns.size(); ++i) {
      const std::string& column = columns[i];
      const std::string& target = targets[i];
      TField* field = fields_.FindField(column);
      if (field == nullptr) {
        if (!Stored()) return false;
        conditions.push_back(target + " = " + StoredValue(column));
        usesRowId = true;
      } else if (HasValue(*field)) {
        conditions.push_back(target + " = :" + column);
        bound_.push_back(field);
        anyValue = true;
      } else {
        if (nullSkips) return false;
        conditions.push_back(target + " is null");
      }
    }
    return anyValue;
  }

  // The statement query with the statement's text and nothing declared.
  TOracleQuery& Prepare(const Statement& statement) {
    TOracleQuery& query = dataSet_.StatementQuery();
    query.Clear();
    for (const std::string& line : statement.lines)
      query.SQL()->Add(line);
    return query;
  }

  // Declares the bound fields' variables (and the rowid) and runs `query`.
  TOracleQuery& Execute(const Statement& statement, TOracleQuery& query) {
    for (TField* field : bound_) {
      query.DeclareVariable(field->FieldName(), VariableTypeOf(*field));
      query.SetVariable(field->FieldName(),
                        HasValue(*field) ? field->Value() : Variant::MakeNull());
    }
    if (statement.usesRowId) {
      query.DeclareVariable("zuq__rowid", otString);
      query.SetVariable("zuq__rowid", rowId_);
    }
    query.Execute();
    return query;
  }

  int CheckKey(const TOracleConstraintInfo& constraint) {
    Statement statement;
    std::vector<std::string> conditions;
    if (!KeyConditions(constraint.Columns, constraint.Columns, false, conditions,
                       statement.usesRowId))
      return 0;
    statement.lines.push_back("select 'x' from " + table_.Name());
    if (Stored()) {
      statement.lines.push_back("where rowid <> :zuq__rowid");
      statement.usesRowId = true;
    }
    for (size_t i = 0; i < conditions.size(); ++i)
      statement.lines.push_back((i == 0 && !Stored() ? "where " : "and ") + conditions[i]);
    return Execute(statement, Prepare(statement)).Eof() ? 0 : kUniqueViolated;
  }

  int CheckForeignKey(const TOracleConstraintInfo& constraint) {
    // A key whose referenced columns are not visible cannot be paired.
    if (constraint.ReferencedColumns.size() != constraint.Columns.size()) return 0;
    Statement statement;
    std::vector<std::string> conditions;
    if (!KeyConditions(constraint.Columns, constraint.ReferencedColumns, true, conditions,
                       statement.usesRowId))
      return 0;
    statement.lines.push_back("select 'x' from " + constraint.ReferencedOwner + "." +
                              constraint.ReferencedTable);
    for (size_t i = 0; i < conditions.size(); ++i)
      statement.lines.push_back((i == 0 ? "where " : "and ") + conditions[i]);
    return Execute(statement, Prepare(statement)).Eof() ? kParentMissing : 0;
  }

  int CheckCondition(const TOracleConstraintInfo& constraint) {
    // Columns without a field are read from the stored row into variables
    // of their own type.
    std::vector<TOracleColumnInfo*> stored;
    for (const std::string& column : constraint.Columns) {
      if (TField* field = fields_.FindField(column)) {
        bound_.push_back(field);
        continue;
      }
      TOracleColumnInfo* info = table_.FindColumn(column);
      if (info == nullptr || !Stored()) return 0;
      stored.push_back(info);
    }
    Statement statement;
    statement.lines.push_back("begin");
    if (!stored.empty()) {
      std::string names, variables;
      for (TOracleColumnInfo* info : stored) {
        names += (names.empty() ? "" : ", ") + info->ColumnName;
        variables += (variables.empty() ? ":" : ", :") + info->ColumnName;
      }
      statement.lines.push_back("  select " + names + " into " + variables + " from " +
                                table_.Name() + " where rowid = :zuq__rowid;");
      statement.usesRowId = true;
    }
    statement.lines.insert(statement.lines.end(),
                           {"  if not (" + constraint.SearchCondition + ") then",
                            "    :error := 2290;", "  else", "    :error := 0;", "  end if;"});
    if (!stored.empty())
      statement.lines.insert(statement.lines.end(),
                             {"exception", "  when others then :error := 0;"});
    statement.lines.push_back("end;");

    TOracleQuery& query = Prepare(statement);
    for (TOracleColumnInfo* info : stored)
      query.DeclareVariable(info->ColumnName, info->DataType);
    query.DeclareVariable("error", otInteger);
    const int code = Execute(statement, query).GetVariable("error").AsInteger();
    return code == kCheckViolated ? kCheckViolated : 0;
  }

  [[noreturn]] void Report(const TOracleConstraintInfo& constraint, int code) {
    TOracleSession& session = *dataSet_.Session();
    std::string message;
    if (session.TakesODBCRoute()) {
      message = session.MessageText(kOdbcConstraintError) +
                (code == kUniqueViolated ? "[POL-3220] duplicate keys in unique/primary index"
                                         : "[POL-5143] integrity constraint violation");
      code = kOdbcConstraintError;
    } else {
      message = session.MessageText(code);
      const size_t open = message.find('(');
      const size_t close = open == std::string::npos ? open : message.find(')', open);
      if (close != std::string::npos) {
        message.replace(open + 1, close - open - 1,
                        table_.Owner() + "." + constraint.ConstraintName);
      }
    }
    const char action = dataSet_.DataSet().State() == dsInsert ? 'I' : 'U';
    DatabaseError(TranslateMessage(dataSet_, action, code, message));
  }

  DictionaryDataSet& dataSet_;
  TDataSet& fields_;
  TOracleTableInfo& table_;
  const std::string rowId_;
  // The fields whose values the statement binds.
  std::vector<TField*> bound_;
};

bool Enforcing(DictionaryDataSet& dataSet) {
  return dataSet.Dictionary().EnforceConstraints() && dataSet.HasRowId() &&
         IsEditMode(dataSet.DataSet().State());
}

bool Disabled(DictionaryDataSet& dataSet, const TOracleConstraintInfo& constraint) {
  return dataSet.Dictionary().DisabledConstraints()->Contains(constraint.ConstraintName);
}

// The column counts as changed by the record being posted.
bool Changed(TField& field, bool inserting) {
  if (inserting) return HasValue(field);
  return !SameValue(field.OldValue(), field.Value());
}

}  // namespace

std::string SingleEditableColumn(const TDataSet& dataSet, const TOracleConstraintInfo& constraint) {
  std::string single;
  int editable = 0;
  for (const std::string& column : constraint.Columns) {
    const TField* field = dataSet.FindField(column);
    if (field == nullptr || field->FieldKind() != fkData || field->ReadOnly()) continue;
    if (++editable == 1) single = column;
  }
  if (editable > 1) return "*";
  return single;
}

void CheckFieldConstraints(DictionaryDataSet& dataSet, TField& field) {
  if (!Enforcing(dataSet)) return;
  const std::string& name = field.FieldName();
  if (field.FieldKind() != fkData || dataSet.IsMasterField(name) ||
      dataSet.SequenceField().IsSequenceField(name) || !HasValue(field))
    return;
  // A statement without a table has no constraints to check.
  const std::string table = dataSet.UpdatingTableName();
  if (table.empty()) return;
  ConstraintChecker checker(dataSet, table);
  TTypedCollection<TOracleConstraintInfo>& constraints = checker.Table().Constraints();
  for (int i = 0; i < constraints.Count(); ++i) {
    TOracleConstraintInfo& constraint = *constraints.Items(i);
    if (Disabled(dataSet, constraint)) continue;
    if (!SameText(SingleEditableColumn(dataSet.DataSet(), constraint), name)) continue;
    if (constraint.LoadDetails()) checker.Check(constraint);
  }
}

void CheckRecordConstraints(DictionaryDataSet& dataSet) {
  if (!Enforcing(dataSet)) return;
  TDataSet& fields = dataSet.DataSet();
  TSequenceField& sequence = dataSet.SequenceField();
  const bool inserting = fields.State() == dsInsert;
  const std::string table = dataSet.UpdatingTableName();
  if (table.empty()) return;
  ConstraintChecker checker(dataSet, table);
  TTypedCollection<TOracleConstraintInfo>& constraints = checker.Table().Constraints();
  for (int i = 0; i < constraints.Count(); ++i) {
    TOracleConstraintInfo& constraint = *constraints.Items(i);
    if (Disabled(dataSet, constraint)) continue;
    const std::string single = SingleEditableColumn(fields, constraint);
    // One editable column: the check ran when that field changed.
    if (!single.empty() && single != "*") continue;
    bool waits = false;
    std::vector<TField*> changed;
    for (const std::string& column : constraint.Columns) {
      TField* field = fields.FindField(column);
      if (field == nullptr) continue;
      if (field->FieldKind() != fkData ||
          (sequence.IsServerSequenceField(column) && field->IsNull())) {
        waits = true;
        break;
      }
      if (dataSet.IsMasterField(column) || sequence.IsSequenceField(column)) continue;
      if (Changed(*field, inserting)) changed.push_back(field);
    }
    if (waits || changed.empty() || !constraint.LoadDetails()) continue;
    try {
      checker.Check(constraint);
    } catch (...) {
      changed.front()->FocusControl();
      throw;
    }
  }
}

}  // namespace vorn
