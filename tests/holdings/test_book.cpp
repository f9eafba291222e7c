// The holdings book over a real database file: what it stores, what it tells its views, and
// what it does when another program or a broken file stands in the way.

#include "holdings/book.h"
#include "numbers/entry_messages.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"
#include "support/side_sql.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

using holdings::Book;
using holdings::BookOutcome;

namespace {

// "identity code price quantity" of every lot, the price to 15 significant digits.
QStringList Listed(const QList<storage::HoldingLot> &from) {
    QStringList lots;
    for (const storage::HoldingLot &lot : from) {
        lots.append(QStringLiteral("%1 %2 %3 %4")
                        .arg(lot.identity)
                        .arg(lot.code)
                        .arg(lot.price, 0, 'g', 15)
                        .arg(lot.quantity));
    }
    return lots;
}

QStringList Stored() {
    return Listed(storage::ReadLots(storage::Database()).value_or(QList<storage::HoldingLot>()));
}

QStringList Held(const Book &book) {
    return Listed(book.lots());
}

// What a book tells its views, in order: "added 4", "changed 1", "removed 3", "reset".
QStringList *Heard(Book &book) {
    auto *heard = new QStringList;
    QObject::connect(&book, &Book::reset, &book, [heard] { heard->append("reset"); });
    QObject::connect(&book, &Book::lotAdded, &book,
                     [heard](qint64 id) { heard->append(QStringLiteral("added %1").arg(id)); });
    QObject::connect(&book, &Book::lotChanged, &book,
                     [heard](qint64 id) { heard->append(QStringLiteral("changed %1").arg(id)); });
    QObject::connect(&book, &Book::lotRemoved, &book,
                     [heard](qint64 id) { heard->append(QStringLiteral("removed %1").arg(id)); });
    QObject::connect(&book, &QObject::destroyed, [heard] { delete heard; });
    return heard;
}

QByteArray Bytes() {
    QFile file(storage::DatabaseFileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

BookOutcome Act(Book &book, const QString &action) {
    if (action == "add") {
        return book.add({0, "600519", 1500, 100});
    }
    if (action == "modify") {
        return book.save(1, {1, "600036", 42.5, 1000});
    }
    if (action == "delete") {
        return book.remove(1);
    }
    return book.merge({1, 3});
}

}  // namespace

class TestBook : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void changesAreStoredAndTold_data();
    void changesAreStoredAndTold();
    void mergeKeepsTheCost_data();
    void mergeKeepsTheCost();
    void changedElsewhereWritesNothing_data();
    void changedElsewhereWritesNothing();
    void failedWriteIsRefused_data();
    void failedWriteIsRefused();
    void waitsForAnotherProgramsWrite();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestBook::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(storage::Database::Create(storage::DatabaseFileName()));
    Sql("INSERT INTO GMM (MID, MONEY, NUMS) VALUES ('600036', 41.23, 1000), ('000001', 9, 100), "
        "('600036', 40.05, 500), ('600036', 10, 0)");
}

void TestBook::cleanup() {
    QDir::setCurrent(QDir::tempPath());
}

void TestBook::changesAreStoredAndTold_data() {
    // Each row runs the actions in turn; every one must be done, with no message.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("heard");
    const QString merged = "1 600036 40.8366666666667 1500";
    QTest::newRow("add") << QStringList{"add"}
                         << QStringList{"1 600036 41.23 1000", "2 000001 9 100",
                                        "3 600036 40.05 500", "4 600036 10 0", "5 600519 1500 100"}
                         << QStringList{"added 5"};
    QTest::newRow("merge, then modify the merged lot")
        << QStringList{"merge", "modify"}
        << QStringList{"1 600036 42.5 1000", "2 000001 9 100", "4 600036 10 0"}
        << QStringList{"removed 3", "changed 1", "changed 1"};
    QTest::newRow("merge, then delete the merged lot")
        << QStringList{"merge", "delete"} << QStringList{"2 000001 9 100", "4 600036 10 0"}
        << QStringList{"removed 3", "changed 1", "removed 1"};
    QTest::newRow("merge, then modify and delete the merged lot")
        << QStringList{"merge", "modify", "delete"}
        << QStringList{"2 000001 9 100", "4 600036 10 0"}
        << QStringList{"removed 3", "changed 1", "changed 1", "removed 1"};
    QTest::newRow("merge") << QStringList{"merge"}
                           << QStringList{merged, "2 000001 9 100", "4 600036 10 0"}
                           << QStringList{"removed 3", "changed 1"};
}

void TestBook::changesAreStoredAndTold() {
    QFETCH(QStringList, actions);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, heard);
    Book book;
    QVERIFY(book.load());
    const QStringList *told = Heard(book);
    for (const QString &action : actions) {
        const BookOutcome outcome = Act(book, action);
        QVERIFY2(outcome.done() && !outcome.message, qPrintable(action));
    }
    QCOMPARE(Stored(), stored);
    QCOMPARE(Held(book), stored);  // the book holds what it stored
    QCOMPARE(*told, heard);
}

void TestBook::mergeKeepsTheCost_data() {
    // lots stored as "price quantity", merged; the merged lot's cost to the fen and its price
    // as the list shows it.
    QTest::addColumn<QString>("lots");
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QString>("shown");
    QTest::newRow("two lots") << "41.23 1000, 40.05 500"
                              << "61255"
                              << "40.837";
    QTest::newRow("four lots") << "11 1000, 12 600, 10.5 200, 9 1000"
                               << "29300"
                               << "10.464";
    QTest::newRow("prices of the li") << "3.141 300, 2.718 700, 1.414 1100"
                                      << "4400.3"
                                      << "2.095";
    QTest::newRow("one lot stays as it is") << "2.675 100"
                                            << "267.5"
                                            << "2.675";
}

void TestBook::mergeKeepsTheCost() {
    QFETCH(QString, lots);
    QFETCH(QString, cost);
    QFETCH(QString, shown);
    Sql("DELETE FROM GMM");
    QList<qint64> identities;
    for (const QString &lot : lots.split(", ")) {
        const QStringList cells = lot.split(u' ');
        Sql(QStringLiteral("INSERT INTO GMM (IDS, MID, MONEY, NUMS) VALUES (%1, '600000', %2, %3)")
                .arg(identities.size() + 10)
                .arg(cells[0], cells[1]));
        identities.append(identities.size() + 10);
    }
    Book book;
    QVERIFY(book.load());
    QVERIFY(book.merge(identities).done());
    const storage::HoldingLot merged = storage::ReadLots(storage::Database()).value().front();
    QCOMPARE(merged.identity, 10);
    QCOMPARE(numbers::FormatAmount(numbers::RoundToFen(merged.price * merged.quantity)), cost);
    QCOMPARE(holdings::PriceText(merged.price), shown);
}

void TestBook::changedElsewhereWritesNothing_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("change");  // by another program, after the book read the lots
    const QString gone = "DELETE FROM GMM WHERE IDS = 1";
    QTest::newRow("modify, lot gone") << "modify" << gone;
    QTest::newRow("merge, first lot gone") << "merge" << gone;
    QTest::newRow("merge, other lot gone") << "merge"
                                           << "DELETE FROM GMM WHERE IDS = 3";
    QTest::newRow("delete, lot gone") << "delete" << gone;
    QTest::newRow("modify, lot changed") << "modify"
                                         << "UPDATE GMM SET NUMS = 400 WHERE IDS = 1";
    QTest::newRow("merge, other lot changed") << "merge"
                                              << "UPDATE GMM SET MONEY = 40 WHERE IDS = 3";
    QTest::newRow("delete, another file")
        << "delete"
        << "DELETE FROM GMM; DELETE FROM sqlite_sequence; INSERT INTO GMM (MID, MONEY, NUMS) "
           "VALUES ('600000', 20, 300)";
}

void TestBook::changedElsewhereWritesNothing() {
    QFETCH(QString, action);
    QFETCH(QString, change);
    Book book;
    QVERIFY(book.load());
    Sql(storage::DatabaseFileName(), change.split(u';', Qt::SkipEmptyParts));
    const QStringList stored = Stored();
    const QStringList *told = Heard(book);
    const BookOutcome outcome = Act(book, action);
    QCOMPARE(outcome.kind, BookOutcome::Kind::ChangedElsewhere);
    QCOMPARE(outcome.message.value().text, numbers::LotChangedElsewhereMessage());
    QCOMPARE(Stored(), stored);    // nothing written, nothing stored anew
    QCOMPARE(Held(book), stored);  // read again
    QCOMPARE(*told, QStringList{"reset"});
}

void TestBook::failedWriteIsRefused_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    const QString save = "保存失败!数据库无法写入。";
    QTest::newRow("add, file replaced") << "add"
                                        << "foreign" << save;
    QTest::newRow("modify, file locked") << "modify"
                                         << "locked" << save;
    QTest::newRow("merge, file missing") << "merge"
                                         << "missing" << save;
    QTest::newRow("delete, file replaced") << "delete"
                                           << "foreign"
                                           << "删除失败!数据库无法写入。";
}

void TestBook::failedWriteIsRefused() {
    QFETCH(QString, action);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    Book book;
    QVERIFY(book.load());
    const QStringList held = Held(book);
    const QString name = storage::DatabaseFileName();
    QSqlDatabase locker;
    if (fault == "locked") {
        locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "locker");
        locker.setDatabaseName(name);
        QVERIFY(locker.open());
        QVERIFY(QSqlQuery(locker).exec("BEGIN EXCLUSIVE"));
    } else {
        QFile::remove(name);
        QFile file(name);
        QVERIFY(fault == "missing" || file.open(QIODevice::WriteOnly));
        file.write("Standard Jet DB\0\0\0\0\0\0\0\0\0\0\0\0\0");
    }
    const QByteArray bytes = Bytes();
    const QStringList *told = Heard(book);
    const BookOutcome outcome = Act(book, action);
    QCOMPARE(outcome.kind, BookOutcome::Kind::Refused);
    QCOMPARE(outcome.message.value().text, message);
    QCOMPARE(outcome.message->caption, QStringLiteral("错误"));
    QCOMPARE(Bytes(), bytes);
    QCOMPARE(Held(book), held);
    QVERIFY(told->isEmpty());
    if (locker.isValid()) {
        locker.close();
        locker = QSqlDatabase();
        QSqlDatabase::removeDatabase("locker");
    }
}

void TestBook::waitsForAnotherProgramsWrite() {
    Book book;
    QVERIFY(book.load());
    std::atomic<bool> locked = false;
    // Another program holds the file for a second, as a long write of its own would.
    std::thread other([&locked] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
            db.setDatabaseName(storage::DatabaseFileName());
            locked = db.open() && QSqlQuery(db).exec("BEGIN EXCLUSIVE");
            std::this_thread::sleep_for(std::chrono::seconds(1));
            QSqlQuery(db).exec("COMMIT");
        }
        QSqlDatabase::removeDatabase("other");
    });
    const auto join = qScopeGuard([&other] { other.join(); });
    QTRY_VERIFY(locked);
    QVERIFY(Act(book, "modify").done());
    QCOMPARE(Stored().front(), QStringLiteral("1 600036 42.5 1000"));
}

QTEST_GUILESS_MAIN(TestBook)
#include "test_book.moc"
