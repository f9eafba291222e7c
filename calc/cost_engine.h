#pragma once
// Trade cost engine: fees and net profit of one buy-and-sell round trip, the fen and li
// rounding, the amount format, and the text syntax of every number the user types.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace calc {

// The seven fee parameters, in the order they are validated and stored.
struct FeeSchedule {
    double BuyStampTaxRate = 0;       // per mille of the buy amount
    double SellStampTaxRate = 1;      // per mille of the sell amount
    double BuyCommissionRate = 3;     // per mille of the buy amount
    double SellCommissionRate = 3;    // per mille of the sell amount
    double ShenzhenTransferRate = 0;  // fen per share
    double ShanghaiTransferRate = 0.1;
    double MinCommission = 5;  // yuan, per side
};

// One round trip, every field in yuan and already rounded to fen.
struct TradeCosts {
    double BuyStampTax = 0;
    double SellStampTax = 0;
    double BuyCommission = 0;
    double SellCommission = 0;
    double TransferFee = 0;
    double TotalFees = 0;
    double NetProfit = 0;
};

enum class Exchange { Shenzhen, Shanghai };

// The exchange list of the calculators: index 0 is Shenzhen, anything else Shanghai.
Exchange ExchangeFromIndex(int index);

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

// General number form: 15 significant digits, no trailing zeros, no grouping.
QString FormatAmount(double value);

// Optional blanks, optional sign, digits with at most one ".", optional exponent, optional
// blanks; a lone "." reads as 0. Values beyond the double range are refused.
std::optional<double> ParseDecimal(const QString &text);

// Optional sign and decimal digits, within the 32-bit signed range.
std::optional<int32_t> ParseWholeNumber(const QString &text);

// ".5" -> "0.5", "5." -> "5.0", "." -> "0.0"; nothing else changes.
QString NormaliseDecimalText(const QString &text);

// The fee texts in record order: buy stamp tax, sell stamp tax, buy commission,
// sell commission, Shenzhen transfer, Shanghai transfer, minimum commission.
using FeeTexts = std::array<QString, 7>;

// The message naming each fee field, in record order.
const std::array<QString, 7> &FeeFieldMessages();

FeeTexts DefaultFeeTexts();

struct FeeScheduleReading {
    std::optional<FeeSchedule> schedule;
    QString error;  // the first bad field's message when schedule is empty
};

FeeScheduleReading ReadFeeSchedule(const FeeTexts &texts);

// Throws AmountOutOfRange when a fee or the profit cannot be rounded.
TradeCosts ComputeTradeCosts(double buyPrice, double sellPrice, int32_t quantity, Exchange exchange,
                             const FeeSchedule &fees);

// The texts of a difference calculator's calculation request.
struct TradeRequest {
    QString buyPriceText;
    QString sellPriceText;
    QString quantityText;
    Exchange exchange = Exchange::Shenzhen;
    FeeTexts feeTexts;
};

struct TradeCalculation {
    // Field texts to write back: normalised where validation reached the field.
    QString buyPriceText;
    QString sellPriceText;
    std::optional<TradeCosts> costs;
    QString error;  // the message of the first failure when costs is empty
};

// Validates in the fixed order (buy price, sell price, quantity, the seven fee texts) and
// computes; stops at the first failure with its message.
TradeCalculation CalculateTrade(const TradeRequest &request);

}  // namespace calc
