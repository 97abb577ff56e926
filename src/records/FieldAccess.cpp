#include "records/FieldAccess.hpp"

#include <string>

#include "shell/Errors.hpp"

namespace zil {

namespace {

// Runs `body`, which fails with InternalError after its own message; the
// getter's handler adds the "Could not get field" line. Other exceptions
// (a failed write) pass through untouched.
template <class F>
[[noreturn]] void underGetterHandler(FieldName name, OutStream& out, F&& body) {
    try {
        body();
    } catch (const InternalError&) {
        reportInternalError("Could not get field " + std::string(name.str()), {}, out);
        throw InternalError();
    }
    throw InternalError();  // not reached: body always raises
}

FieldArray writeField(const FieldArray& fields, FieldName name, OutStream& out, const ZilLValue& v,
                      bool mayAppend) {
    const FieldSpan in = fields;
    int count = 0;
    for (const ZilLField& f : in) count += f.name == name ? 1 : 0;
    if (mayAppend && count == 0) {
        const std::size_t n = in.size();
        if (n + 1 > kMaxArrayLength) throw Size();
        return FieldArray::generate(n + 1, [&](std::size_t i) { return i < n ? in[i] : ZilLField{name, v}; });
    }
    if (count > 0)
        for (std::size_t i = 0; i < in.size(); ++i)
            if (in[i].name == name) fields.set(i, ZilLField{name, v});
    if (count != 1) {
        reportInternalError("Expected field " + std::string(name.str()) + " not found in ZilL record!", {}, out);
        printRecordFields(fields, out);
    }
    return fields;
}

FieldName nameOf(std::string_view text) { return FieldName(text); }

}  // namespace

namespace detail {

void fieldKindFailure(Getter getter, FieldName name, OutStream& out) {
    std::string_view line;
    switch (getter) {
        case Getter::Integer: line = "int match error: function getIntegerField"; break;
        case Getter::ForceInteger: line = "int match error: function forceGetIntegerField"; break;
        case Getter::Real: line = "real match error: function getRealField"; break;
        case Getter::Array: line = "array match error: function getArrayField"; break;
        case Getter::Record: line = "record match error: function getRecordField"; break;
    }
    underGetterHandler(name, out, [&] {
        reportInternalError(line, {}, out);
        throw InternalError();
    });
}

void fieldMissingFailure(FieldName name, OutStream& out) {
    underGetterHandler(name, out, [&] {
        reportInternalError("Could not find field " + std::string(name.str()) + " in forceGetField", {}, out);
        throw InternalError();
    });
}

}  // namespace detail

FieldArray setIntegerField(const FieldArray& fields, FieldName name, OutStream& out, std::int32_t v) {
    return writeField(fields, name, out, ZilLValue::INT(v), true);
}

FieldArray setRealField(const FieldArray& fields, FieldName name, OutStream& out, double v) {
    return writeField(fields, name, out, ZilLValue::REAL(v), true);
}

FieldArray replaceIntegerField(const FieldArray& fields, FieldName name, OutStream& out, std::int32_t v) {
    return writeField(fields, name, out, ZilLValue::INT(v), false);
}

void printRecordFields(const FieldArray& fields, OutStream& out) {
    printMessage(out, "{");
    bool first = true;
    for (const ZilLField& f : fields) {
        if (!first) printMessage(out, ", ");
        first = false;
        printMessage(out, f.name.str());
    }
    printMessage(out, "}\n");
}

std::int32_t getIntegerField(const FieldArray& fields, std::string_view name, OutStream& out) {
    return getIntegerField(fields, nameOf(name), out);
}
std::int32_t forceGetIntegerField(const FieldArray& fields, std::string_view name, OutStream& out) {
    return forceGetIntegerField(fields, nameOf(name), out);
}
double getRealField(const FieldArray& fields, std::string_view name, OutStream& out) {
    return getRealField(fields, nameOf(name), out);
}
ValueArray getArrayField(const FieldArray& fields, std::string_view name, OutStream& out,
                         const ValueArray& fallback) {
    return getArrayField(fields, nameOf(name), out, fallback);
}
FieldArray getRecordField(const FieldArray& fields, std::string_view name, OutStream& out,
                          const FieldArray& fallback) {
    return getRecordField(fields, nameOf(name), out, fallback);
}
FieldArray setIntegerField(const FieldArray& fields, std::string_view name, OutStream& out, std::int32_t v) {
    return setIntegerField(fields, nameOf(name), out, v);
}
FieldArray setRealField(const FieldArray& fields, std::string_view name, OutStream& out, double v) {
    return setRealField(fields, nameOf(name), out, v);
}
FieldArray replaceIntegerField(const FieldArray& fields, std::string_view name, OutStream& out, std::int32_t v) {
    return replaceIntegerField(fields, nameOf(name), out, v);
}

}  // namespace zil
