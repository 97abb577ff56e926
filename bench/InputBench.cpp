// A press, a motion and a release delivered through Controls::handleEvent
// on a demo-sized tree (about 40 controls), with no drawing: the pointer
// drags a sharpness bar on the first page.
#include <benchmark/benchmark.h>

#include "DemoResources.hpp"
#include "ui/controls/ControlEvents.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/ControlFactory.hpp"

namespace zil {
namespace {

struct DemoTree {
    UIContext ctx{bench::demoConfig()};
    IdCell window = UIXMLBuild::findToplevelControlClass(ctx, "VuqNoBackgroundWindow", {0, 0, 800, 600}, 0);
    ControlEventTables events{ctx};
    IdCell bar;

    IdCell make(const char* cls, IRect2D box, const IdCell& parent) {
        return UIXMLBuild::createControl(ctx, cls, parent, box, 1);
    }
    DemoTree() {
        make("VuqTabIndex", {0, 0, 800, 24}, window);
        const IdCell book = make("VuqTabBook", {0, 24, 800, 576}, window);
        IdCell pages[3];
        for (int i = 0; i < 3; ++i) pages[i] = make("VuqTabBookPage", {0, 0, 800, 576}, book);
        for (int i = 0; i < 4; ++i) {  // label and framed bar, like the sharpness bars
            make("VuqTextLabel", {420, 10 + 60 * i, 300, 16}, pages[0]);
            const IdCell framed = make("VuqFramedHorizScrollBar", {420, 30 + 60 * i, 300, 20}, pages[0]);
            if (i == 1) bar = ctx.tree.lookup(framed)->children.readAt(0);
        }
        make("VuqFramedListBox", {10, 10, 200, 200}, pages[1]);
        make("VuqFramedTextEdit", {10, 220, 200, 24}, pages[1]);
        make("VuqPushButton", {10, 260, 100, 30}, pages[1]);
        make("VuqCheckBoxView", {10, 300, 100, 20}, pages[1]);
        make("VuqFramedButtonView", {10, 330, 100, 30}, pages[2]);
        make("VuqImportantTextLabel", {10, 370, 200, 16}, pages[2]);
        for (int i = 0; i < 4; ++i) make("VuqTextLabel", {220, 10 + 20 * i, 200, 16}, pages[2]);
        make("VuqVertScrollArea", {450, 10, 200, 200}, pages[2]);
        make("VuqFieldTabulator", {}, window);
        ctx.tree.attributes().get<Attr::NInt>(bar, "barsize")->set(20);
        for (int i = 1; i < 3; ++i) ctx.tree.lookup(pages[i])->visible.set(0);  // page 0 is shown
    }
};

void BM_PressMotionRelease(benchmark::State& state) {
    DemoTree t;
    const int y = 24 + 30 + 60 + 2 + 8;  // in the second bar
    int x = 450;
    if (t.ctx.tree.attributes().get<Attr::NInt>(t.bar, "barpos")->value() != 0) state.SkipWithError("moved");
    for (auto _ : state) {
        Controls::handleEvent(MouseButton{x, y}, EventType::buttonDown, t.events);
        Controls::handleEvent(MotionRecord{x + 40, y, 40, 0, 0}, EventType::mouseMotion, t.events);
        Controls::handleEvent(MouseButton{x + 40, y}, EventType::buttonUp, t.events);
        x = x == 450 ? 490 : 450;
        t.ctx.tree.findWindow(idOf(t.window))->dirty.clear();
    }
    if (t.ctx.tree.attributes().get<Attr::NInt>(t.bar, "barpos")->value() == 0) state.SkipWithError("missed the bar");
    state.counters["controls"] = static_cast<double>(t.ctx.tree.nextIndex() - 1);
    // Time per event: a third of an iteration.
    state.counters["per_event"] = benchmark::Counter(static_cast<double>(state.iterations()) * 3,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PressMotionRelease);

}  // namespace
}  // namespace zil
