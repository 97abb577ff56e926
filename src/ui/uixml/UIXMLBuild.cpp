#include "ui/uixml/UIXMLBuild.hpp"

#include <optional>
#include <string>

#include "shell/Constants.hpp"
#include "shell/Errors.hpp"
#include "ui/base/AttributeText.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/ControlFactory.hpp"

namespace zil::UIXMLBuild {
namespace {

// An open item's attributes: the four every control needs, and the others.
struct Split {
    std::optional<std::string> className;
    std::optional<std::string> name;
    std::optional<std::int32_t> visible;
    std::optional<IRect2D> box;
    std::vector<const UIXMLAttribute*> rest;  // in file order
};

std::string delimited(std::string_view text) {
    std::optional<std::string> inside = AttributeText::stripDelimiters(text);
    if (!inside) throw Subscript();
    return std::move(*inside);
}

Split split(const std::vector<UIXMLAttribute>& attributes) {
    Split s;
    for (const UIXMLAttribute& a : attributes) {
        if (a.name == "class") {
            s.className = delimited(a.value);
        } else if (a.name == "name") {
            s.name = delimited(a.value);
        } else if (a.name == "visible") {
            s.visible = a.value == Constants::trueText ? 1 : 0;
        } else if (a.name == "boundingbox") {
            s.box = AttributeText::parseRectangle(a.value);
            if (!s.box) throw Constants::errRectangleAttribute();
        } else {
            s.rest.push_back(&a);
        }
    }
    if (s.className && s.name && s.visible && s.box) return s;
    EGeneric e = Constants::errMandatoryAttributes();
    if (s.name)
        e.message += " This is not done for the control " + *s.name;
    else if (s.className)
        e.message += " This is not done for a control with class " + *s.className;
    throw e;
}

// Sets a string of the control's record; an equal text delivers nothing.
void setText(ControlTree& tree, const IdCell& id, ObservedString UIControl::*field, std::string text) {
    std::shared_ptr<UIControl> control = tree.lookup(id);  // held while the delivery runs
    ((*control).*field).set(std::move(text));
}

IdCell buildOne(const UIXMLItem& item, ControlTree& tree, const Factory& factory, const IdCell& parent) {
    Split s = split(item.attributes);
    IdCell id = idOf(parent) != 0 ? factory.createControl(*s.className, parent, *s.box, *s.visible)
                                   : factory.createTopLevel(*s.className, *s.box, *s.visible);
    setText(tree, id, &UIControl::name, std::move(*s.name));
    setText(tree, id, &UIControl::className, std::move(*s.className));
    for (auto a = s.rest.rbegin(); a != s.rest.rend(); ++a)
        tree.attributes().writeAsString(id, (*a)->name, (*a)->value);
    return id;
}

}  // namespace

std::vector<IdCell> buildControl(const std::vector<UIXMLItem>& items, ControlTree& tree, const Factory& factory,
                                 const IdCell& parent) {
    std::vector<IdCell> made;
    IdCell current = parent;
    for (const UIXMLItem& item : items) {
        switch (item.kind) {
            case UIXMLItem::Kind::Open:
                current = buildOne(item, tree, factory, current);
                made.push_back(current);
                break;
            case UIXMLItem::Kind::Close:
                current = tree.lookup(current)->parent;
                break;
            case UIXMLItem::Kind::Alias:
            case UIXMLItem::Kind::Comment:
                break;
        }
    }
    return made;
}

std::vector<IdCell> buildControl(const std::vector<UIXMLItem>& items, UIContext& ctx, const IdCell& parent) {
    const Factory factory{
        [&ctx](std::string_view cls, const IdCell& under, const IRect2D& box, std::int32_t visible) {
            return createControl(ctx, cls, under, box, visible);
        },
        [&ctx](std::string_view cls, const IRect2D& box, std::int32_t visible) {
            return findToplevelControlClass(ctx, cls, box, visible);
        }};
    return buildControl(items, ctx.tree, factory, parent);
}

}  // namespace zil::UIXMLBuild
