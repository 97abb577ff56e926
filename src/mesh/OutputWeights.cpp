#include "mesh/OutputWeights.hpp"

#include <array>

#include "mesh/VertexRules.hpp"
#include "shell/Errors.hpp"

namespace zil::SubdivisionMesh {

namespace {

struct EdgeWalk {
    GridCell start;
    GridCell step;
    GridCell inward;
    int startCorner;
    int endCorner;
};

// Every edge is walked in increasing grid order.
EdgeWalk edgeWalk(int edge, int n) {
    switch (edge) {
        case 1: return {{0, 0}, {0, 1}, {1, 0}, 0, 1};
        case 2: return {{0, n - 1}, {1, 0}, {0, -1}, 1, 2};
        case 3: return {{n - 1, 0}, {0, 1}, {-1, 0}, 3, 2};
        default: return {{0, 0}, {1, 0}, {0, 1}, 0, 3};
    }
}

// Edges 1 and 2 run with the face's corner order in increasing grid order,
// edges 3 and 4 against it.
bool runsWithCorners(int edge) { return edge <= 2; }

}  // namespace

void pointWeights(std::span<GridFace> faces, int face, int edge, int level) {
    if (face < 0 || static_cast<std::size_t>(face) >= faces.size()) throw Subscript();
    if (edge < 1 || edge > 4) throw Subscript();
    GridFace& f = faces[static_cast<std::size_t>(face)];
    const PointGrid coarse = f.grid(level);
    const PointGrid fine = f.grid(level + 1);
    const int n = coarse.rows();
    const std::size_t ei = static_cast<std::size_t>(edge - 1);

    const int g = f.neighborFace[ei];
    const int ne = f.neighborEdge[ei];
    if (g < 0 || static_cast<std::size_t>(g) >= faces.size()) throw Subscript();
    if (ne < 1 || ne > 4) throw InconsistencyError();
    const PointGrid other = faces[static_cast<std::size_t>(g)].grid(level);
    const int r = other.rows();
    const int c = other.cols();

    // The neighbour's line next to the shared edge, in increasing grid
    // order. The two faces run along the edge in opposite directions, so
    // the line faces this face's walk unreversed exactly when one of the two
    // edges runs with its corner order and the other against it.
    std::array<Xyz, 3> nb;
    for (int i = 0; i < n; ++i) {
        switch (ne) {
            case 1: nb[static_cast<std::size_t>(i)] = other.cell(1, i); break;
            case 2: nb[static_cast<std::size_t>(i)] = other.cell(i, c - 2); break;
            case 3: nb[static_cast<std::size_t>(i)] = other.cell(r - 2, i); break;
            default: nb[static_cast<std::size_t>(i)] = other.cell(i, 1); break;
        }
    }
    if (runsWithCorners(edge) == runsWithCorners(ne)) std::swap(nb[0], nb[static_cast<std::size_t>(n - 1)]);

    const double s = clampSharpness(f.edgeSharpness[ei] - static_cast<double>(level));
    const EdgeWalk walk = edgeWalk(edge, n);
    const int ks = f.cornerValences[static_cast<std::size_t>(walk.startCorner)];
    const int ke = f.cornerValences[static_cast<std::size_t>(walk.endCorner)];

    const auto& vw = Constants::vertexWeights;
    const auto& ew = Constants::edgeWeights;
    const auto& cw = Constants::creaseWeights;
    const auto& scw = Constants::sharpCornerWeights;
    std::array<Xyz, 3> v;
    std::array<Xyz, 3> in;
    for (int i = 0; i < n; ++i) {
        const int row = walk.start.row + i * walk.step.row;
        const int col = walk.start.col + i * walk.step.col;
        v[static_cast<std::size_t>(i)] = coarse.cell(row, col);
        in[static_cast<std::size_t>(i)] = coarse.cell(row + walk.inward.row, col + walk.inward.col);
    }

    for (int i = 1; i < n; ++i) {
        const std::size_t a = static_cast<std::size_t>(i - 1);
        const std::size_t b = static_cast<std::size_t>(i);
        const int row = walk.start.row + i * walk.step.row;
        const int col = walk.start.col + i * walk.step.col;

        if (i >= 2) {
            // Vertex point of v[i-1], between the edge's two corners.
            const std::size_t z = static_cast<std::size_t>(i - 2);
            const Xyz smooth = vw.centre * v[a] + vw.edge * (v[z] + v[b] + nb[a] + in[a]) +
                               vw.face * (nb[z] + nb[b] + in[z] + in[b]);
            Xyz p = smooth;
            if (s > 0.0) {
                const Xyz sharp = cw.centre * v[a] + cw.edge * (v[z] + v[b]);
                p = s >= 1.0 ? sharp : blend(smooth, sharp, s);
            }
            fine.cell(2 * (row - walk.step.row), 2 * (col - walk.step.col)) = p;
        }

        // Edge point of the segment v[i-1] - v[i]: the regular rule, or the
        // rule next to a corner of valence k.
        bool cornerRule;
        bool atStart = true;
        int k = 0;
        if (n == 3) {
            cornerRule = true;
            atStart = i == 1;
            k = atStart ? ks : ke;
        } else if (ks == 4 && ke != 4) {
            cornerRule = true;
            k = ks;
        } else if (ks != 4 && ke == 4) {
            cornerRule = true;
            atStart = false;
            k = ke;
        } else {
            cornerRule = false;
        }
        const Xyz wings = nb[a] + nb[b] + in[a] + in[b];
        Xyz smooth;
        Xyz sharp;
        if (cornerRule) {
            const Xyz& x = atStart ? v[a] : v[b];
            const Xyz& y = atStart ? v[b] : v[a];
            const double t = cornerTerm(k);
            smooth = (ew.end + t) * x + (ew.end - t) * y + ew.face * wings;
            sharp = k == 4 ? 0.5 * (x + y) : scw.corner * x + scw.other * y;
        } else {
            smooth = ew.end * (v[a] + v[b]) + ew.face * wings;
            sharp = 0.5 * (v[a] + v[b]);
        }
        const Xyz p = s <= 0.0 ? smooth : s >= 1.0 ? sharp : blend(smooth, sharp, s);
        fine.cell(2 * row - walk.step.row, 2 * col - walk.step.col) = p;
    }
}

}  // namespace zil::SubdivisionMesh
