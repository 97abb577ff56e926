#include <gtest/gtest.h>

#include "RenderTestUtil.hpp"
#include "records/RecordConstants.hpp"
#include "render/RiTransforms.hpp"

namespace zil {
namespace {

using test::captured;

void expectNear(const Xyz& a, const Xyz& b, double eps = 1e-12) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

TEST(RiTransforms, AxisAngleRotation) {
    expectNear(Matrix4x4::Trans::transformPoint(axisAngleRotation(90, 0, 0, 1), {1, 0, 0}), {0, 1, 0});
    expectNear(Matrix4x4::Trans::transformPoint(axisAngleRotation(90, 1, 0, 0), {0, 1, 0}), {0, 0, 1});
    // The axis is used as given: (0, 0, 2) stretches z fourfold.
    expectNear(Matrix4x4::Trans::transformPoint(axisAngleRotation(90, 0, 0, 2), {0, 0, 1}), {0, 0, 4});

    RiState st;
    st.transformChanged = false;
    setCurrentTransform(st, {{{{1, 0, 0, 1}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}});
    rotateCurrentTransform(st, 90, 0, 0, 1);
    EXPECT_TRUE(st.transformChanged);
    // Translated first, then rotated: (0,0,0) -> (1,0,0) -> (0,1,0).
    expectNear(Matrix4x4::Trans::transformPoint(st.currentTransform, {0, 0, 0}), {0, 1, 0});
}

TEST(RiTransforms, PreviewView) {
    RiState st;
    previewViewTransform(st, 0);
    Matrix4x4 expected = axisAngleRotation(-30, 1, 0, 0);
    expected = matrixMultiply(axisAngleRotation(130, 0, 1, 0), expected);
    expected = matrixMultiply(axisAngleRotation(0.0, 0, 0, 1), expected);
    expected = matrixMultiply({{{{3.5, 0, 0, 0}, {0, 3.5, 0, 0}, {0, 0, 3.5, 0}, {0, 0, 0, 1}}}}, expected);
    EXPECT_EQ(st.currentTransform, expected);
}

TEST(RiTransforms, PointsBetweenSpaces) {
    RiState st;
    const RiStandardTokens& t = st.tokens;
    st.cameraTransform = {{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 10}, {0, 0, 0, 1}}}};
    st.rasterTransform = {{{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}};
    const std::vector<Rt::Point> pts{{1, 2, 3}, {0, 0, 0}};

    EXPECT_EQ(RiTransformPoints(st, t.object, t.camera, pts), (std::vector<Rt::Point>{{1, 2, 13}, {0, 0, 10}}));
    EXPECT_EQ(RiTransformPoints(st, t.object, t.raster, pts), (std::vector<Rt::Point>{{2, 4, 13}, {0, 0, 10}}));
    auto back = RiTransformPoints(st, t.raster, t.object, {{2, 4, 13}});
    ASSERT_EQ(back.size(), 1u);
    expectNear(back[0], {1, 2, 3});
    back = RiTransformPoints(st, t.camera, t.object, {{1, 2, 13}});
    ASSERT_EQ(back.size(), 1u);
    expectNear(back[0], {1, 2, 3});

    const Rt::Token world = st.tokenTable.intern("world");
    std::vector<Rt::Point> same;
    EXPECT_EQ(captured([&] { same = RiTransformPoints(st, t.object, world, pts); }),
              "I have been lazy - only transformation of points to raster and camera space is implemented (from "
              "object space)\n");
    EXPECT_EQ(same, pts);
    EXPECT_EQ(captured([&] { RiTransformPoints(st, t.raster, t.camera, pts); }),
              "I have been lazy - only transformation of points to object space is implemented (from raster "
              "space)\n");
    EXPECT_EQ(captured([&] { RiTransformPoints(st, t.camera, t.raster, pts); }),
              "I have been lazy - only transformation of points to object space is implemented (from camera "
              "space)\n");
    EXPECT_EQ(captured([&] { RiTransformPoints(st, world, t.object, pts); }),
              "I have been lazy - only transformation of points from object, raster and camera space is "
              "implemented\n");

    // A singular combined matrix gives no points and no exception.
    setCurrentTransform(st, {{{{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}});
    EXPECT_TRUE(RiTransformPoints(st, t.camera, t.object, pts).empty());
    // So does a zero fourth coordinate.
    st.rasterTransform = {{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, -10}}}};
    setCurrentTransform(st, Constants::identity);
    EXPECT_TRUE(RiTransformPoints(st, t.object, t.raster, pts).empty());
}

TEST(RiTransforms, RealListToArray) {
    EXPECT_TRUE(realListToArray({}).empty());
    EXPECT_EQ(realListToArray({0.5, 0.63, 0.75}), (std::vector<double>{0.5, 0.63, 0.75}));
}

}  // namespace
}  // namespace zil
