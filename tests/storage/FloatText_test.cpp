#include "storage/FloatText.h"

#include <gtest/gtest.h>

#include <limits>

namespace vh {
namespace {

TEST(FloatToGeneralText, FixedNotationWithinFifteenDigits) {
    EXPECT_EQ(FloatToGeneralText(0, ","), "0");
    EXPECT_EQ(FloatToGeneralText(3, ","), "3");
    EXPECT_EQ(FloatToGeneralText(-2.5, ","), "-2,5");
    EXPECT_EQ(FloatToGeneralText(0.1, "."), "0.1");
    EXPECT_EQ(FloatToGeneralText(1.0 / 3.0, "."), "0.333333333333333");
    EXPECT_EQ(FloatToGeneralText(123456789012345.0, "."), "123456789012345");
    EXPECT_EQ(FloatToGeneralText(0.00001, "."), "0.00001");
    EXPECT_EQ(FloatToGeneralText(0.000015, ","), "0,000015");
}

TEST(FloatToGeneralText, ScientificOutsideIt) {
    EXPECT_EQ(FloatToGeneralText(1e15, "."), "1E15");
    EXPECT_EQ(FloatToGeneralText(1e20, "."), "1E20");
    EXPECT_EQ(FloatToGeneralText(-1.25e20, ","), "-1,25E20");
    EXPECT_EQ(FloatToGeneralText(9.9e-6, "."), "9.9E-6");
    EXPECT_EQ(FloatToGeneralText(1.5e-300, "."), "1.5E-300");
}

TEST(FloatToGeneralText, RoundsToFifteenDigits) {
    EXPECT_EQ(FloatToGeneralText(0.1 + 0.2, "."), "0.3");
    EXPECT_EQ(FloatToGeneralText(999999999999999.9, "."), "1E15");
}

TEST(FloatToGeneralText, SpecialValues) {
    EXPECT_EQ(FloatToGeneralText(std::numeric_limits<double>::infinity(), "."), "INF");
    EXPECT_EQ(FloatToGeneralText(-std::numeric_limits<double>::infinity(), "."), "-INF");
    EXPECT_EQ(FloatToGeneralText(std::numeric_limits<double>::quiet_NaN(), "."), "NAN");
}

}  // namespace
}  // namespace vh
