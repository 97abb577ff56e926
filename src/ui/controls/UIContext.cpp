#include "ui/controls/UIContext.hpp"

#include <utility>

namespace zil {

UIContext::UIContext(AppConfig::Cell configCell, OutStream& report)
    : config(std::move(configCell)),
      tree(ControlTree::kDefaultCapacity, report),
      focus(tree),
      handlers(tree.stores()),
      pointerActions(tree.stores()) {
    classes.registerToolkitClasses();
}

}  // namespace zil
