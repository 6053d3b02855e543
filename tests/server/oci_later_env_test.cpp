// The environment-level calls of later releases that thick-mode drivers
// use: environments with character sets and the NLS look-ups, the client
// and server releases, the thread helpers, context values and memory
// blocks, and the datetime and interval descriptors.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

const OraText* text(const char* s) {
  return reinterpret_cast<const OraText*>(s);
}

class OciLaterEnvTest : public OciTest {};

// ---- Environments with character sets, NLS look-ups ----

TEST_F(OciLaterEnvTest, EnvironmentTakesAnAsciiCompatibleCharacterSet) {
  const OciCalls& c = oci();
  OCIEnv* env = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCIEnvNlsCreate(&env, OCI_THREADED, nullptr, nullptr, nullptr, nullptr,
                                            0, nullptr, 873, 873));
  ub2 charset = 0, ncharset = 0;
  EXPECT_OCI(OCI_SUCCESS,
             c.OCIAttrGet(env, OCI_HTYPE_ENV, &charset, nullptr, OCI_ATTR_ENV_CHARSET_ID, nullptr));
  EXPECT_OCI(OCI_SUCCESS,
             c.OCIAttrGet(env, OCI_HTYPE_ENV, &ncharset, nullptr, OCI_ATTR_NCHARSET_ID, nullptr));
  EXPECT_EQ(873, charset);
  EXPECT_EQ(873, ncharset);
  OCIError* err = nullptr;
  c.OCIHandleAlloc(env, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
  sb4 maxBytes = 0;
  EXPECT_EQ(OCI_SUCCESS, c.OCINlsNumericInfoGet(env, err, &maxBytes, OCI_NLS_CHARSET_MAXBYTESZ));
  EXPECT_EQ(4, maxBytes);
  c.OCIHandleFree(env, OCI_HTYPE_ENV);

  // Zero means the library's default: WE8ISO8859P1, one byte a character.
  ASSERT_OCI(OCI_SUCCESS, c.OCIEnvNlsCreate(&env, OCI_DEFAULT, nullptr, nullptr, nullptr, nullptr,
                                            0, nullptr, 0, 0));
  c.OCIAttrGet(env, OCI_HTYPE_ENV, &charset, nullptr, OCI_ATTR_ENV_CHARSET_ID, nullptr);
  EXPECT_EQ(31, charset);
  c.OCIHandleFree(env, OCI_HTYPE_ENV);
}

TEST_F(OciLaterEnvTest, EnvironmentRefusesCharacterSetsItCannotKeepByteForByte) {
  const OciCalls& c = oci();
  OCIEnv* env = reinterpret_cast<OCIEnv*>(this);
  // AL16UTF16 as the text's set, an unknown number, and nothing to fill.
  EXPECT_EQ(OCI_ERROR, c.OCIEnvNlsCreate(&env, OCI_DEFAULT, nullptr, nullptr, nullptr, nullptr, 0,
                                         nullptr, 2000, 2000));
  EXPECT_EQ(nullptr, env);
  EXPECT_EQ(OCI_ERROR, c.OCIEnvNlsCreate(&env, OCI_DEFAULT, nullptr, nullptr, nullptr, nullptr, 0,
                                         nullptr, 9999, 0));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIEnvNlsCreate(nullptr, OCI_DEFAULT, nullptr, nullptr, nullptr,
                                                  nullptr, 0, nullptr, 873, 873));
}

TEST_F(OciLaterEnvTest, CharacterSetNamesAndNumbersGoBothWays) {
  const OciCalls& c = oci();
  EXPECT_EQ(873, c.OCINlsCharSetNameToId(env_, text("AL32UTF8")));
  EXPECT_EQ(873, c.OCINlsCharSetNameToId(env_, text("al32utf8")));
  EXPECT_EQ(31, c.OCINlsCharSetNameToId(env_, text("WE8ISO8859P1")));
  EXPECT_EQ(0, c.OCINlsCharSetNameToId(env_, text("KLINGON")));
  EXPECT_EQ(0, c.OCINlsCharSetNameToId(nullptr, text("AL32UTF8")));
  OraText name[16] = {};
  EXPECT_EQ(OCI_SUCCESS, c.OCINlsCharSetIdToName(env_, name, sizeof name, 2000));
  EXPECT_STREQ("AL16UTF16", reinterpret_cast<char*>(name));
  // A buffer one byte short of the name and its NUL is refused, untouched.
  OraText shortBuffer[9] = {'x'};
  EXPECT_EQ(OCI_ERROR, c.OCINlsCharSetIdToName(env_, shortBuffer, sizeof shortBuffer, 2000));
  EXPECT_EQ('x', shortBuffer[0]);
  EXPECT_EQ(OCI_ERROR, c.OCINlsCharSetIdToName(env_, name, sizeof name, 4242));
}

TEST_F(OciLaterEnvTest, NumericInfoAnswersKnownItemsOnly) {
  const OciCalls& c = oci();
  sb4 v = 0;
  EXPECT_OCI(OCI_SUCCESS, c.OCINlsNumericInfoGet(env_, err_, &v, OCI_NLS_CHARSET_ID));
  EXPECT_EQ(31, v);
  EXPECT_OCI(OCI_SUCCESS, c.OCINlsNumericInfoGet(env_, err_, &v, OCI_NLS_CHARSET_FIXEDWIDTH));
  EXPECT_EQ(1, v);
  EXPECT_OCI(OCI_ERROR, c.OCINlsNumericInfoGet(env_, err_, &v, 7));
  EXPECT_EQ(21560, errorCode());
  EXPECT_OCI(OCI_ERROR, c.OCINlsNumericInfoGet(env_, err_, nullptr, OCI_NLS_CHARSET_ID));
}

TEST_F(OciLaterEnvTest, EnvironmentVariableCharacterSetsComeFromNlsLang) {
  const OciCalls& c = oci();
  ub2 id = 0;
  size_t size = 0;
  ::setenv("NLS_LANG", "AMERICAN_AMERICA.AL32UTF8", 1);
  EXPECT_EQ(OCI_SUCCESS,
            c.OCINlsEnvironmentVariableGet(&id, sizeof id, OCI_NLS_CHARSET_ID, 0, &size));
  EXPECT_EQ(873, id);
  EXPECT_EQ(sizeof id, size);
  ::unsetenv("NLS_LANG");
  EXPECT_EQ(OCI_SUCCESS,
            c.OCINlsEnvironmentVariableGet(&id, sizeof id, OCI_NLS_CHARSET_ID, 0, &size));
  EXPECT_EQ(31, id);
  EXPECT_EQ(OCI_SUCCESS,
            c.OCINlsEnvironmentVariableGet(&id, sizeof id, OCI_NLS_NCHARSET_ID, 0, nullptr));
  EXPECT_EQ(2000, id);
  EXPECT_EQ(OCI_ERROR, c.OCINlsEnvironmentVariableGet(&id, 1, OCI_NLS_CHARSET_ID, 0, nullptr));
  EXPECT_EQ(OCI_ERROR, c.OCINlsEnvironmentVariableGet(&id, sizeof id, 99, 0, nullptr));
}

// ---- Releases ----

TEST_F(OciLaterEnvTest, ClientReleaseIsTheLibrarysOwn) {
  sword major = 0, minor = 0, update = 0, patch = 0, port = 0;
  oci().OCIClientVersion(&major, &minor, &update, &patch, &port);
  EXPECT_EQ(8, major);
  EXPECT_EQ(1, minor);
  EXPECT_EQ(7, update);

  // The Linux client library is the same code reporting release 12.1.
  void* clntsh = ::dlopen(VORN_CLNTSH_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(nullptr, clntsh) << ::dlerror();
  auto version =
      reinterpret_cast<decltype(&::OCIClientVersion)>(::dlsym(clntsh, "OCIClientVersion"));
  ASSERT_NE(nullptr, version);
  version(&major, &minor, &update, &patch, &port);
  EXPECT_EQ(12, major);
  EXPECT_EQ(1, minor);
  ::dlclose(clntsh);
}

TEST_F(OciLaterEnvTest, ServerReleaseIsTheBannersNumberPacked) {
  const OciCalls& c = oci();
  OCISvcCtx* svc = scott();
  OraText banner[128] = {};
  ub4 release = 0;
  EXPECT_OCI(OCI_SUCCESS,
             c.OCIServerRelease(svc, err_, banner, sizeof banner, OCI_HTYPE_SVCCTX, &release));
  EXPECT_NE(nullptr, std::strstr(reinterpret_cast<char*>(banner), "Release 8.1.7.0.0"));
  EXPECT_EQ((8u << 24) | (1u << 20) | (7u << 12), release);
  // A short buffer gets the banner cut and terminated, the number all the same.
  OraText cut[8];
  release = 0;
  EXPECT_OCI(OCI_SUCCESS, c.OCIServerRelease2(svc, err_, cut, sizeof cut, OCI_HTYPE_SVCCTX,
                                              &release, OCI_DEFAULT));
  EXPECT_EQ(7u, std::strlen(reinterpret_cast<char*>(cut)));
  EXPECT_EQ((8u << 24) | (1u << 20) | (7u << 12), release);
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIServerRelease(svc, err_, banner, sizeof banner, OCI_HTYPE_SVCCTX, nullptr));
  logoff(svc);

  // Detached: ORA-03114.
  OCIServer* srv = nullptr;
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&srv), OCI_HTYPE_SERVER, 0, nullptr);
  EXPECT_OCI(OCI_ERROR,
             c.OCIServerRelease(srv, err_, banner, sizeof banner, OCI_HTYPE_SERVER, &release));
  EXPECT_EQ(3114, errorCode());
}

// ---- Threads, context values, memory ----

TEST_F(OciLaterEnvTest, MutexGuardsAndKeysHoldAValuePerThread) {
  const OciCalls& c = oci();
  c.OCIThreadProcessInit();
  ASSERT_EQ(OCI_SUCCESS, c.OCIThreadInit(env_, err_));
  OCIThreadMutex* mutex = nullptr;
  ASSERT_EQ(OCI_SUCCESS, c.OCIThreadMutexInit(env_, err_, &mutex));
  OCIThreadKey* key = nullptr;
  ASSERT_EQ(OCI_SUCCESS, c.OCIThreadKeyInit(env_, err_, &key, nullptr));

  int counter = 0;
  int mine = 1, theirs = 2;
  ASSERT_EQ(OCI_SUCCESS, c.OCIThreadKeySet(env_, err_, key, &mine));
  void* seenThere = &counter;
  std::thread other([&] {
    void* before = &counter;
    c.OCIThreadKeyGet(env_, err_, key, &before);
    seenThere = before;  // nothing set in this thread yet
    c.OCIThreadKeySet(env_, err_, key, &theirs);
    for (int i = 0; i < 1000; ++i) {
      c.OCIThreadMutexAcquire(env_, err_, mutex);
      ++counter;
      c.OCIThreadMutexRelease(env_, err_, mutex);
    }
  });
  for (int i = 0; i < 1000; ++i) {
    c.OCIThreadMutexAcquire(env_, err_, mutex);
    ++counter;
    c.OCIThreadMutexRelease(env_, err_, mutex);
  }
  other.join();
  EXPECT_EQ(2000, counter);
  EXPECT_EQ(nullptr, seenThere);
  void* value = nullptr;
  EXPECT_EQ(OCI_SUCCESS, c.OCIThreadKeyGet(env_, err_, key, &value));
  EXPECT_EQ(&mine, value);

  EXPECT_EQ(OCI_SUCCESS, c.OCIThreadKeyDestroy(env_, err_, &key));
  EXPECT_EQ(nullptr, key);
  EXPECT_EQ(OCI_SUCCESS, c.OCIThreadMutexDestroy(env_, err_, &mutex));
  EXPECT_EQ(nullptr, mutex);
  // Destroyed twice, or never made: refused, not touched.
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIThreadMutexDestroy(env_, err_, &mutex));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIThreadKeyGet(env_, err_, nullptr, &value));
  EXPECT_EQ(OCI_SUCCESS, c.OCIThreadTerm(env_, err_));
}

TEST_F(OciLaterEnvTest, ContextValuesAreKeptPerHandleAndKey) {
  const OciCalls& c = oci();
  OCISvcCtx* svc = scott();
  OCISession* session = nullptr;
  c.OCIAttrGet(svc, OCI_HTYPE_SVCCTX, &session, nullptr, OCI_ATTR_SESSION, err_);
  int a = 1, b = 2;
  ub1 key[] = {'D', 'P', 'I'};
  EXPECT_OCI(OCI_SUCCESS, c.OCIContextSetValue(session, err_, 0, key, sizeof key, &a));
  EXPECT_OCI(OCI_SUCCESS, c.OCIContextSetValue(env_, err_, 0, key, sizeof key, &b));
  void* value = nullptr;
  EXPECT_OCI(OCI_SUCCESS, c.OCIContextGetValue(session, err_, key, sizeof key, &value));
  EXPECT_EQ(&a, value);
  EXPECT_OCI(OCI_SUCCESS, c.OCIContextGetValue(env_, err_, key, sizeof key, &value));
  EXPECT_EQ(&b, value);
  // Another key, or a shorter one, has nothing.
  EXPECT_OCI(OCI_SUCCESS, c.OCIContextGetValue(session, err_, key, 2, &value));
  EXPECT_EQ(nullptr, value);
  logoff(svc);
}

TEST_F(OciLaterEnvTest, MemoryBlocksAreClearedResizedAndFreedOnlyOnce) {
  const OciCalls& c = oci();
  void* block = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCIMemoryAlloc(env_, err_, &block, 0, 64, OCI_MEMORY_CLEARED));
  auto* bytes = static_cast<unsigned char*>(block);
  EXPECT_EQ(0, bytes[0] | bytes[63]);
  bytes[0] = 42;
  ASSERT_OCI(OCI_SUCCESS, c.OCIMemoryResize(env_, err_, &block, 4096, 0));
  EXPECT_EQ(42, static_cast<unsigned char*>(block)[0]);
  EXPECT_OCI(OCI_SUCCESS, c.OCIMemoryFree(env_, err_, block));
  EXPECT_OCI(OCI_ERROR, c.OCIMemoryFree(env_, err_, block));
  int notOurs = 0;
  EXPECT_OCI(OCI_ERROR, c.OCIMemoryFree(env_, err_, &notOurs));
  // A block left allocated goes with the environment (the sanitizer build
  // sees a leak otherwise).
  ASSERT_OCI(OCI_SUCCESS, c.OCIMemoryAlloc(env_, err_, &block, 0, 16, 0));
}

// ---- Datetimes and intervals ----

class OciDateTimeTest : public OciTest {
 protected:
  void* descriptor(ub4 type) {
    void* d = nullptr;
    EXPECT_OCI(OCI_SUCCESS, oci().OCIDescriptorAlloc(env_, &d, type, 0, nullptr));
    return d;
  }
  OCIDateTime* timestamp(sb2 y, ub1 mo, ub1 d, ub1 h, ub1 mi, ub1 s, ub4 ns,
                         ub4 type = OCI_DTYPE_TIMESTAMP) {
    auto* dt = static_cast<OCIDateTime*>(descriptor(type));
    EXPECT_OCI(OCI_SUCCESS,
               oci().OCIDateTimeConstruct(env_, err_, dt, y, mo, d, h, mi, s, ns, nullptr, 0));
    return dt;
  }
  std::string show(OCIDateTime* dt) {
    sb2 y = 0;
    ub1 mo = 0, d = 0, h = 0, mi = 0, s = 0;
    ub4 ns = 0;
    EXPECT_OCI(OCI_SUCCESS, oci().OCIDateTimeGetDate(env_, err_, dt, &y, &mo, &d));
    EXPECT_OCI(OCI_SUCCESS, oci().OCIDateTimeGetTime(env_, err_, dt, &h, &mi, &s, &ns));
    char out[64];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d.%09u", y, mo, d, h, mi, s, ns);
    return out;
  }
};

TEST_F(OciDateTimeTest, ConstructedFieldsReadBack) {
  OCIDateTime* dt = timestamp(1999, 12, 31, 23, 59, 58, 123456789);
  EXPECT_EQ("1999-12-31 23:59:58.123456789", show(dt));
  // A DATE descriptor keeps no fraction.
  OCIDateTime* date = timestamp(2000, 2, 29, 1, 2, 3, 500, OCI_DTYPE_DATE);
  EXPECT_EQ("2000-02-29 01:02:03.000000000", show(date));
}

TEST_F(OciDateTimeTest, InvalidFieldsAreRefusedWithOraclesErrors) {
  const OciCalls& c = oci();
  auto* dt = static_cast<OCIDateTime*>(descriptor(OCI_DTYPE_TIMESTAMP_TZ));
  EXPECT_OCI(OCI_ERROR,
             c.OCIDateTimeConstruct(env_, err_, dt, 2001, 13, 1, 0, 0, 0, 0, nullptr, 0));
  EXPECT_EQ(1843, errorCode());
  EXPECT_OCI(OCI_ERROR,
             c.OCIDateTimeConstruct(env_, err_, dt, 2001, 2, 29, 0, 0, 0, 0, nullptr, 0));
  EXPECT_EQ(1839, errorCode());
  EXPECT_OCI(OCI_ERROR,
             c.OCIDateTimeConstruct(env_, err_, dt, 2001, 1, 1, 24, 0, 0, 0, nullptr, 0));
  EXPECT_EQ(1850, errorCode());
  EXPECT_OCI(OCI_ERROR,
             c.OCIDateTimeConstruct(env_, err_, dt, 2001, 1, 1, 0, 0, 0, 1000000000, nullptr, 0));
  EXPECT_EQ(1880, errorCode());
  OraText zone[] = "+5:00";
  EXPECT_OCI(OCI_ERROR, c.OCIDateTimeConstruct(env_, err_, dt, 2001, 1, 1, 0, 0, 0, 0, zone, 5));
  EXPECT_EQ(1857, errorCode());
  OraText good[] = "-03:30";
  EXPECT_OCI(OCI_SUCCESS, c.OCIDateTimeConstruct(env_, err_, dt, 2001, 1, 1, 0, 0, 0, 0, good, 6));
  sb1 hours = 0, minutes = 0;
  EXPECT_OCI(OCI_SUCCESS, c.OCIDateTimeGetTimeZoneOffset(env_, err_, dt, &hours, &minutes));
  EXPECT_EQ(-3, hours);
  EXPECT_EQ(-30, minutes);
  // A datetime call on an interval, or on no descriptor at all.
  void* interval = descriptor(OCI_DTYPE_INTERVAL_DS);
  sb2 y;
  ub1 mo, d;
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIDateTimeGetDate(env_, err_, static_cast<OCIDateTime*>(interval), &y, &mo, &d));
}

TEST_F(OciDateTimeTest, DifferenceAndSumOfIntervals) {
  const OciCalls& c = oci();
  OCIDateTime* later = timestamp(2000, 3, 1, 0, 0, 1, 250000000);
  OCIDateTime* earlier = timestamp(2000, 2, 28, 12, 0, 0, 500000000);
  auto* ds = static_cast<OCIInterval*>(descriptor(OCI_DTYPE_INTERVAL_DS));
  ASSERT_OCI(OCI_SUCCESS, c.OCIDateTimeSubtract(env_, err_, later, earlier, ds));
  sb4 days, hours, minutes, seconds, nanos;
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIIntervalGetDaySecond(env_, err_, &days, &hours, &minutes, &seconds, &nanos, ds));
  // 2000 is a leap year: one day, 12 hours, 0.75 seconds.
  EXPECT_EQ(1, days);
  EXPECT_EQ(12, hours);
  EXPECT_EQ(0, minutes);
  EXPECT_EQ(0, seconds);
  EXPECT_EQ(750000000, nanos);
  // Back again: earlier + difference = later.
  OCIDateTime* sum = timestamp(1970, 1, 1, 0, 0, 0, 0);
  ASSERT_OCI(OCI_SUCCESS, c.OCIDateTimeIntervalAdd(env_, err_, earlier, ds, sum));
  EXPECT_EQ(show(later), show(sum));
  // The negative difference has every field negative.
  ASSERT_OCI(OCI_SUCCESS, c.OCIDateTimeSubtract(env_, err_, earlier, later, ds));
  c.OCIIntervalGetDaySecond(env_, err_, &days, &hours, &minutes, &seconds, &nanos, ds);
  EXPECT_EQ(-1, days);
  EXPECT_EQ(-12, hours);
  EXPECT_EQ(-750000000, nanos);

  // Months: 31 January plus one month is the last of February.
  auto* ym = static_cast<OCIInterval*>(descriptor(OCI_DTYPE_INTERVAL_YM));
  ASSERT_OCI(OCI_SUCCESS, c.OCIIntervalSetYearMonth(env_, err_, 1, 1, ym));
  sb4 years = 0, months = 0;
  c.OCIIntervalGetYearMonth(env_, err_, &years, &months, ym);
  EXPECT_EQ(1, years);
  EXPECT_EQ(1, months);
  OCIDateTime* january = timestamp(2003, 1, 31, 8, 0, 0, 0);
  ASSERT_OCI(OCI_SUCCESS, c.OCIDateTimeIntervalAdd(env_, err_, january, ym, sum));
  EXPECT_EQ("2004-02-29 08:00:00.000000000", show(sum));
  // A year-month interval where a day-second one is needed.
  EXPECT_OCI(OCI_ERROR, c.OCIDateTimeSubtract(env_, err_, later, earlier, ym));
  EXPECT_EQ(1867, errorCode());
  EXPECT_OCI(OCI_ERROR, c.OCIIntervalSetDaySecond(env_, err_, 1, 0, 0, 0, 0, ym));
  EXPECT_EQ(1867, errorCode());
}

TEST_F(OciDateTimeTest, ArraysOfDescriptorsAreMadeAndFreedTogether) {
  const OciCalls& c = oci();
  void* items[5] = {};
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIArrayDescriptorAlloc(env_, items, OCI_DTYPE_TIMESTAMP, 5, 0, nullptr));
  for (void* item : items) {
    ASSERT_NE(nullptr, item);
    EXPECT_OCI(OCI_SUCCESS, c.OCIDateTimeConstruct(env_, err_, static_cast<OCIDateTime*>(item),
                                                   2020, 1, 1, 0, 0, 0, 0, nullptr, 0));
  }
  EXPECT_EQ(OCI_SUCCESS, c.OCIArrayDescriptorFree(items, OCI_DTYPE_TIMESTAMP));
  // Freed: each item is gone, and the array cannot be freed again.
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIDateTimeConstruct(env_, err_, static_cast<OCIDateTime*>(items[4]), 2020, 1, 1, 0,
                                   0, 0, 0, nullptr, 0));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIArrayDescriptorFree(items, OCI_DTYPE_TIMESTAMP));
  // A type that is no descriptor makes nothing.
  void* none[2] = {};
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIArrayDescriptorAlloc(env_, none, 4242, 2, 0, nullptr));
  EXPECT_EQ(nullptr, none[0]);
}

TEST_F(OciDateTimeTest, TimestampsBindIntoAndDefineFromDates) {
  const OciCalls& c = oci();
  OCISvcCtx* svc = scott();
  OCIStmt* stmt =
      newStatement("select hiredate from emp where hiredate > :since order by hiredate");
  OCIDateTime* since = timestamp(1987, 1, 1, 0, 0, 0, 999);
  OCIBind* bind = nullptr;
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIBindByName2(stmt, &bind, err_, text(":since"), 6, &since, sizeof since,
                              SQLT_TIMESTAMP, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT));
  OCIDateTime* hired = timestamp(1970, 1, 1, 0, 0, 0, 0, OCI_DTYPE_TIMESTAMP_LTZ);
  OCIDefine* define = nullptr;
  sb2 ind = -1;
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIDefineByPos2(stmt, &define, err_, 1, &hired, sizeof hired, SQLT_TIMESTAMP_LTZ,
                               &ind, nullptr, nullptr, OCI_DEFAULT));
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(0, ind);
  EXPECT_EQ("1987-04-19 00:00:00.000000000", show(hired));
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_NEXT, 0, OCI_DEFAULT));
  EXPECT_EQ("1987-05-23 00:00:00.000000000", show(hired));
  // An element that holds no descriptor is refused.
  void* notADescriptor = &ind;
  ASSERT_OCI(OCI_SUCCESS, c.OCIBindByName2(stmt, &bind, err_, text(":since"), 6, &notADescriptor,
                                           sizeof notADescriptor, SQLT_TIMESTAMP, nullptr, nullptr,
                                           nullptr, 0, nullptr, OCI_DEFAULT));
  EXPECT_OCI(OCI_ERROR, c.OCIStmtExecute(svc, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(24316, errorCode());
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
  logoff(svc);
}

}  // namespace
}  // namespace vorn::server::oci_test
