#include "ui/tree/ControlRefLinks.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/RectArith.hpp"
#include "ui/tree/TopLevelControls.hpp"

namespace zil::ControlRefLinks {

namespace {

struct FrameLinks {
    ControlTree* tree;
    IdCell frame;
    std::shared_ptr<LinkTable> focusLinks;
    std::array<Registration, 4> links;

    void relink(const IdCell& target) {
        ControlTree& t = *tree;
        for (Registration& r : links) r.remove();
        if (idOf(target) == 0) {
            TopLevelControls::invalidate(t, frame);
            return;
        }
        {
            std::shared_ptr<UIControl> f = t.lookup(frame);
            links[0] = Registration::pushInList(std::shared_ptr<RectList>(f, &f->boundingBox.onChanged),
                                                ControlMessages::linkEntry(t, InsetBy{2, t.lookup(target)->id}));
        }
        std::shared_ptr<UIControl> r = t.lookup(target);
        links[1] = Registration::pushInList(std::shared_ptr<RectList>(r, &r->boundingBox.onChanged),
                                            ControlMessages::linkEntry(t, InsetBy{-2, frame}));
        links[2] = Registration::pushInList(std::shared_ptr<IntList>(r, &r->visible.onChanged),
                                            ControlMessages::messageEntry(t, SetVisible{frame}));
        links[3] = Registration::pushInSlot(focusLinks, r->id, ControlMessages::messageEntry(t, RepaintControl{frame}));

        // Grown by 2 on every side; a size below 0 becomes 0 in place.
        const IRect2D box = r->boundingBox.value();
        const IRect2D grown = narrow(Rect64{std::int64_t{box.x} - 2, std::int64_t{box.y} - 2,
                                            std::max<std::int64_t>(std::int64_t{box.w} + 4, 0),
                                            std::max<std::int64_t>(std::int64_t{box.h} + 4, 0)});
        r.reset();
        std::shared_ptr<UIControl> f = t.lookup(frame);
        if (f->boundingBox.value() == grown)
            TopLevelControls::invalidate(t, frame);
        else
            f->boundingBox.set(grown);
    }
};

struct TableLinks {
    std::array<Placement, 4> placements;
    std::array<Registration, 4> links;

    void relink(const IdCell& target) {
        for (Registration& r : links) r.remove();
        if (idOf(target) == 0) return;
        for (std::size_t i = 0; i < placements.size(); ++i) links[i] = placements[i](target);
    }
};

}  // namespace

ControlRefList::Callback frameAroundTarget(ControlTree& tree, IdCell frame, std::shared_ptr<LinkTable> focusLinks) {
    auto state = std::make_shared<FrameLinks>(FrameLinks{&tree, std::move(frame), std::move(focusLinks), {}});
    return [state](const IdCell&, const IdCell& target) { state->relink(target); };
}

ControlRefList::Callback targetTableLinks(std::array<Placement, 4> placements) {
    auto state = std::make_shared<TableLinks>();
    state->placements = std::move(placements);
    return [state](const IdCell&, const IdCell& target) { state->relink(target); };
}

}  // namespace zil::ControlRefLinks
