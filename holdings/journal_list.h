#pragma once
// What the journal window shows: the rows of a year newest first, their texts by column, the
// year's totals, and the same rows as the lines of a CSV file.

#include "storage/journal_store.h"

#include <QList>
#include <QStringList>

namespace holdings {

enum class JournalColumn {
    Day,
    Code,
    Kind,
    Price,
    Quantity,
    Commission,
    Stamp,
    Transfer,
    Amount,
    Profit,
    Count
};

QStringList JournalHeader();
QString JournalText(const storage::TradeRow &row, JournalColumn column);

// The rows newest first: by day, then by booking.
QList<storage::TradeRow> NewestFirst(QList<storage::TradeRow> rows);

struct JournalTotals {
    double profit = 0;
    double commission = 0;
    double stamp = 0;
    double transfer = 0;
    int sales = 0;
    int profitableSales = 0;
};
// Summed exactly, every figure being in fen.
JournalTotals TotalsOf(const QList<storage::TradeRow> &rows);

// The header and one line per row, numbers as plain decimals.
QList<QStringList> JournalCsvLines(const QList<storage::TradeRow> &rows);

}  // namespace holdings

namespace holdings {
struct LiveRow;
// The live figures of the positions as CSV lines: the header, then one line per code, numbers
// as plain decimals (no sign for a gain, no percent sign), a figure without a price empty.
QList<QStringList> PositionCsvLines(const QList<LiveRow> &rows);
}  // namespace holdings
