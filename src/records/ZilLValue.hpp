#pragma once
// The ZilL record values: the in-memory data format of the mesh and of the
// coordinate transforms. A value is a small handle (12 bytes): INT and REAL
// leaves sit inside it, everything else is a node shared by reference.
// Copying a value never copies a record or an array; the only in-place
// changes are writes into the slots of a field array or an element array,
// which every holder of that array sees at once.
#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "records/FieldName.hpp"
#include "records/SharedArray.hpp"
#include "records/Xyz.hpp"

namespace zil {

// The leaf values.
class ZilLBasic {
public:
    enum class Kind : std::uint8_t { INT = 0, REAL = 1, XYZ = 2 };

    static ZilLBasic INT(std::int32_t i) { return ZilLBasic(Kind::INT, i, 0.0, {}); }
    static ZilLBasic REAL(double r) { return ZilLBasic(Kind::REAL, 0, r, {}); }
    static ZilLBasic XYZ(Xyz v) { return ZilLBasic(Kind::XYZ, 0, 0.0, v); }
    static ZilLBasic XYZ(double x, double y, double z) { return XYZ(Xyz{x, y, z}); }

    Kind kind() const { return kind_; }
    bool isInt() const { return kind_ == Kind::INT; }
    bool isReal() const { return kind_ == Kind::REAL; }
    bool isXyz() const { return kind_ == Kind::XYZ; }
    // Each raises Match for a leaf of another kind.
    std::int32_t asInt() const;
    double asReal() const;
    const Xyz& asXyz() const;

private:
    ZilLBasic(Kind k, std::int32_t i, double r, Xyz v) : kind_(k), i_(i), r_(r), xyz_(v) {}
    Kind kind_;
    std::int32_t i_;
    double r_;
    Xyz xyz_;
};

class ZilLValue;
struct ZilLField;

// A RECORD's fields, in field order, and an ARRAY's elements.
using FieldArray = SharedArray<ZilLField>;
using ValueArray = SharedArray<ZilLValue>;

class ZilLValue {
public:
    enum class Tag : std::uint8_t { BASIC = 0, RECORD = 1, ARRAY = 2, SUMVALUE = 3 };

    // BASIC (INT 0).
    ZilLValue() noexcept : tag_(Tag::BASIC), kind_(ZilLBasic::Kind::INT), bits_(pack(0)) {}

    static ZilLValue BASIC(const ZilLBasic& b);
    static ZilLValue INT(std::int32_t i) {
        ZilLValue v;
        v.bits_ = pack(static_cast<std::uint32_t>(i));
        return v;
    }
    static ZilLValue REAL(double r) {
        ZilLValue v;
        v.kind_ = ZilLBasic::Kind::REAL;
        v.bits_ = pack(std::bit_cast<std::uint64_t>(r));
        return v;
    }
    static ZilLValue XYZ(Xyz p);
    static ZilLValue XYZ(double x, double y, double z) { return XYZ(Xyz{x, y, z}); }
    static ZilLValue RECORD(FieldArray fields) noexcept;
    static ZilLValue ARRAY(ValueArray elements) noexcept;
    static ZilLValue SUMVALUE(FieldName name, ZilLValue argument);
    static ZilLValue SUMVALUE(std::string_view name, ZilLValue argument) {
        return SUMVALUE(FieldName(name), std::move(argument));
    }

    ZilLValue(const ZilLValue& o) noexcept : tag_(o.tag_), kind_(o.kind_), shared_(o.shared_), bits_(o.bits_) {
        if (shared_) ++nodeBits()->refs;
    }
    ZilLValue(ZilLValue&& o) noexcept : tag_(o.tag_), kind_(o.kind_), shared_(o.shared_), bits_(o.bits_) {
        o.tag_ = Tag::BASIC;
        o.kind_ = ZilLBasic::Kind::INT;
        o.shared_ = false;
        o.bits_ = pack(0);
    }
    // The assignments take the new value first and drop the old one last,
    // so that assigning a value that the old one holds stays safe.
    ZilLValue& operator=(const ZilLValue& o) noexcept {
        if (o.shared_) ++o.nodeBits()->refs;
        const Tag oldTag = tag_;
        Node* const old = node();
        tag_ = o.tag_;
        kind_ = o.kind_;
        shared_ = o.shared_;
        bits_ = o.bits_;
        if (old && --old->refs == 0) release(oldTag, old);
        return *this;
    }
    ZilLValue& operator=(ZilLValue&& o) noexcept {
        if (this == &o) return *this;
        const Tag oldTag = tag_;
        Node* const old = node();
        tag_ = o.tag_;
        kind_ = o.kind_;
        shared_ = o.shared_;
        bits_ = o.bits_;
        o.tag_ = Tag::BASIC;
        o.kind_ = ZilLBasic::Kind::INT;
        o.shared_ = false;
        o.bits_ = pack(0);
        if (old && --old->refs == 0) release(oldTag, old);
        return *this;
    }
    ~ZilLValue() {
        if (shared_ && --nodeBits()->refs == 0) release(tag_, nodeBits());
    }
    void swap(ZilLValue& o) noexcept {
        std::swap(tag_, o.tag_);
        std::swap(kind_, o.kind_);
        std::swap(shared_, o.shared_);
        std::swap(bits_, o.bits_);
    }

    Tag tag() const { return tag_; }
    bool isBasic() const { return tag_ == Tag::BASIC; }
    bool isRecord() const { return tag_ == Tag::RECORD; }
    bool isArray() const { return tag_ == Tag::ARRAY; }
    bool isSumValue() const { return tag_ == Tag::SUMVALUE; }
    bool isInt() const { return tag_ == Tag::BASIC && kind_ == ZilLBasic::Kind::INT; }
    bool isReal() const { return tag_ == Tag::BASIC && kind_ == ZilLBasic::Kind::REAL; }
    bool isXyz() const { return tag_ == Tag::BASIC && kind_ == ZilLBasic::Kind::XYZ; }

    // The payloads. Each raises Match when the value is of another kind, so a
    // reader that needs a record and meets anything else fails with Match.
    ZilLBasic basic() const;
    std::int32_t asInt() const {
        if (!isInt()) throwMatch();
        return intBits();
    }
    double asReal() const {
        if (!isReal()) throwMatch();
        return realBits();
    }
    const Xyz& asXyz() const;
    // The RECORD's field array itself (shared, not copied).
    FieldArray fields() const;
    // The ARRAY's element array itself (shared, not copied).
    ValueArray elements() const;
    // The same slots seen in place, without taking a share: for reads while
    // this value (or another holder of the array) keeps the array alive.
    std::span<const ZilLField> fieldSpan() const;
    std::span<const ZilLValue> elementSpan() const;
    FieldName sumName() const;
    const ZilLValue& sumArgument() const;

    // True when both values refer to the same shared node (same record
    // array, element array, sum value or XYZ leaf).
    bool sameNode(const ZilLValue& o) const { return node() != nullptr && node() == o.node(); }

private:
    using Node = detail::Node;

    // Empty arrays are held as a null node, which `shared_` also covers.
    ZilLValue(Tag t, Node* n) noexcept
        : tag_(t), kind_(ZilLBasic::Kind::INT), shared_(n != nullptr), bits_(pack(std::bit_cast<std::uint64_t>(n))) {}

    // The payload word read as what the tag and kind say it holds.
    std::int32_t intBits() const { return static_cast<std::int32_t>(static_cast<std::uint32_t>(unpack(bits_))); }
    double realBits() const { return std::bit_cast<double>(unpack(bits_)); }
    Node* nodeBits() const { return std::bit_cast<Node*>(unpack(bits_)); }
    Node* node() const { return shared_ ? nodeBits() : nullptr; }
    template <class T>
    SharedArray<T> adopt() const;
    // Frees a node of a value of tag `t` whose last share has gone.
    static void release(Tag t, Node* n) noexcept;
    [[noreturn]] static void throwMatch();

    Tag tag_;
    ZilLBasic::Kind kind_;
    // True exactly when the payload points at a node this value holds a
    // share of.
    bool shared_ = false;
    // The payload: an INT (low 32 bits), the bits of a REAL, or a node
    // pointer, as one plain 64-bit word, so copies never read a member that
    // is not the one last written. It is kept as two 32-bit halves: a value
    // is then 12 bytes and a field 16, which keeps large meshes a quarter
    // smaller than with 8-byte alignment.
    using Payload = std::array<std::uint32_t, 2>;
    static Payload pack(std::uint64_t w) noexcept { return std::bit_cast<Payload>(w); }
    static std::uint64_t unpack(Payload p) noexcept { return std::bit_cast<std::uint64_t>(p); }
    Payload bits_;
    static_assert(sizeof(Node*) == sizeof(std::uint64_t));
};

// One field of a record: a name and a value.
struct ZilLField {
    FieldName name;
    ZilLValue value;
};
static_assert(sizeof(ZilLValue) == 12 && sizeof(ZilLField) == 16);

template <class T>
inline SharedArray<T> ZilLValue::adopt() const {
    auto* n = static_cast<detail::ArrayNode<T>*>(node());
    if (n) ++n->refs;
    return SharedArray<T>(n);
}
inline std::span<const ZilLField> ZilLValue::fieldSpan() const {
    if (!isRecord()) throwMatch();
    auto* n = static_cast<detail::ArrayNode<ZilLField>*>(node());
    if (!n) return {};
    return {n->data(), n->size};
}
inline std::span<const ZilLValue> ZilLValue::elementSpan() const {
    if (!isArray()) throwMatch();
    auto* n = static_cast<detail::ArrayNode<ZilLValue>*>(node());
    if (!n) return {};
    return {n->data(), n->size};
}
inline ZilLValue ZilLValue::RECORD(FieldArray fields) noexcept {
    return ZilLValue(Tag::RECORD, std::exchange(fields.node_, nullptr));
}
inline ZilLValue ZilLValue::ARRAY(ValueArray elements) noexcept {
    return ZilLValue(Tag::ARRAY, std::exchange(elements.node_, nullptr));
}
inline FieldArray ZilLValue::fields() const {
    if (!isRecord()) throwMatch();
    return adopt<ZilLField>();
}
inline ValueArray ZilLValue::elements() const {
    if (!isArray()) throwMatch();
    return adopt<ZilLValue>();
}

// The list form in which a record tree is written down before conversion.
struct ZilLListField;

class ZilLListValue {
public:
    enum class Tag : std::uint8_t { BASIC = 0, RECORD = 1, ARRAY = 2 };

    static ZilLListValue BASIC(const ZilLBasic& b);
    static ZilLListValue INT(std::int32_t i);
    static ZilLListValue REAL(double r);
    static ZilLListValue RECORD(std::vector<ZilLListField> fields);
    static ZilLListValue ARRAY(std::vector<ZilLListValue> elements);

    Tag tag() const { return tag_; }
    const ZilLBasic& basic() const { return basic_; }
    const std::vector<ZilLListField>& fields() const { return fields_; }
    const std::vector<ZilLListValue>& elements() const { return elements_; }

private:
    ZilLListValue(Tag t, const ZilLBasic& b);
    Tag tag_;
    ZilLBasic basic_;
    std::vector<ZilLListField> fields_;
    std::vector<ZilLListValue> elements_;
};

struct ZilLListField {
    ZilLListField(std::string_view name, ZilLListValue value) : name(name), value(std::move(value)) {}
    ZilLListField(FieldName name, ZilLListValue value) : name(name), value(std::move(value)) {}
    FieldName name;
    ZilLListValue value;
};

// Defined here, where ZilLListField is complete: clang instantiates the
// vector members' destructor at the point of an inline body.
inline ZilLListValue::ZilLListValue(Tag t, const ZilLBasic& b) : tag_(t), basic_(b) {}
inline ZilLListValue ZilLListValue::INT(std::int32_t i) { return BASIC(ZilLBasic::INT(i)); }
inline ZilLListValue ZilLListValue::REAL(double r) { return BASIC(ZilLBasic::REAL(r)); }

// The array form of a list-form tree. Of several fields of one name the
// first stays, and the kept fields come out in reverse order:
// ("a", x), ("b", y), ("a", z) becomes the fields ("b", y'), ("a", x').
ZilLValue convertRecordValue(const ZilLListValue& v);

}  // namespace zil
