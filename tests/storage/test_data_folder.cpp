// Which folder the program works in, and the fresh database of a first start.

#include "numbers/fee_schedule.h"
#include "storage/data_folder.h"
#include "storage/database.h"
#include "storage/setup_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace storage;

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void unwritableDataHomeKeepsTheCurrentFolder();
};

void TestDataFolder::choice_data() {
    QTest::addColumn<QByteArray>("inCurrent");  // bytes of 股票.mdb there, "-" for none
    QTest::addColumn<QByteArray>("inData");
    QTest::addColumn<bool>("usesCurrent");
    QTest::addColumn<bool>("created");
    QTest::newRow("fresh home") << QByteArray("-") << QByteArray("-") << false << true;
    QTest::newRow("file beside the user") << QByteArray("mine") << QByteArray("-") << true << false;
    // A Windows program's file is only ever imported from.
    QTest::newRow("Jet file beside the user")
        << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) << QByteArray("-") << false
        << true;
    QTest::newRow("file in the data folder")
        << QByteArray("-") << QByteArray("kept") << false << false;
    QTest::newRow("foreign file in the data folder")
        << QByteArray("-") << QByteArray("Standard Jet DB") << false << false;
}

void TestDataFolder::choice() {
    QFETCH(QByteArray, inCurrent);
    QFETCH(QByteArray, inData);
    QFETCH(bool, usesCurrent);
    QFETCH(bool, created);
    QTemporaryDir current, home;
    const QString data = home.filePath("share/stockcalc");
    const auto place = [](const QString &folder, const QByteArray &bytes) {
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath(DatabaseFileName()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    if (inCurrent != "-") {
        place(current.path(), inCurrent);
    }
    if (inData != "-") {
        place(data, inData);
    }
    const DataFolder chosen = ChooseDataFolder(current.path(), data);
    QCOMPARE(chosen.path, usesCurrent ? current.path() : data);
    QCOMPARE(chosen.created, created);
    QFile file(QDir(chosen.path).filePath(DatabaseFileName()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (created) {
        QCOMPARE(*LoadFeeTexts(Database(file.fileName())),
                 (numbers::FeeTexts{"0", "1", "3", "3", "0", "0.1", "5"}));
    } else {
        QCOMPARE(file.readAll(), usesCurrent ? inCurrent : inData);  // never touched
    }
    QCOMPARE(QDir(current.path()).entryList(QDir::Files).size(), inCurrent == "-" ? 0 : 1);
}

void TestDataFolder::unwritableDataHomeKeepsTheCurrentFolder() {
    QTemporaryDir current, home;
    QFile blocker(home.filePath("share"));  // a file where the folder should go
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const DataFolder chosen = ChooseDataFolder(current.path(), home.filePath("share/stockcalc"));
    QCOMPARE(chosen.path, current.path());
    QVERIFY(!chosen.created);
}

QTEST_MAIN(TestDataFolder)
#include "test_data_folder.moc"
