#pragma once
// The demo's bar targets and the edits behind them: corner sharpness of the
// selected vertices, crease sharpness of the selected edges, and the zoom.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "mesh/SceneCells.hpp"
#include "records/ZilLValue.hpp"
#include "shell/OutStream.hpp"

namespace zil {

// For each number in order: removes every occurrence from `set` when
// present, else puts it in front.
void toggleIntsInSet(std::span<const std::int32_t> numbers, std::vector<std::int32_t>& set);

// The sharpness a bar value stands for: never below 0.0, and 0.0 for a value
// that is not a finite number.
double barSharpness(double v);

namespace SubdivisionMesh {

// Sets "vertexSharpness" := s of each selected vertex, in the mesh's own
// arrays. A number outside "vertices" raises Subscript; a vertex that is not
// a record, Match. Vertices handled before a failure keep their new value.
void setSelectedVertexSharpness(const ZilLValue& mesh, std::span<const std::int32_t> selected, double s,
                                OutStream& out);

// Sets "edgeSharpness" := s on every corner that starts one of the selected
// edges (either direction, so both faces of a shared edge). An edge number
// outside the mesh's edge list raises Subscript.
void setSelectedEdgeSharpness(const ZilLValue& mesh, std::span<const std::int32_t> selected, double s,
                              OutStream& out);

}  // namespace SubdivisionMesh

// One of the demo's bar targets, called with the bar's new value. Each
// leaves its selection as it found it, also when the edit fails.
class BarTarget {
public:
    enum class Kind { Zoom, Corner, Edge };

    // Camera z := v - 10.0; the mesh and the change flags are left alone.
    static BarTarget zoom(std::shared_ptr<SceneCells> cells, std::shared_ptr<PreviewRedraw> redraw);
    // Corner sharpness of the cube's vertices 0 to 7.
    static BarTarget corner(std::shared_ptr<SceneCells> cells, std::shared_ptr<PreviewRedraw> redraw,
                            OutStream& out);
    // Crease sharpness of the edges of `group` (a constant edge group).
    static BarTarget edge(std::span<const std::int32_t> group, std::shared_ptr<SceneCells> cells,
                          std::shared_ptr<PreviewRedraw> redraw, OutStream& out);

    // A sharpness edit clears both change flags and asks for a redraw.
    void operator()(double v) const;

    Kind kind() const { return kind_; }
    std::span<const std::int32_t> group() const { return group_; }

private:
    BarTarget(Kind kind, std::span<const std::int32_t> group, std::shared_ptr<SceneCells> cells,
              std::shared_ptr<PreviewRedraw> redraw, OutStream* out);
    void finish(bool sharpnessChanged) const;

    Kind kind_;
    std::span<const std::int32_t> group_;
    std::shared_ptr<SceneCells> cells_;
    std::shared_ptr<PreviewRedraw> redraw_;
    OutStream* out_;
};

// The targets of "zoom", "cornersharpness", "yellowedgesharpness" and
// "blueedgesharpness".
struct DemoBarTargets {
    BarTarget zoom;
    BarTarget corner;
    BarTarget yellow;
    BarTarget blue;
};

namespace DemoPage {

// Fills the scene's mesh cell with the default cube and toggles the yellow
// edges into the (empty) edge selection, as the targets expect at rest.
void initScene(SceneCells& cells);

// Builds the four targets over the scene; `out` takes the field getters'
// reports.
DemoBarTargets makeBarTargets(const std::shared_ptr<SceneCells>& cells,
                              const std::shared_ptr<PreviewRedraw>& redraw, OutStream& out);

}  // namespace DemoPage

}  // namespace zil
