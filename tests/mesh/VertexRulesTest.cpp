#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "mesh/VertexRules.hpp"

using namespace zil;
using namespace zil::SubdivisionMesh;

namespace {

void expectNear(const Xyz& a, const Xyz& b) {
    EXPECT_NEAR(a.x, b.x, 1e-12);
    EXPECT_NEAR(a.y, b.y, 1e-12);
    EXPECT_NEAR(a.z, b.z, 1e-12);
}

const auto& W = Constants::vertexWeights;

// A valence-4 vertex at the origin; every edge listed twice, as the step does.
struct Star {
    std::vector<Xyz> faces{{1, 1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}};
    std::vector<EdgeEntry> edges(std::vector<double> c) const {
        const std::vector<Xyz> points{{1, 0, 1}, {0, 1, 2}, {-1, 0, 3}, {0, -1, 4}};
        std::vector<EdgeEntry> twice;
        for (int round = 0; round < 2; ++round)
            for (std::size_t i = 0; i < 4; ++i) twice.push_back({c[i], points[i]});
        return twice;
    }
    Xyz rule(std::vector<double> c, Xyz v = {}) const { return vertexPointWithSharpness(v, faces, edges(c), W); }
};

}  // namespace

TEST(VertexRules, SmoothWeightsFollowTheValence) {
    // Valence 3: alpha 5/12, beta 1/6 per edge, gamma 1/36 per face.
    const std::vector<Xyz> faces{{0, 0, 1}, {0, 0, 0}, {0, 0, 0}};
    std::vector<EdgeEntry> edges;
    for (int round = 0; round < 2; ++round)
        for (Xyz p : {Xyz{0, 1, 0}, Xyz{}, Xyz{}}) edges.push_back({0.0, p});
    expectNear(vertexPointWithSharpness({1, 0, 0}, faces, edges, W), {5.0 / 12.0, 1.0 / 6.0, 1.0 / 36.0});
    // Valence 4: 0.5625, 0.09375, 0.015625 (face points sum to zero here).
    const Star s;
    expectNear(s.rule({0, 0, 0, 0}, {1, 0, 0}), {0.5625, 0.0, 0.09375 * 10});
    // No faces at all: the vertex stays.
    expectNear(vertexPointWithSharpness({1, 2, 3}, {}, {}, W), {1, 2, 3});
}

TEST(VertexRules, DartsCreasesAndCorners) {
    const Star s;
    const Xyz smooth = s.rule({0, 0, 0, 0});
    // One sharp edge (a dart) moves like a smooth vertex.
    expectNear(s.rule({1.0, 0, 0, 0}), smooth);
    // Two: C = 0.75 V + 0.125 (P0 + P2), blended by the mean sharpness.
    const Xyz crease{0.0, 0.0, 0.5};
    expectNear(s.rule({1.0, 0, 1.0, 0}), crease);
    expectNear(s.rule({1.0, 0, 0.5, 0}), blendPoints(smooth, crease, 0.75));
    expectNear(s.rule({0.01, 0, 0.01, 0}), blendPoints(smooth, crease, 0.01));
    // Three or more: towards the vertex itself.
    const Xyz v{0.25, 0.5, 0.75};
    expectNear(s.rule({1.0, 1.0, 1.0, 0}, v), v);
    expectNear(s.rule({0.5, 0.5, 0.5, 0.5}, v), blendPoints(s.rule({0, 0, 0, 0}, v), v, 0.5));
}

TEST(VertexRules, CubeCornerWithTwoSharpEdges) {
    // Corner (1, 1, 1) of the side-2 cube with its edges to (1, -1, 1) and
    // (-1, 1, 1) fully sharp: their new edge points are the midpoints.
    const std::vector<Xyz> faces{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    std::vector<EdgeEntry> edges;
    for (int round = 0; round < 2; ++round)
        for (EdgeEntry e : {EdgeEntry{1.0, {1, 0, 1}}, EdgeEntry{1.0, {0, 1, 1}}, EdgeEntry{0.0, {0.875, 0.875, 0}}})
            edges.push_back(e);
    expectNear(vertexPointWithSharpness({1, 1, 1}, faces, edges, W), {0.875, 0.875, 1.0});
}

TEST(VertexRules, ClampDecayAndTheCrossEdgeRule) {
    EXPECT_EQ(clampSharpness(-1.0), 0.0);
    EXPECT_EQ(clampSharpness(0.25), 0.25);
    EXPECT_EQ(clampSharpness(2.5), 1.0);
    EXPECT_EQ(clampSharpness(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(decaySharpness(2.5), 1.5);
    EXPECT_EQ(decaySharpness(1.0), 0.0);
    // n = 4: 0.125 on each face point, 0.25 on the regular end, 0.5 on the other.
    expectNear(irregularEdgePoint(4, Constants::crossWeight, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}),
               {0.25, 0.25, 0.5});
}
