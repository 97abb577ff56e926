// One full regeneration of the preview's surface from the default cube:
// link, one subdivision step, link, validate and record the output.
#include <benchmark/benchmark.h>

#include <fcntl.h>

#include <memory>

#include "mesh/SceneObject.hpp"
#include "mesh/SharpnessEdit.hpp"
#include "mesh/SurfaceOutput.hpp"

namespace {

// The demo's cube with the corner bar at `vertexSharpness` and both edge
// bars at `edgeSharpness`: every vertex and every edge sharp alike.
zil::ZilLValue demoCube(double vertexSharpness, double edgeSharpness) {
    auto cells = std::make_shared<zil::SceneCells>();
    zil::DemoPage::initScene(*cells);
    const zil::DemoBarTargets bars = zil::DemoPage::makeBarTargets(cells, nullptr, zil::stdOut());
    bars.corner(vertexSharpness);
    bars.yellow(edgeSharpness);
    bars.blue(edgeSharpness);
    return cells->mesh;
}

void regenerateCube(benchmark::State& state, double vertexSharpness, double edgeSharpness) {
    const int fd = open("/dev/null", O_WRONLY);
    zil::OutStream report(fd, true);
    zil::RiState st;
    zil::SceneObject obj;
    zil::ZilLValue mesh = demoCube(vertexSharpness, edgeSharpness);
    for (auto _ : state) {
        zil::SubdivisionMesh::regenerate(obj, mesh, st, report);
        benchmark::DoNotOptimize(obj.definition.recordedCalls.data());
    }
    report.close();
}

void BM_RegenerateSmoothCube(benchmark::State& state) { regenerateCube(state, 0.0, 0.0); }
void BM_RegenerateSharpCube(benchmark::State& state) { regenerateCube(state, 0.6, 1.5); }

// The surface output alone (read, refine, number, triangulate, normals),
// from the linked, subdivided cube, with its storage reused.
void BM_SurfaceOfSubdividedCube(benchmark::State& state) {
    namespace sm = zil::SubdivisionMesh;
    zil::RiState st;
    zil::SceneObject obj;
    zil::ZilLValue mesh = demoCube(0.6, 1.5);
    sm::regenerate(obj, mesh, st, zil::stdOut());
    sm::SurfaceWorkspace work;
    sm::SurfaceMesh s;
    for (auto _ : state) {
        sm::readSurfaceInput(obj.surfaceMesh, zil::stdOut(), work);
        sm::refineGrids(work.input.faces, true, work);
        sm::buildSurface(work.input.faces, work.input.vertexCount, s, work);
        benchmark::DoNotOptimize(s.indices.data());
    }
}

}  // namespace

BENCHMARK(BM_RegenerateSmoothCube);
BENCHMARK(BM_RegenerateSharpCube);
BENCHMARK(BM_SurfaceOfSubdividedCube);
