#pragma once
// Mesh records in the default cube's layout, for the mesh tests and the
// benchmarks.
#include <cstdint>
#include <optional>
#include <vector>

#include "mesh/MeshRecord.hpp"
#include "records/Xyz.hpp"
#include "records/ZilLValue.hpp"
#include "shell/Constants.hpp"

namespace zil::testmesh {

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

// The default cube scaled by `side`: centred at the origin, same numbering.
inline ZilLValue cubeOfSide(double side, double vertexSharpness = 0.0, std::optional<double> edgeSharpness = {}) {
    std::vector<Xyz> pts;
    for (const auto& p : Constants::cubePoints) pts.push_back({p[0] * side, p[1] * side, p[2] * side});
    std::vector<Ints> faces;
    for (const auto& f : Constants::cubeFaces) faces.emplace_back(f.begin(), f.end());
    return meshRecord(pts, faces, vertexSharpness, edgeSharpness);
}

// The demo's default cube with the given sharpness everywhere.
inline ZilLValue defaultCubeRecord(double vertexSharpness = 0.0, double edgeSharpness = 0.0) {
    return cubeOfSide(1.0, vertexSharpness, edgeSharpness);
}

}  // namespace zil::testmesh
