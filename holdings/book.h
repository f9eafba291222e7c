#pragma once
// The holdings book: the bought lots as numbers, read from table `GMM` and changed there. Each
// lot is held as the book last read or wrote it, and every change is checked against that, so
// a lot another program changed or removed meanwhile is never overwritten or stored anew: the
// book reads the table again instead and says so. Views (the holdings list, the live figures)
// show the book and hear what changed.

#include "holdings/holding_figures.h"
#include "storage/database.h"
#include "storage/holdings_store.h"

#include <QHash>
#include <QList>
#include <QObject>

#include <optional>

namespace holdings {

using Lot = storage::HoldingLot;

// What became of a change asked of the book.
struct BookOutcome {
    enum class Kind {
        Done,              // stored, and the book holds it
        ChangedElsewhere,  // a lot it touches changed or went elsewhere: nothing was written,
                           // the book has read the table again
        Refused,           // nothing was written: the lots will not do, or the file could not
                           // be written
    };
    Kind kind = Kind::Refused;
    // What to tell the user; none where nothing needs saying (a merge with nothing to merge).
    std::optional<Message> message;
    qint64 identity = 0;  // Done: the lot added, rewritten or merged into

    bool done() const { return kind == Kind::Done; }
};

class Book final : public QObject {
    Q_OBJECT
public:
    explicit Book(storage::Database database = storage::Database(), QObject *parent = nullptr);

    // Reads every lot again; false when the table cannot be read, and the lots stay as they
    // were. Rows that cannot be read are left out and counted.
    bool load();
    bool isLoaded() const { return m_loaded; }
    // In the order the table gave them, added lots last.
    const QList<Lot> &lots() const { return m_lots; }
    // The lot with this identity; null when the book holds none.
    const Lot *find(qint64 identity) const;
    // The rows the last load left out.
    qsizetype unreadable() const { return m_unreadable; }

    // Stores a new lot; its identity is the one the table gives it.
    BookOutcome add(const Lot &lot);
    // Rewrites the lot with this identity with `lot`'s code, price and quantity.
    BookOutcome save(qint64 identity, const Lot &lot);
    BookOutcome remove(qint64 identity);
    // Folds the lots with these identities (one code) into the first: the total quantity at
    // the exact average price, so that the cost stays what the lots cost; the others go. One
    // transaction: all or nothing.
    BookOutcome merge(const QList<qint64> &identities);

signals:
    // Every lot may have changed (a load).
    void reset();
    void lotAdded(qint64 identity);
    void lotChanged(qint64 identity);
    void lotRemoved(qint64 identity);
    // After each of the above, once per change asked of the book.
    void changed();

private:
    // A write that found its lot changed or gone: reads the table again.
    BookOutcome changedElsewhere();
    // The outcome of a write that did not happen for `outcome`.
    BookOutcome notWritten(storage::Outcome outcome, const QString &failure);
    void replace(const Lot &lot);
    void drop(const QList<qint64> &identities);
    void reindex();

    storage::Database m_database;
    QList<Lot> m_lots;
    QHash<qint64, qsizetype> m_index;  // identity → position in m_lots
    qsizetype m_unreadable = 0;
    bool m_loaded = false;
};

}  // namespace holdings
