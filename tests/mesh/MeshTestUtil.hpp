#pragma once
// Reading and editing mesh records in the mesh tests.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>
#include <string_view>

#include "mesh/DefaultCube.hpp"
#include "mesh/MeshTopology.hpp"
#include "mesh/SharpnessEdit.hpp"
#include "mesh/SurfaceOutput.hpp"
#include "records/Capture.hpp"
#include "shell/Constants.hpp"

namespace zil::test {

using Ints = std::vector<std::int32_t>;

// Every vertex gets `vertexSharpness`; with `edgeSharpness`, every corner
// carries that "edgeSharpness" too.
inline ZilLValue meshRecord(const std::vector<Xyz>& points, const std::vector<Ints>& faces,
                            double vertexSharpness = 0.0, std::optional<double> edgeSharpness = {}) {
    using L = ZilLListValue;
    const MeshFieldNames& n = MeshRecord::names();
    std::vector<L> vs, fs;
    for (const Xyz& p : points)
        vs.push_back(L::RECORD({{n.point, L::RECORD({{n.x, L::REAL(p.x)}, {n.y, L::REAL(p.y)}, {n.z, L::REAL(p.z)}})},
                                {n.vertexSharpness, L::REAL(vertexSharpness)}}));
    for (const Ints& face : faces) {
        std::vector<L> cs;
        for (std::int32_t v : face) {
            std::vector<ZilLListField> c{{n.vertexIndex, L::INT(v)}};
            if (edgeSharpness) c.emplace_back(n.edgeSharpness, L::REAL(*edgeSharpness));
            cs.push_back(L::RECORD(std::move(c)));
        }
        fs.push_back(L::RECORD({{n.corners, L::ARRAY(std::move(cs))}}));
    }
    return convertRecordValue(L::RECORD({{n.vertices, L::ARRAY(std::move(vs))}, {n.faces, L::ARRAY(std::move(fs))}}));
}

// The default cube's points scaled by `side` (centred at the origin) and its faces.
inline std::vector<Xyz> cubePoints(double side) {
    std::vector<Xyz> pts;
    for (const auto& p : Constants::cubePoints) pts.push_back({p[0] * side, p[1] * side, p[2] * side});
    return pts;
}
inline std::vector<Ints> cubeFaceList() {
    std::vector<Ints> faces;
    for (const auto& f : Constants::cubeFaces) faces.emplace_back(f.begin(), f.end());
    return faces;
}
inline ZilLValue cubeOfSide(double side, double vertexSharpness = 0.0, std::optional<double> edgeSharpness = {}) {
    return meshRecord(cubePoints(side), cubeFaceList(), vertexSharpness, edgeSharpness);
}

using Names = std::vector<std::string_view>;
inline const MeshFieldNames& N() { return MeshRecord::names(); }

inline ValueArray vertices(const ZilLValue& m) { return findField(m.fields(), N().vertices)->value.elements(); }
inline ValueArray faces(const ZilLValue& m) { return findField(m.fields(), N().faces)->value.elements(); }
inline ValueArray corners(const ZilLValue& m, std::size_t f) {
    return findField(faces(m)[f].fields(), N().corners)->value.elements();
}
inline FieldArray corner(const ZilLValue& m, std::size_t f, std::size_t k) { return corners(m, f)[k].fields(); }
inline FieldArray vertex(const ZilLValue& m, std::size_t i) { return vertices(m)[i].fields(); }

// A missing field reads -1 (int) or 0.0 (real).
inline std::int32_t intOf(const FieldArray& fs, FieldName n) {
    return findField(fs, n) ? findField(fs, n)->value.asInt() : -1;
}
inline double realOf(const FieldArray& fs, FieldName n) {
    return findField(fs, n) ? findField(fs, n)->value.asReal() : 0.0;
}
inline Names fieldNames(const FieldArray& fields) {
    Names names;
    for (const ZilLField& f : fields) names.push_back(f.name.str());
    return names;
}
inline Ints faceVertices(const ZilLValue& m, std::size_t f) {
    Ints vs;
    for (const ZilLValue& c : corners(m, f)) vs.push_back(intOf(c.fields(), N().vertexIndex));
    return vs;
}
inline Xyz pointOf(const ZilLValue& m, std::size_t i) {
    Capture cap;
    return SubdivisionMesh::readPoint(vertices(m)[i], cap.out());
}

// Sets a real field of record i of `records` (a vertex or corner array).
inline void setReal(const ValueArray& records, std::size_t i, FieldName name, double s) {
    Capture cap;
    records.set(i, ZilLValue::RECORD(setRealField(records[i].fields(), name, cap.out(), s)));
}
// Sets "edgeSharpness" on both corners that start edge (a, b).
inline void sharpenEdge(const ZilLValue& m, std::int32_t a, std::int32_t b, double s) {
    for (std::size_t f = 0; f < faces(m).size(); ++f) {
        const Ints vs = faceVertices(m, f);
        for (std::size_t k = 0; k < vs.size(); ++k) {
            const std::int32_t q = vs[(k + 1) % vs.size()];
            if ((vs[k] == a && q == b) || (vs[k] == b && q == a)) setReal(corners(m, f), k, N().edgeSharpness, s);
        }
    }
}

// The grid faces of the mesh, linked.
inline SubdivisionMesh::SurfaceInput surfaceInput(const ZilLValue& mesh) {
    Capture cap;
    return SubdivisionMesh::readSurfaceInput(SubdivisionMesh::linkNeighbours(mesh, cap.out()), cap.out());
}

inline bool near(const Xyz& a, const Xyz& b, double eps = 1e-12) {
    return std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps && std::fabs(a.z - b.z) <= eps;
}
inline void expectNear(const Xyz& a, const Xyz& b) {
    EXPECT_TRUE(near(a, b)) << a.x << " " << a.y << " " << a.z << " vs " << b.x << " " << b.y << " " << b.z;
}
inline Xyz mid(const Xyz& a, const Xyz& b) { return 0.5 * (a + b); }

struct CountingRedraw : PreviewRedraw {
    int calls = 0;
    void redrawPreview() override { ++calls; }
};

}  // namespace zil::test
