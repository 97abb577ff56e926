#pragma once
// One Catmull-Clark step with semi-sharp creases and corners: every face of
// n corners becomes n quads. The result is a new mesh record whose vertices
// are the old vertices' new positions (old numbers kept), then one face point
// per face (face f at nV + f), then one edge point per undirected edge in the
// order the edges are first met. New face 4f + i (for quads) comes from
// corner i of face f. Sharpness decays by 1.0 per step.
#include "mesh/MeshRecord.hpp"

namespace zil::SubdivisionMesh {

// The input must be closed and linked (linkNeighbours): an edge without a
// neighbour face raises Subscript. Its vertices get their "vertexValence"
// written in place; nothing else of it changes. A face without corners
// raises Empty; a vertex, face or corner that is not a record, Match.
ZilLValue subdivideStep(const ZilLValue& mesh, OutStream& out);

}  // namespace zil::SubdivisionMesh
