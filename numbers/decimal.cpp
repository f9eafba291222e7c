#include "numbers/decimal.h"

#include "numbers/money.h"

#include <charconv>
#include <cmath>
#include <string>

namespace numbers {

namespace {

using Int128 = __int128;

constexpr int kLargestPower = 38;  // 10^38 is the largest power of ten below 2^127

Int128 PowerOfTen(int n) {
    Int128 power = 1;
    for (int i = 0; i < n; ++i) {
        power *= 10;
    }
    return power;
}

// units × 10^n, or false when it leaves 128 bits.
bool ScaleUp(Int128 units, int n, Int128 &out) {
    return n <= kLargestPower && !__builtin_mul_overflow(units, PowerOfTen(n), &out);
}

std::string DigitsOf(Int128 value) {
    const bool negative = value < 0;
    unsigned __int128 magnitude =
        negative ? -static_cast<unsigned __int128>(value) : static_cast<unsigned __int128>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

}  // namespace

Decimal Decimal::Whole(int64_t value) {
    return {value, 0};
}

Decimal Decimal::Of(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e36) {
        throw AmountOutOfRange();
    }
    if (value == 0) {
        return {};
    }
    // "-d.dddddddddddddde+XX": fifteen significant digits, correctly rounded from the double.
    char buffer[40];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string text(buffer, written.ptr);
    const size_t e = text.find('e');
    int64_t mantissa = 0;
    for (size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            mantissa = mantissa * 10 + (text[i] - '0');
        }
    }
    int power = std::stoi(text.substr(e + 1)) - 14;
    while (mantissa % 10 == 0) {
        mantissa /= 10;
        ++power;
    }
    if (text.front() == '-') {
        mantissa = -mantissa;
    }
    if (power >= 0) {
        return {mantissa * PowerOfTen(power), 0};  // below 10^36: no overflow
    }
    return {mantissa, -power};
}

Decimal Decimal::shifted(int places) const {
    return {m_units, m_scale + places};
}

Decimal Decimal::rounded(int places) const {
    constexpr Int128 kLimit = Int128{1} << 63;
    Int128 units = 0;
    if (m_scale <= places) {
        if (!ScaleUp(m_units, places - m_scale, units)) {
            throw AmountOutOfRange();
        }
    } else if (m_scale - places <= kLargestPower) {
        const Int128 divisor = PowerOfTen(m_scale - places);
        units = m_units / divisor;
        const Int128 rest = m_units % divisor;
        if ((rest < 0 ? -rest : rest) >= divisor / 2) {
            units += rest < 0 ? -1 : 1;
        }
    }  // else below 10^-38 of a unit: rounds to 0
    if (units >= kLimit || units <= -kLimit) {
        throw AmountOutOfRange();
    }
    return {units, places};
}

double Decimal::toDouble() const {
    if (m_units == 0) {
        return 0.0;
    }
    const std::string text = DigitsOf(m_units) + "e-" + std::to_string(m_scale);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

long double Decimal::toExtended() const {
    return static_cast<long double>(m_units) / std::pow(10.0L, m_scale);
}

Decimal operator*(const Decimal &a, const Decimal &b) {
    Int128 units = 0;
    if (!__builtin_mul_overflow(a.m_units, b.m_units, &units)) {
        return {units, a.m_scale + b.m_scale};
    }
    return Decimal::Of(static_cast<double>(a.toExtended() * b.toExtended()));
}

Decimal operator+(const Decimal &a, const Decimal &b) {
    const int scale = std::max(a.m_scale, b.m_scale);
    Int128 left = 0;
    Int128 right = 0;
    Int128 sum = 0;
    if (ScaleUp(a.m_units, scale - a.m_scale, left) &&
        ScaleUp(b.m_units, scale - b.m_scale, right) &&
        !__builtin_add_overflow(left, right, &sum)) {
        return {sum, scale};
    }
    return Decimal::Of(static_cast<double>(a.toExtended() + b.toExtended()));
}

Decimal operator-(const Decimal &a, const Decimal &b) {
    return a + Decimal(-b.m_units, b.m_scale);
}

bool operator<(const Decimal &a, const Decimal &b) {
    const int scale = std::max(a.m_scale, b.m_scale);
    Int128 left = 0;
    Int128 right = 0;
    if (ScaleUp(a.m_units, scale - a.m_scale, left) &&
        ScaleUp(b.m_units, scale - b.m_scale, right)) {
        return left < right;
    }
    return a.toExtended() < b.toExtended();
}

}  // namespace numbers
