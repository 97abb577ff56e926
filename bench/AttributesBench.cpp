// Attribute reads and writes as redraws and bar moves do them, and the growth
// of every per-control store when the control ID space doubles.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "ui/base/UIAttributes.hpp"

namespace {

// Counts heap allocations, to show that a read allocates nothing.
std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
// The replacement new above allocates with malloc, so free is the match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using namespace zil;

// A scroll bar's table: its own attributes, the usual others and the
// standard four; 20 names in all.
struct BarTable {
    AttributeStores stores{64};
    UIAttributes attrs{stores};
    IdCell id = makeIdCell(17);

    BarTable() {
        for (const char* n : {"barsize", "barpos", "barrange", "selectedtabindex", "tabindex", "cursorchar",
                              "cursorcharextent", "zoom", "cornersharpness", "yellowedgesharpness",
                              "blueedgesharpness", "text", "caption", "imageup", "imagedown", "control"})
            attrs.registerInt(id, n, 0);
        attrs.registerStandard(id, std::make_shared<Attr::NIRect2D::Value>(id, IRect2D{0, 0, 200, 16}),
                               std::make_shared<Attr::NBool::Value>(id, 1),
                               std::make_shared<Attr::NString::Value>(id, "zoombar"),
                               std::make_shared<Attr::NString::Value>(id, "VuqHorizScrollBar"));
    }
};

void BM_GetPresentName(benchmark::State& state) {
    BarTable t;
    const std::string names[] = {"barpos", "barrange", "barsize", "cursorcharextent", "name"};
    std::size_t i = 0;
    long before = allocations.load();
    for (auto _ : state) {
        if (i == 4)
            benchmark::DoNotOptimize(t.attrs.get<Attr::NString>(t.id, names[i]));
        else
            benchmark::DoNotOptimize(t.attrs.get<Attr::NInt>(t.id, names[i]));
        if (++i == 5) i = 0;
    }
    state.counters["allocs/read"] =
        benchmark::Counter(double(allocations.load() - before) / double(state.iterations()));
}
BENCHMARK(BM_GetPresentName);

// ObservedValue::set of a value that changes, one listener.
void BM_ChangingIntSet(benchmark::State& state) {
    BarTable t;
    auto pos = t.attrs.get<Attr::NInt>(t.id, "barpos");
    long seen = 0;
    pos->onChanged.push([&seen](const IdCell&, const std::int32_t& v) { seen += v; });
    std::int32_t v = 0;
    for (auto _ : state) pos->set(v ^= 1);
    benchmark::DoNotOptimize(seen);
}
BENCHMARK(BM_ChangingIntSet);

// The same change written from text through the table.
void BM_ChangingIntWriteAsString(benchmark::State& state) {
    BarTable t;
    long seen = 0;
    t.attrs.get<Attr::NInt>(t.id, "barpos")->onChanged.push([&seen](const IdCell&, const std::int32_t& v) {
        seen += v;
    });
    bool odd = false;
    for (auto _ : state) t.attrs.writeAsString(t.id, "barpos", (odd = !odd) ? "1" : "0");
    benchmark::DoNotOptimize(seen);
}
BENCHMARK(BM_ChangingIntWriteAsString);

// 24 stores of 1,024 filled slots doubled to 2,048: the attribute tables and
// 23 list stores.
void BM_GrowTwentyFourStores(benchmark::State& state) {
    AttributeStores stores(1024);
    UIAttributes attrs(stores);
    std::vector<std::shared_ptr<AttributeStore<std::shared_ptr<PlainList>>>> lists;
    for (int k = 0; k < 23; ++k) lists.push_back(stores.newAttributeStore<std::shared_ptr<PlainList>>());
    for (std::int32_t id = 1; id < 1024; ++id) {
        IdCell cell = makeIdCell(id);
        attrs.registerInt(cell, "barpos", id);
        attrs.registerString(cell, "text", "label");
        for (auto& l : lists) l->at(id) = std::make_shared<PlainList>();
    }
    for (auto _ : state) {
        stores.growAttributeStores(2048);
        state.PauseTiming();
        stores.growAttributeStores(1024);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GrowTwentyFourStores)->Unit(benchmark::kMicrosecond);

}  // namespace
