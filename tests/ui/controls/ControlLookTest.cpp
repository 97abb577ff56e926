// The drawing dispatch: which control is drawn, which cells pick which
// bitmap, font and inset, the focus marks, and the preview in its place.
// Fonts are solid blocks and bitmaps one colour, so positions and choices
// can be read off single pixels (legend in PaintTestSupport.hpp).
#include <gtest/gtest.h>

#include <set>

#include "render/RenderPreview.hpp"
#include "ui/controls/LookTestSupport.hpp"
#include "ui/tree/ControlNotify.hpp"

namespace zil::testing {
namespace {

using LookAndFeel::accent;
using LookAndFeel::grey;
using LookAndFeel::white;

IntCell cell(std::int32_t v) { return std::make_shared<std::int32_t>(v); }
Font font(int height, int glyphWidth, const ColorRGB& colour) { return blockFont(height, glyphWidth, colour); }
View<std::string> text(const std::string& s) { return std::make_shared<const std::string>(s); }
FocusQuery focusOn(std::set<UIControlID> ids) {
    return [ids](UIControlID id) { return ids.count(id) > 0; };
}

struct Foreign : ControlDrawItem {
    std::int32_t tag() const override { return 4; }
};

TEST(ControlLookTest, OnlyControlLooksDrawAndLookupsFailAsTheTableSays) {
    LookWorld w;
    const IdCell none = w.addDrawn({0, 0, 4, 4}, nullptr);
    const IdCell foreign = w.addDrawn({0, 0, 4, 4}, std::make_shared<Foreign>());
    SurfacePtr s = target(4, 4, kBackground);
    w.draw(none, s.get());
    w.draw(foreign, s.get());
    EXPECT_EQ(picture(s.get()), (std::vector<std::string>(4, "....")));

    EXPECT_EQ(raised([&] { w.draw(makeIdCell(0), s.get()); }), "ControlDestroyed");
    EXPECT_EQ(raised([&] { w.draw(makeIdCell(w.tree.capacity()), s.get()); }), "Subscript");
    EXPECT_EQ(raised([&] { w.draw(makeIdCell(5), s.get()); }), "InvalidControlID");
    EXPECT_EQ(raised([] { ControlLook(LookKind::Button, Look::Face{}); }), "EGeneric");
}

TEST(ControlLookTest, ButtonsPickBitmapFontAndInsetByTheirCells) {
    LookWorld w;
    IntCell pressed = cell(0), highlighted = cell(0);
    SurfacePtr in = solidBitmap(60, 20, rgb(128, 128, 128));
    SurfacePtr out = solidBitmap(60, 20, rgb(51, 51, 51));
    // "ABC" 30 wide, bitmap 17 high in 60 x 20: (15, 1) plus the inset.
    const Look::Button data{pressed, highlighted, {in.get(), out.get()}, text("ABC"),
                            {font(17, 9, white), font(17, 9, accent)}};
    const IdCell button = w.addDrawn({0, 0, 60, 20}, std::make_shared<ControlLook>(LookKind::Button, data));

    auto up = std::make_shared<ImageCell>(), down = std::make_shared<ImageCell>();
    up->reset(solidBitmap(60, 20, rgb(51, 51, 51)).release());
    down->reset(solidBitmap(60, 20, rgb(128, 128, 128)).release());
    const Look::ImageButton image{pressed, {down, up}, text("ABC"), font(17, 9, white)};
    const IdCell imageButton =
        w.addDrawn({0, 0, 60, 20}, std::make_shared<ControlLook>(LookKind::ImageButton, image));

    struct Case {
        IdCell control;
        std::int32_t pressed, highlighted;
        char bitmap;
        int x, y;
        char glyph;
    };
    const Case cases[] = {
        {button, 0, 0, '2', 15, 1, 'A'},
        {button, 1, 0, '5', 16, 2, 'A'},
        {button, 0, 1, '2', 15, 1, 'W'},
        {imageButton, 0, 0, '2', 16, 2, 'W'},  // one more pixel in
        {imageButton, 1, 0, '5', 17, 3, 'W'},
    };
    for (const Case& c : cases) {
        *pressed = c.pressed;
        *highlighted = c.highlighted;
        SurfacePtr s = target(60, 20, kBackground);
        w.draw(c.control, s.get());
        EXPECT_EQ(pixelChar(pixel(s.get(), 0, 0)), c.bitmap);
        EXPECT_TRUE(textStartsAt(s.get(), c.x, c.y, c.glyph)) << c.pressed << c.highlighted;
    }
    up->reset();  // an image not loaded: the text alone
    *pressed = 0;
    SurfacePtr s = target(60, 20, kBackground);
    w.draw(imageButton, s.get());
    EXPECT_EQ(pixelChar(pixel(s.get(), 0, 0)), '.');
    EXPECT_TRUE(textStartsAt(s.get(), 16, 2, 'W'));
}

TEST(ControlLookTest, CheckBoxShowsTheBoxOfItsState) {
    LookWorld w;
    IntCell checked = cell(1), highlighted = cell(0);
    SurfacePtr on = solidBitmap(13, 7, rgb(128, 128, 128));
    SurfacePtr off = solidBitmap(13, 7, rgb(191, 191, 191));
    Look::CheckBox data{checked, highlighted, {on.get(), off.get()}, text("A"), {font(7, 5, white), font(7, 5, accent)}};
    const IdCell box = w.addDrawn({0, 0, 40, 20}, std::make_shared<ControlLook>(LookKind::CheckBox, data));
    data.boxes[0] = nullptr;  // the checked bitmap did not load
    const IdCell noBitmap = w.addDrawn({0, 0, 40, 20}, std::make_shared<ControlLook>(LookKind::CheckBox, data));

    struct Case {
        IdCell control;
        std::int32_t checked, highlighted;
        char box, glyph;
    };
    const Case cases[] = {
        {box, 1, 0, '5', 'A'}, {box, 0, 1, '7', 'W'}, {noBitmap, 1, 0, '.', 'A'}, {noBitmap, 0, 0, '7', 'A'}};
    for (const Case& c : cases) {
        *checked = c.checked;
        *highlighted = c.highlighted;
        SurfacePtr s = target(40, 20, kBackground);
        w.draw(c.control, s.get());
        // Box 7 high at y = 10 - 3 = 7; text 7 high at (18, 10 - 4).
        EXPECT_EQ(pixelChar(pixel(s.get(), 0, 7)), c.box);
        EXPECT_EQ(pixelChar(pixel(s.get(), 0, 6)), '.');
        EXPECT_TRUE(textStartsAt(s.get(), 18, 6, c.glyph));
    }
}

TEST(ControlLookTest, FramesAreMarkedWhileWhatTheyFrameHasTheFocus) {
    LookWorld w;
    const IdCell frame = w.addDrawn({0, 0, 6, 6}, std::make_shared<ControlLook>(LookKind::Frame, Look::Face{}));
    const IdCell child = w.addDrawn({2, 2, 2, 2}, nullptr, frame);
    const IdCell other = w.addDrawn({0, 0, 2, 2}, nullptr);
    auto framed = std::make_shared<IdCell>(other);
    const IdCell controlFrame =
        w.addDrawn({0, 0, 6, 6}, std::make_shared<ControlLook>(LookKind::ControlFrame, Look::ControlFrame{framed}));
    struct Case {
        IdCell control;
        std::set<UIControlID> focused;
        char interior;
    };
    const Case cases[] = {
        {frame, {}, '0'},
        {frame, {*child}, 'A'},
        {frame, {*other}, '0'},
        {controlFrame, {*other}, 'A'},
        {controlFrame, {*child}, '0'},
    };
    for (const Case& c : cases) {
        SurfacePtr s = target(6, 6, kBackground);
        w.draw(c.control, s.get(), focusOn(c.focused));
        EXPECT_EQ(pixelChar(pixel(s.get(), 1, 1)), c.interior);
    }
    SurfacePtr s = target(6, 6, kBackground);
    w.draw(frame, s.get());  // no focus query: nothing is focused
    EXPECT_EQ(pixelChar(pixel(s.get(), 1, 1)), '0');
}

TEST(ControlLookTest, TextEditShowsCursorAndFontByFocusAndScrolls) {
    LookWorld w;
    IntCell cursor = cell(1), extent = cell(0), scroll = cell(3), highlighted = cell(0);
    auto shown = std::make_shared<std::string>("AB");
    const Look::TextEdit data{shown, cursor, extent, scroll, highlighted,
                              {font(15, 5, white), font(15, 5, accent), font(15, 5, grey(0.0))}};
    const IdCell edit = w.addDrawn({0, 0, 20, 20}, std::make_shared<ControlLook>(LookKind::TextEdit, data));
    struct Case {
        bool focused;
        std::int32_t highlighted;
        std::string row0;
        char glyph;
    };
    // Text at x = 4 + 3; the cursor after "A" ends at 7 + 6: pixels 11, 12.
    const Case cases[] = {
        {true, 0, "22222222222WW2222222", 'W'},
        {false, 1, std::string(20, '2'), 'A'},
        {false, 0, std::string(20, '2'), '0'},
    };
    for (const Case& c : cases) {
        *highlighted = c.highlighted;
        SurfacePtr s = target(20, 20, kBackground);
        w.draw(edit, s.get(), focusOn(c.focused ? std::set<UIControlID>{*edit} : std::set<UIControlID>{}));
        EXPECT_EQ(picture(s.get())[0], c.row0);
        EXPECT_TRUE(textStartsAt(s.get(), 7, 2, c.glyph));
    }
    *shown = "";  // the text shrank under the cursor: drawn at its end
    SurfacePtr s = target(20, 20, kBackground);
    w.draw(edit, s.get(), focusOn({*edit}));
    EXPECT_EQ(picture(s.get())[0], "22222WW2222222222222");
}

TEST(ControlLookTest, TabWidthComesFromTheTabIndexAndItsTabCount) {
    LookWorld w;
    auto tabs = std::make_shared<DynArray<std::string>>();
    for (const char* t : {"A", "B", "C"}) tabs->append(t);
    SurfacePtr selected = solidBitmap(4, 24, rgb(76, 76, 76));
    SurfacePtr other = solidBitmap(4, 24, rgb(89, 89, 89));
    const Look::TabIndex data{tabs, cell(1), cell(1), cell(2), {selected.get(), nullptr, nullptr},
                              {other.get(), nullptr, nullptr},
                              {font(5, 5, white), font(5, 5, accent), font(5, 5, grey(0.0))}};
    const IdCell index = w.addDrawn({0, 0, 300, 24}, std::make_shared<ControlLook>(LookKind::TabIndex, data));
    SurfacePtr s = target(300, 24, kBackground);
    w.draw(index, s.get());
    // Tabs 100 wide: left caps at 0, 100 (selected), 200; labels at x0 + 47.
    const std::string row = picture(s.get())[0];
    EXPECT_EQ(row.substr(0, 5) + row.substr(100, 5) + row.substr(200, 5), "cccc.3333.cccc.");
    EXPECT_TRUE(textStartsAt(s.get(), 47, 9, '0'));
    EXPECT_TRUE(textStartsAt(s.get(), 147, 9, 'W'));
    EXPECT_TRUE(textStartsAt(s.get(), 247, 9, 'A'));
}

class PreviewLookTest : public ::testing::Test {
protected:
    void SetUp() override { riStartUp(); }
    void TearDown() override { riStartUp(); }
};

TEST_F(PreviewLookTest, PreviewRendersAtTheControlsPlace) {
    LookWorld w;
    struct NoRedraw : PreviewRedraw {
        void redrawPreview() override {}
    };
    IdCell id;
    DemoPreview demo = makeDemoPreview([&] { return w.tree.lookup(id)->boundingBox.value(); },
                                       std::make_shared<NoRedraw>());
    id = w.addDrawn({0, 0, 100, 100}, std::make_shared<ControlLook>(LookKind::Preview, Look::Preview{demo.preview}));

    SurfacePtr whole = target(100, 100, kBackground);
    w.draw(id, whole.get());
    EXPECT_NE(rgbAt(whole.get(), 50, 50), 0u);  // the cube
    EXPECT_EQ(rgbAt(whole.get(), 0, 0), 0u);    // cleared around it

    // With the origin at (-10, -5) the same picture is cut at the top left.
    SurfacePtr cut = target(90, 95, kBackground);
    w.draw(id, cut.get(), {}, -10, -5);
    int differ = 0;
    for (int y = 0; y < 95; ++y)
        for (int x = 0; x < 90; ++x) differ += rgbAt(cut.get(), x, y) != rgbAt(whole.get(), x + 10, y + 5);
    EXPECT_EQ(differ, 0);
    saveForViewing(whole.get(), "16-preview");
}

}  // namespace
}  // namespace zil::testing
