// The preview's cost on the demo's 400 x 400 device: a redraw with the
// surface kept, a redraw after a sharpness change (regeneration included),
// sweeps of the corner and zoom bars, and the regeneration on its own.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <memory>

#include "mesh/SceneObject.hpp"
#include "render/RenderPreview.hpp"
#include "shell/Constants.hpp"

namespace {

using namespace zil;

struct NoRedraw : PreviewRedraw {
    void redrawPreview() override {}
};

struct Fixture {
    Fixture()
        : demo(makeDemoPreview([] { return Constants::demoPageRect; }, std::make_shared<NoRedraw>())),
          target(SDL_CreateRGBSurface(SDL_SWSURFACE, Constants::demoPageRect.w, Constants::demoPageRect.h, 32,
                                      0x00FF0000, 0x0000FF00, 0x000000FF, 0)) {
        demo.preview->render(target);
    }
    ~Fixture() {
        demo.preview.reset();
        SDL_FreeSurface(target);
    }
    DemoPreview demo;
    SDL_Surface* target;
};

void BM_RenderKeepingTheSurface(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) f.demo.preview->render(f.target);
}
BENCHMARK(BM_RenderKeepingTheSurface)->Unit(benchmark::kMicrosecond);

// The same value every time, so that the image stays the one of the first
// benchmark and the difference is the edit and the regeneration.
void BM_RenderAfterSharpnessChange(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.demo.targets.corner(0.0);
        f.demo.preview->render(f.target);
    }
}
BENCHMARK(BM_RenderAfterSharpnessChange)->Unit(benchmark::kMicrosecond);

// A drag of one bar over [0, limit]: the image changes with the value.
void sweep(benchmark::State& state, BarTarget DemoBarTargets::*bar, double limit) {
    Fixture f;
    double v = 0.0;
    for (auto _ : state) {
        v = v >= limit ? 0.0 : v + 0.05;
        (f.demo.targets.*bar)(v);
        f.demo.preview->render(f.target);
    }
}

void BM_CornerSweep(benchmark::State& state) { sweep(state, &DemoBarTargets::corner, 4.0); }
BENCHMARK(BM_CornerSweep)->Unit(benchmark::kMicrosecond);

void BM_ZoomSweep(benchmark::State& state) { sweep(state, &DemoBarTargets::zoom, 5.0); }
BENCHMARK(BM_ZoomSweep)->Unit(benchmark::kMicrosecond);

void BM_RegenerationOnly(benchmark::State& state) {
    Fixture f;
    SceneObject scene;
    for (auto _ : state) SubdivisionMesh::regenerate(scene, f.demo.preview->cells().mesh, f.demo.preview->ri());
}
BENCHMARK(BM_RegenerationOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
