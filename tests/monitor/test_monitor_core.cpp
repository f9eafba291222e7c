// The monitor's rules over its rows and the watch session, with a quote service on
// 127.0.0.1.

#include "monitor/alarm_rule.h"
#include "monitor/monitor_rows.h"
#include "monitor/watch_session.h"
#include "quotes/reading_status.h"
#include "storage/watch_list_store.h"
#include "support/fake_quote_server.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;
using Prices = QList<std::optional<QString>>;

class TestMonitorCore : public QObject {
    Q_OBJECT
private slots:
    void alarmTest_data();
    void alarmTest();
    void readingStatus_data();
    void readingStatus();
    void sessionAppliesByCodeAndTellsEachAlarmOnce();
    void init();
    void namesAreCleaned_data();
    void namesAreCleaned();
    void sessionReadsItsCodesUntilStopped();

private:
    std::unique_ptr<FakeQuoteServer> m_server;
    std::unique_ptr<FakeQuoteServer> m_fallback;  // refuses unless a test says otherwise
};

// Rows as "price upper lower alarm-switch mark [alarming at the last test]", "_" for an
// empty price.
QList<monitor::MonitorRow> RowsOf(const QStringList &texts) {
    QList<monitor::MonitorRow> rows;
    for (const QString &text : texts) {
        const QStringList cells = text.split(u' ');
        monitor::MonitorRow row;
        row.price = cells[0] == u"_" ? QString() : cells[0];
        row.upper = cells[1];
        row.lower = cells[2];
        row.alarmOn = cells[3] == u"1";
        row.mark = cells[4].front();
        row.alarming = cells.value(5) == u"1";
        rows.append(row);
    }
    return rows;
}

void TestMonitorCore::alarmTest_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("marks");
    QTest::addColumn<uint>("lastColour");
    QTest::addColumn<bool>("alarm");
    QTest::addColumn<QString>("started");   // rows told to the desktop
    QTest::addColumn<QString>("alarming");  // each row's state for the next test
    QTest::newRow("above upper") << QStringList{"15.32 15 14 1 0"} << "+" << 0xff0000u << true
                                 << "0"
                                 << "1";
    QTest::newRow("at lower") << QStringList{"15.32 16 15.32 1 0"} << "-" << 0x008000u << true
                              << "0"
                              << "1";
    QTest::newRow("both edges") << QStringList{"15 15 15 1 0"} << "+" << 0xff0000u << true << "0"
                                << "1";
    QTest::newRow("lasting alarm")
        << QStringList{"15.32 15 14 1 + 1"} << "+" << 0xff0000u << true << ""
        << "1";
    QTest::newRow("inside") << QStringList{"15.5 16 15 1 0"} << "0" << 0u << false << ""
                            << "0";
    QTest::newRow("back inside keeps mark")
        << QStringList{"15.5 16 15 1 + 1"} << "+" << 0xff0000u << false << ""
        << "0";
    QTest::newRow("re-entered after leaving")
        << QStringList{"16 16 15 1 + 0"} << "+" << 0xff0000u << true << "0"
        << "1";
    QTest::newRow("other edge") << QStringList{"14 16 15 1 + 1"} << "-" << 0x008000u << true << "0"
                                << "1";
    QTest::newRow("switched off keeps mark")
        << QStringList{"20 16 15 0 - 1"} << "-" << 0x008000u << false << ""
        << "0";
    QTest::newRow("unjudged rows skip only themselves")
        << QStringList{"_ 16 15 1 0", "0.000 16 15 1 + 1", "1 x 15 1 0", "15.32 15 14 1 0"}
        << "0+0+" << 0xff0000u << true << "3"
        << "0101";
}

void TestMonitorCore::alarmTest() {
    QFETCH(QStringList, rows);
    QFETCH(QString, marks);
    QFETCH(uint, lastColour);
    QFETCH(bool, alarm);
    QFETCH(QString, started);
    QFETCH(QString, alarming);
    const monitor::AlarmTestResult result = monitor::TestAlarms(RowsOf(rows));
    QCOMPARE(QString(result.marks.constData(), result.marks.size()), marks);
    QCOMPARE(monitor::MarkColour(QString(result.marks.last())), lastColour);
    QCOMPARE(result.alarm, alarm);
    QString told;
    for (const qsizetype row : result.started) {
        told += QString::number(row);
    }
    QCOMPARE(told, started);
    QString states;
    for (const bool state : result.alarming) {
        states += state ? u'1' : u'0';
    }
    QCOMPARE(states, alarming);
}

void TestMonitorCore::readingStatus_data() {
    QTest::addColumn<Prices>("prices");
    QTest::addColumn<QString>("errors");  // "<main's>|<the last service's>"
    QTest::addColumn<bool>("second");     // the second service was asked last
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("priced");  // the rows had prices before the reading
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("problem");
    QTest::newRow("all") << Prices{"1", "2"} << "|" << false << false << true
                         << "行情来源: 新浪  价格更新于 09:30:05" << false;
    QTest::newRow("suspended and unknown both count")
        << Prices{std::nullopt, ""} << "|" << false << false << true
        << "行情来源: 新浪  09:30:05 2只股票没有报价" << true;
    QTest::newRow("not quoted") << Prices{"1", std::nullopt} << "|" << true << false << true
                                << "行情来源: 腾讯  09:30:05 1只股票没有报价" << true;
    QTest::newRow("one batch failed")
        << Prices{"1", std::nullopt} << "|行情服务无响应" << false << false << true
        << "行情来源: 新浪  09:30:05 行情服务无响应,1只股票仍是上次的价格" << true;
    QTest::newRow("second service delivered, closed")
        << Prices{"1", "2"} << "行情服务无响应|" << true << true << true
        << "休市  行情来源: 腾讯  价格更新于 09:30:05" << false;
    const QString both = "无法连接行情服务|行情服务拒绝请求(HTTP 503)";
    QTest::newRow("both failed") << Prices{std::nullopt, std::nullopt} << both << true << false
                                 << true << "09:30:05 新浪、腾讯行情服务都失败了,显示的是上次的价格"
                                 << true;
    QTest::newRow("both failed, no price ever")
        << Prices{std::nullopt, std::nullopt} << both << true << false << false
        << "09:30:05 新浪、腾讯行情服务都失败了,还没有价格" << true;
}

void TestMonitorCore::readingStatus() {
    QFETCH(Prices, prices);
    QFETCH(QString, errors);
    QFETCH(bool, second);
    QFETCH(bool, closed);
    QFETCH(bool, priced);
    QFETCH(QString, status);
    QFETCH(bool, problem);
    QList<monitor::MonitorRow> rows = RowsOf(priced ? QStringList{"9 16 15 1 0", "8 16 15 1 0"}
                                                    : QStringList{"_ 16 15 1 0", "_ 16 15 1 0"});
    quotes::FeedReading reading;
    for (qsizetype i = 0; i < prices.size(); ++i) {
        rows[i].code = QString::number(600000 + i);
        reading.quotes.insert(
            rows[i].code,
            prices[i] ? std::optional(quotes::QuoteDetail{*prices[i], {}, {}}) : std::nullopt);
    }
    reading.state.mainError = errors.section(u'|', 0, 0);
    reading.state.error = errors.section(u'|', 1);
    reading.state.source = second ? quotes::QuoteSource::Fallback : quotes::QuoteSource::Main;
    reading.state.closed = closed;
    const qsizetype kept = monitor::ApplyPrices(rows, reading);
    QCOMPARE(rows[1].price, prices[1].value_or(priced ? "8" : ""));
    const quotes::ReadingStatus said =
        quotes::DescribeReading(reading.state, kept, rows.size(), QTime(9, 30, 5),
                                !rows[0].price.isEmpty() || !rows[1].price.isEmpty());
    QCOMPARE(said.text, status);
    QCOMPARE(said.problem, problem);
    // Both services' own words stay within reach.
    QVERIFY(said.details.contains(reading.state.mainError) &&
            said.details.contains(reading.state.error));
}

storage::WatchEntry Entry(const QString &code, const QString &upper, const QString &lower) {
    return {0, code, QStringLiteral("名"), {upper.toDouble(), upper}, {lower.toDouble(), lower}};
}

QString Shown(const monitor::WatchSession &session) {
    QStringList cells;
    for (const monitor::MonitorRow &row : session.rows()) {
        cells.append(row.price + u'/' + row.mark);
    }
    return cells.join(u' ');
}

void TestMonitorCore::sessionAppliesByCodeAndTellsEachAlarmOnce() {
    QStringList told;
    int sounds = 0;
    monitor::WatchSession session(
        nullptr,
        {[&](const QString &row, const QString &) { told.append(row); }, [&] { ++sounds; }});
    QSignalSpy raised(&session, &monitor::WatchSession::alarmRaised);
    session.start({Entry("600000", "15", "14"), Entry("000001", "16", "15")});
    // Each step: the prices a reading brought by code, a row's switch flipped (or -1), one
    // alarm test; then each row's price and mark, the rows told so far, the sounds so far.
    struct Step {
        QHash<QString, QString> prices;
        int toggle;
        QString shown;
        QStringList told;
        int sounds;
    };
    const Step steps[] = {
        {{{"000001", "15.5"}, {"600000", "15.32"}, {"300750", "1"}},
         -1,
         "15.32/+ 15.5/0",
         {"600000"},
         1},
        {{{"600000", "14.5"}}, -1, "14.5/+ 15.5/0", {"600000"}, 1},        // back inside: latched
        {{{"600000", "13"}}, -1, "13/- 15.5/0", {"600000", "600000"}, 2},  // the other edge
        {{{"000001", "16"}}, 0, "13/- 16/+", {"600000", "600000", "000001"}, 3},
        {{{"600000", "20"}}, -1, "20/- 16/+", {"600000", "600000", "000001"}, 4},  // row 0 off
    };
    for (const Step &step : steps) {
        quotes::FeedReading reading;
        for (auto it = step.prices.cbegin(); it != step.prices.cend(); ++it) {
            reading.quotes.insert(it.key(), quotes::QuoteDetail{it.value(), {}, {}});
        }
        session.apply(reading);
        session.toggleAlarm(step.toggle);
        session.testAlarms();
        QCOMPARE(Shown(session), step.shown);
        QCOMPARE(told, step.told);
        QCOMPARE(sounds, step.sounds);
    }
    QCOMPARE(raised.size(), 4);
    // A reading made for another consumer's codes leaves the rows and the status alone.
    QSignalSpy status(&session, &monitor::WatchSession::statusChanged);
    session.apply({{{QStringLiteral("300750"), std::nullopt}}, {}});
    QCOMPARE(status.size(), 0);
}

void TestMonitorCore::init() {
    m_server = std::make_unique<FakeQuoteServer>();
    qputenv("STOCKCALC_QUOTE_URL", m_server->url().toUtf8());
    m_fallback = std::make_unique<FakeQuoteServer>();
    m_fallback->status = 503;
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", m_fallback->url().toUtf8());
}

void TestMonitorCore::namesAreCleaned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("clean");
    QTest::newRow("separators") << u"平安\u2028银\u2029行"_s << "平安银行";
    QTest::newRow("zero width") << u"\ufeff平\u200b安\u200c\u200d银\u2060\u2064行"_s << "平安银行";
    QTest::newRow("kept") << u"平安银行 A\u3000B"_s << u"平安银行 A\u3000B"_s;
}

void TestMonitorCore::namesAreCleaned() {
    QFETCH(QString, name);
    QFETCH(QString, clean);
    QCOMPARE(storage::CleanName(name), clean);
}

void TestMonitorCore::sessionReadsItsCodesUntilStopped() {
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.32");
    // A Thursday morning in Beijing, whatever the desktop's zone: the status shows that time.
    const QDateTime now(QDate(2026, 3, 5), QTime(10, 0, 7), quotes::BeijingTime());
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, [&] { return now; }));
    monitor::WatchSession session(&feed, {});
    QSignalSpy started(&session, &monitor::WatchSession::started);
    QSignalSpy stopped(&session, &monitor::WatchSession::stopped);
    QSignalSpy status(&session, &monitor::WatchSession::statusChanged);
    session.start({Entry("600000", "16", "15")});
    session.start({Entry("600000", "16", "15"), Entry("000001", "12", "11")});
    QCOMPARE(started.size(), 2);
    QCOMPARE(stopped.size(), 1);           // a new start ends the monitoring before it
    QVERIFY(!session.alarmTestRunning());  // not before the first reading's period is over
    QCOMPARE(feed.codes(), (QStringList{"600000", "000001"}));
    QTRY_COMPARE(status.size(), 4);  // each start, and the reading for each
    // The reading under way asks 600000 for the new start too.
    QCOMPARE(m_server->path(1), QByteArray("/list=sz000001"));
    QCOMPARE(session.rows()[0].price, QStringLiteral("15.320"));
    QCOMPARE(session.status().text, QStringLiteral("行情来源: 新浪  10:00:07 1只股票没有报价"));
    session.stop();
    QVERIFY(feed.codes().isEmpty() && !session.active());
    QCOMPARE(stopped.size(), 2);
}

QTEST_GUILESS_MAIN(TestMonitorCore)
#include "test_monitor_core.moc"
