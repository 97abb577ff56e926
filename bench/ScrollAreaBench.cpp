// Dragging a scroll area's bar: every move sets the bar's position, which
// moves every child of the area but its frame; each moved child repaints its
// old and new area and its range link stays out while the area is busy. The
// cost per moved child should not depend on how many children there are.
#include <benchmark/benchmark.h>

#include <memory>

#include "ui/tree/ControlTree.hpp"
#include "ui/tree/LayoutSteps.hpp"
#include "ui/tree/TreeCallbacks.hpp"

namespace {

using namespace zil;

struct PlainKind : ControlKind {
    std::int32_t tag() const override { return 1; }
    void setUp(ControlTree&, const IdCell&) const override {}
};

// A window with an area 100 high: its frame holding the bar, and n rows 20
// high below each other (taller than the area from 10 on), linked to the
// bar as a scroll area links them.
struct ScrollArea {
    ControlTree tree;
    IdCell window, area;
    std::shared_ptr<ScrollRecord> scroll = std::make_shared<ScrollRecord>();

    explicit ScrollArea(int n) {
        const PlainKind kind;
        window = tree.addControl(nullptr, kind, {0, 0, 640, 480}, 1);
        tree.addWindow(window, nullptr);
        area = tree.addControl(window, kind, {10, 10, 200, 100}, 1);
        IdCell frame = tree.addControl(area, kind, {0, 0, 200, 100}, 1);
        IdCell bar = tree.addControl(frame, kind, {184, 0, 16, 100}, 1);
        *scroll = ScrollRecord{area, frame, tree.attributes().registerInt(bar, "barpos", 0),
                               tree.attributes().registerInt(bar, "barsize", 300),
                               tree.attributes().registerInt(bar, "barrange", 1000)};
        tree.lookup(area)->children.onChanged.push(TreeCallbacks::linkSiblingsAndRaise(tree, area, frame, scroll));
        scroll->position->onChanged.push(LayoutSteps::scrollAreaContents(tree, scroll));
        for (int i = 0; i < n; ++i) tree.addControl(area, kind, {0, 20 * i, 180, 20}, 1);
    }
};

void BM_DragScrollBar(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    ScrollArea s(n);
    std::vector<IRect2D>& dirty = s.tree.findWindow(*s.window)->dirty;
    std::int32_t pos = 0;
    for (auto _ : state) {
        pos = pos == 0 ? 350 : 0;
        s.scroll->position->set(pos);
        dirty.clear();  // as each screen update does
    }
    state.counters["per_child"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * n, benchmark::Counter::kIsRate |
                                                                             benchmark::Counter::kInvert);
}
BENCHMARK(BM_DragScrollBar)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
