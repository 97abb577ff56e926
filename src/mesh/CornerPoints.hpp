#pragma once
// The corner rule of the surface output: the new position of the mesh vertex
// at a face's corner, from the ring of all faces around that vertex, with
// the crease sharpness of the edges there and the vertex's own sharpness.
#include <span>
#include <vector>

#include "mesh/OutputGrids.hpp"
#include "mesh/VertexRules.hpp"

namespace zil::SubdivisionMesh {

// The ring around one vertex: two edge entries and one diagonal point per
// face, and the faces with the corner at which each meets the vertex, in
// walk order. Reused between calls to spare allocations.
struct CornerRing {
    struct Visit {
        int face;
        int corner;
    };
    // Storage grows but never shrinks; the first faceCount() diagonals and
    // visits and 2 * faceCount() edges belong to the last walk.
    std::vector<EdgeEntry> edgeStore;
    std::vector<Xyz> diagonalStore;
    std::vector<Visit> visitStore;
    std::size_t count = 0;

    int faceCount() const { return static_cast<int>(count); }
    std::span<const EdgeEntry> edges() const { return {edgeStore.data(), 2 * count}; }
    std::span<const Xyz> diagonals() const { return {diagonalStore.data(), count}; }
    std::span<const Visit> visits() const { return {visitStore.data(), count}; }
};

// Walks around a vertex from `startFace`, entered through its edge
// `startCode`, to the face after `stopFace`, collecting from every face's
// level-`level` grid. A face number outside `faces` raises Subscript, a code
// outside 1..4 InconsistencyError, and so does a walk that has visited as
// many faces as there are without coming back.
void cornerRing(std::span<const GridFace> faces, int level, int startFace, int startCode, int stopFace,
                CornerRing& ring);

// Writes the corner cell of corner `corner` (0..3) of face `face` in its
// level+1 grid and, on level 0, the corner's valence.
void cornerPoint(std::span<GridFace> faces, int face, int corner, int level, CornerRing& ring);

}  // namespace zil::SubdivisionMesh
