#include "mesh/SurfaceOutput.hpp"

#include <cmath>
#include <limits>

#include "mesh/CornerPoints.hpp"
#include "mesh/OutputWeights.hpp"
#include "records/FieldAccess.hpp"
#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"

namespace zil::SubdivisionMesh {

namespace {

inline Xyz sub(const Xyz& a, const Xyz& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Xyz cross(const Xyz& a, const Xyz& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline bool hasLength(const Xyz& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z) > 0.0; }

// The regular rules inside a face, on the cells off the fine grid's border.
void refineInterior(const PointGrid& coarse, const PointGrid& fine) {
    const int m = fine.rows();
    for (int r = 1; r < m - 1; ++r) {
        for (int c = 1; c < m - 1; ++c) {
            Xyz& out = fine.cell(r, c);
            const bool rOdd = (r & 1) != 0;
            const bool cOdd = (c & 1) != 0;
            if (rOdd && cOdd) {
                const Xyz& a = coarse.cell((r - 1) / 2, (c - 1) / 2);
                const Xyz& b = coarse.cell((r - 1) / 2, (c + 1) / 2);
                const Xyz& d = coarse.cell((r + 1) / 2, (c + 1) / 2);
                const Xyz& e = coarse.cell((r + 1) / 2, (c - 1) / 2);
                out = {0.25 * (a.x + b.x + d.x + e.x), 0.25 * (a.y + b.y + d.y + e.y),
                       0.25 * (a.z + b.z + d.z + e.z)};
            } else if (rOdd != cOdd) {
                // Edge point: two ends along the segment, four wings beside it.
                Xyz e0, e1, w0, w1, w2, w3;
                if (!rOdd) {
                    const int cr = r / 2, c0 = (c - 1) / 2, c1 = (c + 1) / 2;
                    e0 = coarse.cell(cr, c0);
                    e1 = coarse.cell(cr, c1);
                    w0 = coarse.cell(cr - 1, c0);
                    w1 = coarse.cell(cr - 1, c1);
                    w2 = coarse.cell(cr + 1, c0);
                    w3 = coarse.cell(cr + 1, c1);
                } else {
                    const int cc = c / 2, r0 = (r - 1) / 2, r1 = (r + 1) / 2;
                    e0 = coarse.cell(r0, cc);
                    e1 = coarse.cell(r1, cc);
                    w0 = coarse.cell(r0, cc - 1);
                    w1 = coarse.cell(r1, cc - 1);
                    w2 = coarse.cell(r0, cc + 1);
                    w3 = coarse.cell(r1, cc + 1);
                }
                out = {0.375 * e0.x + 0.375 * e1.x + 0.0625 * w0.x + 0.0625 * w1.x + 0.0625 * w2.x + 0.0625 * w3.x,
                       0.375 * e0.y + 0.375 * e1.y + 0.0625 * w0.y + 0.0625 * w1.y + 0.0625 * w2.y + 0.0625 * w3.y,
                       0.375 * e0.z + 0.375 * e1.z + 0.0625 * w0.z + 0.0625 * w1.z + 0.0625 * w2.z + 0.0625 * w3.z};
            } else {
                // Vertex point of a coarse point inside the face: valence 4.
                const int cr = r / 2, cc = c / 2;
                const Xyz& v = coarse.cell(cr, cc);
                const Xyz& n0 = coarse.cell(cr - 1, cc);
                const Xyz& n1 = coarse.cell(cr, cc + 1);
                const Xyz& n2 = coarse.cell(cr + 1, cc);
                const Xyz& n3 = coarse.cell(cr, cc - 1);
                const Xyz& d0 = coarse.cell(cr - 1, cc - 1);
                const Xyz& d1 = coarse.cell(cr - 1, cc + 1);
                const Xyz& d2 = coarse.cell(cr + 1, cc + 1);
                const Xyz& d3 = coarse.cell(cr + 1, cc - 1);
                auto at = [&](double Xyz::*m) {
                    return 0.5625 * (v.*m) + 0.09375 * (n0.*m + n1.*m + n2.*m + n3.*m) +
                           0.015625 * (d0.*m + d1.*m + d2.*m + d3.*m);
                };
                out = {at(&Xyz::x), at(&Xyz::y), at(&Xyz::z)};
            }
        }
    }
}

struct MeshNames {
    FieldName vertices{"vertices"};
    FieldName faces{"faces"};
    FieldName corners{"corners"};
    FieldName vertexIndex{"vertexIndex"};
    FieldName neighborface{"neighborface"};
    FieldName neighboredge{"neighboredge"};
    FieldName edgeSharpness{"edgeSharpness"};
    FieldName vertexSharpness{"vertexSharpness"};
    FieldName point{"point"};
    FieldName x{"x"};
    FieldName y{"y"};
    FieldName z{"z"};
};

const MeshNames& names() {
    static const MeshNames n;
    return n;
}

Xyz readPoint(const FieldArray& vertex, const MeshNames& n, OutStream& out) {
    const FieldArray p = getRecordField(vertex, n.point, out);
    return {getRealField(p, n.x, out), getRealField(p, n.y, out), getRealField(p, n.z, out)};
}

}  // namespace

SurfaceInput readSurfaceInput(const ZilLValue& mesh, OutStream& report) {
    const MeshNames& n = names();
    const FieldArray meshFields = mesh.fields();
    const ValueArray vertices = getArrayField(meshFields, n.vertices, report);
    const ValueArray faces = getArrayField(meshFields, n.faces, report);

    SurfaceInput in;
    in.faces.resize(faces.size());
    in.vertexPoints.resize(vertices.size());
    std::vector<char> seen(vertices.size(), 0);
    std::vector<double> sharpness(vertices.size(), 0.0);
    for (std::size_t f = 0; f < faces.size(); ++f) {
        GridFace& face = in.faces[f];
        const ValueArray corners = getArrayField(faces[f].fields(), n.corners, report);
        if (corners.size() != 4) {
            outputString(report, "Error: A Catmull-Clark subdivision mesh can only have quads!\n");
            report.flush();
        }
        const PointGrid level0 = face.grid(0);
        for (int k = 0; k < 4; ++k) {
            const std::size_t ks = static_cast<std::size_t>(k);
            const FieldArray corner = corners.at(ks).fields();
            const std::int32_t vi = getIntegerField(corner, n.vertexIndex, report);
            if (vi < 0) throw Subscript();
            const std::size_t v = static_cast<std::size_t>(vi);
            if (v >= vertices.size()) throw Subscript();
            // Each vertex record is read once, however many corners use it.
            if (!seen[v]) {
                const FieldArray vertex = vertices[v].fields();
                in.vertexPoints[v] = readPoint(vertex, n, report);
                sharpness[v] = getRealField(vertex, n.vertexSharpness, report);
                seen[v] = 1;
            }
            const GridCell cell = cornerCell(k, 2);
            level0.cell(cell.row, cell.col) = in.vertexPoints[v];
            face.vertexIndex[ks] = vi;
            face.vertexSharpness[ks] = sharpness[v];
            face.neighborFace[ks] = getIntegerField(corner, n.neighborface, report);
            face.neighborEdge[ks] = getIntegerField(corner, n.neighboredge, report);
            face.edgeSharpness[ks] = getRealField(corner, n.edgeSharpness, report);
        }
    }
    // A vertex that no face uses keeps its own position.
    for (std::size_t v = 0; v < vertices.size(); ++v)
        if (!seen[v]) in.vertexPoints[v] = readPoint(vertices[v].fields(), n, report);
    return in;
}

void checkCornerRecords(const ZilLValue& mesh, OutStream& report) {
    const MeshNames& n = names();
    const ValueArray faces = getArrayField(mesh.fields(), n.faces, report);
    for (const ZilLValue& face : faces) {
        const ValueArray corners = getArrayField(face.fields(), n.corners, report);
        for (const ZilLValue& corner : corners) {
            if (!corner.isRecord()) {
                reportInternalError("record match error:", "wrapInRECORD", report);
                throw InternalError();
            }
        }
    }
}

void refineGrids(std::span<GridFace> faces) {
    CornerRing ring;
    ring.edges.reserve(16);
    ring.diagonals.reserve(8);
    const int faceCount = static_cast<int>(faces.size());
    for (int level = 0; level < 2; ++level) {
        for (int f = 0; f < faceCount; ++f) {
            for (int k = 0; k < 4; ++k) cornerPoint(faces, f, k, level, ring);
            GridFace& face = faces[static_cast<std::size_t>(f)];
            refineInterior(face.grid(level), face.grid(level + 1));
            for (int e = 1; e <= 4; ++e) pointWeights(faces, f, e, level);
        }
    }
}

SurfaceMesh buildSurface(std::span<const GridFace> faces, std::span<const Xyz> vertexPoints) {
    constexpr int kSide = 5;
    constexpr int kInner = kSide - 2;
    const std::size_t faceCount = faces.size();
    const std::size_t vertexCount = vertexPoints.size();

    // Edge cells are numbered once for both faces of their edge: slot
    // (face, edge, position) holds the index given, or -1.
    std::vector<std::int32_t> edgeSlots(faceCount * 4 * kInner, -1);
    std::vector<std::int32_t> cellIndex(faceCount * kSide * kSide);

    SurfaceMesh out;
    out.points.assign(vertexPoints.begin(), vertexPoints.end());
    out.points.reserve(vertexCount + faceCount * (kInner * kInner + 2 * kInner));
    auto nextIndex = [&out]() -> std::int32_t {
        if (out.points.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            throw Overflow();
        return static_cast<std::int32_t>(out.points.size());
    };

    for (std::size_t f = 0; f < faceCount; ++f) {
        const GridFace& face = faces[f];
        const PointGrid grid = face.grid(2);
        std::int32_t* idx = &cellIndex[f * kSide * kSide];
        for (int r = 0; r < kSide; ++r) {
            for (int c = 0; c < kSide; ++c) {
                const Xyz& p = grid.cell(r, c);
                const bool rowEdge = r == 0 || r == kSide - 1;
                const bool colEdge = c == 0 || c == kSide - 1;
                std::int32_t index;
                if (rowEdge && colEdge) {
                    const int corner = r == 0 ? (c == 0 ? 0 : 1) : (c == 0 ? 3 : 2);
                    index = face.vertexIndex[static_cast<std::size_t>(corner)];
                    if (index < 0 || static_cast<std::size_t>(index) >= vertexCount) throw Subscript();
                    out.points[static_cast<std::size_t>(index)] = p;
                } else if (rowEdge || colEdge) {
                    const int e = r == 0 ? 1 : c == kSide - 1 ? 2 : r == kSide - 1 ? 3 : 4;
                    const int pos = (e == 1 || e == 3) ? c - 1 : r - 1;
                    const std::size_t ei = static_cast<std::size_t>(e - 1);
                    const int g = face.neighborFace[ei];
                    const int n = face.neighborEdge[ei];
                    const int an = n < 0 ? -n : n;
                    if (g < 0 || static_cast<std::size_t>(g) >= faceCount || an < 1 || an > 4)
                        throw Subscript();
                    const int mirror = kInner - 1 - pos;
                    std::int32_t& own = edgeSlots[(f * 4 + ei) * kInner + static_cast<std::size_t>(an >= 3 ? mirror : pos)];
                    if (own >= 0) {
                        index = own;
                    } else {
                        index = nextIndex();
                        out.points.push_back(p);
                        own = index;
                        const bool samePos = n >= 3 || n == -1 || n == -2;
                        edgeSlots[(static_cast<std::size_t>(g) * 4 + static_cast<std::size_t>(an - 1)) * kInner +
                                  static_cast<std::size_t>(samePos ? pos : mirror)] = index;
                    }
                } else {
                    index = nextIndex();
                    out.points.push_back(p);
                }
                idx[r * kSide + c] = index;
            }
        }
    }

    // Triangles: each cell's pair goes in front of the cells before it, so
    // the last cell comes first; the facet normals feed the point normals.
    const std::size_t pointCount = out.points.size();
    const std::size_t cellCount = faceCount * (kSide - 1) * (kSide - 1);
    out.counts.assign(cellCount * 2, 3);
    out.indices.resize(cellCount * 6);
    std::vector<Xyz> normalSums(pointCount);
    std::vector<std::int32_t> normalCounts(pointCount, 0);
    constexpr int half = kSide / 2;

    std::size_t cellNo = 0;
    for (std::size_t f = 0; f < faceCount; ++f) {
        const PointGrid grid = faces[f].grid(2);
        const std::int32_t* idx = &cellIndex[f * kSide * kSide];
        for (int r = 0; r < kSide - 1; ++r) {
            for (int c = 0; c < kSide - 1; ++c, ++cellNo) {
                const Xyz& pa = grid.cell(r, c);
                const Xyz& pb = grid.cell(r, c + 1);
                const Xyz& pc = grid.cell(r + 1, c + 1);
                const Xyz& pd = grid.cell(r + 1, c);
                Xyz normal = cross(sub(pa, pb), sub(pc, pb));
                if (!hasLength(normal)) {
                    normal = cross(sub(pb, pc), sub(pd, pc));
                    if (!hasLength(normal)) normal = {};
                }
                const std::int32_t a = idx[r * kSide + c];
                const std::int32_t b = idx[r * kSide + c + 1];
                const std::int32_t cc = idx[(r + 1) * kSide + c + 1];
                const std::int32_t d = idx[(r + 1) * kSide + c];
                const bool alongAC = (r <= half && c <= half) || (r > half && c > half);
                const std::int32_t tri[6] = {alongAC ? a : b, alongAC ? b : cc, alongAC ? cc : d,
                                             a,               alongAC ? cc : b, d};
                std::int32_t* slot = &out.indices[(cellCount - 1 - cellNo) * 6];
                for (int i = 0; i < 6; ++i) {
                    slot[i] = tri[i];
                    Xyz& s = normalSums[static_cast<std::size_t>(tri[i])];
                    s.x += normal.x;
                    s.y += normal.y;
                    s.z += normal.z;
                    ++normalCounts[static_cast<std::size_t>(tri[i])];
                }
            }
        }
    }

    out.normals.resize(pointCount);
    for (std::size_t i = 0; i < pointCount; ++i) {
        if (normalCounts[i] == 0) continue;
        const double n = static_cast<double>(normalCounts[i]);
        out.normals[i] = {normalSums[i].x / n, normalSums[i].y / n, normalSums[i].z / n};
    }
    return out;
}

}  // namespace zil::SubdivisionMesh
