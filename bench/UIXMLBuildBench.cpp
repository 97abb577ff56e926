// Building user interfaces from their descriptions in a fresh UI context
// each time, with SDL started once: the demo's own "ui.uixml" read from the
// file (target: under 10 ms), and generated descriptions of 100 to 10,000
// controls, as siblings and nested, whose time per control
// (time_per_control) should stay flat and be the same for both shapes.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "DemoResources.hpp"
#include "shell/AppConfig.hpp"
#include "shell/UILoader.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/uixml/UIXMLBuild.hpp"

namespace {

using namespace zil;

// The demo's folder is the working directory, as for the program: the image
// button's bitmaps and the file list are found relative to it.
struct InDemoDir {
    InDemoDir() {
        std::filesystem::current_path(bench::demoDir());
        if (SDL_Init(SDL_INIT_VIDEO) != 0) std::abort();
        AppConfig::load(config);
    }
    AppConfig::Cell config;
};

InDemoDir& demo() {
    static InDemoDir d;
    return d;
}

std::size_t build(const std::vector<UIXMLItem>& items) {
    UIContext ctx(demo().config);
    return UIXMLBuild::buildControl(items, ctx).size();
}

void BM_DemoDescription(benchmark::State& state) {
    demo();
    for (auto _ : state) {
        UILoader::Loaded loaded = UILoader::load();
        if (loaded.reported) state.SkipWithError("the demo's description did not read");
        benchmark::DoNotOptimize(build(loaded.items));
    }
}
BENCHMARK(BM_DemoDescription)->Unit(benchmark::kMillisecond);

// The kinds that the generated descriptions cycle through: labels, push
// buttons, bars, check boxes, text edits and framed list boxes.
constexpr std::pair<const char*, const char*> kKinds[] = {
    {"VuqTextLabel", "text='\"label\"'"},
    {"VuqPushButton", "text='\"button\"'"},
    {"VuqHorizScrollBar", "barrange='100' barsize='10'"},
    {"VuqCheckBoxView", "text='\"check\"'"},
    {"VuqTextEdit", "text='\"edit\"'"},
    {"VuqFramedListBox", "strings='[ \"a\", \"b\", \"c\" ]'"},
};

std::string control(int n, const std::string& box) {
    const auto& [cls, extra] = kKinds[n % 6];
    return "<control class='\"" + std::string(cls) + "\"' name='\"c" + std::to_string(n) +
           "\"' visible='true' boundingbox='" + box + "' " + extra + ">";
}

const char* const kWindowAndBook =
    "<control class='\"VuqNoBackgroundWindow\"' name='\"w\"' visible='true' boundingbox='{x=0,y=0,w=640,h=480}'>"
    "<control class='\"VuqTabBook\"' name='\"book\"' visible='true' boundingbox='{x=0,y=24,w=640,h=456}'>";

std::string page(int index, bool visible) {
    const std::string id = std::to_string(index);
    return "<control class='\"VuqTabBookPage\"' name='\"page" + id + "\"' visible='" + (visible ? "true" : "false") +
           "' boundingbox='{x=0,y=0,w=640,h=456}' tabindex='" + id + "'>";
}

// `count` controls on tab pages of 100 each, in a grid of 60 x 40 cells.
std::string siblings(int count) {
    std::string text = kWindowAndBook;
    for (int n = 0; n < count; ++n) {
        if (n % 100 == 0) {
            if (n > 0) text += "</control>";
            text += page(n / 100, n == 0);
        }
        text += control(n, "{x=" + std::to_string(n % 10 * 64) + ",y=" + std::to_string(n / 10 % 10 * 44) +
                               ",w=60,h=40}") +
                "</control>";
    }
    return text + "</control></control></control>";
}

// `count` controls on one page, each inside the one before, all of them
// 60 x 40 at their parent's corner.
std::string nested(int count) {
    std::string text = std::string(kWindowAndBook) + page(0, true);
    for (int n = 0; n < count; ++n) text += control(n, "{x=0,y=0,w=60,h=40}");
    for (int n = 0; n < count; ++n) text += "</control>";
    return text + "</control></control></control>";
}

enum Shape { kSiblings, kNested };
enum Phase { kBuild, kTeardown };

// Times the build (a fresh context and the description's controls) or the
// teardown (the context's destruction with all of them) alone.
void BM_GeneratedDescription(benchmark::State& state) {
    demo();
    const auto shape = static_cast<Shape>(state.range(0));
    const auto phase = static_cast<Phase>(state.range(1));
    const int count = static_cast<int>(state.range(2));
    UILoader::Loaded loaded = UILoader::read(CharSource::ofText(shape == kNested ? nested(count) : siblings(count)));
    if (loaded.reported) state.SkipWithError("generated description did not read");
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        std::optional<UIContext> ctx;
        const Clock::time_point start = Clock::now();
        ctx.emplace(demo().config);
        benchmark::DoNotOptimize(UIXMLBuild::buildControl(loaded.items, *ctx).size());
        const Clock::time_point built = Clock::now();
        ctx.reset();
        const Clock::time_point gone = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(phase == kBuild ? built - start : gone - built).count());
    }
    // Seconds per control, shown with an SI prefix.
    state.counters["time_per_control"] = benchmark::Counter(
        count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GeneratedDescription)
    ->ArgNames({"nested", "teardown", "controls"})
    ->ArgsProduct({{kSiblings, kNested}, {kBuild, kTeardown}, {100, 1000, 10000}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
