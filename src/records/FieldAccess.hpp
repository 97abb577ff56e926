#pragma once
// Reading and writing record fields by name. Every lookup takes the first
// field of the name. A found field of the wrong kind makes a getter print
// two "Internal Error: " lines on `out` and raise InternalError.
//
// The FieldName overloads are the fast ones (a scan comparing small ids, no
// allocation); the string overloads are for convenience and intern the name.
#include <cstdint>
#include <span>
#include <string_view>

#include "records/ZilLValue.hpp"
#include "shell/OutStream.hpp"

namespace zil {

// Field arrays as the getters read them: a FieldArray, or the fields of a
// record seen in place (ZilLValue::fieldSpan), which saves taking a share.
using FieldSpan = std::span<const ZilLField>;

// The first field named `name`, or nullptr.
inline const ZilLField* findField(FieldSpan fields, FieldName name) {
    for (const ZilLField& f : fields)
        if (f.name == name) return &f;
    return nullptr;
}

namespace detail {
enum class Getter : std::uint8_t { Integer, ForceInteger, Real, Array, Record };
// Prints the kind line and the "Could not get field" line, raises InternalError.
[[noreturn]] void fieldKindFailure(Getter getter, FieldName name, OutStream& out);
// Prints the forceGetField lines, raises InternalError.
[[noreturn]] void fieldMissingFailure(FieldName name, OutStream& out);
}  // namespace detail

// INT field; -1 when absent.
inline std::int32_t getIntegerField(FieldSpan fields, FieldName name, OutStream& out) {
    const ZilLField* f = findField(fields, name);
    if (!f) return -1;
    if (!f->value.isInt()) detail::fieldKindFailure(detail::Getter::Integer, name, out);
    return f->value.asInt();
}

// INT field that must exist: an absent one is reported and raises InternalError.
inline std::int32_t forceGetIntegerField(FieldSpan fields, FieldName name, OutStream& out) {
    const ZilLField* f = findField(fields, name);
    if (!f) detail::fieldMissingFailure(name, out);
    if (!f->value.isInt()) detail::fieldKindFailure(detail::Getter::ForceInteger, name, out);
    return f->value.asInt();
}

// REAL field; 0.0 when absent.
inline double getRealField(FieldSpan fields, FieldName name, OutStream& out) {
    const ZilLField* f = findField(fields, name);
    if (!f) return 0.0;
    if (!f->value.isReal()) detail::fieldKindFailure(detail::Getter::Real, name, out);
    return f->value.asReal();
}

// The ARRAY's own element array (shared); `fallback` when absent.
inline ValueArray getArrayField(FieldSpan fields, FieldName name, OutStream& out,
                                const ValueArray& fallback = {}) {
    const ZilLField* f = findField(fields, name);
    if (!f) return fallback;
    if (!f->value.isArray()) detail::fieldKindFailure(detail::Getter::Array, name, out);
    return f->value.elements();
}

// The RECORD's own field array (shared); `fallback` when absent.
inline FieldArray getRecordField(FieldSpan fields, FieldName name, OutStream& out,
                                 const FieldArray& fallback = {}) {
    const ZilLField* f = findField(fields, name);
    if (!f) return fallback;
    if (!f->value.isRecord()) detail::fieldKindFailure(detail::Getter::Record, name, out);
    return f->value.fields();
}

// Setters. When the name occurs, every field of the name gets the new value
// in place and the same array comes back (a name that occurs more than once
// is reported, with the record print, and still set). When it does not
// occur, a new array with the field appended comes back; the old array is
// left as it was.
FieldArray setIntegerField(const FieldArray& fields, FieldName name, OutStream& out, std::int32_t v);
FieldArray setRealField(const FieldArray& fields, FieldName name, OutStream& out, double v);
// Like setIntegerField, but never appends: an absent name is reported and
// the array comes back unchanged.
FieldArray replaceIntegerField(const FieldArray& fields, FieldName name, OutStream& out, std::int32_t v);

// Prints the field names as "{a, b, c}\n", each piece flushed.
void printRecordFields(const FieldArray& fields, OutStream& out);

// Convenience forms by text.
std::int32_t getIntegerField(const FieldArray& fields, std::string_view name, OutStream& out);
std::int32_t forceGetIntegerField(const FieldArray& fields, std::string_view name, OutStream& out);
double getRealField(const FieldArray& fields, std::string_view name, OutStream& out);
ValueArray getArrayField(const FieldArray& fields, std::string_view name, OutStream& out,
                         const ValueArray& fallback = {});
FieldArray getRecordField(const FieldArray& fields, std::string_view name, OutStream& out,
                          const FieldArray& fallback = {});
FieldArray setIntegerField(const FieldArray& fields, std::string_view name, OutStream& out, std::int32_t v);
FieldArray setRealField(const FieldArray& fields, std::string_view name, OutStream& out, double v);
FieldArray replaceIntegerField(const FieldArray& fields, std::string_view name, OutStream& out, std::int32_t v);

}  // namespace zil
