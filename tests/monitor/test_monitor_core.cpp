// The monitor's rules over its rows, the watch session, and the quote protocol and client
// against a service on 127.0.0.1.

#include "monitor/alarm_rule.h"
#include "monitor/monitor_rows.h"
#include "monitor/watch_session.h"
#include "quotes/quote_client.h"
#include "quotes/quote_protocol.h"
#include "quotes/reading_status.h"
#include "quotes/tencent_protocol.h"
#include "storage/watch_list_store.h"
#include "support/fake_quote_server.h"
#include "support/resident_memory.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using namespace Qt::StringLiterals;
using quotes::QuoteReading;
using Prices = QList<std::optional<QString>>;

class TestMonitorCore : public QObject {
    Q_OBJECT
private slots:
    void alarmTest_data();
    void alarmTest();
    void readingStatus_data();
    void readingStatus();
    void sessionAppliesByCodeAndTellsEachAlarmOnce();
    void requestUrlsSplitAndEncode();
    void init();
    void oneRequestPerReadingMatchedByCode();
    void failedReadingsGiveNoPrices_data();
    void failedReadingsGiveNoPrices();
    void hungReplyIsNotStacked();
    void answerBeforeTheNextReadingIsUsed_data();
    void answerBeforeTheNextReadingIsUsed();
    void floodIsCutOffAndReadingsGoOnTime();
    void secondServiceTakesOverAndHandsBack();
    void secondServiceFillsTheMainGaps_data();
    void secondServiceFillsTheMainGaps();
    void slowSecondServiceFillsALargeList();
    void bothServicesDownStaysSaid();
    void namesAreCleaned_data();
    void namesAreCleaned();
    void sessionReadsItsCodesUntilStopped();

private:
    QuoteReading read(quotes::QuoteClient &client, const QStringList &codes);
    std::unique_ptr<FakeQuoteServer> m_server;
    std::unique_ptr<FakeQuoteServer> m_fallback;  // refuses unless a test says otherwise
};

Prices PricesOf(const QuoteReading &reading) {
    Prices prices;
    for (const std::optional<quotes::QuoteDetail> &quote : reading.quotes) {
        prices.append(quote ? std::optional(quote->price) : std::nullopt);
    }
    return prices;
}

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
    QuoteReading reading;
    for (const std::optional<QString> &price : prices) {
        reading.quotes.append(price ? std::optional(quotes::QuoteDetail{*price, {}, {}})
                                    : std::nullopt);
    }
    reading.mainError = errors.section(u'|', 0, 0);
    reading.error = errors.section(u'|', 1);
    reading.source = second ? quotes::QuoteSource::Fallback : quotes::QuoteSource::Main;
    const qsizetype kept = monitor::ApplyPrices(rows, reading.quotes);
    QCOMPARE(rows[1].price, prices[1].value_or(priced ? "8" : ""));
    const quotes::ReadingStatus said =
        quotes::DescribeReading(reading, kept, rows.size(), QTime(9, 30, 5), closed,
                                !rows[0].price.isEmpty() || !rows[1].price.isEmpty());
    QCOMPARE(said.text, status);
    QCOMPARE(said.problem, problem);
    // Both services' own words stay within reach.
    QVERIFY(said.details.contains(reading.mainError) && said.details.contains(reading.error));
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

void TestMonitorCore::requestUrlsSplitAndEncode() {
    QStringList codes;
    for (int i = 0; i < 1601; ++i) {
        codes.append(QString::number(600000 + i));
    }
    codes[1] = QStringLiteral("6 0&#/");  // sent as typed, never cutting the list
    const QList<QUrl> urls =
        quotes::RequestUrls(quotes::MainQuoteService(QStringLiteral("http://h:1/")), codes);
    QCOMPARE(urls.size(), 3);
    QVERIFY(urls[0].toEncoded().startsWith("http://h:1/list=sh600000,sh6%200%26%23%2F,sh600002"));
    QCOMPARE(urls[0].toEncoded().count(','), 799);
    QCOMPARE(urls[2].toEncoded(), QByteArray("http://h:1/list=sh601600"));
}

void TestMonitorCore::init() {
    m_server = std::make_unique<FakeQuoteServer>();
    qputenv("STOCKCALC_QUOTE_URL", m_server->url().toUtf8());
    m_fallback = std::make_unique<FakeQuoteServer>();
    m_fallback->status = 503;
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", m_fallback->url().toUtf8());
}

QuoteReading TestMonitorCore::read(quotes::QuoteClient &client, const QStringList &codes) {
    QSignalSpy finished(&client, &quotes::QuoteClient::finished);
    if (!client.Read(codes) || !finished.wait(quotes::kReadingPeriodMs + 1000)) {
        return {};
    }
    return finished.first().first().value<QuoteReading>();
}

void TestMonitorCore::oneRequestPerReadingMatchedByCode() {
    m_server->body = QuoteLine("sz000001", "平安银行", "11.250") +
                     QuoteLine("sh600000", "浦发银行", "15.320") + "var hq_str_sh999999=\"\";\n";
    quotes::QuoteClient client;
    const QuoteReading reading = read(client, {"600000", "000001", "999999", "600036"});
    QCOMPARE(m_server->requests.size(), 1);
    QCOMPARE(m_server->path(0), QByteArray("/list=sh600000,sz000001,sh999999,sh600036"));
    QCOMPARE(m_server->header(0, "Referer"), QByteArray("https://finance.sina.com.cn"));
    // An unknown code reads as empty text; a code the reply leaves out brings nothing.
    QCOMPARE(PricesOf(reading), (Prices{"15.320", "11.250", "", std::nullopt}));
    QVERIFY(reading.error.isEmpty());
    QVERIFY(quotes::DecodeQuoteReply(m_server->body).value_or("").contains("浦发银行"));
}

void TestMonitorCore::failedReadingsGiveNoPrices_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("announceLength");
    QTest::addColumn<QString>("error");
    const QByteArray valid = QuoteLine("sh600000", "浦发银行", "15.32");
    const QByteArray large = valid + QByteArray(2 * 1024 * 1024, ' ');
    QTest::newRow("403") << 403 << QByteArray("Forbidden") << true << "HTTP 403";
    QTest::newRow("garbage") << 200 << QByteArray("<html>oops</html>") << true << "无法识别";
    QTest::newRow("invalid GBK") << 200 << valid + "\x81\x20\xff" << true << "无法识别";
    QTest::newRow("2 MB announced") << 200 << large << true << "过大";
    QTest::newRow("2 MB unannounced") << 200 << large << false << "过大";
    QTest::newRow("refused") << 0 << QByteArray() << true << "无法连接";
    // For a redirect the body names where to.
    QTest::newRow("redirect loop") << 302 << QByteArray("/list=sh600000") << true << "次数过多";
    QTest::newRow("redirect elsewhere")
        << 302 << QByteArray("http://127.0.0.1:1/list=sh600000") << true << "其他地址";
    QTest::newRow("gzip that does not unpack")
        << 200 << QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03\xff\xff\xff\xff", 14) << true
        << "无法读取";
}

void TestMonitorCore::failedReadingsGiveNoPrices() {
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, announceLength);
    QFETCH(QString, error);
    m_server->status = status;
    m_server->body = body;
    m_server->announceLength = announceLength;
    m_server->location = status / 100 == 3 ? body : QByteArray();
    m_server->headers = body.startsWith("\x1f\x8b") ? "Content-Encoding: gzip\r\n" : "";
    if (status == 0) {
        m_server->close();
    }
    quotes::QuoteClient client;
    QElapsedTimer clock;
    clock.start();
    const QuoteReading reading = read(client, {"600000"});
    // The second service is asked as soon as the main one has failed.
    QVERIFY(clock.elapsed() < quotes::kReplyDeadlineMs * quotes::kHedgePercent / 100);
    QVERIFY2(reading.mainError.contains(error), qPrintable(reading.mainError));
    QVERIFY(reading.error.contains("503"));  // the second service was asked too
    QCOMPARE(PricesOf(reading), Prices{std::nullopt});
    // A few, not the fifty the network layer follows by itself.
    QVERIFY2(m_server->requests.size() < 10,
             qPrintable(QString::number(m_server->requests.size())));
}

void TestMonitorCore::hungReplyIsNotStacked() {
    m_server->hang = true;
    quotes::QuoteClient client(300);
    QSignalSpy finished(&client, &quotes::QuoteClient::finished);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.Read({"600000"}));
    QVERIFY(clock.elapsed() < 100);  // the caller never waits for the network
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ticks += client.Read({"600000"}) ? 100 : 1; });
    connect(&client, &quotes::QuoteClient::finished, &ticker, &QTimer::stop);
    ticker.start(50);
    QVERIFY(finished.wait(2000));
    QVERIFY2(ticks >= 3 && ticks < 100, "the event loop ran on, and no tick started a reading");
    QCOMPARE(m_server->requests.size(), 1);
    QVERIFY(finished.first().first().value<QuoteReading>().mainError.contains("无响应"));
    m_server->hang = false;
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.32");
    QCOMPARE(PricesOf(read(client, {"600000"})), Prices{"15.320"});
}

void TestMonitorCore::answerBeforeTheNextReadingIsUsed_data() {
    QTest::addColumn<int>("mainDelayMs");  // -1: never answers
    QTest::addColumn<bool>("secondAnswers");
    QTest::addColumn<QString>("price");
    QTest::addColumn<bool>("second");  // the price came from the second service
    QTest::newRow("slow main") << 4500 << false << "15.320" << false;
    QTest::newRow("slow main beats a quick second") << 4500 << true << "15.320" << false;
    QTest::newRow("main hangs, second delivers") << -1 << true << "15.300" << true;
}

void TestMonitorCore::answerBeforeTheNextReadingIsUsed() {
    QFETCH(int, mainDelayMs);
    QFETCH(bool, secondAnswers);
    QFETCH(QString, price);
    QFETCH(bool, second);
    m_server->hang = mainDelayMs < 0;
    m_server->delayMs = mainDelayMs;
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.32");
    if (secondAnswers) {
        m_fallback->status = 200;
        m_fallback->body = "v_sh600000=\"1~PFYH~600000~15.30~15.00\";\n";
    }
    quotes::QuoteClient client;
    QElapsedTimer clock;
    clock.start();
    const QuoteReading reading = read(client, {"600000"});
    QVERIFY(clock.elapsed() < quotes::kReadingPeriodMs);
    QCOMPARE(PricesOf(reading), Prices{price});
    QCOMPARE(reading.source == quotes::QuoteSource::Fallback, second);
    QVERIFY(reading.error.isEmpty());
    QCOMPARE(reading.mainError.isEmpty(), !second);
}

void TestMonitorCore::floodIsCutOffAndReadingsGoOnTime() {
    // The flood comes from a thread of its own, so that it can outrun the client.
    std::atomic<int> port = 0;
    qsizetype requests = 0;
    std::unique_ptr<QThread> flood(QThread::create([&] {
        FakeQuoteServer server;
        server.flood = true;
        port = server.serverPort();
        QEventLoop().exec();
        requests = server.requests.size();
    }));
    flood->start();
    QTRY_VERIFY(port != 0);
    // Both services flood: the second is held to the same limits.
    qputenv("STOCKCALC_QUOTE_URL", QByteArray("http://127.0.0.1:") + QByteArray::number(port));
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", qgetenv("STOCKCALC_QUOTE_URL"));
    // Four readings on a shortened period: each must end, cut off, before the next is due.
    constexpr int kPeriodMs = 1500;
    constexpr int kReadings = 4;
    quotes::QuoteClient client(kPeriodMs - 250);
    QStringList errors;
    connect(&client, &quotes::QuoteClient::finished,
            [&](const QuoteReading &reading) { errors.append(reading.error); });
    int refused = 0;
    int started = 1;
    QTimer period;
    period.setTimerType(Qt::PreciseTimer);
    connect(&period, &QTimer::timeout, [&] {
        refused += client.Read({"600000"}) ? 0 : 1;
        if (++started == kReadings) {
            period.stop();
        }
    });
    const int before = ResidentMegabytes();
    int peak = before;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.Read({"600000"}));
    period.start(kPeriodMs);
    while (errors.size() < kReadings && clock.elapsed() < (kReadings + 1) * kPeriodMs) {
        QTest::qWait(50);
        peak = std::max(peak, ResidentMegabytes());
    }
    QVERIFY2(peak - before < 100, qPrintable(QStringLiteral("%1 MB").arg(peak - before)));
    QCOMPARE(refused, 0);  // every reading had ended before the next was due
    QTRY_COMPARE(errors.size(), kReadings);
    QCOMPARE(errors.filter(QStringLiteral("过大")).size(), kReadings);
    flood->quit();
    flood->wait();
    QCOMPARE(requests, 6);  // both services twice, then the second alone
}

void TestMonitorCore::secondServiceTakesOverAndHandsBack() {
    QDateTime now = QDateTime::currentDateTimeUtc();
    quotes::QuoteClient client(quotes::kReplyDeadlineMs, nullptr, [&now] { return now; });
    m_fallback->status = 200;
    m_fallback->body = "v_pv_none_match=\"1\";\nv_sh600000=\"1~PFYH~600000~15.32~15.00\";\n";
    m_server->hang = true;
    QElapsedTimer clock;
    clock.start();
    QuoteReading reading = read(client, {"600000", "000001"});
    // A main service that never answers still leaves the second one time before the next
    // reading is due.
    QVERIFY(clock.elapsed() < quotes::kReadingPeriodMs);
    QCOMPARE(PricesOf(reading), (Prices{"15.320", std::nullopt}));
    QCOMPARE(reading.source, quotes::QuoteSource::Fallback);
    QVERIFY(reading.mainError.contains("无响应") && reading.error.isEmpty());
    QCOMPARE(m_fallback->path(0), QByteArray("/q=sh600000,sz000001"));
    QVERIFY(m_fallback->header(0, "Referer").isEmpty());

    m_server->hang = false;
    m_server->body = "var hq_str_sh600000=\"FAILED\";\n";
    QCOMPARE(read(client, {"600000"}).source, quotes::QuoteSource::Fallback);
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.320");
    now = now.addSecs(299);  // two failures in a row: the second service alone
    QCOMPARE(read(client, {"600000"}).source, quotes::QuoteSource::Fallback);
    QCOMPARE(m_server->requests.size(), 2);
    now = now.addSecs(1);  // five minutes after the main service's last try
    reading = read(client, {"600000"});
    QCOMPARE(reading.source, quotes::QuoteSource::Main);
    QCOMPARE(PricesOf(reading), Prices{"15.320"});  // the same text from either service
    QCOMPARE(m_fallback->requests.size(), 3);
}

void TestMonitorCore::secondServiceFillsTheMainGaps_data() {
    QTest::addColumn<QByteArray>("mainTail");  // what the main reply says of bj920002
    QTest::addColumn<bool>("secondAnswers");
    QTest::addColumn<QString>("price");
    const QByteArray empty = "var hq_str_bj920002=\"\";\n";
    QTest::newRow("empty value") << empty << true << "31.500";
    QTest::newRow("cut off") << QByteArray("var hq_str_bj920002=\"BZ,30.000,30") << true
                             << "31.500";
    QTest::newRow("left out") << QByteArray() << true << "31.500";
    QTest::newRow("second down") << empty << false << "";
}

void TestMonitorCore::secondServiceFillsTheMainGaps() {
    QFETCH(QByteArray, mainTail);
    QFETCH(bool, secondAnswers);
    QFETCH(QString, price);
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.32") + mainTail;
    if (secondAnswers) {
        m_fallback->status = 200;
        m_fallback->body = "v_bj920002=\"0~BZ~920002~31.50~30.00\";\n";
    }
    quotes::QuoteClient client;
    const QuoteReading reading = read(client, {"600000", "920002"});
    // Only the code the main service left without a price is asked of the second one.
    QCOMPARE(m_fallback->requests.size(), 1);
    QCOMPARE(m_fallback->path(0), QByteArray("/q=bj920002"));
    QCOMPARE(PricesOf(reading), (Prices{"15.320", price}));
    QCOMPARE(reading.source, quotes::QuoteSource::Main);
    QVERIFY(reading.error.isEmpty() && reading.mainError.isEmpty());
}

void TestMonitorCore::slowSecondServiceFillsALargeList() {
    // 900 codes are 15 requests to the second service: all of them must be under way at once
    // to be answered before the reading's deadline.
    QStringList codes;
    QByteArray body;
    for (int i = 0; i < 900; ++i) {
        codes.append(QString::number(600000 + i));
        body += "v_sh" + QByteArray::number(600000 + i) + "=\"1~X~0~15.30~15.00\";\n";
    }
    m_server->hang = true;
    m_fallback->status = 200;
    m_fallback->delayMs = 1000;
    m_fallback->body = body;
    quotes::QuoteClient client;
    const QuoteReading reading = read(client, codes);
    QCOMPARE(m_fallback->requests.size(), 15);
    QCOMPARE(PricesOf(reading).count(std::optional<QString>("15.300")), 900);
    QVERIFY2(reading.error.isEmpty(), qPrintable(reading.error));
}

void TestMonitorCore::bothServicesDownStaysSaid() {
    m_server->status = 500;
    QDateTime now = QDateTime::currentDateTimeUtc();
    quotes::QuoteClient client(quotes::kReplyDeadlineMs, nullptr, [&now] { return now; });
    QuoteReading reading;
    for (int i = 0; i < 3; ++i) {  // the third goes to the second service alone
        reading = read(client, {"600000"});
        now = now.addSecs(5);
    }
    QCOMPARE(m_server->requests.size(), 2);
    const quotes::ReadingStatus said =
        quotes::DescribeReading(reading, 1, 1, QTime(9, 30, 5), false, true);
    QCOMPARE(said.text, QStringLiteral("09:30:05 新浪、腾讯行情服务都失败了,显示的是上次的价格"));
    QVERIFY(said.details.contains("HTTP 500") && said.details.contains("HTTP 503"));
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
    QCOMPARE(m_server->path(1), QByteArray("/list=sh600000,sz000001"));
    QCOMPARE(session.rows()[0].price, QStringLiteral("15.320"));
    QCOMPARE(session.status().text, QStringLiteral("行情来源: 新浪  10:00:07 1只股票没有报价"));
    session.stop();
    QVERIFY(feed.codes().isEmpty() && !session.active());
    QCOMPARE(stopped.size(), 2);
}

QTEST_GUILESS_MAIN(TestMonitorCore)
#include "test_monitor_core.moc"
