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

// Every lot in the order the database returns them. Empty when the table cannot be read;
// a row of the wrong form ends the list there, the lots before it are kept.
std::optional<QList<HoldingLot>> ReadLots(const Database &database);

// Every lot that reads, in the order the database returns them, with the count of rows of
// the wrong form, which are passed over. Nothing when the table cannot be read.
struct LotsRead {
    QList<HoldingLot> lots;
    qsizetype unreadable = 0;
};
std::optional<LotsRead> ReadEveryLot(const Database &database);

// Stores a new lot (its identity is ignored) and returns it as stored, with the identity
// the insert gave it.
std::optional<HoldingLot> InsertLot(const Database &database, const HoldingLot &lot);

// Deletes the lot `loaded`: the record with its identity that still holds its code, price and
// quantity. NoSuchRow when there is none (gone, or replaced by another lot).
Outcome DeleteLot(const Database &database, const HoldingLot &loaded);

// Rewrites the lot `loaded` (matched as DeleteLot matches) with the code, price and quantity
// of `changed` and returns it as stored. A lot whose record has gone is stored anew and comes
// back with the identity that record got, so that later saves rewrite it instead of adding
// more; a file that cannot be written stores nothing and gives nothing.
std::optional<HoldingLot> SaveLot(const Database &database, const HoldingLot &loaded,
                                  const HoldingLot &changed);

// One transaction: deletes `removed` (each matched as DeleteLot matches) in the order given,
// then rewrites `survivor` with `merged`'s code, price and quantity, storing it anew when its
// record has gone. Gives the merged lot as stored; nothing when no change was made.
std::optional<HoldingLot> MergeLots(const Database &database, const HoldingLot &survivor,
                                    const HoldingLot &merged, const QList<HoldingLot> &removed);

}  // namespace storage
