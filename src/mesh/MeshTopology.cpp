#include "mesh/MeshTopology.hpp"

#include <algorithm>
#include <limits>

#include "mesh/CountOffsets.hpp"

namespace zil::SubdivisionMesh {

namespace {

// One directed edge from a start vertex: where it ends and which corner of
// which face starts it.
struct DirectedEdge {
    std::int32_t end;
    std::int32_t corner;
    std::int32_t face;
};

// Where a corner keeps its links: both fields absent, each present once, or
// any other shape.
enum class LinkShape { Fresh, Linked, Other };
struct LinkFields {
    LinkShape shape;
    std::size_t faceAt;
    std::size_t edgeAt;
};

LinkFields linkFieldsOf(FieldSpan fields, const MeshFieldNames& n) {
    std::size_t faces = 0, edges = 0, faceAt = 0, edgeAt = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == n.neighborface) {
            ++faces;
            faceAt = i;
        } else if (fields[i].name == n.neighboredge) {
            ++edges;
            edgeAt = i;
        }
    }
    if (faces == 0 && edges == 0) return {LinkShape::Fresh, 0, 0};
    if (faces == 1 && edges == 1) return {LinkShape::Linked, faceAt, edgeAt};
    return {LinkShape::Other, 0, 0};
}

// A mesh's vertex array and its corner table.
struct MeshCorners {
    ValueArray vertices;
    CornerTable table;
};

MeshCorners readMeshCorners(const ZilLValue& mesh, OutStream& out, std::pmr::memory_resource* mem) {
    const MeshFieldNames& n = MeshRecord::names();
    const FieldArray meshFields = mesh.fields();
    ValueArray vertices = getArrayField(meshFields, n.vertices, out);
    const ValueArray faces = getArrayField(meshFields, n.faces, out);
    CornerTable table = readCorners(faces, vertices.size(), out, mem);
    return {std::move(vertices), std::move(table)};
}

}  // namespace

CornerTable readCorners(const ValueArray& faces, std::size_t vertexCount, OutStream& out,
                        std::pmr::memory_resource* mem, bool edges) {
    const MeshFieldNames& n = MeshRecord::names();
    CornerTable t(mem);
    const std::size_t nF = faces.size();
    t.corners.reserve(nF);
    t.start.reserve(nF + 1);
    t.vertex.reserve(nF * 4);
    if (edges) {
        t.sharpness.reserve(nF * 4);
        t.neighbour.reserve(nF * 4);
    }
    for (const ZilLValue& face : faces) {
        t.start.push_back(static_cast<std::uint32_t>(t.vertex.size()));
        ValueArray corners = getArrayField(face.fieldSpan(), n.corners, out);
        for (const ZilLValue& corner : corners) {
            const FieldSpan fields = corner.fieldSpan();
            const std::int32_t v = getIntegerField(fields, n.vertexIndex, out);
            if (v < 0 || static_cast<std::size_t>(v) >= vertexCount) throw Subscript();
            t.vertex.push_back(v);
            if (edges) {
                t.sharpness.push_back(getRealField(fields, n.edgeSharpness, out));
                t.neighbour.push_back(getIntegerField(fields, n.neighborface, out));
            }
        }
        if (t.vertex.size() > std::numeric_limits<std::uint32_t>::max()) throw Size();
        t.corners.push_back(std::move(corners));
    }
    t.start.push_back(static_cast<std::uint32_t>(t.vertex.size()));
    return t;
}

std::pmr::vector<std::uint32_t> CornerTable::valences(std::size_t vertexCount) const {
    std::pmr::vector<std::uint32_t> count(vertexCount, 0, vertex.get_allocator());
    for (std::int32_t v : vertex) ++count[static_cast<std::size_t>(v)];
    return count;
}

void writeValence(const ValueArray& vertices, std::size_t i, std::int32_t valence, OutStream& out) {
    const FieldArray old = vertices[i].fields();
    FieldArray fields = setIntegerField(old, MeshRecord::names().vertexValence, out, valence);
    // A valence set in place leaves the same record in the slot.
    if (!fields.sameArray(old)) vertices.set(i, ZilLValue::RECORD(std::move(fields)));
}

void setValences(const ZilLValue& mesh, OutStream& out) {
    ScratchMemory<4096> scratch;
    const MeshCorners read = readMeshCorners(mesh, out, scratch.get());
    const std::pmr::vector<std::uint32_t> count = read.table.valences(read.vertices.size());
    for (std::size_t i = 0; i < read.vertices.size(); ++i)
        writeValence(read.vertices, i, static_cast<std::int32_t>(count[i]), out);
}

ZilLValue linkNeighbours(const ZilLValue& mesh, OutStream& out) {
    const MeshFieldNames& n = MeshRecord::names();
    ScratchMemory<8192> scratch;
    std::pmr::memory_resource* mem = scratch.get();
    const MeshCorners read = readMeshCorners(mesh, out, mem);
    const std::size_t nV = read.vertices.size();
    const CornerTable& table = read.table;
    if (table.vertex.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
        table.faceCount() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw Overflow();

    // Directed edges grouped by start vertex, in the order met. Every corner
    // starts exactly one edge, so the groups' sizes are the valences.
    const std::pmr::vector<std::uint32_t> offsets = offsetsFromCounts(table.valences(nV));
    std::pmr::vector<DirectedEdge> entries(table.vertex.size(), mem);
    std::pmr::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1, mem);
    for (std::size_t f = 0; f < table.faceCount(); ++f) {
        const std::int32_t* k = table.vertex.data() + table.start[f];
        const std::uint32_t cn = table.cornerCount(f);
        std::uint32_t prev = cn - 1;
        for (std::uint32_t i = 0; i < cn; ++i) {
            const auto from = static_cast<std::size_t>(k[prev]);
            entries[fill[from]++] = {k[i], static_cast<std::int32_t>(prev), static_cast<std::int32_t>(f)};
            prev = i;
        }
    }

    // The links, worked out on the flat tables first. Each corner is
    // written only while its own start vertex is handled, and a later write
    // wins, so a corner ends linked to the last partner found. Handling a
    // vertex visits its edges newest first, stably sorted by end vertex;
    // first every corner is linked to each older corner running the same
    // way along its edge (negative edge number), then to each corner
    // running the opposite way, those taken newest first from the other
    // end's edges. The last write of each kind is thus the oldest such
    // partner, and an opposite partner overrides a same-way one; that is
    // what is worked out here, with the number of writes.
    std::pmr::vector<std::int32_t> linkFace(table.vertex.size(), -1, mem);
    std::pmr::vector<std::int32_t> linkEdge(table.vertex.size(), -1, mem);
    std::pmr::vector<std::uint32_t> writes(table.vertex.size(), 0, mem);
    const DirectedEdge* const all = entries.data();
    const std::uint32_t* const group = offsets.data();
    const std::uint32_t* const faceStart = table.start.data();
    for (std::size_t v = 0; v < nV; ++v) {
        const DirectedEdge* const first = all + group[v];
        const DirectedEdge* const last = all + group[v + 1];
        for (const DirectedEdge* e = first; e != last; ++e) {
            // Scanned backwards, so that the last match kept is the oldest;
            // without branches on the matches, which are hard to predict.
            std::uint32_t count = 0;
            const DirectedEdge* target = nullptr;
            for (const DirectedEdge* p = e; p != first;) {
                --p;
                const bool match = p->end == e->end;
                target = match ? p : target;
                count += match ? 1 : 0;
            }
            const auto other = static_cast<std::size_t>(e->end);
            const DirectedEdge* opposite = nullptr;
            for (const DirectedEdge *p = all + group[other + 1], *begin = all + group[other]; p != begin;) {
                --p;
                const bool match = p->end == static_cast<std::int32_t>(v);
                opposite = match ? p : opposite;
                count += match ? 1 : 0;
            }
            if (!target && !opposite) continue;
            const std::size_t c = faceStart[static_cast<std::size_t>(e->face)] + static_cast<std::size_t>(e->corner);
            if (opposite) {
                linkFace[c] = opposite->face;
                linkEdge[c] = opposite->corner + 1;
            } else {
                linkFace[c] = target->face;
                linkEdge[c] = -(target->corner + 1);
            }
            writes[c] = count;
        }
    }

    std::pmr::vector<LinkFields> shapes(mem);
    shapes.reserve(8);
    // Then the records, face by face so that memory is walked in order:
    // every corner starts unlinked (fields set, appended when absent, and
    // the corner stored back), then gets its link replaced in place, once
    // per partner found as the walk above met them.
    for (std::size_t f = 0; f < table.faceCount(); ++f) {
        const ValueArray& corners = table.corners[f];
        // The common shapes take a short way to the same records: a fresh
        // corner (as a subdivision step makes them) gets both fields
        // appended at once, a linked one gets its two fields overwritten;
        // neither shape can cause a report. Any other shape in the face
        // takes the full sequence of writes below. The shapes stay valid
        // while the face is written: neither way renames a field.
        const std::size_t cn = corners.size();
        shapes.clear();
        bool plain = true;
        for (std::size_t c = 0; c < cn && plain; ++c) {
            shapes.push_back(linkFieldsOf(corners[c].fieldSpan(), n));
            plain = shapes.back().shape != LinkShape::Other;
        }
        if (plain) {
            for (std::size_t c = 0; c < cn; ++c) {
                const std::size_t at = table.start[f] + c;
                const LinkFields& found = shapes[c];
                if (found.shape == LinkShape::Linked) {
                    const FieldArray fields = corners[c].fields();
                    fields.set(found.faceAt, ZilLField{n.neighborface, ZilLValue::INT(linkFace[at])});
                    fields.set(found.edgeAt, ZilLField{n.neighboredge, ZilLValue::INT(linkEdge[at])});
                    continue;
                }
                const FieldSpan fields = corners[c].fieldSpan();
                const std::size_t size = fields.size();
                if (size + 2 > kMaxArrayLength) throw Size();
                FieldArray linked = FieldArray::generate(size + 2, [&](std::size_t i) {
                    if (i < size) return fields[i];
                    return i == size ? ZilLField{n.neighborface, ZilLValue::INT(linkFace[at])}
                                     : ZilLField{n.neighboredge, ZilLValue::INT(linkEdge[at])};
                });
                corners.set(c, ZilLValue::RECORD(std::move(linked)));
            }
            continue;
        }
        for (std::size_t c = 0; c < corners.size(); ++c) {
            FieldArray fields = setIntegerField(corners[c].fields(), n.neighborface, out, -1);
            corners.set(c, ZilLValue::RECORD(std::move(fields)));
        }
        for (std::size_t c = 0; c < corners.size(); ++c) {
            FieldArray fields = setIntegerField(corners[c].fields(), n.neighboredge, out, -1);
            corners.set(c, ZilLValue::RECORD(std::move(fields)));
        }
        for (std::size_t c = 0; c < corners.size(); ++c) {
            const std::size_t at = table.start[f] + c;
            if (writes[at] == 0) continue;
            const FieldArray fields = corners[c].fields();
            for (std::uint32_t w = 0; w < writes[at]; ++w) {
                replaceIntegerField(fields, n.neighborface, out, linkFace[at]);
                replaceIntegerField(fields, n.neighboredge, out, linkEdge[at]);
            }
        }
    }
    return mesh;
}

std::vector<std::pair<std::int32_t, std::int32_t>> collectEdges(const ZilLValue& mesh, OutStream& out) {
    ScratchMemory<4096> scratch;
    std::pmr::memory_resource* mem = scratch.get();
    const MeshCorners read = readMeshCorners(mesh, out, mem);
    const std::size_t nV = read.vertices.size();
    const CornerTable& table = read.table;

    // Room for every corner's edge under its lower end; duplicates are
    // skipped by scanning the few edges already kept there.
    std::pmr::vector<std::uint32_t> counts(nV, 0, mem);
    auto eachEdge = [&](auto&& visit) {
        for (std::size_t f = 0; f < table.faceCount(); ++f) {
            const std::int32_t* k = table.vertex.data() + table.start[f];
            const std::uint32_t cn = table.cornerCount(f);
            if (cn == 0) continue;
            for (std::uint32_t i = 0; i + 1 < cn; ++i) visit(k[i], k[i + 1]);
            visit(k[cn - 1], k[0]);
        }
    };
    eachEdge([&](std::int32_t a, std::int32_t b) { ++counts[static_cast<std::size_t>(std::min(a, b))]; });
    const std::pmr::vector<std::uint32_t> offsets = offsetsFromCounts(counts);
    std::pmr::vector<std::int32_t> his(offsets.back(), mem);
    std::pmr::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1, mem);
    std::size_t edgeCount = 0;
    eachEdge([&](std::int32_t a, std::int32_t b) {
        const auto lo = static_cast<std::size_t>(std::min(a, b));
        const std::int32_t hi = std::max(a, b);
        for (std::uint32_t p = offsets[lo]; p < fill[lo]; ++p)
            if (his[p] == hi) return;
        his[fill[lo]++] = hi;
        ++edgeCount;
    });

    std::vector<std::pair<std::int32_t, std::int32_t>> edges;
    edges.reserve(edgeCount);
    for (std::size_t lo = nV; lo-- > 0;)
        for (std::uint32_t p = offsets[lo]; p < fill[lo]; ++p)
            edges.emplace_back(static_cast<std::int32_t>(lo), his[p]);
    return edges;
}

}  // namespace zil::SubdivisionMesh
