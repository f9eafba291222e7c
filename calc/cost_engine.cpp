#include "calc/cost_engine.h"

#include "calc/extended.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace calc {

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

// A fee rounded to fen and added to the running total, which is stored as a double.
double AddFee(double &runningTotal, Extended fee) {
    const double rounded = RoundToFen(static_cast<double>(fee));
    runningTotal = static_cast<double>(static_cast<Extended>(runningTotal) + rounded);
    return rounded;
}

// Commission of one side: the minimum is compared before rounding.
Extended Commission(double amount, double rate, double minimum) {
    const double commission = static_cast<double>(amount * static_cast<Extended>(rate) * 0.001L);
    return commission < minimum ? minimum : commission;
}

}  // namespace

AmountOutOfRange::AmountOutOfRange() : std::range_error("amount out of range") {}

QString AmountOutOfRangeMessage() {
    return QStringLiteral("金额超出可计算的范围!请输入较小的数值.");
}

Exchange ExchangeFromIndex(int index) {
    return index == 0 ? Exchange::Shenzhen : Exchange::Shanghai;
}

double RoundToFen(double value) {
    return RoundToUnit(value, kFen);
}

double RoundToLi(double value) {
    return RoundToUnit(value, kLi);
}

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
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) {
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

const std::array<QString, 7> &FeeFieldMessages() {
    static const std::array<QString, 7> messages = {
        QStringLiteral("［购入交印花税］填写错误!请输入正确的税率."),
        QStringLiteral("［卖出交印花税］填写错误!请输入正确的税率."),
        QStringLiteral("［购入交手续费］填写错误!请输入正确的费率."),
        QStringLiteral("［卖出交手续费］填写错误!请输入正确的费率."),
        QStringLiteral("［深市过户费］填写错误!请输入正确的费率."),
        QStringLiteral("［泸市过户费］填写错误!请输入正确的费率."),
        QStringLiteral("［最低手续费］填写错误!请输入正确的金额."),
    };
    return messages;
}

FeeTexts DefaultFeeTexts() {
    const FeeSchedule design;
    return {FormatAmount(design.BuyStampTaxRate),      FormatAmount(design.SellStampTaxRate),
            FormatAmount(design.BuyCommissionRate),    FormatAmount(design.SellCommissionRate),
            FormatAmount(design.ShenzhenTransferRate), FormatAmount(design.ShanghaiTransferRate),
            FormatAmount(design.MinCommission)};
}

FeeScheduleReading ReadFeeSchedule(const FeeTexts &texts) {
    std::array<double, 7> values{};
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::optional<double> value = ParseDecimal(texts[i]);
        if (!value) {
            return {std::nullopt, FeeFieldMessages()[i]};
        }
        values[i] = *value;
    }
    return {
        FeeSchedule{values[0], values[1], values[2], values[3], values[4], values[5], values[6]},
        {}};
}

TradeCosts ComputeTradeCosts(double buyPrice, double sellPrice, int32_t quantity, Exchange exchange,
                             const FeeSchedule &fees) {
    const Extended shares = quantity;
    const double buyAmount = static_cast<double>(shares * buyPrice);
    const double sellAmount = static_cast<double>(shares * sellPrice);

    double runningTotal = 0;
    TradeCosts costs;
    costs.BuyStampTax = AddFee(
        runningTotal,
        static_cast<double>(buyAmount * static_cast<Extended>(fees.BuyStampTaxRate) * 0.001L));
    costs.SellStampTax = AddFee(
        runningTotal,
        static_cast<double>(sellAmount * static_cast<Extended>(fees.SellStampTaxRate) * 0.001L));
    costs.BuyCommission =
        AddFee(runningTotal, Commission(buyAmount, fees.BuyCommissionRate, fees.MinCommission));
    costs.SellCommission =
        AddFee(runningTotal, Commission(sellAmount, fees.SellCommissionRate, fees.MinCommission));
    // Charged once per round trip on the share count; no minimum.
    const double transferRate =
        exchange == Exchange::Shenzhen ? fees.ShenzhenTransferRate : fees.ShanghaiTransferRate;
    costs.TransferFee = AddFee(
        runningTotal, static_cast<double>(shares * static_cast<Extended>(transferRate) * 0.01L));

    costs.TotalFees = RoundToFen(runningTotal);
    const double profit =
        static_cast<double>(static_cast<Extended>(sellAmount) - buyAmount - costs.TotalFees);
    costs.NetProfit = RoundToFen(profit);
    return costs;
}

TradeCalculation CalculateTrade(const TradeRequest &request) {
    TradeCalculation result;
    result.buyPriceText = NormaliseDecimalText(request.buyPriceText);
    result.sellPriceText = request.sellPriceText;
    const std::optional<double> buy = ParseDecimal(result.buyPriceText);
    if (!buy) {
        result.error = QStringLiteral("［买入价格］填写错误!请输入正确的金额.");
        return result;
    }
    result.sellPriceText = NormaliseDecimalText(request.sellPriceText);
    const std::optional<double> sell = ParseDecimal(result.sellPriceText);
    if (!sell) {
        result.error = QStringLiteral("［卖出价格］填写错误!请输入正确的金额.");
        return result;
    }
    const std::optional<int32_t> quantity = ParseWholeNumber(request.quantityText);
    if (!quantity) {
        result.error = QStringLiteral("［股票数量］填写错误!请输入正确的数字.");
        return result;
    }
    const FeeScheduleReading fees = ReadFeeSchedule(request.feeTexts);
    if (!fees.schedule) {
        result.error = fees.error;
        return result;
    }
    try {
        result.costs = ComputeTradeCosts(*buy, *sell, *quantity, request.exchange, *fees.schedule);
    } catch (const AmountOutOfRange &) {
        result.error = AmountOutOfRangeMessage();
    }
    return result;
}

}  // namespace calc
