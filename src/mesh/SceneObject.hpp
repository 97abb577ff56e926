#pragma once
// The preview's scene object: the cells that hold its meshes and flags, the
// regeneration of its drawn surface (link, one subdivision step, link,
// validate and output), and the object output that replays the surface on
// every redraw. A render uses them like this:
//
//   if (cells.regenerated == 0) SubdivisionMesh::regenerate(object, cells.mesh, st);
//   ... frame, world, light, colour and object placement ...
//   auto handles = SubdivisionMesh::outputObject(object, cells.mesh, st, combined, flag, st.tokens.raster);
//
// and sets cells.regenerated to 1 when the render completes.
#include <cstdint>
#include <utility>
#include <vector>

#include "mesh/SurfaceOutput.hpp"
#include "records/Matrix4x4.hpp"
#include "records/Xyz.hpp"
#include "records/ZilLValue.hpp"
#include "render/RiState.hpp"
#include "shell/OutStream.hpp"

namespace zil {

// The cells a regeneration writes. The base mesh and the change flags live
// in the preview's SceneCells; the flag that says a surface was ever output
// in the Ri state, shared by every object.
struct SceneObject {
    ZilLValue linkedMesh;
    ZilLValue subdividedMesh;
    ZilLValue surfaceMesh;
    // The recorded surface and the recording flag.
    RiObjectDefinition definition;
    // Storage the surface output reuses from one regeneration to the next.
    SubdivisionMesh::SurfaceWorkspace workspace;
};

// What the object output hands back for the selectable display: every base
// mesh vertex with its number and transformed point, and the base mesh's
// edges in the order of SubdivisionMesh::collectEdges.
struct ObjectHandles {
    std::vector<std::pair<std::int32_t, Xyz>> vertices;
    std::vector<std::pair<std::int32_t, std::int32_t>> edges;
};

namespace SubdivisionMesh {

// Regenerates the surface from `baseMesh`: links it, subdivides it once,
// links the result and validates it, which records the surface in the
// object's definition. Failures print their trace lines on `report` and pass
// on unchanged: "Exception while regenerating object!" (no line end) for
// the linking and subdivision, then "Exception while validating object\n".
// The recording flag is always cleared again on the way out, so that no
// later draw is taken for a recording.
void regenerate(SceneObject& obj, const ZilLValue& baseMesh, RiState& st, OutStream& report = stdOut());

// Stores `mesh` as the object's surface mesh, refines it, numbers and
// triangulates it and outputs it with one riPrimitiveOutput call in record
// mode: the object's recorded calls are emptied and its recording flag and
// `st.surfaceReady` set first; the caller clears the recording flag after it
// returns. A failure clears the recording flag, prints "Exception while
// validating object\n" and passes on.
void validate(SceneObject& obj, RiState& st, const ZilLValue& mesh, OutStream& report = stdOut());

// Makes `combined` the current transformation and sets `flagCell` to 1;
// replays the object's recorded surface while `st.surfaceReady` is 1; then collects
// `baseMesh`'s vertex handles, transformed into the space `toSpace`, and its
// edges. Failures print "Exception while calling Ri.ObjectInstance\n" (in
// the replay) and "Exception while outputting object\n", and pass on.
ObjectHandles outputObject(const SceneObject& obj, const ZilLValue& baseMesh, RiState& st,
                           const Matrix4x4& combined, int& flagCell, const Rt::Token& toSpace,
                           OutStream& report = stdOut());

}  // namespace SubdivisionMesh
}  // namespace zil
