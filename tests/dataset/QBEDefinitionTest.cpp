// The query-by-example definition on its own: field definitions found by
// name, copies, the stream format in its versions 1 and 2 and the streams
// it refuses, and when a form stores it.
#include "vorn/dataset/QBEDefinition.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"

namespace vorn {
namespace {

using Bytes = std::vector<uint8_t>;

void PutInt(Bytes& bytes, int32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

void PutDef(Bytes& bytes, const std::string& name, std::vector<uint8_t> flags) {
  PutInt(bytes, static_cast<int32_t>(name.size()));
  bytes.insert(bytes.end(), name.begin(), name.end());
  bytes.insert(bytes.end(), flags.begin(), flags.end());
}

// Reads `bytes` into `definition`; the message of the EReadError, or "".
std::string Read(TQBEDefinition& definition, const Bytes& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  try {
    definition.ReadFieldDefs(stream);
  } catch (const EReadError& error) {
    return error.Message();
  }
  return "";
}

Bytes Written(const TQBEDefinition& definition) {
  TMemoryStream stream;
  definition.WriteFieldDefs(stream);
  return stream.Bytes();
}

// The stored properties of `definition` as a form writes them, with
// `ancestor` as the ancestor form's definition.
Bytes Stored(TQBEDefinition& definition, TQBEDefinition* ancestor) {
  TMemoryStream stream;
  TWriter writer(stream);
  writer.DefinePersistent("QBEDefinition", definition, ancestor);
  return stream.Bytes();
}

TQBEFieldDef* AddDef(TQBEDefinition& definition, const std::string& name) {
  TQBEFieldDef* def = definition.FieldDefs()->Add();
  def->SetFieldName(name);
  return def;
}

TEST(QBEDefinitionTest, ANewDefinitionKeepsValuesAndAllowsFileWildCardsWithoutFieldDefs) {
  TQBEDefinition definition(nullptr);

  EXPECT_TRUE(definition.SaveQBEValues());
  EXPECT_TRUE(definition.AllowFileWildCards());
  EXPECT_EQ(0, definition.FieldDefs()->Count());
  TQBEFieldDef* def = AddDef(definition, "ENAME");
  EXPECT_TRUE(def->Enabled());
  EXPECT_FALSE(def->PartialMatch());
  EXPECT_FALSE(def->CaseInsensitive());
  EXPECT_FALSE(def->WholeDay());
}

TEST(QBEDefinitionTest, AFieldDefIsFoundByNameIgnoringCase) {
  TQBEDefinition definition(nullptr);
  TQBEFieldDef* ename = AddDef(definition, "Ename");
  AddDef(definition, "JOB");

  EXPECT_EQ(ename, definition.FindFieldDef("ENAME"));
  EXPECT_EQ(ename, definition.FindFieldDef("ename"));
  EXPECT_EQ(nullptr, definition.FindFieldDef("SAL"));
}

TEST(QBEDefinitionTest, AssignCopiesTheSettingsAndEveryFieldDef) {
  TQBEDefinition source(nullptr);
  source.SetSaveQBEValues(false);
  AddDef(source, "HIREDATE")->SetWholeDay(true);
  AddDef(source, "ENAME")->SetCaseInsensitive(true);
  TQBEDefinition copy(nullptr);
  AddDef(copy, "OLD");

  copy.Assign(&source);

  EXPECT_FALSE(copy.SaveQBEValues());
  EXPECT_TRUE(copy.SameFieldDefs(source));
  ASSERT_EQ(2, copy.FieldDefs()->Count());
  EXPECT_TRUE(copy.FieldDefs()->Items(0)->WholeDay());
  EXPECT_EQ("ENAME", copy.FieldDefs()->Items(1)->FieldName());
}

TEST(QBEDefinitionTest, TheStreamIsVersion2WithOneFlagByteEach) {
  TQBEDefinition definition(nullptr);
  TQBEFieldDef* ename = AddDef(definition, "ENAME");
  ename->SetPartialMatch(true);
  ename->SetCaseInsensitive(true);
  TQBEFieldDef* hiredate = AddDef(definition, "HIREDATE");
  hiredate->SetEnabled(false);
  hiredate->SetWholeDay(true);
  Bytes expected;
  PutInt(expected, 2);
  PutInt(expected, 2);
  PutDef(expected, "ENAME", {1, 1, 1, 0});
  PutDef(expected, "HIREDATE", {0, 0, 0, 1});

  EXPECT_EQ(expected, Written(definition));
  TQBEDefinition read(nullptr);
  EXPECT_EQ("", Read(read, expected));
  EXPECT_TRUE(read.SameFieldDefs(definition));
}

TEST(QBEDefinitionTest, AVersion1StreamHasNoWholeDayByte) {
  Bytes bytes;
  PutInt(bytes, 1);
  PutInt(bytes, 2);
  PutDef(bytes, "ENAME", {1, 1, 0});
  PutDef(bytes, "JOB", {0, 0, 1});
  TQBEDefinition definition(nullptr);

  EXPECT_EQ("", Read(definition, bytes));

  ASSERT_EQ(2, definition.FieldDefs()->Count());
  const TQBEFieldDef& ename = *definition.FieldDefs()->Items(0);
  EXPECT_TRUE(ename.Enabled());
  EXPECT_TRUE(ename.PartialMatch());
  EXPECT_FALSE(ename.CaseInsensitive());
  EXPECT_FALSE(ename.WholeDay());
  const TQBEFieldDef& job = *definition.FieldDefs()->Items(1);
  EXPECT_EQ("JOB", job.FieldName());
  EXPECT_FALSE(job.Enabled());
  EXPECT_TRUE(job.CaseInsensitive());
}

TEST(QBEDefinitionTest, ReadingReplacesTheFieldDefs) {
  TQBEDefinition definition(nullptr);
  AddDef(definition, "OLD");
  Bytes bytes;
  PutInt(bytes, 2);
  PutInt(bytes, 0);

  EXPECT_EQ("", Read(definition, bytes));

  EXPECT_EQ(0, definition.FieldDefs()->Count());
}

TEST(QBEDefinitionTest, AVersionOtherThan1Or2IsRefusedAndChangesNothing) {
  TQBEDefinition definition(nullptr);
  AddDef(definition, "KEPT");
  for (int32_t version : {3, 0, -1}) {
    Bytes bytes;
    PutInt(bytes, version);
    PutInt(bytes, 0);

    EXPECT_EQ("Invalid version of QBEDefinition", Read(definition, bytes)) << version;
  }
  ASSERT_EQ(1, definition.FieldDefs()->Count());
  EXPECT_EQ("KEPT", definition.FieldDefs()->Items(0)->FieldName());
}

TEST(QBEDefinitionTest, ADamagedStreamIsRefusedAndChangesNothing) {
  Bytes whole;
  PutInt(whole, 2);
  PutInt(whole, 1);
  PutDef(whole, "ENAME", {1, 0, 0, 0});
  Bytes hugeCount;
  PutInt(hugeCount, 2);
  PutInt(hugeCount, 0x7fffffff);
  Bytes negativeLength;
  PutInt(negativeLength, 2);
  PutInt(negativeLength, 1);
  PutInt(negativeLength, -5);
  Bytes trailing = whole;
  trailing.push_back(0);
  std::vector<Bytes> damaged{hugeCount, negativeLength, trailing, Bytes{2, 0}};
  for (size_t cut = 0; cut < whole.size(); ++cut)
    damaged.emplace_back(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
  TQBEDefinition definition(nullptr);
  AddDef(definition, "KEPT");

  for (const Bytes& bytes : damaged) {
    EXPECT_EQ("Invalid stream of QBEDefinition", Read(definition, bytes))
        << bytes.size() << " bytes";
  }
  ASSERT_EQ(1, definition.FieldDefs()->Count());
  EXPECT_EQ("KEPT", definition.FieldDefs()->Items(0)->FieldName());
}

TEST(QBEDefinitionTest, AFlagByteOtherThan0Or1CountsAsTrue) {
  Bytes bytes;
  PutInt(bytes, 2);
  PutInt(bytes, 1);
  PutDef(bytes, "X", {0, 2, 255, 0});
  TQBEDefinition definition(nullptr);

  EXPECT_EQ("", Read(definition, bytes));

  EXPECT_TRUE(definition.FieldDefs()->Items(0)->PartialMatch());
  EXPECT_TRUE(definition.FieldDefs()->Items(0)->CaseInsensitive());
}

TEST(QBEDefinitionTest, WithoutAnAncestorTheFieldDefsAreStoredWhenThereAreAny) {
  TQBEDefinition definition(nullptr);
  EXPECT_TRUE(Stored(definition, nullptr).empty());

  AddDef(definition, "ENAME");

  EXPECT_FALSE(Stored(definition, nullptr).empty());
}

TEST(QBEDefinitionTest, WithAnAncestorTheFieldDefsAreStoredWhenTheyDiffer) {
  TQBEDefinition ancestor(nullptr);
  AddDef(ancestor, "ENAME");
  TQBEDefinition definition(nullptr);
  AddDef(definition, "ENAME");
  EXPECT_TRUE(Stored(definition, &ancestor).empty());

  definition.FieldDefs()->Items(0)->SetWholeDay(true);
  EXPECT_FALSE(Stored(definition, &ancestor).empty());
  definition.FieldDefs()->Items(0)->SetWholeDay(false);
  definition.FieldDefs()->Items(0)->SetFieldName("Ename");
  EXPECT_FALSE(Stored(definition, &ancestor).empty()) << "a name as written differs";
  definition.FieldDefs()->Clear();
  EXPECT_FALSE(Stored(definition, &ancestor).empty()) << "fewer definitions differ";
}

TEST(QBEDefinitionTest, ADataSetStoresItsDefinitionWithTheForm) {
  TOracleDataSet stored;
  stored.SetName("Emp");
  AddDef(*stored.QBEDefinition(), "HIREDATE")->SetWholeDay(true);
  AddDef(*stored.QBEDefinition(), "ENAME")->SetEnabled(false);
  TMemoryStream form;
  WriteComponent(form, stored);
  TOracleDataSet read;
  read.SetName("Emp");

  form.SetPosition(0);
  ReadComponent(form, read);

  EXPECT_TRUE(read.QBEDefinition()->SameFieldDefs(*stored.QBEDefinition()));
}

}  // namespace
}  // namespace vorn
