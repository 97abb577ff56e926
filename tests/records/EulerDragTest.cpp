#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "records/DragRotate.hpp"
#include "records/EulerAngles.hpp"
#include "records/RecordConstants.hpp"
#include "Capture.hpp"

namespace zil {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double twoPi = 6.283185307179586;

Matrix4x4 rotation(const Xyz& a) {
    test::Capture c;
    return transformListToMatrix(
        TransformList{ZilLValue::SUMVALUE("RotateZ", ZilLValue::REAL(a.z)),
                      ZilLValue::SUMVALUE("RotateY", ZilLValue::REAL(a.y)),
                      ZilLValue::SUMVALUE("RotateX", ZilLValue::REAL(a.x))},
        c.out());
}

Xyz euler(const Matrix4x4& m) {
    const auto& r = m.rows;
    return matrixToEulerAngles(r[0][0], r[1][0], r[2][0], r[0][1], r[1][1], r[2][1], r[2][2]);
}

void expectAngles(const Xyz& got, const Xyz& want, double eps = 1e-12) {
    EXPECT_NEAR(got.x, want.x, eps);
    EXPECT_NEAR(got.y, want.y, eps);
    EXPECT_NEAR(got.z, want.z, eps);
}

TEST(EulerAngles, QuadrantRules) {
    expectAngles(euler(Constants::identity), {0, 0, 0}, 0);
    expectAngles(euler(rotation({0.5, 0, 0})), {0.5, 0, 0});
    expectAngles(euler(rotation({0, 0, -0.5})), {0, 0, twoPi - 0.5});
    expectAngles(euler(rotation({3.0, 0, 0})), {3.0, 0, 0});
    expectAngles(euler(rotation({-3.0, 0, 0})), {twoPi - 3.0, 0, 0});
    expectAngles(euler(rotation({0, 0.3, 0})), {0, 0.3, 0});
    expectAngles(euler(rotation({0.2, 2.0, 0.4})), {0.2 + pi, pi - 2.0, 0.4 + pi});
}

TEST(EulerAngles, RatiosPushedPastOneGiveNoNaN) {
    const double over = 1.0000000000000002;
    Xyz a = matrixToEulerAngles(1, 0, 0, 0, 0, over, 0);
    EXPECT_EQ(a.x, pi / 2);
    Xyz b = matrixToEulerAngles(0, -over, 0, 1, 0, 0, 1);
    EXPECT_EQ(b.z, pi - -pi / 2);
    Xyz c = matrixToEulerAngles(0, 0, -over, 0, 1, 0, 0);
    EXPECT_FALSE(std::isnan(c.x) || std::isnan(c.y) || std::isnan(c.z));
}

TEST(DragRotate, NotDraggingChangesNothing) {
    test::Capture c;
    Placement p{{0.1, 0.2, 0.3}, {1, 2, 3}};
    EXPECT_FALSE(dragRotatePlacement(40, -7, false, p, c.out()));
    EXPECT_EQ(p.angles, (Xyz{0.1, 0.2, 0.3}));
}

TEST(DragRotate, TurnsAboutWorldAxes) {
    test::Capture c;
    Placement p{{0, 0, 0}, {1, 2, 3}};
    EXPECT_TRUE(dragRotatePlacement(-10, 0, true, p, c.out()));
    expectAngles(p.angles, {0, 0.2, 0});
    EXPECT_EQ(p.position, (Xyz{1, 2, 3}));

    p.angles = {0, 0, 0};
    dragRotatePlacement(0, 5, true, p, c.out());
    expectAngles(p.angles, {twoPi - 0.1, 0, 0});

    p.angles = {0, 0, 0};
    dragRotatePlacement(0, -5, true, p, c.out());
    expectAngles(p.angles, {0.1, 0, 0});

    p.angles = {0, 0, 0};
    dragRotatePlacement(50, 0, true, p, c.out());
    expectAngles(p.angles, {0, -1.0, 0});
    EXPECT_EQ(c.text(), "");
}

TEST(DragRotate, TurnIsOnTheLeftOfTheCurrentRotation) {
    test::Capture c;
    Placement p{{0.4, -0.3, 1.1}, {}};
    const Matrix4x4 before = rotation(p.angles);
    dragRotatePlacement(-7, 3, true, p, c.out());
    const double a = 7.0 / 5.0 / 10.0, b = -3.0 / 5.0 / 10.0;
    Matrix4x4 ry{{Matrix4x4Row{std::cos(a), 0, std::sin(a), 0}, Constants::unitRow2,
                  Matrix4x4Row{-std::sin(a), 0, std::cos(a), 0}, Constants::unitRow4}};
    Matrix4x4 rx{{Constants::unitRow1, Matrix4x4Row{0, std::cos(b), -std::sin(b), 0},
                  Matrix4x4Row{0, std::sin(b), std::cos(b), 0}, Constants::unitRow4}};
    Matrix4x4 want = matrixMultiply(rx, matrixMultiply(ry, before));
    Matrix4x4 got = rotation(p.angles);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(got.rows[i][j], want.rows[i][j], 1e-12);
}

TEST(DragRotate, LongDragsNeverStoreNaN) {
    test::Capture c;
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> d(-80, 80);
    Placement p{{0, pi / 2, 0}, {}};
    for (int i = 0; i < 20000; ++i) {
        // Keep returning to the poles, where the ratios sit at +-1.
        if (i % 100 == 0) p.angles = {0, (i % 200 == 0) ? pi / 2 : -pi / 2, 0};
        dragRotatePlacement(d(rng) / 8, d(rng) / 40, true, p, c.out());
        ASSERT_FALSE(std::isnan(p.angles.x) || std::isnan(p.angles.y) || std::isnan(p.angles.z)) << i;
    }
}

}  // namespace
}  // namespace zil
