// Version 7 calls and the fixture of their tests; see oci7_support.h.
#include "oci7_support.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vorn::server::oci_test {

namespace {

constexpr ub1 kPattern = 0xA5;
// The library writes bytes 0 to 40 of an area and nothing after.
constexpr size_t kDocumentedBytes = 41;

}  // namespace

const Oci7Calls& oci7() {
  static const Oci7Calls calls = [] {
    Oci7Calls c;
#define VORN_OCI7_RESOLVE(name)                                           \
  c.name = reinterpret_cast<decltype(c.name)>(::dlsym(library(), #name)); \
  if (!c.name) {                                                          \
    std::fprintf(stderr, "the library does not export " #name "\n");      \
    std::abort();                                                         \
  }
    VORN_OCI7_TEST_CALLS(VORN_OCI7_RESOLVE)
#undef VORN_OCI7_RESOLVE
    return c;
  }();
  return calls;
}

GuardedArea::GuardedArea() {
  auto* bytes = reinterpret_cast<ub1*>(&area);
  std::memset(bytes + kDocumentedBytes, kPattern, sizeof area - kDocumentedBytes);
  std::memset(after, kPattern, sizeof after);
}

bool GuardedArea::untouchedPastDocumentedFields() const {
  const auto* bytes = reinterpret_cast<const ub1*>(&area);
  for (size_t i = kDocumentedBytes; i < sizeof area; ++i) {
    if (bytes[i] != kPattern) return false;
  }
  for (ub1 b : after) {
    if (b != kPattern) return false;
  }
  return true;
}

void Oci7Test::TearDown() {
  if (lda_.chk == 202) oci7().ologof(&lda_);
  OciTest::TearDown();
}

std::string Oci7Test::connectText(const std::string& user, const std::string& password) const {
  return user + "/" + password + "@" + databasePath();
}

void Oci7Test::logOn(const std::string& user, const std::string& password) {
  std::string text = connectText(user, password);
  oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
              OCI_LM_DEF);
  ASSERT_EQ(0, lda_.rc) << message(lda_.rc);
}

void Oci7Test::openCursor(Cda_Def& cda, Lda_Def* lda) {
  ASSERT_RC(0, cda, oci7().oopen(&cda, lda ? lda : &lda_, nullptr, -1, -1, nullptr, -1));
}

int Oci7Test::execute7(const std::string& sql, Lda_Def* lda) {
  Cda_Def cda{};
  openCursor(cda, lda);
  std::string text = sql;
  int rc = 0;
  if (oci7().oparse(&cda, reinterpret_cast<OraText*>(text.data()), -1, 0, 2) != 0) {
    rc = cda.rc;
  } else if (oci7().oexec(&cda) != 0) {
    rc = cda.rc;
  }
  oci7().oclose(&cda);
  return rc;
}

void Oci7Test::run7(const std::string& sql, Lda_Def* lda) {
  int rc = execute7(sql, lda);
  EXPECT_EQ(0, rc) << sql << ": " << message(rc);
}

std::vector<std::string> Oci7Test::rows7(const std::string& sql, Lda_Def* lda, sword batch) {
  constexpr sword kWidth = 256;
  const Oci7Calls& c = oci7();
  std::vector<std::string> out;
  Cda_Def cda{};
  openCursor(cda, lda);
  std::string text = sql;
  if (c.oparse(&cda, reinterpret_cast<OraText*>(text.data()), -1, 0, 2) != 0) {
    ADD_FAILURE() << sql << ": " << message(cda.rc);
    c.oclose(&cda);
    return out;
  }
  sword columns = 0;
  for (;; ++columns) {
    sb4 size = 0;
    sb2 type = 0;
    if (c.odescr(&cda, columns + 1, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr,
                 nullptr) != 0) {
      break;
    }
  }
  EXPECT_EQ(1007, cda.rc) << message(cda.rc);
  auto count = static_cast<size_t>(columns);
  std::vector<std::vector<char>> values(count, std::vector<char>(batch * kWidth));
  std::vector<std::vector<sb2>> indicators(count, std::vector<sb2>(batch));
  for (sword i = 0; i < columns; ++i) {
    c.odefin(&cda, i + 1, reinterpret_cast<ub1*>(values[i].data()), kWidth, SQLT_STR, -1,
             indicators[i].data(), nullptr, -1, -1, nullptr, nullptr);
    EXPECT_EQ(0, cda.rc) << message(cda.rc);
  }
  ub4 before = 0;
  bool first = true;
  for (;;) {
    sword result = first ? c.oexfet(&cda, static_cast<ub4>(batch), 0, 0) : c.ofen(&cda, batch);
    first = false;
    if (result != 0 && cda.rc != 1403) {
      ADD_FAILURE() << sql << ": " << message(cda.rc);
      break;
    }
    for (ub4 r = 0; r < cda.rpc - before; ++r) {
      std::string line;
      for (size_t i = 0; i < count; ++i) {
        if (i) line += '|';
        if (indicators[i][r] != -1) line += &values[i][r * kWidth];
      }
      out.push_back(line);
    }
    before = cda.rpc;
    if (cda.rc == 1403) break;
  }
  c.oclose(&cda);
  return out;
}

std::string Oci7Test::message(int code) {
  char text[2048] = "";
  oci7().oerhms(&lda_, static_cast<sb2>(code), reinterpret_cast<OraText*>(text), sizeof text);
  return text;
}

}  // namespace vorn::server::oci_test
