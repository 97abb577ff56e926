#include "ui/controls/InputRules.hpp"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "glue/SDLFuncs.hpp"
#include "records/DragRotate.hpp"
#include "render/RenderPreview.hpp"
#include "shell/CoreInt.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/RectArith.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil::InputRules {

namespace {

bool ctrl(const KeyPress& k) { return (k.modifiers & Keys::ctrlMask) != 0; }

// Bytes the field takes as typed characters: those with a printable glyph.
bool typeable(std::int32_t unicode) { return (unicode >= 32 && unicode < 127) || (unicode >= 160 && unicode <= 255); }

void click(const ButtonState& b) { deliverToSlots(*b.clicks, b.self, b.self); }

// The first control named `name` in pre-order from `start`, skipping hidden
// controls with everything in them; null when none.
IdCell findShownByName(const ControlTree& tree, const IdCell& start, const std::string& name) {
    std::vector<IdCell> stack{start};
    while (!stack.empty()) {
        const IdCell c = std::move(stack.back());
        stack.pop_back();
        const std::shared_ptr<UIControl> u = tree.lookup(c);
        if (u->visible.value() == 0) continue;
        if (u->name.value() == name) return c;
        const std::vector<IdCell> children = ControlTree::snapshotChildren(*u);
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return nullptr;
}

// The last position of `name` in `names`, -1 when absent.
std::int32_t lastIndexOf(const ObservedArray<std::string>& names, const std::string& name) {
    for (std::int32_t i = names.count(); i-- > 0;)
        if (names.readAt(i) == name) return i;
    return -1;
}

void tabStep(const ControlTree& tree, FocusState& focus, const IdCell& tabulator,
             const ObservedArray<std::string>& names, bool backwards) {
    std::int32_t at = -1;
    for (IdCell c = focus.focused(); at < 0 && idOf(c) != 0;) {
        const std::shared_ptr<UIControl> u = tree.lookup(c);
        at = lastIndexOf(names, u->name.value());
        c = u->parent;
    }
    if (at < 0) return;
    const std::int32_t count = names.count();
    const std::int32_t next = intMod(backwards ? at - 1 : at + 1, count);
    IdCell found = findShownByName(tree, tree.walkToRoot(tabulator), names.readAt(next));
    // A control that hands the focus on gives it to its first child.
    while (found) {
        const std::shared_ptr<UIControl> u = tree.lookup(found);
        if (*u->childFocus < 1) {
            ControlMessages::changeCurrent(found, focus);
            return;
        }
        found = u->children.count() > 0 ? u->children.readAt(0) : nullptr;
    }
}

void setFlag(ObservedArray<std::int32_t>& flags, std::int32_t i, std::int32_t v) {
    if (i >= 0 && i < flags.count() && flags.readAt(i) != v) flags.writeAt(i, v);
}

}  // namespace

std::int32_t clampBarPosition(std::int64_t v, std::int32_t range, std::int32_t size) {
    const std::int64_t limit = std::int64_t{range} - size;
    const std::int64_t r = v >= limit ? limit : v > 0 ? v : 0;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(r, INT32_MIN, INT32_MAX));
}

std::int32_t clampIndex(std::int64_t i, std::int32_t count) {
    return static_cast<std::int32_t>(i >= std::int64_t{count} - 1 ? std::int64_t{count} - 1 : i > 0 ? i : 0);
}

std::int32_t itemUnder(std::int32_t x, std::int32_t width, std::int32_t count) {
    const std::int32_t itemWidth = count != 0 ? intDiv(width, count) : width;
    return clampIndex(itemWidth != 0 ? intDiv(x, itemWidth) : 0, count);
}

std::int32_t pressLook(const ControlTree& tree, const ButtonState& b, Point p) {
    if (*b.keyPress != 0) return 1;
    if (*b.mousePress == 0) return 0;
    const IRect2D& box = tree.lookup(b.self)->boundingBox.value();
    return box.holdsLocal(p.x, p.y) ? 1 : 0;
}

KeyDownList::Callback indexStepKeys(std::shared_ptr<ObservedInt> index, std::function<std::int32_t()> count) {
    return [index = std::move(index), count = std::move(count)](const KeyPress& k) {
        if (k.sym != Keys::left && k.sym != Keys::right) return;
        index->set(clampIndex(std::int64_t{index->value()} + (k.sym == Keys::left ? -1 : 1), count()));
    };
}

KeyDownList::Callback barKeys(BarState bar) {
    return [bar = std::move(bar)](const KeyPress& k) {
        const std::int32_t less = bar.horizontal ? Keys::left : Keys::up;
        const std::int32_t more = bar.horizontal ? Keys::right : Keys::down;
        if (k.sym != less && k.sym != more) return;
        const std::int64_t step = intDiv(bar.size->value(), 2);
        const std::int64_t next = std::int64_t{bar.pos->value()} + (k.sym == less ? -step : step);
        bar.pos->set(clampBarPosition(next, bar.range->value(), bar.size->value()));
    };
}

KeyDownList::Callback pressKey(const ControlTree& tree, ButtonState b) {
    return [t = &tree, b = std::move(b)](const KeyPress& k) {
        if (k.sym == Keys::space)
            *b.keyPress = 1;
        else if (*b.keyPress != 0)
            *b.keyPress = 0;  // another key lets the button go, unclicked
        else
            return;
        b.isPressed->set(pressLook(*t, b, {0, 0}));
    };
}

KeyUpList::Callback releasePressKey(const ControlTree& tree, ButtonState b) {
    return [t = &tree, b = std::move(b)](std::int32_t sym) {
        if (sym != Keys::space || *b.keyPress == 0) return;
        *b.keyPress = 0;
        b.isPressed->set(pressLook(*t, b, {0, 0}));
        click(b);
    };
}

KeyDownList::Callback toggleKey(std::shared_ptr<ObservedInt> checked) {
    return [checked = std::move(checked)](const KeyPress& k) {
        if (k.sym == Keys::space) checked->set(checked->value() != 0 ? 0 : 1);
    };
}

KeyDownList::Callback textEditKeys(ControlTree& tree, TextField f) {
    return [t = &tree, f = std::move(f)](const KeyPress& k) {
        if (ctrl(k)) return;
        switch (k.sym) {
            case Keys::left:
                TextFieldEdits::moveCursor(*t, f, std::int64_t{f.cursor->value()} - 1);
                return;
            case Keys::right: {
                const std::int32_t by = f.extent->value() >= 1 ? f.extent->value() : 1;  // past a selection
                TextFieldEdits::moveCursor(*t, f, std::int64_t{f.cursor->value()} + by);
                return;
            }
            case Keys::backspace:
                TextFieldEdits::backspace(*t, f);
                return;
            default:
                if (!typeable(k.unicode)) return;
                const char c = static_cast<char>(static_cast<unsigned char>(k.unicode));
                TextFieldEdits::insert(*t, f, std::string_view(&c, 1), true);
        }
    };
}

KeyDownList::Callback clipboardKeys(ControlTree& tree, TextField f, std::shared_ptr<std::string> clipboard) {
    return [t = &tree, f = std::move(f), clipboard = std::move(clipboard)](const KeyPress& k) {
        if (!ctrl(k)) return;
        if (k.sym == Keys::c || k.sym == Keys::x) {
            *clipboard = TextFieldEdits::copy(f);
            if (k.sym == Keys::x && TextFieldEdits::deleteSelection(f)) TextFieldEdits::keepCursorInView(*t, f);
        } else if (k.sym == Keys::v && !clipboard->empty()) {
            const std::string text = *clipboard;  // a delivery may copy anew
            TextFieldEdits::insert(*t, f, text, false);
        }
    };
}

KeyDownList::Callback fieldTabKey(const ControlTree& tree, FocusState& focus, IdCell tabulator,
                                  std::shared_ptr<ObservedArray<std::string>> names) {
    return [t = &tree, s = &focus, tabulator = std::move(tabulator), names = std::move(names)](const KeyPress& k) {
        if (k.sym != Keys::tab) return;
        try {
            tabStep(*t, *s, tabulator, *names, (k.modifiers & Keys::shiftMask) != 0);
        } catch (const std::exception&) {
            // A control gone or hidden on the way: Tab does nothing.
        }
    };
}

MouseList::Callback buttonPress(const ControlTree& tree, FocusState& focus, ButtonState b) {
    return [t = &tree, s = &focus, b = std::move(b)](const PointerAt& p) {
        ControlMessages::changeCurrent(b.self, *s);
        *b.mousePress = 1;
        b.isPressed->set(pressLook(*t, b, p.local));
    };
}

MouseList::Callback buttonTrack(const ControlTree& tree, ButtonState b) {
    return [t = &tree, b = std::move(b)](const PointerAt& p) {
        if (*b.mousePress != 0) b.isPressed->set(pressLook(*t, b, p.local));
    };
}

MouseList::Callback buttonRelease(const ControlTree& tree, ButtonState b) {
    return [t = &tree, b = std::move(b)](const PointerAt& p) {
        const bool clicked = *b.mousePress != 0 && *b.keyPress == 0 && pressLook(*t, b, p.local) != 0;
        *b.mousePress = 0;
        b.isPressed->set(pressLook(*t, b, p.local));
        if (clicked) click(b);
    };
}

MouseList::Callback checkBoxPress(FocusState& focus, IdCell self, std::shared_ptr<ObservedInt> checked) {
    return [s = &focus, self = std::move(self), checked = std::move(checked)](const PointerAt&) {
        ControlMessages::changeCurrent(self, *s);
        checked->set(checked->value() != 0 ? 0 : 1);
    };
}

MouseList::Callback barPress(FocusState& focus, IdCell self, BarState bar) {
    return [s = &focus, self = std::move(self), bar = std::move(bar)](const PointerAt& p) {
        ControlMessages::changeCurrent(self, *s);
        *bar.start = bar.horizontal ? p.local.x : p.local.y;
        *bar.startPos = bar.pos->value();
    };
}

MouseList::Callback barDrag(BarState bar) {
    return [bar = std::move(bar)](const PointerAt& p) {
        if (*bar.pressed == 0) return;
        const std::int64_t at = bar.horizontal ? p.local.x : p.local.y;
        bar.pos->set(clampBarPosition(at - *bar.start + *bar.startPos, bar.range->value(), bar.size->value()));
    };
}

MouseList::Callback tabPress(const ControlTree& tree, FocusState& focus, IdCell self,
                             std::shared_ptr<ObservedArray<std::string>> tabs, std::shared_ptr<ObservedInt> selected) {
    return [t = &tree, s = &focus, self = std::move(self), tabs = std::move(tabs),
            selected = std::move(selected)](const PointerAt& p) {
        ControlMessages::changeCurrent(self, *s);
        selected->set(itemUnder(p.local.x, t->lookup(self)->boundingBox.value().w, tabs->count()));
    };
}

MouseList::Callback listPress(FocusState& focus, ListState list) {
    auto select = [list](const PointerAt& p) {
        const std::int32_t h = list.lineHeight();
        const std::int32_t row = p.local.y >= 0 && h > 0 ? intDiv(p.local.y, h) : -1;
        const bool hit = row >= 0 && row < list.items->count();
        ObservedArray<std::int32_t>& flags = *list.flags;
        const int mods = mltSDL_GetModState();
        if ((mods & Keys::shiftMask) != 0) {
            if (!hit) return;
            const std::int32_t from = *list.anchor >= 0 ? std::min(*list.anchor, row) : row;
            const std::int32_t to = std::max(*list.anchor, row);
            for (std::int32_t i = from; i <= to; ++i) setFlag(flags, i, 1);
        } else if ((mods & Keys::ctrlMask) != 0) {
            *list.anchor = hit ? row : -1;
            if (hit && row < flags.count()) setFlag(flags, row, flags.readAt(row) != 0 ? 0 : 1);
        } else {
            if (!hit) return;
            for (std::int32_t i = 0; i < flags.count(); ++i) setFlag(flags, i, i == row ? 1 : 0);
            *list.anchor = row;
        }
    };
    return FocusChange::focusAndSelectItem(focus, list.self, std::move(select));
}

MouseList::Callback textPress(FocusState& focus, TextField f) {
    return [s = &focus, f = std::move(f)](const PointerAt& p) {
        TextFieldEdits::placeCursor(f, p.local);
        ControlMessages::changeCurrent(f.self, *s);
    };
}

MouseList::Callback textDrag(ControlTree& tree, TextField f, IntCell pressed) {
    return [t = &tree, f = std::move(f), pressed = std::move(pressed)](const PointerAt& p) {
        if (*pressed != 0) TextFieldEdits::dragSelect(*t, f, p.local);
    };
}

MouseList::Callback previewPress(IntCell dragging) {
    return [dragging = std::move(dragging)](const PointerAt&) { *dragging = 1; };
}

MouseList::Callback previewDrag(ControlTree& tree, IdCell page, std::shared_ptr<RenderPreview> preview,
                                IntCell dragging, OutStream& report) {
    return [t = &tree, page = std::move(page), preview = std::move(preview), dragging = std::move(dragging),
            out = &report](const PointerAt& p) {
        if (dragRotatePlacement(p.motion.x, p.motion.y, *dragging != 0, preview->objectPlacement, *out))
            TopLevelControls::invalidate(*t, page);
    };
}

MouseList::Callback previewRelease(IntCell dragging) {
    return [dragging = std::move(dragging)](const PointerAt&) { *dragging = 0; };
}

MouseList::Callback followPoint(ControlTree& tree, IdCell control) {
    return [t = &tree, control = std::move(control)](const PointerAt& p) {
        const auto by = [](std::int64_t at, std::int64_t extent) { return at < 0 ? at : at > extent ? at - extent : 0; };
        const std::shared_ptr<UIControl> c = t->lookup(control);
        const IRect2D box = c->boundingBox.value();
        c->boundingBox.set(narrow(Rect64{box.x + by(p.local.x, box.w), box.y + by(p.local.y, box.h), box.w, box.h}));
    };
}

}  // namespace zil::InputRules
