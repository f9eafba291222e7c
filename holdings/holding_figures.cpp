#include "holdings/holding_figures.h"

#include "numbers/entry_messages.h"
#include "numbers/extended.h"
#include "numbers/fee_schedule.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"
#include "quotes/market.h"

#include <cstdint>

namespace holdings {

using numbers::Extended;

namespace {

using numbers::Extended;

QString MixedCodesCaption() {
    return QStringLiteral("选中的代码只能有一个");
}

// Every checked row must carry the first one's code, an empty code included. Empty text
// when nothing is checked; nothing on a mismatch.
std::optional<QString> CommonCode(const QList<LotRow> &checked) {
    for (const LotRow &row : checked) {
        if (row.code != checked.front().code) {
            return std::nullopt;
        }
    }
    return checked.isEmpty() ? QString() : checked.front().code;
}

struct Totals {
    double priceSum = 0;      // Σ quantity × price
    double referenceSum = 0;  // Σ quantity × reference cost
    int32_t quantity = 0;
};

// Each product is formed in extended precision and added to a sum stored as a double. The
// quantity must stay within 32 bits all the way; empty when a text does not parse.
std::optional<Totals> Sum(const QList<LotRow> &rows, bool withReference) {
    Totals totals;
    int64_t quantity = 0;
    for (const LotRow &row : rows) {
        const std::optional<double> price = numbers::ParseDecimal(row.priceText);
        const std::optional<int32_t> shares = numbers::ParseWholeNumber(row.quantityText);
        const std::optional<double> reference =
            withReference ? numbers::ParseDecimal(row.referenceText) : std::optional<double>(0);
        if (!price || !shares || !reference) {
            return std::nullopt;
        }
        totals.priceSum = static_cast<double>(static_cast<Extended>(totals.priceSum) +
                                              static_cast<Extended>(*shares) * *price);
        totals.referenceSum = static_cast<double>(static_cast<Extended>(totals.referenceSum) +
                                                  static_cast<Extended>(*shares) * *reference);
        quantity += *shares;
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

// At the rates of the code's class: a fund or a bond pays no stamp tax.
QString ReferenceText(const QString &code, double price, const ReferenceFees &fees) {
    return numbers::FormatAmount(
        fees ? ReferenceCostPrice(price, numbers::ScheduleFor(*fees, quotes::market::ClassOf(code)))
             : 0.0);
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

LotRow RowOf(const storage::HoldingLot &lot, const ReferenceFees &fees) {
    return {lot.code, numbers::FormatAmount(lot.price), QString::number(lot.quantity),
            ReferenceText(lot.code, lot.price, fees), lot};
}

QList<LotRow> RowsOf(const QList<storage::HoldingLot> &lots, const ReferenceFees &fees) {
    QList<LotRow> rows;
    rows.reserve(lots.size());
    for (const storage::HoldingLot &lot : lots) {
        rows.append(RowOf(lot, fees));
    }
    return rows;
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

CombinedCost CombineCheckedLots(const QList<LotRow> &checked) {
    CombinedCost result;
    const std::optional<QString> code = CommonCode(checked);
    if (!code) {
        result.mixedCodes = true;
        result.message = Message{MixedCodesCaption(),
                                 QStringLiteral("选中的股票中存在不同的代码，无法计算结果!")};
        return result;
    }
    result.code = *code;
    const Message failed{QStringLiteral("错误"), QStringLiteral("参数错误!无法计算.")};
    const std::optional<Totals> totals = Sum(checked, true);
    if (!totals) {
        result.message = failed;
        return result;
    }
    if (totals->quantity == 0) {
        return result;
    }
    try {
        const double average = Mean(totals->priceSum, totals->quantity, numbers::RoundToLi);
        const double breakEven = Mean(totals->referenceSum, totals->quantity, numbers::RoundToLi);
        result.averageText = numbers::FormatAmount(average);
        result.breakEvenText = numbers::FormatAmount(breakEven);
    } catch (const numbers::AmountOutOfRange &) {
        result.message = failed;
        return result;
    }
    result.quantityText = QString::number(totals->quantity);
    return result;
}

MergePlan PlanMerge(const QList<LotRow> &checked, const ReferenceFees &fees) {
    MergePlan plan;
    const std::optional<QString> code = CommonCode(checked);
    if (!code) {
        plan.mixedCodes = true;
        plan.message =
            Message{MixedCodesCaption(), QStringLiteral("选中的股票中存在不同的代码，无法合并.")};
        return plan;
    }
    const std::optional<Totals> totals = Sum(checked, false);
    if (!totals || totals->quantity == 0) {
        return plan;
    }
    double price = 0;
    try {
        price = Mean(totals->priceSum, totals->quantity, numbers::RoundToFen);
    } catch (const numbers::AmountOutOfRange &) {
        return plan;
    }
    // Lots each within the limit can add up beyond it; such a lot could not be read back.
    if (!numbers::WithinAmountLimit(price, totals->quantity)) {
        plan.message = Message{QStringLiteral("错误"), numbers::AmountOutOfRangeMessage()};
        return plan;
    }
    const storage::HoldingLot &survivor = checked.front().stored;
    QList<qsizetype> rows;
    QList<storage::HoldingLot> removed;
    for (qsizetype i = checked.size() - 1; i > 0; --i) {
        if (checked[i].stored.identity != survivor.identity) {
            removed.append(checked[i].stored);
            rows.append(i);
        }
    }
    plan.survivor = storage::HoldingLot{survivor.identity, *code, price, totals->quantity};
    plan.survivorRow = checked.front();
    plan.survivorRow.priceText = numbers::FormatAmount(price);
    plan.survivorRow.quantityText = QString::number(totals->quantity);
    plan.survivorRow.referenceText = ReferenceText(*code, price, fees);
    plan.removedRows = rows;
    plan.removedLots = removed;
    return plan;
}

}  // namespace holdings
