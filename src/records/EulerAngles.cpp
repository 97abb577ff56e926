#include "records/EulerAngles.hpp"

#include <cmath>

#include "records/RecordConstants.hpp"

namespace zil {

namespace {

double arcsine(double x) {
    // Rounding can push a sine ratio just past 1 in magnitude; unclamped, the
    // square root below would give NaN angles.
    if (x > 1.0) x = 1.0;
    else if (x < -1.0) x = -1.0;
    return std::atan2(x, std::sqrt(1.0 - x * x));
}

// The angle in [0, 2 pi] with sine s and cosine k (up to a common factor).
// A NaN counts as negative.
double angle(double s, double k) {
    if (s >= 0.0) return k >= 0.0 ? arcsine(s) : Constants::pi - arcsine(s);
    return k >= 0.0 ? arcsine(s) + Constants::twoPi : Constants::pi - arcsine(s);
}

}  // namespace

Xyz matrixToEulerAngles(double r11, double r21, double r31, double r12, double r22, double r32, double r33) {
    const double ay = arcsine(-r31);
    const double c = std::cos(ay);
    if (c == 0.0) return {angle(r12, r22), ay, 0.0};
    return {angle(r32 / c, r33 / c), ay, angle(r21 / c, r11 / c)};
}

}  // namespace zil
