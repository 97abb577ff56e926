#pragma once
// Rotations of the current transformation, the preview's fixed view, and
// point transforms between the Ri layer's coordinate spaces.
#include <cstdint>
#include <vector>

#include "render/RiState.hpp"

namespace zil {

// Rotation by `degrees` about the axis (x, y, z) as given (not normalised):
// right-handed for a unit axis.
Matrix4x4 axisAngleRotation(double degrees, double x, double y, double z);

// currentTransform := rotation x currentTransform.
void rotateCurrentTransform(RiState& st, double degrees, double x, double y, double z);

// The preview object's orientation and size for frame n: rotations by n - 30
// about x, n + 130 about y and n / 13 about z (degrees), then a scale by 3.5.
void previewViewTransform(RiState& st, std::int32_t n);

// The points carried from one space ("object", "camera" or "raster") to
// another; unsupported pairs print their report and use the identity. Any
// failure inside (a singular matrix, w = 0) gives the empty list.
std::vector<Rt::Point> RiTransformPoints(RiState& st, const Rt::Token& from, const Rt::Token& to,
                                         const std::vector<Rt::Point>& points);

std::vector<double> realListToArray(const std::vector<double>& list);

}  // namespace zil
