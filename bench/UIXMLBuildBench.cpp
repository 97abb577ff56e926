// Building user interfaces from their descriptions in a fresh UI context
// each time, with SDL started once: the demo's own "ui.uixml" read from the
// file (target: under 10 ms), and generated descriptions of 100 to 10,000
// controls, whose time per control (time_per_control) should stay flat.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <filesystem>
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

// `count` controls on tab pages of 100 each, cycling through labels, push
// buttons, bars, check boxes, text edits and framed list boxes.
std::string generated(int count) {
    std::string text =
        "<control class='\"VuqNoBackgroundWindow\"' name='\"w\"' visible='true' boundingbox='{x=0,y=0,w=640,h=480}'>"
        "<control class='\"VuqTabBook\"' name='\"book\"' visible='true' boundingbox='{x=0,y=24,w=640,h=456}'>";
    static const std::pair<const char*, const char*> kinds[] = {
        {"VuqTextLabel", "text='\"label\"'"},
        {"VuqPushButton", "text='\"button\"'"},
        {"VuqHorizScrollBar", "barrange='100' barsize='10'"},
        {"VuqCheckBoxView", "text='\"check\"'"},
        {"VuqTextEdit", "text='\"edit\"'"},
        {"VuqFramedListBox", "strings='[ \"a\", \"b\", \"c\" ]'"},
    };
    for (int n = 0; n < count; ++n) {
        std::string id = std::to_string(n);
        if (n % 100 == 0) {
            if (n > 0) text += "</control>";
            text += "<control class='\"VuqTabBookPage\"' name='\"page" + id + "\"' visible='" +
                    (n == 0 ? "true" : "false") + "' boundingbox='{x=0,y=0,w=640,h=456}' tabindex='" +
                    std::to_string(n / 100) + "'>";
        }
        const auto& [cls, extra] = kinds[n % 6];
        text += "<control class='\"" + std::string(cls) + "\"' name='\"c" + id +
                "\"' visible='true' boundingbox='{x=" + std::to_string(n % 10 * 64) +
                ",y=" + std::to_string(n / 10 % 10 * 44) + ",w=60,h=40}' " + extra + "></control>";
    }
    return text + "</control></control></control>";
}

void BM_GeneratedDescription(benchmark::State& state) {
    demo();
    const int count = static_cast<int>(state.range(0));
    UILoader::Loaded loaded = UILoader::read(CharSource::ofText(generated(count)));
    if (loaded.reported) state.SkipWithError("generated description did not read");
    for (auto _ : state) benchmark::DoNotOptimize(build(loaded.items));
    // Seconds per control, shown with an SI prefix.
    state.counters["time_per_control"] = benchmark::Counter(
        count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GeneratedDescription)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
