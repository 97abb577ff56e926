#pragma once
// The per-control stores of one user interface, all made here in one fixed
// order that is interleaved with the registration of the control classes,
// then handed to the parts that use them. The control tree has made the
// first, the attribute tables, together with its own table. The others, in
// the order they are made:
//
//    2      per control, how many focus steps have run for it
//    3      the marks of the pointer walks
//    4-9    the focus tables: links before and after the change, blur hooks
//           before and after, focus hooks before and after
//    10-15  per control, the step (as counted in 2) at which table 4-9 last
//           ran for it; 0 while it has not
//             VuqFrameForChild is registered
//    16-19  the key-down, key-up, mouse and click tables
//    20     spare: nothing reads or writes it
//    21-22  the pointer actions of a button press and of a release
//    23     per control, how many releases it has received
//             VuqVertScrollBar .. VuqCheckBoxView are registered
//    24     per control, where in its coordinates it received the last one
//             every store is grown to the capacity; VuqTextEdit and the
//             other classes are registered
//
// Slot 0 of stores 4-9 and 22 holds one default entry, which runs for every
// control before the control's own: those of the focus tables count and
// stamp the focus steps (2, 10-15), that of the release store counts and
// places the releases (23, 24). None changes anything a user sees.
#include <array>
#include <cstdint>
#include <memory>

#include "ui/base/AttributeStores.hpp"
#include "ui/base/PointerActions.hpp"
#include "ui/base/PointerPosition.hpp"
#include "ui/controls/ControlClasses.hpp"
#include "ui/tree/FocusChange.hpp"
#include "ui/tree/HandlerTables.hpp"

namespace zil {

class ControlTree;

using CountStore = AttributeStore<std::int64_t>;

class ToolkitStores {
public:
    // Makes stores 2 to 24 in the tree's registry and registers the
    // toolkit classes into `classes` between them.
    ToolkitStores(ControlTree& tree, ControlClassRegistry& classes);
    ToolkitStores(const ToolkitStores&) = delete;
    ToolkitStores& operator=(const ToolkitStores&) = delete;

    std::shared_ptr<CountStore> focusSteps;                    // 2
    HandlerTables handlers;                                    // 3, 16-19
    FocusTables focus;                                         // 4-9
    std::array<std::shared_ptr<CountStore>, 6> lastFocusStep;  // 10-15, by table
    std::shared_ptr<AttributeStore<std::int32_t>> spare;       // 20
    PointerActionStores pointerActions;                        // 21-22
    std::shared_ptr<CountStore> releases;                      // 23
    std::shared_ptr<AttributeStore<Point>> lastRelease;        // 24
};

}  // namespace zil
