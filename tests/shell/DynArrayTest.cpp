#include <string>
#include <vector>

#include "ShellTestSupport.hpp"
#include "shell/DynArray.hpp"

namespace zil {
namespace {

using testing::failureOf;

std::vector<int> contents(const DynArray<int>& a) { return std::vector<int>(a.begin(), a.end()); }

TEST(DynArray, GrowthRule) {
    DynArray<int> a;
    EXPECT_EQ(a.capacity(), 0);
    for (int i = 0; i < 65; ++i) {
        a.append(i);
        EXPECT_EQ(a.capacity(), i < 32 ? 32 : i < 64 ? 64 : 128) << i;
    }
    for (int i = 0; i < 65; ++i) EXPECT_EQ(a.readAt(i), i);
    EXPECT_EQ(DynArray<int>::grownCapacity(16), 32);
    EXPECT_EQ(DynArray<int>::grownCapacity(17), 34);
    EXPECT_EQ(DynArray<int>::grownCapacity(1 << 29), 1 << 30);
    EXPECT_THROW(DynArray<int>::grownCapacity(1 << 30), Size);
    EXPECT_THROW(DynArray<int>::grownCapacity(INT32_MAX), Size);
}

TEST(DynArray, FailuresNameTheOperationAndChangeNothing) {
    DynArray<int> a;
    a.append(5);
    EXPECT_EQ(failureOf([&] { a.readAt(1); }), "IndexOutOfRange: readAt");
    EXPECT_EQ(failureOf([&] { a.writeAt(1, 1); }), "IndexOutOfRange: writeAt");
    EXPECT_EQ(failureOf([&] { a.insertAt(2, 0); }), "IndexOutOfRange: insertAt 2");
    EXPECT_EQ(failureOf([&] { a.insertAt(-1, 0); }), "IndexOutOfRange: insertAt ~1");
    EXPECT_EQ(failureOf([&] { a.deleteAt(1); }), "IndexOutOfRange: deleteAt 1");
    EXPECT_EQ(failureOf([&] { a.deleteAt(-3); }), "IndexOutOfRange: deleteAt ~3");
    EXPECT_THROW(a.readAt(-1), Subscript);
    EXPECT_THROW(a.writeAt(-1, 0), Subscript);
    EXPECT_EQ(contents(a), std::vector<int>{5});
    a.writeAt(0, 6);
    EXPECT_EQ(a.readAt(0), 6);
}

TEST(DynArray, InsertMovesUpAndDeleteMovesDown) {
    DynArray<int> a;
    std::vector<int> want;
    // Into the empty array, then in the middle; the last one while full,
    // so the array grows and still moves everything up.
    for (int i = 0; i < 33; ++i) {
        a.insertAt(i / 2, i);
        want.insert(want.begin() + i / 2, i);
    }
    a.insertAt(33, -1);  // at the count: an append
    want.push_back(-1);
    EXPECT_EQ(contents(a), want);
    for (int i : {33, 16, 0}) {  // the last one only drops the count
        a.deleteAt(i);
        want.erase(want.begin() + i);
    }
    EXPECT_EQ(contents(a), want);
    EXPECT_EQ(a.capacity(), 64);  // never shrinks
}

TEST(DynArray, AppendingOwnElementAcrossGrowth) {
    DynArray<std::string> a;
    for (int i = 0; i < 32; ++i) {
        std::string s = "s";
        s += std::to_string(i);
        a.append(s);
    }
    a.append(a.readAt(0));  // growth replaces the storage the argument lives in
    EXPECT_EQ(a.readAt(32), "s0");
    while (a.count() < 64) a.append("t");
    a.insertAt(0, a.readAt(1));
    EXPECT_EQ(a.capacity(), 128);
    EXPECT_EQ(a.readAt(0), "s1");
    EXPECT_EQ(a.readAt(2), "s1");
}

}  // namespace
}  // namespace zil
