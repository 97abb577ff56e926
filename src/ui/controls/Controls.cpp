#include "ui/controls/Controls.hpp"

#include <string>
#include <string_view>
#include <utility>

#include "shell/Errors.hpp"
#include "ui/base/SDLBitmapFont.hpp"
#include "ui/controls/ControlInput.hpp"
#include "ui/controls/ControlLook.hpp"
#include "ui/controls/DemoPageControl.hpp"
#include "ui/controls/LookSetUp.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/ControlMessages.hpp"
#include "ui/tree/ControlNotify.hpp"
#include "ui/tree/ControlRefLinks.hpp"
#include "ui/tree/FocusChange.hpp"
#include "ui/tree/LayoutSteps.hpp"
#include "ui/tree/TopLevelWindow.hpp"
#include "ui/tree/TreeCallbacks.hpp"

namespace zil {

void KindState::release(ControlTree&) {
    for (Registration& r : cells.registrations) r.remove();  // by key, in slots that exist: nothing fails
    if (publishedIn && idOf(*publishedIn) == idOf(cells.self)) publishedIn->reset();
    resources.release();
}

namespace {

using Kind = ControlKindTag;
using DrawItem = std::shared_ptr<const ControlDrawItem>;

// The value object registered under `name`, also one that typed reads
// refuse (the booleans): the look set-up has just registered it.
template <class Tag>
std::shared_ptr<typename Tag::Value> bound(const UIAttributes& a, const IdCell& id, std::string_view name) {
    const AttributeSlot* slot = a.findSlot(id, name);
    if (slot == nullptr || slot->type != &Tag::type)
        throw EGeneric::internal("Attribute " + std::string(name) + " missing after the look set-up");
    return std::static_pointer_cast<typename Tag::Value>(slot->value);
}

DrawItem face(LookKind kind) { return std::make_shared<const ControlLook>(kind, Look::Face{}); }

// One control's set-up.
struct SetUp {
    UIContext& ctx;
    const IdCell& self;
    KindState& state;

    ControlTree& tree() const { return ctx.tree; }
    UIAttributes& attrs() const { return ctx.tree.attributes(); }
    ControlCells& cells() const { return state.cells; }
    IRect2D box() const { return ctx.tree.lookup(self)->boundingBox.value(); }

    // Keeps what the look set-up took and gives its drawing item.
    DrawItem adopt(LookSetUp look) const {
        state.resources = std::move(look.resources);
        cells().pressed = std::move(look.pressed);
        cells().cells = std::move(look.cells);
        return look.look;
    }
    std::shared_ptr<ObservedString> text() const { return cells().text = attrs().registerString(self, "text", ""); }
    // Repainted when it gains or loses the focus.
    void repaintOnFocus() const {
        ctx.focus.linksAfter->at(idOf(self)).push(newIdentityKey(),
                                                  ControlMessages::messageEntry(tree(), RepaintControl{self}));
    }
};

// A frame, its first child and one more added later all get (2, 2, w - 4,
// h - 4) of the frame's box; the first child takes the frame's space latch,
// set while Space is down on it.
DrawItem setUpFrame(const SetUp& s) {
    ControlTree& tree = s.tree();
    IntCell latch = std::make_shared<std::int32_t>(0);
    s.cells().cells.push_back(latch);
    FramedChild inset{s.self, s.self, s.self, s.ctx.handlers.keyDown, ControlInput::spaceLatchKey(latch)};
    inset.keyUp = s.ctx.handlers.keyUp;
    inset.releaseKey = ControlInput::spaceReleaseKey(latch);
    auto framed = std::make_shared<const FramedChild>(std::move(inset));
    std::shared_ptr<UIControl> frame = tree.lookup(s.self);
    frame->boundingBox.onChanged.push(newIdentityKey(), ControlMessages::linkEntry(tree, InsetFirstChild{s.self}));
    frame->children.onChanged.push(LayoutSteps::insetFramedChild(tree, framed));
    // Marked while its first child has the focus: that child's focus
    // changes repaint it.
    auto marking = std::make_shared<Registration>();
    frame->children.onChanged.push([t = &tree, links = s.ctx.focus.linksAfter, self = s.self, marking](const IdCell&) {
        const std::vector<IdCell> children = ControlTree::snapshotChildren(*t->lookup(self));
        marking->remove();
        if (!children.empty())
            *marking = Registration::pushInSlot(links, children.front(),
                                                ControlMessages::messageEntry(*t, RepaintControl{self}));
    });
    return face(LookKind::Frame);
}

// Three controls: the area, a frame along its right edge (a child of the
// area) and the vertical bar inside the frame. The bar scrolls the area's
// other children; their extent sets the bar's size and position, whenever
// they move, come or go, and whenever the bar's length changes.
DrawItem setUpScrollArea(const SetUp& s) {
    ControlTree& tree = s.tree();
    const IRect2D box = s.box();
    const IdCell frame = Controls::addControl(s.ctx, s.self, Kind::Frame, box, 1);
    const IdCell bar = Controls::addControl(s.ctx, frame, Kind::VertScrollBar, box, 1);
    ControlCells& c = s.cells();
    c.barSize = s.attrs().get<Attr::NInt>(bar, "barsize");
    c.barPos = s.attrs().get<Attr::NInt>(bar, "barpos");
    c.barRange = s.attrs().get<Attr::NInt>(bar, "barrange");
    c.scrollBar = bar;
    s.attrs().registerControlID(s.self, "scrollbar", bar);

    c.scroll = std::make_shared<const ScrollRecord>(ScrollRecord{s.self, frame, c.barPos, c.barSize, c.barRange});
    c.barPos->onChanged.push(LayoutSteps::scrollAreaContents(tree, c.scroll));
    std::shared_ptr<UIControl> area = tree.lookup(s.self);
    area->children.onChanged.push(LayoutSteps::followScrollContents(tree, c.scroll));
    area->children.onChanged.push(TreeCallbacks::linkSiblingsAndRaise(tree, s.self, frame, c.scroll));
    tree.lookup(bar)->boundingBox.onChanged.push(newIdentityKey(), LayoutSteps::followBarLength(tree, c.scroll));
    area->boundingBox.onChanged.push(newIdentityKey(), ControlMessages::linkEntry(tree, PlaceRightStrip{frame}));
    area.reset();
    // The frame starts over the whole area; its place follows the area's
    // box from now on, and it takes it now.
    ControlMessages::act(tree, PlaceRightStrip{frame}, box, s.self);
    return face(LookKind::PlainFace);
}

DrawItem setUpBar(const SetUp& s, bool horizontal) {
    ControlCells& c = s.cells();
    const IRect2D box = s.box();
    c.barSize = s.attrs().registerInt(s.self, "barsize", horizontal ? box.w : box.h);
    LookServices looks = s.ctx.lookServices();
    DrawItem look = s.adopt(horizontal ? LookAndFeel::setUpHorizScrollBar(looks, s.self, c.barSize)
                                       : LookAndFeel::setUpVertScrollBar(looks, s.self, c.barSize));
    c.barPos = s.attrs().get<Attr::NInt>(s.self, "barpos");
    c.barRange = s.attrs().get<Attr::NInt>(s.self, "barrange");
    return look;
}

// The list's height follows its strings: one line of the look's font each.
DrawItem setUpSelectionStrings(const SetUp& s) {
    ControlCells& c = s.cells();
    c.items = s.attrs().registerStrings(s.self, "strings");
    DrawItem look = s.adopt(LookAndFeel::setUpSelectionStrings(s.ctx.lookServices(), s.self, c.items));
    c.selectable = bound<Attr::NBools>(s.attrs(), s.self, "selectableitems");
    Font font = std::get<Look::List>(static_cast<const ControlLook&>(*look).data()).fonts[0];
    // The callback lives in the strings' own list: it must not hold them.
    auto items = std::make_shared<const ItemList>(ItemList{
        s.self, [strings = c.items.get()] { return strings->count(); }, [font] { return font->height(); },
        c.selectable});
    c.items->onChanged.push(LayoutSteps::fitItemsHeight(s.tree(), items));
    return look;
}

DrawItem setUpTabBook(const SetUp& s) {
    ControlTree& tree = s.tree();
    ControlCells& c = s.cells();
    c.selected = s.attrs().registerInt(s.self, "selectedtabindex", 0);
    c.selected->onChanged.push(ControlNotify::selectPageByTabIndex(tree, s.self));
    std::shared_ptr<UIControl> book = tree.lookup(s.self);
    book->boundingBox.onChanged.push(newIdentityKey(), ControlMessages::linkEntry(tree, FitTabPages{s.self}));
    book->children.onChanged.push(ControlNotify::fitTabPages(tree, s.self));
    return nullptr;
}

DrawItem setUpKind(const SetUp& s, Kind kind) {
    ControlTree& tree = s.tree();
    UIAttributes& a = s.attrs();
    ControlCells& c = s.cells();
    const IdCell& self = s.self;
    const LookServices looks = s.ctx.lookServices();
    constexpr ColorRGB second = Controls::secondFontColour;
    switch (kind) {
        case Kind::TextLabel:
            return s.adopt(LookAndFeel::setUpTextLabel(looks, self, s.text()));
        case Kind::ImportantTextLabel:
            return s.adopt(LookAndFeel::setUpImportantTextLabel(looks, self, s.text()));
        case Kind::CheckBox: {
            DrawItem look = s.adopt(LookAndFeel::setUpCheckBox(looks, self, s.text(), second));
            c.checked = bound<Attr::NBool>(a, self, "ischecked");
            return look;
        }
        case Kind::ButtonView: {
            DrawItem look = s.adopt(LookAndFeel::setUpButton(looks, self, s.text(), second));
            c.isPressed = bound<Attr::NBool>(a, self, "ispressed");
            return look;
        }
        case Kind::HorizScrollBar:
            return setUpBar(s, true);
        case Kind::TabBook:
            return setUpTabBook(s);
        case Kind::FieldTabulator:
            c.items = a.registerStrings(self, "controlnames");
            return nullptr;
        case Kind::VertScrollArea:
            return setUpScrollArea(s);
        case Kind::Frame:
            return setUpFrame(s);
        case Kind::VertScrollBar:
            return setUpBar(s, false);
        case Kind::SelectionStrings:
            return setUpSelectionStrings(s);
        case Kind::TabBookPage:
            c.selected = a.registerInt(self, "tabindex", 0);
            return face(LookKind::TabBookPage);
        case Kind::TabIndex: {
            c.items = a.registerStrings(self, "tabs");
            DrawItem look = s.adopt(LookAndFeel::setUpTabIndex(looks, self, c.items, second));
            c.selected = a.get<Attr::NInt>(self, "selectedtabindex");
            return look;
        }
        case Kind::PushAction:
            c.onClick = a.registerNotify(self, "onclick");
            c.control = a.registerControlID(self, "control");
            c.control->onChanged.push(ControlRefLinks::targetTableLinks(ControlInput::pushActionPlacements(s.ctx, c)));
            return nullptr;
        case Kind::ImageButton: {
            DrawItem look = s.adopt(LookAndFeel::setUpImageButton(looks, self, s.text()));
            c.isPressed = bound<Attr::NBool>(a, self, "ispressed");
            return look;
        }
        case Kind::TextEdit: {
            DrawItem look = s.adopt(LookAndFeel::setUpTextEdit(looks, self, s.text(), second));
            c.cursor = a.get<Attr::NInt>(self, "cursorchar");
            c.extent = a.get<Attr::NInt>(self, "cursorcharextent");
            // After the look's clamp, so it runs first and sees the old cursor.
            c.text->onChanged.push(FocusChange::clearFocusOnShortText(s.ctx.focus, self, c.cursor, c.extent));
            s.repaintOnFocus();  // its cursor shows while it has the focus
            return look;
        }
        case Kind::ControlFrame:
            c.control = a.registerControlID(self, "control");
            c.control->onChanged.push(ControlRefLinks::frameAroundTarget(tree, self, s.ctx.focus.linksAfter));
            return std::make_shared<const ControlLook>(LookKind::ControlFrame, Look::ControlFrame{viewOf(c.control)});
        case Kind::Window:
            *s.ctx.lastWindow = self;
            s.state.publishedIn = s.ctx.lastWindow;
            s.repaintOnFocus();
            return face(LookKind::Window);
        case Kind::DemoPage:
            return DemoPageControl::setUp(s.ctx, self, s.state);
        case Kind::TopLevelWindow:
            break;
    }
    throw EGeneric::internal("No set-up for control kind " + std::to_string(static_cast<std::int32_t>(kind)));
}

class KindSetUp final : public ControlKind {
public:
    KindSetUp(UIContext& ctx, Kind kind) : ctx_(ctx), kind_(kind) {}

    std::int32_t tag() const override { return static_cast<std::int32_t>(kind_); }

    void setUp(ControlTree& tree, const IdCell& self) const override {
        // In the record from the start, so that what a failing set-up took
        // is given back when the control is destroyed.
        auto state = std::make_shared<KindState>();
        state->cells.kind = kind_;
        state->cells.self = self;
        tree.lookup(self)->kindState = state;
        DrawItem look = setUpKind(SetUp{ctx_, self, *state}, kind_);
        ControlInput::installHandlers(ctx_, state->cells);
        tree.lookup(self)->drawItem = std::move(look);
    }

private:
    UIContext& ctx_;
    Kind kind_;
};

}  // namespace

namespace Controls {

IdCell addControl(UIContext& ctx, const IdCell& parent, ControlKindTag kind, const IRect2D& box,
                  std::int32_t visible) {
    if (kind == Kind::TopLevelWindow) return ctx.tree.addControl(parent, TopLevelWindowKind{}, box, visible);
    return ctx.tree.addControl(parent, KindSetUp{ctx, kind}, box, visible);
}

IdCell newDemoPageControl(UIContext& ctx, const IdCell& parent, const IRect2D& box, std::int32_t visible) {
    return addControl(ctx, parent, Kind::DemoPage, box, visible);
}

const ControlCells* cellsOf(const ControlTree& tree, const IdCell& id) {
    const auto* state = dynamic_cast<const KindState*>(tree.lookup(id)->kindState.get());
    return state ? &state->cells : nullptr;
}

}  // namespace Controls
}  // namespace zil
