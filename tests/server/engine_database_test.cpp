// Databases: naming by path, tnsnames.ora alias or Oracle home, logons in
// every account state, passwords, the banner; and the hooks later layers
// use (unique indexes, PL/SQL locals).
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>

#include "engine/Compiler.h"
#include "engine_support.h"

namespace vorn::server::test {
namespace {

class Databases : public DemoDatabase {
 protected:
  // An Oracle home with a tnsnames.ora and an oradata folder.
  fs::path makeHome(const std::string& tnsnames) {
    fs::path home = scratchFolder() / ("home-" + std::to_string(counter_++));
    fs::remove_all(home);
    fs::create_directories(home / "network" / "admin");
    fs::create_directories(home / "oradata");
    std::ofstream(home / "network" / "admin" / "tnsnames.ora") << tnsnames;
    return home;
  }
  int counter_ = 0;
};

int codeOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const OraError& e) {
    return e.code();
  }
  return 0;
}

TEST_F(Databases, ResolveByPathAliasWithPathAndOradataName) {
  fs::path home = makeHome(
      "# demo databases\n"
      "DEMO.WORLD, DEMO =\n"
      "  (DESCRIPTION =\n"
      "    (ADDRESS = (PROTOCOL = BEQ))\n"
      "    (CONNECT_DATA = (SID = DEMO))\n"
      "    (PATH = " +
      path_.string() +
      ")\n"
      "  )\n"
      "BYSID = (DESCRIPTION = (CONNECT_DATA = (SID = OTHER)))\n"
      "IFILE = more.ora\n");
  std::ofstream(home / "network" / "admin" / "more.ora")
      << "EXTRA = (DESCRIPTION = (PATH = " << path_.string() << "))\n";
  fs::copy_file(path_, home / "oradata" / "OTHER.db");
  fs::copy_file(path_, home / "oradata" / "PLAIN.db");
  std::string h = home.string();
  EXPECT_EQ(Database::resolvePath(path_.string(), h), path_.string());
  EXPECT_EQ(Database::resolvePath("demo", h), path_.string());
  EXPECT_EQ(Database::resolvePath("DEMO.WORLD", h), path_.string());
  EXPECT_EQ(Database::resolvePath("extra", h), path_.string());
  EXPECT_EQ(Database::resolvePath("BYSID", h), (home / "oradata" / "OTHER.db").string());
  EXPECT_EQ(Database::resolvePath("plain", h), (home / "oradata" / "PLAIN.db").string());
  EXPECT_EQ(codeOf([&] { Database::resolvePath("nowhere", h); }), 12154);
  EXPECT_EQ(codeOf([&] { Database::resolvePath("/no/such/file.db", h); }), 12154);
  // One object per file within the process.
  EXPECT_EQ(Database::connect("demo", h).get(), db_.get());
}

TEST_F(Databases, CatalogChangesOfAnotherProcessAreSeen) {
  const char* build = std::getenv("VORN_BUILD_DIR");
  if (!build) GTEST_SKIP() << "VORN_BUILD_DIR not set (run through ctest)";
  auto s = scott();
  EXPECT_EQ(errorOf(*s, "select * from made_elsewhere"), 942);
  std::string cmd = "echo 'create table made_elsewhere (a number);' | " + std::string(build) +
                    "/bin/vornsql -u scott/tiger " + path_.string() + " > /dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_EQ(errorOf(*s, "select * from made_elsewhere"), 0);
}

TEST_F(Databases, CreatingOverAnExistingFileFails) {
  EXPECT_EQ(codeOf([&] { Database::create(path_.string()); }), 1501);
}

TEST_F(Databases, LogonChecksPasswordAndAccountStatus) {
  auto system = db_->logon("system", "manager");
  system->execute("create user u1 identified by pw");
  system->execute("create user u2 identified by pw account lock");
  system->execute("create user u3 identified by pw password expire");
  system->execute("create user u4 identified by pw");
  system->execute("alter user u4 password grace 7");
  EXPECT_EQ(codeOf([&] { db_->logon("u1", "PW"); }), 0);  // case-insensitive passwords
  EXPECT_EQ(codeOf([&] { db_->logon("u1", "wrong"); }), 1017);
  EXPECT_EQ(codeOf([&] { db_->logon("nobody", "pw"); }), 1017);
  EXPECT_EQ(codeOf([&] { db_->logon("u1", ""); }), 1005);
  EXPECT_EQ(codeOf([&] { db_->logon("u2", "pw"); }), 28000);
  EXPECT_EQ(codeOf([&] { db_->logon("u2", "wrong"); }), 1017);
  EXPECT_EQ(codeOf([&] { db_->logon("u3", "pw"); }), 28001);
  LogonInfo info;
  auto s = db_->logon("u4", "pw", &info);
  EXPECT_EQ(info.warningCode, 28002);
  EXPECT_EQ(info.graceDays, 7);
  EXPECT_EQ(info.warning, "ORA-28002: the password will expire within 7 days");
  EXPECT_EQ(s->user(), "U4");
}

TEST_F(Databases, ChangingThePasswordReopensAnExpiredAccount) {
  auto system = db_->logon("system", "manager");
  system->execute("create user u5 identified by old password expire");
  EXPECT_EQ(codeOf([&] { db_->changePassword("u5", "wrong", "new"); }), 1017);
  db_->changePassword("u5", "old", "new");
  EXPECT_EQ(codeOf([&] { db_->logon("u5", "old"); }), 1017);
  EXPECT_EQ(codeOf([&] { db_->logon("u5", "new"); }), 0);
}

TEST_F(Databases, ExternalLogonMapsTheOsUserToOps) {
  auto system = db_->logon("system", "manager");
  system->execute("create user ops$joe identified externally");
  auto s = db_->logonExternal("joe");
  EXPECT_EQ(s->user(), "OPS$JOE");
  EXPECT_EQ(codeOf([&] { db_->logonExternal("ann"); }), 1017);
  // SCOTT has a password: not an external account.
  system->execute("create user ops$scott identified by x");
  EXPECT_EQ(codeOf([&] { db_->logonExternal("scott"); }), 1017);
}

TEST_F(Databases, BannerDefaultsToOracle8iAndCanBeSet) {
  EXPECT_EQ(db_->banner(), "Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production");
  db_->setBanner("Oracle7 Server Release 7.3.4.0.0 - Production");
  std::string path = path_.string();
  db_.reset();
  db_ = Database::open(path);
  EXPECT_EQ(db_->banner(), "Oracle7 Server Release 7.3.4.0.0 - Production");
}

TEST_F(Databases, UniqueIndexesRejectDuplicatesLikeConstraints) {
  auto s = scott();
  s->execute("create unique index dept_dname on dept (dname)");
  try {
    s->execute("insert into dept values (50, 'SALES', 'X')");
    FAIL();
  } catch (const OraError& e) {
    EXPECT_EQ(e.message(), "ORA-00001: unique constraint (SCOTT.DEPT_DNAME) violated");
  }
  EXPECT_EQ(errorOf(*s, "insert into dept values (50, null, 'X')"), 0);
  EXPECT_EQ(errorOf(*s, "insert into dept values (60, null, 'X')"), 0);
}

// A stand-in for the PL/SQL layer: the locals V_DEPT and V_NAME.
class Locals : public NameHook {
 public:
  std::optional<OraType> localType(const std::vector<std::string>& name) override {
    if (name.size() == 1 && name[0] == "V_DEPT") return OraType::number();
    if (name.size() == 1 && name[0] == "V_NAME") return OraType::varchar2(30);
    return std::nullopt;
  }
  int localParameter(const std::vector<std::string>& name) override {
    return name[0] == "V_DEPT" ? 101 : 102;
  }
};

TEST_F(Databases, NameHookLetsStatementsUseLocals) {
  auto s = scott();
  Locals locals;
  auto st = s->prepare("select count(*) from emp where deptno = v_dept and ename <> v_name");
  st->setNameHook(&locals);
  st->bindParameter(101, Value::integer(10));
  st->bindParameter(102, Value::text("KING"));
  st->execute();
  ASSERT_TRUE(st->fetch());
  EXPECT_EQ(st->intValue(0), 2);
  // Without the hook the names are unknown.
  EXPECT_EQ(errorOf(*s, "select count(*) from emp where deptno = v_dept"), 904);
}

void doubleIt(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_result_int64(ctx, 2 * sqlite3_value_int64(argv[0]));
}

TEST_F(Databases, HooksLetLaterLayersAddFunctionsAndBlocks) {
  Session::setConnectionHook([](Session&, sqlite3* db) {
    sqlite3_create_function(db, "plsql_double", 1, SQLITE_UTF8, nullptr, doubleIt, nullptr,
                            nullptr);
  });
  setFunctionHook([](const Catalog&, const std::string&, const std::vector<std::string>& name,
                     const std::vector<OraType>& args) -> std::optional<FunctionBinding> {
    if (name.back() == "DOUBLE_IT" && args.size() == 1) {
      return FunctionBinding{"plsql_double", OraType::number()};
    }
    return std::nullopt;
  });
  Session::setBlockHandler([](Session&, Statement& st) {
    st.setBindValue(1, Value::integer(st.placeholders().size() == 1 ? 42 : -1));
  });
  auto s = scott();
  EXPECT_EQ(one(*s, "select double_it(sal) from emp where empno = 7369"), "1600");
  EXPECT_EQ(one(*s, "select scott.double_it(2) from dual"), "4");
  EXPECT_EQ(errorOf(*s, "select double_it(1, 2) from dual"), 904);
  auto block = s->prepare("begin :x := 42; :x := :x + 1; end;");
  block->execute();
  EXPECT_EQ(block->boundValue(1), Value::integer(42));
  Session::setConnectionHook(nullptr);
  setFunctionHook(nullptr);
  Session::setBlockHandler(nullptr);
  EXPECT_EQ(errorOf(*s, "begin null; end;"), 900);
}

}  // namespace
}  // namespace vorn::server::test
