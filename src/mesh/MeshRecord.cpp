#include "mesh/MeshRecord.hpp"

namespace zil {

const MeshFieldNames& MeshRecord::names() {
    static const MeshFieldNames n;
    return n;
}

namespace SubdivisionMesh {

Xyz readPoint(const ZilLValue& vertex, OutStream& out) {
    const MeshFieldNames& n = MeshRecord::names();
    const FieldArray point = getRecordField(vertex.fields(), n.point, out);
    const double x = getRealField(point, n.x, out);
    const double y = getRealField(point, n.y, out);
    const double z = getRealField(point, n.z, out);
    return {x, y, z};
}

// Converted records keep their fields last-written first, so the list form
// ("x", "y", "z") becomes the fields z, y, x.
ZilLValue newVertexRecord(const Xyz& point, double sharpness) {
    const MeshFieldNames& n = MeshRecord::names();
    ZilLValue p = ZilLValue::RECORD(FieldArray{
        ZilLField{n.z, ZilLValue::REAL(point.z)},
        ZilLField{n.y, ZilLValue::REAL(point.y)},
        ZilLField{n.x, ZilLValue::REAL(point.x)},
    });
    return ZilLValue::RECORD(FieldArray{
        ZilLField{n.vertexSharpness, ZilLValue::REAL(sharpness)},
        ZilLField{n.point, std::move(p)},
    });
}

ZilLValue newCornerRecord(std::int32_t vertexIndex, double edgeSharpness) {
    const MeshFieldNames& n = MeshRecord::names();
    return ZilLValue::RECORD(FieldArray{
        ZilLField{n.edgeSharpness, ZilLValue::REAL(edgeSharpness)},
        ZilLField{n.vertexIndex, ZilLValue::INT(vertexIndex)},
    });
}

}  // namespace SubdivisionMesh

}  // namespace zil
