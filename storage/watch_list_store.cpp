#include "storage/watch_list_store.h"

#include "numbers/number_syntax.h"

namespace storage {

namespace {

std::optional<WatchEntry> EntryOf(const QSqlRecord &record) {
    const QVariant upper = record.value(QStringLiteral("KUP"));
    const QVariant lower = record.value(QStringLiteral("KDOWN"));
    const std::optional<QString> upperText = AmountText(upper);
    const std::optional<QString> lowerText = AmountText(lower);
    bool identityRead = false;
    const qint64 identity = record.value(QStringLiteral("MID")).toLongLong(&identityRead);
    if (!upperText || !lowerText || !identityRead ||
        !numbers::WithinDecimalLimit(upper.toDouble()) ||
        !numbers::WithinDecimalLimit(lower.toDouble())) {
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

// The row still holds the entry the caller read.
RowMatch StillReadsAs(const WatchEntry &loaded) {
    return [loaded](const QSqlRecord &record) {
        const std::optional<WatchEntry> now = EntryOf(record);
        return now && now->identity == loaded.identity && now->code == loaded.code &&
               now->name == loaded.name && now->upper.value == loaded.upper.value &&
               now->lower.value == loaded.lower.value;
    };
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

QList<WatchEntry> LoadWatchList(const Database &database, int *unreadable) {
    QList<WatchEntry> entries;
    int skipped = 0;
    const std::optional<QList<QSqlRecord>> rows = database.readAll(kKsee);
    for (const QSqlRecord &row : rows.value_or(QList<QSqlRecord>())) {
        if (const std::optional<WatchEntry> entry = EntryOf(row)) {
            entries.append(*entry);
        } else {
            ++skipped;
        }
    }
    if (unreadable != nullptr) {
        *unreadable = skipped;
    }
    return entries;
}

std::optional<WatchEntry> AddWatchEntry(const Database &database, const WatchEntry &entry) {
    const std::optional<QSqlRecord> row = database.insert(kKsee, EntryColumns(entry));
    return row ? EntryOf(*row) : std::nullopt;
}

std::optional<WatchEntry> UpdateWatchEntry(const Database &database, const WatchEntry &loaded,
                                           const WatchEntry &changed, Outcome *outcome) {
    qint64 storedAnew = 0;
    const Outcome result = database.apply(kKsee,
                                          {{RowChange::Kind::Rewrite, loaded.identity,
                                            EntryColumns(changed), StillReadsAs(loaded), false}},
                                          &storedAnew);
    if (outcome != nullptr) {
        *outcome = result;
    }
    if (result != Outcome::Done) {
        return std::nullopt;
    }
    WatchEntry stored = changed;
    stored.identity = storedAnew != 0 ? storedAnew : loaded.identity;
    stored.name = CleanName(changed.name);
    return stored;
}

Outcome RemoveWatchEntry(const Database &database, const WatchEntry &loaded) {
    return database.remove(kKsee, loaded.identity, StillReadsAs(loaded));
}

}  // namespace storage
