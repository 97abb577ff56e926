#include "mesh/SharpnessEdit.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "mesh/DefaultCube.hpp"
#include "mesh/MeshRecord.hpp"
#include "mesh/MeshTopology.hpp"
#include "shell/Constants.hpp"

namespace zil {

void toggleIntsInSet(std::span<const std::int32_t> numbers, std::vector<std::int32_t>& set) {
    for (std::int32_t n : numbers) {
        auto it = std::remove(set.begin(), set.end(), n);
        if (it != set.end())
            set.erase(it, set.end());
        else
            set.insert(set.begin(), n);
    }
}

double barSharpness(double v) { return std::isfinite(v) && v > 0.0 ? v : 0.0; }

namespace SubdivisionMesh {

void setSelectedVertexSharpness(const ZilLValue& mesh, std::span<const std::int32_t> selected, double s,
                                OutStream& out) {
    const MeshFieldNames& n = MeshRecord::names();
    for (std::int32_t i : selected) {
        const ValueArray vertices = getArrayField(mesh.fields(), n.vertices, out);
        if (i < 0 || static_cast<std::size_t>(i) >= vertices.size()) throw Subscript();
        const auto at = static_cast<std::size_t>(i);
        const FieldArray fields = vertices[at].fields();
        getRealField(fields, n.vertexSharpness, out);  // a field of the wrong kind fails here
        vertices.set(at, ZilLValue::RECORD(setRealField(fields, n.vertexSharpness, out, s)));
    }
}

void setSelectedEdgeSharpness(const ZilLValue& mesh, std::span<const std::int32_t> selected, double s,
                              OutStream& out) {
    const MeshFieldNames& n = MeshRecord::names();
    // The edits change no "vertexIndex", so one edge list serves every
    // selected edge.
    std::optional<std::vector<std::pair<std::int32_t, std::int32_t>>> edges;
    for (std::int32_t e : selected) {
        if (!edges) edges = collectEdges(mesh, out);
        if (e < 0 || static_cast<std::size_t>(e) >= edges->size()) throw Subscript();
        const auto [a, b] = (*edges)[static_cast<std::size_t>(e)];
        const ValueArray faces = getArrayField(mesh.fields(), n.faces, out);
        for (const ZilLValue& face : faces) {
            const ValueArray corners = getArrayField(face.fields(), n.corners, out);
            const std::size_t count = corners.size();
            for (std::size_t k = 0; k < count; ++k) {
                const std::size_t next = k + 1 == count ? 0 : k + 1;
                const FieldArray fields = corners[k].fields();
                const std::int32_t p = getIntegerField(fields, n.vertexIndex, out);
                const std::int32_t q = getIntegerField(corners[next].fields(), n.vertexIndex, out);
                if (!((p == a && q == b) || (p == b && q == a))) continue;
                getRealField(fields, n.edgeSharpness, out);  // a field of the wrong kind fails here
                corners.set(k, ZilLValue::RECORD(setRealField(fields, n.edgeSharpness, out, s)));
            }
        }
    }
}

}  // namespace SubdivisionMesh

namespace {

// Runs `edit` on `selection`; a failing edit leaves the selection as it was.
template <class Edit>
void restoringOnFailure(std::vector<std::int32_t>& selection, Edit&& edit) {
    const std::vector<std::int32_t> saved = selection;
    try {
        edit(selection);
    } catch (...) {
        selection = saved;
        throw;
    }
}

}  // namespace

BarTarget::BarTarget(Kind kind, std::span<const std::int32_t> group, std::shared_ptr<SceneCells> cells,
                     std::shared_ptr<PreviewRedraw> redraw, OutStream* out)
    : kind_(kind), group_(group), cells_(std::move(cells)), redraw_(std::move(redraw)), out_(out) {}

BarTarget BarTarget::zoom(std::shared_ptr<SceneCells> cells, std::shared_ptr<PreviewRedraw> redraw) {
    return BarTarget(Kind::Zoom, {}, std::move(cells), std::move(redraw), nullptr);
}

BarTarget BarTarget::corner(std::shared_ptr<SceneCells> cells, std::shared_ptr<PreviewRedraw> redraw,
                            OutStream& out) {
    return BarTarget(Kind::Corner, Constants::cubeVertices, std::move(cells), std::move(redraw), &out);
}

BarTarget BarTarget::edge(std::span<const std::int32_t> group, std::shared_ptr<SceneCells> cells,
                          std::shared_ptr<PreviewRedraw> redraw, OutStream& out) {
    return BarTarget(Kind::Edge, group, std::move(cells), std::move(redraw), &out);
}

void BarTarget::operator()(double v) const {
    SceneCells& cells = *cells_;
    const double value = barSharpness(v);
    switch (kind_) {
        case Kind::Zoom:
            // A zoom that is not a finite number counts as 0.0.
            cells.cameraPosition.z = (std::isfinite(v) ? v : 0.0) - 10.0;
            finish(false);
            return;
        case Kind::Corner:
            restoringOnFailure(cells.selectedVertices, [&](std::vector<std::int32_t>& selection) {
                toggleIntsInSet(group_, selection);
                SubdivisionMesh::setSelectedVertexSharpness(cells.mesh, selection, value, *out_);
                toggleIntsInSet(group_, selection);
            });
            finish(true);
            return;
        case Kind::Edge:
            restoringOnFailure(cells.selectedEdges, [&](std::vector<std::int32_t>& selection) {
                toggleIntsInSet(Constants::yellowEdges, selection);
                toggleIntsInSet(group_, selection);
                SubdivisionMesh::setSelectedEdgeSharpness(cells.mesh, selection, value, *out_);
                toggleIntsInSet(group_, selection);
                toggleIntsInSet(Constants::yellowEdges, selection);
            });
            finish(true);
            return;
    }
}

void BarTarget::finish(bool sharpnessChanged) const {
    if (sharpnessChanged) {
        cells_->regenerated = 0;
        cells_->upToDate = 0;
    }
    if (redraw_) redraw_->redrawPreview();
}

namespace DemoPage {

void initScene(SceneCells& cells) {
    cells.mesh = defaultCube();
    cells.selectedEdges.clear();
    toggleIntsInSet(Constants::yellowEdges, cells.selectedEdges);
}

DemoBarTargets makeBarTargets(const std::shared_ptr<SceneCells>& cells,
                              const std::shared_ptr<PreviewRedraw>& redraw, OutStream& out) {
    return {BarTarget::zoom(cells, redraw), BarTarget::corner(cells, redraw, out),
            BarTarget::edge(Constants::yellowEdges, cells, redraw, out),
            BarTarget::edge(Constants::blueEdges, cells, redraw, out)};
}

}  // namespace DemoPage

}  // namespace zil
