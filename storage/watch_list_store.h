#pragma once
// Table KSEE: the watched stocks with their alarm band.

#include "storage/database.h"

#include <QList>
#include <QString>

#include <optional>

namespace storage {

// One row as the watch list shows it: prices in the amount form, the identity as text.
struct WatchEntry {
    QString code;
    QString name;
    QString upper;
    QString lower;
    QString identity;
};

// The rows in the order the database returns them, up to the first that cannot be read
// (the rows before it are kept); nothing when the table cannot be read.
QList<WatchEntry> LoadWatchList(const Database &database);

// Stores a new row and gives it back as stored; empty when it was not stored.
std::optional<WatchEntry> AddWatchEntry(const Database &database, const QString &code,
                                        const QString &name, double upper, double lower);
bool UpdateWatchEntry(const Database &database, const QString &identity, const QString &code,
                      const QString &name, double upper, double lower);
bool RemoveWatchEntry(const Database &database, const QString &identity);

}  // namespace storage
