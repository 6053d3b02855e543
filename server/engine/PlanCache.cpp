// The plan cache: a statement's compiled plan, shared through the session's
// cache by statements of the same text, default schema and bind types, and
// valid for one catalog version. See Statement.h and Plan.h.
#include <algorithm>

#include "engine/Parser.h"
#include "engine/Plan.h"
#include "engine/Session.h"
#include "engine/Statement.h"

namespace vorn::server {

namespace {

ColumnDescription describeColumn(const ResultColumn& c) {
  ColumnDescription d;
  d.name = c.name;
  d.type = c.type;
  d.typeCode = describeTypeCode(c.type);
  d.dataSize = describeDataSize(c.type);
  if (c.type.kind == TypeKind::Number) {
    d.precision = c.type.precision;
    d.scale = c.type.scale;
  }
  d.nullable = c.type.nullable;
  return d;
}

}  // namespace

Stmt& Statement::treeToCompile(StmtPtr& fresh) {
  // Compilation annotates the tree it works on (plans keep nothing of it):
  // the statement's own tree is compiled once, every later compilation
  // (other bind types, a new catalog) gets a fresh parse of the same tokens.
  if (!treeCompiled_) {
    treeCompiled_ = true;
    return *tree_;
  }
  fresh = Parser(text_, analysis_->tokens).statement();
  return *fresh;
}

std::shared_ptr<Plan> Statement::plan() {
  auto catalog = session_->catalog();
  // Executing again with binds of the same types: the plan at hand serves.
  if (plan_ && plan_->catalog == catalog && planKinds_.size() == bindTypes_.size() &&
      std::equal(bindTypes_.begin(), bindTypes_.end(), planKinds_.begin(),
                 [](const OraType& t, const PlanBindKind& k) {
                   return t.kind == k.kind && (t.udt ? t.udt->obj : 0) == k.udt;
                 })) {
    return plan_;
  }
  std::string key = text_;
  key += '\0';
  key += schema_;
  key += '\0';
  for (const OraType& t : bindTypes_) {
    key += static_cast<char>('A' + static_cast<int>(t.kind));
    if (t.udt) key += std::to_string(t.udt->obj) + ',';
  }
  // A plan compiled with a name hook holds parameters of that hook's locals:
  // it is this statement's alone.
  auto& cache = session_->plans_;
  if (std::shared_ptr<Plan>* cached = hook_ ? nullptr : cache.find(key)) {
    plan_ = *cached;
    rememberPlanKinds();
    return plan_;
  }
  CompileContext ctx;
  ctx.catalog = catalog;
  ctx.user = schema_.empty() ? session_->user() : schema_;
  ctx.sessionUser = session_->user();
  ctx.userId = session_->userId();
  ctx.bindTypes = bindTypes_;
  ctx.hook = hook_;
  auto p = std::make_shared<Plan>();
  p->catalog = catalog;
  if (tree_->kind == StmtKind::Select) {
    StmtPtr fresh;
    auto& sel = static_cast<SelectStmt&>(treeToCompile(fresh));
    p->isQuery = true;
    p->query = compileQuery(ctx, *sel.query);
    for (const ResultColumn& c : p->query.columns) {
      p->columns.push_back(describeColumn(c));
      p->columnTypes.push_back(c.type);
    }
  } else if (tree_->kind == StmtKind::Insert || tree_->kind == StmtKind::Update ||
             tree_->kind == StmtKind::Delete) {
    StmtPtr fresh;
    p->dml = compileDml(ctx, treeToCompile(fresh));
  }
  if (!hook_) cache.emplace(key, p);
  plan_ = p;
  rememberPlanKinds();
  return p;
}

void Statement::rememberPlanKinds() {
  planKinds_.clear();
  for (const OraType& t : bindTypes_)
    planKinds_.push_back({t.kind, t.udt ? t.udt->obj : 0});
}

const std::vector<ColumnDescription>& Statement::describe() {
  if (tree_->kind != StmtKind::Select) {
    described_.clear();
    return described_;
  }
  auto p = plan();
  described_ = p->columns;
  return described_;
}

size_t Statement::columnCount() {
  return describe().size();
}

const std::vector<int>& Statement::returningSlots() const {
  static const std::vector<int> none;
  return plan_ && !plan_->isQuery ? plan_->dml.returningSlots : none;
}

}  // namespace vorn::server
