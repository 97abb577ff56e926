#pragma once
// The point grids on which the surface output refines every quad face of the
// subdivided mesh, two levels deep. Each face keeps its own 2 x 2, 3 x 3 and
// 5 x 5 grids plus the corner and edge data the refinement rules read.
//
// Orientation, n points per side: corner 0 is cell (0, 0), corner 1 is
// (0, n-1), corner 2 is (n-1, n-1), corner 3 is (n-1, 0). Edge 1 is row 0,
// edge 2 column n-1, edge 3 row n-1, edge 4 column 0; edge k+1 runs from
// corner k to corner k+1.
#include <array>
#include <cstdint>

#include "records/Xyz.hpp"

namespace zil {

// A square grid of points in row-major order: a view on a face's storage.
class PointGrid {
public:
    PointGrid(Xyz* cells, int side) : cells_(cells), side_(side) {}

    int rows() const { return side_; }
    int cols() const { return side_; }

    // Cell (r, c); outside the grid raises Subscript.
    Xyz& at(int r, int c) const;
    // Cell (r, c) for positions the rules derive from the grid size itself.
    Xyz& cell(int r, int c) const { return cells_[r * side_ + c]; }

private:
    Xyz* cells_;
    int side_;
};

struct GridFace {
    static constexpr int kLevels = 3;
    // Points per side at each level: 2^L + 1.
    static constexpr int side(int level) { return (1 << level) + 1; }

    // Level L's cells start at offset(L): 4 + 9 + 25 points in all.
    static constexpr int offset(int level) { return level == 0 ? 0 : level == 1 ? 4 : 13; }

    // The grid of one level; a level outside 0..2 raises Subscript.
    PointGrid grid(int level) {
        if (level < 0 || level >= kLevels) throwBadLevel();
        return PointGrid(cells.data() + offset(level), side(level));
    }
    PointGrid grid(int level) const { return const_cast<GridFace*>(this)->grid(level); }
    [[noreturn]] static void throwBadLevel();

    std::array<Xyz, 38> cells{};
    // Number of faces around each corner's vertex, by corner number; written
    // by the corner rule on the first level, read by the edge rules.
    std::array<std::int32_t, 4> cornerValences{};
    // Per corner k: its vertex and that vertex's sharpness; per edge k+1
    // (index k): its sharpness and its neighbour link.
    std::array<std::int32_t, 4> vertexIndex{};
    std::array<double, 4> vertexSharpness{};
    std::array<double, 4> edgeSharpness{};
    std::array<std::int32_t, 4> neighborFace{};
    std::array<std::int32_t, 4> neighborEdge{};
};

// Cell of corner k (0..3) in a grid of n points per side.
struct GridCell {
    int row;
    int col;
};
constexpr GridCell cornerCell(int corner, int n) {
    switch (corner) {
        case 0: return {0, 0};
        case 1: return {0, n - 1};
        case 2: return {n - 1, n - 1};
        default: return {n - 1, 0};
    }
}

}  // namespace zil
