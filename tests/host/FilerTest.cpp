// Component streams: round trips of binary and value properties, nested
// persistents and owned components, the state flags while streaming, and
// malformed input.
#include "vorn/host/Filer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "vorn/host/Component.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/host/StringList.h"

namespace vorn {
namespace {

using Bytes = std::vector<uint8_t>;

TStreamProc ReadAll(Bytes& target) {
  return [&target](TStream& stream) {
    target.resize(static_cast<size_t>(stream.Size()));
    stream.ReadBuffer(target.data(), static_cast<int64_t>(target.size()));
  };
}

TStreamProc WriteAll(const Bytes& source) {
  return [&source](TStream& stream) {
    stream.WriteBuffer(source.data(), static_cast<int64_t>(source.size()));
  };
}

std::vector<std::string>* gLoadOrder = nullptr;

// A component with the kinds of stored properties the library uses.
class TStored : public TComponent {
  VORN_CLASS(TStored, TComponent)
  using TComponent::TComponent;

  Bytes data;
  Bytes definition;
  int32_t rows = 0;
  int64_t big = 0;
  double ratio = 0;
  bool flag = false;
  TDateTime when = 0;
  std::string title;
  std::vector<std::string> names;
  TStringList sql;
  TStringList* sqlAncestor = nullptr;

  TComponentState stateWhileReading = csNone;
  TComponentState stateWhileWriting = csNone;
  TComponentState stateAtLoaded = csNone;
  int loadedCalls = 0;

 protected:
  void DefineProperties(TFiler& filer) override {
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty("Data", ReadAll(data), WriteAll(data), !data.empty());
    filer.DefineBinaryProperty("QBEDefinition", ReadAll(definition), WriteAll(definition),
                               !definition.empty());
    filer.DefineProperty(
        "Values",
        [this](TReader& reader) {
          stateWhileReading = ComponentState();
          rows = reader.ReadInteger();
          big = reader.ReadInt64();
          ratio = reader.ReadFloat();
          flag = reader.ReadBoolean();
          when = reader.ReadDate();
          title = reader.ReadString();
          names.clear();
          reader.ReadListBegin();
          while (!reader.EndOfList())
            names.push_back(reader.ReadString());
          reader.ReadListEnd();
        },
        [this](TWriter& writer) {
          stateWhileWriting = ComponentState();
          writer.WriteInteger(rows);
          writer.WriteInteger(big);
          writer.WriteFloat(ratio);
          writer.WriteBoolean(flag);
          writer.WriteDate(when);
          writer.WriteString(title);
          writer.WriteListBegin();
          for (const std::string& name : names)
            writer.WriteString(name);
          writer.WriteListEnd();
        },
        rows != 0);
    filer.DefinePersistent("SQL", sql, sqlAncestor);
  }

  void Loaded() override {
    stateAtLoaded = ComponentState();
    TComponent::Loaded();
    ++loadedCalls;
    if (gLoadOrder) gLoadOrder->push_back(Name());
  }
};

Bytes Stream(TComponent& component) {
  TMemoryStream stream;
  WriteComponent(stream, component);
  return stream.Bytes();
}

void Load(const Bytes& bytes, TComponent& component) {
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  ReadComponent(stream, component);
}

std::string ReadErrorOf(const Bytes& bytes, TComponent& component) {
  try {
    Load(bytes, component);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "no error";
}

// A filled-in source: a root with two binary properties, values, SQL text
// and a named child with its own data.
struct Sample {
  TStored root{nullptr};
  TStored* child = new TStored(&root);
  Sample() {
    root.SetName("Form1");
    root.data = {1, 2, 3, 0, 255};
    root.definition = {9};
    root.rows = 3;
    root.big = -(1LL << 40);
    root.ratio = 0.1;
    root.flag = true;
    root.when = -1.25;
    root.title = std::string("t\0x", 3);
    root.names = {"A", "", "C"};
    root.sql.SetText("select *\nfrom dual");
    child->SetName("Query1");
    child->data = Bytes(1000, 7);
  }
};

// A matching empty target.
struct Target {
  TStored root{nullptr};
  TStored* child = new TStored(&root);
  Target() { child->SetName("QUERY1"); }
};

TEST(FilerTest, RoundTripRestoresEveryProperty) {
  Sample sample;
  Target target;
  Load(Stream(sample.root), target.root);
  EXPECT_EQ(target.root.data, sample.root.data);
  EXPECT_EQ(target.root.definition, sample.root.definition);
  EXPECT_EQ(target.root.rows, 3);
  EXPECT_EQ(target.root.big, -(1LL << 40));
  EXPECT_EQ(target.root.ratio, 0.1);
  EXPECT_TRUE(target.root.flag);
  EXPECT_EQ(target.root.when, -1.25);
  EXPECT_EQ(target.root.title, std::string("t\0x", 3));
  EXPECT_EQ(target.root.names, (std::vector<std::string>{"A", "", "C"}));
  EXPECT_EQ(target.root.sql.Text(), "select *\r\nfrom dual\r\n");
  EXPECT_EQ(target.child->data, Bytes(1000, 7));
  EXPECT_EQ(target.child->rows, 0);
  EXPECT_EQ(target.root.Name(), "");  // names are not taken from the stream
}

TEST(FilerTest, PropertiesWithoutDataAreNotStored) {
  TStored empty(nullptr);
  Bytes bytes = Stream(empty);
  std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(text.find("Data"), std::string::npos);
  EXPECT_EQ(text.find("SQL.Strings"), std::string::npos);
  TStored target(nullptr);
  target.rows = 5;
  target.data = {4};
  Load(bytes, target);
  EXPECT_EQ(target.rows, 5);
  EXPECT_EQ(target.data, Bytes{4});
}

TEST(FilerTest, AncestorDecidesWhetherStringsAreStored) {
  TStringList ancestor;
  ancestor.SetText("select 1 from dual");
  TStored same(nullptr);
  same.sql.SetText("select 1 from dual");
  same.sqlAncestor = &ancestor;
  Bytes bytes = Stream(same);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("SQL.Strings"), std::string::npos);
  same.sql.Clear();  // differs from the ancestor now, so even empty is stored
  bytes = Stream(same);
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("SQL.Strings"), std::string::npos);
}

TEST(FilerTest, StateFlagsWhileStreaming) {
  Sample sample;
  Bytes bytes = Stream(sample.root);
  EXPECT_TRUE(sample.root.stateWhileWriting & csWriting);
  EXPECT_FALSE(sample.root.ComponentState() & csWriting);
  EXPECT_FALSE(sample.child->ComponentState() & csWriting);

  Target target;
  std::vector<std::string> order;
  gLoadOrder = &order;
  target.root.SetName("Root");
  Load(bytes, target.root);
  gLoadOrder = nullptr;
  EXPECT_EQ(target.root.stateWhileReading, csLoading | csReading);
  EXPECT_EQ(target.root.stateAtLoaded, csLoading);
  EXPECT_EQ(target.root.ComponentState(), csNone);
  EXPECT_EQ(target.child->ComponentState(), csNone);
  EXPECT_EQ(target.root.loadedCalls, 1);
  EXPECT_EQ(target.child->loadedCalls, 1);
  EXPECT_EQ(order, (std::vector<std::string>{"Root", "QUERY1"}));
}

TEST(FilerTest, EveryTruncationIsAReadError) {
  Sample sample;
  Bytes bytes = Stream(sample.root);
  for (size_t length = 0; length < bytes.size(); ++length) {
    Target target;
    Bytes cut(bytes.begin(), bytes.begin() + length);
    std::string message = ReadErrorOf(cut, target.root);
    EXPECT_TRUE(message == "Stream read error" || message == "Invalid stream format")
        << length << ": " << message;
    EXPECT_EQ(target.root.ComponentState(), csNone);
    EXPECT_EQ(target.child->ComponentState(), csNone);
    EXPECT_EQ(target.root.loadedCalls, 0);
  }
}

TEST(FilerTest, GarbageNeverCrashes) {
  Sample sample;
  Bytes valid = Stream(sample.root);
  std::mt19937 random(1234);
  for (int round = 0; round < 500; ++round) {
    Bytes bytes = valid;
    int flips = 1 + round % 8;
    for (int i = 0; i < flips; ++i) {
      bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
    }
    Target target;
    try {
      Load(bytes, target.root);
    } catch (const EReadError&) {
    }
    EXPECT_EQ(target.root.ComponentState() & (csLoading | csReading), csNone);
  }
  Target target;
  EXPECT_EQ(ReadErrorOf({'T', 'P', 'F', '0'}, target.root), "Invalid stream format");
  EXPECT_EQ(ReadErrorOf({}, target.root), "Invalid stream format");
}

TEST(FilerTest, UnknownNamesAreReported) {
  Sample sample;
  Bytes bytes = Stream(sample.root);
  TStored lonely(nullptr);  // has no Query1
  EXPECT_EQ(ReadErrorOf(bytes, lonely), "Component Query1 does not exist");

  class TOther : public TComponent {
   public:
    using TComponent::TComponent;
  } other(nullptr);
  EXPECT_EQ(ReadErrorOf(bytes, other), "Property Data does not exist");
}

TEST(FilerTest, MismatchedValuesAreInvalid) {
  // The writer stores a string where the reader expects an integer.
  class TWrites : public TComponent {
   public:
    using TComponent::TComponent;
    void DefineProperties(TFiler& filer) override {
      filer.DefineProperty(
          "P", nullptr, [](TWriter& w) { w.WriteString("x"); }, true);
      filer.DefineProperty(
          "Big", nullptr, [](TWriter& w) { w.WriteInteger(1LL << 33); }, true);
    }
  } writes(nullptr);
  class TReads : public TComponent {
   public:
    using TComponent::TComponent;
    std::string which;
    void DefineProperties(TFiler& filer) override {
      filer.DefineProperty(
          "P", [](TReader& r) { r.ReadInteger(); }, nullptr, false);
      filer.DefineBinaryProperty(
          "Big", [](TStream&) {}, nullptr, false);
    }
  } reads(nullptr);
  EXPECT_EQ(ReadErrorOf(Stream(writes), reads), "Invalid property value");
}

TEST(FilerTest, ReadingPastAPropertyFails) {
  class TGreedy : public TComponent {
   public:
    using TComponent::TComponent;
    void DefineProperties(TFiler& filer) override {
      filer.DefineBinaryProperty(
          "Data",
          [](TStream& s) {
            char buffer[8];
            s.ReadBuffer(buffer, 8);
          },
          [](TStream& s) { s.WriteBuffer("abc", 3); }, true);
    }
  } greedy(nullptr);
  Bytes bytes = Stream(greedy);
  EXPECT_EQ(ReadErrorOf(bytes, greedy), "Stream read error");
}

TEST(FilerTest, ValuesOutsideAPropertyAreRefused) {
  TMemoryStream stream;
  TWriter writer(stream);
  EXPECT_THROW(writer.WriteInteger(1), EWriteError);
  TReader reader(stream);
  EXPECT_THROW(reader.ReadString(), EReadError);
}

}  // namespace
}  // namespace vorn
