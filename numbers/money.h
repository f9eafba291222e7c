#pragma once
// Money rounding: amounts to the fen and prices to the li, half to even on the exact value.

#include <QString>

#include <stdexcept>

namespace numbers {

// Raised when an amount cannot be rounded: not finite, or its count of units lies beyond
// the 64-bit integer range. Carries the text shown to the user.
class AmountOutOfRange : public std::range_error {
public:
    AmountOutOfRange();
};

// Message shown when a computation is refused as AmountOutOfRange.
QString AmountOutOfRangeMessage();

double RoundToFen(double value);
double RoundToLi(double value);

}  // namespace numbers
