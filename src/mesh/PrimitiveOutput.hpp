#pragma once
// The one renderer primitive of the subdivided surface: polygons given by
// vertex counts and vertex indices, with the points ("P") and normals ("N")
// in the parameter list. While an object definition is open the call is only
// recorded; otherwise every vertex is transformed, lit and projected once
// and the triangles go to the renderer with a colour per vertex.
#include <cstdint>
#include <span>
#include <vector>

#include "records/Xyz.hpp"
#include "render/ColorRGB.hpp"
#include "render/RiState.hpp"

namespace zil {

// The lit colour of a vertex (camera space, eye at the origin): per light a
// diffuse term |n . l| times the colour plus a squared specular term, each
// channel summed and clamped to [0, 1]. A zero normal gives black: such a
// vertex is drawn unlit. A light at the vertex or a vertex at the eye raises
// Divide.
ColorRGB shadeVertex(const Xyz& point, const Xyz& normal, std::span<const Xyz> lights,
                     const ColorRGB& colour);

// Records the call at the front of `object`'s calls while its recording
// flag is set; draws it otherwise.
void riPrimitiveOutput(RiState& st, RiObjectDefinition& object, std::vector<std::int32_t> vertexCounts,
                       std::vector<std::int32_t> vertexIndices, RiParamList params);

// Draws one primitive call into the renderer's pending triangles. Only
// triangles are drawn: the walk stops at the first count other than 3. An
// index outside the lit vertices raises Subscript; a raster position or
// colour that is not a number or out of range raises the conversion's error.
void drawPrimitive(RiState& st, const RiPrimitiveCall& call);

}  // namespace zil
