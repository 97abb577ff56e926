#include "shell/CoreInt.hpp"

#include <charconv>
#include <cmath>
#include <limits>

#include "shell/Errors.hpp"

namespace zil {

std::int32_t intDiv(std::int32_t a, std::int32_t b) {
    if (b == 0) throw Div();
    if (b == -1 && a == std::numeric_limits<std::int32_t>::min()) throw Overflow();
    return static_cast<std::int32_t>(floorDiv(a, b));
}

std::int32_t intMod(std::int32_t a, std::int32_t b) {
    if (b == 0) throw Div();
    if (b == -1) return 0;
    std::int32_t r = a % b;
    if (r != 0 && ((r < 0) != (b < 0))) r += b;
    return r;
}

std::string intToString(std::int64_t value) {
    char buf[24];
    char* p = buf;
    std::uint64_t magnitude = static_cast<std::uint64_t>(value);
    if (value < 0) {
        *p++ = '~';
        magnitude = 0 - magnitude;
    }
    auto res = std::to_chars(p, buf + sizeof buf, magnitude);
    return std::string(buf, res.ptr);
}

double realToIntWithMode(double x, RoundingMode mode) {
    switch (mode) {
        case RoundingMode::Downward: return std::floor(x);
        case RoundingMode::Upward: return std::ceil(x);
        case RoundingMode::TowardZero: return std::trunc(x);
        case RoundingMode::ToNearest: break;
    }
    if (!std::isfinite(x)) return x;
    // x - trunc(x) is exact, so ties are seen exactly whatever the FPU mode.
    double whole = std::trunc(x);
    double frac = std::fabs(x - whole);
    double away = whole + (x < 0 ? -1.0 : 1.0);
    if (frac < 0.5) return whole;
    if (frac > 0.5) return away;
    return std::fmod(whole, 2.0) == 0.0 ? whole : away;
}

std::int32_t realToInt(double x, RoundingMode mode) {
    if (std::isnan(x)) throw Domain();
    if (x == 0.0) return 0;
    if (std::isinf(x)) throw Overflow();
    double r = realToIntWithMode(x, mode);
    if (r < -2147483648.0 || r > 2147483647.0) throw Overflow();
    return static_cast<std::int32_t>(r);
}

void checkSize(std::int64_t size) {
    if (size < 0 || size > kMaxArraySize) throw Size();
}

}  // namespace zil
