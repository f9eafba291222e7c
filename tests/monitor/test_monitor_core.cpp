// The quote protocol and client against a service on 127.0.0.1.

#include "monitor/quote_client.h"
#include "monitor/quote_protocol.h"
#include "support/fake_quote_server.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using monitor::QuoteReading;
using Prices = QList<std::optional<QString>>;

class TestMonitorCore : public QObject {
    Q_OBJECT
private slots:
    void marketPrefix_data();
    void marketPrefix();
    void requestUrlsSplitAndEncode();
    void init();
    void oneRequestPerReadingMatchedByCode();
    void failedReadingsGiveNoPrices_data();
    void failedReadingsGiveNoPrices();
    void hungReplyIsNotStacked();

private:
    QuoteReading read(monitor::QuoteClient &client, const QStringList &codes);
    std::unique_ptr<FakeQuoteServer> m_server;
};

void TestMonitorCore::marketPrefix_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("prefix");
    for (const char *row : {"000001 sz", "200002 sz", "300750 sz", "301269 sz", "600000 sh",
                            "688981 sh", "900901 sh", "430047 bj", "830799 bj", "920002 bj"}) {
        const QStringList cells = QString::fromLatin1(row).split(u' ');
        QTest::newRow(row) << cells[0] << cells[1];
    }
}

void TestMonitorCore::marketPrefix() {
    QFETCH(QString, code);
    QFETCH(QString, prefix);
    QCOMPARE(monitor::PrefixedCode(code), prefix + code);
}

void TestMonitorCore::requestUrlsSplitAndEncode() {
    QStringList codes;
    for (int i = 0; i < 1601; ++i) {
        codes.append(QString::number(600000 + i));
    }
    codes[1] = QStringLiteral("6 0&#/");  // sent as typed, never cutting the list
    const QList<QUrl> urls = monitor::QuoteRequestUrls(QStringLiteral("http://h:1/"), codes);
    QCOMPARE(urls.size(), 3);
    QVERIFY(urls[0].toEncoded().startsWith("http://h:1/list=sh600000,sh6%200%26%23%2F,sh600002"));
    QCOMPARE(urls[0].toEncoded().count(','), 799);
    QCOMPARE(urls[2].toEncoded(), QByteArray("http://h:1/list=sh601600"));
}

void TestMonitorCore::init() {
    m_server = std::make_unique<FakeQuoteServer>();
    qputenv("STOCKCALC_QUOTE_URL", m_server->url().toUtf8());
}

QuoteReading TestMonitorCore::read(monitor::QuoteClient &client, const QStringList &codes) {
    QSignalSpy finished(&client, &monitor::QuoteClient::finished);
    if (!client.Read(codes) || !finished.wait(5000)) {
        return {};
    }
    return finished.first().first().value<QuoteReading>();
}

void TestMonitorCore::oneRequestPerReadingMatchedByCode() {
    m_server->body = QuoteLine("sz000001", "平安银行", "11.250") +
                     QuoteLine("sh600000", "浦发银行", "15.320") + "var hq_str_sh999999=\"\";\n";
    monitor::QuoteClient client;
    const QuoteReading reading = read(client, {"600000", "000001", "999999", "600036"});
    QCOMPARE(m_server->requests.size(), 1);
    QCOMPARE(m_server->path(0), QByteArray("/list=sh600000,sz000001,sh999999,sh600036"));
    QCOMPARE(m_server->header(0, "Referer"), QByteArray("https://finance.sina.com.cn"));
    // An unknown code reads as empty text; a code the reply leaves out brings nothing.
    QCOMPARE(reading.prices, (Prices{"15.320", "11.250", "", std::nullopt}));
    QVERIFY(reading.error.isEmpty());
    QVERIFY(monitor::DecodeQuoteReply(m_server->body).value_or("").contains("浦发银行"));
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
}

void TestMonitorCore::failedReadingsGiveNoPrices() {
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, announceLength);
    QFETCH(QString, error);
    m_server->status = status;
    m_server->body = body;
    m_server->announceLength = announceLength;
    if (status == 0) {
        m_server->close();
    }
    monitor::QuoteClient client;
    const QuoteReading reading = read(client, {"600000"});
    QVERIFY2(reading.error.contains(error), qPrintable(reading.error));
    QCOMPARE(reading.prices, Prices{std::nullopt});
}

void TestMonitorCore::hungReplyIsNotStacked() {
    m_server->hang = true;
    monitor::QuoteClient client(300);
    QSignalSpy finished(&client, &monitor::QuoteClient::finished);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.Read({"600000"}));
    QVERIFY(clock.elapsed() < 100);  // the caller never waits for the network
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ticks += client.Read({"600000"}) ? 100 : 1; });
    connect(&client, &monitor::QuoteClient::finished, &ticker, &QTimer::stop);
    ticker.start(50);
    QVERIFY(finished.wait(2000));
    QVERIFY2(ticks >= 3 && ticks < 100, "the event loop ran on, and no tick started a reading");
    QCOMPARE(m_server->requests.size(), 1);
    QVERIFY(finished.first().first().value<QuoteReading>().error.contains("无响应"));
    m_server->hang = false;
    m_server->body = QuoteLine("sh600000", "浦发银行", "15.32");
    QCOMPARE(read(client, {"600000"}).prices, Prices{"15.32"});
}

QTEST_GUILESS_MAIN(TestMonitorCore)
#include "test_monitor_core.moc"
