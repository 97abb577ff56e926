#include "ui/controls/ToolkitStores.hpp"

#include "ui/tree/ControlTree.hpp"

namespace zil {

ToolkitStores::ToolkitStores(ControlTree& tree, ControlClassRegistry& classes) {
    AttributeStores& stores = tree.stores();
    focusSteps = stores.newAttributeStore<std::int64_t>();
    handlers.marks = stores.newAttributeStore<std::int32_t>();
    focus.linksBefore = stores.newAttributeStore<IntList>();
    focus.linksAfter = stores.newAttributeStore<IntList>();
    focus.blurHooksBefore = stores.newAttributeStore<PlainList>();
    focus.blurHooksAfter = stores.newAttributeStore<PlainList>();
    focus.focusHooksBefore = stores.newAttributeStore<PlainList>();
    focus.focusHooksAfter = stores.newAttributeStore<PlainList>();
    for (std::shared_ptr<CountStore>& last : lastFocusStep) last = stores.newAttributeStore<std::int64_t>();

    // Slot 0 of each focus table: its step counted and stamped.
    using FocusChange::recordHookStep;
    using FocusChange::recordLinkStep;
    focus.linksBefore->at(0).push(newIdentityKey(), recordLinkStep(focusSteps, lastFocusStep[0]));
    focus.linksAfter->at(0).push(newIdentityKey(), recordLinkStep(focusSteps, lastFocusStep[1]));
    focus.blurHooksBefore->at(0).push(newIdentityKey(), recordHookStep(focusSteps, lastFocusStep[2]));
    focus.blurHooksAfter->at(0).push(newIdentityKey(), recordHookStep(focusSteps, lastFocusStep[3]));
    focus.focusHooksBefore->at(0).push(newIdentityKey(), recordHookStep(focusSteps, lastFocusStep[4]));
    focus.focusHooksAfter->at(0).push(newIdentityKey(), recordHookStep(focusSteps, lastFocusStep[5]));

    RegistrationSteps steps;
    steps.afterFrameForChild = [&] {
        handlers.keyDown = stores.newAttributeStore<KeyDownList>();
        handlers.keyUp = stores.newAttributeStore<KeyUpList>();
        handlers.mouse = stores.newAttributeStore<MouseList>();
        handlers.clicks = stores.newAttributeStore<PlainList>();
        spare = stores.newAttributeStore<std::int32_t>();
        pointerActions.press = stores.newAttributeStore<PointerActionList>();
        pointerActions.release = stores.newAttributeStore<PointerActionList>();
        releases = stores.newAttributeStore<std::int64_t>();
    };
    steps.beforeTextEdit = [&] {
        lastRelease = stores.newAttributeStore<Point>();
        stores.growAttributeStores(stores.capacity());
        // Slot 0 of the release store: every release counted and placed.
        pushPointerAction(*pointerActions.release, 0, RecordRelease{releases, lastRelease});
    };
    classes.registerToolkitClasses(steps);
}

}  // namespace zil
