#include <benchmark/benchmark.h>

#include <unistd.h>

#include "records/FieldAccess.hpp"
#include "records/ZilLCoordTransforms.hpp"

namespace zil {
namespace {

OutStream& sink() {
    static OutStream s(STDERR_FILENO, true);
    return s;
}

const FieldName kPoint{"point"};
const FieldName kX{"x"};
const FieldName kY{"y"};
const FieldName kZ{"z"};
const FieldName kVertexSharpness{"vertexSharpness"};
const FieldName kVertexValence{"vertexValence"};

// A vertex as the mesh holds it: point record, sharpness, valence.
ZilLValue vertex(double v) {
    FieldArray point{{kX, ZilLValue::REAL(v)}, {kY, ZilLValue::REAL(v + 1)}, {kZ, ZilLValue::REAL(v + 2)}};
    return ZilLValue::RECORD(FieldArray{{kVertexValence, ZilLValue::INT(3)},
                                        {kVertexSharpness, ZilLValue::REAL(0.5)},
                                        {kPoint, ZilLValue::RECORD(point)}});
}

void BM_FieldReadsByName(benchmark::State& state) {
    ValueArray vertices = ValueArray::generate(26, [](std::size_t i) { return vertex(static_cast<double>(i)); });
    OutStream& out = sink();
    for (auto _ : state) {
        double sum = 0.0;
        for (const ZilLValue& v : vertices) {
            const FieldArray f = v.fields();
            const FieldArray p = getRecordField(f, kPoint, out);
            sum += getRealField(p, kX, out) + getRealField(p, kY, out) + getRealField(p, kZ, out);
            sum += getRealField(f, kVertexSharpness, out) + getIntegerField(f, kVertexValence, out);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 26 * 6);
}
BENCHMARK(BM_FieldReadsByName);

void BM_SetRealFieldInPlace(benchmark::State& state) {
    ZilLValue v = vertex(1.0);
    OutStream& out = sink();
    double s = 0.0;
    for (auto _ : state) {
        FieldArray f = setRealField(v.fields(), kVertexSharpness, out, s);
        s += 0.25;
        benchmark::DoNotOptimize(f);
    }
}
BENCHMARK(BM_SetRealFieldInPlace);

void BM_PlacementListToMatrix(benchmark::State& state) {
    Placement p{{0.3, -0.2, 0.1}, {1, 2, 3}};
    OutStream& out = sink();
    for (auto _ : state) {
        TransformList l = anglesToTransformList(p);
        Matrix4x4 m = transformListToMatrix(l, out);
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_PlacementListToMatrix);

void BM_PlacementListToInverseMatrix(benchmark::State& state) {
    Placement p{{0.3, -0.2, 0.1}, {1, 2, 3}};
    OutStream& out = sink();
    TransformList l = anglesToTransformList(p);
    for (auto _ : state) {
        Matrix4x4 m = inverseTransformListToMatrix(l, out);
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_PlacementListToInverseMatrix);

}  // namespace
}  // namespace zil
