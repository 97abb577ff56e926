#pragma once
// Flat quad meshes for the surface-output tests, linked the way the
// neighbour pass links mesh records.
#include <array>
#include <cstdint>
#include <vector>

#include "mesh/OutputGrids.hpp"
#include "records/Xyz.hpp"

namespace zil::testmesh {

struct QuadMesh {
    std::vector<Xyz> points;
    std::vector<std::array<std::int32_t, 4>> quads;
    std::vector<double> vertexSharpness;               // per vertex, may be empty
    std::vector<std::array<double, 4>> edgeSharpness;  // per face, may be empty
};

// Side-2 cube centred at the origin, faces outward.
inline QuadMesh centredCube() {
    QuadMesh m;
    m.points = {{-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1},
                {-1, 1, 1},  {-1, 1, -1},  {1, 1, -1},  {1, 1, 1}};
    m.quads = {{0, 1, 2, 3}, {0, 4, 5, 1}, {6, 5, 4, 7}, {6, 7, 3, 2}, {3, 7, 4, 0}, {5, 6, 2, 1}};
    return m;
}

// Grid faces with level-0 points, sharpness and links: the face across the
// edge from corner i to i+1 and that face's edge number, positive when it
// runs the other way along the edge, negative when the same way.
inline std::vector<GridFace> gridFaces(const QuadMesh& m) {
    std::vector<GridFace> faces(m.quads.size());
    for (std::size_t f = 0; f < m.quads.size(); ++f) {
        GridFace& face = faces[f];
        const auto& q = m.quads[f];
        for (int k = 0; k < 4; ++k) {
            const std::size_t ks = static_cast<std::size_t>(k);
            const std::int32_t a = q[ks];
            const std::int32_t b = q[(ks + 1) & 3];
            face.vertexIndex[ks] = a;
            face.vertexSharpness[ks] =
                m.vertexSharpness.empty() ? 0.0 : m.vertexSharpness[static_cast<std::size_t>(a)];
            face.edgeSharpness[ks] = m.edgeSharpness.empty() ? 0.0 : m.edgeSharpness[f][ks];
            face.neighborFace[ks] = -1;
            face.neighborEdge[ks] = -1;
            for (std::size_t g = 0; g < m.quads.size(); ++g) {
                for (std::size_t j = 0; j < 4; ++j) {
                    if (g == f && j == ks) continue;
                    const std::int32_t c = m.quads[g][j], d = m.quads[g][(j + 1) & 3];
                    if (c == b && d == a) {
                        face.neighborFace[ks] = static_cast<std::int32_t>(g);
                        face.neighborEdge[ks] = static_cast<std::int32_t>(j + 1);
                    } else if (c == a && d == b) {
                        face.neighborFace[ks] = static_cast<std::int32_t>(g);
                        face.neighborEdge[ks] = -static_cast<std::int32_t>(j + 1);
                    }
                }
            }
            const GridCell cell = cornerCell(k, 2);
            face.grid(0).at(cell.row, cell.col) = m.points[static_cast<std::size_t>(a)];
        }
    }
    return faces;
}

}  // namespace zil::testmesh
