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

// Stores a new lot (its identity is ignored) and returns it as stored, with the identity
// the insert gave it.
std::optional<HoldingLot> InsertLot(const Database &database, const HoldingLot &lot);

// Rewrites code, price and quantity of the lot with lot.identity; false when it is gone.
bool UpdateLot(const Database &database, const HoldingLot &lot);
bool DeleteLot(const Database &database, qint64 identity);

// Rewrites the lot with lot.identity and returns it. A lot whose record has gone is stored
// anew and comes back with the identity that record got, so that later saves rewrite it
// instead of adding more. Empty when nothing was written.
std::optional<HoldingLot> SaveLot(const Database &database, const HoldingLot &lot);

// One transaction: deletes `removed` in the order given, then rewrites `merged`. Either
// every change is made or none.
bool MergeLots(const Database &database, const HoldingLot &merged, const QList<qint64> &removed);

}  // namespace storage
