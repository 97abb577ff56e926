#include "records/ZilLCoordTransforms.hpp"

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "records/RecordConstants.hpp"
#include "shell/Errors.hpp"

namespace zil {

namespace {

// The eight constructors, in the order names are compared.
enum class Ctor { RotateX, RotateY, RotateZ, IntDegRotateX, IntDegRotateY, IntDegRotateZ, TranslateXYZ, ScaleXYZ, None };

struct CtorNames {
    FieldName names[8] = {FieldName("RotateX"),       FieldName("RotateY"),       FieldName("RotateZ"),
                          FieldName("IntDegRotateX"), FieldName("IntDegRotateY"), FieldName("IntDegRotateZ"),
                          FieldName("TranslateXYZ"),  FieldName("ScaleXYZ")};
};

const CtorNames& ctorNames() {
    static const CtorNames n;
    return n;
}

FieldName nameOf(Ctor c) { return ctorNames().names[static_cast<int>(c)]; }

Ctor ctorOf(FieldName name) {
    const CtorNames& n = ctorNames();
    for (int i = 0; i < 8; ++i)
        if (n.names[i] == name) return static_cast<Ctor>(i);
    return Ctor::None;
}

// Whether `arg` is the BASIC kind that constructor `c` takes.
bool argumentFits(Ctor c, const ZilLValue& arg) {
    switch (c) {
        case Ctor::RotateX:
        case Ctor::RotateY:
        case Ctor::RotateZ: return arg.isReal();
        case Ctor::IntDegRotateX:
        case Ctor::IntDegRotateY:
        case Ctor::IntDegRotateZ: return arg.isInt();
        case Ctor::TranslateXYZ:
        case Ctor::ScaleXYZ: return arg.isXyz();
        case Ctor::None: break;
    }
    return false;
}

void reportInvalidConstructor(FieldName name, std::string_view function, OutStream& out) {
    reportInternalError("Invalid SUMVALUE constructor " + std::string(name.str()), function, out);
}

// Cosine and sine of n whole degrees, exact for multiples of 90.
void wholeDegreeCosSin(std::int32_t n, double& c, double& s) {
    const std::int64_t wide = n;
    if (((wide % 90) + 90) % 90 != 0) {
        const double a = (static_cast<double>(n) * Constants::pi) / 180.0;
        c = std::cos(a);
        s = std::sin(a);
        return;
    }
    switch (((wide % 360) + 360) % 360) {
        case 0: c = 1.0, s = 0.0; break;
        case 90: c = 0.0, s = 1.0; break;
        case 180: c = -1.0, s = 0.0; break;
        default: c = 0.0, s = -1.0; break;
    }
}

constexpr const char* kToMatrix = "ZilLCoordTransforms.transformToMatrix4x4";

}  // namespace

namespace detail {

Matrix4x4 rotationX(double c, double s) {
    return {{Constants::unitRow1, Matrix4x4Row{0.0, c, -s, 0.0}, Matrix4x4Row{0.0, s, c, 0.0}, Constants::unitRow4}};
}
Matrix4x4 rotationY(double c, double s) {
    return {{Matrix4x4Row{c, 0.0, s, 0.0}, Constants::unitRow2, Matrix4x4Row{-s, 0.0, c, 0.0}, Constants::unitRow4}};
}
Matrix4x4 rotationZ(double c, double s) {
    return {{Matrix4x4Row{c, -s, 0.0, 0.0}, Matrix4x4Row{s, c, 0.0, 0.0}, Constants::unitRow3, Constants::unitRow4}};
}

void reportExpectedSumValue(std::string_view function, OutStream& out) {
    reportInternalError("Expected SUMVALUE not found", function, out);
}

}  // namespace detail

namespace ZilLCoordTransforms {

Matrix4x4 transformToMatrix4x4(const ZilLValue& transform, OutStream& out) {
    if (!transform.isSumValue()) {
        detail::reportExpectedSumValue(kToMatrix, out);
        return Constants::identity;
    }
    const FieldName name = transform.sumName();
    const Ctor c = ctorOf(name);
    const ZilLValue& arg = transform.sumArgument();
    if (!argumentFits(c, arg)) {
        reportInvalidConstructor(name, kToMatrix, out);
        return Constants::identity;
    }
    double cs = 0.0, sn = 0.0;
    switch (c) {
        case Ctor::RotateX: return detail::rotationX(std::cos(arg.asReal()), std::sin(arg.asReal()));
        case Ctor::RotateY: return detail::rotationY(std::cos(arg.asReal()), std::sin(arg.asReal()));
        case Ctor::RotateZ: return detail::rotationZ(std::cos(arg.asReal()), std::sin(arg.asReal()));
        case Ctor::IntDegRotateX: wholeDegreeCosSin(arg.asInt(), cs, sn); return detail::rotationX(cs, sn);
        case Ctor::IntDegRotateY: wholeDegreeCosSin(arg.asInt(), cs, sn); return detail::rotationY(cs, sn);
        case Ctor::IntDegRotateZ: wholeDegreeCosSin(arg.asInt(), cs, sn); return detail::rotationZ(cs, sn);
        case Ctor::TranslateXYZ: {
            const Xyz& t = arg.asXyz();
            return {{Matrix4x4Row{1.0, 0.0, 0.0, t.x}, Matrix4x4Row{0.0, 1.0, 0.0, t.y},
                     Matrix4x4Row{0.0, 0.0, 1.0, t.z}, Constants::unitRow4}};
        }
        case Ctor::ScaleXYZ: {
            const Xyz& k = arg.asXyz();
            return {{Matrix4x4Row{k.x, 0.0, 0.0, 0.0}, Matrix4x4Row{0.0, k.y, 0.0, 0.0},
                     Matrix4x4Row{0.0, 0.0, k.z, 0.0}, Constants::unitRow4}};
        }
        case Ctor::None: break;
    }
    return Constants::identity;  // not reached: argumentFits rejects None
}

ZilLValue invertTransformF(FieldName name, const ZilLValue& argument, OutStream& out) {
    const Ctor c = ctorOf(name);
    if (!argumentFits(c, argument)) {
        reportInvalidConstructor(name, "ZilLCoordTransforms.invertTransformF", out);
        return argument;
    }
    switch (c) {
        case Ctor::RotateX:
        case Ctor::RotateY:
        case Ctor::RotateZ: return ZilLValue::REAL(-argument.asReal());
        case Ctor::IntDegRotateX:
        case Ctor::IntDegRotateY:
        case Ctor::IntDegRotateZ: {
            const std::int32_t n = argument.asInt();
            if (n == INT32_MIN) throw Overflow();
            return ZilLValue::INT(-n);
        }
        case Ctor::TranslateXYZ: {
            const Xyz& t = argument.asXyz();
            return ZilLValue::XYZ(-t.x, -t.y, -t.z);
        }
        case Ctor::ScaleXYZ: {
            // A zero scale has no inverse; that axis is left unscaled.
            const Xyz& k = argument.asXyz();
            auto inv = [](double v) { return v == 0.0 ? 1.0 : 1.0 / v; };
            return ZilLValue::XYZ(inv(k.x), inv(k.y), inv(k.z));
        }
        case Ctor::None: break;
    }
    return argument;  // not reached
}

}  // namespace ZilLCoordTransforms

Matrix4x4 transformListToMatrix(std::span<const ZilLValue> transforms, OutStream& out) {
    if (transforms.empty()) return Constants::identity;
    // All conversions, and so all reports, come before the first product.
    Matrix4x4 small[8];
    std::vector<Matrix4x4> large;
    Matrix4x4* ms = small;
    if (transforms.size() > 8) {
        large.resize(transforms.size());
        ms = large.data();
    }
    for (std::size_t i = 0; i < transforms.size(); ++i)
        ms[i] = ZilLCoordTransforms::transformToMatrix4x4(transforms[i], out);
    Matrix4x4 acc = Constants::identity;
    for (std::size_t i = 0; i < transforms.size(); ++i) acc = matrixMultiply(acc, ms[i]);
    return acc;
}

Matrix4x4 inverseTransformListToMatrix(std::span<const ZilLValue> transforms, OutStream& out,
                                       OutStream& convertOut) {
    if (transforms.empty()) return Constants::identity;
    std::vector<Matrix4x4> ms;
    ms.reserve(transforms.size());
    auto invert = [&out](FieldName name, const ZilLValue& arg) {
        return ZilLCoordTransforms::invertTransformF(name, arg, out);
    };
    for (const ZilLValue& t : transforms) {
        const ZilLValue inverse = ZilLCoordTransforms::mapSUMVALUE(invert, t, out);
        ms.push_back(ZilLCoordTransforms::transformToMatrix4x4(inverse, convertOut));
    }
    Matrix4x4 acc = Constants::identity;
    for (const Matrix4x4& m : ms) acc = matrixMultiply(m, acc);
    return acc;
}

TransformList anglesToTransformList(const Placement& placement) {
    const Xyz& a = placement.angles;
    return TransformList{ZilLValue::SUMVALUE(nameOf(Ctor::TranslateXYZ), ZilLValue::XYZ(placement.position)),
                         ZilLValue::SUMVALUE(nameOf(Ctor::RotateZ), ZilLValue::REAL(a.z)),
                         ZilLValue::SUMVALUE(nameOf(Ctor::RotateY), ZilLValue::REAL(a.y)),
                         ZilLValue::SUMVALUE(nameOf(Ctor::RotateX), ZilLValue::REAL(a.x)),
                         Constants::unitScaleTransformList().front()};
}

}  // namespace zil
