// The fixture of the query tests; see QueryTestSupport.h.
#include "QueryTestSupport.h"

namespace vorn::query_test {

void QueryTest::SetUp() {
  session_ = NewSession();
  session_->LogOn();
}

void QueryTest::TearDown() {
  session_.reset();
}

std::unique_ptr<TOracleQuery> QueryTest::NewQuery(const std::string& sql, TOracleSession* session) {
  auto query = std::make_unique<TOracleQuery>();
  query->SetSession(session != nullptr ? session : session_.get());
  if (!sql.empty()) query->SQL()->SetText(sql);
  return query;
}

void QueryTest::Run(const std::string& sql) {
  NewQuery(sql)->Execute();
}

std::vector<std::string> QueryTest::Rows(const std::string& sql) {
  auto query = NewQuery(sql);
  query->Execute();
  std::vector<std::string> rows;
  for (; !query->Eof(); query->Next()) {
    std::string line;
    for (int i = 0; i < query->FieldCount(); ++i) {
      if (i > 0) line += "|";
      line += query->FieldAsString(i);
    }
    rows.push_back(line);
  }
  return rows;
}

}  // namespace vorn::query_test
