// Reading the Windows program's Jet files and bringing them into the data folder's database.

#include "storage/holdings_store.h"
#include "storage/jet_file.h"
#include "storage/jet_import.h"
#include "storage/jet_reader_process.h"
#include "storage/setup_store.h"
#include "storage/watch_list_store.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace storage;

namespace {

QString Fixture(const QString &name) {
    return QStringLiteral(JET_DATA "/") + name;
}

const QDateTime kNow(QDate(2026, 3, 2), QTime(1, 30), Qt::UTC);

// The import as the program runs it: the file read by the separate reading program.
JetImport Import(const JetStart &start) {
    const JetReader read = [](const QString &path, QString *error) {
        return ReadJetFileApart(QStringLiteral(JET_READER), path, JetReaderLimits{}, error);
    };
    return ImportJetFile(start, read, [] { return kNow; });
}

void Write(const QString &path, const QByteArray &bytes, QFile::Permissions permissions = {}) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    if (permissions) {
        QVERIFY(file.setPermissions(permissions));
    }
}

QByteArray Bytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The header's fixed RC4 mask, applied again to flip one password byte of a Jet 4 file.
QByteArray WithPassword(QByteArray file) {
    quint8 s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = quint8(i);
    const quint8 key[] = {0xc7, 0xda, 0x39, 0x6b};
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < 128; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        if (0x18 + n == 0x42)
            file[0x42] = char(file[0x42] ^ s[(s[i] + s[j]) & 0xff] ^ 'p');
    }
    return file;
}

// mdbtools' own reading of a table, as text cells.
QList<QStringList> Exported(const QString &file, const QString &table) {
    QProcess process;
    process.start(QStringLiteral("mdb-export"), {QStringLiteral("-Q"), file, table});
    process.waitForFinished();
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        if (!line.isEmpty())
            rows.append(line.split(','));
    }
    return rows.mid(1);
}

}  // namespace

class TestJetImport : public QObject {
    Q_OBJECT
private slots:
    void valuesAsMdbtoolsReadsThem_data();
    void valuesAsMdbtoolsReadsThem();
    void valuesExact();
    void badFiles_data();
    void badFiles();
    void importKeepsIdentitiesAndIsNotOfferedAgain();
    void rowsThatCannotBeStoredAreNamed();
    void rowsTheProgramCannotReadAreLeftOut_data();
    void rowsTheProgramCannotReadAreLeftOut();
    void setupValuesThatCannotBeReadAreNamed();
    void existingDataIsBackedUpAndReplaced_data();
    void existingDataIsBackedUpAndReplaced();
    void interruptedWriteIsRolledBackFirst();
    void unreadableTargetIsNotReplaced();
    void failurePartWayChangesNothing();
    void readerFailuresAreNamed_data();
    void readerFailuresAreNamed();
};

void TestJetImport::valuesAsMdbtoolsReadsThem_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("digits");  // mdbtools prints a Single with 8
    QTest::newRow("2000") << Fixture("jet4-realistic.mdb") << 15;
    QTest::newRow("2002-2003") << Fixture("jet4-2003-realistic.mdb") << 15;
    QTest::newRow("other types") << Fixture("jet4-alt-types.mdb") << 8;
}

// Every value of every row at the 15 significant digits the program shows (mdbtools prints
// a Double with %.16g, which cannot tell 0.3 from the next double).
void TestJetImport::valuesAsMdbtoolsReadsThem() {
    QFETCH(QString, file);
    QFETCH(int, digits);
    QString error;
    const std::optional<JetContent> content = ReadJetFile(file, &error);
    QVERIFY2(content, qPrintable(error));
    const QList<QPair<QString, QList<QVariantList>>> tables{
        {"setup", {*content->setup}}, {"GMM", content->lots}, {"KSEE", content->watched}};
    for (const auto &[table, rows] : tables) {
        const QList<QStringList> expected = Exported(file, table);
        QCOMPARE(rows.size(), expected.size());
        for (qsizetype r = 0; r < rows.size(); ++r) {
            for (qsizetype c = 0; c < rows[r].size(); ++c) {
                // Both as the type read: a number at `digits`, Yes/No as 1 or 0.
                QVariant value = rows[r][c], cell = expected[r][c];
                QVERIFY(value.typeId() == QMetaType::Bool || cell.convert(value.metaType()));
                const auto shown = [digits](const QVariant &v) {
                    return v.typeId() == QMetaType::Double
                               ? QString::number(v.toDouble(), 'g', digits)
                               : v.toString();
                };
                QCOMPARE(shown(value.typeId() == QMetaType::Bool ? value.toInt() : value),
                         shown(cell));
            }
        }
    }
    QCOMPARE(content->lots.size(), 30);
    QCOMPARE(content->lastLotIdentity, 34);  // 34 was deleted: the counter remembers it
    QCOMPARE(content->lastWatchIdentity, 21);
}

void TestJetImport::valuesExact() {
    const JetContent edge = *ReadJetFile(Fixture("jet4-edge.mdb"), nullptr);
    QVERIFY(!edge.setup->at(0).isValid());  // NULL, not 0
    QCOMPARE(edge.setup->at(9), QVariant(false));
    QCOMPARE(edge.lots[1], (QVariantList{3LL, "600000", 0.0001, 2147483647LL}));
    QVERIFY(!edge.lots[2][1].isValid());             // MID NULL ...
    QCOMPARE(edge.lots[8][1], QVariant(QString()));  // ... and MID '' told apart
    QCOMPARE(edge.lots[7][2].toDouble(), 0.30000000000000004);
    QCOMPARE(edge.lots[6][2].toDouble(), 1234567.891);
    QCOMPARE(edge.watched[6], (QVariantList{7LL, "000005", "中\"国,平'安", 12.3456, 0.0001}));
    QCOMPARE(edge.watched[8][2], QVariant("堃鎔"));
    QCOMPARE(edge.watched[9][2], QVariant("𠮷野家"));
    QCOMPARE(edge.watched[0][2].toString().size(), 30);
    const JetContent alt = *ReadJetFile(Fixture("jet4-alt-types.mdb"), nullptr);
    QCOMPARE(alt.setup->at(3).toDouble(), double(0.3f));  // a Single, widened exactly
    QCOMPARE(alt.setup->at(7), QVariant(1LL));            // an Integer
    const JetContent empty = *ReadJetFile(Fixture("jet4-empty.mdb"), nullptr);
    QVERIFY(!empty.setup && empty.lots.isEmpty() && empty.watched.isEmpty());
}

void TestJetImport::badFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QByteArray good = Bytes(Fixture("jet4-realistic.mdb"));
    QByteArray noise = good.left(4096);
    for (int i = 4096; i < good.size(); ++i)
        noise.append(char((i * 7919) >> 3));
    QByteArray accdb = good;
    accdb[0x14] = 2;
    QTest::newRow("truncated") << good.left(10000) << "截断";
    QTest::newRow("pages cut off") << good.left(good.size() - 4096) << "表 KSEE 的数据不完整";
    QTest::newRow("noise after the header") << noise << "表目录无法读取";
    QTest::newRow("accdb") << accdb << ".accdb";
    QTest::newRow("password") << WithPassword(good) << "密码";
    QTest::newRow("missing table")
        << QByteArray(good).replace("K\0S\0E\0E\0", 8, "K\0S\0E\0X\0", 8) << "缺少表 KSEE";
    QTest::newRow("missing column")
        << QByteArray(good).replace("N\0U\0M\0S\0", 8, "N\0U\0M\0X\0", 8) << "表 GMM 缺少列 NUMS";
    QTest::newRow("not a Jet file") << QByteArray("Standard Jet DB\0\0\0", 18) << "不是";
    // Single damaged bytes in the lots table, each of which once brought the program down.
    const auto damaged = [&good](int page, int offset, char byte) {
        QByteArray bytes = good;
        bytes[page * 4096 + offset] = byte;
        return bytes;
    };
    QTest::newRow("row claims too many columns") << damaged(34, 3767, 0x38) << "表 GMM 的数据损坏";
    QTest::newRow("row slot points inside a row") << damaged(34, 14, 0x02) << "表 GMM 的数据";
    QTest::newRow("page map pointer") << damaged(26, 55, 0x2e) << "表 GMM 无法读取";
}

void TestJetImport::badFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QTemporaryDir folder;
    const QString path = folder.filePath("股票.mdb");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QString why;
    QVERIFY(!ReadJetFile(path, &why));
    QVERIFY2(why.contains(error), qPrintable(why));
    QCOMPARE(Bytes(path), bytes);
}

void TestJetImport::importKeepsIdentitiesAndIsNotOfferedAgain() {
    QTemporaryDir current, data;
    const QString jet = current.filePath("股票.mdb");
    QVERIFY(QFile::copy(Fixture("jet4-realistic.mdb"), jet));
    const QByteArray before = Bytes(jet);
    const JetStart start = ExamineStart(current.path(), data.filePath("stockcalc"));
    QCOMPARE(start.kind, JetStart::Kind::Offer);
    const JetImport result = Import(start);
    QVERIFY2(result.done, qPrintable(result.error));
    QCOMPARE(result.lots, 30);
    QCOMPARE(result.watched, 20);
    QVERIFY(result.leftOut.isEmpty() && result.backup.isEmpty());
    const Database target(start.target);
    const QList<HoldingLot> lots = *ReadLots(target);
    QCOMPARE(lots.size(), 30);
    QCOMPARE(lots[2], (HoldingLot{3, "601318", 45.67, 1000}));
    QCOMPARE(*LoadFeeTexts(target),
             (numbers::FeeTexts{"0", "0.5", "0.25", "0.3", "0.02", "0.02", "1.5"}));
    const StoredSystemParameters system = LoadSystemParameters(target);
    QCOMPARE(system.differenceCorner, 1);
    QCOMPARE(system.refreshOn, true);
    QCOMPARE(system.colourIndex, 9);
    // Each alarm price in its own column, as the file has them.
    const JetContent content = *ReadJetFile(start.jetPath, nullptr);
    const QList<WatchEntry> watched = LoadWatchList(target);
    QCOMPARE(watched.size(), content.watched.size());
    QVERIFY(content.watched[0][3] != content.watched[0][4]);
    for (qsizetype i = 0; i < watched.size(); ++i) {
        QCOMPARE(watched[i].upper.value, content.watched[i][3].toDouble());
        QCOMPARE(watched[i].lower.value, content.watched[i][4].toDouble());
    }
    QCOMPARE(InsertLot(target, {0, "600000", 1, 100})->identity, 35);
    QCOMPARE(AddWatchEntry(target, {0, "600000", "x", {1, "1"}, {1, "1"}})->identity, 22);
    QCOMPARE(Bytes(jet), before);
    QCOMPARE(ExamineStart(current.path(), data.filePath("stockcalc")).kind,
             JetStart::Kind::Imported);
}

void TestJetImport::rowsThatCannotBeStoredAreNamed() {
    QTemporaryDir current, data;
    QVERIFY(QFile::copy(Fixture("jet4-edge.mdb"), current.filePath("股票.mdb")));
    const JetImport result = Import(ExamineStart(current.path(), data.path()));
    QVERIFY2(result.done, qPrintable(result.error));
    QCOMPARE(result.lots, 5);
    QCOMPARE(result.watched, 7);
    // The settings row is NULL throughout but for the switch, which Jet never leaves NULL.
    QStringList setup;
    for (const char *column :
         {"A1 (买入印花税率)", "A2 (卖出印花税率)", "B1 (买入佣金率)", "B2 (卖出佣金率)",
          "C1 (深市过户费)", "C2 (沪市过户费)", "LM (最低佣金)", "S1 (差价计算器位置)",
          "S2 (均价计算器位置)", "TM (刷新间隔)", "FZ (显示字号)", "FC (显示颜色)"})
        setup << QString("设置 %1：无法读取").arg(column);
    setup << "持仓 4：缺少股票代码"
          << "持仓 5 (000002)：缺少买入价格"
          << "持仓 6 (000003)：缺少股数"
          << "持仓 10：股票代码不是六位数字"
          << "监控 2：缺少股票代码"
          << "监控 4 (000002)：缺少上限价格"
          << "监控 5 (000003)：缺少下限价格";
    QCOMPARE(result.leftOut, setup);
    QVERIFY(!result.transferTaken);
    const Database target(data.filePath("股票.mdb"));
    QCOMPARE(LoadWatchList(target)[1].name, QString());  // a NULL name is an empty one
    // NULL rates are not taken: the fresh database keeps its own.
    QCOMPARE(*LoadFeeTexts(target), (numbers::FeeTexts{"0", "1", "3", "3", "0", "0.1", "5"}));
}

void TestJetImport::rowsTheProgramCannotReadAreLeftOut_data() {
    QTest::addColumn<QVariantList>("lot");
    QTest::addColumn<QVariantList>("watched");
    QTest::addColumn<QString>("leftOut");
    const QVariantList lot{1LL, "600000", 10.0, 100LL};
    const QVariantList watched{1LL, "600000", "x", 12.0, 8.0};
    QTest::newRow("largest amount") << QVariantList{1LL, "600000", 1e9, 1000000LL} << watched << "";
    QTest::newRow("price too large")
        << QVariantList{1LL, "600000", 2e15, 1LL} << watched << "持仓 1 (600000)：买入价格超出范围";
    QTest::newRow("amount too large") << QVariantList{1LL, "600000", 1e9, 1000001LL} << watched
                                      << "持仓 1 (600000)：买入金额超出范围";
    QTest::newRow("upper too large") << lot << QVariantList{1LL, "600000", "x", 2e15, 8.0}
                                     << "监控 1 (600000)：上限价格超出范围";
    // Codes are six digits, as typed.
    QTest::newRow("code with a superscript") << QVariantList{1LL, "00²714", 10.0, 100LL} << watched
                                             << "持仓 1 (00²714)：股票代码不是六位数字";
    QTest::newRow("code with NUL")
        << lot << QVariantList{1LL, QString("60000") + QChar(0), "x", 12.0, 8.0}
        << "监控 1 (60000?)：股票代码不是六位数字";
    QTest::newRow("five digits") << lot << QVariantList{1LL, "60000", "x", 12.0, 8.0}
                                 << "监控 1 (60000)：股票代码不是六位数字";
}

// What is imported reads back whole: no row the holdings or the watch list would skip.
void TestJetImport::rowsTheProgramCannotReadAreLeftOut() {
    QFETCH(QVariantList, lot);
    QFETCH(QVariantList, watched);
    QFETCH(QString, leftOut);
    QTemporaryDir data;
    QVERIFY(Database::Create(data.filePath("股票.mdb")));
    const Database target(data.filePath("股票.mdb"));
    JetContent content;
    content.lots = {lot};
    content.watched = {watched};
    JetImport result;
    QVERIFY(StoreJetContent(target, content, "hash", kNow, &result));
    QCOMPARE(result.leftOut.join('\n'), leftOut);
    int unreadableLots = -1, unreadableWatched = -1;
    QCOMPARE(ReadLots(target, &unreadableLots)->size(), result.lots);
    QCOMPARE(LoadWatchList(target, &unreadableWatched).size(), result.watched);
    QCOMPARE(unreadableLots + unreadableWatched, 0);
    QCOMPARE(result.lots + result.watched, leftOut.isEmpty() ? 2 : 1);
}

// A settings value that cannot be read leaves the target's own, and is named.
void TestJetImport::setupValuesThatCannotBeReadAreNamed() {
    QTemporaryDir data;
    const Database target(data.filePath("股票.mdb"));
    QVERIFY(Database::Create(data.filePath("股票.mdb")));
    JetContent content;
    content.setup = QVariantList{QVariant(), 0.5, "0.3", 0.25, 0.02, 0.03, qInf(),
                                 1LL,        2.5, true,  15LL, 90LL, 9LL};
    JetImport result;
    QVERIFY(StoreJetContent(target, content, "hash", kNow, &result));
    QCOMPARE(result.leftOut,
             (QStringList{"设置 A1 (买入印花税率)：无法读取", "设置 B1 (买入佣金率)：无法读取",
                          "设置 LM (最低佣金)：无法读取", "设置 S2 (均价计算器位置)：无法读取"}));
    QVERIFY(result.transferTaken);
    QCOMPARE(*LoadFeeTexts(target),
             (numbers::FeeTexts{"0", "0.5", "3", "0.25", "0.02", "0.03", "5"}));
    const StoredSystemParameters system = LoadSystemParameters(target);
    QCOMPARE(system.differenceCorner, 1);
    QCOMPARE(system.averageCorner, 4);
    QCOMPARE(system.refreshOn, true);
    QCOMPARE(system.refreshSeconds, 15);
    QCOMPARE(system.fontSize, 90);
    QCOMPARE(system.colourIndex, 9);
}

void TestJetImport::existingDataIsBackedUpAndReplaced_data() {
    QTest::addColumn<int>("lots");
    QTest::addColumn<bool>("olderBackup");
    QTest::newRow("lots") << 1 << false;
    QTest::newRow("settings only") << 0 << false;
    QTest::newRow("older backup there") << 1 << true;
}

// Whatever the data folder's database holds, it is copied before it is replaced.
void TestJetImport::existingDataIsBackedUpAndReplaced() {
    QFETCH(int, lots);
    QFETCH(bool, olderBackup);
    QTemporaryDir current, data;
    QVERIFY(QFile::copy(Fixture("jet4-empty.mdb"), current.filePath("股票.mdb")));
    const QString target = data.filePath("股票.mdb");
    QVERIFY(Database::Create(target));
    for (int i = 0; i < lots; ++i)
        QVERIFY(InsertLot(Database(target), {0, "000001", 9, 100}));
    QVERIFY(SaveFeeSchedule(Database(target), {0, 0.5, 0.25, 0.25, 0, 0, 5}));
    if (olderBackup)
        Write(target + ".bak", "older");
    const JetStart start = ExamineStart(current.path(), data.path());
    QCOMPARE(start.lots, lots);
    const JetImport result = Import(start);
    QVERIFY(result.done);
    QCOMPARE(result.backup, olderBackup
                                ? target + kNow.toLocalTime().toString(".yyyyMMdd-HHmmss") + ".bak"
                                : target + ".bak");
    QCOMPARE(ReadLots(Database(result.backup))->size(), lots);
    QCOMPARE(ReadLots(Database(target))->size(), 0);
    // A file without a settings row leaves the rates as they were.
    QCOMPARE(LoadFeeTexts(Database(target))->at(1), "0.5");
    QCOMPARE(LoadFeeTexts(Database(result.backup))->at(1), "0.5");
}

// A write cut off in the data folder's database leaves its journal beside it: the lots are
// those from before that write, and they are counted and backed up, not taken for none.
void TestJetImport::interruptedWriteIsRolledBackFirst() {
    QTemporaryDir current, data;
    QVERIFY(QFile::copy(Fixture("jet4-empty.mdb"), current.filePath("股票.mdb")));
    const QString target = data.filePath("股票.mdb");
    QVERIFY(Database::Create(target));
    QVERIFY(Database(target).transact([](QSqlDatabase &db) {
        QSqlQuery query(db);
        for (int i = 1; i <= 2000; ++i) {
            if (!Exec(query, "INSERT INTO GMM (MID, MONEY, NUMS) VALUES ('600000', 1, ?)", {i}))
                return false;
        }
        return true;
    }));
    // A small page cache makes the deletion reach the file before the commit; the file and
    // its journal are kept as a killed program leaves them.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "cut");
        db.setDatabaseName(target);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec("PRAGMA cache_size = 1") && query.exec("PRAGMA cache_spill = 1"));
        QVERIFY(db.transaction() && query.exec("DELETE FROM GMM"));
        QVERIFY(QFile::copy(target, data.filePath("cut")));
        QVERIFY(QFile::copy(target + "-journal", data.filePath("cut-journal")));
        query.finish();
        db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase("cut");
    QVERIFY(Bytes(data.filePath("cut")) != Bytes(target));  // the deletion reached the file
    Write(target, Bytes(data.filePath("cut")));
    Write(target + "-journal", Bytes(data.filePath("cut-journal")));
    const JetStart start = ExamineStart(current.path(), data.path());
    QVERIFY(!start.targetUnreadable);
    QCOMPARE(start.lots, 2000);
    const JetImport result = Import(start);
    QVERIFY2(result.done, qPrintable(result.error));
    QCOMPARE(ReadLots(Database(result.backup))->size(), 2000);
}

// What a database that cannot be read holds is unknown: it is never taken for empty.
void TestJetImport::unreadableTargetIsNotReplaced() {
    QTemporaryDir current, data;
    QVERIFY(QFile::copy(Fixture("jet4-realistic.mdb"), current.filePath("股票.mdb")));
    Write(data.filePath("股票.mdb"), "SQLite format 3");
    const JetStart start = ExamineStart(current.path(), data.path());
    QVERIFY(start.targetUnreadable);
    const JetImport result = Import(start);
    QVERIFY(!result.done);
    QVERIFY2(result.error.contains("无法读取"), qPrintable(result.error));
    QCOMPARE(Bytes(data.filePath("股票.mdb")), QByteArray("SQLite format 3"));
}

void TestJetImport::failurePartWayChangesNothing() {
    QTemporaryDir current, data;
    QVERIFY(QFile::copy(Fixture("jet4-realistic.mdb"), current.filePath("股票.mdb")));
    const QString target = data.filePath("股票.mdb");
    QVERIFY(Database::Create(target));
    QVERIFY(InsertLot(Database(target), {0, "000001", 9, 100}));
    // The twentieth lot is refused, after nineteen went in.
    QVERIFY(Database(target).transact([](QSqlDatabase &db) {
        return QSqlQuery(db).exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON GMM WHEN NEW.IDS = 20 "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    }));
    const QByteArray before = Bytes(target);
    const JetStart start = ExamineStart(current.path(), data.path());
    const JetImport result = Import(start);
    QVERIFY(!result.done);
    QVERIFY(result.error.contains(target));
    QCOMPARE(Bytes(target), before);
    QCOMPARE(QDir(data.path()).entryList(QDir::Files), QStringList{"股票.mdb"});
    QCOMPARE(ExamineStart(current.path(), data.path()).kind, JetStart::Kind::Offer);
}

void TestJetImport::readerFailuresAreNamed_data() {
    QTest::addColumn<QString>("script");  // the reading program; empty: the real one
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");  // empty: read as the reader linked in reads it
    const QString realistic = Fixture("jet4-realistic.mdb");
    QTest::newRow("whole") << "" << realistic << "";
    QTest::newRow("other types") << "" << Fixture("jet4-alt-types.mdb") << "";
    QTest::newRow("edge values") << "" << Fixture("jet4-edge.mdb") << "";
    QTest::newRow("reason passed on") << "" << QString(JET_DATA "/../../CMakeLists.txt") << "不是";
    QTest::newRow("crash") << "kill -SEGV $$" << realistic << "信号 11";
    QTest::newRow("wall clock") << "exec sleep 30" << realistic << "2 秒仍未完成";
    QTest::newRow("processor time") << "exit 4" << realistic << "2 秒仍未完成";
    QTest::newRow("output cap") << "head -c 3000000 /dev/zero" << realistic << "超过 1 MB 上限";
    QTest::newRow("memory") << "exit 3" << realistic << "内存超过 512 MB 上限";
    QTest::newRow("other exit") << "exit 5" << realistic << "代码 5";
    QTest::newRow("garbage") << "echo junk" << realistic << "无法解析";
    QTest::newRow("cut short") << "\"$READER\" \"$@\" | head -c 300" << realistic << "无法解析";
    QTest::newRow("trailing bytes") << "\"$READER\" \"$@\"; echo x" << realistic << "无法解析";
    QTest::newRow("missing program") << "-" << realistic << "无法启动";
}

// The reading program's outcome: the content as read in this process, or a failure that
// names what went wrong there.
void TestJetImport::readerFailuresAreNamed() {
    QFETCH(QString, script);
    QFETCH(QString, file);
    QFETCH(QString, error);
    QTemporaryDir folder;
    QString reader = QStringLiteral(JET_READER);
    if (script == "-") {
        reader = folder.filePath("none");
    } else if (!script.isEmpty()) {
        reader = folder.filePath("reader");
        Write(reader, ("#!/bin/sh\nREADER='" JET_READER "'\n" + script + "\n").toUtf8(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const JetReaderLimits limits{2, qint64(512) << 20, 1 << 20};
    QString why;
    const std::optional<JetContent> content = ReadJetFileApart(reader, file, limits, &why);
    if (!error.isEmpty()) {
        QVERIFY(!content);
        QVERIFY2(why.contains(error), qPrintable(why));
        return;
    }
    QVERIFY2(content, qPrintable(why));
    const JetContent here = *ReadJetFile(file, nullptr);
    QCOMPARE(content->setup, here.setup);
    QCOMPARE(content->lots, here.lots);
    QCOMPARE(content->watched, here.watched);
    QCOMPARE(content->lastLotIdentity, here.lastLotIdentity);
    QCOMPARE(content->lastWatchIdentity, here.lastWatchIdentity);
}

QTEST_GUILESS_MAIN(TestJetImport)
#include "test_jet_import.moc"
