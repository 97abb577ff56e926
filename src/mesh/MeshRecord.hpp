#pragma once
// The mesh as a record value. Mesh: "vertices" (ARRAY of vertex records) and
// "faces" (ARRAY of face records). Vertex: "point" (RECORD of REAL "x", "y",
// "z"), "vertexSharpness" (REAL), "vertexValence" (INT). Face: "corners"
// (ARRAY of corner records, in face order). Corner: "vertexIndex" (INT),
// "edgeSharpness" (REAL, of the edge to the next corner), "neighborface" and
// "neighboredge" (INT links across that edge, -1 when none).
//
// Records are read and written by field name only; the names below are
// interned once so that hot loops compare ids, not strings.
#include <cstdint>

#include "records/FieldAccess.hpp"
#include "records/Xyz.hpp"
#include "records/ZilLValue.hpp"
#include "shell/OutStream.hpp"

namespace zil {

struct MeshFieldNames {
    FieldName vertices{"vertices"};
    FieldName faces{"faces"};
    FieldName point{"point"};
    FieldName x{"x"};
    FieldName y{"y"};
    FieldName z{"z"};
    FieldName vertexSharpness{"vertexSharpness"};
    FieldName vertexValence{"vertexValence"};
    FieldName corners{"corners"};
    FieldName vertexIndex{"vertexIndex"};
    FieldName edgeSharpness{"edgeSharpness"};
    FieldName neighborface{"neighborface"};
    FieldName neighboredge{"neighboredge"};
};

namespace MeshRecord {

// The interned field names of the mesh record.
inline const MeshFieldNames& names() {
    static const MeshFieldNames n;
    return n;
}

}  // namespace MeshRecord

namespace SubdivisionMesh {

// The position of a vertex: the first "point" field's "x", "y", "z"
// (missing ones read as 0.0). A vertex that is not a record raises Match.
Xyz readPoint(const ZilLValue& vertex, OutStream& out);

// A new vertex record: "point" and "vertexSharpness", in the field order
// that converting the list form ("point", "vertexSharpness") gives.
ZilLValue newVertexRecord(const Xyz& point, double sharpness);

// A new corner record: "vertexIndex" and "edgeSharpness", in converted order.
ZilLValue newCornerRecord(std::int32_t vertexIndex, double edgeSharpness);

}  // namespace SubdivisionMesh

}  // namespace zil
