#include "mesh/VertexRules.hpp"

#include <cmath>

namespace zil::SubdivisionMesh {

namespace {

void addScaled(Xyz& acc, double w, const Xyz& p) {
    acc.x += w * p.x;
    acc.y += w * p.y;
    acc.z += w * p.z;
}

Xyz scaled(double w, const Xyz& p) { return {w * p.x, w * p.y, w * p.z}; }

}  // namespace

Xyz vertexPointWithSharpness(const Xyz& v, std::span<const Xyz> facePoints,
                             std::span<const EdgeEntry> edges,
                             const Constants::VertexWeights& weights) {
    const std::size_t n = facePoints.size();
    if (n == 0) return v;

    double alpha = weights.centre;
    double beta = weights.edge;
    double gamma = weights.face;
    if (n != 4) {
        const double rn = static_cast<double>(n);
        alpha = (1.0 - 3.0 / (rn + rn)) - 1.0 / (4.0 * rn);
        beta = (3.0 / (rn + rn)) / rn;
        gamma = (1.0 / (4.0 * rn)) / rn;
    }

    // Smooth point: every edge is listed twice, so each carries beta in all.
    Xyz smooth = scaled(alpha, v);
    const double halfBeta = beta * 0.5;
    std::size_t sharpEntries = 0;
    double sharpnessSum = 0.0;
    for (const EdgeEntry& e : edges) {
        addScaled(smooth, halfBeta, e.point);
        if (e.sharpness > 0.0) ++sharpEntries;
        sharpnessSum += e.sharpness;
    }
    for (const Xyz& f : facePoints) addScaled(smooth, gamma, f);

    const std::size_t k = sharpEntries / 2;
    if (k < 2) return smooth;  // smooth vertex, or a dart

    if (k == 2) {
        Xyz crease = scaled(0.75, v);
        for (const EdgeEntry& e : edges)
            if (e.sharpness > 0.0) addScaled(crease, 0.0625, e.point);
        const double a = sharpnessSum / 4.0;
        return a >= 1.0 ? crease : blendPoints(smooth, crease, a);
    }

    const double a = sharpnessSum / static_cast<double>(2 * k);
    return a >= 1.0 ? v : blendPoints(smooth, v, a);
}

Xyz irregularEdgePoint(int n, double w, const Xyz& p0, const Xyz& p1, const Xyz& p2,
                       const Xyz& p3) {
    const double twoPi = 6.283185307179586;
    const double t = 0.25 * std::cos(twoPi / static_cast<double>(n - 1));
    const double w1 = 0.375 + t;
    const double w2 = 0.375 - t;
    const double w0 = 2.0 * w;
    return {w0 * (p0.x + p3.x) + w1 * p1.x + w2 * p2.x,
            w0 * (p0.y + p3.y) + w1 * p1.y + w2 * p2.y,
            w0 * (p0.z + p3.z) + w1 * p1.z + w2 * p2.z};
}

}  // namespace zil::SubdivisionMesh
