// The program's one quote feed: one reading for the union of every consumer's codes per
// period, a consumer's new codes read at once on their own, none without a consumer; each
// code's quote handed on by code.

#include "quotes/quote_feed.h"
#include "support/fake_quote_server.h"

#include <QSignalSpy>
#include <QtTest>

class TestQuoteFeed : public QObject {
    Q_OBJECT
private slots:
    void oneReadingForTheUnion();
    void readingsFollowTheTradingHours();
    void aTickWhileAReadingIsUnderWayStartsNone();
    void eachCodeKeepsItsPriceWhenSubscribersChange_data();
    void eachCodeKeepsItsPriceWhenSubscribersChange();
    void openingsAskOnlyTheirOwnCodes();
};

namespace {

// Both services on 127.0.0.1; the main one knows 600000.
struct Services {
    Services() {
        main.body = QuoteLine(QStringLiteral("sh600000"), QStringLiteral("浦发银行"), "15.320");
        qputenv("STOCKCALC_QUOTE_URL", main.url().toUtf8());
        qputenv("STOCKCALC_QUOTE_FALLBACK_URL", second.url().toUtf8());
    }
    FakeQuoteServer main;
    FakeQuoteServer second;
};

QString PriceOf(const quotes::FeedReading &reading, const QString &code) {
    const std::optional<quotes::QuoteDetail> quote = reading.quote(code);
    return quote ? quote->price : QStringLiteral("-");
}

}  // namespace

void TestQuoteFeed::oneReadingForTheUnion() {
    FakeQuoteServer main;
    FakeQuoteServer second;
    main.body = QuoteLine(QStringLiteral("sh600000"), QStringLiteral("浦发银行"), "15.320") +
                QuoteLine(QStringLiteral("sz000001"), QStringLiteral("平安银行"), "11.010") +
                QuoteLine(QStringLiteral("sz300750"), QStringLiteral("宁德时代"), "201.500");
    qputenv("STOCKCALC_QUOTE_URL", main.url().toUtf8());
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", second.url().toUtf8());
    // Saturday evening: only the readings a new code asks for are made.
    const QDateTime saturday(QDate(2026, 3, 7), QTime(20, 0), quotes::BeijingTime());
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, [&] { return saturday; }));
    QSignalSpy readings(&feed, &quotes::QuoteFeed::readingDone);
    QObject monitor;
    QObject holdings;

    feed.subscribe(&monitor, {QStringLiteral("600000"), QStringLiteral("000001")});
    // Subscribed while the first reading is under way: what that one does not ask is read
    // right after it, on its own.
    feed.subscribe(&holdings, {QStringLiteral("000001"), QStringLiteral("300750")});
    QTRY_COMPARE(readings.size(), 2);
    QCOMPARE(main.requests.size(), 2);
    QCOMPARE(main.path(0), QByteArray("/list=sh600000,sz000001"));
    QCOMPARE(main.path(1), QByteArray("/list=sz300750"));
    QCOMPARE(PriceOf(readings.first().first().value<quotes::FeedReading>(), "000001"),
             QStringLiteral("11.010"));
    const auto last = readings.last().first().value<quotes::FeedReading>();
    QCOMPARE(last.quote(QStringLiteral("300750"))->price, QStringLiteral("201.500"));
    QVERIFY(last.state.closed);
    QCOMPARE(second.requests.size(), 0);

    // Codes already read bring no new reading; a consumer that goes away ends its part.
    feed.subscribe(&holdings, {QStringLiteral("300750")});
    feed.unsubscribe(&monitor);
    QCOMPARE(feed.codes(), QStringList{QStringLiteral("300750")});
    feed.unsubscribe(&holdings);
    QVERIFY(feed.codes().isEmpty());
    QTest::qWait(50);
    QCOMPARE(main.requests.size(), 2);
}

void TestQuoteFeed::readingsFollowTheTradingHours() {
    Services services;
    // Thursday evening in Beijing. The feed looks at its clock at every tick: counting the
    // looks shows ticks went by without waiting for a set time.
    QDateTime now(QDate(2026, 3, 5), QTime(20, 0), quotes::BeijingTime());
    int looks = 0;
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, [&] { return ++looks, now; }), 200, nullptr,
                           250);
    QSignalSpy readings(&feed, &quotes::QuoteFeed::readingDone);
    QObject monitor;
    feed.subscribe(&monitor, {QStringLiteral("600000")});  // one reading whatever the time
    QTRY_COMPARE(readings.size(), 1);
    QVERIFY(readings.last().first().value<quotes::FeedReading>().state.closed);
    const int before = looks;
    QTRY_VERIFY(looks >= before + 3);
    QCOMPARE(services.main.requests.size(), 1);  // closed: no second reading
    now = QDateTime(QDate(2026, 3, 6), QTime(9, 15), quotes::BeijingTime());
    QTRY_VERIFY(readings.size() >= 2);
    QVERIFY(!readings.last().first().value<quotes::FeedReading>().state.closed);
    QCOMPARE(feed.state().readingTime, now);
}

void TestQuoteFeed::aTickWhileAReadingIsUnderWayStartsNone() {
    Services services;
    services.main.hang = true;
    services.second.hang = true;
    const QDateTime now(QDate(2026, 3, 5), QTime(10, 0), quotes::BeijingTime());
    int looks = 0;
    // Ticks every 100 ms under a reading that may last 3 s.
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, [&] { return ++looks, now; }), 3000, nullptr,
                           100);
    QSignalSpy readings(&feed, &quotes::QuoteFeed::readingDone);
    QObject monitor;
    feed.subscribe(&monitor, {QStringLiteral("600000")});
    QTRY_COMPARE(services.main.requests.size(), 1);
    const int before = looks;
    QTRY_VERIFY(looks >= before + 6);  // a tick looks twice while a reading is under way
    QVERIFY(readings.isEmpty());       // still under way
    QCOMPARE(services.main.requests.size(), 1);
}

void TestQuoteFeed::eachCodeKeepsItsPriceWhenSubscribersChange_data() {
    QTest::addColumn<bool>("replaced");  // the monitor leaves and the holdings come, or it narrows
    QTest::newRow("narrowed") << false;
    QTest::newRow("replaced") << true;
}

void TestQuoteFeed::eachCodeKeepsItsPriceWhenSubscribersChange() {
    QFETCH(bool, replaced);
    Services services;
    services.main.body +=
        QuoteLine(QStringLiteral("sz300750"), QStringLiteral("宁德时代"), "201.500") +
        QuoteLine(QStringLiteral("sz000001"), QStringLiteral("平安银行"), "11.010");
    const QDateTime saturday(QDate(2026, 3, 7), QTime(20, 0), quotes::BeijingTime());
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, [&] { return saturday; }));
    QSignalSpy readings(&feed, &quotes::QuoteFeed::readingDone);
    QObject monitor;
    QObject holdings;
    feed.subscribe(&monitor, {QStringLiteral("600000"), QStringLiteral("300750")});
    // While that reading is under way.
    if (replaced) {
        feed.unsubscribe(&monitor);
        feed.subscribe(&holdings, {QStringLiteral("000001"), QStringLiteral("300750")});
    } else {
        feed.subscribe(&monitor, {QStringLiteral("300750")});
    }
    QTRY_VERIFY(!readings.isEmpty());
    const auto first = readings.first().first().value<quotes::FeedReading>();
    QCOMPARE(PriceOf(first, "300750"), QStringLiteral("201.500"));
    QCOMPARE(PriceOf(first, "600000"), QStringLiteral("15.320"));
    QCOMPARE(PriceOf(first, "000001"), QStringLiteral("-"));  // not asked by that reading
}

void TestQuoteFeed::openingsAskOnlyTheirOwnCodes() {
    Services services;
    // Thursday morning: the exchanges trade; the period is long enough that no tick comes.
    const QDateTime now(QDate(2026, 3, 5), QTime(10, 0), quotes::BeijingTime());
    quotes::QuoteFeed feed(quotes::TradingCalendar({}, [&] { return now; }), 3000, nullptr, 60000);
    QSignalSpy readings(&feed, &quotes::QuoteFeed::readingDone);
    QObject monitor;
    feed.subscribe(&monitor, {QStringLiteral("600000"), QStringLiteral("000001")});
    QTRY_COMPARE(readings.size(), 1);
    for (int opening = 1; opening <= 3; ++opening) {
        QObject window;  // subscribes while open, and goes when closed
        feed.subscribe(&window, {QStringLiteral("300750"), QStringLiteral("600000")});
        QTRY_COMPARE(readings.size(), 1 + opening);
        QCOMPARE(services.main.path(opening), QByteArray("/list=sz300750,sh600000"));
    }
    QCOMPARE(services.main.requests.size(), 4);  // the union once, in its period
    QCOMPARE(feed.codes(), (QStringList{"600000", "000001"}));
}

QTEST_GUILESS_MAIN(TestQuoteFeed)
#include "test_quote_feed.moc"
