#pragma once
// The trade journal, table `TRADES`: reading its rows, and booking or taking back rows together
// with the change they made to the lots of `GMM`, as one transaction. A file that predates the
// journal gains the table, empty, the first time a row is written; reading such a file finds
// no rows.

#include "storage/database.h"
#include "storage/holdings_store.h"

#include <QList>
#include <QString>

#include <optional>

namespace storage {

inline const QString kBought = QStringLiteral("买入");
inline const QString kSold = QStringLiteral("卖出");
inline const QString kDividend = QStringLiteral("分红");
inline const QString kBonus = QStringLiteral("送转");

// One row of `TRADES`. Money in yuan, rounded to the fen.
struct TradeRow {
    qint64 identity = 0;   // IDS, given by the database
    QString day;           // DAY, YYYY-MM-DD, Beijing date
    QString code;          // MID
    QString kind;          // KIND: 买入, 卖出, 分红 or 送转
    double price = 0;      // PRICE: the trade's price; per 10 shares for 分红 and 送转
    int32_t quantity = 0;  // NUMS: shares bought or sold, held for 分红, added for 送转
    double commission = 0;
    double stamp = 0;
    double transfer = 0;
    double amount = 0;             // AMOUNT: the cash that moved, negative for a buy
    std::optional<double> profit;  // PROFIT: realized, sales only
    qint64 lot = 0;                // LOT: the GMM identity it came from or went to
    QString note;                  // NOTE
    // BUYFEES: of a sale, the share of the lot's buy fees it carried; of an adjustment, the
    // buy fees the lot carries on.
    double buyFees = 0;
    // LOTPRICE, LOTNUMS: the lot as it stood before the row was booked, so that taking the
    // row back restores it exactly.
    double lotPrice = 0;
    int32_t lotQuantity = 0;
    // BATCH: the rows one operation booked share it.
    qint64 batch = 0;

    bool operator==(const TradeRow &) const = default;
};

// Every row in order of identity; nothing when the file cannot be read.
std::optional<QList<TradeRow>> ReadTrades(const Database &database);
// The rows of one code, or of one lot, in order of identity.
std::optional<QList<TradeRow>> ReadTradesOfCode(const Database &database, const QString &code);
// The rows of one year (0: every year), in order of identity; nothing when the file cannot be
// read.
std::optional<QList<TradeRow>> ReadTradesOfYear(const Database &database, int year);
// The years that have rows, latest first; nothing when the file cannot be read.
std::optional<QList<int>> ReadTradeYears(const Database &database);

// A lot as read (`before`, matched as DeleteLot matches; none: no lot may have its identity)
// and what it becomes (none: deleted). A lot that comes back is stored with its identity.
struct LotChange {
    qint64 identity = 0;
    std::optional<HoldingLot> before;
    std::optional<HoldingLot> after;
};

// One transaction: the lot changes, the rows booked (their identity and batch are given
// here, the batch being the first new row's identity) and the rows taken back. Conflict when
// a lot no longer reads as `before`, NoSuchRow when a row to take back is gone.
struct JournalChange {
    QList<LotChange> lots;
    QList<TradeRow> booked;
    QList<qint64> takenBack;
};
Outcome ApplyJournal(const Database &database, const JournalChange &change,
                     QList<TradeRow> *stored = nullptr);

// The statements that give a file the journal when it lacks it.
bool EnsureTradesTable(QSqlDatabase &db);
// The same in a transaction of its own; false when the file cannot be written.
bool AddTradesTable(const Database &database);

}  // namespace storage
