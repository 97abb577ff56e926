#pragma once
// Shared by the record tests: captured streams, short spellings of
// transforms, and comparison within rounding.
#include <gtest/gtest.h>

#include "Capture.hpp"
#include "records/ZilLCoordTransforms.hpp"

namespace zil::test {

inline Xyz transformPoint(const Matrix4x4& m, const Xyz& p) { return Matrix4x4::Trans::transformPoint(m, p); }
inline Matrix4x4 translate(double x, double y, double z) {
    return {{{{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}}}};
}
inline Matrix4x4 scale(double k) { return {{{{k, 0, 0, 0}, {0, k, 0, 0}, {0, 0, k, 0}, {0, 0, 0, 1}}}}; }

inline ZilLValue T(std::string_view name, ZilLValue arg) { return ZilLValue::SUMVALUE(name, std::move(arg)); }
inline ZilLValue real(double r) { return ZilLValue::REAL(r); }
inline ZilLValue deg(int n) { return ZilLValue::INT(n); }
inline ZilLValue xyz(double x, double y, double z) { return ZilLValue::XYZ(x, y, z); }

// The list's matrix; a well-formed list prints nothing.
inline Matrix4x4 convert(const TransformList& l) {
    Capture c;
    Matrix4x4 m = transformListToMatrix(l, c.out());
    EXPECT_EQ(c.text(), "");
    return m;
}

inline void expectNear(const Matrix4x4& a, const Matrix4x4& b, double eps = 1e-12) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.rows[i][j], b.rows[i][j], eps) << i << "," << j;
}

inline void expectNear(const Xyz& a, const Xyz& b, double eps = 1e-12) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

}  // namespace zil::test
