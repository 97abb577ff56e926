#pragma once
// Rotation angles back from a rotation matrix built as Rz(az) x Ry(ay) x Rx(ax).
#include "records/Xyz.hpp"

namespace zil {

// Takes the first column (r11, r21, r31), the second column (r12, r22, r32)
// and r33; gives (ax, ay, az) with ay in [-pi/2, pi/2] and ax, az in
// [0, 2 pi]. Arcsine arguments are clamped to [-1, 1], so entries that
// rounding pushed just past a unit ratio still give real angles.
Xyz matrixToEulerAngles(double r11, double r21, double r31, double r12, double r22, double r32, double r33);

}  // namespace zil
