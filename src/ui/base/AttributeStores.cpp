#include "ui/base/AttributeStores.hpp"

namespace zil {

void checkStoreLength(std::int64_t n) {
    if (n < 0 || n >= kStoreLengthLimit) throw Size();
}

AttributeStores::AttributeStores(std::int32_t capacity) : capacity_(capacity) { checkStoreLength(capacity); }

void AttributeStores::growAttributeStores(std::int64_t n) {
    checkStoreLength(n);
    for (std::size_t k = stores_.size(); k-- > 0;) stores_[k]->resize(n);
    capacity_ = static_cast<std::int32_t>(n);
}

void AttributeStores::clearAttributeStores(std::int32_t id) {
    if (id == 0) return;
    if (id < 0 || id >= capacity_) throw Subscript();
    for (std::size_t k = stores_.size(); k-- > 0;) stores_[k]->clearSlot(id);
}

}  // namespace zil
