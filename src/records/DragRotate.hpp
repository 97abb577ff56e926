#pragma once
// Turning the preview's object by dragging over it.
#include "records/ZilLCoordTransforms.hpp"
#include "shell/OutStream.hpp"

namespace zil {

// While `dragging`, turns the placement about the world y axis by
// -xrel/50 radian and then about the world x axis by -yrel/50 radian,
// storing the angles taken back from each turned rotation. Returns whether
// it turned (the caller then redraws the preview); the position is kept.
// `out` receives conversion reports.
bool dragRotatePlacement(int xrel, int yrel, bool dragging, Placement& placement, OutStream& out);

}  // namespace zil
