#pragma once
// The control-class factory: a class name from the UI description becomes
// one control, or a fixed group for the composite classes, made with
// Controls::addControl in the given context, each control under the one
// before it as the class says. The ID cell returned is the control that
// stands for the group (the outermost, the button view of a push button);
// the builder writes the description's further attributes through it, and
// the group's outer controls share the inner controls' attributes, so those
// writes reach the inner ones.
#include <cstdint>
#include <string_view>

#include "shell/IRect2D.hpp"
#include "ui/base/IdCell.hpp"

namespace zil {

class UIContext;

namespace UIXMLBuild {

// The controls of the class named `className` in the context's class table,
// under `parent`, with the described box and visible flag (controls inside
// a group are visible). A name not in the table raises EGeneric
// "UIXMLBuild" "Cannot find control class " + name, and nothing is made.
// Failures of the set-up pass through; controls made before stay.
IdCell createControl(UIContext& ctx, std::string_view className, const IdCell& parent, const IRect2D& box,
                     std::int32_t visible);

// A top-level window of the class named `className` in the top-level class
// table; else EGeneric "UIXMLBuild" "Cannot find toplevel-control class " +
// name.
IdCell findToplevelControlClass(UIContext& ctx, std::string_view className, const IRect2D& box,
                                std::int32_t visible);

// `outer` takes every attribute of `inner` it lacks, in `inner`'s order: the
// very same value objects, seen through both tables. An outer frame is then
// appended to the inner control's outer controls (its links).
void takeOverAttributes(UIContext& ctx, const IdCell& inner, const IdCell& outer);

}  // namespace UIXMLBuild
}  // namespace zil
