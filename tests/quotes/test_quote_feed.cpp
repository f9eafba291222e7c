// The program's one quote feed: one reading for the union of every consumer's codes, none
// without a consumer.

#include "quotes/quote_feed.h"
#include "support/fake_quote_server.h"

#include <QSignalSpy>
#include <QtTest>

class TestQuoteFeed : public QObject {
    Q_OBJECT
private slots:
    void oneReadingForTheUnion();
};

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

    feed.Subscribe(&monitor, {QStringLiteral("600000"), QStringLiteral("000001")});
    // Subscribed while the first reading is under way: read right after it, with the union.
    feed.Subscribe(&holdings, {QStringLiteral("000001"), QStringLiteral("300750")});
    QTRY_COMPARE(readings.size(), 2);
    QCOMPARE(main.requests.size(), 2);
    QCOMPARE(main.path(0), QByteArray("/list=sh600000,sz000001"));
    QCOMPARE(main.path(1), QByteArray("/list=sh600000,sz000001,sz300750"));
    const auto last = readings.last().first().value<quotes::FeedReading>();
    QCOMPARE(last.quote(QStringLiteral("300750"))->price, QStringLiteral("201.500"));
    QVERIFY(last.state.closed);
    QCOMPARE(second.requests.size(), 0);

    // Codes already read bring no new reading; a consumer that goes away ends its part.
    feed.Subscribe(&holdings, {QStringLiteral("300750")});
    feed.Unsubscribe(&monitor);
    QCOMPARE(feed.codes(), QStringList{QStringLiteral("300750")});
    feed.Unsubscribe(&holdings);
    QVERIFY(feed.codes().isEmpty());
    QTest::qWait(50);
    QCOMPARE(main.requests.size(), 2);
}

QTEST_GUILESS_MAIN(TestQuoteFeed)
#include "test_quote_feed.moc"
