// The session's query factory; see QueryEngine.h.
#include "vorn/query/QueryEngine.h"

#include "vorn/query/OracleQuery.h"
#include "vorn/session/SessionQuery.h"

namespace vorn {

namespace {

// A TOracleQuery as the session sees its own queries.
class EngineQuery final : public SessionQuery {
 public:
  explicit EngineQuery(TOracleSession& session) { query_.SetSession(&session); }

  void Clear() override { query_.Clear(); }
  void SetSQLText(const std::string& text) override { query_.SQL()->SetText(text); }
  void Execute() override { query_.Execute(); }
  bool Eof() override { return query_.Eof(); }
  void Next() override { query_.Next(); }
  int FieldAsInteger(int column) override { return query_.FieldAsInteger(column); }
  std::string FieldAsString(int column) override { return query_.FieldAsString(column); }

 private:
  TOracleQuery query_;
};

}  // namespace

void InstallQueryEngine() {
  SetSessionQueryFactory(
      [](TOracleSession& session) { return std::make_unique<EngineQuery>(session); });
}

}  // namespace vorn

// The symbol the link interface of vorn::query names (query/CMakeLists.txt),
// so that this object, and the installation below, is always linked in.
extern "C" const int vorn_query_engine_installed = [] {
  vorn::InstallQueryEngine();
  return 1;
}();
