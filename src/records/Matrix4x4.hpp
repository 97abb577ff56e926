#pragma once
// 4x4 matrices applied to column vectors (x, y, z, 1): a translation sits in
// the fourth column. Matrices are plain immutable values; every product and
// inverse is a new one. Sums run left to right as written, so results are
// reproducible to the bit.
#include <array>

#include "records/Xyz.hpp"

namespace zil {

using Matrix4x4Row = std::array<double, 4>;

struct Matrix4x4 {
    // rows[i][j] is the entry of row i + 1, column j + 1.
    std::array<Matrix4x4Row, 4> rows;

    friend constexpr bool operator==(const Matrix4x4&, const Matrix4x4&) = default;

    struct Trans {
        // The point mapped with the homogeneous divide. w == 0.0 (either sign)
        // raises the internal EGeneric "Zero divide in Matrix4x4.Trans.transformPoint".
        static Xyz transformPoint(const Matrix4x4& m, const Xyz& p);
    };
};

// a x b: the first argument is the left factor.
Matrix4x4 matrixMultiply(const Matrix4x4& a, const Matrix4x4& b);

// The direction mapped by the upper-left 3x3 block (no translation, no divide).
inline Xyz transformDirection(const Matrix4x4& m, const Xyz& v) {
    const auto& r = m.rows;
    return {r[0][0] * v.x + r[0][1] * v.y + r[0][2] * v.z, r[1][0] * v.x + r[1][1] * v.y + r[1][2] * v.z,
            r[2][0] * v.x + r[2][1] * v.y + r[2][2] * v.z};
}

namespace detail {
[[noreturn]] void throwZeroDivideInTransformPoint();
}

inline Xyz Matrix4x4::Trans::transformPoint(const Matrix4x4& m, const Xyz& p) {
    const auto& r = m.rows;
    const double w = r[3][0] * p.x + r[3][1] * p.y + r[3][2] * p.z + r[3][3];
    if (w == 0.0) detail::throwZeroDivideInTransformPoint();
    return {(r[0][0] * p.x + r[0][1] * p.y + r[0][2] * p.z + r[0][3]) / w,
            (r[1][0] * p.x + r[1][1] * p.y + r[1][2] * p.z + r[1][3]) / w,
            (r[2][0] * p.x + r[2][1] * p.y + r[2][2] * p.z + r[2][3]) / w};
}

namespace Matrix4x4Mult {
// The inverse by cofactors. A determinant of exactly 0.0 raises the named
// EGeneric "DivideByZero" with message "Matrix4x4Mult.invert"; nearly
// singular matrices are inverted.
Matrix4x4 invert(const Matrix4x4& m);
}  // namespace Matrix4x4Mult

}  // namespace zil
