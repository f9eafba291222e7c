#include "storage/database.h"

#include "storage/journal_store.h"
#include "storage/setup_columns.h"
#include "storage/setup_migration.h"

#include <QAtomicInteger>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace storage {

namespace {

// SQLite opens anything and fails only at the first statement, and silently makes a
// database of an empty file: look at the header first so a foreign file stays untouched.
bool LooksLikeSqlite(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    static const QByteArray kMagic("SQLite format 3\0", 16);
    return file.read(16) == kMagic;
}

// Runs `work` on a fresh connection to the file and closes it again. Another program's write
// is waited for a few seconds before the file counts as locked and the operation fails.
template <class Work>
auto WithConnection(const QString &path, Database::Mode mode, bool mustExist, Work work)
    -> decltype(work(std::declval<QSqlDatabase &>())) {
    using Result = decltype(work(std::declval<QSqlDatabase &>()));
    if (mustExist && !LooksLikeSqlite(path)) {
        return Result{};
    }
    static QAtomicInteger<quint64> counter;
    const QString name = QStringLiteral("stockcalc-%1").arg(counter.fetchAndAddRelaxed(1));
    Result result{};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        const QString modeText = mode == Database::Mode::ReadOnly ? QStringLiteral("ro")
                                 : mustExist                      ? QStringLiteral("rw")
                                                                  : QStringLiteral("rwc");
        const QString absolute = QFileInfo(path).absoluteFilePath();
        db.setDatabaseName(QStringLiteral("file:") +
                           QString::fromUtf8(QUrl::toPercentEncoding(absolute, "/")) +
                           QStringLiteral("?mode=") + modeText);
        if (db.open()) {
            result = work(db);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

QString Quoted(const char *name) {
    return QString::fromLatin1(name);
}

// Several statements as one: all or nothing.
template <class Work>
bool InTransaction(QSqlDatabase &db, Work work) {
    if (!db.transaction()) {
        return false;
    }
    if (!work()) {
        db.rollback();
        return false;
    }
    return db.commit() || (db.rollback(), false);
}

QString Placeholders(qsizetype count) {
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i) {
        marks.append(QStringLiteral("?"));
    }
    return marks.join(QStringLiteral(", "));
}

QVariantList Values(const Columns &columns) {
    QVariantList values;
    for (const auto &column : columns) {
        values.append(column.second);
    }
    return values;
}

QString Assignments(const Columns &columns) {
    QStringList parts;
    for (const auto &column : columns) {
        parts.append(column.first + QStringLiteral(" = ?"));
    }
    return parts.join(QStringLiteral(", "));
}

QString Names(const Columns &columns) {
    QStringList names;
    for (const auto &column : columns) {
        names.append(column.first);
    }
    return names.join(QStringLiteral(", "));
}

}  // namespace

bool Exec(QSqlQuery &query, const QString &sql, const QVariantList &values) {
    if (!query.prepare(sql)) {
        return false;
    }
    for (const QVariant &value : values) {
        query.addBindValue(value);
    }
    return query.exec();
}

QString DatabaseFileName() {
    return QStringLiteral("股票.mdb");
}

Database::Database(QString path, Mode mode) : m_path(std::move(path)), m_mode(mode) {}

std::optional<QSqlRecord> Database::readSetup() const {
    return WithConnection(m_path, m_mode, true, [](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (!Exec(query, QStringLiteral("SELECT * FROM setup LIMIT 1")) || !query.next()) {
            return std::optional<QSqlRecord>();
        }
        return std::optional<QSqlRecord>(query.record());
    });
}

bool Database::writeSetup(const Columns &columns) const {
    return WithConnection(m_path, m_mode, true, [&columns](QSqlDatabase &db) {
        return InTransaction(db, [&] {
            if (!AddMissingSetupColumns(db, columns)) {
                return false;
            }
            QSqlQuery query(db);
            if (!Exec(query, QStringLiteral("SELECT rowid FROM setup LIMIT 1"))) {
                return false;
            }
            if (query.next()) {
                QVariantList values = Values(columns);
                values.append(query.value(0));
                query.finish();
                return Exec(
                    query,
                    QStringLiteral("UPDATE setup SET %1 WHERE rowid = ?").arg(Assignments(columns)),
                    values);
            }
            return Exec(query,
                        QStringLiteral("INSERT INTO setup (%1) VALUES (%2)")
                            .arg(Names(columns), Placeholders(columns.size())),
                        Values(columns));
        });
    });
}

std::optional<QList<QSqlRecord>> Database::readAll(const Table &table) const {
    return WithConnection(m_path, m_mode, true, [&table](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (!Exec(query, QStringLiteral("SELECT * FROM %1").arg(Quoted(table.name)))) {
            return std::optional<QList<QSqlRecord>>();
        }
        QList<QSqlRecord> rows;
        while (query.next()) {
            rows.append(query.record());
        }
        if (query.lastError().isValid()) {
            return std::optional<QList<QSqlRecord>>();
        }
        return std::optional<QList<QSqlRecord>>(rows);
    });
}

std::optional<QSqlRecord> Database::insert(const Table &table, const Columns &columns) const {
    return WithConnection(m_path, m_mode, true, [&](QSqlDatabase &db) {
        std::optional<QSqlRecord> inserted;
        const bool committed = InTransaction(db, [&] {
            QSqlQuery query(db);
            if (!Exec(query,
                      QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(Quoted(table.name), Names(columns), Placeholders(columns.size())),
                      Values(columns))) {
                return false;
            }
            // The identity this insert created, whoever else writes to the table.
            const QVariant identity = query.lastInsertId();
            if (!identity.isValid() ||
                !Exec(query,
                      QStringLiteral("SELECT * FROM %1 WHERE %2 = ?")
                          .arg(Quoted(table.name), Quoted(table.identity)),
                      {identity}) ||
                !query.next()) {
                return false;
            }
            inserted = query.record();
            query.finish();
            return true;
        });
        // A row whose commit failed was rolled back: there is nothing to report.
        return committed ? inserted : std::nullopt;
    });
}

Outcome Database::update(const Table &table, qint64 identity, const Columns &columns,
                         const RowMatch &match) const {
    return apply(table, {{RowChange::Kind::Rewrite, identity, columns, match}});
}

Outcome Database::remove(const Table &table, qint64 identity, const RowMatch &match) const {
    return apply(table, {{RowChange::Kind::Remove, identity, {}, match}});
}

Outcome Database::apply(const Table &table, const QList<RowChange> &changes,
                        qint64 *storedAnew) const {
    return WithConnection(m_path, m_mode, true, [&](QSqlDatabase &db) {
        if (!db.transaction()) {
            return Outcome::Failed;
        }
        const QString name = Quoted(table.name);
        const QString byIdentity = Quoted(table.identity) + QStringLiteral(" = ?");
        Outcome outcome = Outcome::Done;
        qint64 inserted = 0;
        // The row is read and judged first, inside the transaction, so that nothing can come
        // between the judgement and the write.
        QSqlQuery read(db);
        QSqlQuery write(db);
        QString prepared;
        if (!read.prepare(QStringLiteral("SELECT * FROM %1 WHERE %2").arg(name, byIdentity))) {
            outcome = Outcome::Failed;
        }
        for (const RowChange &change : changes) {
            if (outcome != Outcome::Done) {
                break;
            }
            read.bindValue(0, change.identity);
            if (!read.exec()) {
                outcome = Outcome::Failed;
                break;
            }
            const bool present = read.next();
            const bool matches = !present || !change.match || change.match(read.record());
            if (read.lastError().isValid()) {
                outcome = Outcome::Failed;
                break;
            }
            read.finish();
            if (!matches) {
                outcome = Outcome::Conflict;
                break;
            }
            if (!present && !(change.kind == RowChange::Kind::Rewrite && change.storeWhenGone)) {
                outcome = Outcome::NoSuchRow;
                break;
            }
            QString sql;
            QVariantList values;
            if (!present) {
                sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(name, Names(change.columns), Placeholders(change.columns.size()));
                values = Values(change.columns);
            } else if (change.kind == RowChange::Kind::Remove) {
                sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(name, byIdentity);
                values = {change.identity};
            } else {
                sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                          .arg(name, Assignments(change.columns), byIdentity);
                values = Values(change.columns) << change.identity;
            }
            // A run of like changes (a merge's deletes) is compiled once.
            if (sql != prepared && !write.prepare(sql)) {
                outcome = Outcome::Failed;
                break;
            }
            prepared = sql;
            for (qsizetype i = 0; i < values.size(); ++i) {
                write.bindValue(static_cast<int>(i), values[i]);
            }
            if (!write.exec()) {
                outcome = Outcome::Failed;
                break;
            }
            if (!present) {
                if (!write.lastInsertId().isValid()) {
                    outcome = Outcome::Failed;
                    break;
                }
                inserted = write.lastInsertId().toLongLong();
            }
        }
        read.finish();
        write.finish();
        if (outcome != Outcome::Done || !db.commit()) {
            db.rollback();
            return outcome == Outcome::Done ? Outcome::Failed : outcome;
        }
        if (storedAnew != nullptr && inserted != 0) {
            *storedAnew = inserted;
        }
        return Outcome::Done;
    });
}

bool Database::transact(const std::function<bool(QSqlDatabase &)> &work) const {
    return WithConnection(m_path, m_mode, true, [&work](QSqlDatabase &db) {
        return InTransaction(db, [&] { return work(db); });
    });
}

bool Database::Create(const QString &path, QString *error) {
    const auto fail = [error](const QString &why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    if (QFileInfo::exists(path)) {
        return fail(QStringLiteral("%1 already exists; it is left as it is").arg(path));
    }
    // Built under a temporary name beside the target and renamed when complete.
    const QFileInfo target(path);
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.stockcalc-XXXXXX"));
    if (!temporary.open()) {
        return fail(QStringLiteral("cannot write in %1").arg(target.absolutePath()));
    }
    temporary.close();
    QFile::remove(temporary.fileName());
    const bool built =
        WithConnection(temporary.fileName(), Mode::ReadWrite, false, [](QSqlDatabase &db) {
            return InTransaction(db, [&db] {
                QSqlQuery query(db);
                QStringList definitions;
                QVariantList initial;
                for (const SetupColumn &column : kSetupColumns) {
                    definitions.append(QString::fromLatin1(column.name.data(), column.name.size()) +
                                       QLatin1Char(' ') +
                                       QString::fromLatin1(column.type.data(), column.type.size()));
                    initial.append(column.nullable         ? QVariant()
                                   : column.type == "REAL" ? QVariant(column.initial)
                                                           : QVariant(qint64(column.initial)));
                }
                return Exec(query, QStringLiteral("CREATE TABLE setup (%1)")
                                       .arg(definitions.join(QStringLiteral(", ")))) &&
                       Exec(query, QStringLiteral("CREATE TABLE GMM (IDS INTEGER PRIMARY KEY "
                                                  "AUTOINCREMENT, MID TEXT, MONEY REAL, "
                                                  "NUMS INTEGER)")) &&
                       Exec(query, QStringLiteral("CREATE TABLE KSEE (MID INTEGER PRIMARY KEY "
                                                  "AUTOINCREMENT, KNUM TEXT, KNAME TEXT, "
                                                  "KUP REAL, KDOWN REAL)")) &&
                       EnsureTradesTable(db) &&
                       Exec(query,
                            QStringLiteral("INSERT INTO setup VALUES (%1)")
                                .arg(Placeholders(initial.size())),
                            initial);
            });
        });
    if (!built) {
        QFile::remove(temporary.fileName());
        return fail(QStringLiteral("cannot create the tables"));
    }
    // QFile::rename never replaces an existing file.
    if (!QFile::rename(temporary.fileName(), path)) {
        QFile::remove(temporary.fileName());
        return fail(QStringLiteral("%1 appeared meanwhile; it is left as it is").arg(path));
    }
    return true;
}

}  // namespace storage
