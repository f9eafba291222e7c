#include "numbers/cost_engine.h"

#include "numbers/decimal.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

namespace numbers {

using numbers::AmountOutOfRange;
using numbers::AmountOutOfRangeMessage;
using numbers::Decimal;
using numbers::FeeSchedule;
using numbers::FeeScheduleReading;
using numbers::NormaliseDecimalText;
using numbers::ParseDecimal;
using numbers::ParseWholeNumber;

namespace {

constexpr int kFen = 2;

// A rate in per mille of an amount, exact.
Decimal PerMille(const Decimal &amount, double rate) {
    return (amount * Decimal::Of(rate)).shifted(3);
}

}  // namespace

Exchange ExchangeFromIndex(int index) {
    return index == 0 ? Exchange::Shenzhen : Exchange::Shanghai;
}

// Prices and rates count as the decimals they show and every product is exact, so a fee
// that lies half-way between two fen goes up, as on the broker's statement.
TradeCosts ComputeTradeCosts(double buyPrice, double sellPrice, int32_t quantity, Exchange exchange,
                             const FeeSchedule &schedule, InstrumentClass instrument) {
    const FeeSchedule fees = ScheduleFor(schedule, instrument);
    const Decimal shares = Decimal::Whole(quantity);
    const Decimal buyAmount = shares * Decimal::Of(buyPrice);
    const Decimal sellAmount = shares * Decimal::Of(sellPrice);
    const Decimal minimum = Decimal::Of(fees.MinCommission);

    // Each fee is rounded to fen before it joins the total, which therefore stays in fen.
    Decimal total;
    const auto add = [&total](const Decimal &fee) {
        const Decimal rounded = fee.rounded(kFen);
        total = total + rounded;
        return rounded.toDouble();
    };
    // The minimum commission applies per side and is compared before rounding.
    const auto commission = [&minimum](const Decimal &amount, double rate) {
        const Decimal charged = PerMille(amount, rate);
        return charged < minimum ? minimum : charged;
    };

    TradeCosts costs;
    costs.BuyStampTax = add(PerMille(buyAmount, fees.BuyStampTaxRate));
    costs.SellStampTax = add(PerMille(sellAmount, fees.SellStampTaxRate));
    costs.BuyCommission = add(commission(buyAmount, fees.BuyCommissionRate));
    costs.SellCommission = add(commission(sellAmount, fees.SellCommissionRate));
    // No minimum. Per share it is charged once per round trip on the share count; on the
    // amount each side is charged as a trade of its own, rounded to fen before the two add.
    const double transferRate =
        exchange == Exchange::Shenzhen ? fees.ShenzhenTransferRate : fees.ShanghaiTransferRate;
    costs.TransferFee = add(fees.TransferFeeBasis == numbers::TransferBasis::PerShare
                                ? (shares * Decimal::Of(transferRate)).shifted(2)
                                : PerMille(buyAmount, transferRate).rounded(kFen) +
                                      PerMille(sellAmount, transferRate).rounded(kFen));

    costs.TotalFees = total.rounded(kFen).toDouble();
    costs.NetProfit = (sellAmount - buyAmount - total).rounded(kFen).toDouble();
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
    const FeeScheduleReading &fees = request.fees;
    if (!fees.schedule) {
        result.error = fees.error;
        return result;
    }
    try {
        result.costs = ComputeTradeCosts(*buy, *sell, *quantity, request.exchange, *fees.schedule,
                                         request.instrument);
    } catch (const AmountOutOfRange &) {
        result.error = AmountOutOfRangeMessage();
    }
    return result;
}

}  // namespace numbers
