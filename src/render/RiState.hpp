#pragma once
// The Ri layer's graphics state and its standard calls: frame, world and
// transform blocks, projection, the current transformation, colour and point
// lights. One state serves the program's single rendering context. The
// real-time renderer behind it keeps its own cells (RendererState, in
// render/RealtimeZilyMan), which the state owns.
#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

#include "records/Matrix4x4.hpp"
#include "records/Xyz.hpp"
#include "render/RiTokenTable.hpp"
#include "shell/Constants.hpp"
#include "shell/Errors.hpp"

namespace zil {

namespace Rt {
using Point = Xyz;
using Normal = Xyz;
}  // namespace Rt

// A parameter value of an Ri call: tag 0 a point list, tag 1 a normal list,
// tag 2 a list of reals.
struct RiParamValue {
    enum Tag { Points = 0, Normals = 1, Reals = 2 };
    Tag tag = Points;
    std::vector<Xyz> xyz;
    std::vector<double> reals;

    static RiParamValue points(std::vector<Rt::Point> p) { return {Points, std::move(p), {}}; }
    static RiParamValue normals(std::vector<Rt::Normal> n) { return {Normals, std::move(n), {}}; }
    static RiParamValue realList(std::vector<double> r) { return {Reals, {}, std::move(r)}; }
};

struct RiParam {
    Rt::Token token;
    RiParamValue value;
};
using RiParamList = std::vector<RiParam>;

// What RiFrameBegin saves and RiFrameEnd writes back.
struct RiFrameRecord {
    double fieldOfView;
    bool perspective;
    std::int32_t deviceWidth, deviceHeight;
    Matrix4x4 currentTransform;
    std::vector<double> currentColor;
    std::vector<Rt::Point> lights;
};

// What RiTransformBegin saves.
struct RiTransformRecord {
    Matrix4x4 currentTransform;
};

// Kind 0 a frame record, kind 1 a transform record.
using RiBlockRecord = std::variant<RiFrameRecord, RiTransformRecord>;

// A recorded primitive call of an object definition: vertex counts, vertex
// indices and parameters.
struct RiPrimitiveCall {
    std::vector<std::int32_t> vertexCounts;
    std::vector<std::int32_t> vertexIndices;
    RiParamList params;
};

// An object definition: while `recording` is set, primitive calls are kept
// in `recordedCalls`, newest first, instead of being drawn. Each scene
// object has its own, so that one preview's surface never shows in another.
struct RiObjectDefinition {
    bool recording = false;
    std::vector<RiPrimitiveCall> recordedCalls;
};

struct RendererState;

struct RiState {
    RiState();
    // Frees the renderer's depth surface.
    ~RiState();
    RiState(RiState&&) noexcept;
    RiState& operator=(RiState&&) noexcept;

    Matrix4x4 currentTransform;
    bool transformChanged = true;
    Matrix4x4 cameraTransform;
    Matrix4x4 rasterTransform;
    Matrix4x4 combinedTransform;  // cameraTransform x currentTransform, when not stale
    double fieldOfView = 0.0;
    bool perspective = false;
    std::int32_t deviceWidth = 0;
    std::int32_t deviceHeight = 0;
    bool inFrame = false;
    bool inWorld = false;
    std::vector<RiBlockRecord> blockStack;  // top at the back
    std::vector<double> currentColor{Constants::whiteColour.begin(), Constants::whiteColour.end()};
    std::vector<Rt::Point> lights;  // camera space, newest first

    RiTokenTable tokenTable;
    RiStandardTokens tokens;
    double subPixelScale = Constants::subPixelScale;

    // 1 once any regeneration has output a surface; never reset. Shared by
    // every scene object drawn through this state: object outputs replay
    // their recorded surfaces only while it is 1.
    int surfaceReady = 0;

    // The real-time renderer's device and scene.
    RendererState& renderer() { return *renderer_; }
    const RendererState& renderer() const { return *renderer_; }

private:
    std::unique_ptr<RendererState> renderer_;
};

// Raised by an Ri call after it has printed a nesting or projection report:
// it ends the render quietly. The state is as before the failing call;
// `unwindRiBlocks` closes what the render had opened.
class RiAbort : public Exn {
public:
    std::string_view exnName() const noexcept override { return "RiAbort"; }
};

// The program's one graphics state, made with the standard tokens interned.
RiState& riState();
// Start-up: a fresh state in place of the program's one.
void riStartUp();

void RiBegin(RiState& st, std::string_view outputName);
void RiFrameBegin(RiState& st, std::int32_t width, std::int32_t height);
void RiFrameEnd(RiState& st);
void RiProjection(RiState& st, const Rt::Token& projection);
void RiWorldBegin(RiState& st);
void RiWorldEnd(RiState& st);
void RiTransformBegin(RiState& st);
void RiTransformEnd(RiState& st);
// currentTransform := m x currentTransform.
void concatTransform(RiState& st, const Matrix4x4& m);
// Replaces currentTransform (marks the combined matrix stale).
void setCurrentTransform(RiState& st, const Matrix4x4& m);
void RiColor(RiState& st, std::vector<double> components);
// A point light at the origin of the current space.
void RiLightSource(RiState& st);
void updateCombinedTransform(RiState& st);

// Abort path of a render: closes an open world (the device is unlocked),
// pops every frame and transform record, restoring what the frame saved, and
// clears the frame and world flags.
void unwindRiBlocks(RiState& st);

// The release of the rendering context: reports unmatched blocks with
// "Unmatched calls to Ri*Begin / Ri*End functions!\n".
void riReleaseContext(RiState& st);

}  // namespace zil
