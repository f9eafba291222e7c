#include "holdings/journal.h"
#include "holdings/journal_money.h"

#include "numbers/decimal.h"
#include "numbers/entry_messages.h"
#include "numbers/number_syntax.h"
#include "quotes/market.h"

#include <QRegularExpression>

#include <algorithm>

namespace holdings {

using numbers::Decimal;
using storage::HoldingLot;
using storage::TradeRow;
using namespace journal_money;

namespace {

Decimal Total(const SideFees &fees) {
    return Exact(fees.commission) + Exact(fees.stamp) + Exact(fees.transfer);
}

// A whole number of fen, from an amount already rounded to the fen.
__int128 FenCount(double amount) {
    return static_cast<__int128>((Exact(amount) * Decimal::Whole(100)).rounded(0).toDouble());
}

// fen × part / whole, half up, for a non-negative fen count.
double ShareOf(__int128 fen, int32_t part, int32_t whole) {
    if (whole <= 0 || fen <= 0) {
        return 0;
    }
    const __int128 share = (fen * part * 2 + whole) / (2 * static_cast<__int128>(whole));
    return (Decimal::Whole(static_cast<int64_t>(share)) * Exact(0.01)).toDouble();
}

// A positive decimal as a trader types it: digits with at most one point.
std::optional<double> PlainDecimal(const QString &text, bool zeroAllowed) {
    static const QRegularExpression kPlain(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString trimmed = text.trimmed();
    if (!kPlain.match(trimmed).hasMatch()) {
        return std::nullopt;
    }
    const std::optional<double> value = numbers::ParseDecimal(trimmed);
    if (!value || (*value <= 0 && !zeroAllowed)) {
        return std::nullopt;
    }
    return value;
}

std::optional<QString> ReadDay(const QString &text) {
    const QDate day = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid()) {
        return std::nullopt;
    }
    return DayText(day);
}

QString DayMessage() {
    return QStringLiteral("［日期］填写错误!请按 YYYY-MM-DD 填写正确的日期.");
}

}  // namespace

QString DayText(const QDate &day) {
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

numbers::Exchange ExchangeOf(const QString &code) {
    return quotes::market::Prefix(code) == u"sh" ? numbers::Exchange::Shanghai
                                                 : numbers::Exchange::Shenzhen;
}

numbers::InstrumentClass ClassOfCode(const QString &code) {
    return quotes::market::ClassOf(code);
}

SideFees BuySide(double price, int32_t quantity, numbers::Exchange exchange,
                 const numbers::FeeSchedule &fees, numbers::InstrumentClass instrument) {
    // With nothing sold, the round trip's transfer fee is the buy's alone.
    const numbers::TradeCosts costs =
        numbers::ComputeTradeCosts(price, 0, quantity, exchange, fees, instrument);
    return {costs.BuyCommission, costs.BuyStampTax, costs.TransferFee};
}

SideFees SellSide(double price, int32_t quantity, numbers::Exchange exchange,
                  const numbers::FeeSchedule &fees, numbers::InstrumentClass instrument) {
    const numbers::TradeCosts costs =
        numbers::ComputeTradeCosts(0, price, quantity, exchange, fees, instrument);
    const bool perShare = fees.TransferFeeBasis == numbers::TransferBasis::PerShare;
    return {costs.SellCommission, costs.SellStampTax, perShare ? 0 : costs.TransferFee};
}

CarriedFees CarriedBuyFees(const HoldingLot &lot, const QList<TradeRow> &rowsOfCode,
                           const numbers::FeeSchedule &fees) {
    QList<TradeRow> rows;
    for (const TradeRow &row : rowsOfCode) {
        if (row.lot == lot.identity) {
            rows.append(row);
        }
    }
    // A bonus issue starts the count again with the fees then left.
    qsizetype start = 0;
    CarriedFees carried;
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
        if (rows[i].kind == storage::kBonus) {
            start = i + 1;
            carried.fees = rows[i].buyFees;
            carried.base = rows[i].lotQuantity + rows[i].quantity;
            break;
        }
    }
    Decimal taken;
    int64_t sold = 0;
    for (qsizetype i = start; i < rows.size(); ++i) {
        if (rows[i].kind == storage::kSold) {
            taken = taken + Exact(rows[i].buyFees);
            sold += rows[i].quantity;
        }
    }
    if (start == 0) {
        carried.base = static_cast<int32_t>(std::min<int64_t>(lot.quantity + sold, INT32_MAX));
        // The price paid: before any dividend lowered it.
        double paid = lot.price;
        const auto dividend = std::find_if(rows.begin(), rows.end(), IsAdjustment);
        if (dividend != rows.end()) {
            paid = dividend->lotPrice;
        }
        const auto bought = std::find_if(rows.begin(), rows.end(), [](const TradeRow &row) {
            return row.kind == storage::kBought;
        });
        if (bought != rows.end() && bought->quantity == carried.base && bought->price == paid) {
            carried.fees = Fen(Total({bought->commission, bought->stamp, bought->transfer}));
        } else {
            carried.fees = Fen(Total(
                BuySide(paid, carried.base, ExchangeOf(lot.code), fees, ClassOfCode(lot.code))));
        }
    }
    carried.left = Fen(Exact(carried.fees) - taken);
    return carried;
}

SaleFigures FigureSale(const HoldingLot &lot, const QList<TradeRow> &rowsOfCode, double price,
                       int32_t quantity, const numbers::FeeSchedule &fees) {
    SaleFigures figures;
    figures.sell = SellSide(price, quantity, ExchangeOf(lot.code), fees, ClassOfCode(lot.code));
    const CarriedFees carried = CarriedBuyFees(lot, rowsOfCode, fees);
    // The sale that empties the lot takes what is left, so the buy fees count once; a part
    // never takes more than is left.
    figures.buyFeeShare = quantity >= lot.quantity
                              ? carried.left
                              : std::clamp(ShareOf(FenCount(carried.fees), quantity, carried.base),
                                           0.0, std::max(carried.left, 0.0));
    const Decimal shares = Decimal::Whole(quantity);
    const Decimal proceeds = Exact(price) * shares - Total(figures.sell);
    figures.proceeds = Fen(proceeds);
    figures.profit = Fen(proceeds - Exact(lot.price) * shares - Exact(figures.buyFeeShare));
    return figures;
}

SaleEntryReading ReadSaleEntry(const HoldingLot &lot, const QString &priceText,
                               const QString &quantityText, const QString &dayText) {
    SaleEntryReading reading;
    const std::optional<double> price = PlainDecimal(priceText, false);
    if (!price) {
        reading.error = QStringLiteral("［卖出价格］填写错误!请输入正确的金额.");
        return reading;
    }
    const std::optional<int32_t> quantity = numbers::ParseWholeNumber(quantityText.trimmed());
    if (!quantity || *quantity <= 0 || *quantity > lot.quantity) {
        reading.error =
            QStringLiteral("［卖出数量］填写错误!请输入1到%1之间的整数.").arg(lot.quantity);
        return reading;
    }
    const std::optional<QString> day = ReadDay(dayText);
    if (!day) {
        reading.error = DayMessage();
        return reading;
    }
    if (!numbers::WithinAmountLimit(*price, *quantity)) {
        reading.error = numbers::AmountOutOfRangeMessage();
        return reading;
    }
    reading.entry = SaleEntry{*price, *quantity, *day};
    return reading;
}

AdjustmentEntryReading ReadAdjustmentEntry(const QString &cashText, const QString &sharesText,
                                           const QString &dayText) {
    AdjustmentEntryReading reading;
    const std::optional<QString> day = ReadDay(dayText);
    if (!day) {
        reading.error = DayMessage();
        return reading;
    }
    const auto orZero = [](const QString &text) {
        return text.trimmed().isEmpty() ? std::optional<double>(0) : PlainDecimal(text, true);
    };
    const std::optional<double> cash = orZero(cashText);
    if (!cash) {
        reading.error = QStringLiteral("［每10股派息］填写错误!请输入正确的金额.");
        return reading;
    }
    const std::optional<double> shares = orZero(sharesText);
    if (!shares || *shares > 1000) {
        reading.error = QStringLiteral("［每10股送转］填写错误!请输入0到1000之间的数.");
        return reading;
    }
    if (*cash == 0 && *shares == 0) {
        reading.error = QStringLiteral("派息和送转都为0，没有需要登记的变动.");
        return reading;
    }
    reading.entry = AdjustmentEntry{*cash, *shares, *day};
    return reading;
}

Plan PlanPurchase(const HoldingLot &lot, const QString &day, const numbers::FeeSchedule &fees) {
    Plan plan;
    const SideFees buy =
        BuySide(lot.price, lot.quantity, ExchangeOf(lot.code), fees, ClassOfCode(lot.code));
    TradeRow row;
    row.day = day;
    row.code = lot.code;
    row.kind = storage::kBought;
    row.price = lot.price;
    row.quantity = lot.quantity;
    row.commission = buy.commission;
    row.stamp = buy.stamp;
    row.transfer = buy.transfer;
    row.amount =
        Fen(Decimal::Whole(0) - Exact(lot.price) * Decimal::Whole(lot.quantity) - Total(buy));
    row.lotPrice = lot.price;
    row.lotQuantity = lot.quantity;
    HoldingLot added = lot;
    added.identity = 0;
    plan.change.lots.append({0, std::nullopt, added});
    plan.change.booked.append(row);
    return plan;
}

Plan PlanSale(const HoldingLot &lot, const QList<TradeRow> &rowsOfCode, const SaleEntry &entry,
              const numbers::FeeSchedule &fees) {
    Plan plan;
    if (entry.quantity <= 0 || entry.quantity > lot.quantity) {
        plan.error =
            QStringLiteral("［卖出数量］填写错误!请输入1到%1之间的整数.").arg(lot.quantity);
        return plan;
    }
    const SaleFigures figures = FigureSale(lot, rowsOfCode, entry.price, entry.quantity, fees);
    TradeRow row;
    row.day = entry.day;
    row.code = lot.code;
    row.kind = storage::kSold;
    row.price = entry.price;
    row.quantity = entry.quantity;
    row.commission = figures.sell.commission;
    row.stamp = figures.sell.stamp;
    row.transfer = figures.sell.transfer;
    row.amount = figures.proceeds;
    row.profit = figures.profit;
    row.lot = lot.identity;
    row.buyFees = figures.buyFeeShare;
    row.lotPrice = lot.price;
    row.lotQuantity = lot.quantity;
    std::optional<HoldingLot> after;
    if (entry.quantity < lot.quantity) {
        after = lot;
        after->quantity -= entry.quantity;
    }
    plan.change.lots.append({lot.identity, lot, after});
    plan.change.booked.append(row);
    return plan;
}

}  // namespace holdings
