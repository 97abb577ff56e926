#pragma once
// A fresh UI context with the demo's fonts and look bitmaps and a hidden
// top-level window (ID 1) to put controls in; attribute values as short
// texts, so that a control's whole table compares at once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/base/ImageTestSupport.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/TreeTestSupport.hpp"

namespace zil::testing {

struct Ui {
    UIContext ctx{demoConfig()};
    IdCell window = Controls::addControl(ctx, nullptr, ControlKindTag::TopLevelWindow, {0, 0, 640, 480}, 0);

    UIControl& at(const IdCell& id) const { return *ctx.tree.lookup(id); }
    UIControl& at(UIControlID id) const { return *ctx.tree.lookup(id); }
    const ControlCells& cells(const IdCell& id) const { return *Controls::cellsOf(ctx.tree, id); }
    const ControlCells& cells(UIControlID id) const { return cells(makeIdCell(id)); }
    UIAttributes& attributes() { return ctx.tree.attributes(); }
    std::vector<IRect2D>& dirty() { return ctx.tree.findWindow(*window)->dirty; }
    IdCell add(ControlKindTag kind, const IRect2D& box, const IdCell& parent = nullptr) {
        return Controls::addControl(ctx, parent ? parent : window, kind, box, 1);
    }
};

// "EGeneric <name>: <message>", or "none".
inline std::string failure(const std::function<void()>& f) {
    try {
        f();
    } catch (const EGeneric& e) {
        return e.name + ": " + e.message;
    }
    return "none";
}

// "name=value" per attribute, in registration order: numbers (booleans 0
// or 1), quoted strings, string lists in brackets, control references as
// "#ID"; other values show their type.
inline std::vector<std::string> attributeTexts(Ui& ui, const IdCell& id) {
    std::vector<std::string> out;
    for (const std::string& name : ui.attributes().attributeNames(id)) {
        const AttributeSlot& slot = *ui.attributes().findSlot(id, name);
        const void* v = slot.value.get();
        std::string text(slot.type->name);
        if (slot.type == &Attr::NInt::type || slot.type == &Attr::NBool::type)
            text = std::to_string(static_cast<const ObservedInt*>(v)->value());
        else if (slot.type == &Attr::NReal::type)
            text = std::to_string(static_cast<const ObservedReal*>(v)->value());
        else if (slot.type == &Attr::NString::type)
            text = "'" + static_cast<const ObservedString*>(v)->value() + "'";
        else if (slot.type == &Attr::NUIControlID::type)
            text = "#" + std::to_string(idOf(static_cast<const Attr::NUIControlID::Value*>(v)->value()));
        else if (slot.type == &Attr::NStrings::type) {
            text = "[";
            for (const std::string& s : static_cast<const ObservedStrings*>(v)->items()) text += s + ";";
            text += "]";
        }
        out.push_back(name + "=" + text);
    }
    return out;
}

}  // namespace zil::testing
