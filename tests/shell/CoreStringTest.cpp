#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/CoreString.hpp"
#include "shell/Errors.hpp"

namespace zil {
namespace {

TEST(CheckSlice, BoundsWithAndWithoutCount) {
    EXPECT_EQ(checkSlice("hello", 0), 5);
    EXPECT_EQ(checkSlice("hello", 5), 5);
    EXPECT_EQ(checkSlice("hello", 2, 3), 5);
    EXPECT_EQ(checkSlice("hello", 5, 0), 5);
    EXPECT_EQ(checkSlice("", 0), 0);
    EXPECT_THROW(checkSlice("hello", 6), Subscript);
    EXPECT_THROW(checkSlice("hello", -1), Subscript);
    EXPECT_THROW(checkSlice("hello", 2, 4), Subscript);
    EXPECT_THROW(checkSlice("hello", 0, -1), Subscript);
    EXPECT_THROW(checkSlice("hello", -1, 1), Subscript);
    // start + count must not wrap round.
    EXPECT_THROW(checkSlice("hello", 3, INT32_MAX), Subscript);
    EXPECT_EQ(checkSlice(std::size_t{10}, 4, 6), 10);
}

TEST(ExtractString, Slices) {
    EXPECT_EQ(extractString("hello", 1, 3), "ell");
    EXPECT_EQ(extractString("hello", 3), "lo");
    EXPECT_EQ(extractString("hello", 5), "");
    EXPECT_THROW(extractString("hello", 4, 2), Subscript);
}

TEST(ConcatStrings, JoinsInOrder) {
    EXPECT_EQ(concatStrings({"Attribute ", "zoom", " not found during get"}), "Attribute zoom not found during get");
    EXPECT_EQ(concatStrings({}), "");
    std::string nul(1, '\0');
    EXPECT_EQ(concatStrings({"a", nul, "b"}).size(), 3u);
    std::vector<std::string> parts{"ui/lf/vuq/", "ButtonOut.bmp"};
    EXPECT_EQ(concatStrings(parts), "ui/lf/vuq/ButtonOut.bmp");
    EXPECT_EQ(fromCString(nullptr), "");
    EXPECT_EQ(fromCString("abc"), "abc");
}

TEST(ScanInt, SignsAndStops) {
    EXPECT_EQ(scanInt("42"), 42);
    EXPECT_EQ(scanInt("+7"), 7);
    EXPECT_EQ(scanInt("-7"), -7);
    EXPECT_EQ(scanInt("~7"), -7);
    EXPECT_EQ(scanInt("  12abc"), 12);
    EXPECT_EQ(scanInt("007"), 7);
    EXPECT_EQ(scanInt(""), std::nullopt);
    EXPECT_EQ(scanInt("-"), std::nullopt);
    EXPECT_EQ(scanInt("x1"), std::nullopt);
    EXPECT_EQ(scanInt("+-1"), std::nullopt);
    EXPECT_EQ(scanInt("- 1"), std::nullopt);
}

TEST(ScanInt, ThirtyTwoBitRange) {
    EXPECT_EQ(scanInt("2147483647"), INT32_MAX);
    EXPECT_EQ(scanInt("~2147483648"), INT32_MIN);
    EXPECT_EQ(scanInt("-2147483648"), INT32_MIN);
    EXPECT_THROW(scanInt("2147483648"), Overflow);
    EXPECT_THROW(scanInt("-2147483649"), Overflow);
    EXPECT_THROW(scanInt("99999999999999999999999"), Overflow);
}

}  // namespace
}  // namespace zil
