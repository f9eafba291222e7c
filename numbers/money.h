#pragma once
// Money rounding: amounts to the fen and prices to the li, half up (四舍五入) on the decimal
// the amount shows (15 significant digits), never on the binary double.

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

// Both throw AmountOutOfRange for a value not finite or with more units than 64 bits hold.
double RoundToFen(double value);
double RoundToLi(double value);

}  // namespace numbers
