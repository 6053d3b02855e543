// The exception classes: names, inheritance, copies and messages.
#include "vorn/host/Exceptions.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

// How a later subsystem adds its own error.
class EOracleLikeError : public Exception {
  VORN_CLASS(EOracleLikeError, Exception)
  EOracleLikeError(int code, std::string message) : Exception(std::move(message)), code_(code) {}
  int ErrorCode() const { return code_; }

 private:
  int code_;
};

TEST(ExceptionsTest, MessageAndWhatAgree) {
  Exception e("Session undefined");
  EXPECT_EQ(e.Message(), "Session undefined");
  EXPECT_STREQ(e.what(), "Session undefined");
  e.SetMessage("Not logged on");
  EXPECT_STREQ(e.what(), "Not logged on");
}

TEST(ExceptionsTest, ClassNamesAndParents) {
  EDatabaseError db("x");
  EXPECT_EQ(db.ClassName(), "EDatabaseError");
  EXPECT_EQ(db.ClassParentName(), "Exception");
  EXPECT_TRUE(db.InheritsFrom(Exception::StaticClass()));
  EXPECT_TRUE(db.InheritsFrom("TObject"));
  EXPECT_FALSE(db.InheritsFrom(EConvertError::StaticClass()));
  EXPECT_EQ(EReadError("x").ClassParentName(), "EFilerError");
  EXPECT_TRUE(EReadError("x").InheritsFrom(EStreamError::StaticClass()));
  EXPECT_TRUE(EStringListError("x").InheritsFrom(EListError::StaticClass()));
  EXPECT_TRUE(db.ClassNameIs("edatabaseerror"));
}

TEST(ExceptionsTest, FixedTexts) {
  EXPECT_EQ(EAbort().Message(), "Operation aborted");
  EXPECT_EQ(EDivByZero().Message(), "Division by zero");
  EXPECT_EQ(EZeroDivide().Message(), "Floating point division by zero");
  EXPECT_EQ(EInvalidOp().Message(), "Invalid floating point operation");
  EXPECT_EQ(EOverflow().Message(), "Floating point overflow");
  EXPECT_EQ(EIntOverflow().Message(), "Integer overflow");
  EXPECT_EQ(ERangeError().Message(), "Range check error");
  EOSError os(2);
  EXPECT_EQ(os.ErrorCode(), 2);
  EXPECT_EQ(os.Message().rfind("System Error.  Code: 2.\n", 0), 0u);
}

TEST(ExceptionsTest, DerivedErrorsAreCaughtAsTheirBases) {
  try {
    throw EOracleLikeError(942, "ORA-00942: table or view does not exist");
  } catch (const Exception& e) {
    EXPECT_EQ(e.ClassName(), "EOracleLikeError");
    auto* oracle = dynamic_cast<const EOracleLikeError*>(&e);
    ASSERT_NE(oracle, nullptr);
    EXPECT_EQ(oracle->ErrorCode(), 942);
  }
  try {
    throw EDivByZero();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Division by zero");
  }
}

TEST(ExceptionsTest, CopiesAndSlicesKeepTheMessage) {
  EOracleLikeError original(1017, "ORA-01017: invalid username/password; logon denied");
  EOracleLikeError copy = original;
  original.SetMessage("changed");
  EXPECT_EQ(copy.Message(), "ORA-01017: invalid username/password; logon denied");
  EXPECT_EQ(copy.ErrorCode(), 1017);
  Exception sliced = copy;
  EXPECT_STREQ(sliced.what(), "ORA-01017: invalid username/password; logon denied");
  std::exception_ptr saved = std::make_exception_ptr(copy);
  try {
    std::rethrow_exception(saved);
  } catch (const EOracleLikeError& e) {
    EXPECT_EQ(e.ErrorCode(), 1017);
  }
}

TEST(ExceptionsTest, RaisingRoutines) {
  try {
    DatabaseError("Record not found");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Record not found");
  }
  EXPECT_THROW(Abort(), EAbort);
}

}  // namespace
}  // namespace vorn
