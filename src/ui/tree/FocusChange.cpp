#include "ui/tree/FocusChange.hpp"

#include <string>
#include <utility>
#include <vector>

#include "ui/tree/ControlTree.hpp"

namespace zil {

FocusState::FocusState(ControlTree& tree, const FocusTables& tables)
    : FocusTables(tables), tree_(&tree) {}

namespace {

void runHooks(const ControlHookTable& hooks, const IdCell& control) { deliverToSlots(hooks, control, control); }

void deliverFlag(const LinkTable& links, const IdCell& control, std::int32_t flag) {
    deliverToSlots(links, control, control, flag);
}

// Once the focus cell has changed, a failing step must not stop the rest.
template <class F>
void guarded(F step) {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

namespace ControlMessages {

bool isFocused(const FocusState& state, const IdCell& control) {
    return state.focused() && idOf(control) != 0 && idOf(state.focused()) == idOf(control);
}

void changeCurrent(const IdCell& next, FocusState& state) {
    if (state.focused() && next && idOf(state.focused()) == idOf(next)) return;
    clearFocus(state);
    gainFocus(next, state);
}

void clearFocus(FocusState& state) {
    const IdCell c = state.focused();
    if (!c) {
        state.focused_ = nullptr;  // none, or one destroyed: nothing runs for it
        return;
    }
    runHooks(*state.blurHooksBefore, c);
    deliverFlag(*state.linksBefore, c, 0);
    state.focused_ = nullptr;
    guarded([&] { runHooks(*state.blurHooksAfter, c); });
    guarded([&] { deliverFlag(*state.linksAfter, c, 0); });
}

void gainFocus(const IdCell& next, FocusState& state) {
    if (!next) return;
    const IdCell n = next;  // `next` may be a cell a hook replaces
    runHooks(*state.focusHooksBefore, n);
    deliverFlag(*state.linksBefore, n, 1);
    state.focused_ = n;
    guarded([&] { runHooks(*state.focusHooksAfter, n); });
    deliverTrueToLinks(*state.linksAfter, n);
}

}  // namespace ControlMessages

namespace FocusChange {

namespace {

void recordStep(StepStore& steps, StepStore& last, const IdCell& control) {
    const UIControlID id = idOf(control);
    if (id == 0) return;
    std::int64_t& count = steps.at(id);
    std::int64_t& stamp = last.at(id);  // both slots checked before either changes
    stamp = ++count;
}

}  // namespace

PlainList::Callback recordHookStep(std::shared_ptr<StepStore> steps, std::shared_ptr<StepStore> last) {
    return [steps = std::move(steps), last = std::move(last)](const IdCell& control) {
        recordStep(*steps, *last, control);
    };
}

IntList::Callback recordLinkStep(std::shared_ptr<StepStore> steps, std::shared_ptr<StepStore> last) {
    return [steps = std::move(steps), last = std::move(last)](const IdCell& control, const std::int32_t&) {
        recordStep(*steps, *last, control);
    };
}

PlainList::Callback focusFirstChild(FocusState& state) {
    return [s = &state](const IdCell& control) {
        const std::vector<IdCell> children = ControlTree::snapshotChildren(*s->tree().lookup(control));
        if (!children.empty()) ControlMessages::changeCurrent(children.front(), *s);
    };
}

StringList::Callback clearFocusOnShortText(FocusState& state, IdCell control, std::shared_ptr<ObservedInt> cursor,
                                           std::shared_ptr<ObservedInt> extent) {
    return [s = &state, control = std::move(control), cursor = std::move(cursor), extent = std::move(extent)](
               const IdCell&, const std::string& text) {
        const auto length = static_cast<std::int64_t>(text.size());
        if (length < std::int64_t{cursor->value()} + extent->value() && ControlMessages::isFocused(*s, control))
            ControlMessages::clearFocus(*s);
    };
}

MouseList::Callback focusAndSelectItem(FocusState& state, IdCell list, MouseList::Callback select) {
    return [s = &state, list = std::move(list), select = std::move(select)](const PointerAt& p) {
        ControlMessages::changeCurrent(list, *s);
        select(p);
    };
}

}  // namespace FocusChange
}  // namespace zil
