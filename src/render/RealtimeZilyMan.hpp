#pragma once
// The real-time renderer behind the Ri layer: its output device, the
// triangles collected during a world block, and the render of that list.
// Only the surfaces' handles appear here; the SDL calls stay in the .cpp.
#include <cstdint>
#include <optional>
#include <vector>

#include "render/FSubpixelInterpInterp.hpp"

struct SDL_Surface;

namespace zil {

struct RiState;

// Output device: a colour surface (words 0x00RRGGBB) and a depth surface of
// floats (camera depth - 1,000,000; a cleared word is 0.0). An offscreen
// device's colour surface belongs to its caller: it is never locked or shown.
// The depth surface is always the renderer's own.
struct RenderDevice {
    SDL_Surface* depthSurface = nullptr;
    SDL_Surface* colourSurface = nullptr;
    bool offscreen = false;
};

// A raster position: x and y in 1/512 pixel, z the camera-space depth.
struct RasterPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
    double z = 0.0;
    bool operator==(const RasterPosition&) const = default;
};

// One collected triangle, vertices in the order of submission.
struct SceneTriangle {
    RasterVertex a, b, c;
};

// The renderer's cells, owned by the Ri state: the device, the triangles of
// the open world and storage reused from one render to the next. Destroying
// it frees the device's depth surface (the colour surface is never the
// renderer's).
struct RendererState {
    RendererState() = default;
    ~RendererState();
    RendererState(const RendererState&) = delete;
    RendererState& operator=(const RendererState&) = delete;

    std::optional<RenderDevice> currentDevice;
    std::vector<SceneTriangle> sceneTriangles;  // in submission order
    bool colourLocked = false;
    bool depthLocked = false;
    std::vector<std::uint32_t> bucketScratch;  // reused by renderScene
    std::vector<std::uint32_t> orderScratch;
    std::vector<std::uint32_t> slotScratch;
    std::vector<RasterVertex> vertexScratch;  // reused by the primitive output
};

namespace RealtimeZilyMan {

// Adds a flat triangle in the colour (red, green, blue), each 0..255.
// Without a device: "No device open in RealtimeZilyMan.triangle\n".
void triangle(RiState& st, const RasterPosition& a, const RasterPosition& b, const RasterPosition& c, int red,
              int green, int blue);

// Adds a triangle with a colour per vertex (8.8 fixed point, 0..65280), for
// lit surfaces; the same device check as `triangle`.
void shadedTriangle(RiState& st, const RasterVertex& a, const RasterVertex& b, const RasterVertex& c);

// Draws the collected triangles into the current device: culled whole
// against the device size (and the surfaces' sizes, when smaller), drawn by
// top row and, within a row, in submission order. Locks the surfaces until
// `worldEnd`. Without a device: "No device open in RealtimeZilyMan.renderScene\n".
void renderScene(RiState& st);

// The device part of RiWorldBegin: opens the screen with its own depth
// surface when there is no device, else clears both surfaces; empties the
// triangle list. The depth surface is made first: when SDL cannot make it
// ("Could not create depth surface in RealtimeZilyMan\n") the video mode is
// left as it was and there is still no device.
void worldBegin(RiState& st);

// The device part of RiWorldEnd: unlocks what renderScene locked.
void worldEnd(RiState& st);

// Shows a screen device's colour surface (whole-screen update).
void showFrame(RiState& st);

// Installs an offscreen device drawing into `colour` (owned by the caller)
// with a depth surface of width x height: the previous offscreen device's
// when it has that size, else a new one, the previous one freed. A depth
// surface SDL cannot make is reported ("Could not create depth surface in
// RealtimeZilyMan\n") and leaves no device; returns whether a device is
// installed.
bool installOffscreenDevice(RiState& st, SDL_Surface* colour, int width, int height);

// Frees the current device's depth surface and leaves no device.
void releaseDevice(RiState& st);

}  // namespace RealtimeZilyMan
}  // namespace zil
