#include "records/ZilLValue.hpp"

namespace zil {

namespace detail {
void throwSubscript() { throw Subscript(); }

NodePool nodePool{};

namespace {
// Slabs are carved front to back; the first block of each links the slabs
// so that they stay reachable.
constexpr std::size_t kSlabBytes = 64 * 1024;
}  // namespace

void* carveNodeStorage(std::size_t sizeClass) {
    const std::size_t bytes = sizeClass * kNodeGrain;
    if (static_cast<std::size_t>(nodePool.limit - nodePool.cursor) < bytes) {
        char* slab = static_cast<char*>(::operator new(kSlabBytes));
        *reinterpret_cast<void**>(slab) = nodePool.slabs;
        nodePool.slabs = slab;
        nodePool.cursor = slab + kNodeGrain;
        nodePool.limit = slab + kSlabBytes;
    }
    void* p = nodePool.cursor;
    nodePool.cursor += bytes;
    return p;
}

// Out of line so the compiler does not track node sizes into element
// accesses (it then warns about indices on paths the bounds check excludes).
void* allocateHeapNodeStorage(std::size_t bytes) { return ::operator new(bytes); }
void freeHeapNodeStorage(void* p) noexcept { ::operator delete(p); }
}  // namespace detail

namespace {
struct XyzNode : detail::Node {
    explicit XyzNode(Xyz v) : v(v) {}
    Xyz v;
};
struct SumNode : detail::Node {
    SumNode(FieldName name, ZilLValue arg) : name(name), arg(std::move(arg)) {}
    FieldName name;
    ZilLValue arg;
};
}  // namespace

std::int32_t ZilLBasic::asInt() const {
    if (kind_ != Kind::INT) throw Match();
    return i_;
}
double ZilLBasic::asReal() const {
    if (kind_ != Kind::REAL) throw Match();
    return r_;
}
const Xyz& ZilLBasic::asXyz() const {
    if (kind_ != Kind::XYZ) throw Match();
    return xyz_;
}

void ZilLValue::throwMatch() { throw Match(); }

ZilLValue ZilLValue::BASIC(const ZilLBasic& b) {
    switch (b.kind()) {
        case ZilLBasic::Kind::INT: return INT(b.asInt());
        case ZilLBasic::Kind::REAL: return REAL(b.asReal());
        case ZilLBasic::Kind::XYZ: break;
    }
    return XYZ(b.asXyz());
}

ZilLValue ZilLValue::XYZ(Xyz p) {
    ZilLValue v(Tag::BASIC, new XyzNode(p));
    v.kind_ = ZilLBasic::Kind::XYZ;
    return v;
}

ZilLValue ZilLValue::SUMVALUE(FieldName name, ZilLValue argument) {
    return ZilLValue(Tag::SUMVALUE, new SumNode(name, std::move(argument)));
}

ZilLBasic ZilLValue::basic() const {
    if (!isBasic()) throwMatch();
    switch (kind_) {
        case ZilLBasic::Kind::INT: return ZilLBasic::INT(intBits());
        case ZilLBasic::Kind::REAL: return ZilLBasic::REAL(realBits());
        case ZilLBasic::Kind::XYZ: break;
    }
    return ZilLBasic::XYZ(static_cast<XyzNode*>(nodeBits())->v);
}

const Xyz& ZilLValue::asXyz() const {
    if (!isXyz()) throwMatch();
    return static_cast<XyzNode*>(nodeBits())->v;
}

FieldName ZilLValue::sumName() const {
    if (!isSumValue()) throwMatch();
    return static_cast<SumNode*>(nodeBits())->name;
}

const ZilLValue& ZilLValue::sumArgument() const {
    if (!isSumValue()) throwMatch();
    return static_cast<SumNode*>(nodeBits())->arg;
}

void ZilLValue::release(Tag t, Node* n) noexcept {
    switch (t) {
        case Tag::BASIC: delete static_cast<XyzNode*>(n); break;
        case Tag::RECORD: FieldArray::destroy(static_cast<detail::ArrayNode<ZilLField>*>(n)); break;
        case Tag::ARRAY: ValueArray::destroy(static_cast<detail::ArrayNode<ZilLValue>*>(n)); break;
        case Tag::SUMVALUE: delete static_cast<SumNode*>(n); break;
    }
}

ZilLListValue ZilLListValue::BASIC(const ZilLBasic& b) { return ZilLListValue(Tag::BASIC, b); }

ZilLListValue ZilLListValue::RECORD(std::vector<ZilLListField> fields) {
    ZilLListValue v(Tag::RECORD, ZilLBasic::INT(0));
    v.fields_ = std::move(fields);
    return v;
}

ZilLListValue ZilLListValue::ARRAY(std::vector<ZilLListValue> elements) {
    ZilLListValue v(Tag::ARRAY, ZilLBasic::INT(0));
    v.elements_ = std::move(elements);
    return v;
}

ZilLValue convertRecordValue(const ZilLListValue& v) {
    switch (v.tag()) {
        case ZilLListValue::Tag::BASIC: return ZilLValue::BASIC(v.basic());
        case ZilLListValue::Tag::ARRAY: {
            const auto& elems = v.elements();
            return ZilLValue::ARRAY(
                ValueArray::generate(elems.size(), [&](std::size_t i) { return convertRecordValue(elems[i]); }));
        }
        case ZilLListValue::Tag::RECORD: break;
    }
    // First pair of each name wins; records are small, so a linear check of
    // the names kept so far is the cheapest.
    std::vector<const ZilLListField*> kept;
    for (const ZilLListField& f : v.fields()) {
        bool seen = false;
        for (const ZilLListField* k : kept) {
            if (k->name == f.name) {
                seen = true;
                break;
            }
        }
        if (!seen) kept.push_back(&f);
    }
    // Converted in sequence order, stored last-kept first.
    std::vector<ZilLValue> converted;
    converted.reserve(kept.size());
    for (const ZilLListField* k : kept) converted.push_back(convertRecordValue(k->value));
    const std::size_t n = kept.size();
    return ZilLValue::RECORD(FieldArray::generate(n, [&](std::size_t i) {
        return ZilLField{kept[n - 1 - i]->name, converted[n - 1 - i]};
    }));
}

}  // namespace zil
