#include "FilterTestSupport.h"

namespace vorn::filter_test {

namespace {

// Number and date texts in the tests follow the host's fallback locale,
// whatever locale the environment names.
class FallbackLocale : public ::testing::Environment {
 public:
  void SetUp() override {
    settings_ = std::make_unique<ScopedFormatSettings>(DefaultFormatSettings());
  }
  void TearDown() override { settings_.reset(); }

 private:
  std::unique_ptr<ScopedFormatSettings> settings_;
};

// Registered at start-up, as the TEST macros register tests.
[[maybe_unused]] ::testing::Environment* const kFallbackLocale =  // NOLINT(cert-err58-cpp)
    ::testing::AddGlobalTestEnvironment(new FallbackLocale);

}  // namespace

std::string Describe(const TExpression* node) {
  if (node == nullptr) return "null";
  if (auto* s = dynamic_cast<const TStringLiteral*>(node)) return "'" + s->Value() + "'";
  if (auto* i = dynamic_cast<const TIntegerLiteral*>(node)) return std::to_string(i->Value());
  if (auto* f = dynamic_cast<const TFloatLiteral*>(node)) return FloatToStr(f->Value()) + "f";
  if (auto* b = dynamic_cast<const TBooleanLiteral*>(node)) return b->Value() ? "TRUE" : "FALSE";
  if (auto* u = dynamic_cast<const TUnaryOp*>(node)) {
    return "(" + std::string(OperatorName(u->Operator())) + " " + Describe(&u->Operand()) + ")";
  }
  if (auto* b = dynamic_cast<const TBinaryOp*>(node)) {
    return "(" + std::string(OperatorName(b->Operator())) + " " + Describe(&b->Left()) + " " +
           Describe(&b->Right()) + ")";
  }
  if (auto* r = dynamic_cast<const TRelationalOp*>(node)) {
    return "(" + std::string(OperatorName(r->Operator())) + " " + Describe(&r->Left()) + " " +
           Describe(&r->Right()) + ")";
  }
  if (auto* c = dynamic_cast<const TColumnExpression*>(node)) return "[" + c->Name() + "]";
  if (auto* f = dynamic_cast<const TFunction*>(node)) {
    std::string name;
    if (auto* cast = dynamic_cast<const TTypeCast*>(f)) name = cast->Name();
    if (auto* math = dynamic_cast<const TMathExpression*>(f)) {
      name = MathFunctionName(math->Function());
    }
    if (auto* text = dynamic_cast<const TStringExpression*>(f)) {
      name = StringFunctionName(text->Function());
    }
    if (dynamic_cast<const TConditional*>(f) != nullptr) name = "IF";
    if (f->Params() == nullptr) return name;
    name += "(";
    for (int i = 0; i < f->ParamCount(); ++i)
      name += (i > 0 ? ", " : "") + Describe(f->Param(i));
    return name + ")";
  }
  if (auto* probe = dynamic_cast<const TProbe*>(node)) return probe->name;
  return std::string(node->ClassName());
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EExpression& e) {
    return e.Message();
  }
  return "no error";
}

std::unique_ptr<TExpression> Parse(std::string_view text, TFilterOptions options) {
  return ParseFilterExpression(text, options, nullptr, nullptr);
}

std::string ParseError(std::string_view text, TFilterOptions options) {
  return ErrorOf([&] { Parse(text, options); });
}

void EmployeeTest::SetUp() {
  ds = std::make_unique<support::TMemDataSet>();
  ds->SetName("Employees");
  ds->FieldDefs().Add("EMPNO", ftInteger);
  ds->FieldDefs().Add("ENAME", ftString, 10);
  ds->FieldDefs().Add("JOB", ftString, 10);
  ds->FieldDefs().Add("SAL", ftFloat);
  ds->FieldDefs().Add("COMM", ftFloat);
  ds->FieldDefs().Add("DEPTNO", ftSmallint);
  ds->FieldDefs().Add("HIREDATE", ftDateTime);
  ds->FieldDefs().Add("MANAGER", ftBoolean);
  auto row = [this](int empno, const char* name, const char* job, double sal, const Variant& comm,
                    int deptno, TDateTime hired, bool manager) {
    ds->AddRow({empno, name, job, sal, comm, deptno, Variant::FromDateTime(hired), manager});
  };
  const Variant none = Variant::MakeNull();
  row(7369, "SMITH", "CLERK", 800, none, 20, EncodeDate(1980, 12, 17), false);
  row(7499, "ALLEN", "SALESMAN", 1600, 300.0, 30, EncodeDate(1981, 2, 20), false);
  row(7521, "WARD", "SALESMAN", 1250, 500.0, 30, EncodeDate(1981, 2, 22), false);
  row(7566, "JONES", "MANAGER", 2975, none, 20, EncodeDate(1981, 4, 2), true);
  row(7698, "BLAKE", "MANAGER", 2850, none, 30, EncodeDate(1981, 5, 1), true);
  row(7782, "CLARK", "MANAGER", 2450, none, 10, EncodeDate(1981, 6, 9), true);
  row(7839, "KING", "PRESIDENT", 5000, none, 10, EncodeDate(1981, 11, 17), true);
  row(7844, "TURNER", "SALESMAN", 1500, 0.0, 30, EncodeDate(1981, 9, 8), false);
  row(7934, "MILLER", "CLERK", 1300, none, 10, EncodeDate(1982, 1, 23), false);
  row(8001, "SM*", "CLERK", 900, none, 40, EncodeDateTime(1990, 1, 1, 10, 30, 0, 0), false);
  ds->Open();
}

void EmployeeTest::TearDown() {
  ds.reset();
}

std::unique_ptr<TExpression> EmployeeTest::ParseOn(std::string_view text, TFilterOptions options) {
  return ParseFilterExpression(text, options, ResolveColumn, ds.get());
}

std::vector<std::string> EmployeeTest::Accepted(std::string_view text, TFilterOptions options) {
  std::unique_ptr<TExpression> tree = ParseOn(text, options);
  ds->SetOnFilterRecord([&tree](TDataSet*, bool& accept) {
    if (tree) accept = tree->AsBoolean();
  });
  std::vector<std::string> names;
  try {
    ds->SetFiltered(true);
    for (ds->First(); !ds->Eof(); ds->Next())
      names.push_back(ds->FieldByName("ENAME")->AsString());
  } catch (...) {
    ds->SetOnFilterRecord(nullptr);
    ds->SetFiltered(false);
    throw;
  }
  ds->SetFiltered(false);
  ds->SetOnFilterRecord(nullptr);
  return names;
}

void EmployeeTest::GoTo(const std::string& name) {
  for (ds->First(); !ds->Eof(); ds->Next()) {
    if (ds->FieldByName("ENAME")->AsString() == name) return;
  }
  FAIL() << "no employee " << name;
}

}  // namespace vorn::filter_test
