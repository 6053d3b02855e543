// Variant kinds, conversions with their failures, arrays and comparison.
#include "vorn/host/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "vorn/host/Exceptions.h"
#include "vorn/host/FormatSettings.h"

namespace vorn {
namespace {

class VariantTest : public testing::Test {
 protected:
  ScopedFormatSettings settings_{DefaultFormatSettings()};
};

std::string VariantMessage(const std::function<void()>& action) {
  try {
    action();
  } catch (const EVariantError& e) {
    return e.Message();
  }
  return "no error";
}

const std::string kInvalid = "Invalid variant type conversion";

TEST_F(VariantTest, KindsReportTheirTypeCodes) {
  EXPECT_EQ(VarType(Variant()), varEmpty);
  EXPECT_EQ(VarType(Null()), varNull);
  EXPECT_EQ(VarType(Variant(static_cast<short>(1))), varSmallint);
  EXPECT_EQ(VarType(Variant(1)), varInteger);
  EXPECT_EQ(VarType(Variant(1LL)), varInt64);
  EXPECT_EQ(VarType(Variant(static_cast<unsigned char>(1))), varByte);
  EXPECT_EQ(VarType(Variant(1.5)), varDouble);
  EXPECT_EQ(VarType(VarFromDateTime(1.5)), varDate);
  EXPECT_EQ(VarType(Variant(true)), varBoolean);
  EXPECT_EQ(VarType(Variant("text")), varString);
  EXPECT_EQ(VarType(VarArrayOf({1, 2})), varArray | varVariant);
  EXPECT_EQ(VarType(Variant::FromBytes({1, 2})), varArray | varByte);
  EXPECT_EQ(varString, 0x100);
  EXPECT_EQ(varArray, 0x2000);
  EXPECT_TRUE(VarIsEmpty(Unassigned()));
  EXPECT_TRUE(VarIsNull(Null()));
  EXPECT_FALSE(VarIsNull(Variant()));
  EXPECT_EQ(VarTypeAsText(VarType(Variant::FromBytes({}))), "Array of Byte");
}

TEST_F(VariantTest, UnassignedConvertsToZeroEmptyAndFalse) {
  Variant v;
  EXPECT_EQ(v.AsInteger(), 0);
  EXPECT_EQ(v.AsInt64(), 0);
  EXPECT_EQ(v.AsFloat(), 0.0);
  EXPECT_EQ(v.AsDateTime(), 0.0);
  EXPECT_EQ(v.AsString(), "");
  EXPECT_FALSE(v.AsBoolean());
}

TEST_F(VariantTest, NullConvertsToNothing) {
  Variant v = Null();
  EXPECT_EQ(VariantMessage([&] { v.AsInteger(); }), kInvalid);
  EXPECT_EQ(VariantMessage([&] { v.AsFloat(); }), kInvalid);
  EXPECT_EQ(VariantMessage([&] { v.AsString(); }), kInvalid);
  EXPECT_EQ(VariantMessage([&] { v.AsDateTime(); }), kInvalid);
  EXPECT_EQ(VariantMessage([&] { v.AsBoolean(); }), kInvalid);
  EXPECT_EQ(VarToStr(v), "");
  EXPECT_EQ(VarToStrDef(v, "(null)"), "(null)");
  EXPECT_TRUE(VarIsNull(VarAsType(v, varVariant)));
}

TEST_F(VariantTest, NumbersConvertBetweenKinds) {
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);  // to even
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(42).AsFloat(), 42.0);
  EXPECT_EQ(Variant(42).AsString(), "42");
  EXPECT_EQ(Variant(1.5).AsString(), "1.5");
  EXPECT_EQ(Variant(1e20).AsString(), "1E20");
  EXPECT_TRUE(Variant(7).AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_EQ(Variant(36526).AsDateTime(), 36526.0);
  EXPECT_EQ(Variant(static_cast<unsigned char>(200)).AsInteger(), 200);
  EXPECT_EQ(Variant(static_cast<short>(-5)).AsInt64(), -5);
}

TEST_F(VariantTest, IntegerRangesAreChecked) {
  Variant big(static_cast<long long>(1) << 40);
  EXPECT_EQ(big.AsInt64(), 1LL << 40);
  EXPECT_EQ(VariantMessage([&] { big.AsInteger(); }), "Variant overflow");
  EXPECT_EQ(VariantMessage([] { Variant(1e300).AsInt64(); }), "Variant overflow");
  EXPECT_EQ(VariantMessage([] { Variant(std::nan("")).AsInteger(); }), kInvalid);
  EXPECT_EQ(VariantMessage([] { VarAsType(Variant(40000), varSmallint); }), "Variant overflow");
  EXPECT_EQ(VariantMessage([] { VarAsType(Variant(-1), varByte); }), "Variant overflow");
  EXPECT_EQ(VariantMessage([] { Variant(std::numeric_limits<unsigned long>::max()); }),
            "Variant overflow");
  EXPECT_EQ(Variant(static_cast<size_t>(5)).AsInteger(), 5);
}

TEST_F(VariantTest, BooleansAreMinusOneAndTrueFalseText) {
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(false).AsFloat(), 0.0);
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(false).AsString(), "False");
  EXPECT_TRUE(Variant("true").AsBoolean());
  EXPECT_FALSE(Variant(" FALSE ").AsBoolean());
  EXPECT_TRUE(Variant("2").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_EQ(VariantMessage([] { Variant("yes").AsBoolean(); }), kInvalid);
}

TEST_F(VariantTest, StringsConvertByTheLocale) {
  EXPECT_EQ(Variant("42").AsInteger(), 42);
  EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
  EXPECT_EQ(Variant("2.5").AsInteger(), 2);
  EXPECT_EQ(Variant("$10").AsInteger(), 16);
  EXPECT_EQ(Variant("1.25").AsFloat(), 1.25);
  EXPECT_EQ(Variant("1e3").AsFloat(), 1000.0);
  EXPECT_EQ(Variant("3/7/2024").AsDateTime(), EncodeDate(2024, 3, 7));
  EXPECT_EQ(Variant("3/7/2024 12:00").AsDateTime(), EncodeDate(2024, 3, 7) + 0.5);
  EXPECT_EQ(VariantMessage([] { Variant("abc").AsInteger(); }), kInvalid);
  EXPECT_EQ(VariantMessage([] { Variant("").AsFloat(); }), kInvalid);
  EXPECT_EQ(VariantMessage([] { Variant("not a date").AsDateTime(); }), kInvalid);

  TFormatSettings comma = DefaultFormatSettings();
  comma.DecimalSeparator = ',';
  comma.DateSeparator = '.';
  comma.ShortDateFormat = "dd/mm/yyyy";
  ScopedFormatSettings scope(comma);
  EXPECT_EQ(Variant("1,25").AsFloat(), 1.25);
  EXPECT_EQ(Variant(1.25).AsString(), "1,25");
  EXPECT_EQ(VariantMessage([] { Variant("1.25").AsFloat(); }), kInvalid);
  EXPECT_EQ(Variant("07.03.2024").AsDateTime(), EncodeDate(2024, 3, 7));
}

TEST_F(VariantTest, DatesConvertAsDoublesAndText) {
  Variant date = VarFromDateTime(EncodeDateTime(2024, 3, 7, 13, 30, 0, 0));
  EXPECT_EQ(date.AsString(), "3/7/2024 1:30:00 PM");
  EXPECT_EQ(VarFromDateTime(EncodeDate(2024, 3, 7)).AsString(), "3/7/2024");
  EXPECT_EQ(date.AsInteger(), 45359);
  EXPECT_EQ(date.AsFloat(), date.AsDateTime());
  EXPECT_EQ(VarType(VarAsType(Variant("3/7/2024"), varDate)), varDate);
}

TEST_F(VariantTest, ArraysKeepOddBounds) {
  Variant array = VarArrayCreate(-2, 3, varVariant);
  EXPECT_TRUE(VarIsArray(array));
  EXPECT_EQ(VarArrayDimCount(array), 1);
  EXPECT_EQ(VarArrayLowBound(array, 1), -2);
  EXPECT_EQ(VarArrayHighBound(array, 1), 3);
  EXPECT_TRUE(VarIsEmpty(VarArrayGet(array, -2)));
  VarArrayPut(array, "first", -2);
  VarArrayPut(array, 3.5, 3);
  EXPECT_EQ(VarArrayGet(array, -2).AsString(), "first");
  EXPECT_EQ(VarArrayGet(array, 3).AsFloat(), 3.5);
  EXPECT_EQ(VariantMessage([&] { VarArrayGet(array, 4); }),
            "Variant or safe array index out of bounds");
  EXPECT_EQ(VariantMessage([&] { VarArrayPut(array, 1, -3); }),
            "Variant or safe array index out of bounds");
  EXPECT_EQ(VariantMessage([&] { VarArrayLowBound(array, 2); }),
            "Variant or safe array index out of bounds");
  EXPECT_EQ(VariantMessage([] { VarArrayHighBound(Variant(1), 1); }), "Variant is not an array");
  EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);

  Variant empty = VarArrayCreate(1, 0, varVariant);
  EXPECT_EQ(VarArrayHighBound(empty), 0);
  EXPECT_EQ(VariantMessage([] { VarArrayCreate(1, -1, varVariant); }),
            "Error creating variant or safe array");
  EXPECT_EQ(VariantMessage([] { VarArrayCreate(0, 1, varNull); }),
            "Error creating variant or safe array");
  EXPECT_EQ(VariantMessage([&] { array.AsString(); }), kInvalid);
}

TEST_F(VariantTest, TypedArraysConvertWhatIsPut) {
  Variant ints = VarArrayCreate(1, 3, varInteger);
  EXPECT_EQ(VarType(VarArrayGet(ints, 1)), varInteger);
  VarArrayPut(ints, "12", 2);
  VarArrayPut(ints, 2.5, 3);
  EXPECT_EQ(VarType(VarArrayGet(ints, 2)), varInteger);
  EXPECT_EQ(VarArrayGet(ints, 2).AsInteger(), 12);
  EXPECT_EQ(VarArrayGet(ints, 3).AsInteger(), 2);
  EXPECT_EQ(VariantMessage([&] { VarArrayPut(ints, Null(), 1); }), kInvalid);
  EXPECT_EQ(VariantMessage([&] { VarArrayPut(ints, "x", 1); }), kInvalid);

  Variant strings = VarArrayCreate(0, 0, varOleStr);
  EXPECT_EQ(VarType(strings), varArray | varString);
  VarArrayPut(strings, 7, 0);
  EXPECT_EQ(VarArrayGet(strings, 0).AsString(), "7");
}

TEST_F(VariantTest, ByteArraysHoldPlainBytes) {
  Variant bytes = VarArrayCreate(5, 7, varByte);
  EXPECT_EQ(bytes.Bytes(), std::vector<uint8_t>({0, 0, 0}));
  VarArrayPut(bytes, 255, 5);
  VarArrayPut(bytes, static_cast<unsigned char>(1), 7);
  EXPECT_EQ(bytes.Bytes(), std::vector<uint8_t>({255, 0, 1}));
  EXPECT_EQ(VarType(VarArrayGet(bytes, 5)), varByte);
  EXPECT_EQ(VariantMessage([&] { VarArrayPut(bytes, 256, 6); }), "Variant overflow");

  std::string text("a\0b", 3);
  Variant raw = Variant::FromBytes(text.data(), text.size());
  EXPECT_EQ(VarArrayLowBound(raw), 0);
  EXPECT_EQ(VarArrayHighBound(raw), 2);
  EXPECT_EQ(VarArrayGet(raw, 1).AsInteger(), 0);
  EXPECT_EQ(VariantMessage([] { VarArrayOf({1}).Bytes(); }), "Variant is not an array of bytes");

  VarArrayRedim(raw, 4);
  EXPECT_EQ(raw.Bytes(), std::vector<uint8_t>({'a', 0, 'b', 0, 0}));
  VarArrayRedim(raw, 0);
  EXPECT_EQ(raw.Bytes(), std::vector<uint8_t>({'a'}));
}

TEST_F(VariantTest, ElementsAreReadInPlaceAndMovedIn) {
  Variant array = VarArrayCreate(1, 2, varVariant);
  std::string text(100, 't');
  array.PutElement(1, Variant(std::move(text)));
  array.PutElement(2, 5);

  const Variant& first = array.ElementRef(1);

  ASSERT_NE(first.StringValue(), nullptr);
  EXPECT_EQ(*first.StringValue(), std::string(100, 't'));
  EXPECT_EQ(&array.ElementRef(1), &first);
  EXPECT_EQ(array.ElementRef(2).StringValue(), nullptr);
  EXPECT_EQ(array.ElementRef(2).AsInteger(), 5);
  EXPECT_EQ(VariantMessage([&] { array.ElementRef(3); }),
            "Variant or safe array index out of bounds");
  EXPECT_EQ(VariantMessage([] { VarArrayCreate(0, 0, varByte).ElementRef(0); }),
            "Variant is not an array of variants");
  EXPECT_EQ(VariantMessage([] { Variant(1).ElementRef(0); }), "Variant is not an array");
}

TEST_F(VariantTest, AMovedElementIsConvertedToATypedArraysType) {
  Variant ints = VarArrayCreate(0, 0, varInteger);
  Variant bytes = VarArrayCreate(0, 0, varByte);

  ints.PutElement(0, Variant(std::string("12")));
  bytes.PutElement(0, Variant(200));

  EXPECT_EQ(VarType(ints.GetElement(0)), varInteger);
  EXPECT_EQ(ints.GetElement(0).AsInteger(), 12);
  EXPECT_EQ(bytes.Bytes(), std::vector<uint8_t>({200}));
  EXPECT_EQ(VariantMessage([&] { ints.PutElement(0, Variant(std::string("x"))); }), kInvalid);
}

TEST_F(VariantTest, CopiesAreIndependent) {
  Variant a = VarArrayOf({1, "two", VarArrayOf({3})});
  Variant b = a;
  VarArrayPut(b, 10, 0);
  EXPECT_EQ(VarArrayGet(a, 0).AsInteger(), 1);
  EXPECT_EQ(VarArrayGet(b, 0).AsInteger(), 10);
  Variant moved = std::move(b);
  EXPECT_EQ(VarArrayGet(moved, 0).AsInteger(), 10);
  EXPECT_EQ(VarArrayGet(VarArrayGet(a, 2), 0).AsInteger(), 3);
  a = a;
  EXPECT_EQ(VarArrayHighBound(a), 2);
}

TEST_F(VariantTest, EqualityFollowsTheHost) {
  EXPECT_EQ(Variant(), Variant());
  EXPECT_EQ(Null(), Null());
  EXPECT_NE(Null(), Variant());
  EXPECT_NE(Variant(), Variant(0));
  EXPECT_NE(Null(), Variant(0));
  EXPECT_EQ(Variant(1), Variant(1.0));
  EXPECT_EQ(Variant(static_cast<short>(3)), Variant(3LL));
  EXPECT_EQ(Variant(true), Variant(-1));
  EXPECT_NE(Variant(true), Variant(1));
  EXPECT_EQ(Variant("abc"), Variant("abc"));
  EXPECT_NE(Variant("abc"), Variant("ABC"));
  EXPECT_EQ(Variant("1.50"), Variant(1.5));
  EXPECT_EQ(Variant(1.5), Variant("1.5"));
  EXPECT_NE(Variant("x"), Variant(1));
  EXPECT_EQ(Variant("true"), Variant(true));
  EXPECT_EQ(VarFromDateTime(EncodeDate(2024, 3, 7)), Variant("3/7/2024"));
  EXPECT_EQ(VarArrayOf({1, "a"}), VarArrayOf({1.0, "a"}));
  EXPECT_NE(VarArrayOf({1, "a"}), VarArrayOf({1, "b"}));
  EXPECT_NE(VarArrayCreate(1, 2, varVariant), VarArrayCreate(0, 1, varVariant));
  EXPECT_EQ(Variant::FromBytes({1, 2}), VarArrayOf({1, 2}));
  EXPECT_NE(Variant(std::nan("")), Variant(std::nan("")));
}

TEST_F(VariantTest, CompareValueOrders) {
  EXPECT_EQ(VarCompareValue(Variant(1), Variant(2)), vrLessThan);
  EXPECT_EQ(VarCompareValue(Variant(2.5), Variant(2)), vrGreaterThan);
  EXPECT_EQ(VarCompareValue(Variant("b"), Variant("a")), vrGreaterThan);
  EXPECT_EQ(VarCompareValue(Variant("10"), Variant(9)), vrGreaterThan);
  EXPECT_EQ(VarCompareValue(Variant(9), Variant("10")), vrLessThan);
  EXPECT_EQ(VarCompareValue(Null(), Variant(1)), vrNotEqual);
  EXPECT_EQ(VarCompareValue(Variant(1LL << 62), Variant((1LL << 62) + 1)), vrLessThan);
}

}  // namespace
}  // namespace vorn
