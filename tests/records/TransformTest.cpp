#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

#include "records/RecordConstants.hpp"
#include "records/ZilLCoordTransforms.hpp"
#include "Capture.hpp"

namespace zil {
namespace {

using Constants::identity;
using R = Matrix4x4Row;

ZilLValue T(std::string_view name, ZilLValue arg) { return ZilLValue::SUMVALUE(name, std::move(arg)); }
ZilLValue real(double r) { return ZilLValue::REAL(r); }
ZilLValue deg(int n) { return ZilLValue::INT(n); }
ZilLValue xyz(double x, double y, double z) { return ZilLValue::XYZ(x, y, z); }

Matrix4x4 convert(const TransformList& l) {
    test::Capture c;
    Matrix4x4 m = transformListToMatrix(l, c.out());
    EXPECT_EQ(c.text(), "");
    return m;
}

void expectNear(const Matrix4x4& a, const Matrix4x4& b, double eps = 1e-12) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.rows[i][j], b.rows[i][j], eps) << i << "," << j;
}

TEST(WholeDegrees, MultiplesOfNinetyAreExact) {
    EXPECT_EQ(convert({T("IntDegRotateZ", deg(90))}),
              (Matrix4x4{{R{0, -1, 0, 0}, R{1, 0, 0, 0}, R{0, 0, 1, 0}, R{0, 0, 0, 1}}}));
    EXPECT_EQ(convert({T("IntDegRotateX", deg(-90))}),
              (Matrix4x4{{R{1, 0, 0, 0}, R{0, 0, 1, 0}, R{0, -1, 0, 0}, R{0, 0, 0, 1}}}));
    EXPECT_EQ(convert({T("IntDegRotateY", deg(450))}),
              (Matrix4x4{{R{0, 0, 1, 0}, R{0, 1, 0, 0}, R{-1, 0, 0, 0}, R{0, 0, 0, 1}}}));
    EXPECT_EQ(convert({T("IntDegRotateZ", deg(-180))}),
              (Matrix4x4{{R{-1, 0, 0, 0}, R{0, -1, 0, 0}, R{0, 0, 1, 0}, R{0, 0, 0, 1}}}));
    EXPECT_EQ(convert({T("IntDegRotateX", deg(-720))}), identity);
    EXPECT_EQ(convert({T("IntDegRotateX", deg(INT_MIN))}).rows[1][1], std::cos((INT_MIN * 3.141592653589793) / 180.0));
    const double a = (45 * 3.141592653589793) / 180.0;
    EXPECT_EQ(convert({T("IntDegRotateZ", deg(45))}),
              (Matrix4x4{{R{std::cos(a), -std::sin(a), 0, 0}, R{std::sin(a), std::cos(a), 0, 0}, R{0, 0, 1, 0},
                          R{0, 0, 0, 1}}}));
}

TEST(TransformList, ProductInListOrder) {
    EXPECT_EQ(convert({}), identity);
    Matrix4x4 m = convert({T("TranslateXYZ", xyz(1, 2, 3)), T("ScaleXYZ", xyz(2, 2, 2))});
    EXPECT_EQ(Matrix4x4::Trans::transformPoint(m, {1, 1, 1}), (Xyz{3, 4, 5}));
    Matrix4x4 rx = convert({T("RotateX", real(0.5))});
    EXPECT_EQ(rx, (Matrix4x4{{R{1, 0, 0, 0}, R{0, std::cos(0.5), -std::sin(0.5), 0},
                              R{0, std::sin(0.5), std::cos(0.5), 0}, R{0, 0, 0, 1}}}));
}

TEST(TransformList, MalformedElementsAreReportedInOrderAndCountAsIdentity) {
    test::Capture c;
    TransformList l{T("rotateX", real(1.0)), T("TranslateXYZ", xyz(1, 2, 3)),
                    ZilLValue::RECORD(FieldArray{}), T("RotateX", deg(1)), T("IntDegRotateX", real(90)),
                    T("ScaleXYZ", ZilLValue::ARRAY(ValueArray{})), T("ScaleXYZ", xyz(2, 2, 2))};
    Matrix4x4 m = transformListToMatrix(l, c.out());
    EXPECT_EQ(c.text(),
              "Internal Error: Invalid SUMVALUE constructor rotateX in function ZilLCoordTransforms.transformToMatrix4x4\n"
              "Internal Error: Expected SUMVALUE not found in function ZilLCoordTransforms.transformToMatrix4x4\n"
              "Internal Error: Invalid SUMVALUE constructor RotateX in function ZilLCoordTransforms.transformToMatrix4x4\n"
              "Internal Error: Invalid SUMVALUE constructor IntDegRotateX in function "
              "ZilLCoordTransforms.transformToMatrix4x4\n"
              "Internal Error: Invalid SUMVALUE constructor ScaleXYZ in function ZilLCoordTransforms.transformToMatrix4x4\n");
    EXPECT_EQ(m, convert({T("TranslateXYZ", xyz(1, 2, 3)), T("ScaleXYZ", xyz(2, 2, 2))}));
}

TEST(AnglesToTransformList, PlacementListEndsInTheSharedUnitScale) {
    Placement p{{0, 0, 3.141592653589793 / 2}, {0, 0, 0}};
    TransformList l = anglesToTransformList(p);
    ASSERT_EQ(l.size(), 5u);
    EXPECT_TRUE(l[4].sameNode(Constants::unitScaleTransformList().front()));
    EXPECT_EQ(l[0].sumName().str(), "TranslateXYZ");
    EXPECT_EQ(l[1].sumName().str(), "RotateZ");
    Xyz q = Matrix4x4::Trans::transformPoint(convert(l), {1, 0, 0});
    EXPECT_NEAR(q.x, 0, 1e-15);
    EXPECT_NEAR(q.y, 1, 1e-15);
    EXPECT_NEAR(q.z, 0, 1e-15);
    // Rotation about x first, then y, then z, then the move.
    Placement p2{{0.3, -0.2, 0.1}, {1, 2, 3}};
    Matrix4x4 expected = convert({T("TranslateXYZ", xyz(1, 2, 3)), T("RotateZ", real(0.1)), T("RotateY", real(-0.2)),
                                  T("RotateX", real(0.3))});
    EXPECT_EQ(convert(anglesToTransformList(p2)), expected);
}

TEST(InverseTransforms, InvertByConstructor) {
    test::Capture c;
    auto inv = [&](const TransformList& l) { return inverseTransformListToMatrix(l, c.out()); };
    EXPECT_EQ(inv({}), identity);
    EXPECT_EQ(inv({T("RotateX", real(0.5))}), convert({T("RotateX", real(-0.5))}));
    EXPECT_EQ(inv({T("IntDegRotateZ", deg(90))}),
              (Matrix4x4{{R{0, 1, 0, 0}, R{-1, 0, 0, 0}, R{0, 0, 1, 0}, R{0, 0, 0, 1}}}));
    Matrix4x4 ts = inv({T("TranslateXYZ", xyz(1, 2, 3)), T("ScaleXYZ", xyz(2, 2, 2))});
    EXPECT_EQ(Matrix4x4::Trans::transformPoint(ts, {3, 4, 5}), (Xyz{1, 1, 1}));
    EXPECT_EQ(inv({T("ScaleXYZ", xyz(2.0, 0.0, -4.0))}), convert({T("ScaleXYZ", xyz(0.5, 1.0, -0.25))}));
    EXPECT_EQ(inv({T("ScaleXYZ", xyz(-0.0, 1.0, 1.0))}), identity);
    EXPECT_EQ(inv({T("ScaleXYZ", xyz(INFINITY, 1.0, 1.0))}).rows[0][0], 0.0);
    EXPECT_TRUE(std::isnan(inv({T("ScaleXYZ", xyz(NAN, 1.0, 1.0))}).rows[0][0]));
    EXPECT_EQ(c.text(), "");
}

TEST(InverseTransforms, FaultsPrintTwoLinesOnTheirStreamsAndCountAsIdentity) {
    test::Capture out, conv;
    Matrix4x4 m = inverseTransformListToMatrix(
        TransformList{T("RotateY", real(0.3)), ZilLValue::RECORD(FieldArray{}), T("TranslateXYZ", xyz(0, 0, 1))},
        out.out(), conv.out());
    EXPECT_EQ(out.text(), "Internal Error: Expected SUMVALUE not found in function ZilLCoordTransforms.mapSUMVALUE\n");
    EXPECT_EQ(conv.text(),
              "Internal Error: Expected SUMVALUE not found in function ZilLCoordTransforms.transformToMatrix4x4\n");
    EXPECT_EQ(m, matrixMultiply(convert({T("TranslateXYZ", xyz(0, 0, -1))}), convert({T("RotateY", real(-0.3))})));

    m = inverseTransformListToMatrix(TransformList{T("RotateX", deg(1)), T("Shear", real(1))}, out.out(),
                                     conv.out());
    EXPECT_EQ(m, identity);
    EXPECT_EQ(out.text(),
              "Internal Error: Invalid SUMVALUE constructor RotateX in function ZilLCoordTransforms.invertTransformF\n"
              "Internal Error: Invalid SUMVALUE constructor Shear in function ZilLCoordTransforms.invertTransformF\n");
    EXPECT_EQ(conv.text(),
              "Internal Error: Invalid SUMVALUE constructor RotateX in function ZilLCoordTransforms.transformToMatrix4x4\n"
              "Internal Error: Invalid SUMVALUE constructor Shear in function ZilLCoordTransforms.transformToMatrix4x4\n");
}

TEST(InverseTransforms, MostNegativeWholeDegreeRaisesOverflowSilently) {
    test::Capture c;
    EXPECT_THROW(inverseTransformListToMatrix(TransformList{T("IntDegRotateX", deg(INT_MIN))}, c.out()), Overflow);
    EXPECT_EQ(c.text(), "");
}

TEST(InverseTransforms, ListTimesItsInverseIsTheIdentity) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-3, 3), pos(0.5, 2);
    std::uniform_int_distribution<int> kind(0, 7), degs(-400, 400);
    const char* names[] = {"RotateX",       "RotateY",      "RotateZ",  "IntDegRotateX",
                           "IntDegRotateY", "IntDegRotateZ", "TranslateXYZ", "ScaleXYZ"};
    for (int round = 0; round < 50; ++round) {
        TransformList l;
        for (int i = 0; i < 6; ++i) {
            int k = kind(rng);
            ZilLValue arg = k < 3 ? real(u(rng)) : k < 6 ? deg(degs(rng)) : k == 6 ? xyz(u(rng), u(rng), u(rng))
                                                                                : xyz(pos(rng), -pos(rng), pos(rng));
            l.push_back(T(names[k], arg));
        }
        l.push_back(Constants::unitScaleTransformList().front());
        test::Capture c;
        Matrix4x4 fwd = transformListToMatrix(l, c.out());
        Matrix4x4 inv = inverseTransformListToMatrix(l, c.out());
        expectNear(matrixMultiply(fwd, inv), identity, 1e-9);
        expectNear(matrixMultiply(inv, fwd), identity, 1e-9);
        EXPECT_EQ(c.text(), "");
    }
}

}  // namespace
}  // namespace zil
