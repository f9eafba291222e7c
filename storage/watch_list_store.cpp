#include "storage/watch_list_store.h"
#include "numbers/identity_text.h"

namespace storage {

using numbers::IdentityValue;

namespace {

std::optional<WatchEntry> EntryOf(const QSqlRecord &record) {
    const std::optional<QString> upper = AmountText(record.value(QStringLiteral("KUP")));
    const std::optional<QString> lower = AmountText(record.value(QStringLiteral("KDOWN")));
    bool identityRead = false;
    const qint64 identity = record.value(QStringLiteral("MID")).toLongLong(&identityRead);
    if (!upper || !lower || !identityRead) {
        return std::nullopt;
    }
    return WatchEntry{record.value(QStringLiteral("KNUM")).toString(),
                      record.value(QStringLiteral("KNAME")).toString(), *upper, *lower,
                      QString::number(identity)};
}

Columns EntryColumns(const QString &code, const QString &name, double upper, double lower) {
    return {{QStringLiteral("KNUM"), code},
            {QStringLiteral("KNAME"), name},
            {QStringLiteral("KUP"), upper},
            {QStringLiteral("KDOWN"), lower}};
}

}  // namespace

QList<WatchEntry> LoadWatchList(const Database &database) {
    QList<WatchEntry> entries;
    const std::optional<QList<QSqlRecord>> rows = database.ReadAll(kKsee);
    if (!rows) {
        return entries;
    }
    for (const QSqlRecord &row : *rows) {
        const std::optional<WatchEntry> entry = EntryOf(row);
        if (!entry) {
            break;
        }
        entries.append(*entry);
    }
    return entries;
}

std::optional<WatchEntry> AddWatchEntry(const Database &database, const QString &code,
                                        const QString &name, double upper, double lower) {
    const std::optional<QSqlRecord> row =
        database.Insert(kKsee, EntryColumns(code, name, upper, lower));
    return row ? EntryOf(*row) : std::nullopt;
}

bool UpdateWatchEntry(const Database &database, const QString &identity, const QString &code,
                      const QString &name, double upper, double lower) {
    const std::optional<qint64> id = IdentityValue(identity);
    return id && database.Update(kKsee, *id, EntryColumns(code, name, upper, lower));
}

bool RemoveWatchEntry(const Database &database, const QString &identity) {
    const std::optional<qint64> id = IdentityValue(identity);
    return id && database.Remove(kKsee, *id);
}

}  // namespace storage
