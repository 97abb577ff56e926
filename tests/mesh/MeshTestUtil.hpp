#pragma once
// Building small meshes and reading them back in tests.
#include <cstdint>
#include <vector>

#include "mesh/DefaultCube.hpp"
#include "mesh/MeshRecord.hpp"
#include "mesh/MeshTopology.hpp"
#include "shell/Constants.hpp"

namespace zil::test {

inline const MeshFieldNames& N() { return MeshRecord::names(); }

// A mesh in the cube's layout from points and faces' vertex numbers.
inline ZilLValue makeMesh(const std::vector<Xyz>& points, const std::vector<std::vector<std::int32_t>>& faces) {
    std::vector<ZilLListValue> vs;
    for (const Xyz& p : points) {
        vs.push_back(ZilLListValue::RECORD({
            {N().point, ZilLListValue::RECORD({{N().x, ZilLListValue::REAL(p.x)},
                                               {N().y, ZilLListValue::REAL(p.y)},
                                               {N().z, ZilLListValue::REAL(p.z)}})},
            {N().vertexSharpness, ZilLListValue::REAL(0.0)},
        }));
    }
    std::vector<ZilLListValue> fs;
    for (const auto& face : faces) {
        std::vector<ZilLListValue> cs;
        for (std::int32_t v : face) cs.push_back(ZilLListValue::RECORD({{N().vertexIndex, ZilLListValue::INT(v)}}));
        fs.push_back(ZilLListValue::RECORD({{N().corners, ZilLListValue::ARRAY(std::move(cs))}}));
    }
    return convertRecordValue(ZilLListValue::RECORD(
        {{N().vertices, ZilLListValue::ARRAY(std::move(vs))}, {N().faces, ZilLListValue::ARRAY(std::move(fs))}}));
}

inline std::vector<std::vector<std::int32_t>> cubeFaceLists() {
    std::vector<std::vector<std::int32_t>> faces;
    for (const auto& f : Constants::cubeFaces) faces.emplace_back(f.begin(), f.end());
    return faces;
}

// The cube of side `side` centred at the origin, in the default cube's numbering.
inline ZilLValue cubeOfSide(double side) {
    std::vector<Xyz> pts;
    for (const auto& p : Constants::cubePoints) pts.push_back({p[0] * side, p[1] * side, p[2] * side});
    return makeMesh(pts, cubeFaceLists());
}

inline ValueArray vertices(const ZilLValue& mesh) { return findField(mesh.fields(), N().vertices)->value.elements(); }
inline ValueArray faces(const ZilLValue& mesh) { return findField(mesh.fields(), N().faces)->value.elements(); }
inline ValueArray corners(const ZilLValue& mesh, std::size_t f) {
    return findField(faces(mesh)[f].fields(), N().corners)->value.elements();
}
inline FieldArray corner(const ZilLValue& mesh, std::size_t f, std::size_t k) {
    return corners(mesh, f)[k].fields();
}
inline FieldArray vertex(const ZilLValue& mesh, std::size_t i) { return vertices(mesh)[i].fields(); }

inline std::int32_t intOf(const FieldArray& fields, FieldName name) {
    const ZilLField* f = findField(fields, name);
    return f ? f->value.asInt() : -1;
}
inline double realOf(const FieldArray& fields, FieldName name) {
    const ZilLField* f = findField(fields, name);
    return f ? f->value.asReal() : 0.0;
}
inline bool has(const FieldArray& fields, FieldName name) { return findField(fields, name) != nullptr; }

inline std::vector<std::string_view> fieldNames(const FieldArray& fields) {
    std::vector<std::string_view> names;
    for (const ZilLField& f : fields) names.push_back(f.name.str());
    return names;
}

inline std::vector<std::int32_t> faceVertices(const ZilLValue& mesh, std::size_t f) {
    std::vector<std::int32_t> vs;
    for (const ZilLValue& c : corners(mesh, f)) vs.push_back(intOf(c.fields(), N().vertexIndex));
    return vs;
}

// Sets "edgeSharpness" on both corners that start edge (a, b).
inline void sharpenEdge(const ZilLValue& mesh, std::int32_t a, std::int32_t b, double s, OutStream& out) {
    for (const ZilLValue& face : faces(mesh)) {
        const ValueArray cs = findField(face.fields(), N().corners)->value.elements();
        for (std::size_t k = 0; k < cs.size(); ++k) {
            const std::int32_t p = intOf(cs[k].fields(), N().vertexIndex);
            const std::int32_t q = intOf(cs[(k + 1) % cs.size()].fields(), N().vertexIndex);
            if ((p == a && q == b) || (p == b && q == a))
                cs.set(k, ZilLValue::RECORD(setRealField(cs[k].fields(), N().edgeSharpness, out, s)));
        }
    }
}

inline void setVertexSharpness(const ZilLValue& mesh, std::size_t i, double s, OutStream& out) {
    vertices(mesh).set(i, ZilLValue::RECORD(setRealField(vertex(mesh, i), N().vertexSharpness, out, s)));
}

}  // namespace zil::test
