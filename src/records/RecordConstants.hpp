#pragma once
// The constants of the records and transforms: unit rows, the identity,
// unit vectors, the origin and the shared unit scale transform list.
#include <vector>

#include "records/Matrix4x4.hpp"
#include "records/Xyz.hpp"
#include "records/ZilLValue.hpp"

namespace zil::Constants {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;

inline constexpr Matrix4x4Row kUnitRow1{1.0, 0.0, 0.0, 0.0};
inline constexpr Matrix4x4Row kUnitRow2{0.0, 1.0, 0.0, 0.0};
inline constexpr Matrix4x4Row kUnitRow3{0.0, 0.0, 1.0, 0.0};
inline constexpr Matrix4x4Row kUnitRow4{0.0, 0.0, 0.0, 1.0};
inline constexpr Matrix4x4 kIdentity{{kUnitRow1, kUnitRow2, kUnitRow3, kUnitRow4}};

inline constexpr Xyz kOrigin{0.0, 0.0, 0.0};
inline constexpr Xyz kUnitTriple{1.0, 1.0, 1.0};
inline constexpr Xyz kUnitX{1.0, 0.0, 0.0};
inline constexpr Xyz kUnitY{0.0, 1.0, 0.0};
inline constexpr Xyz kUnitZ{0.0, 0.0, 1.0};

// [ScaleXYZ (1.0, 1.0, 1.0)], built once on first use and shared: every
// list from anglesToTransformList ends in this very element.
const std::vector<ZilLValue>& unitScaleTransformList();

}  // namespace zil::Constants
