// LONG and LONG RAW values: written through long variables, read whole
// through Field and in parts through GetLongField, in both call sets.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "vorn/host/Exceptions.h"

namespace vorn::query_test {
namespace {

// A text of `size` bytes in which every position can be told apart.
std::string Pattern(size_t size) {
  std::string text(size, ' ');
  for (size_t i = 0; i < size; ++i)
    text[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
  return text;
}

std::vector<uint8_t> BytePattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<uint8_t>(i * 31 + i / 256);
  return bytes;
}

class LongValuesTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    Run("create table notes (id number(5), body long)");
    Run("create table blobs (id number(5), body long raw)");
  }

  void InsertNote(int id, const std::string& body) {
    auto query = NewQuery("insert into notes (id, body) values (:id, :body)");
    query->DeclareVariable("id", otInteger);
    query->DeclareVariable("body", otLong);
    query->SetVariable("id", id);
    query->SetVariable("body", body);
    query->Execute();
  }

  void InsertBlob(int id, const std::vector<uint8_t>& body) {
    auto query = NewQuery("insert into blobs (id, body) values (:id, :body)");
    query->DeclareVariable("id", otInteger);
    query->DeclareVariable("body", otLongRaw);
    query->SetVariable("id", id);
    query->SetVariable("body", Variant::FromBytes(body));
    query->Execute();
  }
};
VORN_QUERY_IN_BOTH_CALL_SETS(LongValuesTest);

TEST_P(LongValuesTest, ALongTextBeyondAHundredThousandBytesIsReadWhole) {
  const std::string body = Pattern(150001);
  InsertNote(1, body);
  InsertNote(2, "short");

  auto query = NewQuery("select id, body from notes order by id");
  query->SetReadBuffer(25);
  query->Execute();

  EXPECT_EQ(otLong, query->FieldType(1));
  EXPECT_EQ(body, query->Field(1).AsString());
  EXPECT_EQ(body, query->Field("BODY").AsString());
  query->Next();
  EXPECT_EQ(2, query->FieldAsInteger(0));
  EXPECT_EQ("short", query->Field(1).AsString());
  query->Next();
  EXPECT_TRUE(query->Eof());
}

TEST_P(LongValuesTest, GetLongFieldCopiesAnyPart) {
  const std::string body = Pattern(150001);
  InsertNote(1, body);
  auto query = NewQuery("select body from notes");
  query->Execute();

  std::string part(100000, '\0');
  EXPECT_EQ(100000, query->GetLongField(0, part.data(), 0, 100000));
  EXPECT_EQ(body.substr(0, 100000), part);
  EXPECT_EQ(100000, query->GetLongField(0, part.data(), 1500, 100000));
  EXPECT_EQ(body.substr(1500, 100000), part);
  EXPECT_EQ(1, query->GetLongField(0, part.data(), 150000, 100000));
  EXPECT_EQ(body.substr(150000), part.substr(0, 1));
  EXPECT_EQ(10, query->GetLongField(0, part.data(), 1995, 10));
  EXPECT_EQ(body.substr(1995, 10), part.substr(0, 10));
  EXPECT_EQ(0, query->GetLongField(0, part.data(), 200000, 10));
}

TEST_P(LongValuesTest, LongRawBytesComeBackAsBytes) {
  const std::vector<uint8_t> body = BytePattern(120000);
  InsertBlob(1, body);
  auto query = NewQuery("select body, id from blobs");
  query->Execute();

  EXPECT_EQ(otLongRaw, query->FieldType(0));
  EXPECT_EQ(body, query->Field(0).Bytes());
  std::vector<uint8_t> part(70000);
  EXPECT_EQ(70000, query->GetLongField(0, part.data(), 30000, 70000));
  EXPECT_TRUE(std::equal(part.begin(), part.end(), body.begin() + 30000));
}

TEST_P(LongValuesTest, AShortLongVariableRoundTripsThroughPlsql) {
  auto query = NewQuery("begin :out := :in || '!'; end;");
  query->DeclareVariable("in", otLong);
  query->DeclareVariable("out", otString);
  query->SetVariable("in", "hello");
  query->Execute();
  EXPECT_EQ("hello!", query->GetVariable("out").AsString());
}

TEST_P(LongValuesTest, OnlyLongColumnsGiveLongParts) {
  InsertNote(1, "x");
  auto query = NewQuery("select id, body from notes");
  query->Execute();
  char buffer[4];
  EXPECT_EQ("Field 0 is not a Long", ErrorOf([&] { query->GetLongField(0, buffer, 0, 4); }));
  EXPECT_EQ("Cannot convert field BODY to a String", ErrorOf([&] { query->FieldAsString(1); }));
}

TEST_P(LongValuesTest, ANullLongIsNull) {
  Run("insert into notes (id) values (3)");
  auto query = NewQuery("select body from notes");
  query->Execute();
  EXPECT_TRUE(query->FieldIsNull(0));
  EXPECT_TRUE(query->Field(0).IsEmpty());
}

}  // namespace
}  // namespace vorn::query_test
