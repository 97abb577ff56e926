#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "records/Matrix4x4.hpp"
#include "records/RecordConstants.hpp"
#include "shell/Errors.hpp"

namespace zil {
namespace {

using Constants::identity;

Matrix4x4 translate(double x, double y, double z) {
    return {{Matrix4x4Row{1, 0, 0, x}, Matrix4x4Row{0, 1, 0, y}, Matrix4x4Row{0, 0, 1, z}, Matrix4x4Row{0, 0, 0, 1}}};
}
Matrix4x4 scale(double k) {
    return {{Matrix4x4Row{k, 0, 0, 0}, Matrix4x4Row{0, k, 0, 0}, Matrix4x4Row{0, 0, k, 0}, Matrix4x4Row{0, 0, 0, 1}}};
}

void expectNear(const Matrix4x4& a, const Matrix4x4& b, double eps = 1e-12) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.rows[i][j], b.rows[i][j], eps) << i << "," << j;
}

TEST(MatrixMultiply, IdentityAndOrder) {
    Matrix4x4 m{{Matrix4x4Row{1, 2, 3, 4}, Matrix4x4Row{5, 6, 7, 8}, Matrix4x4Row{9, 10, 11, 12},
                 Matrix4x4Row{13, 14, 15, 16}}};
    EXPECT_EQ(matrixMultiply(identity, m), m);
    EXPECT_EQ(matrixMultiply(m, identity), m);
    Matrix4x4 ab = matrixMultiply(translate(1, 0, 0), scale(2));
    Matrix4x4 ba = matrixMultiply(scale(2), translate(1, 0, 0));
    EXPECT_EQ(Matrix4x4::Trans::transformPoint(ab, {1, 1, 1}), (Xyz{3, 2, 2}));
    EXPECT_EQ(Matrix4x4::Trans::transformPoint(ba, {1, 1, 1}), (Xyz{4, 2, 2}));
}

TEST(MatrixMultiply, SumsRunLeftToRight) {
    // ((1e16 + 1) - 1e16) + 1 is 1 in doubles; any other order gives 0 or 2.
    Matrix4x4 a{{Matrix4x4Row{1e16, 1, -1e16, 1}, Matrix4x4Row{}, Matrix4x4Row{}, Matrix4x4Row{}}};
    Matrix4x4 ones{{Matrix4x4Row{1, 0, 0, 0}, Matrix4x4Row{1, 0, 0, 0}, Matrix4x4Row{1, 0, 0, 0},
                    Matrix4x4Row{1, 0, 0, 0}}};
    EXPECT_EQ(matrixMultiply(a, ones).rows[0][0], 1.0);
    // The same order in the point mapping: x' = ((1e16 * 1 + 1 * 1) + -1e16 * 1) + 1.
    Matrix4x4 p = identity;
    p.rows[0] = {1e16, 1, -1e16, 1};
    EXPECT_EQ(Matrix4x4::Trans::transformPoint(p, {1, 1, 1}).x, 1.0);
}

TEST(TransformPoint, HomogeneousDivideAndZeroW) {
    Matrix4x4 m = translate(1, 2, 3);
    EXPECT_EQ(Matrix4x4::Trans::transformPoint(m, {1, 1, 1}), (Xyz{2, 3, 4}));
    Matrix4x4 zeroRow = m;
    zeroRow.rows[3] = {0, 0, 0, 0};
    try {
        Matrix4x4::Trans::transformPoint(zeroRow, {5, 6, 7});
        FAIL();
    } catch (const EGeneric& e) {
        EXPECT_EQ(e.kind, 1);
        EXPECT_EQ(e.message, "Zero divide in Matrix4x4.Trans.transformPoint");
    }
    Matrix4x4 byZ = identity;
    byZ.rows[3] = {0, 0, 1, 0};
    EXPECT_THROW(Matrix4x4::Trans::transformPoint(byZ, {1, 1, 0}), EGeneric);
    EXPECT_THROW(Matrix4x4::Trans::transformPoint(byZ, {1, 1, -0.0}), EGeneric);
    EXPECT_EQ(Matrix4x4::Trans::transformPoint(byZ, {2, 4, 2}), (Xyz{1, 2, 1}));
    // A NaN w is not zero: it goes through.
    byZ.rows[3] = {0, 0, 0, std::numeric_limits<double>::quiet_NaN()};
    EXPECT_TRUE(std::isnan(Matrix4x4::Trans::transformPoint(byZ, {1, 1, 1}).x));
}

TEST(TransformDirection, IgnoresTranslation) {
    EXPECT_EQ(transformDirection(translate(5, 6, 7), {1, 2, 3}), (Xyz{1, 2, 3}));
    EXPECT_EQ(transformDirection(scale(2), {1, 2, 3}), (Xyz{2, 4, 6}));
}

TEST(Invert, KnownInverseAndIdentity) {
    EXPECT_EQ(Matrix4x4Mult::invert(identity), identity);
    Matrix4x4 m{{Matrix4x4Row{1, 0, 2, 0}, Matrix4x4Row{-1, 3, 0, 0}, Matrix4x4Row{0, 3, 1, 0},
                 Matrix4x4Row{0, 0, 0, 1}}};
    Matrix4x4 expected{{Matrix4x4Row{-1, -2, 2, 0}, Matrix4x4Row{-1.0 / 3, -1.0 / 3, 2.0 / 3, 0},
                        Matrix4x4Row{1, 1, -1, 0}, Matrix4x4Row{0, 0, 0, 1}}};
    expectNear(Matrix4x4Mult::invert(m), expected);
}

TEST(Invert, ProjectiveRowFourIsInvertedToo) {
    Matrix4x4 m{{Matrix4x4Row{2, 0, 0, 1}, Matrix4x4Row{0, 3, 0, 0}, Matrix4x4Row{0, 0, 1, 2},
                 Matrix4x4Row{0, 0, 1, 1}}};
    expectNear(matrixMultiply(m, Matrix4x4Mult::invert(m)), identity);
    expectNear(matrixMultiply(Matrix4x4Mult::invert(m), m), identity);
}

TEST(Invert, SingularRaisesDivideByZeroButNearlySingularInverts) {
    Matrix4x4 m = identity;
    m.rows[2] = {0, 0, 0, 0};
    try {
        Matrix4x4Mult::invert(m);
        FAIL();
    } catch (const EGeneric& e) {
        EXPECT_EQ(e.kind, 0);
        EXPECT_EQ(e.name, "DivideByZero");
        EXPECT_EQ(e.message, "Matrix4x4Mult.invert");
    }
    m.rows[2] = {0, 0, 1e-300, 0};
    EXPECT_NO_THROW(Matrix4x4Mult::invert(m));
}

}  // namespace
}  // namespace zil
