// The object query translator through the version 8 calls, as the front
// end uses it: the one-line block with :result bound as a string, then the
// translated text run by its tag, a dataset fetched with its column names,
// or a scalar block with :res bound as an integer or a string. Translator
// errors reach OCIErrorGet with their numbers and positions.
#include <cstring>

#include "oci_support.h"
#include "translator_front_end.h"

namespace vorn::server::oci_test {
namespace {

using test::frontEndBlock;
using test::languageOf;
using test::resultKindOf;
using Strings = std::vector<std::string>;

class OciTranslatorTest : public OciTest {
 protected:
  void SetUp() override {
    OciTest::SetUp();
    svc_ = logon("man", "man");
  }

  sword exec(OCIStmt* stmt, ub4 iters = 1) {
    return oci().OCIStmtExecute(svc_, stmt, err_, iters, 0, nullptr, nullptr, OCI_DEFAULT);
  }

  // Runs the front end's block; the translated text, or "ORA-..." on error.
  std::string translate(const std::string& statement) {
    OCIStmt* stmt = newStatement(frontEndBlock(languageOf(statement), statement));
    char result[4001] = "";
    sb2 indicator = 0;
    OCIBind* bind = nullptr;
    oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":result"), -1, result,
                        sizeof result, SQLT_STR, &indicator, nullptr, nullptr, 0, nullptr,
                        OCI_DEFAULT);
    sword status = exec(stmt);
    oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
    if (status != OCI_SUCCESS) return errorText();
    return indicator == -1 ? "<null>" : result;
  }

  Strings columnNames(const std::string& sql) {
    OCIStmt* stmt = newStatement(sql);
    Strings names;
    if (oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, OCI_DESCRIBE_ONLY) ==
        OCI_SUCCESS) {
      ub4 count = 0;
      oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_PARAM_COUNT, err_);
      for (ub4 i = 1; i <= count; ++i) {
        OCIParam* p = nullptr;
        oci().OCIParamGet(stmt, OCI_HTYPE_STMT, err_, reinterpret_cast<void**>(&p), i);
        OraText* name = nullptr;
        ub4 length = 0;
        oci().OCIAttrGet(p, OCI_DTYPE_PARAM, &name, &length, OCI_ATTR_NAME, err_);
        names.emplace_back(reinterpret_cast<char*>(name), length);
      }
    }
    oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
    return names;
  }

  // Runs a scalar block with :res bound as the front end binds it.
  std::string scalar(const std::string& text) {
    OCIStmt* stmt = newStatement(text);
    bool integer = resultKindOf(text) == "INT";
    int number = 0;
    char string[4001] = "";
    sb2 indicator = 0;
    OCIBind* bind = nullptr;
    oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":res"), -1,
                        integer ? static_cast<void*>(&number) : string,
                        integer ? static_cast<sb4>(sizeof number) : static_cast<sb4>(sizeof string),
                        integer ? SQLT_INT : SQLT_STR, &indicator, nullptr, nullptr, 0, nullptr,
                        OCI_DEFAULT);
    sword status = exec(stmt);
    oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
    if (status != OCI_SUCCESS) return errorText();
    if (indicator == -1) return "<null>";
    return integer ? std::to_string(number) : std::string(string);
  }

  // The whole front-end path: the block, then the text by its tag.
  Strings process(const std::string& statement) {
    std::string text = translate(statement);
    if (text.rfind("ORA-", 0) == 0) return {text};
    std::string kind = resultKindOf(text);
    if (kind != "DS") return {kind + ":" + scalar(text)};
    Strings names = columnNames(text);
    std::string header;
    for (const std::string& n : names)
      header += (header.empty() ? "" : "|") + n;
    Strings out{header};
    for (const std::string& row : rows(svc_, text))
      out.push_back(row);
    return out;
  }

  OCISvcCtx* svc_ = nullptr;
};

TEST_F(OciTranslatorTest, TheDesignTimeQueryIsADatasetNamedByPaths) {
  EXPECT_EQ(translate("select name, friend.name from man.dogs"),
            "/*:DS*/ select t0.NAME, t1.NAME \"FRIEND.NAME\" from MAN.DOGS t0, MAN.DOGS t1 "
            "where t1.OID (+) = t0.FRIEND");
  Strings rows = process(
      "select name, friend.name from man.dogs where oid in (1, 6, 8) "
      "order by name");
  EXPECT_EQ(rows, (Strings{"NAME|FRIEND.NAME", "Daisy|", "Molly|Rocky", "Rex|Bella"}));
  EXPECT_EQ(process("select name, owner.city, friend.owner.name from dogs "
                    "where owner.city = 'Oslo' order by name"),
            (Strings{"NAME|OWNER.CITY|FRIEND.OWNER.NAME", "Luna|Oslo|Bob", "Max|Oslo|Alice",
                     "Rex|Oslo|Bob", "Rocky|Oslo|Dave", "Sadie|Oslo|"}));
}

TEST_F(OciTranslatorTest, ScalarResultsComeBackInRes) {
  EXPECT_EQ(process("select count(*) from dogs where friend is null"), (Strings{"INT:2"}));
  EXPECT_EQ(process("select max(name) from dogs where owner.name = 'Carol'"),
            (Strings{"STR:Rocky"}));
  EXPECT_EQ(process("select ref from dogs where name = 'Luna'"), (Strings{"REF:MAN.DOGS#4"}));
  // The translation succeeds; running it finds no object.
  EXPECT_EQ(process("select ref from dogs where name = 'Nobody'"),
            (Strings{"REF:ORA-20004: VORN: no object of class MAN.DOGS matches at position 22\n"
                     "ORA-06512: at line 1\n"}));
}

TEST_F(OciTranslatorTest, ClassesAreMadeFilledAndDroppedThroughTheBlocks) {
  EXPECT_EQ(process("create class toys (label string(20), owner ref dogs)"),
            (Strings{"STR:Class MAN.TOYS created"}));
  EXPECT_EQ(process("insert into toys values ('Ball', (dogs where name = 'Rex'))"),
            (Strings{"INT:1"}));
  EXPECT_EQ(process("insert into toys (label, owner) values ('Bone', 'MAN.DOGS#6')"),
            (Strings{"INT:1"}));
  EXPECT_EQ(process("update toys set label = label || '!' where owner.owner.city = 'Oslo'"),
            (Strings{"INT:1"}));
  EXPECT_EQ(process("select label, owner.name, owner.owner.name from toys order by label"),
            (Strings{"LABEL|OWNER.NAME|OWNER.OWNER.NAME", "Ball!|Rex|Alice", "Bone|Daisy|"}));
  EXPECT_EQ(process("delete from toys where owner.owner is null"), (Strings{"INT:1"}));
  EXPECT_EQ(process("drop class toys"), (Strings{"STR:Class MAN.TOYS dropped"}));
}

TEST_F(OciTranslatorTest, TranslatorErrorsCarryTheirNumberAndPosition) {
  OCIStmt* stmt = newStatement(frontEndBlock("VORN", "select foo from man.dogs"));
  char result[4001] = "";
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":result"), -1, result,
                      sizeof result, SQLT_STR, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  EXPECT_EQ(OCI_ERROR, exec(stmt));
  EXPECT_EQ(20002, errorCode());
  EXPECT_EQ(
      "ORA-20002: VORN: unknown attribute FOO of class MAN.DOGS at position 8\n"
      "ORA-06512: at line 1\n",
      errorText());
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
  // A first word outside the languages leaves the block without a package
  // name: it does not compile.
  EXPECT_EQ(languageOf("grant all to man"), "");
  EXPECT_EQ(process("grant all to man")[0].substr(0, 9), "ORA-06550");
}

}  // namespace
}  // namespace vorn::server::oci_test
