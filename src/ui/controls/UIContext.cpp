#include "ui/controls/UIContext.hpp"

#include <utility>

namespace zil {

UIContext::UIContext(AppConfig::Cell configCell, OutStream& report)
    : config(std::move(configCell)),
      tree(ControlTree::kDefaultCapacity, report),
      stores(tree, classes),
      focus(tree, stores.focus),
      handlers(stores.handlers),
      pointerActions(stores.pointerActions) {}

}  // namespace zil
