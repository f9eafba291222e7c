#pragma once
// The extended type in which money products and quotients are formed, and its half-even
// rounding to an integer. Both rely on the x87 80-bit format: a 64-bit significand, so that
// every integer below 2^63 is exact and adding and taking away 2^63 rounds to an integer.
// Another target (a 64-bit or a 128-bit long double) needs a port of this one header.

#include <cfloat>

#if defined(__FAST_MATH__)
#error "Money arithmetic needs strict IEEE semantics: build without -ffast-math."
#endif

static_assert(LDBL_MANT_DIG == 64,
              "long double must have a 64-bit significand (x87 extended); port numbers/extended.h");

namespace numbers {

using Extended = long double;

// 2^63: the first magnitude whose whole-number rounding is no longer representable.
inline constexpr Extended kExtendedIntegerLimit = 9223372036854775808.0L;

// Rounds half to even to an integer, for |value| < 2^63. Adding and taking away 2^63 rounds
// in the hardware's default mode, far cheaper than nearbyintl (which saves and restores the
// floating-point environment). The result may reach 2^63 for a value just below it.
inline Extended RoundHalfEven(Extended value) {
    return value >= 0 ? (value + kExtendedIntegerLimit) - kExtendedIntegerLimit
                      : (value - kExtendedIntegerLimit) + kExtendedIntegerLimit;
}

}  // namespace numbers
