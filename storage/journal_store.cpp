#include "storage/journal_store.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace storage {

namespace {

const QString kColumns = QStringLiteral(
    "DAY, MID, KIND, PRICE, NUMS, COMMISSION, STAMP, TRANSFER, AMOUNT, PROFIT, LOT, NOTE, "
    "BUYFEES, LOTPRICE, LOTNUMS, BATCH");

QVariantList Values(const TradeRow &row) {
    return {row.day,
            row.code,
            row.kind,
            row.price,
            row.quantity,
            row.commission,
            row.stamp,
            row.transfer,
            row.amount,
            row.profit ? QVariant(*row.profit) : QVariant(QMetaType(QMetaType::Double)),
            row.lot,
            row.note,
            row.buyFees,
            row.lotPrice,
            row.lotQuantity,
            row.batch};
}

TradeRow RowOf(const QSqlQuery &query) {
    TradeRow row;
    row.identity = query.value(0).toLongLong();
    row.day = query.value(1).toString();
    row.code = query.value(2).toString();
    row.kind = query.value(3).toString();
    row.price = query.value(4).toDouble();
    row.quantity = query.value(5).toInt();
    row.commission = query.value(6).toDouble();
    row.stamp = query.value(7).toDouble();
    row.transfer = query.value(8).toDouble();
    row.amount = query.value(9).toDouble();
    if (!query.value(10).isNull()) {
        row.profit = query.value(10).toDouble();
    }
    row.lot = query.value(11).toLongLong();
    row.note = query.value(12).toString();
    row.buyFees = query.value(13).toDouble();
    row.lotPrice = query.value(14).toDouble();
    row.lotQuantity = query.value(15).toInt();
    row.batch = query.value(16).toLongLong();
    return row;
}

bool HasTrades(QSqlDatabase &db) {
    return db.tables().contains(QStringLiteral("TRADES"));
}

// Runs `sql` on the journal and hands each result row to `take`; an empty list when there is
// no journal yet, nothing when the file cannot be read.
template <typename T, typename Take>
std::optional<QList<T>> Each(const Database &database, const QString &sql,
                             const QVariantList &values, Take take) {
    std::optional<QList<T>> found;
    database.transact([&](QSqlDatabase &db) {
        found.emplace();
        if (!HasTrades(db)) {
            return true;
        }
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!Exec(query, sql, values)) {
            found.reset();
            return false;
        }
        while (query.next()) {
            found->append(take(query));
        }
        if (query.lastError().isValid()) {
            found.reset();
        }
        return found.has_value();
    });
    return found;
}

std::optional<QList<TradeRow>> Select(const Database &database, const QString &where,
                                      const QVariantList &values) {
    return Each<TradeRow>(
        database, QStringLiteral("SELECT IDS, %1 FROM TRADES %2 ORDER BY IDS").arg(kColumns, where),
        values, RowOf);
}

// The lot with `identity` as stored now: none when there is no such record; `readable` false
// when the record is there but cannot be read as a lot.
std::optional<HoldingLot> StoredLot(QSqlQuery &query, qint64 identity, bool *ok) {
    *ok = Exec(query, QStringLiteral("SELECT * FROM GMM WHERE IDS = ?"), {identity});
    if (!*ok || !query.next()) {
        return std::nullopt;
    }
    std::optional<HoldingLot> lot = LotOfRecord(query.record());
    query.finish();
    if (!lot) {
        lot = HoldingLot{identity, QString(), -1, -1};  // matches nothing a caller holds
    }
    return lot;
}

}  // namespace

bool EnsureTradesTable(QSqlDatabase &db) {
    QSqlQuery query(db);
    return Exec(query,
                QStringLiteral("CREATE TABLE IF NOT EXISTS TRADES (IDS INTEGER PRIMARY KEY "
                               "AUTOINCREMENT, DAY TEXT, MID TEXT, KIND TEXT, PRICE REAL, NUMS "
                               "INTEGER, COMMISSION REAL, STAMP REAL, TRANSFER REAL, AMOUNT REAL, "
                               "PROFIT REAL, LOT INTEGER, NOTE TEXT, BUYFEES REAL, LOTPRICE REAL, "
                               "LOTNUMS INTEGER, BATCH INTEGER)")) &&
           Exec(query, QStringLiteral("CREATE INDEX IF NOT EXISTS TRADES_MID ON TRADES (MID)"));
}

bool AddTradesTable(const Database &database) {
    return database.transact([](QSqlDatabase &db) { return EnsureTradesTable(db); });
}

std::optional<QList<TradeRow>> ReadTrades(const Database &database) {
    return Select(database, QString(), {});
}

std::optional<QList<TradeRow>> ReadTradesOfCode(const Database &database, const QString &code) {
    return Select(database, QStringLiteral("WHERE MID = ?"), {code});
}

std::optional<QList<TradeRow>> ReadTradesOfYear(const Database &database, int year) {
    if (year == 0) {
        return ReadTrades(database);
    }
    // Days are written YYYY-MM-DD, so the year's rows sort between its first day and the next
    // year's.
    return Select(database, QStringLiteral("WHERE DAY >= ? AND DAY < ?"),
                  {QStringLiteral("%1-").arg(year), QStringLiteral("%1-").arg(year + 1)});
}

std::optional<QList<int>> ReadTradeYears(const Database &database) {
    return Each<int>(database,
                     // A day that does not start with a year has none.
                     QStringLiteral("SELECT Y FROM (SELECT DISTINCT CAST(substr(DAY, 1, 4) AS "
                                    "INTEGER) AS Y FROM TRADES) WHERE Y > 0 ORDER BY Y DESC"),
                     {}, [](const QSqlQuery &query) { return query.value(0).toInt(); });
}

Outcome ApplyJournal(const Database &database, const JournalChange &change,
                     QList<TradeRow> *stored) {
    Outcome outcome = Outcome::Failed;
    QList<TradeRow> booked = change.booked;
    const bool committed = database.transact([&](QSqlDatabase &db) {
        outcome = Outcome::Failed;
        if (!EnsureTradesTable(db)) {
            return false;
        }
        QSqlQuery query(db);
        qint64 newLot = 0;
        for (const LotChange &lot : change.lots) {
            bool ok = false;
            const std::optional<HoldingLot> now =
                lot.identity == 0 ? std::nullopt : StoredLot(query, lot.identity, &ok);
            if (lot.identity != 0 && !ok) {
                return false;
            }
            if (now != lot.before) {
                outcome = Outcome::Conflict;
                return false;
            }
            bool written = true;
            if (!lot.after) {
                written =
                    Exec(query, QStringLiteral("DELETE FROM GMM WHERE IDS = ?"), {lot.identity});
            } else if (now) {
                written =
                    Exec(query,
                         QStringLiteral("UPDATE GMM SET MID = ?, MONEY = ?, NUMS = ? "
                                        "WHERE IDS = ?"),
                         {lot.after->code, lot.after->price, lot.after->quantity, lot.identity});
            } else if (lot.identity != 0) {
                written =
                    Exec(query,
                         QStringLiteral("INSERT INTO GMM (IDS, MID, MONEY, NUMS) "
                                        "VALUES (?, ?, ?, ?)"),
                         {lot.identity, lot.after->code, lot.after->price, lot.after->quantity});
            } else {
                written = Exec(
                    query, QStringLiteral("INSERT INTO GMM (MID, MONEY, NUMS) VALUES (?, ?, ?)"),
                    {lot.after->code, lot.after->price, lot.after->quantity});
                newLot = query.lastInsertId().toLongLong();
                written = written && newLot != 0;
            }
            if (!written) {
                return false;
            }
        }
        for (const qint64 identity : change.takenBack) {
            if (!Exec(query, QStringLiteral("DELETE FROM TRADES WHERE IDS = ?"), {identity})) {
                return false;
            }
            if (query.numRowsAffected() != 1) {
                outcome = Outcome::NoSuchRow;
                return false;
            }
        }
        qint64 batch = 0;
        for (TradeRow &row : booked) {
            if (row.lot == 0) {
                row.lot = newLot;  // the lot this operation added
            }
            row.batch = batch;
            if (!Exec(query,
                      QStringLiteral("INSERT INTO TRADES (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                     "?, ?, ?, ?, ?, ?, ?)")
                          .arg(kColumns),
                      Values(row))) {
                return false;
            }
            row.identity = query.lastInsertId().toLongLong();
            if (batch == 0) {
                batch = row.batch = row.identity;
                if (!Exec(query, QStringLiteral("UPDATE TRADES SET BATCH = ? WHERE IDS = ?"),
                          {batch, batch})) {
                    return false;
                }
            }
        }
        outcome = Outcome::Done;
        return true;
    });
    if (!committed) {
        return outcome == Outcome::Done ? Outcome::Failed : outcome;
    }
    if (stored != nullptr) {
        *stored = booked;
    }
    return Outcome::Done;
}

}  // namespace storage
