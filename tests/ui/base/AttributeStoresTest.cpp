#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/base/AttributeStores.hpp"

namespace zil {
namespace {

using V = std::vector<int>;

// Two stores of 8 slots, slot i holding 10 i + 1 (never the empty 0).
struct Filled {
    AttributeStores stores{8};
    std::shared_ptr<AttributeStore<int>> a = stores.newAttributeStore<int>();
    std::shared_ptr<AttributeStore<std::string>> b = stores.newAttributeStore<std::string>();
    Filled() {
        for (int i = 0; i < 8; ++i) a->at(i) = 10 * i + 1, b->at(i) = std::to_string(10 * i + 1);
    }
};

TEST(AttributeStores, GrowAndShrinkMakeNewArraysKeepingTheSlotsThatRemain) {
    for (const auto& [to, want] : {std::pair<std::int64_t, V>{12, {1, 11, 21, 31, 41, 51, 61, 71, 0, 0, 0, 0}},
                                   {3, {1, 11, 21}}}) {
        Filled f;
        auto before = f.a->array();
        f.stores.growAttributeStores(to);
        EXPECT_EQ(*f.a->array(), want);
        EXPECT_EQ(*before, (V{1, 11, 21, 31, 41, 51, 61, 71}));  // a holder's array stays as it was
        EXPECT_EQ(f.b->size(), to);
        EXPECT_EQ(*f.stores.newAttributeStore<int>()->array(), V(to));  // full length at once
    }
    Filled f;
    for (std::int64_t n : {std::int64_t{2147483646}, std::int64_t{-1}}) {
        auto a = f.a->array();
        auto b = f.b->array();
        EXPECT_THROW(f.stores.growAttributeStores(n), Size) << n;
        EXPECT_TRUE(f.a->array() == a && f.b->array() == b && f.stores.capacity() == 8) << n;
    }
}

TEST(AttributeStores, DestroyClearsTheIdInEveryStoreButSlotZero) {
    for (std::int32_t id : {0, 5, 7}) {
        Filled f;
        f.stores.clearAttributeStores(id);
        for (int i = 0; i < 8; ++i) {
            bool cleared = i == id && id != 0;
            EXPECT_EQ(f.a->at(i), cleared ? 0 : 10 * i + 1) << id;
            EXPECT_EQ(f.b->at(i), cleared ? "" : std::to_string(10 * i + 1)) << id;
        }
    }
    Filled f;
    EXPECT_THROW(f.stores.clearAttributeStores(8), Subscript);
    EXPECT_THROW(f.stores.clearAttributeStores(-1), Subscript);
    EXPECT_THROW(f.a->at(8), Subscript);
}

}  // namespace
}  // namespace zil
