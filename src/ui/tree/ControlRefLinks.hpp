#pragma once
// Dependents of a control-reference attribute ("control", NUIControlID).
// Such a dependent keeps links on the referenced control; setting the
// attribute to another control delivers the new ID cell to its lists (the
// re-link), and each dependent takes its links off the old control and puts
// them on the new one. Setting it to a cell with the same ID changes
// nothing. Set the attribute with ObservedValue::set; push dependents on its
// onChanged list.
#include <array>
#include <functional>
#include <memory>

#include "ui/base/IdCell.hpp"
#include "ui/base/UIAttributes.hpp"
#include "ui/tree/ControlMessages.hpp"
#include "ui/tree/HandlerTables.hpp"

namespace zil {

class ControlTree;

using ControlRef = Attr::NUIControlID::Value;
using ControlRefList = ControlRef::List;  // callbacks get (owner, new ID cell)

namespace ControlRefLinks {

// The frame F stays 2 pixels outside the referenced control R: F's box
// changes R's (inset 2), R's box changes F's (grown by 2), R's visibility
// becomes F's, and a focus-flag link repaints F when R gains or loses the
// focus (in `focusLinks` at R's slot). On a re-link F then takes R's box
// grown by 2 (origin (R.x - 2, R.y - 2), width and height at least 0), or is
// only repainted when it has it already. A re-link to no control only takes
// the links off and repaints F.
ControlRefList::Callback frameAroundTarget(ControlTree& tree, IdCell frame, std::shared_ptr<LinkTable> focusLinks);

// One entry that a dependent keeps in a per-control table, put at the
// referenced control's slot.
using Placement = std::function<Registration(const IdCell& target)>;

template <class List>
Placement placeInTable(std::shared_ptr<AttributeStore<List>> table, typename List::Callback entry) {
    return [table = std::move(table), entry = std::move(entry)](const IdCell& target) {
        return Registration::pushInSlot(table, target, entry);
    };
}

// Keeps four entries at the referenced control's slot, each in a table of
// its own under a registration of its own, placed in the order given; a
// re-link first takes the old ones off, and one to no control places none.
// Nothing is repainted.
ControlRefList::Callback targetTableLinks(std::array<Placement, 4> placements);

}  // namespace ControlRefLinks
}  // namespace zil
