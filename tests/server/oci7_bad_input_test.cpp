// Bad input at the version 7 call interface: every call of the set with a
// null area, an area never opened, an area closed or logged off, and an
// area of the other kind (a logon data area where a cursor is wanted and
// the other way round) reports "not logged on" (ORA-01012) or "invalid
// cursor" (ORA-01001) in the area, or -1001 when there is no area to report
// in, and touches nothing else; negative and oversized sizes are refused
// with Oracle's error, and no call writes past a buffer whose size it was
// given (the buffers are heap blocks of exactly that size, so the sanitizer
// build sees any overrun).
//
// Two calls need no open area: oerhms reads the message catalogue without a
// logon, and odessp takes a logon data area as well as a cursor. Lengths of
// names and statement texts whose -1 means "NUL-terminated" take any
// negative value the same way.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "oci7_support.h"

namespace vorn::server::oci_test {
namespace {

constexpr sword kNoArea = -1001;

class Oci7BadInputTest : public Oci7CursorAreaTest {
 protected:
  // The version 7 calls that work on a logon data area, each once on `lda`.
  std::vector<std::pair<const char*, sword>> logonCalls(Lda_Def* lda) {
    const Oci7Calls& c = oci7();
    Cda_Def cursor{};
    return {
        {"ologof", c.ologof(lda)},
        {"oopen", c.oopen(&cursor, lda, nullptr, -1, -1, nullptr, -1)},
        {"ocom", c.ocom(lda)},
        {"orol", c.orol(lda)},
        {"ocon", c.ocon(lda)},
        {"ocof", c.ocof(lda)},
        {"obreak", c.obreak(lda)},
    };
  }

  // The calls that work on a cursor data area, each once on `cda`.
  std::vector<std::pair<const char*, sword>> cursorCalls(Cda_Def* cda) {
    const Oci7Calls& c = oci7();
    char sql[] = "select ename from emp";
    char name[] = ":x";
    char object[] = "NOSUCH";
    std::vector<ub1> buffer(32);
    sb4 dbsize = 0, cbufl = 8, dsize = 0;
    sb2 dbtype = 0, prec = 0, scale = 0, nullok = 0;
    std::vector<sb1> cbuf(8);
    ub4 retl = 0, arrsiz = 4;
    ub2 ovrld[4] = {}, pos[4] = {}, level[4] = {}, arnlen[4] = {}, dtype[4] = {};
    OraText* argnam[4] = {};
    ub1 defsup[4] = {}, mode[4] = {}, radix[4] = {};
    ub4 dtsiz[4] = {}, spare[4] = {};
    sb2 prec2[4] = {}, scale2[4] = {};
    return {
        {"oparse", c.oparse(cda, reinterpret_cast<OraText*>(sql), -1, 0, 2)},
        {"odefin", c.odefin(cda, 1, buffer.data(), static_cast<sword>(buffer.size()), SQLT_STR, -1,
                            nullptr, nullptr, -1, -1, nullptr, nullptr)},
        {"oexec", c.oexec(cda)},
        {"oexn", c.oexn(cda, 1, 0)},
        {"oexfet", c.oexfet(cda, 1, 0, 0)},
        {"ofen", c.ofen(cda, 1)},
        {"oflng", c.oflng(cda, 1, buffer.data(), static_cast<sb4>(buffer.size()), SQLT_CHR, &retl,
                          0)},
        {"odescr", c.odescr(cda, 1, &dbsize, &dbtype, cbuf.data(), &cbufl, &dsize, &prec, &scale,
                            &nullok)},
        {"obndra", c.obndra(cda, reinterpret_cast<OraText*>(name), -1, buffer.data(),
                            static_cast<sword>(buffer.size()), SQLT_STR, -1, nullptr, nullptr,
                            nullptr, 0, nullptr, nullptr, -1, -1)},
        {"odessp", c.odessp(cda, reinterpret_cast<OraText*>(object), std::strlen(object), nullptr,
                            0, nullptr, 0, ovrld, pos, level, argnam, arnlen, dtype, defsup, mode,
                            dtsiz, prec2, scale2, radix, spare, &arrsiz)},
        {"oclose", c.oclose(cda)},
    };
  }
};

TEST_F(Oci7BadInputTest, CallsWithoutAnAreaAnswerMinus1001) {
  int calls = 0;
  for (const auto& [name, rc] : logonCalls(nullptr)) {
    if (std::string(name) == "oopen") {
      EXPECT_NE(0, rc) << name;
    } else {
      EXPECT_EQ(kNoArea, rc) << name;
    }
    ++calls;
  }
  for (const auto& [name, rc] : cursorCalls(nullptr)) {
    EXPECT_EQ(kNoArea, rc) << name;
    ++calls;
  }
  EXPECT_EQ(kNoArea, oci7().orlon(nullptr, hda_, nullptr, -1, nullptr, -1, 0));
  EXPECT_EQ(kNoArea, oci7().olog(nullptr, hda_, nullptr, -1, nullptr, -1, nullptr, -1, 0));
  std::printf("%d version 7 calls without an area\n", calls + 2);
}

TEST_F(Oci7BadInputTest, LogonCallsOnAreasThatAreNotLoggedOnReportOra01012) {
  Lda_Def neverUsed{};
  Lda_Def loggedOff{};
  ASSERT_EQ(0, oci7().olog(&loggedOff, hda_, reinterpret_cast<OraText*>(const_cast<char*>(
                                                  connectText("scott", "tiger").c_str())),
                           -1, nullptr, -1, nullptr, -1, 0));
  ASSERT_EQ(0, oci7().ologof(&loggedOff));
  for (Lda_Def* lda : {&neverUsed, &loggedOff, static_cast<Lda_Def*>(&cda_)}) {
    for (const auto& [name, rc] : logonCalls(lda)) {
      EXPECT_EQ(-1012, rc) << name;
      EXPECT_EQ(1012, lda->rc) << name;
    }
  }
  // The cursor passed as a logon area is still a working cursor.
  EXPECT_EQ(0, parse("select ename from emp"));
}

TEST_F(Oci7BadInputTest, CursorCallsOnAreasThatAreNotOpenReportOra01001) {
  Cda_Def neverUsed{};
  Cda_Def closed{};
  openCursor(closed);
  ASSERT_EQ(0, oci7().oclose(&closed));
  for (Cda_Def* cda : {&neverUsed, &closed, static_cast<Cda_Def*>(&lda_)}) {
    for (const auto& [name, rc] : cursorCalls(cda)) {
      if (cda == &lda_ && std::string(name) == "odessp") continue;
      EXPECT_EQ(-1001, rc) << name;
      EXPECT_EQ(1001, cda->rc) << name;
    }
  }
  // The logon passed as a cursor still works.
  EXPECT_EQ(0, oci7().ocom(&lda_));
}

TEST_F(Oci7BadInputTest, NegativeAndOversizedSizesAreRefusedWithoutOverruns) {
  const Oci7Calls& c = oci7();
  ASSERT_EQ(0, parse("select ename, empno from emp order by empno"));
  std::vector<ub1> buffer(4);
  // A define of negative size.
  EXPECT_NE(0, c.odefin(&cda_, 1, buffer.data(), -5, SQLT_STR, -1, nullptr, nullptr, -1, -1,
                        nullptr, nullptr));
  EXPECT_NE(0, cda_.rc);
  // Positions outside the select list.
  EXPECT_NE(0, c.odefin(&cda_, 0, buffer.data(), 4, SQLT_STR, -1, nullptr, nullptr, -1, -1,
                        nullptr, nullptr));
  EXPECT_NE(0, c.odefin(&cda_, 1000, buffer.data(), 4, SQLT_STR, -1, nullptr, nullptr, -1, -1,
                        nullptr, nullptr));
  // A define of exactly 4 bytes gets at most 4.
  sb2 indicator = 0;
  ub2 length = 0;
  EXPECT_EQ(0, c.odefin(&cda_, 1, buffer.data(), 4, SQLT_STR, -1, &indicator, nullptr, -1, -1,
                        &length, nullptr));
  EXPECT_EQ(0, c.oexec(&cda_));
  c.ofen(&cda_, 1);
  EXPECT_EQ(0, buffer[3]);
  // Fetch counts below one.
  EXPECT_NE(0, c.ofen(&cda_, 0));
  EXPECT_NE(0, c.ofen(&cda_, -3));
  EXPECT_NE(0, c.oexn(&cda_, -1, 0));

  // A bind of negative size.
  ASSERT_EQ(0, parse("select ename from emp where empno = :e"));
  char name[] = ":e";
  EXPECT_NE(0, c.obndra(&cda_, reinterpret_cast<OraText*>(name), -1, buffer.data(), -7, SQLT_INT,
                        -1, nullptr, nullptr, nullptr, 0, nullptr, nullptr, -1, -1));

  // Messages into buffers of 0, 1 and 5 bytes, and of a negative size, with
  // and without a logon.
  Lda_Def none{};
  for (Lda_Def* lda : {&lda_, &none, static_cast<Lda_Def*>(nullptr)}) {
    for (sword size : {0, 1, 5}) {
      std::vector<char> message(static_cast<size_t>(size));
      c.oerhms(lda, 942, reinterpret_cast<OraText*>(size ? message.data() : nullptr), size);
      if (size) {
        EXPECT_EQ('\0', message.back()) << size;
      }
    }
  }
  char one = 'x';
  c.oerhms(&lda_, 942, reinterpret_cast<OraText*>(&one), -1);
  EXPECT_EQ('x', one);

  // A LONG piece of negative size.
  ASSERT_EQ(0, parse("select ename from emp"));
  ub4 got = 0;
  EXPECT_NE(0, c.oflng(&cda_, 1, buffer.data(), -2, SQLT_CHR, &got, 0));
  // A described name cut to the 3 bytes given.
  std::vector<sb1> column(3);
  sb4 columnLength = 3, dbsize = 0, dsize = 0;
  sb2 dbtype = 0, prec = 0, scale = 0, nullok = 0;
  EXPECT_EQ(0, c.odescr(&cda_, 1, &dbsize, &dbtype, column.data(), &columnLength, &dsize, &prec,
                        &scale, &nullok));
  EXPECT_LE(columnLength, 3);
}

}  // namespace
}  // namespace vorn::server::oci_test
