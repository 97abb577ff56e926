#pragma once
// Typed attribute tables of the controls. Every control has a table from
// attribute name to slot in the first per-control store; a slot holds the
// attribute's type and the value object it binds: the control's own state, not
// a copy, so a write through the table is the write the control reacts to.
//
// Reads name the type they expect and succeed only at the very type stored
// (types compare by identity); a slot registered as unreadable ("boundingbox",
// "visible", NBool and "selectableitems") is read only through the handle its
// registration gave. Writes from text go through the value's change protocol.
//
// Failures: a missing name raises EGeneric "UIAttributes" ("Attribute <name>
// not found during get" / "... during writeAsString"), a duplicate one
// "Attribute <name> exists during register"; a read at another type raises
// EGeneric "TYPECAST" ("Cannot typecast an object of type <stored> into type
// <requested>"); an ID outside the tables raises Subscript. A failed
// registration or write changes nothing.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/BlockPool.hpp"
#include "shell/Constants.hpp"
#include "shell/IRect2D.hpp"
#include "shell/StringTree.hpp"
#include "ui/base/AttributeStores.hpp"
#include "ui/base/IdCell.hpp"
#include "ui/base/ObservedValue.hpp"

namespace zil {

// The nine types, each with the value object its attributes bind. Booleans
// are held as 0 and 1; NUIControlID and ControlNotify take no text.
namespace Attr {
// The types' constants are in shell/Constants, compared by address.
#define ZIL_ATTRIBUTE_TYPE(Tag, constant, ...)                          \
    struct Tag {                                                        \
        using Value = __VA_ARGS__;                                      \
        static constexpr const AttributeType& type = Constants::constant; \
    };
ZIL_ATTRIBUTE_TYPE(NBool, nBoolType, ObservedValue<std::int32_t>)
ZIL_ATTRIBUTE_TYPE(NBools, nBoolsType, ObservedArray<std::int32_t>)
ZIL_ATTRIBUTE_TYPE(NInt, nIntType, ObservedValue<std::int32_t>)
ZIL_ATTRIBUTE_TYPE(NReal, nRealType, ObservedValue<double>)
ZIL_ATTRIBUTE_TYPE(NString, nStringType, ObservedValue<std::string>)
ZIL_ATTRIBUTE_TYPE(NStrings, nStringsType, ObservedArray<std::string>)
ZIL_ATTRIBUTE_TYPE(NIRect2D, nIRect2DType, ObservedValue<IRect2D>)
ZIL_ATTRIBUTE_TYPE(NUIControlID, nUIControlIDType, ObservedValue<IdCell, SameControlId>)
ZIL_ATTRIBUTE_TYPE(ControlNotify, controlNotifyType, PlainList)
#undef ZIL_ATTRIBUTE_TYPE
}  // namespace Attr

struct AttributeSlot {
    const AttributeType* type = nullptr;
    std::shared_ptr<void> value;  // a Tag::Value of the type's tag
    bool readable = true;         // false: get fails even at its own type
};

// One control's table. The names are kept in registration order. The
// tree's nodes come from the pool of the UIAttributes that made the table,
// which the table keeps until its tree is gone.
struct AttributeTable {
    using Tree = StringTree<AttributeSlot, PoolAllocator<AttributeSlot>>;

    AttributeTable() = default;
    AttributeTable(const AttributeTable&) = default;
    AttributeTable(AttributeTable&&) = default;
    // The old tree goes back to its pool before the pool may go.
    AttributeTable& operator=(AttributeTable other) noexcept {
        tree = std::move(other.tree);
        names = std::move(other.names);
        nodes = std::move(other.nodes);
        return *this;
    }

    std::shared_ptr<BlockPool> nodes;  // first, so that it outlives the tree
    Tree tree;
    std::shared_ptr<const std::vector<std::string>> names;
};

class UIAttributes {
public:
    using Tables = AttributeStore<AttributeTable>;

    // Makes the store of attribute tables in `stores`; a UI context makes it
    // first, before the other stores.
    explicit UIAttributes(AttributeStores& stores);

    Tables& tables() const { return *tables_; }

    // --- Registration, for the control whose ID `owner` holds. ID 0 (a
    // destroyed control) raises ControlDestroyed.

    // Enters an existing value object under `name`.
    template <class Tag>
    void registerAttribute(const IdCell& owner, std::string_view name, std::shared_ptr<typename Tag::Value> value,
                           bool readable = true) {
        enter(owner, name, AttributeSlot{&Tag::type, std::move(value), readable});
    }

    // Makers: a new value object owned by `owner`, registered and returned.
    std::shared_ptr<Attr::NInt::Value> registerInt(const IdCell& owner, std::string_view name, std::int32_t initial);
    std::shared_ptr<Attr::NReal::Value> registerReal(const IdCell& owner, std::string_view name, double initial);
    std::shared_ptr<Attr::NString::Value> registerString(const IdCell& owner, std::string_view name,
                                                         std::string initial);
    std::shared_ptr<Attr::NStrings::Value> registerStrings(const IdCell& owner, std::string_view name,
                                                           const std::vector<std::string>& initial = {});
    // Unreadable by get.
    std::shared_ptr<Attr::NBool::Value> registerBool(const IdCell& owner, std::string_view name, bool initial);
    // "selectableitems", empty; unreadable by get.
    std::shared_ptr<Attr::NBools::Value> registerSelectableItems(const IdCell& owner);
    // Initially a fresh cell holding 0 (no control) unless one is given.
    std::shared_ptr<Attr::NUIControlID::Value> registerControlID(const IdCell& owner, std::string_view name,
                                                                 IdCell initial = makeIdCell(0));
    std::shared_ptr<Attr::ControlNotify::Value> registerNotify(const IdCell& owner, std::string_view name);

    // The four every control has, in this order: "boundingbox" and "visible"
    // (both unreadable by get), "name", "class".
    void registerStandard(const IdCell& owner, std::shared_ptr<Attr::NIRect2D::Value> boundingBox,
                          std::shared_ptr<Attr::NBool::Value> visible, std::shared_ptr<Attr::NString::Value> name,
                          std::shared_ptr<Attr::NString::Value> className);

    // --- Reads.

    // The slot under `name` in the table of the control whose ID `id` holds
    // now, or null. The pointer is valid until that table next changes.
    const AttributeSlot* findSlot(const IdCell& id, std::string_view name) const {
        return tables_->at(*id).tree.lookup(name);
    }

    // The value object under `name`, read at type Tag.
    template <class Tag>
    std::shared_ptr<typename Tag::Value> get(const IdCell& id, std::string_view name) const {
        const AttributeSlot* slot = findSlot(id, name);
        if (!slot) notFound(name, "get");
        if (slot->type != &Tag::type || !slot->readable) typecastFailure(*slot->type, Tag::type);
        return std::static_pointer_cast<typename Tag::Value>(slot->value);
    }

    // The control's attribute names, in registration order.
    std::vector<std::string> attributeNames(const IdCell& id) const;

    // --- Writes.

    // Converts `text` by the attribute's type and sets the value through its
    // change protocol; an equal value delivers nothing. Text that does not
    // convert changes nothing, silently, but an integer beyond 32 bits
    // raises Overflow. A list is replaced: emptied, then
    // each element appended (its change lists run once per element).
    // NUIControlID and ControlNotify take no text: nothing happens.
    void writeAsString(const IdCell& id, std::string_view name, std::string_view text) const;

    // Sets a string attribute (get at NString, then set).
    void writeString(const IdCell& id, std::string_view name, std::string text) const;

    // Registers `from`'s attribute `name` under the same name for `to`: the
    // very same value object, seen through both tables. Nothing happens when
    // `from` lacks the name or `to` already has it; true when it was taken.
    bool takeOver(const IdCell& from, const IdCell& to, std::string_view name);

private:
    void enter(const IdCell& owner, std::string_view name, AttributeSlot slot);
    [[noreturn]] static void notFound(std::string_view name, std::string_view operation);
    [[noreturn]] static void typecastFailure(const AttributeType& stored, const AttributeType& requested);

    std::shared_ptr<Tables> tables_;
    // Where every table's tree nodes come from: they are many and small, and
    // they all go when the user interface does.
    std::shared_ptr<BlockPool> nodes_;
};

}  // namespace zil
