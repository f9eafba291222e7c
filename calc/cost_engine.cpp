#include "calc/cost_engine.h"

#include "numbers/extended.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

namespace calc {

using numbers::AmountOutOfRange;
using numbers::AmountOutOfRangeMessage;
using numbers::Extended;
using numbers::FeeSchedule;
using numbers::FeeScheduleReading;
using numbers::NormaliseDecimalText;
using numbers::ParseDecimal;
using numbers::ParseWholeNumber;
using numbers::ReadFeeSchedule;
using numbers::RoundToFen;

using numbers::Extended;

namespace {

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

Exchange ExchangeFromIndex(int index) {
    return index == 0 ? Exchange::Shenzhen : Exchange::Shanghai;
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
    // No minimum. Per share it is charged once per round trip on the share count; on the
    // amount each side is charged as a trade of its own, rounded to fen before the two add.
    const Extended transferRate =
        exchange == Exchange::Shenzhen ? fees.ShenzhenTransferRate : fees.ShanghaiTransferRate;
    const Extended transferFee =
        fees.TransferFeeBasis == numbers::TransferBasis::PerShare
            ? static_cast<double>(shares * transferRate * 0.01L)
            : static_cast<Extended>(
                  RoundToFen(static_cast<double>(buyAmount * transferRate * 0.001L))) +
                  RoundToFen(static_cast<double>(sellAmount * transferRate * 0.001L));
    costs.TransferFee = AddFee(runningTotal, transferFee);

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
    const FeeScheduleReading fees = ReadFeeSchedule(request.feeTexts, request.transferBasis);
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
