// The object cache through the version 8 calls: row objects of an object
// table reached by REFs (OCIObjectPin), navigated from REF to REF, made,
// changed, deleted and flushed, locked and refreshed; transient and value
// instances; the calls' answers on instances they do not apply to.
#include <string>

#include "oci_object_support.h"

namespace vorn::server::oci_test {
namespace {

class ObjectCache : public ObjectTest {
 protected:
  // Pins a REF and checks the call.
  void* pin(OCIRef* ref, OCIPinOpt option = OCI_PIN_ANY, OCILockOpt lock = OCI_LOCK_NONE) {
    void* object = nullptr;
    EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectPin(env_, err_, ref, nullptr, option,
                                              OCI_DURATION_SESSION, lock, &object))
        << errorText();
    return object;
  }
  std::string name(void* object) {
    return text(*static_cast<OCIString**>(attribute(object, emp_, "NAME")));
  }
  void setName(void* object, const std::string& value) {
    OCIString* s = nullptr;
    obj().OCIStringAssignText(env_, err_, reinterpret_cast<const OraText*>(value.c_str()),
                              static_cast<ub4>(value.size()), &s);
    const OraText* names[] = {reinterpret_cast<const OraText*>("NAME")};
    ub4 lengths[] = {4};
    ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectSetAttr(env_, err_, object, nullptr, emp_, names, lengths,
                                                  1, nullptr, 0, OCI_IND_NOTNULL, nullptr, s))
        << errorText();
    obj().OCIObjectFree(env_, err_, s, 0);
  }
  void SetUp() override {
    ObjectTest::SetUp();
    emp_ = type("EMP_T");
  }
  OCIType* emp_ = nullptr;
};

TEST_F(ObjectCache, RefsNavigateTheObjectTableThroughPins) {
  void* cy = pin(staffRef("Cy"));
  ASSERT_NE(nullptr, cy);
  EXPECT_EQ("Cy", name(cy));
  // Cy's boss is Bob, whose boss is Ann, who has none.
  auto* boss = static_cast<OCIRef**>(attribute(cy, emp_, "BOSS"));
  void* bob = pin(*boss);
  EXPECT_EQ("Bob", name(bob));
  void* ann = pin(*static_cast<OCIRef**>(attribute(bob, emp_, "BOSS")));
  EXPECT_EQ("Ann", name(ann));
  OCIInd ind = 0;
  attribute(ann, emp_, "BOSS", &ind);
  EXPECT_EQ(OCI_IND_NULL, ind);
  EXPECT_EQ(12345.0, numberValue(*static_cast<OCINumber*>(attribute(ann, emp_, "ADDR.ZIP"))));
}

TEST_F(ObjectCache, OneInstancePerRefUntilFreed) {
  OCIRef* ref = staffRef("Bob");
  void* first = pin(ref);
  void* second = pin(staffRef("Bob"));
  EXPECT_EQ(first, second);
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectUnpin(env_, err_, first));
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectPinCountReset(env_, err_, first));
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectFree(env_, err_, first, 0));
  // A freed instance is no instance any more.
  boolean dirty = 1;
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectIsDirty(env_, err_, first, &dirty));
  EXPECT_EQ(21710, errorCode());
  void* again = pin(ref);
  EXPECT_EQ("Bob", name(again));
}

TEST_F(ObjectCache, ObjectRefAndTypeRefOfAPinnedObject) {
  void* bob = pin(staffRef("Bob"));
  OCIRef* ref = nullptr;
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_REF, nullptr, nullptr,
                               OCI_DURATION_SESSION, 1, reinterpret_cast<void**>(&ref)));
  EXPECT_TRUE(obj().OCIRefIsNull(env_, ref));
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectGetObjectRef(env_, err_, bob, ref)) << errorText();
  EXPECT_EQ(bob, pin(ref));
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectGetTypeRef(env_, err_, bob, ref)) << errorText();
  // A REF to the type descriptor pins the descriptor.
  EXPECT_EQ(static_cast<void*>(emp_), pin(ref));
}

TEST_F(ObjectCache, DanglingRefsDoNotPin) {
  OCIRef* ann = staffRef("Ann");
  run(svc_, "delete from staff where id = 1");
  void* object = nullptr;
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectPin(env_, err_, ann, nullptr, OCI_PIN_ANY,
                                          OCI_DURATION_SESSION, OCI_LOCK_NONE, &object));
  EXPECT_EQ(21700, errorCode());
  OCIRef* empty = nullptr;
  oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_REF, nullptr, nullptr, OCI_DURATION_SESSION, 1,
                     reinterpret_cast<void**>(&empty));
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectPin(env_, err_, empty, nullptr, OCI_PIN_ANY,
                                          OCI_DURATION_SESSION, OCI_LOCK_NONE, &object));
  EXPECT_EQ(22880, errorCode());
}

TEST_F(ObjectCache, NewObjectsOfAPinnedTableAreInsertedByTheFlush) {
  void* table = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectPinTable(env_, err_, svc_, nullptr, 0,
                                                 reinterpret_cast<const OraText*>("STAFF"), 5,
                                                 nullptr, OCI_DURATION_SESSION, &table))
      << errorText();
  void* dee = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_OBJECT, emp_, table,
                                            OCI_DURATION_SESSION, 0, &dee))
      << errorText();
  setName(dee, "Dee");
  OCINumber id = number(4);
  const OraText* idName[] = {reinterpret_cast<const OraText*>("ID")};
  ub4 idLength[] = {2};
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectSetAttr(env_, err_, dee, nullptr, emp_, idName, idLength, 1,
                                                nullptr, 0, OCI_IND_NOTNULL, nullptr, &id));
  // Its REF exists before the row does.
  OCIRef* ref = nullptr;
  oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_REF, nullptr, nullptr, OCI_DURATION_SESSION, 1,
                     reinterpret_cast<void**>(&ref));
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectGetObjectRef(env_, err_, dee, ref));
  boolean flag = 0;
  obj().OCIObjectIsDirty(env_, err_, dee, &flag);
  EXPECT_TRUE(flag);
  obj().OCIObjectIsLocked(env_, err_, dee, &flag);
  EXPECT_TRUE(flag);
  EXPECT_EQ(std::vector<std::string>{"0"}, rows(svc_, "select count(*) from staff where id = 4"));

  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectFlush(env_, err_, dee)) << errorText();
  obj().OCIObjectIsDirty(env_, err_, dee, &flag);
  EXPECT_FALSE(flag);
  EXPECT_EQ(std::vector<std::string>{"Dee"}, rows(svc_, "select name from staff where id = 4"));
  // The row has the identifier its REF named.
  OCIStmt* stmt = newStatement("select count(*) from staff s where ref(s) = :r");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":r"), 2, nullptr, 0,
                      SQLT_REF, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  obj().OCIBindObject(bind, err_, emp_, reinterpret_cast<void**>(&ref), nullptr, nullptr, nullptr);
  int count = 0;
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, &count, sizeof count, SQLT_INT, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  EXPECT_EQ(1, count);
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(ObjectCache, UpdatesAndDeletesWaitForTheFlush) {
  void* bob = pin(staffRef("Bob"));
  setName(bob, "Robert");
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectMarkUpdate(env_, err_, bob));
  EXPECT_EQ(std::vector<std::string>{"Bob"}, rows(svc_, "select name from staff where id = 2"));
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectFlush(env_, err_, bob)) << errorText();
  EXPECT_EQ(std::vector<std::string>{"Robert"}, rows(svc_, "select name from staff where id = 2"));

  void* cy = pin(staffRef("Cy"));
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectMarkDelete(env_, err_, cy));
  boolean exists = 1;
  obj().OCIObjectExists(env_, err_, cy, &exists);
  EXPECT_FALSE(exists);
  EXPECT_EQ(OCI_SUCCESS, obj().OCICacheFlush(env_, err_, svc_, nullptr, nullptr, nullptr))
      << errorText();
  EXPECT_EQ(std::vector<std::string>{"0"}, rows(svc_, "select count(*) from staff where id = 3"));
  // An unmarked change stays in the cache.
  void* ann = pin(staffRef("Ann"));
  setName(ann, "Anne");
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectMarkUpdate(env_, err_, ann));
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectUnmark(env_, err_, ann));
  obj().OCICacheFlush(env_, err_, svc_, nullptr, nullptr, nullptr);
  EXPECT_EQ(std::vector<std::string>{"Ann"}, rows(svc_, "select name from staff where id = 1"));
}

TEST_F(ObjectCache, CommitWritesTheCachesChanges) {
  void* bob = pin(staffRef("Bob"));
  setName(bob, "Bobby");
  obj().OCIObjectMarkUpdate(env_, err_, bob);
  ASSERT_EQ(OCI_SUCCESS, oci().OCITransCommit(svc_, err_, OCI_DEFAULT)) << errorText();
  OCISvcCtx* other = scott();
  EXPECT_EQ(std::vector<std::string>{"Bobby"}, rows(other, "select name from staff where id = 2"));
}

TEST_F(ObjectCache, RefreshRereadsAnUnchangedObject) {
  OCIRef* ref = staffRef("Bob");
  void* bob = pin(ref);
  run(svc_, "update staff set name = 'B2' where id = 2");
  // Pinning again gives the cached copy...
  EXPECT_EQ("Bob", name(pin(ref)));
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectRefresh(env_, err_, bob)) << errorText();
  EXPECT_EQ("B2", name(bob));
  run(svc_, "update staff set name = 'B3' where id = 2");
  // ...unless the latest version is asked for.
  EXPECT_EQ("B3", name(pin(ref, OCI_PIN_LATEST)));
  // A changed object would lose its changes.
  obj().OCIObjectMarkUpdate(env_, err_, bob);
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectRefresh(env_, err_, bob));
  EXPECT_EQ(21709, errorCode());
}

TEST_F(ObjectCache, LocksAreRowLocksOfTheSession) {
  void* bob = pin(staffRef("Bob"));
  boolean locked = 1;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectIsLocked(env_, err_, bob, &locked)) << errorText();
  EXPECT_FALSE(locked);
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectLock(env_, err_, bob)) << errorText();
  obj().OCIObjectIsLocked(env_, err_, bob, &locked);
  EXPECT_TRUE(locked);
  OCISvcCtx* other = scott();
  EXPECT_EQ(OCI_ERROR, execute(other, "select 1 from staff where id = 2 for update nowait"));
  EXPECT_EQ(54, errorCode());
  oci().OCITransRollback(svc_, err_, OCI_DEFAULT);
  obj().OCIObjectIsLocked(env_, err_, bob, &locked);
  EXPECT_FALSE(locked);
  // Pinning with a lock takes it too.
  void* again = pin(staffRef("Bob"), OCI_PIN_ANY, OCI_LOCK_X);
  obj().OCIObjectIsLocked(env_, err_, again, &locked);
  EXPECT_TRUE(locked);
}

TEST_F(ObjectCache, DirtyPersistentObjectsAreFreedOnlyByForce) {
  void* bob = pin(staffRef("Bob"));
  obj().OCIObjectMarkUpdate(env_, err_, bob);
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectFree(env_, err_, bob, 0));
  EXPECT_EQ(21606, errorCode());
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectFree(env_, err_, bob, OCI_OBJECTFREE_FORCE));
}

TEST_F(ObjectCache, TransientAndValueInstancesHaveNoIdentity) {
  void* transient = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_OBJECT, emp_, nullptr,
                                            OCI_DURATION_SESSION, 0, &transient));
  OCIRef* ref = nullptr;
  oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_REF, nullptr, nullptr, OCI_DURATION_SESSION, 1,
                     reinterpret_cast<void**>(&ref));
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectGetObjectRef(env_, err_, transient, ref));
  EXPECT_EQ(21708, errorCode());
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectFlush(env_, err_, transient));
  EXPECT_EQ(21708, errorCode());
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectMarkDelete(env_, err_, transient));
  boolean flag = 0;
  obj().OCIObjectExists(env_, err_, transient, &flag);
  EXPECT_TRUE(flag);
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectMarkUpdate(env_, err_, transient));
  obj().OCIObjectIsDirty(env_, err_, transient, &flag);
  EXPECT_TRUE(flag);
  void* value = nullptr;
  oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_OBJECT, emp_, nullptr, OCI_DURATION_SESSION, 1,
                     &value);
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectMarkUpdate(env_, err_, value));
  EXPECT_EQ(21708, errorCode());
}

TEST_F(ObjectCache, CopyMakesAnIndependentDeepCopy) {
  void* bob = pin(staffRef("Bob"));
  void* copy = nullptr;
  oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_OBJECT, emp_, nullptr, OCI_DURATION_SESSION, 0,
                     &copy);
  void* bobNulls = nullptr;
  void* copyNulls = nullptr;
  obj().OCIObjectGetInd(env_, err_, bob, &bobNulls);
  obj().OCIObjectGetInd(env_, err_, copy, &copyNulls);
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectCopy(env_, err_, svc_, bob, bobNulls, copy, copyNulls, emp_,
                                             OCI_DURATION_SESSION, 0))
      << errorText();
  EXPECT_EQ("Bob", name(copy));
  EXPECT_EQ("Elm St", text(*static_cast<OCIString**>(attribute(copy, emp_, "ADDR.STREET"))));
  setName(copy, "Other");
  EXPECT_EQ("Bob", name(bob));
  OCIInd ind = 0;
  attribute(copy, emp_, "BOSS", &ind);
  EXPECT_EQ(OCI_IND_NOTNULL, ind);
  // Without REFs.
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectCopy(env_, err_, svc_, bob, bobNulls, copy, copyNulls, emp_,
                                             OCI_DURATION_SESSION, OCI_OBJECTCOPY_NOREF));
  attribute(copy, emp_, "BOSS", &ind);
  EXPECT_EQ(OCI_IND_NULL, ind);
}

TEST_F(ObjectCache, AttributePathsAreCheckedByName) {
  void* bob = pin(staffRef("Bob"));
  const OraText* names[] = {reinterpret_cast<const OraText*>("NOSUCH")};
  ub4 lengths[] = {6};
  OCIInd ind = 0;
  void* nullStruct = nullptr;
  void* value = nullptr;
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectGetAttr(env_, err_, bob, nullptr, emp_, names, lengths, 1,
                                              nullptr, 0, &ind, &nullStruct, &value, nullptr));
  EXPECT_EQ("ORA-22305: attribute/method/parameter \"NOSUCH\" not found\n", errorText());
  const OraText* path[] = {reinterpret_cast<const OraText*>("NAME"),
                           reinterpret_cast<const OraText*>("X")};
  ub4 pathLengths[] = {4, 1};
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectGetAttr(env_, err_, bob, nullptr, emp_, path, pathLengths, 2,
                                              nullptr, 0, &ind, &nullStruct, &value, nullptr));
  EXPECT_EQ(21601, errorCode());
  // A path needs a name.
  EXPECT_EQ(OCI_ERROR, obj().OCIObjectSetAttr(env_, err_, bob, nullptr, emp_, names, lengths, 0,
                                              nullptr, 0, OCI_IND_NULL, nullptr, nullptr));
  EXPECT_EQ(21560, errorCode());
  // NULL is set through the status.
  const OraText* street[] = {reinterpret_cast<const OraText*>("ADDR"),
                             reinterpret_cast<const OraText*>("STREET")};
  ub4 streetLengths[] = {4, 6};
  ASSERT_EQ(OCI_SUCCESS,
            obj().OCIObjectSetAttr(env_, err_, bob, nullptr, emp_, street, streetLengths, 2,
                                   nullptr, 0, OCI_IND_NULL, nullptr, nullptr));
  attribute(bob, emp_, "ADDR.STREET", &ind);
  EXPECT_EQ(OCI_IND_NULL, ind);
}

TEST_F(ObjectCache, ObjectCallsNeedAnEnvironmentInObjectMode) {
  OCIEnv* plain = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIEnvCreate(&plain, OCI_DEFAULT, nullptr, nullptr, nullptr, nullptr,
                                            0, nullptr));
  OCIError* err = nullptr;
  oci().OCIHandleAlloc(plain, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
  void* ref = nullptr;
  EXPECT_EQ(OCI_ERROR, oci().OCIObjectNew(plain, err, nullptr, OCI_TYPECODE_REF, nullptr, nullptr,
                                          OCI_DURATION_SESSION, 1, &ref));
  EXPECT_EQ(21301, errorCode(err));
  oci().OCIHandleFree(plain, OCI_HTYPE_ENV);
}

}  // namespace
}  // namespace vorn::server::oci_test
