#include "render/RiState.hpp"

#include <cmath>
#include <string>

#include "records/RecordConstants.hpp"
#include "render/RealtimeZilyMan.hpp"
#include "shell/OutStream.hpp"

namespace zil {
namespace {

[[noreturn]] void report(std::string_view message) {
    printMessage(std::string(message) + "\n");
    throw RiAbort();
}

// Rows of the projection, flip, translation and scale of the raster matrix.
Matrix4x4 rasterMatrix(const RiState& st) {
    const double w = st.deviceWidth;
    const double h = st.deviceHeight;
    Matrix4x4 m = Constants::identity;
    if (st.perspective) {
        const double t = std::tan(st.fieldOfView * Constants::pi / 360.0);
        const Matrix4x4 p{{{{1.0 / t, 0, 0, 0}, {0, 1.0 / t, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}};
        const Matrix4x4 s{{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -0.5, 0.5}, {0, 0, 1, 0}}}};
        m = matrixMultiply(s, matrixMultiply(p, m));
    } else {
        m = matrixMultiply(Constants::flatProjection, m);
    }
    const Matrix4x4 flip{{{{1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}};
    const Matrix4x4 shift{{{{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 0}, {0, 0, 0, 1}}}};
    const Matrix4x4 scale{{{{0.5 * w, 0, 0, 0}, {0, 0.5 * h, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}};
    m = matrixMultiply(flip, m);
    m = matrixMultiply(shift, m);
    return matrixMultiply(scale, m);
}

void restoreFrame(RiState& st, RiFrameRecord& f) {
    st.currentTransform = f.currentTransform;
    st.currentColor = std::move(f.currentColor);
    st.lights = std::move(f.lights);
    st.deviceWidth = f.deviceWidth;
    st.deviceHeight = f.deviceHeight;
    st.perspective = f.perspective;
    st.fieldOfView = f.fieldOfView;
    st.transformChanged = true;
}

}  // namespace

RiState::RiState()
    : currentTransform(Constants::identity),
      cameraTransform(Constants::identity),
      rasterTransform(Constants::identity),
      combinedTransform(Constants::identity),
      tokens(internStandardTokens(tokenTable)),
      renderer_(std::make_unique<RendererState>()) {}

RiState::~RiState() = default;
RiState::RiState(RiState&&) noexcept = default;
RiState& RiState::operator=(RiState&&) noexcept = default;

RiState& riState() {
    static RiState state;
    return state;
}

void riStartUp() { riState() = RiState(); }

void RiBegin(RiState& st, std::string_view outputName) {
    st.tokenTable.intern(outputName);
    st.currentTransform = Constants::identity;
    st.transformChanged = true;
    st.currentColor.assign(Constants::whiteColour.begin(), Constants::whiteColour.end());
    st.deviceWidth = 0;
    st.deviceHeight = 0;
}

void RiFrameBegin(RiState& st, std::int32_t width, std::int32_t height) {
    if (st.inFrame) report("Calls to RiFrameBegin cannot be nested!");
    st.blockStack.emplace_back(RiFrameRecord{st.fieldOfView, st.perspective, st.deviceWidth, st.deviceHeight,
                                             st.currentTransform, st.currentColor, st.lights});
    st.inFrame = true;
    st.deviceWidth = width;
    st.deviceHeight = height;
}

void RiFrameEnd(RiState& st) {
    if (!st.inFrame) report("Calls to RiFrameEnd cannot be nested!");
    if (st.blockStack.empty()) throw Empty();
    auto* frame = std::get_if<RiFrameRecord>(&st.blockStack.back());
    if (!frame) report("Call to RiFrameEnd() does not match a corresponding RiFrameBegin()!");
    restoreFrame(st, *frame);
    st.blockStack.pop_back();
    st.inFrame = false;
}

void RiProjection(RiState& st, const Rt::Token& projection) {
    if (projection == st.tokens.perspective) {
        st.perspective = true;
        st.fieldOfView = 90.0;
    } else if (projection == st.tokens.orthographic) {
        st.perspective = false;
    } else {
        report("Unknown (and unsupported) projection type for RiProjection");
    }
}

void RiWorldBegin(RiState& st) {
    if (st.inWorld) report("Calls to RiWorldBegin cannot be nested!");
    RealtimeZilyMan::worldBegin(st);
    st.cameraTransform = st.currentTransform;
    st.currentTransform = Constants::identity;
    st.transformChanged = true;
    st.rasterTransform = rasterMatrix(st);
    st.inWorld = true;
    st.currentTransform = Constants::identity;
    st.transformChanged = true;
}

void RiWorldEnd(RiState& st) {
    RealtimeZilyMan::worldEnd(st);
    if (!st.inWorld) report("Call to RiWorldEnd does not match a corresponding RiWorldBegin!");
    RealtimeZilyMan::showFrame(st);
    st.rasterTransform = Constants::identity;
    st.cameraTransform = Constants::identity;
    st.inWorld = false;
}

void RiTransformBegin(RiState& st) { st.blockStack.emplace_back(RiTransformRecord{st.currentTransform}); }

void RiTransformEnd(RiState& st) {
    if (st.blockStack.empty()) throw Empty();
    auto* saved = std::get_if<RiTransformRecord>(&st.blockStack.back());
    if (!saved) report("Call to RiTransformEnd() does not match a corresponding RiTransformBegin()!");
    st.currentTransform = saved->currentTransform;
    st.transformChanged = true;
    st.blockStack.pop_back();
}

void concatTransform(RiState& st, const Matrix4x4& m) {
    st.currentTransform = matrixMultiply(m, st.currentTransform);
    st.transformChanged = true;
}

void setCurrentTransform(RiState& st, const Matrix4x4& m) {
    st.currentTransform = m;
    st.transformChanged = true;
}

void RiColor(RiState& st, std::vector<double> components) {
    const bool rgb = components.size() == 3;
    st.currentColor = std::move(components);
    if (!rgb) printMessage("Only RGB colors are supported!\n");
}

void RiLightSource(RiState& st) {
    updateCombinedTransform(st);
    st.lights.insert(st.lights.begin(), Matrix4x4::Trans::transformPoint(st.combinedTransform, Constants::origin));
}

void updateCombinedTransform(RiState& st) {
    if (!st.transformChanged) return;
    st.combinedTransform = matrixMultiply(st.cameraTransform, st.currentTransform);
    st.transformChanged = false;
}

void unwindRiBlocks(RiState& st) {
    RealtimeZilyMan::worldEnd(st);
    if (st.inWorld) {
        st.rasterTransform = Constants::identity;
        st.cameraTransform = Constants::identity;
        st.inWorld = false;
    }
    while (!st.blockStack.empty()) {
        if (auto* frame = std::get_if<RiFrameRecord>(&st.blockStack.back()))
            restoreFrame(st, *frame);
        else
            setCurrentTransform(st, std::get<RiTransformRecord>(st.blockStack.back()).currentTransform);
        st.blockStack.pop_back();
    }
    st.inFrame = false;
}

void riReleaseContext(RiState& st) {
    if (!st.blockStack.empty()) printMessage("Unmatched calls to Ri*Begin / Ri*End functions!\n");
}

}  // namespace zil
