#pragma once
// Exact decimal amounts: prices and rates as the decimals they show, their products and sums
// formed without binary error, and the rounding to fen and li half up (四舍五入) that brokers
// and exchanges use.

#include <cstdint>

namespace numbers {

// units × 10^-scale, in 128 bits. Products and sums are exact; one that would leave 128 bits
// is formed in extended precision instead and taken to 15 significant digits, which only
// numbers no trader types can reach.
class Decimal {
public:
    Decimal() = default;
    static Decimal Whole(int64_t value);
    // The decimal a double shows: its value taken to 15 significant digits, the digits of the
    // amount form, so 10.91 is 10.91 and 5.455 stays a tie. Throws AmountOutOfRange when the
    // double is not finite or beyond 10^36.
    static Decimal Of(double value);

    // The value divided by 10^places, exactly.
    Decimal shifted(int places) const;
    // Rounded to `places` decimals, half away from zero. Throws AmountOutOfRange when the
    // count of units lies beyond the 64-bit integer range.
    Decimal rounded(int places) const;
    // The double nearest the value.
    double toDouble() const;

    friend Decimal operator*(const Decimal &a, const Decimal &b);
    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, const Decimal &b);
    friend bool operator<(const Decimal &a, const Decimal &b);

private:
    Decimal(__int128 units, int scale) : m_units(units), m_scale(scale) {}
    long double toExtended() const;

    __int128 m_units = 0;
    int m_scale = 0;
};

}  // namespace numbers
