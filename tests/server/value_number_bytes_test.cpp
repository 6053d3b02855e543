// Oracle's NUMBER bytes (SQLT_NUM / VARNUM): the documented table and round
// trips.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "value/NumberBytes.h"
#include "value_support.h"

namespace vorn::server {
namespace {

using test::oraCode;

std::vector<int> encode(OraNumber n) {
  unsigned char buf[kNumberBytesMax];
  size_t len = encodeNumber(n, buf);
  return std::vector<int>(buf, buf + len);
}

OraNumber decode(std::vector<int> bytes) {
  std::vector<unsigned char> b(bytes.begin(), bytes.end());
  return decodeNumber(b.data(), b.size());
}

struct BytesCase {
  double value;
  std::vector<int> bytes;
};

const BytesCase kDocumented[] = {
    {0, {128}},
    {1, {193, 2}},
    {1.5, {193, 2, 51}},
    {0.5, {192, 51}},
    {100, {194, 2}},
    {123, {194, 2, 24}},
    {12345.678, {195, 2, 24, 46, 68, 81}},
    {2147483648.0, {197, 22, 48, 49, 37, 49}},
    {-1, {62, 100, 102}},
    {-123, {61, 100, 78, 102}},
    {-0.001, {64, 91, 102}},
};

TEST(NumberBytesTest, EncodesTheDocumentedTable) {
  for (const BytesCase& c : kDocumented)
    EXPECT_EQ(encode(OraNumber::fromDouble(c.value)), c.bytes) << c.value;
}

TEST(NumberBytesTest, DecodesTheDocumentedTable) {
  for (const BytesCase& c : kDocumented)
    EXPECT_TRUE(decode(c.bytes) == OraNumber::fromDouble(c.value)) << c.value;
}

TEST(NumberBytesTest, RoundTripsIntegersAndDecimals) {
  const OraNumber values[] = {
      OraNumber(7),
      OraNumber(-7),
      OraNumber(10),
      OraNumber(1000000),
      OraNumber(std::numeric_limits<int64_t>::max()),
      OraNumber(std::numeric_limits<int64_t>::min()),
      OraNumber::fromDouble(0.1),
      OraNumber::fromDouble(-98.765),
      OraNumber::fromDouble(3.14159265358979),
      OraNumber::fromDouble(1e100),
      OraNumber::fromDouble(-1.5e-100),
      OraNumber::fromDouble(9.99999999999999e125),
  };
  for (OraNumber v : values) {
    OraNumber back = decode(encode(v));
    EXPECT_TRUE(back == v) << numberToText(v);
    EXPECT_EQ(back.isInteger(), v.isInteger()) << numberToText(v);
  }
}

TEST(NumberBytesTest, VarnumCarriesTheLength) {
  unsigned char buf[kVarnumBytes];
  size_t len = encodeVarnum(OraNumber(123), buf);
  ASSERT_EQ(len, 4u);
  EXPECT_EQ(buf[0], 3);
  EXPECT_TRUE(decodeVarnum(buf) == OraNumber(123));
}

TEST(NumberBytesTest, FortyDigitMantissasDecode) {
  // 1234567890123456789012345678901234567890: 20 mantissa bytes.
  std::vector<int> bytes = {212};
  for (int pair : {12, 34, 56, 78, 90, 12, 34, 56, 78, 90, 12, 34, 56, 78, 90, 12, 34, 56, 78, 90})
    bytes.push_back(pair + 1);
  OraNumber n = decode(bytes);
  EXPECT_FALSE(n.isInteger());
  EXPECT_NEAR(n.toDouble(), 1.2345678901234568e39, 1e25);
}

TEST(NumberBytesTest, InfinitiesAndLimits) {
  EXPECT_EQ(encode(OraNumber::fromDouble(std::numeric_limits<double>::infinity())),
            (std::vector<int>{255, 101}));
  EXPECT_EQ(encode(OraNumber::fromDouble(-std::numeric_limits<double>::infinity())),
            (std::vector<int>{0}));
  EXPECT_TRUE(std::isinf(decode({255, 101}).toDouble()));
  EXPECT_EQ(oraCode([] { encode(OraNumber::fromDouble(1e126)); }), 1426);
  EXPECT_EQ(oraCode([] { encode(OraNumber::fromDouble(std::nan(""))); }), 1426);
  EXPECT_EQ(encode(OraNumber::fromDouble(1e-140)), (std::vector<int>{128}));
}

TEST(NumberBytesTest, MalformedBytesRaise01722) {
  EXPECT_EQ(oraCode([] { decode({}); }), 1722);
  EXPECT_EQ(oraCode([] { decode({193}); }), 1722);
  EXPECT_EQ(oraCode([] { decode({193, 0}); }), 1722);
  EXPECT_EQ(oraCode([] { decode({193, 102}); }), 1722);
  EXPECT_EQ(oraCode([] { decode({62, 1, 102}); }), 1722);
}

}  // namespace
}  // namespace vorn::server
