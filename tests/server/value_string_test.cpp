// Character and RAW functions with Oracle's corner cases: '' is NULL,
// SUBSTR with zero and negative positions, INSTR backwards, LPAD cutting,
// TRIM variants, LIKE with escapes.
#include <gtest/gtest.h>

#include "value/RawHex.h"
#include "value/StringFunctions.h"
#include "value_support.h"

namespace vorn::server {
namespace {

using test::oraCode;
using test::oraText;

TEST(StringSubstrTest, PositionsAsOracleCountsThem) {
  EXPECT_EQ(substr("ABCDEFG", 3, 4), "CDEF");
  EXPECT_EQ(substr("ABCDEFG", 0, 3), "ABC");  // 0 acts as 1
  EXPECT_EQ(substr("ABCDEFG", 1, 3), "ABC");
  EXPECT_EQ(substr("ABCDEFG", -3, 2), "EF");
  EXPECT_EQ(substr("ABCDEFG", -3), "EFG");
  EXPECT_EQ(substr("ABCDEFG", 5), "EFG");
  EXPECT_EQ(substr("ABCDEFG", 3, 100), "CDEFG");
}

TEST(StringSubstrTest, NullResults) {
  EXPECT_EQ(substr("ABC", 2, 0), "");
  EXPECT_EQ(substr("ABC", 2, -1), "");
  EXPECT_EQ(substr("ABC", 4), "");
  EXPECT_EQ(substr("ABC", -4), "");
  EXPECT_EQ(substr("", 1, 1), "");
}

TEST(StringInstrTest, ForwardsWithOccurrences) {
  EXPECT_EQ(instr("CORPORATE FLOOR", "OR"), 2);
  EXPECT_EQ(instr("CORPORATE FLOOR", "OR", 3), 5);
  EXPECT_EQ(instr("CORPORATE FLOOR", "OR", 3, 2), 14);
  EXPECT_EQ(instr("CORPORATE FLOOR", "OR", 1, 4), 0);
  EXPECT_EQ(instr("AAA", "AA", 1, 2), 2);  // overlapping matches count
  EXPECT_EQ(instr("ABC", "D"), 0);
  EXPECT_EQ(instr("ABC", "C", 4), 0);
}

TEST(StringInstrTest, NegativePositionsSearchBackwards) {
  EXPECT_EQ(instr("CORPORATE FLOOR", "OR", -3, 2), 2);
  EXPECT_EQ(instr("CORPORATE FLOOR", "OR", -1), 14);
  EXPECT_EQ(instr("CORPORATE FLOOR", "OR", -2), 14);
  EXPECT_EQ(instr("CORPORATE FLOOR", "OR", -3), 5);
  EXPECT_EQ(instr("ABC", "A", -3), 1);
  EXPECT_EQ(instr("ABC", "A", -4), 0);
}

TEST(StringInstrTest, ZeroPositionNullsAndBadOccurrence) {
  EXPECT_EQ(instr("ABC", "A", 0), 0);
  EXPECT_EQ(instr("", "A"), std::nullopt);
  EXPECT_EQ(instr("ABC", ""), std::nullopt);
  EXPECT_EQ(oraText([] { instr("ABC", "A", 1, 0); }), "ORA-01428: argument '0' is out of range");
}

TEST(StringCaseTest, UpperLowerInitcap) {
  EXPECT_EQ(upper("MiXed 1"), "MIXED 1");
  EXPECT_EQ(lower("MiXed 1"), "mixed 1");
  EXPECT_EQ(initcap("the SOAP opera's 2nd act-one"), "The Soap Opera'S 2nd Act-One");
  EXPECT_EQ(initcap("o'neil mcDONALD"), "O'Neil Mcdonald");
  // The letters of ISO 8859-1, the database character set: ä/Ä, é/É, þ/Þ;
  // ß and ÿ have no upper-case form there, × and ÷ are no letters.
  EXPECT_EQ(upper("\xe4"
                  "x\xe9\xfe\xdf\xff\xf7"),
            "\xc4X\xc9\xde\xdf\xff\xf7");
  EXPECT_EQ(lower("\xc4X\xc9\xde\xd7"), "\xe4x\xe9\xfe\xd7");
  EXPECT_EQ(initcap("\xe9"
                    "cole \xc9T\xc9"),
            "\xc9"
            "cole \xc9t\xe9");
  EXPECT_EQ(initcap("a\xd7"
                    "b"),
            "A\xd7"
            "B");
  EXPECT_EQ(length("ABC"), 3);
  EXPECT_EQ(length(""), std::nullopt);
}

TEST(StringPadTest, PadsAndCuts) {
  EXPECT_EQ(lpad("Page 1", 15, "*."), "*.*.*.*.*Page 1");
  EXPECT_EQ(rpad("MORRISON", 12, "ab"), "MORRISONabab");
  EXPECT_EQ(lpad("ABC", 5), "  ABC");
  EXPECT_EQ(rpad("ABC", 5), "ABC  ");
  EXPECT_EQ(lpad("ABCDEF", 3), "ABC");  // cut to n from the left
  EXPECT_EQ(rpad("ABCDEF", 3), "ABC");
  EXPECT_EQ(lpad("ABC", 0), "");
  EXPECT_EQ(lpad("ABC", -2), "");
  EXPECT_EQ(lpad("ABC", 5, ""), "");  // NULL pad
  EXPECT_EQ(lpad("", 5, "x"), "");
  // Results stop at the longest VARCHAR2.
  EXPECT_EQ(lpad("x", 5000, "y").size(), 4000u);
  EXPECT_EQ(rpad("x", int64_t{1} << 40).size(), 4000u);
}

TEST(StringTrimTest, SetsAndSingleCharacters) {
  EXPECT_EQ(ltrim("  abc  "), "abc  ");
  EXPECT_EQ(rtrim("  abc  "), "  abc");
  EXPECT_EQ(ltrim("<=====>BROWNING<=====>", "<>="), "BROWNING<=====>");
  EXPECT_EQ(rtrim("BROWNING: ./=./=./=", "/=."), "BROWNING: ");
  EXPECT_EQ(ltrim("xxx", "x"), "");
  EXPECT_EQ(ltrim("abc", ""), "");
  EXPECT_EQ(trim("  abc  "), "abc");
  EXPECT_EQ(trim("0009872348900", TrimSide::Leading, "0"), "9872348900");
  EXPECT_EQ(trim("0009872348900", TrimSide::Trailing, "0"), "00098723489");
  EXPECT_EQ(trim("0009872348900", TrimSide::Both, "0"), "98723489");
  EXPECT_EQ(trim("    "), "");
  EXPECT_EQ(trim("abc", TrimSide::Both, ""), "");
  EXPECT_EQ(oraText([] { trim("abc", TrimSide::Both, "ab"); }),
            "ORA-30001: trim set should have only one character");
}

TEST(StringReplaceConcatTest, NullsActAsEmpty) {
  EXPECT_EQ(replace("JACK and JUE", "J", "BL"), "BLACK and BLUE");
  EXPECT_EQ(replace("JACK and JUE", "J"), "ACK and UE");
  EXPECT_EQ(replace("abc", ""), "abc");
  EXPECT_EQ(replace("aaa", "aa", "b"), "ba");
  EXPECT_EQ(replace("aaa", "a"), "");
  EXPECT_EQ(replace("", "a", "b"), "");
  EXPECT_EQ(concat("a", ""), "a");
  EXPECT_EQ(concat("", "b"), "b");
  EXPECT_EQ(concat("", ""), "");
  EXPECT_EQ(concat("ab", "cd"), "abcd");
}

TEST(StringChrAsciiTest, EightBitCodes) {
  EXPECT_EQ(chr(65), "A");
  EXPECT_EQ(chr(256 + 66), "B");
  EXPECT_EQ(chr(0), std::string(1, '\0'));
  EXPECT_EQ(ascii("ABC"), 65);
  EXPECT_EQ(ascii("\xe9"), 233);
  EXPECT_EQ(ascii(""), std::nullopt);
}

TEST(StringLikeTest, CaseSensitiveWildcards) {
  EXPECT_TRUE(like("SMITH", "S%"));
  EXPECT_FALSE(like("smith", "S%"));
  EXPECT_TRUE(like("SMITH", "_MI_H"));
  EXPECT_FALSE(like("SMITH", "_MI_"));
  EXPECT_TRUE(like("SMITH", "%"));
  EXPECT_TRUE(like("SMITH", "%T%"));
  EXPECT_TRUE(like("ABCABC", "%ABC"));
  EXPECT_FALSE(like("ABCAB", "%ABC"));
  EXPECT_TRUE(like("a%b", "a\\%b", "\\"));
  EXPECT_FALSE(like("axb", "a\\%b", "\\"));
  EXPECT_TRUE(like("a_b", "a!_b", "!"));
  EXPECT_TRUE(like("a!b", "a!!b", "!"));
  EXPECT_EQ(oraCode([] { like("ab", "a!b", "!"); }), 1424);
  EXPECT_EQ(oraCode([] { like("ab", "a!", "!"); }), 1424);
  EXPECT_EQ(oraCode([] { like("ab", "ab", "!!"); }), 1425);
}

TEST(RawHexTest, BothDirections) {
  EXPECT_EQ(rawToHex(std::string("\x01\xab\xff", 3)), "01ABFF");
  EXPECT_EQ(hexToRaw("01abFF"), std::string("\x01\xab\xff", 3));
  EXPECT_EQ(hexToRaw("ABC"), std::string("\x0a\xbc", 2));
  EXPECT_EQ(rawToHex(""), "");
  EXPECT_EQ(oraText([] { hexToRaw("0G"); }), "ORA-01465: invalid hex number");
  EXPECT_EQ(oraCode([] { hexToRaw("G"); }), 1465);
}

}  // namespace
}  // namespace vorn::server
