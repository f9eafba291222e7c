#include "storage/jet_import.h"

#include "storage/jet_checks.h"
#include "storage/jet_content.h"
#include "storage/setup_columns.h"
#include "storage/watch_list_store.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace storage {

namespace {

QString RowName(const char *what, const QVariantList &row) {
    QString name = QString::fromUtf8(what) + QStringLiteral(" %1").arg(row[0].toString());
    if (row[1].typeId() == QMetaType::QString && !row[1].toString().isEmpty()) {
        // A damaged code is shown as far as it can be read, without its control characters.
        QString code = row[1].toString().left(12);
        std::replace_if(
            code.begin(), code.end(), [](QChar c) { return !c.isPrint(); }, u'?');
        name += QStringLiteral(" (%1)").arg(code);
    }
    return name;
}

// Inserts the rows that can be stored, identities kept, and names the others.
bool StoreRows(QSqlQuery &query, const QString &sql, const QList<QVariantList> &rows,
               Checked (*check)(const QVariantList &), const char *what, qsizetype *stored,
               QStringList *leftOut) {
    if (!query.prepare(sql)) {
        return false;
    }
    for (const QVariantList &row : rows) {
        const Checked checked = check(row);
        if (!checked.reason.isEmpty()) {
            leftOut->append(RowName(what, row) + QStringLiteral("：") + checked.reason);
            continue;
        }
        for (qsizetype i = 0; i < checked.values.size(); ++i) {
            query.bindValue(static_cast<int>(i), checked.values[i]);
        }
        if (!query.exec()) {
            return false;
        }
        ++*stored;
    }
    return true;
}

// The next identity of `table` comes after `last` (and after every identity given so far).
bool KeepCounterAbove(QSqlQuery &query, const Table &table, qint64 last) {
    const QString name = QString::fromLatin1(table.name);
    return Exec(query,
                QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ?, 0 WHERE NOT "
                               "EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ?)"),
                {name, name}) &&
           Exec(query,
                QStringLiteral("UPDATE sqlite_sequence SET seq = MAX(seq, ?) WHERE name = ?"),
                {last, name});
}

// What each settings column is called where the summary names it.
const char *const kSetupNames[] = {"买入印花税率",   "卖出印花税率", "买入佣金率", "卖出佣金率",
                                   "深市过户费",     "沪市过户费",   "最低佣金",   "差价计算器位置",
                                   "均价计算器位置", "自动刷新",     "刷新间隔",   "显示字号",
                                   "显示颜色"};

// The settings the file holds replace the target's; one that cannot be read is named and
// leaves the target's own value.
bool StoreSetup(QSqlDatabase &db, const QVariantList &values, JetImport *counted) {
    QStringList names;
    QVariantList bound;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString name = QString::fromLatin1(kJetSetupColumns[i]);
        const std::optional<QVariant> value = SetupValue(i, values[i]);
        if (!value) {
            counted->leftOut.append(QStringLiteral("设置 %1 (%2)：无法读取")
                                        .arg(name, QString::fromUtf8(kSetupNames[i])));
            continue;
        }
        names.append(name);
        bound.append(*value);
        counted->transferTaken = counted->transferTaken || i == kC1 || i == kC2;
    }
    // The Windows program charged the transfer fee per share only.
    if (counted->transferTaken &&
        db.record(QStringLiteral("setup")).contains(QStringLiteral("TB"))) {
        names.append(QStringLiteral("TB"));
        bound.append(kSetupColumns[kTB].low);
    }
    // Nor did it know the commissions of funds and bonds: they are the shares' there.
    for (const SetupColumnIndex column : kClassCommissionColumns) {
        const QString name = QString::fromLatin1(kSetupColumns[column].name.data(),
                                                 kSetupColumns[column].name.size());
        if (db.record(QStringLiteral("setup")).contains(name)) {
            names.append(name);
            bound.append(QVariant());
        }
    }
    if (names.isEmpty()) {
        return true;
    }
    QSqlQuery query(db);
    if (!Exec(query, QStringLiteral("SELECT rowid FROM setup LIMIT 1"))) {
        return false;
    }
    if (query.next()) {
        const QVariant row = query.value(0);
        query.finish();
        QStringList assignments;
        for (const QString &name : names) {
            assignments.append(name + QStringLiteral(" = ?"));
        }
        bound.append(row);
        return Exec(query,
                    QStringLiteral("UPDATE setup SET %1 WHERE rowid = ?")
                        .arg(assignments.join(QStringLiteral(", "))),
                    bound);
    }
    QStringList marks(names.size(), QStringLiteral("?"));
    return Exec(query,
                QStringLiteral("INSERT INTO setup (%1) VALUES (%2)")
                    .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                bound);
}

QByteArray FileHash(const QString &path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
        return {};
    }
    return hash.result().toHex();
}

const QString kRemembered = QStringLiteral("imported_files");

}  // namespace

QString UnreadableTarget(const JetStart &start) {
    return QStringLiteral(
               "数据文件夹中的数据库 %1 无法读取(可能正被另一程序使用或已损坏)，"
               "为免替换其中的数据，没有导入")
        .arg(QDir::toNativeSeparators(start.target));
}

bool UseTransferFeeOnAmount(const Database &target) {
    return target.writeSetup({{QStringLiteral("C1"), 0.01},
                              {QStringLiteral("C2"), 0.01},
                              {QStringLiteral("TB"), kSetupColumns[kTB].high}});
}

JetStart ExamineStart(const QString &current, const QString &dataFolder) {
    JetStart start;
    start.jetPath = QDir(current).filePath(DatabaseFileName());
    if (dataFolder.isEmpty() || !IsJetFile(start.jetPath) ||
        QFileInfo(current).canonicalFilePath() == QFileInfo(dataFolder).canonicalFilePath()) {
        return start;
    }
    start.dataFolder = dataFolder;
    start.target = QDir(dataFolder).filePath(DatabaseFileName());
    start.hash = FileHash(start.jetPath);
    if (start.hash.isEmpty()) {
        return start;
    }
    // Opened for writing: SQLite rolls back a write that was cut off before it reads.
    const Database target(start.target);
    const bool imported = QFileInfo::exists(start.target) && target.transact([&](QSqlDatabase &db) {
        QSqlQuery query(db);
        return Exec(query, QStringLiteral("SELECT 1 FROM %1 WHERE sha256 = ?").arg(kRemembered),
                    {start.hash}) &&
               query.next();
    });
    if (imported) {
        start.kind = JetStart::Kind::Imported;
        return start;
    }
    if (QFileInfo::exists(start.target)) {
        const std::optional<QList<QSqlRecord>> lots = target.readAll(kGmm);
        const std::optional<QList<QSqlRecord>> watched = target.readAll(kKsee);
        start.targetUnreadable = !lots || !watched;
        start.lots = lots ? lots->size() : 0;
        start.watched = watched ? watched->size() : 0;
    }
    start.kind = JetStart::Kind::Offer;
    return start;
}

bool StoreJetContent(const Database &target, const JetContent &content, const QByteArray &hash,
                     const QDateTime &when, JetImport *result) {
    JetImport counted;
    const bool stored = target.transact([&](QSqlDatabase &db) {
        QSqlQuery query(db);
        return Exec(query, QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (sha256 TEXT PRIMARY "
                                          "KEY, imported TEXT)")
                               .arg(kRemembered)) &&
               Exec(query, QStringLiteral("DELETE FROM GMM")) &&
               Exec(query, QStringLiteral("DELETE FROM KSEE")) &&
               (!content.setup || StoreSetup(db, *content.setup, &counted)) &&
               StoreRows(
                   query,
                   QStringLiteral("INSERT INTO GMM (IDS, MID, MONEY, NUMS) VALUES (?, ?, ?, ?)"),
                   content.lots, CheckLot, "持仓", &counted.lots, &counted.leftOut) &&
               StoreRows(query,
                         QStringLiteral("INSERT INTO KSEE (MID, KNUM, KNAME, KUP, KDOWN) VALUES "
                                        "(?, ?, ?, ?, ?)"),
                         content.watched, CheckWatched, "监控", &counted.watched,
                         &counted.leftOut) &&
               KeepCounterAbove(query, kGmm, content.lastLotIdentity) &&
               KeepCounterAbove(query, kKsee, content.lastWatchIdentity) &&
               Exec(query,
                    QStringLiteral("INSERT OR REPLACE INTO %1 VALUES (?, ?)").arg(kRemembered),
                    {hash, when.toUTC().toString(Qt::ISODate)});
    });
    if (stored) {
        result->lots = counted.lots;
        result->watched = counted.watched;
        result->leftOut = counted.leftOut;
        result->transferTaken = counted.transferTaken;
    }
    return stored;
}

JetImport ImportJetFile(const JetStart &start, const JetReader &read, const Now &now) {
    JetImport result;
    if (start.targetUnreadable) {
        result.error = UnreadableTarget(start);
        return result;
    }
    const std::optional<JetContent> content = read(start.jetPath, &result.error);
    if (!content) {
        return result;
    }
    // The file must still be the one the question was about.
    if (FileHash(start.jetPath) != start.hash) {
        result.error = QStringLiteral("文件在导入期间被改动");
        return result;
    }
    if (!QDir().mkpath(start.dataFolder)) {
        result.error = QStringLiteral("数据文件夹 %1 无法创建").arg(start.dataFolder);
        return result;
    }
    const bool created = !QFileInfo::exists(start.target);
    if (created && !Database::Create(start.target)) {
        result.error = QStringLiteral("数据文件夹中的数据库无法创建");
        return result;
    }
    const QDateTime when = now();
    // Whatever it holds: counts read at the question may already be out of date.
    if (!created) {
        QString backup = start.target + QStringLiteral(".bak");
        if (QFileInfo::exists(backup)) {
            backup = start.target + QLatin1Char('.') +
                     when.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                     QStringLiteral(".bak");
        }
        if (!QFile::copy(start.target, backup)) {
            result.error = QStringLiteral("原有数据无法备份到 %1").arg(backup);
            return result;
        }
        result.backup = backup;
    }
    if (!StoreJetContent(Database(start.target), *content, start.hash, when, &result)) {
        if (created) {
            QFile::remove(start.target);
        }
        if (!result.backup.isEmpty()) {
            QFile::remove(result.backup);
            result.backup.clear();
        }
        result.error = QStringLiteral("数据文件夹中的数据库 %1 无法写入").arg(start.target);
        return result;
    }
    result.done = true;
    return result;
}

}  // namespace storage
