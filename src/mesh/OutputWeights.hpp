#pragma once
// The edge rule of the surface output: the cells strictly inside one edge of
// a face's finer grid, computed from the lines of points on both sides of
// the edge (this face's and the neighbour's) with the edge's sharpness.
#include <span>

#include "mesh/OutputGrids.hpp"

namespace zil::SubdivisionMesh {

// Writes the cells strictly inside edge `edge` (1..4) of face `face`'s
// level+1 grid from the level-`level` grids of the face and its neighbour
// across the edge. Needs the face's corner valences (written by the corner
// rule on level 0). A neighbour face outside `faces` raises Subscript, a
// neighbour edge outside 1..4 InconsistencyError.
void pointWeights(std::span<GridFace> faces, int face, int edge, int level);

}  // namespace zil::SubdivisionMesh
