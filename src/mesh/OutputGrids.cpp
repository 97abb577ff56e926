#include "mesh/OutputGrids.hpp"

#include "shell/Errors.hpp"

namespace zil {

Xyz& PointGrid::at(int r, int c) const {
    if (r < 0 || r >= side_ || c < 0 || c >= side_) throw Subscript();
    return cells_[r * side_ + c];
}

PointGrid GridFace::grid(int level) {
    if (level < 0 || level >= kLevels) throw Subscript();
    return PointGrid(cells.data() + offset(level), side(level));
}

}  // namespace zil
