#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "shell/ShellTestSupport.hpp"
#include "ui/base/ObservedValue.hpp"

namespace zil {
namespace {

using testing::failureOf;
using Log = std::vector<std::string>;

struct Boom {};

// An int value owned by control 7 whose callbacks write "<tag> <owner>
// <delivered> <held>" to the log.
struct Recorded {
    IdCell owner = makeIdCell(7);
    ObservedValue<std::int32_t> v{owner, 5};
    Log log;

    void listen(ObservedValue<std::int32_t>::List& list, std::string tag) {
        list.push([this, tag](const IdCell& o, const std::int32_t& x) {
            log.push_back(tag + " " + std::to_string(*o) + " " + std::to_string(x) + " " + std::to_string(v.value()));
        });
    }
};

TEST(ObservedValue, SetDeliversAroundTheStoreOnlyOnChange) {
    struct Case {
        std::int32_t to;
        bool changed;
        Log log;
    };
    // Held 5. onChanging still reads the old value, onChanged the new one;
    // the owner is the context of both.
    const Case cases[] = {
        {5, false, {}},
        {6, true, {"before 7 6 5", "after 7 6 6"}},
        {-5, true, {"before 7 -5 5", "after 7 -5 -5"}},
    };
    for (const Case& c : cases) {
        Recorded r;
        r.listen(r.v.onChanging, "before");
        r.listen(r.v.onChanged, "after");
        EXPECT_EQ(r.v.set(c.to), c.changed) << c.to;
        EXPECT_EQ(r.v.value(), c.to);
        EXPECT_EQ(r.log, c.log) << c.to;
    }
}

TEST(ObservedValue, LastAddedRunsFirst) {
    Recorded r;
    r.listen(r.v.onChanged, "a");
    r.listen(r.v.onChanged, "b");
    r.listen(r.v.onChanged, "c");
    r.v.set(1);
    EXPECT_EQ(r.log, (Log{"c 7 1 1", "b 7 1 1", "a 7 1 1"}));
}

TEST(ObservedValue, ListIsReadOnceAtTheStartOfAWalk) {
    Recorded r;
    IdentityKey laterKey;
    r.listen(r.v.onChanged, "old");
    // Runs first: adds an entry (which must wait) and removes "old" (which
    // must still run in this walk).
    laterKey = r.v.onChanged.pushKeyed([&](const IdCell&, const std::int32_t&) {
        r.log.push_back("walker");
        r.listen(r.v.onChanged, "new");
    });
    r.v.set(1);
    EXPECT_EQ(r.log, (Log{"walker", "old 7 1 1"}));
    r.log.clear();
    EXPECT_EQ(r.v.onChanged.removeKey(laterKey), 1u);
    r.v.set(2);
    EXPECT_EQ(r.log, (Log{"new 7 2 2", "old 7 2 2"}));
}

TEST(ObservedValue, FailureSkipsTheRestOfTheProtocol) {
    struct Case {
        bool inChanging;
        std::int32_t held;
        Log log;
    };
    // The failing callback sits between "first" (runs) and "second" (never
    // runs); a failure before the store leaves the old value.
    const Case cases[] = {
        {true, 5, {"first 7 9 5"}},
        {false, 9, {"changing 7 9 5", "first 7 9 9"}},
    };
    for (const Case& c : cases) {
        Recorded r;
        auto& failing = c.inChanging ? r.v.onChanging : r.v.onChanged;
        if (!c.inChanging) r.listen(r.v.onChanging, "changing");
        r.listen(failing, "second");
        failing.push([](const IdCell&, const std::int32_t&) { throw Boom(); });
        r.listen(failing, "first");
        if (c.inChanging) r.listen(r.v.onChanged, "after");
        EXPECT_THROW(r.v.set(9), Boom);
        EXPECT_EQ(r.v.value(), c.held);
        EXPECT_EQ(r.log, c.log);
    }
}

TEST(ObservedValue, NestedSetsRunDepthFirst) {
    IdCell a = makeIdCell(1), b = makeIdCell(2);
    ObservedValue<std::int32_t> outer{a, 0}, inner{b, 0};
    Log log;
    outer.onChanged.push([&](const IdCell&, const std::int32_t&) { log.push_back("outer last"); });
    outer.onChanged.push([&](const IdCell&, const std::int32_t& v) {
        log.push_back("outer sets inner");
        inner.set(v * 10);
        inner.set(v * 10);  // equal now: silent
    });
    inner.onChanged.push([&](const IdCell& o, const std::int32_t& v) {
        log.push_back("inner " + std::to_string(*o) + " " + std::to_string(v));
    });
    outer.set(3);
    EXPECT_EQ(log, (Log{"outer sets inner", "inner 2 30", "outer last"}));
}

TEST(ObservedValue, EqualityByType) {
    // A NaN is never equal, so setting it again delivers again.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ObservedValue<double> real{makeIdCell(1), nan};
    int delivered = 0;
    real.onChanged.push([&](const IdCell&, const double&) { ++delivered; });
    EXPECT_TRUE(real.set(nan));
    EXPECT_TRUE(real.set(0.5));
    EXPECT_FALSE(real.set(0.5));
    EXPECT_TRUE(real.set(-0.0 + 0.25));
    EXPECT_EQ(delivered, 3);

    // Rectangles differ when any of the four fields does.
    ObservedValue<IRect2D> rect{makeIdCell(1), {1, 2, 3, 4}};
    EXPECT_FALSE(rect.set({1, 2, 3, 4}));
    for (IRect2D r : {IRect2D{0, 2, 3, 4}, IRect2D{0, 0, 3, 4}, IRect2D{0, 0, 0, 4}, IRect2D{0, 0, 0, 0}})
        EXPECT_TRUE(rect.set(r));

    // A control reference is equal when it names the same control, whatever
    // cell holds the ID; a missing cell names none.
    ObservedValue<IdCell, SameControlId> ref{makeIdCell(1), makeIdCell(0)};
    EXPECT_FALSE(ref.set(nullptr));
    EXPECT_FALSE(ref.set(makeIdCell(0)));
    IdCell three = makeIdCell(3);
    EXPECT_TRUE(ref.set(three));
    EXPECT_FALSE(ref.set(makeIdCell(3)));
    EXPECT_EQ(ref.value(), three);
}

TEST(NotifyList, RemoveByKeyKeepsTheOthersInOrder) {
    Log log;
    NotifyList<const IdCell&> list;
    auto note = [&](std::string s) { return [&log, s](const IdCell&) { log.push_back(s); }; };
    IdentityKey k1 = newIdentityKey(), k2 = newIdentityKey();
    list.push(k1, note("a"));
    list.push(note("b"));  // no key
    list.push(k2, note("c"));
    list.push(k1, note("d"));  // a key may name several entries
    EXPECT_EQ(list.removeKey(nullptr), 0u);
    EXPECT_EQ(list.removeKey(newIdentityKey()), 0u);  // a fresh key is another key
    EXPECT_EQ(list.removeKey(k1), 2u);
    list.deliver(makeIdCell());
    EXPECT_EQ(log, (Log{"c", "b"}));
    EXPECT_EQ(list.removeKey(k1), 0u);
    EXPECT_EQ(list.size(), 2u);
    list.clear();
    EXPECT_TRUE(list.empty());
    list.deliver(makeIdCell());
    EXPECT_EQ(log.size(), 2u);
}

// A string array owned by control 4 whose callbacks log the count they see.
struct RecordedArray {
    ObservedArray<std::string> a{makeIdCell(4)};
    Log log;
    RecordedArray() {
        a.onChanging.push([this](const IdCell& o) { log.push_back("before " + std::to_string(*o) + " " + std::to_string(a.count())); });
        a.onChanged.push([this](const IdCell&) { log.push_back("after " + std::to_string(a.count())); });
    }
    std::vector<std::string> contents() const { return {a.items().begin(), a.items().end()}; }
};

TEST(ObservedArray, EveryChangeIsDeliveredAroundIt) {
    RecordedArray r;
    r.a.append("x");
    r.a.append("y");
    r.a.insertAt(0, r.a.readAt(1));  // its own element
    r.a.writeAt(2, "z");
    r.a.deleteAt(1);
    EXPECT_EQ(r.contents(), (std::vector<std::string>{"y", "z"}));
    EXPECT_EQ(r.log, (Log{"before 4 0", "after 1", "before 4 1", "after 2", "before 4 2", "after 3", "before 4 3",
                          "after 3", "before 4 3", "after 2"}));
    r.log.clear();
    r.a.reset();
    EXPECT_EQ(r.a.count(), 0);
    EXPECT_TRUE(r.log.empty());
}

TEST(ObservedArray, BadIndexFailsBeforeAnyDelivery) {
    RecordedArray r;
    r.a.append("x");
    r.log.clear();
    EXPECT_EQ(failureOf([&] { r.a.insertAt(2, "q"); }), "IndexOutOfRange: insertAt 2");
    EXPECT_EQ(failureOf([&] { r.a.insertAt(-1, "q"); }), "IndexOutOfRange: insertAt ~1");
    EXPECT_EQ(failureOf([&] { r.a.deleteAt(1); }), "IndexOutOfRange: deleteAt 1");
    EXPECT_EQ(failureOf([&] { r.a.writeAt(1, "q"); }), "IndexOutOfRange: writeAt");
    EXPECT_THROW(r.a.writeAt(-1, "q"), Subscript);
    EXPECT_TRUE(r.log.empty());
    EXPECT_EQ(r.contents(), std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace zil
