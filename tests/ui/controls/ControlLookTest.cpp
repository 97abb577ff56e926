// The drawing dispatch: which control draws, which cells pick bitmap, font
// and inset, the focus marks, and the preview in its place. Glyphs are
// solid blocks and bitmaps one colour (legend in PaintTestSupport.hpp).
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
View<std::string> text(const std::string& s) { return std::make_shared<const std::string>(s); }
FocusQuery focusOn(std::set<UIControlID> ids) {
    return [ids](UIControlID id) { return ids.count(id) > 0; };
}
template <class Data>
std::shared_ptr<ControlLook> look(LookKind kind, const Data& data) {
    return std::make_shared<ControlLook>(kind, data);
}

TEST(ControlLookTest, OnlyControlLooksDrawAndLookupsFailAsTheTableSays) {
    struct Foreign : ControlDrawItem {
        std::int32_t tag() const override { return 4; }
    };
    LookWorld w;
    SurfacePtr s = target(4, 4);
    w.draw(w.addDrawn({0, 0, 4, 4}, nullptr), s.get());
    w.draw(w.addDrawn({0, 0, 4, 4}, std::make_shared<Foreign>()), s.get());
    EXPECT_EQ(picture(s.get()), Picture(4, "...."));
    EXPECT_EQ(raised([&] { w.draw(makeIdCell(0), s.get()); }), "ControlDestroyed");
    EXPECT_EQ(raised([&] { w.draw(makeIdCell(w.tree.capacity()), s.get()); }), "Subscript");
    EXPECT_EQ(raised([&] { w.draw(makeIdCell(5), s.get()); }), "InvalidControlID");
    EXPECT_EQ(raised([] { ControlLook(LookKind::Button, Look::Face{}); }), "EGeneric");
}

TEST(ControlLookTest, CellsPickBitmapFontAndInset) {
    LookWorld w;
    IntCell on = cell(0), highlighted = cell(0);
    SurfacePtr light = target(60, 20, rgb(128, 128, 128)), dark = target(60, 20, rgb(51, 51, 51));
    // "ABC" 30 wide, 17 high in 60 x 20: (15, 1), plus 1 when pressed.
    const std::array<Font, 2> fonts{blockFont(17, 9, white), blockFont(17, 9, accent)};
    const IdCell button =
        w.addDrawn({0, 0, 60, 20}, look(LookKind::Button, Look::Button{on, highlighted, {light.get(), dark.get()},
                                                                      text("ABC"), fonts}));
    auto up = std::make_shared<ImageCell>(), down = std::make_shared<ImageCell>();
    up->reset(target(60, 20, rgb(51, 51, 51)).release());
    down->reset(target(60, 20, rgb(128, 128, 128)).release());
    const IdCell image = w.addDrawn(
        {0, 0, 60, 20}, look(LookKind::ImageButton, Look::ImageButton{on, {down, up}, text("ABC"), fonts[0]}));
    // A check box 40 x 20: box 7 high at y = 10 - 3, text 7 high at (18, 10 - 4).
    SurfacePtr box = target(13, 7, rgb(128, 128, 128));
    Look::CheckBox check{on, highlighted, {box.get(), dark.get()}, text("A"),
                         {blockFont(7, 5, white), blockFont(7, 5, accent)}};
    const IdCell checkBox = w.addDrawn({0, 0, 40, 20}, look(LookKind::CheckBox, check));
    check.boxes[0] = nullptr;  // did not load
    const IdCell noBox = w.addDrawn({0, 0, 40, 20}, look(LookKind::CheckBox, check));

    const std::tuple<IdCell, std::int32_t, std::int32_t, int, char, int, int, char> cases[] = {
        // control, on, highlighted, bitmap row, bitmap, text x, y, glyph
        {button, 0, 0, 0, '2', 15, 1, 'A'},   {button, 1, 0, 0, '5', 16, 2, 'A'},
        {button, 0, 1, 0, '2', 15, 1, 'W'},   {image, 0, 0, 0, '2', 16, 2, 'W'},
        {image, 1, 0, 0, '5', 17, 3, 'W'},    {checkBox, 1, 0, 7, '5', 18, 6, 'A'},
        {checkBox, 0, 1, 7, '2', 18, 6, 'W'}, {noBox, 1, 0, 7, '.', 18, 6, 'A'},
    };
    for (const auto& [id, pressed, lit, row, bitmap, x, y, glyph] : cases) {
        *on = pressed;
        *highlighted = lit;
        SurfacePtr s = target(60, 20);
        w.draw(id, s.get());
        EXPECT_EQ(pixelChar(pixel(s.get(), 0, row)), bitmap);
        EXPECT_TRUE(textStartsAt(s.get(), x, y, glyph)) << *id << " " << pressed << lit;
    }
    up->reset();  // an image that did not load: the text alone
    *on = 0;
    SurfacePtr s = target(60, 20);
    w.draw(image, s.get());
    EXPECT_EQ(pixelChar(pixel(s.get(), 0, 0)), '.');
}

TEST(ControlLookTest, FramesAreMarkedWhileWhatTheyFrameHasTheFocus) {
    LookWorld w;
    const IdCell frame = w.addDrawn({0, 0, 3, 3}, look(LookKind::Frame, Look::Face{}));
    const IdCell child = w.addDrawn({0, 0, 1, 1}, nullptr, frame);
    const IdCell other = w.addDrawn({0, 0, 1, 1}, nullptr);
    const IdCell controlFrame = w.addDrawn(
        {0, 0, 3, 3}, look(LookKind::ControlFrame, Look::ControlFrame{std::make_shared<const IdCell>(other)}));
    const std::tuple<IdCell, std::set<UIControlID>, char> cases[] = {
        {frame, {}, '0'},           {frame, {*child}, 'A'},        {frame, {*frame}, 'A'},
        {frame, {*other}, '0'},     {controlFrame, {*other}, 'A'}, {controlFrame, {*child}, '0'},
    };
    for (const auto& [id, focused, interior] : cases) {
        SurfacePtr s = target(3, 3);
        w.draw(id, s.get(), focusOn(focused));
        EXPECT_EQ(pixelChar(pixel(s.get(), 1, 1)), interior);
    }
}

TEST(ControlLookTest, TextEditIsEmphasisedByFocusAndScrolls) {
    LookWorld w;
    IntCell lit = cell(1);
    const std::array<Font, 3> fonts{blockFont(15, 5, white), blockFont(15, 5, accent), blockFont(15, 5, grey(0.0))};
    const IdCell edit = w.addDrawn(
        {0, 0, 20, 20}, look(LookKind::TextEdit, Look::TextEdit{text("AB"), cell(1), cell(0), cell(3), lit, fonts}));
    // Text from x = 4 + 3; focused, the cursor after "A" ends at 7 + 6.
    for (const auto& [focused, row0, glyph] :
         {std::tuple{true, "22222222222WW2222222", 'W'}, {false, "22222222222222222222", 'A'}}) {
        SurfacePtr s = target(20, 20);
        w.draw(edit, s.get(), focusOn(focused ? std::set<UIControlID>{*edit} : std::set<UIControlID>{}));
        EXPECT_EQ(picture(s.get())[0], row0);
        EXPECT_TRUE(textStartsAt(s.get(), 7, 2, glyph));
    }
}

TEST(ControlLookTest, PreviewRendersAtTheControlsPlace) {
    struct NoRedraw : PreviewRedraw {
        void redrawPreview() override {}
    };
    riStartUp();
    {
        LookWorld w;
        IdCell id;
        DemoPreview demo =
            makeDemoPreview([&] { return w.tree.lookup(id)->boundingBox.value(); }, std::make_shared<NoRedraw>());
        id = w.addDrawn({0, 0, 100, 100}, look(LookKind::Preview, Look::Preview{demo.preview}));
        SurfacePtr whole = target(100, 100);
        w.draw(id, whole.get());
        EXPECT_NE(rgbAt(whole.get(), 50, 50), 0u);  // the cube, on black
        EXPECT_EQ(rgbAt(whole.get(), 0, 0), 0u);
        saveForViewing(whole.get(), "16-preview");
        // With its origin at (-10, -5): the same picture, cut at the top left.
        SurfacePtr cut = target(90, 95);
        w.draw(id, cut.get(), {}, -10, -5);
        int differ = 0;
        for (int y = 0; y < 95; ++y)
            for (int x = 0; x < 90; ++x) differ += rgbAt(cut.get(), x, y) != rgbAt(whole.get(), x + 10, y + 5);
        EXPECT_EQ(differ, 0);
    }
    riStartUp();
}

}  // namespace
}  // namespace zil::testing
