#pragma once
// The vertex rules of a subdivision step: smooth vertex, dart, crease and
// corner, blended by the sharpness of the edges at the vertex. The rules work
// on the points the step has just made around the vertex (its new face points
// and new edge points), not on the old neighbouring vertices.
#include <span>

#include "records/Xyz.hpp"
#include "shell/Constants.hpp"

namespace zil::SubdivisionMesh {

// One edge at a vertex: its sharpness clamped to [0, 1] and its point.
struct EdgeEntry {
    double sharpness;
    Xyz point;
};

// s clamped to [0, 1]; a value that is not a number counts as 0.0.
inline double clampSharpness(double s) {
    if (!(s > 0.0)) return 0.0;
    return s >= 1.0 ? 1.0 : s;
}

// The sharpness handed to the next level: s - 1.0 above 1.0, else 0.0.
inline double decaySharpness(double s) { return s > 1.0 ? s - 1.0 : 0.0; }

// The rule point of a vertex at `v`. `facePoints` holds one point per face
// corner at the vertex; `edges` holds every edge at the vertex twice. A
// vertex that no face refers to keeps its position.
Xyz vertexPointWithSharpness(const Xyz& v, std::span<const Xyz> facePoints, std::span<const EdgeEntry> edges,
                             const Constants::VertexWeights& weights);

// The edge point next to an end of valence n: 2w on each of p0 and p3, and
// 3/8 +- 1/4 cos(2 pi / (n - 1)) on p1 and p2.
Xyz irregularEdgePoint(int n, double w, const Xyz& p0, const Xyz& p1, const Xyz& p2, const Xyz& p3);

// 1/4 cos(2 pi / (n - 1)): what the edge rule next to an end of valence n
// moves from the far end to the near one.
double cornerTerm(int n);

}  // namespace zil::SubdivisionMesh
