#pragma once
// The demo's start. Once the description is built, the demo looks for its
// controls in the main window (the first top-level window made): the main
// tab row drives the tab book; the page kept for the demo gets the 3-D
// view, and each bar of the page drives one of the view's values. Then the
// event loop runs until the user quits.
//
// A description may leave out the tab row (then the book is not needed)
// and the page (then the demo runs without its view and bars, silently).
// A missing book or bar is written on standard output, "Could not find
// expected control: " and its name with no newline, and ends the demo with
// StopApp; so does a description without a top-level window ("No top-level
// window was created!\n") or one whose windows are all hidden ("No
// top-level window is visible!\n"), which nothing could show or close.
#include <string_view>
#include <vector>

#include "shell/EventLoop.hpp"
#include "ui/base/IdCell.hpp"

namespace zil {

class ControlTree;
class UIContext;

namespace DemoApp {

// The top-level windows among the controls a build made (in file order):
// those without a parent, in creation order.
std::vector<IdCell> topLevelWindows(const ControlTree& tree, const std::vector<IdCell>& made);

// Ties the bar's "barpos" to the page's real attribute `value`: each new
// position p sets it to range * p / ("barrange" - "barsize"), read at that
// moment. Reads every attribute it needs first, at its type (NInt, NReal),
// and raises as those reads do; the tie is the bar position's first entry.
void bindBar(UIContext& ctx, double range, const IdCell& bar, const IdCell& page, std::string_view value);

// Finds the controls, links the tab row to the book, moves the focus to the
// tab row, makes the 3-D view and binds the bars, as said above. Reports and
// raises StopApp for a missing window, book or bar; the bars before a
// missing one stay bound.
void prepare(UIContext& ctx, const std::vector<IdCell>& windows);

// prepare; then, when a window is shown, draws it and runs the event loop
// (with `idle` at each idle moment) until a quit event, after which the
// windows are destroyed in order and the pools emptied.
void start(UIContext& ctx, const std::vector<IdCell>& windows, const IdleStep& idle = {});

}  // namespace DemoApp
}  // namespace zil
