#include "render/RiPolygon.hpp"

#include <cmath>
#include <string>

#include "render/ColorRGB.hpp"
#include "shell/CoreInt.hpp"
#include "shell/OutStream.hpp"

namespace zil {
namespace {

constexpr double kMarkerLift = 1e-10;

const std::vector<Rt::Point>* findPoints(const RiState& st, const RiParamList& params) {
    for (const RiParam& p : params) {
        if (p.token.id != st.tokens.P.id) continue;
        if (p.value.tag == RiParamValue::Points) return &p.value.xyz;
        printMessage("Parameter type error: Expecting type Rt.Point list for parameter " + p.token.name + "\n");
        return nullptr;
    }
    return nullptr;
}

inline int channelByte(double c) { return realToInt(c * 255.0, RoundingMode::ToNearest); }

}  // namespace

RasterPosition rasterPosition(const RiState& st, const Rt::Point& camera) {
    const Xyz s = Matrix4x4::Trans::transformPoint(st.rasterTransform, camera);
    return {realToInt(st.subPixelScale * s.x, RoundingMode::Upward),
            realToInt(st.subPixelScale * s.y, RoundingMode::Upward), camera.z};
}

void RiPolygon(RiState& st, const RiParamList& params) {
    static const std::vector<Rt::Point> kNone;
    const std::vector<Rt::Point>* found = findPoints(st, params);
    const std::vector<Rt::Point>& points = found ? *found : kNone;
    updateCombinedTransform(st);

    // Every point is carried over, even of a polygon that is not drawn, so
    // its failures show all the same.
    RasterPosition quad[4];
    for (size_t i = 0; i < points.size(); ++i) {
        const Xyz c = Matrix4x4::Trans::transformPoint(st.combinedTransform, points[i]);
        const RasterPosition v = rasterPosition(st, c);
        if (i < 4) quad[i] = v;
    }

    const ColorRGB colour = ColorRGB::fromColorN(st.currentColor);
    const int r = channelByte(colour.red), g = channelByte(colour.green), b = channelByte(colour.blue);
    if (points.size() == 3) {
        RealtimeZilyMan::triangle(st, quad[0], quad[1], quad[2], r, g, b);
    } else if (points.size() == 4) {
        RealtimeZilyMan::triangle(st, quad[0], quad[1], quad[2], r, g, b);
        RealtimeZilyMan::triangle(st, quad[0], quad[2], quad[3], r, g, b);
    } else {
        printMessage("I have been lazy - only use triangles or quads when calling Polygon please...\n");
    }
}

void drawEdgesAsQuads(RiState& st, const std::vector<std::pair<Rt::Point, Rt::Point>>& edges,
                      const Xyz& horizontalOffset, const Xyz& verticalOffset) {
    RiParamList params{{st.tokens.P, RiParamValue::points(std::vector<Rt::Point>(4))}};
    std::vector<Rt::Point>& quad = params[0].value.xyz;
    for (const auto& [p0, p1] : edges) {
        const Xyz& o = std::fabs(p1.y - p0.y) < std::fabs(p1.x - p0.x) ? horizontalOffset : verticalOffset;
        quad[0] = p0;
        quad[1] = p1;
        quad[2] = p1 + o;
        quad[3] = p0 + o;
        RiPolygon(st, params);
    }
}

void drawPointMarkers(RiState& st, const std::vector<Rt::Point>& points) {
    RiParamList params{{st.tokens.P, RiParamValue::points(std::vector<Rt::Point>(3))}};
    std::vector<Rt::Point>& tri = params[0].value.xyz;
    for (const Rt::Point& p : points) {
        const double z = p.z - kMarkerLift;
        tri[0] = {p.x, p.y - 3.0, z};
        tri[1] = {p.x - 3.0, p.y + 2.0, z};
        tri[2] = {p.x + 3.0, p.y + 2.0, z};
        RiPolygon(st, params);
    }
}

}  // namespace zil
