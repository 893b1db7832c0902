#include "base/c_numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace quorlet {
namespace {

TEST(CNumbers, AtoITakesLeadingDigitsOnly) {
    EXPECT_EQ(AtoI("42"), 42);
    EXPECT_EQ(AtoI("  \t-17abc"), -17);
    EXPECT_EQ(AtoI("+8"), 8);
    EXPECT_EQ(AtoI("12.50"), 12);
    EXPECT_EQ(AtoI("x5"), 0);
    EXPECT_EQ(AtoI(""), 0);
    EXPECT_EQ(AtoI("-"), 0);
    EXPECT_EQ(AtoI("0101"), 101);
    EXPECT_EQ(AtoI("12 34"), 12);
}

TEST(CNumbers, AtoIClampsInsteadOfOverflowing) {
    EXPECT_EQ(AtoI("2147483647"), INT_MAX);
    EXPECT_EQ(AtoI("2147483648"), INT_MAX);
    EXPECT_EQ(AtoI("-2147483648"), INT_MIN);
    EXPECT_EQ(AtoI("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(AtoI64("5000000000"), 5000000000LL);
    EXPECT_EQ(AtoI64("99999999999999999999999"), INT64_MAX);
}

TEST(CNumbers, AtoFReadsTheLongestNumber) {
    EXPECT_DOUBLE_EQ(AtoF("0.11"), 0.11);
    EXPECT_DOUBLE_EQ(AtoF(" -3.5kg"), -3.5);
    EXPECT_DOUBLE_EQ(AtoF("12."), 12.0);
    EXPECT_DOUBLE_EQ(AtoF(".5"), 0.5);
    EXPECT_DOUBLE_EQ(AtoF("+2"), 2.0);
    EXPECT_DOUBLE_EQ(AtoF("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(AtoF("1e"), 1.0);  // an exponent without digits is not part of the number
    EXPECT_DOUBLE_EQ(AtoF("1.5E-1x"), 0.15);
    EXPECT_DOUBLE_EQ(AtoF("abc"), 0.0);
    EXPECT_DOUBLE_EQ(AtoF("."), 0.0);
    EXPECT_DOUBLE_EQ(AtoF(""), 0.0);
    EXPECT_TRUE(std::isinf(AtoF("1e999")));
    EXPECT_DOUBLE_EQ(AtoF("1e-999"), 0.0);
}

}  // namespace
}  // namespace quorlet
