// The monitor's core: market prefixes, request addresses, the reply parser, the alarm rule,
// the watch-entry checks, and the quote client against a local service.

#include "monitor/alarm_rule.h"
#include "monitor/quote_client.h"
#include "monitor/quote_protocol.h"
#include "monitor/watch_entry.h"
#include "support/fake_quote_server.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QtTest>

using monitor::QuoteReading;

class TestMonitorCore : public QObject {
    Q_OBJECT
private slots:
    void marketPrefix_data();
    void marketPrefix();
    void requestUrls();
    void parseReply_data();
    void parseReply();
    void alarm_data();
    void alarm();
    void watchEntryChecks_data();
    void watchEntryChecks();

    void init();
    void oneRequestCarriesTheListAndDecodesGbk();
    void failedReadingsGiveNoPrices_data();
    void failedReadingsGiveNoPrices();
    void hungReplyIsNotStackedAndEndsByItsDeadline();

private:
    QuoteReading read(monitor::QuoteClient &client, const QStringList &codes);
    std::unique_ptr<FakeQuoteServer> m_server;
};

void TestMonitorCore::marketPrefix_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("prefixed");
    QTest::newRow("Shenzhen main board") << "000001"
                                         << "sz000001";
    QTest::newRow("Shenzhen B share") << "200002"
                                      << "sz200002";
    QTest::newRow("ChiNext 300") << "300750"
                                 << "sz300750";
    QTest::newRow("ChiNext 301") << "301269"
                                 << "sz301269";
    QTest::newRow("Shanghai") << "600000"
                              << "sh600000";
    QTest::newRow("STAR market") << "688981"
                                 << "sh688981";
    QTest::newRow("Shanghai B share") << "900901"
                                      << "sh900901";
    QTest::newRow("Beijing 4") << "430047"
                               << "bj430047";
    QTest::newRow("Beijing 8") << "830799"
                               << "bj830799";
    QTest::newRow("Beijing 92") << "920002"
                                << "bj920002";
    QTest::newRow("letters") << "abcdef"
                             << "shabcdef";
}

void TestMonitorCore::marketPrefix() {
    QFETCH(QString, code);
    QFETCH(QString, prefixed);
    QCOMPARE(monitor::PrefixedCode(code), prefixed);
}

void TestMonitorCore::requestUrls() {
    QStringList codes;
    for (int i = 0; i < 1601; ++i) {
        codes.append(QStringLiteral("%1").arg(600000 + i));
    }
    codes[1] = QStringLiteral("6 0&#/");  // typed as it is: percent-encoded, never cut
    const QList<QUrl> urls = monitor::QuoteRequestUrls(QStringLiteral("http://h:1/"), codes);
    QCOMPARE(urls.size(), 3);
    QVERIFY(urls[0].toEncoded().startsWith("http://h:1/list=sh600000,sh6%200%26%23%2F,sh600002"));
    QCOMPARE(urls[0].toEncoded().count(','), 799);
    QVERIFY(urls[1].toEncoded().startsWith("http://h:1/list=sh600800,"));
    QCOMPARE(urls[2].toEncoded(), QByteArray("http://h:1/list=sh601600"));
}

void TestMonitorCore::parseReply_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");  // code=price pairs; "-" for no reply
    QTest::newRow("two lines, CR LF") << "var hq_str_sh600000=\"浦发,10.0,9.9,15.32,1\";\r\n"
                                         "var hq_str_sz000001=\"平安,1,2,0.000,4\";\r\n"
                                      << QStringList{"sh600000=15.32", "sz000001=0.000"};
    QTest::newRow("unknown code") << "var hq_str_sh999999=\"\";\n" << QStringList{"sh999999="};
    QTest::newRow("fewer fields") << "var hq_str_sh600000=\"a,b\";" << QStringList{"sh600000="};
    QTest::newRow("last field") << "var hq_str_sh600000=\"a,b,c,7.5\";"
                                << QStringList{"sh600000=7.5"};
    QTest::newRow("garbage") << "<html>502 Bad Gateway</html>" << QStringList{"-"};
    QTest::newRow("empty") << "" << QStringList{"-"};
}

void TestMonitorCore::parseReply() {
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const auto prices = monitor::ParseQuoteReply(text);
    if (expected == QStringList{"-"}) {
        QVERIFY(!prices);
        return;
    }
    QVERIFY(prices);
    QStringList got;
    for (auto it = prices->cbegin(); it != prices->cend(); ++it) {
        got.append(it.key() + u'=' + it.value());
    }
    got.sort();
    expected.sort();
    QCOMPARE(got, expected);
}

void TestMonitorCore::alarm_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("mark");  // empty: no alarm
    QTest::newRow("above upper") << "15.32"
                                 << "15"
                                 << "14"
                                 << "+";
    QTest::newRow("at lower") << "15.32"
                              << "16"
                              << "15.32"
                              << "-";
    QTest::newRow("inside") << "15.5"
                            << "16"
                            << "15"
                            << "";
    QTest::newRow("both edges") << "15"
                                << "15"
                                << "15"
                                << "+";
    QTest::newRow("before the open") << "0.000"
                                     << "16"
                                     << "15"
                                     << "";
    QTest::newRow("negative") << "-1"
                              << "16"
                              << "15"
                              << "";
    QTest::newRow("not read yet") << ""
                                  << "16"
                                  << "15"
                                  << "";
    QTest::newRow("word") << "停牌"
                          << "16"
                          << "15"
                          << "";
    QTest::newRow("bad upper") << "15"
                               << "x"
                               << "14"
                               << "";
    QTest::newRow("bad lower") << "15"
                               << "16"
                               << ""
                               << "";
}

void TestMonitorCore::alarm() {
    QFETCH(QString, current);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QFETCH(QString, mark);
    const std::optional<QChar> got = monitor::AlarmFor(current, upper, lower);
    QCOMPARE(got ? QString(*got) : QString(), mark);
    QCOMPARE(monitor::MarkColour("+"), 0xff0000u);
    QCOMPARE(monitor::MarkColour("-"), 0x008000u);
    QCOMPARE(monitor::MarkColour("0"), 0u);
}

void TestMonitorCore::watchEntryChecks_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("upperShown");
    QTest::addColumn<QString>("lowerShown");  // "-": the lower check was not reached
    const QString code = "股票代码不完事!请正确填写.";
    const QString price = "股票价格错误!请正确填写.";
    const QString order = "股票下限价格不能大于上限价格.";
    QTest::newRow("five characters") << "60000"
                                     << ".5"
                                     << "." << code << ".5"
                                     << "-";
    QTest::newRow("six letters") << "abcdef"
                                 << "10"
                                 << "10"
                                 << ""
                                 << "10"
                                 << "10";
    QTest::newRow("normalised") << "600000"
                                << ".5"
                                << "."
                                << ""
                                << "0.5"
                                << "0.0";
    QTest::newRow("trailing point") << "600000"
                                    << "5."
                                    << "4"
                                    << ""
                                    << "5.0"
                                    << "4";
    QTest::newRow("empty upper") << "600000"
                                 << ""
                                 << "." << price << ""
                                 << "-";
    QTest::newRow("bad lower") << "600000"
                               << "10"
                               << "1.2.3" << price << "10"
                               << "1.2.3";
    QTest::newRow("lower above upper") << "600000"
                                       << "9.9"
                                       << "10" << order << "9.9"
                                       << "10";
}

void TestMonitorCore::watchEntryChecks() {
    QFETCH(QString, code);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QFETCH(QString, error);
    QFETCH(QString, upperShown);
    QFETCH(QString, lowerShown);
    const monitor::WatchEntryCheck check = monitor::CheckWatchEntry(code, upper, lower);
    QCOMPARE(check.error, error);
    QCOMPARE(check.upperText, upperShown);
    QCOMPARE(check.lowerText.value_or("-"), lowerShown);
}

void TestMonitorCore::init() {
    m_server = std::make_unique<FakeQuoteServer>();
    QVERIFY(m_server->isListening());
    qputenv("STOCKCALC_QUOTE_URL", m_server->url().toUtf8());
}

QuoteReading TestMonitorCore::read(monitor::QuoteClient &client, const QStringList &codes) {
    QSignalSpy finished(&client, &monitor::QuoteClient::finished);
    if (!client.Read(codes) || !finished.wait(5000)) {
        return {};
    }
    return finished.first().first().value<QuoteReading>();
}

void TestMonitorCore::oneRequestCarriesTheListAndDecodesGbk() {
    m_server->body = QuoteLine("sz000001", "平安银行", "11.250") +
                     QuoteLine("sh600000", "浦发银行", "15.320") +
                     QuoteLine("sz300750", "宁德时代", "0.000") + "var hq_str_sh999999=\"\";\n";
    monitor::QuoteClient client;
    const QuoteReading reading = read(client, {"600000", "000001", "999999", "300750", "600036"});
    QCOMPARE(m_server->requests.size(), 1);
    QCOMPARE(m_server->path(0), QByteArray("/list=sh600000,sz000001,sh999999,sz300750,sh600036"));
    QCOMPARE(m_server->header(0, "Referer"), QByteArray("https://finance.sina.com.cn"));
    QVERIFY(reading.error.isEmpty());
    // Matched by code, whatever the reply's order; an unknown code is empty text, a code the
    // reply does not mention brings nothing.
    const QList<std::optional<QString>> expected = {"15.320", "11.250", "", "0.000", std::nullopt};
    QCOMPARE(reading.prices, expected);
    // The service's names are GBK.
    QCOMPARE(monitor::DecodeQuoteReply(QuoteLine("sh600000", "浦发银行", "1")).value_or(""),
             QStringLiteral("var hq_str_sh600000=\"浦发银行,10.000,9.900,1,10.200,9.800\";\n"));
}

void TestMonitorCore::failedReadingsGiveNoPrices_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("announceLength");
    QTest::addColumn<QString>("error");
    const QByteArray valid = QuoteLine("sh600000", "浦发银行", "15.32");
    QTest::newRow("403") << 403 << QByteArray("Forbidden") << true << "HTTP 403";
    QTest::newRow("garbage") << 200 << QByteArray("<html>oops</html>") << true << "无法识别";
    QTest::newRow("invalid GBK") << 200 << valid + "\x81\x20\xff" << true << "无法识别";
    const QByteArray large = valid + QByteArray(2 * 1024 * 1024, ' ');
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
    QCOMPARE(reading.prices, (QList<std::optional<QString>>{std::nullopt}));
}

void TestMonitorCore::hungReplyIsNotStackedAndEndsByItsDeadline() {
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
    QCOMPARE(read(client, {"600000"}).prices.value(0), std::optional<QString>("15.32"));
}

QTEST_GUILESS_MAIN(TestMonitorCore)
#include "test_monitor_core.moc"
