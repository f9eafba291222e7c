#pragma once
// The live figures of the holdings: one position per code held, made of all its stored lots,
// valued at the latest quote, and what selling it at that price would net after every fee in
// force.

#include "numbers/fee_schedule.h"
#include "quotes/quote_feed.h"
#include "quotes/reading_status.h"
#include "storage/holdings_store.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <cstdint>
#include <optional>

namespace holdings {

// All lots of one code together.
struct Position {
    QString code;
    int32_t quantity = 0;
    // Σ quantity × price / Σ quantity to the li, as "合并成本价" shows it for the same lots.
    double average = 0;
};

struct PositionList {
    QList<Position> positions;  // in code order
    qsizetype unreadable = 0;   // lots left out: unreadable, or their code's sums cannot be formed
};

// One position per code; a code whose quantities add up to 0 or less is not held.
PositionList PositionsOf(const QList<storage::HoldingLot> &lots);

// What one row of the list shows; the figures are "—" where there are none.
struct LiveRow {
    QString code;
    QString name;
    QString quantityText;
    QString averageText;
    QString priceText;   // empty without a usable price
    QString valueText;   // 市值
    QString profitText;  // 浮动盈亏
    QString percentText;
    int sign = 0;  // of the profit: 1 a gain, -1 a loss, 0 none or nothing
    // For the totals; none where the row shows "—".
    std::optional<double> value = {};
    std::optional<double> profit = {};
};

// The row of `position` at the quote price text `price` (no price unless a plain decimal
// above 0). No fee schedule (the rates in force do not read) leaves the profit empty.
LiveRow LiveRowOf(const Position &position, const QString &price, const QString &name,
                  const std::optional<numbers::FeeSchedule> &fees);

// The line under the list: 总市值 and 总浮动盈亏 over the rows with figures, and how many
// rows have none.
struct LiveTotals {
    QString text;
    int sign = 0;  // of the total profit
};
LiveTotals TotalsOf(const QList<LiveRow> &rows);

// The status line: what the monitor says of the last reading (nothing before the first),
// then the lots left out and a fee schedule that does not read.
// `rows` are the rows shown; `at` is the reading's time in Beijing time.
quotes::ReadingStatus LiveStatus(const std::optional<quotes::FeedState> &reading, qsizetype kept,
                                 const QList<LiveRow> &rows, const QTime &at, qsizetype unreadable,
                                 const QString &feeError);

}  // namespace holdings
