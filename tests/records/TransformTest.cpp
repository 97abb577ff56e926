#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "RecordsTestUtil.hpp"
#include "records/DragRotate.hpp"
#include "records/EulerAngles.hpp"
#include "records/RecordConstants.hpp"
#include "shell/Errors.hpp"

namespace zil::test {
namespace {

using Constants::identity;
using R = Matrix4x4Row;

constexpr double pi = 3.141592653589793;
constexpr double twoPi = 6.283185307179586;

// kind/name/message of the EGeneric that `f` raises.
template <class F>
std::string raised(F f) {
    try {
        f();
    } catch (const EGeneric& e) {
        return std::to_string(e.kind) + "/" + e.name + "/" + e.message;
    }
    return "nothing raised";
}

TEST(Matrix4x4, ProductOrderAndLeftToRightSums) {
    const Matrix4x4 m{{R{1, 2, 3, 4}, R{5, 6, 7, 8}, R{9, 10, 11, 12}, R{13, 14, 15, 16}}};
    EXPECT_EQ(matrixMultiply(identity, m), m);
    EXPECT_EQ(matrixMultiply(m, identity), m);
    EXPECT_EQ(transformPoint(matrixMultiply(translate(1, 0, 0), scale(2)), {1, 1, 1}), (Xyz{3, 2, 2}));
    EXPECT_EQ(transformPoint(matrixMultiply(scale(2), translate(1, 0, 0)), {1, 1, 1}), (Xyz{4, 2, 2}));
    // ((1e16 + 1) - 1e16) + 1 is 1 in doubles; any other order gives 0 or 2.
    Matrix4x4 p = identity;
    p.rows[0] = {1e16, 1, -1e16, 1};
    const R one{1, 0, 0, 0};
    EXPECT_EQ(matrixMultiply(p, Matrix4x4{{one, one, one, one}}).rows[0][0], 1.0);
    EXPECT_EQ(transformPoint(p, {1, 1, 1}).x, 1.0);
}

TEST(Matrix4x4, HomogeneousDivide) {
    Matrix4x4 byZ = identity;
    byZ.rows[3] = {0, 0, 1, 0};
    EXPECT_EQ(transformPoint(byZ, {2, 4, 2}), (Xyz{1, 2, 1}));
    for (double z : {0.0, -0.0})
        EXPECT_EQ(raised([&] { transformPoint(byZ, {5, 6, z}); }), "1//Zero divide in Matrix4x4.Trans.transformPoint");
    // A NaN w is not zero: it goes through.
    byZ.rows[3] = {0, 0, 0, std::numeric_limits<double>::quiet_NaN()};
    EXPECT_TRUE(std::isnan(transformPoint(byZ, {1, 1, 1}).x));
    EXPECT_EQ(transformDirection(translate(5, 6, 7), {1, 2, 3}), (Xyz{1, 2, 3}));
}

TEST(Matrix4x4, InverseOfProjectiveSingularAndNearlySingular) {
    Matrix4x4 m{{R{2, 0, 0, 1}, R{0, 3, 0, 0}, R{0, 0, 1, 2}, R{0, 0, 1, 1}}};
    expectNear(matrixMultiply(m, Matrix4x4Mult::invert(m)), identity);
    expectNear(matrixMultiply(Matrix4x4Mult::invert(m), m), identity);
    m = identity;
    m.rows[2] = {0, 0, 0, 0};
    EXPECT_EQ(raised([&] { Matrix4x4Mult::invert(m); }), "0/DivideByZero/Matrix4x4Mult.invert");
    m.rows[2] = {0, 0, 1e-300, 0};
    EXPECT_NO_THROW(Matrix4x4Mult::invert(m));
}

TEST(WholeDegrees, MultiplesOfNinetyAreExact) {
    const double c = std::cos((45 * pi) / 180.0), s = std::sin((45 * pi) / 180.0);
    const struct { const char* name; int degrees; Matrix4x4 want; } cases[] = {
        {"IntDegRotateZ", 90, {{R{0, -1, 0, 0}, R{1, 0, 0, 0}, R{0, 0, 1, 0}, R{0, 0, 0, 1}}}},
        {"IntDegRotateX", -90, {{R{1, 0, 0, 0}, R{0, 0, 1, 0}, R{0, -1, 0, 0}, R{0, 0, 0, 1}}}},
        {"IntDegRotateY", 450, {{R{0, 0, 1, 0}, R{0, 1, 0, 0}, R{-1, 0, 0, 0}, R{0, 0, 0, 1}}}},
        {"IntDegRotateZ", -180, {{R{-1, 0, 0, 0}, R{0, -1, 0, 0}, R{0, 0, 1, 0}, R{0, 0, 0, 1}}}},
        {"IntDegRotateX", -720, identity},
        {"IntDegRotateZ", 45, {{R{c, -s, 0, 0}, R{s, c, 0, 0}, R{0, 0, 1, 0}, R{0, 0, 0, 1}}}},
    };
    for (const auto& k : cases) EXPECT_EQ(convert({T(k.name, deg(k.degrees))}), k.want) << k.name << k.degrees;
    EXPECT_EQ(convert({T("IntDegRotateX", deg(INT_MIN))}).rows[1][1], std::cos((INT_MIN * pi) / 180.0));
}

TEST(TransformList, ProductInListOrder) {
    EXPECT_EQ(convert({}), identity);
    Matrix4x4 m = convert({T("TranslateXYZ", xyz(1, 2, 3)), T("ScaleXYZ", xyz(2, 2, 2))});
    EXPECT_EQ(transformPoint(m, {1, 1, 1}), (Xyz{3, 4, 5}));
    EXPECT_EQ(convert({T("RotateX", real(0.5))}), (Matrix4x4{{R{1, 0, 0, 0}, R{0, std::cos(0.5), -std::sin(0.5), 0},
                                                              R{0, std::sin(0.5), std::cos(0.5), 0}, R{0, 0, 0, 1}}}));
}

TEST(TransformList, MalformedElementsAreReportedInOrderAndCountAsIdentity) {
    Capture c;
    TransformList l{T("rotateX", real(1.0)), T("TranslateXYZ", xyz(1, 2, 3)),
                    ZilLValue::RECORD(FieldArray{}), T("RotateX", deg(1)), T("IntDegRotateX", real(90)),
                    T("ScaleXYZ", ZilLValue::ARRAY(ValueArray{})), T("ScaleXYZ", xyz(2, 2, 2))};
    Matrix4x4 m = transformListToMatrix(l, c.out());
    const std::string in = " in function ZilLCoordTransforms.transformToMatrix4x4\n";
    EXPECT_EQ(c.text(), "Internal Error: Invalid SUMVALUE constructor rotateX" + in +
                            "Internal Error: Expected SUMVALUE not found" + in +
                            "Internal Error: Invalid SUMVALUE constructor RotateX" + in +
                            "Internal Error: Invalid SUMVALUE constructor IntDegRotateX" + in +
                            "Internal Error: Invalid SUMVALUE constructor ScaleXYZ" + in);
    EXPECT_EQ(m, convert({T("TranslateXYZ", xyz(1, 2, 3)), T("ScaleXYZ", xyz(2, 2, 2))}));
}

TEST(AnglesToTransformList, MoveThenZYXThenTheSharedUnitScale) {
    const TransformList l = anglesToTransformList(Placement{{0.3, -0.2, 0.1}, {1, 2, 3}});
    ASSERT_EQ(l.size(), 5u);
    EXPECT_TRUE(l[4].sameNode(Constants::unitScaleTransformList().front()));
    EXPECT_EQ(convert(l), convert({T("TranslateXYZ", xyz(1, 2, 3)), T("RotateZ", real(0.1)), T("RotateY", real(-0.2)),
                                   T("RotateX", real(0.3))}));
}

TEST(InverseTransforms, InvertByConstructor) {
    Capture c;
    auto inv = [&](const TransformList& l) { return inverseTransformListToMatrix(l, c.out()); };
    EXPECT_EQ(inv({}), identity);
    EXPECT_EQ(inv({T("RotateX", real(0.5))}), convert({T("RotateX", real(-0.5))}));
    EXPECT_EQ(inv({T("IntDegRotateZ", deg(90))}),
              (Matrix4x4{{R{0, 1, 0, 0}, R{-1, 0, 0, 0}, R{0, 0, 1, 0}, R{0, 0, 0, 1}}}));
    Matrix4x4 ts = inv({T("TranslateXYZ", xyz(1, 2, 3)), T("ScaleXYZ", xyz(2, 2, 2))});
    EXPECT_EQ(transformPoint(ts, {3, 4, 5}), (Xyz{1, 1, 1}));
    // Zero scale factors stay 1; infinite ones give 0; NaN passes through.
    EXPECT_EQ(inv({T("ScaleXYZ", xyz(2.0, 0.0, -4.0))}), convert({T("ScaleXYZ", xyz(0.5, 1.0, -0.25))}));
    EXPECT_EQ(inv({T("ScaleXYZ", xyz(-0.0, 1.0, 1.0))}), identity);
    EXPECT_EQ(inv({T("ScaleXYZ", xyz(INFINITY, 1.0, 1.0))}).rows[0][0], 0.0);
    EXPECT_TRUE(std::isnan(inv({T("ScaleXYZ", xyz(NAN, 1.0, 1.0))}).rows[0][0]));
    EXPECT_EQ(c.text(), "");
    // The most negative whole degree cannot be negated.
    EXPECT_THROW(inv({T("IntDegRotateX", deg(INT_MIN))}), Overflow);
    EXPECT_EQ(c.text(), "");
}

TEST(InverseTransforms, FaultsPrintTwoLinesOnTheirStreamsAndCountAsIdentity) {
    Capture out, conv;
    Matrix4x4 m = inverseTransformListToMatrix(
        TransformList{T("RotateY", real(0.3)), ZilLValue::RECORD(FieldArray{}), T("TranslateXYZ", xyz(0, 0, 1))},
        out.out(), conv.out());
    EXPECT_EQ(out.text(), "Internal Error: Expected SUMVALUE not found in function ZilLCoordTransforms.mapSUMVALUE\n");
    EXPECT_EQ(conv.text(),
              "Internal Error: Expected SUMVALUE not found in function ZilLCoordTransforms.transformToMatrix4x4\n");
    EXPECT_EQ(m, matrixMultiply(convert({T("TranslateXYZ", xyz(0, 0, -1))}), convert({T("RotateY", real(-0.3))})));

    m = inverseTransformListToMatrix(TransformList{T("RotateX", deg(1)), T("Shear", real(1))}, out.out(), conv.out());
    EXPECT_EQ(m, identity);
    const std::string inv = " in function ZilLCoordTransforms.invertTransformF\n";
    const std::string fwd = " in function ZilLCoordTransforms.transformToMatrix4x4\n";
    EXPECT_EQ(out.text(), "Internal Error: Invalid SUMVALUE constructor RotateX" + inv +
                              "Internal Error: Invalid SUMVALUE constructor Shear" + inv);
    EXPECT_EQ(conv.text(), "Internal Error: Invalid SUMVALUE constructor RotateX" + fwd +
                               "Internal Error: Invalid SUMVALUE constructor Shear" + fwd);
}

Matrix4x4 rotation(const Xyz& a) {
    return convert({T("RotateZ", real(a.z)), T("RotateY", real(a.y)), T("RotateX", real(a.x))});
}

Xyz euler(const Matrix4x4& m) {
    const auto& r = m.rows;
    return matrixToEulerAngles(r[0][0], r[1][0], r[2][0], r[0][1], r[1][1], r[2][1], r[2][2]);
}

bool anyNaN(const Xyz& a) { return std::isnan(a.x) || std::isnan(a.y) || std::isnan(a.z); }

TEST(EulerAngles, QuadrantRules) {
    EXPECT_EQ(euler(identity), (Xyz{0, 0, 0}));
    const struct { Xyz in, out; } cases[] = {
        {{0.5, 0, 0}, {0.5, 0, 0}},   {{0, 0, -0.5}, {0, 0, twoPi - 0.5}}, {{3.0, 0, 0}, {3.0, 0, 0}},
        {{-3.0, 0, 0}, {twoPi - 3.0, 0, 0}}, {{0, 0.3, 0}, {0, 0.3, 0}},
        {{0.2, 2.0, 0.4}, {0.2 + pi, pi - 2.0, 0.4 + pi}}};
    for (const auto& k : cases) expectNear(euler(rotation(k.in)), k.out);
}

TEST(EulerAngles, RatiosPushedPastOneGiveNoNaN) {
    const double over = 1.0000000000000002;
    EXPECT_EQ(matrixToEulerAngles(1, 0, 0, 0, 0, over, 0).x, pi / 2);
    EXPECT_EQ(matrixToEulerAngles(0, -over, 0, 1, 0, 0, 1).z, pi - -pi / 2);
    EXPECT_FALSE(anyNaN(matrixToEulerAngles(0, 0, -over, 0, 1, 0, 0)));
}

TEST(DragRotate, TurnsAboutWorldAxesOnlyWhileDragging) {
    Capture c;
    Placement p{{0.1, 0.2, 0.3}, {1, 2, 3}};
    EXPECT_FALSE(dragRotatePlacement(40, -7, false, p, c.out()));
    EXPECT_EQ(p.angles, (Xyz{0.1, 0.2, 0.3}));
    const struct { int dx, dy; Xyz want; } cases[] = {
        {-10, 0, {0, 0.2, 0}}, {0, 5, {twoPi - 0.1, 0, 0}}, {0, -5, {0.1, 0, 0}}, {50, 0, {0, -1.0, 0}}};
    for (const auto& k : cases) {
        p.angles = {0, 0, 0};
        EXPECT_TRUE(dragRotatePlacement(k.dx, k.dy, true, p, c.out()));
        expectNear(p.angles, k.want);
    }
    EXPECT_EQ(p.position, (Xyz{1, 2, 3}));
    EXPECT_EQ(c.text(), "");
}

TEST(DragRotate, TurnIsOnTheLeftOfTheCurrentRotation) {
    Capture c;
    Placement p{{0.4, -0.3, 1.1}, {}};
    const Matrix4x4 before = rotation(p.angles);
    dragRotatePlacement(-7, 3, true, p, c.out());
    const Matrix4x4 ry = rotation({0, 7.0 / 5.0 / 10.0, 0}), rx = rotation({-3.0 / 5.0 / 10.0, 0, 0});
    expectNear(rotation(p.angles), matrixMultiply(rx, matrixMultiply(ry, before)));
}

}  // namespace
}  // namespace zil::test
