#pragma once
// The preview's cells that the demo's bar targets read and write, and the
// redraw request they end with. The preview holds the same cells (shared),
// so an edit is seen by its next render.
#include <cstdint>
#include <vector>

#include "records/Xyz.hpp"
#include "records/ZilLValue.hpp"

namespace zil {

struct SceneCells {
    // The base mesh: the bars edit its field arrays in place; the preview
    // subdivides it when `regenerated` is 0.
    ZilLValue mesh;
    // Working selections of the edits (vertex numbers; edge numbers in the
    // order of SubdivisionMesh::collectEdges). The preview draws the
    // selected edges apart; at rest the edge selection holds the yellow
    // group 11, 8, 6, 4.
    std::vector<std::int32_t> selectedVertices;
    std::vector<std::int32_t> selectedEdges;
    // The preview's change flags: 0 in `regenerated` makes its next render
    // rebuild the surface; 0 in `upToDate` marks its image stale.
    std::int32_t regenerated = 0;
    std::int32_t upToDate = 0;
    // The camera's position; the zoom bar sets its z.
    Xyz cameraPosition{0.0, 0.0, -10.0};
};

// The toolkit's request to redraw the preview's control, filled in by the
// control tree.
class PreviewRedraw {
public:
    virtual ~PreviewRedraw() = default;
    virtual void redrawPreview() = 0;
};

}  // namespace zil
