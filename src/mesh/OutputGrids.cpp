#include "mesh/OutputGrids.hpp"

#include "shell/Errors.hpp"

namespace zil {

Xyz& PointGrid::at(int r, int c) const {
    if (r < 0 || r >= side_ || c < 0 || c >= side_) throw Subscript();
    return cells_[r * side_ + c];
}

void GridFace::throwBadLevel() { throw Subscript(); }

}  // namespace zil
