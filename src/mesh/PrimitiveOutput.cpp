#include "mesh/PrimitiveOutput.hpp"

#include <cmath>
#include <string>

#include "render/RealtimeZilyMan.hpp"
#include "shell/CoreInt.hpp"
#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"

namespace zil {

namespace {

// a / |a|; a zero length raises Divide.
inline Xyz unit(const Xyz& a) {
    const double l = length(a);
    if (l == 0.0) throw Divide();
    return {a.x / l, a.y / l, a.z / l};
}

inline double clampChannel(double v) {
    if (v >= 1.0) return 1.0;
    if (v <= 0.0) return 0.0;
    return v;
}

// The first parameter named `token`, if it has the expected tag; a wrong tag
// is reported and counts as no value.
const std::vector<Xyz>* findParam(const RiParamList& params, const Rt::Token& token, RiParamValue::Tag tag,
                                  const char* typeName) {
    for (const RiParam& p : params) {
        if (p.token.id != token.id) continue;
        if (p.value.tag == tag) return &p.value.xyz;
        printMessage(std::string("Parameter type error: Expecting type ") + typeName +
                     " list for parameter " + p.token.name + "\n");
        return nullptr;
    }
    return nullptr;
}

std::int32_t fixedChannel(double c) { return realToInt(c * 65280.0, RoundingMode::Upward); }

}  // namespace

ColorRGB shadeVertex(const Xyz& point, const Xyz& normal, std::span<const Xyz> lights,
                     const ColorRGB& colour) {
    // Without a direction there is nothing to light: drawn black, the rest
    // of the surface is still drawn.
    if (length(normal) == 0.0) return {};
    double r = 0.0, g = 0.0, b = 0.0;
    if (lights.empty()) return {r, g, b};
    // The normal and the reflected view direction are the same for every
    // light.
    const Xyz n = unit(normal);
    const Xyz v = unit(point);
    const double nv = dot(n, v);
    const Xyz rf = unit(v - (2.0 * nv) * n);
    for (const Xyz& light : lights) {
        const Xyz l = unit(light - point);
        double s = dot(rf, l);
        if (0.0 > s) s = 0.0;
        s = s * s;
        const double d = std::fabs(dot(n, l));
        r += colour.red * d + s;
        g += colour.green * d + s;
        b += colour.blue * d + s;
    }
    return {clampChannel(r), clampChannel(g), clampChannel(b)};
}

void riPrimitiveOutput(RiState& st, RiObjectDefinition& object, std::vector<std::int32_t> vertexCounts,
                       std::vector<std::int32_t> vertexIndices, RiParamList params) {
    RiPrimitiveCall call{std::move(vertexCounts), std::move(vertexIndices), std::move(params)};
    if (object.recording) {
        object.recordedCalls.insert(object.recordedCalls.begin(), std::move(call));
        return;
    }
    drawPrimitive(st, call);
}

void drawPrimitive(RiState& st, const RiPrimitiveCall& call) {
    static const std::vector<Xyz> none;
    const std::vector<Xyz>* pp = findParam(call.params, st.tokens.P, RiParamValue::Points, "Rt.Point");
    const std::vector<Xyz>* np = findParam(call.params, st.tokens.N, RiParamValue::Normals, "Rt.Normal");
    const std::vector<Xyz>& points = pp ? *pp : none;
    const std::vector<Xyz>& normals = np ? *np : none;

    updateCombinedTransform(st);
    const Matrix4x4& m = st.combinedTransform;

    const ColorRGB colour = ColorRGB::fromColorN(st.currentColor);

    // Every vertex is transformed, lit and projected once; the triangles
    // index the results.
    const std::size_t lit = std::min(points.size(), normals.size());
    std::vector<RasterVertex>& vertices = st.renderer().vertexScratch;
    vertices.resize(lit);
    for (std::size_t i = 0; i < lit; ++i) {
        const Xyz p = Matrix4x4::Trans::transformPoint(m, points[i]);
        const Xyz n = transformDirection(m, normals[i]);
        const ColorRGB c = shadeVertex(p, n, st.lights, colour);
        const Xyz q = Matrix4x4::Trans::transformPoint(st.rasterTransform, p);
        RasterVertex& v = vertices[i];
        v.x = realToInt(q.x * st.subPixelScale, RoundingMode::Upward);
        v.y = realToInt(q.y * st.subPixelScale, RoundingMode::Upward);
        v.z = p.z;
        v.colour = {fixedChannel(c.red), fixedChannel(c.green), fixedChannel(c.blue)};
    }

    // Every index is checked before any triangle is handed on.
    const std::vector<std::int32_t>& counts = call.vertexCounts;
    const std::vector<std::int32_t>& indices = call.vertexIndices;
    std::size_t triangles = 0;
    for (std::int32_t count : counts) {
        if (count != 3 || indices.size() - 3 * triangles < 3) break;
        for (std::size_t k = 3 * triangles; k < 3 * triangles + 3; ++k)
            if (indices[k] < 0 || static_cast<std::size_t>(indices[k]) >= lit) throw Subscript();
        ++triangles;
    }
    // The call's triangles go in front of the pending ones in polygon order,
    // and the renderer draws the oldest first: hand them over last first.
    for (std::size_t t = triangles; t-- > 0;) {
        const std::int32_t* tri = &indices[3 * t];
        RealtimeZilyMan::shadedTriangle(st, vertices[static_cast<std::size_t>(tri[0])],
                                        vertices[static_cast<std::size_t>(tri[1])],
                                        vertices[static_cast<std::size_t>(tri[2])]);
    }
}

}  // namespace zil
