#include "mesh/SubdivisionStep.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "mesh/CountOffsets.hpp"
#include "mesh/MeshTopology.hpp"
#include "mesh/VertexRules.hpp"
#include "shell/Constants.hpp"

namespace zil::SubdivisionMesh {

namespace {

// Undirected edges filed under their lower vertex, with their new vertex
// numbers. Each vertex has room for every corner edge that could file
// there, so storing never reallocates.
class EdgeMap {
public:
    EdgeMap(const CornerTable& table, std::size_t vertexCount, std::pmr::memory_resource* mem)
        : offsets_(mem), fill_(mem), slots_(mem) {
        std::pmr::vector<std::uint32_t> counts(vertexCount, 0, mem);
        for (std::size_t f = 0; f < table.faceCount(); ++f) {
            const std::int32_t* k = table.vertex.data() + table.start[f];
            const std::uint32_t n = table.cornerCount(f);
            for (std::uint32_t i = 0; i < n; ++i) {
                const std::int32_t b = k[i + 1 < n ? i + 1 : 0];
                ++counts[static_cast<std::size_t>(std::min(k[i], b))];
            }
        }
        offsets_ = offsetsFromCounts(counts);
        fill_.assign(offsets_.begin(), offsets_.end() - 1);
        slots_.resize(offsets_.back());
    }

    // The number stored for (min(a, b), max(a, b)), or -1.
    std::int32_t lookupEdgeNumber(std::int32_t a, std::int32_t b) const {
        const auto lo = static_cast<std::size_t>(std::min(a, b));
        const std::int32_t hi = std::max(a, b);
        for (std::uint32_t p = offsets_[lo]; p < fill_[lo]; ++p)
            if (slots_[p].other == hi) return slots_[p].number;
        return -1;
    }

    void store(std::int32_t a, std::int32_t b, std::int32_t number) {
        const auto lo = static_cast<std::size_t>(std::min(a, b));
        slots_[fill_[lo]++] = {std::max(a, b), number};
    }

private:
    struct Slot {
        std::int32_t other;
        std::int32_t number;
    };
    std::pmr::vector<std::uint32_t> offsets_;
    std::pmr::vector<std::uint32_t> fill_;
    std::pmr::vector<Slot> slots_;
};

}  // namespace

ZilLValue subdivideStep(const ZilLValue& mesh, OutStream& out) {
    const MeshFieldNames& names = MeshRecord::names();
    const FieldArray meshFields = mesh.fields();
    const ValueArray vertices = getArrayField(meshFields, names.vertices, out);
    const ValueArray faces = getArrayField(meshFields, names.faces, out);
    const std::size_t nV = vertices.size();
    const std::size_t nF = faces.size();
    // The tables take some 80 bytes per corner (mostly quads: four per
    // face); a little more is asked for, so that one block serves.
    ScratchMemory<16384> scratch(96 * 4 * (nF + 1));
    std::pmr::memory_resource* mem = scratch.get();
    // Every record of the input is visited once; from here on the step works
    // on flat tables. On large meshes the records no longer fit the caches,
    // and each further pass over them would cost a miss per record.
    const CornerTable table = readCorners(faces, nV, out, mem, true);
    const std::size_t nC = table.vertex.size();
    // New vertex numbers must fit an INT: old vertices, face points and at
    // most one edge point per corner.
    if (nV + nF + nC > static_cast<std::size_t>(INT32_MAX)) throw Overflow();

    // 1. Valences, written into the input's own vertex array, with the
    // vertices' positions and sharpness read on the same visit.
    const std::pmr::vector<std::uint32_t> valence = table.valences(nV);
    std::pmr::vector<Xyz> points(nV, mem);
    std::pmr::vector<double> vertexSharpness(nV, mem);
    for (std::size_t i = 0; i < nV; ++i) {
        writeValence(vertices, i, static_cast<std::int32_t>(valence[i]), out);
        const ZilLValue& v = vertices[i];
        points[i] = readPoint(v, out);
        vertexSharpness[i] = getRealField(v.fieldSpan(), names.vertexSharpness, out);
    }
    const std::pmr::vector<double>& cornerSharpness = table.sharpness;
    const std::pmr::vector<std::int32_t>& cornerNeighbour = table.neighbour;

    // 2. Face points: the average of the face's corners.
    std::pmr::vector<Xyz> facePoints(nF, mem);
    for (std::size_t f = 0; f < nF; ++f) {
        const std::uint32_t n = table.cornerCount(f);
        if (n == 0) continue;
        Xyz sum{};
        for (std::uint32_t i = 0; i < n; ++i) sum += points[static_cast<std::size_t>(table.vertex[table.start[f] + i])];
        facePoints[f] = {sum.x / n, sum.y / n, sum.z / n};
    }

    // Entries of the vertex rule, filed per old vertex in the order made:
    // one face per corner at the vertex, and one edge per edge at it. Each
    // corner at a vertex starts one edge there and ends another, so a vertex
    // has room for twice its valence in edges.
    const std::pmr::vector<std::uint32_t> faceOffsets = offsetsFromCounts(valence);
    std::pmr::vector<std::uint32_t> vertexFaces(nC, mem);
    std::pmr::vector<std::uint32_t> faceFill(faceOffsets.begin(), faceOffsets.end() - 1, mem);
    std::pmr::vector<std::uint32_t> vertexEdges(2 * nC, mem);
    std::pmr::vector<std::uint32_t> edgeFill(nV, mem);
    for (std::size_t v = 0; v < nV; ++v) edgeFill[v] = 2 * faceOffsets[v];

    EdgeMap edgeMap(table, nV, mem);
    // Per edge, in numbering order: its point and its clamped sharpness.
    std::pmr::vector<Xyz> edgePoints(mem);
    std::pmr::vector<double> edgeSharpness(mem);
    edgePoints.reserve(nC / 2 + 1);
    edgeSharpness.reserve(nC / 2 + 1);

    const auto& ew = Constants::edgeWeights;
    const auto firstEdge = static_cast<std::int32_t>(nV + nF);

    // 3. Edge points, face by face in the order the edges are first met.
    for (std::size_t f = 0; f < nF; ++f) {
        const std::uint32_t n = table.cornerCount(f);
        if (n == 0) throw Empty();
        const std::uint32_t base = table.start[f];
        const std::int32_t* k = table.vertex.data() + base;

        for (std::uint32_t i = 0; i < n; ++i) {
            const std::int32_t a = k[i];
            const std::int32_t b = k[i + 1 < n ? i + 1 : 0];
            const auto ua = static_cast<std::size_t>(a);
            const auto ub = static_cast<std::size_t>(b);
            vertexFaces[faceFill[ua]++] = static_cast<std::uint32_t>(f);
            if (edgeMap.lookupEdgeNumber(a, b) >= 0) continue;

            const std::int32_t neighbour = cornerNeighbour[base + i];
            if (neighbour < 0 || static_cast<std::size_t>(neighbour) >= nF) throw Subscript();
            const double c = clampSharpness(cornerSharpness[base + i]);
            const Xyz& A = points[ua];
            const Xyz& B = points[ub];
            const Xyz& F1 = facePoints[f];
            const Xyz& F2 = facePoints[static_cast<std::size_t>(neighbour)];
            const Xyz mid = 0.5 * (A + B);
            Xyz e;
            if (c >= 1.0) {
                e = mid;
            } else {
                const bool regularA = valence[ua] == 4;
                const bool regularB = valence[ub] == 4;
                Xyz smooth;
                if (regularA == regularB) {
                    smooth = ew.end * (A + B) + (2.0 * ew.face) * (F1 + F2);
                } else {
                    const Xyz& R = regularA ? A : B;
                    const Xyz& O = regularA ? B : A;
                    smooth = irregularEdgePoint(4, Constants::crossWeight, F1, R, O, F2);
                }
                e = c <= 0.0 ? smooth : blend(smooth, mid, c);
            }
            const auto index = static_cast<std::uint32_t>(edgePoints.size());
            edgeMap.store(a, b, firstEdge + static_cast<std::int32_t>(index));
            vertexEdges[edgeFill[ua]++] = index;
            vertexEdges[edgeFill[ub]++] = index;
            edgePoints.push_back(e);
            edgeSharpness.push_back(c);
        }
    }

    // The new faces: one per corner, in corner order, keeping the old
    // face's orientation.
    std::size_t face = 0;
    std::uint32_t corner = 0;
    ValueArray newFaces = ValueArray::generate(nC, [&](std::size_t) {
        while (corner == table.cornerCount(face)) {
            ++face;
            corner = 0;
        }
        const std::uint32_t n = table.cornerCount(face);
        const std::uint32_t base = table.start[face];
        const std::int32_t* k = table.vertex.data() + base;
        const std::uint32_t i = corner++;
        const std::uint32_t prev = i == 0 ? n - 1 : i - 1;
        const std::uint32_t next = i + 1 < n ? i + 1 : 0;
        const std::int32_t w = k[prev];
        const std::int32_t x = k[i];
        const std::int32_t y = k[next];
        const double s0 = decaySharpness(cornerSharpness[base + prev]);
        const double s1 = decaySharpness(cornerSharpness[base + i]);
        ValueArray corners = ValueArray::generate(4, [&](std::size_t c) {
            switch (c) {
                case 0: return newCornerRecord(x, s1);
                case 1: return newCornerRecord(edgeMap.lookupEdgeNumber(x, y), 0.0);
                case 2: return newCornerRecord(static_cast<std::int32_t>(nV + face), 0.0);
                default: return newCornerRecord(edgeMap.lookupEdgeNumber(w, x), s0);
            }
        });
        return ZilLValue::RECORD(FieldArray::generate(
            1, [&](std::size_t) { return ZilLField{names.corners, ZilLValue::ARRAY(std::move(corners))}; }));
    });

    // 5. The old vertices' new positions, blended by their own sharpness;
    // then the face points and the edge points.
    std::pmr::vector<Xyz> around(mem);
    std::pmr::vector<EdgeEntry> edges(mem);
    around.reserve(16);
    edges.reserve(32);
    auto oldVertex = [&](std::size_t i) {
        const double s = vertexSharpness[i];
        const double cv = clampSharpness(s);
        const Xyz& v = points[i];
        Xyz position = v;
        if (cv < 1.0) {
            // Newest entries first, and every edge listed twice.
            around.clear();
            for (std::uint32_t p = faceOffsets[i + 1]; p > faceOffsets[i]; --p)
                around.push_back(facePoints[vertexFaces[p - 1]]);
            edges.clear();
            for (std::uint32_t p = edgeFill[i]; p > 2 * faceOffsets[i]; --p) {
                const std::uint32_t e = vertexEdges[p - 1];
                edges.push_back({edgeSharpness[e], edgePoints[e]});
            }
            const std::size_t once = edges.size();
            for (std::size_t j = 0; j < once; ++j) edges.push_back(edges[j]);
            const Xyz r = vertexPointWithSharpness(v, around, edges, Constants::vertexWeights);
            position = cv <= 0.0 ? r : blend(r, v, cv);
        }
        return newVertexRecord(position, decaySharpness(s));
    };
    ValueArray newVertices = ValueArray::generate(nV + nF + edgePoints.size(), [&](std::size_t i) {
        if (i < nV) return oldVertex(i);
        if (i < nV + nF) return newVertexRecord(facePoints[i - nV], 0.0);
        return newVertexRecord(edgePoints[i - nV - nF], 0.0);
    });

    return ZilLValue::RECORD(FieldArray{
        ZilLField{names.faces, ZilLValue::ARRAY(std::move(newFaces))},
        ZilLField{names.vertices, ZilLValue::ARRAY(std::move(newVertices))},
    });
}

}  // namespace zil::SubdivisionMesh
