#pragma once
// The drawn surface of a subdivided mesh: every quad face refined twice more
// on its own point grids, the points numbered so that neighbouring faces
// share the points of their common edges and vertices, every grid cell split
// into two triangles, and one normal per point.
#include <cstdint>
#include <span>
#include <vector>

#include "mesh/OutputGrids.hpp"
#include "records/Xyz.hpp"
#include "records/ZilLValue.hpp"

namespace zil {
class OutStream;
}

namespace zil::SubdivisionMesh {

// Points and normals in index order, and the triangles as vertex counts
// (all 3) and vertex indices, last-handled cell first.
struct SurfaceMesh {
    std::vector<Xyz> points;
    std::vector<Xyz> normals;
    std::vector<std::int32_t> counts;
    std::vector<std::int32_t> indices;
};

// What the refinement starts from: one grid face per mesh face, and the
// number of mesh vertices (the first indices of the drawn points).
struct SurfaceInput {
    std::vector<GridFace> faces;
    std::size_t vertexCount = 0;
};

// Working storage of the surface output, kept by its owner between calls so
// that a regeneration of a mesh of the same size allocates nothing. Its
// content means nothing between calls.
struct SurfaceWorkspace {
    SurfaceInput input;
    std::vector<char> seen;
    std::vector<Xyz> points;
    std::vector<double> sharpness;
    std::vector<char> cornerDone;
    std::vector<char> edgeDone;
    std::vector<std::int32_t> edgeSlots;
    std::vector<std::int32_t> cellIndex;
    std::vector<Xyz> normalSums;
    std::vector<std::int32_t> normalCounts;
};

// Reads a linked mesh record. A face whose "corners" does not hold exactly
// four elements gets the quads-only report on `report` and is read from its
// first four corners (fewer raise Subscript). A value that is not a record
// where one is needed raises Match; vertex numbers outside "vertices" raise
// Subscript. Only the vertices that corners name are read.
SurfaceInput readSurfaceInput(const ZilLValue& mesh, OutStream& report);
// The same into `work.input`.
void readSurfaceInput(const ZilLValue& mesh, OutStream& report, SurfaceWorkspace& work);

// Reads every element of every face's "corners" again: one that is not a
// record is reported as an internal error and raises InternalError.
void checkCornerRecords(const ZilLValue& mesh, OutStream& report);

// The regular rules inside a face: fills the cells of `fine` (one level
// finer than `coarse`) off its border, leaving the border as it is.
void refineInterior(const PointGrid& coarse, const PointGrid& fine);

// Fills the level-1 and level-2 grids of every face from the level-0 grids
// and the faces' links and sharpness. The faces must be linked all round.
// With `share`, a corner or edge point computed for one face is also taken
// by the other faces that meet there (those whose links and sharpness say
// they would compute the same point) instead of being computed again.
void refineGrids(std::span<GridFace> faces, bool share = true);
void refineGrids(std::span<GridFace> faces, bool share, SurfaceWorkspace& work);

// Numbers, triangulates and gives normals to the refined faces. The first
// `vertexCount` indices are the mesh's vertices: each takes the refined
// point of its corners; one that no face uses stays the zero point, with the
// zero normal.
SurfaceMesh buildSurface(std::span<const GridFace> faces, std::size_t vertexCount);
// The same into `out`, whose vectors are refilled (their storage reused).
void buildSurface(std::span<const GridFace> faces, std::size_t vertexCount, SurfaceMesh& out,
                  SurfaceWorkspace& work);

}  // namespace zil::SubdivisionMesh
