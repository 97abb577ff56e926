#pragma once
// Three reals: a point, a direction or an angle triple.

namespace zil {

struct Xyz {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend constexpr bool operator==(const Xyz&, const Xyz&) = default;
};

}  // namespace zil
