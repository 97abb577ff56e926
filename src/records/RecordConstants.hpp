#pragma once
// The constants of the records and transforms: unit rows, the identity,
// unit vectors, the origin and the shared unit scale transform list.
#include <vector>

#include "records/Matrix4x4.hpp"
#include "records/Xyz.hpp"
#include "records/ZilLValue.hpp"

namespace zil::Constants {

inline constexpr double pi = 3.141592653589793;
inline constexpr double twoPi = 6.283185307179586;

inline constexpr Matrix4x4Row unitRow1{1.0, 0.0, 0.0, 0.0};
inline constexpr Matrix4x4Row unitRow2{0.0, 1.0, 0.0, 0.0};
inline constexpr Matrix4x4Row unitRow3{0.0, 0.0, 1.0, 0.0};
inline constexpr Matrix4x4Row unitRow4{0.0, 0.0, 0.0, 1.0};
inline constexpr Matrix4x4 identity{{unitRow1, unitRow2, unitRow3, unitRow4}};
// The identity with its third row all zeros: the projection without
// perspective, which drops depth.
inline constexpr Matrix4x4 flatProjection{{unitRow1, unitRow2, {0.0, 0.0, 0.0, 0.0}, unitRow4}};

inline constexpr Xyz origin{0.0, 0.0, 0.0};
inline constexpr Xyz unitTriple{1.0, 1.0, 1.0};
inline constexpr Xyz unitX{1.0, 0.0, 0.0};
inline constexpr Xyz unitY{0.0, 1.0, 0.0};
inline constexpr Xyz unitZ{0.0, 0.0, 1.0};

// [ScaleXYZ (1.0, 1.0, 1.0)], built once on first use and shared: every
// list from anglesToTransformList ends in this very element.
const std::vector<ZilLValue>& unitScaleTransformList();

}  // namespace zil::Constants
