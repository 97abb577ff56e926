// The set-up of each kind: what it registers with which defaults and in
// which order, the fonts and bitmaps its look takes, what repaints it, the
// layouts it installs, and the demo page's preview.
#include "ui/controls/Controls.hpp"

#include <gtest/gtest.h>

#include "mesh/MeshTestUtil.hpp"
#include "render/RenderPreview.hpp"
#include "ui/base/LookAndFeel.hpp"
#include "ui/controls/ContextTestSupport.hpp"

namespace zil::testing {
namespace {

using namespace LookAndFeel;
using K = ControlKindTag;
using Texts = std::vector<std::string>;
using Colours = std::vector<ColorRGB>;
constexpr ColorRGB second = Controls::secondFontColour;

TEST(Controls, EachKindRegistersItsAttributesTakesItsFontsAndDrawsItsLook) {
    // Each control is (5, 6, 120, 30), ID 2 after the window; the bars'
    // "barsize" and "barrange" start at its width or height. Last, values
    // whose change repaints the control.
    const std::tuple<K, Texts, std::int32_t, Colours, Texts> cases[] = {
        {K::TextLabel, {"text=''"}, 1, {labelColour}, {"text='Scale'"}},
        {K::ImportantTextLabel, {"text=''"}, 2, {accent}, {"text='x'"}},
        {K::CheckBox, {"text=''", "ischecked=0"}, 3, {labelColour, second}, {"ischecked=true", "text='x'"}},
        {K::ButtonView, {"text=''", "ispressed=0"}, 4, {accent, second}, {"ispressed=true", "text='x'"}},
        {K::HorizScrollBar, {"barsize=120", "barpos=0", "barrange=120"}, 5, {}, {"barpos=5", "barsize=30"}},
        {K::TabBook, {"selectedtabindex=0"}, 0, {}, {}},
        {K::FieldTabulator, {"controlnames=[]"}, 0, {}, {}},
        {K::VertScrollArea, {"scrollbar=#4"}, 6, {}, {}},  // its frame is 3
        {K::Frame, {}, 7, {}, {}},
        {K::VertScrollBar, {"barsize=30", "barpos=0", "barrange=30"}, 8, {}, {"barrange=300"}},
        {K::SelectionStrings, {"strings=[]", "selectableitems=NBools"}, 9, {accent, white}, {"selectableitems=[[true]]"}},
        {K::TabBookPage, {"tabindex=0"}, 10, {}, {}},
        {K::TabIndex, {"tabs=[]", "selectedtabindex=0"}, 11, {accent, second, white},
         {"tabs=[['x']]", "selectedtabindex=2"}},
        {K::PushAction, {"onclick=ControlNotify", "control=#0"}, 0, {}, {}},
        {K::ImageButton, {"text=''", "ispressed=0", "imageup=''", "imagedown=''"}, 12, {},  // fonts of its own
         {"imageup='none.bmp'", "ispressed=true"}},
        {K::TextEdit, {"text=''", "cursorchar=0", "cursorcharextent=0"}, 13, {accent, second, white},
         {"cursorcharextent=1", "text='x'"}},
        {K::ControlFrame, {"control=#0"}, 14, {}, {}},
        {K::Window, {}, 15, {}, {}},
        {K::DemoPage,
         {"zoom=0.000000", "cornersharpness=0.000000", "yellowedgesharpness=0.000000", "blueedgesharpness=0.000000"},
         16, {}, {}},
    };
    for (const auto& [kind, own, look, colours, repainting] : cases) {
        SCOPED_TRACE(static_cast<int>(kind));
        Ui ui;
        const IdCell id = ui.add(kind, {5, 6, 120, 30});
        Texts want = own;
        want.insert(want.end(), {"boundingbox=NIRect2D", "visible=1", "name=''", "class=''"});
        EXPECT_EQ(attributeTexts(ui, id), want);
        EXPECT_EQ(ui.at(id).drawItem ? ui.at(id).drawItem->tag() : 0, look);
        Colours taken;
        for (const FontListEntry& f : ui.ctx.fonts.fonts()) {
            EXPECT_TRUE(f.name == "lucida-14" && f.font->framed());
            taken.push_back(f.colour);
        }
        EXPECT_EQ(taken, colours);
        // Beside the accent and the label colour, the look has only greys.
        for (const ColorRGB& c : taken)
            EXPECT_TRUE(c == accent || c == labelColour || (c.red == c.green && c.green == c.blue));
        for (const std::string& change : repainting) {
            ui.dirty().clear();
            const std::size_t eq = change.find('=');
            ui.attributes().writeAsString(id, change.substr(0, eq), change.substr(eq + 1));
            EXPECT_EQ(ui.dirty(), (std::vector<IRect2D>{{5, 6, 120, 30}})) << change;
        }
        EXPECT_EQ(raised([&] { ui.attributes().registerString(id, "class", ""); }), "EGeneric");
        ui.ctx.tree.destroyControl(id);  // gives back every font its look took
        for (const FontListEntry& f : ui.ctx.fonts.fonts()) EXPECT_EQ(f.entry->count, 0);
    }
}

TEST(Controls, LooksShareFontsAndBitmapsAndShowTheirPress) {
    Ui ui;
    const IdCell first = ui.add(K::ButtonView, {0, 0, 60, 20});
    ui.add(K::ButtonView, {0, 30, 60, 20});
    const std::string in = lookupResourcePath(ui.ctx.config, "ui/lf/vuq/") + "ButtonIn.bmp";
    EXPECT_TRUE(ui.ctx.images.count(in) == 2 && ui.ctx.fonts.fonts().size() == 2);
    ui.ctx.tree.destroyControl(first);
    EXPECT_TRUE(ui.ctx.images.count(in) == 1 && ui.ctx.fonts.fonts()[0].entry->count == 1);
    const IdCell image = ui.add(K::ImageButton, {0, 0, 120, 32});  // accent and white, unframed, not shared
    const auto& own = dynamic_cast<const KindState&>(*ui.at(image).kindState).resources.ownFonts;
    ASSERT_EQ(own.size(), 2u);
    EXPECT_TRUE(own[0]->colour() == accent && own[1]->colour() == white && !own[0]->framed());
    EXPECT_EQ(ui.ctx.fonts.fonts().size(), 2u);

    // The look's own press and release entries (the last: the input rules
    // go in front) set and clear the pressed cell, and repaint.
    const IdCell edit = ui.add(K::TextEdit, {10, 20, 100, 24});
    for (const auto& [store, value] : {std::pair{ui.ctx.pointerActions.press, 1}, {ui.ctx.pointerActions.release, 0}}) {
        ui.dirty().clear();
        runPointerAction(store->at(idOf(edit)).back().action, {});
        EXPECT_EQ(ui.dirty(), (std::vector<IRect2D>{{10, 20, 100, 24}}));
        EXPECT_EQ(*ui.cells(edit).pressed, value);
    }
}

TEST(Controls, FramesScrollAreasListsAndBooksLayOutWhatTheyHold) {
    Ui ui;
    const IdCell area = ui.add(K::VertScrollArea, {0, 0, 100, 50});  // 2; frame 3, bar 4
    // The bar was made in the frame at (2, 2, 96, 46), then the frame went
    // to the right edge; the bar's range is its length.
    EXPECT_EQ(ui.at(3).boundingBox.value(), (IRect2D{84, 0, 16, 50}));
    EXPECT_EQ(ui.at(4).boundingBox.value(), (IRect2D{2, 2, 12, 46}));
    ui.at(area).boundingBox.set({0, 0, 120, 60});
    EXPECT_EQ(ui.at(3).boundingBox.value(), (IRect2D{104, 0, 16, 60}));
    EXPECT_EQ(ui.at(4).boundingBox.value(), (IRect2D{2, 2, 12, 56}));
    const IdCell content = ui.add(K::TextLabel, {0, 0, 50, 200}, area);
    EXPECT_EQ(idOf(ui.at(area).children.readAt(1)), 3);  // the frame, drawn over the contents
    ui.at(content).boundingBox.set({0, 0, 50, 300});
    const ControlCells& c = ui.cells(2);
    EXPECT_EQ(c.barRange->value(), 56);
    EXPECT_EQ(c.barSize->value(), 11);  // extent 300, height 60, range 56: (60 * 56) div 300
    c.barPos->set(10);                  // ((300 - 60) * 10) div (56 - 11) = 53
    EXPECT_EQ(ui.at(content).boundingBox.value(), (IRect2D{0, -53, 50, 300}));
    EXPECT_EQ(ui.at(3).boundingBox.value(), (IRect2D{104, 0, 16, 60}));

    // A frame insets its first child, also one added later, by 2.
    ui.at(ui.add(K::Frame, {})).boundingBox.set({0, 0, 20, 20});  // no child: nothing to move
    const IdCell frame = ui.add(K::Frame, {10, 10, 100, 50});
    const IdCell first = ui.add(K::TextLabel, {}, frame), second = ui.add(K::TextLabel, {1, 1, 5, 5}, frame);
    EXPECT_EQ(ui.at(first).boundingBox.value(), (IRect2D{2, 2, 96, 46}));
    ui.at(frame).boundingBox.set({0, 0, 60, 40});
    EXPECT_EQ(ui.at(first).boundingBox.value(), (IRect2D{2, 2, 56, 36}));
    EXPECT_EQ(ui.at(second).boundingBox.value(), (IRect2D{1, 1, 5, 5}));
    // The frame's space latch, pressed and let go, once each.
    EXPECT_EQ(ui.ctx.handlers.keyDown->at(idOf(first)).size(), 1u);
    EXPECT_EQ(ui.ctx.handlers.keyUp->at(idOf(first)).size(), 1u);

    // Selection strings grow a line and a flag per string.
    const IdCell list = ui.add(K::SelectionStrings, {0, 0, 80, 5});
    const ControlCells& strings = ui.cells(list);
    strings.items->append("a");
    const std::int32_t line = ui.at(list).boundingBox.value().h;
    strings.items->append("b");
    EXPECT_GT(line, 0);
    EXPECT_EQ(ui.at(list).boundingBox.value(), (IRect2D{0, 0, 80, 2 * line}));
    EXPECT_EQ(strings.selectable->count(), 2);

    // A tab book shows the pages of its selected index, each at its size.
    const IdCell book = ui.add(K::TabBook, {0, 0, 300, 200});
    const IdCell page0 = ui.add(K::TabBookPage, {5, 5, 10, 10}, book), page1 = ui.add(K::TabBookPage, {}, book);
    ui.cells(page1).selected->set(1);
    ui.cells(book).selected->set(1);
    EXPECT_EQ(ui.at(page0).visible.value() * 10 + ui.at(page1).visible.value(), 1);
    EXPECT_EQ(ui.at(page0).boundingBox.value(), (IRect2D{0, 0, 300, 200}));  // fitted when added
    ui.at(book).boundingBox.set({0, 0, 320, 240});
    EXPECT_EQ(ui.at(page1).boundingBox.value(), (IRect2D{0, 0, 320, 240}));
}

TEST(Controls, TheDemoPageResetsThePreviewStateAndItsValuesEditTheCubeAndRepaintIt) {
    Ui ui;
    ui.ctx.ri.deviceWidth = 77;
    ui.ctx.ri.currentTransform.rows[0][3] = 5.0;
    // The page (3) at (0, 0, 400, 400) in a tab page at (20, 30).
    const IdCell page =
        Controls::newDemoPageControl(ui.ctx, ui.add(K::TabBookPage, {20, 30, 500, 500}), {0, 0, 400, 400}, 1);
    EXPECT_EQ(ui.ctx.ri.deviceWidth, 0);  // the next draw makes the surface anew
    EXPECT_EQ(ui.ctx.ri.currentTransform.rows[0][3], 0.0);
    SceneCells& scene = ui.cells(page).preview->cells();
    ui.dirty().clear();
    ui.attributes().get<Attr::NReal>(page, "cornersharpness")->set(1.5);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(test::realOf(test::vertex(scene.mesh, i), test::N().vertexSharpness), 1.5);
    EXPECT_EQ(ui.dirty(), (std::vector<IRect2D>{{20, 30, 400, 400}}));  // the page in the window
    ui.attributes().get<Attr::NReal>(page, "zoom")->set(2.5);
    EXPECT_EQ(scene.cameraPosition.z, -7.5);
    EXPECT_EQ(ui.dirty(), (std::vector<IRect2D>{{20, 30, 400, 400}}));
}

}  // namespace
}  // namespace zil::testing
