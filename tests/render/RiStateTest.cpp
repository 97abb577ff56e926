#include <gtest/gtest.h>

#include <cmath>

#include "RenderTestUtil.hpp"
#include "records/RecordConstants.hpp"
#include "render/RiPolygon.hpp"
#include "render/RiState.hpp"

namespace zil {
namespace {

using test::captured;

Matrix4x4 translation(double x, double y, double z) { return {{{{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}}}}; }

void expectNear(const Matrix4x4& a, const Matrix4x4& b) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.rows[i][j], b.rows[i][j], 1e-12) << i << "," << j;
}

// A report prints its line and raises RiAbort; the state stays as it was.
template <class F>
void expectReport(RiState& st, F call, const std::string& line) {
    const auto stack = st.blockStack.size();
    const bool inFrame = st.inFrame, inWorld = st.inWorld;
    const auto w = st.deviceWidth;
    EXPECT_EQ(captured([&] { EXPECT_THROW(call(), RiAbort); }), line + "\n");
    EXPECT_EQ(st.blockStack.size(), stack);
    EXPECT_EQ(st.inFrame, inFrame);
    EXPECT_EQ(st.inWorld, inWorld);
    EXPECT_EQ(st.deviceWidth, w);
}

TEST(RiState, BeginSetsUpTheContext) {
    RiState st;
    st.currentColor = {0.1, 0.2};
    st.deviceWidth = 5;
    concatTransform(st, translation(1, 2, 3));
    st.transformChanged = false;
    RiBegin(st, "subdivisionTestOutput.rib");
    EXPECT_EQ(st.tokenTable.lastId(), 107);
    EXPECT_EQ(st.currentTransform, Constants::identity);
    EXPECT_TRUE(st.transformChanged);
    EXPECT_EQ(st.currentColor, (std::vector<double>{1.0, 1.0, 1.0}));
    EXPECT_EQ(st.deviceWidth, 0);
}

TEST(RiState, NestingReports) {
    RiState st;
    expectReport(st, [&] { RiFrameEnd(st); }, "Calls to RiFrameEnd cannot be nested!");
    expectReport(st, [&] { RiWorldEnd(st); }, "Call to RiWorldEnd does not match a corresponding RiWorldBegin!");
    EXPECT_THROW(RiTransformEnd(st), Empty);

    RiFrameBegin(st, 40, 30);
    expectReport(st, [&] { RiFrameBegin(st, 99, 99); }, "Calls to RiFrameBegin cannot be nested!");
    EXPECT_EQ(st.deviceWidth, 40);
    expectReport(st, [&] { RiTransformEnd(st); },
                 "Call to RiTransformEnd() does not match a corresponding RiTransformBegin()!");
    RiTransformBegin(st);
    expectReport(st, [&] { RiFrameEnd(st); }, "Call to RiFrameEnd() does not match a corresponding RiFrameBegin()!");
    RiTransformEnd(st);
    RiFrameEnd(st);
    EXPECT_TRUE(st.blockStack.empty());

    RiProjection(st, st.tokens.perspective);
    EXPECT_TRUE(st.perspective);
    EXPECT_EQ(st.fieldOfView, 90.0);
    st.fieldOfView = 45.0;
    RiProjection(st, st.tokens.orthographic);
    EXPECT_FALSE(st.perspective);
    EXPECT_EQ(st.fieldOfView, 45.0);
    // Same id, other name: not the standard token.
    expectReport(st, [&] { RiProjection(st, Rt::Token{st.tokens.perspective.id, "persp"}); },
                 "Unknown (and unsupported) projection type for RiProjection");
    EXPECT_FALSE(st.perspective);
}

TEST(RiState, FrameEndRestoresWhatTheFrameSaved) {
    RiState st;
    st.lights = {{1, 2, 3}};
    RiFrameBegin(st, 400, 300);
    RiProjection(st, st.tokens.perspective);
    concatTransform(st, translation(0, 0, 5));
    RiColor(st, {0.1, 0.2, 0.3});
    RiLightSource(st);
    EXPECT_EQ(st.lights, (std::vector<Xyz>{{0, 0, 5}, {1, 2, 3}}));
    RiFrameEnd(st);
    EXPECT_FALSE(st.inFrame || st.perspective);
    EXPECT_EQ(st.fieldOfView, 0.0);
    EXPECT_EQ(st.deviceWidth, 0);
    EXPECT_EQ(st.currentTransform, Constants::identity);
    EXPECT_EQ(st.currentColor, (std::vector<double>{1.0, 1.0, 1.0}));
    EXPECT_EQ(st.lights, (std::vector<Xyz>{{1, 2, 3}}));
}

TEST(RiState, ConcatenationAndTheCombinedCache) {
    RiState st;
    const Matrix4x4 s{{{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}}}};
    concatTransform(st, translation(1, 0, 0));
    concatTransform(st, s);
    // The later matrix acts after the earlier one: (1,1,1) -> (2,1,1) -> (4,2,2).
    EXPECT_EQ(Matrix4x4::Trans::transformPoint(st.currentTransform, {1, 1, 1}), (Xyz{4, 2, 2}));
    RiTransformBegin(st);
    concatTransform(st, s);
    RiTransformEnd(st);
    EXPECT_EQ(st.currentTransform, matrixMultiply(s, translation(1, 0, 0)));

    st.cameraTransform = translation(0, 0, 10);
    setCurrentTransform(st, translation(1, 0, 0));
    updateCombinedTransform(st);
    EXPECT_FALSE(st.transformChanged);
    EXPECT_EQ(st.combinedTransform, translation(1, 0, 10));
    st.cameraTransform = Constants::identity;  // no change of the current transformation: cached
    updateCombinedTransform(st);
    EXPECT_EQ(st.combinedTransform, translation(1, 0, 10));
}

TEST(RiState, RasterMatrixForADevice) {
    RiState st;
    test::Surface colour(400, 300);
    ASSERT_TRUE(RealtimeZilyMan::installOffscreenDevice(st, colour.s, 400, 300));
    RiFrameBegin(st, 400, 300);
    RiProjection(st, st.tokens.perspective);
    concatTransform(st, translation(0, 0, 10));  // camera placement
    RiWorldBegin(st);
    const double t = std::tan(M_PI / 4);
    expectNear(st.rasterTransform, {{{{200 / t, 0, 200, 0}, {0, -150 / t, 150, 0}, {0, 0, -0.5, 0.5}, {0, 0, 1, 0}}}});
    EXPECT_EQ(st.cameraTransform, translation(0, 0, 10));
    EXPECT_EQ(st.currentTransform, Constants::identity);
    // (x / z + 1) w / 2, (1 - y / z) h / 2, 0.5 / z - 0.5.
    Xyz p = Matrix4x4::Trans::transformPoint(st.rasterTransform, {1, 1, 2});
    EXPECT_NEAR(p.x, 300, 1e-9);
    EXPECT_NEAR(p.y, 75, 1e-9);
    EXPECT_NEAR(p.z, -0.25, 1e-12);
    RiWorldEnd(st);
    EXPECT_FALSE(st.inWorld);
    EXPECT_EQ(st.rasterTransform, Constants::identity);
    EXPECT_EQ(st.cameraTransform, Constants::identity);
    RiFrameEnd(st);

    RiFrameBegin(st, 400, 300);
    RiProjection(st, st.tokens.orthographic);
    RiWorldBegin(st);
    expectNear(st.rasterTransform, {{{{200, 0, 0, 200}, {0, -150, 0, 150}, {0, 0, 0, 0}, {0, 0, 0, 1}}}});
    expectReport(st, [&] { RiWorldBegin(st); }, "Calls to RiWorldBegin cannot be nested!");
    RiWorldEnd(st);
    RiFrameEnd(st);
    RealtimeZilyMan::releaseDevice(st);
}

TEST(RiState, AbortedFrameUnwindsAndTheNextFrameDraws) {
    RiState st;
    test::Surface colour(8, 8);
    ASSERT_TRUE(RealtimeZilyMan::installOffscreenDevice(st, colour.s, 8, 8));
    auto frame = [&](bool fail) {
        try {
            RiFrameBegin(st, 8, 8);
            RiProjection(st, st.tokens.orthographic);
            RiWorldBegin(st);
            RiTransformBegin(st);
            RiColor(st, {1.0, 0.0, 0.0});
            RiPolygon(st, {{st.tokens.P, RiParamValue::points({{-1, 1, 1}, {0.5, 1, 1}, {-1, -0.5, 1}})}});
            RiTransformEnd(st);
            RealtimeZilyMan::renderScene(st);
            if (fail) RiWorldBegin(st);  // reported with the surfaces locked: ends the render
            RiWorldEnd(st);
            RiFrameEnd(st);
            return true;
        } catch (const RiAbort&) {
            unwindRiBlocks(st);
            return false;
        }
    };
    EXPECT_EQ(captured([&] { EXPECT_FALSE(frame(true)); }), "Calls to RiWorldBegin cannot be nested!\n");
    EXPECT_FALSE(st.inFrame || st.inWorld || st.colourLocked || st.depthLocked);
    EXPECT_TRUE(st.blockStack.empty());
    EXPECT_EQ(st.deviceWidth, 0);
    EXPECT_EQ(st.currentColor, (std::vector<double>{1.0, 1.0, 1.0}));
    for (int round = 0; round < 2; ++round) {
        colour.at(1, 1) = 0;
        EXPECT_EQ(captured([&] { EXPECT_TRUE(frame(false)); }), "");
        EXPECT_EQ(colour.at(1, 1), 0x00FF0000u);
    }
    RealtimeZilyMan::releaseDevice(st);
}

TEST(RiState, ColourReleaseAndStartUp) {
    RiState st;
    EXPECT_EQ(captured([&] { RiColor(st, {0.5, 0.5}); }), "Only RGB colors are supported!\n");
    EXPECT_EQ(st.currentColor, (std::vector<double>{0.5, 0.5}));
    EXPECT_EQ(captured([&] { riReleaseContext(st); }), "");
    RiTransformBegin(st);
    EXPECT_EQ(captured([&] { riReleaseContext(st); }), "Unmatched calls to Ri*Begin / Ri*End functions!\n");

    riStartUp();
    RiTransformBegin(riState());
    riStartUp();
    EXPECT_TRUE(riState().blockStack.empty());
    EXPECT_EQ(riState().tokenTable.lastId(), 106);
}

}  // namespace
}  // namespace zil
