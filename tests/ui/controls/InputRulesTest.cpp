// The keyboard and mouse rules of factory-made controls, through the real
// event loop.
#include "ui/controls/InputRules.hpp"

#include <gtest/gtest.h>

#include "LoopTestSupport.hpp"
#include "ui/base/SDLBitmapFont.hpp"
#include "ui/controls/ControlLook.hpp"

namespace zil {
namespace {

using namespace zil::testing;

[[maybe_unused]] auto* const sdl = ::testing::AddGlobalTestEnvironment(new SdlVideoEnvironment);

const ControlCells& cellsOf(LoopUi& ui, const IdCell& c) { return *Controls::cellsOf(ui.ctx.tree, c); }

TEST(InputRules, BarsStepByHalfTheirSizeAndDragPastTheirEnds) {
    LoopUi ui;
    const IdCell bar = ui.make("VuqVertScrollBar", {300, 10, 16, 200});
    auto pos = ui.intAttr(bar, "barpos"), size = ui.intAttr(bar, "barsize");
    ui.intAttr(bar, "barrange")->set(100);
    ui.click(305, 100);  // takes the focus
    const std::array<std::int32_t, 4> keys[] = {
        // size, from, key: to
        {20, 85, Keys::down, 80},   // 85 + 10 clamped to 100 - 20
        {20, 5, Keys::up, 0},       {30, 40, Keys::down, 55},  // a step of 15
        {120, 0, Keys::down, -20},  // a bar larger than its range: the limit wins
        {120, 50, Keys::up, -20},   // 50 - 60 is not below the limit -20
        {120, 0, Keys::up, 0},      // 0 - 60 is: 0
        {20, 50, Keys::left, 50},   // not a vertical bar's key
    };
    for (const auto& [barSize, from, key, to] : keys) {
        size->set(barSize);
        pos->set(from);
        ui.type(key);
        EXPECT_EQ(pos->value(), to) << barSize << " " << from;
    }
    pos->set(10);
    std::vector<std::int32_t> seen;
    pos->onChanged.push([&](const IdCell&, const std::int32_t& v) { seen.push_back(v); });
    ui.run([] {
        pushButton(true, 305, 60);
        pushMotion(305, 90, 0, 30);  // 30 down: 10 + 30
        pushButton(true, 305, 90);   // ends the motion run; the grab holder again
        pushMotion(900, 260, 0, 0);  // 200 down and off the bar: 210 clamped to 80
        pushButton(true, 900, 260);
        pushMotion(305, 45, 0, 0);  // 15 above the start: 0
        pushButton(false, 305, 45);
        pushMotion(305, 150, 0, 0);  // released: nothing
    });
    // Leaving the bar reaches its motion handler, which with no button held
    // does not drag (from the last start it would give 190 - 250 + 80).
    ui.run([] { pushMotion(10, 200, 0, 0); });
    EXPECT_EQ(seen, (std::vector<std::int32_t>{40, 80, 0}));
}

TEST(InputRules, ButtonsTrackThePointerAndClickWhenLetGoOnThem) {
    LoopUi ui;
    const IdCell view = ui.make("VuqPushButton", {20, 100, 100, 30});
    std::vector<std::int32_t> shown;
    cellsOf(ui, view).isPressed->onChanged.pushKeyed([&](const IdCell&, const std::int32_t& v) { shown.push_back(v); });
    int clicks = 0;
    ui.ctx.tree.attributes().get<Attr::ControlNotify>(view, "onclick")->push([&](const IdCell&) { ++clicks; });
    ui.run([] {
        pushButton(true, 30, 110);
        pushMotion(120, 110, 0, 0);  // x = width: outside
        pushButton(true, 120, 110);
        pushMotion(119, 129, 0, 0);  // the last pixel inside
        pushButton(false, 119, 129);
        pushButton(true, 30, 110);
        pushButton(false, 200, 110);  // let go outside: no click
        pushKey(true, Keys::space, ' ');
        pushKey(false, Keys::space);  // a click
        pushKey(true, Keys::space, ' ');
        pushKey(true, SDLK_a, 'a');  // lets the button go unclicked
        pushKey(false, Keys::space);
    });
    EXPECT_EQ(shown, (std::vector<std::int32_t>{1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(clicks, 2);
}

TEST(InputRules, AFramesSpaceLatchHoldsWhileSpaceIsDownOnWhatItFrames) {
    LoopUi ui;
    const IdCell framed = ui.make("VuqFramedTextEdit", {10, 40, 100, 24});
    const std::int32_t& latch = *cellsOf(ui, framed).cells[0];
    ui.click(20, 50);  // the framed edit takes the focus
    const std::pair<std::function<void()>, std::int32_t> steps[] = {
        {[] { pushKey(true, Keys::space, ' '); }, 1},
        {[] { pushKey(false, SDLK_a); }, 1},  // another key let go
        {[] { pushKey(false, Keys::space); }, 0},
        {[] { pushKey(true, Keys::space, ' '), pushKey(true, SDLK_a, 'a'); }, 0},  // another key pressed
        {[] { pushKey(true, Keys::space, ' '), pushKey(false, Keys::space), pushKey(false, Keys::space); }, 0},
    };
    for (const auto& [push, after] : steps) {
        ui.run(push);
        EXPECT_EQ(latch, after);
    }
}

TEST(InputRules, CheckBoxesTabsAndListsSelectOnPressAndKeys) {
    LoopUi ui;
    const auto& checked = cellsOf(ui, ui.make("VuqCheckBoxView", {10, 230, 100, 20})).checked;
    ui.click(15, 235);
    EXPECT_EQ(checked->value(), 1);
    ui.type(Keys::space, ' ');
    EXPECT_EQ(checked->value(), 0);
    // A wheel notch, up, down or sideways, clicks nothing; the other
    // buttons click.
    for (const auto& [button, after] : {std::pair{SDL_BUTTON_WHEELUP, 0}, {SDL_BUTTON_WHEELDOWN, 0}, {6, 0}, {7, 0},
                                        {SDL_BUTTON_RIGHT, 1}, {SDL_BUTTON_MIDDLE, 0}}) {
        ui.run([b = button] { pushButton(true, 15, 235, b), pushButton(false, 15, 235, b); });
        EXPECT_EQ(checked->value(), after) << button;
    }

    const IdCell tabs = ui.make("VuqTabIndex", {10, 200, 202, 20});  // 202 div 4 = 50 a tab
    for (const char* t : {"a", "b", "c", "d"}) cellsOf(ui, tabs).items->append(t);
    const auto selected = ui.intAttr(tabs, "selectedtabindex");
    ui.click(10 + 120, 205);  // 120 div 50
    EXPECT_EQ(selected->value(), 2);
    ui.click(10 + 201, 205);  // 201 div 50 = 4: the last
    EXPECT_EQ(selected->value(), 3);
    ui.type(Keys::right);  // stays there
    EXPECT_EQ(selected->value(), 3);
    ui.click(10, 205);
    ui.type(Keys::left);
    EXPECT_EQ(selected->value(), 0);

    // Without tabs the clamp's count - 1 wins: nothing is selected.
    const IdCell empty = ui.make("VuqTabIndex", {10, 300, 200, 20});
    const auto none = ui.intAttr(empty, "selectedtabindex");
    ui.click(15, 305);
    EXPECT_EQ(none->value(), -1);
    for (const int key : {Keys::right, Keys::left}) {
        none->set(0);
        ui.type(key);
        EXPECT_EQ(none->value(), -1) << key;
    }

    const IdCell list = ui.make("VuqSelectionStrings", {400, 10, 150, 100});
    const ControlCells& c = cellsOf(ui, list);
    for (const char* s : {"one", "two", "three"}) c.items->append(s);
    const auto* look = dynamic_cast<const ControlLook*>(ui.ctx.tree.lookup(list)->drawItem.get());
    const std::int32_t h = std::get<Look::List>(look->data()).fonts[0]->height();
    const std::tuple<int, SDLMod, std::vector<std::int32_t>> clicks[] = {
        {1, KMOD_NONE, {0, 1, 0}}, {2, KMOD_LCTRL, {0, 1, 1}}, {0, KMOD_NONE, {1, 0, 0}},
        {2, KMOD_LSHIFT, {1, 1, 1}},  // from row 0, the last clicked
        {1, KMOD_LCTRL, {1, 0, 1}},
    };
    for (const auto& [row, mod, flags] : clicks) {
        SDL_SetModState(mod);
        ui.click(405, 10 + row * h + 1);
        SDL_SetModState(KMOD_NONE);
        EXPECT_EQ(std::vector<std::int32_t>(c.selectable->items().begin(), c.selectable->items().end()), flags) << row;
    }
    ui.run([h] {
        for (int b : {SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN, 6, 7})
            pushButton(true, 405, 11 + h, b), pushButton(false, 405, 11 + h, b);
    });
    EXPECT_EQ(std::vector<std::int32_t>(c.selectable->items().begin(), c.selectable->items().end()),
              (std::vector<std::int32_t>{1, 0, 1}));  // a wheel notch over row 1 selects nothing
    EXPECT_EQ(idOf(ui.ctx.focus.focused()), idOf(list));
}

TEST(InputRules, AFollowingBoxMovesTheLeastThatPutsThePointInside) {
    LoopUi ui;
    const IdCell label = ui.make("VuqTextLabel", {10, 20, 100, 30});
    const auto follow = InputRules::followPoint(ui.ctx.tree, label);
    int deliveries = 0;
    ui.ctx.tree.lookup(label)->boundingBox.onChanged.push([&](const IdCell&, const IRect2D&) { ++deliveries; });
    const std::pair<Point, IRect2D> steps[] = {
        {{100, 30}, {10, 20, 100, 30}},   // on the right and bottom edges: inside
        {{103, 5}, {13, 20, 100, 30}},    // 3 past the right edge
        {{50, 34}, {13, 24, 100, 30}},    // 4 below
        {{-2, -5}, {11, 19, 100, 30}},    // left of and above it
        {{0, 0}, {11, 19, 100, 30}},
    };
    for (const auto& [at, box] : steps) {
        follow(PointerAt{at, {}});
        EXPECT_EQ(ui.ctx.tree.lookup(label)->boundingBox.value(), box) << at.x << "," << at.y;
    }
    EXPECT_EQ(deliveries, 3);  // only the moves deliver
    EXPECT_THROW(InputRules::followPoint(ui.ctx.tree, makeIdCell(0))(PointerAt{}), ControlDestroyed);
}

// A text edit with "hello world" and the widths of its font.
struct TextUi : LoopUi {
    IdCell edit = make("VuqTextEdit", {10, 150, 200, 24});
    const ControlCells& c = *Controls::cellsOf(ctx.tree, edit);
    const SDLBitmapFont& font = *std::get<Look::TextEdit>(
        dynamic_cast<const ControlLook*>(ctx.tree.lookup(edit)->drawItem.get())->data()).fonts[0];

    TextUi() {
        c.text->set("hello world");
        click(11, 155);  // the focus, the cursor at 0
    }
    // The window x of a pointer just right of the boundary before `at`.
    int xAt(int at) { return 10 + 4 + font.stringWidth(c.text->value().substr(0, at)) + 1; }
    std::string state() {
        return c.text->value() + " " + std::to_string(c.cursor->value()) + "+" + std::to_string(c.extent->value());
    }
    void select(int cursor, int extent) {
        c.cursor->set(cursor);
        c.extent->set(extent);
    }
};

TEST(InputRules, TheTextCursorGoesWherePressedAndADragSelects) {
    TextUi ui;
    // One pixel into a character is its left part: the boundary before it.
    ui.click(ui.xAt(3), 155);
    EXPECT_EQ(ui.state(), "hello world 3+0");
    ui.run([&] {
        pushButton(true, ui.xAt(5), 155);
        pushMotion(ui.xAt(2), 155, 0, 0);
    });
    EXPECT_EQ(ui.state(), "hello world 2+3");
    ui.run([&] {
        pushMotion(ui.xAt(5), 155, 0, 0);  // back to the anchor
        pushButton(false, ui.xAt(8), 155);
        pushMotion(ui.xAt(9), 155, 0, 0);  // released: no selection
    });
    EXPECT_EQ(ui.state(), "hello world 5+0");
    ui.click(10, 155);  // left of the text: 0
    EXPECT_EQ(ui.state(), "hello world 0+0");
}

TEST(InputRules, WhatShowsTheFocusOrTheCursorIsRepaintedWhenItMoves) {
    TextUi ui;  // the edit at (10, 150, 200, 24) has the focus
    ui.make("VuqFramedTextEdit", {300, 150, 204, 28});
    ui.make("VuqButtonView", {10, 300, 100, 30});
    auto repainted = [&](Point at, const IRect2D& box) {
        for (const std::vector<IRect2D>& rects : ui.run([&] { pushClick(at.x, at.y); }).dirty)
            for (const IRect2D& r : rects)
                if (r.x <= box.x && r.y <= box.y && r.x + r.w >= box.x + box.w && r.y + r.h >= box.y + box.h)
                    return true;
        return false;
    };
    // The framed edit takes the focus: the cursor leaves the plain edit.
    EXPECT_TRUE(repainted({320, 160}, {10, 150, 200, 24}));
    // The button takes it: the frame's mark goes.
    EXPECT_TRUE(repainted({20, 310}, {300, 150, 204, 28}));
    // A cursor that moves alone shows in its new place.
    ui.click(11, 155);
    EXPECT_EQ(ui.run([] { pushKeyStroke(Keys::right); }).dirty,
              (std::vector<std::vector<IRect2D>>{{{10, 150, 200, 24}}}));
}

TEST(InputRules, TextKeysMoveDeleteTypeEveryByteAndUseTheClipboard) {
    TextUi ui;
    const std::tuple<int, int, int, int, int, const char*> cases[] = {
        // cursor, extent, key, unicode, modifiers: after, each on "hello world"
        {0, 0, SDLK_v, 22, KMOD_LCTRL, "hello world 0+0"},  // an empty clipboard pastes nothing
        {0, 5, SDLK_c, 3, KMOD_LCTRL, "hello world 0+5"},
        {11, 0, SDLK_v, 22, KMOD_RCTRL, "hello worldhello 16+0"},
        {5, 6, SDLK_x, 24, KMOD_LCTRL, "hello 5+0"},
        {0, 0, SDLK_v, 22, KMOD_LCTRL, " worldhello world 6+0"},
        {0, 5, SDLK_v, 22, KMOD_LCTRL, " worldhello world 6+5"},  // a paste keeps the selection
        {3, 4, Keys::right, 0, 0, "hello world 7+0"},  // to the selection's end
        {0, 2, Keys::left, 0, 0, "hello world 0+0"},   // stays, the selection cleared
        {5, 3, Keys::left, 0, 0, "hello world 4+0"},   // one left of the cursor, not of the selection
        {11, 0, Keys::right, 0, 0, "hello world 11+0"},
        {2, 3, Keys::backspace, 8, 0, "he world 2+0"},    // the selection only
        {2, 0, Keys::backspace, 8, 0, "hllo world 1+0"},  // the character before
        {0, 0, Keys::backspace, 8, 0, "hello world 0+0"},
        {5, 0, SDLK_x, 'X', 0, "helloX world 6+0"},
        {0, 5, SDLK_y, 'Y', 0, "Y world 1+0"},               // replaces the selection
        {2, 0, SDLK_a, 'a', KMOD_LCTRL, "hello world 2+0"},  // nothing with Ctrl
        {2, 0, SDLK_a, 300, 0, "hello world 2+0"},           // beyond a byte
        {2, 0, SDLK_TAB, 9, 0, "hello world 2+0"},           // no glyph
        {40, 9, Keys::backspace, 8, 0, "hello worl 10+0"},   // positions past the end count as the end
    };
    for (const auto& [cursor, extent, sym, unicode, mod, after] : cases) {
        ui.select(0, 0);  // a shorter text would take the focus away
        ui.c.text->set("hello world");
        ui.select(cursor, extent);
        ui.type(sym, unicode, mod);
        EXPECT_EQ(ui.state(), after) << cursor << "+" << extent << " key " << sym;
    }
    ui.select(0, 0);
    ui.c.text->set("");
    for (int from = 0; from < 256; from += 64)  // SDL's queue holds 127
        ui.run([from] {
            for (int u = from; u < from + 64; ++u) pushKey(true, SDLK_UNKNOWN, u);
        });
    // 32 .. 126 and 160 .. 255 have glyphs: 95 + 96.
    EXPECT_EQ(ui.state().substr(0, 3) + std::to_string(ui.c.text->value().size()), " !\"191");
    EXPECT_EQ(ui.c.cursor->value(), 191);
}

TEST(InputRules, AShrinkingTextClampsCursorAndSelection) {
    TextUi ui;
    ui.select(8, 3);
    ui.c.text->set("hi");  // shorter than 8 + 3: the focus goes first, then the clamp
    EXPECT_EQ(ui.state(), "hi 2+0");
    EXPECT_EQ(ui.ctx.focus.focused(), nullptr);
    ui.click(11, 155);
    ui.c.text->set("");
    for (int sym : {Keys::backspace, Keys::right, Keys::left}) ui.type(sym);
    ui.type(SDLK_c, 3, KMOD_LCTRL);
    EXPECT_EQ(ui.state(), " 0+0");
}

TEST(InputRules, TabMovesTheFocusAlongTheNamedControls) {
    LoopUi ui;
    const IdCell tabulator = ui.make("VuqFieldTabulator", {});
    const IdCell a = ui.make("VuqTextEdit", {10, 10, 100, 20});
    const IdCell framed = ui.make("VuqFramedTextEdit", {10, 40, 100, 24});
    const IdCell c = ui.make("VuqCheckBoxView", {10, 80, 100, 20});
    const auto names = ui.ctx.tree.attributes().get<Attr::NStrings>(tabulator, "controlnames");
    for (const auto& [id, name] : {std::pair{a, "a"}, {framed, "b"}, {c, "c"}}) {
        ui.ctx.tree.lookup(id)->name.set(name);
        names->append(name);
    }
    const IdCell inner = ui.ctx.tree.lookup(framed)->children.readAt(0);
    ui.click(15, 15);
    const std::tuple<std::function<void()>, int, IdCell> steps[] = {
        {[] {}, 0, inner},  // onto the frame named b: its text edit
        {[] {}, 0, c},
        {[] {}, 0, a},                        // round to a
        {[] {}, KMOD_LSHIFT, c},              // back from position 0: the last
        {[&] { names->append("a"); }, 0, a},  // a listed twice counts at its last position
        {[] {}, 0, a},                        // 3 + 1 wraps to 0, not 0 + 1 to b
        {[&] { ui.ctx.tree.lookup(c)->visible.set(0); }, KMOD_LSHIFT, a},  // hidden controls are not found
    };
    for (const auto& [change, mod, to] : steps) {
        change();
        ui.type(Keys::tab, 0, mod);
        EXPECT_EQ(idOf(ui.ctx.focus.focused()), idOf(to));
    }
}

}  // namespace
}  // namespace zil
