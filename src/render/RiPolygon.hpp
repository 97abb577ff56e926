#pragma once
// Flat polygons into the renderer: RiPolygon, edges drawn as thin quads and
// points drawn as small triangles.
#include <utility>
#include <vector>

#include "render/RealtimeZilyMan.hpp"
#include "render/RiState.hpp"

namespace zil {

// The raster position of a camera-space point: x and y in 1/512 pixel,
// rounded upwards; z the camera depth. Out-of-range or NaN coordinates raise
// the conversion's failure.
RasterPosition rasterPosition(const RiState& st, const Rt::Point& camera);

// A triangle or quad (split into (a, b, c) and (a, c, d)) from the "P"
// parameter, in object space, drawn flat in the current colour.
void RiPolygon(RiState& st, const RiParamList& params);

// One quad per edge (p0, p1, p1 + o, p0 + o): o is `horizontalOffset` for an
// edge whose y extent is below its x extent, else `verticalOffset`.
void drawEdgesAsQuads(RiState& st, const std::vector<std::pair<Rt::Point, Rt::Point>>& edges,
                      const Xyz& horizontalOffset, const Xyz& verticalOffset);

// One triangle 6 units wide and 5 high around each point, 1e-10 nearer.
void drawPointMarkers(RiState& st, const std::vector<Rt::Point>& points);

}  // namespace zil
