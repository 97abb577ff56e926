// Lookup speed of string trees the size of a control's attribute table.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "shell/StringTree.hpp"

namespace {

std::vector<std::string> attributeNames() {
    return {"class",   "name",     "visible",  "boundingbox", "text",   "font",     "barpos",  "barsize",
            "barrange", "onclick", "selectedtabindex", "strings", "selection", "checked", "control", "caption",
            "zoom",    "cornersharpness", "yellowedgesharpness", "blueedgesharpness"};
}

void BM_StringTreeLookupHit(benchmark::State& state) {
    auto names = attributeNames();
    zil::StringTree<int> t;
    for (std::size_t i = 0; i < names.size(); ++i) t = t.insert(names[i], static_cast<int>(i));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t.lookup(names[i]));
        if (++i == names.size()) i = 0;
    }
}
BENCHMARK(BM_StringTreeLookupHit);

void BM_StringTreeLookupMiss(benchmark::State& state) {
    auto names = attributeNames();
    zil::StringTree<int> t;
    for (std::size_t i = 0; i < names.size(); ++i) t = t.insert(names[i], static_cast<int>(i));
    for (auto _ : state) benchmark::DoNotOptimize(t.lookup("barposition"));
}
BENCHMARK(BM_StringTreeLookupMiss);

void BM_StringTreeInsert(benchmark::State& state) {
    auto names = attributeNames();
    for (auto _ : state) {
        zil::StringTree<int> t;
        for (std::size_t i = 0; i < names.size(); ++i) t = t.insert(names[i], static_cast<int>(i));
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_StringTreeInsert);

}  // namespace
