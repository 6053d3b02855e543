// Field values: the conversions of each field class, null readings, range
// checks, texts and display formats, and the native buffer formats.
#include <cstring>

#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

// One field of each class, on a new record being inserted.
class FieldValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TFieldDefs& defs = ds.FieldDefs();
    defs.Add("I", ftInteger);
    defs.Add("S", ftSmallint);
    defs.Add("W", ftWord);
    defs.Add("L", ftLargeint);
    defs.Add("F", ftFloat);
    defs.Add("C", ftCurrency);
    defs.Add("N", ftBCD);
    defs.Add("B", ftBoolean);
    defs.Add("D", ftDate);
    defs.Add("T", ftTime);
    defs.Add("DT", ftDateTime);
    defs.Add("STR", ftString, 5);
    defs.Add("M", ftMemo);
    defs.Add("BL", ftBlob);
    ds.Open();
    ds.Insert();
  }

  TField* F(const char* name) { return ds.FieldByName(name); }

  // The error text of `action`, which must raise EDatabaseError.
  template <class Action>
  std::string ErrorOf(Action action) {
    try {
      action();
    } catch (const EDatabaseError& e) {
      return e.Message();
    }
    return "(no error)";
  }

  ScopedFormatSettings settings{DefaultFormatSettings()};
  TMemDataSet ds;
};

TEST_F(FieldValuesTest, DefaultFieldsHaveTheClassAndNativeSizeOfTheirType) {
  EXPECT_NE(dynamic_cast<TIntegerField*>(F("I")), nullptr);
  EXPECT_NE(dynamic_cast<TSmallintField*>(F("S")), nullptr);
  EXPECT_NE(dynamic_cast<TWordField*>(F("W")), nullptr);
  EXPECT_NE(dynamic_cast<TLargeintField*>(F("L")), nullptr);
  EXPECT_NE(dynamic_cast<TCurrencyField*>(F("C")), nullptr);
  EXPECT_NE(dynamic_cast<TBCDField*>(F("N")), nullptr);
  EXPECT_NE(dynamic_cast<TBooleanField*>(F("B")), nullptr);
  EXPECT_NE(dynamic_cast<TDateField*>(F("D")), nullptr);
  EXPECT_NE(dynamic_cast<TTimeField*>(F("T")), nullptr);
  EXPECT_NE(dynamic_cast<TDateTimeField*>(F("DT")), nullptr);
  EXPECT_NE(dynamic_cast<TStringField*>(F("STR")), nullptr);
  EXPECT_NE(dynamic_cast<TMemoField*>(F("M")), nullptr);
  EXPECT_EQ(dynamic_cast<TMemoField*>(F("BL")), nullptr);

  std::vector<int> sizes;
  for (TField* field : ds.Fields())
    sizes.push_back(field->DataSize());
  EXPECT_THAT(sizes, ::testing::ElementsAre(4, 2, 2, 8, 8, 8, 8, 2, 4, 4, 8, 6, 0, 0));
  EXPECT_EQ(F("DT")->FieldNo(), 11);
  EXPECT_EQ(F("I")->Alignment(), taRightJustify);
  EXPECT_EQ(F("STR")->Alignment(), taLeftJustify);
  EXPECT_EQ(F("STR")->DisplayWidth(), 5);
  EXPECT_TRUE(F("M")->IsBlob());
  EXPECT_FALSE(F("STR")->IsBlob());
  EXPECT_TRUE(static_cast<TFloatField*>(F("C"))->Currency());
}

TEST_F(FieldValuesTest, NullFieldsReadAsEmptyValues) {
  for (TField* field : ds.Fields()) {
    SCOPED_TRACE(field->FieldName());
    EXPECT_TRUE(field->IsNull());
    EXPECT_TRUE(field->AsVariant().IsNull());
    EXPECT_EQ(field->AsString(), "");
  }
  EXPECT_EQ(F("I")->AsInteger(), 0);
  EXPECT_EQ(F("F")->AsFloat(), 0.0);
  EXPECT_EQ(F("DT")->AsDateTime(), 0.0);
  EXPECT_FALSE(F("B")->AsBoolean());
  EXPECT_EQ(F("STR")->AsInteger(), 0);
  EXPECT_EQ(F("I")->DisplayText(), "");
  EXPECT_EQ(F("M")->DisplayText(), "(Memo)");
  EXPECT_EQ(F("BL")->DisplayText(), "(Blob)");
}

TEST_F(FieldValuesTest, IntegerFieldsConvertAndRefuseOtherTypes) {
  TField* field = F("I");
  field->SetAsInteger(42);

  EXPECT_EQ(field->AsString(), "42");
  EXPECT_EQ(field->AsFloat(), 42.0);
  EXPECT_EQ(field->AsVariant().VarType(), varInteger);
  EXPECT_EQ(ErrorOf([&] { field->AsDateTime(); }), "Cannot access field 'I' as type TDateTime");
  EXPECT_EQ(ErrorOf([&] { field->AsBoolean(); }), "Cannot access field 'I' as type Boolean");
  EXPECT_EQ(ErrorOf([&] { field->SetAsBoolean(true); }), "Cannot access field 'I' as type Boolean");

  field->SetAsFloat(2.5);
  EXPECT_EQ(field->AsInteger(), 2);
  field->SetAsFloat(3.5);
  EXPECT_EQ(field->AsInteger(), 4);
  field->SetAsString("-17");
  EXPECT_EQ(field->AsInteger(), -17);
  field->SetAsString("");
  EXPECT_TRUE(field->IsNull());
  EXPECT_EQ(ErrorOf([&] { field->SetAsString("12x"); }),
            "'12x' is not a valid integer value for field 'I'");
}

TEST_F(FieldValuesTest, IntegerRangesAreTheTypesUnlessBoundsAreSet) {
  EXPECT_EQ(ErrorOf([&] { F("S")->SetAsInteger(40000); }),
            "40000 is not a valid value for field 'S'. The allowed range is -32768 to 32767");
  EXPECT_EQ(ErrorOf([&] { F("W")->SetAsInteger(-1); }),
            "-1 is not a valid value for field 'W'. The allowed range is 0 to 65535");
  EXPECT_EQ(ErrorOf([&] { F("I")->SetAsFloat(3e9); }),
            "3000000000 is not a valid value for field 'I'. The allowed range is -2147483648 to "
            "2147483647");
  F("S")->SetAsInteger(-32768);
  EXPECT_EQ(F("S")->AsInteger(), -32768);
  F("W")->SetAsInteger(65535);
  EXPECT_EQ(F("W")->AsInteger(), 65535);

  auto* bounded = static_cast<TIntegerField*>(F("I"));
  bounded->SetMinValue(-9999);
  bounded->SetMaxValue(9999);
  bounded->SetDisplayLabel("Amount");
  EXPECT_EQ(ErrorOf([&] { bounded->SetAsInteger(10000); }),
            "10000 is not a valid value for field 'Amount'. The allowed range is -9999 to 9999");
  bounded->SetAsInteger(9999);
  EXPECT_EQ(bounded->AsInteger(), 9999);
}

TEST_F(FieldValuesTest, RangeChecksComeBeforeValidation) {
  int validations = 0;
  F("S")->SetOnValidate([&validations](TField*) { ++validations; });

  EXPECT_THROW(F("S")->SetAsInteger(70000), EDatabaseError);
  EXPECT_EQ(validations, 0);
  EXPECT_TRUE(F("S")->IsNull());

  F("S")->SetAsInteger(7);
  EXPECT_EQ(validations, 1);
}

TEST_F(FieldValuesTest, LargeintFieldsKeep64Bits) {
  auto* field = static_cast<TLargeintField*>(F("L"));
  field->SetAsLargeInt(0x100000005LL);

  EXPECT_EQ(field->AsLargeInt(), 0x100000005LL);
  EXPECT_EQ(field->AsInteger(), 5);
  EXPECT_EQ(field->AsString(), "4294967301");
  EXPECT_EQ(field->AsFloat(), 4294967301.0);
  EXPECT_EQ(field->AsVariant().VarType(), varInt64);
  field->SetAsString("9223372036854775807");
  EXPECT_EQ(field->AsLargeInt(), INT64_MAX);
  EXPECT_EQ(ErrorOf([&] { field->SetAsString("x1"); }),
            "'x1' is not a valid integer value for field 'L'");
  EXPECT_THROW(field->SetAsFloat(1e19), EDatabaseError);
}

TEST_F(FieldValuesTest, FloatFieldsConvertWithTheGeneralFormat) {
  TField* field = F("F");
  field->SetAsFloat(1.5);
  EXPECT_EQ(field->AsString(), "1.5");
  EXPECT_EQ(field->AsInteger(), 2);
  field->SetAsFloat(2.5);
  EXPECT_EQ(field->AsInteger(), 2);
  field->SetAsFloat(1e20);
  EXPECT_EQ(field->AsString(), "1E20");
  EXPECT_THROW(field->AsInteger(), ERangeError);
  EXPECT_EQ(field->AsVariant().VarType(), varDouble);
  EXPECT_EQ(ErrorOf([&] { field->AsDateTime(); }), "Cannot access field 'F' as type TDateTime");

  field->SetAsString("-0.25");
  EXPECT_EQ(field->AsFloat(), -0.25);
  field->SetAsString("");
  EXPECT_TRUE(field->IsNull());
  EXPECT_EQ(ErrorOf([&] { field->SetAsString("abc"); }),
            "'abc' is not a valid floating point value for field 'F'");
}

TEST_F(FieldValuesTest, FloatRangesApplyOnlyWhenABoundIsSet) {
  auto* field = static_cast<TFloatField*>(F("F"));
  field->SetAsFloat(1e300);
  EXPECT_EQ(field->AsFloat(), 1e300);

  field->SetMinValue(-999.99);
  field->SetMaxValue(999.99);
  EXPECT_EQ(ErrorOf([&] { field->SetAsFloat(1000); }),
            "1000 is not a valid value for field 'F'. The allowed range is -999.99 to 999.99");
  EXPECT_EQ(ErrorOf([&] { field->SetAsString("-1000.5"); }),
            "-1000.5 is not a valid value for field 'F'. The allowed range is -999.99 to 999.99");
  field->SetAsFloat(-999.99);
  EXPECT_EQ(field->AsFloat(), -999.99);
}

TEST_F(FieldValuesTest, NumericTextsFollowDisplayAndEditFormats) {
  auto* number = static_cast<TFloatField*>(F("F"));
  number->SetAsFloat(1234.5);
  number->SetDisplayFormat("###,##0.00");
  EXPECT_EQ(number->DisplayText(), "1,234.50");
  EXPECT_EQ(number->Text(), "1,234.50");
  number->SetEditFormat("#####0.00");
  EXPECT_EQ(number->Text(), "1234.50");
  EXPECT_EQ(number->AsString(), "1234.5");

  number->SetDisplayFormat("");
  number->SetEditFormat("");
  number->SetPrecision(4);
  number->SetAsFloat(3.14159);
  EXPECT_EQ(number->DisplayText(), "3.142");
  EXPECT_EQ(number->AsString(), "3.14159");

  auto* integer = static_cast<TIntegerField*>(F("I"));
  integer->SetAsInteger(-1234567);
  EXPECT_EQ(integer->DisplayText(), "-1234567");
  integer->SetDisplayFormat("#,##0");
  EXPECT_EQ(integer->DisplayText(), "-1,234,567");
  integer->SetEditFormat("0");
  EXPECT_EQ(integer->Text(), "-1234567");
}

TEST_F(FieldValuesTest, CurrencyFieldsUseTheLocaleCurrencyFormatForDisplay) {
  F("C")->SetAsFloat(1234.5);

  EXPECT_EQ(F("C")->DisplayText(), "$1,234.50");
  EXPECT_EQ(F("C")->Text(), "1234.50");
  EXPECT_EQ(F("C")->AsString(), "1234.5");
}

TEST_F(FieldValuesTest, BooleanFieldsReadAndAcceptTheirTexts) {
  auto* field = static_cast<TBooleanField*>(F("B"));
  field->SetAsBoolean(true);
  EXPECT_EQ(field->AsString(), "True");
  EXPECT_EQ(field->AsVariant().VarType(), varBoolean);
  EXPECT_EQ(ErrorOf([&] { field->AsInteger(); }), "Cannot access field 'B' as type Integer");

  field->SetAsString("f");
  EXPECT_FALSE(field->AsBoolean());
  EXPECT_EQ(field->AsString(), "False");
  field->SetAsString("TR");
  EXPECT_TRUE(field->AsBoolean());
  EXPECT_EQ(ErrorOf([&] { field->SetAsString("x"); }),
            "'x' is not a valid boolean value for field 'B'");
  EXPECT_EQ(ErrorOf([&] { field->SetAsString("Truer"); }),
            "'Truer' is not a valid boolean value for field 'B'");
  field->SetAsString("");
  EXPECT_TRUE(field->IsNull());

  field->SetDisplayValues("Yes;No");
  field->SetAsString("n");
  EXPECT_EQ(field->AsString(), "No");
  field->SetAsBoolean(true);
  EXPECT_EQ(field->DisplayText(), "Yes");
}

TEST_F(FieldValuesTest, DateTimeValuesAreStoredInTheNativeFormats) {
  const TDateTime newYear2000 = EncodeDate(2000, 1, 1);
  EXPECT_EQ(newYear2000, 36526.0);
  double msecs = 0;
  int32_t number = 0;

  F("DT")->SetAsDateTime(newYear2000);
  ASSERT_TRUE(F("DT")->GetData(&msecs));
  EXPECT_EQ(msecs, 63082368000000.0);
  F("DT")->SetAsDateTime(0.5);
  F("DT")->GetData(&msecs);
  EXPECT_EQ(msecs, 59926564800000.0);
  EXPECT_EQ(F("DT")->AsDateTime(), 0.5);

  F("D")->SetAsDateTime(newYear2000 + 0.75);
  F("D")->GetData(&number);
  EXPECT_EQ(number, 730120);
  EXPECT_EQ(F("D")->AsDateTime(), newYear2000);

  F("T")->SetAsDateTime(EncodeTime(12, 30, 0, 0));
  F("T")->GetData(&number);
  EXPECT_EQ(number, 45000000);
  F("T")->SetAsDateTime(newYear2000 + 0.75);
  EXPECT_EQ(F("T")->AsDateTime(), 0.75);
}

TEST_F(FieldValuesTest, DatesBeforeTheOriginKeepTheirTimeOfDay) {
  F("DT")->SetAsDateTime(-1.25);  // 29 December 1899, 06:00

  EXPECT_EQ(F("DT")->AsDateTime(), -1.25);
  EXPECT_EQ(F("DT")->AsFloat(), -1.25);
}

TEST_F(FieldValuesTest, ANativeDateTimeWithoutADayReadsAsTimestampZero) {
  const double negative = -5.0;
  EXPECT_EQ(NativeToDateTime(ftDateTime, &negative), -693594.0);
  const double zero = 0.0;
  EXPECT_EQ(NativeToDateTime(ftDateTime, &zero), -693594.0);
}

TEST_F(FieldValuesTest, DateTimeValuesOutsideTheCalendarAreRefused) {
  EXPECT_THROW(F("DT")->SetAsDateTime(1e7), EConvertError);
  EXPECT_TRUE(F("DT")->IsNull());
}

TEST_F(FieldValuesTest, DateTimeTextsUseTheLocaleFormats) {
  const TDateTime newYear2000 = EncodeDate(2000, 1, 1);
  F("DT")->SetAsDateTime(newYear2000);
  EXPECT_EQ(F("DT")->DisplayText(), "1/1/2000");
  F("DT")->SetAsDateTime(newYear2000 + EncodeTime(12, 30, 0, 0));
  EXPECT_EQ(F("DT")->DisplayText(), "1/1/2000 12:30:00 PM");
  EXPECT_EQ(F("DT")->AsString(), "1/1/2000 12:30:00 PM");
  F("D")->SetAsDateTime(newYear2000);
  EXPECT_EQ(F("D")->DisplayText(), "1/1/2000");
  F("T")->SetAsDateTime(EncodeTime(12, 30, 0, 0));
  EXPECT_EQ(F("T")->DisplayText(), "12:30:00 PM");

  static_cast<TDateTimeField*>(F("D"))->SetDisplayFormat("yyyy-mm-dd");
  EXPECT_EQ(F("D")->DisplayText(), "2000-01-01");
  EXPECT_EQ(F("D")->Text(), "1/1/2000");
  EXPECT_EQ(F("D")->AsVariant().VarType(), varDate);
  EXPECT_EQ(ErrorOf([&] { F("D")->AsInteger(); }), "Cannot access field 'D' as type Integer");
}

TEST_F(FieldValuesTest, DateTimeTextIsParsedByTheFieldsType) {
  F("D")->SetAsString("2/3/2001");
  EXPECT_EQ(F("D")->AsDateTime(), EncodeDate(2001, 2, 3));
  F("T")->SetAsString("13:45");
  EXPECT_EQ(F("T")->AsDateTime(), EncodeTime(13, 45, 0, 0));
  F("DT")->SetAsString("2/3/2001 6:00 AM");
  EXPECT_EQ(F("DT")->AsDateTime(), EncodeDate(2001, 2, 3) + 0.25);

  EXPECT_THROW(F("D")->SetAsString("not a date"), EConvertError);
  EXPECT_EQ(F("D")->AsDateTime(), EncodeDate(2001, 2, 3));
  F("D")->SetAsString("");
  EXPECT_TRUE(F("D")->IsNull());
}

TEST_F(FieldValuesTest, StringFieldsKeepSizeCharactersAndParseTheirText) {
  TField* field = F("STR");
  field->SetAsString("abcdefg");
  EXPECT_EQ(field->AsString(), "abcde");

  field->SetAsString("12");
  EXPECT_EQ(field->AsInteger(), 12);
  EXPECT_EQ(field->AsFloat(), 12.0);
  field->SetAsString("x");
  EXPECT_THROW(field->AsInteger(), EConvertError);
  field->SetAsString("yes");
  EXPECT_TRUE(field->AsBoolean());
  field->SetAsString("no");
  EXPECT_FALSE(field->AsBoolean());

  field->SetAsBoolean(true);
  EXPECT_EQ(field->AsString(), "T");
  field->SetAsInteger(7);
  EXPECT_EQ(field->AsString(), "7");
  field->SetAsFloat(1.5);
  EXPECT_EQ(field->AsString(), "1.5");
  EXPECT_EQ(field->AsVariant().VarType(), varString);
  // An empty text arrives as a zero first byte, which this dataset stores
  // as null.
  field->SetAsString("");
  EXPECT_TRUE(field->IsNull());
}

TEST_F(FieldValuesTest, MemoAndBlobFieldsShowATag) {
  F("M")->SetAsString("hello");
  F("BL")->SetAsString(std::string("\x01\x00\x02", 3));

  EXPECT_EQ(F("M")->AsString(), "hello");
  EXPECT_EQ(F("M")->DisplayText(), "(MEMO)");
  EXPECT_EQ(F("M")->Text(), "(MEMO)");
  EXPECT_EQ(F("BL")->DisplayText(), "(BLOB)");
  EXPECT_EQ(F("BL")->AsString().size(), 3u);
  EXPECT_EQ(ErrorOf([&] { F("M")->AsInteger(); }), "Cannot access field 'M' as type Integer");
}

// Variants convert to the field's type; a value that does not convert fails
// with the classic text.
TEST_F(FieldValuesTest, VariantsAreConvertedToTheFieldsType) {
  F("I")->SetValue(Variant(7.6));
  EXPECT_EQ(F("I")->AsInteger(), 8);
  F("I")->SetValue(Null());
  EXPECT_TRUE(F("I")->IsNull());
  F("I")->SetValue(Unassigned());
  EXPECT_FALSE(F("I")->IsNull());
  EXPECT_EQ(F("I")->AsInteger(), 0);
  try {
    F("I")->SetValue(Variant("abc"));
    FAIL() << "the text is not a number";
  } catch (const EVariantError& e) {
    EXPECT_EQ(e.Message(), "Invalid variant type conversion");
  }

  F("STR")->SetValue(Variant(12));
  EXPECT_EQ(F("STR")->AsString(), "12");
  F("B")->SetValue(Variant("True"));
  EXPECT_TRUE(F("B")->AsBoolean());
  F("DT")->SetValue(Variant::FromDateTime(36526.5));
  EXPECT_EQ(F("DT")->AsDateTime(), 36526.5);
  F("F")->SetValue(Variant("2.25"));
  EXPECT_EQ(F("F")->AsFloat(), 2.25);
}

TEST_F(FieldValuesTest, TextEventsReplaceTheClassTexts) {
  TField* field = F("I");
  field->SetAsInteger(5);
  field->SetOnGetText([](TField* f, std::string& text, bool displayText) {
    text = (displayText ? "show " : "edit ") + f->AsString();
  });
  field->SetOnSetText(
      [](TField* f, const std::string& text) { f->SetAsInteger(static_cast<int>(text.size())); });

  EXPECT_EQ(field->DisplayText(), "show 5");
  EXPECT_EQ(field->Text(), "edit 5");
  field->SetText("four");
  EXPECT_EQ(field->AsInteger(), 4);
}

TEST_F(FieldValuesTest, ValidationSeesTheProposedValueAndCanRefuseIt) {
  F("STR")->SetAsString("old");
  std::string seen;
  bool wasNull = false;
  F("STR")->SetOnValidate([&](TField* f) {
    seen = f->AsString();
    wasNull = f->IsNull();
    if (seen == "bad") throw EDatabaseError("refused");
  });

  F("STR")->SetAsString("new");
  EXPECT_EQ(seen, "new");
  EXPECT_THROW(F("STR")->SetAsString("bad"), EDatabaseError);
  EXPECT_EQ(F("STR")->AsString(), "new");
  F("STR")->Clear();
  EXPECT_TRUE(wasNull);
  EXPECT_TRUE(F("STR")->IsNull());
}

TEST_F(FieldValuesTest, ChangeEventsFollowEveryStoredValue) {
  std::vector<std::string> changes;
  F("I")->SetOnChange([&changes](TField* f) { changes.push_back(f->AsString()); });

  F("I")->SetAsInteger(1);
  F("I")->SetAsString("2");
  F("I")->Clear();

  EXPECT_THAT(changes, ::testing::ElementsAre("1", "2", ""));
}

}  // namespace
}  // namespace vorn::dataset_test
