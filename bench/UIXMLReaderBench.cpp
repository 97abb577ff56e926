// Reading generated UI descriptions of about 10 KB, 1 MB and 10 MB: the time
// per byte (time_per_byte) should stay flat as the size grows.
#include <benchmark/benchmark.h>

#include <string>

#include "ui/uixml/UIXMLReader.hpp"

namespace {

using namespace zil;

std::string description(std::size_t size) {
    std::string text = "<!-- generated description -->\n";
    for (int n = 0; text.size() < size; ++n) {
        std::string id = std::to_string(n);
        text += "<control class='\"VuqPushButton\"' name='\"button" + id +
                "\"' visible='true'\n  boundingbox='{x=1,y=2,w=300,h=40}' text='\"Press &38; go &x3C;here&62; " + id +
                "\"'>\n  <!-- child " + id + " -->\n  <alias name='\"alias" + id + "\"'>\n";
        // Every fourth control holds the next ones a level deeper.
        if (n % 4 != 3) text += "</control>\n";
    }
    return text;
}

// The text is handed out in 4,096-byte pieces, as the file reader does.
CharSource sourceOver(const std::string& text) {
    return CharSource([&text, at = std::size_t{0}]() mutable -> std::string {
        if (at >= text.size()) return {};
        std::string piece = text.substr(at, 4096);
        at += piece.size();
        return piece;
    });
}

void readAll(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        CharSource s = UIXMLReader::skipBlanks(sourceOver(text));
        std::size_t items = 0;
        for (;;) {
            UIXMLReader::ItemStep step = UIXMLReader::parseItem(s);
            if (!step.item) break;
            ++items;
            s = std::move(step.rest);
        }
        if (s.position() != static_cast<long>(text.size())) state.SkipWithError("description not read whole");
        benchmark::DoNotOptimize(items);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    // Seconds per byte, shown with an SI prefix (n = nanoseconds).
    state.counters["time_per_byte"] = benchmark::Counter(static_cast<double>(text.size()),
                                                         benchmark::Counter::kIsIterationInvariantRate |
                                                             benchmark::Counter::kInvert);
}

void BM_ReadDescription(benchmark::State& state) {
    static std::string text;
    text = description(static_cast<std::size_t>(state.range(0)));
    readAll(state, text);
}
BENCHMARK(BM_ReadDescription)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);

// One control whose value text is the whole description.
void BM_ReadOneLongValue(benchmark::State& state) {
    static std::string text;
    text = "<control v='" + std::string(static_cast<std::size_t>(state.range(0)), 'v') + "&x41;'>";
    readAll(state, text);
}
BENCHMARK(BM_ReadOneLongValue)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
