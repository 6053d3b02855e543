// Arbitrary text through the statement analysis and the parser of the
// server's SQL dialect: every input either parses or raises an OraError;
// nothing else may happen (no crash, no other exception, no endless loop).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/Parser.h"
#include "engine/StatementAnalysis.h"
#include "value/OraError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto analysis = vorn::server::analyseStatement(text);
  if (!analysis->tokenized()) return 0;
  try {
    vorn::server::Parser(analysis->text, analysis->tokens).statement();
  } catch (const vorn::server::OraError&) {
  }
  return 0;
}
