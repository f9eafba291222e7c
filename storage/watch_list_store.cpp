#include "storage/watch_list_store.h"

namespace storage {

namespace {

std::optional<WatchEntry> EntryOf(const QSqlRecord &record) {
    const QVariant upper = record.value(QStringLiteral("KUP"));
    const QVariant lower = record.value(QStringLiteral("KDOWN"));
    const std::optional<QString> upperText = AmountText(upper);
    const std::optional<QString> lowerText = AmountText(lower);
    bool identityRead = false;
    const qint64 identity = record.value(QStringLiteral("MID")).toLongLong(&identityRead);
    if (!upperText || !lowerText || !identityRead) {
        return std::nullopt;
    }
    return WatchEntry{identity,
                      record.value(QStringLiteral("KNUM")).toString(),
                      CleanName(record.value(QStringLiteral("KNAME")).toString()),
                      {upper.toDouble(), *upperText},
                      {lower.toDouble(), *lowerText}};
}

Columns EntryColumns(const WatchEntry &entry) {
    return {{QStringLiteral("KNUM"), entry.code},
            {QStringLiteral("KNAME"), CleanName(entry.name)},
            {QStringLiteral("KUP"), entry.upper.value},
            {QStringLiteral("KDOWN"), entry.lower.value}};
}

bool SteersDirection(char16_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// Line and paragraph separators break a row in two; zero-width characters make two names
// that read alike differ.
bool BreaksOrHides(char16_t c) {
    return c == 0x2028 || c == 0x2029 || (c >= 0x200B && c <= 0x200D) ||
           (c >= 0x2060 && c <= 0x2064) || c == 0xFEFF;
}

}  // namespace

QString CleanName(const QString &name) {
    QString clean;
    clean.reserve(name.size());
    for (const QChar c : name) {
        if (c.category() != QChar::Other_Control && !SteersDirection(c.unicode()) &&
            !BreaksOrHides(c.unicode())) {
            clean.append(c);
        }
    }
    return clean;
}

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

std::optional<WatchEntry> AddWatchEntry(const Database &database, const WatchEntry &entry) {
    const std::optional<QSqlRecord> row = database.Insert(kKsee, EntryColumns(entry));
    return row ? EntryOf(*row) : std::nullopt;
}

Outcome UpdateWatchEntry(const Database &database, const WatchEntry &entry) {
    return database.Update(kKsee, entry.identity, EntryColumns(entry));
}

Outcome RemoveWatchEntry(const Database &database, qint64 identity) {
    return database.Remove(kKsee, identity);
}

}  // namespace storage
