#include "records/DragRotate.hpp"

#include <cmath>
#include <cstdint>

#include "records/EulerAngles.hpp"
#include "records/RecordConstants.hpp"

namespace zil {

namespace {

// Turns the rotation of `angles` by `turn` on the left (a world-axis turn)
// and takes the angles back.
Xyz turnAngles(const Xyz& angles, const Matrix4x4& turn, OutStream& out) {
    const TransformList list{ZilLValue::SUMVALUE("RotateZ", ZilLValue::REAL(angles.z)),
                             ZilLValue::SUMVALUE("RotateY", ZilLValue::REAL(angles.y)),
                             ZilLValue::SUMVALUE("RotateX", ZilLValue::REAL(angles.x))};
    const Matrix4x4 m = transformListToMatrix(list, out);
    const Xyz e1 = transformDirection(turn, transformDirection(m, Constants::unitX));
    const Xyz e2 = transformDirection(turn, transformDirection(m, Constants::unitY));
    const Xyz e3 = transformDirection(turn, transformDirection(m, Constants::unitZ));
    return matrixToEulerAngles(e1.x, e1.y, e1.z, e2.x, e2.y, e2.z, e3.z);
}

// 0.02 radian per pixel, against the motion.
double turnAngle(int d) { return static_cast<double>(-static_cast<std::int64_t>(d)) / 5.0 / 10.0; }

}  // namespace

bool dragRotatePlacement(int xrel, int yrel, bool dragging, Placement& placement, OutStream& out) {
    if (!dragging) return false;
    const double a = turnAngle(xrel);
    placement.angles = turnAngles(placement.angles, detail::rotationY(std::cos(a), std::sin(a)), out);
    const double b = turnAngle(yrel);
    placement.angles = turnAngles(placement.angles, detail::rotationX(std::cos(b), std::sin(b)), out);
    return true;
}

}  // namespace zil
