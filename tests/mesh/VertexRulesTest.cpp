#include <gtest/gtest.h>

#include <vector>

#include "mesh/VertexRules.hpp"

using namespace zil;
using namespace zil::SubdivisionMesh;

namespace {

void expectNear(const Xyz& a, const Xyz& b, double eps = 1e-12) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

// Every edge twice, as the step lists them.
std::vector<EdgeEntry> twice(std::vector<EdgeEntry> once) {
    const std::size_t n = once.size();
    for (std::size_t i = 0; i < n; ++i) once.push_back(once[i]);
    return once;
}

const auto& W = Constants::vertexWeights;

// A valence-4 vertex at the origin with four edge points and face points.
struct Star {
    Xyz v{0, 0, 0};
    std::vector<Xyz> faces{{1, 1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}};
    std::vector<Xyz> edgePoints{{1, 0, 1}, {0, 1, 2}, {-1, 0, 3}, {0, -1, 4}};
    std::vector<EdgeEntry> edges(std::vector<double> c) const {
        std::vector<EdgeEntry> once;
        for (std::size_t i = 0; i < 4; ++i) once.push_back({c[i], edgePoints[i]});
        return twice(once);
    }
    // 0.09375 on each edge point, 0.015625 on each face point.
    Xyz smooth() const { return {0.0, 0.0, 0.09375 * 10}; }
};

}  // namespace

TEST(VertexRules, SmoothWeightsFollowTheValence) {
    // Valence 3: alpha 5/12, beta 1/6, gamma 1/36.
    const Xyz v{1, 0, 0};
    const std::vector<Xyz> faces{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    const std::vector<EdgeEntry> edges = twice({{0.0, {0, 0, 0}}, {0.0, {0, 0, 0}}, {0.0, {0, 0, 0}}});
    expectNear(vertexPointWithSharpness(v, faces, edges, W), {5.0 / 12.0, 0, 0});
    const std::vector<EdgeEntry> edges1 = twice({{0.0, {1, 0, 0}}, {0.0, {0, 0, 0}}, {0.0, {0, 0, 0}}});
    expectNear(vertexPointWithSharpness({0, 0, 0}, faces, edges1, W), {1.0 / 6.0, 0, 0});
    const std::vector<Xyz> faces1{{1, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    expectNear(vertexPointWithSharpness({0, 0, 0}, faces1, edges, W), {1.0 / 36.0, 0, 0});

    // Valence 4 uses the constant weights.
    const Star s;
    expectNear(vertexPointWithSharpness(s.v, s.faces, s.edges({0, 0, 0, 0}), W), s.smooth());
    expectNear(vertexPointWithSharpness({1, 0, 0}, s.faces, s.edges({0, 0, 0, 0}), W),
               {0.5625, 0.0, 0.9375});
}

TEST(VertexRules, DartMovesLikeASmoothVertex) {
    const Star s;
    expectNear(vertexPointWithSharpness(s.v, s.faces, s.edges({1.0, 0, 0, 0}), W), s.smooth());
    expectNear(vertexPointWithSharpness(s.v, s.faces, s.edges({0.3, 0, 0, 0}), W), s.smooth());
}

TEST(VertexRules, CreaseBlendsByTheMeanSharpness) {
    const Star s;
    // Sharp edges 0 and 2: C = 0.75 V + 0.125 (P0 + P2) = (0, 0, 0.5).
    const Xyz crease{0.0, 0.0, 0.5};
    expectNear(vertexPointWithSharpness(s.v, s.faces, s.edges({1.0, 0, 1.0, 0}), W), crease);
    // 1.0 and 0.5: a = 0.75.
    const Xyz smooth = s.smooth();
    expectNear(vertexPointWithSharpness(s.v, s.faces, s.edges({1.0, 0, 0.5, 0}), W),
               blendPoints(smooth, crease, 0.75));
    // Tiny sharpness is nearly smooth but still a crease.
    expectNear(vertexPointWithSharpness(s.v, s.faces, s.edges({0.01, 0, 0.01, 0}), W),
               blendPoints(smooth, crease, 0.01));
}

TEST(VertexRules, ThreeOrMoreSharpEdgesMakeACorner) {
    const Star s;
    const Xyz v{0.25, 0.5, 0.75};
    expectNear(vertexPointWithSharpness(v, s.faces, s.edges({1.0, 1.0, 1.0, 0}), W), v);
    const Xyz smooth = vertexPointWithSharpness(v, s.faces, s.edges({0, 0, 0, 0}), W);
    // a = (0.5 + 0.5 + 0.5 + 0.5) / 8 over four sharp edges.
    expectNear(vertexPointWithSharpness(v, s.faces, s.edges({0.5, 0.5, 0.5, 0.5}), W), blendPoints(smooth, v, 0.5));
}

TEST(VertexRules, CubeCornerWithTwoSharpEdges) {
    // Corner (1, 1, 1) of the side-2 cube, edges to (1, -1, 1) and (-1, 1, 1)
    // fully sharp: their new edge points are the midpoints.
    const std::vector<Xyz> faces{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const std::vector<EdgeEntry> edges =
        twice({{1.0, {1, 0, 1}}, {1.0, {0, 1, 1}}, {0.0, {0.875, 0.875, 0.0}}});
    expectNear(vertexPointWithSharpness({1, 1, 1}, faces, edges, W), {0.875, 0.875, 1.0});
}

TEST(VertexRules, LoneVertexStaysPut) {
    expectNear(vertexPointWithSharpness({1, 2, 3}, {}, {}, W), {1, 2, 3});
}

TEST(VertexRules, SharpnessClampAndDecay) {
    EXPECT_EQ(clampSharpness(-1.0), 0.0);
    EXPECT_EQ(clampSharpness(0.25), 0.25);
    EXPECT_EQ(clampSharpness(2.5), 1.0);
    EXPECT_EQ(clampSharpness(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(decaySharpness(2.5), 1.5);
    EXPECT_EQ(decaySharpness(1.0), 0.0);
    EXPECT_EQ(decaySharpness(0.5), 0.0);
}

TEST(VertexRules, IrregularEdgePointWeights) {
    // n = 4: 0.125 on each face point, 0.25 on the regular end, 0.5 on the other.
    const Xyz p = irregularEdgePoint(4, Constants::crossWeight, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0});
    expectNear(p, {0.25, 0.25, 0.5}, 1e-15);
}
