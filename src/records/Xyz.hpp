#pragma once
// Three reals: a point, a direction or an angle triple, with the per
// coordinate arithmetic that the mesh and the renderer share.
#include <cmath>

namespace zil {

struct Xyz {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend constexpr bool operator==(const Xyz&, const Xyz&) = default;
};

constexpr Xyz operator+(const Xyz& a, const Xyz& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Xyz operator-(const Xyz& a, const Xyz& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Xyz operator*(double w, const Xyz& a) { return {w * a.x, w * a.y, w * a.z}; }
constexpr Xyz& operator+=(Xyz& a, const Xyz& b) {
    a.x += b.x;
    a.y += b.y;
    a.z += b.z;
    return a;
}

constexpr double dot(const Xyz& a, const Xyz& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Xyz cross(const Xyz& a, const Xyz& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(const Xyz& a) { return std::sqrt(dot(a, a)); }

// a + (b - a) t, per coordinate: t = 0 gives a, t = 1 gives b.
constexpr Xyz blend(const Xyz& a, const Xyz& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

}  // namespace zil
