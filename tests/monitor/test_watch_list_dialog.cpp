// The watch-list dialog over a file that another program changes: rows matched by identity
// and contents, unreadable rows skipped, and the list's columns within its width.

#include "monitor/watch_list_dialog.h"
#include "numbers/entry_messages.h"
#include "platform/fake/fake_platform.h"
#include "storage/watch_list_store.h"
#include "support/message_recorder.h"
#include "support/offscreen_warnings.h"

#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void Sql(const QString &statement) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "test-side");
        db.setDatabaseName(storage::DatabaseFileName());
        QVERIFY(db.open());
        QVERIFY2(QSqlQuery(db).exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase("test-side");
}

// "identity code name upper" of every stored entry.
QStringList Stored() {
    QStringList rows;
    for (const storage::WatchEntry &e : storage::LoadWatchList(storage::Database())) {
        rows.append(
            QStringLiteral("%1 %2 %3 %4").arg(e.identity).arg(e.code, e.name, e.upper.text));
    }
    return rows;
}

}  // namespace

class TestWatchListDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void changedElsewhere_data();
    void changedElsewhere();
    void unreadableRowsAreSaidOnce();
    void columnsFitTheList();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageRecorder> m_messages;
};

void TestWatchListDialog::initTestCase() {
    FilterOffscreenWarnings();
    platform::Install(std::make_unique<platform::FakePlatform>());
}

void TestWatchListDialog::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(storage::Database::Create(storage::DatabaseFileName()));
    m_messages = std::make_unique<MessageRecorder>();
}

void TestWatchListDialog::cleanup() {
    m_messages.reset();
    QDir::setCurrent(QDir::tempPath());
}

void TestWatchListDialog::changedElsewhere_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("stored");  // after the action
    QTest::addColumn<bool>("reloaded");
    const QString other = "UPDATE KSEE SET KNUM = '688981', KNAME = 'ZZZ' WHERE MID = 2";
    const QStringList otherStored{"1 000002 AAA 10", "2 688981 ZZZ 12"};
    QTest::newRow("delete, another stock now") << "delete" << other << otherStored << true;
    QTest::newRow("modify, another stock now") << "modify" << other << otherStored << true;
    QTest::newRow("delete, gone") << "delete"
                                  << "DELETE FROM KSEE WHERE MID = 2"
                                  << QStringList{"1 000002 AAA 10"} << true;
    QTest::newRow("modify, gone: stored anew")
        << "modify"
        << "DELETE FROM KSEE WHERE MID = 2" << QStringList{"1 000002 AAA 10", "3 000001 BBB 13.5"}
        << false;
}

void TestWatchListDialog::changedElsewhere() {
    QFETCH(QString, action);
    QFETCH(QString, change);
    QFETCH(QStringList, stored);
    QFETCH(bool, reloaded);
    Sql("INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('000002', 'AAA', 10, 9), "
        "('000001', 'BBB', 12, 11)");
    TSeeDlg dialog;
    dialog.open();
    QCOMPARE(dialog.SpinEdit1->text(), QStringLiteral("000001"));  // the row of MID 2
    Sql(change);
    if (action == "delete") {
        m_messages->answers = {messages::Answer::Yes};
        dialog.SpeedButton6->click();
    } else {
        dialog.SpeedButton3->click();
        dialog.Edit1->setText("13.5");
        dialog.SpeedButton4->click();
    }
    QCOMPARE(Stored(), stored);
    QCOMPARE(m_messages->texts().contains(numbers::WatchEntryChangedElsewhereMessage()), reloaded);
    QVERIFY(!dialog.SpeedButton4->isEnabled());  // browsing
    QCOMPARE(dialog.Entries->rowCount(), stored.size());
    if (reloaded && stored.size() == 2) {
        QCOMPARE(dialog.SpinEdit1->text() + dialog.Edit3->text(), QStringLiteral("688981ZZZ"));
    }
}

void TestWatchListDialog::unreadableRowsAreSaidOnce() {
    Sql("INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('000007', 'a', 'abc', 1), "
        "('000008', 'b', 1E16, 1), ('000009', 'c', 10, 9)");
    TSeeDlg dialog;
    dialog.open();
    QCOMPARE(dialog.Entries->rowCount(), 1);
    QCOMPARE(m_messages->texts(), QStringList{"有2条监控记录无法读取，未在列表中显示。"});
}

void TestWatchListDialog::columnsFitTheList() {
    for (int i = 0; i < 20; ++i) {
        Sql(QStringLiteral("INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('%1', "
                           "'名称很长的股票', 1000000.25, 999999.75)")
                .arg(920700 + i));
    }
    TSeeDlg dialog;
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableView *list = dialog.ListView1;
    QTRY_VERIFY(list->verticalScrollBar()->isVisible());
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    QVERIFY(list->horizontalHeader()->length() <= list->viewport()->width());
    QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(list->horizontalScrollBar()->value(), 0);
    QCOMPARE(list->columnViewportPosition(0), 0);  // the code column reads whole
}

QTEST_MAIN(TestWatchListDialog)
#include "test_watch_list_dialog.moc"
