#include "common/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

namespace vh {
namespace {

int Checked(int value) {
    VH_ASSERT(value > 0);
    return value;
}

TEST(Assertion, PassingConditionReturnsNormally) {
    EXPECT_EQ(Checked(3), 3);
}

TEST(Assertion, FailureRaisesNamingExpressionFileAndLine) {
    try {
        Checked(0);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("value > 0"), std::string::npos) << message;
        EXPECT_NE(message.find("Exceptions_test.cpp, line 11"), std::string::npos) << message;
        EXPECT_STREQ(ExceptionClassName(e), "EAssertionFailed");
    }
}

TEST(Assertion, IsCaughtAsTheProgramsBaseException) {
    EXPECT_THROW(Checked(-1), Exception);
}

TEST(ExceptionClassName, NamesForeignExceptionsGenerically) {
    EXPECT_STREQ(ExceptionClassName(std::runtime_error("x")), "Exception");
    EXPECT_STREQ(ExceptionClassName(std::bad_alloc()), "EOutOfMemory");
}

}  // namespace
}  // namespace vh
