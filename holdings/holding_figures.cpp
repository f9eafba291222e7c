#include "holdings/holding_figures.h"

#include "numbers/entry_messages.h"
#include "numbers/extended.h"
#include "numbers/fee_schedule.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

#include <QSet>

#include <cmath>
#include <cstdint>

namespace holdings {

using numbers::Extended;

namespace {

using numbers::Extended;

QString MixedCodesCaption() {
    return QStringLiteral("选中的代码只能有一个");
}

// Every lot must carry the first one's code, an empty code included. Empty text when there
// is no lot; nothing on a mismatch.
template <class Item, class Code>
std::optional<QString> CommonCode(const QList<Item> &items, Code code) {
    for (const Item &item : items) {
        if (code(item) != code(items.front())) {
            return std::nullopt;
        }
    }
    return items.isEmpty() ? QString() : code(items.front());
}

struct Totals {
    double priceSum = 0;      // Σ quantity × price
    double referenceSum = 0;  // Σ quantity × reference cost
    int32_t quantity = 0;
};

// Each product is formed in extended precision and added to a sum stored as a double. The
// quantity must stay within 32 bits all the way.
std::optional<Totals> Sum(const QList<CheckedLot> &lots) {
    Totals totals;
    int64_t quantity = 0;
    for (const CheckedLot &item : lots) {
        const int32_t shares = item.lot.quantity;
        totals.priceSum = static_cast<double>(static_cast<Extended>(totals.priceSum) +
                                              static_cast<Extended>(shares) * item.lot.price);
        totals.referenceSum = static_cast<double>(static_cast<Extended>(totals.referenceSum) +
                                                  static_cast<Extended>(shares) * item.reference);
        quantity += shares;
        if (quantity > INT32_MAX || quantity < INT32_MIN) {
            return std::nullopt;
        }
    }
    totals.quantity = static_cast<int32_t>(quantity);
    return totals;
}

// The quotient formed in extended precision and stored as a double before it is rounded.
// Throws AmountOutOfRange.
double Mean(double sum, int32_t quantity, double (*round)(double)) {
    return round(static_cast<double>(static_cast<Extended>(sum) / quantity));
}

double Exact(double value) {
    if (!std::isfinite(value)) {
        throw numbers::AmountOutOfRange();
    }
    return value;
}

}  // namespace

double ReferenceCostPrice(double buyPrice, const numbers::FeeSchedule &fees) {
    const Extended buyRates = static_cast<Extended>(fees.BuyStampTaxRate) + fees.BuyCommissionRate;
    const Extended sellRates =
        static_cast<Extended>(fees.SellStampTaxRate) + fees.SellCommissionRate;
    const Extended divisor = 1 - sellRates * 0.001L;
    if (divisor == 0) {
        return 0;
    }
    try {
        return numbers::RoundToLi(
            static_cast<double>(buyPrice * (1 + buyRates * 0.001L) / divisor));
    } catch (const numbers::AmountOutOfRange &) {
        return 0;
    }
}

double ReferenceOf(double buyPrice, const ReferenceFees &fees) {
    return fees ? ReferenceCostPrice(buyPrice, *fees) : 0.0;
}

QString PriceText(double price) {
    try {
        return numbers::FormatAmount(numbers::RoundToLi(price));
    } catch (const numbers::AmountOutOfRange &) {
        return numbers::FormatAmount(price);
    }
}

LotValidation ValidateLot(const LotInput &input) {
    if (input.codeText.size() != 6) {
        return {std::nullopt, numbers::CodeIncompleteMessage()};
    }
    if (!numbers::ParseWholeNumber(input.codeText)) {
        return {std::nullopt, numbers::CodeInvalidMessage()};
    }
    const std::optional<double> price = numbers::ParseDecimal(input.priceText);
    if (!price) {
        return {std::nullopt, numbers::PriceInvalidMessage()};
    }
    const std::optional<int32_t> quantity = numbers::ParseWholeNumber(input.quantityText);
    if (!quantity) {
        return {std::nullopt, QStringLiteral("购入股票数量错误!请正确填写.")};
    }
    // Every figure of the lot is formed from its amount, so the limit applies to that.
    if (!numbers::WithinAmountLimit(*price, *quantity)) {
        return {std::nullopt, numbers::AmountOutOfRangeMessage()};
    }
    return {storage::HoldingLot{0, input.codeText, *price, *quantity}, QString()};
}

CombinedCost CombineCheckedLots(const QList<CheckedLot> &checked) {
    CombinedCost result;
    const std::optional<QString> code =
        CommonCode(checked, [](const CheckedLot &item) { return item.lot.code; });
    if (!code) {
        result.mixedCodes = true;
        result.message = Message{MixedCodesCaption(),
                                 QStringLiteral("选中的股票中存在不同的代码，无法计算结果!")};
        return result;
    }
    result.code = *code;
    const std::optional<CombinedFigures> figures = CombineFigures(checked);
    if (!figures) {
        result.message = Message{QStringLiteral("错误"), QStringLiteral("参数错误!无法计算.")};
        return result;
    }
    if (figures->quantity != 0) {
        result.averageText = numbers::FormatAmount(figures->average);
        result.breakEvenText = numbers::FormatAmount(figures->breakEven);
        result.quantityText = QString::number(figures->quantity);
    }
    return result;
}

std::optional<CombinedFigures> CombineFigures(const QList<CheckedLot> &lots) {
    const std::optional<Totals> totals = Sum(lots);
    if (!totals) {
        return std::nullopt;
    }
    CombinedFigures figures;
    figures.quantity = totals->quantity;
    if (totals->quantity == 0) {
        return figures;
    }
    try {
        figures.average = Mean(totals->priceSum, totals->quantity, numbers::RoundToLi);
        figures.breakEven = Mean(totals->referenceSum, totals->quantity, numbers::RoundToLi);
    } catch (const numbers::AmountOutOfRange &) {
        return std::nullopt;
    }
    return figures;
}

MergePlan PlanMerge(const QList<storage::HoldingLot> &lots) {
    MergePlan plan;
    QList<CheckedLot> distinct;
    QSet<qint64> seen;
    for (const storage::HoldingLot &lot : lots) {
        if (!seen.contains(lot.identity)) {
            seen.insert(lot.identity);
            distinct.append({lot, 0});
        }
    }
    const std::optional<QString> code =
        CommonCode(distinct, [](const CheckedLot &item) { return item.lot.code; });
    if (!code) {
        plan.mixedCodes = true;
        plan.message =
            Message{MixedCodesCaption(), QStringLiteral("选中的股票中存在不同的代码，无法合并.")};
        return plan;
    }
    const std::optional<Totals> totals = Sum(distinct);
    if (!totals || totals->quantity == 0) {
        return plan;
    }
    double price = 0;
    try {
        // Not rounded: the merged lot keeps what the lots cost.
        price = Mean(totals->priceSum, totals->quantity, Exact);
    } catch (const numbers::AmountOutOfRange &) {
        return plan;
    }
    // Lots each within the limit can add up beyond it; such a lot could not be read back.
    if (!numbers::WithinAmountLimit(price, totals->quantity)) {
        plan.message = Message{QStringLiteral("错误"), numbers::AmountOutOfRangeMessage()};
        return plan;
    }
    const storage::HoldingLot &survivor = distinct.front().lot;
    for (qsizetype i = 1; i < distinct.size(); ++i) {
        plan.removed.append(distinct[i].lot);
    }
    plan.survivor = storage::HoldingLot{survivor.identity, *code, price, totals->quantity};
    return plan;
}

}  // namespace holdings
