#include "ui/base/TextGeometry.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "shell/Errors.hpp"

namespace zil {
namespace {

using namespace TextGeometry;

// 'i' is 3 pixels wide, 'W' 9, anything else 7.
std::int32_t widthOf(unsigned char c) { return c == 'i' ? 3 : c == 'W' ? 9 : 7; }

TEST(TextGeometry, CharacterBoundaryUnderThePointer) {
    struct Case {
        const char* text;
        std::int32_t n, x, boundary;
    };
    const Case cases[] = {
        {"abc", 3, 10, 1},   // past a (rest 3), on b: 3 < 7 - 3, left part
        {"abc", 3, 11, 2},   // rest 4 is not below 3: right part
        {"abc", 3, 7, 1},    // exactly between a and b
        {"abc", 3, 3, 0},    // a's left part
        {"abc", 3, 4, 1},    // 3.5 is a's middle: 4 is on its right
        {"abc", 3, 0, 0},    // at or left of the text
        {"abc", 3, -5, 0},
        {"abc", 3, 100, 3},  // past the end
        {"abc", 2, 100, 2},  // only the first two count
        {"iW", 2, 2, 1},     // i is 3 wide: 2 is on its right part
        {"iW", 2, 7, 1},     // on W (rest 4 < 9 - 4)
        {"iW", 2, 8, 2},
        {"", 0, 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(characterBoundary(c.text, c.n, c.x, widthOf), c.boundary) << c.text << " n " << c.n << " x " << c.x;
    EXPECT_THROW(characterBoundary("abc", 4, 5, widthOf), Subscript);
    EXPECT_THROW(characterBoundary("abc", -1, 5, widthOf), Subscript);
}

TEST(TextGeometry, DragSelectionRunsFromTheSmallerBoundary) {
    EXPECT_EQ(dragSelection(5, 2), (Selection{2, 3}));
    EXPECT_EQ(dragSelection(2, 5), (Selection{2, 3}));
    EXPECT_EQ(dragSelection(5, 5), (Selection{5, 0}));
}

TEST(TextGeometry, ScrollDeltasKeepTheCursorInsideTheField) {
    struct Case {
        std::int32_t p, measured, half;  // field 100 wide, steps 7 and 50; 0 stands for none
    };
    const Case cases[] = {
        {4, 0, 0},     // inside from 4 ...
        {95, 0, 0},    // ... to W - 5
        {96, 7, 50},   // 96 - 7 = 89 is not past 95: by the step
        {130, 42, 50}, // 123 is past 95: 7 + 130 - 100 + 5
        {3, -7, -50},  // 3 + 7 = 10 is past 3: by the step
        {-20, -30, -50},  // -13 is not: -20 - 3 - 7
    };
    auto orZero = [](std::optional<std::int32_t> d) { return d.value_or(0); };
    for (const Case& c : cases) {
        EXPECT_EQ(orZero(measuredScrollDelta(c.p, 100, 7)), c.measured) << c.p;
        EXPECT_EQ(orZero(halfScrollDelta(c.p, 100, 50)), c.half) << c.p;
    }
    EXPECT_FALSE(measuredScrollDelta(50, 100, 7).has_value());
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_THROW(halfScrollDelta(0, 100, kMin), Overflow);
    EXPECT_THROW(measuredScrollDelta(kMin, 100, 7), Overflow);  // kMin - 3 - 7
}

}  // namespace
}  // namespace zil
