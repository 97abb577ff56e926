#include "render/RenderPreview.hpp"

#include <algorithm>

#include "records/RecordConstants.hpp"
#include "render/RealtimeZilyMan.hpp"
#include "render/RiPolygon.hpp"
#include "render/RiTransforms.hpp"
#include "shell/Constants.hpp"

namespace zil {

namespace {

std::vector<double> colourOf(const std::array<double, 3>& c) { return {c[0], c[1], c[2]}; }

Xyz xyzOf(const std::array<double, 3>& c) { return {c[0], c[1], c[2]}; }

Matrix4x4 translation(const std::array<double, 3>& d) {
    Matrix4x4 m = Constants::identity;
    m.rows[0][3] = d[0];
    m.rows[1][3] = d[1];
    m.rows[2][3] = d[2];
    return m;
}

bool selected(const std::vector<std::int32_t>& selection, std::int32_t n) {
    return std::find(selection.begin(), selection.end(), n) != selection.end();
}

}  // namespace

RenderPreview::RenderPreview(std::shared_ptr<SceneCells> cells, ControlLookup lookup, RiState& st,
                             OutStream& report)
    : selectedColour(colourOf(Constants::previewSelectedColour)),
      otherColour(colourOf(Constants::previewOtherColour)),
      cells_(std::move(cells)),
      lookup_(std::move(lookup)),
      st_(st),
      report_(report) {}

RenderPreview::~RenderPreview() {
    // The device draws into a surface that is not ours; only its depth
    // surface goes with the preview.
    if (st_.renderer().currentDevice && st_.renderer().currentDevice->offscreen) RealtimeZilyMan::releaseDevice(st_);
}

void RenderPreview::render(SDL_Surface* target) {
    SceneCells& c = *cells_;
    c.upToDate = 0;
    const IRect2D box = lookup_();
    if (box.isEmpty()) {
        // Nothing of the control is visible: nothing to draw, and the
        // surface waits until there is.
        c.upToDate = 1;
        return;
    }
    if (!target || target->format->BytesPerPixel != 4) {
        printMessage(report_, "Exception in RenderPreview.render\n");
        throw BackendError();
    }
    // The device is the control's size, and so is its depth surface, which
    // is kept from render to render while that size stays.
    if (!RealtimeZilyMan::installOffscreenDevice(st_, target, box.w, box.h)) {
        printMessage(report_, "Exception in RenderPreview.render\n");
        throw BackendError();
    }
    try {
        if (c.regenerated == 0) {
            ++regenerations_;
            SubdivisionMesh::regenerate(scene_, c.mesh, st_, report_);
        }
        drawFrame(box.w, box.h);
    } catch (const RiAbort&) {
        // A nesting report ends the render quietly, as if it had completed.
        unwindRiBlocks(st_);
    } catch (...) {
        unwindRiBlocks(st_);
        printMessage(report_, "Exception in RenderPreview.render\n");
        throw;
    }
    c.upToDate = 1;
    c.regenerated = 1;
}

void RenderPreview::drawFrame(std::int32_t w, std::int32_t h) {
    RiFrameBegin(st_, w, h);
    RiProjection(st_, st_.tokens.perspective);
    const TransformList camera = anglesToTransformList(Placement{cameraAngles, cells_->cameraPosition});
    concatTransform(st_, inverseTransformListToMatrix(camera, report_));

    // One world block, for frame number 0.
    constexpr std::int32_t frame = 0;
    RiWorldBegin(st_);

    RiTransformBegin(st_);
    concatTransform(st_, translation(Constants::previewLightOffset));
    RiLightSource(st_);
    RiTransformEnd(st_);

    RiTransformBegin(st_);
    RiColor(st_, colourOf(Constants::previewObjectColour));
    concatTransform(st_, transformListToMatrix(anglesToTransformList(objectPlacement), report_));
    previewViewTransform(st_, frame);

    // The recorded surface, then the base mesh's vertices in raster
    // coordinates and its edges for the markers.
    ObjectHandles handles = SubdivisionMesh::outputObject(scene_, cells_->mesh, st_, st_.currentTransform,
                                                          objectOutput_, st_.tokens.raster, report_);
    points_.clear();
    for (const auto& [number, p] : handles.vertices) points_.push_back(p);
    renderSelectable(points_, handles.edges);
    RiTransformEnd(st_);

    RealtimeZilyMan::renderScene(st_);
    RiWorldEnd(st_);
    RiFrameEnd(st_);
}

void RenderPreview::renderSelectable(const std::vector<Rt::Point>& points,
                                     const std::vector<std::pair<std::int32_t, std::int32_t>>& edges) {
    try {
        const std::vector<std::int32_t>& selection = cells_->selectedEdges;
        selectedPoints_.clear();
        otherPoints_.clear();
        selectedEdges_.clear();
        otherEdges_.clear();
        for (std::size_t i = 0; i < points.size(); ++i)
            (selected(selection, static_cast<std::int32_t>(i)) ? selectedPoints_ : otherPoints_).push_back(points[i]);
        for (std::size_t k = 0; k < edges.size(); ++k) {
            const auto [a, b] = edges[k];
            if (a < 0 || b < 0 || static_cast<std::size_t>(a) >= points.size() ||
                static_cast<std::size_t>(b) >= points.size())
                throw Subscript();
            (selected(selection, static_cast<std::int32_t>(k)) ? selectedEdges_ : otherEdges_)
                .emplace_back(points[static_cast<std::size_t>(a)], points[static_cast<std::size_t>(b)]);
        }
        // The splits put each element in front of its list: draw newest first.
        std::reverse(selectedPoints_.begin(), selectedPoints_.end());
        std::reverse(otherPoints_.begin(), otherPoints_.end());
        std::reverse(selectedEdges_.begin(), selectedEdges_.end());
        std::reverse(otherEdges_.begin(), otherEdges_.end());

        // What follows is given in raster coordinates.
        RiTransformBegin(st_);
        setCurrentTransform(st_, Matrix4x4Mult::invert(matrixMultiply(st_.rasterTransform, st_.cameraTransform)));
        const Xyz horizontal = xyzOf(Constants::previewHorizontalEdgeOffset);
        const Xyz vertical = xyzOf(Constants::previewVerticalEdgeOffset);
        RiColor(st_, selectedColour);
        drawPointMarkers(st_, selectedPoints_);
        drawEdgesAsQuads(st_, selectedEdges_, horizontal, vertical);
        RiColor(st_, otherColour);
        drawPointMarkers(st_, otherPoints_);
        drawEdgesAsQuads(st_, otherEdges_, horizontal, vertical);
        RiTransformEnd(st_);
    } catch (const RiAbort&) {
        throw;
    } catch (...) {
        printMessage(report_, "Exception in RenderPreview.renderSelectable\n");
        throw;
    }
}

DemoPreview makeDemoPreview(RenderPreview::ControlLookup lookup, std::shared_ptr<PreviewRedraw> redraw,
                            RiState& st, OutStream& report) {
    auto cells = std::make_shared<SceneCells>();
    DemoPage::initScene(*cells);
    auto preview = std::make_shared<RenderPreview>(cells, std::move(lookup), st, report);
    DemoBarTargets targets = DemoPage::makeBarTargets(cells, redraw, report);
    RiBegin(st, Constants::riOutputName);
    return {std::move(preview), std::move(targets)};
}

}  // namespace zil
