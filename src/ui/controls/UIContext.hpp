#pragma once
// All the state of one user interface, in one object that every toolkit
// operation is handed: the control tree (with the per-control stores and the
// attribute tables), the shared images and fonts with their pools, the
// resource table, the preview's rendering state, the keyboard focus, the
// input tables, the pointer actions and the control classes. Nothing of it
// is global; tests make fresh ones.
//
// Members are made in order: the tree with its table and attribute tables,
// then the other per-control stores with the classes registered between
// them, then their users. They are destroyed in reverse order: controls go
// with the tree, before the fonts, images and rendering state they hold on
// to.
#include <memory>

#include "render/RiState.hpp"
#include "shell/AppConfig.hpp"
#include "shell/OutStream.hpp"
#include "ui/base/FontContext.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/ImageManager.hpp"
#include "ui/base/PointerActions.hpp"
#include "ui/controls/ControlClasses.hpp"
#include "ui/controls/LookSetUp.hpp"
#include "ui/controls/ToolkitStores.hpp"
#include "ui/tree/ControlTree.hpp"
#include "ui/tree/FocusChange.hpp"
#include "ui/tree/HandlerTables.hpp"

namespace zil {

class UIContext {
public:
    // The toolkit classes are registered; the demo's page class is not.
    // `config` says where the look bitmaps and fonts are; `report` takes the
    // tree's and the preview's report lines.
    explicit UIContext(AppConfig::Cell config = {}, OutStream& report = stdOut());
    UIContext(const UIContext&) = delete;
    UIContext& operator=(const UIContext&) = delete;

    RiState ri;  // the preview's rendering context
    ImageManager images;
    FontContext fonts;
    AppConfig::Cell config;
    ControlTree tree;
    ControlClassRegistry classes;
    ToolkitStores stores;
    FocusState focus;
    HandlerTables& handlers;
    PointerActionStores& pointerActions;
    // The popup window or dialog set up last; emptied when it is destroyed.
    std::shared_ptr<IdCell> lastWindow = std::make_shared<IdCell>();

    LookServices lookServices() { return {tree, fonts, images, config, pointerActions}; }
};

}  // namespace zil
