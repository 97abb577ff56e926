#include "mesh/MeshTopology.hpp"

#include <algorithm>
#include <iterator>
#include <limits>

namespace zil::SubdivisionMesh {

namespace {

// Turns per-vertex counts into offsets (one more entry than counts).
std::vector<std::uint32_t> offsetsFromCounts(const std::vector<std::uint32_t>& counts) {
    std::vector<std::uint32_t> offsets(counts.size() + 1);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        offsets[i] = sum;
        sum += counts[i];
    }
    offsets[counts.size()] = sum;
    return offsets;
}

// One directed edge from a start vertex: where it ends and which corner of
// which face starts it.
struct EdgeEntry {
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

}  // namespace

CornerTable readCorners(const ValueArray& faces, std::size_t vertexCount, OutStream& out) {
    const MeshFieldNames& n = MeshRecord::names();
    CornerTable t;
    const std::size_t nF = faces.size();
    t.corners.reserve(nF);
    t.start.reserve(nF + 1);
    t.vertex.reserve(nF * 4);
    for (const ZilLValue& face : faces) {
        t.start.push_back(static_cast<std::uint32_t>(t.vertex.size()));
        ValueArray corners = getArrayField(face.fieldSpan(), n.corners, out);
        for (const ZilLValue& corner : corners) {
            const std::int32_t v = getIntegerField(corner.fieldSpan(), n.vertexIndex, out);
            if (v < 0 || static_cast<std::size_t>(v) >= vertexCount) throw Subscript();
            t.vertex.push_back(v);
        }
        if (t.vertex.size() > std::numeric_limits<std::uint32_t>::max()) throw Size();
        t.corners.push_back(std::move(corners));
    }
    t.start.push_back(static_cast<std::uint32_t>(t.vertex.size()));
    return t;
}

void setValences(const ZilLValue& mesh, OutStream& out) {
    const MeshFieldNames& n = MeshRecord::names();
    const FieldArray meshFields = mesh.fields();
    const ValueArray vertices = getArrayField(meshFields, n.vertices, out);
    const ValueArray faces = getArrayField(meshFields, n.faces, out);
    const CornerTable table = readCorners(faces, vertices.size(), out);

    std::vector<std::int32_t> count(vertices.size(), 0);
    for (std::int32_t v : table.vertex) ++count[static_cast<std::size_t>(v)];
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const FieldArray old = vertices[i].fields();
        FieldArray fields = setIntegerField(old, n.vertexValence, out, count[i]);
        // A valence set in place leaves the same record in the slot.
        if (!fields.sameArray(old)) vertices.set(i, ZilLValue::RECORD(std::move(fields)));
    }
}

ZilLValue linkNeighbours(const ZilLValue& mesh, OutStream& out) {
    const MeshFieldNames& n = MeshRecord::names();
    const FieldArray meshFields = mesh.fields();
    const ValueArray vertices = getArrayField(meshFields, n.vertices, out);
    const ValueArray faces = getArrayField(meshFields, n.faces, out);
    const std::size_t nV = vertices.size();
    const CornerTable table = readCorners(faces, nV, out);
    if (table.vertex.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
        faces.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw Overflow();

    // Directed edges grouped by start vertex, in the order met. Every corner
    // starts exactly one edge, so the groups' sizes are the valences.
    std::vector<std::uint32_t> counts(nV, 0);
    for (std::int32_t v : table.vertex) ++counts[static_cast<std::size_t>(v)];
    const std::vector<std::uint32_t> offsets = offsetsFromCounts(counts);
    std::vector<EdgeEntry> entries(table.vertex.size());
    std::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1);
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
    // wins, so a corner ends linked to the last partner found.
    std::vector<std::int32_t> linkFace(table.vertex.size(), -1);
    std::vector<std::int32_t> linkEdge(table.vertex.size(), -1);
    std::vector<std::uint32_t> writes(table.vertex.size(), 0);
    auto link = [&](const EdgeEntry& e, const EdgeEntry& target, bool positive) {
        const std::size_t c = table.start[static_cast<std::size_t>(e.face)] + static_cast<std::size_t>(e.corner);
        linkFace[c] = target.face;
        linkEdge[c] = positive ? target.corner + 1 : -(target.corner + 1);
        ++writes[c];
    };
    std::vector<EdgeEntry> sorted;
    sorted.reserve(16);
    for (std::size_t v = 0; v < nV; ++v) {
        const EdgeEntry* first = entries.data() + offsets[v];
        const EdgeEntry* last = entries.data() + offsets[v + 1];
        // Newest first, as the groups are kept, then a stable insertion sort
        // by end vertex: groups are as small as valences.
        sorted.assign(std::make_reverse_iterator(last), std::make_reverse_iterator(first));
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            const EdgeEntry item = sorted[i];
            std::size_t j = i;
            for (; j > 0 && sorted[j - 1].end > item.end; --j) sorted[j] = sorted[j - 1];
            sorted[j] = item;
        }

        // Two corners running the same way along one edge: the earlier
        // entry links to the later, with a negative edge number.
        for (std::size_t i = 0; i < sorted.size(); ++i)
            for (std::size_t j = i + 1; j < sorted.size() && sorted[j].end == sorted[i].end; ++j)
                link(sorted[i], sorted[j], false);

        // The partner running the opposite way, found among its start
        // vertex's edges (newest first).
        for (const EdgeEntry& e : sorted) {
            const auto other = static_cast<std::size_t>(e.end);
            for (std::uint32_t p = offsets[other + 1]; p > offsets[other]; --p) {
                const EdgeEntry& x = entries[p - 1];
                if (x.end == static_cast<std::int32_t>(v)) link(e, x, true);
            }
        }
    }

    std::vector<LinkFields> shapes;
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
    const MeshFieldNames& n = MeshRecord::names();
    const FieldArray meshFields = mesh.fields();
    const ValueArray vertices = getArrayField(meshFields, n.vertices, out);
    const ValueArray faces = getArrayField(meshFields, n.faces, out);
    const std::size_t nV = vertices.size();
    const CornerTable table = readCorners(faces, nV, out);

    // Room for every corner's edge under its lower end; duplicates are
    // skipped by scanning the few edges already kept there.
    std::vector<std::uint32_t> counts(nV, 0);
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
    const std::vector<std::uint32_t> offsets = offsetsFromCounts(counts);
    std::vector<std::int32_t> his(offsets.back());
    std::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1);
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
