#pragma once
// Trade cost engine: fees and net profit of one buy-and-sell round trip, and the validation
// of a calculator's texts in their fixed order.

#include "numbers/fee_schedule.h"
#include "numbers/instrument_class.h"
#include "numbers/money.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace numbers {

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

// The fees of `instrument` (ScheduleFor): a share pays them all; a fund or a bond no stamp
// tax, no transfer fee and its own commission where set.
// Throws numbers::AmountOutOfRange when a fee or the profit cannot be rounded.
TradeCosts ComputeTradeCosts(double buyPrice, double sellPrice, int32_t quantity, Exchange exchange,
                             const numbers::FeeSchedule &fees,
                             InstrumentClass instrument = InstrumentClass::Share);

// The texts of a difference calculator's calculation request.
struct TradeRequest {
    QString buyPriceText;
    QString sellPriceText;
    QString quantityText;
    Exchange exchange = Exchange::Shenzhen;
    numbers::FeeTexts feeTexts;
    numbers::TransferBasis transferBasis = numbers::TransferBasis::PerShare;
    InstrumentClass instrument = InstrumentClass::Share;
    numbers::ClassCommissionTexts classTexts = {};
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

}  // namespace numbers
