#include "ui/controls/ControlInput.hpp"

#include <utility>

#include "ui/base/SDLBitmapFont.hpp"
#include "ui/controls/ControlLook.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/InputRules.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/ControlNotify.hpp"

namespace zil::ControlInput {

namespace {

using Kind = ControlKindTag;

// The first font of the control's look, read when a rule needs it: the
// look is in place only once the set-up is done.
template <class LookData>
const SDLBitmapFont& lookFont(const ControlTree& tree, const IdCell& self) {
    const auto* look = dynamic_cast<const ControlLook*>(tree.lookup(self)->drawItem.get());
    if (look == nullptr || !std::holds_alternative<LookData>(look->data()))
        throw EGeneric::internal("The control's look has no font");
    return *std::get<LookData>(look->data()).fonts[0];
}

IntCell newCell(std::int32_t v = 0) { return std::make_shared<std::int32_t>(v); }

// Where a control's rules go.
struct Install {
    UIContext& ctx;
    const IdCell& self;

    void press(MouseList::Callback f) const {
        pushPointerAction(*ctx.pointerActions.press, idOf(self), PointerRule{std::move(f)});
    }
    void release(MouseList::Callback f) const {
        pushPointerAction(*ctx.pointerActions.release, idOf(self), PointerRule{std::move(f)});
    }
    void motion(MouseList::Callback f) const { ctx.handlers.mouse->at(idOf(self)).push(std::move(f)); }
    void keyDown(KeyDownList::Callback f) const { ctx.handlers.keyDown->at(idOf(self)).push(std::move(f)); }
    void keyUp(KeyUpList::Callback f) const { ctx.handlers.keyUp->at(idOf(self)).push(std::move(f)); }
};

void installButton(const Install& in, ControlCells& c) {
    // A button view's look gave the cells; an image button has none yet.
    if (!c.pressed) c.pressed = newCell();
    if (c.cells.empty()) c.cells.push_back(newCell());
    const InputRules::ButtonState b{c.self, c.isPressed, c.cells[0], c.pressed, in.ctx.handlers.clicks};
    const ControlTree& tree = in.ctx.tree;
    in.press(InputRules::buttonPress(tree, in.ctx.focus, b));
    in.motion(InputRules::buttonTrack(tree, b));
    in.release(InputRules::buttonRelease(tree, b));
    in.keyDown(InputRules::pressKey(tree, b));
    in.keyUp(InputRules::releasePressKey(tree, b));
}

void installBar(const Install& in, const ControlCells& c, bool horizontal) {
    const InputRules::BarState bar{horizontal, c.barPos, c.barSize, c.barRange, c.pressed, c.cells[0], c.cells[1]};
    in.press(InputRules::barPress(in.ctx.focus, c.self, bar));
    in.motion(InputRules::barDrag(bar));
    in.keyDown(InputRules::barKeys(bar));
}

void installTextEdit(const Install& in, const ControlCells& c) {
    ControlTree& tree = in.ctx.tree;
    const TextField f{c.self, c.text, c.cursor, c.extent, c.cells[0], c.cells[1],
                      [t = &tree, self = c.self](std::string_view s) {
                          return lookFont<Look::TextEdit>(*t, self).stringWidth(s);
                      }};
    in.press(InputRules::textPress(in.ctx.focus, f));
    in.motion(InputRules::textDrag(tree, f, c.pressed));
    in.keyDown(InputRules::textEditKeys(tree, f));
    in.keyDown(InputRules::clipboardKeys(tree, f, in.ctx.handlers.clipboard));
}

}  // namespace

void installHandlers(UIContext& ctx, ControlCells& c) {
    const Install in{ctx, c.self};
    ControlTree& tree = ctx.tree;
    switch (c.kind) {
        case Kind::CheckBox:
            in.press(InputRules::checkBoxPress(ctx.focus, c.self, c.checked));
            in.keyDown(InputRules::toggleKey(c.checked));
            break;
        case Kind::ButtonView:
        case Kind::ImageButton:
            installButton(in, c);
            break;
        case Kind::HorizScrollBar:
        case Kind::VertScrollBar:
            installBar(in, c, c.kind == Kind::HorizScrollBar);
            break;
        case Kind::TabIndex:
            in.press(InputRules::tabPress(tree, ctx.focus, c.self, c.items, c.selected));
            in.keyDown(InputRules::indexStepKeys(c.selected, [tabs = c.items.get()] { return tabs->count(); }));
            break;
        case Kind::SelectionStrings:
            in.press(InputRules::listPress(
                ctx.focus, {c.self, c.items, c.selectable,
                            [t = &tree, self = c.self] { return lookFont<Look::List>(*t, self).height(); },
                            newCell(-1)}));
            break;
        case Kind::TextEdit:
            installTextEdit(in, c);
            break;
        case Kind::FieldTabulator:
            c.registrations.push_back(Registration::pushInSlot(
                ctx.handlers.keyDown, makeIdCell(0), InputRules::fieldTabKey(tree, ctx.focus, c.self, c.items)));
            break;
        case Kind::Frame:
            *tree.lookup(c.self)->childFocus = 1;  // Tab onto a frame reaches what it holds
            break;
        case Kind::DemoPage: {
            const IntCell dragging = newCell();
            in.press(InputRules::previewPress(dragging));
            in.motion(InputRules::previewDrag(tree, c.self, c.preview, dragging, tree.report()));
            in.release(InputRules::previewRelease(dragging));
            break;
        }
        default:
            break;
    }
}

std::array<ControlRefLinks::Placement, 4> pushActionPlacements(UIContext& ctx, const ControlCells& action) {
    ControlTree& tree = ctx.tree;
    const IdCell& self = action.self;
    // The repaints run in guarded focus steps, where a destroyed action
    // fails nothing.
    return {ControlRefLinks::placeInTable(ctx.handlers.clicks,
                                          [onClick = action.onClick, self](const IdCell&) { onClick->deliver(self); }),
            ControlRefLinks::placeInTable(ctx.focus.linksAfter, ControlMessages::messageEntry(tree, RepaintControl{self})),
            ControlRefLinks::placeInTable(ctx.focus.blurHooksAfter, ControlNotify::repaintControl(tree, self)),
            ControlRefLinks::placeInTable(ctx.focus.focusHooksAfter, ControlNotify::repaintControl(tree, self))};
}

KeyDownList::Callback spaceLatchKey(IntCell latch) {
    return [latch = std::move(latch)](const KeyPress& key) {
        if (key.sym == Keys::space)
            *latch = 1;
        else if (*latch != 0)
            *latch = 0;
    };
}

KeyUpList::Callback spaceReleaseKey(IntCell latch) {
    return [latch = std::move(latch)](std::int32_t sym) {
        if (sym == Keys::space && *latch != 0) *latch = 0;
    };
}

}  // namespace zil::ControlInput
