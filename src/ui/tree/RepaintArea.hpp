#pragma once
// The area that a repaint request of a control marks dirty: its box cut by
// the box of every ancestor, in its window's coordinates (the window's own
// x and y do not count), and the window it belongs to.
//
// Every control keeps its area once worked out, so that a request does not
// walk up to the window each time: a control's area follows from its own box
// and its parent's area, which is worked out first when it is not known. An
// area is forgotten when the control's box is stored and when the parent it
// was worked out from is destroyed (the control then counts as top-level), and
// with it every area worked out from it, at any depth. So an area is known
// only while its parent's is, and every control whose area is known is on its
// parent's list of dependents.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/base/IdCell.hpp"
#include "ui/base/ObservedValue.hpp"
#include "ui/tree/RectArith.hpp"

namespace zil {

class ControlTree;
struct UIControl;

class RepaintArea final : public StoreWatcher {
public:
    struct Area {
        Rect64 rect;           // empty when nothing of the control can show
        UIControlID window{};  // the top-level control above it (itself for one)
    };

    RepaintArea() = default;
    RepaintArea(const RepaintArea&) = delete;
    RepaintArea& operator=(const RepaintArea&) = delete;

    // The control's area, working out what is not known from the nearest
    // known area above it (or the top). Looks up every control it climbs to,
    // failing as ControlTree::lookup does.
    static Area of(const ControlTree& tree, const std::shared_ptr<UIControl>& control);

    // Forgets this area and every area worked out from it.
    void forget();

    // The control's box was stored.
    void stored() override { forget(); }

    // The length of the list of dependents, destroyed ones included.
    std::size_t dependents() const { return dependents_.size(); }

private:
    bool known_ = false;
    bool listed_ = false;  // on the parent's list of dependents
    // The control's origin in window coordinates.
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
    Area area_;
    // The children whose areas were worked out from this one. A destroyed
    // child stays until the list is full, then leaves it.
    std::vector<std::weak_ptr<UIControl>> dependents_;
};

}  // namespace zil
