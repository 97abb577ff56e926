#pragma once
// Interned names of record fields and sum-value constructors. Equal texts
// get equal ids, so a lookup compares small integers instead of strings.
// Make names once (e.g. `static const FieldName kPoint{"point"};`) and
// reuse them on hot paths.
#include <cstdint>
#include <string_view>

namespace zil {

class FieldName {
public:
    // Interns `text` (byte for byte; case matters, nothing is trimmed).
    explicit FieldName(std::string_view text);

    std::string_view str() const;
    std::uint32_t id() const { return id_; }

    friend bool operator==(FieldName a, FieldName b) { return a.id_ == b.id_; }

private:
    std::uint32_t id_;
};

}  // namespace zil
