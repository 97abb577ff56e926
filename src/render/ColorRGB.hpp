#pragma once
// A colour of three reals in 0..1: red, green, blue.
#include <array>
#include <vector>

namespace zil {

struct ColorRGB {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    bool operator==(const ColorRGB&) const = default;

    // The colour of a list of three reals.
    static constexpr ColorRGB of(const std::array<double, 3>& c) { return {c[0], c[1], c[2]}; }

    // The colour of exactly three components; any other count prints
    // "Exactly 3 color components are required in ColorRGB.fromColorN!\n"
    // and gives black.
    static ColorRGB fromColorN(const std::vector<double>& components);
};

}  // namespace zil
