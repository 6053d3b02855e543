// Objects and REFs: the attribute layout of TOracleObject against the
// structures Oracle's C mapping declares and against the client's own
// attribute calls, object and REF columns fetched row by row with their
// wrappers re-pointed, attributes read and written by name, and objects and
// REFs bound as variables.
#include <gtest/gtest.h>

#include <cstddef>

#include "QueryTestSupport.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/LobLocator.h"
#include "vorn/query/OracleObject.h"
#include "vorn/query/OracleReference.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"

namespace vorn::query_test {
namespace {

using namespace client;

// ADDRESS_T and PERSON_T as a program declares them for the client.
struct Address {
  OCIString* street;
  OCINumber zip;
};
struct Person {
  OCIString* name;
  OCIDate born;
  Address addr;
  OCIRef* boss;
};

class ObjectsTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    Run("create type address_t as object (street varchar2(30), zip number(5))");
    Run("create type person_t as object (name varchar2(20), born date, addr address_t, "
        "boss ref person_t)");
    Run("create type phones_t as varray(3) of varchar2(15)");
    Run("create table people of person_t (name primary key)");
    Run("insert into people values (person_t('Ann', to_date('1970-05-17', 'yyyy-mm-dd'), "
        "address_t('Main St', 12345), null))");
    Run("insert into people values (person_t('Bob', null, null, null))");
    Run("update people p set p.boss = (select ref(b) from people b where b.name = 'Ann') "
        "where p.name = 'Bob'");
    Run("create table contacts (id number(5), who person_t, phones phones_t, "
        "lead ref person_t scope is people)");
    Run("insert into contacts values (1, person_t('Cy', null, address_t('Elm Rd', 500), null), "
        "phones_t('555-1', '555-2'), (select ref(p) from people p where p.name = 'Ann'))");
    Run("insert into contacts values (2, null, null, null)");
    Run("insert into contacts values (3, person_t('Di', null, null, null), phones_t(), "
        "(select ref(p) from people p where p.name = 'Bob'))");
  }

  // The address of attribute `name` of an instance as the client's own
  // attribute call gives it.
  const void* ClientAttribute(TOracleObject& object, const std::string& path) {
    std::vector<std::string> names;
    for (size_t from = 0;;) {
      const size_t point = path.find('.', from);
      names.push_back(path.substr(from, point - from));
      if (point == std::string::npos) break;
      from = point + 1;
    }
    std::vector<const OraText*> texts;
    std::vector<ub4> lengths;
    for (const std::string& name : names) {
      texts.push_back(reinterpret_cast<const OraText*>(name.data()));
      lengths.push_back(static_cast<ub4>(name.size()));
    }
    OCIInd status = 0;
    void* nulls = nullptr;
    void* value = nullptr;
    OCIType* type = nullptr;
    OCIError* error = nullptr;
    Oci8().OCIHandleAlloc(session_->EnvironmentHandle(), reinterpret_cast<void**>(&error),
                          OCI_HTYPE_ERROR, 0, nullptr);
    const sword result = Oci8().OCIObjectGetAttr(
        session_->EnvironmentHandle(), error, object.Instance(), object.NullStructure(),
        object.TypeDescriptor(), texts.data(), lengths.data(), static_cast<ub4>(texts.size()),
        nullptr, 0, &status, &nulls, &value, &type);
    Oci8().OCIHandleFree(error, OCI_HTYPE_ERROR);
    EXPECT_EQ(OCI_SUCCESS, result) << path;
    return value;
  }

  int OffsetOf(TOracleObject& object, const std::string& path) {
    return static_cast<int>(static_cast<const char*>(ClientAttribute(object, path)) -
                            static_cast<const char*>(object.Instance()));
  }
};
INSTANTIATE_TEST_SUITE_P(Version8, ObjectsTest, ::testing::Values(CallSet::OCI8), CallSetName);

// --- Layout ---

TEST_P(ObjectsTest, NumberVarchar2AndDateLieAt0_24_32WithIndicatorsAt2_4_6) {
  Run("create type part_t as object (n number, s varchar2(10), d date)");

  TOracleObject part(session_.get(), "part_t");

  ASSERT_EQ(3, part.AttrCount());
  EXPECT_EQ("SCOTT.PART_T", part.TypeName());
  const std::vector<std::string> names{"N", "S", "D"};
  const std::vector<int> values{0, 24, 32};
  const std::vector<int> nulls{2, 4, 6};
  const std::vector<int> buffers{otFloat, otString, otDate};
  for (int i = 0; i < 3; ++i) {
    const TObjectAttribute& attribute = *part.Attrs(i);
    EXPECT_EQ(names[static_cast<size_t>(i)], attribute.Name());
    EXPECT_EQ(values[static_cast<size_t>(i)], attribute.ValueOffset()) << attribute.Name();
    EXPECT_EQ(nulls[static_cast<size_t>(i)], attribute.NullOffset()) << attribute.Name();
    EXPECT_EQ(buffers[static_cast<size_t>(i)], attribute.BufferType()) << attribute.Name();
    EXPECT_EQ(attribute.ValueOffset(), OffsetOf(part, attribute.Name()));
  }
  EXPECT_EQ(8, part.NullStructureSize());
}

TEST_P(ObjectsTest, AnEmbeddedObjectLiesInlineAsTheCMappingDeclaresIt) {
  TOracleObject person(session_.get(), "person_t");

  std::vector<std::string> names;
  for (int i = 0; i < person.AttrCount(); ++i)
    names.push_back(person.Attrs(i)->Name());
  EXPECT_EQ((std::vector<std::string>{"NAME", "BORN", "ADDR", "ADDR.STREET", "ADDR.ZIP", "BOSS"}),
            names);
  EXPECT_EQ(static_cast<int>(offsetof(Person, born)), person.FindAttr("born")->ValueOffset());
  EXPECT_EQ(static_cast<int>(offsetof(Person, addr)), person.FindAttr("ADDR")->ValueOffset());
  EXPECT_EQ(static_cast<int>(offsetof(Person, addr) + offsetof(Address, zip)),
            person.FindAttr("ADDR.ZIP")->ValueOffset());
  EXPECT_EQ(static_cast<int>(offsetof(Person, boss)), person.FindAttr("BOSS")->ValueOffset());
  for (const char* name : {"NAME", "BORN", "ADDR.STREET", "ADDR.ZIP", "BOSS"})
    EXPECT_EQ(person.FindAttr(name)->ValueOffset(), OffsetOf(person, name)) << name;
  std::vector<int> nulls;
  for (int i = 0; i < person.AttrCount(); ++i)
    nulls.push_back(person.Attrs(i)->NullOffset());
  EXPECT_EQ((std::vector<int>{2, 4, 6, 8, 10, 12}), nulls);
  EXPECT_EQ(otObject, person.FindAttr("ADDR")->DataType());
  EXPECT_EQ("SCOTT.ADDRESS_T", person.FindAttr("ADDR")->TypeName());
  EXPECT_EQ(otReference, person.FindAttr("BOSS")->BufferType());
  EXPECT_EQ(otInteger, person.FindAttr("ADDR.ZIP")->BufferType());
}

// --- Object columns ---

TEST_P(ObjectsTest, AnObjectColumnsWrapperFollowsTheRowsAcrossBatches) {
  auto query = NewQuery("select id, who from contacts order by id");
  query->SetReadBuffer(2);

  query->Execute();

  EXPECT_EQ(otObject, query->FieldType(1));
  TOracleObject* who = query->ObjectField(1);
  ASSERT_NE(nullptr, who);
  EXPECT_EQ("SCOTT.PERSON_T", who->TypeName());
  EXPECT_EQ("Cy", who->GetAttr("name").AsString());
  EXPECT_EQ(500, who->GetAttr("addr.zip").AsInteger());
  EXPECT_EQ("Elm Rd", who->GetAttr("ADDR.STREET").AsString());
  EXPECT_TRUE(who->GetAttr("born").IsEmpty());
  EXPECT_FALSE(query->FieldIsNull(1));
  query->Next();
  EXPECT_EQ(who, query->ObjectField(1));
  EXPECT_TRUE(query->FieldIsNull(1));
  EXPECT_TRUE(who->IsNull());
  EXPECT_TRUE(who->GetAttr("name").IsEmpty());
  query->Next();
  EXPECT_EQ(3, query->FieldAsInteger(0));
  EXPECT_FALSE(query->FieldIsNull(1));
  EXPECT_EQ("Di", who->GetAttr("name").AsString());
  EXPECT_TRUE(who->AttrIsNull("addr.zip"));
  EXPECT_TRUE(query->Field(1).IsEmpty());
  query->Next();
  EXPECT_TRUE(query->Eof());
}

TEST_P(ObjectsTest, EveryFetchIntoTheSameSlotReplacesTheWholeValue) {
  auto query = NewQuery("select id, who, lead from contacts order by id desc");
  query->SetReadBuffer(1);
  std::vector<std::string> rows;

  for (query->Execute(); !query->Eof(); query->Next()) {
    TOracleObject& who = *query->ObjectField(1);
    TOracleReference& lead = *query->ReferenceField(2);
    rows.push_back(
        query->FieldAsString(0) + "|" + (who.IsNull() ? "null" : "object") + "|" +
        (who.IsNull() ? "" : who.GetAttr("NAME").AsString()) + "|" +
        (who.IsNull() || who.AttrIsNull("ADDR.ZIP") ? "" : who.GetAttr("ADDR.ZIP").AsString()) +
        "|" + (lead.IsNull() ? "null" : "ref"));
  }

  EXPECT_EQ((std::vector<std::string>{"3|object|Di||ref", "2|null|||null", "1|object|Cy|500|ref"}),
            rows);
}

TEST_P(ObjectsTest, AnObjectQueryExecutedAgainReadsTheNewRows) {
  auto query = NewQuery("select who from contacts where id = :id");
  query->DeclareVariable("id", otInteger);
  query->SetVariable("id", 1);
  query->Execute();
  ASSERT_EQ("Cy", query->ObjectField(0)->GetAttr("NAME").AsString());

  query->SetVariable("id", 3);
  query->Execute();

  EXPECT_EQ("Di", query->ObjectField(0)->GetAttr("NAME").AsString());
  EXPECT_TRUE(query->ObjectField(0)->AttrIsNull("ADDR.STREET"));
}

TEST_P(ObjectsTest, DescribingAnObjectColumnNamesItsType) {
  auto query = NewQuery("select id, who, lead from contacts");

  query->Describe();

  EXPECT_EQ(otObject, query->FieldType(1));
  EXPECT_EQ(otReference, query->FieldType(2));
  EXPECT_EQ("SCOTT.PERSON_T", query->FieldData(1)->TypeName());
  EXPECT_EQ(OCI_TYPECODE_OBJECT, query->FieldData(1)->ObjectTypeCode());
  EXPECT_EQ("SCOTT.PERSON_T", query->FieldData(2)->TypeName());
  EXPECT_TRUE(query->Eof());
}

TEST_P(ObjectsTest, AttributesOfEveryKindAreRead) {
  Run("create type sample_t as object (i number(5), f number(8,2), s char(3), d date, "
      "r raw(4), c clob)");
  Run("create table samples (x sample_t)");
  Run("insert into samples values (sample_t(-42, 3.25, 'ab', "
      "to_date('2001-02-03 04:05:06', 'yyyy-mm-dd hh24:mi:ss'), hextoraw('0A0B'), "
      "to_clob('long text')))");
  auto query = NewQuery("select x from samples");
  query->Execute();
  TOracleObject& sample = *query->ObjectField(0);

  EXPECT_EQ(-42, sample.GetAttr("I").AsInteger());
  EXPECT_EQ(varInteger, sample.GetAttr("I").VarType());
  EXPECT_DOUBLE_EQ(3.25, sample.GetAttr("F").AsFloat());
  EXPECT_EQ("ab ", sample.GetAttr("S").AsString());
  EXPECT_DOUBLE_EQ(EncodeDateTime(2001, 2, 3, 4, 5, 6, 0), sample.GetAttr("D").AsFloat());
  EXPECT_EQ((std::vector<uint8_t>{10, 11}), sample.GetAttr("R").Bytes());
  EXPECT_EQ("long text", sample.GetAttr("C").AsString());
}

TEST_P(ObjectsTest, UnknownAttributesAndUnreadableTypesRaise) {
  auto query = NewQuery("select who, phones from contacts where id = 1");
  query->Execute();
  TOracleObject& who = *query->ObjectField(0);

  EXPECT_EQ("Attribute NOPE does not exist", ErrorOf([&] { who.GetAttr("NOPE"); }));
  EXPECT_EQ("Cannot convert attribute BOSS", ErrorOf([&] { who.GetAttr("BOSS"); }));
  EXPECT_EQ("Cannot convert attribute ADDR", ErrorOf([&] { who.GetAttr("ADDR"); }));
  EXPECT_EQ("Field ID is not an Object", ErrorOf([&] {
              auto ids = NewQuery("select id from contacts");
              ids->Describe();
              ids->ObjectField(0);
            }));
}

TEST_P(ObjectsTest, ACollectionColumnsObjectDescribesItsElement) {
  auto query = NewQuery("select phones from contacts order by id");
  query->Execute();

  TOracleObject& phones = *query->ObjectField(0);
  EXPECT_EQ(OCI_TYPECODE_NAMEDCOLLECTION, phones.ObjectTypeCode());
  EXPECT_EQ(247, phones.CollectionTypeCode());
  ASSERT_NE(nullptr, phones.ElementAttribute());
  EXPECT_EQ(otString, phones.ElementAttribute()->BufferType());
  EXPECT_EQ("", phones.ElementAttribute()->Name());
  EXPECT_FALSE(query->FieldIsNull(0));
  query->Next();
  EXPECT_TRUE(query->FieldIsNull(0));
}

TEST_P(ObjectsTest, AThreadedQueryGivesEveryRecordEventItsRowsObjectAndReference) {
  auto query = NewQuery("select id, who, lead from contacts order by id");
  query->SetReadBuffer(2);
  query->SetThreaded(true);
  std::vector<std::string> rows;
  query->SetOnThreadRecord([&rows](TOracleQuery* sender) {
    TOracleObject& who = *sender->ObjectField(1);
    rows.push_back(sender->FieldAsString(0) + ":" +
                   (who.IsNull() ? "-" : who.GetAttr("NAME").AsString()) + ":" +
                   (sender->ReferenceField(2)->IsNull() ? "-" : "ref"));
  });

  query->Execute();
  query->WaitForThread();

  EXPECT_EQ((std::vector<std::string>{"1:Cy:ref", "2:-:-", "3:Di:ref"}), rows);
}

// --- Writing attributes and binding objects ---

TEST_P(ObjectsTest, AnObjectOfANamedTypeIsWrittenByNameAndInserted) {
  Run("create table places (id number(5), at address_t)");
  TOracleObject address(session_.get(), "address_t");
  EXPECT_FALSE(address.IsNull());
  EXPECT_TRUE(address.AttrIsNull("STREET"));
  address.SetAttr("street", "Oak\r\nLane");
  address.SetAttr("zip", 9876);
  auto insert = NewQuery("insert into places values (1, :a)");
  insert->DeclareVariable("a", otObject);
  insert->SetComplexVariable("a", &address);

  insert->Execute();

  EXPECT_EQ((std::vector<std::string>{"Oak\r\nLane|9876"}),
            Rows("select p.at.street, p.at.zip from places p"));
}

TEST_P(ObjectsTest, AColumnsObjectChangedAndBoundWritesItsNewValue) {
  auto select = NewQuery("select who from contacts where id = 3");
  select->Execute();
  TOracleObject& who = *select->ObjectField(0);
  who.SetAttr("ADDR.ZIP", 4242);
  who.SetAttr("BORN", EncodeDate(1999, 12, 31));
  EXPECT_FALSE(who.AttrIsNull("ADDR"));
  auto update = NewQuery("update contacts set who = :w where id = 3");
  update->DeclareVariable("w", otObject);
  update->SetComplexVariable("w", &who);

  update->Execute();

  EXPECT_EQ((std::vector<std::string>{"Di|4242|31.12.1999"}),
            Rows("select c.who.name, c.who.addr.zip, to_char(c.who.born, 'dd.mm.yyyy') "
                 "from contacts c where id = 3"));
}

TEST_P(ObjectsTest, ANullAttributeAndANullObjectAreWritten) {
  Run("create table places (id number(5), at address_t)");
  TOracleObject address(session_.get(), "address_t");
  address.SetAttr("street", "gone");
  address.SetAttr("street", Variant());
  auto insert = NewQuery("insert into places values (:id, :a)");
  insert->DeclareVariable("id", otInteger);
  insert->DeclareVariable("a", otObject);
  insert->SetComplexVariable("a", &address);
  insert->SetVariable("id", 1);
  insert->Execute();
  address.SetNull(true);
  insert->SetVariable("id", 2);

  insert->Execute();

  EXPECT_EQ((std::vector<std::string>{"1||N", "2||Y"}),
            Rows("select id, p.at.street, decode(p.at.zip, null, "
                 "decode(p.at.street, null, nvl2(p.at, 'N', 'Y'))) from places p order by id"));
}

TEST_P(ObjectsTest, AnObjectVariableWithoutObjectRaises) {
  auto insert = NewQuery("insert into contacts (id, who) values (9, :w)");
  insert->DeclareVariable("w", otObject);

  EXPECT_EQ("Object variable :W cannot be nil", ErrorOf([&] { insert->Execute(); }));
}

TEST_P(ObjectsTest, WritingAValueOfTheWrongKindRaises) {
  TOracleObject address(session_.get(), "address_t");

  EXPECT_EQ("Variant conversion error for attribute ZIP",
            ErrorOf([&] { address.SetAttr("ZIP", "not a number"); }));
  EXPECT_TRUE(address.AttrIsNull("ZIP"));
  EXPECT_EQ("Attribute CITY does not exist", ErrorOf([&] { address.SetAttr("CITY", 1); }));
}

// --- REF columns and variables ---

TEST_P(ObjectsTest, AReferenceColumnsWrapperFollowsTheRows) {
  auto query = NewQuery("select id, lead from contacts order by id");
  query->SetReadBuffer(2);
  query->Execute();
  TOracleReference& lead = *query->ReferenceField(1);
  EXPECT_EQ(otReference, query->FieldType(1));
  EXPECT_EQ("SCOTT.PERSON_T", lead.TypeName());

  ASSERT_FALSE(lead.IsNull());
  const std::string ann = lead.Hex();
  query->Next();
  EXPECT_TRUE(query->FieldIsNull(1));
  EXPECT_TRUE(lead.IsNull());
  EXPECT_EQ("", lead.Hex());
  query->Next();
  EXPECT_FALSE(lead.IsNull());
  EXPECT_NE(ann, lead.Hex());
  EXPECT_FALSE(lead.Hex().empty());
  EXPECT_TRUE(query->Field(1).IsEmpty());
}

TEST_P(ObjectsTest, AColumnsReferenceBoundAsAVariableIsStored) {
  auto select = NewQuery("select ref(p) from people p where p.name = 'Bob'");
  select->Execute();
  auto update = NewQuery("update contacts set lead = :r where id = 2");
  update->DeclareVariable("r", otReference);
  update->SetComplexVariable("r", select->ReferenceField(0));

  update->Execute();

  EXPECT_EQ((std::vector<std::string>{"Bob"}),
            Rows("select c.lead.name from contacts c where id = 2"));
}

TEST_P(ObjectsTest, AReferenceFindsRowsByIt) {
  auto select = NewQuery("select ref(p) from people p where p.name = 'Ann'");
  select->Execute();
  TOracleReference ann(session_.get(), "person_t");
  EXPECT_TRUE(ann.IsNull());
  auto find = NewQuery("select id from contacts where lead = :r");
  find->DeclareVariable("r", otReference);
  find->SetComplexVariable("r", select->ReferenceField(0));

  find->Execute();

  EXPECT_EQ(1, find->FieldAsInteger(0));
  find->Next();
  EXPECT_TRUE(find->Eof());
}

TEST_P(ObjectsTest, AReferenceClearedByTheCallerIsBoundAsNull) {
  auto select = NewQuery("select ref(p) from people p where p.name = 'Ann'");
  select->Execute();
  TOracleReference& ann = *select->ReferenceField(0);
  ASSERT_FALSE(ann.IsNull());
  auto update = NewQuery("update contacts set lead = :r where id = 1");
  update->DeclareVariable("r", otReference);
  update->SetComplexVariable("r", &ann);
  ann.Clear();

  update->Execute();

  EXPECT_TRUE(ann.IsNull());
  EXPECT_EQ((std::vector<std::string>{"1"}),
            Rows("select count(*) from contacts where id = 1 and lead is null"));
}

TEST_P(ObjectsTest, AReferenceOfAnUnknownTypeRaises) {
  try {
    TOracleReference unknown(session_.get(), "no_such_t");
    FAIL() << "a REF to no type";
  } catch (const EOracleError& error) {
    EXPECT_NE(0, error.ErrorCode());
  }
}

TEST_P(ObjectsTest, AReferenceVariableWithoutReferenceRaises) {
  auto update = NewQuery("update contacts set lead = :r where id = 2");
  update->DeclareVariable("r", otReference);

  EXPECT_EQ("Reference variable :R cannot be nil", ErrorOf([&] { update->Execute(); }));
}

// --- Sessions ---

TEST_P(ObjectsTest, CreationNeedsALoggedOnSession) {
  auto offline = NewSession();

  EXPECT_EQ("Not logged on", ErrorOf([&] { TOracleObject(offline.get()); }));
  EXPECT_EQ("Not logged on", ErrorOf([&] { TOracleObject(offline.get(), "address_t"); }));
  EXPECT_EQ("Not logged on", ErrorOf([&] { TOracleReference(offline.get(), "person_t"); }));
  EXPECT_EQ("Not logged on", ErrorOf([&] { TOracleObject(nullptr); }));
}

TEST_P(ObjectsTest, AnObjectWithoutInstanceIsNullAndHasNoAttributes) {
  TOracleObject empty(session_.get());

  EXPECT_TRUE(empty.IsNull());
  EXPECT_EQ(0, empty.AttrCount());
  EXPECT_EQ(nullptr, empty.Instance());
  EXPECT_EQ("TOracleObject has no instance", ErrorOf([&] { empty.GetAttr("ZIP"); }));
  EXPECT_EQ("TOracleObject has no instance", ErrorOf([&] { empty.SetAttr("ZIP", 1); }));
}

TEST_P(ObjectsTest, ObjectsAndReferencesOutliveTheirSessionsLogoff) {
  auto object = std::make_unique<TOracleObject>(session_.get(), "address_t");
  auto reference = std::make_unique<TOracleReference>(session_.get(), "person_t");

  session_->LogOff();

  EXPECT_EQ("Not logged on", ErrorOf([&] { object->GetAttr("ZIP"); }));
  EXPECT_EQ("Not logged on", ErrorOf([&] { reference->IsNull(); }));
  object.reset();
  reference.reset();
}

class ObjectsVersion7Test : public QueryTest {};
INSTANTIATE_TEST_SUITE_P(Version7, ObjectsVersion7Test, ::testing::Values(CallSet::OCI7),
                         CallSetName);

TEST_P(ObjectsVersion7Test, ObjectsNeedTheVersion8Calls) {
  auto insert = NewQuery("insert into emp (empno) values (:o)");
  insert->DeclareVariable("o", otObject);
  auto update = NewQuery("update emp set empno = :r");
  update->DeclareVariable("r", otReference);

  EXPECT_EQ("An object variable requires OCI8 mode, but OCI7 mode is used.",
            ErrorOf([&] { insert->Execute(); }));
  EXPECT_EQ("A reference variable requires OCI8 mode, but OCI7 mode is used.",
            ErrorOf([&] { update->Execute(); }));
  EXPECT_EQ("A TOracleObject instance requires OCI8 mode, but OCI7 mode is used.",
            ErrorOf([&] { TOracleObject(session_.get(), "address_t"); }));
}

}  // namespace
}  // namespace vorn::query_test
