#pragma once
// Table KSEE: the watched stocks with their alarm band.

#include "storage/database.h"

#include <QList>
#include <QString>

#include <optional>

namespace storage {

// A price as a value and as the list shows it.
struct Amount {
    double value = 0;
    QString text;

    bool operator==(const Amount &) const = default;
};

// One watched stock, one row of KSEE.
struct WatchEntry {
    qint64 identity = 0;  // MID, given by the database, never written here
    QString code;         // KNUM
    QString name;         // KNAME
    Amount upper;         // KUP
    Amount lower;         // KDOWN

    bool operator==(const WatchEntry &) const = default;
};

// The name without control characters (C0, DEL, C1), line and paragraph separators,
// zero-width characters and the characters that steer the direction of text, which could
// make a row read as another stock.
QString CleanName(const QString &name);

// The rows in the order the database returns them, up to the first that cannot be read
// (the rows before it are kept), prices in the amount form; nothing when the table cannot be
// read.
QList<WatchEntry> LoadWatchList(const Database &database);

// Stores a new row (the entry's identity and price texts are not used) and gives it back as
// stored; empty when it was not stored. Names are stored clean.
std::optional<WatchEntry> AddWatchEntry(const Database &database, const WatchEntry &entry);
Outcome UpdateWatchEntry(const Database &database, const WatchEntry &entry);
Outcome RemoveWatchEntry(const Database &database, qint64 identity);

}  // namespace storage
