// Planning the adjustments (dividends, bonus shares) and undoing the latest journal entries.
#include "holdings/journal.h"
#include "holdings/journal_money.h"

#include "numbers/decimal.h"
#include "numbers/entry_messages.h"
#include "numbers/number_syntax.h"

#include <algorithm>

namespace holdings {

using numbers::Decimal;
using storage::HoldingLot;
using storage::TradeRow;
using namespace journal_money;

namespace {

// The largest whole number not above `value`.
int64_t Floor(const Decimal &value) {
    const Decimal nearest = value.rounded(0);
    const auto whole = static_cast<int64_t>(nearest.toDouble());
    return value < nearest ? whole - 1 : whole;
}

// The lot once a dividend of `cashPerTen` and a bonus of `sharesPerTen` per 10 shares are
// applied: the added shares whole, the price exact, so the lot's cost falls by the cash alone.
struct Adjusted {
    HoldingLot lot;
    Decimal cash;  // received, exact
    int64_t added = 0;
};
Adjusted AdjustLot(const HoldingLot &lot, double cashPerTen, double sharesPerTen) {
    const Decimal shares = Decimal::Whole(lot.quantity);
    const Decimal tenth = Exact(0.1);
    Adjusted adjusted{lot, shares * Exact(cashPerTen) * tenth, 0};
    adjusted.added = Floor(shares * Exact(sharesPerTen) * tenth);
    const Decimal cost = Exact(lot.price) * shares - adjusted.cash;
    const int64_t quantity = lot.quantity + adjusted.added;
    // Kept as the 15-digit decimal the program shows and reads back.
    adjusted.lot.quantity = static_cast<int32_t>(quantity);
    adjusted.lot.price =
        Decimal::Of(static_cast<double>(static_cast<long double>(cost.toDouble()) / quantity))
            .toDouble();
    return adjusted;
}

QString ChangedElsewhere() {
    return numbers::LotChangedElsewhereMessage();
}
}  // namespace

Plan PlanAdjustment(const QList<HoldingLot> &lotsOfCode, const QList<TradeRow> &rowsOfCode,
                    const AdjustmentEntry &entry, const numbers::FeeSchedule &fees) {
    Plan plan;
    for (const HoldingLot &lot : lotsOfCode) {
        const Adjusted adjusted = AdjustLot(lot, entry.cashPerTen, entry.sharesPerTen);
        if (adjusted.lot.price < 0 ||
            !numbers::WithinAmountLimit(adjusted.lot.price, adjusted.lot.quantity) ||
            lot.quantity + adjusted.added > INT32_MAX) {
            plan.error = QStringLiteral("%1的持仓无法按此派息和送转调整，未作改动.").arg(lot.code);
            plan.change = {};
            return plan;
        }
        if (adjusted.lot == lot && adjusted.cash.rounded(kFen).toDouble() == 0) {
            continue;
        }
        TradeRow row;
        row.day = entry.day;
        row.code = lot.code;
        row.lot = lot.identity;
        row.buyFees = CarriedBuyFees(lot, rowsOfCode, fees).left;
        row.lotPrice = lot.price;
        row.lotQuantity = lot.quantity;
        if (entry.cashPerTen > 0) {
            TradeRow dividend = row;
            dividend.kind = storage::kDividend;
            dividend.price = entry.cashPerTen;
            dividend.quantity = lot.quantity;
            dividend.amount = Fen(adjusted.cash);
            dividend.note =
                QStringLiteral("每10股派%1元(税前)").arg(numbers::FormatAmount(entry.cashPerTen));
            plan.change.booked.append(dividend);
        }
        if (adjusted.added > 0) {
            TradeRow bonus = row;
            bonus.kind = storage::kBonus;
            bonus.price = entry.sharesPerTen;
            bonus.quantity = static_cast<int32_t>(adjusted.added);
            bonus.note =
                QStringLiteral("每10股送转%1股").arg(numbers::FormatAmount(entry.sharesPerTen));
            plan.change.booked.append(bonus);
        }
        plan.change.lots.append({lot.identity, lot, adjusted.lot});
    }
    if (plan.change.booked.isEmpty()) {
        plan.error = QStringLiteral("没有可以调整的持仓.");
    }
    return plan;
}

QList<TradeRow> UndoableRows(const QList<TradeRow> &rowsOfCode) {
    const auto latest = std::find_if(
        rowsOfCode.rbegin(), rowsOfCode.rend(),
        [](const TradeRow &row) { return row.kind == storage::kSold || IsAdjustment(row); });
    if (latest == rowsOfCode.rend()) {
        return {};
    }
    if (latest->kind == storage::kSold) {
        return {*latest};
    }
    QList<TradeRow> rows;
    for (const TradeRow &row : rowsOfCode) {
        if (IsAdjustment(row) && row.batch == latest->batch) {
            rows.append(row);
        }
    }
    return rows;
}

Plan PlanUndo(const QList<TradeRow> &rowsOfCode, const QList<HoldingLot> &lotsOfCode) {
    Plan plan;
    const QList<TradeRow> rows = UndoableRows(rowsOfCode);
    if (rows.isEmpty()) {
        plan.error = QStringLiteral("没有可以撤销的卖出或除权除息.");
        return plan;
    }
    QList<qint64> lots;
    for (const TradeRow &row : rows) {
        plan.change.takenBack.append(row.identity);
        if (!lots.contains(row.lot)) {
            lots.append(row.lot);
        }
    }
    for (const qint64 identity : lots) {
        // The lot as the rows left it, which it must still be.
        const HoldingLot before{identity, rows.front().code, 0, 0};
        HoldingLot was = before;
        double cashPerTen = 0;
        double sharesPerTen = 0;
        int32_t sold = 0;
        for (const TradeRow &row : rows) {
            if (row.lot != identity) {
                continue;
            }
            was.price = row.lotPrice;
            was.quantity = row.lotQuantity;
            if (row.kind == storage::kSold) {
                sold = row.quantity;
            } else if (row.kind == storage::kDividend) {
                cashPerTen = row.price;
            } else {
                sharesPerTen = row.price;
            }
        }
        std::optional<HoldingLot> left;
        if (rows.front().kind == storage::kSold) {
            if (was.quantity > sold) {
                left = was;
                left->quantity -= sold;
            }
        } else {
            left = AdjustLot(was, cashPerTen, sharesPerTen).lot;
        }
        const auto now =
            std::find_if(lotsOfCode.begin(), lotsOfCode.end(),
                         [identity](const HoldingLot &lot) { return lot.identity == identity; });
        const std::optional<HoldingLot> current =
            now == lotsOfCode.end() ? std::nullopt : std::optional<HoldingLot>(*now);
        if (current != left) {
            plan.error = ChangedElsewhere();
            plan.change = {};
            return plan;
        }
        plan.change.lots.append({identity, left, was});
    }
    return plan;
}

}  // namespace holdings
