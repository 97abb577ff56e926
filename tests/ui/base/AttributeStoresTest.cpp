#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/base/AttributeStores.hpp"

namespace zil {
namespace {

// Two stores of 8 slots, slot i holding 10 i + 1 (never the empty 0).
struct Filled {
    AttributeStores stores{8};
    std::shared_ptr<AttributeStore<int>> a = stores.newAttributeStore<int>();
    std::shared_ptr<AttributeStore<std::string>> b = stores.newAttributeStore<std::string>();
    Filled() {
        for (int i = 0; i < 8; ++i) {
            a->at(i) = 10 * i + 1;
            b->at(i) = std::to_string(10 * i + 1);
        }
    }
};

TEST(AttributeStores, GrowAndShrinkKeepTheSlotsThatRemain) {
    using V = std::vector<int>;
    const std::pair<std::int64_t, V> cases[] = {
        {12, {1, 11, 21, 31, 41, 51, 61, 71, 0, 0, 0, 0}},
        {3, {1, 11, 21}},
        {0, {}},
    };
    for (const auto& [to, want] : cases) {
        Filled f;
        f.stores.growAttributeStores(to);
        EXPECT_EQ(f.stores.capacity(), to);
        EXPECT_EQ(*f.a->array(), want);
        EXPECT_EQ(f.b->size(), to);
        auto late = f.stores.newAttributeStore<int>();  // full length at once
        EXPECT_EQ(*late->array(), V(to));
    }
}

TEST(AttributeStores, FetchedArraySurvivesAGrowAndSizeChangesNothing) {
    Filled f;
    auto before = f.a->array();
    f.stores.growAttributeStores(9);
    f.a->at(2) = 99;
    EXPECT_EQ(*before, (std::vector<int>{1, 11, 21, 31, 41, 51, 61, 71}));
    EXPECT_EQ(f.a->at(2), 99);
    for (std::int64_t n : {std::int64_t{2147483646}, std::int64_t{1} << 40, std::int64_t{-1}}) {
        auto arrayA = f.a->array();
        auto arrayB = f.b->array();
        EXPECT_THROW(f.stores.growAttributeStores(n), Size) << n;
        EXPECT_EQ(f.a->array(), arrayA);
        EXPECT_EQ(f.b->array(), arrayB);
        EXPECT_EQ(f.stores.capacity(), 9);
    }
}

TEST(AttributeStores, DestroyClearsTheIdInEveryStoreButSlotZero) {
    for (std::int32_t id : {0, 1, 5, 7}) {
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
    EXPECT_EQ(f.a->at(7), 71);
}

}  // namespace
}  // namespace zil
