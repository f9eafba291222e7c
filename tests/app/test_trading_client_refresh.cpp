// The trading-client refresh against the recording fake platform, with the system-parameter
// dialog as the settings in force.

#include "app/trading_client_refresh.h"
#include "platform/fake/fake_platform.h"
#include "settings/settings_in_force.h"
#include "settings/system_parameters_dialog.h"
#include "support/offscreen_warnings.h"

#include <QtTest>

class TestTradingClientRefresh : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void tick_data();
    void tick();
    void sameSecondsKeepTheCount();
    void intervalOfSeconds();
    void desktopWithoutX11SaysSo();

private:
    platform::FakePlatform *m_fake = nullptr;
};

void TestTradingClientRefresh::initTestCase() {
    FilterOffscreenWarnings();
    auto fake = std::make_unique<platform::FakePlatform>();
    m_fake = fake.get();
    platform::Install(std::move(fake));
}

void TestTradingClientRefresh::init() {
    m_fake->driving = true;
    m_fake->windowTitle.clear();
    m_fake->windowMinimised = false;
    m_fake->focusRefused = false;
    m_fake->windowCalls.clear();
}

void TestTradingClientRefresh::tick_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<bool>("canDrive");
    QTest::addColumn<QString>("seconds");  // the field after the switch was ticked at 30
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("interval");  // 0: stopped

    const QString client = QStringLiteral("国海证券网上交易");
    const QStringList found = {"find", "raise", "activate", "key F6"};
    QTest::newRow("absent: interval stays")
        << QString() << false << true << "10" << QStringList{"find"} << 30000;
    QTest::newRow("found: 30 s becomes 10 s") << client << false << true << "10" << found << 10000;
    QTest::newRow("minimised: restored, not raised")
        << client << true << true << "10" << QStringList{"find", "restore", "activate", "key F6"}
        << 10000;
    // Retyping the field leaves it empty or at 0 for a while: the rhythm goes on.
    QTest::newRow("found, field empty: interval stays")
        << client << false << true << "" << found << 30000;
    QTest::newRow("found, field at 0: interval stays")
        << client << false << true << "0" << found << 30000;
    QTest::newRow("no X11: nothing")
        << client << false << false << "10" << QStringList{"find"} << 30000;
}

void TestTradingClientRefresh::tick() {
    QFETCH(QString, title);
    QFETCH(bool, minimised);
    QFETCH(bool, canDrive);
    QFETCH(QString, seconds);
    QFETCH(QStringList, calls);
    QFETCH(int, interval);
    m_fake->windowTitle = title;
    m_fake->windowMinimised = minimised;
    m_fake->driving = canDrive;

    settings::InForce inForce;
    TradingClientRefresh form(inForce);
    TmyDlg dialog(inForce);
    QObject::connect(&dialog, &TmyDlg::refreshChanged, &form, &TradingClientRefresh::setRefresh);
    dialog.SpinEdit1->setText(QStringLiteral("30"));
    dialog.CheckBox1->setChecked(true);
    QCOMPARE(form.Timer2->interval(), 30000);
    dialog.SpinEdit1->setText(seconds);  // not saved: the field is what counts

    form.Timer2Timer();
    QCOMPARE(m_fake->windowCalls, calls);
    QCOMPARE(form.Timer2->isActive() ? form.Timer2->interval() : 0, interval);
    QVERIFY(!m_fake->windowMinimised);
}

void TestTradingClientRefresh::sameSecondsKeepTheCount() {
    m_fake->windowTitle = QStringLiteral("国海证券网上交易");
    m_fake->focusRefused = true;  // the key still goes out, after a short wait
    settings::InForce inForce;
    TradingClientRefresh form(inForce);
    TmyDlg dialog(inForce);
    dialog.SpinEdit1->setText(QStringLiteral("2"));
    form.setRefresh(true, 2);
    QTest::qWait(500);
    const int before = form.Timer2->remainingTime();
    form.Timer2Timer();
    QVERIFY2(form.Timer2->remainingTime() <= before, "a refresh restarted the count");
    QCOMPARE(m_fake->windowCalls.size(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(m_fake->windowCalls.size(), 4, 1000);
    QCOMPARE(m_fake->windowCalls.last(), QStringLiteral("key F6"));
}

void TestTradingClientRefresh::intervalOfSeconds() {
    using trading_client::IntervalMs;
    QCOMPARE(IntervalMs(0), std::nullopt);
    QCOMPARE(IntervalMs(-1), std::nullopt);
    QCOMPARE(IntervalMs(30), std::optional<int>(30000));
    QCOMPARE(IntervalMs(INT32_MAX), std::optional<int>(INT_MAX));
}

void TestTradingClientRefresh::desktopWithoutX11SaysSo() {
    settings::InForce inForce;
    m_fake->driving = false;
    QVERIFY(TmyDlg(inForce).CheckBox1->toolTip().contains(QStringLiteral("X11")));
    m_fake->driving = true;
    QVERIFY(TmyDlg(inForce).CheckBox1->toolTip().isEmpty());
}

QTEST_MAIN(TestTradingClientRefresh)
#include "test_trading_client_refresh.moc"
