#include "mesh/VertexRules.hpp"

#include <array>
#include <cmath>

#include "records/RecordConstants.hpp"

namespace zil::SubdivisionMesh {

Xyz vertexPointWithSharpness(const Xyz& v, std::span<const Xyz> facePoints, std::span<const EdgeEntry> edges,
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
    Xyz smooth = alpha * v;
    const double halfBeta = beta * 0.5;
    std::size_t sharpEntries = 0;
    double sharpnessSum = 0.0;
    for (const EdgeEntry& e : edges) {
        smooth += halfBeta * e.point;
        if (e.sharpness > 0.0) ++sharpEntries;
        sharpnessSum += e.sharpness;
    }
    for (const Xyz& f : facePoints) smooth += gamma * f;

    const std::size_t k = sharpEntries / 2;
    if (k < 2) return smooth;  // smooth vertex, or a dart

    if (k == 2) {
        // Each crease edge is listed twice: half its weight each time.
        const auto& cw = Constants::creaseWeights;
        Xyz crease = cw.centre * v;
        for (const EdgeEntry& e : edges)
            if (e.sharpness > 0.0) crease += (cw.edge * 0.5) * e.point;
        const double a = sharpnessSum / 4.0;
        return a >= 1.0 ? crease : blend(smooth, crease, a);
    }

    const double a = sharpnessSum / static_cast<double>(2 * k);
    return a >= 1.0 ? v : blend(smooth, v, a);
}

double cornerTerm(int n) {
    // The valences met in practice come from a table made once.
    constexpr int kTable = 16;
    static const std::array<double, kTable> table = [] {
        std::array<double, kTable> t{};
        for (int i = 2; i < kTable; ++i)
            t[static_cast<std::size_t>(i)] = 0.25 * std::cos(Constants::twoPi / static_cast<double>(i - 1));
        return t;
    }();
    if (n >= 2 && n < kTable) return table[static_cast<std::size_t>(n)];
    return 0.25 * std::cos(Constants::twoPi / static_cast<double>(n - 1));
}

Xyz irregularEdgePoint(int n, double w, const Xyz& p0, const Xyz& p1, const Xyz& p2, const Xyz& p3) {
    const double t = cornerTerm(n);
    const double end = Constants::edgeWeights.end;
    return (2.0 * w) * (p0 + p3) + (end + t) * p1 + (end - t) * p2;
}

}  // namespace zil::SubdivisionMesh
