// Helpers shared by the value-layer tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "value/OraError.h"

namespace vorn::server::test {

// The ORA code `f` raises, or 0 when it returns normally.
template <class F>
int oraCode(F&& f) {
  try {
    f();
  } catch (const OraError& e) {
    return e.code();
  }
  return 0;
}

// The whole message `f` raises, or "" when it returns normally.
template <class F>
std::string oraText(F&& f) {
  try {
    f();
  } catch (const OraError& e) {
    return e.message();
  }
  return {};
}

}  // namespace vorn::server::test
