#pragma once
// The bought lots of table `GMM`: reading, adding, rewriting, deleting and merging them.

#include "storage/database.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace storage {

// One bought lot, one row of `GMM`.
struct HoldingLot {
    qint64 identity = 0;   // IDS, given by the database, never written here
    QString code;          // MID, six digits kept as text
    double price = 0;      // MONEY, buy price per share in yuan
    int32_t quantity = 0;  // NUMS, shares

    bool operator==(const HoldingLot &) const = default;
};

// The lots that could be read, in the order the database returns them; nothing when the table
// cannot be read. A row that cannot be read (a value of the wrong form, or a number the
// program would refuse when typed: a price that is not finite or lies beyond the typed limit,
// or whose amount price × quantity does) is skipped and counted in `unreadable`.
std::optional<QList<HoldingLot>> ReadLots(const Database &database, int *unreadable = nullptr);

// ReadLots with the count of the rows passed over kept beside the lots.
struct LotsRead {
    QList<HoldingLot> lots;
    qsizetype unreadable = 0;
};
std::optional<LotsRead> ReadEveryLot(const Database &database);

// The lot a `GMM` record holds; nothing when ReadLots would skip it.
std::optional<HoldingLot> LotOfRecord(const QSqlRecord &record);

// Stores a new lot (its identity is ignored) and returns it as stored, with the identity
// the insert gave it.
std::optional<HoldingLot> InsertLot(const Database &database, const HoldingLot &lot);

// Deletes the lot `loaded`: the record with its identity, which must still read as that lot.
// NoSuchRow when no record has the identity, Conflict when it holds another code, price or
// quantity (changed meanwhile, or another file).
Outcome DeleteLot(const Database &database, const HoldingLot &loaded);

// Rewrites the lot `loaded` (matched as DeleteLot matches) with the code, price and quantity
// of `changed` and returns it as stored. A lot whose identity is gone (NoSuchRow) is never
// stored anew, and a record that changed meanwhile (Conflict) or a file that cannot be written
// stores nothing and gives nothing; `outcome` says which.
std::optional<HoldingLot> SaveLot(const Database &database, const HoldingLot &loaded,
                                  const HoldingLot &changed, Outcome *outcome = nullptr);

// One transaction: deletes `removed` (each matched as DeleteLot matches) in the order given,
// then rewrites `survivor` with `merged`'s code, price and quantity. Gives the merged lot as
// stored; nothing when no change was made: a lot that changed or went meanwhile, or a file
// that cannot be written.
std::optional<HoldingLot> MergeLots(const Database &database, const HoldingLot &survivor,
                                    const HoldingLot &merged, const QList<HoldingLot> &removed,
                                    Outcome *outcome = nullptr);

}  // namespace storage
