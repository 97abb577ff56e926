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

using testing::add;
using testing::Log;
using testing::TestKind;

TEST(ControlNotify, SetScaledRealDividesByTheBarsRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double r;
        std::int32_t upper, lower, v;
        double want;
        int changes;  // after delivering v twice
    };
    const Case cases[] = {
        {1.0, 100, 0, 25, 0.25, 1},
        {4.0, 100, 20, 40, 2.0, 1},  // 4 * 40 / 80
        {1.0, 0, 10, 5, -0.5, 1},
        {1.0, 50, 50, 7, 0.0, 1},  // an empty range gives 0, not an infinity
        {1.0, 0, 0, 0, 0.0, 1},    // nor a NaN
        {1.0, INT32_MAX, INT32_MIN, 1, 1.0 / 4294967295.0, 1},  // the range 2^32 - 1 needs 33 bits
        {nan, 10, 0, 1, nan, 2},  // a NaN never equals the value held
    };
    for (const Case& c : cases) {
        IdCell owner = makeIdCell(3);
        auto target = std::make_shared<ObservedReal>(owner, 99.0);
        int changes = 0;
        target->onChanged.push([&](const IdCell&, const double&) { ++changes; });
        auto fn = ControlNotify::setScaledReal(c.r, std::make_shared<ObservedInt>(owner, c.upper),
                                               std::make_shared<ObservedInt>(owner, c.lower), target);
        fn(owner, c.v);
        fn(owner, c.v);
        if (std::isnan(c.want))
            EXPECT_TRUE(std::isnan(target->value()));
        else
            EXPECT_EQ(target->value(), c.want) << c.upper << " " << c.lower;
        EXPECT_EQ(changes, c.changes) << c.upper << " " << c.lower;
    }
}

TEST(ControlNotify, SetIntValueAndClampRangeToLength) {
    IdCell owner = makeIdCell(4);
    auto source = std::make_shared<ObservedInt>(owner, 0);
    auto forwarded = std::make_shared<ObservedInt>(owner, 0);
    source->onChanged.push(ControlNotify::setIntValue(forwarded));
    source->set(3);
    EXPECT_EQ(forwarded->value(), 3);

    struct Case {
        std::int32_t p, x, wantP, wantX;
        Log changed;  // a value that stays delivers nothing
    };
    const Case cases[] = {
        {2, 1, 2, 1, {}}, {0, 5, 0, 5, {}},  // length 5
        {3, 4, 3, 2, {"X"}}, {5, 3, 5, 0, {"X"}}, {7, 1, 5, 0, {"P", "X"}}, {7, 0, 5, 0, {"P"}},
    };
    for (const Case& c : cases) {
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

// A tab book (10, 20, 300, 200) whose pages carry the given "tabindex"
// values: -1 none, -2 a string.
struct Book {
    ControlTree tree;
    IdCell book = add(tree, nullptr, {10, 20, 300, 200});
    std::vector<IdCell> pages;
    Log changed;

    explicit Book(const std::vector<std::int32_t>& tabs) {
        for (std::int32_t tab : tabs) {
            TestKind kind;
            kind.extra = [tab](ControlTree& t, const IdCell& self) {
                if (tab >= 0) t.attributes().registerInt(self, "tabindex", tab);
                if (tab == -2) t.attributes().registerString(self, "tabindex", "2");
            };
            const std::string name = std::to_string(pages.size());
            IdCell page = pages.emplace_back(add(tree, book, {}, name, 1, kind));
            tree.lookup(page)->visible.onChanged.push([this, name](const IdCell&, const std::int32_t& v) {
                changed.push_back(name + "=" + std::to_string(v));
            });
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
    };
    for (const Step& s : steps) {
        b.changed.clear();
        select(b.book, s.selected);
        EXPECT_EQ(b.shown(), s.shown) << s.selected;
        EXPECT_EQ(b.changed, s.changed) << s.selected;
    }
    Book wrong({0, -2, 1});
    EXPECT_EQ(testing::failureOf([&] { ControlNotify::selectPageByTabIndex(wrong.tree, wrong.book)(wrong.book, 1); }),
              "TYPECAST: Cannot typecast an object of type NString into type NInt");
    EXPECT_EQ(wrong.changed, Log{"0=0"});
}

TEST(ControlNotify, FitTabPagesGivesEveryPageTheBooksSize) {
    Book b({0, 1});
    b.tree.lookup(b.pages[0])->boundingBox.set({0, 0, 300, 200});
    int moved = 0;
    b.tree.lookup(b.pages[0])->boundingBox.onChanged.push([&](const IdCell&, const IRect2D&) { ++moved; });
    ControlNotify::fitTabPages(b.tree, b.book)(b.book);
    EXPECT_EQ(moved, 0);  // already fitting
    EXPECT_EQ(b.tree.lookup(b.pages[1])->boundingBox.value(), (IRect2D{0, 0, 300, 200}));
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
    SDL_Surface* first = image->get();
    EXPECT_EQ(first->h, 3);
    name->set("");  // keeps the image
    EXPECT_EQ(image->get(), first);
    name->set("missing.bmp");
    EXPECT_EQ(image->get(), nullptr);
    std::filesystem::current_path(old);
}

}  // namespace
}  // namespace zil
