#include "storage/holdings_store.h"

namespace storage {

namespace {

Columns LotColumns(const HoldingLot &lot) {
    return {{QStringLiteral("MID"), lot.code},
            {QStringLiteral("MONEY"), lot.price},
            {QStringLiteral("NUMS"), lot.quantity}};
}

// NULL reads as 0; text or a blob in a number column is the wrong form.
std::optional<double> NumberValue(const QVariant &value) {
    if (value.isNull()) {
        return 0.0;
    }
    if (!AmountText(value)) {
        return std::nullopt;
    }
    return value.toDouble();
}

std::optional<HoldingLot> LotOf(const QSqlRecord &record) {
    const QVariant identity = record.value(QStringLiteral("IDS"));
    const std::optional<double> price = NumberValue(record.value(QStringLiteral("MONEY")));
    const std::optional<int32_t> quantity = IntegerValue(record.value(QStringLiteral("NUMS")));
    bool identityRead = false;
    const qint64 id = identity.toLongLong(&identityRead);
    if (!identityRead || !price || !quantity) {
        return std::nullopt;
    }
    return HoldingLot{id, record.value(QStringLiteral("MID")).toString(), *price, *quantity};
}

}  // namespace

std::optional<QList<HoldingLot>> ReadLots(const Database &database) {
    const std::optional<QList<QSqlRecord>> records = database.ReadAll(kGmm);
    if (!records) {
        return std::nullopt;
    }
    QList<HoldingLot> lots;
    for (const QSqlRecord &record : *records) {
        const std::optional<HoldingLot> lot = LotOf(record);
        if (!lot) {
            break;
        }
        lots.append(*lot);
    }
    return lots;
}

std::optional<HoldingLot> InsertLot(const Database &database, const HoldingLot &lot) {
    const std::optional<QSqlRecord> record = database.Insert(kGmm, LotColumns(lot));
    return record ? LotOf(*record) : std::nullopt;
}

bool UpdateLot(const Database &database, const HoldingLot &lot) {
    return database.Update(kGmm, lot.identity, LotColumns(lot));
}

std::optional<HoldingLot> SaveLot(const Database &database, const HoldingLot &lot) {
    if (UpdateLot(database, lot)) {
        return lot;
    }
    return InsertLot(database, lot);
}

bool DeleteLot(const Database &database, qint64 identity) {
    return database.Remove(kGmm, identity);
}

bool MergeLots(const Database &database, const HoldingLot &merged, const QList<qint64> &removed) {
    QList<RowChange> changes;
    for (const qint64 identity : removed) {
        changes.append({RowChange::Kind::Remove, identity, {}});
    }
    changes.append({RowChange::Kind::Rewrite, merged.identity, LotColumns(merged)});
    return database.Apply(kGmm, changes);
}

}  // namespace storage
