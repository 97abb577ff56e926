#include "mesh/SurfaceOutput.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "mesh/CornerPoints.hpp"
#include "mesh/MeshRecord.hpp"
#include "mesh/OutputWeights.hpp"
#include "records/FieldAccess.hpp"
#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"

namespace zil::SubdivisionMesh {

namespace {

// |v| > 0, without the root.
inline bool hasLength(const Xyz& v) { return dot(v, v) > 0.0; }

}  // namespace

void refineInterior(const PointGrid& coarse, const PointGrid& fine) {
    const auto& ew = Constants::edgeWeights;
    const auto& vw = Constants::vertexWeights;
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
                out = 0.25 * (a + b + d + e);
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
                out = ew.end * e0 + ew.end * e1 + ew.face * w0 + ew.face * w1 + ew.face * w2 + ew.face * w3;
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
                out = vw.centre * v + vw.edge * (n0 + n1 + n2 + n3) + vw.face * (d0 + d1 + d2 + d3);
            }
        }
    }
}

SurfaceInput readSurfaceInput(const ZilLValue& mesh, OutStream& report) {
    SurfaceWorkspace work;
    readSurfaceInput(mesh, report, work);
    return std::move(work.input);
}

void readSurfaceInput(const ZilLValue& mesh, OutStream& report, SurfaceWorkspace& work) {
    const MeshFieldNames& n = MeshRecord::names();
    const FieldArray meshFields = mesh.fields();
    const ValueArray vertices = getArrayField(meshFields, n.vertices, report);
    const ValueArray faces = getArrayField(meshFields, n.faces, report);

    // Every field of a face is written below, so reused faces need no reset.
    SurfaceInput& in = work.input;
    in.faces.resize(faces.size());
    in.vertexCount = vertices.size();
    std::vector<char>& seen = work.seen;
    seen.assign(vertices.size(), 0);
    std::vector<Xyz>& points = work.points;
    points.resize(vertices.size());
    std::vector<double>& sharpness = work.sharpness;
    sharpness.resize(vertices.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        GridFace& face = in.faces[f];
        const ValueArray corners = getArrayField(faces[f].fieldSpan(), n.corners, report);
        if (corners.size() != 4) {
            printMessage(report, "Error: A Catmull-Clark subdivision mesh can only have quads!\n");
        }
        const PointGrid level0 = face.grid(0);
        for (int k = 0; k < 4; ++k) {
            const std::size_t ks = static_cast<std::size_t>(k);
            const FieldSpan corner = corners.at(ks).fieldSpan();
            const std::int32_t vi = getIntegerField(corner, n.vertexIndex, report);
            if (vi < 0) throw Subscript();
            const std::size_t v = static_cast<std::size_t>(vi);
            if (v >= vertices.size()) throw Subscript();
            // Each vertex record is read once, however many corners use it.
            if (!seen[v]) {
                points[v] = readPoint(vertices[v], report);
                sharpness[v] = getRealField(vertices[v].fieldSpan(), n.vertexSharpness, report);
                seen[v] = 1;
            }
            const GridCell cell = cornerCell(k, 2);
            level0.cell(cell.row, cell.col) = points[v];
            face.vertexIndex[ks] = vi;
            face.vertexSharpness[ks] = sharpness[v];
            face.neighborFace[ks] = getIntegerField(corner, n.neighborface, report);
            face.neighborEdge[ks] = getIntegerField(corner, n.neighboredge, report);
            face.edgeSharpness[ks] = getRealField(corner, n.edgeSharpness, report);
        }
    }
}

void checkCornerRecords(const ZilLValue& mesh, OutStream& report) {
    const MeshFieldNames& n = MeshRecord::names();
    const ValueArray faces = getArrayField(mesh.fields(), n.faces, report);
    for (const ZilLValue& face : faces) {
        const ValueArray corners = getArrayField(face.fields(), n.corners, report);
        for (const ZilLValue& corner : corners) {
            if (!corner.isRecord()) {
                reportInternalError("record match error:", "wrapInRECORD", report);
                throw InternalError();
            }
            // Read like every other corner field, so a "vertexIndex" of the
            // wrong kind is reported here too.
            getIntegerField(corner.fields(), n.vertexIndex, report);
        }
    }
}

namespace {

// Cell p, in increasing grid order, of edge e of a grid of m points a side.
Xyz& edgeCell(const PointGrid& g, int e, int p) {
    const int m = g.rows();
    switch (e) {
        case 1: return g.cell(0, p);
        case 2: return g.cell(p, m - 1);
        case 3: return g.cell(m - 1, p);
        default: return g.cell(p, 0);
    }
}

// The corner cell just written for corner k of face f holds the new point of
// the vertex there; every other face of the ring meets the same vertex and
// would compute the same point, so it takes it (and the valence) as well.
void shareCorner(std::span<GridFace> faces, int f, int k, int level, const CornerRing& ring,
                 std::vector<char>& done) {
    const GridFace& face = faces[static_cast<std::size_t>(f)];
    const std::size_t ks = static_cast<std::size_t>(k);
    const GridCell fc = cornerCell(k, GridFace::side(level + 1));
    const Xyz p = face.grid(level + 1).cell(fc.row, fc.col);
    for (const CornerRing::Visit& v : ring.visits()) {
        GridFace& other = faces[static_cast<std::size_t>(v.face)];
        const std::size_t c = static_cast<std::size_t>(v.corner);
        char& flag = done[static_cast<std::size_t>(v.face) * 4 + c];
        if (flag || other.vertexIndex[c] != face.vertexIndex[ks] ||
            !(other.vertexSharpness[c] == face.vertexSharpness[ks]))
            continue;
        const GridCell oc = cornerCell(v.corner, GridFace::side(level + 1));
        other.grid(level + 1).cell(oc.row, oc.col) = p;
        if (level == 0) other.cornerValences[c] = ring.faceCount();
        flag = 1;
    }
}

// The cells just written inside edge e of face f are those the neighbour
// would compute for its side of the edge when it links back with the same
// sharpness and sees the same corner valences; it takes them as well.
void shareEdge(std::span<GridFace> faces, int f, int e, int level, std::vector<char>& done) {
    const GridFace& face = faces[static_cast<std::size_t>(f)];
    const std::size_t ei = static_cast<std::size_t>(e - 1);
    const int g = face.neighborFace[ei];
    const int n = face.neighborEdge[ei];
    GridFace& other = faces[static_cast<std::size_t>(g)];
    const std::size_t ni = static_cast<std::size_t>(n - 1);
    char& flag = done[static_cast<std::size_t>(g) * 4 + ni];
    if (flag || other.neighborFace[ni] != f || other.neighborEdge[ni] != e ||
        !(other.edgeSharpness[ni] == face.edgeSharpness[ei]))
        return;
    // Grid-order ends of each edge: corners (0, 1), (1, 2), (3, 2), (0, 3).
    static constexpr int kEnds[4][2] = {{0, 1}, {1, 2}, {3, 2}, {0, 3}};
    const bool same = (e <= 2) != (n <= 2);
    const int fs = face.cornerValences[static_cast<std::size_t>(kEnds[ei][0])];
    const int fe = face.cornerValences[static_cast<std::size_t>(kEnds[ei][1])];
    const int gs = other.cornerValences[static_cast<std::size_t>(kEnds[ni][0])];
    const int ge = other.cornerValences[static_cast<std::size_t>(kEnds[ni][1])];
    if (same ? (fs != gs || fe != ge) : (fs != ge || fe != gs)) return;
    const PointGrid from = face.grid(level + 1);
    const PointGrid to = other.grid(level + 1);
    const int m = from.rows();
    for (int p = 1; p < m - 1; ++p) edgeCell(to, n, same ? p : m - 1 - p) = edgeCell(from, e, p);
    flag = 1;
}

}  // namespace

void refineGrids(std::span<GridFace> faces, bool share) {
    SurfaceWorkspace work;
    refineGrids(faces, share, work);
}

void refineGrids(std::span<GridFace> faces, bool share, SurfaceWorkspace& work) {
    // Each face would compute the points of its corners and edges on its
    // own, and the faces meeting there would agree only up to rounding. With
    // `share` every such point is computed once and copied to the other
    // faces, so the faces on both sides of an edge refine from and draw the
    // very same bits: the surface stays watertight to the bit.
    CornerRing ring;
    const int faceCount = static_cast<int>(faces.size());
    // Corners and edges already filled from a neighbour's computation.
    std::vector<char>& cornerDone = work.cornerDone;
    std::vector<char>& edgeDone = work.edgeDone;
    for (int level = 0; level < 2; ++level) {
        cornerDone.assign(faces.size() * 4, 0);
        edgeDone.assign(faces.size() * 4, 0);
        for (int f = 0; f < faceCount; ++f) {
            const std::size_t base = static_cast<std::size_t>(f) * 4;
            for (int k = 0; k < 4; ++k) {
                if (cornerDone[base + static_cast<std::size_t>(k)]) continue;
                cornerPoint(faces, f, k, level, ring);
                if (share) shareCorner(faces, f, k, level, ring, cornerDone);
            }
            GridFace& face = faces[static_cast<std::size_t>(f)];
            refineInterior(face.grid(level), face.grid(level + 1));
            for (int e = 1; e <= 4; ++e) {
                if (edgeDone[base + static_cast<std::size_t>(e - 1)]) continue;
                pointWeights(faces, f, e, level);
                if (share) shareEdge(faces, f, e, level, edgeDone);
            }
        }
    }
}

namespace {

// What each cell of the 5 x 5 grid is, in row-major order: a corner (which:
// its number), a cell strictly inside an edge (which: edge - 1; pos: its
// place along the edge in grid order) or an interior cell.
struct CellPlace {
    enum Kind : std::uint8_t { Corner, Edge, Interior };
    Kind kind;
    std::uint8_t which;
    std::uint8_t pos;
};

constexpr std::array<CellPlace, 25> kCellPlaces = [] {
    std::array<CellPlace, 25> t{};
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 5; ++c) {
            CellPlace& p = t[static_cast<std::size_t>(r * 5 + c)];
            const bool rowEdge = r == 0 || r == 4;
            const bool colEdge = c == 0 || c == 4;
            if (rowEdge && colEdge) {
                p = {CellPlace::Corner,
                     static_cast<std::uint8_t>(r == 0 ? (c == 0 ? 0 : 1) : (c == 0 ? 3 : 2)), 0};
            } else if (rowEdge || colEdge) {
                const int e = r == 0 ? 1 : c == 4 ? 2 : r == 4 ? 3 : 4;
                const int pos = (e == 1 || e == 3) ? c - 1 : r - 1;
                p = {CellPlace::Edge, static_cast<std::uint8_t>(e - 1), static_cast<std::uint8_t>(pos)};
            } else {
                p = {CellPlace::Interior, 0, 0};
            }
        }
    }
    return t;
}();

}  // namespace

SurfaceMesh buildSurface(std::span<const GridFace> faces, std::size_t vertexCount) {
    SurfaceMesh out;
    SurfaceWorkspace work;
    buildSurface(faces, vertexCount, out, work);
    return out;
}

void buildSurface(std::span<const GridFace> faces, std::size_t vertexCount, SurfaceMesh& out,
                  SurfaceWorkspace& work) {
    constexpr int kSide = 5;
    constexpr int kInner = kSide - 2;
    const std::size_t faceCount = faces.size();

    // Edge cells are numbered once for both faces of their edge: slot
    // (face, edge, position) holds the index given, or -1.
    std::vector<std::int32_t>& edgeSlots = work.edgeSlots;
    edgeSlots.assign(faceCount * 4 * kInner, -1);
    std::vector<std::int32_t>& cellIndex = work.cellIndex;
    cellIndex.resize(faceCount * kSide * kSide);

    // At most 9 interior and 12 edge points per face come on top of the
    // vertices; the list is cut to the number given at the end.
    const std::size_t maxPoints = vertexCount + faceCount * (kInner * kInner + 4 * kInner);
    if (maxPoints > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) throw Overflow();
    // The vertices' entries are the zero point until a corner writes them.
    out.points.resize(maxPoints);
    std::fill_n(out.points.begin(), vertexCount, Xyz{});
    std::int32_t next = static_cast<std::int32_t>(vertexCount);

    for (std::size_t f = 0; f < faceCount; ++f) {
        const GridFace& face = faces[f];
        const PointGrid grid = face.grid(2);
        std::int32_t* idx = &cellIndex[f * kSide * kSide];

        // Per edge: this face's slots and the neighbour's, and whether each
        // runs along the edge mirrored against the grid order.
        std::int32_t* ownSlots[4];
        std::int32_t* otherSlots[4];
        bool ownMirrored[4];
        bool otherMirrored[4];
        for (std::size_t ei = 0; ei < 4; ++ei) {
            const int g = face.neighborFace[ei];
            const int n = face.neighborEdge[ei];
            const int an = n < 0 ? -n : n;
            if (g < 0 || static_cast<std::size_t>(g) >= faceCount || an < 1 || an > 4) throw Subscript();
            ownSlots[ei] = &edgeSlots[(f * 4 + ei) * kInner];
            otherSlots[ei] =
                &edgeSlots[(static_cast<std::size_t>(g) * 4 + static_cast<std::size_t>(an - 1)) * kInner];
            ownMirrored[ei] = an >= 3;
            otherMirrored[ei] = !(n >= 3 || n == -1 || n == -2);
        }

        for (int cell = 0; cell < kSide * kSide; ++cell) {
            const CellPlace place = kCellPlaces[static_cast<std::size_t>(cell)];
            const Xyz& p = grid.cell(cell / kSide, cell % kSide);
            std::int32_t index;
            if (place.kind == CellPlace::Corner) {
                index = face.vertexIndex[place.which];
                if (index < 0 || static_cast<std::size_t>(index) >= vertexCount) throw Subscript();
                out.points[static_cast<std::size_t>(index)] = p;
            } else if (place.kind == CellPlace::Edge) {
                const std::size_t ei = place.which;
                const int pos = place.pos;
                const int mirror = kInner - 1 - pos;
                std::int32_t& own = ownSlots[ei][ownMirrored[ei] ? mirror : pos];
                if (own >= 0) {
                    index = own;
                } else {
                    index = next++;
                    out.points[static_cast<std::size_t>(index)] = p;
                    own = index;
                    otherSlots[ei][otherMirrored[ei] ? mirror : pos] = index;
                }
            } else {
                index = next++;
                out.points[static_cast<std::size_t>(index)] = p;
            }
            idx[cell] = index;
        }
    }
    out.points.resize(static_cast<std::size_t>(next));

    // Triangles: each cell's pair goes in front of the cells before it, so
    // the last cell comes first; the facet normals feed the point normals.
    const std::size_t pointCount = out.points.size();
    const std::size_t cellCount = faceCount * (kSide - 1) * (kSide - 1);
    out.counts.assign(cellCount * 2, 3);
    out.indices.resize(cellCount * 6);
    std::vector<Xyz>& normalSums = work.normalSums;
    normalSums.assign(pointCount, Xyz{});
    std::vector<std::int32_t>& normalCounts = work.normalCounts;
    normalCounts.assign(pointCount, 0);
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
                Xyz normal = cross(pa - pb, pc - pb);
                if (!hasLength(normal)) {
                    normal = cross(pb - pc, pd - pc);
                    if (!hasLength(normal)) normal = {};
                }
                const std::int32_t a = idx[r * kSide + c];
                const std::int32_t b = idx[r * kSide + c + 1];
                const std::int32_t cc = idx[(r + 1) * kSide + c + 1];
                const std::int32_t d = idx[(r + 1) * kSide + c];
                const bool alongAC = (r <= half && c <= half) || (r > half && c > half);
                const std::int32_t tri[6] = {
                    alongAC ? a : b, alongAC ? b : cc, alongAC ? cc : d, a, alongAC ? cc : b, d};
                std::int32_t* slot = &out.indices[(cellCount - 1 - cellNo) * 6];
                for (int i = 0; i < 6; ++i) slot[i] = tri[i];
                // Both triangles carry the cell's normal: the ends of the
                // diagonal take it twice, the other two corners once.
                const std::int32_t twice0 = alongAC ? a : b, twice1 = alongAC ? cc : d;
                const std::int32_t once0 = alongAC ? b : cc, once1 = alongAC ? d : a;
                const Xyz doubled = 2.0 * normal;
                auto add = [&](std::int32_t index, const Xyz& n, std::int32_t times) {
                    normalSums[static_cast<std::size_t>(index)] += n;
                    normalCounts[static_cast<std::size_t>(index)] += times;
                };
                add(twice0, doubled, 2);
                add(twice1, doubled, 2);
                add(once0, normal, 1);
                add(once1, normal, 1);
            }
        }
    }

    out.normals.resize(pointCount);
    for (std::size_t i = 0; i < pointCount; ++i) {
        if (normalCounts[i] == 0) {
            out.normals[i] = {};
            continue;
        }
        const double n = static_cast<double>(normalCounts[i]);
        out.normals[i] = {normalSums[i].x / n, normalSums[i].y / n, normalSums[i].z / n};
    }
}

}  // namespace zil::SubdivisionMesh
