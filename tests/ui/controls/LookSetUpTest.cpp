// The look set-up of each kind with the demo's fonts and bitmaps: what it
// registers, takes and subscribes, the state cell's pointer actions, and a
// gallery of every kind drawn through the dispatch, saved for viewing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/controls/LookTestSupport.hpp"
#include "ui/tree/TopLevelWindow.hpp"

namespace zil::testing {
namespace {

using namespace LookAndFeel;

constexpr ColorRGB kSecond{0.5, 0.5, 0.5};

using LookMaker = std::function<LookSetUp(LookWorld&, const IdCell&)>;

LookSetUp textLabel(LookWorld& w, const IdCell& self) { return setUpTextLabel(w.services, self, w.text(self, "Zoom")); }
LookSetUp importantLabel(LookWorld& w, const IdCell& self) {
    return setUpImportantTextLabel(w.services, self, w.text(self, "Sharpness"));
}
LookSetUp checkBox(LookWorld& w, const IdCell& self) {
    return setUpCheckBox(w.services, self, w.text(self, "Show edges"), kSecond);
}
LookSetUp button(LookWorld& w, const IdCell& self) { return setUpButton(w.services, self, w.text(self, "OK"), kSecond); }
LookSetUp horizBar(LookWorld& w, const IdCell& self) {
    return setUpHorizScrollBar(w.services, self, w.tree.attributes().registerInt(self, "barsize", 200));
}
LookSetUp vertBar(LookWorld& w, const IdCell& self) {
    return setUpVertScrollBar(w.services, self, w.tree.attributes().registerInt(self, "barsize", 120));
}
LookSetUp strings(LookWorld& w, const IdCell& self) {
    return setUpSelectionStrings(w.services, self,
                                 w.tree.attributes().registerStrings(self, "strings", {"cube", "sphere", "torus"}));
}
LookSetUp tabIndex(LookWorld& w, const IdCell& self) {
    return setUpTabIndex(w.services, self, w.tree.attributes().registerStrings(self, "tabs", {"Demo", "About", "Help"}),
                         kSecond);
}
LookSetUp imageButton(LookWorld& w, const IdCell& self) {
    return setUpImageButton(w.services, self, w.text(self, "Go"));
}
LookSetUp textEdit(LookWorld& w, const IdCell& self) {
    return setUpTextEdit(w.services, self, w.text(self, "subdivide"), kSecond);
}

IdCell add(LookWorld& w, const LookMaker& setUp, const IRect2D& box, const IdCell& parent = nullptr) {
    return w.add(box, [&](const IdCell& self) { return setUp(w, self); }, parent);
}

TEST(LookSetUpTest, FontsAreTakenInOrderAndColour) {
    struct Case {
        const char* name;
        LookMaker setUp;
        std::vector<ColorRGB> colours;
    };
    const Case cases[] = {
        {"text label", textLabel, {labelColour}},
        {"important label", importantLabel, {accent}},
        {"check box", checkBox, {labelColour, kSecond}},
        {"button", button, {accent, kSecond}},
        {"bar", horizBar, {}},
        {"selection strings", strings, {accent, white}},
        {"tab index", tabIndex, {accent, kSecond, white}},
        {"text edit", textEdit, {accent, kSecond, white}},
    };
    for (const Case& c : cases) {
        LookWorld w;
        add(w, c.setUp, {0, 0, 100, 24});
        std::vector<ColorRGB> shared;
        for (const FontListEntry& f : w.fonts.fonts()) {
            EXPECT_EQ(f.name, "lucida-14");
            EXPECT_TRUE(f.font->framed());
            shared.push_back(f.colour);
        }
        EXPECT_EQ(shared, c.colours) << c.name;
        EXPECT_EQ(w.results[0].resources.fonts.size(), c.colours.size()) << c.name;
    }
}

TEST(LookSetUpTest, ButtonsShareTheirBitmapsUntilGivenBack) {
    LookWorld w;
    add(w, button, {0, 0, 60, 20});
    add(w, button, {0, 30, 60, 20});
    const std::string dir = lookupResourcePath(w.config, "ui/lf/vuq/");
    EXPECT_EQ(w.images.count(dir + "ButtonIn.bmp"), 2);
    EXPECT_EQ(w.images.count(dir + "ButtonOut.bmp"), 2);
    EXPECT_EQ(w.fonts.fonts().size(), 2u);  // accent and the second colour, shared
    EXPECT_EQ(w.results[0].resources.fonts[0].count(), 2);
    w.results[0].resources.release();
    EXPECT_EQ(w.images.count(dir + "ButtonIn.bmp"), 1);
    EXPECT_EQ(w.results[1].resources.fonts[0].count(), 1);
}

TEST(LookSetUpTest, NewControlsStartWithTheirDefaults) {
    LookWorld w;
    const IdCell hbar = add(w, horizBar, {0, 0, 200, 16});
    const IdCell vbar = add(w, vertBar, {0, 0, 16, 120});
    const IdCell edit = add(w, textEdit, {0, 0, 100, 20});
    const IdCell tabs = add(w, tabIndex, {0, 0, 300, 24});
    const IdCell image = add(w, imageButton, {0, 0, 120, 32});
    struct Case {
        IdCell control;
        const char* name;
        std::int32_t value;
    };
    const Case ints[] = {{hbar, "barpos", 0},       {hbar, "barrange", 200},     {vbar, "barrange", 120},
                         {edit, "cursorchar", 0},   {edit, "cursorcharextent", 0}, {tabs, "selectedtabindex", 0}};
    for (const Case& c : ints) EXPECT_EQ(w.get<Attr::NInt>(c.control, c.name)->value(), c.value) << c.name;
    EXPECT_EQ(w.get<Attr::NString>(image, "imageup")->value(), "");
    EXPECT_EQ(w.get<Attr::NString>(image, "imagedown")->value(), "");

    // The image button's two fonts are its own: the shared list holds only
    // the text edit's and the tab index's.
    EXPECT_EQ(w.fonts.fonts().size(), 3u);
    const ControlResources& own = w.results[4].resources;
    ASSERT_EQ(own.ownFonts.size(), 2u);
    EXPECT_EQ(own.ownFonts[0]->colour(), accent);
    EXPECT_EQ(own.ownFonts[1]->colour(), white);
    EXPECT_FALSE(own.ownFonts[0]->framed());

    // State cells, each 0: bars 3 and a pressed cell, text edit 3 and a
    // pressed cell, tab index 2.
    for (std::size_t i : {0u, 1u, 2u}) {
        EXPECT_EQ(w.results[i].cells.size(), 3u);
        ASSERT_TRUE(w.results[i].pressed);
        EXPECT_EQ(*w.results[i].pressed, 0);
    }
    EXPECT_EQ(w.results[3].cells.size(), 2u);
    EXPECT_FALSE(w.results[3].pressed);
}

class RepaintTest : public ::testing::Test {
protected:
    LookWorld w;
    IdCell window = w.tree.addControl(nullptr, TopLevelWindowKind{}, {0, 0, 400, 300}, 0);

    std::vector<IRect2D> dirtyAfter(const std::function<void()>& change) {
        w.tree.findWindow(*window)->dirty.clear();
        change();
        return w.tree.findWindow(*window)->dirty;
    }
};

TEST_F(RepaintTest, ChangesOfShownAttributesRepaintTheControl) {
    const IRect2D box{10, 20, 100, 24};
    struct Case {
        const char* name;
        LookMaker setUp;
        const char* attribute;
        const char* text;
    };
    const Case cases[] = {
        {"label", textLabel, "text", "'Scale'"},
        {"check box", checkBox, "ischecked", "true"},
        {"button", button, "ispressed", "true"},
        {"bar position", horizBar, "barpos", "5"},
        {"bar size", horizBar, "barsize", "30"},
        {"bar range", horizBar, "barrange", "300"},
        {"list rows", strings, "strings", "[['a']]"},
        {"list flags", strings, "selectableitems", "[[true]]"},
        {"tabs", tabIndex, "tabs", "[['x']]"},
        {"selected tab", tabIndex, "selectedtabindex", "2"},
        {"image", imageButton, "imageup", "'missing.bmp'"},
        {"cursor", textEdit, "cursorchar", "1"},
        {"selection", textEdit, "cursorcharextent", "1"},
    };
    for (const Case& c : cases) {
        const IdCell id = add(w, c.setUp, box, window);
        const std::vector<IRect2D> dirty =
            dirtyAfter([&] { w.tree.attributes().writeAsString(id, c.attribute, c.text); });
        EXPECT_EQ(dirty, (std::vector<IRect2D>{box})) << c.name;
        w.tree.destroyControl(id);
    }
}

TEST_F(RepaintTest, PressAndReleaseSetTheStateCellAndRepaint) {
    const IdCell id = add(w, button, {5, 5, 60, 20}, window);
    const IntCell pressed = w.results[0].pressed;
    struct Case {
        PointerActionStore& store;
        std::int32_t value;
    };
    const Case cases[] = {{*w.pointer.press, 1}, {*w.pointer.release, 0}};
    for (const Case& c : cases) {
        const PointerActionList& list = c.store.at(*id);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(dirtyAfter([&] { runPointerAction(list.front().action); }), (std::vector<IRect2D>{{5, 5, 60, 20}}));
        EXPECT_EQ(*pressed, c.value);
    }
    // An ID outside the stores changes neither.
    EXPECT_EQ(raised([&] { makeControlStateCell(w.pointer, {}, makeIdCell(w.tree.capacity())); }), "Subscript");
    EXPECT_EQ(w.pointer.press->at(*id).size(), 1u);
}

TEST(LookSetUpTest, ANewTextKeepsTheCursorInsideIt) {
    LookWorld w;
    const IdCell id = add(w, textEdit, {0, 0, 100, 20});
    UIAttributes& a = w.tree.attributes();
    struct Case {
        const char* text;
        std::int32_t cursor, extent;
    };
    // From cursor 3 and extent 2 in "subdivide".
    const Case cases[] = {{"sub", 3, 0}, {"su", 2, 0}, {"subd", 3, 1}, {"subdivided", 3, 2}};
    for (const Case& c : cases) {
        a.writeString(id, "text", "subdivide");
        a.writeAsString(id, "cursorchar", "3");
        a.writeAsString(id, "cursorcharextent", "2");
        a.writeString(id, "text", c.text);
        EXPECT_EQ(w.get<Attr::NInt>(id, "cursorchar")->value(), c.cursor) << c.text;
        EXPECT_EQ(w.get<Attr::NInt>(id, "cursorcharextent")->value(), c.extent) << c.text;
    }
}

// Every kind as the demo draws it, written to painters/ in the build folder.
TEST(LookSetUpTest, GalleryOfEveryKind) {
    LookWorld w;
    struct Shot {
        const char* name;
        IRect2D box;
        std::function<IdCell()> make;
        std::function<void(const IdCell&)> state;
    };
    auto made = [&w](const LookMaker& s, IRect2D box) { return [&w, s, box] { return add(w, s, box); }; };
    auto face = [&w](LookKind kind, IRect2D box) {
        return [&w, kind, box] { return w.addDrawn(box, std::make_shared<ControlLook>(kind, Look::Face{})); };
    };
    UIAttributes& a = w.tree.attributes();
    auto none = [](const IdCell&) {};
    const Shot shots[] = {
        {"01-text-label", {0, 0, 120, 20}, made(textLabel, {0, 0, 120, 20}), none},
        {"02-important-label", {0, 0, 120, 20}, made(importantLabel, {0, 0, 120, 20}), none},
        {"03-check-box", {0, 0, 140, 20}, made(checkBox, {0, 0, 140, 20}),
         [&](const IdCell& id) { a.writeAsString(id, "ischecked", "true"); }},
        {"04-button-pressed", {0, 0, 140, 32}, made(button, {0, 0, 140, 32}),
         [&](const IdCell& id) { a.writeAsString(id, "ispressed", "true"); }},
        {"04-button", {0, 0, 140, 32}, made(button, {0, 0, 140, 32}), none},
        {"05-horizontal-bar", {0, 0, 200, 16}, made(horizBar, {0, 0, 200, 16}),
         [&](const IdCell& id) {
             a.writeAsString(id, "barsize", "40");
             a.writeAsString(id, "barpos", "60");
         }},
        {"06-plain-face", {0, 0, 60, 30}, face(LookKind::PlainFace, {0, 0, 60, 30}), none},
        {"07-frame-marked", {0, 0, 60, 30}, face(LookKind::Frame, {0, 0, 60, 30}), none},
        {"08-vertical-bar", {0, 0, 16, 120}, made(vertBar, {0, 0, 16, 120}),
         [&](const IdCell& id) {
             a.writeAsString(id, "barsize", "30");
             a.writeAsString(id, "barpos", "20");
             *w.results.back().pressed = 1;
         }},
        {"09-selection-strings", {0, 0, 100, 60}, made(strings, {0, 0, 100, 60}),
         [&](const IdCell& id) { a.writeAsString(id, "selectableitems", "[[false,true]]"); }},
        {"10-tab-page", {0, 0, 60, 30}, face(LookKind::TabBookPage, {0, 0, 60, 30}), none},
        {"11-tab-index", {0, 0, 300, 24}, made(tabIndex, {0, 0, 300, 24}),
         [&](const IdCell& id) { a.writeAsString(id, "selectedtabindex", "1"); }},
        {"12-image-button", {0, 0, 120, 32}, made(imageButton, {0, 0, 120, 32}),
         [&](const IdCell& id) {
             a.writeAsString(id, "imageup", "'" + lookFile("DemoImageUp.bmp") + "'");
             a.writeAsString(id, "imagedown", "'" + lookFile("DemoImageDown.bmp") + "'");
         }},
        {"13-text-edit-focused", {0, 0, 120, 20}, made(textEdit, {0, 0, 120, 20}),
         [&](const IdCell& id) {
             a.writeAsString(id, "cursorchar", "3");
             a.writeAsString(id, "cursorcharextent", "4");
         }},
        {"14-control-frame-marked", {0, 0, 60, 30},
         [&w] {
             const Look::ControlFrame framed{std::make_shared<const IdCell>(makeIdCell(0))};
             return w.addDrawn({0, 0, 60, 30}, std::make_shared<ControlLook>(LookKind::ControlFrame, framed));
         },
         none},
        {"15-window", {0, 0, 60, 30}, face(LookKind::Window, {0, 0, 60, 30}), none},
    };
    for (const Shot& shot : shots) {
        const IdCell id = shot.make();
        shot.state(id);
        SurfacePtr s = target(shot.box.w + 8, shot.box.h + 8, rgb(40, 60, 90));
        w.draw(id, s.get(), [&](UIControlID c) { return c == *id; }, 4, 4);
        saveForViewing(s.get(), shot.name);
    }
}

}  // namespace
}  // namespace zil::testing
