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

// The rows that could be read, in the order the database returns them, prices in the amount
// form; nothing when the table cannot be read. A row that cannot be read (a value of the wrong
// form, or a price the program would refuse when typed: not finite, or beyond the typed
// limit) is skipped and counted in `unreadable`.
QList<WatchEntry> LoadWatchList(const Database &database, int *unreadable = nullptr);

// Stores a new row (the entry's identity and price texts are not used) and gives it back as
// stored; empty when it was not stored. Names are stored clean.
std::optional<WatchEntry> AddWatchEntry(const Database &database, const WatchEntry &entry);

// Rewrites the row `loaded` with the code, name and prices of `changed` and gives it back as
// stored. The row must still read as `loaded` (its code, name and price values; the price
// texts do not count): one that holds another entry stores nothing (Conflict); one whose
// identity is gone is stored anew and comes back with its new identity.
std::optional<WatchEntry> UpdateWatchEntry(const Database &database, const WatchEntry &loaded,
                                           const WatchEntry &changed, Outcome *outcome = nullptr);
// Deletes the row `loaded`, matched as UpdateWatchEntry matches: NoSuchRow when its identity
// is gone, Conflict when it holds another entry.
Outcome RemoveWatchEntry(const Database &database, const WatchEntry &loaded);

}  // namespace storage
