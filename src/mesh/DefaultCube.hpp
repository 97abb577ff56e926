#pragma once
// The demo page's default cube: eight vertices of corner sharpness 0.0 and
// six quad faces, written in list form and converted once.
#include "records/ZilLValue.hpp"

namespace zil::DemoPage {

// The list form: mesh ("vertices", "faces"); vertex ("point" {"x", "y",
// "z"}, "vertexSharpness"); face ("corners"); corner ("vertexIndex").
ZilLListValue defaultCubeList();

// The converted cube, as the mesh code reads it. No valences, links or edge
// sharpness yet: the mesh code adds them.
ZilLValue defaultCube();

}  // namespace zil::DemoPage
