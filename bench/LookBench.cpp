// Faces and labels are drawn in every redraw. Each face at a demo size
// against the raw SDL fills it makes (at most 1.2x), a button with its label
// through the dispatch (at most 5 us), and the dispatch's own cost per
// control: BM_Dispatch minus BM_PainterAlone (at most 0.2 us).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include <SDL.h>

#include "DemoResources.hpp"
#include "ui/base/FontContext.hpp"
#include "ui/base/ImageManager.hpp"
#include "ui/base/LookAndFeel.hpp"
#include "ui/controls/ControlLook.hpp"
#include "ui/controls/LookSetUp.hpp"
#include "ui/tree/ControlTree.hpp"

namespace {

using namespace zil;

struct Screen {
    SDL_Surface* s = bench::screenLike(400, 300);
    ~Screen() { SDL_FreeSurface(s); }
};

// The fills of a face, made straight with SDL: pixels mapped beforehand.
struct Fill {
    SDL_Rect r;
    Uint32 pixel;
};
void rawFills(benchmark::State& state, const std::vector<Fill>& fills) {
    Screen screen;
    for (auto _ : state)
        for (Fill f : fills) SDL_FillRect(screen.s, &f.r, f.pixel);
}
Uint32 grey(SDL_Surface* s, int v) { return SDL_MapRGB(s->format, v, v, v); }
Fill fill(int x, int y, int w, int h, Uint32 p) {
    return {{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)}, p};
}

template <class Face>
void face(benchmark::State& state, Face draw) {
    Screen screen;
    const DrawTarget t{screen.s};
    for (auto _ : state) draw(t);
}

// A frame panel of 100 x 24: outline, inner, bevel, face.
void BM_FramePanel(benchmark::State& st) { face(st, [](const DrawTarget& t) { LookAndFeel::drawFramePanel(t, 100, 24); }); }
void BM_FramePanelRaw(benchmark::State& st) {
    Screen s;
    rawFills(st, {fill(0, 0, 100, 24, grey(s.s, 0)), fill(1, 1, 98, 22, grey(s.s, 0)), fill(1, 1, 97, 21, grey(s.s, 128)),
                  fill(2, 2, 96, 20, grey(s.s, 51))});
}
BENCHMARK(BM_FramePanel);
BENCHMARK(BM_FramePanelRaw);

// A sunken field of 100 x 24.
void BM_SunkenField(benchmark::State& st) {
    face(st, [](const DrawTarget& t) { LookAndFeel::drawSunkenField(t, 100, 24, false); });
}
void BM_SunkenFieldRaw(benchmark::State& st) {
    Screen s;
    rawFills(st, {fill(0, 0, 100, 24, grey(s.s, 191)), fill(0, 0, 99, 23, grey(s.s, 128)), fill(1, 1, 98, 22, grey(s.s, 0))});
}
BENCHMARK(BM_SunkenField);
BENCHMARK(BM_SunkenFieldRaw);

// A vertical bar of 16 x 120, thumb 30 long at 20.
void BM_VertBar(benchmark::State& st) {
    face(st, [](const DrawTarget& t) { LookAndFeel::drawVertBar(t, 16, 120, 20, 30, false); });
}
void BM_VertBarRaw(benchmark::State& st) {
    Screen s;
    rawFills(st, {fill(0, 0, 16, 120, grey(s.s, 51)), fill(0, 20, 16, 30, grey(s.s, 13)), fill(0, 20, 15, 29, grey(s.s, 166)),
                  fill(1, 21, 14, 28, grey(s.s, 89))});
}
BENCHMARK(BM_VertBar);
BENCHMARK(BM_VertBarRaw);

// A horizontal bar of 200 x 16, thumb 40 long at 60.
void BM_HorizBar(benchmark::State& st) {
    face(st, [](const DrawTarget& t) { LookAndFeel::drawHorizBar(t, 200, 16, 60, 40, false); });
}
void BM_HorizBarRaw(benchmark::State& st) {
    Screen s;
    rawFills(st, {fill(0, 0, 200, 16, grey(s.s, 51)), fill(60, 0, 40, 16, grey(s.s, 13)), fill(60, 0, 39, 15, grey(s.s, 166)),
                  fill(61, 1, 38, 14, grey(s.s, 89))});
}
BENCHMARK(BM_HorizBar);
BENCHMARK(BM_HorizBarRaw);

// A plain face and a tab page of 100 x 24: one fill each.
void BM_PlainFace(benchmark::State& st) { face(st, [](const DrawTarget& t) { LookAndFeel::drawPlainFace(t, 100, 24); }); }
void BM_PlainFaceRaw(benchmark::State& st) {
    Screen s;
    rawFills(st, {fill(0, 0, 100, 24, grey(s.s, 51))});
}
BENCHMARK(BM_PlainFace);
BENCHMARK(BM_PlainFaceRaw);

void BM_RectFace(benchmark::State& st) { face(st, [](const DrawTarget& t) { LookAndFeel::drawRectFace(t, {0, 0, 100, 24}); }); }
void BM_RectFaceRaw(benchmark::State& st) {
    Screen s;
    rawFills(st, {fill(0, 0, 100, 24, grey(s.s, 76))});
}
BENCHMARK(BM_RectFace);
BENCHMARK(BM_RectFaceRaw);

// A control tree with the demo's fonts and look bitmaps.
struct Ui {
    ControlTree tree;
    ImageManager images;
    FontContext fonts;
    AppConfig::Cell config = bench::demoConfig();
    PointerActionStores pointer{tree.stores().newAttributeStore<PointerActionList>(),
                                tree.stores().newAttributeStore<PointerActionList>()};
    LookServices services{tree, fonts, images, config, pointer};
    std::vector<LookSetUp> kept;

    struct Kind : ControlKind {
        std::function<void(ControlTree&, const IdCell&)> build;
        std::int32_t tag() const override { return 1; }
        void setUp(ControlTree& t, const IdCell& self) const override { build(t, self); }
    };
    IdCell add(const IRect2D& box, std::function<void(ControlTree&, const IdCell&)> build) {
        Kind k;
        k.build = std::move(build);
        return tree.addControl(nullptr, k, box, 1);
    }
};

// A demo button of 140 x 32 with its label, drawn through the dispatch.
void BM_ButtonWithLabel(benchmark::State& state) {
    Ui ui;
    const IdCell button = ui.add({0, 0, 140, 32}, [&](ControlTree& t, const IdCell& self) {
        auto text = t.attributes().registerString(self, "text", "Subdivide");
        LookSetUp r = LookAndFeel::setUpButton(ui.services, self, text, LookAndFeel::white);
        t.lookup(self)->drawItem = r.look;
        ui.kept.push_back(std::move(r));
    });
    Screen screen;
    const ControlPainter paint = makeControlPainter(ui.tree, {});
    const Canvas canvas{screen.s, 0, 0};
    paint({0, 0, 140, 32}, button, canvas);  // the font caches are rendered once, before timing
    for (auto _ : state) paint({0, 0, 140, 32}, button, canvas);
}
BENCHMARK(BM_ButtonWithLabel);

// The dispatch around a painter that does next to nothing (a 1 x 1 face).
void BM_Dispatch(benchmark::State& state) {
    Ui ui;
    const IdCell plain = ui.add({0, 0, 1, 1}, [](ControlTree& t, const IdCell& self) {
        t.lookup(self)->drawItem = std::make_shared<ControlLook>(LookKind::PlainFace, Look::Face{});
    });
    Screen screen;
    const ControlPainter paint = makeControlPainter(ui.tree, [](UIControlID) { return false; });
    const Canvas canvas{screen.s, 0, 0};
    for (auto _ : state) paint({0, 0, 1, 1}, plain, canvas);
}
void BM_PainterAlone(benchmark::State& state) {
    face(state, [](const DrawTarget& t) { LookAndFeel::drawPlainFace(t, 1, 1); });
}
BENCHMARK(BM_Dispatch);
BENCHMARK(BM_PainterAlone);

}  // namespace
