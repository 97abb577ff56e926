#pragma once
// The demo page's 3-D view: the subdivided cube drawn through the Ri layer,
// lit and depth-tested, with markers on the base mesh's vertices and edges,
// straight into the surface that the control drawing hands in.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "mesh/SceneCells.hpp"
#include "mesh/SceneObject.hpp"
#include "mesh/SharpnessEdit.hpp"
#include "records/Xyz.hpp"
#include "records/ZilLCoordTransforms.hpp"
#include "render/RiState.hpp"
#include "shell/IRect2D.hpp"
#include "shell/OutStream.hpp"

namespace zil {

class RenderPreview {
public:
    // Looks the preview's control up in the control table and gives its
    // bounding box; raises as that lookup does (ControlDestroyed, Subscript,
    // InvalidControlID). Its width and height are the device size.
    using ControlLookup = std::function<IRect2D()>;

    // The preview over `cells` (shared with the bar targets). `report`
    // takes the trace lines and the getters' reports.
    RenderPreview(std::shared_ptr<SceneCells> cells, ControlLookup lookup, RiState& st = riState(),
                  OutStream& report = stdOut());
    // Frees the depth surface of the last render.
    ~RenderPreview();
    RenderPreview(const RenderPreview&) = delete;
    RenderPreview& operator=(const RenderPreview&) = delete;

    // One frame into `target` (32 bits per pixel, at least the control's
    // size), regenerating the surface first when the mesh changed. The
    // screen is not updated. A failure prints its trace lines, ending with
    // "Exception in RenderPreview.render\n", leaves the Ri state closed and
    // passes on; the render does not count as drawn and the next one tries
    // again. A target that is not 32 bits per pixel raises BackendError. A
    // control of empty size draws nothing.
    void render(SDL_Surface* target);

    // Markers for the base mesh, given in raster coordinates: a triangle at
    // every vertex and a thin quad along every edge (pairs of vertex numbers),
    // in the first colour when the number is in the edge selection, else in
    // the second. A vertex number outside `points` raises Subscript.
    void renderSelectable(const std::vector<Rt::Point>& points,
                          const std::vector<std::pair<std::int32_t, std::int32_t>>& edges);

    SceneCells& cells() { return *cells_; }
    const SceneObject& scene() const { return scene_; }
    RiState& ri() { return st_; }

    // The camera turns by these angles (radians) about its position, which
    // lives with the cells; the object's placement is turned by dragging.
    Xyz cameraAngles{0.0, 0.0, 0.0};
    Placement objectPlacement{};
    // First colour: selected vertices and edges; second: the others.
    std::vector<double> selectedColour;
    std::vector<double> otherColour;

    // How many regenerations ran (successful or not), for callers that
    // watch the cost of a render.
    std::uint64_t regenerations() const { return regenerations_; }

private:
    void drawFrame(std::int32_t w, std::int32_t h);

    std::shared_ptr<SceneCells> cells_;
    ControlLookup lookup_;
    RiState& st_;
    OutStream& report_;
    SceneObject scene_;
    int objectOutput_ = 0;
    std::uint64_t regenerations_ = 0;
    // Reused between renders.
    std::vector<Rt::Point> points_, selectedPoints_, otherPoints_;
    std::vector<std::pair<Rt::Point, Rt::Point>> selectedEdges_, otherEdges_;
};

// The demo page's preview with its bar targets: the default cube with the
// yellow edges selected, the four targets over the same cells, and the
// rendering context begun.
struct DemoPreview {
    std::shared_ptr<RenderPreview> preview;
    DemoBarTargets targets;
};

DemoPreview makeDemoPreview(RenderPreview::ControlLookup lookup, std::shared_ptr<PreviewRedraw> redraw,
                            RiState& st = riState(), OutStream& report = stdOut());

}  // namespace zil
