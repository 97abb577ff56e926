#include "ui/base/UIAttributes.hpp"

#include <utility>

#include "shell/CoreString.hpp"
#include "shell/Errors.hpp"
#include "ui/base/AttributeText.hpp"

namespace zil {
namespace {

template <class Tag>
typename Tag::Value& valueOf(const AttributeSlot& slot) {
    return *static_cast<typename Tag::Value*>(slot.value.get());
}

template <class T, class Equal>
void setIfConverted(ObservedValue<T, Equal>& value, std::optional<T> converted) {
    if (converted) value.set(std::move(*converted));
}

template <class T>
void replaceList(ObservedArray<T>& array, const std::vector<T>& elements) {
    array.reset();
    for (const T& x : elements) array.append(x);
}

// A tree node with the shared count and allocator that hold it.
constexpr std::size_t kTreeNodeBlock = 128;

}  // namespace

UIAttributes::UIAttributes(AttributeStores& stores)
    : tables_(stores.newAttributeStore<AttributeTable>()), nodes_(std::make_shared<BlockPool>(kTreeNodeBlock)) {}

void UIAttributes::enter(const IdCell& owner, std::string_view name, AttributeSlot slot) {
    UIControlID id = *owner;
    if (id == 0) throw ControlDestroyed();
    AttributeTable& table = tables_->at(id);
    if (table.tree.contains(name))
        throw EGeneric::named("UIAttributes", "Attribute " + std::string(name) + " exists during register");
    // Build both parts before changing the table, so a failure leaves it.
    const std::shared_ptr<BlockPool>& nodes = table.nodes ? table.nodes : nodes_;
    const AttributeTable::Tree empty(PoolAllocator<AttributeSlot>(nodes.get()));
    AttributeTable::Tree tree = (table.nodes ? table.tree : empty).insert(name, std::move(slot));
    auto names = std::make_shared<std::vector<std::string>>();
    if (table.names) {
        names->reserve(table.names->size() + 1);
        *names = *table.names;
    }
    names->emplace_back(name);
    table.tree = std::move(tree);
    table.names = std::move(names);
    table.nodes = nodes;
}

std::shared_ptr<Attr::NInt::Value> UIAttributes::registerInt(const IdCell& owner, std::string_view name,
                                                             std::int32_t initial) {
    auto value = std::make_shared<Attr::NInt::Value>(owner, initial);
    registerAttribute<Attr::NInt>(owner, name, value);
    return value;
}

std::shared_ptr<Attr::NReal::Value> UIAttributes::registerReal(const IdCell& owner, std::string_view name,
                                                               double initial) {
    auto value = std::make_shared<Attr::NReal::Value>(owner, initial);
    registerAttribute<Attr::NReal>(owner, name, value);
    return value;
}

std::shared_ptr<Attr::NString::Value> UIAttributes::registerString(const IdCell& owner, std::string_view name,
                                                                   std::string initial) {
    auto value = std::make_shared<Attr::NString::Value>(owner, std::move(initial));
    registerAttribute<Attr::NString>(owner, name, value);
    return value;
}

std::shared_ptr<Attr::NStrings::Value> UIAttributes::registerStrings(const IdCell& owner, std::string_view name,
                                                                     const std::vector<std::string>& initial) {
    auto value = std::make_shared<Attr::NStrings::Value>(owner);
    for (const std::string& s : initial) value->append(s);  // nothing listens yet
    registerAttribute<Attr::NStrings>(owner, name, value);
    return value;
}

std::shared_ptr<Attr::NBool::Value> UIAttributes::registerBool(const IdCell& owner, std::string_view name,
                                                               bool initial) {
    auto value = std::make_shared<Attr::NBool::Value>(owner, initial ? 1 : 0);
    registerAttribute<Attr::NBool>(owner, name, value, false);
    return value;
}

std::shared_ptr<Attr::NBools::Value> UIAttributes::registerSelectableItems(const IdCell& owner) {
    auto value = std::make_shared<Attr::NBools::Value>(owner);
    registerAttribute<Attr::NBools>(owner, "selectableitems", value, false);
    return value;
}

std::shared_ptr<Attr::NUIControlID::Value> UIAttributes::registerControlID(const IdCell& owner,
                                                                           std::string_view name, IdCell initial) {
    auto value = std::make_shared<Attr::NUIControlID::Value>(owner, std::move(initial));
    registerAttribute<Attr::NUIControlID>(owner, name, value);
    return value;
}

std::shared_ptr<Attr::ControlNotify::Value> UIAttributes::registerNotify(const IdCell& owner,
                                                                         std::string_view name) {
    auto value = std::make_shared<Attr::ControlNotify::Value>();
    registerAttribute<Attr::ControlNotify>(owner, name, value);
    return value;
}

void UIAttributes::registerStandard(const IdCell& owner, std::shared_ptr<Attr::NIRect2D::Value> boundingBox,
                                    std::shared_ptr<Attr::NBool::Value> visible,
                                    std::shared_ptr<Attr::NString::Value> name,
                                    std::shared_ptr<Attr::NString::Value> className) {
    registerAttribute<Attr::NIRect2D>(owner, "boundingbox", std::move(boundingBox), false);
    registerAttribute<Attr::NBool>(owner, "visible", std::move(visible), false);
    registerAttribute<Attr::NString>(owner, "name", std::move(name));
    registerAttribute<Attr::NString>(owner, "class", std::move(className));
}

std::vector<std::string> UIAttributes::attributeNames(const IdCell& id) const {
    const AttributeTable& table = tables_->at(*id);
    return table.names ? *table.names : std::vector<std::string>{};
}

void UIAttributes::writeAsString(const IdCell& id, std::string_view name, std::string_view text) const {
    const AttributeSlot* found = findSlot(id, name);
    if (!found) notFound(name, "writeAsString");
    const AttributeSlot slot = *found;  // deliveries may change the table
    using namespace AttributeText;
    const AttributeType* type = slot.type;
    if (type == &Attr::NString::type) {
        setIfConverted(valueOf<Attr::NString>(slot), stripDelimiters(text));
    } else if (type == &Attr::NInt::type) {
        setIfConverted(valueOf<Attr::NInt>(slot), scanInt(text));
    } else if (type == &Attr::NBool::type) {
        setIfConverted(valueOf<Attr::NBool>(slot), boolFromText(text));
    } else if (type == &Attr::NReal::type) {
        setIfConverted(valueOf<Attr::NReal>(slot), realFromText(text));
    } else if (type == &Attr::NIRect2D::type) {
        setIfConverted(valueOf<Attr::NIRect2D>(slot), parseRectangle(text));
    } else if (type == &Attr::NStrings::type) {
        replaceList(valueOf<Attr::NStrings>(slot), stringsFromText(text));
    } else if (type == &Attr::NBools::type) {
        replaceList(valueOf<Attr::NBools>(slot), boolsFromText(text));
    }
    // NUIControlID and ControlNotify take no text.
}

void UIAttributes::writeString(const IdCell& id, std::string_view name, std::string text) const {
    get<Attr::NString>(id, name)->set(std::move(text));
}

bool UIAttributes::takeOver(const IdCell& from, const IdCell& to, std::string_view name) {
    const AttributeSlot* slot = findSlot(from, name);
    if (!slot || findSlot(to, name)) return false;
    enter(to, name, *slot);
    return true;
}

void UIAttributes::notFound(std::string_view name, std::string_view operation) {
    throw EGeneric::named("UIAttributes", "Attribute " + std::string(name) + " not found during " + std::string(operation));
}

void UIAttributes::typecastFailure(const AttributeType& stored, const AttributeType& requested) {
    throw EGeneric::named("TYPECAST", "Cannot typecast an object of type " + std::string(stored.name) +
                                          " into type " + std::string(requested.name));
}

}  // namespace zil
