#pragma once
// Building small meshes and reading them back in tests.
#include <cstdint>
#include <string_view>
#include <vector>

#include "mesh/DefaultCube.hpp"
#include "mesh/MeshRecord.hpp"
#include "mesh/MeshTopology.hpp"
#include "records/Capture.hpp"
#include "shell/Constants.hpp"

namespace zil::test {

using Ints = std::vector<std::int32_t>;
using Names = std::vector<std::string_view>;
inline const MeshFieldNames& N() { return MeshRecord::names(); }

// A mesh in the default cube's layout.
inline ZilLValue makeMesh(const std::vector<Xyz>& points, const std::vector<Ints>& faces) {
    std::vector<ZilLListValue> vs, fs;
    for (const Xyz& p : points)
        vs.push_back(ZilLListValue::RECORD(
            {{N().point, ZilLListValue::RECORD({{N().x, ZilLListValue::REAL(p.x)},
                                                {N().y, ZilLListValue::REAL(p.y)},
                                                {N().z, ZilLListValue::REAL(p.z)}})},
             {N().vertexSharpness, ZilLListValue::REAL(0.0)}}));
    for (const Ints& face : faces) {
        std::vector<ZilLListValue> cs;
        for (std::int32_t v : face) cs.push_back(ZilLListValue::RECORD({{N().vertexIndex, ZilLListValue::INT(v)}}));
        fs.push_back(ZilLListValue::RECORD({{N().corners, ZilLListValue::ARRAY(std::move(cs))}}));
    }
    return convertRecordValue(ZilLListValue::RECORD(
        {{N().vertices, ZilLListValue::ARRAY(std::move(vs))}, {N().faces, ZilLListValue::ARRAY(std::move(fs))}}));
}

// The cube of side `side` centred at the origin, numbered as the default cube.
inline ZilLValue cubeOfSide(double side) {
    std::vector<Xyz> pts;
    for (const auto& p : Constants::cubePoints) pts.push_back({p[0] * side, p[1] * side, p[2] * side});
    std::vector<Ints> faces;
    for (const auto& f : Constants::cubeFaces) faces.emplace_back(f.begin(), f.end());
    return makeMesh(pts, faces);
}

inline ValueArray vertices(const ZilLValue& m) { return findField(m.fields(), N().vertices)->value.elements(); }
inline ValueArray faces(const ZilLValue& m) { return findField(m.fields(), N().faces)->value.elements(); }
inline ValueArray corners(const ZilLValue& m, std::size_t f) {
    return findField(faces(m)[f].fields(), N().corners)->value.elements();
}
inline FieldArray corner(const ZilLValue& m, std::size_t f, std::size_t k) { return corners(m, f)[k].fields(); }
inline FieldArray vertex(const ZilLValue& m, std::size_t i) { return vertices(m)[i].fields(); }

inline std::int32_t intOf(const FieldArray& fields, FieldName name) {
    const ZilLField* f = findField(fields, name);
    return f ? f->value.asInt() : -1;
}
inline double realOf(const FieldArray& fields, FieldName name) {
    const ZilLField* f = findField(fields, name);
    return f ? f->value.asReal() : 0.0;
}
inline bool has(const FieldArray& fields, FieldName name) { return findField(fields, name) != nullptr; }
inline Names fieldNames(const FieldArray& fields) {
    Names names;
    for (const ZilLField& f : fields) names.push_back(f.name.str());
    return names;
}
inline Ints faceVertices(const ZilLValue& m, std::size_t f) {
    Ints vs;
    for (const ZilLValue& c : corners(m, f)) vs.push_back(intOf(c.fields(), N().vertexIndex));
    return vs;
}

// Sets a real field of corner k of face f, or of vertex i.
inline void setCornerReal(const ZilLValue& m, std::size_t f, std::size_t k, FieldName name, double s) {
    Capture cap;
    corners(m, f).set(k, ZilLValue::RECORD(setRealField(corner(m, f, k), name, cap.out(), s)));
}
inline void setVertexReal(const ZilLValue& m, std::size_t i, FieldName name, double s) {
    Capture cap;
    vertices(m).set(i, ZilLValue::RECORD(setRealField(vertex(m, i), name, cap.out(), s)));
}

// Sets "edgeSharpness" on both corners that start edge (a, b).
inline void sharpenEdge(const ZilLValue& m, std::int32_t a, std::int32_t b, double s) {
    for (std::size_t f = 0; f < faces(m).size(); ++f) {
        const Ints vs = faceVertices(m, f);
        for (std::size_t k = 0; k < vs.size(); ++k) {
            const std::int32_t q = vs[(k + 1) % vs.size()];
            if ((vs[k] == a && q == b) || (vs[k] == b && q == a)) setCornerReal(m, f, k, N().edgeSharpness, s);
        }
    }
}

}  // namespace zil::test
