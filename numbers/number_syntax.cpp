#include "numbers/number_syntax.h"

#include "numbers/extended.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace numbers {

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The power of ten of the first significant digit of integerPart.fraction (0 for 1 to 9,
// -1 for 0.1 to 0.9); a number without one counts as below 1.
int64_t LeadingDigitPower(const std::string &integerPart, const std::string &fraction) {
    const size_t first = integerPart.find_first_not_of('0');
    if (first != std::string::npos) {
        return static_cast<int64_t>(integerPart.size() - first) - 1;
    }
    const size_t firstInFraction = fraction.find_first_not_of('0');
    return firstInFraction == std::string::npos ? -1 : -static_cast<int64_t>(firstInFraction) - 1;
}

}  // namespace

QString FormatAmount(double value) {
    if (value == 0 || std::isnan(value)) {
        return value == 0 ? QStringLiteral("0") : QStringLiteral("NAN");
    }
    if (std::isinf(value)) {
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    }
    // "-d.dddddddddddddde+XXX": the value taken to 15 significant digits.
    char buffer[40];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string text(buffer, written.ptr);
    const bool negative = text.front() == '-';
    const size_t mantissaStart = negative ? 1 : 0;
    const size_t ePos = text.find('e');
    std::string digits;
    for (size_t i = mantissaStart; i < ePos; ++i) {
        if (text[i] != '.') {
            digits.push_back(text[i]);
        }
    }
    const int exponent = std::stoi(text.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const size_t integerDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits;
            out.append(integerDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, integerDigits);
            out += '.';
            out += digits.substr(integerDigits);
        }
    }
    return QString::fromLatin1(out);
}

bool WithinDecimalLimit(double value) {
    return std::fabs(value) <= kLargestDecimal;  // false for NaN and the infinities
}

bool WithinAmountLimit(double price, int64_t quantity) {
    return WithinDecimalLimit(price) &&
           std::fabs(static_cast<Extended>(price) * static_cast<Extended>(quantity)) <=
               static_cast<Extended>(kLargestDecimal);
}

std::optional<double> ParseDecimal(const QString &text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ') {
        ++i;
    }
    std::string number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') {
            number += '-';
        }
        ++i;
    }
    std::string integerPart;
    std::string fraction;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (IsDigit(c)) {
            (point ? fraction : integerPart) += static_cast<char>(c.unicode());
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (integerPart.empty() && fraction.empty() && !point) {
        return std::nullopt;  // empty text or a lone sign
    }
    number += integerPart.empty() ? "0" : integerPart;
    number += '.';
    number += fraction.empty() ? "0" : fraction;
    int64_t power = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        std::string exponent = "e";
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            exponent += static_cast<char>(text[i].unicode());
            ++i;
        }
        const size_t before = exponent.size();
        while (i < n && IsDigit(text[i])) {
            exponent += static_cast<char>(text[i].unicode());
            // Held within a bound far beyond any double's exponent, digits included.
            power = std::min<int64_t>(power * 10 + (text[i].unicode() - u'0'), 1'000'000);
            ++i;
        }
        if (exponent.size() == before) {
            return std::nullopt;
        }
        if (exponent[1] == '-') {
            power = -power;
        }
        number += exponent;
    }
    while (i < n && text[i] == u' ') {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range && end == number.data() + number.size() &&
        LeadingDigitPower(integerPart, fraction) + power < 0) {
        // Too small for a double: the nearest one is zero, with the number's sign.
        return number.front() == '-' ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != number.data() + number.size() ||
        !WithinDecimalLimit(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int32_t> ParseWholeNumber(const QString &text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == n) {
        return std::nullopt;
    }
    int64_t magnitude = 0;
    for (; i < n; ++i) {
        if (!IsDigit(text[i])) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > int64_t{INT32_MAX} + 1) {
            return std::nullopt;
        }
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX || value < INT32_MIN) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

QString NormaliseDecimalText(const QString &text) {
    QString result = text;
    if (result.startsWith(u'.')) {
        result.prepend(u'0');
    }
    if (result.endsWith(u'.')) {
        result.append(u'0');
    }
    return result;
}

}  // namespace numbers
