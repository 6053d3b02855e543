// Message translation through the session's message table and the
// dataset's OnTranslateMessage.
#include <gtest/gtest.h>

#include "DictionaryTestSupport.h"
#include "MessageTranslation.h"

namespace vorn::dataset_test {
namespace {

constexpr const char* kMissingParent =
    "ORA-02291: integrity constraint (SCOTT.FK_DEPTNO) violated - parent key not found";
constexpr const char* kChildrenFound =
    "ORA-02292: integrity constraint (SCOTT.FK_DEPTNO) violated - child record found";

class MessageTranslation : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    session_->SetMessageTable("messages");
    emp_ = Open("select e.*, rowid from emp e", "EMP");
    emp_->Dictionary().SetUseMessageTable(true);
  }
  void TearDown() override {
    emp_.reset();
    DictionaryTest::TearDown();
  }

  std::string Translate(char action, int code, const std::string& text) {
    return TranslateMessage(*emp_, action, code, text);
  }

  std::unique_ptr<TestDataSet> emp_;
};

TEST_F(MessageTranslation, ARowForTheActionAndSideReplacesTheMessage) {
  EXPECT_EQ(Translate('I', 2291, kMissingParent), "There is no such department");
  EXPECT_EQ(Translate('U', 2291, kMissingParent), "There is no such department");
  EXPECT_EQ(Translate('D', 2292, kChildrenFound), "The department still has employees");
}

TEST_F(MessageTranslation, WithoutARowForTheActionTheMessageStays) {
  EXPECT_EQ(Translate('D', 2291, kMissingParent), kMissingParent);
  EXPECT_EQ(Translate('I', 2292, kChildrenFound), kChildrenFound);
}

TEST_F(MessageTranslation, TheTableIsOnlyReadWhenAsked) {
  emp_->Dictionary().SetUseMessageTable(false);
  EXPECT_EQ(Translate('I', 2291, kMissingParent), kMissingParent);

  emp_->Dictionary().SetUseMessageTable(true);
  session_->SetMessageTable("");
  EXPECT_EQ(Translate('I', 2291, kMissingParent), kMissingParent);
  EXPECT_EQ(emp_->statements, 0);
}

TEST_F(MessageTranslation, OnlyConstraintErrorsLookTheTableUp) {
  const std::string text = "ORA-00942: table (SCOTT.FK_DEPTNO) or view does not exist";
  EXPECT_EQ(Translate('I', 942, text), text);
  EXPECT_EQ(emp_->statements, 0);
}

TEST_F(MessageTranslation, AnUnreadableTableAddsItsErrorToTheMessage) {
  session_->SetMessageTable("no_such_messages");

  const std::string message = Translate('I', 2291, kMissingParent);

  EXPECT_EQ(message.rfind(std::string(kMissingParent) + "(ORA-00942", 0), 0u) << message;
  EXPECT_EQ(message.back(), ')');
}

TEST_F(MessageTranslation, AConstraintNameWithAQuoteStaysALiteral) {
  const std::string text = "ORA-00001: unique constraint (SCOTT.X' OR 'A'='A) violated";
  EXPECT_EQ(Translate('I', 1, text), text);
}

TEST_F(MessageTranslation, AnApplicationErrorLosesItsStack) {
  EXPECT_EQ(Translate('U', 20001, "ORA-20001: Salary too high\nORA-06512: at line 7"),
            "ORA-20001: Salary too high");
}

TEST_F(MessageTranslation, OnTranslateMessageComesLast) {
  std::string heard;
  emp_->onTranslateMessage = [&heard](int code, const std::string& name, char action,
                                      std::string& message) {
    heard = std::to_string(code) + "|" + name + "|" + action + "|" + message;
    message += "!";
  };

  EXPECT_EQ(Translate('I', 2291, kMissingParent), "There is no such department!");
  EXPECT_EQ(heard, "2291|FK_DEPTNO|I|There is no such department");

  EXPECT_EQ(Translate('L', 0, "Record is locked by another user"),
            "Record is locked by another user!");
  EXPECT_EQ(heard, "0||L|Record is locked by another user");
}

}  // namespace
}  // namespace vorn::dataset_test
