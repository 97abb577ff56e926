#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "shell/ShellTestSupport.hpp"
#include "ui/base/ObservedValue.hpp"

namespace zil {
namespace {

using Log = std::vector<std::string>;
using Int = ObservedValue<std::int32_t>;

// An int value of control 7, held 5; callbacks log "<tag> <owner>
// <delivered> <held>".
struct Recorded {
    Int v{makeIdCell(7), 5};
    Log log;
    void listen(Int::List& list, std::string tag) {
        list.push([this, tag](const IdCell& o, const std::int32_t& x) {
            log.push_back(tag + " " + std::to_string(*o) + " " + std::to_string(x) + " " + std::to_string(v.value()));
        });
    }
};

TEST(ObservedValue, SetDeliversAroundTheStoreOnlyWhenTheValueChanges) {
    for (auto [to, want] : {std::pair{5, Log{}}, {6, Log{"before 7 6 5", "after 7 6 6"}}}) {
        Recorded r;
        r.listen(r.v.onChanging, "before");
        r.listen(r.v.onChanged, "after");
        EXPECT_EQ(r.v.set(to), !want.empty());
        EXPECT_EQ(r.log, want);
    }
    Recorded r;  // a failure before the store skips the store and onChanged
    r.listen(r.v.onChanged, "after");
    r.v.onChanging.push([](const IdCell&, const std::int32_t&) { throw Overflow(); });
    EXPECT_THROW(r.v.set(9), Overflow);
    EXPECT_EQ(r.v.value(), 5);
    EXPECT_TRUE(r.log.empty());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ObservedValue<double> real{makeIdCell(1), nan};
    EXPECT_TRUE(real.set(nan));  // a NaN is never equal
    ObservedValue<IRect2D> rect{makeIdCell(1), {1, 2, 3, 4}};
    EXPECT_FALSE(rect.set({1, 2, 3, 4}));
    EXPECT_TRUE(rect.set({1, 2, 3, 5}));
    // References are equal when they name the same control; no cell is 0.
    ObservedValue<IdCell, SameControlId> ref{makeIdCell(1), makeIdCell(0)};
    EXPECT_FALSE(ref.set(nullptr));
    EXPECT_TRUE(ref.set(makeIdCell(3)));
    EXPECT_FALSE(ref.set(makeIdCell(3)));
}

TEST(ObservedValue, ListsRunNewestFirstFromTheListReadOnce) {
    Recorded r;
    r.listen(r.v.onChanged, "a");
    IdentityKey k = newIdentityKey();
    r.v.onChanged.push(k, [&](const IdCell&, const std::int32_t&) { r.log.push_back("keyed"); });
    r.listen(r.v.onChanged, "b");
    // Runs first: what it adds waits for the next walk, what it removes
    // still runs in this one.
    IdentityKey once = r.v.onChanged.pushKeyed([&](const IdCell&, const std::int32_t&) {
        r.listen(r.v.onChanged, "new");
        r.v.onChanged.removeKey(k);
        r.v.onChanged.removeKey(once);
    });
    r.v.set(1);
    EXPECT_EQ(r.log, (Log{"b 7 1 1", "keyed", "a 7 1 1"}));
    r.log.clear();
    r.v.set(2);
    EXPECT_EQ(r.log, (Log{"new 7 2 2", "b 7 2 2", "a 7 2 2"}));
    // A key may name several entries; a null key names none.
    for (int i = 0; i < 2; ++i) r.v.onChanged.push(k, [](const IdCell&, const std::int32_t&) {});
    EXPECT_EQ(r.v.onChanged.removeKey(nullptr), 0u);
    EXPECT_EQ(r.v.onChanged.removeKey(k), 2u);
}

TEST(ObservedArray, ChangesAreDeliveredAroundThemAndBadIndexesBeforeAny) {
    ObservedArray<std::string> a{makeIdCell(4)};
    Log log;
    a.onChanging.push([&](const IdCell& o) { log.push_back(std::to_string(*o) + " before " + std::to_string(a.count())); });
    a.onChanged.push([&](const IdCell&) { log.push_back("after " + std::to_string(a.count())); });
    a.append("x");
    a.insertAt(0, a.readAt(0));  // its own element
    a.writeAt(1, "z");
    a.deleteAt(0);
    EXPECT_EQ(std::vector<std::string>(a.items().begin(), a.items().end()), std::vector<std::string>{"z"});
    EXPECT_EQ(log, (Log{"4 before 0", "after 1", "4 before 1", "after 2", "4 before 2", "after 2", "4 before 2",
                        "after 1"}));
    log.clear();
    using testing::failureOf;
    EXPECT_EQ(failureOf([&] { a.insertAt(2, "q"); }), "IndexOutOfRange: insertAt 2");
    EXPECT_EQ(failureOf([&] { a.deleteAt(-1); }), "IndexOutOfRange: deleteAt ~1");
    EXPECT_EQ(failureOf([&] { a.writeAt(1, "q"); }), "IndexOutOfRange: writeAt");
    a.reset();  // silently
    EXPECT_EQ(a.count(), 0);
    EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace zil
