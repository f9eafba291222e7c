#include "storage/holdings_store.h"

#include "numbers/number_syntax.h"

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

}  // namespace

std::optional<HoldingLot> LotOfRecord(const QSqlRecord &record) {
    const QVariant identity = record.value(QStringLiteral("IDS"));
    const std::optional<double> price = NumberValue(record.value(QStringLiteral("MONEY")));
    const std::optional<int32_t> quantity = IntegerValue(record.value(QStringLiteral("NUMS")));
    bool identityRead = false;
    const qint64 id = identity.toLongLong(&identityRead);
    if (!identityRead || !price || !quantity || !numbers::WithinAmountLimit(*price, *quantity)) {
        return std::nullopt;
    }
    return HoldingLot{id, record.value(QStringLiteral("MID")).toString(), *price, *quantity};
}

namespace {

// The record still reads as the lot the caller holds.
RowMatch StillReadsAs(const HoldingLot &lot) {
    return [lot](const QSqlRecord &record) { return LotOfRecord(record) == lot; };
}

}  // namespace

std::optional<QList<HoldingLot>> ReadLots(const Database &database, int *unreadable) {
    const std::optional<QList<QSqlRecord>> records = database.readAll(kGmm);
    if (!records) {
        return std::nullopt;
    }
    QList<HoldingLot> lots;
    int skipped = 0;
    for (const QSqlRecord &record : *records) {
        if (const std::optional<HoldingLot> lot = LotOfRecord(record)) {
            lots.append(*lot);
        } else {
            ++skipped;
        }
    }
    if (unreadable != nullptr) {
        *unreadable = skipped;
    }
    return lots;
}

std::optional<LotsRead> ReadEveryLot(const Database &database) {
    int unreadable = 0;
    std::optional<QList<HoldingLot>> lots = ReadLots(database, &unreadable);
    if (!lots) {
        return std::nullopt;
    }
    return LotsRead{std::move(*lots), unreadable};
}

std::optional<HoldingLot> InsertLot(const Database &database, const HoldingLot &lot) {
    const std::optional<QSqlRecord> record = database.insert(kGmm, LotColumns(lot));
    return record ? LotOfRecord(*record) : std::nullopt;
}

std::optional<HoldingLot> SaveLot(const Database &database, const HoldingLot &loaded,
                                  const HoldingLot &changed, Outcome *outcome) {
    return MergeLots(database, loaded, changed, {}, outcome);
}

Outcome DeleteLot(const Database &database, const HoldingLot &loaded) {
    return database.remove(kGmm, loaded.identity, StillReadsAs(loaded));
}

std::optional<HoldingLot> MergeLots(const Database &database, const HoldingLot &survivor,
                                    const HoldingLot &merged, const QList<HoldingLot> &removed,
                                    Outcome *outcome) {
    QList<RowChange> changes;
    for (const HoldingLot &lot : removed) {
        changes.append({RowChange::Kind::Remove, lot.identity, {}, StillReadsAs(lot)});
    }
    changes.append(
        {RowChange::Kind::Rewrite, survivor.identity, LotColumns(merged), StillReadsAs(survivor)});
    const Outcome result = database.apply(kGmm, changes);
    if (outcome != nullptr) {
        *outcome = result;
    }
    if (result != Outcome::Done) {
        return std::nullopt;
    }
    HoldingLot stored = merged;
    stored.identity = survivor.identity;
    return stored;
}

}  // namespace storage
