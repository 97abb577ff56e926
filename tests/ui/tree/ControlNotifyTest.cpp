#include "ui/tree/ControlNotify.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "shell/ShellTestSupport.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil {
namespace {

using testing::addNamed;
using testing::failureOf;
using testing::Log;
using testing::TestKind;

IdCell addPlain(ControlTree& tree, const IdCell& parent = nullptr, IRect2D box = {}) {
    return tree.addControl(parent, TestKind{}, box, 1);
}

// Counts the changes a value delivers.
template <class T>
std::shared_ptr<int> countChanges(ObservedValue<T>& v) {
    auto n = std::make_shared<int>(0);
    v.onChanged.push([n](const IdCell&, const T&) { ++*n; });
    return n;
}

TEST(ControlNotify, SetScaledRealDividesByTheBarsRange) {
    struct Case {
        double r;
        std::int32_t upper, lower, v;
        double want;
    };
    const Case cases[] = {
        {1.0, 100, 0, 25, 0.25},
        {5.0, 100, 20, 40, 2.5},  // 5 * 40 / 80
        {4.0, 100, 20, 40, 2.0},
        {1.0, 0, 10, 5, -0.5},
        {1.0, 50, 50, 7, 0.0},  // an empty range gives 0, not an infinity
        {1.0, 0, 0, 0, 0.0},    // nor a NaN
        // The range 2^31 - 1 - (-2^31) = 2^32 - 1 does not fit in 32 bits.
        {1.0, INT32_MAX, INT32_MIN, 1, 1.0 / 4294967295.0},
    };
    for (const Case& c : cases) {
        IdCell owner = makeIdCell(3);
        auto upper = std::make_shared<ObservedInt>(owner, c.upper);
        auto lower = std::make_shared<ObservedInt>(owner, c.lower);
        auto target = std::make_shared<ObservedReal>(owner, 99.0);
        auto changes = countChanges(*target);
        auto fn = ControlNotify::setScaledReal(c.r, upper, lower, target);
        fn(owner, c.v);
        EXPECT_EQ(target->value(), c.want) << c.upper << " " << c.lower << " " << c.v;
        fn(owner, c.v);  // the same value again delivers nothing
        EXPECT_EQ(*changes, 1) << c.upper << " " << c.lower << " " << c.v;
    }
}

TEST(ControlNotify, ANaNIsNeverEqualSoItIsDeliveredEveryTime) {
    IdCell owner = makeIdCell(3);
    auto range = std::make_shared<ObservedInt>(owner, 10);
    auto zero = std::make_shared<ObservedInt>(owner, 0);
    auto target = std::make_shared<ObservedReal>(owner, std::numeric_limits<double>::quiet_NaN());
    auto changes = countChanges(*target);
    auto fn = ControlNotify::setScaledReal(std::numeric_limits<double>::quiet_NaN(), range, zero, target);
    fn(owner, 1);
    fn(owner, 1);
    EXPECT_EQ(*changes, 2);
    EXPECT_TRUE(std::isnan(target->value()));
}

TEST(ControlNotify, SetIntValueForwardsOnlyChanges) {
    IdCell owner = makeIdCell(2);
    auto source = std::make_shared<ObservedInt>(owner, 0);
    auto target = std::make_shared<ObservedInt>(makeIdCell(5), 0);
    auto changes = countChanges(*target);
    source->onChanged.push(ControlNotify::setIntValue(target));
    source->set(3);
    EXPECT_EQ(target->value(), 3);
    target->set(4);
    source->set(4);  // the target already holds 4
    EXPECT_EQ(*changes, 2);
}

TEST(ControlNotify, ClampRangeToLengthKeepsTheRangeInside) {
    struct Case {
        std::int32_t p, x;
        std::int32_t wantP, wantX;
        Log changed;
    };
    // Length 5.
    const Case cases[] = {
        {2, 1, 2, 1, {}},
        {0, 5, 0, 5, {}},  // ends at the length
        {3, 4, 3, 2, {"X"}},
        {5, 3, 5, 0, {"X"}},
        {7, 1, 5, 0, {"P", "X"}},
        {7, 0, 5, 0, {"P"}},  // X already 0
    };
    for (const Case& c : cases) {
        IdCell owner = makeIdCell(4);
        auto p = std::make_shared<ObservedInt>(owner, c.p);
        auto x = std::make_shared<ObservedInt>(owner, c.x);
        Log changed;
        p->onChanged.push([&](const IdCell&, const std::int32_t&) { changed.push_back("P"); });
        x->onChanged.push([&](const IdCell&, const std::int32_t&) { changed.push_back("X"); });
        ControlNotify::clampRangeToLength([] { return 5; }, p, x)(owner);
        EXPECT_EQ(p->value(), c.wantP) << c.p << " " << c.x;
        EXPECT_EQ(x->value(), c.wantX) << c.p << " " << c.x;
        EXPECT_EQ(changed, c.changed) << c.p << " " << c.x;
    }
}

// A tab book whose pages carry the given tab indices (-1: no "tabindex").
struct Book {
    ControlTree tree;
    IdCell book;
    std::vector<IdCell> pages;
    Log changed;

    explicit Book(const std::vector<std::int32_t>& tabs) {
        book = addPlain(tree, nullptr, {10, 20, 300, 200});
        for (std::int32_t tab : tabs) {
            TestKind kind;
            if (tab >= 0)
                kind.extra = [tab](ControlTree& t, const IdCell& self) {
                    t.attributes().registerInt(self, "tabindex", tab);
                };
            IdCell page = tree.addControl(book, kind, {}, 1);
            const std::string name = std::to_string(pages.size());
            tree.lookup(page)->visible.onChanged.push(
                [this, name](const IdCell&, const std::int32_t& v) { changed.push_back(name + "=" + std::to_string(v)); });
            pages.push_back(page);
        }
    }
    std::vector<std::int32_t> shown() {
        std::vector<std::int32_t> v;
        for (const IdCell& p : pages) v.push_back(tree.lookup(p)->visible.value());
        return v;
    }
};

TEST(ControlNotify, SelectingATabShowsExactlyThePagesWithThatIndex) {
    Book b({0, 1, 2, -1, 1});
    auto select = ControlNotify::selectPageByTabIndex(b.tree, b.book);
    struct Step {
        std::int32_t selected;
        std::vector<std::int32_t> shown;
        Log changed;  // pages already right are left alone
    };
    const Step steps[] = {
        {1, {0, 1, 0, 0, 1}, {"0=0", "2=0", "3=0"}},
        {5, {0, 0, 0, 0, 0}, {"1=0", "4=0"}},
        {-1, {0, 0, 0, 1, 0}, {"3=1"}},  // no "tabindex" counts as -1
        {2, {0, 0, 1, 0, 0}, {"2=1", "3=0"}},
        {2, {0, 0, 1, 0, 0}, {}},
    };
    for (const Step& s : steps) {
        b.changed.clear();
        select(b.book, s.selected);
        EXPECT_EQ(b.shown(), s.shown) << s.selected;
        EXPECT_EQ(b.changed, s.changed) << s.selected;
    }
}

TEST(ControlNotify, ATabIndexOfAnotherTypeFailsAfterTheEarlierPages) {
    Book b({0, 1});
    TestKind wrong;
    wrong.extra = [](ControlTree& t, const IdCell& self) { t.attributes().registerString(self, "tabindex", "2"); };
    b.tree.addControl(b.book, wrong, {}, 1);
    EXPECT_EQ(failureOf([&] { ControlNotify::selectPageByTabIndex(b.tree, b.book)(b.book, 1); }),
              "TYPECAST: Cannot typecast an object of type NString into type NInt");
    EXPECT_EQ(b.changed, Log{"0=0"});
}

TEST(ControlNotify, FitTabPagesGivesEveryPageTheBooksSize) {
    Book b({0, 1});
    b.tree.lookup(b.pages[0])->boundingBox.set({0, 0, 300, 200});
    auto moved = countChanges(b.tree.lookup(b.pages[0])->boundingBox);
    ControlNotify::fitTabPages(b.tree, b.book)(b.book);
    EXPECT_EQ(*moved, 0);  // already fitting
    for (const IdCell& p : b.pages) EXPECT_EQ(b.tree.lookup(p)->boundingBox.value(), (IRect2D{0, 0, 300, 200}));
}

TEST(ControlNotify, RepaintControlFitsEveryKindOfList) {
    ControlTree tree;
    IdCell w = addPlain(tree, nullptr, {0, 0, 100, 80});
    tree.addWindow(w, nullptr);
    IdCell c = addPlain(tree, w, {10, 10, 20, 20});
    auto text = std::make_shared<ObservedString>(c, "");
    text->onChanged.push(ControlNotify::repaintControl(tree, c));
    tree.lookup(w)->children.onChanged.push(ControlNotify::repaintControl(tree, w));
    text->set("x");
    EXPECT_EQ(tree.findWindow(*w)->dirty, (std::vector<IRect2D>{{10, 10, 20, 20}}));
    addPlain(tree, w, {1, 1, 1, 1});
    EXPECT_EQ(tree.findWindow(*w)->dirty, (std::vector<IRect2D>{{0, 0, 100, 80}}));
}

TEST(ControlNotify, ReloadImageReplacesTheImageAndForgetsAFailedLoad) {
    testing::ScratchDir dir;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path(""));  // a failed load writes its log here
    SDL_Surface* made = SDL_CreateRGBSurface(0, 2, 3, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_EQ(SDL_SaveBMP(made, "img.bmp"), 0);
    SDL_FreeSurface(made);

    auto image = std::make_shared<ImageCell>();
    auto name = std::make_shared<ObservedString>(makeIdCell(1), "");
    name->onChanged.push(ControlNotify::reloadImage(image));
    name->set("img.bmp");
    ASSERT_NE(image->get(), nullptr);
    EXPECT_EQ(image->get()->w, 2);
    EXPECT_EQ(image->get()->h, 3);
    SDL_Surface* first = image->get();
    name->set("");  // keeps the image
    EXPECT_EQ(image->get(), first);
    name->set("missing.bmp");
    EXPECT_EQ(image->get(), nullptr);
    std::filesystem::current_path(old);
}

}  // namespace
}  // namespace zil
