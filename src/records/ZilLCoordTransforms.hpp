#pragma once
// Coordinate transforms are SUMVALUEs named RotateX, RotateY, RotateZ
// (REAL radians), IntDegRotateX, IntDegRotateY, IntDegRotateZ (INT whole
// degrees), TranslateXYZ and ScaleXYZ (XYZ). A transform list stands for the
// product of its matrices in list order, so the last element acts first on a
// point. Conversion never raises for a malformed transform: it reports it on
// the caller's stream and counts it as the identity.
#include <span>
#include <vector>

#include "records/Matrix4x4.hpp"
#include "records/ZilLValue.hpp"
#include "shell/OutStream.hpp"

namespace zil {

using TransformList = std::vector<ZilLValue>;

// Where the preview puts its object: rotation angles (about x, y, z, in
// radians) and a position. The owner keeps it in a mutable place; the drag
// rotation writes new angles into it.
struct Placement {
    Xyz angles;
    Xyz position;
};

namespace detail {
// The rotation matrices from a cosine and a sine.
Matrix4x4 rotationX(double c, double s);
Matrix4x4 rotationY(double c, double s);
Matrix4x4 rotationZ(double c, double s);
void reportExpectedSumValue(std::string_view function, OutStream& out);
}  // namespace detail

namespace ZilLCoordTransforms {

// One transform to its matrix; a malformed one is reported on `out` and
// gives the identity.
Matrix4x4 transformToMatrix4x4(const ZilLValue& transform, OutStream& out);

// The inverse argument of transform `name` with argument `argument`. A name
// that is none of the eight, or an argument of the wrong kind, is reported on
// `out` and the argument comes back unchanged. An IntDeg rotation by
// -2147483648 raises Overflow.
ZilLValue invertTransformF(FieldName name, const ZilLValue& argument, OutStream& out);

// SUMVALUE (name, a) gives SUMVALUE (name, f(name, a)); any other value is
// reported on `out` and returned as it is.
template <class F>
ZilLValue mapSUMVALUE(F&& f, const ZilLValue& value, OutStream& out) {
    if (!value.isSumValue()) {
        detail::reportExpectedSumValue("ZilLCoordTransforms.mapSUMVALUE", out);
        return value;
    }
    return ZilLValue::SUMVALUE(value.sumName(), f(value.sumName(), value.sumArgument()));
}

}  // namespace ZilLCoordTransforms

// M1 x M2 x ... x Mn; every element is converted (and reported) before the
// first product. The empty list gives the identity.
Matrix4x4 transformListToMatrix(std::span<const ZilLValue> transforms, OutStream& out);

// The matrix that undoes a list: every element inverted by its constructor,
// converted, and the matrices multiplied in reverse order. Inversion reports
// go to `out`, conversion reports to `convertOut`.
Matrix4x4 inverseTransformListToMatrix(std::span<const ZilLValue> transforms, OutStream& out,
                                       OutStream& convertOut);
inline Matrix4x4 inverseTransformListToMatrix(std::span<const ZilLValue> transforms, OutStream& out) {
    return inverseTransformListToMatrix(transforms, out, out);
}

// [TranslateXYZ position, RotateZ az, RotateY ay, RotateX ax, ScaleXYZ (1, 1, 1)],
// the last element being the shared unit scale element.
TransformList anglesToTransformList(const Placement& placement);

}  // namespace zil
