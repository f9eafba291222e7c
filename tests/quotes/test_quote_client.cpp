// The quote client against both services on 127.0.0.1: what it asks, how it matches the
// replies to the codes, its limits, its deadline and the choice between the services.

#include "quotes/quote_client.h"
#include "quotes/quote_protocol.h"
#include "quotes/reading_status.h"
#include "quotes/tencent_protocol.h"
#include "support/fake_quote_server.h"
#include "support/resident_memory.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <zlib.h>

using quotes::QuoteReading;
using Prices = QList<std::optional<QString>>;

class TestQuoteClient : public QObject {
    Q_OBJECT
private slots:
    void requestUrlsSplitAndEncode();
    void init();
    void oneRequestPerReadingMatchedByCode();
    void failedReadingsGiveNoPrices_data();
    void failedReadingsGiveNoPrices();
    void packedReplies_data();
    void packedReplies();
    void hungReplyIsNotStacked();
    void answerBeforeTheNextReadingIsUsed_data();
    void answerBeforeTheNextReadingIsUsed();
    void floodIsCutOffAndReadingsGoOnTime();
    void secondServiceTakesOverAndHandsBack();
    void secondServiceFillsTheMainGaps_data();
    void secondServiceFillsTheMainGaps();
    void slowSecondServiceFillsALargeList();
    void bothServicesDownStaysSaid();

private:
    QuoteReading read(quotes::QuoteClient &client, const QStringList &codes);
    // The price of each code of the last reading asked, in the order asked; "" for a code
    // the service does not know, nothing where the reading brought nothing.
    Prices pricesOf(const QuoteReading &reading) const;
    std::unique_ptr<FakeQuoteServer> m_server;
    std::unique_ptr<FakeQuoteServer> m_fallback;  // refuses unless a test says otherwise
    QStringList m_asked;
};

Prices TestQuoteClient::pricesOf(const QuoteReading &reading) const {
    Prices prices;
    for (const QString &code : m_asked) {
        const std::optional<quotes::QuoteDetail> quote = reading.quotes.value(code);
        prices.append(quote ? std::optional(quote->price) : std::nullopt);
    }
    return prices;
}

// The text packed as gzip, or as deflate in its zlib wrapping.
QByteArray Packed(const QByteArray &plain, bool gzip) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, MAX_WBITS + (gzip ? 16 : 0), 9,
                 Z_DEFAULT_STRATEGY);
    QByteArray packed(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(plain.size()))),
                      Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.data()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef *>(packed.data());
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FINISH);
    packed.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    return packed;
}

void TestQuoteClient::init() {
    m_server = std::make_unique<FakeQuoteServer>();
    qputenv("STOCKCALC_QUOTE_URL", m_server->url().toUtf8());
    m_fallback = std::make_unique<FakeQuoteServer>();
    m_fallback->status = 503;
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", m_fallback->url().toUtf8());
}

void TestQuoteClient::requestUrlsSplitAndEncode() {
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

QuoteReading TestQuoteClient::read(quotes::QuoteClient &client, const QStringList &codes) {
    m_asked = codes;
    QSignalSpy finished(&client, &quotes::QuoteClient::finished);
    if (!client.read(codes) || !finished.wait(quotes::kReadingPeriodMs + 1000)) {
        return {};
    }
    return finished.first().first().value<QuoteReading>();
}

void TestQuoteClient::oneRequestPerReadingMatchedByCode() {
    m_server->body = QuoteLine("sz000001", "平安银行", "11.250") +
                     QuoteLine("sh600000", "浦发银行", "15.320") + "var hq_str_sh999999=\"\";\n";
    quotes::QuoteClient client;
    const QuoteReading reading = read(client, {"600000", "000001", "999999", "600036"});
    QCOMPARE(m_server->requests.size(), 1);
    QCOMPARE(m_server->path(0), QByteArray("/list=sh600000,sz000001,sh999999,sh600036"));
    QCOMPARE(m_server->header(0, "Referer"), QByteArray("https://finance.sina.com.cn"));
    // An unknown code reads as empty text; a code the reply leaves out brings nothing.
    QCOMPARE(pricesOf(reading), (Prices{"15.320", "11.250", "", std::nullopt}));
    QVERIFY(reading.error.isEmpty());
    QVERIFY(quotes::DecodeQuoteReply(m_server->body).value_or("").contains("浦发银行"));
}

void TestQuoteClient::failedReadingsGiveNoPrices_data() {
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

void TestQuoteClient::failedReadingsGiveNoPrices() {
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
    QCOMPARE(pricesOf(reading), Prices{std::nullopt});
    // A few, not the fifty the network layer follows by itself.
    QVERIFY2(m_server->requests.size() < 10,
             qPrintable(QString::number(m_server->requests.size())));
}

void TestQuoteClient::packedReplies_data() {
    QTest::addColumn<QByteArray>("packing");
    QTest::addColumn<int>("padding");      // blanks after the quote, before packing
    QTest::addColumn<int>("cut");          // bytes of the packed reply left off
    QTest::addColumn<QString>("outcome");  // the price, or the main service's error
    QTest::newRow("gzip") << QByteArray("gzip") << 0 << 0 << "15.320";
    QTest::newRow("deflate") << QByteArray("deflate") << 0 << 0 << "15.320";
    QTest::newRow("unpacks past the cap") << QByteArray("gzip") << (64 << 20) << 0 << "过大";
    QTest::newRow("cut off") << QByteArray("gzip") << 0 << 8 << "无法读取";
    QTest::newRow("unknown packing") << QByteArray("br") << 0 << 0 << "无法读取";
}

void TestQuoteClient::packedReplies() {
    QFETCH(QByteArray, packing);
    QFETCH(int, padding);
    QFETCH(int, cut);
    QFETCH(QString, outcome);
    QByteArray packed = Packed(
        QuoteLine("sh600000", "浦发银行", "15.32") + QByteArray(padding, ' '), packing == "gzip");
    packed.chop(cut);
    m_server->body = packed;
    m_server->headers = "Content-Encoding: " + packing + "\r\n";
    quotes::QuoteClient client;
    const QuoteReading reading = read(client, {"600000"});
    const QString got =
        reading.mainError.isEmpty() ? pricesOf(reading).value(0).value_or("-") : reading.mainError;
    QVERIFY2(got.contains(outcome), qPrintable(got));
}

void TestQuoteClient::hungReplyIsNotStacked() {
    m_server->hang = true;
    quotes::QuoteClient client(300);
    QSignalSpy finished(&client, &quotes::QuoteClient::finished);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.read({"600000"}));
    QVERIFY(clock.elapsed() < 100);  // the caller never waits for the network
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ticks += client.read({"600000"}) ? 100 : 1; });
    connect(&client, &quotes::QuoteClient::finished, &ticker, &QTimer::stop);
    ticker.start(50);
    QVERIFY(finished.wait(2000));
    QVERIFY2(ticks >= 3 && ticks < 100, "the event loop ran on, and no tick started a reading");
    QCOMPARE(m_server->requests.size(), 1);
    QVERIFY(finished.first().first().value<QuoteReading>().mainError.contains("无响应"));
    m_server->hang = false;
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.32");
    QCOMPARE(pricesOf(read(client, {"600000"})), Prices{"15.320"});
}

void TestQuoteClient::answerBeforeTheNextReadingIsUsed_data() {
    QTest::addColumn<int>("mainDelayMs");  // -1: never answers
    QTest::addColumn<bool>("secondAnswers");
    QTest::addColumn<QString>("price");
    QTest::addColumn<bool>("second");  // the price came from the second service
    QTest::newRow("slow main") << 4000 << false << "15.320" << false;
    QTest::newRow("slow main beats a quick second") << 4000 << true << "15.320" << false;
    QTest::newRow("main hangs, second delivers") << -1 << true << "15.300" << true;
}

void TestQuoteClient::answerBeforeTheNextReadingIsUsed() {
    QFETCH(int, mainDelayMs);
    QFETCH(bool, secondAnswers);
    QFETCH(QString, price);
    QFETCH(bool, second);
    m_server->hang = mainDelayMs < 0;
    m_server->delayMs = mainDelayMs;
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.32");
    if (secondAnswers) {
        m_fallback->status = 200;
        m_fallback->body = FallbackQuoteLine("sh600000", "PFYH", "15.30");
    }
    quotes::QuoteClient client;
    QElapsedTimer clock;
    clock.start();
    const QuoteReading reading = read(client, {"600000"});
    QVERIFY(clock.elapsed() < quotes::kReadingPeriodMs);
    QCOMPARE(pricesOf(reading), Prices{price});
    QCOMPARE(reading.source == quotes::QuoteSource::Fallback, second);
    QVERIFY(reading.error.isEmpty());
    QCOMPARE(reading.mainError.isEmpty(), !second);
}

void TestQuoteClient::floodIsCutOffAndReadingsGoOnTime() {
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
        refused += client.read({"600000"}) ? 0 : 1;
        if (++started == kReadings) {
            period.stop();
        }
    });
    const int before = ResidentMegabytes();
    int peak = before;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.read({"600000"}));
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

void TestQuoteClient::secondServiceTakesOverAndHandsBack() {
    QDateTime now = QDateTime::currentDateTimeUtc();
    quotes::QuoteClient client(quotes::kReplyDeadlineMs, nullptr, [&now] { return now; });
    m_fallback->status = 200;
    m_fallback->body = "v_pv_none_match=\"1\";\n" + FallbackQuoteLine("sh600000", "PFYH", "15.32");
    m_server->hang = true;
    QElapsedTimer clock;
    clock.start();
    QuoteReading reading = read(client, {"600000", "000001"});
    // A main service that never answers still leaves the second one time before the next
    // reading is due.
    QVERIFY(clock.elapsed() < quotes::kReadingPeriodMs);
    QCOMPARE(pricesOf(reading), (Prices{"15.320", std::nullopt}));
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
    QCOMPARE(pricesOf(reading), Prices{"15.320"});  // the same text from either service
    QCOMPARE(m_fallback->requests.size(), 3);
}

void TestQuoteClient::secondServiceFillsTheMainGaps_data() {
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

void TestQuoteClient::secondServiceFillsTheMainGaps() {
    QFETCH(QByteArray, mainTail);
    QFETCH(bool, secondAnswers);
    QFETCH(QString, price);
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.32") + mainTail;
    if (secondAnswers) {
        m_fallback->status = 200;
        m_fallback->body = FallbackQuoteLine("bj920002", "BZ", "31.50");
    }
    quotes::QuoteClient client;
    const QuoteReading reading = read(client, {"600000", "920002"});
    // Only the code the main service left without a price is asked of the second one.
    QCOMPARE(m_fallback->requests.size(), 1);
    QCOMPARE(m_fallback->path(0), QByteArray("/q=bj920002"));
    QCOMPARE(pricesOf(reading), (Prices{"15.320", price}));
    QCOMPARE(reading.source, quotes::QuoteSource::Main);
    QVERIFY(reading.error.isEmpty() && reading.mainError.isEmpty());
}

void TestQuoteClient::slowSecondServiceFillsALargeList() {
    // 900 codes are 15 requests to the second service, each answered after 2.5 s: only when
    // all of them are under way at once do they arrive before the reading's deadline (two
    // rounds would take 5 s).
    QStringList codes;
    QByteArray body;
    for (int i = 0; i < 900; ++i) {
        codes.append(QString::number(600000 + i));
        body += FallbackQuoteLine("sh" + codes.last(), "X", "15.30");
    }
    m_server->status = 500;  // the second service is asked at once
    m_fallback->status = 200;
    m_fallback->delayMs = 2500;
    m_fallback->body = body;
    quotes::QuoteClient client;
    const QuoteReading reading = read(client, codes);
    QCOMPARE(m_fallback->requests.size(), 15);
    QCOMPARE(pricesOf(reading).count(std::optional<QString>("15.300")), 900);
    QVERIFY2(reading.error.isEmpty(), qPrintable(reading.error));
}

void TestQuoteClient::bothServicesDownStaysSaid() {
    m_server->status = 500;
    QDateTime now = QDateTime::currentDateTimeUtc();
    quotes::QuoteClient client(quotes::kReplyDeadlineMs, nullptr, [&now] { return now; });
    QuoteReading reading;
    for (int i = 0; i < 3; ++i) {  // the third goes to the second service alone
        reading = read(client, {"600000"});
        now = now.addSecs(5);
    }
    QCOMPARE(m_server->requests.size(), 2);
    const quotes::FeedState state{reading.source, {}, reading.error, reading.mainError, false};
    const quotes::ReadingStatus said = quotes::DescribeReading(state, 1, 1, QTime(9, 30, 5), true);
    QCOMPARE(said.text, QStringLiteral("09:30:05 新浪、腾讯行情服务都失败了,显示的是上次的价格"));
    QVERIFY(said.details.contains("HTTP 500") && said.details.contains("HTTP 503"));
}

QTEST_GUILESS_MAIN(TestQuoteClient)
#include "test_quote_client.moc"
