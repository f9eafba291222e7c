// The shell: every tray entry opens its window, and the settings dialogs are the settings in
// force that the windows it opens work with.

#include "app/shell.h"
#include "calc/average_price_window.h"
#include "calc/compact_difference_window.h"
#include "holdings/holdings_window.h"
#include "platform/fake/fake_platform.h"
#include "storage/database.h"
#include "support/message_recorder.h"
#include "support/offscreen_warnings.h"
#include "support/side_sql.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void trayEntryOpensOrFocusesItsWindow_data();
    void trayEntryOpensOrFocusesItsWindow();
    void dialogsAreTheSettingsInForce();
    void olderFileGainsTheJournal();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageRecorder> m_messages;
};

void TestShell::initTestCase() {
    FilterOffscreenWarnings();
    platform::Install(std::make_unique<platform::FakePlatform>());
}

void TestShell::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(storage::Database::Create(storage::DatabaseFileName()));
    m_messages = std::make_unique<MessageRecorder>();
}

void TestShell::cleanup() {
    delete TForm5::instance.data();
    delete TForm6::instance.data();
    delete TForm4::instance.data();
    m_messages.reset();
    QDir::setCurrent(QDir::tempPath());
}

void TestShell::trayEntryOpensOrFocusesItsWindow_data() {
    QTest::addColumn<int>("entry");  // in the order below
    QTest::addColumn<QString>("title");
    QTest::newRow("N1") << 0 << "差价计算器";
    QTest::newRow("N2") << 1 << "均价计算器";
    QTest::newRow("N6") << 2 << "股票管理器";
    QTest::newRow("N8") << 3 << "股票交易费率设置";
    QTest::newRow("N9") << 4 << "系统参数设置";
    QTest::newRow("N10") << 5 << "简易手册";
    QTest::newRow("N12") << 6 << "股票价格监控设置";
}

void TestShell::trayEntryOpensOrFocusesItsWindow() {
    QFETCH(int, entry);
    QFETCH(QString, title);
    Shell shell;
    const TForm1 &menu = shell.about();
    QAction *action =
        QList<QAction *>{menu.N1, menu.N2, menu.N6, menu.N8, menu.N9, menu.N10, menu.N12}[entry];
    const auto shown = [&title] {
        QList<QWidget *> windows;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->windowTitle() == title) {
                windows.append(window);
            }
        }
        return windows;
    };
    action->trigger();
    const QList<QWidget *> first = shown();
    QCOMPARE(first.size(), 1);
    action->trigger();  // again: the same window, not a second
    QCOMPARE(shown(), first);
    first.front()->close();
}

void TestShell::dialogsAreTheSettingsInForce() {
    Shell shell;
    shell.feeSettings().Edit6->setText(QStringLiteral("1.5"));  // typed, not saved
    shell.feeSettings().RadioButton2->setChecked(true);
    QSignalSpy changed(&shell.inForce(), &settings::InForce::changed);
    shell.systemParameters().RadioButton2->setChecked(true);  // difference calculators top right
    QVERIFY(!changed.isEmpty());
    const numbers::FeeScheduleReading fees = shell.inForce().fees();
    QVERIFY(fees.schedule);
    QCOMPARE(fees.schedule->BuyCommissionRate, 1.5);
    QCOMPARE(fees.schedule->SellCommissionRate, 3.0);
    QCOMPARE(fees.schedule->TransferFeeBasis, numbers::TransferBasis::PerAmount);
    QCOMPARE(shell.inForce().system().differenceCorner, 2);
    shell.about().N1->trigger();
    QCOMPARE(TForm5::instance->pos(), QPoint(1024 - 704 - 2, 1));
    // A fee text that does not read stops a calculation with that field's message.
    shell.feeSettings().Edit6->setText(QStringLiteral("x"));
    TForm5::instance->Edit1->setText(QStringLiteral("10"));
    TForm5::instance->Edit2->setText(QStringLiteral("11"));
    TForm5::instance->SpinEdit1->setText(QStringLiteral("1000"));
    TForm5::instance->SpeedButton1Click();
    QCOMPARE(m_messages->texts(), QStringList{numbers::FeeFieldMessages()[2]});
}

void TestShell::olderFileGainsTheJournal() {
    Sql("DROP TABLE TRADES");
    Shell shell;
    Sql("SELECT COUNT(*) FROM TRADES");  // fails while there is no such table
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
