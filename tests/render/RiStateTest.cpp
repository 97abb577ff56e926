#include <tuple>

#include "RenderTestUtil.hpp"
#include "records/RecordConstants.hpp"
#include "records/RecordsTestUtil.hpp"
#include "render/RiPolygon.hpp"
#include "render/RiTransforms.hpp"

namespace zil::test {
namespace {

using Constants::identity;

// A report prints its line and raises RiAbort; the state stays as it was.
template <class F>
void expectReport(RiState& st, F call, const std::string& line) {
    const auto before = std::tuple(st.blockStack.size(), st.inFrame, st.inWorld, st.deviceWidth, st.perspective);
    EXPECT_EQ(stdoutOf([&] { EXPECT_THROW(call(), RiAbort); }), line + "\n");
    EXPECT_EQ(std::tuple(st.blockStack.size(), st.inFrame, st.inWorld, st.deviceWidth, st.perspective), before);
}

TEST(RiState, ColourReleaseAndStartUp) {
    RiState st;
    EXPECT_EQ(stdoutOf([&] { RiColor(st, {0.5, 0.5}); }), "Only RGB colors are supported!\n");
    EXPECT_EQ(st.currentColor, (std::vector<double>{0.5, 0.5}));
    EXPECT_EQ(stdoutOf([&] { riReleaseContext(st); }), "");
    RiTransformBegin(st);
    EXPECT_EQ(stdoutOf([&] { riReleaseContext(st); }), "Unmatched calls to Ri*Begin / Ri*End functions!\n");
    riStartUp();
    RiTransformBegin(riState());
    riStartUp();
    EXPECT_TRUE(riState().blockStack.empty());
    // 107 standard names, "abort" twice: a fresh table's last id is 106.
    EXPECT_EQ(riState().tokenTable.lastId(), 106);
}

TEST(RiState, NestingReportsLeaveTheStateAsItWas) {
    RiState st;
    expectReport(st, [&] { RiFrameEnd(st); }, "Calls to RiFrameEnd cannot be nested!");
    expectReport(st, [&] { RiWorldEnd(st); }, "Call to RiWorldEnd does not match a corresponding RiWorldBegin!");
    EXPECT_THROW(RiTransformEnd(st), Empty);
    RiFrameBegin(st, 40, 30);
    expectReport(st, [&] { RiFrameBegin(st, 99, 99); }, "Calls to RiFrameBegin cannot be nested!");
    expectReport(st, [&] { RiTransformEnd(st); },
                 "Call to RiTransformEnd() does not match a corresponding RiTransformBegin()!");
    RiTransformBegin(st);
    expectReport(st, [&] { RiFrameEnd(st); }, "Call to RiFrameEnd() does not match a corresponding RiFrameBegin()!");
    RiTransformEnd(st);

    RiProjection(st, st.tokens.perspective);
    EXPECT_EQ(std::pair(st.perspective, st.fieldOfView), std::pair(true, 90.0));
    st.fieldOfView = 45.0;
    RiProjection(st, st.tokens.orthographic);
    EXPECT_EQ(std::pair(st.perspective, st.fieldOfView), std::pair(false, 45.0));
    // Same id, other name: not the standard token.
    expectReport(st, [&] { RiProjection(st, Rt::Token{st.tokens.perspective.id, "persp"}); },
                 "Unknown (and unsupported) projection type for RiProjection");
    RiFrameEnd(st);
    EXPECT_TRUE(st.blockStack.empty());
}

TEST(RiState, RasterMatrixForADevice) {
    Scene s(400, 300);
    RiState& st = s.st;
    RiFrameBegin(st, 400, 300);
    RiProjection(st, st.tokens.perspective);
    concatTransform(st, translate(0, 0, 10));  // camera placement
    RiWorldBegin(st);
    // tan(45 degrees) = 1
    expectNear(st.rasterTransform, {{{{200, 0, 200, 0}, {0, -150, 150, 0}, {0, 0, -0.5, 0.5}, {0, 0, 1, 0}}}});
    EXPECT_EQ(st.cameraTransform, translate(0, 0, 10));
    EXPECT_EQ(st.currentTransform, identity);
    RiWorldEnd(st);
    EXPECT_FALSE(st.inWorld);
    EXPECT_EQ(st.rasterTransform, identity);
    EXPECT_EQ(st.cameraTransform, identity);
    RiFrameEnd(st);
}

TEST(RiTransforms, RotationsAndConcatenationActAfterTheCurrentTransform) {
    expectNear(transformPoint(axisAngleRotation(90, 0, 0, 1), {1, 0, 0}), {0, 1, 0});
    expectNear(transformPoint(axisAngleRotation(90, 1, 0, 0), {0, 1, 0}), {0, 0, 1});
    // The axis is used as given: (0, 0, 2) stretches z fourfold.
    expectNear(transformPoint(axisAngleRotation(90, 0, 0, 2), {0, 0, 1}), {0, 0, 4});
    RiState st;
    concatTransform(st, translate(1, 0, 0));
    st.transformChanged = false;
    rotateCurrentTransform(st, 90, 0, 0, 1);
    EXPECT_TRUE(st.transformChanged);
    // Translated first, then rotated: (0,0,0) -> (1,0,0) -> (0,1,0).
    expectNear(transformPoint(st.currentTransform, {0, 0, 0}), {0, 1, 0});
    concatTransform(st, scale(2));  // acts after the others
    expectNear(transformPoint(st.currentTransform, {0, 0, 0}), {0, 2, 0});
}

TEST(RiTransforms, PointsBetweenSpaces) {
    RiState st;
    const RiStandardTokens& t = st.tokens;
    st.cameraTransform = translate(0, 0, 10);
    st.rasterTransform = scale(2);
    st.rasterTransform.rows[2][2] = 1;
    const std::vector<Rt::Point> pts{{1, 2, 3}, {0, 0, 0}};
    EXPECT_EQ(RiTransformPoints(st, t.object, t.camera, pts), (std::vector<Rt::Point>{{1, 2, 13}, {0, 0, 10}}));
    EXPECT_EQ(RiTransformPoints(st, t.object, t.raster, pts), (std::vector<Rt::Point>{{2, 4, 13}, {0, 0, 10}}));
    for (const auto& [from, p] : {std::pair{t.raster, Xyz{2, 4, 13}}, std::pair{t.camera, Xyz{1, 2, 13}}}) {
        expectNear(RiTransformPoints(st, from, t.object, {p}).at(0), {1, 2, 3});
    }

    const Rt::Token world = st.tokenTable.intern("world");
    const std::string lazy = "I have been lazy - only transformation of points ";
    const std::tuple<Rt::Token, Rt::Token, std::string> unsupported[] = {
        {t.object, world, "to raster and camera space is implemented (from object space)"},
        {t.raster, t.camera, "to object space is implemented (from raster space)"},
        {world, t.object, "from object, raster and camera space is implemented"}};
    for (const auto& [from, to, line] : unsupported) {
        std::vector<Rt::Point> same;
        EXPECT_EQ(stdoutOf([&] { same = RiTransformPoints(st, from, to, pts); }), lazy + line + "\n");
        EXPECT_EQ(same, pts);  // unchanged
    }
    // A singular combined matrix, or a zero fourth coordinate, gives no points and no exception.
    setCurrentTransform(st, {{{{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}});
    EXPECT_TRUE(RiTransformPoints(st, t.camera, t.object, pts).empty());
    st.rasterTransform = {{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, -10}}}};
    setCurrentTransform(st, identity);
    EXPECT_TRUE(RiTransformPoints(st, t.object, t.raster, pts).empty());
}

}  // namespace
}  // namespace zil::test
