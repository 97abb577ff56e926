#pragma once
// The topology of a mesh record, derived from its corners' "vertexIndex":
// vertex valences, the links from each corner to the face and corner across
// its edge, and the list of undirected edges.
#include <cstdint>
#include <memory_resource>
#include <optional>
#include <utility>
#include <vector>

#include "mesh/MeshRecord.hpp"

namespace zil::SubdivisionMesh {

// The corners of every face, read once: each face's corner array (shared
// with the mesh) and the corners' fields in flat tables, one entry per
// corner in face order.
struct CornerTable {
    explicit CornerTable(std::pmr::memory_resource* mem)
        : corners(mem), start(mem), vertex(mem), sharpness(mem), neighbour(mem) {}
    std::pmr::vector<ValueArray> corners;      // per face
    std::pmr::vector<std::uint32_t> start;     // per face, then the total: offsets into the tables
    std::pmr::vector<std::int32_t> vertex;     // "vertexIndex"
    std::pmr::vector<double> sharpness;        // "edgeSharpness", when asked for
    std::pmr::vector<std::int32_t> neighbour;  // "neighborface", when asked for

    std::size_t faceCount() const { return corners.size(); }
    std::uint32_t cornerCount(std::size_t face) const { return start[face + 1] - start[face]; }
    // Per vertex of 0 .. vertexCount-1, the number of corners that name it:
    // its valence.
    std::pmr::vector<std::uint32_t> valences(std::size_t vertexCount) const;
};

// Reads the corners of `faces`, each corner record once; with `edges` also
// their "edgeSharpness" and "neighborface". Faces and corners must be
// records (Match); a "vertexIndex" outside 0 .. vertexCount-1, a missing one
// included, raises Subscript. The table's storage comes from `mem`.
CornerTable readCorners(const ValueArray& faces, std::size_t vertexCount, OutStream& out,
                        std::pmr::memory_resource* mem = std::pmr::get_default_resource(), bool edges = false);

// Writes `valence` as the "vertexValence" of vertices[i]: replaced in place,
// or appended and the new record stored back into the array.
void writeValence(const ValueArray& vertices, std::size_t i, std::int32_t valence, OutStream& out);

// Scratch storage for one call's working tables: on the stack when the call
// expects no more than `Bytes` (the preview's meshes), else one block from
// the heap of the expected size, asked for at once: a large call then
// neither grows its storage piece by piece nor has the heap hand the pages
// back to the system in between calls.
template <std::size_t Bytes>
class ScratchMemory {
public:
    explicit ScratchMemory(std::size_t expected = 0) {
        if (expected > Bytes)
            resource_.emplace(expected);
        else
            resource_.emplace(buffer_, Bytes);
    }
    std::pmr::memory_resource* get() { return &*resource_; }

private:
    alignas(std::max_align_t) std::byte buffer_[Bytes];
    std::optional<std::pmr::monotonic_buffer_resource> resource_;
};

// Writes into every vertex its "vertexValence": the number of face corners
// that name it. Vertices are updated in the mesh's own vertex array.
void setValences(const ZilLValue& mesh, OutStream& out);

// Sets "neighborface" and "neighboredge" of every corner: the face across
// the corner's edge and that face's corner number plus one, positive when
// the other face runs along the edge the opposite way, negative when the
// same way; -1 for both when none. Corners are rewritten in place in their
// faces' corner arrays; the result is the same mesh value.
ZilLValue linkNeighbours(const ZilLValue& mesh, OutStream& out);

// Each undirected edge once, as (lo, hi) with lo <= hi: lo from the highest
// vertex down, and for one lo the hi values in the order first met (faces in
// order, each face's edges from corner 0 on). The position of an edge in
// this list is its edge number.
std::vector<std::pair<std::int32_t, std::int32_t>> collectEdges(const ZilLValue& mesh, OutStream& out);

}  // namespace zil::SubdivisionMesh
