// The database file on real temporary files: value forms, identities, and the faults that
// must fail an operation without touching the file.

#include "numbers/fee_schedule.h"
#include "storage/database.h"
#include "storage/holdings_store.h"
#include "storage/setup_store.h"
#include "storage/watch_list_store.h"
#include "support/side_sql.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace storage;

namespace {

QByteArray Bytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void init();
    void setupRoundTrip();
    void classCommissionsCameWithTheBasis();
    void setupWithoutRowIsWrittenAsNewRow();
    void nullsReadAsEmptyZeroFalse();
    void wrongFormStopsTheLoadThere();
    void feeSaveAddsTheBasisToAnOlderFile_data();
    void feeSaveAddsTheBasisToAnOlderFile();
    void lotsAndWatchRows();
    void newIdentityIsLargerThanADeletedOne();
    void insertWhoseCommitFailsReportsNothing();
    void faults_data();
    void faults();
    void createNeverOverwrites();
    void holdingLots();
    void lockedSaveNeverDuplicates();
    void unreadableRowsAreSkippedAndCounted_data();
    void unreadableRowsAreSkippedAndCounted();

private:
    QList<HoldingLot> ThreeLots() {
        QList<HoldingLot> lots;
        for (const HoldingLot &lot :
             {HoldingLot{0, "600000", 10, 1000}, {0, "000001", 8.5, 200}, {0, "600000", 12, 500}}) {
            lots.append(*InsertLot(Database(path()), lot));
        }
        return lots;
    }
    QString path() const { return m_dir->filePath(QStringLiteral("股票.mdb")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDatabase::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Database::Create(path()));
}

void TestDatabase::setupRoundTrip() {
    const Database db(path());
    // The defaults of a new file.
    QCOMPARE(*LoadFeeTexts(db), (numbers::FeeTexts{"0", "1", "3", "3", "0", "0.1", "5"}));
    StoredSystemParameters stored = LoadSystemParameters(db);
    QCOMPARE(*stored.differenceCorner, 3);
    QCOMPARE(*stored.averageCorner, 4);
    QCOMPARE(*stored.refreshOn, false);
    QCOMPARE(*stored.refreshSeconds, 60);
    QCOMPARE(*stored.fontSize, 70);
    QCOMPARE(*stored.colourIndex, 0);

    QVERIFY(SaveFeeSchedule(db, {0.5, 1.25, 2.5, 0.03, 0.02, 0.6, 12345678.125}));
    QVERIFY(SaveSystemParameters(db, {2, 1, true, -5, 200, 49}));
    QCOMPARE(*LoadFeeTexts(db),
             (numbers::FeeTexts{"0.5", "1.25", "2.5", "0.03", "0.02", "0.6", "12345678.125"}));
    stored = LoadSystemParameters(db);
    QCOMPARE(*stored.differenceCorner, 2);
    QCOMPARE(*stored.averageCorner, 1);
    QCOMPARE(*stored.refreshOn, true);
    QCOMPARE(*stored.refreshSeconds, -5);
    QCOMPARE(*stored.fontSize, 200);
    QCOMPARE(*stored.colourIndex, 49);
    // The two saves each set only their own columns: the fees are still there.
    QCOMPARE(LoadFeeTexts(db)->at(6), QStringLiteral("12345678.125"));
}

void TestDatabase::setupWithoutRowIsWrittenAsNewRow() {
    Sql(path(), {"DELETE FROM setup"});
    const Database db(path());
    QVERIFY(!LoadFeeTexts(db));  // no row is a failed load
    QVERIFY(SaveSystemParameters(db, {1, 2, false, 30, 40, 5}));
    QCOMPARE(*LoadSystemParameters(db).refreshSeconds, 30);
    // Only the dialog's own columns were set; the fee columns are empty.
    QCOMPARE(*LoadFeeTexts(db), (numbers::FeeTexts{"", "", "", "", "", "", ""}));
    QVERIFY(SaveFeeSchedule(db, {}));
    QCOMPARE(db.readAll({"setup", "rowid"})->size(), 1);
}

void TestDatabase::nullsReadAsEmptyZeroFalse() {
    Sql(path(), {"UPDATE setup SET A1 = NULL, A2 = NULL, B1 = NULL, B2 = NULL, C1 = NULL, "
                 "C2 = NULL, LM = NULL, S1 = NULL, S2 = NULL, CN = NULL, TM = NULL, "
                 "FZ = NULL, FC = NULL"});
    const Database db(path());
    QCOMPARE(*LoadFeeTexts(db), (numbers::FeeTexts{"", "", "", "", "", "", ""}));
    const StoredSystemParameters stored = LoadSystemParameters(db);
    QCOMPARE(*stored.differenceCorner, 0);
    QCOMPARE(*stored.refreshOn, false);
    QCOMPARE(*stored.colourIndex, 0);
}

void TestDatabase::wrongFormStopsTheLoadThere() {
    Sql(path(), {"UPDATE setup SET S1 = 2, TM = 'sixty', B2 = 'x'"});
    const Database db(path());
    QVERIFY(!LoadFeeTexts(db));
    const StoredSystemParameters stored = LoadSystemParameters(db);
    QCOMPARE(*stored.differenceCorner, 2);
    QVERIFY(stored.refreshOn.has_value());
    QVERIFY(!stored.refreshSeconds);
    QVERIFY(!stored.fontSize);
    QVERIFY(!stored.colourIndex);
    Sql(path(), {"UPDATE setup SET TM = 2.5"});
    QVERIFY(!LoadSystemParameters(db).refreshSeconds);
}

void TestDatabase::feeSaveAddsTheBasisToAnOlderFile_data() {
    QTest::addColumn<bool>("writable");
    QTest::newRow("takes the column") << true;
    QTest::newRow("cannot take it") << false;
}

void TestDatabase::feeSaveAddsTheBasisToAnOlderFile() {
    QFETCH(bool, writable);
    // A file from before the basis column, with a second settings row, a lot and a watch row.
    const QString older = m_dir->filePath(QStringLiteral("older.mdb"));
    Sql(older, {"CREATE TABLE setup (A1 REAL, A2 REAL, B1 REAL, B2 REAL, C1 REAL, C2 REAL, "
                "LM REAL, S1 INTEGER, S2 INTEGER, CN BOOLEAN, TM INTEGER, FZ INTEGER, FC INTEGER)",
                "CREATE TABLE GMM (IDS INTEGER PRIMARY KEY AUTOINCREMENT, MID TEXT, MONEY REAL, "
                "NUMS INTEGER)",
                "CREATE TABLE KSEE (MID INTEGER PRIMARY KEY AUTOINCREMENT, KNUM TEXT, "
                "KNAME TEXT, KUP REAL, KDOWN REAL)",
                "INSERT INTO setup VALUES (0, 0.5, 0.25, 0.3, 0.01, 0.1, 0, 2, 1, 1, 30, 90, 7)",
                "INSERT INTO setup VALUES (9, 8, 7, 6, 5, 4, 3, 2, 1, 0, NULL, 'x', 1.5)",
                "INSERT INTO GMM (MID, MONEY, NUMS) VALUES ('000001', 8.15, 200)",
                "INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('600000', '浦发银行', 12, 8)"});
    const QString copy = m_dir->filePath(QStringLiteral("copy.mdb"));
    QVERIFY(QFile::copy(older, copy));
    const Database db(copy, writable ? Database::Mode::ReadWrite : Database::Mode::ReadOnly);
    const std::optional<StoredFees> loaded = LoadFees(db);
    QVERIFY(loaded);
    QCOMPARE(loaded->transferBasis, numbers::TransferBasis::PerShare);
    const auto contents = [&db] {  // all but the columns the save adds
        QList<QSqlRecord> rows =
            *db.readAll({"setup", "rowid"}) + *db.readAll(kGmm) + *db.readAll(kKsee);
        for (QSqlRecord &row : rows) {
            for (const char *added : {"TB", "FB1", "FB2", "FLM", "ZB1", "ZB2", "ZLM"}) {
                row.remove(row.indexOf(added));
            }
        }
        return rows;
    };
    const QList<QSqlRecord> before = contents();

    const numbers::FeeScheduleReading typed =
        numbers::ReadFeeSchedule(loaded->texts, numbers::TransferBasis::PerAmount);
    QCOMPARE(SaveFeeSchedule(db, *typed.schedule), writable);
    QCOMPARE(contents(), before);
    QCOMPARE(LoadFees(db)->transferBasis,
             writable ? numbers::TransferBasis::PerAmount : numbers::TransferBasis::PerShare);
    if (!writable) {
        QCOMPARE(Bytes(copy), Bytes(older));
    }
}

void TestDatabase::classCommissionsCameWithTheBasis() {
    const QString older = m_dir->filePath(QStringLiteral("older.mdb"));
    Sql(older, {"CREATE TABLE setup (A1 REAL, A2 REAL, B1 REAL, B2 REAL, C1 REAL, C2 REAL, "
                "LM REAL, S1 INTEGER, S2 INTEGER, CN BOOLEAN, TM INTEGER, FZ INTEGER, FC INTEGER)",
                "INSERT INTO setup VALUES (0, 0.5, 0.25, 0.3, 0.01, 0.1, 0, 2, 1, 1, 30, 90, 7)"});
    const Database db(older);
    const auto classTexts = [&db] {
        const std::optional<StoredFees> stored = LoadFees(db);
        return stored ? QStringList(stored->classTexts.cbegin(), stored->classTexts.cend())
                                .join(u'|') +
                            u'/' + stored->unreadableClassColumns.join(u',')
                      : QStringLiteral("unread");
    };
    QCOMPARE(classTexts(), QStringLiteral("|||||/"));
    // Saving the rates adds all seven later columns; the six stay NULL, the share's.
    QVERIFY(SaveFeeSchedule(db, *numbers::ReadFeeSchedule(LoadFees(db)->texts).schedule));
    const QSqlRecord row = db.readAll({"setup", "rowid"})->front();
    for (const char *column : {"FB1", "FB2", "FLM", "ZB1", "ZB2", "ZLM"}) {
        QVERIFY2(row.contains(column) && row.value(column).isNull(), column);
    }
    QVERIFY(SaveClassCommissions(db, {0.1, std::nullopt, 0.2}, {std::nullopt, 0.05, 0}));
    QCOMPARE(classTexts(), QStringLiteral("0.1||0.2||0.05|0/"));
    // An unreadable one counts as unset and is named; the rest and the rates still read.
    Sql(older, {"UPDATE setup SET FLM = 'x'"});
    QCOMPARE(classTexts(), QStringLiteral("0.1||||0.05|0/FLM"));
}

void TestDatabase::lotsAndWatchRows() {
    const Database db(path());
    const std::optional<QSqlRecord> lot =
        db.insert(kGmm, {{"MID", "000001"}, {"MONEY", 10.5}, {"NUMS", 300}});
    QVERIFY(lot);
    QCOMPARE(lot->value("mid").toString(), QStringLiteral("000001"));  // leading zeros kept
    QCOMPARE(lot->value("MONEY").toDouble(), 10.5);
    const qint64 id = lot->value("ids").toLongLong();
    QCOMPARE(db.update(kGmm, id, {{"NUMS", 500}}), Outcome::Done);
    QCOMPARE(db.update(kGmm, id + 1, {{"NUMS", 500}}), Outcome::NoSuchRow);
    QCOMPARE(db.readAll(kGmm)->front().value("NUMS").toInt(), 500);

    const std::optional<QSqlRecord> watched = db.insert(
        kKsee, {{"KNUM", "600000"}, {"KNAME", "浦发银行"}, {"KUP", 12.0}, {"KDOWN", 9.5}});
    QVERIFY(watched);
    QCOMPARE(watched->value("KNAME").toString(), QStringLiteral("浦发银行"));
    // An identity that is text reaches SQL only as a bound value.
    QCOMPARE(db.remove(kKsee, watched->value("MID").toLongLong()), Outcome::Done);
    QVERIFY(db.readAll(kKsee)->isEmpty());
    QCOMPARE(db.readAll(kGmm)->size(), 1);
}

void TestDatabase::newIdentityIsLargerThanADeletedOne() {
    const Database db(path());
    qint64 last = 0;
    for (int i = 0; i < 3; ++i) {
        last = db.insert(kGmm, {{"MID", "600000"}, {"MONEY", 1.0 + i}, {"NUMS", 100}})
                   ->value("IDS")
                   .toLongLong();
    }
    QCOMPARE(db.remove(kGmm, last), Outcome::Done);
    const QSqlRecord added = *db.insert(kGmm, {{"MID", "000002"}, {"MONEY", 7.0}, {"NUMS", 1}});
    QVERIFY(added.value("IDS").toLongLong() > last);
    QCOMPARE(added.value("MID").toString(), QStringLiteral("000002"));
}

void TestDatabase::insertWhoseCommitFailsReportsNothing() {
    const Database db(path());
    {
        // A reader of its own holds the file's shared lock, so the insert cannot commit.
        QSqlDatabase reader = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "reader");
        reader.setDatabaseName(path());
        QVERIFY(reader.open());
        QVERIFY(reader.transaction());
        QSqlQuery hold(reader);
        QVERIFY(hold.exec(QStringLiteral("SELECT * FROM GMM")));
        QCOMPARE(db.insert(kGmm, {{"MID", "600000"}, {"MONEY", 10.0}, {"NUMS", 100}}),
                 std::nullopt);
        hold.finish();
        reader.rollback();
    }
    QSqlDatabase::removeDatabase("reader");
    QCOMPARE(db.readAll(kGmm)->size(), 0);
}

void TestDatabase::faults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("readable");
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("empty file") << "empty" << false;
    QTest::newRow("Jet file") << "jet" << false;
    QTest::newRow("random bytes") << "random" << false;
    QTest::newRow("locked by a writer") << "locked" << false;
    QTest::newRow("a reader holds off the commit") << "reader" << true;
    QTest::newRow("read-only") << "readonly" << true;
}

void TestDatabase::faults() {
    QFETCH(QString, fault);
    QFETCH(bool, readable);
    Database::Mode mode = Database::Mode::ReadWrite;
    std::unique_ptr<QSqlDatabase> holder;
    if (fault == "missing") {
        QFile::remove(path());
    } else if (fault == "empty" || fault == "jet" || fault == "random") {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (fault == "jet") {
            file.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 19) +
                       QByteArray(2029, '\x5a'));
        } else if (fault == "random") {
            QByteArray noise(4096, 0);
            for (char &c : noise) {
                c = static_cast<char>(QRandomGenerator::global()->generate());
            }
            file.write(noise);
        }
    } else if (fault == "locked" || fault == "reader") {
        holder = std::make_unique<QSqlDatabase>(
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder"));
        holder->setDatabaseName(path());
        QVERIFY(holder->open());
        QSqlQuery(*holder).exec(fault == "locked" ? "BEGIN EXCLUSIVE" : "BEGIN");
        QVERIFY(QSqlQuery(*holder).exec(fault == "locked" ? "UPDATE setup SET TM = 99"
                                                          : "SELECT * FROM GMM"));
    } else if (fault == "readonly") {
        mode = Database::Mode::ReadOnly;
    }
    const QByteArray before = Bytes(path());

    const Database db(path(), mode);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(LoadFeeTexts(db).has_value(), readable);
    QCOMPARE(LoadSystemParameters(db).differenceCorner.has_value(), readable);
    QCOMPARE(db.readAll(kGmm).has_value(), readable);
    QVERIFY(!SaveFeeSchedule(db, {}));
    QVERIFY(!SaveSystemParameters(db, {}));
    QVERIFY(!db.insert(kGmm, {{"MID", "000001"}, {"MONEY", 1.0}, {"NUMS", 1}}));
    // A file that cannot be read is refused, never taken for a row that is gone.
    QCOMPARE(db.remove(kGmm, 1), readable ? Outcome::NoSuchRow : Outcome::Failed);
    QVERIFY(!SaveLot(db, {1, "000001", 1, 1}, {1, "000001", 2, 1}));
    // A locked file fails after the busy time-out of each of the eight operations, never
    // hangs.
    QVERIFY2(timer.elapsed() < 8 * (kBusyTimeoutMs + 2000),
             qPrintable(QString::number(timer.elapsed())));

    if (holder) {
        QSqlQuery(*holder).exec("ROLLBACK");
        holder->close();
        holder.reset();
        QSqlDatabase::removeDatabase("holder");
    }
    QCOMPARE(Bytes(path()), before);
    // Nothing created: no database for a missing file, no journal left over.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             fault == "missing" ? QStringList() : QStringList{QStringLiteral("股票.mdb")});
}

void TestDatabase::createNeverOverwrites() {
    QVERIFY(SaveSystemParameters(Database(path()), {1, 1, true, 5, 20, 3}));
    const QByteArray before = Bytes(path());
    QString error;
    QVERIFY(!Database::Create(path(), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(Bytes(path()), before);
    // Nothing is left behind by a refused or a successful creation.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("股票.mdb")});
}

void TestDatabase::holdingLots() {
    const Database db(path());
    const QList<HoldingLot> lots = ThreeLots();
    QCOMPARE(*ReadLots(db), lots);
    // A merge whose rewrite raises after the deletes, or one of whose removed lots is gone,
    // changes nothing at all.
    Sql(path(), {"CREATE TRIGGER no BEFORE UPDATE ON GMM WHEN NEW.NUMS = 1 BEGIN "
                 "SELECT RAISE(ABORT, 'no'); END"});
    const QByteArray before = Bytes(path());
    const QList<HoldingLot> others = {lots[2], lots[1]};
    QVERIFY(!MergeLots(db, lots[0], {lots[0].identity, "600000", 10, 1}, others));
    QVERIFY(!MergeLots(db, lots[0], {0, "600000", 10, 1700}, {lots[2], {9, "600000", 1, 1}}));
    QCOMPARE(Bytes(path()), before);
    // Changes find a lot only as it was read: same identity, another lot is no match.
    QCOMPARE(DeleteLot(db, {lots[2].identity, "600000", 12, 501}), Outcome::Conflict);
    QCOMPARE(DeleteLot(db, lots[2]), Outcome::Done);
    QCOMPARE(DeleteLot(db, lots[2]), Outcome::NoSuchRow);
    const HoldingLot changed{lots[1].identity, "000002", 0.5, 0};
    QCOMPARE(SaveLot(db, lots[1], changed), changed);
    // A merge whose survivor is gone stores nothing: the lot is never made again.
    Outcome outcome = Outcome::Done;
    QVERIFY(!MergeLots(db, lots[2], {0, "600000", 10.67, 1500}, {lots[0]}, &outcome));
    QCOMPARE(outcome, Outcome::NoSuchRow);
    QCOMPARE(*ReadLots(db), (QList<HoldingLot>{lots[0], changed}));
    // A row with a larger identity comes with the insert: the lot returned is still its own.
    Sql(path(), {"CREATE TRIGGER echo AFTER INSERT ON GMM BEGIN INSERT INTO GMM (MID, MONEY, "
                 "NUMS) SELECT 'x', 0, 0 WHERE NEW.MID <> 'x'; END",
                 "UPDATE GMM SET NUMS = 'many' WHERE MID = '000002'"});
    QCOMPARE(*InsertLot(db, {0, "300001", 5, 100}),
             (HoldingLot{lots[2].identity + 1, "300001", 5, 100}));
}

void TestDatabase::unreadableRowsAreSkippedAndCounted_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("values");  // one row that cannot be read
    QTest::newRow("text price") << "GMM"
                                << "('000008', 'abc', 100)";
    QTest::newRow("fraction of a share") << "GMM"
                                         << "('000008', 10, 2.5)";
    QTest::newRow("largest double") << "GMM"
                                    << "('000008', 1E308, 100)";
    QTest::newRow("infinite") << "GMM"
                              << "('000008', 9E999, 100)";
    QTest::newRow("minus infinite") << "GMM"
                                    << "('000008', -9E999, 100)";
    QTest::newRow("price past the limit") << "GMM"
                                          << "('000008', 1E16, 1)";
    QTest::newRow("amount past the limit") << "GMM"
                                           << "('000008', 999999999999999, 100)";
    QTest::newRow("watch: text") << "KSEE"
                                 << "('000008', 'a', 'abc', 1)";
    QTest::newRow("watch: infinite") << "KSEE"
                                     << "('000008', 'a', 9E999, 1)";
    QTest::newRow("watch: past the limit") << "KSEE"
                                           << "('000008', 'a', 2, -1E16)";
}

void TestDatabase::unreadableRowsAreSkippedAndCounted() {
    QFETCH(QString, table);
    QFETCH(QString, values);
    const bool lots = table == "GMM";
    const QString columns = lots ? "(MID, MONEY, NUMS)" : "(KNUM, KNAME, KUP, KDOWN)";
    const QString good = lots ? "('%1', 10, 100)" : "('%1', 'a', 2, 1)";
    Sql(path(), {QStringLiteral("INSERT INTO %1 %2 VALUES %3, %4, %5")
                     .arg(table, columns, good.arg("000007"), values, good.arg("000009"))});
    int unreadable = -1;
    QStringList codes;
    if (lots) {
        const QList<HoldingLot> read = ReadLots(Database(path()), &unreadable).value();
        for (const HoldingLot &lot : read) {
            codes.append(lot.code);
        }
    } else {
        for (const WatchEntry &entry : LoadWatchList(Database(path()), &unreadable)) {
            codes.append(entry.code);
        }
    }
    QCOMPARE(codes, (QStringList{"000007", "000009"}));
    QCOMPARE(unreadable, 1);
}

void TestDatabase::lockedSaveNeverDuplicates() {
    const Database db(path());
    const HoldingLot lot = *InsertLot(db, {0, "600000", 10, 100});
    // Another connection holds the write lock past the busy time-out of one statement and
    // lets go before that of a second.
    std::atomic<bool> locked = false;
    std::thread holder([this, &locked] {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder");
            other.setDatabaseName(path());
            other.open();
            QSqlQuery(other).exec("BEGIN EXCLUSIVE");
            locked = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(450));
            QSqlQuery(other).exec("ROLLBACK");
            other.close();
        }
        QSqlDatabase::removeDatabase("holder");
    });
    while (!locked) {
        std::this_thread::yield();
    }
    const std::optional<HoldingLot> saved = SaveLot(db, lot, {lot.identity, "600000", 11, 100});
    holder.join();
    QCOMPARE(*ReadLots(db), QList<HoldingLot>{saved.value_or(lot)});
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
