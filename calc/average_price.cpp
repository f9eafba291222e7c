#include "calc/average_price.h"

#include "numbers/extended.h"
#include "numbers/fee_schedule.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

#include <cmath>

namespace calc {

using numbers::AmountOutOfRange;
using numbers::Extended;
using numbers::FormatAmount;
using numbers::NormaliseDecimalText;
using numbers::ParseDecimal;
using numbers::ParseWholeNumber;
using numbers::RoundToLi;

namespace {

std::optional<double> LiOrNothing(Extended value) {
    const double stored = static_cast<double>(value);
    if (!std::isfinite(stored)) {
        return std::nullopt;
    }
    try {
        return RoundToLi(stored);
    } catch (const AmountOutOfRange &) {
        return std::nullopt;
    }
}

}  // namespace

QString AverageOutOfRangeMessage() {
    return QStringLiteral("计算结果超出范围!请检查价格、数量和费率.");
}

std::optional<double> CostToOriginalPrice(double costPrice, const PercentageRates &rates) {
    const Extended rateSum = static_cast<Extended>(rates.BuyStampTaxRate) + rates.SellStampTaxRate +
                             rates.BuyCommissionRate + rates.SellCommissionRate;
    const Extended divisor = 1 + rateSum * 0.001L;
    if (divisor == 0) {
        return std::nullopt;
    }
    return LiOrNothing(costPrice / divisor);
}

std::optional<double> EquivalentCostPrice(int32_t existingQuantity, int32_t newQuantity,
                                          double existingPrice, double newPrice, PriceKind kind,
                                          const PercentageRates &rates) {
    if (kind == PriceKind::Cost) {
        const std::optional<double> original = CostToOriginalPrice(existingPrice, rates);
        if (!original) {
            return std::nullopt;
        }
        existingPrice = *original;
    }
    const Extended buyFactor =
        (1 + 0.001L * rates.BuyStampTaxRate) + 0.001L * rates.BuyCommissionRate;
    const Extended sellFactor =
        (1 - 0.001L * rates.SellStampTaxRate) - 0.001L * rates.SellCommissionRate;
    // The position held counts as bought with buy fees; a sale takes away its net proceeds.
    const double held =
        static_cast<double>(static_cast<Extended>(existingQuantity) * existingPrice * buyFactor);
    const double added = static_cast<double>(static_cast<Extended>(newQuantity) * newPrice *
                                             (newQuantity > 0 ? buyFactor : sellFactor));
    const int64_t quantity = int64_t{existingQuantity} + newQuantity;
    if (quantity > INT32_MAX || quantity < INT32_MIN) {
        return std::nullopt;
    }
    const Extended divisor = sellFactor * static_cast<Extended>(quantity);
    if (divisor == 0) {
        return std::nullopt;
    }
    return LiOrNothing((static_cast<Extended>(held) + added) / divisor);
}

AverageCalculation CalculateAverage(const AverageRequest &request) {
    AverageCalculation result;
    result.existingPriceText = NormaliseDecimalText(request.existingPriceText);
    result.newPriceText = request.newPriceText;
    const std::optional<double> existingPrice = ParseDecimal(result.existingPriceText);
    if (!existingPrice) {
        result.error = QStringLiteral("［原价（成本）价］填写错误!请输入正确的金额.");
        return result;
    }
    result.newPriceText = NormaliseDecimalText(request.newPriceText);
    const std::optional<double> newPrice = ParseDecimal(result.newPriceText);
    if (!newPrice) {
        result.error = QStringLiteral("［新购价］填写错误!请输入正确的金额.");
        return result;
    }
    const std::optional<int32_t> existingQuantity = ParseWholeNumber(request.existingQuantityText);
    const std::optional<int32_t> newQuantity =
        existingQuantity ? ParseWholeNumber(request.newQuantityText) : std::nullopt;
    if (!newQuantity) {
        result.error = QStringLiteral("［股票数量］填写错误!请输入正确的数字.");
        return result;
    }
    const int64_t total = int64_t{*existingQuantity} + *newQuantity;
    if (total <= 0) {
        result.error = QStringLiteral("原有股票和新买(卖)股票的数量之和不能<=0!");
        return result;
    }
    if (total > INT32_MAX) {
        result.error = QStringLiteral("［股票数量］数量之和超出范围!请输入较小的数字.");
        return result;
    }
    if (!request.fees.schedule) {
        result.error = request.fees.error;
        return result;
    }
    const numbers::FeeSchedule schedule =
        numbers::ScheduleFor(*request.fees.schedule, request.instrument);
    const PercentageRates rates{schedule.BuyStampTaxRate, schedule.SellStampTaxRate,
                                schedule.BuyCommissionRate, schedule.SellCommissionRate};
    const std::optional<double> cost = EquivalentCostPrice(
        *existingQuantity, *newQuantity, *existingPrice, *newPrice, request.kind, rates);
    if (!cost) {
        result.error = AverageOutOfRangeMessage();
        return result;
    }
    const QString costText = FormatAmount(*cost);
    // The plain price is worked out from the cost price as shown.
    const std::optional<double> original =
        CostToOriginalPrice(ParseDecimal(costText).value_or(*cost), rates);
    if (!original) {
        result.error = AverageOutOfRangeMessage();
        return result;
    }
    result.costPriceText = costText;
    result.originalPriceText = FormatAmount(*original);
    return result;
}

}  // namespace calc
