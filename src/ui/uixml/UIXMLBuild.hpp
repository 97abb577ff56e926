#pragma once
// Builds live controls from the items of a UI description. Open and close
// items give the nesting; each open item names its control's class, name,
// visibility and box, and its other attributes are written from their text
// into the new control's attribute table.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "shell/IRect2D.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/uixml/UIXMLReader.hpp"

namespace zil {

class UIContext;

namespace UIXMLBuild {

// What makes the control(s) of a class name: one entry for controls inside
// a parent, one for top-level windows. Each returns the ID cell of the
// control that stands for what it made, and raises for an unknown name.
struct Factory {
    std::function<IdCell(std::string_view className, const IdCell& parent, const IRect2D& box, std::int32_t visible)>
        createControl;
    std::function<IdCell(std::string_view className, const IRect2D& box, std::int32_t visible)> createTopLevel;
};

// Builds the items in order under `parent` (a cell holding 0: top level)
// and returns the ID cell of every control made for an open item, in file
// order. An open item becomes the parent of the items after it until its
// close item; alias items are skipped.
//
// An open item needs "class", "name", "visible" and "boundingbox" (given
// twice, the later one counts). Class and name lose their first and last
// character; only "true" makes a control visible. The other attributes are
// written from text in the reverse of file order, so of two with the same
// name the earlier one stays.
//
// Failures end the build; the controls made before stay. A class or name
// shorter than two characters raises Subscript, a close item with no open
// control ControlDestroyed; an unreadable "boundingbox" and a missing
// mandatory attribute raise EGeneric "UIXMLBuild", an attribute the control
// lacks EGeneric "UIAttributes"; the factory's and the writes' failures
// pass through.
std::vector<IdCell> buildControl(const std::vector<UIXMLItem>& items, ControlTree& tree, const Factory& factory,
                                 const IdCell& parent);

// The same with the toolkit's classes of `ctx` (UIXMLBuild::createControl
// and findToplevelControlClass).
std::vector<IdCell> buildControl(const std::vector<UIXMLItem>& items, UIContext& ctx,
                                 const IdCell& parent = makeIdCell(0));

}  // namespace UIXMLBuild
}  // namespace zil
