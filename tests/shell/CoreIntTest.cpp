#include <gtest/gtest.h>

#include <array>
#include <cfenv>
#include <limits>
#include <utility>

#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"

namespace zil {
namespace {

constexpr std::int32_t kMin = INT32_MIN;
constexpr std::int32_t kMax = INT32_MAX;
using M = RoundingMode;

TEST(IntDivMod, FloorSemanticsAndFailures) {
    struct Case { std::int32_t a, b, q, r; };
    const Case cases[] = {
        {7, 2, 3, 1},         {-7, 2, -4, 1},        {7, -2, -4, -1},          {-7, -2, 3, -1},
        {-6, 3, -2, 0},       {0, -5, 0, 0},         {-513, 512, -2, 511},     {kMin, 2, kMin / 2, 0},
        {kMax, -1, -kMax, 0}, {kMin, kMax, -2, kMax - 1}, {kMax, kMin, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(intDiv(c.a, c.b), c.q) << c.a << " div " << c.b;
        EXPECT_EQ(intMod(c.a, c.b), c.r) << c.a << " mod " << c.b;
    }
    EXPECT_THROW(intDiv(1, 0), Div);
    EXPECT_THROW(intMod(5, 0), Div);
    EXPECT_THROW(intDiv(kMin, -1), Overflow);
    EXPECT_EQ(intMod(kMin, -1), 0);
}

TEST(IntToString, TildeForNegatives) {
    EXPECT_EQ(intToString(0) + " " + intToString(-1) + " " + intToString(kMax), "0 ~1 2147483647");
    EXPECT_EQ(intToString(kMin) + " " + intToString(INT64_MIN), "~2147483648 ~9223372036854775808");
}

TEST(RealToInt, FourModesWithTiesToEven) {
    const M modes[] = {M::ToNearest, M::Downward, M::Upward, M::TowardZero};
    const std::pair<double, std::array<std::int32_t, 4>> cases[] = {
        {2.5, {2, 2, 3, 2}},        {3.5, {4, 3, 4, 3}},   {-2.5, {-2, -3, -2, -2}},  {-3.5, {-4, -4, -3, -3}},
        {-0.5, {0, -1, 0, 0}},      {1e-300, {0, 0, 1, 0}}, {-7.0, {-7, -7, -7, -7}},
        {2.4999999999999996, {2, 2, 3, 2}},                 {-0.49999999999999994, {0, -1, 0, 0}},
        {2147483646.5, {2147483646, 2147483646, 2147483647, 2147483646}},
    };
    for (const auto& [x, want] : cases)
        for (int m = 0; m < 4; ++m) EXPECT_EQ(realToInt(x, modes[m]), want[m]) << x << " mode " << m;
    EXPECT_EQ(realToInt(0.5 * 255.0, M::ToNearest), 128);  // a colour channel
    EXPECT_EQ(realToIntWithMode(-2.5, M::ToNearest), -2.0);
    EXPECT_EQ(realToIntWithMode(1e300, M::ToNearest), 1e300);
    // The processor's rounding mode plays no part.
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    const std::array<std::int32_t, 3> got{realToInt(2.5, M::ToNearest), realToInt(-3.5, M::ToNearest),
                                          realToInt(2.7, M::Downward)};
    std::fesetround(saved);
    EXPECT_EQ(got, (std::array<std::int32_t, 3>{2, -4, 2}));
}

TEST(RealToInt, RangeAndNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (M m : {M::ToNearest, M::Downward, M::Upward, M::TowardZero}) {
        EXPECT_THROW(realToInt(nan, m), Domain);
        EXPECT_THROW(realToInt(inf, m), Overflow);
        EXPECT_THROW(realToInt(-inf, m), Overflow);
        EXPECT_THROW(realToInt(3e9, m), Overflow);
        EXPECT_EQ(realToInt(-2147483648.0, m), kMin);
        EXPECT_EQ(realToInt(2147483647.0, m), kMax);
    }
    // In range or not depending on the direction of rounding.
    EXPECT_EQ(realToInt(2147483647.4, M::Downward), kMax);
    EXPECT_THROW(realToInt(2147483647.4, M::Upward), Overflow);
    EXPECT_THROW(realToInt(2147483647.5, M::ToNearest), Overflow);
    EXPECT_EQ(realToInt(-2147483648.7, M::TowardZero), kMin);
    EXPECT_THROW(realToInt(-2147483648.7, M::Downward), Overflow);
}

TEST(CheckSize, Bounds) {
    EXPECT_NO_THROW(checkSize(2147483645));
    EXPECT_THROW(checkSize(2147483646), Size);
    EXPECT_THROW(checkSize(-1), Size);
}

}  // namespace
}  // namespace zil
