// Text is drawn in every redraw: drawing and measuring 20 characters in the
// look's outline lucida-14, taking a font or image already held, and the
// one-off work of building a font and rendering its cache.
#include <benchmark/benchmark.h>

#include <string>

#include <SDL.h>

#include "DemoResources.hpp"
#include "shell/AppConfig.hpp"
#include "ui/base/FontContext.hpp"
#include "ui/base/ImageManager.hpp"

namespace {

using namespace zil;
using bench::demoConfig;
using bench::screenLike;

constexpr ColorRGB accent{1.0, 0.81, 0.51};
const std::string kText = "Corner sharpness 1.5";  // 20 characters

struct Ui {
    ImageManager images;
    FontContext fonts;
    AppConfig::Cell config = demoConfig();
    FontHandle lucida = loadFont(fonts, images, config, "lucida-14", accent);
};

void BM_DrawString20(benchmark::State& state) {
    Ui ui;
    SDL_Surface* dst = screenLike(400, 40);
    ui.lucida.font().drawStringOn(kText, 4, 4, dst);  // the cache is rendered once, before timing
    for (auto _ : state) ui.lucida.font().drawStringOn(kText, 4, 4, dst);
    SDL_FreeSurface(dst);
}
BENCHMARK(BM_DrawString20);

void BM_StringWidth20(benchmark::State& state) {
    Ui ui;
    const SDLBitmapFont& font = ui.lucida.font();
    for (auto _ : state) benchmark::DoNotOptimize(font.stringWidth(kText));
}
BENCHMARK(BM_StringWidth20);

void BM_LoadFontHeld(benchmark::State& state) {
    Ui ui;
    for (auto _ : state) {
        FontHandle h = loadFont(ui.fonts, ui.images, ui.config, "lucida-14", accent);
        benchmark::DoNotOptimize(&h.font());
        h.release();
    }
}
BENCHMARK(BM_LoadFontHeld);

void BM_GetImageHeld(benchmark::State& state) {
    Ui ui;
    const std::string path = lookupResourcePath(ui.config, "ui/lf/vuq/") + "TabIndexUnselectedMiddle.bmp";
    for (auto _ : state) benchmark::DoNotOptimize(ui.images.getImage(path));
}
BENCHMARK(BM_GetImageHeld);

// One-off: reading the font bitmap, building the outline font.
void BM_LoadFontFirst(benchmark::State& state) {
    Ui ui;
    for (auto _ : state) {
        FontHandle h = loadFont(ui.fonts, ui.images, ui.config, "lucida-14", ColorRGB{0.5, 0.63, 0.75});
        h.release();
        ui.images.pool().drain();
    }
}
BENCHMARK(BM_LoadFontFirst)->Unit(benchmark::kMicrosecond);

// One-off: rendering the coloured, rimmed cache of a new colour.
void BM_RenderCache(benchmark::State& state) {
    Ui ui;
    SDLBitmapFont& font = ui.lucida.font();
    for (auto _ : state) {
        font.setColour(accent);
        font.copyToAlphaSurface();
    }
}
BENCHMARK(BM_RenderCache)->Unit(benchmark::kMicrosecond);

}  // namespace
