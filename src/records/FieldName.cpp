#include "records/FieldName.hpp"

#include <deque>
#include <string>
#include <unordered_map>

namespace zil {

namespace {
// Texts live in a deque so the views keyed in the map stay valid as it grows.
struct InternTable {
    std::deque<std::string> texts;
    std::unordered_map<std::string_view, std::uint32_t> ids;
};

InternTable& table() {
    static InternTable t;
    return t;
}
}  // namespace

FieldName::FieldName(std::string_view text) {
    InternTable& t = table();
    auto it = t.ids.find(text);
    if (it != t.ids.end()) {
        id_ = it->second;
        return;
    }
    id_ = static_cast<std::uint32_t>(t.texts.size());
    const std::string& stored = t.texts.emplace_back(text);
    t.ids.emplace(std::string_view(stored), id_);
}

std::string_view FieldName::str() const { return table().texts[id_]; }

}  // namespace zil
