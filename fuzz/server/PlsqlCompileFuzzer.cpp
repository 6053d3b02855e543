// Feeds arbitrary text to the PL/SQL compiler against the demo database: an
// anonymous block (BEGIN or DECLARE) is compiled as the call interfaces
// compile it before running it; CREATE [OR REPLACE] PROCEDURE|FUNCTION text
// is split as CREATE splits it, its header read as the catalog reads it, and
// its body compiled as SCOTT's stored code. The compiler checks the unit's
// SQL statements against the catalog (prepared, queries described) but
// nothing runs. Compile errors are ORA errors; a crash, a read out of
// bounds or another exception is a finding.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "DemoSession.h"
#include "engine/Statement.h"
#include "plsql/Compiler.h"
#include "value/OraError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorn::server;
  Session& session = fuzz::demoSession();
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<Statement> statement;
  try {
    statement = session.prepare(text);
  } catch (const OraError&) {
    return 0;
  }
  if (statement->type() == StatementType::Begin || statement->type() == StatementType::Declare) {
    try {
      plsql::compileBlock(session, *statement);
    } catch (const OraError&) {
    }
  } else if (statement->type() == StatementType::Create) {
    const plsql::CreateText create = plsql::splitCreate(text);
    if (create.type != "PROCEDURE" && create.type != "FUNCTION") return 0;
    try {
      plsql::parseSignature(create.source, session.catalog(), "SCOTT");
    } catch (const OraError&) {
    }
    try {
      plsql::compileStored(session, "SCOTT", create.source);
    } catch (const OraError&) {
    }
  }
  return 0;
}
