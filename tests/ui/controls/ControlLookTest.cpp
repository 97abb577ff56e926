// The drawing dispatch: which painter each kind runs, which cells pick
// bitmap, font and inset, the focus marks, and the preview in its place.
// Glyphs are solid blocks and bitmaps one colour (legend in
// PaintTestSupport.hpp).
#include "ui/controls/ControlLook.hpp"

#include <gtest/gtest.h>

#include <set>

#include "render/RenderPreview.hpp"
#include "shell/ShellTestSupport.hpp"
#include "ui/base/LookAndFeel.hpp"
#include "ui/base/PaintTestSupport.hpp"
#include "ui/base/PointerActions.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/ControlNotify.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil::testing {
namespace {

using LookAndFeel::accent;
using LookAndFeel::grey;
using LookAndFeel::white;
using Focused = std::set<UIControlID>;

IntCell cell(std::int32_t v) { return std::make_shared<std::int32_t>(v); }
View<std::string> text(const std::string& s) { return std::make_shared<const std::string>(s); }
template <class Data>
std::shared_ptr<ControlLook> look(LookKind kind, const Data& data) {
    return std::make_shared<ControlLook>(kind, data);
}

// Controls that draw a given item.
struct Looks {
    ControlTree tree;

    IdCell add(const IRect2D& box, std::shared_ptr<const ControlDrawItem> item, const IdCell& parent = nullptr) {
        TestKind kind;
        kind.extra = [&](ControlTree& t, const IdCell& self) { t.lookup(self)->drawItem = item; };
        return tree.addControl(parent, kind, box, 1);
    }
    // The control drawn into a w x h target with its origin at (x, y).
    SurfacePtr draw(const IdCell& id, int w, int h, const Focused& focused = {}, int x = 0, int y = 0) {
        SurfacePtr s = target(w, h);
        drawControlItems(tree, [focused](UIControlID c) { return focused.count(c) > 0; }, {0, 0, w, h}, id,
                         Canvas{s.get(), x, y});
        return s;
    }
};

TEST(ControlLookTest, EachKindRunsItsPainterWithTheFocusShown) {
    struct Foreign : ControlDrawItem {
        std::int32_t tag() const override { return 6; }
    };
    // 10 x 10 controls (1) with a child (2), and a control 3; the pixels at
    // (3, 1) and (1, 3). A bar's thumb at 2, 4 long: face 'c' from 3 along
    // and 1 across, trough '2' before it. A frame is marked 'A' while it or
    // its first child, a control frame while its control, has the focus.
    const Look::Bar bar{cell(2), cell(4), cell(0)};
    const Look::Text label{text("A"), blockFont(10, 5, white)};
    // A text edit's "A" from x = 4 - 2, 8 high at y = (10 - 8) / 2: white
    // when focused, else the accent while highlighted.
    const std::array<Font, 3> fonts{blockFont(8, 5, white), blockFont(8, 5, accent), blockFont(8, 5, grey(0.0))};
    const auto edit = look(LookKind::TextEdit, Look::TextEdit{text("A"), cell(1), cell(0), cell(-2), cell(1), fonts});
    const auto frame = look(LookKind::Frame, Look::Face{});
    const auto controlFrame =
        look(LookKind::ControlFrame, Look::ControlFrame{std::make_shared<const IdCell>(makeIdCell(3))});
    const std::tuple<std::shared_ptr<const ControlDrawItem>, Focused, std::string> cases[] = {
        {nullptr, {}, ".."},
        {std::make_shared<Foreign>(), {}, ".."},
        {look(LookKind::PlainFace, Look::Face{}), {}, "22"},
        {look(LookKind::TabBookPage, Look::Face{}), {}, "33"},
        {look(LookKind::Window, Look::Face{}), {}, "55"},  // black edge, then grey 0.5
        {look(LookKind::HorizBar, bar), {}, "c2"},
        {look(LookKind::VertBar, bar), {}, "2c"},
        {look(LookKind::TextLabel, label), {}, "WW"},
        {look(LookKind::ImportantTextLabel, label), {}, "WW"},
        {edit, {}, "A2"},         {edit, {1}, "W2"},
        {frame, {}, "00"},        {frame, {2}, "AA"},        {frame, {1}, "AA"},
        {frame, {3}, "00"},       {controlFrame, {3}, "AA"}, {controlFrame, {2}, "00"},
    };
    for (const auto& [item, focused, want] : cases) {
        Looks w;
        const IdCell id = w.add({0, 0, 10, 10}, item);
        w.add({0, 0, 1, 1}, nullptr, id);
        w.add({0, 0, 1, 1}, nullptr);
        SurfacePtr s = w.draw(id, 10, 10, focused);
        EXPECT_EQ(std::string{pixelChar(pixel(s.get(), 3, 1))} + pixelChar(pixel(s.get(), 1, 3)), want)
            << (item ? item->tag() : 0) << " " << focused.size();
    }
    EXPECT_EQ(raised([] { ControlLook(LookKind::Button, Look::Face{}); }), "EGeneric");
}

TEST(ControlLookTest, CellsPickBitmapFontAndInset) {
    Looks w;
    IntCell on = cell(0), highlighted = cell(0);
    SurfacePtr light = target(60, 20, rgb(128, 128, 128)), dark = target(60, 20, rgb(51, 51, 51));
    // "ABC" 30 wide, 17 high in 60 x 20: (15, 1), plus 1 when pressed.
    const std::array<Font, 2> fonts{blockFont(17, 9, white), blockFont(17, 9, accent)};
    const IdCell button = w.add({0, 0, 60, 20}, look(LookKind::Button, Look::Button{on, highlighted,
                                                                                  {light.get(), dark.get()},
                                                                                  text("ABC"), fonts}));
    auto up = std::make_shared<ImageCell>(), down = std::make_shared<ImageCell>();
    up->reset(target(60, 20, rgb(51, 51, 51)).release());
    down->reset(target(60, 20, rgb(128, 128, 128)).release());
    const IdCell image =
        w.add({0, 0, 60, 20}, look(LookKind::ImageButton, Look::ImageButton{on, {down, up}, text("ABC"), fonts[0]}));
    // A check box 40 x 20: box 7 high at y = 10 - 3, text 7 high at (18, 10 - 4).
    SurfacePtr box = target(13, 7, rgb(128, 128, 128));
    const std::array<Font, 2> small{blockFont(7, 5, white), blockFont(7, 5, accent)};
    const IdCell checkBox = w.add(
        {0, 0, 40, 20}, look(LookKind::CheckBox, Look::CheckBox{on, highlighted, {box.get(), dark.get()}, text("A"), small}));

    const std::tuple<IdCell, std::int32_t, std::int32_t, int, char, int, int, char> cases[] = {
        // control, on, highlighted, bitmap row, bitmap, text x, y, glyph
        {button, 0, 0, 0, '2', 15, 1, 'A'},   {button, 1, 0, 0, '5', 16, 2, 'A'},
        {button, 0, 1, 0, '2', 15, 1, 'W'},   {image, 0, 0, 0, '2', 16, 2, 'W'},
        {image, 1, 0, 0, '5', 17, 3, 'W'},    {checkBox, 1, 0, 7, '5', 18, 6, 'A'},
        {checkBox, 0, 1, 7, '2', 18, 6, 'W'},
    };
    for (const auto& [id, pressed, lit, row, bitmap, x, y, glyph] : cases) {
        *on = pressed;
        *highlighted = lit;
        SurfacePtr s = w.draw(id, 60, 20);
        EXPECT_EQ(pixelChar(pixel(s.get(), 0, row)), bitmap);
        EXPECT_TRUE(textStartsAt(s.get(), x, y, glyph)) << *id << " " << pressed << lit;
    }
}

// A repaint inside a 10 x 10 child paints its parent first unless the
// child's look fills its whole box opaquely. A button does only while its
// bitmap is as large both ways and blits without alpha or colour key.
TEST(ControlLookTest, OnlyAnOpaqueLookHidesItsParentFromARepaint) {
    SurfacePtr fits = target(10, 10), narrow = target(9, 10), low = target(10, 9);
    SurfacePtr blended = target(10, 10), keyed = target(10, 10);
    SDL_SetAlpha(blended.get(), SDL_SRCALPHA, 255);
    SDL_SetColorKey(keyed.get(), SDL_SRCCOLORKEY, 0);
    const auto button = [](SDL_Surface* b) {
        return look(LookKind::Button, Look::Button{cell(0), {}, {b, b}, {}, {}});
    };
    auto image = std::make_shared<ImageCell>();
    image->reset(target(10, 10).release());
    const Look::Bar bar{cell(0), cell(0), cell(0)};
    const std::pair<std::shared_ptr<const ControlDrawItem>, bool> cases[] = {
        {look(LookKind::PlainFace, Look::Face{}), true},
        {look(LookKind::Frame, Look::Face{}), true},
        {look(LookKind::TabBookPage, Look::Face{}), true},
        {look(LookKind::Window, Look::Face{}), true},
        {look(LookKind::HorizBar, bar), true},
        {look(LookKind::VertBar, bar), true},
        {look(LookKind::SelectionStrings, Look::List{}), true},
        {look(LookKind::TextEdit, Look::TextEdit{}), true},
        {look(LookKind::ControlFrame, Look::ControlFrame{}), true},
        {look(LookKind::Preview, Look::Preview{}), true},
        {look(LookKind::ImageButton, Look::ImageButton{cell(0), {image, image}, {}, {}}), true},
        {button(fits.get()), true},
        {button(narrow.get()), false},
        {button(low.get()), false},
        {button(blended.get()), false},
        {button(keyed.get()), false},
        {look(LookKind::ImportantTextLabel, Look::Text{}), false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Looks w;
        const IdCell parent = w.add({0, 0, 20, 20}, nullptr);
        w.add({5, 5, 10, 10}, cases[i].first, parent);
        bool painted = false;
        SurfacePtr s = target(20, 20);
        TopLevelControls::redraw(w.tree, parent, {6, 6, 8, 8}, Canvas{s.get(), 0, 0},
                                 [&](const IRect2D&, const IdCell& c, const Canvas&) { painted |= *c == *parent; });
        EXPECT_EQ(painted, !cases[i].second) << "case " << i;
    }
}

TEST(ControlLookTest, TheSetUpsPutEachLookBitmapWhereItsNameSays) {
    // Look bitmaps of one grey each (legend in PaintTestSupport.hpp).
    ScratchDir look;
    const std::pair<const char*, std::tuple<int, int, int>> files[] = {
        {"ButtonIn.bmp", {60, 20, 128}},         {"ButtonOut.bmp", {60, 20, 51}},
        {"CheckBoxChecked.bmp", {13, 7, 128}},   {"CheckBoxUnchecked.bmp", {13, 7, 51}},
        {"TabIndexSelectedLeft.bmp", {4, 24, 76}},    {"TabIndexSelectedMiddle.bmp", {16, 24, 128}},
        {"TabIndexSelectedRight.bmp", {12, 24, 191}}, {"TabIndexUnselectedLeft.bmp", {4, 24, 89}},
        {"TabIndexUnselectedMiddle.bmp", {16, 24, 166}}, {"TabIndexUnselectedRight.bmp", {12, 24, 204}},
    };
    for (const auto& [name, size] : files) {
        const auto [w, h, v] = size;
        SurfacePtr s = target(w, h, rgb(v, v, v));
        ASSERT_EQ(SDL_SaveBMP(s.get(), look.path(name).c_str()), 0) << SDL_GetError();
    }
    UIContext ctx{configFor(std::filesystem::path(look.path("")).parent_path(), demoDir() / "ui/fonts")};
    const IdCell window = Controls::addControl(ctx, nullptr, ControlKindTag::TopLevelWindow, {0, 0, 640, 480}, 0);
    const auto add = [&](ControlKindTag kind, IRect2D box) { return Controls::addControl(ctx, window, kind, box, 1); };
    const auto drawn = [&](const IdCell& id, int w, int h) {
        SurfacePtr s = target(w, h);
        drawControlItems(ctx.tree, {}, {0, 0, w, h}, id, Canvas{s.get(), 0, 0});
        return picture(s.get());
    };
    const auto column0 = [](const Picture& p) {
        std::string c;
        for (const std::string& row : p) c += row[0];
        return c;
    };

    // A button shows "ButtonIn.bmp" while pressed, "ButtonOut.bmp" else.
    const IdCell button = add(ControlKindTag::ButtonView, {0, 0, 60, 20});
    EXPECT_EQ(drawn(button, 60, 20)[0], std::string(60, '2'));
    ctx.tree.attributes().writeAsString(button, "ispressed", "true");
    EXPECT_EQ(drawn(button, 60, 20)[0], std::string(60, '5'));

    // A check box 20 high: its box 7 high at (20 div 2) - (7 div 2) = 7,
    // not at the text's 10 + (-7 div 2) = 6.
    const IdCell checkBox = add(ControlKindTag::CheckBox, {0, 0, 40, 20});
    EXPECT_EQ(column0(drawn(checkBox, 40, 20)), std::string(7, '.') + std::string(7, '2') + std::string(6, '.'));
    ctx.tree.attributes().writeAsString(checkBox, "ischecked", "true");
    EXPECT_EQ(column0(drawn(checkBox, 40, 20)), std::string(7, '.') + std::string(7, '5') + std::string(6, '.'));

    // Two tabs of 100 in a tab index 200 wide, the first selected: its left
    // cap, middle tiles from 4 and right cap at 88; then the other's.
    const IdCell tabs = add(ControlKindTag::TabIndex, {0, 0, 200, 24});
    ctx.tree.attributes().writeAsString(tabs, "tabs", "'[\"A\",\"B\"]'");
    const auto strip = [](char l, char m, char r) {
        return std::string(4, l) + std::string(84, m) + std::string(12, r);
    };
    EXPECT_EQ(drawn(tabs, 200, 24)[0], strip('3', '5', '7') + strip('c', '6', '8'));
}

TEST(ControlLookTest, PreviewRendersAtTheControlsPlace) {
    struct NoRedraw : PreviewRedraw {
        void redrawPreview() override {}
    };
    riStartUp();
    {
        Looks w;
        IdCell id;
        DemoPreview demo =
            makeDemoPreview([&] { return w.tree.lookup(id)->boundingBox.value(); }, std::make_shared<NoRedraw>());
        id = w.add({0, 0, 100, 100}, look(LookKind::Preview, Look::Preview{demo.preview}));
        SurfacePtr whole = w.draw(id, 100, 100);
        EXPECT_NE(rgbAt(whole.get(), 50, 50), 0u);  // the cube, on black
        EXPECT_EQ(rgbAt(whole.get(), 0, 0), 0u);
        // With its origin at (-10, -5): the same picture, cut at the top left.
        SurfacePtr cut = w.draw(id, 90, 95, {}, -10, -5);
        int differ = 0;
        for (int y = 0; y < 95; ++y)
            for (int x = 0; x < 90; ++x) differ += rgbAt(cut.get(), x, y) != rgbAt(whole.get(), x + 10, y + 5);
        EXPECT_EQ(differ, 0);
    }
    riStartUp();
}

}  // namespace
}  // namespace zil::testing
