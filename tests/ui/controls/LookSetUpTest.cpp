// The look set-up of each kind with the demo's fonts and bitmaps: what it
// registers, takes and subscribes, the state cell's pointer actions, and a
// gallery of every kind drawn through the dispatch, saved for viewing.
#include <gtest/gtest.h>

#include <functional>

#include "ui/controls/LookTestSupport.hpp"
#include "ui/tree/TopLevelWindow.hpp"

namespace zil::testing {
namespace {

// A path in single quotes, as the description writes it.
std::string quoted(const std::string& path) {
    std::string q(1, '\'');
    q.append(path).push_back('\'');
    return q;
}

using namespace LookAndFeel;
using Maker = std::function<LookSetUp(LookWorld&, const IdCell&)>;

constexpr ColorRGB kSecond{0.5, 0.5, 0.5};

std::shared_ptr<ObservedString> text(LookWorld& w, const IdCell& self, const std::string& initial) {
    return w.tree.attributes().registerString(self, "text", initial);
}
const Maker label = [](LookWorld& w, const IdCell& s) { return setUpTextLabel(w.services, s, text(w, s, "Zoom")); };
const Maker important = [](LookWorld& w, const IdCell& s) {
    return setUpImportantTextLabel(w.services, s, text(w, s, "Sharpness"));
};
const Maker checkBox = [](LookWorld& w, const IdCell& s) {
    return setUpCheckBox(w.services, s, text(w, s, "Show edges"), kSecond);
};
const Maker button = [](LookWorld& w, const IdCell& s) { return setUpButton(w.services, s, text(w, s, "OK"), kSecond); };
const Maker horizBar = [](LookWorld& w, const IdCell& s) {
    return setUpHorizScrollBar(w.services, s, w.tree.attributes().registerInt(s, "barsize", 200));
};
const Maker vertBar = [](LookWorld& w, const IdCell& s) {
    return setUpVertScrollBar(w.services, s, w.tree.attributes().registerInt(s, "barsize", 120));
};
const Maker strings = [](LookWorld& w, const IdCell& s) {
    return setUpSelectionStrings(w.services, s, w.tree.attributes().registerStrings(s, "strings", {"cube", "torus"}));
};
const Maker tabIndex = [](LookWorld& w, const IdCell& s) {
    auto tabs = w.tree.attributes().registerStrings(s, "tabs", {"Demo", "About", "Help"});
    return setUpTabIndex(w.services, s, tabs, kSecond);
};
const Maker imageButton = [](LookWorld& w, const IdCell& s) { return setUpImageButton(w.services, s, text(w, s, "Go")); };
const Maker textEdit = [](LookWorld& w, const IdCell& s) {
    return setUpTextEdit(w.services, s, text(w, s, "subdivide"), kSecond);
};

IdCell add(LookWorld& w, const Maker& make, const IRect2D& box, const IdCell& parent = nullptr) {
    return w.add(box, [&](const IdCell& self) { return make(w, self); }, parent);
}
std::int32_t intOf(LookWorld& w, const IdCell& id, const char* name) {
    return w.tree.attributes().get<Attr::NInt>(id, name)->value();
}

TEST(LookSetUpTest, FontsAreTakenInOrderAndColour) {
    const std::pair<Maker, std::vector<ColorRGB>> cases[] = {
        {label, {labelColour}},           {important, {accent}},
        {checkBox, {labelColour, kSecond}}, {button, {accent, kSecond}},
        {horizBar, {}},                   {strings, {accent, white}},
        {tabIndex, {accent, kSecond, white}}, {textEdit, {accent, kSecond, white}},
    };
    for (const auto& [make, colours] : cases) {
        LookWorld w;
        add(w, make, {0, 0, 100, 24});
        std::vector<ColorRGB> taken;
        for (const FontListEntry& f : w.fonts.fonts()) {
            EXPECT_TRUE(f.name == "lucida-14" && f.font->framed());
            taken.push_back(f.colour);
        }
        EXPECT_EQ(taken, colours);
        EXPECT_EQ(w.results[0].resources.fonts.size(), colours.size());
    }
}

TEST(LookSetUpTest, ButtonsShareFontsAndBitmapsAndTheImageButtonHasItsOwnFonts) {
    LookWorld w;
    add(w, button, {0, 0, 60, 20});
    add(w, button, {0, 30, 60, 20});
    const std::string in = lookupResourcePath(w.config, "ui/lf/vuq/") + "ButtonIn.bmp";
    EXPECT_TRUE(w.images.count(in) == 2 && w.fonts.fonts().size() == 2);
    w.results[0].resources.release();
    EXPECT_TRUE(w.images.count(in) == 1 && w.results[1].resources.fonts[0].count() == 1);
    add(w, imageButton, {0, 0, 120, 32});  // accent and white, unframed, not shared
    const auto& own = w.results[2].resources.ownFonts;
    ASSERT_EQ(own.size(), 2u);
    EXPECT_TRUE(own[0]->colour() == accent && own[1]->colour() == white && !own[0]->framed());
    EXPECT_EQ(w.fonts.fonts().size(), 2u);
}

TEST(LookSetUpTest, NewControlsStartWithTheirDefaults) {
    LookWorld w;
    const IdCell bar = add(w, horizBar, {0, 0, 200, 16}), vbar = add(w, vertBar, {0, 0, 16, 120});
    const IdCell edit = add(w, textEdit, {0, 0, 100, 20}), tabs = add(w, tabIndex, {0, 0, 300, 24});
    const IdCell image = add(w, imageButton, {0, 0, 120, 32});
    EXPECT_EQ((std::vector<std::int32_t>{intOf(w, bar, "barpos"), intOf(w, bar, "barrange"), intOf(w, vbar, "barrange"),
                                         intOf(w, edit, "cursorchar"), intOf(w, edit, "cursorcharextent"),
                                         intOf(w, tabs, "selectedtabindex")}),
              (std::vector<std::int32_t>{0, 200, 120, 0, 0, 0}));
    EXPECT_EQ(w.tree.attributes().get<Attr::NString>(image, "imageup")->value() +
                  w.tree.attributes().get<Attr::NString>(image, "imagedown")->value(),
              "");
    // Cells, each 0: bars and text edits 3 and a pressed cell, tab indexes 2.
    for (std::size_t i : {0u, 1u, 2u}) EXPECT_TRUE(w.results[i].cells.size() == 3 && *w.results[i].pressed == 0);
    EXPECT_TRUE(w.results[3].cells.size() == 2 && !w.results[3].pressed);
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
    const std::tuple<Maker, const char*, const char*> cases[] = {
        {label, "text", "'Scale'"},     {checkBox, "ischecked", "true"},       {button, "ispressed", "true"},
        {horizBar, "barpos", "5"},      {horizBar, "barsize", "30"},           {vertBar, "barrange", "300"},
        {strings, "strings", "[['a']]"}, {strings, "selectableitems", "[[true]]"}, {tabIndex, "tabs", "[['x']]"},
        {tabIndex, "selectedtabindex", "2"}, {imageButton, "imageup", "'none.bmp'"}, {textEdit, "cursorcharextent", "1"},
    };
    for (const auto& [make, attribute, value] : cases) {
        const IdCell id = add(w, make, box, window);
        EXPECT_EQ(dirtyAfter([&] { w.tree.attributes().writeAsString(id, attribute, value); }),
                  std::vector<IRect2D>{box})
            << attribute;
        w.tree.destroyControl(id);
    }
}

TEST_F(RepaintTest, PressAndReleaseSetTheStateCellAndRepaint) {
    const IdCell id = add(w, button, {5, 5, 60, 20}, window);
    for (const auto& [store, value] : {std::pair{w.pointer.press, 1}, {w.pointer.release, 0}}) {
        ASSERT_EQ(store->at(*id).size(), 1u);
        EXPECT_EQ(dirtyAfter([&] { runPointerAction(store->at(*id).front().action); }),
                  (std::vector<IRect2D>{{5, 5, 60, 20}}));
        EXPECT_EQ(*w.results[0].pressed, value);
    }
    EXPECT_EQ(raised([&] { makeControlStateCell(w.pointer, {}, makeIdCell(w.tree.capacity())); }), "Subscript");
    EXPECT_EQ(w.pointer.press->at(*id).size(), 1u);
}

TEST(LookSetUpTest, ANewTextKeepsTheCursorInsideIt) {
    LookWorld w;
    const IdCell id = add(w, textEdit, {0, 0, 100, 20});
    UIAttributes& a = w.tree.attributes();
    a.writeAsString(id, "cursorchar", "3");
    a.writeAsString(id, "cursorcharextent", "2");
    a.writeString(id, "text", "su");  // 3 > 2: cursor 2, extent 0
    EXPECT_TRUE(intOf(w, id, "cursorchar") == 2 && intOf(w, id, "cursorcharextent") == 0);
}

// Every kind as the demo draws it, written to painters/ in the build folder.
TEST(LookSetUpTest, GalleryOfEveryKind) {
    LookWorld w;
    UIAttributes& a = w.tree.attributes();
    auto face = [](LookKind kind, Look::Data data) {
        return Maker([kind, data](LookWorld&, const IdCell&) {
            LookSetUp r;
            r.look = std::make_shared<ControlLook>(kind, data);
            return r;
        });
    };
    const std::tuple<const char*, IRect2D, Maker, std::vector<std::pair<const char*, std::string>>> shots[] = {
        {"01-text-label", {0, 0, 120, 20}, label, {}},
        {"02-important-label", {0, 0, 120, 20}, important, {}},
        {"03-check-box", {0, 0, 140, 20}, checkBox, {{"ischecked", "true"}}},
        {"04-button", {0, 0, 140, 32}, button, {}},
        {"04-button-pressed", {0, 0, 140, 32}, button, {{"ispressed", "true"}}},
        {"05-horizontal-bar", {0, 0, 200, 16}, horizBar, {{"barsize", "40"}, {"barpos", "60"}}},
        {"06-plain-face", {0, 0, 60, 30}, face(LookKind::PlainFace, Look::Face{}), {}},
        {"07-frame-marked", {0, 0, 60, 30}, face(LookKind::Frame, Look::Face{}), {}},
        {"08-vertical-bar", {0, 0, 16, 120}, vertBar, {{"barsize", "30"}, {"barpos", "20"}}},
        {"09-selection-strings", {0, 0, 100, 40}, strings, {{"selectableitems", "[[false,true]]"}}},
        {"10-tab-page", {0, 0, 60, 30}, face(LookKind::TabBookPage, Look::Face{}), {}},
        {"11-tab-index", {0, 0, 300, 24}, tabIndex, {{"selectedtabindex", "1"}}},
        {"12-image-button", {0, 0, 120, 32}, imageButton,
         {{"imageup", quoted(lookFile("DemoImageUp.bmp"))}, {"imagedown", quoted(lookFile("DemoImageDown.bmp"))}}},
        {"13-text-edit-focused", {0, 0, 120, 20}, textEdit, {{"cursorchar", "3"}, {"cursorcharextent", "4"}}},
        {"14-control-frame", {0, 0, 60, 30}, face(LookKind::ControlFrame, Look::ControlFrame{std::make_shared<const IdCell>()}), {}},
        {"15-window", {0, 0, 60, 30}, face(LookKind::Window, Look::Face{}), {}},
    };
    for (const auto& [name, box, make, values] : shots) {
        const IdCell id = add(w, make, box);
        for (const auto& [attribute, value] : values) a.writeAsString(id, attribute, value);
        SurfacePtr s = target(box.w + 8, box.h + 8, rgb(40, 60, 90));
        w.draw(id, s.get(), [&](UIControlID c) { return c == *id; }, 4, 4);
        saveForViewing(s.get(), name);
    }
}

}  // namespace
}  // namespace zil::testing
