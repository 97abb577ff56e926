#pragma once
// 32-bit integer arithmetic with the system's failures, and real-to-integer
// conversion in a chosen rounding mode.
#include <cstdint>
#include <string>

#include "shell/Constants.hpp"

namespace zil {

// Quotient rounded towards minus infinity, unchecked: b must not be 0, and
// not -1 with the smallest a.
inline constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    // C++ truncates; step down when the remainder has the other sign.
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Quotient rounded towards minus infinity. b == 0 raises Div; INT32_MIN / -1
// raises Overflow.
std::int32_t intDiv(std::int32_t a, std::int32_t b);

// a - b * intDiv(a, b): the result takes the sign of b. b == 0 raises Div;
// INT32_MIN mod -1 is 0.
std::int32_t intMod(std::int32_t a, std::int32_t b);

// Decimal text with a leading "~" for negative values.
std::string intToString(std::int64_t value);

enum class RoundingMode {
    ToNearest,   // ties to the even integer
    Downward,    // towards minus infinity
    Upward,      // towards plus infinity
    TowardZero,
};

// The real rounded to an integral real in the given mode. Does not look at
// or change the processor's rounding mode; NaN and infinities pass through.
double realToIntWithMode(double x, RoundingMode mode);

// The real rounded in the given mode as a 32-bit integer. NaN raises Domain;
// an infinity or a rounded value outside the 32-bit range raises Overflow.
std::int32_t realToInt(double x, RoundingMode mode);

// Largest number of elements an array may have.
inline constexpr std::int64_t kMaxArraySize = Constants::maxArrayLength;

// Raises Size for a negative size or one above kMaxArraySize.
void checkSize(std::int64_t size);

}  // namespace zil
