#pragma once
// The demo page (kind 19): the 3-D preview of the subdivided cube. The page
// keeps the converted default cube, which its four real values edit:
// "zoom" moves the camera, "cornersharpness" sets the corner sharpness of
// the cube's vertices, "yellowedgesharpness" and "blueedgesharpness" the
// crease sharpness of the two edge groups. Each value is NReal, 0.0 at
// first. An edit marks the preview's surface stale and repaints the page;
// the next draw links, subdivides and renders the edited cube.
#include <memory>

#include "ui/base/IdCell.hpp"
#include "ui/tree/UIControl.hpp"

namespace zil {

class KindState;
class UIContext;

namespace DemoPageControl {

// The kind's set-up, run by Controls::addControl: makes the preview (its
// size is the page's box, its redraw repaints the page), resets the
// preview's rendering state, registers the four values in the order above
// and gives the preview's drawing item. The page's rendering context is
// released with it.
std::shared_ptr<const ControlDrawItem> setUp(UIContext& ctx, const IdCell& self, KindState& state);

}  // namespace DemoPageControl
}  // namespace zil
