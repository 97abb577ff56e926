// The tree's share of a bar move and of a burst of repaint requests, on a
// window laid out like the demo's (about 40 controls), with a painter that
// draws nothing, so that what remains is lookups, dirty rectangles,
// sub-surfaces and clips.
//
// BM_BarMoveAndUpdate: a new "barpos" repaints its bar and scales the demo
// value (as a drag does), then one screen update.
// BM_InvalidateThenUpdate/k: k repaint requests over the page's bars and
// labels, then one update. The counter "painted" is the number of controls
// the update painted: only the column of bars meets the dirty rectangles.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ui/tree/ControlNotify.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/ScreenUpdate.hpp"
#include "ui/tree/TopLevelWindow.hpp"

namespace {

using namespace zil;

struct Plain : ControlKind {
    std::int32_t tag() const override { return 1; }
    void setUp(ControlTree&, const IdCell&) const override {}
};

struct DemoLikeTree {
    ControlTree tree;
    IdCell window;
    std::vector<IdCell> bars, labels;
    std::shared_ptr<ObservedInt> barpos;
    std::shared_ptr<ObservedReal> sharpness;

    DemoLikeTree() {
        const Plain plain;
        window = tree.addControl(nullptr, TopLevelWindowKind{}, {0, 0, 800, 600}, 1);
        const auto add = [&](const IdCell& parent, IRect2D box, std::int32_t visible = 1) {
            return tree.addControl(parent, plain, box, visible);
        };
        add(window, {0, 0, 800, 24});  // tab index
        IdCell book = add(window, {0, 24, 800, 576});
        IdCell page0 = add(book, {0, 0, 800, 576});
        IdCell page1 = add(book, {0, 0, 800, 576}, 0);
        IdCell page2 = add(book, {0, 0, 800, 576}, 0);
        IdCell holder = add(page0, {0, 0, 400, 400});
        add(holder, {0, 0, 400, 400});  // the preview
        for (int i = 0; i < 4; ++i) {
            const std::int32_t y = 20 + 60 * i;
            labels.push_back(add(page0, {420, y, 200, 16}));
            IdCell frame = add(page0, {420, y + 20, 204, 20});
            bars.push_back(add(frame, {2, 2, 200, 16}));
        }
        for (int i = 0; i < 6; ++i) add(page0, {420 + 60 * (i % 3), 300 + 30 * (i / 3), 56, 24});  // buttons
        IdCell area = add(page1, {10, 10, 300, 400});
        IdCell frame = add(area, {0, 0, 300, 400});
        add(frame, {284, 0, 16, 400});
        for (int i = 0; i < 6; ++i) add(area, {0, 20 * i, 284, 20});
        for (int i = 0; i < 8; ++i) add(page2, {10, 10 + 30 * i, 200, 24});

        barpos = tree.attributes().registerInt(bars[1], "barpos", 0);
        auto range = std::make_shared<ObservedInt>(bars[1], 100);
        auto size = std::make_shared<ObservedInt>(bars[1], 20);
        sharpness = std::make_shared<ObservedReal>(bars[1], 0.0);
        barpos->onChanged.push(ControlNotify::repaintControl(tree, bars[1]));
        barpos->onChanged.push(ControlNotify::setScaledReal(4.0, range, size, sharpness));
        updateScreen(tree, paintNothing());
    }

    static ControlPainter paintNothing() {
        return [](const IRect2D&, const IdCell&, const Canvas&) {};
    }
};

struct Video {
    Video() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) std::abort();
    }
    ~Video() { SDL_Quit(); }
};

void BM_BarMoveAndUpdate(benchmark::State& state) {
    Video video;
    DemoLikeTree t;
    const ControlPainter paint = DemoLikeTree::paintNothing();
    std::int32_t p = 0;
    for (auto _ : state) {
        p = p == 80 ? 0 : p + 1;
        t.barpos->set(p);
        updateScreen(t.tree, paint);
    }
    benchmark::DoNotOptimize(t.sharpness->value());
}
BENCHMARK(BM_BarMoveAndUpdate)->Unit(benchmark::kMicrosecond);

void BM_InvalidateThenUpdate(benchmark::State& state) {
    Video video;
    DemoLikeTree t;
    std::int64_t painted = 0;
    const ControlPainter paint = [&painted](const IRect2D&, const IdCell&, const Canvas&) { ++painted; };
    std::vector<IdCell> targets;
    for (std::size_t i = 0; i < t.bars.size(); ++i) {
        targets.push_back(t.bars[i]);
        targets.push_back(t.labels[i]);
    }
    const auto k = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        for (std::size_t i = 0; i < k; ++i) TopLevelControls::invalidate(t.tree, targets[i % targets.size()]);
        updateScreen(t.tree, paint);
    }
    state.counters["painted"] =
        benchmark::Counter(static_cast<double>(painted), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_InvalidateThenUpdate)->RangeMultiplier(2)->Range(1, 64)->Unit(benchmark::kMicrosecond);

}  // namespace
