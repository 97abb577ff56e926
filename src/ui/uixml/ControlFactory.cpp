#include "ui/uixml/ControlFactory.hpp"

#include <optional>
#include <string>

#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"
#include "ui/controls/ControlClasses.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/DirectoryListing.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/ControlMessages.hpp"

namespace zil::UIXMLBuild {

namespace {

using Kind = ControlKindTag;

std::int32_t minus(std::int32_t a, std::int32_t b) {
    std::int32_t r = 0;
    if (__builtin_sub_overflow(a, b, &r)) throw Overflow();
    return r;
}

// A button view and its hidden push action, which names the view in its
// "control"; the view takes over the action's "onclick".
IdCell makePushButton(UIContext& ctx, const IdCell& parent, const IRect2D& box, std::int32_t visible) {
    IdCell view = Controls::addControl(ctx, parent, Kind::ButtonView, box, visible);
    IdCell action = Controls::addControl(ctx, view, Kind::PushAction, IRect2D{0, 0, 0, 0}, 0);
    ctx.tree.attributes().get<Attr::NUIControlID>(action, "control")->set(view);
    ctx.tree.attributes().takeOver(action, view, "onclick");
    return view;
}

// Selection strings filling the scroll area from its top-left corner; they
// take the area's width whenever its box changes, and the area takes over
// their attributes.
IdCell makeListStrings(UIContext& ctx, const IdCell& area, const IRect2D& box) {
    IdCell strings = Controls::addControl(ctx, area, Kind::SelectionStrings, IRect2D{0, 0, box.w, box.h}, 1);
    ctx.tree.lookup(area)->boundingBox.onChanged.push(newIdentityKey(),
                                                      ControlMessages::linkEntry(ctx.tree, MatchWidth{strings}));
    takeOverAttributes(ctx, strings, area);
    return strings;
}

}  // namespace

void takeOverAttributes(UIContext& ctx, const IdCell& inner, const IdCell& outer) {
    UIAttributes& attributes = ctx.tree.attributes();
    for (const std::string& name : attributes.attributeNames(inner)) attributes.takeOver(inner, outer, name);
    const ControlCells* cells = Controls::cellsOf(ctx.tree, outer);
    if (cells != nullptr && cells->kind == Kind::Frame) ctx.tree.lookup(inner)->links.append(outer);
}

IdCell createControl(UIContext& ctx, std::string_view className, const IdCell& parent, const IRect2D& box,
                     std::int32_t visible) {
    const std::optional<ControlClass> found = ctx.classes.findClass(className);
    if (!found) throw EGeneric::named("UIXMLBuild", "Cannot find control class " + std::string(className));

    const auto make = [&](Kind kind) { return Controls::addControl(ctx, parent, kind, box, visible); };
    // A frame as described and, inside it, a visible control of `inner`
    // whose attributes the frame takes over.
    const auto framed = [&](Kind inner) {
        IdCell frame = make(Kind::Frame);
        takeOverAttributes(ctx, Controls::addControl(ctx, frame, inner, box, 1), frame);
        return frame;
    };
    // A frame around a scroll area holding selection strings.
    const auto framedList = [&](bool listDirectory) {
        IdCell frame = make(Kind::Frame);
        IdCell area = Controls::addControl(ctx, frame, Kind::VertScrollArea, box, 1);
        IdCell strings = makeListStrings(ctx, area, box);
        takeOverAttributes(ctx, area, frame);
        if (listDirectory) fillWithDirectoryListing(ctx.tree.attributes(), strings, ".");
        return frame;
    };

    using C = ControlClass;
    switch (*found) {
        case C::OKDialog: {
            IdCell window = make(Kind::Window);
            const IRect2D buttonBox{intDiv(box.w, 2) - 70, intDiv(box.h, 2) + 4, 140, 32};
            ctx.tree.attributes().writeString(makePushButton(ctx, window, buttonBox, 1), "text", "OK");
            IdCell label = Controls::addControl(ctx, window, Kind::TextLabel, IRect2D{4, 4, minus(box.w, 8), 16}, 1);
            ctx.tree.attributes().takeOver(label, window, "text");
            return window;
        }
        case C::TextLabel:
            return make(Kind::TextLabel);
        case C::ImportantTextLabel:
            return make(Kind::ImportantTextLabel);
        case C::TextEdit:
            return make(Kind::TextEdit);
        case C::FramedButtonView:
            return framed(Kind::ButtonView);
        case C::FramedPushButton: {
            IdCell frame = make(Kind::Frame);
            takeOverAttributes(ctx, makePushButton(ctx, frame, box, 1), frame);
            return frame;
        }
        case C::ButtonView:
            return make(Kind::ButtonView);
        case C::FramedHorizScrollBar:
            return framed(Kind::HorizScrollBar);
        case C::TabIndex:
            return make(Kind::TabIndex);
        case C::TabBookPage:
            return make(Kind::TabBookPage);
        case C::FileBrowseListBox:
            return framedList(true);
        case C::ListBox: {
            IdCell area = make(Kind::VertScrollArea);
            makeListStrings(ctx, area, box);
            return area;
        }
        case C::VertScrollArea:
            return make(Kind::VertScrollArea);
        case C::VertScrollBar:
            return make(Kind::VertScrollBar);
        case C::FrameForChild:
            return make(Kind::Frame);
        case C::FramedVertScrollBar:
            return framed(Kind::VertScrollBar);
        case C::SelectionStrings:
            return make(Kind::SelectionStrings);
        case C::FramedListBox:
            return framedList(false);
        case C::FieldTabulator:
            return make(Kind::FieldTabulator);
        case C::TabBook:
            return make(Kind::TabBook);
        case C::HorizScrollBar:
            return make(Kind::HorizScrollBar);
        case C::PushAction:
            return make(Kind::PushAction);
        case C::PushButton:
            return makePushButton(ctx, parent, box, visible);
        case C::ImageButton:
            return make(Kind::ImageButton);
        case C::CheckBoxView:
            return make(Kind::CheckBox);
        case C::FramedTextEdit:
            return framed(Kind::TextEdit);
        case C::ControlFrame:
            return make(Kind::ControlFrame);
        case C::PopupWindow:
            return make(Kind::Window);
        case C::ZilBrovDemo1:
            return Controls::newDemoPageControl(ctx, parent, box, visible);
    }
    throw EGeneric::internal("No factory for control class " + std::to_string(static_cast<std::int32_t>(*found)));
}

IdCell findToplevelControlClass(UIContext& ctx, std::string_view className, const IRect2D& box,
                                std::int32_t visible) {
    if (!ctx.classes.isTopLevelClass(className))
        throw EGeneric::named("UIXMLBuild", "Cannot find toplevel-control class " + std::string(className));
    return Controls::addControl(ctx, nullptr, Kind::TopLevelWindow, box, visible);
}

}  // namespace zil::UIXMLBuild
