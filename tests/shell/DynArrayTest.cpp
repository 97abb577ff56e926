#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/DynArray.hpp"

namespace zil {
namespace {

std::vector<int> contents(const DynArray<int>& a) { return std::vector<int>(a.begin(), a.end()); }

template <class F>
std::string messageOf(F f) {
    try {
        f();
    } catch (const EGeneric& e) {
        EXPECT_EQ(e.kind, 0);
        return e.name + ": " + e.message;
    }
    return "no error";
}

TEST(DynArray, GrowthRule) {
    DynArray<int> a;
    EXPECT_EQ(a.capacity(), 0);
    a.append(0);
    EXPECT_EQ(a.capacity(), 32);
    for (int i = 1; i < 32; ++i) a.append(i);
    EXPECT_EQ(a.capacity(), 32);
    a.append(32);
    EXPECT_EQ(a.capacity(), 64);
    for (int i = 33; i < 65; ++i) a.append(i);
    EXPECT_EQ(a.capacity(), 128);
    EXPECT_EQ(a.count(), 65);
    for (int i = 0; i < 65; ++i) EXPECT_EQ(a.readAt(i), i);

    EXPECT_EQ(DynArray<int>::grownCapacity(0), 32);
    EXPECT_EQ(DynArray<int>::grownCapacity(15), 32);
    EXPECT_EQ(DynArray<int>::grownCapacity(16), 32);
    EXPECT_EQ(DynArray<int>::grownCapacity(17), 34);
}

TEST(DynArray, CapacityLimitRaisesSize) {
    EXPECT_EQ(DynArray<int>::grownCapacity(1 << 29), 1 << 30);
    EXPECT_THROW(DynArray<int>::grownCapacity(1 << 30), Size);
    EXPECT_THROW(DynArray<int>::grownCapacity(INT32_MAX), Size);
}

TEST(DynArray, ReadWriteFailures) {
    DynArray<int> a;
    EXPECT_EQ(messageOf([&] { a.readAt(0); }), "IndexOutOfRange: readAt");
    a.append(5);
    a.append(6);
    EXPECT_EQ(messageOf([&] { a.readAt(2); }), "IndexOutOfRange: readAt");
    EXPECT_EQ(messageOf([&] { a.writeAt(2, 1); }), "IndexOutOfRange: writeAt");
    EXPECT_THROW(a.readAt(-1), Subscript);
    EXPECT_THROW(a.writeAt(-1, 0), Subscript);
    a.writeAt(1, 9);
    EXPECT_EQ(contents(a), (std::vector<int>{5, 9}));
}

TEST(DynArray, InsertMovesLaterElementsUp) {
    DynArray<int> a;
    a.insertAt(0, 2);  // into an empty array
    a.insertAt(0, 0);
    a.insertAt(1, 1);
    a.insertAt(3, 3);  // at the count: an append
    EXPECT_EQ(contents(a), (std::vector<int>{0, 1, 2, 3}));
    // Inserting while full grows and still moves everything up.
    DynArray<int> b;
    for (int i = 0; i < 32; ++i) b.append(i);
    b.insertAt(5, 100);
    EXPECT_EQ(b.count(), 33);
    EXPECT_EQ(b.capacity(), 64);
    EXPECT_EQ(b.readAt(4), 4);
    EXPECT_EQ(b.readAt(5), 100);
    EXPECT_EQ(b.readAt(6), 5);
    EXPECT_EQ(b.readAt(32), 31);
}

TEST(DynArray, InsertDeleteFailuresNameTheIndex) {
    DynArray<int> a;
    a.append(1);
    EXPECT_EQ(messageOf([&] { a.insertAt(2, 0); }), "IndexOutOfRange: insertAt 2");
    EXPECT_EQ(messageOf([&] { a.insertAt(-1, 0); }), "IndexOutOfRange: insertAt ~1");
    EXPECT_EQ(messageOf([&] { a.deleteAt(1); }), "IndexOutOfRange: deleteAt 1");
    EXPECT_EQ(messageOf([&] { a.deleteAt(-3); }), "IndexOutOfRange: deleteAt ~3");
    EXPECT_EQ(contents(a), (std::vector<int>{1}));  // failures change nothing
}

TEST(DynArray, DeleteMovesDownAndNeverShrinks) {
    DynArray<int> a;
    for (int i = 0; i < 5; ++i) a.append(i);
    a.deleteAt(4);  // last: only the count drops
    a.deleteAt(0);
    a.deleteAt(1);
    EXPECT_EQ(contents(a), (std::vector<int>{1, 3}));
    EXPECT_EQ(a.capacity(), 32);
    a.clear();
    EXPECT_EQ(a.count(), 0);
    EXPECT_EQ(a.capacity(), 0);
}

TEST(DynArray, AppendingOwnElementAcrossGrowth) {
    DynArray<std::string> a;
    for (int i = 0; i < 32; ++i) a.append("s" + std::to_string(i));
    a.append(a.readAt(0));  // growth replaces the storage x lives in
    EXPECT_EQ(a.readAt(32), "s0");
    while (a.count() < 64) a.append("t");
    a.insertAt(0, a.readAt(1));
    EXPECT_EQ(a.capacity(), 128);
    EXPECT_EQ(a.readAt(0), "s1");
    EXPECT_EQ(a.readAt(2), "s1");
}

}  // namespace
}  // namespace zil
