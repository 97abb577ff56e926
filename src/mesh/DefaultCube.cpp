#include "mesh/DefaultCube.hpp"

#include <vector>

#include "mesh/MeshRecord.hpp"
#include "shell/Constants.hpp"

namespace zil::DemoPage {

ZilLListValue defaultCubeList() {
    const MeshFieldNames& n = MeshRecord::names();
    const ZilLListField noCornerSharpness{n.vertexSharpness, ZilLListValue::REAL(0.0)};

    std::vector<ZilLListValue> vertices;
    vertices.reserve(Constants::cubePoints.size());
    for (const auto& p : Constants::cubePoints) {
        ZilLListValue point = ZilLListValue::RECORD({
            {n.x, ZilLListValue::REAL(p[0])},
            {n.y, ZilLListValue::REAL(p[1])},
            {n.z, ZilLListValue::REAL(p[2])},
        });
        vertices.push_back(ZilLListValue::RECORD({{n.point, std::move(point)}, noCornerSharpness}));
    }

    std::vector<ZilLListValue> faces;
    faces.reserve(Constants::cubeFaces.size());
    for (const auto& face : Constants::cubeFaces) {
        std::vector<ZilLListValue> corners;
        corners.reserve(face.size());
        for (std::int32_t v : face) corners.push_back(ZilLListValue::RECORD({{n.vertexIndex, ZilLListValue::INT(v)}}));
        faces.push_back(ZilLListValue::RECORD({{n.corners, ZilLListValue::ARRAY(std::move(corners))}}));
    }

    return ZilLListValue::RECORD({
        {n.vertices, ZilLListValue::ARRAY(std::move(vertices))},
        {n.faces, ZilLListValue::ARRAY(std::move(faces))},
    });
}

ZilLValue defaultCube() { return convertRecordValue(defaultCubeList()); }

}  // namespace zil::DemoPage
