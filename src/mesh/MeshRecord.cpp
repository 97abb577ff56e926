#include "mesh/MeshRecord.hpp"

namespace zil {

namespace SubdivisionMesh {

Xyz readPoint(const ZilLValue& vertex, OutStream& out) {
    const MeshFieldNames& n = MeshRecord::names();
    const FieldArray point = getRecordField(vertex.fieldSpan(), n.point, out);
    const double x = getRealField(point, n.x, out);
    const double y = getRealField(point, n.y, out);
    const double z = getRealField(point, n.z, out);
    return {x, y, z};
}

namespace {
// A record of the given fields, moved in (a braced list would copy them).
template <std::size_t N>
ZilLValue recordOf(ZilLField (&&fields)[N]) {
    return ZilLValue::RECORD(FieldArray::generate(N, [&](std::size_t i) { return std::move(fields[i]); }));
}
}  // namespace

// Converted records keep their fields last-written first, so the list form
// ("x", "y", "z") becomes the fields z, y, x.
ZilLValue newVertexRecord(const Xyz& point, double sharpness) {
    const MeshFieldNames& n = MeshRecord::names();
    return recordOf({
        ZilLField{n.vertexSharpness, ZilLValue::REAL(sharpness)},
        ZilLField{n.point, recordOf({
                               ZilLField{n.z, ZilLValue::REAL(point.z)},
                               ZilLField{n.y, ZilLValue::REAL(point.y)},
                               ZilLField{n.x, ZilLValue::REAL(point.x)},
                           })},
    });
}

ZilLValue newCornerRecord(std::int32_t vertexIndex, double edgeSharpness) {
    const MeshFieldNames& n = MeshRecord::names();
    return recordOf({
        ZilLField{n.edgeSharpness, ZilLValue::REAL(edgeSharpness)},
        ZilLField{n.vertexIndex, ZilLValue::INT(vertexIndex)},
    });
}

}  // namespace SubdivisionMesh

}  // namespace zil
