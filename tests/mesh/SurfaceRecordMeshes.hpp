#pragma once
// Mesh records for the surface-output tests and benchmarks.
#include <array>
#include <cstdint>
#include <vector>

#include "mesh/DefaultCube.hpp"
#include "mesh/MeshRecord.hpp"
#include "records/ZilLValue.hpp"
#include "shell/Constants.hpp"

namespace zil::testmesh {

// A quad mesh record in array form, every vertex and corner with the given
// sharpness. With `linked`, each corner also carries the link across its
// edge, as the neighbour pass writes it.
inline ZilLValue meshRecord(const std::vector<Xyz>& points,
                            const std::vector<std::array<std::int32_t, 4>>& quads,
                            double vertexSharpness = 0.0, double edgeSharpness = 0.0, bool linked = false) {
    std::vector<ZilLListValue> vertices;
    for (const Xyz& p : points) {
        vertices.push_back(
            ZilLListValue::RECORD({{"point", ZilLListValue::RECORD({{"x", ZilLListValue::REAL(p.x)},
                                                                    {"y", ZilLListValue::REAL(p.y)},
                                                                    {"z", ZilLListValue::REAL(p.z)}})},
                                   {"vertexSharpness", ZilLListValue::REAL(vertexSharpness)}}));
    }
    std::vector<ZilLListValue> faces;
    for (const auto& q : quads) {
        std::vector<ZilLListValue> corners;
        for (std::size_t k = 0; k < 4; ++k) {
            std::vector<ZilLListField> fields{{"vertexIndex", ZilLListValue::INT(q[k])},
                                              {"edgeSharpness", ZilLListValue::REAL(edgeSharpness)}};
            if (linked) {
                std::int32_t face = -1, edge = -1;
                for (std::size_t g = 0; g < quads.size(); ++g)
                    for (std::size_t j = 0; j < 4; ++j)
                        if (quads[g][j] == q[(k + 1) & 3] && quads[g][(j + 1) & 3] == q[k]) {
                            face = static_cast<std::int32_t>(g);
                            edge = static_cast<std::int32_t>(j + 1);
                        }
                fields.emplace_back("neighborface", ZilLListValue::INT(face));
                fields.emplace_back("neighboredge", ZilLListValue::INT(edge));
            }
            corners.push_back(ZilLListValue::RECORD(std::move(fields)));
        }
        faces.push_back(ZilLListValue::RECORD({{"corners", ZilLListValue::ARRAY(std::move(corners))}}));
    }
    return convertRecordValue(ZilLListValue::RECORD({{"vertices", ZilLListValue::ARRAY(std::move(vertices))},
                                                     {"faces", ZilLListValue::ARRAY(std::move(faces))}}));
}

// The vertex positions of the demo's default cube.
inline std::vector<Xyz> defaultCubePoints() {
    std::vector<Xyz> points;
    const ZilLValue cube = DemoPage::defaultCube();
    for (const ZilLValue& v : getArrayField(cube.fields(), MeshRecord::names().vertices, stdOut()))
        points.push_back(SubdivisionMesh::readPoint(v, stdOut()));
    return points;
}

// The demo's default cube with the given sharpness everywhere.
inline ZilLValue defaultCubeRecord(double vertexSharpness = 0.0, double edgeSharpness = 0.0) {
    const std::vector<Xyz> points = defaultCubePoints();
    std::vector<std::array<std::int32_t, 4>> quads(Constants::cubeFaces.begin(), Constants::cubeFaces.end());
    return meshRecord(points, quads, vertexSharpness, edgeSharpness);
}

}  // namespace zil::testmesh
