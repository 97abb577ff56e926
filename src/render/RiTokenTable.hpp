#pragma once
// Interned names of the Ri layer: parameters, projections, spaces, tags.
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/StringTree.hpp"

namespace zil {

namespace Rt {
// A name interned in the token table. Equal tokens have equal ids and names.
struct Token {
    std::int32_t id = -1;
    std::string name;
    bool operator==(const Token&) const = default;
};
}  // namespace Rt

class RiTokenTable {
public:
    // The token for `name`, added with the next id when it is new.
    Rt::Token intern(std::string_view name);
    // The last id given out; -1 for an empty table.
    std::int32_t lastId() const { return lastId_; }

private:
    StringTree<std::int32_t> tree_;
    std::int32_t lastId_ = -1;
};

// The tokens the Ri calls need, from the start-up filling of a table.
struct RiStandardTokens {
    Rt::Token P, N;
    Rt::Token perspective, orthographic;
    Rt::Token raster, camera, object;
    Rt::Token catmullClark, crease, corner;
};

// Interns the standard names into `table` in their fixed order ("P" gets 0 in
// an empty table) and returns the tokens the Ri calls use.
RiStandardTokens internStandardTokens(RiTokenTable& table);

}  // namespace zil
