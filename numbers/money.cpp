#include "numbers/money.h"

#include "numbers/extended.h"

#include <cmath>

namespace numbers {

namespace {

// Rounds value to whole units of `unit` (the double nearest 0.01 or 0.001): the quotient is
// rounded half to even, and a quotient outside the 64-bit integer range is refused.
double RoundToUnit(double value, double unit) {
    if (!std::isfinite(value)) {
        throw AmountOutOfRange();
    }
    const Extended quotient = static_cast<Extended>(value) / static_cast<Extended>(unit);
    constexpr Extended kLimit = kExtendedIntegerLimit;
    if (!(quotient > -kLimit && quotient < kLimit)) {
        throw AmountOutOfRange();
    }
    const Extended units = RoundHalfEven(quotient);
    if (!(units > -kLimit && units < kLimit)) {
        throw AmountOutOfRange();  // just below 2^63 and rounded up to it
    }
    const double result = static_cast<double>(units * static_cast<Extended>(unit));
    return result == 0 ? 0.0 : result;  // never a negative zero
}

const double kFen = static_cast<double>(1.0L / 100.0L);
const double kLi = static_cast<double>(1.0L / 1000.0L);

}  // namespace

AmountOutOfRange::AmountOutOfRange() : std::range_error("amount out of range") {}

QString AmountOutOfRangeMessage() {
    return QStringLiteral("金额超出可计算的范围!请输入较小的数值.");
}

double RoundToFen(double value) {
    return RoundToUnit(value, kFen);
}

double RoundToLi(double value) {
    return RoundToUnit(value, kLi);
}

}  // namespace numbers
