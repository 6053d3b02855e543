// The stream format of the variable list: the bytes a form stores, a round
// trip of every type through the component filer, and damaged streams.
#include <gtest/gtest.h>

#include <cstring>

#include "QueryTestSupport.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"

namespace vorn::query_test {
namespace {

class Bytes {
 public:
  Bytes& Int(int32_t value) {
    for (int i = 0; i < 4; ++i)
      bytes_.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
    return *this;
  }
  Bytes& Text(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  Bytes& Raw(std::initializer_list<uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes);
    return *this;
  }
  const std::vector<uint8_t>& Get() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

std::vector<uint8_t> Saved(const TOracleQuery& query) {
  TMemoryStream stream;
  query.Variables()->SaveToStream(stream);
  return stream.Bytes();
}

void Load(TOracleQuery& query, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  query.Variables()->LoadFromStream(stream);
}

TEST(VariableStreamTest, ANullStringVariableStreamsAsTheFormStoresIt) {
  TOracleQuery query;
  query.DeclareVariable("a", otString);

  EXPECT_EQ(Bytes().Int(3).Int(1).Int(2).Text(":A").Int(5).Int(0).Int(0).Get(), Saved(query));
}

TEST(VariableStreamTest, ValuesTablesAndTextCarryTheirBytes) {
  TOracleQuery query;
  query.DeclareVariable("n", otInteger);
  query.SetVariable("n", 258);
  query.DeclareVariable("s", otString);
  query.SetVariable("s", "hi");
  query.DeclareVariable("t", otString);
  query.DeclarePLSQLTable("t", 4, 10);

  EXPECT_EQ(Bytes()
                .Int(3)
                .Int(3)
                .Int(2)
                .Text(":N")
                .Int(3)
                .Int(4)
                .Int(258)
                .Int(0)
                .Int(2)
                .Text(":S")
                .Int(5)
                .Int(3)
                .Text("hi")
                .Raw({0})
                .Int(0)
                .Int(2)
                .Text(":T")
                .Int(5)
                .Int(0)
                .Int(1)
                .Int(4)
                .Int(10)
                .Get(),
            Saved(query));
}

TEST(VariableStreamTest, EveryTypeSurvivesAFormsRoundTrip) {
  TOracleQuery original(nullptr);
  original.SetName("Query1");
  const TDateTime when = EncodeDateTime(1999, 12, 31, 23, 59, 58, 0);
  const std::vector<std::pair<std::string, int>> declared{
      {"subst", otSubst}, {"int", otInteger},       {"float", otFloat},  {"string", otString},
      {"long", otLong},   {"plsql", otPLSQLString}, {"date", otDate},    {"raw", otLongRaw},
      {"char", otChar},   {"cursor", otCursor},     {"empty", otString}, {"table", otFloat}};
  for (const auto& [name, code] : declared)
    original.DeclareVariable(name, code);
  original.SetVariable("subst", "emp");
  original.SetVariable("int", -7);
  original.SetVariable("float", 1.25);
  original.SetVariable("string", "text");
  original.SetVariable("long", std::string(70000, 'L'));
  original.SetVariable("plsql", std::string(20000, 'p'));
  original.SetVariable("date", Variant::FromDateTime(when));
  original.SetVariable("raw", Variant::FromBytes(std::vector<uint8_t>{0, 9, 0}));
  original.SetVariable("char", "c");
  original.DeclarePLSQLTable("table", 7, 0);
  original.SQL()->SetText("select :int from dual");
  TMemoryStream stream;
  WriteComponent(stream, original);

  TOracleQuery copy(nullptr);
  stream.SetPosition(0);
  ReadComponent(stream, copy);

  ASSERT_EQ(original.VariableCount(), copy.VariableCount());
  for (int i = 0; i < original.VariableCount(); ++i) {
    EXPECT_EQ(original.VariableName(i), copy.VariableName(i));
    EXPECT_EQ(original.VariableType(i), copy.VariableType(i));
  }
  EXPECT_EQ("emp", copy.GetVariable("subst").AsString());
  EXPECT_EQ(-7, copy.GetVariable("int").AsInteger());
  EXPECT_EQ(1.25, copy.GetVariable("float").AsFloat());
  EXPECT_EQ("text", copy.GetVariable("string").AsString());
  EXPECT_EQ(std::string(70000, 'L'), copy.GetVariable("long").AsString());
  EXPECT_EQ(std::string(20000, 'p'), copy.GetVariable("plsql").AsString());
  EXPECT_DOUBLE_EQ(when, copy.GetVariable("date").AsDateTime());
  EXPECT_EQ((std::vector<uint8_t>{0, 9, 0}), copy.GetVariable("raw").Bytes());
  EXPECT_EQ("c", copy.GetVariable("char").AsString());
  EXPECT_EQ(0, copy.GetVariable("cursor").AsInt64());
  EXPECT_TRUE(copy.GetVariable("empty").IsEmpty());
  EXPECT_EQ(7, copy.Variables()->Find("table")->ElementCount());
  EXPECT_TRUE(copy.Variables()->Find("table")->IsPLSQLTable());
  EXPECT_EQ("select :int from dual", copy.SQL()->Strings(0));
  EXPECT_EQ(Saved(original), Saved(copy));
}

TEST(VariableStreamTest, AnEmptyListIsNotStoredWithoutAnAncestor) {
  TOracleQuery query(nullptr);
  query.SetName("Query1");
  TMemoryStream withNone;
  WriteComponent(withNone, query);
  query.DeclareVariable("x", otInteger);
  TMemoryStream withOne;
  WriteComponent(withOne, query);

  const auto contains = [](const TMemoryStream& stream, const std::string& text) {
    const auto& bytes = stream.Bytes();
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
  };
  EXPECT_FALSE(contains(withNone, "Variables.Data"));
  EXPECT_TRUE(contains(withOne, "Variables.Data"));
}

TEST(VariableStreamTest, VersionOneStreamsCarryNamesAndTypes) {
  TOracleQuery query;
  Load(query, Bytes().Int(1).Int(2).Int(2).Text(":A").Int(3).Int(2).Text(":B").Int(12).Get());
  ASSERT_EQ(2, query.VariableCount());
  EXPECT_EQ(otDate, query.VariableType(1));
}

TEST(VariableStreamTest, ANewerVersionIsRefusedAndTheListLeftEmpty) {
  TOracleQuery query;
  query.DeclareVariable("old", otInteger);
  EXPECT_EQ("Invalid version of Query variables",
            ErrorOf([&] { Load(query, Bytes().Int(4).Int(0).Get()); }));
  EXPECT_EQ(0, query.VariableCount());
}

// Each damaged stream is refused with the same message, leaving no
// variable behind.
TEST(VariableStreamTest, DamagedStreamsAreRefusedAndLeaveNothing) {
  const std::vector<std::vector<uint8_t>> damaged{
      Bytes().Get(),                                    // nothing
      Bytes().Int(3).Get(),                             // no count
      Bytes().Int(3).Int(-1).Get(),                     // negative count
      Bytes().Int(3).Int(1).Int(200).Text(":A").Get(),  // name past the end
      Bytes().Int(3).Int(1).Int(-2).Get(),              // negative name length
      Bytes().Int(3).Int(1).Int(2).Text(":A").Int(3).Int(8).Int(1).Int(2).Get(),  // data > buffer
      Bytes().Int(3).Int(1).Int(2).Text(":A").Int(5).Int(3).Text("abc").Int(0).Get(),  // no zero
      Bytes().Int(3).Int(1).Int(2).Text(":A").Int(3).Int(4).Raw({1, 2}).Get(),         // truncated
      Bytes().Int(3).Int(1).Int(2).Text(":A").Int(2).Int(0).Int(0).Get(),  // unknown type
      Bytes().Int(3).Int(1).Int(0).Int(3).Int(0).Int(0).Get(),             // empty name
      Bytes().Int(3).Int(1).Int(2).Text(":A").Int(3).Int(0).Int(1).Int(-5).Int(0).Get(),  // table
      Bytes().Int(3).Int(1).Int(2).Text(":A").Int(8).Int(0).Int(1).Int(2).Int(0).Get(),   // long
                                                                                          // table
      Bytes()
          .Int(3)
          .Int(1)
          .Int(2)
          .Text(":A")
          .Int(12)
          .Int(7)
          .Raw({1, 1, 1, 1, 1, 1, 1})
          .Int(0)
          .Get(),
      Bytes().Int(3).Int(1).Int(2).Text(":A").Int(116).Int(4).Int(1).Int(0).Get(),  // complex data
      Bytes().Int(0).Int(0).Get(),                                                  // version 0
  };
  for (size_t i = 0; i < damaged.size(); ++i) {
    TOracleQuery query;
    query.DeclareVariable("old", otInteger);
    EXPECT_EQ("Invalid stream of Query variables", ErrorOf([&] { Load(query, damaged[i]); }))
        << "stream " << i;
    EXPECT_EQ(0, query.VariableCount()) << "stream " << i;
  }
}

TEST(VariableStreamTest, AssigningVariablesCopiesArraysAndValues) {
  TOracleQuery from;
  TOracleQuery target;
  from.DeclareVariable("n", otInteger);
  from.SetVariable("n", VarArrayOf({1, 2, 3}));
  from.DeclareVariable("c", otCursor);
  from.SetComplexVariable("c", &target);

  TOracleQuery to;
  to.SetVariables(from.Variables());

  EXPECT_EQ(3, to.GetVariable("n").GetElement(2).AsInteger());
  EXPECT_EQ(reinterpret_cast<intptr_t>(&target), to.GetVariable("c").AsInt64());
}

}  // namespace
}  // namespace vorn::query_test
