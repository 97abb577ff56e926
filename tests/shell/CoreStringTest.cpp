#include <gtest/gtest.h>

#include "shell/CoreString.hpp"
#include "shell/Errors.hpp"

namespace zil {
namespace {

TEST(CheckSlice, BoundsAndExtract) {
    EXPECT_EQ(checkSlice("hello", 5), 5);
    EXPECT_EQ(checkSlice("", 0), 0);
    EXPECT_EQ(checkSlice(std::size_t{10}, 4, 5), 9);
    struct Case { std::int32_t start; std::optional<std::int32_t> count; };
    // The last: start + count must not wrap round.
    for (Case c : {Case{6, {}}, Case{-1, {}}, Case{2, 4}, Case{0, -1}, Case{-1, 1}, Case{3, INT32_MAX}})
        EXPECT_THROW(checkSlice("hello", c.start, c.count), Subscript) << c.start;
    EXPECT_EQ(extractString("hello", 1, 3) + "|" + extractString("hello", 3) + "|" + extractString("hello", 5),
              "ell|lo|");
}

TEST(ScanInt, SignsStopsAndRange) {
    struct Case { const char* text; std::optional<std::int32_t> value; };
    for (Case c : {Case{"+7", 7}, Case{"~7", -7}, Case{"  12abc", 12}, Case{"-", {}}, Case{"+-1", {}},
                   Case{"- 1", {}}, Case{"~2147483648", INT32_MIN}, Case{"-2147483648", INT32_MIN}})
        EXPECT_EQ(scanInt(c.text), c.value) << c.text;
    for (const char* big : {"2147483648", "-2147483649", "99999999999999999999999"})
        EXPECT_THROW(scanInt(big), Overflow) << big;
}

}  // namespace
}  // namespace zil
