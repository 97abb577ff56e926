// Cost of one subdivision step as the mesh grows: time per face should stay
// flat from the cube (6 faces) to the cube after six steps (24,576 faces).
// Beside it, the bytes of record nodes per face of the mesh stepped: what a
// large step has to read and, four times over, write.
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

// Bytes of the record nodes under `v`, each rounded up to the 8-byte size
// classes the nodes are pooled in.
std::size_t recordBytes(const ZilLValue& v) {
    auto node = [](std::size_t header, std::size_t slots) { return (header + slots + 7) / 8 * 8; };
    std::size_t bytes = 0;
    if (v.isRecord()) {
        const auto fields = v.fieldSpan();
        if (!fields.empty()) bytes += node(sizeof(detail::ArrayNode<ZilLField>), fields.size() * sizeof(ZilLField));
        for (const ZilLField& f : fields) bytes += recordBytes(f.value);
    } else if (v.isArray()) {
        const auto elements = v.elementSpan();
        if (!elements.empty())
            bytes += node(sizeof(detail::ArrayNode<ZilLValue>), elements.size() * sizeof(ZilLValue));
        for (const ZilLValue& e : elements) bytes += recordBytes(e);
    }
    return bytes;
}

void perFace(benchmark::State& state, const ZilLValue& mesh) {
    const std::size_t faces = faceCount(mesh);
    state.counters["record_bytes_per_face"] = static_cast<double>(recordBytes(mesh)) / static_cast<double>(faces);
    state.counters["faces"] = static_cast<double>(faces);
    state.counters["per_face"] = benchmark::Counter(static_cast<double>(faces),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_SubdivideStep(benchmark::State& state) {
    const ZilLValue mesh = cubeAfter(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(SubdivisionMesh::subdivideStep(mesh, stdOut()));
    perFace(state, mesh);
}
BENCHMARK(BM_SubdivideStep)->Arg(0)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMicrosecond);

void BM_LinkNeighbours(benchmark::State& state) {
    const ZilLValue mesh = cubeAfter(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(SubdivisionMesh::linkNeighbours(mesh, stdOut()));
    perFace(state, mesh);
}
BENCHMARK(BM_LinkNeighbours)->Arg(0)->Arg(2)->Arg(4)->Arg(6)->Unit(benchmark::kMicrosecond);

void BM_CollectEdges(benchmark::State& state) {
    const ZilLValue mesh = cubeAfter(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(SubdivisionMesh::collectEdges(mesh, stdOut()));
    perFace(state, mesh);
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
