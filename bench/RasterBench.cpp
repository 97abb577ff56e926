// Rasteriser throughput: fill rate on large triangles, set-up rate on small
// ones, the clear of a 400 x 400 device and a whole preview-sized frame.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <random>
#include <vector>

#include "render/FSubpixelInterpInterp.hpp"
#include "render/RealtimeZilyMan.hpp"
#include "render/RiState.hpp"

namespace {

using namespace zil;

constexpr int kSize = 400;

struct Buffers {
    std::vector<std::uint32_t> colour = std::vector<std::uint32_t>(kSize * kSize, 0u);
    std::vector<float> depth = std::vector<float>(kSize * kSize, 0.0f);
    RasterTarget target() {
        return {reinterpret_cast<std::uint8_t*>(colour.data()), kSize * 4,
                reinterpret_cast<std::uint8_t*>(depth.data()), kSize * 4, kSize, kSize};
    }
};

// Half of the buffer per triangle, each nearer than the last so every pixel is written.
void BM_LargeTriangles(benchmark::State& state) {
    Buffers b;
    RasterTarget t = b.target();
    const FixedColor c{0xFF00, 0x8000, 0x4000};
    double z = 900000.0;
    std::int64_t pixels = 0;
    for (auto _ : state) {
        if (z < 10.0) z = 900000.0;
        z -= 1.0;
        FSubpixelInterpInterp::ySortedTriangle({0, 0, z, c}, {kSize * 512 - 1, 0, z, c},
                                               {0, kSize * 512 - 1, z, c}, t);
        pixels += kSize * (kSize + 1) / 2;
    }
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LargeTriangles);

void BM_LargeShadedTriangles(benchmark::State& state) {
    Buffers b;
    RasterTarget t = b.target();
    double z = 900000.0;
    std::int64_t pixels = 0;
    for (auto _ : state) {
        if (z < 10.0) z = 900000.0;
        z -= 1.0;
        FSubpixelInterpInterp::ySortedTriangle({0, 0, z, {0xFF00, 0, 0}}, {kSize * 512 - 1, 0, z, {0, 0xFF00, 0}},
                                               {0, kSize * 512 - 1, z, {0, 0, 0xFF00}}, t);
        pixels += kSize * (kSize + 1) / 2;
    }
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LargeShadedTriangles);

std::vector<SceneTriangle> smallTriangles(int count, int size) {
    std::mt19937 rng(1);
    std::uniform_int_distribution<int> pos(0, (kSize - size - 1) * 512);
    std::uniform_int_distribution<int> off(0, size * 512);
    std::vector<SceneTriangle> tris;
    for (int i = 0; i < count; ++i) {
        const int x = pos(rng), y = pos(rng);
        const FixedColor c{0x8000, 0x8000, 0x8000};
        const double z = 10.0 + i * 1e-3;
        tris.push_back({{x + off(rng), y + off(rng), z, c}, {x + off(rng), y + off(rng), z, c},
                        {x + off(rng), y + off(rng), z, c}});
    }
    return tris;
}

// Triangles of about 10 x 10 pixels drawn straight through the rasteriser.
void BM_SmallTriangles(benchmark::State& state) {
    Buffers b;
    RasterTarget t = b.target();
    auto tris = smallTriangles(800, 10);
    for (auto& s : tris) {
        if (s.b.y < s.a.y) std::swap(s.a, s.b);
        if (s.c.y < s.a.y) std::swap(s.a, s.c);
        if (s.c.y < s.b.y) std::swap(s.b, s.c);
    }
    for (auto _ : state) {
        std::fill(b.depth.begin(), b.depth.end(), 0.0f);
        for (const auto& s : tris) FSubpixelInterpInterp::ySortedTriangle(s.a, s.b, s.c, t);
    }
    state.counters["triangles/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * tris.size(),
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SmallTriangles);

struct Device {
    RiState st;
    SDL_Surface* colour =
        SDL_CreateRGBSurface(SDL_SWSURFACE, kSize, kSize, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    Device() {
        RealtimeZilyMan::installOffscreenDevice(st, colour, kSize, kSize);
        st.deviceWidth = st.deviceHeight = kSize;
    }
    ~Device() {
        RealtimeZilyMan::releaseDevice(st);
        SDL_FreeSurface(colour);
    }
};

// Clearing both surfaces of a 400 x 400 device at world begin.
void BM_ClearDevice(benchmark::State& state) {
    Device d;
    for (auto _ : state) RealtimeZilyMan::worldBegin(d.st);
}
BENCHMARK(BM_ClearDevice);

// One preview-sized frame: clear, 800 small triangles collected, bucketed and drawn.
void BM_PreviewFrame(benchmark::State& state) {
    Device d;
    auto tris = smallTriangles(800, 8);
    for (auto _ : state) {
        RealtimeZilyMan::worldBegin(d.st);
        for (const auto& s : tris) RealtimeZilyMan::shadedTriangle(d.st, s.a, s.b, s.c);
        RealtimeZilyMan::renderScene(d.st);
        RealtimeZilyMan::worldEnd(d.st);
    }
}
BENCHMARK(BM_PreviewFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
