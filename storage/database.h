#pragma once
// The database file 股票.mdb (SQLite) and its three tables. Every operation opens the file,
// runs, and closes it again; nothing stays open between operations. A file that is missing,
// empty or not an SQLite database is a failure of the operation and is never touched.

#include <QList>
#include <QPair>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <optional>

class QSqlDatabase;

namespace storage {

// How long an operation waits for another program's write to end before it fails.
inline constexpr int kBusyTimeoutMs = 3000;

// The file name, resolved against the current directory when an operation runs.
QString DatabaseFileName();

struct Table {
    const char *name;
    const char *identity;  // INTEGER PRIMARY KEY AUTOINCREMENT column
};
inline constexpr Table kGmm{"GMM", "IDS"};
inline constexpr Table kKsee{"KSEE", "MID"};

// Column names come from the program's own constants, never from input; values are bound.
using Columns = QList<QPair<QString, QVariant>>;

// What became of a change: made; not made because no row has its identity (any more); not
// made because the row with its identity holds other contents than the caller last read
// (changed by another program, or the file replaced); or not made because the file could not
// be read or written (missing, locked, busy, read-only).
enum class Outcome { Failed, Done, NoSuchRow, Conflict };

// Whether the row as stored now is still the one the caller read.
using RowMatch = std::function<bool(const QSqlRecord &)>;

// A change of the one row with `identity`: rewritten with `columns`, or removed.
struct RowChange {
    enum class Kind { Rewrite, Remove };
    Kind kind = Kind::Rewrite;
    qint64 identity = 0;
    Columns columns;  // the rewrite's columns
    RowMatch match;   // none: any row with the identity will do
    // A rewrite whose row is not there inserts its columns as a new row instead.
    bool storeWhenGone = false;
};

class Database {
public:
    enum class Mode { ReadWrite, ReadOnly };

    explicit Database(QString path = DatabaseFileName(), Mode mode = Mode::ReadWrite);

    // The first row of `setup`; empty when the operation fails or there is no row.
    std::optional<QSqlRecord> readSetup() const;
    // Rewrites the first row of `setup`, or inserts one with these columns when there is none.
    // A setup column the file lacks is added first, in the same transaction.
    bool writeSetup(const Columns &columns) const;

    std::optional<QList<QSqlRecord>> readAll(const Table &table) const;
    // Inserts a row and reads back the row this insert created; empty when it was not stored.
    std::optional<QSqlRecord> insert(const Table &table, const Columns &columns) const;
    Outcome update(const Table &table, qint64 identity, const Columns &columns,
                   const RowMatch &match = {}) const;
    Outcome remove(const Table &table, qint64 identity, const RowMatch &match = {}) const;
    // The changes in order, as one transaction: all or nothing. A change whose row holds
    // other contents undoes the whole with Conflict; one that finds no row (and does not store
    // anew) with NoSuchRow. `storedAnew` receives the identity of the last row a storeWhenGone
    // change inserted.
    Outcome apply(const Table &table, const QList<RowChange> &changes,
                  qint64 *storedAnew = nullptr) const;

    // Runs `work` on the file as one transaction, committed only when it gives true.
    bool transact(const std::function<bool(QSqlDatabase &)> &work) const;

    // A new file with the three tables, the empty journal and one `setup` row of the dialogs'
    // defaults. Refuses (false) when the file exists; never leaves a half-made file behind.
    static bool Create(const QString &path, QString *error = nullptr);

private:
    QString m_path;
    Mode m_mode;
};

// Column values in the forms the windows ask for. NULL reads as empty text, 0 or false; a
// value of another form (text in a number column, a fraction in an integer column) is a
// failure.
// Prepares `sql` on the query's connection, binds `values` in order and runs it.
bool Exec(QSqlQuery &query, const QString &sql, const QVariantList &values = {});

std::optional<QString> AmountText(const QVariant &value);
std::optional<int32_t> IntegerValue(const QVariant &value);
std::optional<bool> BooleanValue(const QVariant &value);

}  // namespace storage
