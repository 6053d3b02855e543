// Support of the version 7 call tests. The version 7 entry points are
// resolved from the same library as the version 8 ones (oci_support.h), by
// dlsym, into a table typed from server/include/oci.h.
//
// The fixture logs nobody on by itself; logOn() logs scott on through olog
// into lda_ (with hda_), and the tear-down logs off whatever is still
// logged on, so every test starts and ends without a session.
#pragma once

#include <string>
#include <vector>

#include "oci_support.h"

#define VORN_OCI7_TEST_CALLS(X)                                                                  \
  X(orlon)                                                                                       \
  X(olog)                                                                                        \
  X(ologof)                                                                                      \
  X(oerhms) X(oopen) X(oparse) X(odefin) X(oexfet) X(ofen) X(oflng) X(oclose) X(odescr) X(oexec) \
      X(oexn) X(ocom) X(orol) X(ocon) X(ocof) X(obreak) X(obndra) X(odessp) X(opinit)

namespace vorn::server::oci_test {

// The function codes (fc) the calls leave in a cursor data area.
enum : ub1 {
  kFcExecute = 4,
  kFcDefine = 8,
  kFcFetch = 12,
  kFcOpen = 14,
  kFcClose = 16,
  kFcParse = 54,
  kFcExecuteFetch = 56,
  kFcLong = 58,
  kFcDescribe = 60,
  kFcBind = 62,
};

struct Oci7Calls {
#define VORN_OCI7_FIELD(name) decltype(&::name) name = nullptr;
  VORN_OCI7_TEST_CALLS(VORN_OCI7_FIELD)
#undef VORN_OCI7_FIELD
};

const Oci7Calls& oci7();

// A cursor data area with room after it: the bytes past the area are
// filled with a pattern, so that a test can see the library never writes
// more than the documented fields.
struct GuardedArea {
  GuardedArea();
  Cda_Def area{};
  ub1 after[64];
  // True when neither the undocumented tail of the area (from byte 41 on)
  // nor the bytes after it were touched.
  bool untouchedPastDocumentedFields() const;
};

class Oci7Test : public OciTest {
 protected:
  void TearDown() override;

  // "user/password@<the test's database>".
  std::string connectText(const std::string& user, const std::string& password) const;
  // Logs on through olog into lda_; fails the test unless rc is 0.
  void logOn(const std::string& user = "scott", const std::string& password = "tiger");
  // The helpers work on lda_ unless another logon data area is given.
  void openCursor(Cda_Def& cda, Lda_Def* lda = nullptr);
  // Parses (not deferred) and executes on a cursor of its own; returns rc.
  int execute7(const std::string& sql, Lda_Def* lda = nullptr);
  // Expects execute7 to succeed.
  void run7(const std::string& sql, Lda_Def* lda = nullptr);
  // The rows of a query fetched through the version 7 calls, each
  // "a|b|..." with NULL as empty (SQLT_STR defines, `batch` rows per ofen).
  std::vector<std::string> rows7(const std::string& sql, Lda_Def* lda = nullptr, sword batch = 3);
  // oerhms on lda_.
  std::string message(int code);

  alignas(8) Lda_Def lda_{};
  alignas(8) ub1 hda_[HDA_SIZE] = {};
};

// A logged-on test with one open cursor data area, cda_, and short forms
// of the cursor calls on it.
class Oci7CursorAreaTest : public Oci7Test {
 protected:
  void SetUp() override {
    Oci7Test::SetUp();
    logOn();
    openCursor(cda_);
  }
  void TearDown() override {
    if (cda_.chk == 172) oci7().oclose(&cda_);
    Oci7Test::TearDown();
  }

  // oparse of `sql`, at once or deferred.
  sword parse(const std::string& sql, bool deferred = false) {
    text_ = sql;
    return oci7().oparse(&cda_, reinterpret_cast<OraText*>(text_.data()), -1, deferred ? 1 : 0, 2);
  }
  // obndra by name; `maxsiz` and `cursiz` bind a PL/SQL table.
  sword bind(const char* name, void* value, sword size, sword type, sb2* ind = nullptr,
             ub2* alen = nullptr, ub2* rcode = nullptr, ub4 maxsiz = 0, ub4* cursiz = nullptr) {
    return oci7().obndra(&cda_, reinterpret_cast<OraText*>(const_cast<char*>(name)), -1,
                         static_cast<ub1*>(value), size, type, -1, ind, alen, rcode, maxsiz, cursiz,
                         nullptr, -1, -1);
  }
  sword define(sword position, void* buffer, sword size, sword type, sb2* ind = nullptr,
               ub2* rlen = nullptr, ub2* rcode = nullptr) {
    return oci7().odefin(&cda_, position, static_cast<ub1*>(buffer), size, type, -1, ind, nullptr,
                         -1, -1, rlen, rcode);
  }

  Cda_Def cda_{};
  std::string text_;
};

}  // namespace vorn::server::oci_test

// Checks the return code of a version 7 call on `area` and shows the
// library's text for it when it is not the expected one.
#define EXPECT_RC(expected, area, call)                   \
  do {                                                    \
    (call);                                               \
    EXPECT_EQ(expected, (area).rc) << message((area).rc); \
  } while (0)
#define ASSERT_RC(expected, area, call)                   \
  do {                                                    \
    (call);                                               \
    ASSERT_EQ(expected, (area).rc) << message((area).rc); \
  } while (0)
