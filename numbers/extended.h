#pragma once
// The extended type in which averages and break-even prices are formed before they are
// rounded. It relies on the x87 80-bit format (a 64-bit significand); another target (a 64-bit
// or a 128-bit long double) needs a port of this one header.

#include <cfloat>

#if defined(__FAST_MATH__)
#error "Money arithmetic needs strict IEEE semantics: build without -ffast-math."
#endif

static_assert(LDBL_MANT_DIG == 64,
              "long double must have a 64-bit significand (x87 extended); port numbers/extended.h");

namespace numbers {

using Extended = long double;

}  // namespace numbers
