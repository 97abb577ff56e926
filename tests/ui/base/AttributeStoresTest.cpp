#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/base/AttributeStores.hpp"

namespace zil {
namespace {

// Fills slots 0 .. size-1 with i * 10 + 1 (never the empty 0).
void fill(AttributeStore<int>& s) {
    for (int i = 0; i < s.size(); ++i) s.at(i) = i * 10 + 1;
}

std::vector<int> contents(const AttributeStore<int>& s) { return *s.array(); }

TEST(AttributeStores, NewStoreHasTheCapacityAtOnce) {
    AttributeStores stores(8);
    auto early = stores.newAttributeStore<int>();
    stores.growAttributeStores(12);
    auto late = stores.newAttributeStore<std::string>();
    EXPECT_EQ(stores.capacity(), 12);
    EXPECT_EQ(stores.storeCount(), 2u);
    EXPECT_EQ(early->size(), 12);
    EXPECT_EQ(*late->array(), std::vector<std::string>(12));
}

TEST(AttributeStores, GrowAndShrinkKeepTheSlotsThatRemain) {
    struct Case {
        std::int64_t to;
        std::vector<int> want;
    };
    // From 8 filled slots (1, 11, ..., 71).
    const Case cases[] = {
        {16, {1, 11, 21, 31, 41, 51, 61, 71, 0, 0, 0, 0, 0, 0, 0, 0}},
        {8, {1, 11, 21, 31, 41, 51, 61, 71}},
        {3, {1, 11, 21}},
        {0, {}},
    };
    for (const Case& c : cases) {
        AttributeStores stores(8);
        auto a = stores.newAttributeStore<int>();
        auto b = stores.newAttributeStore<int>();
        fill(*a);
        fill(*b);
        stores.growAttributeStores(c.to);
        EXPECT_EQ(stores.capacity(), c.to);
        EXPECT_EQ(contents(*a), c.want) << c.to;
        EXPECT_EQ(contents(*b), c.want) << c.to;
    }
}

TEST(AttributeStores, FetchedArraySurvivesAGrow) {
    AttributeStores stores(4);
    auto s = stores.newAttributeStore<int>();
    fill(*s);
    std::shared_ptr<std::vector<int>> before = s->array();
    stores.growAttributeStores(8);
    s->at(2) = 99;
    s->at(6) = 98;
    EXPECT_EQ(*before, (std::vector<int>{1, 11, 21, 31}));  // untouched, still alive
    EXPECT_NE(s->array(), before);
    EXPECT_EQ(contents(*s), (std::vector<int>{1, 11, 99, 31, 0, 0, 98, 0}));
}

TEST(AttributeStores, SizeLeavesEveryArrayAsItWas) {
    for (std::int64_t n : {std::int64_t{2147483646}, std::int64_t{2147483647}, std::int64_t{1} << 40, std::int64_t{-1}}) {
        AttributeStores stores(4);
        auto a = stores.newAttributeStore<int>();
        auto b = stores.newAttributeStore<int>();
        fill(*a);
        auto arrayA = a->array(), arrayB = b->array();
        EXPECT_THROW(stores.growAttributeStores(n), Size) << n;
        EXPECT_THROW(a->resize(n), Size) << n;
        EXPECT_EQ(a->array(), arrayA);
        EXPECT_EQ(b->array(), arrayB);
        EXPECT_EQ(contents(*a), (std::vector<int>{1, 11, 21, 31}));
        EXPECT_EQ(stores.capacity(), 4);
    }
    EXPECT_THROW(AttributeStores(-1), Size);
}

TEST(AttributeStores, DestroyClearsTheIdInEveryStoreButSlotZero) {
    struct Case {
        std::int32_t id;
        std::vector<int> want;
    };
    const Case cases[] = {
        {5, {1, 11, 21, 31, 41, 0, 61, 71}},
        {7, {1, 11, 21, 31, 41, 51, 61, 0}},
        {1, {1, 0, 21, 31, 41, 51, 61, 71}},
        {0, {1, 11, 21, 31, 41, 51, 61, 71}},  // no control: slot 0 stays
    };
    for (const Case& c : cases) {
        AttributeStores stores(8);
        auto a = stores.newAttributeStore<int>();
        auto lists = stores.newAttributeStore<std::vector<int>>();
        fill(*a);
        for (int i = 0; i < 8; ++i) lists->at(i) = {i};
        stores.clearAttributeStores(c.id);
        EXPECT_EQ(contents(*a), c.want) << c.id;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(lists->at(i), i == c.id && i != 0 ? std::vector<int>{} : std::vector<int>{i}) << c.id;
    }
}

TEST(AttributeStores, IdOutsideTheStoresIsSubscript) {
    AttributeStores stores(4);
    auto a = stores.newAttributeStore<int>();
    fill(*a);
    EXPECT_THROW(stores.clearAttributeStores(4), Subscript);
    EXPECT_THROW(stores.clearAttributeStores(-1), Subscript);
    EXPECT_THROW(a->at(4), Subscript);
    EXPECT_THROW(a->at(-1), Subscript);
    EXPECT_THROW(a->clearSlot(4), Subscript);
    EXPECT_EQ(contents(*a), (std::vector<int>{1, 11, 21, 31}));
}

}  // namespace
}  // namespace zil
