#include "ui/base/PointerActions.hpp"

#include <type_traits>
#include <utility>

namespace zil {

IdentityKey pushPointerAction(PointerActionStore& store, UIControlID id, PointerAction action) {
    PointerActionList& list = store.at(id);
    IdentityKey key = newIdentityKey();
    list.insert(list.begin(), PointerActionEntry{std::move(action), key});
    return key;
}

void runPointerAction(const PointerAction& action, const PointerAt& pointer, const IdCell& control) {
    std::visit(
        [&pointer, &control](const auto& a) {
            using Kind = std::decay_t<decltype(a)>;
            if constexpr (std::is_same_v<Kind, PointerRule>) {
                a.run(pointer);
            } else if constexpr (std::is_same_v<Kind, RecordRelease>) {
                const UIControlID id = idOf(control);
                if (id == 0) return;
                std::int64_t& count = a.count->at(id);
                Point& at = a.at->at(id);  // both slots checked before either changes
                ++count;
                at = pointer.local;
            } else {
                *a.cell = std::is_same_v<Kind, SetCellAndRepaint> ? 1 : 0;
                a.repaint(a.control);
            }
        },
        action);
}

IntCell makeControlStateCell(PointerActionStores& stores, const RepaintRequest& repaint, const IdCell& control) {
    auto cell = std::make_shared<std::int32_t>(0);
    const UIControlID id = idOf(control);
    // Both slots are checked before either list changes.
    stores.press->at(id);
    stores.release->at(id);
    pushPointerAction(*stores.press, id, SetCellAndRepaint{cell, repaint, control});
    pushPointerAction(*stores.release, id, ClearCellAndRepaint{cell, repaint, control});
    return cell;
}

}  // namespace zil
