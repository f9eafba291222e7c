#pragma once
// The trade journal's bookkeeping: what a purchase, a sale, a dividend or bonus issue and their
// undo book in `TRADES` and do to the lots, worked out exactly. Pure functions over the lots
// and rows as read; storage::ApplyJournal carries a plan out as one transaction.

#include "numbers/cost_engine.h"
#include "storage/journal_store.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace holdings {

// The fees of one side of a trade, each rounded to the fen.
struct SideFees {
    double commission = 0;
    double stamp = 0;
    double transfer = 0;
    bool operator==(const SideFees &) const = default;
};

numbers::Exchange ExchangeOf(const QString &code);
// The class whose fees a trade of the code pays.
numbers::InstrumentClass ClassOfCode(const QString &code);

// Buying `quantity` at `price` as one order: commission with its minimum, stamp tax and the
// transfer fee, as the class pays them (a fund or a bond neither stamp tax nor transfer fee).
// Charged per share, the transfer fee is paid once, on the buy.
SideFees BuySide(double price, int32_t quantity, numbers::Exchange exchange,
                 const numbers::FeeSchedule &fees,
                 numbers::InstrumentClass instrument = numbers::InstrumentClass::Share);
// Selling: commission with its minimum, stamp tax, and the transfer fee when it is charged on
// the amount.
SideFees SellSide(double price, int32_t quantity, numbers::Exchange exchange,
                  const numbers::FeeSchedule &fees,
                  numbers::InstrumentClass instrument = numbers::InstrumentClass::Share);

// The buy fees a lot still carries and the shares they were spread over.
struct CarriedFees {
    double fees = 0;   // the lot's buy fees when its shares were last counted
    int32_t base = 0;  // the shares they belong to: the quantity then
    double left = 0;   // what the sales since took of them, subtracted
};
// From the lot's 买入 row when it still describes the lot, else the buy side of the lot's price
// and base; a bonus issue starts the count again with what was left.
CarriedFees CarriedBuyFees(const storage::HoldingLot &lot,
                           const QList<storage::TradeRow> &rowsOfCode,
                           const numbers::FeeSchedule &fees);

struct SaleFigures {
    SideFees sell;
    double buyFeeShare = 0;  // the lot's buy fees these shares carry
    double proceeds = 0;     // price × quantity less the sell fees
    double profit = 0;       // proceeds less price paid and buy fee share
};
// Throws numbers::AmountOutOfRange for amounts beyond rounding.
SaleFigures FigureSale(const storage::HoldingLot &lot, const QList<storage::TradeRow> &rowsOfCode,
                       double price, int32_t quantity, const numbers::FeeSchedule &fees);

// A plan for storage::ApplyJournal, or the message why there is none.
struct Plan {
    storage::JournalChange change;
    QString error;
};

// The texts of the sell dialog, read: the first bad field's message when one will not do.
struct SaleEntry {
    double price = 0;
    int32_t quantity = 0;
    QString day;
};
struct SaleEntryReading {
    std::optional<SaleEntry> entry;
    QString error;
};
SaleEntryReading ReadSaleEntry(const storage::HoldingLot &lot, const QString &priceText,
                               const QString &quantityText, const QString &dayText);

struct AdjustmentEntry {
    double cashPerTen = 0;    // 每10股派息, yuan before tax
    double sharesPerTen = 0;  // 每10股送转
    QString day;
};
struct AdjustmentEntryReading {
    std::optional<AdjustmentEntry> entry;
    QString error;
};
AdjustmentEntryReading ReadAdjustmentEntry(const QString &cashText, const QString &sharesText,
                                           const QString &dayText);

// A purchase of a new lot: the lot and its 买入 row.
Plan PlanPurchase(const storage::HoldingLot &lot, const QString &day,
                  const numbers::FeeSchedule &fees);
// Selling part or all of `lot`: the 卖出 row; the lot shrinks, or goes when nothing is left.
Plan PlanSale(const storage::HoldingLot &lot, const QList<storage::TradeRow> &rowsOfCode,
              const SaleEntry &entry, const numbers::FeeSchedule &fees);
// A dividend and bonus issue on every lot of a code: per lot a 分红 and a 送转 row (a zero
// part books none); quantities grow by whole shares, prices keep each lot's total cost less
// the cash received.
Plan PlanAdjustment(const QList<storage::HoldingLot> &lotsOfCode,
                    const QList<storage::TradeRow> &rowsOfCode, const AdjustmentEntry &entry,
                    const numbers::FeeSchedule &fees);

// The rows the next undo of a code takes back: its latest sale, or its latest dividend and
// bonus issue; empty when there is none.
QList<storage::TradeRow> UndoableRows(const QList<storage::TradeRow> &rowsOfCode);
// Taking those rows back and returning the lots to what they were; `lotsOfCode` as read now.
Plan PlanUndo(const QList<storage::TradeRow> &rowsOfCode,
              const QList<storage::HoldingLot> &lotsOfCode);

// A day as the journal keeps it.
QString DayText(const QDate &day);

}  // namespace holdings
