#include "ui/base/TextGeometry.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "shell/Errors.hpp"

namespace zil {
namespace {

using namespace TextGeometry;

TEST(TextGeometry, CharacterBoundaryUnderThePointer) {
    // 'i' is 3 pixels wide, 'W' 9, anything else 7.
    auto widthOf = [](unsigned char c) { return c == 'i' ? 3 : c == 'W' ? 9 : 7; };
    const std::tuple<const char*, std::int32_t, std::int32_t, std::int32_t> cases[] = {
        {"abc", 3, 10, 1},   // past a (rest 3), on b: 3 < 7 - 3, left part
        {"abc", 3, 11, 2},   // rest 4 is not below 3: right part
        {"abc", 3, 7, 1},    // exactly between a and b
        {"abc", 3, 4, 1},    // 3.5 is a's middle: 4 is on its right
        {"abc", 3, -5, 0},   // left of the text
        {"abc", 2, 100, 2},  // past the end: only the first two count
        {"iW", 2, 7, 1},     // on W (rest 4 < 9 - 4)
    };
    for (const auto& [text, n, x, want] : cases)
        EXPECT_EQ(characterBoundary(text, n, x, widthOf), want) << text << " n " << n << " x " << x;
    EXPECT_THROW(characterBoundary("abc", 4, 5, widthOf), Subscript);
    EXPECT_EQ(dragSelection(5, 2), (Selection{2, 3}));
}

TEST(TextGeometry, ScrollDeltasKeepTheCursorInsideTheField) {
    // Field 100 wide, steps 7 and 50; 0 stands for none.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t> cases[] = {
        {4, 0, 0},         // inside from 4 ...
        {95, 0, 0},        // ... to W - 5
        {96, 7, 50},       // 96 - 7 = 89 is not past 95: by the step
        {130, 42, 50},     // 123 is past 95: 7 + 130 - 100 + 5
        {3, -7, -50},      // 3 + 7 = 10 is past 3: by the step
        {-20, -30, -50},   // -13 is not: -20 - 3 - 7
    };
    for (const auto& [p, measured, half] : cases) {
        EXPECT_EQ(measuredScrollDelta(p, 100, 7).value_or(0), measured) << p;
        EXPECT_EQ(halfScrollDelta(p, 100, 50).value_or(0), half) << p;
    }
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_THROW(halfScrollDelta(0, 100, kMin), Overflow);
    EXPECT_THROW(measuredScrollDelta(kMin, 100, 7), Overflow);  // kMin - 3 - 7
}

}  // namespace
}  // namespace zil
