#include "shell/DemoApp.hpp"

#include <string>

#include "shell/Constants.hpp"
#include "shell/Errors.hpp"
#include "shell/OutStream.hpp"
#include "ui/controls/Controls.hpp"
#include "ui/controls/ToolkitLoop.hpp"
#include "ui/controls/UIContext.hpp"
#include "ui/tree/ControlNotify.hpp"
#include "ui/tree/FocusChange.hpp"

namespace zil::DemoApp {

namespace {

[[noreturn]] void stop(std::string_view message) {
    printMessage(message);
    throw StopApp();
}

IdCell require(const ControlTree& tree, const IdCell& window, std::string_view name) {
    IdCell found = tree.findControlByName(window, name);
    if (!found) stop("Could not find expected control: " + std::string(name));
    return found;
}

}  // namespace

std::vector<IdCell> topLevelWindows(const ControlTree& tree, const std::vector<IdCell>& made) {
    std::vector<IdCell> windows;
    for (const IdCell& c : made)
        if (idOf(c) != 0 && idOf(tree.lookup(c)->parent) == 0) windows.push_back(c);
    return windows;
}

void bindBar(UIContext& ctx, double range, const IdCell& bar, const IdCell& page, std::string_view value) {
    const UIAttributes& attributes = ctx.tree.attributes();
    auto position = attributes.get<Attr::NInt>(bar, "barpos");
    auto barRange = attributes.get<Attr::NInt>(bar, "barrange");
    auto barSize = attributes.get<Attr::NInt>(bar, "barsize");
    auto target = attributes.get<Attr::NReal>(page, value);
    position->onChanged.push(
        ControlNotify::setScaledReal(range, std::move(barRange), std::move(barSize), std::move(target)));
}

void prepare(UIContext& ctx, const std::vector<IdCell>& windows) {
    if (windows.empty()) stop("No top-level window was created!\n");
    ControlTree& tree = ctx.tree;
    const IdCell& main = windows.front();

    if (IdCell tab = tree.findControlByName(main, Constants::mainTabName)) {
        auto tabIndex = tree.attributes().get<Attr::NInt>(tab, "selectedtabindex");
        IdCell book = require(tree, main, Constants::mainTabBookName);
        auto bookIndex = tree.attributes().get<Attr::NInt>(book, "selectedtabindex");
        tabIndex->onChanged.push(ControlNotify::setIntValue(std::move(bookIndex)));
        ControlMessages::changeCurrent(tab, ctx.focus);
    }

    IdCell page = tree.findControlByName(main, Constants::demoPageName);
    if (!page) return;
    IdCell view = Controls::newDemoPageControl(ctx, page, Constants::demoPageRect, 1);
    for (const Constants::DemoBar& b : Constants::demoBars)
        bindBar(ctx, b.range, require(tree, main, b.control), view, b.value);
}

void start(UIContext& ctx, const std::vector<IdCell>& windows, const IdleStep& idle) {
    prepare(ctx, windows);
    ControlTree& tree = ctx.tree;
    if (tree.screen() == nullptr || tree.findWindow(idOf(tree.shownWindow())) == nullptr)
        stop("No top-level window is visible!\n");
    ControlEventTables events(ctx);
    ToolkitLoop loop(ctx, events, windows);
    loop.updateScreen();
    mainLoop(loop, idle);
}

}  // namespace zil::DemoApp
