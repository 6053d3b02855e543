// User-defined types in the engine: the byte forms of objects, collections
// and REFs, typed binds, and the object store behind the call interface's
// object cache (row objects read, inserted, updated, deleted and locked by
// REF).
#include <thread>

#include "engine/Catalog.h"
#include "engine/LockTable.h"
#include "engine/ObjectStore.h"
#include "engine/ObjectTypes.h"
#include "engine/ObjectValue.h"
#include "engine_support.h"

namespace vorn::server::test {
namespace {

TEST(ObjectValue, ObjectsAndCollectionsRoundTrip) {
  std::vector<Value> attributes = {
      Value::integer(-7), Value::real(2.5), Value::text("x"),   Value::date(86400),
      Value::raw("\x01"), Value(),          Value::emptyClob(), objectBytes(encodeCollection({}))};
  std::string bytes = encodeObject(attributes);
  std::vector<Value> back;
  ASSERT_TRUE(decodeObject(bytes, back));
  EXPECT_EQ(attributes, back);
  EXPECT_EQ(8, encodedCount(bytes));
  // An object is no collection and the other way round.
  EXPECT_FALSE(decodeCollection(bytes, back));
  EXPECT_FALSE(decodeObject(encodeCollection(attributes), back));
}

TEST(ObjectValue, MalformedBytesDoNotDecode) {
  std::string bytes = encodeObject({Value::text("abc"), Value::integer(1)});
  std::vector<Value> out;
  for (size_t cut = 0; cut < bytes.size(); ++cut)
    EXPECT_FALSE(decodeObject(bytes.substr(0, cut), out)) << cut;
  EXPECT_FALSE(decodeObject(bytes + "x", out));
  // A count in a longer form than needed is not this form.
  EXPECT_FALSE(decodeObject(std::string("O\x01\x80\x00", 4), out));
  EXPECT_TRUE(decodeObject(std::string("O\x01\x00", 3), out));
  EXPECT_EQ(-1, encodedCount("R"));
}

TEST(ObjectValue, RefsNameATableAndAnIdentifier) {
  RefValue ref{0x0102030405060708, std::string(kObjectIdBytes, 'k')};
  std::string bytes = encodeRef(ref);
  RefValue back;
  ASSERT_TRUE(decodeRef(bytes, back));
  EXPECT_EQ(ref.table, back.table);
  EXPECT_EQ(ref.oid, back.oid);
  EXPECT_FALSE(decodeRef(bytes.substr(1), back));
  EXPECT_FALSE(decodeRef(encodeObject({}), back));
}

class ObjectStore : public DemoDatabase {
 protected:
  void SetUp() override {
    DemoDatabase::SetUp();
    s_ = scott();
    for (const char* sql :
         {"create type pt_t as object (x number(3), tag varchar2(3))", "create table pts of pt_t",
          "insert into pts values (1, 'a')", "commit"}) {
      s_->execute(sql);
    }
  }
  RefValue refOf(int x) {
    auto st = s_->prepare("select ref(p) from pts p where p.x = :1");
    st->bind(1, Value::integer(x));
    st->execute();
    EXPECT_TRUE(st->fetch());
    RefValue ref;
    EXPECT_TRUE(decodeRef(st->value(0).asText(), ref));
    return ref;
  }
  const TableInfo& table() { return *s_->catalog()->findObject("SCOTT", "PTS")->table(); }
  std::unique_ptr<Session> s_;
};

TEST_F(ObjectStore, RowObjectsAreReadByTheirRefs) {
  RefValue ref = refOf(1);
  std::optional<Value> object = loadObject(*s_, ref, ObjectLock::None);
  ASSERT_TRUE(object);
  std::vector<Value> attributes;
  ASSERT_TRUE(decodeObject(object->asText(), attributes));
  EXPECT_EQ((std::vector<Value>{Value::integer(1), Value::text("a")}), attributes);
  s_->execute("delete from pts");
  EXPECT_FALSE(loadObject(*s_, ref, ObjectLock::None));
}

TEST_F(ObjectStore, NewRowObjectsTakeTheIdentifierTheirRefNames) {
  RefValue ref = newObjectRef(table());
  insertObject(*s_, ref, objectBytes(encodeObject({Value::integer(2), Value::text("b")})));
  EXPECT_EQ(std::vector<std::string>{"2|b"}, rows(*s_, "select x, tag from pts where x = 2"));
  EXPECT_EQ(ref.oid, refOf(2).oid);
  // Values are fitted to the attributes as in SQL.
  RefValue third = newObjectRef(table());
  EXPECT_THROW(
      insertObject(*s_, third, objectBytes(encodeObject({Value::integer(1000), Value::text("c")}))),
      OraError);
  updateObject(*s_, ref, objectBytes(encodeObject({Value::real(2.4), Value::text("bb")})));
  EXPECT_EQ(std::vector<std::string>{"2|bb"}, rows(*s_, "select x, tag from pts where tag = 'bb'"));
  deleteObject(*s_, ref);
  EXPECT_EQ(std::vector<std::string>{"0"}, rows(*s_, "select count(*) from pts where x = 2"));
  try {
    updateObject(*s_, ref, objectBytes(encodeObject({Value::integer(2), Value::text("b")})));
    FAIL() << "updated a row that is gone";
  } catch (const OraError& e) {
    EXPECT_EQ(21700, e.code());
  }
}

TEST_F(ObjectStore, LockingFollowsTheRowLocks) {
  RefValue ref = refOf(1);
  EXPECT_FALSE(objectRowLocked(*s_, ref));
  ASSERT_TRUE(loadObject(*s_, ref, ObjectLock::Wait));
  EXPECT_TRUE(objectRowLocked(*s_, ref));
  auto other = scott();
  try {
    loadObject(*other, ref, ObjectLock::NoWait);
    FAIL() << "locked twice";
  } catch (const OraError& e) {
    EXPECT_EQ(54, e.code());
  }
  s_->rollback();
  EXPECT_FALSE(objectRowLocked(*s_, ref));
}

TEST_F(ObjectStore, RefsOfNoObjectTableAreInvalid) {
  RefValue ref = refOf(1);
  RefValue nowhere{12345, ref.oid};
  try {
    loadObject(*s_, nowhere, ObjectLock::None);
    FAIL() << "read through a REF of no table";
  } catch (const OraError& e) {
    EXPECT_EQ(22880, e.code());
  }
  s_->execute("drop table pts");
  try {
    loadObject(*s_, ref, ObjectLock::None);
    FAIL() << "read through a REF of a dropped table";
  } catch (const OraError& e) {
    EXPECT_EQ(22880, e.code());
  }
}

TEST_F(ObjectStore, TypedBindsCompareWithColumnsOfTheirType) {
  auto st = s_->prepare("select count(*) from pts p where value(p) = :1");
  const TypeInfo* type = s_->catalog()->findType("SCOTT", {"PT_T"});
  ASSERT_NE(nullptr, type);
  st->bindTyped(1, objectBytes(encodeObject({Value::integer(1), Value::text("a")})),
                userDefinedType(*type));
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(1, st->intValue(0));
  // A RAW of the same bytes is no object.
  auto raw = s_->prepare("select count(*) from pts p where value(p) = :1");
  raw->bind(1, Value::raw("O"));
  EXPECT_THROW(raw->execute(), OraError);
}

TEST_F(ObjectStore, ATypedBindOfAnotherTypeRecompilesTheStatement) {
  s_->execute("create type other_t as object (x number(3), tag varchar2(3))");
  auto st = s_->prepare("select count(*) from pts p where value(p) = :1");
  const TypeInfo* pt = s_->catalog()->findType("SCOTT", {"PT_T"});
  const TypeInfo* other = s_->catalog()->findType("SCOTT", {"OTHER_T"});
  ASSERT_NE(nullptr, pt);
  ASSERT_NE(nullptr, other);
  const Value bytes = objectBytes(encodeObject({Value::integer(1), Value::text("a")}));
  st->bindTyped(1, bytes, userDefinedType(*pt));
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(1, st->intValue(0));
  // The same bytes as an object of another type: compiled anew, and refused.
  st->bindTyped(1, bytes, userDefinedType(*other));
  EXPECT_THROW(st->execute(), OraError);
  st->bindTyped(1, bytes, userDefinedType(*pt));
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(1, st->intValue(0));
}

}  // namespace
}  // namespace vorn::server::test
