// Cost of one subdivision step as the mesh grows: time per face should stay
// flat from the cube (6 faces) to the cube after six steps (24,576 faces).
#include <benchmark/benchmark.h>

#include "mesh/DefaultCube.hpp"
#include "mesh/MeshTopology.hpp"
#include "mesh/SharpnessEdit.hpp"
#include "mesh/SubdivisionStep.hpp"
#include "shell/OutStream.hpp"

using namespace zil;

namespace {

// The default cube after `steps` steps, linked and ready for the next one.
ZilLValue cubeAfter(int steps) {
    OutStream& out = stdOut();
    ZilLValue mesh = DemoPage::defaultCube();
    SubdivisionMesh::linkNeighbours(mesh, out);
    for (int i = 0; i < steps; ++i) {
        mesh = SubdivisionMesh::subdivideStep(mesh, out);
        SubdivisionMesh::linkNeighbours(mesh, out);
    }
    return mesh;
}

std::size_t faceCount(const ZilLValue& mesh) {
    return getArrayField(mesh.fields(), MeshRecord::names().faces, stdOut()).size();
}

void perFace(benchmark::State& state, std::size_t faces) {
    state.counters["faces"] = static_cast<double>(faces);
    state.counters["per_face"] = benchmark::Counter(static_cast<double>(faces),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_SubdivideStep(benchmark::State& state) {
    const ZilLValue mesh = cubeAfter(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(SubdivisionMesh::subdivideStep(mesh, stdOut()));
    perFace(state, faceCount(mesh));
}
BENCHMARK(BM_SubdivideStep)->Arg(0)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMicrosecond);

void BM_LinkNeighbours(benchmark::State& state) {
    const ZilLValue mesh = cubeAfter(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(SubdivisionMesh::linkNeighbours(mesh, stdOut()));
    perFace(state, faceCount(mesh));
}
BENCHMARK(BM_LinkNeighbours)->Arg(0)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMicrosecond);

void BM_CollectEdges(benchmark::State& state) {
    const ZilLValue mesh = cubeAfter(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(SubdivisionMesh::collectEdges(mesh, stdOut()));
    perFace(state, faceCount(mesh));
}
BENCHMARK(BM_CollectEdges)->Arg(0)->Arg(4)->Unit(benchmark::kMicrosecond);

// The mesh part of one regeneration of the demo cube: link, step, link.
void BM_LinkStepLinkCube(benchmark::State& state) {
    const ZilLValue cube = DemoPage::defaultCube();
    for (auto _ : state) {
        SubdivisionMesh::linkNeighbours(cube, stdOut());
        ZilLValue next = SubdivisionMesh::subdivideStep(cube, stdOut());
        benchmark::DoNotOptimize(SubdivisionMesh::linkNeighbours(next, stdOut()));
    }
}
BENCHMARK(BM_LinkStepLinkCube)->Unit(benchmark::kMicrosecond);

// The mesh part of one bar move: the edit, then link, step and link again
// as the preview's regeneration does.
void BM_BarMoveOnCube(benchmark::State& state) {
    auto cells = std::make_shared<SceneCells>();
    DemoPage::initScene(*cells);
    const DemoBarTargets targets = DemoPage::makeBarTargets(cells, nullptr, stdOut());
    double v = 0.0;
    for (auto _ : state) {
        targets.blue(v);
        v = v > 3.0 ? 0.0 : v + 0.25;
        SubdivisionMesh::linkNeighbours(cells->mesh, stdOut());
        ZilLValue next = SubdivisionMesh::subdivideStep(cells->mesh, stdOut());
        benchmark::DoNotOptimize(SubdivisionMesh::linkNeighbours(next, stdOut()));
    }
}
BENCHMARK(BM_BarMoveOnCube)->Unit(benchmark::kMicrosecond);

}  // namespace
