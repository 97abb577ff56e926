#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"

namespace zil {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(IntDivMod, FloorSemanticsForEverySignPair) {
    struct Case { std::int32_t a, b, q, r; };
    const Case cases[] = {
        {7, 2, 3, 1},    {-7, 2, -4, 1},  {7, -2, -4, -1}, {-7, -2, 3, -1},
        {6, 3, 2, 0},    {-6, 3, -2, 0},  {-1, 3, -1, 2},  {0, -5, 0, 0},
        {-1, 512, -1, 511}, {-512, 512, -1, 0}, {-513, 512, -2, 511},
        {kMin, 1, kMin, 0}, {kMin, 2, kMin / 2, 0}, {kMax, -1, -kMax, 0},
        {kMin, kMax, -2, kMax - 1}, {kMax, kMin, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(intDiv(c.a, c.b), c.q) << c.a << " div " << c.b;
        EXPECT_EQ(intMod(c.a, c.b), c.r) << c.a << " mod " << c.b;
        EXPECT_EQ(std::int64_t{c.b} * c.q + c.r, c.a);
    }
}

TEST(IntDivMod, Failures) {
    EXPECT_THROW(intDiv(1, 0), Div);
    EXPECT_THROW(intDiv(0, 0), Div);
    EXPECT_THROW(intMod(5, 0), Div);
    EXPECT_THROW(intDiv(kMin, -1), Overflow);
    EXPECT_EQ(intMod(kMin, -1), 0);
}

TEST(IntToString, TildeForNegatives) {
    EXPECT_EQ(intToString(0), "0");
    EXPECT_EQ(intToString(42), "42");
    EXPECT_EQ(intToString(-1), "~1");
    EXPECT_EQ(intToString(kMax), "2147483647");
    EXPECT_EQ(intToString(kMin), "~2147483648");
    EXPECT_EQ(intToString(std::numeric_limits<std::int64_t>::min()), "~9223372036854775808");
}

TEST(RealToInt, FourModes) {
    using M = RoundingMode;
    struct Case { double x; std::int32_t nearest, down, up, zero; };
    const Case cases[] = {
        {2.5, 2, 2, 3, 2},     {3.5, 4, 3, 4, 3},     {-2.5, -2, -3, -2, -2},
        {-3.5, -4, -4, -3, -3}, {0.5, 0, 0, 1, 0},     {-0.5, 0, -1, 0, 0},
        {1.5, 2, 1, 2, 1},     {2.4999999999999996, 2, 2, 3, 2},
        {-0.49999999999999994, 0, -1, 0, 0}, {0.49999999999999994, 0, 0, 1, 0},
        {7.0, 7, 7, 7, 7},     {-7.0, -7, -7, -7, -7}, {1e-300, 0, 0, 1, 0},
        {-1e-300, 0, -1, 0, 0}, {2147483646.5, 2147483646, 2147483646, 2147483647, 2147483646},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(realToInt(c.x, M::ToNearest), c.nearest) << c.x;
        EXPECT_EQ(realToInt(c.x, M::Downward), c.down) << c.x;
        EXPECT_EQ(realToInt(c.x, M::Upward), c.up) << c.x;
        EXPECT_EQ(realToInt(c.x, M::TowardZero), c.zero) << c.x;
    }
    // The colour channels: x * 255.0 to nearest, ties to even.
    EXPECT_EQ(realToInt(0.3 * 255.0, M::ToNearest), 76);
    EXPECT_EQ(realToInt(0.5 * 255.0, M::ToNearest), 128);
    EXPECT_EQ(realToInt(0.81 * 255.0, M::ToNearest), 207);
    EXPECT_EQ(realToInt((0.35 - 0.3) * 255.0, M::ToNearest), 13);
    EXPECT_EQ(realToIntWithMode(-2.5, M::ToNearest), -2.0);
    EXPECT_EQ(realToIntWithMode(1e300, M::ToNearest), 1e300);
}

TEST(RealToInt, IndependentOfProcessorRoundingMode) {
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    std::int32_t tie = realToInt(2.5, RoundingMode::ToNearest);
    std::int32_t negTie = realToInt(-3.5, RoundingMode::ToNearest);
    std::int32_t down = realToInt(2.7, RoundingMode::Downward);
    std::fesetround(saved);
    EXPECT_EQ(tie, 2);
    EXPECT_EQ(negTie, -4);
    EXPECT_EQ(down, 2);
    EXPECT_EQ(std::fegetround(), saved);
}

TEST(RealToInt, RangeAndNaN) {
    using M = RoundingMode;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (M m : {M::ToNearest, M::Downward, M::Upward, M::TowardZero}) {
        EXPECT_THROW(realToInt(nan, m), Domain);
        EXPECT_THROW(realToInt(inf, m), Overflow);
        EXPECT_THROW(realToInt(-inf, m), Overflow);
        EXPECT_THROW(realToInt(3e9, m), Overflow);
        EXPECT_EQ(realToInt(-0.0, m), 0);
        EXPECT_EQ(realToInt(-2147483648.0, m), kMin);
        EXPECT_EQ(realToInt(2147483647.0, m), kMax);
    }
    // In range or not depending on the direction of rounding.
    EXPECT_EQ(realToInt(2147483647.4, M::Downward), kMax);
    EXPECT_THROW(realToInt(2147483647.4, M::Upward), Overflow);
    EXPECT_THROW(realToInt(2147483647.5, M::ToNearest), Overflow);
    EXPECT_EQ(realToInt(-2147483648.7, M::TowardZero), kMin);
    EXPECT_EQ(realToInt(-2147483648.7, M::Upward), kMin);
    EXPECT_THROW(realToInt(-2147483648.7, M::Downward), Overflow);
    EXPECT_THROW(realToInt(-2147483648.7, M::ToNearest), Overflow);
}

TEST(CheckSize, Bounds) {
    EXPECT_NO_THROW(checkSize(0));
    EXPECT_NO_THROW(checkSize(2147483645));
    EXPECT_THROW(checkSize(2147483646), Size);
    EXPECT_THROW(checkSize(-1), Size);
}

}  // namespace
}  // namespace zil
